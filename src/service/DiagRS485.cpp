#include "DiagRS485.h"

#include <QAreaSeries>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineSeries>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>

#include "Graf.h"
#include "SdileneOvladace.h"

namespace {

constexpr char TextTitulek[] = " Diagnostika linky Modbus RTU master";
constexpr char TextPrehled[] = " Přehled ";
constexpr char TextZpravy[] = "Celkový počet zpráv";
constexpr char TextChyby[] = "Celkový počet chybných zpráv";
constexpr char TextNegativni[] = "Celkový počet negativních odpovědí";
constexpr char TextRychlost[] = "Rychlost zpráv [zprávy/s]";
constexpr char TextVytizeni[] = "Vytížení linky master [%]";
constexpr char TextVymazat[] = "Vymazat";
constexpr char TextGraf[] = " Graf ";
constexpr char TextTitulekGrafu[] = "Vytížení linky master  [%]";
constexpr char TextOsaX[] = "[sek]";
constexpr char TextCancel[] = "Cancel";

constexpr int PrvniObnovaMs = 10;  // the first poll comes quickly
constexpr int ObnovaMs = 100;      // then one 100 ms after the previous answered

const QColor BarvaPlochy(236, 245, 251);  // fill under the line
const QColor BarvaCary(0, 128, 255);      // the line

constexpr int SirkaGrafu = 780;
constexpr int VyskaGrafu = 260;

// Dashed grid lines in the axis's own grid colour.
void CarkovanaMrizka(QAbstractAxis* osa)
{
    QPen pero = osa->gridLinePen();
    pero.setStyle(Qt::DashLine);
    osa->setGridLinePen(pero);
    osa->setGridLineVisible(true);
    osa->setMinorGridLineVisible(false);
}

}  // namespace

using namespace vk::ui;

