#include "RestartZarizeni.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "PrikazyModulu.h"
#include "SdileneOvladace.h"

namespace {

constexpr char TextTitulek[] = " Restart modulu";
constexpr char TextOtazka[] = "Opravdu chcete restartovat modul ?";
constexpr char TextRestartovat[] = "Restartovat";
constexpr char TextCancel[] = "Cancel";

constexpr int VelikostZnaku = 48;  // the warning sign, in pixels
// The success text stays this long before the window closes itself.
constexpr std::int32_t PauzaPoRestartuMs = 1000;

// A yellow warning triangle with a black exclamation mark (znak = sign),
// drawn at the screen's pixel ratio so that it stays sharp.
QPixmap VystraznyZnak(qreal pomer)
{
    QPixmap znak(QSize(VelikostZnaku, VelikostZnaku) * pomer);
    znak.setDevicePixelRatio(pomer);
    znak.fill(Qt::transparent);
    QPainter p(&znak);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = VelikostZnaku;
    QPainterPath trojuhelnik;
    trojuhelnik.moveTo(s / 2, 3);
    trojuhelnik.lineTo(s - 2, s - 4);
    trojuhelnik.lineTo(2, s - 4);
    trojuhelnik.closeSubpath();
    p.setPen(QPen(QColor(0, 0, 0), 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(255, 204, 0));
    p.drawPath(trojuhelnik);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    QPainterPath carka;  // the stroke of the mark, wider at the top
    carka.moveTo(s / 2 - 3.2, 16);
    carka.lineTo(s / 2 + 3.2, 16);
    carka.lineTo(s / 2 + 1.6, 33);
    carka.lineTo(s / 2 - 1.6, 33);
    carka.closeSubpath();
    p.drawPath(carka);
    p.drawEllipse(QPointF(s / 2, 38.5), 2.8, 2.8);
    return znak;
}

}  // namespace

using namespace vk::ui;

TFormRestart::TFormRestart(QWidget* parent) : TOknoModulu(parent)
{
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setFixedSize(VelikostZnaku, VelikostZnaku);
    Image1->setPixmap(VystraznyZnak(devicePixelRatioF()));
    Label1 = Popisek(this, "Label1", TextOtazka);
    QFont tucne = Label1->font();
    tucne.setBold(true);
    Label1->setFont(tucne);
    Button1 = Tlacitko(this, "Button1", TextRestartovat);
    Button2 = Tlacitko(this, "Button2", TextCancel);
    Button2->setDefault(true);  // Enter must not restart the module

    auto* otazka = new QHBoxLayout;
    otazka->addWidget(Image1);
    otazka->addSpacing(12);
    otazka->addWidget(Label1, 1);
    auto* obsah = new QVBoxLayout;
    obsah->addLayout(otazka);
    obsah->addSpacing(12);
    obsah->addLayout(TlacitkaVpravo({Button1, Button2}));
    Sestav(TextTitulek, obsah);

    Uloha.Vypnout({Button1});
    connect(Button1, &QPushButton::clicked, this, &TFormRestart::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TFormRestart::Button2Click);
}

void TFormRestart::Button1Click()
{
    if (Bezi() || !Pripojeno())
        return;
    Uloha.Spust(
        [](vk::device::TVK7316R& modul, const vk::procedures::TOznameni& oznam) {
            return vk::procedures::RestartujModul(modul, true, oznam, PauzaPoRestartuMs);
        },
        [this](const vk::procedures::TVysledekPrikazu& v) { Restartovano(v); },
        [this](const std::string& t) { UkazStav(t); });
}

// The job has already held the success text for its second.
void TFormRestart::Restartovano(const vk::procedures::TVysledekPrikazu& v)
{
    UkazStav(v.Status, v.Pricina);
    if (v.Uspech)
        accept();
}

void TFormRestart::Button2Click()
{
    reject();
}
