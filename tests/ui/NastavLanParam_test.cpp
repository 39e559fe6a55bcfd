// The network dialog, and through it the flow every configuration dialog
// shares: show, "Přečíst", "Zapsat" with read-back, "Ok", "Cancel",
// "Default parametry", the refusal of an invalid field, and closing during
// a transfer.
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "DialogSim.h"
#include "HexBajty.h"
#include "NastavLanParam.h"

using vk::sim::TPorucha;
using vk::test::Hex;
using vk::test::TLinkaSim;

Q_DECLARE_METATYPE(TLinkaSim)

class TestNastavLanParam : public QObject {
    Q_OBJECT

private slots:
    void bezPripojeni();
    void precistPlniOvladaceAOkJePrevezme_data();
    void precistPlniOvladaceAOkJePrevezme();
    void zapsatOverenyACancelNechaObraz_data();
    void zapsatOverenyACancelNechaObraz();
    void jinaUlozenaHodnota();
    void chybnePoleBezProvozu();
    void nezdareneCteniVratiPracovniKopii();
    void pricinaVTooltipu();
    void dhcpVolbaUzivateleAKodBezPolozky();
    void vychoziParametryAzPoOk();
    void zavreniBehemCteni();
    void poradiTabulatoru();
};

namespace {

QString Pole(QWidget* d, const char* jmeno)
{
    return Prvek<QLineEdit>(d, jmeno)->text();
}

void Napis(QWidget* d, const char* jmeno, const char* text)
{
    Prvek<QLineEdit>(d, jmeno)->setText(QString::fromUtf8(text));
}

}  // namespace

// Fault: a dialog that reads or writes without a connection, or whose "Ok"
// needs one.
void TestNastavLanParam::bezPripojeni()
{
    TDialogSim p;
    p.Dat.CFGVK.LAN4.IP4_Adresa = {10, 0, 0, 7};
    auto d = p.Dialog<TFormNastavLanParam>();
    d->show();
    QCOMPARE(Pole(d.get(), "Edit1"), QStringLiteral("10.0.0.7"));
    QCOMPARE(d->TextStavu(), QStringLiteral(" "));
    for (const char* tlacitko : {"Button1", "Button2"}) {
        QVERIFY(Klikni(*d, tlacitko));
        QCOMPARE(d->TextStavu(), U(" Připojení k zařízení není inicializováno."));
    }
    Napis(d.get(), "Edit1", "10.0.0.8");
    QTest::mouseClick(Prvek<QPushButton>(d.get(), "Button3"), Qt::LeftButton);
    QCOMPARE(d->result(), int(QDialog::Accepted));
    QCOMPARE(p.Dat.CFGVK.LAN4.IP4_Adresa, (vk::core::TAdresa4{10, 0, 0, 8}));
}

void TestNastavLanParam::precistPlniOvladaceAOkJePrevezme_data()
{
    QTest::addColumn<TLinkaSim>("linka");
    QTest::newRow("LAN") << TLinkaSim::Sit;
    QTest::newRow("UART") << TLinkaSim::Serial;
}

