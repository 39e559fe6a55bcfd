#pragma once
// Unit DiagRS485 (= RS-485 diagnostics): the traffic counters of the
// module's Modbus RTU master line and a chart of the line load over the
// last 180 seconds, polled while the window is open; "Vymazat" asks the next
// poll to reset the module's diagnostic counters first.
#include <cstdint>

#include "OknoModulu.h"

class QAreaSeries;
class QChartView;
class QGroupBox;
class QLineSeries;
class QPushButton;
class QTableWidget;

namespace vk::procedures {
struct TVysledekKrokuRS485;
}

class TFormDiagRS485 : public TOknoModulu {
    Q_OBJECT

public:
    explicit TFormDiagRS485(QWidget* parent = nullptr);

    // Of the program state only Init is used.

    void FormShow() override;
    void Timer1Timer();   // one poll
    void Button1Click();  // "Cancel"
    void Button2Click();  // "Vymazat"

    bool fVymazat = false;  // the next poll resets the counters first
    // The module's write index the chart was last drawn for.
    std::int32_t PredchoziIndex = 0;

protected:
    void ZastavPraci() override { Obnova.Zastav(); }  // polling ends with the window

private:
    void VytvorGraf();
    void Obslouzeno(const vk::procedures::TVysledekKrokuRS485& v, bool vymazat);  // the poll has answered

    QGroupBox* GroupBox1 = nullptr;
    QTableWidget* StringGrid1 = nullptr;
    QPushButton* Button2 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QChartView* Chart1 = nullptr;
    QLineSeries* Series1 = nullptr;  // the line the load area lies under
    QAreaSeries* Plocha = nullptr;   // the filled area (plocha = area)
    QPushButton* Button1 = nullptr;
    TObnovaOkna Obnova;
};
