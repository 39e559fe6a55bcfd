#include "DiagSystem.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "Diagnostika.h"
#include "SdileneOvladace.h"

namespace {

constexpr char TextTitulek[] = " Diagnostika systému";
constexpr char TextPrehled[] = " Přehled ";
constexpr char TextFirmware[] = "Typ a verze firmware";
constexpr char TextLoader[] = "Typ a verze loaderu";
constexpr char TextVyrCislo[] = "Výrobní číslo";
constexpr char TextMAC[] = "MAC adresa";
constexpr char TextIP[] = "Aktuální IP adresa";
constexpr char TextUptime[] = "Uptime [s]";
constexpr char TextCancel[] = "Cancel";

constexpr int ObnovaMs = 100;  // from the window's creation, and after each poll
// The longest value: the uptime "4294967295 (49710:06:28:15)", 27
// characters (the firmware type has 24).
constexpr int NejdelsiHodnota = 27;

}  // namespace

using namespace vk::ui;

TFormDiagPrehled::TFormDiagPrehled(QWidget* parent) : TOknoModulu(parent, false), Obnova(Uloha, ObnovaMs)
{
    GroupBox1 = new QGroupBox(QString::fromUtf8(TextPrehled), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    StringGrid1 =
        TabulkaHodnot(GroupBox1, "StringGrid1", {TextFirmware, TextLoader, TextVyrCislo, TextMAC, TextIP, TextUptime},
                      203, std::max(318, SirkaHodnoty(this, NejdelsiHodnota)));
    auto* skupina = new QVBoxLayout(GroupBox1);
    skupina->addWidget(StringGrid1);
    Button1 = Tlacitko(this, "Button1", TextCancel);
    auto* obsah = new QVBoxLayout;
    obsah->addWidget(GroupBox1);
    obsah->addLayout(TlacitkaVpravo({Button1}));
    Sestav(TextTitulek, obsah);

    Obnova.Timer1.setObjectName(QStringLiteral("Timer1"));
    connect(&Obnova.Timer1, &QTimer::timeout, this, &TFormDiagPrehled::Timer1Timer);
    connect(Button1, &QPushButton::clicked, this, &TFormDiagPrehled::Button1Click);
}

// The captions stand in the table from its making; the values stay empty
// until the first poll that reads the module.
void TFormDiagPrehled::FormShow()
{
    if (!Dat)
        return;
    UkazStav(" ");
}

void TFormDiagPrehled::Timer1Timer()
{
    if (Bezi() || !Pripojeno())
        return;
    Obnova.Spust([](vk::device::TVK7316R& modul,
                    const vk::procedures::TOznameni& oznam) { return vk::procedures::KrokSystem(modul, true, oznam); },
                 [this](const vk::procedures::TVysledekKrokuSystem& v) { Precteno(v); },
                 [this](const std::string& t) { UkazStav(t); }, ObnovaMs);
}

void TFormDiagPrehled::Precteno(const vk::procedures::TVysledekKrokuSystem& v)
{
    if (v.Precteno)
        for (int radek = 0; radek < static_cast<int>(v.Hodnoty.size()); ++radek)
            NastavHodnotu(StringGrid1, radek, v.Hodnoty[static_cast<std::size_t>(radek)]);
    UkazStav(v.Status, v.Pricina);
}

void TFormDiagPrehled::Button1Click()
{
    Obnova.Timer1.stop();
    reject();
}
