#include "Hlavni.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QStatusBar>
#include <QStringList>
#include <QStyle>
#include <QTimer>
#include <QUrl>

#include <new>
#include <span>
#include <string>

#include "About.h"
#include "DiagLOG.h"
#include "DiagRS485.h"
#include "DiagSystem.h"
#include "NastavHlavniLinka.h"
#include "NastavLOG.h"
#include "NastavLanParam.h"
#include "NastavModbusTCP.h"
#include "NastavRTC.h"
#include "NastavServisniLinka.h"
#include "NastavVzdalenaSprava.h"
#include "Pripojeni.h"
#include "ProfilModulu.h"
#include "RestartZarizeni.h"
#include "Rozhrani.h"
#include "Spojeni.h"
#include "Stopa.h"
#include "U_VK7316R.h"
#include "UpgradeFW.h"

namespace {

using vk::core::TData;

// One item of a drop-down menu (polozka = item). Jmeno is the component
// name, which is also the object name tests look it up by; a "-" caption
// makes a separator.
struct TPolozkaMenu {
    const char* Jmeno;
    const char* Text;
    void (TForm1::*Prikaz)();  // null: an item without a command
    bool Skryta = false;       // hidden
    bool Zakazana = false;     // disabled
};

// One top-level menu (nabidka).
struct TNabidka {
    const char* Jmeno;
    const char* Text;
    std::span<const TPolozkaMenu> Polozky;
    bool Skryta = false;
    bool Zakazana = false;
};

// Hidden items stay in the menus with their commands so that the program can
// offer them again by a change of this table alone; in service mode (key
// Servis=1 in section [Program] of the settings file) every hidden or
// disabled item that has a command is offered, with its menu.
const TPolozkaMenu PolozkySoubor[] = {
    {"Nastkonfiguraci1", "Načíst konfiguraci", &TForm1::Nastkonfiguraci1Click},
    {"Uloitkonfiguraci1", "Uložit konfiguraci", &TForm1::Uloitkonfiguraci1Click},
    {"N5", "-", nullptr},
    {"UlozitProfil1", "Uložit profil modulu…", &TForm1::UlozitProfil1Click, true},
    {"ObnovitProfil1", "Obnovit profil modulu…", &TForm1::ObnovitProfil1Click, true},
    {"N1", "-", nullptr},
    {"Upgradefirmware2", "Upgrade firmware", &TForm1::Upgradefirmware2Click},
    {"N2", "-", nullptr, true},
    {"Konec1", "Konec", &TForm1::Konec1Click},
};

const TPolozkaMenu PolozkyPripojeni[] = {
    {"Pipojenmodulu1", "Připojení modulu", &TForm1::Pipojenmodulu1Click},
};

const TPolozkaMenu PolozkyKonfigurace[] = {
    {"NastavLAN", "Síťové parametry", &TForm1::NastavLANClick},
    {"NastavModbusTCP", "Protokol Modbus TCP", &TForm1::NastavModbusTCPClick},
    {"NastavHlavniLinkaRS485", "Modbus RTU master", &TForm1::NastavHlavniLinkaRS485Click},
    {"NastavServisniLinkaRS485", "Modbus RTU slave", &TForm1::NastavServisniLinkaRS485Click},
    {"Vzdlensprva1", "Vzdálená správa", &TForm1::Vzdlensprva1Click, true},
    {"SrverVentrik1", "Server Ventrik", nullptr, true},
    {"ProtokolSNMP1", "Protokol SNMP", nullptr, true},
    {"Logovn1", "Log událostí", &TForm1::Logovn1Click, true},
    {"Datumas1", "Datum, čas", &TForm1::Datumas1Click, true, true},
    {"N3", "-", nullptr},
    {"Restartzazen1", "Restart modulu", &TForm1::Restartzazen1Click},
};

const TPolozkaMenu PolozkyDiagnostika[] = {
    {"Pehled1", "Systém", &TForm1::Pehled1Click},
    {"RozhranRS4851", "Modbus RTU master", &TForm1::RozhranRS4851Click},
    {"ServerVK1", "Server Ventrik", nullptr, true},
    {"Logovn2", "Log událostí", &TForm1::Logovn2Click, true},
};

const TPolozkaMenu PolozkyNapoveda[] = {
    {"Npovda2", "Nápověda", &TForm1::Npovda2Click},
    {"N4", "-", nullptr, true},
    {"Oprogramu1", "O programu", &TForm1::Oprogramu1Click},
};

const TNabidka Nabidky[] = {
    {"Soubor1", "&Soubor", PolozkySoubor, true, true}, {"Pipojen1", "&Připojení", PolozkyPripojeni},
    {"Nastaven1", "&Konfigurace", PolozkyKonfigurace}, {"Diagnostika1", "&Diagnostika", PolozkyDiagnostika},
    {"Npovda1", "&Nápověda", PolozkyNapoveda},
};

// Component name of the help menu, which stands at the right end of the bar.
constexpr char JmenoNapovedy[] = "Npovda1";

// The bar at the right end of MainMenu1 that carries the help menu.
constexpr char JmenoPraveListy[] = "MainMenu1Vpravo";

// Settings of the two file dialogs. The filter text lists description and
// pattern alternately, separated by "|".
struct TSouborovyDialog {
    const char* Jmeno;
    const char* Filtr;
    const char* VychoziPripona;
    bool Ulozit;  // a save dialog
    // The dialog asks before a file is replaced; the configuration file asks
    // its own question instead (potvrdit prepsani = confirm overwrite).
    bool PotvrditPrepsani = false;
};

const TSouborovyDialog SouboroveDialogy[] = {
    {"OpenDialog1", "Konfigurace modulu  (*.cfm)|*.cfm|Všechny soubory  (*.*)  |*.*", "cfm", false},
    {"SaveDialog1", "Konfigurace modulu  (*.cfm)|*.cfm", "cfm", true},
    {"OpenDialog2", "Profil modulu  (*.json)|*.json|Všechny soubory  (*.*)  |*.*", "json", false},
    {"SaveDialog2", "Profil modulu  (*.json)|*.json", "json", true, true},
};

constexpr int SirkaPanelu0 = 300;
constexpr int SirkaPanelu1 = 200;
constexpr int MinSirka = 640;
constexpr int MinVyska = 480;
constexpr int PocatecniSirka = 800;
constexpr int PocatecniVyska = 600;

const char* const TextyOkna[] = {
    " VK-7316R  -  nastavení modulu",                             // 0 caption
    "Modul:",                                                     // 1 panel 0 at start
    "Adresa:",                                                    // 2 panel 1 at start
    " Nelze vytvořit datové struktury programu",                  // 3
    " Modul:  ",                                                  // 4
    " Adresa IP:  ",                                              // 5
    " Adresa modulu:  ",                                          // 6
    " Adresa:  ",                                                 // 7
    "Nenalezen soubor W_vk7316r_Napoveda.pdf",                    // 8
    "Nelze otevřít soubor %1: chybí program pro zobrazení PDF.",  // 9
};

QString Text(int index)
{
    return QString::fromUtf8(TextyOkna[index]);
}

}  // namespace

