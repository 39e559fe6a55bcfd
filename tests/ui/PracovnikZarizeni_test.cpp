// The device worker: results and status texts reach the window thread in
// order, one job at a time, a job asked to end stops within one wait slice
// on either link, a receiver gone before the end gets nothing, and the main
// window closes within the wait of a job still running.
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <future>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <thread>
#include <unistd.h>

#include "Hlavni.h"
#include "M_ModbusRTU.h"
#include "M_TFTP.h"
#include "PracovnikZarizeni.h"
#include "Rozhrani.h"
#include "U_VK7316R.h"
#include "UdpSocket.h"
#include "UlohaOkna.h"

using vk::device::TVK7316R;
using vk::device::TVK7316R_Lan4Cfg;
using vk::link::TPrubeh;
using vk::procedures::TOznameni;

namespace {

// Longest time from a request to end until the job's result is in: one 20 ms
// slice of the link's wait, with room for a loaded machine.
constexpr qint64 NejdeleNaKonecMs = 100;

// A UDP socket on loopback that takes requests and never answers (mlcici =
// silent).
class TMlciciTftp {
public:
    TMlciciTftp()
    {
        vk::link::TAdresaUdp mistni;
        std::string chyba;
        if (vk::link::NajdiAdresu("127.0.0.1", 0, false, mistni, chyba))
            Socket.OtevriNa(mistni, chyba);
    }
    bool Funguje() const { return Socket.JeOtevren(); }
    std::string Adresa() const { return "127.0.0.1:" + std::to_string(Socket.MistniAdresa().Port()); }
    bool NecoPrislo()
    {  // a datagram has arrived, now or before
        std::uint8_t buf[1600];
        vk::link::TAdresaUdp od;
        Prislo = Prislo || Socket.Prijmi(buf, sizeof buf, 0, od) >= 0;
        return Prislo;
    }

private:
    vk::link::UdpSocket Socket;
    bool Prislo = false;
};

// A pseudo-terminal whose far side reads every request and never answers.
class TMlciciPty {
public:
    TMlciciPty()
    {
        Master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (Master < 0 || ::grantpt(Master) != 0 || ::unlockpt(Master) != 0)
            return;
        Cesta = ::ptsname(Master);
        Ctenar = std::thread([this] {
            while (!Konec) {
                pollfd p{Master, POLLIN, 0};
                if (::poll(&p, 1, 20) <= 0)
                    continue;
                std::uint8_t buf[300];
                if (::read(Master, buf, sizeof buf) > 0)
                    Precteno = true;
            }
        });
    }
    ~TMlciciPty()
    {
        Konec = true;
        if (Ctenar.joinable())
            Ctenar.join();
        if (Master >= 0)
            ::close(Master);
    }
    bool Funguje() const { return !Cesta.empty(); }

    std::string Cesta;                  // the device the link opens
    std::atomic<bool> Precteno{false};  // a request has come through

private:
    int Master = -1;
    std::atomic<bool> Konec{false};
    std::thread Ctenar;
};

// A read of lan4.cfg from a module that never answers, with a 5 s time-out.
TVK7316R_Lan4Cfg CteniPresTftp(TVK7316R& modul, const std::string& adresa)
{
    vk::link::InicializujTFTP(modul.TFTP, adresa, 0, 5000, 3);
    modul.Rozhrani = vk::common::RozhraniLAN;
    modul.Init = true;
    TVK7316R_Lan4Cfg r;
    vk::device::PrectiLan4Cfg(modul, r);
    return r;
}

struct TVysledekCteni {
    TVK7316R_Lan4Cfg Cteni;
    std::int32_t Otevreni = -1;  // OtevriPort's result
};

TVysledekCteni CteniPresPty(TVK7316R& modul, const std::string& cesta)
{
    TVysledekCteni v;
    v.Otevreni = vk::link::OtevriPort(1, 8, 0, 5000, modul.MBRTU, cesta);
    modul.Rozhrani = vk::common::RozhraniUART;
    modul.Init = true;
    vk::device::PrectiLan4Cfg(modul, v.Cteni);
    vk::link::ZavriPort(modul.MBRTU);
    return v;
}

}  // namespace

class TestPracovnikZarizeni : public QObject {
    Q_OBJECT

private slots:
    void vysledekAOznameniNaVlaknuOkna();
    void druhaUlohaOdmitnuta();
    void vyjimkaUlohy();
    void zastaveniTftp();
    void zastaveniSeriovehoSpojeni();
    void zanikPrijemce();
    void zavreniHlavnihoOknaBehemUlohy();
};

