#pragma once
// Unit RestartZarizeni (= restart the device): asks the user to confirm a
// restart of the connected module and sends the restart command. After a
// success its text stays for one second, then the window closes by itself;
// after a failure it stays open for another try.
#include "OknoModulu.h"

class QLabel;
class QPushButton;

namespace vk::procedures {
struct TVysledekPrikazu;
}

class TFormRestart : public TOknoModulu {
    Q_OBJECT

public:
    explicit TFormRestart(QWidget* parent = nullptr);

    // Of the program state only Init is used.

    void Button1Click();  // "Restartovat"
    void Button2Click();  // "Cancel"

private:
    void Restartovano(const vk::procedures::TVysledekPrikazu& v);  // the command has answered

    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
};
