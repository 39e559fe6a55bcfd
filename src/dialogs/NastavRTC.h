#pragma once
// Unit NastavRTC (= set the real-time clock): shows the module's clock,
// refreshed several times a second, and sets it to this computer's local
// time on request. Each refresh is a job on the device worker; the timer
// is off while one runs, so refreshes never overlap, and the next one comes
// 200 ms after the last has answered. A press of "Nastavit systémový čas"
// only marks the request, which the next refresh carries out.
#include "OknoModulu.h"

class QLabel;
class QPushButton;

namespace vk::procedures {
struct TVysledekHodin;
}

class TFormNastavRTC : public TOknoModulu {
    Q_OBJECT

public:
    explicit TFormNastavRTC(QWidget* parent = nullptr);
    ~TFormNastavRTC() override;

    // Of the program state only Init is used. With none the timer does
    // nothing.

    void FormShow() override;
    void Button1Click();  // "Nastavit systémový čas"
    void Button2Click();  // "Cancel"
    void Timer1Timer();   // one refresh

    bool NastavitCas = false;  // set the clock at the next refresh

protected:
    void ZastavPraci() override { Obnova.Zastav(); }  // the refresh ends with the window

private:
    void Obnoveno(const vk::procedures::TVysledekHodin& v);  // the refresh has answered

    QLabel* Label1 = nullptr;
    QLabel* Panel1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    TObnovaOkna Obnova;  // its Timer1 drives the refresh
};
