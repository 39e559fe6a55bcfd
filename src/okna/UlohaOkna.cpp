#include "UlohaOkna.h"

#include <QApplication>
#include <QCursor>

void TUlohaOkna::Vypnout(std::initializer_list<QWidget*> ovladace)
{
    for (QWidget* w : ovladace)
        if (w)
            Vypnute.emplace_back(w);
}

void TUlohaOkna::Zastav()
{
    if (BeziUloha)
        PracovnikOkna->Zastav();
}

void TUlohaOkna::ZastavACekej()
{
    if (!BeziUloha)
        return;
    PracovnikOkna->ZastavACekej();
    Konec();
}

void TUlohaOkna::Zacatek()
{
    BeziUloha = true;
    for (const auto& w : Vypnute)
        if (w)
            w->setEnabled(false);
    if (Kurzor)
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

void TUlohaOkna::Konec()
{
    if (!BeziUloha)
        return;
    BeziUloha = false;
    for (const auto& w : Vypnute)
        if (w)
            w->setEnabled(true);
    if (Kurzor)
        QApplication::restoreOverrideCursor();
}
