// The event log window against the simulator over the LAN: the overview as
// the user reads it, the archive in the working directory, the clearing,
// and requests kept while there is no connection.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "DiagLOG.h"
#include "DialogSim.h"
#include "LogBajty.h"

using vk::test::SouborLogu;
using vk::test::TLinkaSim;
using vk::test::ZaznamLogu;

namespace {

// The status texts in the order they were painted, each once in a row.
class TZapisStavu : public QObject {
public:
    explicit TZapisStavu(QWidget* okno) : Panel(Prvek<QLabel>(okno, "StatusBar1Panel0"))
    {
        Panel->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint && (Texty.isEmpty() || Texty.last() != Panel->text()))
            Texty.append(Panel->text());
        return false;
    }
    QLabel* Panel;
    QStringList Texty;
};

// The working directory for one test, restored at its end.
class TPracovniSlozka {
public:
    TPracovniSlozka() : puvodni(QDir::currentPath()) { QDir::setCurrent(slozka.path()); }
    ~TPracovniSlozka() { QDir::setCurrent(puvodni); }
    QStringList Soubory() const { return QDir(slozka.path()).entryList(QDir::Files, QDir::Name); }
    QTemporaryDir slozka;
    QString puvodni;
};

QByteArray Obsah(const QString& soubor)
{
    QFile f(soubor);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray Bajty(const std::vector<std::uint8_t>& b)
{
    return QByteArray(reinterpret_cast<const char*>(b.data()), static_cast<qsizetype>(b.size()));
}

}  // namespace

class TestDiagLOG : public QObject {
    Q_OBJECT

private slots:
    void prehledNejnovejsiPrvniANezmenenaHlavicka();
    void archivPakVymazaniVJednomKroku();
    void nezdarenyArchivNechaVymazaniCekat();
    void bezPripojeniZadostiCekaji();
    void chybaSouboruNezastaviObnovu();
    void zavreniBehemCteni();

private:
    // The window, shown, with the module identity and the address typed for
    // the connection in the program state.
    static std::unique_ptr<TFormDiagLOG> Otevri(TDialogSim& p)
    {
        p.Dat.TypVerze = "VK-7316R  v.1.00";
        p.Dat.Pripojeni.LAN_IP = "192.168.0.99";
        auto d = p.Dialog<TFormDiagLOG>();
        d->show();
        return d;
    }
    static bool Pripoj(TDialogSim& p)
    {
        std::string chyba;
        const bool ok = p.Spust(TLinkaSim::Sit, chyba);
        if (!ok)
            qWarning("%s", chyba.c_str());
        return ok;
    }
    static bool Ceka(TFormDiagLOG& d, const char* stav, int limitMs = 3000)
    {
        return QTest::qWaitFor([&] { return d.TextStavu() == U(stav); }, limitMs);
    }
    static QStringList Seznam(QWidget* d)
    {
        QStringList radky;
        const auto* l = Prvek<QListWidget>(d, "ListBox1");
        for (int i = 0; i < l->count(); ++i)
            radky.append(l->item(i)->text());
        return radky;
    }
    static QString Text(QWidget* d, const char* jmeno) { return Prvek<QLabel>(d, jmeno)->text(); }
    static void Klik(QWidget* d, const char* tlacitko)
    {
        QTest::mouseClick(Prvek<QPushButton>(d, tlacitko), Qt::LeftButton);
    }
};

// Faults: the fill in the C locale or not with three decimals, the list in
// file order or with empty slots; the change mark not kept between polls,
// so that log100.bin is read although the header did not change.
void TestDiagLOG::prehledNejnovejsiPrvniANezmenenaHlavicka()
{
    const QLocale puvodni;
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    struct TObnovLocale {
        QLocale l;
        ~TObnovLocale() { QLocale::setDefault(l); }
    } obnov{puvodni};

    TDialogSim p;
    QVERIFY(Pripoj(p));
    QVERIFY(p.Sim.sim.NastavSoubor("log.bin",
                                   SouborLogu(50, 400, {ZaznamLogu(1, 1), ZaznamLogu(255, 2), ZaznamLogu(5, 3)})));
    auto d = Otevri(p);
    QVERIFY(QTest::qWaitFor([&] { return !Seznam(d.get()).isEmpty(); }, 3000));
    QCOMPARE(Text(d.get(), "Label2"), QStringLiteral("50"));
    QCOMPARE(Text(d.get(), "Label4"), QStringLiteral("12,500"));
    const QStringList radky{U("[05.03.2023  14:03:00] - U05 - Připojení LAN (link up)"),
                            U("[05.03.2023  14:01:00] - U01 - Zapnutí napájení")};
    QCOMPARE(Seznam(d.get()), radky);

    // The latest records change, the header does not: three more polls show
    // nothing new.
    QVERIFY(p.Sim.sim.NastavSoubor("log100.bin", SouborLogu(50, 400, {ZaznamLogu(2, 9)})));
    const auto pred = p.Sim.sim.PocetPozadavku();
    QVERIFY(QTest::qWaitFor([&] { return p.Sim.sim.PocetPozadavku() >= pred + 3 && !d->Bezi(); }, 3000));
    QCOMPARE(Seznam(d.get()), radky);
    QCOMPARE(d->TextStavu(), U(" OK"));
}

