// The restart window and the windows that poll the module (the two
// diagnostics windows, the clock): what the user sees after each answer,
// why a poll failed on hovering, what reaches the module and how often, and
// the polling that goes on without a connection.
#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineSeries>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

#include "DiagRS485.h"
#include "DiagSystem.h"
#include "DialogSim.h"
#include "HexBajty.h"
#include "NastavRTC.h"
#include "RestartZarizeni.h"

using vk::sim::TPorucha;
using vk::test::TLinkaSim;

class TestDiagOkna : public QObject {
    Q_OBJECT

private slots:
    void restartBezPripojeniACancel();
    void restartZavreSekunduPoUspechu();
    void restartNeuspesnyZustaneOtevreny();
    void systemHodnotyANeuspesneCteni();
    void systemBezPripojeniOpakuje();
    void rs485VymazatDvakratJedenPrikaz();
    void rs485GrafJenPriNovemIndexu();
    void rs485ObnovaKazdych100ms();
    void pricinaVTooltipuDoDalsiObnovy();
};

namespace {

QString Hodnota(QWidget* okno, int radek)
{
    return Prvek<QTableWidget>(okno, "StringGrid1")->item(radek, 1)->text();
}

// A polling window of type T on `linka` with `porucha` on: the failed poll's
// status text as it always was and its cause under it on hovering; once the
// fault is off, the next good poll leaves no cause behind.
template <class T>
void OverPricinu(TLinkaSim linka, TPorucha porucha, const char* stav, const char* pricina)
{
    TDialogSim p;
    std::string chyba;
    QVERIFY2(p.Spust(linka, chyba), chyba.c_str());
    p.Sim.sim.NastavPoruchu(porucha, true);
    auto d = p.Dialog<T>();
    d->show();
    const QLabel* panel = Prvek<QLabel>(d.get(), "StatusBar1Panel0");
    QVERIFY(QTest::qWaitFor([&] { return panel->toolTip().contains(QLatin1Char('\n')); }, 5000));
    QCOMPARE(d->TextStavu(), U(stav));
    QCOMPARE(panel->toolTip(), U(stav).trimmed() + QLatin1Char('\n') + U(pricina));
    p.Sim.sim.NastavPoruchu(porucha, false);
    QVERIFY(QTest::qWaitFor([&] { return d->TextStavu() == QStringLiteral(" OK"); }, 5000));
    QCOMPARE(panel->toolTip(), QStringLiteral("OK"));
}

// mmrgv.bin with the write index `index` and the load `zatez` in every
// second.
vk::test::Bajty Mmrgv(std::uint8_t index, std::uint8_t zatez)
{
    vk::test::Bajty b(240, 0);
    b[0] = 180;
    b[4] = 180;
    b[8] = index;
    for (int i = 0; i < 180; ++i)
        b[12 + i] = zatez;
    return b;
}

}  // namespace

// Fault: "Cancel" or a press without a connection reaching the module, or
// the window closing without a connection.
void TestDiagOkna::restartBezPripojeniACancel()
{
    TDialogSim p;
    std::string chyba;
    QVERIFY2(p.Spust(TLinkaSim::Sit, chyba), chyba.c_str());
    p.Dat.Init = false;
    auto d = p.Dialog<TFormRestart>();
    d->show();
    QCOMPARE(d->TextStavu(), QString());
    QTest::mouseClick(Prvek<QPushButton>(d.get(), "Button1"), Qt::LeftButton);
    QCOMPARE(d->TextStavu(), U(" Připojení k zařízení není inicializováno."));
    QVERIFY(d->isVisible());
    QTest::mouseClick(Prvek<QPushButton>(d.get(), "Button2"), Qt::LeftButton);
    QVERIFY(!d->isVisible());
    QCOMPARE(p.Sim.sim.PocetZapisu("ctrl.bin"), 0u);
}

