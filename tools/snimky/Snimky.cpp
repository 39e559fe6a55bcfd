// snimky (= screenshots): shows the program's windows one after another on a
// real X display and saves what the screen shows of each as NAME.png, so that
// layout, fonts and the Czech letters can be looked at on a machine without a
// desktop (scripts/screenshots runs it under a virtual X server).
//
//   snimky OUTDIR [NAME...]    only the windows named, all when none is
//
// Prints each picture saved with the window's caption; exit status 1 when a
// window could not be pictured, 2 for wrong arguments.
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <type_traits>

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
#include "Oznameni.h"
#include "PracovnikZarizeni.h"
#include "Preklady.h"
#include "Pripojeni.h"
#include "RestartZarizeni.h"
#include "Rozhrani.h"
#include "Simulator.h"
#include "U_VK7316R.h"
#include "UpgradeFW.h"

namespace {

// What every window is made with (prostredi = environment).
struct TProstredi {
    vk::core::TData Dat;   // the program state with its defaults
    QTemporaryDir Slozka;  // the main window's settings file: none there, so its defaults
    // For the windows shown with a module: a simulated one on loopback,
    // started by the first of them, and a device worker on its own record.
    std::unique_ptr<vk::sim::TSimulator> Sim;
    vk::device::TVK7316R Modul;
    std::unique_ptr<TPracovnikZarizeni> Pracovnik;
};

// A window on the screen and the windows it opened over itself (an open
// menu), which the picture must include (snimek = shot).
struct TSnimek {
    std::unique_ptr<QWidget> Okno;
    QList<QPointer<QWidget>> Nad;
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

std::unique_ptr<TForm1> HlavniOkno(TProstredi& p)
{
    TParametryOkna parametry;
    parametry.SouborNastaveni =
        std::filesystem::path(QFile::encodeName(p.Slozka.filePath(QStringLiteral("W_vk7316r.ini"))).toStdString());
    return std::make_unique<TForm1>(std::move(parametry));
}

// The main window with one of its menus open, as a click on its title opens
// it; `jmeno` is the menu's object name.
TSnimek HlavniSNabidkou(TProstredi& p, const char* jmeno)
{
    TSnimek s = Ukazane(HlavniOkno(p));
    auto* nabidka = s.Okno->findChild<QMenu*>(QString::fromLatin1(jmeno));
    if (!nabidka) {
        // A picture of the bare window would pass for the open menu.
        std::fprintf(stderr, "snimky: the main window has no menu %s\n", jmeno);
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
            std::fprintf(stderr, "snimky: the simulator does not start: %s\n", chyba.c_str());
            return false;
        }
        vk::device::VychoziModul(p.Modul);
        vk::link::InicializujTFTP(p.Modul.TFTP, p.Sim->AdresaLan(), 0, 400);
        p.Modul.Rozhrani = vk::common::RozhraniLAN;
        p.Modul.Init = true;
        p.Pracovnik = std::make_unique<TPracovnikZarizeni>(p.Modul);
    }
    p.Dat.Init = true;
    return true;
}

// A polling window shown with a module, once its polls have filled it
// (status " OK"); `priprav` sets the simulated module's files first.
template <class T>
TSnimek SModulem(TProstredi& p, const std::function<void(vk::sim::TSimulator&)>& priprav = {})
{
    if (!PripojSimulator(p))
        return {std::make_unique<QWidget>(), {nullptr}};
    if (priprav)
        priprav(*p.Sim);
    auto okno = std::make_unique<T>();
    okno->Dat = &p.Dat;
    okno->Pracovnik = p.Pracovnik.get();
    TSnimek s = Ukazane(std::move(okno));
    auto* t = static_cast<T*>(s.Okno.get());
    QElapsedTimer hodiny;
    hodiny.start();
    if (!PockejNa(hodiny, [t] { return t->TextStavu() == QString::fromUtf8(vk::procedures::TextOK.data()); })) {
        std::fprintf(stderr, "snimky: %s got no answer from the simulator\n", t->metaObject()->className());
        s.Nad.append(nullptr);
    }
    ZpracujUdalosti(300);  // a further poll or two, so that the picture is a settled one
    return s;
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

// The upgrade window after "Přečíst" and "Zobrazit boot.cmd" against the
// simulated module.
TSnimek UpgradeSModulem(TProstredi& p)
{
    if (!PripojSimulator(p))
        return {std::make_unique<QWidget>(), {nullptr}};
    auto okno = std::make_unique<TFormUpgradeFW>();
    okno->Dat = &p.Dat;
    okno->Pracovnik = p.Pracovnik.get();
    TSnimek s = Ukazane(std::move(okno));
    auto* u = static_cast<TFormUpgradeFW*>(s.Okno.get());
    QElapsedTimer hodiny;
    hodiny.start();
    for (const char* tlacitko : {"Button6", "Button2"}) {
        u->findChild<QPushButton*>(QString::fromLatin1(tlacitko))->click();
        if (!PockejNa(hodiny, [u] { return !u->Bezi(); }))
            s.Nad.append(nullptr);
    }
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
    {"DiagRS485_Zatez", [](TProstredi& p) { return SModulem<TFormDiagRS485>(p, ZatezLinky); }},
    {"DiagSystem_Modul", [](TProstredi& p) { return SModulem<TFormDiagPrehled>(p); }},
    {"NastavRTC_Modul", [](TProstredi& p) { return SModulem<TFormNastavRTC>(p); }},
    {"DiagLOG_Modul", [](TProstredi& p) { return SModulem<TFormDiagLOG>(p); }},
    {"UpgradeFW_Modul", UpgradeSModulem},
    {"DiagSystem_Nejdelsi", [](TProstredi& p) { return SModulem<TFormDiagPrehled>(p, NejdelsiHodnoty); }},
    {"DiagRS485_Nejdelsi", [](TProstredi& p) { return SModulem<TFormDiagRS485>(p, NejdelsiHodnoty); }},
};

// Grabs from the screen, not from the widgets' own painting, so that the
// picture shows what X shows: the real fonts and everything open over the
// window. The window's coordinates, widened to the windows over it.
bool UlozSnimek(const TSnimek& s, const QString& soubor)
{
    QWidget* okno = s.Okno.get();
    const QPoint pocatek = okno->mapToGlobal(QPoint(0, 0));
    QRect oblast = okno->frameGeometry();
    for (const QWidget* nad : s.Nad)
        if (nad && nad->isVisible())
            oblast |= nad->frameGeometry();
    oblast.translate(-pocatek);
    QScreen* obrazovka = okno->screen();
    if (!obrazovka)
        return false;
    const QPixmap obraz = obrazovka->grabWindow(okno->winId(), oblast.x(), oblast.y(), oblast.width(), oblast.height());
    return !obraz.isNull() && obraz.save(soubor, "PNG");
}

}  // namespace

int main(int argc, char* argv[])
{
    // Only a real X display draws with the fonts and frames a user sees.
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication aplikace(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(TitulProgramu));
    NactiPrekladyQt();

    const QStringList argumenty = QApplication::arguments().mid(1);
    if (argumenty.isEmpty()) {
        std::fprintf(stderr, "usage: snimky OUTDIR [NAME...]\n");
        return 2;
    }
    QSet<QString> vybrane(argumenty.begin() + 1, argumenty.end());
    QStringList jmena;
    for (const TOkno& o : Okna)
        jmena.append(QString::fromLatin1(o.Jmeno));
    for (const QString& v : vybrane)
        if (!jmena.contains(v)) {
            std::fprintf(stderr, "snimky: no window %s; known: %s\n", qPrintable(v), qPrintable(jmena.join(' ')));
            return 2;
        }
    const QDir vystup(argumenty[0]);
    if (!vystup.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "snimky: cannot make %s\n", qPrintable(vystup.path()));
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
        std::fprintf(stderr, "snimky: a modal window \"%s\" closed: %s\n", qPrintable(modalni->windowTitle()),
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
            std::fprintf(stderr, "snimky: %s not painted within %d ms\n", o.Jmeno, LhutaMs);
            ++chyby;
        } else if (!UlozSnimek(s, soubor)) {
            std::fprintf(stderr, "snimky: cannot save %s\n", qPrintable(soubor));
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