// Faults: clearing before the archive (an empty archive), the two requests
// spread over two polls, the display not refreshed after clearing, texts
// missing or out of order; archive files elsewhere than in the working
// directory, under another name, or with the header not taken from the
// program state.
void TestDiagLOG::archivPakVymazaniVJednomKroku()
{
    TPracovniSlozka slozka;
    TDialogSim p;
    QVERIFY(Pripoj(p));
    QVERIFY(p.Sim.sim.NastavSoubor("log.bin", SouborLogu(2, 400, {ZaznamLogu(1, 1), ZaznamLogu(5, 2)})));
    const QByteArray log = Bajty(p.Sim.sim.Soubor("log.bin"));
    auto d = Otevri(p);
    QVERIFY(QTest::qWaitFor([&] { return Seznam(d.get()).size() == 2; }, 3000));

    TZapisStavu stavy(d.get());
    Klik(d.get(), "Button2");
    Klik(d.get(), "Button3");
    QVERIFY(
        QTest::qWaitFor([&] { return stavy.Texty.contains(U(" LOG vymazán.")) && d->TextStavu() == U(" OK"); }, 6000));
    QTest::qWait(50);  // the repaint of the last text
    const qsizetype od = stavy.Texty.indexOf(U("Probíhá čtení ..."));
    QVERIFY2(od >= 0, qPrintable(stavy.Texty.join(u'|')));
    QCOMPARE(stavy.Texty.mid(od, 4),
             (QStringList{U("Probíhá čtení ..."), U(" LOG uložen."), U(" LOG vymazán."), U(" OK")}));
    QVERIFY(Seznam(d.get()).isEmpty());
    QCOMPARE(Text(d.get(), "Label2"), QStringLiteral("0"));

    const QStringList soubory = slozka.Soubory();
    QCOMPARE(soubory.size(), 2);
    const QString jmeno = soubory[0].chopped(4);
    QVERIFY2(QRegularExpression(QStringLiteral("^Arch_\\d{6}_\\d{6}$")).match(jmeno).hasMatch(), qPrintable(jmeno));
    QCOMPARE(soubory, (QStringList{jmeno + ".bin", jmeno + ".log"}));
    QCOMPARE(Obsah(jmeno + ".bin"), log);
    // 8-bit text: the record line in windows-1250, every line ended by CR LF.
    const QByteArray zacatek = "Modul     : VK-7316R  v.1.00\rIP adresa : 192.168.0.99\r\n\r\n"
                               "[05.03.2023  14:01:00] - U01 - Zapnut\xED nap\xE1jen\xED\r\n";
    QCOMPARE(Obsah(jmeno + ".log").left(zacatek.size()), zacatek);
}

