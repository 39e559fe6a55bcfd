// The main window: menu, status bar, the connection command, help command,
// configuration file commands and what it stores when it closes.
#include <QAction>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <csignal>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "About.h"
#include "DiagLOG.h"
#include "DiagRS485.h"
#include "DiagSystem.h"
#include "Hlavni.h"
#include "KonfiguracniDialog.h"
#include "ModalniOkno.h"
#include "Preklady.h"
#include "Pripojeni.h"
#include "RestartZarizeni.h"
#include "Rozhrani.h"
#include "Signaly.h"
#include "Simulator.h"
#include "U_VK7316R.h"
#include "UpgradeFW.h"

namespace {

// A main window whose file dialogs and message boxes give scripted answers
// and keep what they were asked; with SkutecneZpravy the real message boxes
// are shown instead. PriDialogu may look into each file dialog before it is
// answered.
class TSkriptovaneOkno : public TForm1 {
public:
    using TForm1::TForm1;

    struct TDialog {
        QString Jmeno;
        QFileDialog::AcceptMode Rezim;
        QFileDialog::FileMode RezimSouboru;
        QStringList Filtry;  // as the file type list shows them
        QString Pripona;
        bool BezDotazuNaPrepsani;
    };

    QString VybranySoubor;  // empty = the user cancels
    std::function<void(QFileDialog&)> PriDialogu;
    bool OdpovedAno = true;
    bool SkutecneZpravy = false;
    QList<TDialog> Dialogy;
    QStringList Otazky, Zpravy, Chyby;

protected:
    QString SpustSouborovyDialog(QFileDialog& d) override
    {
        QStringList filtry;
        if (auto* typy = d.findChild<QComboBox*>(QStringLiteral("fileTypeCombo")))
            for (int i = 0; i < typy->count(); ++i)
                filtry.append(typy->itemText(i));
        Dialogy.append({d.objectName(), d.acceptMode(), d.fileMode(), filtry, d.defaultSuffix(),
                        d.testOption(QFileDialog::DontConfirmOverwrite)});
        if (PriDialogu)
            PriDialogu(d);
        return VybranySoubor;
    }
    bool ZeptejSe(const QString& otazka) override
    {
        Otazky.append(otazka);
        return SkutecneZpravy ? TForm1::ZeptejSe(otazka) : OdpovedAno;
    }
    void OznamZpravu(const QString& zprava) override
    {
        Zpravy.append(zprava);
        if (SkutecneZpravy)
            TForm1::OznamZpravu(zprava);
    }
    void OznamChybu(const QString& chyba) override
    {
        Chyby.append(chyba);
        if (SkutecneZpravy)
            TForm1::OznamChybu(chyba);
    }
};

// What a message box showed before the test closed it with `tlacitko`.
struct TZachycenaZprava {
    QString Titul, Text;
    QMessageBox::Icon Ikona = QMessageBox::NoIcon;
    QMessageBox::StandardButtons Tlacitka;
    QMessageBox::StandardButton Vychozi = QMessageBox::NoButton;
    QStringList TextyTlacitek;  // in the order of the buttons
    bool JeZprava = false;
};

std::function<void(QWidget*)> ZachytZpravu(TZachycenaZprava& z, QMessageBox::StandardButton tlacitko)
{
    return [&z, tlacitko](QWidget* okno) {
        auto* box = qobject_cast<QMessageBox*>(okno);
        if (!box) {
            okno->close();
            return;
        }
        z.JeZprava = true;
        z.Titul = box->windowTitle();
        z.Text = box->text();
        z.Ikona = box->icon();
        z.Tlacitka = box->standardButtons();
        z.Vychozi = box->defaultButton() ? box->standardButton(box->defaultButton()) : QMessageBox::NoButton;
        for (QAbstractButton* b : box->buttons())
            z.TextyTlacitek.append(b->text());
        if (QAbstractButton* b = box->button(tlacitko))
            b->click();
        else
            box->reject();
    };
}

TParametryOkna ParametryV(const QTemporaryDir& slozka)
{
    TParametryOkna p;
    p.SouborNastaveni = std::filesystem::path(QFile::encodeName(slozka.filePath("W_vk7316r.ini")).toStdString());
    return p;
}

QByteArray ObsahSouboru(const QString& soubor)
{
    QFile f(soubor);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString TextPanelu(const QWidget& okno, const char* jmeno)
{
    const auto* panel = okno.findChild<QLabel*>(QString::fromLatin1(jmeno));
    return panel ? panel->text() : QStringLiteral("<no panel>");
}

template <class T>
T* Prvek(const QWidget& okno, const char* jmeno)
{
    return okno.findChild<T*>(QString::fromLatin1(jmeno));
}

// Restores the working directory a test moved away from.
struct TPracovniSlozka {
    QString Puvodni = QDir::currentPath();
    explicit TPracovniSlozka(const QString& nova) { QDir::setCurrent(nova); }
    ~TPracovniSlozka() { QDir::setCurrent(Puvodni); }
};

}  // namespace

class TestHlavni : public QObject {
    Q_OBJECT

public slots:
    void otevri(const QUrl& url) { OtevreneAdresy.append(url); }

private slots:
    void nabidky();
    void servisniRezim_data();
    void servisniRezim();
    void napovedaNaPravemKonci();
    void oknoNaPocatku();
    void stavovyRadek_data();
    void stavovyRadek();
    void pripojeniPresSeriovouLinku();
    void bezDat();
    void nastaveniPriZavreni();
    void modulPriVytvoreniAZavreni();
    void signalBehemModalnihoOkna();
    void napoveda_data();
    void napoveda();
    void nazvoveFiltry_data();
    void nazvoveFiltry();
    void vsechnySoubory();
    void konfiguraceUlozitANacist();
    void konfiguracePrepsani();
    void konfiguraceChybySouboru();
    void skutecneZpravy();
    void oProgramu();
    void oknaZNabidek_data();
    void oknaZNabidek();
    void ceskeTextyQt();  // last: the Czech catalogue stays installed

private:
    QList<QUrl> OtevreneAdresy;
};

void TestHlavni::nabidky()
{
    struct TPolozka {
        const char* Jmeno;
        const char* Text;  // "-" separator
        bool Viditelna, Povolena;
    };
    struct TNabidka {
        const char* Jmeno;
        const char* Text;
        bool Viditelna, Povolena;
        std::vector<TPolozka> Polozky;
    };
    const std::vector<TNabidka> ocekavane = {
        {"Soubor1",
         "&Soubor",
         false,
         false,
         {{"Nastkonfiguraci1", "Načíst konfiguraci", true, true},
          {"Uloitkonfiguraci1", "Uložit konfiguraci", true, true},
          {"N5", "-", true, true},
          {"UlozitProfil1", "Uložit profil modulu…", false, true},
          {"ObnovitProfil1", "Obnovit profil modulu…", false, true},
          {"N1", "-", true, true},
          {"Upgradefirmware2", "Upgrade firmware", true, true},
          {"N2", "-", false, true},
          {"Konec1", "Konec", true, true}}},
        {"Pipojen1", "&Připojení", true, true, {{"Pipojenmodulu1", "Připojení modulu", true, true}}},
        {"Nastaven1",
         "&Konfigurace",
         true,
         true,
         {{"NastavLAN", "Síťové parametry", true, true},
          {"NastavModbusTCP", "Protokol Modbus TCP", true, true},
          {"NastavHlavniLinkaRS485", "Modbus RTU master", true, true},
          {"NastavServisniLinkaRS485", "Modbus RTU slave", true, true},
          {"Vzdlensprva1", "Vzdálená správa", false, true},
          {"SrverVentrik1", "Server Ventrik", false, true},
          {"ProtokolSNMP1", "Protokol SNMP", false, true},
          {"Logovn1", "Log událostí", false, true},
          {"Datumas1", "Datum, čas", false, false},
          {"N3", "-", true, true},
          {"Restartzazen1", "Restart modulu", true, true}}},
        {"Diagnostika1",
         "&Diagnostika",
         true,
         true,
         {{"Pehled1", "Systém", true, true},
          {"RozhranRS4851", "Modbus RTU master", true, true},
          {"ServerVK1", "Server Ventrik", false, true},
          {"Logovn2", "Log událostí", false, true}}},
        {"Npovda1",
         "&Nápověda",
         true,
         true,
         {{"Npovda2", "Nápověda", true, true}, {"N4", "-", false, true}, {"Oprogramu1", "O programu", true, true}}},
    };

    QTemporaryDir slozka;
    TForm1 okno(ParametryV(slozka));
    auto* lista = okno.findChild<QMenuBar*>(QStringLiteral("MainMenu1"));
    QVERIFY(lista);
    QCOMPARE(okno.menuBar(), lista);
    auto* vpravo = qobject_cast<QMenuBar*>(lista->cornerWidget(Qt::TopRightCorner));
    QVERIFY(vpravo);

    // The top level in order: the bar's own menus, then the one at its right end.
    QList<QAction*> horni = lista->actions();
    QCOMPARE(vpravo->actions().size(), 1);
    horni.append(vpravo->actions());
    QCOMPARE(horni.size(), qsizetype(ocekavane.size()));

    for (qsizetype i = 0; i < horni.size(); ++i) {
        const TNabidka& o = ocekavane[std::size_t(i)];
        QAction* a = horni[i];
        QMenu* nabidka = a->menu();
        QVERIFY2(nabidka, o.Jmeno);
        QCOMPARE(nabidka->objectName(), QString::fromLatin1(o.Jmeno));
        QCOMPARE(a->objectName(), QString::fromLatin1(o.Jmeno));
        QCOMPARE(a->text(), QString::fromUtf8(o.Text));
        QCOMPARE(a->isVisible(), o.Viditelna);
        if (!o.Viditelna)
            a->setVisible(true);
        QCOMPARE(a->isEnabled(), o.Povolena);

        const QList<QAction*> polozky = nabidka->actions();
        QCOMPARE(polozky.size(), qsizetype(o.Polozky.size()));
        for (qsizetype j = 0; j < polozky.size(); ++j) {
            const TPolozka& p = o.Polozky[std::size_t(j)];
            const bool oddelovac = std::string_view(p.Text) == "-";
            QCOMPARE(polozky[j]->objectName(), QString::fromLatin1(p.Jmeno));
            QCOMPARE(polozky[j]->isSeparator(), oddelovac);
            if (!oddelovac)
                QCOMPARE(polozky[j]->text(), QString::fromUtf8(p.Text));
            QCOMPARE(polozky[j]->isVisible(), p.Viditelna);
            // Qt disables a hidden action; shown again it has the state of the table.
            if (!p.Viditelna) {
                QVERIFY2(!polozky[j]->isEnabled(), p.Jmeno);
                polozky[j]->setVisible(true);
            }
            QVERIFY2(polozky[j]->isEnabled() == p.Povolena, p.Jmeno);
            // Each name is used once in the window, so tests and later code find this item.
            QCOMPARE(okno.findChildren<QAction*>(QString::fromLatin1(p.Jmeno)).size(), 1);
        }
    }
}

void TestHlavni::napovedaNaPravemKonci()
{
    QTemporaryDir slozka;
    TForm1 okno(ParametryV(slozka));
    okno.show();
    QVERIFY(QTest::qWaitForWindowExposed(&okno));
    okno.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&okno));

    QMenuBar* lista = okno.menuBar();
    auto* vpravo = qobject_cast<QMenuBar*>(lista->cornerWidget(Qt::TopRightCorner));
    QVERIFY(vpravo);
    QVERIFY(vpravo->isVisible());
    const QRect posledni = lista->actionGeometry(lista->actions().constLast());
    const QRect napoveda(vpravo->mapTo(lista, QPoint(0, 0)), vpravo->size());
    QVERIFY2(napoveda.left() > posledni.right() + 100, "help menu not apart from the others");
    QVERIFY2(lista->width() - napoveda.right() <= 12, "help menu not at the right end");

    // Both bars answer their accelerators.
    auto* menuNapoveda = okno.findChild<QMenu*>(QStringLiteral("Npovda1"));
    QTest::keyClick(&okno, Qt::Key_N, Qt::AltModifier);
    QTRY_VERIFY(menuNapoveda->isVisible());
    menuNapoveda->close();
    QTRY_VERIFY(!menuNapoveda->isVisible());

    auto* menuKonfigurace = okno.findChild<QMenu*>(QStringLiteral("Nastaven1"));
    QTest::keyClick(&okno, Qt::Key_K, Qt::AltModifier);
    QTRY_VERIFY(menuKonfigurace->isVisible());
    menuKonfigurace->close();
}

