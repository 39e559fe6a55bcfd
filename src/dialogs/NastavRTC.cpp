#include "NastavRTC.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "Hodiny.h"
#include "OblastKonfigurace.h"
#include "SdileneOvladace.h"

namespace {

constexpr char TextTitulek[] = " Nastavení datumu a času";
constexpr char TextAktualni[] = "Aktuální datum a čas";
constexpr char TextNastavit[] = "Nastavit systémový čas";
constexpr char TextCancel[] = "Cancel";

constexpr int PrvniObnovaMs = 100;  // from the window's creation, and while not connected
constexpr int DalsiObnovaMs = 200;  // after the end of each refresh

}  // namespace

using namespace vk::ui;

TFormNastavRTC::TFormNastavRTC(QWidget* parent) : TOknoModulu(parent, false), Obnova(Uloha, PrvniObnovaMs)
{
    Label1 = Popisek(this, "Label1", TextAktualni);
    Panel1 = Popisek(this, "Panel1", vk::procedures::TextBezCasu);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setAlignment(Qt::AlignCenter);
    Panel1->setAutoFillBackground(true);
    QPalette bila = Panel1->palette();
    bila.setColor(QPalette::Window, Qt::white);
    bila.setColor(QPalette::WindowText, Qt::black);
    Panel1->setPalette(bila);
    QFont vetsi = Panel1->font();
    vetsi.setPointSizeF(vetsi.pointSizeF() * 1.6);
    Panel1->setFont(vetsi);
    // Room for the longest time, and for the not-connected message, which the
    // status bar does not widen the window for.
    const int sirkaCasu = QFontMetrics(vetsi).horizontalAdvance(QStringLiteral("28.12.2099   23:59:59")) + 24;
    const int sirkaZpravy =
        fontMetrics().horizontalAdvance(QString::fromUtf8(vk::procedures::TextBezPripojeni.data())) + 16;
    Panel1->setMinimumWidth(std::max(sirkaCasu, sirkaZpravy));
    Panel1->setMinimumHeight(QFontMetrics(vetsi).height() + 16);
    Button1 = Tlacitko(this, "Button1", TextNastavit);
    Button2 = Tlacitko(this, "Button2", TextCancel);

    auto* tlacitka = new QHBoxLayout;
    tlacitka->addWidget(Button1);
    tlacitka->addStretch();
    tlacitka->addWidget(Button2);
    auto* obsah = new QVBoxLayout;
    obsah->addWidget(Label1);
    obsah->addWidget(Panel1);
    obsah->addSpacing(6);
    obsah->addLayout(tlacitka);
    Sestav(TextTitulek, obsah);

    connect(Button1, &QPushButton::clicked, this, &TFormNastavRTC::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TFormNastavRTC::Button2Click);
    Obnova.Timer1.setObjectName(QStringLiteral("Timer1"));
    connect(&Obnova.Timer1, &QTimer::timeout, this, &TFormNastavRTC::Timer1Timer);
}

TFormNastavRTC::~TFormNastavRTC() = default;

void TFormNastavRTC::FormShow()
{
    Panel1->setText(QString::fromUtf8(vk::procedures::TextBezCasu));
    NastavitCas = false;
    UkazStav(" ");
}

void TFormNastavRTC::Button1Click()
{
    NastavitCas = true;
}

void TFormNastavRTC::Button2Click()
{
    reject();
}

void TFormNastavRTC::Timer1Timer()
{
    if (Bezi() || !Pripojeno())
        return;
    const bool nastavit = NastavitCas;
    NastavitCas = false;
    Obnova.Spust(
        [nastavit](vk::device::TVK7316R& modul, const vk::procedures::TOznameni& oznam) {
            return vk::procedures::ObnovHodiny(modul, true, nastavit, oznam);
        },
        [this](const vk::procedures::TVysledekHodin& v) { Obnoveno(v); },
        // " OK" comes several times a second: it needs no repaint of its own.
        [this](const std::string& t) { UkazStav(t, t != vk::procedures::TextOK); }, DalsiObnovaMs);
}

void TFormNastavRTC::Obnoveno(const vk::procedures::TVysledekHodin& v)
{
    if (!v.Panel1.empty())
        Panel1->setText(Q(v.Panel1));
    UkazStav(v.Status, v.Pricina, false);
}
