#pragma once
// Unit DiagLOG (= event log diagnostics): how many events the module's log
// holds, how full its memory is and the latest events, newest first; on
// request an archive of the whole log in the working directory and the
// clearing of the log in the module. Each poll is a job on the device
// worker, the next one 200 ms after the last has answered; the buttons only
// mark their request, which the next poll that reaches the module serves.
#include <array>
#include <cstdint>

#include "Dekl.h"
#include "LogZaznamy.h"
#include "OknoModulu.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace vk::procedures {
struct TVysledekKrokuLOG;
}

class TFormDiagLOG : public TOknoModulu {
    Q_OBJECT

public:
    explicit TFormDiagLOG(QWidget* parent = nullptr);
    ~TFormDiagLOG() override;

    // Of the program state Init, TypVerze and Pripojeni.LAN_IP are used.
    // With none the timer does nothing.

    void FormShow() override;
    void Button1Click();  // "Cancel"
    void Button2Click();  // "Uložit LOG"
    void Button3Click();  // "Vymazat LOG"
    void Timer1Timer();   // one poll

    bool fUlozitLOG = false;   // an archive is requested (uložit = save)
    bool fVymazatLOG = false;  // clearing is requested (vymazat = clear)
    // The change mark: the log header of the last poll that read it; all
    // zero after show, so that the first poll reads the latest records.
    std::array<std::uint8_t, vk::device::DelkaHlavickyLOG> PredchoziHlavicka{};

protected:
    void ZastavPraci() override { Obnova.Zastav(); }  // polling ends with the window

private:
    void Obslouzeno(const vk::procedures::TVysledekKrokuLOG& v);  // the poll has answered (obslouženo = served)
    void VratZadosti(bool ulozit, bool vymazat);  // the requests a poll did not serve (vrať žádosti = give back)

    QLabel* Label2 = nullptr;
    QLabel* Label4 = nullptr;
    QListWidget* ListBox1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    TObnovaOkna Obnova;  // its Timer1 drives the polls
};