void TestHlavni::oknoNaPocatku()
{
    QTemporaryDir slozka;
    TForm1 okno(ParametryV(slozka));
    QCOMPARE(okno.windowTitle(), QString::fromUtf8(" VK-7316R  -  nastavení modulu"));
    QCOMPARE(okno.minimumSize(), QSize(640, 480));
    QCOMPARE(okno.statusBar()->objectName(), QStringLiteral("StatusBar1"));
    QCOMPARE(TextPanelu(okno, "StatusBar1Panel0"), QStringLiteral("Modul:"));
    QCOMPARE(TextPanelu(okno, "StatusBar1Panel1"), QStringLiteral("Adresa:"));
    QCOMPARE(okno.findChild<QLabel*>(QStringLiteral("StatusBar1Panel0"))->width(), 300);
    QCOMPARE(okno.findChild<QLabel*>(QStringLiteral("StatusBar1Panel1"))->width(), 200);
    // Without a settings file the start values are in place.
    QVERIFY(okno.Dat);
    QCOMPARE(okno.Dat->Pripojeni.UART_Adresa, 247);
    QVERIFY(!okno.Dat->Init);
}

void TestHlavni::stavovyRadek_data()
{
    QTest::addColumn<bool>("init");
    QTest::addColumn<int>("rozhrani");
    QTest::addColumn<QString>("ip");
    QTest::addColumn<int>("adresa");
    QTest::addColumn<QString>("panel0");
    QTest::addColumn<QString>("panel1");

    const QString typ = QStringLiteral("VK-7316R  v.1.05");
    QTest::newRow("LAN") << true << 1 << QStringLiteral("192.168.0.99") << 247 << " Modul:  " + typ
                         << QStringLiteral(" Adresa IP:  192.168.0.99");
    QTest::newRow("LAN IPv6") << true << 1 << QStringLiteral("FE80:0000:0000:0000:0000:0000:0000:0001") << 1
                              << " Modul:  " + typ
                              << QStringLiteral(" Adresa IP:  FE80:0000:0000:0000:0000:0000:0000:0001");
    QTest::newRow("UART default address") << true << 0 << QStringLiteral("192.168.0.99") << 247 << " Modul:  " + typ
                                          << QStringLiteral(" Adresa modulu:  247");
    QTest::newRow("UART address 5") << true << 0 << QString() << 5 << " Modul:  " + typ
                                    << QStringLiteral(" Adresa modulu:  5");
    QTest::newRow("not connected") << false << 1 << QStringLiteral("192.168.0.99") << 247 << QStringLiteral(" Modul:  ")
                                   << QStringLiteral(" Adresa:  ");
}

