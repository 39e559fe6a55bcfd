#include "OknoModulu.h"

#include <QShowEvent>

#include "SdileneOvladace.h"

TOknoModulu::TOknoModulu(QWidget* parent, bool kurzor) : QDialog(parent), Uloha(this, kurzor) {}

void TOknoModulu::Sestav(const char* titulek, QLayout* obsah)
{
    StatusBar1 = vk::ui::SestavOkno(this, titulek, obsah);
}

void TOknoModulu::UkazStav(const std::string& text, bool prekreslit)
{
    if (StatusBar1)
        StatusBar1->Nastav(text, prekreslit);
}

void TOknoModulu::UkazStav(const std::string& text, const std::string& pricina, bool prekreslit)
{
    if (!StatusBar1)
        return;
    StatusBar1->Nastav(text, prekreslit);
    StatusBar1->NastavPricinu(pricina);
}

bool TOknoModulu::Pripojeno()
{
    if (!Dat)
        return false;
    if (Dat->Init && Uloha.Pracovnik())
        return true;
    UkazStav(std::string(vk::procedures::TextBezPripojeni));
    return false;
}

QString TOknoModulu::TextStavu() const
{
    return StatusBar1 ? StatusBar1->Text() : QString();
}

void TOknoModulu::showEvent(QShowEvent* udalost)
{
    QDialog::showEvent(udalost);
    if (!udalost->spontaneous())
        FormShow();
}

void TOknoModulu::done(int vysledek)
{
    ZastavPraci();
    QDialog::done(vysledek);
}
