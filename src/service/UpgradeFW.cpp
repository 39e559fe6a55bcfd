#include "UpgradeFW.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <chrono>

#include "Diagnostika.h"
#include "Firmware.h"
#include "OblastKonfigurace.h"
#include "SdileneOvladace.h"

namespace {

constexpr char TextTitulek[] = " Upgrade firmware";
constexpr char TextPrecist[] = "Přečíst";
constexpr char TextNovy[] = "Nový firmware";
constexpr char TextVyber[] = "...";
constexpr char TextZapsat[] = "Zapsat";
constexpr char TextPrerusit[] = "Přerušit";
constexpr char TextRestart[] = "Restart";
constexpr char TextCancel[] = "Cancel";
constexpr char TextAktualni[] = "Aktuální firmware";
constexpr char TextTypVerze[] = "Typ a verze";
constexpr char TextNazev[] = "Název firmware";
constexpr char TextDatum[] = "Datum";
constexpr char TextBootCmd[] = "Zobrazit boot.cmd";
constexpr char TextBootLog[] = "Zobrazit boot.log";
constexpr char TextSmazat[] = "Smazat";
// Qt's form of "Soubory firmware (*.hbn)|*.hbn|Všechny soubory (*.*)|*.*";
// "*" rather than "*.*", which on this system would hide names without a dot.
constexpr char TextFiltrFw[] = "Soubory firmware (*.hbn)";
constexpr char TextFiltrVse[] = "Všechny soubory (*)";
constexpr char PriponaFw[] = "hbn";
// The longest status text the upload reports (the procedure's own words),
// for the window's width only.
constexpr char TextNejdelsiStav[] = " Firmware zapsán do modulu. Pro spuštění nutno modul restartovat.";

constexpr char TextOrezano[] = "…";  // marks a cut type text (orezano = cut)

constexpr int SirkaPopisu = 100;        // the grid's caption column
constexpr int SirkaHodnotyAspon = 306;  // the grid's value column, at least
// The longest value the grid holds: the image name, up to 38 characters of
// fw.akt (the type has 21 and its cut mark, the date 21).
constexpr int NejdelsiHodnota = 38;
constexpr int DilkuPrubehu = 1000;                        // steps of the progress bar
constexpr std::chrono::milliseconds IntervalPrubehu{20};  // between two reports to the progress bar
constexpr std::int32_t PauzaPoRestartuMs = 1000;          // the window's wait before it reports the restart

// The upload job: the file field checked again on the worker, the image
// sent, then "prog". The link reports every block; passing each one on
// wakes the window thread some 1400 times for 2 MiB over the LAN, which
// made the upload some 40 % slower, so the bar hears of the first block,
// then at most every IntervalPrubehu, and of the last.
auto UlohaZapisu(std::string edit1, vk::core::TUpgrade upgrade)
{
    return [edit1 = std::move(edit1), upgrade = std::move(upgrade)](
               vk::device::TVK7316R& modul, const vk::procedures::TOznameni& oznam, const vk::link::TPrubeh& prubeh) {
        return vk::procedures::ZapisFirmware(modul, true, edit1, upgrade,
                                             vk::link::RidkyPrubeh(prubeh, IntervalPrubehu), oznam);
    };
}

}  // namespace

using namespace vk::ui;

