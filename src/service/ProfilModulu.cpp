#include "ProfilModulu.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>

#include <algorithm>

#include "Hodnoty.h"
#include "SdileneOvladace.h"
#include "SouborProfilu.h"

// Not "profil": the C library declares a function of that name.
namespace vkprofil = vk::procedures::profil;
using vkprofil::TOblastProfilu;
using namespace vk::ui;

namespace {

constexpr char TextTitulekUlozit[] = " Uložit profil modulu";
constexpr char TextTitulekObnovit[] = " Obnovit profil modulu";
constexpr char TextSoubor[] = "Soubor:";
constexpr char TextZapsat[] = "Zapsat do modulu";
constexpr char TextZavrit[] = "Zavřít";

constexpr char TextCteni[] = " Čtení nastavení modulu...";
constexpr char TextUlozeno[] = " Profil uložen.";
constexpr char TextNelzeUlozit[] = " Profil nelze uložit: ";
constexpr char TextNelzeNacist[] = " Profil nelze načíst: ";
constexpr char TextChybnyProfil[] = " Chybný profil, do modulu nebylo nic posláno: ";
constexpr char TextShoda[] = " Modul odpovídá profilu, není co zapsat.";
constexpr char TextRozdilu[] = " Rozdílné oblasti: %1. Zapsat je do modulu?";
constexpr char TextZapsano[] = " Profil zapsán do modulu.";

constexpr int SirkaZpravy = 72;  // characters of the report a line shows
constexpr int RadkuZpravy = 14;

std::string JmenoOblasti(TOblastProfilu o)
{
    return std::string(vkprofil::SouborOblasti(o));
}

std::string TextIdentity(const vkprofil::TIdentita& id)
{
    return id.TypModulu + " " + id.VerzeModulu + ", výr. č. " + id.VyrCislo;
}

}  // namespace

struct TFormProfilModulu::TSber {
    vkprofil::TProfil Profil;
    vkprofil::TVysledekSberu Vysledek;
};

TFormProfilModulu::TFormProfilModulu(TRezim rezim, QString soubor, QWidget* parent)
    : TOknoModulu(parent), Rezim(rezim), Soubor(std::move(soubor))
{
    Label1 = Popisek(this, "Label1", TextSoubor);
    Label2 = new QLabel(Soubor, this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setTextInteractionFlags(Qt::TextSelectableByMouse);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, vkprofil::PocetOblasti);
    ProgressBar1->setValue(0);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    const QFontMetrics metriky(Memo1->font());
    Memo1->setMinimumSize(metriky.averageCharWidth() * SirkaZpravy, metriky.lineSpacing() * RadkuZpravy);
    Button1 = Tlacitko(this, "Button1", TextZapsat);
    Button1->setEnabled(false);
    Button1->setVisible(Rezim == TRezim::Obnovit);
    Button2 = Tlacitko(this, "Button2", TextZavrit);
    Button2->setDefault(true);  // Enter must not write to the module

    auto* radekSouboru = new QHBoxLayout;
    radekSouboru->addWidget(Label1);
    radekSouboru->addWidget(Label2, 1);
    auto* obsah = new QVBoxLayout;
    obsah->addLayout(radekSouboru);
    obsah->addWidget(ProgressBar1);
    obsah->addWidget(Memo1, 1);
    obsah->addLayout(TlacitkaVpravo({Button1, Button2}));
    Sestav(Rezim == TRezim::Ulozit ? TextTitulekUlozit : TextTitulekObnovit, obsah);

    connect(Button1, &QPushButton::clicked, this, &TFormProfilModulu::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TFormProfilModulu::Button2Click);
}

void TFormProfilModulu::FormShow()
{
    if (Rezim == TRezim::Ulozit)
        Ulozit();
    else
        Srovnat();
}

void TFormProfilModulu::Radek(const std::string& text)
{
    Memo1->appendPlainText(Q(text));
}

void TFormProfilModulu::UkazPrubeh(std::uint64_t hotovo, std::uint64_t celkem)
{
    ProgressBar1->setRange(0, static_cast<int>(std::max<std::uint64_t>(celkem, 1)));
    ProgressBar1->setValue(static_cast<int>(hotovo));
}

void TFormProfilModulu::PrectiModul(void (TFormProfilModulu::*hotovo)(const TSber& v))
{
    UkazStav(TextCteni, std::string());
    Uloha.Spust(
        [dat = *Dat](vk::device::TVK7316R& modul, const vk::procedures::TOznameni&, const vk::link::TPrubeh& prubeh) {
            TSber v;
            v.Vysledek = vkprofil::PrectiProfil(modul, dat, v.Profil, prubeh);
            return v;
        },
        [this, hotovo](const TSber& v) { (this->*hotovo)(v); }, [this](const std::string& t) { UkazStav(t); },
        [this](std::uint64_t hotovo, std::uint64_t celkem) { UkazPrubeh(hotovo, celkem); });
}

bool TFormProfilModulu::Precteno(const TSber& v)
{
    for (TOblastProfilu o : v.Vysledek.Vynechane)
        Radek(JmenoOblasti(o) + " vynechán: nastavení logování se přenáší jen po LAN.");
    if (!v.Vysledek.Uspech) {
        Radek(v.Vysledek.Status);
        UkazStav(" " + v.Vysledek.Status, v.Vysledek.Pricina);
    }
    return v.Vysledek.Uspech;
}

void TFormProfilModulu::Ulozit()
{
    if (Bezi() || !Pripojeno())
        return;
    PrectiModul(&TFormProfilModulu::Ulozeno);
}