// Fault: a field filled from the wrong byte of the file, a read that
// changes the program's image by itself, or an "Ok" that drops what was
// read.
void TestNastavLanParam::precistPlniOvladaceAOkJePrevezme()
{
    QFETCH(TLinkaSim, linka);
    TDialogSim p;
    std::string chyba;
    QVERIFY2(p.Spust(linka, chyba), chyba.c_str());
    QVERIFY(p.Sim.sim.NastavSoubor("lan4.cfg", Hex("0A 00 00 05 FF FF 00 00 0A 00 00 01 01 00 00 E7")));
    const vk::core::TCFGVK obraz = p.Dat.CFGVK;
    auto d = p.Dialog<TFormNastavLanParam>();
    d->show();
    QVERIFY(Klikni(*d, "Button1"));
    QCOMPARE(d->TextStavu(), U(" Konfigurace přečtena."));
    QCOMPARE(Pole(d.get(), "Edit1"), QStringLiteral("10.0.0.5"));
    QCOMPARE(Pole(d.get(), "Edit2"), QStringLiteral("255.255.0.0"));
    QCOMPARE(Pole(d.get(), "Edit3"), QStringLiteral("10.0.0.1"));
    QCOMPARE(Prvek<QComboBox>(d.get(), "ComboBox1")->currentIndex(), 1);
    QVERIFY(!Prvek<QLineEdit>(d.get(), "Edit1")->isEnabled());
    QCOMPARE(p.Dat.CFGVK.LAN4.IP4_Adresa, obraz.LAN4.IP4_Adresa);
    QTest::mouseClick(Prvek<QPushButton>(d.get(), "Button3"), Qt::LeftButton);
    QCOMPARE(p.Dat.CFGVK.LAN4.IP4_Adresa, (vk::core::TAdresa4{10, 0, 0, 5}));
    QCOMPARE(p.Dat.CFGVK.LAN4.IP4_DHCP, std::uint8_t{1});
}

void TestNastavLanParam::zapsatOverenyACancelNechaObraz_data()
{
    precistPlniOvladaceAOkJePrevezme_data();
}

// Fault: the typed values not reaching the module's file, no read-back, a
// second transfer startable meanwhile, or a write that changes the image.
void TestNastavLanParam::zapsatOverenyACancelNechaObraz()
{
    QFETCH(TLinkaSim, linka);
    TDialogSim p;
    std::string chyba;
    QVERIFY2(p.Spust(linka, chyba), chyba.c_str());
    const vk::core::TCFGVK obraz = p.Dat.CFGVK;
    auto d = p.Dialog<TFormNastavLanParam>();
    d->show();
    Napis(d.get(), "Edit1", "10.1.2.3");
    Napis(d.get(), "Edit2", "255.255.255.0");
    Napis(d.get(), "Edit3", "10.1.2.254");
    QTest::mouseClick(Prvek<QPushButton>(d.get(), "Button2"), Qt::LeftButton);
    QVERIFY(d->Bezi());
    for (const char* t : {"Button1", "Button2", "Button3", "Button6"})
        QVERIFY2(!Prvek<QPushButton>(d.get(), t)->isEnabled(), t);
    QVERIFY(QTest::qWaitFor([&] { return !d->Bezi(); }, 5000));
    QCOMPARE(d->TextStavu(), U(" Konfigurace zapsána."));
    QVERIFY(Prvek<QPushButton>(d.get(), "Button2")->isEnabled());
    QCOMPARE(p.Sim.sim.Soubor("lan4.cfg"), Hex("0A 01 02 03 FF FF FF 00 0A 01 02 FE 00 00 00 E8"));
    QTest::mouseClick(Prvek<QPushButton>(d.get(), "Button4"), Qt::LeftButton);
    QCOMPARE(d->result(), int(QDialog::Rejected));
    QCOMPARE(p.Dat.CFGVK.LAN4.IP4_Adresa, obraz.LAN4.IP4_Adresa);
}

// Fault: the read-back's mismatch not reaching the window.
void TestNastavLanParam::jinaUlozenaHodnota()
{
    TDialogSim p;
    std::string chyba;
    QVERIFY2(p.Spust(TLinkaSim::Sit, chyba), chyba.c_str());
    p.Sim.sim.NastavPoruchu(TPorucha::JinaUlozenaHodnota, true);
    auto d = p.Dialog<TFormNastavLanParam>();
    d->show();
    QVERIFY(Klikni(*d, "Button2"));
    QCOMPARE(d->TextStavu(), U(" Chyba verifikace zápisu."));
}

