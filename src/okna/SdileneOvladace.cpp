#include "SdileneOvladace.h"

#include <QComboBox>
#include <QDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "M_ModbusRTU.h"
#include "OblastKonfigurace.h"

namespace vk::ui {

namespace {

// Room for a text of `vzor`'s width plus the field's frame and margins.
void SirkaPro(QLineEdit* pole, const char* vzor)
{
    const int textu = QFontMetrics(pole->font()).horizontalAdvance(QString::fromLatin1(vzor));
    pole->setMinimumWidth(textu + 24);
}

}  // namespace

QLabel* Popisek(QWidget* rodic, const char* jmeno, const char* text)
{
    auto* popisek = new QLabel(QString::fromUtf8(text), rodic);
    popisek->setObjectName(QString::fromLatin1(jmeno));
    return popisek;
}

QPushButton* Tlacitko(QWidget* rodic, const char* jmeno, const char* text)
{
    auto* tlacitko = new QPushButton(QString::fromUtf8(text), rodic);
    tlacitko->setObjectName(QString::fromLatin1(jmeno));
    tlacitko->setAutoDefault(false);
    return tlacitko;
}

QHBoxLayout* TlacitkaVpravo(std::initializer_list<QWidget*> tlacitka)
{
    auto* rada = new QHBoxLayout;
    rada->addStretch();
    for (QWidget* t : tlacitka)
        rada->addWidget(t);
    return rada;
}

TStavovyRadek* SestavOkno(QDialog* okno, const char* titulek, QLayout* obsah)
{
    okno->setWindowTitle(QString::fromUtf8(titulek));
    okno->setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* vnitrek = new QWidget(okno);
    vnitrek->setLayout(obsah);
    auto* stav = new TStavovyRadek(okno);
    auto* hlavni = new QVBoxLayout(okno);
    hlavni->setContentsMargins(0, 0, 0, 0);
    hlavni->setSpacing(0);
    hlavni->addWidget(vnitrek);
    hlavni->addWidget(stav);
    hlavni->setSizeConstraint(QLayout::SetFixedSize);
    return stav;
}

QLineEdit* PoleTextu(QWidget* rodic, const char* jmeno)
{
    auto* pole = new QLineEdit(rodic);
    pole->setObjectName(QString::fromLatin1(jmeno));
    return pole;
}

QLineEdit* PoleIP4(QWidget* rodic, const char* jmeno)
{
    QLineEdit* pole = PoleTextu(rodic, jmeno);
    SirkaPro(pole, "255.255.255.255");
    return pole;
}

QLineEdit* PoleIP6(QWidget* rodic, const char* jmeno)
{
    QLineEdit* pole = PoleTextu(rodic, jmeno);
    SirkaPro(pole, "0000:0000:0000:0000:0000:0000:0000:0000");
    return pole;
}

QComboBox* Seznam(QWidget* rodic, const char* jmeno, std::initializer_list<const char*> polozky, int vybrana)
{
    auto* seznam = new QComboBox(rodic);
    seznam->setObjectName(QString::fromLatin1(jmeno));
    for (const char* p : polozky)
        seznam->addItem(QString::fromUtf8(p));
    seznam->setCurrentIndex(vybrana);
    return seznam;
}

QComboBox* SeznamRychlosti(QWidget* rodic, const char* jmeno)
{
    auto* seznam = Seznam(rodic, jmeno, {}, -1);
    for (int i = 0; i < procedures::PocetPolozekBaud; ++i)
        seznam->addItem(QStringLiteral("%1 Bd").arg(link::RychlostBaud(i + procedures::PosunKoduBaud)));
    seznam->setCurrentIndex(2);
    return seznam;
}

QComboBox* SeznamParity(QWidget* rodic, const char* jmeno)
{
    auto* seznam = Seznam(rodic, jmeno, {}, -1);
    for (int kod = 0; kod < procedures::PocetPolozekParita; ++kod)
        seznam->addItem(QString::fromUtf8(procedures::NazevParity(kod)));
    seznam->setCurrentIndex(1);
    return seznam;
}

QGridLayout* Mrizka(std::initializer_list<std::pair<QWidget*, QWidget*>> radky)
{
    auto* mrizka = new QGridLayout;
    int radek = 0;
    for (const auto& [popisek, ovladac] : radky) {
        mrizka->addWidget(popisek, radek, 0);
        mrizka->addWidget(ovladac, radek, 1);
        ++radek;
    }
    return mrizka;
}

QTableWidget* TabulkaHodnot(QWidget* rodic, const char* jmeno, std::initializer_list<const char*> popisky, int sirka0,
                            int sirka1)
{
    auto* tabulka = new QTableWidget(static_cast<int>(popisky.size()), 2, rodic);
    tabulka->setObjectName(QString::fromLatin1(jmeno));
    tabulka->horizontalHeader()->hide();
    tabulka->verticalHeader()->hide();
    tabulka->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tabulka->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tabulka->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tabulka->setSelectionMode(QAbstractItemView::NoSelection);
    tabulka->setFocusPolicy(Qt::NoFocus);
    tabulka->setShowGrid(true);
    int radek = 0;
    for (const char* popisek : popisky) {
        tabulka->setItem(radek, 0, new QTableWidgetItem(QString::fromUtf8(popisek)));
        tabulka->setItem(radek, 1, new QTableWidgetItem);
        ++radek;
    }
    tabulka->setColumnWidth(0, sirka0);
    // The value column takes the rest of a row wider than the two widths.
    tabulka->horizontalHeader()->setStretchLastSection(true);
    tabulka->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tabulka->resizeRowsToContents();
    int vyska = 2 * tabulka->frameWidth();
    for (int r = 0; r < tabulka->rowCount(); ++r)
        vyska += tabulka->rowHeight(r);
    tabulka->setFixedHeight(vyska);
    tabulka->setMinimumWidth(sirka0 + (sirka1 < 0 ? sirka0 : sirka1) + 2 * tabulka->frameWidth());
    // Disabled as a whole would grey the texts out; the table only takes no
    // input, which keeps it readable.
    tabulka->setAttribute(Qt::WA_TransparentForMouseEvents);
    return tabulka;
}

void NastavHodnotu(QTableWidget* tabulka, int radek, const std::string& hodnota, const std::string& celyText)
{
    QTableWidgetItem* bunka = tabulka->item(radek, 1);
    bunka->setText(Q(hodnota));
    bunka->setToolTip(Q(celyText.empty() ? hodnota : celyText));
}

int SirkaHodnoty(const QWidget* okno, int znaku)
{
    // The mean width of the characters device texts are made of, so that a
    // typical text of the field's full length fits; a text of wider letters
    // only (all "W") is elided, with the whole of it in the tooltip.
    static const QString Vzorek = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");
    const QFontMetrics metrika = okno->fontMetrics();
    const int vzorek = metrika.horizontalAdvance(Vzorek);
    constexpr int OkrajeBunky = 12;  // the cell's text margins and grid line
    return (vzorek * znaku + static_cast<int>(Vzorek.size()) - 1) / static_cast<int>(Vzorek.size()) + OkrajeBunky;
}

void NastavPolozku(QComboBox* seznam, int index)
{
    seznam->setCurrentIndex(index >= 0 && index < seznam->count() ? index : -1);
}

TStavovyRadek::TStavovyRadek(QWidget* rodic) : QStatusBar(rodic)
{
    setObjectName(QStringLiteral("StatusBar1"));
    setSizeGripEnabled(false);
    Panel = new QLabel(this);
    Panel->setObjectName(QStringLiteral("StatusBar1Panel0"));
    // A long link error is cut at the window's edge rather than widening a
    // fixed-size dialog on every message.
    Panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    addWidget(Panel, 1);
}

void TStavovyRadek::Nastav(const std::string& text, bool prekreslit)
{
    Panel->setText(Q(text));
    // The whole text on hovering, should the window's width cut it.
    Panel->setToolTip(Panel->text().trimmed());
    if (prekreslit)
        Panel->repaint();
}

void TStavovyRadek::NastavPricinu(const std::string& pricina)
{
    const QString text = Panel->text().trimmed();
    Panel->setToolTip(pricina.empty() ? text : text + QStringLiteral("\n") + Q(pricina));
}

}  // namespace vk::ui
