// The connection dialog: a LAN attempt to the in-process simulator through
// the device worker, a serial one behind an adapter with a long latency
// timer, an invalid entry, a refused module after a success, closing during
// an attempt, which fields the interface list enables, and the search for
// the module's serial settings ("Vyhledat") with its stop and a close
// during it.
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <string>

#include "Dekl.h"
#include "PokusPripojeni.h"
#include "PracovnikZarizeni.h"
#include "Pripojeni.h"
#include "Rozhrani.h"
#include "Simulator.h"
#include "SysfsLatence.h"
#include "U_VK7316R.h"

class TestPripojeni : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void uspesnePripojeniLAN();
    void odezvaAdapteru();
    void neplatneCisloCOM();
    void neuspechPoUspechu_data();
    void neuspechPoUspechu();
    void zavreniBehemPokusu_data();
    void zavreniBehemPokusu();
    void volbaRozhrani();
    void vyhledani();
    void zastaveniVyhledani();

private:
    template <class T>
    T* Prvek(const char* jmeno) const
    {
        return Okno->findChild<T*>(QString::fromLatin1(jmeno));
    }
    QString TextPanelu() const { return Prvek<QLabel>("Panel1")->text(); }
    // The LAN fields filled for the simulator and the attempt started.
    void PripojLAN(const vk::sim::TSimulator& sim, const char* timeout)
    {
        Prvek<QComboBox>("ComboBox1")->setCurrentIndex(1);
        Prvek<QLineEdit>("Edit1")->setText(QString::fromStdString(sim.AdresaLan()));
        Prvek<QLineEdit>("Edit2")->setText(QString::fromLatin1(timeout));
        QTest::mouseClick(Prvek<QPushButton>("Button1"), Qt::LeftButton);
    }

    // The simulator on a pty that COM7 leads to, and the UART fields at
    // 9600 Bd, even parity, the address given.
    void PripravVyhledani(vk::sim::TSimulator& sim, const vk::sim::TNastaveniSimulatoru& n, const char* adresa)
    {
        std::string chyba;
        QVERIFY2(sim.Spust(n, chyba), chyba.c_str());
        QFile ini(QString::fromStdString(Okno->SouborNastaveni.string()));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(("[Porty]\nCOM7=" + sim.CestaSerial() + "\n").c_str());
        ini.close();
        Okno->show();
        Prvek<QComboBox>("ComboBox1")->setCurrentIndex(0);
        Prvek<QLineEdit>("Edit3")->setText(QStringLiteral("7"));
        Prvek<QComboBox>("ComboBox3")->setCurrentIndex(2);
        Prvek<QComboBox>("ComboBox4")->setCurrentIndex(1);
        Prvek<QLineEdit>("Edit5")->setText(QString::fromLatin1(adresa));
    }

    QTemporaryDir Slozka;
    vk::core::TData Dat;
    vk::device::TVK7316R Modul;
    TPracovnikZarizeni* Pracovnik = nullptr;
    TFormPripojeni* Okno = nullptr;
};

void TestPripojeni::init()
{
    vk::core::InicializaceDat(&Dat);
    vk::device::VychoziModul(Modul);
    Pracovnik = new TPracovnikZarizeni(Modul);
    Okno = new TFormPripojeni;
    Okno->Dat = &Dat;
    Okno->NastavPracovnika(Pracovnik);
    Okno->SouborNastaveni = Slozka.filePath(QStringLiteral("W_vk7316r.ini")).toStdString();
}

void TestPripojeni::cleanup()
{
    delete Okno;
    Okno = nullptr;
    Pracovnik->ProvedACekej([](vk::device::TVK7316R& modul) { vk::link::ZavriPort(modul.MBRTU); });
    delete Pracovnik;
    Pracovnik = nullptr;
}

