// The connection dialog: a LAN attempt to the in-process simulator through
// the device worker, an invalid entry, and which fields the interface list
// enables.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <string>

#include "Dekl.h"
#include "PracovnikZarizeni.h"
#include "Pripojeni.h"
#include "Simulator.h"
#include "U_VK7316R.h"

class TestPripojeni : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void uspesnePripojeniLAN();
    void neplatneCisloCOM();
    void volbaRozhrani();

private:
    template <class T>
    T* Prvek(const char* jmeno) const {
        return Okno->findChild<T*>(QString::fromLatin1(jmeno));
    }
    QString TextPanelu() const { return Prvek<QLabel>("Panel1")->text(); }

    QTemporaryDir Slozka;
    vk::core::TData Dat;
    vk::device::TVK7316R Modul;
    TPracovnikZarizeni* Pracovnik = nullptr;
    TFormPripojeni* Okno = nullptr;
};

void TestPripojeni::init() {
    vk::core::InicializaceDat(&Dat);
    vk::device::VychoziModul(Modul);
    Pracovnik = new TPracovnikZarizeni(Modul);
    Okno = new TFormPripojeni;
    Okno->Dat = &Dat;
    Okno->Pracovnik = Pracovnik;
    Okno->SouborNastaveni = Slozka.filePath(QStringLiteral("W_vk7316r.ini")).toStdString();
}

void TestPripojeni::cleanup() {
    delete Okno;
    Okno = nullptr;
    Pracovnik->ProvedACekej([](vk::device::TVK7316R& modul) { vk::link::ZavriPort(modul.MBRTU); });
    delete Pracovnik;
    Pracovnik = nullptr;
}

void TestPripojeni::uspesnePripojeniLAN() {
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
    QVERIFY2(TextPanelu().startsWith(QString::fromUtf8("Připojení úspěšně inicializováno. Připojen modul   VK-7316R  v.")),
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

void TestPripojeni::neplatneCisloCOM() {
    Dat.Pripojeni.UART_CisloCOM = 3;
    Okno->show();
    Prvek<QComboBox>("ComboBox1")->setCurrentIndex(0);
    Prvek<QLineEdit>("Edit3")->setText(QStringLiteral("256"));
    QVERIFY(Prvek<QLabel>("LabelZarizeni")->text().isEmpty());
    QTest::mouseClick(Prvek<QPushButton>("Button1"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!Okno->Bezi(), 5000);
    QCOMPARE(TextPanelu(), QString::fromUtf8("Neplatné číslo COM portu (1-255)"));
    QVERIFY(!Dat.Init);
    QCOMPARE(Dat.Pripojeni.UART_CisloCOM, 3);
}

void TestPripojeni::volbaRozhrani() {
    // Shown from the settings: LAN chosen there enables the LAN fields
    // without the list being touched.
    Dat.Init = true;
    Dat.Pripojeni.Rozhrani = 1;
    Dat.Pripojeni.LAN_IP = "10.1.2.3";
    Okno->show();
    QVERIFY(!Dat.Init);
    QCOMPARE(Prvek<QLineEdit>("Edit1")->text(), QStringLiteral("10.1.2.3"));

    const char* const lan[] = {"Label1", "Label2", "Edit1", "Edit2", "ComboBox2"};
    const char* const uart[] = {"Label5", "Label6", "Label7", "Label8", "Label9",
                                "Edit3",  "Edit4",  "Edit5",  "ComboBox3", "ComboBox4"};
    for (int rozhrani : {1, 0, 1}) {
        Prvek<QComboBox>("ComboBox1")->setCurrentIndex(rozhrani);
        for (const char* jmeno : lan) QVERIFY2(Prvek<QWidget>(jmeno)->isEnabled() == (rozhrani == 1), jmeno);
        for (const char* jmeno : uart) QVERIFY2(Prvek<QWidget>(jmeno)->isEnabled() == (rozhrani == 0), jmeno);
        QVERIFY(!Prvek<QWidget>("ComboBox2")->isVisible());
    }
}

QTEST_MAIN(TestPripojeni)
#include "Pripojeni_test.moc"