void TestHlavni::stavovyRadek()
{
    QFETCH(bool, init);
    QFETCH(int, rozhrani);
    QFETCH(QString, ip);
    QFETCH(int, adresa);
    QFETCH(QString, panel0);
    QFETCH(QString, panel1);

    QTemporaryDir slozka;
    TForm1 okno(ParametryV(slozka));
    // An earlier connection's texts must not survive the update.
    okno.Dat->Init = true;
    okno.Dat->TypVerze = "jiný modul";
    okno.Dat->Pripojeni.Rozhrani = vk::common::RozhraniLAN;
    okno.Dat->Pripojeni.LAN_IP = "10.0.0.1";
    okno.AktualizujStavovyRadek();

    okno.Dat->Init = init;
    okno.Dat->TypVerze = "VK-7316R  v.1.05";
    okno.Dat->Pripojeni.Rozhrani = rozhrani;
    okno.Dat->Pripojeni.LAN_IP = ip.toStdString();
    okno.Dat->Pripojeni.UART_Adresa = adresa;
    okno.AktualizujStavovyRadek();
    QCOMPARE(TextPanelu(okno, "StatusBar1Panel0"), panel0);
    QCOMPARE(TextPanelu(okno, "StatusBar1Panel1"), panel1);
}

// "Připojení modulu" over the serial line, as the user does it: the dialog
// must get the program state, the worker and the settings file (whose COM
// number leads to the simulator's pty), and the status bar must show the
// connected module once the dialog is closed. The address is not the
// default one, so that the bar cannot show the start settings instead.
void TestHlavni::pripojeniPresSeriovouLinku()
{
    QTemporaryDir slozka;
    const std::string pty = QFile::encodeName(slozka.filePath(QStringLiteral("ttyVK9"))).toStdString();
    vk::sim::TSimulator sim;
    vk::sim::TNastaveniSimulatoru n;
    n.SpustitLan = false;
    n.Pty = pty;
    n.Adresa = 17;
    n.KodBaud = 8;
    std::string chyba;
    QVERIFY2(sim.Spust(n, chyba), chyba.c_str());
    {
        QFile ini(slozka.filePath(QStringLiteral("W_vk7316r.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[Porty]\nCOM9=" + QByteArray::fromStdString(pty) + "\n");
    }
    TForm1 okno(ParametryV(slozka));
    okno.show();

    // What the dialog showed beside the COM field and in its status panel.
    QString zarizeni, stav;
    bool skoncil = false;  // the attempt ended before the dialog was closed
    TOdpovedNaModalni odpoved([&](QWidget* w) {
        auto* dialog = qobject_cast<TFormPripojeni*>(w);
        if (!dialog) {
            w->close();
            return;
        }
        Prvek<QComboBox>(*dialog, "ComboBox1")->setCurrentIndex(0);
        Prvek<QLineEdit>(*dialog, "Edit3")->setText(QStringLiteral("9"));
        Prvek<QComboBox>(*dialog, "ComboBox3")->setCurrentIndex(6);  // 115200 Bd, the simulator's rate
        Prvek<QComboBox>(*dialog, "ComboBox4")->setCurrentIndex(0);
        Prvek<QLineEdit>(*dialog, "Edit4")->setText(QStringLiteral("400"));
        Prvek<QLineEdit>(*dialog, "Edit5")->setText(QStringLiteral("17"));
        zarizeni = Prvek<QLabel>(*dialog, "LabelZarizeni")->text();
        QTest::mouseClick(Prvek<QPushButton>(*dialog, "Button1"), Qt::LeftButton);
        skoncil = QTest::qWaitFor([dialog] { return !dialog->Bezi(); }, 5000);
        stav = Prvek<QLabel>(*dialog, "Panel1")->text();
        QTest::mouseClick(Prvek<QPushButton>(*dialog, "Button2"), Qt::LeftButton);
    });
    okno.findChild<QAction*>(QStringLiteral("Pipojenmodulu1"))->trigger();
    QVERIFY(odpoved.Odpovezeno());
    QVERIFY(skoncil);
    QCOMPARE(zarizeni, QString::fromStdString(pty));
    QCOMPARE(stav, QString::fromUtf8("Připojení úspěšně inicializováno. Připojen modul   VK-7316R  v.1.00"));
    QVERIFY(okno.Dat->Init);
    QCOMPARE(TextPanelu(okno, "StatusBar1Panel0"), QStringLiteral(" Modul:  VK-7316R  v.1.00"));
    QCOMPARE(TextPanelu(okno, "StatusBar1Panel1"), QStringLiteral(" Adresa modulu:  17"));
    okno.close();  // closes the port while the simulator still runs
}

void TestHlavni::bezDat()
{
    QTemporaryDir slozka;
    TParametryOkna p = ParametryV(slozka);
    p.VytvorData = [] { return std::unique_ptr<vk::core::TData>(); };
    TSkriptovaneOkno okno(p);
    QVERIFY(!okno.Dat);
    QCOMPARE(TextPanelu(okno, "StatusBar1Panel0"), QString::fromUtf8(" Nelze vytvořit datové struktury programu"));

    // The dialog commands do nothing; the status bar keeps its text.
    okno.VybranySoubor = slozka.filePath("k.cfm");
    for (const char* jmeno : {"Nastkonfiguraci1", "Uloitkonfiguraci1", "Pipojenmodulu1", "NastavLAN", "Pehled1"})
        okno.findChild<QAction*>(QString::fromLatin1(jmeno))->trigger();
    okno.AktualizujStavovyRadek();
    QVERIFY(okno.Dialogy.isEmpty());
    QVERIFY(!QFile::exists(slozka.filePath("k.cfm")));
    QCOMPARE(TextPanelu(okno, "StatusBar1Panel0"), QString::fromUtf8(" Nelze vytvořit datové struktury programu"));

    // The about window needs no program state.
    TOdpovedNaModalni odpoved([](QWidget* w) { w->close(); });
    okno.findChild<QAction*>(QStringLiteral("Oprogramu1"))->trigger();
    QVERIFY(odpoved.Odpovezeno());

    okno.close();
    QVERIFY(!QFile::exists(slozka.filePath("W_vk7316r.ini")));
}

void TestHlavni::nastaveniPriZavreni()
{
    QTemporaryDir slozka;
    const QString ini = slozka.filePath("W_vk7316r.ini");
    {
        TForm1 okno(ParametryV(slozka));
        okno.show();
        QVERIFY(!QFile::exists(ini));
        okno.Dat->Pripojeni.Rozhrani = vk::common::RozhraniLAN;
        okno.Dat->Pripojeni.LAN_IP = "10.20.30.40";
        okno.Dat->Pripojeni.UART_Adresa = 17;
        okno.findChild<QAction*>(QStringLiteral("Konec1"))->trigger();
        QVERIFY(!okno.isVisible());
        QVERIFY(!okno.Dat);
        QVERIFY(QFile::exists(ini));
        QVERIFY(ObsahSouboru(ini).contains("10.20.30.40"));

        // The closing steps run once: a second close stores nothing more.
        QVERIFY(QFile::remove(ini));
        okno.close();
        QVERIFY(!QFile::exists(ini));
        // Nor does the window's end store a record it holds after the close.
        okno.Dat = std::make_unique<vk::core::TData>();
    }
    QVERIFY(!QFile::exists(ini));

    // What one run stores the next one reads.
    {
        TForm1 okno(ParametryV(slozka));
        okno.Dat->Pripojeni.Rozhrani = vk::common::RozhraniLAN;
        okno.Dat->Pripojeni.LAN_IP = "10.20.30.40";
        okno.Dat->Pripojeni.UART_Adresa = 17;
        okno.close();
    }
    TForm1 dalsi(ParametryV(slozka));
    QCOMPARE(dalsi.Dat->Pripojeni.Rozhrani, 1);
    QCOMPARE(dalsi.Dat->Pripojeni.LAN_IP, std::string("10.20.30.40"));
    QCOMPARE(dalsi.Dat->Pripojeni.UART_Adresa, 17);
}

// The window starts with the device connection record idle and closes the
// serial port it holds when it closes.
void TestHlavni::modulPriVytvoreniAZavreni()
{
    using vk::device::Modul;
    Modul.Init = true;
    Modul.Rozhrani = vk::common::RozhraniLAN;
    QTemporaryDir slozka;
    TForm1 okno(ParametryV(slozka));
    QVERIFY(!Modul.Init);
    QCOMPARE(Modul.Rozhrani, 0);

    const int port = ::open("/dev/null", O_RDWR | O_CLOEXEC);  // stands for an open serial port
    QVERIFY(port > 0);
    Modul.MBRTU.ID.HNDL = port;
    okno.close();
    QCOMPARE(Modul.MBRTU.ID.HNDL, decltype(Modul.MBRTU.ID.HNDL)(0));
    QVERIFY2(::fcntl(port, F_GETFD) == -1, "the port was left open");
    vk::device::VychoziModul(Modul);
}

// A signal while a command waits in a modal window: the window is rejected,
// the command returns, and then the main window closes and stores the
// settings, once.
void TestHlavni::signalBehemModalnihoOkna()
{
    QTemporaryDir slozka;
    const QString ini = slozka.filePath(QStringLiteral("W_vk7316r.ini"));
    TForm1 okno(ParametryV(slozka));
    okno.show();
    okno.Dat->Pripojeni.LAN_IP = "10.20.30.40";
    TZavreniSignalem signaly([&okno] { okno.PozadujZavreni(); });
    QVERIFY(signaly.Funguje());

    bool oProgramu = false;          // the modal window was the about window
    bool datNaKonciPrikazu = false;  // the state was still there when the command's window went
    TOdpovedNaModalni odpoved([&](QWidget* w) {
        oProgramu = qobject_cast<TFormOProgramu*>(w) != nullptr;
        connect(w, &QObject::destroyed, &okno, [&] { datNaKonciPrikazu = okno.Dat != nullptr; });
        ::kill(::getpid(), SIGTERM);
    });
    // Should the signal not end the window, the test fails instead of hanging.
    bool zachrana = false;
    QTimer::singleShot(5000, &okno, [&zachrana] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            zachrana = true;
            w->close();
        }
    });
    okno.findChild<QAction*>(QStringLiteral("Oprogramu1"))->trigger();

    QVERIFY(!zachrana);
    QVERIFY(oProgramu);
    QVERIFY(datNaKonciPrikazu);
    QVERIFY(!okno.isVisible());
    QVERIFY(!okno.Dat);
    QVERIFY(ObsahSouboru(ini).contains("10.20.30.40"));
}

