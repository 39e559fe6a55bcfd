#include "NastavLanParam.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "SdileneOvladace.h"

namespace {

constexpr char TextTitulek[] = " Nastavení síťových parametrů";
constexpr char TextProtokol[] = "Nastavení protokolu IP4";
constexpr char TextRucne[] = "Ručně";
constexpr char TextDHCP[] = "Automaticky (DHCP)";
constexpr char TextAdresa[] = "IP4 adresa";
constexpr char TextMaska[] = "IP4 maska";
constexpr char TextBrana[] = "IP4 brána";
constexpr char TextLLA[] = "IP6 LLA adresa";
constexpr char TextGUA[] = "IP6 GUA adresa";
constexpr char TextMaska6[] = "IP6 maska";
constexpr char TextBrana6[] = "IP6 brána";

}  // namespace

using vk::procedures::TOknoLan4;
using namespace vk::ui;

TFormNastavLanParam::TFormNastavLanParam(QWidget* parent)
    : TDialogOblasti(parent, vk::procedures::lan4::Oblast(), TextTitulek)
{
    Label8 = Popisek(this, "Label8", TextProtokol);
    ComboBox1 = Seznam(this, "ComboBox1", {TextRucne, TextDHCP}, 0);
    Label1 = Popisek(this, "Label1", TextAdresa);
    Edit1 = PoleIP4(this, "Edit1");
    Label2 = Popisek(this, "Label2", TextMaska);
    Edit2 = PoleIP4(this, "Edit2");
    Label3 = Popisek(this, "Label3", TextBrana);
    Edit3 = PoleIP4(this, "Edit3");
    Label4 = Popisek(this, "Label4", TextLLA);
    Edit4 = PoleIP6(this, "Edit4");
    Label5 = Popisek(this, "Label5", TextGUA);
    Edit5 = PoleIP6(this, "Edit5");
    Label6 = Popisek(this, "Label6", TextMaska6);
    Edit6 = PoleIP6(this, "Edit6");
    Label7 = Popisek(this, "Label7", TextBrana6);
    Edit7 = PoleIP6(this, "Edit7");

    Obsah()->addLayout(Mrizka({{Label8, ComboBox1},
                               {Label1, Edit1},
                               {Label2, Edit2},
                               {Label3, Edit3},
                               {Label4, Edit4},
                               {Label5, Edit5},
                               {Label6, Edit6},
                               {Label7, Edit7}}));
    // The IPv6 settings stay out of sight until the module's IPv6 side is
    // configurable here; the fields still carry the values for the record.
    for (QWidget* w : std::initializer_list<QWidget*>{Label4, Edit4, Label5, Edit5, Label6, Edit6, Label7, Edit7}) {
        w->setVisible(false);
        w->setEnabled(false);
    }

    // Only the user's choice counts as a change: activated is not raised
    // when the item is set from a record.
    connect(ComboBox1, &QComboBox::activated, this, [this] { AktualizaceNastaveni(); });
}

void TFormNastavLanParam::AktualizaceNastaveni()
{
    const bool rucne = vk::procedures::lan4::AdresyPovoleny(Okno());
    for (QWidget* w : std::initializer_list<QWidget*>{Label1, Edit1, Label2, Edit2, Label3, Edit3})
        w->setEnabled(rucne);
}

void TFormNastavLanParam::UkazOkno(const TOknoLan4& o)
{
    Edit1->setText(Q(o.Edit1));
    Edit2->setText(Q(o.Edit2));
    Edit3->setText(Q(o.Edit3));
    NastavPolozku(ComboBox1, o.ComboBox1);
    Edit4->setText(Q(o.Edit4));
    Edit5->setText(Q(o.Edit5));
    Edit6->setText(Q(o.Edit6));
    Edit7->setText(Q(o.Edit7));
    AktualizaceNastaveni();
}

TOknoLan4 TFormNastavLanParam::Okno() const
{
    TOknoLan4 o;
    o.ComboBox1 = ComboBox1->currentIndex();
    o.Edit1 = Std(Edit1->text());
    o.Edit2 = Std(Edit2->text());
    o.Edit3 = Std(Edit3->text());
    o.Edit4 = Std(Edit4->text());
    o.Edit5 = Std(Edit5->text());
    o.Edit6 = Std(Edit6->text());
    o.Edit7 = Std(Edit7->text());
    return o;
}