void TFormProfilModulu::Ulozeno(const TSber& v)
{
    if (!Precteno(v))
        return;
    // Written whole or not at all: an older file of the same name stays
    // until the new one is complete.
    const std::string text = vk::formy::ProfilNaText(v.Profil);
    QSaveFile soubor(Soubor);
    if (!soubor.open(QIODevice::WriteOnly) ||
        soubor.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size()) ||
        !soubor.commit()) {
        const std::string chyba = TextNelzeUlozit + Std(soubor.errorString());
        Radek(chyba.substr(1));
        UkazStav(chyba);
        return;
    }
    std::string oblasti;
    for (TOblastProfilu o : vkprofil::VsechnyOblasti()) {
        if (v.Profil.Drzi(o))
            oblasti += " " + JmenoOblasti(o);
    }
    Radek("Uloženo:" + oblasti);
    UkazStav(TextUlozeno);
}

void TFormProfilModulu::Srovnat()
{
    if (Bezi())
        return;
    // The file is checked whole before the module is even read, so a bad
    // field stops everything with nothing sent.
    QFile soubor(Soubor);
    if (!soubor.open(QIODevice::ReadOnly)) {
        UkazStav(TextNelzeNacist + Std(soubor.errorString()));
        return;
    }
    const QByteArray data = soubor.readAll();
    std::string chyba;
    if (!vk::formy::TextNaProfil(std::string_view(data.constData(), static_cast<std::size_t>(data.size())),
                                 ProfilSouboru, chyba)) {
        Radek(chyba);
        UkazStav(TextChybnyProfil + chyba);
        return;
    }
    if (!Pripojeno())
        return;
    PrectiModul(&TFormProfilModulu::Srovnano);
}

void TFormProfilModulu::Srovnano(const TSber& v)
{
    if (!Precteno(v))
        return;
    ProfilModulu = v.Profil;
    for (TOblastProfilu o : vkprofil::NesrovnaneOblasti(ProfilModulu, ProfilSouboru))
        Radek(JmenoOblasti(o) + " v profilu není a zůstane beze změny.");
    const vkprofil::TIdentita& a = ProfilSouboru.Identita;
    const vkprofil::TIdentita& b = ProfilModulu.Identita;
    if (a.VyrCislo != b.VyrCislo || a.TypModulu != b.TypModulu)
        Radek("Profil pochází z modulu " + TextIdentity(a) + ", připojen je " + TextIdentity(b) + ".");
    const std::vector<TOblastProfilu> rozdilne = vkprofil::RozdilneOblasti(ProfilModulu, ProfilSouboru);
    if (!rozdilne.empty())
        Radek("Rozdíly (modul -> profil):");
    for (TOblastProfilu o : rozdilne) {
        for (const vk::formy::TRozdilPole& r : vk::formy::RozdilyOblasti(ProfilModulu.Cfg, ProfilSouboru.Cfg, o)) {
            Radek(r.Soubor + ": " + r.Pole + ": " + vk::formy::EscapujText(r.Modul) + " -> " +
                  vk::formy::EscapujText(r.Profil));
        }
    }
    if (rozdilne.empty()) {
        UkazStav(TextShoda);
        return;
    }
    UkazStav(Std(QString::fromUtf8(TextRozdilu).arg(rozdilne.size())));
    Button1->setEnabled(true);
}

void TFormProfilModulu::Button1Click()
{
    if (Bezi() || !Pripojeno())
        return;
    Button1->setEnabled(false);
    ProgressBar1->setValue(0);
    UkazStav(std::string(), std::string());
    Uloha.Spust(
        [modulovy = ProfilModulu, soubor = ProfilSouboru](
            vk::device::TVK7316R& modul, const vk::procedures::TOznameni& oznam, const vk::link::TPrubeh& prubeh) {
            std::vector<vkprofil::TZapisOblasti> zapsano;
            vkprofil::ZapisProfil(modul, modulovy, soubor, oznam, zapsano, prubeh);
            return zapsano;
        },
        [this](const std::vector<vkprofil::TZapisOblasti>& zapsano) { Zapsano(zapsano); },
        [this](const std::string& t) { UkazStav(t); },
        [this](std::uint64_t hotovo, std::uint64_t celkem) { UkazPrubeh(hotovo, celkem); });
}

void TFormProfilModulu::Zapsano(const std::vector<vkprofil::TZapisOblasti>& zapsano)
{
    for (const vkprofil::TZapisOblasti& z : zapsano) {
        const vk::procedures::TVysledekZapisu& v = z.Vysledek;
        Radek(JmenoOblasti(z.Oblast) + ":" + v.Status);
        if (z.Oblast == TOblastProfilu::Lan4 && (v.Zapsano || z.KonecSpojeni) &&
            vkprofil::ZmenaAdresy(ProfilModulu, ProfilSouboru)) {
            const bool dhcp = ProfilSouboru.Cfg.LAN4.IP4_DHCP != 0;
            Radek(std::string("Modul přechází ") +
                  (dhcp ? "na adresu z DHCP" : "na adresu " + vk::core::IP4NaText(ProfilSouboru.Cfg.LAN4.IP4_Adresa)) +
                  ": spojení po LAN na staré adrese končí, připojte se znovu.");
        }
        if (!v.Zapsano && !z.KonecSpojeni) {
            UkazStav(" " + JmenoOblasti(z.Oblast) + ":" + v.Status, v.Pricina);
            return;
        }
    }
    UkazStav(TextZapsano, std::string());
}

void TFormProfilModulu::Button2Click()
{
    reject();
}
