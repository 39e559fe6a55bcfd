#include "OknaSnimku.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <type_traits>
#include <vector>

#include "About.h"
#include "Dekl.h"
#include "DiagLOG.h"
#include "DiagRS485.h"
#include "DiagSystem.h"
#include "Hlavni.h"
#include "M_TFTP.h"
#include "NastavHlavniLinka.h"
#include "NastavLOG.h"
#include "NastavLanParam.h"
#include "NastavModbusTCP.h"
#include "NastavRTC.h"
#include "NastavServisniLinka.h"
#include "NastavVzdalenaSprava.h"
#include "OblastKonfigurace.h"
#include "Oznameni.h"
#include "PokusPripojeni.h"
#include "PracovnikZarizeni.h"
#include "Pripojeni.h"
#include "ProfilModulu.h"
#include "RestartZarizeni.h"
#include "Rozhrani.h"
#include "Simulator.h"
#include "U_VK7316R.h"
#include "UpgradeFW.h"

namespace vk::snimky {

namespace {

// The tool's name in its messages (nastroj = tool).
const char* Nastroj = "snimky";

// What every window is made with (prostredi = environment).
struct TProstredi {
    vk::core::TData Dat;   // the program state with its defaults
    QTemporaryDir Slozka;  // settings files of the main windows, and the firmware image to upload
    // For the windows shown with a module: a simulated one on loopback,
    // started by the first of them, and a device worker on its own record.
    std::unique_ptr<vk::sim::TSimulator> Sim;
    vk::device::TVK7316R Modul;
    std::unique_ptr<TPracovnikZarizeni> Pracovnik;
};

// Long enough for a loaded machine; a window that is still not painted then
// is reported instead of holding up the others.
constexpr int LhutaMs = 5000;
// Posted layout and update events that follow the first paint.
constexpr int DobehMs = 150;

// Notes a paint of the window.
class TStrazVykresleni : public QObject {
public:
    bool Vykresleno = false;

protected:
    bool eventFilter(QObject* objekt, QEvent* udalost) override
    {
        if (udalost->type() == QEvent::Paint)
            Vykresleno = true;
        return QObject::eventFilter(objekt, udalost);
    }
};

void ZpracujUdalosti(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
}

// Runs the events until `splneno` holds or the time is out; whether it holds.
bool PockejNa(const QElapsedTimer& t, const std::function<bool()>& splneno)
{
    while (!splneno()) {
        if (t.elapsed() >= LhutaMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        if (!splneno())
            QThread::msleep(5);
    }
    return true;
}

bool PockejNa(const std::function<bool()>& splneno)
{
    QElapsedTimer t;
    t.start();
    return PockejNa(t, splneno);
}

// Waits, bounded, until the window is exposed and then painted; false when
// the time ran out. The paint is asked for once exposed, so that a window
// painted before the wait began is not waited for in vain.
bool PockejNaVykresleni(QWidget* okno)
{
    QElapsedTimer t;
    t.start();
    if (!PockejNa(t, [okno] { return okno->windowHandle() && okno->windowHandle()->isExposed(); }))
        return false;
    TStrazVykresleni straz;
    okno->installEventFilter(&straz);
    okno->update();
    const bool vykresleno = PockejNa(t, [&straz] { return straz.Vykresleno; });
    okno->removeEventFilter(&straz);
    if (vykresleno)
        ZpracujUdalosti(DobehMs);
    return vykresleno;
}

TSnimek Ukazane(std::unique_ptr<QWidget> okno)
{
    okno->show();
    return {std::move(okno), {}};
}

// A shot that failed where it was made, reported there; the run counts it.
TSnimek Neuspech()
{
    return {std::make_unique<QWidget>(), {nullptr}};
}

// The main window on a settings file of its own. In service mode that file
// holds "Servis=1" in section "Program", as a service engineer's does. It is
// shown at its smallest size: a menu or status bar that does not fit shows
// there, and a picture of a larger one is mostly empty.
std::unique_ptr<TForm1> HlavniOkno(TProstredi& p, bool servis = false)
{
    const QString jmeno = servis ? QStringLiteral("servis/W_vk7316r.ini") : QStringLiteral("W_vk7316r.ini");
    const QString soubor = p.Slozka.filePath(jmeno);
    if (servis) {
        QDir().mkpath(QFileInfo(soubor).path());
        std::ofstream(QFile::encodeName(soubor).toStdString()) << "[Program]\nServis=1\n";
    }
    TParametryOkna parametry;
    parametry.SouborNastaveni = std::filesystem::path(QFile::encodeName(soubor).toStdString());
    auto okno = std::make_unique<TForm1>(std::move(parametry));
    okno->resize(okno->minimumSize());
    return okno;
}

// The main window with one of its menus open, as a click on its title opens
// it; `jmeno` is the menu's object name.
TSnimek HlavniSNabidkou(TProstredi& p, const char* jmeno, bool servis = false)
{
    TSnimek s = Ukazane(HlavniOkno(p, servis));
    auto* nabidka = s.Okno->findChild<QMenu*>(QString::fromLatin1(jmeno));
    if (!nabidka) {
        // A picture of the bare window would pass for the open menu.
        std::fprintf(stderr, "%s: the main window has no menu %s\n", Nastroj, jmeno);
        s.Nad.append(nullptr);
        return s;
    }
    if (!PockejNaVykresleni(s.Okno.get()))
        return s;
    // The help menu sits in a bar of its own at the right end.
    for (auto* lista : s.Okno->findChildren<QMenuBar*>())
        if (lista->actions().contains(nabidka->menuAction()))
            lista->setActiveAction(nabidka->menuAction());
    s.Nad.append(nabidka);
    return s;
}

// A window made as the program makes it: with the program state when its
// constructor takes one, else on its own and then given the state in its
// field Dat when it has one, as the opener does before showing it.
template <class T>
TSnimek NoveOkno(TProstredi& p)
{
    std::unique_ptr<T> okno;
    if constexpr (std::is_constructible_v<T, vk::core::PData>)
        okno = std::make_unique<T>(&p.Dat);
    else
        okno = std::make_unique<T>();
    if constexpr (requires(T & t) { t.Dat = static_cast<vk::core::PData>(nullptr); })
        okno->Dat = &p.Dat;
    return Ukazane(std::move(okno));
}

// Connects the program state to the simulated module over the network, as
// a successful connection attempt leaves it; false with a message when the
// simulator does not start.
bool PripojSimulator(TProstredi& p)
{
    if (!p.Sim) {
        p.Sim = std::make_unique<vk::sim::TSimulator>();
        vk::sim::TNastaveniSimulatoru n;
        n.SpustitSerial = false;
        std::string chyba;
        if (!p.Sim->Spust(n, chyba)) {
            std::fprintf(stderr, "%s: the simulator does not start: %s\n", Nastroj, chyba.c_str());
            return false;
        }
        vk::device::VychoziModul(p.Modul);
        vk::link::InicializujTFTP(p.Modul.TFTP, p.Sim->AdresaLan(), 0, 400, 3);
        p.Modul.Rozhrani = vk::common::RozhraniLAN;
        p.Modul.Init = true;
        p.Pracovnik = std::make_unique<TPracovnikZarizeni>(p.Modul);
        p.Dat.Pripojeni.Rozhrani = vk::common::RozhraniLAN;
        p.Dat.Pripojeni.LAN_IP = p.Sim->AdresaLan();
    }
    p.Dat.Init = true;
    return true;
}

// Connects as the connection dialog does, so that the program state also
// holds the module's identity; false with a message when it fails.
bool IdentifikujModul(TProstredi& p)
{
    if (!PripojSimulator(p))
        return false;
    if (!p.Dat.TypVerze.empty())
        return true;
    vk::procedures::TVysledekPripojeni v;
    const vk::procedures::TOknoPripojeni okno = vk::procedures::ZapisOkno(p.Dat.Pripojeni);
    const vk::core::TPripojeni pripojeni = p.Dat.Pripojeni;
    p.Pracovnik->ProvedACekej(
        [&](vk::device::TVK7316R& modul) { v = vk::procedures::InicializujPripojeni(modul, okno, pripojeni, {}); });
    vk::procedures::AplikujPripojeni(v, p.Dat);
    if (!v.Uspech)
        std::fprintf(stderr, "%s: the simulated module was not identified: %s\n", Nastroj, v.Panel1.c_str());
    return v.Uspech;
}

// Waits for the window's job (a read, a write, a connection attempt) to
// end; false with a message when it does not within the time limit.
template <class T>
bool PockejNaUlohu(T* okno)
{
    if (PockejNa([okno] { return !okno->Bezi(); }))
        return true;
    std::fprintf(stderr, "%s: %s did not finish its transfer\n", Nastroj, okno->metaObject()->className());
    return false;
}

// A polling window shown with a module, once its polls have filled it
// (status " OK"); `priprav` sets the simulated module's files first.
template <class T>
TSnimek SModulem(TProstredi& p, const std::function<void(vk::sim::TSimulator&)>& priprav = {})
{
    if (!PripojSimulator(p))
        return Neuspech();
    if (priprav)
        priprav(*p.Sim);
    auto okno = std::make_unique<T>();
    okno->Dat = &p.Dat;
    okno->NastavPracovnika(p.Pracovnik.get());
    TSnimek s = Ukazane(std::move(okno));
    auto* t = static_cast<T*>(s.Okno.get());
    if (!PockejNa([t] { return t->TextStavu() == QString::fromUtf8(vk::procedures::TextOK.data()); })) {
        std::fprintf(stderr, "%s: %s got no answer from the simulator\n", Nastroj, t->metaObject()->className());
        s.Nad.append(nullptr);
    }
    ZpracujUdalosti(300);  // a further poll or two, so that the picture is a settled one
    return s;
}

// A settings dialog with a module after "Přečíst" (and after the read on
// show of those that read the module when shown).
template <class T>
TSnimek PoPrecteni(TProstredi& p)
{
    if (!IdentifikujModul(p))
        return Neuspech();
    auto okno = std::make_unique<T>();
    okno->Dat = &p.Dat;
    okno->NastavPracovnika(p.Pracovnik.get());
    TSnimek s = Ukazane(std::move(okno));
    auto* d = static_cast<T*>(s.Okno.get());
    if (PockejNaUlohu(d))
        d->PrectiClick();
    if (!PockejNaUlohu(d)) {
        s.Nad.append(nullptr);
    } else if (d->TextStavu() !=
               QString::fromUtf8(vk::procedures::TextPrecteno.data(), qsizetype(vk::procedures::TextPrecteno.size()))) {
        std::fprintf(stderr, "%s: %s did not read the module: %s\n", Nastroj, d->metaObject()->className(),
                     qPrintable(d->TextStavu()));
        s.Nad.append(nullptr);
    }
    return s;
}

// The connection dialog after a successful connection over the LAN to the
// simulated module.
TSnimek PripojeniLAN(TProstredi& p)
{
    if (!PripojSimulator(p))
        return Neuspech();
    auto okno = std::make_unique<TFormPripojeni>();
    okno->Dat = &p.Dat;
    okno->NastavPracovnika(p.Pracovnik.get());
    okno->SouborNastaveni = std::filesystem::path(QFile::encodeName(p.Slozka.filePath("W_vk7316r.ini")).toStdString());
    TSnimek s = Ukazane(std::move(okno));
    auto* d = static_cast<TFormPripojeni*>(s.Okno.get());
    d->Button1Click();
    if (!PockejNaUlohu(d) || !p.Dat.Init) {
        std::fprintf(stderr, "%s: the connection dialog did not connect to the simulator\n", Nastroj);
        s.Nad.append(nullptr);
    }
    return s;
}

// The main window's status bar with a module connected over the LAN.
TSnimek HlavniPripojeno(TProstredi& p)
{
    if (!IdentifikujModul(p))
        return Neuspech();
    auto okno = HlavniOkno(p);
    okno->Dat->Init = p.Dat.Init;
    okno->Dat->Pripojeni = p.Dat.Pripojeni;
    okno->Dat->TypVerze = p.Dat.TypVerze;
    okno->AktualizujStavovyRadek();
    return Ukazane(std::move(okno));
}

// A load history that rises and falls over the 180 seconds, with a burst.
void ZatezLinky(vk::sim::TSimulator& sim)
{
    std::vector<std::uint8_t> mmrgv(240, 0);
    mmrgv[0] = 180;
    mmrgv[4] = 180;
    mmrgv[8] = 37;
    for (int i = 0; i < 180; ++i) {
        const double zatez = 35 + 20 * std::sin(i / 18.0) + (i > 120 && i < 140 ? 30 : 0) + (i * 7 % 11);
        mmrgv[12 + i] = static_cast<std::uint8_t>(std::clamp(zatez, 0.0, 100.0));
    }
    sim.NastavSoubor("mmrgv.bin", mmrgv);
}

// The longest values the system overview can show: a 24-character firmware
// type, a full loader text and serial number, 255.255.255.255 and the
// largest uptime (4294967295 s); and the line counters at their largest.
// Pictures of these show whether the value columns hold what a module may
// report.
void NejdelsiHodnoty(vk::sim::TSimulator& sim)
{
    std::vector<std::uint8_t> sys = sim.Soubor("sys.bin");
    const auto text = [&sys](std::size_t od, const char* t) {
        for (std::size_t i = 0; t[i] != 0; ++i)
            sys[od + i] = static_cast<std::uint8_t>(t[i]);
    };
    text(0, "VK-7316R FW v.10.99 beta");
    text(24, "VK-7316R loader");
    text(42, "v.9.99");
    text(48, "99999999");
    for (std::size_t i = 128; i < 132; ++i)
        sys[i] = 255;
    for (std::size_t i = 240; i < 244; ++i)
        sys[i] = 0xFF;
    sim.NastavSoubor("sys.bin", sys);
    std::vector<std::uint8_t> mmrd(16, 0xFF);
    mmrd[14] = 100;
    sim.NastavSoubor("mmrd.bin", mmrd);
    ZatezLinky(sim);
}

// Clicks the buttons of the upgrade window one after another, each once
// the job of the one before has ended; false when one does not end.
bool KlikejVUpgradu(TFormUpgradeFW* u, std::initializer_list<const char*> tlacitka)
{
    for (const char* tlacitko : tlacitka) {
        u->findChild<QPushButton*>(QString::fromLatin1(tlacitko))->click();
        if (!PockejNaUlohu(u))
            return false;
    }
    return true;
}

// The upgrade window against the simulated module.
TSnimek UpgradeSModulem(TProstredi& p)
{
    if (!PripojSimulator(p))
        return Neuspech();
    auto okno = std::make_unique<TFormUpgradeFW>();
    okno->Dat = &p.Dat;
    okno->NastavPracovnika(p.Pracovnik.get());
    return Ukazane(std::move(okno));
}

// ... after "Přečíst" and "Zobrazit boot.cmd".
TSnimek UpgradePrecteno(TProstredi& p)
{
    TSnimek s = UpgradeSModulem(p);
    if (auto* u = qobject_cast<TFormUpgradeFW*>(s.Okno.get()); u && !KlikejVUpgradu(u, {"Button6", "Button2"}))
        s.Nad.append(nullptr);
    return s;
}

// ... after "Přečíst" and a complete upload of an image file, before the
// restart that would start it.
TSnimek UpgradeZapsano(TProstredi& p)
{
    TSnimek s = UpgradeSModulem(p);
    auto* u = qobject_cast<TFormUpgradeFW*>(s.Okno.get());
    if (!u)
        return s;
    const QString obraz = p.Slozka.filePath(QStringLiteral("VK-7316R_v1.02.hbn"));
    std::vector<char> bajty(256 * 1024);
    for (std::size_t i = 0; i < bajty.size(); ++i)
        bajty[i] = static_cast<char>(i * 31 % 251);
    std::ofstream(QFile::encodeName(obraz).toStdString(), std::ios::binary)
        .write(bajty.data(), std::streamsize(bajty.size()));
    auto* pole = u->findChild<QLineEdit*>(QStringLiteral("Edit1"));
    pole->setText(obraz);
    if (!KlikejVUpgradu(u, {"Button2", "Button4"}))
        s.Nad.append(nullptr);
    pole->deselect();  // as typed, not as selected by the focus
    return s;
}

// A profile saved from the simulated module, then two fields of the module
// changed: the restore window lists them and offers to write them back.
TSnimek ProfilObnovit(TProstredi& p)
{
    if (!IdentifikujModul(p))
        return Neuspech();
    const QString soubor = p.Slozka.filePath(QStringLiteral("VK-7316R_profil.json"));
    {
        TFormProfilModulu ulozit(TFormProfilModulu::TRezim::Ulozit, soubor);
        ulozit.Dat = &p.Dat;
        ulozit.NastavPracovnika(p.Pracovnik.get());
        ulozit.FormShow();
        if (!PockejNaUlohu(&ulozit))
            return Neuspech();
    }
    p.Sim->NastavSoubor("mbtcp.cfg", {0xC8, 0x09, 0x2F});
    auto okno = std::make_unique<TFormProfilModulu>(TFormProfilModulu::TRezim::Obnovit, soubor);
    okno->Dat = &p.Dat;
    okno->NastavPracovnika(p.Pracovnik.get());
    TSnimek s = Ukazane(std::move(okno));
    if (!PockejNaUlohu(static_cast<TFormProfilModulu*>(s.Okno.get())))
        s.Nad.append(nullptr);
    return s;
}

struct TOkno {
    const char* Jmeno;                         // of the picture file
    std::function<TSnimek(TProstredi&)> Ukaz;  // makes the window and shows it
};

// One line a window; a dialog or service window is {"NAME", NoveOkno<TForm...>}.
const TOkno Okna[] = {
    {"Hlavni", [](TProstredi& p) { return Ukazane(HlavniOkno(p)); }},
    {"Hlavni_Konfigurace", [](TProstredi& p) { return HlavniSNabidkou(p, "Nastaven1"); }},
    {"Hlavni_Napoveda", [](TProstredi& p) { return HlavniSNabidkou(p, "Npovda1"); }},
    {"Hlavni_Servis_Soubor", [](TProstredi& p) { return HlavniSNabidkou(p, "Soubor1", true); }},
    {"Hlavni_Servis_Konfigurace", [](TProstredi& p) { return HlavniSNabidkou(p, "Nastaven1", true); }},
    {"Hlavni_Servis_Diagnostika", [](TProstredi& p) { return HlavniSNabidkou(p, "Diagnostika1", true); }},
    {"OProgramu", NoveOkno<TFormOProgramu>},
    {"Pripojeni", NoveOkno<TFormPripojeni>},
    {"NastavLanParam", NoveOkno<TFormNastavLanParam>},
    {"NastavModbusTCP", NoveOkno<TFormNastavModbusTCP>},
    {"NastavHlavniLinka", NoveOkno<TFormNastavHlavniLinka>},
    {"NastavServisniLinka", NoveOkno<TFormNastavServisniLinka>},
    {"NastavVzdalenaSprava", NoveOkno<TFormNastavVzdalenaSprava>},
    {"NastavVzdalenaSprava_Tabulka",
     [](TProstredi& p) {
         p.Dat.CFGVK.Sprava.Rezim = 2;
         p.Dat.CFGVK.Sprava.VerzeIP[1] = 1;
         return NoveOkno<TFormNastavVzdalenaSprava>(p);
     }},
    {"NastavLOG", NoveOkno<TFormNastavLOG>},
    {"NastavRTC", NoveOkno<TFormNastavRTC>},
    {"Restart", NoveOkno<TFormRestart>},
    {"DiagSystem", NoveOkno<TFormDiagPrehled>},
    {"DiagRS485", NoveOkno<TFormDiagRS485>},
    {"DiagLOG", NoveOkno<TFormDiagLOG>},
    {"UpgradeFW", NoveOkno<TFormUpgradeFW>},
    // Last: from here on the program state is connected to the simulator.
    {"Pripojeni_LAN", PripojeniLAN},
    {"Hlavni_Pripojeno", HlavniPripojeno},
    {"NastavLanParam_Modul", PoPrecteni<TFormNastavLanParam>},
    {"NastavModbusTCP_Modul", PoPrecteni<TFormNastavModbusTCP>},
    {"NastavHlavniLinka_Modul", PoPrecteni<TFormNastavHlavniLinka>},
    {"NastavServisniLinka_Modul", PoPrecteni<TFormNastavServisniLinka>},
    {"NastavVzdalenaSprava_Modul", PoPrecteni<TFormNastavVzdalenaSprava>},
    {"NastavLOG_Modul", PoPrecteni<TFormNastavLOG>},
    {"DiagRS485_Zatez", [](TProstredi& p) { return SModulem<TFormDiagRS485>(p, ZatezLinky); }},
    {"DiagSystem_Modul", [](TProstredi& p) { return SModulem<TFormDiagPrehled>(p); }},
    {"NastavRTC_Modul", [](TProstredi& p) { return SModulem<TFormNastavRTC>(p); }},
    {"DiagLOG_Modul", [](TProstredi& p) { return SModulem<TFormDiagLOG>(p); }},
    {"UpgradeFW_Modul", UpgradePrecteno},
    {"UpgradeFW_Zapsano", UpgradeZapsano},
    {"ProfilModulu_Obnovit", ProfilObnovit},
    {"DiagSystem_Nejdelsi", [](TProstredi& p) { return SModulem<TFormDiagPrehled>(p, NejdelsiHodnoty); }},
    {"DiagRS485_Nejdelsi", [](TProstredi& p) { return SModulem<TFormDiagRS485>(p, NejdelsiHodnoty); }},
};

}  // namespace

int Spust(const char* nastroj, const TUlozeni& uloz)
{
    Nastroj = nastroj;
    const QStringList argumenty = QApplication::arguments().mid(1);
    if (argumenty.isEmpty()) {
        std::fprintf(stderr, "usage: %s OUTDIR [NAME...]\n", Nastroj);
        return 2;
    }
    QSet<QString> vybrane(argumenty.begin() + 1, argumenty.end());
    QStringList jmena;
    for (const TOkno& o : Okna)
        jmena.append(QString::fromLatin1(o.Jmeno));
    for (const QString& v : vybrane)
        if (!jmena.contains(v)) {
            std::fprintf(stderr, "%s: no window %s; known: %s\n", Nastroj, qPrintable(v), qPrintable(jmena.join(' ')));
            return 2;
        }
    const QDir vystup(argumenty[0]);
    if (!vystup.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "%s: cannot make %s\n", Nastroj, qPrintable(vystup.path()));
        return 1;
    }

