// The configuration dialogs other than the network one: each one's controls
// filled from the module's file and taken back into the bytes written, the
// first refusal of its rules, and what sets a dialog apart (the remote
// management dialog's mode list and swapped buttons, the reading on show).
// The flow they share is tested with the network dialog.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QTest>

#include <numeric>

#include "DialogSim.h"
#include "HexBajty.h"
#include "NastavHlavniLinka.h"
#include "NastavLOG.h"
#include "NastavModbusTCP.h"
#include "NastavServisniLinka.h"
#include "NastavVzdalenaSprava.h"

using vk::test::Bajty;
using vk::test::Hex;
using vk::test::TLinkaSim;

class TestNastavOblasti : public QObject {
    Q_OBJECT

private slots:
    void modbusTCP();
    void hlavniLinka();
    void servisniLinka();
    void vzdalenaSpravaCteniPriZobrazeniAZapis();
    void vzdalenaSpravaRezimMeniPracovniKopii();
    void logCteniPriZobrazeniAZapis();
    void logPriSeriovemSpojeniBezSite();
};

namespace {

QString Text(QWidget* d, const char* jmeno)
{
    return Prvek<QLineEdit>(d, jmeno)->text();
}

void Napis(QWidget* d, const char* jmeno, const char* text)
{
    Prvek<QLineEdit>(d, jmeno)->setText(QString::fromUtf8(text));
}

int Polozka(QWidget* d, const char* jmeno)
{
    return Prvek<QComboBox>(d, jmeno)->currentIndex();
}

void Vyber(QWidget* d, const char* jmeno, int polozka)
{
    Prvek<QComboBox>(d, jmeno)->setCurrentIndex(polozka);
}

// The bytes followed by the check byte that makes their 8-bit sum 0.
Bajty SKontrolou(Bajty b)
{
    b.push_back(static_cast<std::uint8_t>(-std::accumulate(b.begin(), b.end(), 0u)));
    return b;
}

}  // namespace

// Fault: a field read from or written to the wrong byte, a dialog wired to
// another area, or its rule's message not shown.
void TestNastavOblasti::modbusTCP()
{
    TDialogSim p;
    std::string chyba;
    QVERIFY2(p.Spust(TLinkaSim::Sit, chyba), chyba.c_str());
    QVERIFY(p.Sim.sim.NastavSoubor("mbtcp.cfg", Hex("0C 1E D6")));
    auto d = p.Dialog<TFormNastavModbusTCP>();
    d->show();
    QVERIFY(Klikni(*d, "Button1"));
    QCOMPARE(Text(d.get(), "Edit1"), QStringLiteral("12"));
    QCOMPARE(Text(d.get(), "Edit2"), QStringLiteral("30"));
    Napis(d.get(), "Edit1", "200");
    Napis(d.get(), "Edit2", "9");
    QVERIFY(Klikni(*d, "Button2"));
    QCOMPARE(d->TextStavu(), U(" Konfigurace zapsána."));
    QCOMPARE(p.Sim.sim.Soubor("mbtcp.cfg"), Hex("C8 09 2F"));
    Napis(d.get(), "Edit2", "256");
    QVERIFY(Klikni(*d, "Button2"));
    QCOMPARE(d->TextStavu(), U(" Chybný timeout."));
}

// Fault: a baud or parity item mapped to the wrong code, or the lists not
// built from the link's rates.
void TestNastavOblasti::hlavniLinka()
{
    TDialogSim p;
    std::string chyba;
    QVERIFY2(p.Spust(TLinkaSim::Serial, chyba), chyba.c_str());
    QVERIFY(p.Sim.sim.NastavSoubor("uartm.cfg", Hex("05 00 E8 03 07 09")));
    auto d = p.Dialog<TFormNastavHlavniLinka>();
    d->show();
    QVERIFY(Klikni(*d, "Button1"));
    QCOMPARE(Prvek<QComboBox>(d.get(), "ComboBox1")->currentText(), QStringLiteral("19200 Bd"));
    QCOMPARE(Prvek<QComboBox>(d.get(), "ComboBox2")->currentText(), U("žádná"));
    QCOMPARE(Text(d.get(), "Edit1"), QStringLiteral("1000"));
    QCOMPARE(Text(d.get(), "Edit2"), QStringLiteral("7"));
    Vyber(d.get(), "ComboBox1", 6);
    Vyber(d.get(), "ComboBox2", 2);
    Napis(d.get(), "Edit1", "65535");
    Napis(d.get(), "Edit2", "15");
    QVERIFY(Klikni(*d, "Button2"));
    QCOMPARE(d->TextStavu(), U(" Konfigurace zapsána."));
    QCOMPARE(p.Sim.sim.Soubor("uartm.cfg"), Hex("08 02 FF FF 0F E9"));
    Napis(d.get(), "Edit2", "16");
    QVERIFY(Klikni(*d, "Button2"));
    QCOMPARE(d->TextStavu(), U(" Chybné parametr Opakování."));
}

