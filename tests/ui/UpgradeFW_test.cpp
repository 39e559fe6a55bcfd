// The firmware upgrade window against the simulated module: the whole
// upgrade over both links as the user sees it and as the module receives
// it, a stopped and a closed upload that leave the module's firmware
// unarmed, failures that leave the grid and the boot command as they were,
// and the messages before any traffic.
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "DialogSim.h"
#include "ObrazFirmware.h"
#include "UpgradeFW.h"

using vk::sim::TPorucha;
using vk::test::TLinkaSim;

Q_DECLARE_METATYPE(TLinkaSim)
Q_DECLARE_METATYPE(TPorucha)

namespace {

const char* const TextZapsano = " Firmware zapsán do modulu. Pro spuštění nutno modul restartovat.";
const char* const TextPreruseno = " Nahrávání přerušeno, nový firmware nebyl aktivován.";
const vk::test::Bajty Prog = {0x70, 0x72, 0x6F, 0x67, 0x00};

}  // namespace

class TestUpgradeFW : public QObject {
    Q_OBJECT

private slots:
    void upgrade_data();
    void upgrade();
    void prerusenyUpload();
    void zavreniBehemUploadu();
    void selhani_data();
    void selhani();
    void kontrolaSouboru();
    void vyberSouboru();
    void bezPripojeni();

private:
    // A window on a running simulator with an image file of `delka` bytes
    // in Edit1.
    bool Priprav(TDialogSim& p, TLinkaSim linka, std::size_t delka);
    static QString Bunka(QWidget* d, int radek)
    {
        return Prvek<QTableWidget>(d, "StringGrid1")->item(radek, 1)->text();
    }
    static int Prubeh(QWidget* d) { return Prvek<QProgressBar>(d, "ProgressBar1")->value(); }
    static bool Povoleno(QWidget* d, const char* jmeno) { return Prvek<QWidget>(d, jmeno)->isEnabled(); }

    QTemporaryDir Slozka;
    std::unique_ptr<TFormUpgradeFW> Okno;
};

bool TestUpgradeFW::Priprav(TDialogSim& p, TLinkaSim linka, std::size_t delka)
{
    std::string chyba;
    if (!p.Spust(linka, chyba)) {
        qWarning("%s", chyba.c_str());
        return false;
    }
    const QString cesta = Slozka.filePath(QStringLiteral("novy.hbn"));
    if (!vk::test::UlozBajty(cesta.toStdString(), vk::test::ObrazFirmware(delka, "C:\\fw\\novy_2_01.hbn")))
        return false;
    Okno = p.Dialog<TFormUpgradeFW>();
    Okno->show();
    Prvek<QLineEdit>(Okno.get(), "Edit1")->setText(cesta);
    return true;
}

void TestUpgradeFW::upgrade_data()
{
    QTest::addColumn<TLinkaSim>("linka");
    QTest::newRow("LAN") << TLinkaSim::Sit;
    QTest::newRow("pty") << TLinkaSim::Serial;
}

// Fault: the image not reaching the module whole, boot.cmd not armed with
// "prog" and its zero byte, the progress bar not fed by the blocks sent, the
// restart not starting the new image, or the grid not showing it.
void TestUpgradeFW::upgrade()
{
    QFETCH(TLinkaSim, linka);
    TDialogSim p;
    QVERIFY(Priprav(p, linka, 5000));
    TFormUpgradeFW& d = *Okno;

    QVERIFY(Klikni(d, "Button4"));
    QCOMPARE(d.TextStavu(), U(TextZapsano));
    QCOMPARE(p.Sim.sim.Soubor("boot.cmd"), Prog);
    QCOMPARE(p.Sim.sim.Soubor("fw.hbn").size(), std::size_t{5000});
    QCOMPARE(Prubeh(&d), Prvek<QProgressBar>(&d, "ProgressBar1")->maximum());

    QVERIFY(Klikni(d, "Button6"));
    QCOMPARE(Prvek<QPlainTextEdit>(&d, "Memo1")->toPlainText(), QStringLiteral("prog"));

    QVERIFY(Klikni(d, "Button5"));
    QCOMPARE(d.TextStavu(), U(" Zařízení restartováno."));

    QVERIFY(Klikni(d, "Button2"));
    QCOMPARE(d.TextStavu(), U(" Přečteno."));
    // Fault: the module's identity cut at 21 characters with nothing to show
    // the cut, or the whole text lost from the tooltip.
    QCOMPARE(Bunka(&d, 0), QStringLiteral("VK-7316R v.1.00 (sn.2…"));
    QCOMPARE(Prvek<QTableWidget>(&d, "StringGrid1")->item(0, 1)->toolTip(),
             QStringLiteral("VK-7316R v.1.00 (sn.23110042)"));
    QCOMPARE(Bunka(&d, 1), QStringLiteral("novy_2_01"));
    QCOMPARE(Bunka(&d, 2), QStringLiteral("24.11.2023  9:05:07"));
}