// A job runs off the window thread; its texts and progress arrive on the
// window thread in order, all of them before its result.
void TestPracovnikZarizeni::vysledekAOznameniNaVlaknuOkna()
{
    TVK7316R modul;
    TPracovnikZarizeni pracovnik(modul);
    QObject prijemce;
    struct TVysledek {
        QThread* Vlakno = nullptr;
        int Hodnota = 0;
    };
    QStringList udalosti;
    bool hotovo = false;
    TVysledek prijaty;
    const bool spustena = pracovnik.Spust(
        &prijemce,
        [](TVK7316R&, const TOznameni& oznam, const TPrubeh& prubeh) {
            oznam(" prvni");
            prubeh(1, 2);
            oznam(" druhy");
            prubeh(2, 2);
            return TVysledek{QThread::currentThread(), 42};
        },
        [&](const TVysledek& v) {
            QCOMPARE(QThread::currentThread(), qApp->thread());
            QVERIFY(!pracovnik.Bezi());  // so that hotovo may submit the next job
            udalosti.append(QStringLiteral("hotovo"));
            prijaty = v;
            hotovo = true;
        },
        [&](const std::string& text) {
            QCOMPARE(QThread::currentThread(), qApp->thread());
            udalosti.append(QString::fromStdString(text));
        },
        [&](std::uint64_t odeslano, std::uint64_t celkem) {
            QCOMPARE(QThread::currentThread(), qApp->thread());
            udalosti.append(QStringLiteral("%1/%2").arg(odeslano).arg(celkem));
        });
    QVERIFY(spustena);
    QVERIFY(pracovnik.Bezi());
    QTRY_VERIFY(hotovo);
    QCOMPARE(udalosti, (QStringList{" prvni", "1/2", " druhy", "2/2", "hotovo"}));
    QVERIFY(prijaty.Vlakno != qApp->thread());
    QCOMPARE(prijaty.Hodnota, 42);
}

// One job at a time: a second one submitted while the first runs does not run.
void TestPracovnikZarizeni::druhaUlohaOdmitnuta()
{
    TVK7316R modul;
    TPracovnikZarizeni pracovnik(modul);
    QObject prijemce;
    std::promise<void> pust;  // lets the first job end
    std::shared_future<void> pusteno = pust.get_future().share();
    std::atomic<int> behy{0};
    int vysledky = 0;
    const auto uloha = [&, pusteno](TVK7316R&, const TOznameni&) {
        ++behy;
        pusteno.wait();
        return 1;
    };
    QVERIFY(pracovnik.Spust(&prijemce, uloha, [&](int) { ++vysledky; }));
    QVERIFY(!pracovnik.Spust(&prijemce, uloha, [&](int) { ++vysledky; }));
    QVERIFY(pracovnik.Bezi());
    pust.set_value();
    QTRY_COMPARE(vysledky, 1);
    QVERIFY(!pracovnik.Bezi());
    QCOMPARE(behy.load(), 1);
    // Once it has ended, the next one runs.
    QVERIFY(pracovnik.Spust(&prijemce, uloha, [&](int) { ++vysledky; }));
    QTRY_COMPARE(vysledky, 2);
    QCOMPARE(behy.load(), 2);
}

// A job that throws ends like a failed one. Catches a window locked for good
// (its controls disabled, the busy cursor on, the poll timer off) because no
// result ever came, a failure with no text, and a worker that stays busy.
void TestPracovnikZarizeni::vyjimkaUlohy()
{
    TVK7316R modul;
    TPracovnikZarizeni pracovnik(modul);
    QWidget okno;
    QWidget tlacitko(&okno);
    TUlohaOkna uloha(&okno);
    uloha.NastavPracovnika(&pracovnik);
    uloha.Vypnout({&tlacitko});

    std::string stav;
    int vysledky = 0;
    int poVyjimce = 0;
    QVERIFY(uloha.Spust([](TVK7316R&, const TOznameni&) -> int { throw std::runtime_error("malo pameti"); },
                        [&](int) { ++vysledky; }, [&](const std::string& t) { stav = t; }, {}, [&] { ++poVyjimce; }));
    QVERIFY(!tlacitko.isEnabled());
    QTRY_COMPARE(poVyjimce, 1);
    QCOMPARE(stav, std::string(" Neočekávaná chyba: malo pameti"));
    QCOMPARE(vysledky, 0);
    QVERIFY(tlacitko.isEnabled());
    QVERIFY(!uloha.Bezi());
    QVERIFY(!pracovnik.Bezi());

    // The worker serves the next job as usual.
    QVERIFY(uloha.Spust([](TVK7316R&, const TOznameni&) { return 7; }, [&](int v) { vysledky = v; }));
    QTRY_COMPARE(vysledky, 7);
    QVERIFY(tlacitko.isEnabled());
}

// A TFTP read waiting on a silent module ends as a failed transfer within
// one slice of its wait once it is asked to.
void TestPracovnikZarizeni::zastaveniTftp()
{
    TMlciciTftp modulMlci;
    QVERIFY(modulMlci.Funguje());
    TVK7316R modul;
    TPracovnikZarizeni pracovnik(modul);
    QObject prijemce;
    std::optional<TVK7316R_Lan4Cfg> vysledek;
    QVERIFY(pracovnik.Spust(
        &prijemce, [adresa = modulMlci.Adresa()](TVK7316R& m, const TOznameni&) { return CteniPresTftp(m, adresa); },
        [&](const TVK7316R_Lan4Cfg& r) { vysledek = r; }));
    QTRY_VERIFY(modulMlci.NecoPrislo());  // the read request is out: the job waits for the reply
    QTest::qWait(50);
    QElapsedTimer cas;
    cas.start();
    pracovnik.Zastav();
    QTRY_VERIFY_WITH_TIMEOUT(vysledek.has_value(), 2000);
    QVERIFY2(cas.elapsed() <= NejdeleNaKonecMs, qPrintable(QString::number(cas.elapsed())));
    QCOMPARE(vysledek->Status, 1);
    QCOMPARE(vysledek->StatusText, std::string("Chyba spojení"));
}

