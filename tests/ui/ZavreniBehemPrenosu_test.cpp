// Closing the program while a dialog's transfer runs: the main window is
// asked to close (as a signal from the desktop's session would ask it)
// while the network dialog, opened from the menu, waits on a module that
// does not answer. The dialog is rejected, its job stopped and waited for,
// and the program's close finishes well within the transfer's time-out.
#include <QAction>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "Hlavni.h"
#include "M_TFTP.h"
#include "ModalniOkno.h"
#include "NastavLanParam.h"
#include "Rozhrani.h"
#include "Simulator.h"

class TestZavreniBehemPrenosu : public QObject {
    Q_OBJECT

private slots:
    void zavreniProgramuBehemCteni();
};

// Fault: the program's close running under a transfer that still uses the
// connection record (a crash under the sanitizers), or waiting for the
// whole time-out, or leaving the dialog open.
void TestZavreniBehemPrenosu::zavreniProgramuBehemCteni()
{
    constexpr int TimeoutMs = 3000;
    vk::sim::TSimulator sim;
    vk::sim::TNastaveniSimulatoru n;
    n.SpustitSerial = false;
    std::string chyba;
    QVERIFY2(sim.Spust(n, chyba), chyba.c_str());
    sim.NastavPoruchu(vk::sim::TPorucha::ZadnaOdpoved, true);

    QTemporaryDir slozka;
    TParametryOkna parametry;
    parametry.SouborNastaveni = slozka.filePath(QStringLiteral("W_vk7316r.ini")).toStdString();
    TForm1 okno(parametry);
    okno.show();
    okno.Dat->Init = true;
    okno.Pracovnik->ProvedACekej([&](vk::device::TVK7316R& modul) {
        vk::link::InicializujTFTP(modul.TFTP, sim.AdresaLan(), 0, TimeoutMs, 3);
        modul.Rozhrani = vk::common::RozhraniLAN;
        modul.Init = true;
    });

    bool dialogSite = false;
    qint64 zavreniMs = -1;
    QElapsedTimer hodiny;
    TOdpovedNaModalni odpoved([&](QWidget* w) {
        auto* dialog = qobject_cast<TFormNastavLanParam*>(w);
        dialogSite = dialog != nullptr;
        if (!dialog) {
            w->close();
            return;
        }
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
        // Asked to close once the job is inside the link's wait.
        QTimer::singleShot(100, &okno, [&, dialog] {
            QVERIFY(dialog->Bezi());
            hodiny.start();
            okno.PozadujZavreni();
        });
    });
    QTimer hlidac;  // should the close not happen, the test fails instead of hanging
    hlidac.setSingleShot(true);
    connect(&hlidac, &QTimer::timeout, [] {
        if (QWidget* w = QApplication::activeModalWidget())
            w->close();
    });
    hlidac.start(4 * TimeoutMs);
    okno.findChild<QAction*>(QStringLiteral("NastavLAN"))->trigger();
    zavreniMs = hodiny.isValid() ? hodiny.elapsed() : -1;

    QVERIFY(dialogSite);
    QVERIFY(QTest::qWaitFor([&] { return !okno.isVisible(); }, TimeoutMs));
    QVERIFY(hlidac.isActive());
    QVERIFY(!okno.Dat);
    QVERIFY(!okno.Pracovnik->Bezi());
    QVERIFY2(zavreniMs >= 0 && zavreniMs < TimeoutMs / 3, qPrintable(QString::number(zavreniMs)));
}

QTEST_MAIN(TestZavreniBehemPrenosu)
#include "ZavreniBehemPrenosu_test.moc"
