#pragma once
// Controls that several windows share (sdilene ovladace = shared controls):
// labels, text fields, the address fields, drop-down lists, among them the
// baud-rate and parity lists built from the serial link's own tables, and
// the one-panel status bar of the dialogs. Every control gets its object
// name, which is also how the tests find it.
#include <QLabel>
#include <QStatusBar>
#include <QString>

#include <initializer_list>
#include <string>
#include <utility>

class QComboBox;
class QDialog;
class QHBoxLayout;
class QLayout;
class QPushButton;
class QGridLayout;
class QLineEdit;
class QTableWidget;
class QWidget;

namespace vk::ui {

inline QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}
inline std::string Std(const QString& s)
{
    return s.toStdString();
}

QLabel* Popisek(QWidget* rodic, const char* jmeno, const char* text);  // a label
// A button (tlacitko) that Enter in a text field does not press.
QPushButton* Tlacitko(QWidget* rodic, const char* jmeno, const char* text);
// Buttons in a row at the right edge (vpravo = on the right).
QHBoxLayout* TlacitkaVpravo(std::initializer_list<QWidget*> tlacitka);
QLineEdit* PoleTextu(QWidget* rodic, const char* jmeno);  // a text field
// Address fields, wide enough for the longest text form of their version:
// "255.255.255.255", and the eight full groups of an IPv6 address.
QLineEdit* PoleIP4(QWidget* rodic, const char* jmeno);
QLineEdit* PoleIP6(QWidget* rodic, const char* jmeno);

// A drop-down list that offers only its items (no typing), item `vybrana`
// selected (Seznam = list).
QComboBox* Seznam(QWidget* rodic, const char* jmeno, std::initializer_list<const char*> polozky, int vybrana);
// The baud rates of codes 2 to 8, "2400 Bd" to "115200 Bd", item i standing
// for code i + 2; "9600 Bd" selected.
QComboBox* SeznamRychlosti(QWidget* rodic, const char* jmeno);
// The parities of codes 0 to 2, "žádná", "sudá", "lichá"; "sudá" selected.
QComboBox* SeznamParity(QWidget* rodic, const char* jmeno);

// The rows of a form (mrizka = grid): a label left, its control right.
QGridLayout* Mrizka(std::initializer_list<std::pair<QWidget*, QWidget*>> radky);

// A table of captions and values (tabulka hodnot): two columns of the given
// widths, one row per caption, no headers, no scroll bars, as tall as its
// rows; the user can neither select nor edit a cell. The value column
// stretches over the rest of a wider row; a negative width asks for no
// width of its own.
QTableWidget* TabulkaHodnot(QWidget* rodic, const char* jmeno, std::initializer_list<const char*> popisky, int sirka0,
                            int sirka1);
// The text of row `radek` in the value column. A text wider than its cell
// ends in a visible "…"; the whole text is the cell's tooltip, which
// `celyText` (whole text) replaces when the value itself is a cut one.
void NastavHodnotu(QTableWidget* tabulka, int radek, const std::string& hodnota, const std::string& celyText = {});
// The width a value cell needs for a text of `znaku` characters (znak =
// character) of upper-case letters and digits, as device texts are, in the
// font of `okno`, with the cell's margins.
int SirkaHodnoty(const QWidget* okno, int znaku);

// A list's item index set from a record: an index with no item leaves the
// list with none selected, as a value outside the list's codes must.
void NastavPolozku(QComboBox* seznam, int index);

// The dialogs' status bar with its one panel (StatusBar1, panel
// StatusBar1Panel0). Nastav shows a text and, by default, repaints at once,
// so that it is seen before the work it announces has ended.
class TStavovyRadek : public QStatusBar {
public:
    explicit TStavovyRadek(QWidget* rodic);
    void Nastav(const std::string& text, bool prekreslit = true);
    // Why the last job failed (Pricina = cause), shown under the status text
    // on hovering; empty: the status text alone. Set after Nastav.
    void NastavPricinu(const std::string& pricina);
    QString Text() const { return Panel->text(); }

private:
    QLabel* Panel = nullptr;
};

// The frame of every window with a status bar (sestav = put together): its
// caption with no help button, `obsah` (content) within the usual margins,
// the status bar flush along the bottom, and the size fixed to what the
// window holds. Returns the status bar.
TStavovyRadek* SestavOkno(QDialog* okno, const char* titulek, QLayout* obsah);

}  // namespace vk::ui
