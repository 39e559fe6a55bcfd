#include "NastavServisniLinka.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "SdileneOvladace.h"

namespace {

constexpr char TextTitulek[] = " Nastavení Modbus RTU slave";
constexpr char TextAdresa[] = "Adresa modulu VK-7316R (1-255)";
constexpr char TextRychlost[] = "Komunikační rychlost";
constexpr char TextParita[] = "Parita";
constexpr char TextRepeater[] = "Funkce Repeater UART-UART";
constexpr char TextZakazana[] = "zakázána";
constexpr char TextPovolena[] = "povolena";

}  // namespace

using vk::procedures::TOknoServisniLinka;
using namespace vk::ui;

TFormNastavServisniLinka::TFormNastavServisniLinka(QWidget* parent)
    : TDialogOblasti(parent, vk::procedures::servisnilinka::Oblast(), TextTitulek)
{
    Label1 = Popisek(this, "Label1", TextAdresa);
    Edit1 = PoleTextu(this, "Edit1");
    Label2 = Popisek(this, "Label2", TextRychlost);
    ComboBox1 = SeznamRychlosti(this, "ComboBox1");
    Label3 = Popisek(this, "Label3", TextParita);
    ComboBox2 = SeznamParity(this, "ComboBox2");
    Label4 = Popisek(this, "Label4", TextRepeater);
    ComboBox3 = Seznam(this, "ComboBox3", {TextZakazana, TextPovolena}, 0);
    Obsah()->addLayout(Mrizka({{Label1, Edit1}, {Label2, ComboBox1}, {Label3, ComboBox2}, {Label4, ComboBox3}}));
}

void TFormNastavServisniLinka::UkazOkno(const TOknoServisniLinka& o)
{
    Edit1->setText(Q(o.Edit1));
    NastavPolozku(ComboBox1, o.ComboBox1);
    NastavPolozku(ComboBox2, o.ComboBox2);
    NastavPolozku(ComboBox3, o.ComboBox3);
}

TOknoServisniLinka TFormNastavServisniLinka::Okno() const
{
    return {Std(Edit1->text()), ComboBox1->currentIndex(), ComboBox2->currentIndex(), ComboBox3->currentIndex()};
}