// Each entry becomes "description (patterns)", and the dialog shows only the
// description (HideNameFilterDetails; Qt collapses its runs of blanks), so
// the caption reads as the table has it while Qt gets patterns of its own.
// "*.*" means every file in the Windows filter syntax, but on POSIX it needs
// a dot in the name, so it becomes "*"; ";" between patterns becomes Qt's
// blank.
QStringList NazvoveFiltry(const QString& filtr)
{
    const QStringList casti = filtr.split(QLatin1Char('|'));
    QStringList filtry;
    for (qsizetype i = 0; i + 1 < casti.size(); i += 2) {
        QStringList masky = casti[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& maska : masky) {
            maska = maska.trimmed();
            if (maska == QLatin1String("*.*"))
                maska = QStringLiteral("*");
        }
        filtry.append(casti[i] + QStringLiteral(" (") + masky.join(QLatin1Char(' ')) + QLatin1Char(')'));
    }
    return filtry;
}

namespace {

// A file name as the core takes it: the bytes the file system knows it by.
std::string NazevProJadro(const QString& soubor)
{
    return QFile::encodeName(soubor).toStdString();
}

}  // namespace

TForm1::TForm1(TParametryOkna parametry, QWidget* parent)
    : QMainWindow(parent), Pracovnik(std::make_unique<TPracovnikZarizeni>(vk::device::Modul)),
      Parametry(std::move(parametry))
{
    setWindowTitle(Text(0));
    setMinimumSize(MinSirka, MinVyska);
    VytvorMenu();
    VytvorStavovyRadek();
    resize(PocatecniSirka, PocatecniVyska);
    if (QScreen* obrazovka = QGuiApplication::primaryScreen())
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), obrazovka->availableGeometry()));
    FormCreate();
}

