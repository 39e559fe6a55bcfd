#pragma once
// Unit RestartZarizeni (= restart the device): asks the user to confirm a
// restart of the connected module and sends the restart command. After a
// success its text stays for one second, then the window closes by itself;
// after a failure it stays open for another try.
#include <QDialog>

#include "Dekl.h"
#include "UlohaOkna.h"

class QLabel;
class QPushButton;
class TPracovnikZarizeni;

namespace vk::procedures {
struct TVysledekPrikazu;
}
namespace vk::ui {
class TStavovyRadek;
}

class TFormRestart : public QDialog {
    Q_OBJECT

public:
    explicit TFormRestart(QWidget* parent = nullptr);

    vk::core::PData Dat = nullptr;            // only Init is used
    TPracovnikZarizeni* Pracovnik = nullptr;  // the device worker, owned by the opener

    void Button1Click();  // "Restartovat"
    void Button2Click();  // "Cancel"

    bool Bezi() const { return Uloha.Bezi(); }
    QString TextStavu() const;

    // A running restart is stopped and waited for before the window closes.
    void done(int vysledek) override;

private:
    void Restartovano(const vk::procedures::TVysledekPrikazu& v);  // the command has answered

    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    vk::ui::TStavovyRadek* StatusBar1 = nullptr;
    TUlohaOkna Uloha{this, Pracovnik};
};