void TestHlavni::napoveda_data()
{
    QTest::addColumn<QString>("kde");     // where the help document is
    QTest::addColumn<bool>("prohlizec");  // a viewer can be started (prohlizec = viewer)
    QTest::addColumn<bool>("otevren");
    QTest::newRow("none") << QString() << true << false;
    QTest::newRow("working directory") << QStringLiteral("cwd") << true << true;
    QTest::newRow("program folder only") << QStringLiteral("program") << true << false;
    QTest::newRow("a folder of that name") << QStringLiteral("folder") << true << false;
    QTest::newRow("no viewer") << QStringLiteral("cwd") << false << false;
}

void TestHlavni::napoveda()
{
    QFETCH(QString, kde);
    QFETCH(bool, prohlizec);
    QFETCH(bool, otevren);

    QTemporaryDir nastaveni, prace;
    TPracovniSlozka cwd(prace.path());
    const QString nazev = QStringLiteral("W_vk7316r_Napoveda.pdf");
    const QString vProgramu = QDir(QCoreApplication::applicationDirPath()).filePath(nazev);
    if (kde == QLatin1String("cwd")) {
        QFile f(prace.filePath(nazev));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("%PDF-1.4\n");
    } else if (kde == QLatin1String("program")) {
        QFile f(vProgramu);
        QVERIFY(f.open(QIODevice::WriteOnly));
    } else if (kde == QLatin1String("folder")) {
        QVERIFY(QDir(prace.path()).mkdir(nazev));
    }

    OtevreneAdresy.clear();
    // Qt reports a handler it cannot call as an open that failed, the answer
    // it gives when no viewer program can be started.
    QDesktopServices::setUrlHandler(QStringLiteral("file"), this, prohlizec ? "otevri" : "zadnyProhlizec");
    TZachycenaZprava z;
    {
        TForm1 okno(ParametryV(nastaveni));
        TOdpovedNaModalni odpoved(ZachytZpravu(z, QMessageBox::Ok));
        okno.findChild<QAction*>(QStringLiteral("Npovda2"))->trigger();
    }
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    if (kde == QLatin1String("program"))
        QFile::remove(vProgramu);

    if (otevren) {
        QCOMPARE(OtevreneAdresy, QList<QUrl>{QUrl::fromLocalFile(QDir(prace.path()).absoluteFilePath(nazev))});
        QVERIFY(!z.JeZprava);
    } else if (!prohlizec) {
        QVERIFY(OtevreneAdresy.isEmpty());
        QVERIFY(z.JeZprava);
        QCOMPARE(z.Text, QString::fromUtf8("Nelze otevřít soubor %1: chybí program pro zobrazení PDF.")
                             .arg(QDir(prace.path()).absoluteFilePath(nazev)));
        QCOMPARE(z.Titul, QStringLiteral("W_vk7316r"));
        QCOMPARE(z.Tlacitka, QMessageBox::StandardButtons(QMessageBox::Ok));
    } else {
        QVERIFY(OtevreneAdresy.isEmpty());
        QVERIFY(z.JeZprava);
        QCOMPARE(z.Text, QStringLiteral("Nenalezen soubor W_vk7316r_Napoveda.pdf"));
        QCOMPARE(z.Titul, QStringLiteral("W_vk7316r"));
        QCOMPARE(z.Tlacitka, QMessageBox::StandardButtons(QMessageBox::Ok));
    }
}