TForm1::~TForm1()
{
    // A window destroyed without being closed still gives back what it took;
    // the settings are stored only by a close.
    if (!Zavreno) {
        Pracovnik->ZastavACekej();
        Pracovnik->ProvedACekej([](vk::device::TVK7316R& modul) { vk::procedures::Odpoj(modul); });
        Dat.reset();
        Pracovnik->ProvedACekej([](vk::device::TVK7316R&) { vk::procedures::UkonciSpojeni(); });
    }
    vk::link::ZavriStopu();
}

QMenu* TForm1::PridejNabidku(QMenuBar* lista, const char* jmeno, const QString& text)
{
    QMenu* nabidka = lista->addMenu(text);
    nabidka->setObjectName(QString::fromLatin1(jmeno));
    nabidka->menuAction()->setObjectName(QString::fromLatin1(jmeno));
    return nabidka;
}

QAction* TForm1::PridejPolozku(QMenu* menu, const char* jmeno, const QString& text, void (TForm1::*prikaz)())
{
    QAction* polozka = menu->addAction(text);
    polozka->setObjectName(QString::fromLatin1(jmeno));
    if (prikaz)
        connect(polozka, &QAction::triggered, this, [this, prikaz] { SpustPrikaz(prikaz); });
    return polozka;
}

QAction* TForm1::PridejOddelovac(QMenu* menu, const char* jmeno)
{
    QAction* oddelovac = menu->addSeparator();
    oddelovac->setObjectName(QString::fromLatin1(jmeno));
    return oddelovac;
}

void TForm1::VytvorMenu()
{
    MainMenu1 = menuBar();
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    // The help menu has to sit inside the window's own bar at its right end;
    // a global menu bar of the desktop would take the menus out of the window.
    MainMenu1->setNativeMenuBar(false);
    for (const TNabidka& n : Nabidky) {
        QMenu* nabidka = PridejNabidku(MainMenu1, n.Jmeno, QString::fromUtf8(n.Text));
        nabidka->menuAction()->setVisible(!n.Skryta);
        nabidka->menuAction()->setEnabled(!n.Zakazana);
        for (const TPolozkaMenu& p : n.Polozky) {
            QAction* polozka = std::string_view(p.Text) == "-"
                                   ? PridejOddelovac(nabidka, p.Jmeno)
                                   : PridejPolozku(nabidka, p.Jmeno, QString::fromUtf8(p.Text), p.Prikaz);
            polozka->setVisible(!p.Skryta);
            polozka->setEnabled(!p.Zakazana);
        }
    }
}

// Qt's menu bar cannot right-justify one of its menus. The help menu
// therefore moves into a second bar held as the corner widget at the right
// end of MainMenu1; it stays a real menu there, opened by its own Alt+N and
// by a click. Stepping with the arrow keys from the other menus does not
// reach it.
void TForm1::PresunNapovedu()
{
    auto* napoveda = MainMenu1->findChild<QMenu*>(QString::fromLatin1(JmenoNapovedy));
    if (!napoveda)
        return;
    auto* vpravo = new QMenuBar(MainMenu1);
    vpravo->setObjectName(QString::fromLatin1(JmenoPraveListy));
    vpravo->setNativeMenuBar(false);
    MainMenu1->removeAction(napoveda->menuAction());
    vpravo->addAction(napoveda->menuAction());
    MainMenu1->setCornerWidget(vpravo, Qt::TopRightCorner);
}

