#include "NastavHlavniLinka.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "SdileneOvladace.h"

namespace {

constexpr char TextTitulek[] = " Nastavení Modbus RTU master";
constexpr char TextRychlost[] = "Komunikační rychlost";
constexpr char TextParita[] = "Parita";
constexpr char TextTimeout[] = "Timeout externího modulu [ms] (1-65535)";
constexpr char TextOpakovani[] = "Počet opakování při chybě komunikace (0-15)";

}  // namespace

using vk::procedures::TOknoHlavniLinka;
using namespace vk::ui;

TFormNastavHlavniLinka::TFormNastavHlavniLinka(QWidget* parent)
    : TDialogOblasti(parent, vk::procedures::hlavnilinka::Oblast(), TextTitulek)
{
    Label3 = Popisek(this, "Label3", TextRychlost);
    ComboBox1 = SeznamRychlosti(this, "ComboBox1");
    Label4 = Popisek(this, "Label4", TextParita);
    ComboBox2 = SeznamParity(this, "ComboBox2");
    Label1 = Popisek(this, "Label1", TextTimeout);
    Edit1 = PoleTextu(this, "Edit1");
    Label2 = Popisek(this, "Label2", TextOpakovani);
    Edit2 = PoleTextu(this, "Edit2");
    Obsah()->addLayout(Mrizka({{Label3, ComboBox1}, {Label4, ComboBox2}, {Label1, Edit1}, {Label2, Edit2}}));
}

void TFormNastavHlavniLinka::UkazOkno(const TOknoHlavniLinka& o)
{
    NastavPolozku(ComboBox1, o.ComboBox1);
    NastavPolozku(ComboBox2, o.ComboBox2);
    Edit1->setText(Q(o.Edit1));
    Edit2->setText(Q(o.Edit2));
}

TOknoHlavniLinka TFormNastavHlavniLinka::Okno() const
{
    return {ComboBox1->currentIndex(), ComboBox2->currentIndex(), Std(Edit1->text()), Std(Edit2->text())};
}
