// The profile window of service mode: a module saved to a file, changed,
// compared with the file and given its settings back; a file with a bad
// field sends nothing; over a serial line the event logging area is named
// as left out; a failed read says why in the tooltip.
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

#include "DialogSim.h"
#include "HexBajty.h"
#include "ProfilModulu.h"

using vk::test::Hex;
using vk::test::TLinkaSim;
using TRezim = TFormProfilModulu::TRezim;

class TestProfilModulu : public QObject {
    Q_OBJECT

private slots:
    void ulozitZmenitObnovit();
    void chybnyProfilNicNeposle();
    void serioveBezLoguAPricina();
};

namespace {

// The window shown and its first job (reading the module) waited for.
std::unique_ptr<TFormProfilModulu> Okno(TDialogSim& p, TRezim rezim, const QString& soubor)
{
    auto d = std::make_unique<TFormProfilModulu>(rezim, soubor);
    d->Dat = &p.Dat;
    d->NastavPracovnika(p.Pracovnik.get());
    d->show();
    if (!QTest::qWaitFor([&] { return !d->Bezi(); }, 5000))
        return nullptr;
    return d;
}

QString Zprava(QWidget* d)
{
    return Prvek<QPlainTextEdit>(d, "Memo1")->toPlainText();
}

}  // namespace

// Fault: the file missing an area or a field, the comparison missing a
// changed field, a restore writing areas that did not differ or not
// verifying, or a second restore finding something to write.
void TestProfilModulu::ulozitZmenitObnovit()
{
    TDialogSim p;
    std::string chyba;
    QVERIFY2(p.Spust(TLinkaSim::Sit, chyba), chyba.c_str());
    QVERIFY(p.Sim.sim.NastavSoubor("mbtcp.cfg", Hex("0C 1E D6")));
    QTemporaryDir slozka;
    const QString soubor = slozka.filePath(QStringLiteral("modul.json"));

    auto ulozit = Okno(p, TRezim::Ulozit, soubor);
    QVERIFY(ulozit);
    QCOMPARE(ulozit->TextStavu(), U(" Profil uložen."));
    QVERIFY(Zprava(ulozit.get()).contains(U("lan4.cfg mbtcp.cfg uartm.cfg uarts.cfg sprava.cfg log.cfg")));
    QFile f(soubor);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.readAll().contains("\"UnitID\":12,"));
    ulozit.reset();

    QVERIFY(p.Sim.sim.NastavSoubor("mbtcp.cfg", Hex("C8 09 2F")));
    auto obnovit = Okno(p, TRezim::Obnovit, soubor);
    QVERIFY(obnovit);
    QCOMPARE(obnovit->TextStavu(), U(" Rozdílné oblasti: 1. Zapsat je do modulu?"));
    QVERIFY(Zprava(obnovit.get()).contains(U("mbtcp.cfg: UnitID: 200 -> 12\nmbtcp.cfg: Timeout: 9 -> 30")));
    QVERIFY(Klikni(*obnovit, "Button1"));
    QCOMPARE(obnovit->TextStavu(), U(" Profil zapsán do modulu."));
    QCOMPARE(p.Sim.sim.Soubor("mbtcp.cfg"), Hex("0C 1E D6"));
    for (const char* jiny : {"lan4.cfg", "uartm.cfg", "uarts.cfg", "sprava.cfg", "log.cfg"})
        QVERIFY2(p.Sim.sim.PocetZapisu(jiny) == 0, jiny);
    QVERIFY(!Prvek<QPushButton>(obnovit.get(), "Button1")->isEnabled());
    obnovit.reset();

    auto znovu = Okno(p, TRezim::Obnovit, soubor);
    QVERIFY(znovu);
    QCOMPARE(znovu->TextStavu(), U(" Modul odpovídá profilu, není co zapsat."));
    QVERIFY(!Prvek<QPushButton>(znovu.get(), "Button1")->isEnabled());
}

// Fault: a profile taken in part, so that the fields before the bad one
// reach the module.
void TestProfilModulu::chybnyProfilNicNeposle()
{
    TDialogSim p;
    std::string chyba;
    QVERIFY2(p.Spust(TLinkaSim::Sit, chyba), chyba.c_str());
    QTemporaryDir slozka;
    const QString soubor = slozka.filePath(QStringLiteral("modul.json"));
    QVERIFY(Okno(p, TRezim::Ulozit, soubor));
    QFile f(soubor);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QByteArray text = f.readAll();
    f.close();
    text.replace("\"UnitID\":255,", "\"UnitID\":300,");
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
    f.close();

    auto obnovit = Okno(p, TRezim::Obnovit, soubor);
    QVERIFY(obnovit);
    QVERIFY2(obnovit->TextStavu().startsWith(U(" Chybný profil, do modulu nebylo nic posláno: line ")),
             qPrintable(obnovit->TextStavu()));
    QVERIFY(obnovit->TextStavu().contains(U("mbtcp.cfg: UnitID=\"300\"")));
    QVERIFY(!Prvek<QPushButton>(obnovit.get(), "Button1")->isEnabled());
    QCOMPARE(p.Sim.sim.PocetZapisu("mbtcp.cfg"), 0u);
}

// Fault: the event logging area silently missing from a serial backup, or
// a failed read showing no cause.
void TestProfilModulu::serioveBezLoguAPricina()
{
    TDialogSim p;
    std::string chyba;
    QVERIFY2(p.Spust(TLinkaSim::Serial, chyba), chyba.c_str());
    QTemporaryDir slozka;
    const QString soubor = slozka.filePath(QStringLiteral("modul.json"));
    auto ulozit = Okno(p, TRezim::Ulozit, soubor);
    QVERIFY(ulozit);
    QCOMPARE(ulozit->TextStavu(), U(" Profil uložen."));
    QVERIFY(Zprava(ulozit.get()).startsWith(U("log.cfg vynechán: nastavení logování se přenáší jen po LAN.")));
    ulozit.reset();

    p.Sim.sim.NastavPoruchu(vk::sim::TPorucha::SpatneCRC, true);
    auto znovu = Okno(p, TRezim::Ulozit, slozka.filePath(QStringLiteral("druhy.json")));
    QVERIFY(znovu);
    QVERIFY2(znovu->TextStavu().startsWith(U(" lan4.cfg:")), qPrintable(znovu->TextStavu()));
    QVERIFY(!Prvek<QLabel>(znovu.get(), "StatusBar1Panel0")->toolTip().isEmpty());
    QVERIFY(!QFile::exists(slozka.filePath(QStringLiteral("druhy.json"))));
}

QTEST_MAIN(TestProfilModulu)
#include "ProfilModulu_test.moc"