TFormDiagRS485::TFormDiagRS485(QWidget* parent) : TOknoModulu(parent, false), Obnova(Uloha, PrvniObnovaMs)
{
    GroupBox1 = new QGroupBox(QString::fromUtf8(TextPrehled), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    StringGrid1 = TabulkaHodnot(GroupBox1, "StringGrid1",
                                {TextZpravy, TextChyby, TextNegativni, TextRychlost, TextVytizeni}, 341, -1);
    Button2 = Tlacitko(GroupBox1, "Button2", TextVymazat);
    auto* prehled = new QVBoxLayout(GroupBox1);
    prehled->addWidget(StringGrid1);
    prehled->addLayout(TlacitkaVpravo({Button2}));

    GroupBox2 = new QGroupBox(QString::fromUtf8(TextGraf), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    VytvorGraf();
    auto* graf = new QVBoxLayout(GroupBox2);
    graf->addWidget(Chart1);

    Button1 = Tlacitko(this, "Button1", TextCancel);
    auto* obsah = new QVBoxLayout;
    obsah->addWidget(GroupBox1);
    obsah->addWidget(GroupBox2);
    obsah->addLayout(TlacitkaVpravo({Button1}));
    Sestav(TextTitulek, obsah);

    Obnova.Timer1.setObjectName(QStringLiteral("Timer1"));
    connect(&Obnova.Timer1, &QTimer::timeout, this, &TFormDiagRS485::Timer1Timer);
    connect(Button1, &QPushButton::clicked, this, &TFormDiagRS485::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TFormDiagRS485::Button2Click);
}

// The load of the last 180 seconds: second 0 (oldest) at the left, 179
// (newest) at the right, labelled as seconds before now.
void TFormDiagRS485::VytvorGraf()
{
    Series1 = new QLineSeries;
    Series1->setObjectName(QStringLiteral("Series1"));
    QList<QPointF> nuly;
    for (std::size_t i = 0; i < vk::procedures::PocetBoduGrafu; ++i)
        nuly.append(QPointF(double(i), 0.0));
    Series1->replace(nuly);
    Plocha = new QAreaSeries(Series1);
    // The area does not own the line it lies under; the chart owns the area.
    Series1->setParent(Plocha);
    Plocha->setObjectName(QStringLiteral("Plocha"));
    Plocha->setBrush(BarvaPlochy);
    Plocha->setPen(QPen(BarvaCary, 1.0));
    Plocha->setPointsVisible(false);

    auto* graf = new QChart;
    graf->addSeries(Plocha);
    graf->setTitle(QString::fromUtf8(TextTitulekGrafu));
    graf->setTitleBrush(Qt::black);
    graf->legend()->hide();
    graf->setBackgroundBrush(palette().color(QPalette::Light));
    graf->setAnimationOptions(QChart::NoAnimation);

    auto* osaX = new QCategoryAxis;
    osaX->setObjectName(QStringLiteral("OsaX"));
    osaX->setRange(0, double(vk::procedures::PocetBoduGrafu - 1));
    osaX->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    osaX->append(QStringLiteral("180"), 0);
    for (int pred = 170; pred >= 10; pred -= 10)
        osaX->append(QString::number(pred), 180 - pred);
    osaX->append(QStringLiteral("0"), double(vk::procedures::PocetBoduGrafu - 1));
    osaX->setTitleText(QString::fromUtf8(TextOsaX));
    osaX->setLineVisible(false);
    // Three digits every ten seconds: a smaller font keeps them whole.
    QFont popisky = osaX->labelsFont();
    popisky.setPointSizeF(popisky.pointSizeF() * 0.85);
    osaX->setLabelsFont(popisky);
    CarkovanaMrizka(osaX);

    auto* osaY = new QValueAxis;
    osaY->setObjectName(QStringLiteral("OsaY"));
    osaY->setRange(0, 100);
    osaY->setTickCount(6);  // every 20 %
    osaY->setMinorTickCount(0);
    osaY->setLabelFormat(QStringLiteral("%d"));
    CarkovanaMrizka(osaY);

    graf->addAxis(osaX, Qt::AlignBottom);
    graf->addAxis(osaY, Qt::AlignLeft);
    Plocha->attachAxis(osaX);
    Plocha->attachAxis(osaY);

    Chart1 = new QChartView(graf, GroupBox2);
    Chart1->setObjectName(QStringLiteral("Chart1"));
    Chart1->setRenderHint(QPainter::Antialiasing);
    Chart1->setInteractive(false);
    Chart1->setRubberBand(QChartView::NoRubberBand);
    Chart1->setAttribute(Qt::WA_TransparentForMouseEvents);
    Chart1->setFixedSize(SirkaGrafu, VyskaGrafu);
}

void TFormDiagRS485::FormShow()
{
    if (!Dat)
        return;
    fVymazat = false;
    PredchoziIndex = vk::procedures::ZadnyIndexGrafu;
    UkazStav(" ");
}

void TFormDiagRS485::Timer1Timer()
{
    if (Bezi() || !Pripojeno())
        return;
    vk::procedures::TKrokRS485 krok;
    krok.Init = true;
    krok.Vymazat = fVymazat;
    krok.PredchoziIndex = PredchoziIndex;
    // A press of "Vymazat" while this poll runs is served by the next one.
    fVymazat = false;
    Obnova.Spust(
        [krok](vk::device::TVK7316R& modul, const vk::procedures::TOznameni& oznam) {
            return vk::procedures::KrokRS485(modul, krok, oznam);
        },
        [this, vymazat = krok.Vymazat](const vk::procedures::TVysledekKrokuRS485& v) { Obslouzeno(v, vymazat); },
        [this](const std::string& t) { UkazStav(t); }, ObnovaMs);
}

void TFormDiagRS485::Obslouzeno(const vk::procedures::TVysledekKrokuRS485& v, bool vymazat)
{
    // A poll that stopped at the connection check did not serve the reset.
    if (!v.Provedeno && vymazat)
        fVymazat = true;
    if (v.Citace)
        for (int radek = 0; radek < static_cast<int>(v.Hodnoty.size()); ++radek)
            NastavHodnotu(StringGrid1, radek, v.Hodnoty[static_cast<std::size_t>(radek)]);
    if (v.Prekreslit) {
        QList<QPointF> body;
        body.reserve(static_cast<qsizetype>(v.Body.size()));
        for (const auto& b : v.Body)
            body.append(QPointF(b.X, b.Y));
        Series1->replace(body);
    }
    PredchoziIndex = v.PredchoziIndex;
    UkazStav(v.Status, v.Pricina);
}

void TFormDiagRS485::Button2Click()
{
    if (Pripojeno())
        fVymazat = true;
}

void TFormDiagRS485::Button1Click()
{
    Obnova.Timer1.stop();
    reject();
}
