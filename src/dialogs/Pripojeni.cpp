#include "Pripojeni.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

// The dialog's own header shares the unit name with the procedure's.
#include "Hledani.h"
#include "OblastKonfigurace.h"
#include "PokusPripojeni.h"
#include "SdileneOvladace.h"

using namespace vk::ui;

namespace {

using vk::procedures::TOknoPripojeni;
using vk::procedures::TVysledekPripojeni;

constexpr char TextTitulku[] = "Připojení modulu";
constexpr char TextRozhrani[] = "Rozhraní";
constexpr char TextIPAdresy[] = "IP adresa modulu";
constexpr char TextLanTimeoutu[] = "LAN timeout [ms]";
constexpr char TextCislaCOM[] = "Číslo COM portu";
constexpr char TextRychlosti[] = "Komunikační rychlost";
constexpr char TextParity[] = "Parita";
constexpr char TextUartTimeoutu[] = "UART timeout [ms]";
constexpr char TextAdresyModulu[] = "Adresa modulu";
constexpr char TextStatusu[] = "Status připojení";
constexpr char TextTlacitkaInicializace[] = "Inicializace připojení";
constexpr char TextTlacitkaCancel[] = "Cancel";
constexpr char TextTlacitkaVyhledat[] = "Vyhledat";
constexpr char TextTlacitkaZastavit[] = "Zastavit";

constexpr char TextUART[] = "UART";
constexpr char TextLAN[] = "LAN";
constexpr char TextIPv4[] = "IPv4";
constexpr char TextIPv6[] = "IPv6";

QString Text(const char* text)
{
    return QString::fromUtf8(text);
}

}  // namespace

TFormPripojeni::TFormPripojeni(QWidget* parent) : TOknoModulu(parent)
{
    setWindowTitle(Text(TextTitulku));
    VytvorOvladace();
    ComboBox1Change();
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, [this] { ComboBox1Change(); });
    connect(Edit3, &QLineEdit::textChanged, this, [this] { UkazZarizeni(); });
    connect(Button1, &QPushButton::clicked, this, &TFormPripojeni::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TFormPripojeni::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TFormPripojeni::Button3Click);
}

TFormPripojeni::~TFormPripojeni() = default;