TFormUpgradeFW::TFormUpgradeFW(QWidget* parent) : TOknoModulu(parent)
{
    Button2 = Tlacitko(this, "Button2", TextPrecist);
    QLabel* label1 = Popisek(this, "Label1", TextNovy);
    Edit1 = PoleTextu(this, "Edit1");
    Button3 = Tlacitko(this, "Button3", TextVyber);
    Button4 = Tlacitko(this, "Button4", TextZapsat);
    Button9 = Tlacitko(this, "Button9", TextPrerusit);
    Button9->setEnabled(false);
    Button5 = Tlacitko(this, "Button5", TextRestart);
    Button1 = Tlacitko(this, "Button1", TextCancel);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, DilkuPrubehu);
    ProgressBar1->setValue(0);
    QLabel* label2 = Popisek(this, "Label2", TextAktualni);
    // The caption column is widened where this system's font would not fit
    // "Název firmware" into the given width.
    const int sirkaPopisu = std::max(SirkaPopisu, fontMetrics().horizontalAdvance(QString::fromUtf8(TextNazev)) + 12);
    StringGrid1 = TabulkaHodnot(this, "StringGrid1", {TextTypVerze, TextNazev, TextDatum}, sirkaPopisu,
                                std::max(SirkaHodnotyAspon, SirkaHodnoty(this, NejdelsiHodnota)));
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setFixedHeight(4 * Memo1->fontMetrics().lineSpacing() + 12);
    Button6 = Tlacitko(this, "Button6", TextBootCmd);
    Button7 = Tlacitko(this, "Button7", TextBootLog);
    Button8 = Tlacitko(this, "Button8", TextSmazat);

    auto* soubor = new QHBoxLayout;
    soubor->addWidget(Edit1, 1);
    soubor->addWidget(Button3);
    auto* prenos = new QHBoxLayout;
    for (QPushButton* t : {Button2, Button4, Button9, Button5})
        prenos->addWidget(t);
    prenos->addStretch();
    prenos->addWidget(Button1);
    auto* boot = new QHBoxLayout;
    for (QPushButton* t : {Button6, Button7, Button8})
        boot->addWidget(t);
    boot->addStretch();

    auto* okraje = new QVBoxLayout;
    okraje->addWidget(label1);
    okraje->addLayout(soubor);
    okraje->addWidget(ProgressBar1);
    okraje->addLayout(prenos);
    okraje->addSpacing(6);
    okraje->addWidget(label2);
    okraje->addWidget(StringGrid1);
    okraje->addSpacing(6);
    okraje->addWidget(Memo1);
    okraje->addLayout(boot);
    // Room for the longest status text, which the status bar does not widen
    // the window for.
    ProgressBar1->setMinimumWidth(fontMetrics().horizontalAdvance(QString::fromUtf8(TextNejdelsiStav)) + 16);
    Sestav(TextTitulek, okraje);

    QWidget* poradi[] = {Button2, Edit1,       Button3, Button4, Button9, Button5,
                         Button1, StringGrid1, Memo1,   Button6, Button7, Button8};
    for (std::size_t i = 1; i < std::size(poradi); ++i)
        setTabOrder(poradi[i - 1], poradi[i]);

    Uloha.Vypnout({Button2, Button4, Button5, Button6});
    connect(Button1, &QPushButton::clicked, this, &TFormUpgradeFW::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TFormUpgradeFW::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TFormUpgradeFW::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TFormUpgradeFW::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &TFormUpgradeFW::Button5Click);
    connect(Button6, &QPushButton::clicked, this, &TFormUpgradeFW::Button6Click);
    connect(Button7, &QPushButton::clicked, this, &TFormUpgradeFW::Button7Click);
    connect(Button8, &QPushButton::clicked, this, &TFormUpgradeFW::Button8Click);
    connect(Button9, &QPushButton::clicked, this, &TFormUpgradeFW::Button9Click);
}

TFormUpgradeFW::~TFormUpgradeFW() = default;

void TFormUpgradeFW::FormShow()
{
    if (!Dat)
        return;
    Memo1->clear();
    CFGVK = Dat->CFGVK;
    ZapisOkno(CFGVK.Upgrade);
    Edit1->setText(Q(CFGVK.Upgrade.FW_Soubor));
    UkazStav(" ");
}

void TFormUpgradeFW::ZapisOkno(const vk::core::TUpgrade& upgrade, const std::string& infoText)
{
    // The type text comes straight from info.txt, zero padding and all. It
    // keeps only the first 21 characters of the module's identity, which cuts
    // the serial number short ("... (sn.2"): the cut is shown as such, and
    // the whole identity is the cell's tooltip.
    const std::string typ = vk::procedures::TextDoNuly(upgrade.TypVerze);
    const std::string cely = vk::procedures::TextDoNuly(infoText);
    if (cely.size() > typ.size() && cely.starts_with(typ))
        NastavHodnotu(StringGrid1, 0, typ + TextOrezano, cely);
    else
        NastavHodnotu(StringGrid1, 0, typ);
    NastavHodnotu(StringGrid1, 1, upgrade.HBIN_Soubor);
    NastavHodnotu(StringGrid1, 2, upgrade.HBIN_Datum);
}

void TFormUpgradeFW::UkazNeprazdnyStav(const std::string& text)
{
    // A procedure that found no link set up reports nothing; the status
    // stays as it was.
    if (!text.empty())
        UkazStav(text);
}

void TFormUpgradeFW::Button1Click()
{
    reject();
}