// A menu is offered when one of its items is; items without a command and
// separators keep the table's state.
void TForm1::OdkryjServisniPolozky()
{
    for (const TNabidka& n : Nabidky) {
        bool maPrikaz = false;
        for (const TPolozkaMenu& p : n.Polozky) {
            if (p.Prikaz == nullptr)
                continue;
            maPrikaz = true;
            auto* polozka = findChild<QAction*>(QString::fromLatin1(p.Jmeno));
            polozka->setVisible(true);
            polozka->setEnabled(true);
        }
        auto* nabidka = findChild<QMenu*>(QString::fromLatin1(n.Jmeno));
        if (maPrikaz && nabidka) {
            nabidka->menuAction()->setVisible(true);
            nabidka->menuAction()->setEnabled(true);
        }
    }
}

void TForm1::VytvorStavovyRadek()
{
    StatusBar1 = statusBar();
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(true);
    Panel0 = new QLabel(Text(1), StatusBar1);
    Panel0->setObjectName(QStringLiteral("StatusBar1Panel0"));
    Panel0->setFixedWidth(SirkaPanelu0);
    Panel1 = new QLabel(Text(2), StatusBar1);
    Panel1->setObjectName(QStringLiteral("StatusBar1Panel1"));
    Panel1->setFixedWidth(SirkaPanelu1);
    for (QLabel* panel : {Panel0, Panel1})
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    StatusBar1->addWidget(Panel0);
    StatusBar1->addWidget(Panel1);
}

void TForm1::FormCreate()
{
    PresunNapovedu();
    const auto nastaveni = Parametry.SouborNastaveni.value_or(vk::core::CestyNastaveni().Cteni);
    if (vk::core::ServisniRezim(nastaveni))
        OdkryjServisniPolozky();
    // A trace that cannot be written is told once; the program runs on
    // without it rather than refuse to start over a diagnostic aid.
    if (const std::string stopa = vk::core::CestaStopy(nastaveni); !stopa.empty()) {
        std::string chyba;
        if (!vk::link::OtevriStopu(stopa, chyba))
            OznamChybu(QString::fromStdString(chyba));
    }
    if (Parametry.VytvorData)
        Dat = Parametry.VytvorData();
    else
        Dat.reset(new (std::nothrow) TData());
    if (Dat) {
        vk::core::InicializaceDat(Dat.get());
        // A missing or unreadable settings file leaves the defaults in place.
        if (Parametry.SouborNastaveni)
            vk::core::NactiNastaveni(Dat.get(), *Parametry.SouborNastaveni);
        else
            vk::core::NactiNastaveni(Dat.get());
    } else {
        Panel0->setText(Text(3));
    }
    Pracovnik->ProvedACekej([](vk::device::TVK7316R& modul) { vk::procedures::ZacniSpojeni(modul); });
}

void TForm1::FormClose()
{
    if (Zavreno)
        return;
    Zavreno = true;
    if (OdmitaniModalnich)
        OdmitaniModalnich->stop();
    // A job still running is asked to end and has ended (within one slice of
    // its wait) before the port it may use is closed and the state it was
    // started from is released.
    Pracovnik->ZastavACekej();
    Pracovnik->ProvedACekej([](vk::device::TVK7316R& modul) { vk::procedures::Odpoj(modul); });
    if (Dat) {
        // A settings file that cannot be written keeps its old content; the
        // program ends all the same.
        if (Parametry.SouborNastaveni)
            vk::core::UlozNastaveni(Dat.get(), *Parametry.SouborNastaveni);
        else
            vk::core::UlozNastaveni(Dat.get());
        Dat.reset();
    }
    Pracovnik->ProvedACekej([](vk::device::TVK7316R&) { vk::procedures::UkonciSpojeni(); });
}

// A close asked for while a command runs in a modal window waits until the
// command has returned.
void TForm1::SpustPrikaz(void (TForm1::*prikaz)())
{
    ++BeziciPrikazy;
    (this->*prikaz)();
    --BeziciPrikazy;
    if (BeziciPrikazy == 0 && ZavritPoPrikazu)
        close();
}