void TestNastavOblasti::servisniLinka()
{
    TDialogSim p;
    std::string chyba;
    QVERIFY2(p.Spust(TLinkaSim::Sit, chyba), chyba.c_str());
    QVERIFY(p.Sim.sim.NastavSoubor("uarts.cfg", Hex("0C 06 00 01 ED")));
    auto d = p.Dialog<TFormNastavServisniLinka>();
    d->show();
    QVERIFY(Klikni(*d, "Button1"));
    QCOMPARE(Text(d.get(), "Edit1"), QStringLiteral("12"));
    QCOMPARE(Polozka(d.get(), "ComboBox1"), 4);
    QCOMPARE(Polozka(d.get(), "ComboBox2"), 0);
    QCOMPARE(Polozka(d.get(), "ComboBox3"), 1);
    Napis(d.get(), "Edit1", "255");
    Vyber(d.get(), "ComboBox1", 0);
    Vyber(d.get(), "ComboBox2", 1);
    Vyber(d.get(), "ComboBox3", 0);
    QVERIFY(Klikni(*d, "Button2"));
    QCOMPARE(d->TextStavu(), U(" Konfigurace zapsána."));
    QCOMPARE(p.Sim.sim.Soubor("uarts.cfg"), Hex("FF 02 01 00 FE"));
    Napis(d.get(), "Edit1", "256");
    QVERIFY(Klikni(*d, "Button2"));
    QCOMPARE(d->TextStavu(), U(" Chybná adresa."));
}

// Fault: the module's table not read on show, the rows or their version
// lists out of place, or the swapped buttons doing each other's work.
void TestNastavOblasti::vzdalenaSpravaCteniPriZobrazeniAZapis()
{
    TDialogSim p;
    std::string chyba;
    QVERIFY2(p.Spust(TLinkaSim::Sit, chyba), chyba.c_str());
    Bajty sprava(137, 0);
    sprava[0] = 2;
    for (std::uint8_t i = 0; i < 4; ++i)
        sprava[1 + i] = std::array<std::uint8_t, 4>{10, 0, 0, 1}[i];
    sprava[1 + 17] = 0xFE;
    sprava[1 + 17 + 1] = 0x80;
    sprava[1 + 17 + 15] = 0x01;
    sprava[1 + 17 + 16] = 1;
    QVERIFY(p.Sim.sim.NastavSoubor("sprava.cfg", SKontrolou(sprava)));
    auto d = p.Dialog<TFormNastavVzdalenaSprava>();
    d->show();
    QVERIFY(QTest::qWaitFor([&] { return !d->Bezi(); }, 5000));
    QCOMPARE(d->TextStavu(), QStringLiteral(" "));
    QCOMPARE(Polozka(d.get(), "ComboBox1"), 2);
    QCOMPARE(Text(d.get(), "Edit1"), QStringLiteral("10.0.0.1"));
    QCOMPARE(Text(d.get(), "Edit2"), QStringLiteral("FE80:0000:0000:0000:0000:0000:0000:0001"));
    QCOMPARE(Polozka(d.get(), "ComboBox3"), 1);
    QVERIFY(Prvek<QLineEdit>(d.get(), "Edit8")->isEnabled());

    Napis(d.get(), "Edit3", "192.168.1.5");
    QVERIFY(Klikni(*d, "Button1"));  // "Zapsat" here
    QCOMPARE(d->TextStavu(), U(" Konfigurace zapsána."));
    const Bajty soubor = p.Sim.sim.Soubor("sprava.cfg");
    QCOMPARE(soubor.size(), std::size_t{138});
    QCOMPARE(Bajty(soubor.begin() + 35, soubor.begin() + 39), Hex("C0 A8 01 05"));
    QCOMPARE(soubor[35 + 16], std::uint8_t{0});

    Napis(d.get(), "Edit3", "192.168.1");
    QVERIFY(Klikni(*d, "Button1"));
    QCOMPARE(d->TextStavu(), U(" Chybná IP adresa."));
}

