#pragma once
// Unit DiagSystem (= system diagnostics): six live identity and run-time
// values of the connected module, read from sys.bin over and over while the
// window is open: one poll 100 ms after the previous one has answered.
#include <QDialog>

#include "Dekl.h"
#include "UlohaOkna.h"

class QGroupBox;
class QPushButton;
class QTableWidget;
class TPracovnikZarizeni;

namespace vk::procedures {
struct TVysledekKrokuSystem;
}
namespace vk::ui {
class TStavovyRadek;
}

class TFormDiagPrehled : public QDialog {
    Q_OBJECT

public:
    explicit TFormDiagPrehled(QWidget* parent = nullptr);

    vk::core::PData Dat = nullptr;            // only Init is used
    TPracovnikZarizeni* Pracovnik = nullptr;  // the device worker, owned by the opener

    void FormShow();
    void Timer1Timer();   // one poll
    void Button1Click();  // "Cancel"

    bool Bezi() const { return Obnova.Uloha.Bezi(); }  // a poll is running
    QString TextStavu() const;

    void done(int vysledek) override;  // polling ends with the window

protected:
    void showEvent(QShowEvent* udalost) override;

private:
    void Precteno(const vk::procedures::TVysledekKrokuSystem& v);  // the poll has answered

    QGroupBox* GroupBox1 = nullptr;
    QTableWidget* StringGrid1 = nullptr;
    QPushButton* Button1 = nullptr;
    vk::ui::TStavovyRadek* StatusBar1 = nullptr;
    TObnovaOkna Obnova;
};
