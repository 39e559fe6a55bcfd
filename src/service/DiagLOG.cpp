#include "DiagLOG.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include "Log.h"
#include "SdileneOvladace.h"

namespace {

constexpr char TextTitulek[] = " Diagnostika logování událostí";
constexpr char TextPrehled[] = " Přehled ";
constexpr char TextPocet[] = "Počet uložených záznamů";
constexpr char TextZaplneni[] = "Zaplnění paměti [%]";
constexpr char TextPosledni[] = "Poslední záznamy";
constexpr char TextUlozit[] = "Uložit LOG";
constexpr char TextVymazat[] = "Vymazat LOG";
constexpr char TextCancel[] = "Cancel";
constexpr char TextNula[] = "0";

constexpr int ObnovaMs = 200;  // from the window's creation, and after the end of each poll

// The list is as wide as one of the longest lines the module's events give.
constexpr char VzorRadku[] = "[05.03.2023  14:10:02] - U14 - Chyba komunikace na lince RS-485 (VLAN1, ID=17, "
                             "Status=2, Adresa=5, Funkce=3, Periferie=0)";
constexpr int RadkuSeznamu = 12;

}  // namespace

using namespace vk::ui;
namespace procedures = vk::procedures;

TFormDiagLOG::TFormDiagLOG(QWidget* parent) : TOknoModulu(parent, false), Obnova(Uloha, ObnovaMs)
{
    auto* GroupBox1 = new QGroupBox(QString::fromUtf8(TextPrehled), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    QLabel* Label1 = Popisek(GroupBox1, "Label1", TextPocet);
    Label2 = Popisek(GroupBox1, "Label2", TextNula);
    QLabel* Label3 = Popisek(GroupBox1, "Label3", TextZaplneni);
    Label4 = Popisek(GroupBox1, "Label4", TextNula);
    QLabel* Label5 = Popisek(GroupBox1, "Label5", TextPosledni);
    ListBox1 = new QListWidget(GroupBox1);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    const QFontMetrics pismo(ListBox1->font());
    ListBox1->setMinimumWidth(pismo.horizontalAdvance(QString::fromUtf8(VzorRadku)) + 32);
    ListBox1->setMinimumHeight(pismo.height() * RadkuSeznamu);

    auto* hodnoty = new QGridLayout;
    hodnoty->addWidget(Label1, 0, 0);
    hodnoty->addWidget(Label2, 0, 1);
    hodnoty->addWidget(Label3, 1, 0);
    hodnoty->addWidget(Label4, 1, 1);
    hodnoty->setColumnStretch(1, 1);
    hodnoty->setHorizontalSpacing(16);
    auto* prehled = new QVBoxLayout(GroupBox1);
    prehled->addLayout(hodnoty);
    prehled->addSpacing(6);
    prehled->addWidget(Label5);
    prehled->addWidget(ListBox1);

    Button2 = Tlacitko(this, "Button2", TextUlozit);
    Button3 = Tlacitko(this, "Button3", TextVymazat);
    Button1 = Tlacitko(this, "Button1", TextCancel);

    auto* tlacitka = new QHBoxLayout;
    tlacitka->addWidget(Button2);
    tlacitka->addWidget(Button3);
    tlacitka->addStretch();
    tlacitka->addWidget(Button1);
    auto* obsah = new QVBoxLayout;
    obsah->addWidget(GroupBox1);
    obsah->addSpacing(6);
    obsah->addLayout(tlacitka);
    Sestav(TextTitulek, obsah);

    // The buttons stay enabled during a poll: they only mark a request.
    connect(Button1, &QPushButton::clicked, this, &TFormDiagLOG::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TFormDiagLOG::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TFormDiagLOG::Button3Click);
    Obnova.Timer1.setObjectName(QStringLiteral("Timer1"));
    connect(&Obnova.Timer1, &QTimer::timeout, this, &TFormDiagLOG::Timer1Timer);
}

TFormDiagLOG::~TFormDiagLOG() = default;

void TFormDiagLOG::FormShow()
{
    if (!Dat)
        return;
    Label2->setText(QString::fromLatin1(TextNula));
    Label4->setText(QString::fromLatin1(TextNula));
    fUlozitLOG = false;
    fVymazatLOG = false;
    PredchoziHlavicka.fill(0);
    UkazStav(" ");
}

void TFormDiagLOG::Button1Click()
{
    Obnova.Timer1.stop();
    reject();
}

void TFormDiagLOG::Button2Click()
{
    fUlozitLOG = true;
}

void TFormDiagLOG::Button3Click()
{
    fVymazatLOG = true;
}

void TFormDiagLOG::Timer1Timer()
{
    if (Bezi() || !Pripojeno())
        return;
    procedures::TKrokLOG krok;
    krok.Init = Dat->Init;
    krok.UlozitLOG = fUlozitLOG;
    krok.VymazatLOG = fVymazatLOG;
    krok.PredchoziHlavicka = PredchoziHlavicka;
    krok.TypVerze = Dat->TypVerze;
    krok.LAN_IP = Dat->Pripojeni.LAN_IP;
    // The requests travel with the poll; a press while it runs marks them
    // afresh for the next one.
    fUlozitLOG = false;
    fVymazatLOG = false;
    const bool ulozit = krok.UlozitLOG;
    const bool vymazat = krok.VymazatLOG;
    Obnova.Spust(
        [krok = std::move(krok)](vk::device::TVK7316R& modul, const procedures::TOznameni& oznam) {
            return procedures::KrokLOG(modul, krok, oznam);
        },
        [this](const procedures::TVysledekKrokuLOG& v) {
            VratZadosti(v.UlozitZustava, v.VymazatZustava);
            Obslouzeno(v);
        },
        // " OK" comes five times a second: it needs no repaint of its own.
        [this](const std::string& t) { UkazStav(t, t != procedures::TextOK); }, ObnovaMs);
    if (!Bezi())
        VratZadosti(ulozit, vymazat);
}

void TFormDiagLOG::VratZadosti(bool ulozit, bool vymazat)
{
    fUlozitLOG = fUlozitLOG || ulozit;
    fVymazatLOG = fVymazatLOG || vymazat;
}

void TFormDiagLOG::Obslouzeno(const procedures::TVysledekKrokuLOG& v)
{
    PredchoziHlavicka = v.PredchoziHlavicka;
    if (v.Obnoveno) {
        Label2->setText(QString::number(v.PocetZaznamu));
        Label4->setText(QLocale().toString(v.Zaplneni, 'f', 3));
        ListBox1->clear();
        for (const std::string& radek : v.Radky)
            ListBox1->addItem(Q(radek));
    }
    UkazStav(v.Status, v.Chyba.Pricina, false);
}
