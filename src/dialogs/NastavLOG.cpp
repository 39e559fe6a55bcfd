#include "NastavLOG.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <string>

#include "SdileneOvladace.h"

namespace {

constexpr char TextTitulek[] = " Nastavení logování";
constexpr char TextSkupina[] = " Interní flash paměť ";
constexpr char TextLogovani[] = "Logování";
constexpr char TextZakazano[] = "zakázáno";
constexpr char TextPovoleno[] = "povoleno";
constexpr char TextUdalosti[] = "Povolené události";

// The event kinds, check box n standing for bit n - 1 of the mask.
constexpr const char* TextyUdalosti[14] = {
    " Zapnutí napájení",
    " Vypnutí napájení",
    " Vzdálený restart modulu",
    " HW restart (watchdog)",
    " Připojení LAN (link up)",
    " Odpojení LAN (link down)",
    " Nepovolený přístup VLAN",
    " Nepovolený přístup vzdálené správy",
    " Chyba konfigurace",
    " Zápis konfigurace",
    " Zápis RTC",
    " Vynulování diagnostických čítačů",
    " Vymazání logování",
    " Chyba komunikace na lince RS-485",
};

// Rows of the scrolling area shown at once; the rest scroll.
constexpr int ViditelnychRadku = 8;

}  // namespace

using vk::procedures::TOknoLogNastaveni;
using namespace vk::ui;

TFormNastavLOG::TFormNastavLOG(QWidget* parent)
    : TDialogOblasti(parent, vk::procedures::lognastaveni::Oblast(), TextTitulek)
{
    GroupBox1 = new QGroupBox(QString::fromUtf8(TextSkupina), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    Label1 = Popisek(GroupBox1, "Label1", TextLogovani);
    ComboBox1 = Seznam(GroupBox1, "ComboBox1", {TextZakazano, TextPovoleno}, 0);
    Label3 = Popisek(GroupBox1, "Label3", TextUdalosti);

    auto* udalosti = new QWidget;
    auto* sloupec = new QVBoxLayout(udalosti);
    for (std::size_t i = 0; i < CheckBox.size(); ++i) {
        CheckBox[i] = new QCheckBox(QString::fromUtf8(TextyUdalosti[i]), udalosti);
        CheckBox[i]->setObjectName(QString::fromStdString("CheckBox" + std::to_string(i + 1)));
        sloupec->addWidget(CheckBox[i]);
    }
    ScrollBox1 = new QScrollArea(GroupBox1);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setWidget(udalosti);
    ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int radek = CheckBox[0]->sizeHint().height() + sloupec->spacing();
    const QMargins okraj = sloupec->contentsMargins();
    ScrollBox1->setFixedHeight(ViditelnychRadku * radek + okraj.top() + 2 * ScrollBox1->frameWidth());
    ScrollBox1->setMinimumWidth(udalosti->sizeHint().width() + ScrollBox1->verticalScrollBar()->sizeHint().width() +
                                2 * ScrollBox1->frameWidth());

    auto* skupina = new QVBoxLayout(GroupBox1);
    skupina->addLayout(Mrizka({{Label1, ComboBox1}}));
    skupina->addWidget(Label3);
    skupina->addWidget(ScrollBox1);
    Obsah()->addWidget(GroupBox1);
}

void TFormNastavLOG::UkazOkno(const TOknoLogNastaveni& o)
{
    NastavPolozku(ComboBox1, o.ComboBox1);
    for (std::size_t i = 0; i < CheckBox.size(); ++i)
        CheckBox[i]->setChecked(o.CheckBox[i]);
}

TOknoLogNastaveni TFormNastavLOG::Okno() const
{
    TOknoLogNastaveni o;
    o.ComboBox1 = ComboBox1->currentIndex();
    for (std::size_t i = 0; i < CheckBox.size(); ++i)
        o.CheckBox[i] = CheckBox[i]->isChecked();
    return o;
}