void TestPripojeni::uspesnePripojeniLAN()
{
    vk::sim::TSimulator sim;
    vk::sim::TNastaveniSimulatoru n;
    n.SpustitSerial = false;
    std::string chyba;
    QVERIFY2(sim.Spust(n, chyba), chyba.c_str());

    Dat.SPripojeni = "předchozí stav";
    Dat.Par.fill(7);
    Okno->show();
    QCOMPARE(TextPanelu(), QString::fromUtf8("předchozí stav"));
    Prvek<QComboBox>("ComboBox1")->setCurrentIndex(1);
    Prvek<QLineEdit>("Edit1")->setText(QString::fromStdString(sim.AdresaLan()));
    Prvek<QLineEdit>("Edit2")->setText(QStringLiteral("400"));

    auto* button1 = Prvek<QPushButton>("Button1");
    QTest::mouseClick(button1, Qt::LeftButton);
    QVERIFY(Okno->Bezi());
    QVERIFY(!button1->isEnabled());
    QVERIFY(QApplication::overrideCursor());
    // A second press while the attempt runs starts no other.
    Okno->Button1Click();

    QTRY_VERIFY_WITH_TIMEOUT(!Okno->Bezi(), 5000);
    QVERIFY2(
        TextPanelu().startsWith(QString::fromUtf8("Připojení úspěšně inicializováno. Připojen modul   VK-7316R  v.")),
        qPrintable(TextPanelu()));
    QVERIFY(button1->isEnabled());
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(Dat.Init);
    QCOMPARE(Dat.Pripojeni.Rozhrani, 1);
    QCOMPARE(Dat.Pripojeni.LAN_IP, sim.AdresaLan());
    QCOMPARE(Dat.Pripojeni.LAN_Timeout, 400);
    QCOMPARE(Dat.SPripojeni, std::string("V pořádku"));
    QVERIFY(Dat.TypVerze.starts_with("VK-7316R  v."));
    QCOMPARE(Dat.Par[0], 0u);
    sim.Zastav();
}

