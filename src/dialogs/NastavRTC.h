#pragma once
// Unit NastavRTC (= set the real-time clock): shows the module's clock,
// refreshed several times a second, and sets it to this computer's local
// time on request. Each refresh is a job on the device worker; the timer
// is off while one runs, so refreshes never overlap, and the next one comes
// 200 ms after the last has answered. A press of "Nastavit systémový čas"
// only marks the request, which the next refresh carries out.
#include <QDialog>

#include "Dekl.h"
#include "UlohaOkna.h"

class QLabel;
class QPushButton;
class TPracovnikZarizeni;

namespace vk::procedures {
struct TVysledekHodin;
}
namespace vk::ui {
class TStavovyRadek;
}

class TFormNastavRTC : public QDialog {
    Q_OBJECT

public:
    explicit TFormNastavRTC(QWidget* parent = nullptr);
    ~TFormNastavRTC() override;

    // The program state; only Init is used. With none the timer does
    // nothing.
    vk::core::PData Dat = nullptr;
    TPracovnikZarizeni* Pracovnik = nullptr;  // the device worker, owned by the opener

    void FormShow();
    void Button1Click();  // "Nastavit systémový čas"
    void Button2Click();  // "Cancel"
    void Timer1Timer();   // one refresh

    bool Bezi() const { return Obnova.Uloha.Bezi(); }  // a refresh is running
    QString TextStavu() const;
    bool NastavitCas = false;  // set the clock at the next refresh

    // A running refresh is stopped and waited for before the dialog closes.
    void done(int vysledek) override;

protected:
    void showEvent(QShowEvent* udalost) override;

private:
    void Obnoveno(const vk::procedures::TVysledekHodin& v);  // the refresh has answered

    QLabel* Label1 = nullptr;
    QLabel* Panel1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    vk::ui::TStavovyRadek* StatusBar1 = nullptr;
    TObnovaOkna Obnova;  // its Timer1 drives the refresh
};
