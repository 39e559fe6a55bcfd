#include "UlohaOkna.h"

#include <QApplication>
#include <QCursor>

#include "SdileneOvladace.h"

void TUlohaOkna::Vypnout(std::initializer_list<QWidget*> ovladace)
{
    for (QWidget* w : ovladace)
        if (w)
            Vypnute.emplace_back(w);
}

bool TUlohaOkna::Pripojeno(const vk::core::TData& dat, vk::ui::TStavovyRadek& stav) const
{
    if (dat.Init && Pracovnik)
        return true;
    stav.Nastav(std::string(vk::procedures::TextBezPripojeni));
    return false;
}

void TUlohaOkna::Zastav()
{
    if (BeziUloha)
        Pracovnik->Zastav();
}

void TUlohaOkna::ZastavACekej()
{
    if (!BeziUloha)
        return;
    Pracovnik->ZastavACekej();
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