// Fault: the window closing before the user could read the success, or not
// at all; the command not sent.
void TestDiagOkna::restartZavreSekunduPoUspechu()
{
    TDialogSim p;
    std::string chyba;
    QVERIFY2(p.Spust(TLinkaSim::Serial, chyba), chyba.c_str());
    auto d = p.Dialog<TFormRestart>();
    d->show();
    QTest::mouseClick(Prvek<QPushButton>(d.get(), "Button1"), Qt::LeftButton);
    QVERIFY(!Prvek<QPushButton>(d.get(), "Button1")->isEnabled());
    QVERIFY(QTest::qWaitFor([&] { return d->TextStavu() == U(" Modul restartován."); }, 3000));
    QElapsedTimer hodiny;
    hodiny.start();
    QVERIFY(QTest::qWaitFor([&] { return !d->isVisible(); }, 3000));
    QVERIFY2(hodiny.elapsed() >= 900, qPrintable(QString::number(hodiny.elapsed())));
    QCOMPARE(d->result(), int(QDialog::Accepted));
    QCOMPARE(p.Sim.sim.PocetZapisu("ctrl.bin"), 1u);
}

// Fault: a failure reported as success or closing the window.
void TestDiagOkna::restartNeuspesnyZustaneOtevreny()
{
    TDialogSim p;
    std::string chyba;
    QVERIFY2(p.Spust(TLinkaSim::Sit, chyba), chyba.c_str());
    p.Sim.sim.NastavPoruchu(TPorucha::OdmitnutyZapis, true);
    auto d = p.Dialog<TFormRestart>();
    d->show();
    QTest::mouseClick(Prvek<QPushButton>(d.get(), "Button1"), Qt::LeftButton);
    QVERIFY(QTest::qWaitFor([&] { return !d->Bezi(); }, 3000));
    QVERIFY(d->TextStavu().startsWith(QLatin1Char(' ')));
    QVERIFY(d->TextStavu() != U(" Modul restartován."));
    QVERIFY(d->isVisible());
    QVERIFY(Prvek<QPushButton>(d.get(), "Button1")->isEnabled());
}

// Fault: values in the wrong rows, padding shown, or a failed read wiping
// the values of the last good one.
void TestDiagOkna::systemHodnotyANeuspesneCteni()
{
    TDialogSim p;
    std::string chyba;
    QVERIFY2(p.Spust(TLinkaSim::Sit, chyba), chyba.c_str());
    auto d = p.Dialog<TFormDiagPrehled>();
    d->show();
    QVERIFY(QTest::qWaitFor([&] { return d->TextStavu() == QStringLiteral(" OK"); }, 3000));
    QCOMPARE(Hodnota(d.get(), 0), QStringLiteral("VK-7316R FW 1.00"));
    QVERIFY2(QRegularExpression(QStringLiteral("^([0-9A-F]{2}:){5}[0-9A-F]{2}$")).match(Hodnota(d.get(), 3)).hasMatch(),
             qPrintable(Hodnota(d.get(), 3)));
    QVERIFY(Hodnota(d.get(), 5).contains(QStringLiteral(" (0:")));
    const QString vyrCislo = Hodnota(d.get(), 2);
    QVERIFY(!vyrCislo.isEmpty());

    p.Sim.sim.NastavPoruchu(TPorucha::ZadnaOdpoved, true);
    QVERIFY(QTest::qWaitFor([&] { return d->TextStavu() != QStringLiteral(" OK"); }, 3000));
    QVERIFY(d->TextStavu().startsWith(QLatin1Char(' ')));
    QCOMPARE(Hodnota(d.get(), 2), vyrCislo);
}

// Fault: polling that stops, or reaches for the module, without a
// connection.
void TestDiagOkna::systemBezPripojeniOpakuje()
{
    TDialogSim p;
    auto d = p.Dialog<TFormDiagPrehled>();
    d->show();
    QCOMPARE(d->TextStavu(), QStringLiteral(" "));
    QVERIFY(QTest::qWaitFor([&] { return d->TextStavu() == U(" Připojení k zařízení není inicializováno."); }, 1000));
    QVERIFY(Hodnota(d.get(), 0).isEmpty());
    QVERIFY(!d->Bezi());
}