void TForm1::PozadujZavreni()
{
    if (BeziciPrikazy == 0) {
        close();
        return;
    }
    ZavritPoPrikazu = true;
    OdmitniModalniOkno();
    // The command may show another modal window once the first returned
    // (an error after a file dialog), and nested windows go one at a time.
    if (!OdmitaniModalnich) {
        OdmitaniModalnich = new QTimer(this);
        OdmitaniModalnich->setInterval(20);
        connect(OdmitaniModalnich, &QTimer::timeout, this, &TForm1::OdmitniModalniOkno);
        OdmitaniModalnich->start();
    }
}

// Rejecting is the answer that changes nothing: a file dialog chooses no
// file, a question answers No.
void TForm1::OdmitniModalniOkno()
{
    QWidget* okno = QApplication::activeModalWidget();
    if (!okno)
        return;
    if (auto* dialog = qobject_cast<QDialog*>(okno))
        dialog->reject();
    else
        okno->close();
}

void TForm1::closeEvent(QCloseEvent* event)
{
    FormClose();
    event->accept();
}

void TForm1::AktualizujStavovyRadek()
{
    if (!Dat)
        return;
    if (Dat->Init) {
        Panel0->setText(Text(4) + QString::fromStdString(Dat->TypVerze));
        const auto& pripojeni = Dat->Pripojeni;
        if (pripojeni.Rozhrani == vk::common::RozhraniLAN)
            Panel1->setText(Text(5) + QString::fromStdString(pripojeni.LAN_IP));
        else
            Panel1->setText(Text(6) + QString::number(pripojeni.UART_Adresa));
    } else {
        Panel0->setText(Text(4));
        Panel1->setText(Text(7));
    }
}

