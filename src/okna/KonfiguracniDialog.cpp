#include "KonfiguracniDialog.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "SdileneOvladace.h"

namespace {

constexpr char TextZapsat[] = "Zapsat";
constexpr char TextPrecist[] = "Přečíst";
constexpr char TextOk[] = "Ok";
constexpr char TextCancel[] = "Cancel";
constexpr char TextVychozi[] = "Default parametry";

// What a read job hands back: its outcome and the record it read into.
struct TPrectenaOblast {
    vk::procedures::TVysledekCteni Cteni;
    vk::core::TCFGVK Cfg;
};

}  // namespace

TKonfiguracniDialog::TKonfiguracniDialog(QWidget* parent, const TVlastnosti& vlastnosti)
    : TOknoModulu(parent), Vlastnosti(vlastnosti)
{
    using namespace vk::ui;
    ObsahOkna = new QVBoxLayout;
    TlacitkoZapsat = Tlacitko(this, Vlastnosti.TlacitkaProhozena ? "Button1" : "Button2", TextZapsat);
    TlacitkoPrecist = Tlacitko(this, Vlastnosti.TlacitkaProhozena ? "Button2" : "Button1", TextPrecist);
    Button3 = Tlacitko(this, "Button3", TextOk);
    Button4 = Tlacitko(this, "Button4", TextCancel);

    auto* tlacitka = new QHBoxLayout;
    for (QPushButton* t : {TlacitkoZapsat, TlacitkoPrecist, Button3, Button4})
        tlacitka->addWidget(t);

    auto* okraje = new QVBoxLayout;
    okraje->addLayout(ObsahOkna);
    if (Vlastnosti.MaVychozi) {
        Button6 = Tlacitko(this, "Button6", TextVychozi);
        okraje->addSpacing(6);
        okraje->addLayout(TlacitkaVpravo({Button6}));
        connect(Button6, &QPushButton::clicked, this, &TKonfiguracniDialog::Button6Click);
    }
    okraje->addSpacing(6);
    okraje->addLayout(tlacitka);

    Sestav(Vlastnosti.Titulek, okraje);

    Uloha.Vypnout({TlacitkoZapsat, TlacitkoPrecist, Button3, Button6});
    connect(TlacitkoPrecist, &QPushButton::clicked, this, &TKonfiguracniDialog::PrectiClick);
    connect(TlacitkoZapsat, &QPushButton::clicked, this, &TKonfiguracniDialog::ZapisClick);
    connect(Button3, &QPushButton::clicked, this, &TKonfiguracniDialog::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TKonfiguracniDialog::Button4Click);
}

TKonfiguracniDialog::~TKonfiguracniDialog() = default;

void TKonfiguracniDialog::showEvent(QShowEvent* udalost)
{
    if (!PoradiNastaveno) {
        PoradiNastaveno = true;
        SeradPoradi();
    }
    TOknoModulu::showEvent(udalost);
}

// The buttons are made before the dialog's own controls, so they would come
// first in the tab order and the first of them, "Zapsat", would have the
// focus on opening. The controls go first, in the order they were made,
// and the focus starts on the first of them; the buttons follow in their
// row's order.
void TKonfiguracniDialog::SeradPoradi()
{
    QList<QWidget*> poradi;
    for (QWidget* w : findChildren<QWidget*>()) {
        const bool tlacitko =
            w == TlacitkoZapsat || w == TlacitkoPrecist || w == Button3 || w == Button4 || w == Button6;
        if (!tlacitko && (w->focusPolicy() & Qt::TabFocus))
            poradi.append(w);
    }
    for (QWidget* t :
         {static_cast<QWidget*>(Button6), static_cast<QWidget*>(TlacitkoZapsat), static_cast<QWidget*>(TlacitkoPrecist),
          static_cast<QWidget*>(Button3), static_cast<QWidget*>(Button4)})
        if (t)
            poradi.append(t);
    for (qsizetype i = 1; i < poradi.size(); ++i)
        setTabOrder(poradi[i - 1], poradi[i]);
    for (QWidget* w : poradi)
        if (w->isEnabled() && !w->isHidden()) {
            w->setFocus();
            break;
        }
}

void TKonfiguracniDialog::FormShow()
{
    if (!Dat)
        return;
    CFGVK = Dat->CFGVK;
    ZapisOkno(CFGVK);
    if (Vlastnosti.CistPriZobrazeni && Dat->Init && Uloha.Pracovnik()) {
        SpustCteni(true);
        return;
    }
    UkazStav(" ");
}

void TKonfiguracniDialog::PrectiClick()
{
    if (Bezi() || !Pripojeno())
        return;
    SpustCteni(false);
}

void TKonfiguracniDialog::SpustCteni(bool poZobrazeni)
{
    auto uloha = [precti = Vlastnosti.PrectiData, cfg = CFGVK](vk::device::TVK7316R& modul,
                                                               const vk::procedures::TOznameni& oznam) mutable {
        TPrectenaOblast v;
        v.Cteni = precti(modul, cfg, oznam);
        v.Cfg = cfg;
        return v;
    };
    auto hotovo = [this, poZobrazeni](const TPrectenaOblast& v) {
        // A read that failed left its copy as it was, so taking it back
        // changes nothing then.
        CFGVK = v.Cfg;
        ZapisOkno(CFGVK);
        if (poZobrazeni)
            UkazStav(std::string(" "));
        else
            UkazStav(v.Cteni.Status, v.Cteni.Pricina);
    };
    Uloha.Spust(std::move(uloha), std::move(hotovo), [this](const std::string& t) { UkazStav(t); });
}

void TKonfiguracniDialog::ZapisClick()
{
    if (Bezi() || !Pripojeno())
        return;
    const vk::procedures::TPlatnost platnost = PrectiOkno(CFGVK);
    UkazStav(platnost.Status());
    if (!platnost.Platne)
        return;
    auto uloha = [zapis = Vlastnosti.ZapisData, cfg = CFGVK](vk::device::TVK7316R& modul,
                                                             const vk::procedures::TOznameni& oznam) {
        return zapis(modul, cfg, oznam);
    };
    auto hotovo = [this](const vk::procedures::TVysledekZapisu& v) { UkazStav(v.Status, v.Pricina); };
    Uloha.Spust(std::move(uloha), std::move(hotovo), [this](const std::string& t) { UkazStav(t); });
}

void TKonfiguracniDialog::Button3Click()
{
    if (Bezi())
        return;
    if (Dat) {
        const vk::procedures::TPlatnost platnost = PrectiOkno(CFGVK);
        UkazStav(platnost.Status());
        if (!platnost.Platne)
            return;
        Dat->CFGVK = CFGVK;
    }
    accept();
}

void TKonfiguracniDialog::Button4Click()
{
    reject();
}

void TKonfiguracniDialog::Button6Click()
{
    VychoziParametry();
}
