#include "NastavVzdalenaSprava.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <string>

#include "SdileneOvladace.h"

namespace {

constexpr char TextTitulek[] = " Nastavení vzdálené správy přes LAN";
constexpr char TextSprava[] = "Vzdálená správa";
constexpr char TextZakazana[] = "zakázána";
constexpr char TextVsem[] = "povolena všem";
constexpr char TextTabulka[] = "tabulka přístupu";
constexpr char TextSkupina[] = " Tabulka přístupu (povolení zápisu) ";
constexpr char TextAdresa[] = "IP adresa";
constexpr char TextUzivatel[] = "Uživatel ";  // followed by the row number
constexpr char TextIPv4[] = "IPv4";
constexpr char TextIPv6[] = "IPv6";

std::string Jmeno(const char* zaklad, std::size_t cislo)
{
    return zaklad + std::to_string(cislo);
}

}  // namespace

using vk::procedures::TOknoVzdalenaSprava;
using namespace vk::ui;

TFormNastavVzdalenaSprava::TFormNastavVzdalenaSprava(QWidget* parent)
    : TDialogOblasti(parent, vk::procedures::vzdalenasprava::Oblast(), TextTitulek, true)
{
    Label1 = Popisek(this, "Label1", TextSprava);
    ComboBox1 = Seznam(this, "ComboBox1", {TextZakazana, TextVsem, TextTabulka}, 1);
    GroupBox1 = new QGroupBox(QString::fromUtf8(TextSkupina), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    Label10 = Popisek(GroupBox1, "Label10", TextAdresa);

    auto* tabulka = new QGridLayout(GroupBox1);
    tabulka->addWidget(Label10, 0, 1);
    for (std::size_t i = 0; i < Edit.size(); ++i) {
        Popisky[i] = Popisek(GroupBox1, Jmeno("Label", i + 2).c_str(), Jmeno(TextUzivatel, i + 1).c_str());
        Edit[i] = PoleIP6(GroupBox1, Jmeno("Edit", i + 1).c_str());
        Verze[i] = Seznam(GroupBox1, Jmeno("ComboBox", i + 2).c_str(), {TextIPv4, TextIPv6}, 0);
        const int radek = static_cast<int>(i) + 1;
        tabulka->addWidget(Popisky[i], radek, 0);
        tabulka->addWidget(Edit[i], radek, 1);
        tabulka->addWidget(Verze[i], radek, 2);
    }

    auto* rezim = Mrizka({{Label1, ComboBox1}});
    rezim->setColumnStretch(2, 1);
    Obsah()->addLayout(rezim);
    Obsah()->addWidget(GroupBox1);

    // Only the user's choice counts as a change: activated is not raised
    // when the item is set from a record.
    connect(ComboBox1, &QComboBox::activated, this, [this] { ComboBox1Change(); });
}

void TFormNastavVzdalenaSprava::ComboBox1Change()
{
    TOknoVzdalenaSprava o = Okno();
    vk::procedures::vzdalenasprava::ZmenaRezimu(o, CFGVK);
    PovolTabulku(o.TabulkaPovolena);
}

void TFormNastavVzdalenaSprava::UkazOkno(const TOknoVzdalenaSprava& o)
{
    NastavPolozku(ComboBox1, o.ComboBox1);
    for (std::size_t i = 0; i < Edit.size(); ++i) {
        Edit[i]->setText(Q(o.Edit[i]));
        NastavPolozku(Verze[i], o.ComboBoxVerze[i]);
    }
    PovolTabulku(o.TabulkaPovolena);
}

TOknoVzdalenaSprava TFormNastavVzdalenaSprava::Okno() const
{
    TOknoVzdalenaSprava o;
    o.ComboBox1 = ComboBox1->currentIndex();
    for (std::size_t i = 0; i < Edit.size(); ++i) {
        o.Edit[i] = Std(Edit[i]->text());
        o.ComboBoxVerze[i] = Verze[i]->currentIndex();
    }
    o.TabulkaPovolena = Edit[0]->isEnabled();
    return o;
}

void TFormNastavVzdalenaSprava::PovolTabulku(bool povolit)
{
    GroupBox1->setEnabled(povolit);
    Label10->setEnabled(povolit);
    for (std::size_t i = 0; i < Edit.size(); ++i) {
        Popisky[i]->setEnabled(povolit);
        Edit[i]->setEnabled(povolit);
        Verze[i]->setEnabled(povolit);
    }
}