// Fault: a clear asked for together with an archive silently dropped when
// the archive's read of log.bin fails: the clear stays pending and the next
// poll carries it out.
void TestDiagLOG::nezdarenyArchivNechaVymazaniCekat()
{
    TPracovniSlozka slozka;
    TDialogSim p;
    QVERIFY(Pripoj(p));
    QVERIFY(p.Sim.sim.NastavSoubor("log.bin", SouborLogu(2, 400, {ZaznamLogu(1, 1), ZaznamLogu(5, 2)})));
    auto d = Otevri(p);
    QVERIFY(QTest::qWaitFor([&] { return Seznam(d.get()).size() == 2 && !d->Bezi(); }, 3000));

    // No poll runs until this handler returns: the fault meets the next
    // poll's first request, the archive's read of log.bin.
    p.Sim.sim.NastavPoruchu(vk::sim::TPorucha::VyjimkaOdpoved, true, 1);
    TZapisStavu stavy(d.get());
    Klik(d.get(), "Button2");
    Klik(d.get(), "Button3");
    QVERIFY2(
        QTest::qWaitFor([&] { return stavy.Texty.contains(U(" LOG vymazán.")) && d->TextStavu() == U(" OK"); }, 8000),
        qPrintable(stavy.Texty.join(u'|')));
    const qsizetype od = stavy.Texty.indexOf(U("Probíhá čtení ..."));
    QVERIFY2(od >= 0, qPrintable(stavy.Texty.join(u'|')));
    const qsizetype vymazan = stavy.Texty.indexOf(U(" LOG vymazán."));
    // The archive's failure ended its poll before the clear.
    QVERIFY2(vymazan > od + 1 && !stavy.Texty.mid(od, vymazan - od).contains(U(" LOG uložen.")),
             qPrintable(stavy.Texty.join(u'|')));
    QVERIFY(!d->fVymazatLOG && !d->fUlozitLOG);
    QVERIFY(Seznam(d.get()).isEmpty());
    QCOMPARE(Text(d.get(), "Label2"), QStringLiteral("0"));
}

// Faults: a poll without a connection reaching the module or consuming the
// requests, whether the window or the poll finds the link missing; the
// timer stopping at the message.
void TestDiagLOG::bezPripojeniZadostiCekaji()
{
    TPracovniSlozka slozka;
    TDialogSim p;
    QVERIFY(Pripoj(p));
    p.Dat.Init = false;
    p.Pracovnik->ProvedACekej([](vk::device::TVK7316R& modul) { modul.Init = false; });
    auto d = Otevri(p);
    const auto pred = p.Sim.sim.PocetPozadavku();
    Klik(d.get(), "Button2");
    Klik(d.get(), "Button3");
    for (const bool datInit : {false, true}) {
        p.Dat.Init = datInit;  // then only the connection record is not set up
        QTest::qWait(700);
        // A poll holds the requests while it runs and hands back those it
        // did not serve: look between polls.
        QVERIFY(QTest::qWaitFor([&] { return !d->Bezi(); }, 3000));
        QCOMPARE(d->TextStavu(), U(" Připojení k zařízení není inicializováno."));
        QVERIFY(d->fUlozitLOG && d->fVymazatLOG);
    }
    QCOMPARE(p.Sim.sim.PocetPozadavku(), pred);

    p.Pracovnik->ProvedACekej([](vk::device::TVK7316R& modul) { modul.Init = true; });
    QVERIFY(Ceka(*d, " LOG vymazán.", 3000));
    QCOMPARE(slozka.Soubory().size(), 2);
    QVERIFY(!d->fUlozitLOG && !d->fVymazatLOG);
}

// Fault: an archive that cannot be written stopping the polling or ending
// without a text (here the working directory is gone).
void TestDiagLOG::chybaSouboruNezastaviObnovu()
{
    TPracovniSlozka slozka;
    QVERIFY(slozka.slozka.remove());
    TDialogSim p;
    QVERIFY(Pripoj(p));
    auto d = Otevri(p);
    QVERIFY(Ceka(*d, " OK"));
    Klik(d.get(), "Button2");
    QVERIFY(QTest::qWaitFor([&] { return d->TextStavu().startsWith(U(" Nelze vytvořit soubor Arch_")); }, 3000));
    QVERIFY(Ceka(*d, " OK"));
}

// Fault: the close leaving the poll running on the connection record, or
// waiting out the link's time-out and the pause after the failure.
void TestDiagLOG::zavreniBehemCteni()
{
    TDialogSim p;
    QVERIFY(Pripoj(p));
    auto d = Otevri(p);
    p.Sim.sim.NastavPoruchu(vk::sim::TPorucha::ZadnaOdpoved, true);
    QVERIFY(QTest::qWaitFor([&] { return d->Bezi(); }, 1000));
    QTest::qWait(50);
    QElapsedTimer hodiny;
    hodiny.start();
    Klik(d.get(), "Button1");
    QVERIFY2(hodiny.elapsed() < 300, qPrintable(QString::number(hodiny.elapsed())));
    QVERIFY(!d->isVisible());
    QVERIFY(!p.Pracovnik->Bezi());
    const auto pred = p.Sim.sim.PocetPozadavku();
    QTest::qWait(500);
    QCOMPARE(p.Sim.sim.PocetPozadavku(), pred);
}

QTEST_MAIN(TestDiagLOG)
#include "DiagLOG_test.moc"
