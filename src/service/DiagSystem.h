#pragma once
// Unit DiagSystem (= system diagnostics): six live identity and run-time
// values of the connected module, read from sys.bin over and over while the
// window is open: one poll 100 ms after the previous one has answered.
#include "OknoModulu.h"

class QGroupBox;
class QPushButton;
class QTableWidget;

namespace vk::procedures {
struct TVysledekKrokuSystem;
}

class TFormDiagPrehled : public TOknoModulu {
    Q_OBJECT

public:
    explicit TFormDiagPrehled(QWidget* parent = nullptr);

    // Of the program state only Init is used.

    void FormShow() override;
    void Timer1Timer();   // one poll
    void Button1Click();  // "Cancel"

protected:
    void ZastavPraci() override { Obnova.Zastav(); }  // polling ends with the window

private:
    void Precteno(const vk::procedures::TVysledekKrokuSystem& v);  // the poll has answered

    QGroupBox* GroupBox1 = nullptr;
    QTableWidget* StringGrid1 = nullptr;
    QPushButton* Button1 = nullptr;
    TObnovaOkna Obnova;
};