void TFormUpgradeFW::Button2Click()
{
    if (Bezi() || !Pripojeno())
        return;
    Uloha.Spust(
        [upgrade = CFGVK.Upgrade](vk::device::TVK7316R& modul, const vk::procedures::TOznameni& oznam) {
            return vk::procedures::PrectiFirmware(modul, true, upgrade, oznam);
        },
        [this](const vk::procedures::TVysledekCteniFirmware& v) {
            // A failed read hands back the copy unchanged, so the grid keeps
            // its values.
            CFGVK.Upgrade = v.Upgrade;
            ZapisOkno(CFGVK.Upgrade, v.InfoText);
            UkazNeprazdnyStav(v.Status);
        },
        [this](const std::string& t) { UkazNeprazdnyStav(t); });
}

void TFormUpgradeFW::Button3Click()
{
    // Made for each use and dropped after it: a file dialog keeps a file
    // system model that watches folders from a thread of its own, and left
    // in place it slowed a later upload severalfold on a busy machine.
    QFileDialog OpenDialog1(this);
    OpenDialog1.setObjectName(QStringLiteral("OpenDialog1"));
    OpenDialog1.setAcceptMode(QFileDialog::AcceptOpen);
    OpenDialog1.setFileMode(QFileDialog::ExistingFile);
    OpenDialog1.setNameFilters({QString::fromUtf8(TextFiltrFw), QString::fromUtf8(TextFiltrVse)});
    OpenDialog1.setDefaultSuffix(QString::fromLatin1(PriponaFw));
    OpenDialog1.selectFile(Edit1->text());
    if (OpenDialog1.exec() != QDialog::Accepted)
        return;
    const QStringList vybrane = OpenDialog1.selectedFiles();
    if (!vybrane.isEmpty() && !vybrane.first().isEmpty())
        Edit1->setText(vybrane.first());
}

void TFormUpgradeFW::Button4Click()
{
    if (Bezi() || !Pripojeno())
        return;
    const std::string edit1 = Std(Edit1->text());
    const vk::procedures::TPlatnost platnost = vk::procedures::PrectiOknoFirmware(edit1, CFGVK.Upgrade);
    UkazStav(platnost.Status());
    if (!platnost.Platne)
        return;
    ProgressBar1->setValue(0);
    const bool spusteno = Uloha.Spust(
        UlohaZapisu(edit1, CFGVK.Upgrade), [this](const vk::procedures::TVysledekFirmware& v) { Zapsano(v); },
        [this](const std::string& t) { UkazNeprazdnyStav(t); },
        [this](std::uint64_t odeslano, std::uint64_t celkem) {
            if (celkem > 0)
                ProgressBar1->setValue(static_cast<int>(odeslano * DilkuPrubehu / celkem));
        });
    Button9->setEnabled(spusteno);
}

void TFormUpgradeFW::Zapsano(const vk::procedures::TVysledekFirmware& v)
{
    Button9->setEnabled(false);
    if (!v.Status.empty())
        UkazStav(v.Status, v.Pricina);
}

void TFormUpgradeFW::Button5Click()
{
    if (Bezi() || !Pripojeno())
        return;
    Uloha.Spust(
        [](vk::device::TVK7316R& modul, const vk::procedures::TOznameni& oznam) {
            return vk::procedures::RestartujPoUpgradu(modul, true, oznam, PauzaPoRestartuMs);
        },
        [this](const vk::procedures::TVysledekPrikazu& v) { UkazNeprazdnyStav(v.Status); },
        [this](const std::string& t) { UkazNeprazdnyStav(t); });
}

void TFormUpgradeFW::Button6Click()
{
    if (Bezi() || !Pripojeno())
        return;
    Memo1->clear();
    Uloha.Spust(
        [](vk::device::TVK7316R& modul, const vk::procedures::TOznameni& oznam) {
            return vk::procedures::ZobrazBootCmd(modul, true, oznam);
        },
        [this](const vk::procedures::TVysledekBootCmd& v) {
            if (v.Uspech)
                Memo1->appendPlainText(Q(v.Radek));
            UkazNeprazdnyStav(v.Status);
        },
        [this](const std::string& t) { UkazNeprazdnyStav(t); });
}

void TFormUpgradeFW::Button7Click()
{
    Memo1->clear();
}

void TFormUpgradeFW::Button8Click()
{
    Memo1->clear();
}

void TFormUpgradeFW::Button9Click()
{
    // The job's result still arrives and tells that nothing was armed.
    Uloha.Zastav();
}

void TFormUpgradeFW::ZastavPraci()
{
    Uloha.ZastavACekej();
    Button9->setEnabled(false);
}