// Fault: an invalid field that still sends, lets "Ok" close, or loses the
// fields before it; the rules apply to disabled fields too.
void TestNastavLanParam::chybnePoleBezProvozu()
{
    TDialogSim p;
    std::string chyba;
    QVERIFY2(p.Spust(TLinkaSim::Sit, chyba), chyba.c_str());
    p.Dat.CFGVK.LAN4.IP4_DHCP = 1;
    const vk::core::TCFGVK obraz = p.Dat.CFGVK;
    auto d = p.Dialog<TFormNastavLanParam>();
    d->show();
    Napis(d.get(), "Edit1", "10.9.9.9");
    Napis(d.get(), "Edit2", "255.255.x.0");
    const std::uint32_t pozadavky = p.Sim.sim.PocetPozadavku();
    QVERIFY(Klikni(*d, "Button2"));
    QCOMPARE(d->TextStavu(), U(" Chyba IP4 masky."));
    QCOMPARE(p.Sim.sim.PocetPozadavku(), pozadavky);
    QCOMPARE(d->CFGVK.LAN4.IP4_Adresa, (vk::core::TAdresa4{10, 9, 9, 9}));
    QTest::mouseClick(Prvek<QPushButton>(d.get(), "Button3"), Qt::LeftButton);
    QVERIFY(d->isVisible());
    QCOMPARE(d->TextStavu(), U(" Chyba IP4 masky."));
    QCOMPARE(p.Dat.CFGVK.LAN4.IP4_Adresa, obraz.LAN4.IP4_Adresa);
}

// Fault: a failed read that leaves the user's unsaved typing in the fields
// or shows a success.
void TestNastavLanParam::nezdareneCteniVratiPracovniKopii()
{
    TDialogSim p;
    std::string chyba;
    QVERIFY2(p.Spust(TLinkaSim::Sit, chyba), chyba.c_str());
    p.Sim.sim.NastavPoruchu(TPorucha::OdmitnutyZapis, true);
    p.Sim.sim.NastavPoruchu(TPorucha::VyjimkaOdpoved, true);
    p.Dat.CFGVK.LAN4.IP4_Adresa = {10, 0, 0, 7};
    auto d = p.Dialog<TFormNastavLanParam>();
    d->show();
    Napis(d.get(), "Edit1", "1.2.3.4");
    QVERIFY(Klikni(*d, "Button1"));
    QVERIFY(d->TextStavu().startsWith(QLatin1Char(' ')));
    QVERIFY(d->TextStavu() != U(" Konfigurace přečtena."));
    QCOMPARE(Pole(d.get(), "Edit1"), QStringLiteral("10.0.0.7"));
}

// Fault: the cause of a failed read lost between the job and the status bar,
// or the status text changed along with it; a later success that leaves the
// old cause in the tooltip.
void TestNastavLanParam::pricinaVTooltipu()
{
    TDialogSim p;
    std::string chyba;
    QVERIFY2(p.Spust(TLinkaSim::Sit, chyba), chyba.c_str());
    p.Sim.sim.NastavPoruchu(TPorucha::VyjimkaOdpoved, true, 1);
    auto d = p.Dialog<TFormNastavLanParam>();
    d->show();
    const QLabel* panel = Prvek<QLabel>(d.get(), "StatusBar1Panel0");
    QVERIFY(Klikni(*d, "Button1"));
    QCOMPARE(d->TextStavu(), U(" Chyba spojení"));
    QCOMPARE(panel->toolTip(), U("Chyba spojení\nmodul odmítl přenos: ERROR 0 \"Module failure\""));
    QVERIFY(Klikni(*d, "Button1"));
    QCOMPARE(d->TextStavu(), U(" Konfigurace přečtena."));
    QCOMPARE(panel->toolTip(), U("Konfigurace přečtena."));
}