// Fault: "Přerušit" not stopping the upload, "prog" written after a stop,
// another transfer startable meanwhile, or the progress bar standing still.
void TestUpgradeFW::prerusenyUpload()
{
    TDialogSim p;
    QVERIFY(Priprav(p, TLinkaSim::Serial, 256 * 1024));
    TFormUpgradeFW& d = *Okno;
    QVERIFY(!Povoleno(&d, "Button9"));

    QTest::mouseClick(Prvek<QPushButton>(&d, "Button4"), Qt::LeftButton);
    QVERIFY(QTest::qWaitFor([&] { return Prubeh(&d) > 0; }, 5000));
    QVERIFY(d.Bezi());
    for (const char* t : {"Button2", "Button4", "Button5", "Button6"})
        QVERIFY2(!Povoleno(&d, t), t);
    QVERIFY(Povoleno(&d, "Button9"));

    QVERIFY(Klikni(d, "Button9"));
    QCOMPARE(d.TextStavu(), U(TextPreruseno));
    QVERIFY(p.Sim.sim.Soubor("boot.cmd").empty());
    QVERIFY(Prubeh(&d) > 0);
    QVERIFY(Prubeh(&d) < Prvek<QProgressBar>(&d, "ProgressBar1")->maximum());
    QVERIFY(!Povoleno(&d, "Button9"));
    QVERIFY(Povoleno(&d, "Button4"));
}

// Fault: a close that leaves the upload running on the connection record,
// or lets it go on to arm the image.
void TestUpgradeFW::zavreniBehemUploadu()
{
    TDialogSim p;
    QVERIFY(Priprav(p, TLinkaSim::Serial, 256 * 1024));
    TFormUpgradeFW& d = *Okno;
    QTest::mouseClick(Prvek<QPushButton>(&d, "Button4"), Qt::LeftButton);
    QVERIFY(QTest::qWaitFor([&] { return Prubeh(&d) > 0; }, 5000));
    QTest::mouseClick(Prvek<QPushButton>(&d, "Button1"), Qt::LeftButton);
    QVERIFY(!d.isVisible());
    QVERIFY(!d.Bezi());
    QVERIFY(!p.Pracovnik->Bezi());
    QVERIFY(p.Sim.sim.Soubor("boot.cmd").empty());
}

void TestUpgradeFW::selhani_data()
{
    QTest::addColumn<QString>("tlacitko");
    QTest::addColumn<TPorucha>("porucha");
    QTest::addColumn<QString>("status");
    QTest::newRow("Přečíst, info.txt bez odpovědi") << "Button2" << TPorucha::ZadnaOdpoved << U(" Chyba spojení");
    QTest::newRow("Zapsat, fw.hbn odmítnut") << "Button4" << TPorucha::OdmitnutyZapis << U(" Chyba spojení");
    QTest::newRow("Restart bez odpovědi") << "Button5" << TPorucha::ZadnaOdpoved << U(" Chyba spojení");
    QTest::newRow("boot.cmd bez odpovědi") << "Button6" << TPorucha::ZadnaOdpoved << U(" Chyba spojení");
}

