#pragma once
// Sazba (= typesetting): the user guide from its Markdown source to an A4
// PDF, with what the program's own toolkit offers: the Markdown reader of
// QTextDocument, and QPdfWriter page by page with the page number in a
// footer. The pictures of the windows come from files made at build time.
#include <QMarginsF>
#include <QRectF>
#include <QString>
#include <QStringList>

class QPaintDevice;
class QTextDocument;

namespace vk::napoveda {

// The printed look (vzhled = look): fonts, the page's margins, the footer.
struct TVzhled {
    QString Pismo = QStringLiteral("DejaVu Sans");           // body text and headings (font)
    QString PismoKodu = QStringLiteral("DejaVu Sans Mono");  // commands, paths, file contents
    qreal VelikostPt = 10;                                   // body text size
    // The text's distance from the A4 page's edges in mm: left, top, right,
    // bottom; the footer sits in the bottom one (okraje = margins).
    QMarginsF OkrajeMm{20, 18, 20, 20};
    // The pictures' size on paper against the window's on an ordinary
    // screen (meritko = scale).
    qreal MeritkoObrazku = 0.8;
    QString Zapati;  // the footer's text left of the page number (zapati = footer)
};

// The Markdown files joined in the order given, a blank line between two
// (zdroje = sources); false with `chyba` naming the file that cannot be read.
bool NactiZdroje(const QStringList& soubory, QString& text, QString& chyba);

// The document from the Markdown text, with the look's fonts, headings,
// tables and code (Sestav = put together). A top-level heading after the
// first starts a new page.
void Sestav(QTextDocument& dokument, const QString& markdown, const TVzhled& vzhled);

// Every picture the document names is loaded from `slozka` into the
// document, drawn at the look's scale of the size its file gives (its
// pixels and resolution), never wider than the text nor taller than about
// a third of it;
// a picture alone in its paragraph is centred, and so is an all-italic
// caption right below it (vloz = insert). Returns the names of the pictures
// that could not be loaded, which then show as nothing.
QStringList VlozObrazky(QTextDocument& dokument, const QString& slozka, const TVzhled& vzhled);

// Lays the document out for A4 pages of `zarizeni` (a PDF writer) and
// returns the text's place on the page in the device's pixels (rozvrhni =
// lay out); the layout keeps the device until it is given another. A
// heading or a picture never ends a page with what follows it (the next
// paragraph, its caption) on the next: it moves to that page. A paragraph
// "[[obsah]]" becomes the table of contents: the headings of levels 1 and 2
// after it with the pages they are printed on.
QRectF Rozvrhni(QTextDocument& dokument, QPaintDevice& zarizeni, const TVzhled& vzhled);

// Lays the document out and prints it to `pdf` with the footer; returns the
// number of pages, 0 with `chyba` when the file cannot be written
// (vytiskni = print).
int Vytiskni(QTextDocument& dokument, const QString& pdf, const TVzhled& vzhled, QString& chyba);

}  // namespace vk::napoveda