// Fault: the mode reaching the working copy only through the rules, the
// table left enabled, or disabled rows still checked.
void TestNastavOblasti::vzdalenaSpravaRezimMeniPracovniKopii()
{
    TDialogSim p;
    p.Dat.CFGVK.Sprava.Rezim = 2;
    p.Dat.CFGVK.Sprava.User_IP[0] = {10, 0, 0, 1};
    auto d = p.Dialog<TFormNastavVzdalenaSprava>();
    d->show();
    QVERIFY(Prvek<QGroupBox>(d.get(), "GroupBox1")->isEnabled());
    QTest::keyClick(Prvek<QComboBox>(d.get(), "ComboBox1"), Qt::Key_Up);  // "povolena všem"
    QCOMPARE(d->CFGVK.Sprava.Rezim, std::uint8_t{1});
    QVERIFY(!Prvek<QLineEdit>(d.get(), "Edit1")->isEnabled());
    QCOMPARE(p.Dat.CFGVK.Sprava.Rezim, std::uint8_t{2});
    Napis(d.get(), "Edit1", "neplatná");
    QTest::mouseClick(Prvek<QPushButton>(d.get(), "Button3"), Qt::LeftButton);
    QCOMPARE(d->result(), int(QDialog::Accepted));
    QCOMPARE(p.Dat.CFGVK.Sprava.Rezim, std::uint8_t{1});
    QCOMPARE(p.Dat.CFGVK.Sprava.User_IP[0][0], std::uint8_t{10});
}

// Fault: a check box on the wrong bit, the module's settings not read on
// show, or a cleared box still written.
void TestNastavOblasti::logCteniPriZobrazeniAZapis()
{
    TDialogSim p;
    std::string chyba;
    QVERIFY2(p.Spust(TLinkaSim::Sit, chyba), chyba.c_str());
    QVERIFY(p.Sim.sim.NastavSoubor("log.cfg", SKontrolou(Hex("01 00 05 20 00 00"))));
    auto d = p.Dialog<TFormNastavLOG>();
    d->show();
    QVERIFY(QTest::qWaitFor([&] { return !d->Bezi(); }, 5000));
    QCOMPARE(Polozka(d.get(), "ComboBox1"), 1);
    for (int n = 1; n <= 14; ++n) {
        const bool ma = n == 1 || n == 3 || n == 14;
        const QByteArray jmeno = "CheckBox" + QByteArray::number(n);
        QCOMPARE(Prvek<QCheckBox>(d.get(), jmeno.constData())->isChecked(), ma);
    }
    Prvek<QCheckBox>(d.get(), "CheckBox1")->setChecked(false);
    Prvek<QCheckBox>(d.get(), "CheckBox13")->setChecked(true);
    Vyber(d.get(), "ComboBox1", 0);
    QVERIFY(Klikni(*d, "Button2"));
    QCOMPARE(d->TextStavu(), U(" Konfigurace zapsána."));
    const Bajty soubor = p.Sim.sim.Soubor("log.cfg");
    QCOMPARE(soubor.size(), std::size_t{7});
    QCOMPARE(soubor[0], std::uint8_t{0});
    QCOMPARE(Bajty(soubor.begin() + 2, soubor.begin() + 6), Hex("04 30 00 00"));
}

// The event log settings go over the network link only: opened on a serial
// connection, the dialog shows the image, with no message of the failed
// read on show. Fault: the serial port used, or the read's failure shown.
void TestNastavOblasti::logPriSeriovemSpojeniBezSite()
{
    TDialogSim p;
    std::string chyba;
    QVERIFY2(p.Spust(TLinkaSim::Serial, chyba), chyba.c_str());
    p.Dat.CFGVK.LOG.Udalost = 0x0002;
    const std::uint32_t pozadavky = p.Sim.sim.PocetPozadavku();
    auto d = p.Dialog<TFormNastavLOG>();
    d->show();
    QVERIFY(QTest::qWaitFor([&] { return !d->Bezi(); }, 5000));
    QCOMPARE(d->TextStavu(), QStringLiteral(" "));
    QVERIFY(Prvek<QCheckBox>(d.get(), "CheckBox2")->isChecked());
    QCOMPARE(p.Sim.sim.PocetPozadavku(), pozadavky);
}

QTEST_MAIN(TestNastavOblasti)
#include "NastavOblasti_test.moc"
