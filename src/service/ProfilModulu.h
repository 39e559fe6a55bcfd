#pragma once
// Unit ProfilModulu (= profile of the module): the service commands that
// keep a whole module's settings in one file and give them back, in the
// same file form as the command-line tool's backup and restore.
// - Saving reads every settings area the link reaches and writes the file.
// - Restoring first checks the file whole (a bad field means nothing is
//   sent), reads the module and lists every field that differs; the user
//   then writes only the differing areas, each verified as its dialog does,
//   the network area last because a new address ends a LAN link.
// Both run as jobs with a bar of the areas done; what happened is listed
// line by line, and a failed link's cause is the status bar's tooltip.
#include <QString>

#include "OknoModulu.h"
#include "Profil.h"

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

class TFormProfilModulu : public TOknoModulu {
    Q_OBJECT

public:
    enum class TRezim { Ulozit, Obnovit };  // save / restore (rezim = mode)

    // `soubor`: the profile file to write or to read.
    TFormProfilModulu(TRezim rezim, QString soubor, QWidget* parent = nullptr);

    // Saving starts, or restoring reads the file and compares, as soon as
    // the window is shown.
    void FormShow() override;
    void Button1Click();  // "Zapsat do modulu": writes the differing areas
    void Button2Click();  // "Zavřít"

private:
    struct TSber;  // the module's areas as a job read them
    // Reads every area the link reaches as a job, then `hotovo` (done).
    void PrectiModul(void (TFormProfilModulu::*hotovo)(const TSber& v));
    // The areas left out listed; false after a failed read, shown.
    bool Precteno(const TSber& v);
    void Ulozit();
    void Srovnat();
    void Ulozeno(const TSber& v);
    void Srovnano(const TSber& v);
    void Zapsano(const std::vector<vk::procedures::profil::TZapisOblasti>& zapsano);
    void Radek(const std::string& text);  // one line of the report
    void UkazPrubeh(std::uint64_t hotovo, std::uint64_t celkem);

    TRezim Rezim;
    QString Soubor;
    vk::procedures::profil::TProfil ProfilSouboru;  // restore: the file's settings
    vk::procedures::profil::TProfil ProfilModulu;   // restore: the module's, as compared

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;  // the file's path
    QProgressBar* ProgressBar1 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
};
