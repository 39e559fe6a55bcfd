#include "NastavModbusTCP.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "SdileneOvladace.h"

namespace {

constexpr char TextTitulek[] = " Nastavení protokolu Modbus TCP";
constexpr char TextUnitID[] = "Adresa modulu VK-7316R (UnitID 1-255)";
constexpr char TextTimeout[] = "Timeout neaktivního TCP spojení [s] (1-255s)";

}  // namespace

using vk::procedures::TOknoModbusTCP;
using namespace vk::ui;

TFormNastavModbusTCP::TFormNastavModbusTCP(QWidget* parent)
    : TDialogOblasti(parent, vk::procedures::modbustcp::Oblast(), TextTitulek)
{
    Label1 = Popisek(this, "Label1", TextUnitID);
    Edit1 = PoleTextu(this, "Edit1");
    Label2 = Popisek(this, "Label2", TextTimeout);
    Edit2 = PoleTextu(this, "Edit2");
    Obsah()->addLayout(Mrizka({{Label1, Edit1}, {Label2, Edit2}}));
}

void TFormNastavModbusTCP::UkazOkno(const TOknoModbusTCP& o)
{
    Edit1->setText(Q(o.Edit1));
    Edit2->setText(Q(o.Edit2));
}

TOknoModbusTCP TFormNastavModbusTCP::Okno() const
{
    return {Std(Edit1->text()), Std(Edit2->text())};
}
