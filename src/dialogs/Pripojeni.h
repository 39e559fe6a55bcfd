#pragma once
// Unit Pripojeni (= connection): the connection dialog TFormPripojeni, where
// the user chooses the serial port or the LAN, enters the link parameters
// and has the module identified. The attempt itself runs as a job on the
// device worker; the dialog only puts its controls into a record, shows the
// status texts as they come and applies the result. "Vyhledat" searches the
// serial line for the module's rate and parity at the address entered, as
// a job too, and fills the fields with what it finds; it connects nothing.
#include <filesystem>
#include <string>

#include "OknoModulu.h"

namespace vk::procedures {
struct TOknoPripojeni;
struct TVysledekPripojeni;
struct TVysledekHledani;
}  // namespace vk::procedures

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

class TFormPripojeni : public TOknoModulu {
    Q_OBJECT

public:
    explicit TFormPripojeni(QWidget* parent = nullptr);
    ~TFormPripojeni() override;

    // Without the program state the dialog shows its controls as laid out
    // and does nothing on show or on "Inicializace připojení"; without a
    // device worker no attempt is made. The attempt is the dialog's job:
    // Button1 is disabled while it runs, and closing stops it first.

    // The settings file whose "Porty" section maps COM numbers to devices;
    // the program's own settings file when empty.
    std::filesystem::path SouborNastaveni;

    void FormShow() override;
    void ComboBox1Change();  // the interface list changed
    void Button1Click();     // "Inicializace připojení"
    void Button2Click();     // "Cancel"
    void Button3Click();     // "Vyhledat", or "Zastavit" while the search runs

protected:
    // Also puts the search's controls back: a search stopped by a close
    // leaves no result to do it.
    void ZastavPraci() override;

private:
    void VytvorOvladace();
    vk::procedures::TOknoPripojeni PrectiOkno() const;
    std::filesystem::path CestaNastaveni() const;
    // Panel1, the dialog's status, painted at once; on hovering, why the
    // link failed (pricina = cause), no tooltip without one.
    void UkazPanel(const std::string& text, const std::string& pricina = {});
    // The hint beside Edit3: the device, or why it did not open, and after
    // an attempt the reply's silence when it is not the baud code's.
    void UkazZarizeni(const std::string& duvod = {}, const std::string& odezva = {});
    void Dokonceno(const vk::procedures::TVysledekPripojeni& v);  // the attempt's result arrived
    void Nalezeno(const vk::procedures::TVysledekHledani& v);     // the search's result arrived (nalezeno = found)
    void UkazHledani(bool bezi);  // Button3's text and the progress bar for a search that runs or not
    void PovolHledani();          // Button3 usable: UART chosen and no attempt running (povol = enable)

    QLabel* Label4 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QComboBox* ComboBox2 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLabel* Label5 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLabel* LabelZarizeni = nullptr;  // the device the COM number leads to
    QLabel* Label6 = nullptr;
    QComboBox* ComboBox3 = nullptr;
    QLabel* Label7 = nullptr;
    QComboBox* ComboBox4 = nullptr;
    QLabel* Label8 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QLabel* Label9 = nullptr;
    QLineEdit* Edit5 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Panel1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    bool HledaniBezi = false;  // a search runs (not the attempt)
};