QString TForm1::VyberSoubor(const char* jmenoDialogu)
{
    for (const TSouborovyDialog& d : SouboroveDialogy) {
        if (std::string_view(d.Jmeno) != jmenoDialogu)
            continue;
        QFileDialog dialog(this);
        dialog.setObjectName(QString::fromLatin1(d.Jmeno));
        dialog.setAcceptMode(d.Ulozit ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(d.Ulozit ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        if (d.Ulozit && !d.PotvrditPrepsani)
            dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        dialog.setNameFilters(NazvoveFiltry(QString::fromUtf8(d.Filtr)));
        dialog.setDefaultSuffix(QString::fromLatin1(d.VychoziPripona));
        return SpustSouborovyDialog(dialog);
    }
    return {};
}

QString TForm1::SpustSouborovyDialog(QFileDialog& dialog)
{
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList soubory = dialog.selectedFiles();
    return soubory.isEmpty() ? QString() : soubory.first();
}

bool TForm1::ZeptejSe(const QString& otazka)
{
    QMessageBox dotaz(QMessageBox::Question, QString::fromLatin1(TitulProgramu), otazka,
                      QMessageBox::Yes | QMessageBox::No, this);
    dotaz.setDefaultButton(QMessageBox::Yes);
    return dotaz.exec() == QMessageBox::Yes;
}

void TForm1::OznamZpravu(const QString& zprava)
{
    QMessageBox oznameni(QMessageBox::NoIcon, QString::fromLatin1(TitulProgramu), zprava, QMessageBox::Ok, this);
    oznameni.exec();
}

void TForm1::OznamChybu(const QString& chyba)
{
    QMessageBox oznameni(QMessageBox::Critical, QString::fromLatin1(TitulProgramu), chyba, QMessageBox::Ok, this);
    oznameni.exec();
}

void TForm1::Nastkonfiguraci1Click()
{
    if (!Dat)
        return;
    const QString soubor = VyberSoubor("OpenDialog1");
    if (soubor.isEmpty())
        return;
    std::string chyba;
    if (!vk::core::NactiKonfiguraci(Dat.get(), NazevProJadro(soubor), chyba))
        OznamChybu(QString::fromStdString(chyba));
}

void TForm1::Uloitkonfiguraci1Click()
{
    if (!Dat)
        return;
    const QString soubor = VyberSoubor("SaveDialog1");
    if (soubor.isEmpty())
        return;
    const vk::core::TDotazAnoNe dotaz = [this](const std::string& otazka) {
        return ZeptejSe(QString::fromStdString(otazka));
    };
    std::string chyba;
    if (!vk::core::UlozKonfiguraci(Dat.get(), NazevProJadro(soubor), dotaz, chyba))
        OznamChybu(QString::fromStdString(chyba));
}

// The two profile commands of service mode: the file is chosen here, the
// window does the rest.
void TForm1::UlozitProfil1Click()
{
    OtevriProfil(TFormProfilModulu::TRezim::Ulozit, "SaveDialog2");
}

void TForm1::ObnovitProfil1Click()
{
    OtevriProfil(TFormProfilModulu::TRezim::Obnovit, "OpenDialog2");
}

void TForm1::OtevriProfil(TFormProfilModulu::TRezim rezim, const char* jmenoDialogu)
{
    if (!Dat)
        return;
    const QString soubor = VyberSoubor(jmenoDialogu);
    if (soubor.isEmpty())
        return;
    TFormProfilModulu okno(rezim, soubor, this);
    okno.Dat = Dat.get();
    okno.NastavPracovnika(Pracovnik.get());
    okno.exec();
}

// The dialog leaves the program not connected unless an attempt in it
// succeeded, so the status bar is brought up to date on every close.
void TForm1::Pipojenmodulu1Click()
{
    if (!Dat)
        return;
    {
        TFormPripojeni okno(this);
        okno.Dat = Dat.get();
        okno.NastavPracovnika(Pracovnik.get());
        if (Parametry.SouborNastaveni)
            okno.SouborNastaveni = *Parametry.SouborNastaveni;
        okno.exec();
    }
    AktualizujStavovyRadek();
}

// A window opened from the menu works on the program state and through the
// device worker; a fresh one each time, gone when it closes.
template <class T>
void TForm1::OtevriDialog()
{
    if (!Dat)
        return;
    T okno(this);
    okno.Dat = Dat.get();
    okno.NastavPracovnika(Pracovnik.get());
    okno.exec();
}

void TForm1::NastavLANClick()
{
    OtevriDialog<TFormNastavLanParam>();
}
void TForm1::NastavModbusTCPClick()
{
    OtevriDialog<TFormNastavModbusTCP>();
}
void TForm1::NastavHlavniLinkaRS485Click()
{
    OtevriDialog<TFormNastavHlavniLinka>();
}
void TForm1::NastavServisniLinkaRS485Click()
{
    OtevriDialog<TFormNastavServisniLinka>();
}
void TForm1::Vzdlensprva1Click()
{
    OtevriDialog<TFormNastavVzdalenaSprava>();
}
void TForm1::Logovn1Click()
{
    OtevriDialog<TFormNastavLOG>();
}
void TForm1::Datumas1Click()
{
    OtevriDialog<TFormNastavRTC>();
}
void TForm1::RozhranRS4851Click()
{
    OtevriDialog<TFormDiagRS485>();
}
void TForm1::Pehled1Click()
{
    OtevriDialog<TFormDiagPrehled>();
}
void TForm1::Restartzazen1Click()
{
    OtevriDialog<TFormRestart>();
}
void TForm1::Logovn2Click()
{
    OtevriDialog<TFormDiagLOG>();
}
void TForm1::Upgradefirmware2Click()
{
    OtevriDialog<TFormUpgradeFW>();
}

// There is no separate help viewer to ask to quit here: the help document
// opens in the desktop's own viewer, which lives on by itself.
void TForm1::Konec1Click()
{
    close();
}

void TForm1::Npovda2Click()
{
    const QString napoveda = QString::fromLatin1(SouborNapovedy);
    const QFileInfo soubor(napoveda);  // relative: the current working directory
    if (soubor.exists() && soubor.isFile()) {
        // Qt reports only whether a viewer could be started (no xdg-open on
        // a bare system or in a container); what the viewer then does is its
        // own business. Without one the user learns where the guide lies.
        const QString cesta = soubor.absoluteFilePath();
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(cesta)))
            OznamZpravu(Text(9).arg(QDir::toNativeSeparators(cesta)));
        return;
    }
    OznamZpravu(Text(8));
}

void TForm1::Oprogramu1Click()
{
    TFormOProgramu okno(this);
    okno.exec();
}