// Fault: each press sending its own command, or a press lost.
void TestDiagOkna::rs485VymazatDvakratJedenPrikaz()
{
    TDialogSim p;
    std::string chyba;
    QVERIFY2(p.Spust(TLinkaSim::Sit, chyba), chyba.c_str());
    auto d = p.Dialog<TFormDiagRS485>();
    d->show();
    QVERIFY(QTest::qWaitFor([&] { return d->TextStavu() == QStringLiteral(" OK"); }, 3000));
    auto* vymazat = Prvek<QPushButton>(d.get(), "Button2");
    QTest::mouseClick(vymazat, Qt::LeftButton);
    QTest::mouseClick(vymazat, Qt::LeftButton);
    QVERIFY(QTest::qWaitFor([&] { return p.Sim.sim.PocetZapisu("ctrl.bin") > 0; }, 3000));
    QTest::qWait(400);  // several more polls
    QCOMPARE(p.Sim.sim.PocetZapisu("ctrl.bin"), 1u);
    QVERIFY(!d->fVymazat);
    QCOMPARE(d->TextStavu(), QStringLiteral(" OK"));
}

// Fault: the chart redrawn on every poll (flicker and work for nothing) or
// not on a new second; points taken from the wrong bytes.
void TestDiagOkna::rs485GrafJenPriNovemIndexu()
{
    TDialogSim p;
    std::string chyba;
    QVERIFY2(p.Spust(TLinkaSim::Sit, chyba), chyba.c_str());
    QVERIFY(p.Sim.sim.NastavSoubor("mmrgv.bin", Mmrgv(7, 40)));
    auto d = p.Dialog<TFormDiagRS485>();
    auto* plocha = qobject_cast<QAreaSeries*>(Prvek<QChartView>(d.get(), "Chart1")->chart()->series().value(0));
    QVERIFY(plocha);
    QSignalSpy prekresleni(plocha->upperSeries(), &QXYSeries::pointsReplaced);
    d->show();
    QVERIFY(QTest::qWaitFor([&] { return d->TextStavu() == QStringLiteral(" OK"); }, 3000));
    QTest::qWait(350);  // more polls on the same write index
    QCOMPARE(prekresleni.count(), 1);
    QCOMPARE(plocha->upperSeries()->count(), 180);
    QCOMPARE(plocha->upperSeries()->at(179), QPointF(179, 40));
    QCOMPARE(d->PredchoziIndex, 7);

    QVERIFY(p.Sim.sim.NastavSoubor("mmrgv.bin", Mmrgv(8, 60)));
    QVERIFY(QTest::qWaitFor([&] { return prekresleni.count() == 2; }, 3000));
    QCOMPARE(plocha->upperSeries()->at(0), QPointF(0, 60));
}

// Fault: the poll interval stretched (1000 ms instead of 100 ms) or polls
// sent back to back. Each poll reads mmrd.bin and mmrgv.bin; the bounds
// leave room for a loaded machine.
void TestDiagOkna::rs485ObnovaKazdych100ms()
{
    TDialogSim p;
    std::string chyba;
    QVERIFY2(p.Spust(TLinkaSim::Sit, chyba), chyba.c_str());
    auto d = p.Dialog<TFormDiagRS485>();
    d->show();
    QVERIFY(QTest::qWaitFor([&] { return d->TextStavu() == QStringLiteral(" OK"); }, 3000));
    const std::uint32_t pred = p.Sim.sim.PocetPozadavku();
    QTest::qWait(1000);
    const std::uint32_t obnov = (p.Sim.sim.PocetPozadavku() - pred) / 2;
    QVERIFY2(obnov >= 5 && obnov <= 11, qPrintable(QString::number(obnov)));
}

// Fault: a window that drops the poll's cause, changes its status text
// along with it, or keeps a stale cause after the module answers again.
void TestDiagOkna::pricinaVTooltipuDoDalsiObnovy()
{
    OverPricinu<TFormDiagPrehled>(TLinkaSim::Serial, TPorucha::ZadnaOdpoved, " Chyba spojení s modulem",
                                  "žádná odpověď do 400 ms");
    if (QTest::currentTestFailed())
        return;
    OverPricinu<TFormDiagRS485>(TLinkaSim::Sit, TPorucha::VyjimkaOdpoved, " Chyba spojení",
                                "modul odmítl přenos: ERROR 0 \"Module failure\"");
    if (QTest::currentTestFailed())
        return;
    OverPricinu<TFormNastavRTC>(TLinkaSim::Serial, TPorucha::VyjimkaOdpoved, " Chyba spojení s modulem",
                                "modul odpověděl výjimkou 4");
}

QTEST_MAIN(TestDiagOkna)
#include "DiagOkna_test.moc"
