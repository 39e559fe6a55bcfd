#pragma once
// Unit Hlavni (= main): the main window TForm1. It owns the one program state
// record for the whole run, opens every dialog from its menu and shows in its
// status bar which module is connected.
#include <QMainWindow>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "Dekl.h"
#include "PracovnikZarizeni.h"
#include "ProfilModulu.h"

class QAction;
class QFileDialog;
class QLabel;
class QMenu;
class QMenuBar;
class QStatusBar;
class QTimer;

// The program's title: the application name and the caption of every plain
// message box.
inline constexpr char TitulProgramu[] = "W_vk7316r";

// Help document (Napoveda = help), looked up by its bare name in the current
// working directory.
inline constexpr char SouborNapovedy[] = "W_vk7316r_Napoveda.pdf";

// Qt name filters (nazvove filtry) from a file dialog's filter text, which
// lists description and pattern alternately, separated by "|". The dialog
// must show them with QFileDialog::HideNameFilterDetails.
QStringList NazvoveFiltry(const QString& filtr);

// What a test may change about where the main window keeps its state
// (Parametry okna = window parameters).
struct TParametryOkna {
    // Settings file; the program's own location when empty.
    std::optional<std::filesystem::path> SouborNastaveni;
    // Makes the program state record; a plain allocation when empty. Lets a
    // test see the window come up without one.
    std::function<std::unique_ptr<vk::core::TData>()> VytvorData;
};

class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    explicit TForm1(TParametryOkna parametry = {}, QWidget* parent = nullptr);
    ~TForm1() override;

    // The program state, owned for the whole run and released when the window
    // closes; every dialog gets Dat.get(). Null when it could not be made.
    std::unique_ptr<vk::core::TData> Dat;

    // The device worker (pracovnik = worker), made with the window and
    // ended with it, after the closing steps: every dialog submits its
    // device work to it, and the window's own steps on the connection record
    // (the reset at start, closing the port) run on it as well.
    std::unique_ptr<TPracovnikZarizeni> Pracovnik;

    // Status bar (stavovy radek) from the connection state in Dat: module
    // type and version and the address it was reached at, or the empty
    // labels when no module is connected. Run after the connection dialog.
    void AktualizujStavovyRadek();

    // Closes the window as its close box does, also while a menu command
    // waits in a modal window (a signal that ends the program): the modal
    // windows are rejected, and the window closes once the command has
    // returned, so no command goes on with the program state released
    // (pozadavek zavreni = close request).
    void PozadujZavreni();

    // Menu commands (the menu item's name followed by Click).
    void Nastkonfiguraci1Click();   // load a configuration file
    void Uloitkonfiguraci1Click();  // save a configuration file
    void UlozitProfil1Click();      // save a whole-module profile (service mode)
    void ObnovitProfil1Click();     // restore a whole-module profile (service mode)
    void Upgradefirmware2Click();
    void Konec1Click();          // end (konec) the program
    void Pipojenmodulu1Click();  // connect to a module (pripojeni modulu)
    void NastavLANClick();
    void NastavModbusTCPClick();
    void NastavHlavniLinkaRS485Click();    // master line (hlavni linka)
    void NastavServisniLinkaRS485Click();  // slave line (servisni linka)
    void Vzdlensprva1Click();              // remote management (vzdalena sprava)
    void Logovn1Click();                   // event logging (logovani)
    void Datumas1Click();                  // module date and time (datum, cas)
    void Restartzazen1Click();             // restart the module (restart zarizeni)
    void Pehled1Click();                   // system overview (prehled)
    void RozhranRS4851Click();             // master line diagnostics (rozhrani RS485)
    void Logovn2Click();                   // event log window
    void Npovda2Click();                   // open the help document (napoveda)
    void Oprogramu1Click();                // about window (o programu)
    template <class T>
    void OtevriDialog();  // opens (otevri) a dialog working on Dat through the worker

protected:
    void closeEvent(QCloseEvent* event) override;

    // The standard windows the commands ask through; a test overrides them to
    // answer without a user.
    // Runs a file dialog; the chosen file name, empty when cancelled.
    virtual QString SpustSouborovyDialog(QFileDialog& dialog);
    // Yes/No question, Yes the default; true for Yes (dotaz = question).
    virtual bool ZeptejSe(const QString& otazka);
    // A notice with one OK button (zprava = message).
    virtual void OznamZpravu(const QString& zprava);
    // A file error (chyba = error).
    virtual void OznamChybu(const QString& chyba);

private:
    void OtevriProfil(TFormProfilModulu::TRezim rezim, const char* jmenoDialogu);
    void VytvorMenu();
    void VytvorStavovyRadek();
    void PresunNapovedu();
    void OdkryjServisniPolozky();
    // Runs the file dialog named OpenDialog1 or SaveDialog1, made afresh so
    // that no earlier file name is offered; the chosen name or empty.
    QString VyberSoubor(const char* jmenoDialogu);
    void FormCreate();
    void FormClose();

    QAction* PridejPolozku(QMenu* menu, const char* jmeno, const QString& text, void (TForm1::*prikaz)());
    QAction* PridejOddelovac(QMenu* menu, const char* jmeno);
    QMenu* PridejNabidku(QMenuBar* lista, const char* jmeno, const QString& text);
    void SpustPrikaz(void (TForm1::*prikaz)());  // runs (spust) a menu command
    void OdmitniModalniOkno();                   // rejects (odmitni) the active modal window

    TParametryOkna Parametry;
    bool Zavreno = false;                 // the closing steps have run
    int BeziciPrikazy = 0;                // menu commands running, nested through modal windows
    bool ZavritPoPrikazu = false;         // close when the running command returns
    QTimer* OdmitaniModalnich = nullptr;  // keeps rejecting modal windows until then

    QMenuBar* MainMenu1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* Panel0 = nullptr;  // module
    QLabel* Panel1 = nullptr;  // address
};