// Fault: the fields' enabled state following the code's setting of the
// list instead of the user's choice, or a code without an item taken as
// another item.
void TestNastavLanParam::dhcpVolbaUzivateleAKodBezPolozky()
{
    TDialogSim p;
    p.Dat.CFGVK.LAN4.IP4_DHCP = 7;
    auto d = p.Dialog<TFormNastavLanParam>();
    d->show();
    auto* seznam = Prvek<QComboBox>(d.get(), "ComboBox1");
    QCOMPARE(seznam->currentIndex(), -1);
    QVERIFY(!Prvek<QLineEdit>(d.get(), "Edit1")->isEnabled());
    QTest::mouseClick(Prvek<QPushButton>(d.get(), "Button3"), Qt::LeftButton);
    QCOMPARE(p.Dat.CFGVK.LAN4.IP4_DHCP, std::uint8_t{255});

    auto d2 = p.Dialog<TFormNastavLanParam>();
    p.Dat.CFGVK.LAN4.IP4_DHCP = 0;
    d2->show();
    auto* seznam2 = Prvek<QComboBox>(d2.get(), "ComboBox1");
    seznam2->setCurrentIndex(1);  // from code: no change of the fields
    QVERIFY(Prvek<QLineEdit>(d2.get(), "Edit2")->isEnabled());
    seznam2->setCurrentIndex(0);
    QTest::keyClick(seznam2, Qt::Key_Down);  // the user's choice
    QCOMPARE(seznam2->currentIndex(), 1);
    QVERIFY(!Prvek<QLineEdit>(d2.get(), "Edit2")->isEnabled());
}

// Fault: "Default parametry" reaching the image without "Ok".
void TestNastavLanParam::vychoziParametryAzPoOk()
{
    TDialogSim p;
    p.Dat.CFGVK.LAN4.IP4_Adresa = {10, 0, 0, 7};
    auto d = p.Dialog<TFormNastavLanParam>();
    d->show();
    QTest::mouseClick(Prvek<QPushButton>(d.get(), "Button6"), Qt::LeftButton);
    QCOMPARE(Pole(d.get(), "Edit1"), QStringLiteral("192.168.0.99"));
    QCOMPARE(p.Dat.CFGVK.LAN4.IP4_Adresa, (vk::core::TAdresa4{10, 0, 0, 7}));
    QTest::mouseClick(Prvek<QPushButton>(d.get(), "Button3"), Qt::LeftButton);
    QCOMPARE(p.Dat.CFGVK.LAN4.IP4_Adresa, (vk::core::TAdresa4{192, 168, 0, 99}));
}

// Fault: a close that leaves the job running on the connection record, or
// waits for the whole transfer time-out.
void TestNastavLanParam::zavreniBehemCteni()
{
    TDialogSim p;
    std::string chyba;
    QVERIFY2(p.Spust(TLinkaSim::Sit, chyba), chyba.c_str());
    p.Sim.sim.NastavPoruchu(TPorucha::ZadnaOdpoved, true);
    auto d = p.Dialog<TFormNastavLanParam>();
    d->show();
    QTest::mouseClick(Prvek<QPushButton>(d.get(), "Button1"), Qt::LeftButton);
    QVERIFY(d->Bezi());
    QTest::qWait(50);  // the job is inside the link's wait by now
    QElapsedTimer hodiny;
    hodiny.start();
    d->reject();
    QVERIFY(!d->Bezi());
    QVERIFY2(hodiny.elapsed() < 250, qPrintable(QString::number(hodiny.elapsed())));
    d.reset();
    QVERIFY(!p.Pracovnik->Bezi());
}

// Fault: "Zapsat" holding the focus on opening (a press of Space would
// write), or the buttons before the fields in the tab order.
void TestNastavLanParam::poradiTabulatoru()
{
    TDialogSim p;
    auto d = p.Dialog<TFormNastavLanParam>();
    d->show();
    QCOMPARE(d->focusWidget(), Prvek<QComboBox>(d.get(), "ComboBox1"));
    QStringList poradi;
    for (QWidget* w = d->focusWidget()->nextInFocusChain(); w != d->focusWidget(); w = w->nextInFocusChain())
        if (w->isVisible() && (w->focusPolicy() & Qt::TabFocus))
            poradi.append(w->objectName());
    QCOMPARE(poradi, (QStringList{"Edit1", "Edit2", "Edit3", "Button6", "Button2", "Button1", "Button3", "Button4"}));
}

QTEST_MAIN(TestNastavLanParam)
#include "NastavLanParam_test.moc"
