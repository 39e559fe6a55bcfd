#pragma once
// Unit DiagLOG (= event log diagnostics): how many events the module's log
// holds, how full its memory is and the latest events, newest first; on
// request an archive of the whole log in the working directory and the
// clearing of the log in the module. Each poll is a job on the device
// worker, the next one 200 ms after the last has answered; the buttons only
// mark their request, which the next poll that reaches the module serves.
#include <QDialog>

#include <array>
#include <cstdint>

#include "Dekl.h"
#include "LogZaznamy.h"
#include "UlohaOkna.h"

class QLabel;
class QListWidget;
class QPushButton;
class TPracovnikZarizeni;

namespace vk::procedures {
struct TVysledekKrokuLOG;
}
namespace vk::ui {
class TStavovyRadek;
}

class TFormDiagLOG : public QDialog {
    Q_OBJECT

public:
    explicit TFormDiagLOG(QWidget* parent = nullptr);
    ~TFormDiagLOG() override;

    // The program state: Init, TypVerze and Pripojeni.LAN_IP. With none the
    // timer does nothing.
    vk::core::PData Dat = nullptr;
    TPracovnikZarizeni* Pracovnik = nullptr;  // the device worker, owned by the opener

    void FormShow();
    void Button1Click();  // "Cancel"
    void Button2Click();  // "Uložit LOG"
    void Button3Click();  // "Vymazat LOG"
    void Timer1Timer();   // one poll

    bool Bezi() const { return Obnova.Uloha.Bezi(); }  // a poll is running
    QString TextStavu() const;

    bool fUlozitLOG = false;   // an archive is requested (uložit = save)
    bool fVymazatLOG = false;  // clearing is requested (vymazat = clear)
    // The change mark: the log header of the last poll that read it; all
    // zero after show, so that the first poll reads the latest records.
    std::array<std::uint8_t, vk::device::DelkaHlavickyLOG> PredchoziHlavicka{};

    // A running poll is stopped and waited for before the dialog closes.
    void done(int vysledek) override;

protected:
    void showEvent(QShowEvent* udalost) override;

private:
    void Obslouzeno(const vk::procedures::TVysledekKrokuLOG& v);  // the poll has answered (obslouženo = served)
    void VratZadosti(bool ulozit, bool vymazat);  // the requests a poll did not serve (vrať žádosti = give back)

    QLabel* Label2 = nullptr;
    QLabel* Label4 = nullptr;
    QListWidget* ListBox1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    vk::ui::TStavovyRadek* StatusBar1 = nullptr;
    TObnovaOkna Obnova;  // its Timer1 drives the polls
};
