// The clock dialog: the module's time in its display form, the setting of
// the clock from the computer's local time at the next refresh, and the
// message without a connection.
#include <QDateTime>
#include <QLabel>
#include <QTest>

#include "DialogSim.h"
#include "HexBajty.h"
#include "NastavRTC.h"

using vk::test::Hex;
using vk::test::TLinkaSim;

class TestNastavRTC : public QObject {
    Q_OBJECT

private slots:
    void bezPripojeni();
    void zobraziCasModuluANastavi();
    void zavreniBehemObnovy();

private:
    static QString Panel(QWidget* d) { return Prvek<QLabel>(d, "Panel1")->text(); }
};

// Fault: a refresh attempted, or the set request consumed, without a
// connection; the message missing.
void TestNastavRTC::bezPripojeni()
{
    TDialogSim p;
    auto d = p.Dialog<TFormNastavRTC>();
    d->show();
    QTest::mouseClick(Prvek<QPushButton>(d.get(), "Button1"), Qt::LeftButton);
    QVERIFY(QTest::qWaitFor([&] { return d->TextStavu() == U(" Připojení k zařízení není inicializováno."); }, 1000));
    QTest::qWait(250);
    QCOMPARE(Panel(d.get()), QStringLiteral("---"));
    QVERIFY(d->NastavitCas);
    QVERIFY(!p.Pracovnik->Bezi());
}

// Fault: the panel showing the computer's time instead of the module's, a
// wrong display form, or a set request that does not reach the module.
void TestNastavRTC::zobraziCasModuluANastavi()
{
    TDialogSim p;
    std::string chyba;
    QVERIFY2(p.Spust(TLinkaSim::Serial, chyba), chyba.c_str());
    QVERIFY(p.Sim.sim.NastavSoubor("rtc.bin", Hex("00 00 07 05 09 08 0C 1A 02")));
    auto d = p.Dialog<TFormNastavRTC>();
    d->show();
    QVERIFY(QTest::qWaitFor([&] { return Panel(d.get()) == QStringLiteral("8.12.2026   9:05:07"); }, 3000));
    QCOMPARE(d->TextStavu(), QStringLiteral(" OK"));

    QTest::mouseClick(Prvek<QPushButton>(d.get(), "Button1"), Qt::LeftButton);
    const QString dnes = QDateTime::currentDateTime().toString(QStringLiteral("d.M.yyyy   "));
    QVERIFY2(QTest::qWaitFor([&] { return Panel(d.get()).startsWith(dnes); }, 3000), qPrintable(Panel(d.get())));
    QVERIFY(!d->NastavitCas);
    const auto rtc = p.Sim.sim.Soubor("rtc.bin");
    QCOMPARE(rtc.size(), std::size_t{9});
    QCOMPARE(int(rtc[7]) + 2000, QDate::currentDate().year());
}

// Fault: a close that leaves the refresh running on the connection record.
void TestNastavRTC::zavreniBehemObnovy()
{
    TDialogSim p;
    std::string chyba;
    QVERIFY2(p.Spust(TLinkaSim::Sit, chyba), chyba.c_str());
    p.Sim.sim.NastavPoruchu(vk::sim::TPorucha::ZadnaOdpoved, true);
    auto d = p.Dialog<TFormNastavRTC>();
    d->show();
    QVERIFY(QTest::qWaitFor([&] { return d->Bezi(); }, 1000));
    d->reject();
    QVERIFY(!d->Bezi());
    QVERIFY(!p.Pracovnik->Bezi());
}

QTEST_MAIN(TestNastavRTC)
#include "NastavRTC_test.moc"