void TestHlavni::nazvoveFiltry_data()
{
    QTest::addColumn<QString>("filtr");
    QTest::addColumn<QStringList>("qt");
    QTest::newRow("open dialog") << QString::fromUtf8("Konfigurace modulu  (*.cfm)|*.cfm|Všechny soubory  (*.*)  |*.*")
                                 << QStringList{QStringLiteral("Konfigurace modulu  (*.cfm) (*.cfm)"),
                                                QString::fromUtf8("Všechny soubory  (*.*)   (*)")};
    QTest::newRow("pattern list") << QStringLiteral("Texty|*.txt;*.log; *.*|bez masky")
                                  << QStringList{QStringLiteral("Texty (*.txt *.log *)")};
}

void TestHlavni::nazvoveFiltry()
{
    QFETCH(QString, filtr);
    QFETCH(QStringList, qt);
    QCOMPARE(NazvoveFiltry(filtr), qt);
}

// The real open dialog lists a file without a dot under "Všechny soubory",
// and only the configuration files under the first entry.
void TestHlavni::vsechnySoubory()
{
    QTemporaryDir nastaveni, soubory;
    for (const char* jmeno : {"a.cfm", "b.txt", "bez_tecky"}) {
        QFile f(soubory.filePath(QString::fromLatin1(jmeno)));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    TSkriptovaneOkno okno(ParametryV(nastaveni));
    QStringList vse, konfigurace;
    bool vseVcas = false, konfiguraceVcas = false;
    okno.PriDialogu = [&](QFileDialog& d) {
        d.setDirectory(soubory.path());
        auto* seznam = d.findChild<QListView*>(QStringLiteral("listView"));
        if (!seznam)
            return;
        const auto jmena = [seznam] {
            QStringList j;
            const QModelIndex koren = seznam->rootIndex();
            for (int r = 0; r < seznam->model()->rowCount(koren); ++r)
                j.append(seznam->model()->index(r, 0, koren).data().toString());
            j.sort();
            return j;
        };
        // The folder is read in the background; every file is in once the
        // full list shows.
        d.selectNameFilter(d.nameFilters().at(1));
        vseVcas = QTest::qWaitFor([&] { return jmena().size() == 3; });
        vse = jmena();
        d.selectNameFilter(d.nameFilters().at(0));
        konfiguraceVcas = QTest::qWaitFor([&] { return jmena().size() == 1; });
        konfigurace = jmena();
    };
    okno.findChild<QAction*>(QStringLiteral("Nastkonfiguraci1"))->trigger();
    QCOMPARE(okno.Dialogy.size(), 1);
    QVERIFY2(vseVcas, qPrintable(vse.join(QLatin1Char(' '))));
    QCOMPARE(vse, (QStringList{QStringLiteral("a.cfm"), QStringLiteral("b.txt"), QStringLiteral("bez_tecky")}));
    QVERIFY2(konfiguraceVcas, qPrintable(konfigurace.join(QLatin1Char(' '))));
    QCOMPARE(konfigurace, QStringList{QStringLiteral("a.cfm")});
}

void TestHlavni::konfiguraceUlozitANacist()
{
    QTemporaryDir slozka;
    TSkriptovaneOkno okno(ParametryV(slozka));
    // A name beyond ASCII reaches the file system unchanged.
    const QString soubor = slozka.filePath(QString::fromUtf8("nastavení č.1.cfm"));

    // Cancelled: nothing happens.
    okno.findChild<QAction*>(QStringLiteral("Uloitkonfiguraci1"))->trigger();
    QCOMPARE(okno.Dialogy.size(), 1);
    QVERIFY(QDir(slozka.path()).entryList(QDir::Files).isEmpty());

    const vk::core::TAdresa4 ulozena{10, 1, 2, 3};
    okno.Dat->CFGVK.LAN4.IP4_Adresa = ulozena;
    okno.VybranySoubor = soubor;
    okno.findChild<QAction*>(QStringLiteral("Uloitkonfiguraci1"))->trigger();
    QCOMPARE(QFileInfo(soubor).size(), 60928);
    QVERIFY(okno.Otazky.isEmpty());
    QVERIFY(okno.Chyby.isEmpty());

    okno.Dat->CFGVK.LAN4.IP4_Adresa = {192, 168, 1, 1};
    okno.findChild<QAction*>(QStringLiteral("Nastkonfiguraci1"))->trigger();
    QVERIFY(okno.Chyby.isEmpty());
    QVERIFY(okno.Dat->CFGVK.LAN4.IP4_Adresa == ulozena);

    QCOMPARE(okno.Dialogy.size(), 3);
    const auto& ulozit = okno.Dialogy[1];
    QCOMPARE(ulozit.Jmeno, QStringLiteral("SaveDialog1"));
    QCOMPARE(ulozit.Rezim, QFileDialog::AcceptSave);
    // Qt collapses runs of blanks in a name filter.
    QCOMPARE(ulozit.Filtry, QStringList{QStringLiteral("Konfigurace modulu (*.cfm)")});
    QCOMPARE(ulozit.Pripona, QStringLiteral("cfm"));
    QVERIFY(ulozit.BezDotazuNaPrepsani);
    const auto& nacist = okno.Dialogy[2];
    QCOMPARE(nacist.Jmeno, QStringLiteral("OpenDialog1"));
    QCOMPARE(nacist.Rezim, QFileDialog::AcceptOpen);
    QCOMPARE(nacist.RezimSouboru, QFileDialog::ExistingFile);
    QCOMPARE(nacist.Filtry, (QStringList{QString::fromUtf8("Konfigurace modulu (*.cfm)"),
                                         QString::fromUtf8("Všechny soubory (*.*)")}));
    QCOMPARE(nacist.Pripona, QStringLiteral("cfm"));
}

void TestHlavni::konfiguracePrepsani()
{
    QTemporaryDir slozka;
    TSkriptovaneOkno okno(ParametryV(slozka));
    const QString soubor = slozka.filePath(QStringLiteral("a.cfm"));
    okno.VybranySoubor = soubor;
    okno.Dat->CFGVK.LAN4.IP4_Adresa = {10, 1, 2, 3};
    okno.findChild<QAction*>(QStringLiteral("Uloitkonfiguraci1"))->trigger();
    const QByteArray prvni = ObsahSouboru(soubor);
    QCOMPARE(prvni.size(), 60928);

    okno.Dat->CFGVK.LAN4.IP4_Adresa = {10, 9, 9, 9};
    okno.OdpovedAno = false;
    okno.findChild<QAction*>(QStringLiteral("Uloitkonfiguraci1"))->trigger();
    QCOMPARE(okno.Otazky, QStringList{QString::fromUtf8("Soubor \"") + soubor +
                                      QString::fromUtf8("\" již existuje.  Chcete ho přepsat?")});
    QCOMPARE(ObsahSouboru(soubor), prvni);

    okno.OdpovedAno = true;
    okno.findChild<QAction*>(QStringLiteral("Uloitkonfiguraci1"))->trigger();
    QCOMPARE(okno.Otazky.size(), 2);
    const QByteArray druhy = ObsahSouboru(soubor);
    QCOMPARE(druhy.size(), 60928);
    QVERIFY(druhy != prvni);
    QVERIFY(okno.Chyby.isEmpty());
}

void TestHlavni::konfiguraceChybySouboru()
{
    QTemporaryDir slozka;
    TSkriptovaneOkno okno(ParametryV(slozka));
    const vk::core::TCFG_LAN4 pred = okno.Dat->CFGVK.LAN4;

    // A file that is gone by now loads nothing and is no error.
    okno.VybranySoubor = slozka.filePath(QStringLiteral("chybi.cfm"));
    okno.findChild<QAction*>(QStringLiteral("Nastkonfiguraci1"))->trigger();
    QVERIFY(okno.Chyby.isEmpty());

    // A name that cannot be read as a file.
    QVERIFY(QDir(slozka.path()).mkdir(QStringLiteral("slozka.cfm")));
    okno.VybranySoubor = slozka.filePath(QStringLiteral("slozka.cfm"));
    okno.findChild<QAction*>(QStringLiteral("Nastkonfiguraci1"))->trigger();
    QCOMPARE(okno.Chyby.size(), 1);
    QVERIFY2(okno.Chyby[0].contains(QStringLiteral("slozka.cfm")), qPrintable(okno.Chyby[0]));
    QVERIFY(okno.Dat->CFGVK.LAN4.IP4_Adresa == pred.IP4_Adresa);

    okno.VybranySoubor = slozka.filePath(QStringLiteral("neni/b.cfm"));
    okno.findChild<QAction*>(QStringLiteral("Uloitkonfiguraci1"))->trigger();
    QCOMPARE(okno.Chyby.size(), 2);
    QVERIFY2(okno.Chyby[1].contains(QStringLiteral("b.cfm")), qPrintable(okno.Chyby[1]));
    QVERIFY(okno.Zpravy.isEmpty());
}

// The real message boxes behind the scripted ones: caption, buttons, default.
void TestHlavni::skutecneZpravy()
{
    QTemporaryDir slozka;
    TSkriptovaneOkno okno(ParametryV(slozka));
    okno.SkutecneZpravy = true;
    const QString soubor = slozka.filePath(QStringLiteral("a.cfm"));
    okno.VybranySoubor = soubor;
    okno.findChild<QAction*>(QStringLiteral("Uloitkonfiguraci1"))->trigger();
    const QByteArray prvni = ObsahSouboru(soubor);
    QCOMPARE(prvni.size(), 60928);

    okno.Dat->CFGVK.LAN4.IP4_Adresa = {10, 9, 9, 9};
    TZachycenaZprava dotaz;
    {
        TOdpovedNaModalni odpoved(ZachytZpravu(dotaz, QMessageBox::No));
        okno.findChild<QAction*>(QStringLiteral("Uloitkonfiguraci1"))->trigger();
    }
    QVERIFY(dotaz.JeZprava);
    QCOMPARE(dotaz.Titul, QStringLiteral("W_vk7316r"));
    QCOMPARE(dotaz.Text, okno.Otazky.constLast());
    QCOMPARE(dotaz.Ikona, QMessageBox::Question);
    QCOMPARE(dotaz.Tlacitka, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(dotaz.Vychozi, QMessageBox::Yes);
    QCOMPARE(ObsahSouboru(soubor), prvni);

    TZachycenaZprava chyba;
    QVERIFY(QDir(slozka.path()).mkdir(QStringLiteral("slozka.cfm")));
    okno.VybranySoubor = slozka.filePath(QStringLiteral("slozka.cfm"));
    {
        TOdpovedNaModalni odpoved(ZachytZpravu(chyba, QMessageBox::Ok));
        okno.findChild<QAction*>(QStringLiteral("Nastkonfiguraci1"))->trigger();
    }
    QVERIFY(chyba.JeZprava);
    QCOMPARE(chyba.Titul, QStringLiteral("W_vk7316r"));
    QCOMPARE(chyba.Text, okno.Chyby.constLast());
    QCOMPARE(chyba.Ikona, QMessageBox::Critical);
    QCOMPARE(chyba.Tlacitka, QMessageBox::StandardButtons(QMessageBox::Ok));
}

void TestHlavni::oProgramu()
{
    QTemporaryDir slozka;
    TForm1 okno(ParametryV(slozka));
    for (int otevreni = 0; otevreni < 2; ++otevreni) {
        QString verze;
        QWidget* rodic = nullptr;
        TOdpovedNaModalni odpoved([&](QWidget* w) {
            if (auto* about = qobject_cast<TFormOProgramu*>(w)) {
                verze = about->findChild<QLabel*>(QStringLiteral("Label2"))->text();
                rodic = about->parentWidget();
                about->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
            } else {
                w->close();
            }
        });
        okno.findChild<QAction*>(QStringLiteral("Oprogramu1"))->trigger();
        QVERIFY(odpoved.Odpovezeno());
        QCOMPARE(verze, QStringLiteral("Verze  1.01"));
        QCOMPARE(rodic, &okno);
    }
    // Each opening was a fresh window, gone when it closed.
    QVERIFY(okno.findChildren<TFormOProgramu*>().isEmpty());
}

// Qt's own labels and buttons in the file dialogs and message boxes are
// Czech once the catalogue is in; without it they stay English.
void TestHlavni::ceskeTextyQt()
{
    QTemporaryDir nastaveni, prazdna;
    TSkriptovaneOkno okno(ParametryV(nastaveni));
    okno.SkutecneZpravy = true;
    const auto otazka = [&okno] {
        TZachycenaZprava z;
        TOdpovedNaModalni odpoved(ZachytZpravu(z, QMessageBox::No));
        okno.Dat->CFGVK.LAN4.IP4_Adresa = {10, 9, 9, 9};
        okno.findChild<QAction*>(QStringLiteral("Uloitkonfiguraci1"))->trigger();
        return z.TextyTlacitek;
    };
    okno.VybranySoubor = nastaveni.filePath(QStringLiteral("a.cfm"));
    okno.findChild<QAction*>(QStringLiteral("Uloitkonfiguraci1"))->trigger();
    QVERIFY(QFile::exists(okno.VybranySoubor));

    QVERIFY(!NactiPrekladyQt(prazdna.path()));
    QCOMPARE(otazka(), (QStringList{QStringLiteral("&Yes"), QStringLiteral("&No")}));

    QVERIFY(NactiPrekladyQt());
    QCOMPARE(otazka(), (QStringList{QStringLiteral("&Ano"), QStringLiteral("&Ne")}));

    QList<QStringList> dialogy;
    okno.PriDialogu = [&dialogy](QFileDialog& d) {
        QStringList texty;
        for (const char* jmeno : {"lookInLabel", "fileNameLabel", "fileTypeLabel"})
            if (auto* l = d.findChild<QLabel*>(QString::fromLatin1(jmeno)))
                texty.append(l->text());
        if (auto* tlacitka = d.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox")))
            for (QAbstractButton* b : tlacitka->buttons())
                texty.append(b->text());
        dialogy.append(texty);
    };
    okno.VybranySoubor.clear();
    okno.findChild<QAction*>(QStringLiteral("Nastkonfiguraci1"))->trigger();
    okno.findChild<QAction*>(QStringLiteral("Uloitkonfiguraci1"))->trigger();
    QCOMPARE(dialogy.size(), 2);
    const QStringList popisky{QStringLiteral("Hledat v:"), QString::fromUtf8("Název &souboru:"),
                              QStringLiteral("Soubory typu:")};
    QCOMPARE(dialogy[0], (popisky + QStringList{QString::fromUtf8("&Otevřít"), QString::fromUtf8("Zrušit")}));
    QCOMPARE(dialogy[1], (popisky + QStringList{QString::fromUtf8("&Uložit"), QString::fromUtf8("Zrušit")}));
}

void TestHlavni::servisniRezim_data()
{
    QTest::addColumn<QByteArray>("hodnota");
    QTest::addColumn<bool>("zapnuto");
    QTest::newRow("on") << QByteArray("1") << true;
    QTest::newRow("off") << QByteArray("0") << false;
    QTest::newRow("bad value") << QByteArray("2") << false;
}

// Fault: service mode leaving an item with a command hidden or disabled
// ("Datum, čas" is both in the plan), its menu ("Soubor") hidden, an item
// without a command or a hidden separator shown, or a value other than 1
// turning it on.
void TestHlavni::servisniRezim()
{
    QFETCH(QByteArray, hodnota);
    QFETCH(bool, zapnuto);
    QTemporaryDir slozka;
    QFile ini(slozka.filePath(QStringLiteral("W_vk7316r.ini")));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[Program]\nServis=" + hodnota + "\n");
    ini.close();
    TForm1 okno(ParametryV(slozka));

    const auto akce = [&](const char* jmeno) { return okno.findChild<QAction*>(QString::fromLatin1(jmeno)); };
    // The items of "Soubor" are visible in the plan; their menu is not.
    for (const char* jmeno : {"Nastkonfiguraci1", "Uloitkonfiguraci1", "Upgradefirmware2", "Konec1"})
        QVERIFY2(akce(jmeno)->isVisible() && akce(jmeno)->isEnabled(), jmeno);
    for (const char* jmeno : {"Vzdlensprva1", "Logovn1", "Logovn2", "Datumas1", "UlozitProfil1", "ObnovitProfil1"}) {
        QVERIFY2(akce(jmeno)->isVisible() == zapnuto, jmeno);
        QVERIFY2(akce(jmeno)->isEnabled() == zapnuto, jmeno);
    }
    auto* soubor = okno.findChild<QMenu*>(QStringLiteral("Soubor1"));
    QCOMPARE(soubor->menuAction()->isVisible(), zapnuto);
    QCOMPARE(soubor->menuAction()->isEnabled(), zapnuto);
    for (const char* jmeno : {"SrverVentrik1", "ProtokolSNMP1", "ServerVK1", "N2", "N4"})
        QVERIFY2(!akce(jmeno)->isVisible(), jmeno);
}

void TestHlavni::oknaZNabidek_data()
{
    QTest::addColumn<QString>("polozka");
    QTest::addColumn<QString>("trida");
    QTest::newRow("LAN") << "NastavLAN"
                         << "TFormNastavLanParam";
    QTest::newRow("Modbus TCP") << "NastavModbusTCP"
                                << "TFormNastavModbusTCP";
    QTest::newRow("master") << "NastavHlavniLinkaRS485"
                            << "TFormNastavHlavniLinka";
    QTest::newRow("slave") << "NastavServisniLinkaRS485"
                           << "TFormNastavServisniLinka";
    QTest::newRow("remote management, hidden") << "Vzdlensprva1"
                                               << "TFormNastavVzdalenaSprava";
    QTest::newRow("event logging, hidden") << "Logovn1"
                                           << "TFormNastavLOG";
    QTest::newRow("restart") << "Restartzazen1"
                             << "TFormRestart";
    QTest::newRow("system") << "Pehled1"
                            << "TFormDiagPrehled";
    QTest::newRow("master line") << "RozhranRS4851"
                                 << "TFormDiagRS485";
    QTest::newRow("event log, hidden") << "Logovn2"
                                       << "TFormDiagLOG";
    QTest::newRow("firmware upgrade") << "Upgradefirmware2"
                                      << "TFormUpgradeFW";
}

// The window `w` of type T works on the main window's state and worker.
template <class T>
bool MaStav(QWidget* w, TForm1& hlavni)
{
    auto* okno = qobject_cast<T*>(w);
    return okno && okno->Dat == hlavni.Dat.get() && okno->Pracovnik() == hlavni.Pracovnik.get();
}

// Fault: a menu item opening another window, or a window opened without the
// program state or the worker (it would show its bare layout, or talk to no
// module).
void TestHlavni::oknaZNabidek()
{
    QFETCH(QString, polozka);
    QFETCH(QString, trida);
    QTemporaryDir slozka;
    TForm1 okno(ParametryV(slozka));
    okno.show();
    QString otevrena;
    bool maData = false;
    TOdpovedNaModalni odpoved([&](QWidget* w) {
        otevrena = QString::fromLatin1(w->metaObject()->className());
        maData = MaStav<TKonfiguracniDialog>(w, okno) || MaStav<TFormRestart>(w, okno) ||
                 MaStav<TFormDiagPrehled>(w, okno) || MaStav<TFormDiagRS485>(w, okno) ||
                 MaStav<TFormDiagLOG>(w, okno) || MaStav<TFormUpgradeFW>(w, okno);
        w->close();
    });
    okno.findChild<QAction*>(polozka)->trigger();
    QCOMPARE(otevrena, trida);
    QVERIFY(maData);
}

QTEST_MAIN(TestHlavni)
#include "Hlavni_test.moc"