    TProstredi prostredi;
    vk::core::InicializaceDat(&prostredi.Dat);
    int chyby = 0;
    // The windows are shown modeless; a modal one is a message box that a
    // window opened on its own (a failed read on show, with no module), whose
    // loop would hold up the run for good.
    QTimer hlidac;
    QObject::connect(&hlidac, &QTimer::timeout, [&chyby] {
        QWidget* modalni = QApplication::activeModalWidget();
        if (!modalni)
            return;
        std::fprintf(stderr, "%s: a modal window \"%s\" closed: %s\n", Nastroj, qPrintable(modalni->windowTitle()),
                     modalni->metaObject()->className());
        ++chyby;
        if (auto* dialog = qobject_cast<QDialog*>(modalni))
            dialog->reject();
        else
            modalni->close();
    });
    hlidac.start(LhutaMs);
    for (const TOkno& o : Okna) {
        const QString jmeno = QString::fromLatin1(o.Jmeno);
        if (!vybrane.isEmpty() && !vybrane.contains(jmeno))
            continue;
        TSnimek s = o.Ukaz(prostredi);
        // A window missing from the shot has been reported where it was looked for.
        const bool uplny = std::none_of(s.Nad.begin(), s.Nad.end(), [](const QPointer<QWidget>& w) { return !w; });
        bool vykresleno = PockejNaVykresleni(s.Okno.get());
        for (QWidget* nad : s.Nad)
            vykresleno = vykresleno && nad && PockejNaVykresleni(nad);
        const QString soubor = vystup.filePath(jmeno + QStringLiteral(".png"));
        if (!uplny) {
            ++chyby;
        } else if (!vykresleno) {
            std::fprintf(stderr, "%s: %s not painted within %d ms\n", Nastroj, o.Jmeno, LhutaMs);
            ++chyby;
        } else if (!uloz(s, soubor)) {
            std::fprintf(stderr, "%s: cannot save %s\n", Nastroj, qPrintable(soubor));
            ++chyby;
        } else {
            // With no window manager there is no title bar to show the caption.
            std::printf("%s  \"%s\"\n", qPrintable(QDir::toNativeSeparators(soubor)),
                        qPrintable(s.Okno->windowTitle()));
        }
        for (QWidget* nad : s.Nad)
            if (nad)
                nad->hide();
        s.Okno->hide();
    }
    return chyby == 0 ? 0 : 1;
}

}  // namespace vk::snimky