// Fault: a failed transfer that changes the grid, writes the boot command
// after a refused image, leaves old text in the memo, or hides the link's
// error text.
void TestUpgradeFW::selhani()
{
    QFETCH(QString, tlacitko);
    QFETCH(TPorucha, porucha);
    QFETCH(QString, status);
    TDialogSim p;
    p.Dat.CFGVK.Upgrade = {"VK-7316R v.0.90", "stary_0_90", "1.1.2020  0:00:00", ""};
    QVERIFY(Priprav(p, TLinkaSim::Sit, 5000));
    TFormUpgradeFW& d = *Okno;
    QCOMPARE(Bunka(&d, 1), QStringLiteral("stary_0_90"));
    Prvek<QPlainTextEdit>(&d, "Memo1")->setPlainText(QStringLiteral("stary text"));

    p.Sim.sim.NastavPoruchu(porucha, true, 1);
    QVERIFY(Klikni(d, tlacitko.toLatin1().constData()));
    QCOMPARE(d.TextStavu(), status);
    // The refused image's cause reaches the status bar's tooltip.
    if (tlacitko == "Button4") {
        QCOMPARE(Prvek<QLabel>(&d, "StatusBar1Panel0")->toolTip(),
                 U("Chyba spojení\nmodul odmítl přenos: ERROR 2 \"Write refused\""));
    }
    QCOMPARE(Bunka(&d, 0), QStringLiteral("VK-7316R v.0.90"));
    QCOMPARE(Bunka(&d, 1), QStringLiteral("stary_0_90"));
    QCOMPARE(Bunka(&d, 2), QStringLiteral("1.1.2020  0:00:00"));
    QVERIFY(p.Sim.sim.Soubor("boot.cmd").empty());
    QCOMPARE(Prvek<QPlainTextEdit>(&d, "Memo1")->toPlainText().isEmpty(), tlacitko == "Button6");
}

// Fault: an upload started although the file field failed its check.
void TestUpgradeFW::kontrolaSouboru()
{
    TDialogSim p;
    QVERIFY(Priprav(p, TLinkaSim::Sit, 5000));
    TFormUpgradeFW& d = *Okno;
    auto* edit1 = Prvek<QLineEdit>(&d, "Edit1");
    const std::uint32_t pred = p.Sim.sim.PocetPozadavku();
    edit1->setText(QString());
    QVERIFY(Klikni(d, "Button4"));
    QCOMPARE(d.TextStavu(), U(" Není zadán název souboru"));
    edit1->setText(QStringLiteral(" "));
    QVERIFY(Klikni(d, "Button4"));
    QCOMPARE(d.TextStavu(), U(" Soubor nenalezen"));
    QCOMPARE(p.Sim.sim.PocetPozadavku(), pred);
}

// Fault: the file field's name not offered as the start of the choice, or
// the chosen file not reaching the field.
void TestUpgradeFW::vyberSouboru()
{
    TDialogSim p;
    auto d = p.Dialog<TFormUpgradeFW>();
    d->show();
    const QString puvodni = Slozka.filePath(QStringLiteral("puvodni.hbn"));
    const QString vybrany = Slozka.filePath(QStringLiteral("vybrany.hbn"));
    QVERIFY(vk::test::UlozBajty(puvodni.toStdString(), {1}) && vk::test::UlozBajty(vybrany.toStdString(), {2}));
    auto* edit1 = Prvek<QLineEdit>(d.get(), "Edit1");
    edit1->setText(puvodni);
    QString nabidnuto;
    QTimer::singleShot(0, d.get(), [&] {
        auto* dialog = Prvek<QFileDialog>(d.get(), "OpenDialog1");
        if (!dialog)
            return;
        nabidnuto = dialog->selectedFiles().value(0);
        dialog->selectFile(vybrany);
        static_cast<QDialog*>(dialog)->accept();
    });
    QTest::mouseClick(Prvek<QPushButton>(d.get(), "Button3"), Qt::LeftButton);
    QCOMPARE(nabidnuto, puvodni);
    QCOMPARE(edit1->text(), vybrany);
}

// Fault: a button that starts a job, or says nothing, without a connection.
void TestUpgradeFW::bezPripojeni()
{
    TDialogSim p;
    auto d = p.Dialog<TFormUpgradeFW>();
    d->show();
    for (const char* t : {"Button2", "Button4", "Button5", "Button6"}) {
        Prvek<QLabel>(d.get(), "StatusBar1Panel0")->setText(QStringLiteral(" "));
        QVERIFY(Klikni(*d, t));
        QVERIFY2(d->TextStavu() == U(" Připojení k zařízení není inicializováno."), t);
        QVERIFY(!p.Pracovnik->Bezi());
    }
}

QTEST_MAIN(TestUpgradeFW)
#include "UpgradeFW_test.moc"