// Likewise a serial exchange whose module reads the request and never answers.
void TestPracovnikZarizeni::zastaveniSeriovehoSpojeni()
{
    TMlciciPty modulMlci;
    QVERIFY(modulMlci.Funguje());
    TVK7316R modul;
    TPracovnikZarizeni pracovnik(modul);
    QObject prijemce;
    std::optional<TVysledekCteni> vysledek;
    QVERIFY(pracovnik.Spust(
        &prijemce, [cesta = modulMlci.Cesta](TVK7316R& m, const TOznameni&) { return CteniPresPty(m, cesta); },
        [&](const TVysledekCteni& r) { vysledek = r; }));
    QTRY_VERIFY(modulMlci.Precteno.load());
    QTest::qWait(50);
    QElapsedTimer cas;
    cas.start();
    pracovnik.Zastav();
    QTRY_VERIFY_WITH_TIMEOUT(vysledek.has_value(), 2000);
    QVERIFY2(cas.elapsed() <= NejdeleNaKonecMs, qPrintable(QString::number(cas.elapsed())));
    QCOMPARE(vysledek->Otevreni, 0);
    QCOMPARE(vysledek->Cteni.Status, 1);
    QCOMPARE(vysledek->Cteni.StatusText, std::string("Chyba spojení s modulem"));
}

// A receiver destroyed during its job gets nothing more, and the job, which
// nobody waits for any longer, ends at its next wait slice.
void TestPracovnikZarizeni::zanikPrijemce()
{
    TMlciciTftp modulMlci;
    QVERIFY(modulMlci.Funguje());
    TVK7316R modul;
    TPracovnikZarizeni pracovnik(modul);
    auto* prijemce = new QObject;
    QStringList oznameni;
    bool hotovo = false;
    QVERIFY(pracovnik.Spust(
        prijemce,
        [adresa = modulMlci.Adresa()](TVK7316R& m, const TOznameni& oznam) {
            oznam(" zacatek");
            const TVK7316R_Lan4Cfg r = CteniPresTftp(m, adresa);
            oznam(" konec");
            return r;
        },
        [&](const TVK7316R_Lan4Cfg&) { hotovo = true; },
        [&](const std::string& text) { oznameni.append(QString::fromStdString(text)); }));
    QTRY_COMPARE(oznameni, QStringList{" zacatek"});
    QTRY_VERIFY(modulMlci.NecoPrislo());
    QElapsedTimer cas;
    cas.start();
    delete prijemce;
    QTRY_VERIFY_WITH_TIMEOUT(!pracovnik.Bezi(), 2000);
    QVERIFY2(cas.elapsed() <= NejdeleNaKonecMs, qPrintable(QString::number(cas.elapsed())));
    QTest::qWait(20);  // anything still on its way would arrive now
    QVERIFY(!hotovo);
    QCOMPARE(oznameni, QStringList{" zacatek"});
}

// Closing the main window while its worker waits on a silent module: the
// close ends the job within one wait slice, then the closing steps run as
// always and the settings are stored.
void TestPracovnikZarizeni::zavreniHlavnihoOknaBehemUlohy()
{
    TMlciciTftp modulMlci;
    QVERIFY(modulMlci.Funguje());
    QTemporaryDir slozka;
    const QString ini = slozka.filePath(QStringLiteral("W_vk7316r.ini"));
    {
        TParametryOkna parametry;
        parametry.SouborNastaveni = std::filesystem::path(QFile::encodeName(ini).toStdString());
        TForm1 okno(parametry);
        okno.show();
        okno.Dat->Pripojeni.LAN_IP = "10.20.30.40";
        bool hotovo = false;
        QVERIFY(okno.Pracovnik->Spust(
            &okno, [adresa = modulMlci.Adresa()](TVK7316R& m, const TOznameni&) { return CteniPresTftp(m, adresa); },
            [&](const TVK7316R_Lan4Cfg&) { hotovo = true; }));
        QTRY_VERIFY(modulMlci.NecoPrislo());
        QElapsedTimer cas;
        cas.start();
        okno.close();
        QVERIFY2(cas.elapsed() <= NejdeleNaKonecMs, qPrintable(QString::number(cas.elapsed())));
        QVERIFY(!okno.Pracovnik->Bezi());
        QVERIFY(!okno.Dat);
        QFile soubor(ini);
        QVERIFY(soubor.open(QIODevice::ReadOnly));
        QVERIFY(soubor.readAll().contains("10.20.30.40"));
        QTest::qWait(20);
        QVERIFY(!hotovo);  // the close gave up on the job
    }
    vk::device::VychoziModul(vk::device::Modul);
}

QTEST_MAIN(TestPracovnikZarizeni)
#include "PracovnikZarizeni_test.moc"