// A serial attempt through an adapter whose latency timer outlasts the baud
// code's gap: catches a dialog that leaves the widened gap unexplained
// beside the device.
void TestPripojeni::odezvaAdapteru()
{
    vk::sim::TSimulator sim;
    vk::sim::TNastaveniSimulatoru n;
    n.SpustitLan = false;
    n.KodBaud = 8;
    std::string chyba;
    QVERIFY2(sim.Spust(n, chyba), chyba.c_str());
    const vk::test::TSysfsLatence sysfs;
    sysfs.Ukaz(sim.CestaSerial(), "16\n");
    {
        QFile ini(QString::fromStdString(Okno->SouborNastaveni.string()));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(("[Porty]\nCOM7=" + sim.CestaSerial() + "\n").c_str());
    }

    Okno->show();
    Prvek<QComboBox>("ComboBox1")->setCurrentIndex(0);
    Prvek<QLineEdit>("Edit3")->setText(QStringLiteral("7"));
    Prvek<QComboBox>("ComboBox3")->setCurrentIndex(6);  // 115200 Bd, the simulator's rate
    Prvek<QComboBox>("ComboBox4")->setCurrentIndex(0);
    Prvek<QLineEdit>("Edit4")->setText(QStringLiteral("400"));
    Prvek<QLineEdit>("Edit5")->setText(QStringLiteral("247"));
    const QString cesta = QString::fromStdString(sim.CestaSerial());
    QCOMPARE(Prvek<QLabel>("LabelZarizeni")->text(), cesta);
    QTest::mouseClick(Prvek<QPushButton>("Button1"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!Okno->Bezi(), 5000);
    QVERIFY2(Dat.Init, qPrintable(TextPanelu()));
    QCOMPARE(Prvek<QLabel>("LabelZarizeni")->text(),
             cesta + QString::fromUtf8(", odezva 20 ms (adaptér: latence 16 ms)"));
}

void TestPripojeni::neplatneCisloCOM()
{
    Dat.Pripojeni.UART_CisloCOM = 3;
    Okno->show();
    Prvek<QComboBox>("ComboBox1")->setCurrentIndex(0);
    Prvek<QLineEdit>("Edit3")->setText(QStringLiteral("256"));
    // Distinct choices in the two lists, so that lists refilled from each
    // other's value after the attempt show.
    Prvek<QComboBox>("ComboBox3")->setCurrentIndex(5);
    Prvek<QComboBox>("ComboBox4")->setCurrentIndex(2);
    QVERIFY(Prvek<QLabel>("LabelZarizeni")->text().isEmpty());
    QTest::mouseClick(Prvek<QPushButton>("Button1"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!Okno->Bezi(), 5000);
    QCOMPARE(TextPanelu(), QString::fromUtf8("Neplatné číslo COM portu (1-255)"));
    QCOMPARE(Prvek<QComboBox>("ComboBox3")->currentIndex(), 5);
    QCOMPARE(Prvek<QComboBox>("ComboBox4")->currentIndex(), 2);
    QVERIFY(!Dat.Init);
    QCOMPARE(Dat.Pripojeni.UART_CisloCOM, 3);
}

// A refused module right after a success, in the same dialog: the program
// must not stay connected to the module it had, nor keep parameters read
// from it, and the lists show what the attempt made of them (no IP version
// chosen becomes IPv4).
void TestPripojeni::neuspechPoUspechu_data()
{
    QTest::addColumn<int>("porucha");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("pricina");  // the panel's tooltip: why the link failed
    QTest::newRow("unsupported type") << int(vk::sim::TPorucha::JinyTyp)
                                      << QString::fromUtf8(
                                             "Připojený modulu není programem podporován - VK-7317R  v.1.00")
                                      << QString();
    QTest::newRow("unsupported version") << int(vk::sim::TPorucha::JinaVerze)
                                         << QString::fromUtf8("Verze připojeného modulu není programem podporována - "
                                                              "VK-7316R  v.2.10")
                                         << QString();
    QTest::newRow("refused read") << int(vk::sim::TPorucha::VyjimkaOdpoved) << QString::fromUtf8("Chyba spojení")
                                  << QString::fromUtf8("modul odmítl přenos: ERROR 0 \"Module failure\"");
}

void TestPripojeni::neuspechPoUspechu()
{
    QFETCH(int, porucha);
    QFETCH(QString, text);
    QFETCH(QString, pricina);
    vk::sim::TSimulator sim;
    vk::sim::TNastaveniSimulatoru n;
    n.SpustitSerial = false;
    std::string chyba;
    QVERIFY2(sim.Spust(n, chyba), chyba.c_str());

    Okno->show();
    PripojLAN(sim, "400");
    QTRY_VERIFY_WITH_TIMEOUT(!Okno->Bezi(), 5000);
    QVERIFY2(Dat.Init, qPrintable(TextPanelu()));

    Dat.Par.fill(7);
    sim.NastavPoruchu(static_cast<vk::sim::TPorucha>(porucha), true);
    Prvek<QComboBox>("ComboBox2")->setCurrentIndex(-1);
    QTest::mouseClick(Prvek<QPushButton>("Button1"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!Okno->Bezi(), 5000);
    QCOMPARE(TextPanelu(), text);
    QCOMPARE(Prvek<QLabel>("Panel1")->toolTip(), pricina);
    QVERIFY(!Dat.Init);
    QCOMPARE(Dat.Par, vk::core::TPar{});
    QCOMPARE(Prvek<QComboBox>("ComboBox2")->currentIndex(), 0);
}

// Closing, or destroying the dialog, while the attempt waits for a module
// that does not answer: the attempt is stopped within a slice of the link's
// wait (20 ms) instead of running out its 5 s time-out, the button and the
// cursor come back, and its result, already on its way, is not shown.
void TestPripojeni::zavreniBehemPokusu_data()
{
    QTest::addColumn<bool>("zrusit");  // destroy (zrušit) the dialog instead of Cancel
    QTest::newRow("Cancel") << false;
    QTest::newRow("destroyed") << true;
}

void TestPripojeni::zavreniBehemPokusu()
{
    QFETCH(bool, zrusit);
    constexpr qint64 LimitZavreniMs = 300;  // the slice and a margin for a loaded machine
    vk::sim::TSimulator sim;
    vk::sim::TNastaveniSimulatoru n;
    n.SpustitSerial = false;
    std::string chyba;
    QVERIFY2(sim.Spust(n, chyba), chyba.c_str());
    sim.NastavPoruchu(vk::sim::TPorucha::ZadnaOdpoved, true);

    Okno->show();
    PripojLAN(sim, "5000");
    // The request reached the module: the attempt is past its start and
    // waits for the answer.
    const QString inicializace = QString::fromUtf8(vk::procedures::TextInicializace);
    QTRY_VERIFY_WITH_TIMEOUT(sim.PocetPozadavku() > 0 && TextPanelu() == inicializace, 5000);
    QVERIFY(Okno->Bezi());

    QElapsedTimer hodiny;
    hodiny.start();
    if (zrusit) {
        delete Okno;
        Okno = nullptr;
    } else {
        QTest::mouseClick(Prvek<QPushButton>("Button2"), Qt::LeftButton);
    }
    const qint64 trvani = hodiny.elapsed();
    QVERIFY2(trvani < LimitZavreniMs, qPrintable(QStringLiteral("the close took %1 ms").arg(trvani)));
    QVERIFY(!Pracovnik->Bezi());
    QVERIFY(!QApplication::overrideCursor());
    if (zrusit)
        return;

    QVERIFY(!Okno->isVisible());
    QCOMPARE(Okno->result(), int(QDialog::Rejected));
    QVERIFY(Prvek<QPushButton>("Button1")->isEnabled());
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QCOMPARE(TextPanelu(), inicializace);
}

void TestPripojeni::volbaRozhrani()
{
    // Shown from the settings: LAN chosen there enables the LAN fields
    // without the list being touched.
    Dat.Init = true;
    Dat.Pripojeni.Rozhrani = vk::common::RozhraniLAN;
    Dat.Pripojeni.LAN_IP = "10.1.2.3";
    Okno->show();
    QVERIFY(!Dat.Init);
    QCOMPARE(Prvek<QLineEdit>("Edit1")->text(), QStringLiteral("10.1.2.3"));

    const char* const lan[] = {"Label1", "Label2", "Edit1", "Edit2", "ComboBox2"};
    const char* const uart[] = {"Label5", "Label6", "Label7",    "Label8",    "Label9", "Edit3",
                                "Edit4",  "Edit5",  "ComboBox3", "ComboBox4", "Button3"};
    for (int rozhrani : {1, 0, 1}) {
        Prvek<QComboBox>("ComboBox1")->setCurrentIndex(rozhrani);
        for (const char* jmeno : lan)
            QVERIFY2(Prvek<QWidget>(jmeno)->isEnabled() == (rozhrani == 1), jmeno);
        for (const char* jmeno : uart)
            QVERIFY2(Prvek<QWidget>(jmeno)->isEnabled() == (rozhrani == 0), jmeno);
        QVERIFY(!Prvek<QWidget>("ComboBox2")->isVisible());
    }
}

// "Vyhledat" with the module at 19200 Bd, odd parity, address 17, the
// fields at 9600 Bd and even: the search runs as the dialog's job with its
// progress bar and "Zastavit", and fills the fields without connecting.
// Catches a search that blocks the dialog, fills the wrong list items, or
// leaves the program connected to a port it has closed.
void TestPripojeni::vyhledani()
{
    vk::sim::TSimulator sim;
    vk::sim::TNastaveniSimulatoru n;
    n.SpustitLan = false;
    n.KodBaud = 5;
    n.KodParita = 2;
    n.Adresa = 17;
    PripravVyhledani(sim, n, "17");
    Dat.Init = true;
    auto* button3 = Prvek<QPushButton>("Button3");
    auto* pruh = Prvek<QProgressBar>("ProgressBar1");
    QVERIFY(button3->isEnabled());
    QVERIFY(!pruh->isVisible());

    QTest::mouseClick(button3, Qt::LeftButton);
    QVERIFY(Okno->Bezi());
    QVERIFY(!Dat.Init);
    QCOMPARE(button3->text(), QStringLiteral("Zastavit"));
    QVERIFY(button3->isEnabled());
    QVERIFY(!Prvek<QPushButton>("Button1")->isEnabled());
    QVERIFY(pruh->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(pruh->value() > 0, 5000);
    QTRY_VERIFY_WITH_TIMEOUT(!Okno->Bezi(), 15000);

    QCOMPARE(TextPanelu(), QString::fromUtf8("Modul nalezen: 19200 Bd, parita lichá, adresa 17 - VK-7316R  v.1.00"));
    QCOMPARE(Prvek<QComboBox>("ComboBox3")->currentText(), QStringLiteral("19200 Bd"));
    QCOMPARE(Prvek<QComboBox>("ComboBox4")->currentIndex(), 2);
    QCOMPARE(Prvek<QLineEdit>("Edit5")->text(), QStringLiteral("17"));
    QCOMPARE(button3->text(), QStringLiteral("Vyhledat"));
    QVERIFY(!pruh->isVisible());
    QVERIFY(Prvek<QPushButton>("Button1")->isEnabled());
    QVERIFY(!Dat.Init);
    QCOMPARE(Modul.MBRTU.ID.HNDL, 0u);
}

// A search at an address nobody answers, stopped with its own button, then
// one ended by closing the dialog: both end within a slice of the link's
// wait, the fields stay as they were and the button is "Vyhledat" again.
void TestPripojeni::zastaveniVyhledani()
{
    constexpr qint64 LimitMs = 300;  // a try's wait is 50 ms to 167 ms; a margin for a loaded machine
    vk::sim::TSimulator sim;
    vk::sim::TNastaveniSimulatoru n;
    n.SpustitLan = false;
    PripravVyhledani(sim, n, "5");
    auto* button3 = Prvek<QPushButton>("Button3");

    QTest::mouseClick(button3, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(sim.PocetPozadavku() >= 2, 5000);
    QElapsedTimer hodiny;
    hodiny.start();
    QTest::mouseClick(button3, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!Okno->Bezi(), 5000);
    QVERIFY2(hodiny.elapsed() < LimitMs, qPrintable(QStringLiteral("the stop took %1 ms").arg(hodiny.elapsed())));
    QCOMPARE(TextPanelu(), QString::fromUtf8("Hledání přerušeno"));
    QCOMPARE(Prvek<QComboBox>("ComboBox3")->currentIndex(), 2);
    QCOMPARE(Prvek<QLineEdit>("Edit5")->text(), QStringLiteral("5"));
    QCOMPARE(button3->text(), QStringLiteral("Vyhledat"));

    QTest::mouseClick(button3, Qt::LeftButton);
    QVERIFY(Okno->Bezi());
    hodiny.restart();
    QTest::mouseClick(Prvek<QPushButton>("Button2"), Qt::LeftButton);
    QVERIFY2(hodiny.elapsed() < LimitMs, qPrintable(QStringLiteral("the close took %1 ms").arg(hodiny.elapsed())));
    QVERIFY(!Pracovnik->Bezi());
    QCOMPARE(button3->text(), QStringLiteral("Vyhledat"));
    QVERIFY(!Prvek<QProgressBar>("ProgressBar1")->isVisibleTo(Okno));
}

QTEST_MAIN(TestPripojeni)
#include "Pripojeni_test.moc"
