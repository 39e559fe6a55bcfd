// Program entry of W_vk7316r: the main window and the message loop.
#include <QApplication>

#include "Hlavni.h"
#include "Preklady.h"
#include "Signaly.h"

int main(int argc, char* argv[])
{
    QApplication aplikace(argc, argv);
    // The name only: a display name would be appended to every window caption.
    QApplication::setApplicationName(QString::fromLatin1(TitulProgramu));
    // Without the catalogue Qt's dialogs speak English; the program runs all the same.
    NactiPrekladyQt();
    TForm1 Form1;
    TZavreniSignalem signaly([&Form1] { Form1.PozadujZavreni(); });
    Form1.show();
    return aplikace.exec();
}
