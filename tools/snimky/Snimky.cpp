// snimky (= screenshots): shows the program's windows one after another on a
// real X display and saves what the screen shows of each as NAME.png, so that
// layout, fonts and the Czech letters can be looked at on a machine without a
// desktop (scripts/screenshots runs it under a virtual X server).
//
//   snimky OUTDIR [NAME...]    only the windows named, all when none is
//
// Prints each picture saved with the window's caption; exit status 1 when a
// window could not be pictured, 2 for wrong arguments.
#include <QApplication>
#include <QPixmap>
#include <QScreen>

#include "Hlavni.h"
#include "OknaSnimku.h"
#include "Preklady.h"

namespace {

// Grabs from the screen, not from the widgets' own painting, so that the
// picture shows what X shows: the real fonts and everything open over the
// window. The window's coordinates, widened to the windows over it.
bool UlozSnimek(const vk::snimky::TSnimek& s, const QString& soubor)
{
    QWidget* okno = s.Okno.get();
    const QPoint pocatek = okno->mapToGlobal(QPoint(0, 0));
    QRect oblast = okno->frameGeometry();
    for (const QWidget* nad : s.Nad)
        if (nad && nad->isVisible())
            oblast |= nad->frameGeometry();
    oblast.translate(-pocatek);
    QScreen* obrazovka = okno->screen();
    if (!obrazovka)
        return false;
    const QPixmap obraz = obrazovka->grabWindow(okno->winId(), oblast.x(), oblast.y(), oblast.width(), oblast.height());
    return !obraz.isNull() && obraz.save(soubor, "PNG");
}

}  // namespace

int main(int argc, char* argv[])
{
    // Only a real X display draws with the fonts and frames a user sees.
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication aplikace(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(TitulProgramu));
    NactiPrekladyQt();
    return vk::snimky::Spust("snimky", UlozSnimek);
}