void TFormPripojeni::VytvorOvladace()
{
    Label4 = Popisek(this, "Label4", TextRozhrani);
    ComboBox1 = Seznam(this, "ComboBox1", {TextUART, TextLAN}, 0);
    Label1 = Popisek(this, "Label1", TextIPAdresy);
    Edit1 = PoleIP6(this, "Edit1");
    ComboBox2 = Seznam(this, "ComboBox2", {TextIPv4, TextIPv6}, 0);
    ComboBox2->setVisible(false);
    ComboBox2->setEnabled(false);
    Label2 = Popisek(this, "Label2", TextLanTimeoutu);
    Edit2 = PoleTextu(this, "Edit2");
    Label5 = Popisek(this, "Label5", TextCislaCOM);
    Edit3 = PoleTextu(this, "Edit3");
    LabelZarizeni = new QLabel(this);
    LabelZarizeni->setObjectName(QStringLiteral("LabelZarizeni"));
    LabelZarizeni->setWordWrap(true);
    QFont mensi = LabelZarizeni->font();
    mensi.setPointSizeF(mensi.pointSizeF() * 0.85);
    LabelZarizeni->setFont(mensi);
    Label6 = Popisek(this, "Label6", TextRychlosti);
    ComboBox3 = SeznamRychlosti(this, "ComboBox3");
    Label7 = Popisek(this, "Label7", TextParity);
    ComboBox4 = SeznamParity(this, "ComboBox4");
    Label8 = Popisek(this, "Label8", TextUartTimeoutu);
    Edit4 = PoleTextu(this, "Edit4");
    Label9 = Popisek(this, "Label9", TextAdresyModulu);
    Edit5 = PoleTextu(this, "Edit5");
    Label3 = Popisek(this, "Label3", TextStatusu);
    Panel1 = new QLabel(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Panel1->setAutoFillBackground(true);
    QPalette bila = Panel1->palette();
    bila.setColor(QPalette::Window, Qt::white);
    bila.setColor(QPalette::WindowText, Qt::black);
    Panel1->setPalette(bila);
    Panel1->setMinimumWidth(420);
    Button1 = new QPushButton(Text(TextTlacitkaInicializace), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(Text(TextTlacitkaCancel), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Uloha.Vypnout({Button1});
    Button3 = new QPushButton(Text(TextTlacitkaVyhledat), this);
    Button3->setObjectName(QStringLiteral("Button3"));
    // Wide enough for either of its texts, so that it does not jump.
    Button3->setMinimumWidth(std::max(
        Button3->sizeHint().width(), QFontMetrics(Button3->font()).horizontalAdvance(Text(TextTlacitkaZastavit)) + 24));
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setMaximumWidth(Button3->minimumWidth());
    // Hidden between searches, but its room kept: the dialog has a fixed size.
    QSizePolicy misto = ProgressBar1->sizePolicy();
    misto.setRetainSizeWhenHidden(true);
    ProgressBar1->setSizePolicy(misto);
    ProgressBar1->setVisible(false);

    auto* mrizka = new QGridLayout;
    int radek = 0;
    const auto pridej = [&](QWidget* popisek, QWidget* pole) {
        mrizka->addWidget(popisek, radek, 0);
        mrizka->addWidget(pole, radek, 1);
        ++radek;
    };
    pridej(Label4, ComboBox1);
    pridej(Label1, Edit1);
    mrizka->addWidget(ComboBox2, radek++, 1);
    pridej(Label2, Edit2);
    pridej(Label5, Edit3);
    mrizka->addWidget(LabelZarizeni, radek++, 1);
    mrizka->addWidget(Button3, radek, 2);
    pridej(Label6, ComboBox3);
    mrizka->addWidget(ProgressBar1, radek, 2);
    pridej(Label7, ComboBox4);
    pridej(Label8, Edit4);
    pridej(Label9, Edit5);

    auto* tlacitka = new QHBoxLayout;
    tlacitka->addWidget(Button1);
    tlacitka->addStretch();
    tlacitka->addWidget(Button2);

    auto* hlavni = new QVBoxLayout(this);
    hlavni->addLayout(mrizka);
    hlavni->addSpacing(8);
    hlavni->addWidget(Label3);
    hlavni->addWidget(Panel1);
    hlavni->addSpacing(8);
    hlavni->addLayout(tlacitka);
    hlavni->setSizeConstraint(QLayout::SetFixedSize);
}

void TFormPripojeni::FormShow()
{
    if (!Dat)
        return;
    vk::procedures::OpravRozhrani(Dat->Pripojeni);
    const TOknoPripojeni o = vk::procedures::ZapisOkno(Dat->Pripojeni);
    ComboBox1->setCurrentIndex(o.ComboBox1);
    Edit1->setText(Q(o.Edit1));
    ComboBox2->setCurrentIndex(o.ComboBox2);
    Edit2->setText(Q(o.Edit2));
    Edit3->setText(Q(o.Edit3));
    ComboBox3->setCurrentIndex(o.ComboBox3);
    ComboBox4->setCurrentIndex(o.ComboBox4);
    Edit4->setText(Q(o.Edit4));
    Edit5->setText(Q(o.Edit5));
    ComboBox1Change();
    Dat->Init = false;
    UkazPanel(Dat->SPripojeni);
}

void TFormPripojeni::ComboBox1Change()
{
    const bool uart = ComboBox1->currentIndex() == 0;
    for (QWidget* w : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(Label2), static_cast<QWidget*>(Edit1),
                       static_cast<QWidget*>(Edit2), static_cast<QWidget*>(ComboBox2)})
        w->setEnabled(!uart);
    for (QWidget* w : {static_cast<QWidget*>(Label5), static_cast<QWidget*>(Label6), static_cast<QWidget*>(Label7),
                       static_cast<QWidget*>(Label8), static_cast<QWidget*>(Label9), static_cast<QWidget*>(Edit3),
                       static_cast<QWidget*>(Edit4), static_cast<QWidget*>(Edit5), static_cast<QWidget*>(ComboBox3),
                       static_cast<QWidget*>(ComboBox4), static_cast<QWidget*>(LabelZarizeni)})
        w->setEnabled(uart);
    PovolHledani();
}

void TFormPripojeni::PovolHledani()
{
    Button3->setEnabled(ComboBox1->currentIndex() == 0 && (!Bezi() || HledaniBezi));
}

TOknoPripojeni TFormPripojeni::PrectiOkno() const
{
    TOknoPripojeni o;
    o.ComboBox1 = ComboBox1->currentIndex();
    o.Edit1 = Std(Edit1->text());
    o.ComboBox2 = ComboBox2->currentIndex();
    o.Edit2 = Std(Edit2->text());
    o.Edit3 = Std(Edit3->text());
    o.ComboBox3 = ComboBox3->currentIndex();
    o.ComboBox4 = ComboBox4->currentIndex();
    o.Edit4 = Std(Edit4->text());
    o.Edit5 = Std(Edit5->text());
    return o;
}

std::filesystem::path TFormPripojeni::CestaNastaveni() const
{
    return SouborNastaveni.empty() ? vk::core::CestyNastaveni().Cteni : SouborNastaveni;
}

void TFormPripojeni::Button1Click()
{
    // A second press while the first attempt runs is ignored (the button is
    // disabled as well, but a key may still reach the handler).
    if (!Dat || !Uloha.Pracovnik() || Bezi())
        return;
    Dat->Init = false;
    Dat->Par.fill(0);
    vk::procedures::TCestaPortu port;
    port.Nastaveni = CestaNastaveni();
    auto uloha = [okno = PrectiOkno(), pripojeni = Dat->Pripojeni, port](vk::device::TVK7316R& modul,
                                                                         const vk::procedures::TOznameni& oznam) {
        return vk::procedures::InicializujPripojeni(modul, okno, pripojeni, port, oznam);
    };
    Uloha.Spust(
        std::move(uloha), [this](const TVysledekPripojeni& v) { Dokonceno(v); },
        [this](const std::string& text) { UkazPanel(text); }, {}, [this] { PovolHledani(); });
    PovolHledani();
}

void TFormPripojeni::Button3Click()
{
    if (HledaniBezi) {
        Uloha.Zastav();
        return;
    }
    if (!Dat || !Uloha.Pracovnik() || Bezi())
        return;
    // The search closes the program's port: the module it had is no longer
    // connected, as after a failed attempt.
    Dat->Init = false;
    Dat->Par.fill(0);
    vk::procedures::TZadaniHledani zadani;
    zadani.Port.Nastaveni = CestaNastaveni();
    zadani.CisloCOM = Std(Edit3->text());
    zadani.Adresa = Std(Edit5->text());
    zadani.NejkratsiCekaniMs = vk::core::NactiHledani(zadani.Port.Nastaveni);
    zadani.Volby = vk::procedures::VolbyPortu(Dat->Pripojeni);
    auto uloha = [zadani](vk::device::TVK7316R& modul, const vk::procedures::TOznameni& oznam,
                          const vk::link::TPrubeh& prubeh) {
        return vk::procedures::Vyhledej(modul, zadani, oznam, prubeh);
    };
    const bool spusteno = Uloha.Spust(
        std::move(uloha), [this](const vk::procedures::TVysledekHledani& v) { Nalezeno(v); },
        [this](const std::string& text) { UkazPanel(text); },
        [this](std::uint64_t pokusu, std::uint64_t celkem) {
            ProgressBar1->setMaximum(static_cast<int>(celkem));
            ProgressBar1->setValue(static_cast<int>(pokusu));
        },
        [this] { UkazHledani(false); });
    if (spusteno)
        UkazHledani(true);
}

void TFormPripojeni::Nalezeno(const vk::procedures::TVysledekHledani& v)
{
    UkazHledani(false);
    if (v.Konec == vk::procedures::TKonecHledani::Nalezen) {
        ComboBox3->setCurrentIndex(v.KodBaud - vk::procedures::PosunKoduBaud);
        ComboBox4->setCurrentIndex(v.KodParita);
        Edit5->setText(QString::number(v.Moduly.front().Adresa));
    }
    UkazZarizeni(v.COM ? v.COM->Duvod : std::string());
    UkazPanel(v.Text);
}

void TFormPripojeni::UkazHledani(bool bezi)
{
    HledaniBezi = bezi;
    Button3->setText(Text(bezi ? TextTlacitkaZastavit : TextTlacitkaVyhledat));
    ProgressBar1->setValue(0);
    ProgressBar1->setVisible(bezi);
    PovolHledani();
}

void TFormPripojeni::ZastavPraci()
{
    TOknoModulu::ZastavPraci();
    UkazHledani(false);
}

void TFormPripojeni::Dokonceno(const TVysledekPripojeni& v)
{
    PovolHledani();
    if (Dat)
        vk::procedures::AplikujPripojeni(v, *Dat);
    ComboBox1->setCurrentIndex(v.ComboBox1);
    ComboBox2->setCurrentIndex(v.ComboBox2);
    ComboBox3->setCurrentIndex(v.ComboBox3);
    ComboBox4->setCurrentIndex(v.ComboBox4);
    UkazZarizeni(v.COM ? v.COM->Duvod : std::string(), v.Odezva);
    UkazPanel(v.Panel1, v.Pricina);
}

void TFormPripojeni::Button2Click()
{
    reject();
}

void TFormPripojeni::UkazPanel(const std::string& text, const std::string& pricina)
{
    Panel1->setText(Q(text));
    Panel1->setToolTip(Q(pricina));
    Panel1->repaint();
}

// Only the path is worked out while the user types: trying the device here
// would open the port on every keystroke, and this program holds it itself
// once connected. Why it failed to open comes with the attempt's result.
void TFormPripojeni::UkazZarizeni(const std::string& duvod, const std::string& odezva)
{
    std::int32_t cislo = 0;
    if (!vk::procedures::PrevedCisloCOM(Std(Edit3->text()), cislo)) {
        LabelZarizeni->clear();
        return;
    }
    // The reason names the device itself.
    if (!duvod.empty()) {
        LabelZarizeni->setText(Q(duvod));
        return;
    }
    const std::string cesta = vk::procedures::CestaCOM(cislo, CestaNastaveni());
    LabelZarizeni->setText(Q(odezva.empty() ? cesta : cesta + ", " + odezva));
}
