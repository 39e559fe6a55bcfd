#include "Sazba.h"

#include <QAbstractTextDocumentLayout>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace vk::napoveda {

namespace {

// Lengths in a text format (margins, borders, picture sizes) count pixels
// of a 96 dpi screen, whatever the device; the layout scales them.
constexpr qreal BodyNaPalec = 96;
constexpr qreal MmNaPalec = 25.4;
constexpr int Rozliseni = 300;  // dpi of the PDF's layout

// The tallest picture against the text's height (podil = share): a large
// window, mostly empty, would leave half a page blank where it did not fit.
constexpr qreal PodilVyskyObrazku = 0.36;

const QColor BarvaNadpisu(0x1b, 0x3a, 0x6b);  // headings (barva = colour)
const QColor BarvaOkraje(0x99, 0x99, 0x99);   // table lines
const QColor BarvaZahlavi(0xe8, 0xec, 0xf3);  // the table's header row
const QColor BarvaKodu(0xf3, 0xf3, 0xf3);     // behind a code block
const QColor BarvaZapati(0x55, 0x55, 0x55);   // the footer

// Heading sizes in pt and the space above and below in 96 dpi pixels, by
// level 1 to 4.
struct TNadpis {
    qreal VelikostPt;
    qreal Nad;
    qreal Pod;
};
constexpr TNadpis Nadpisy[] = {{18, 0, 10}, {13.5, 18, 6}, {11.5, 12, 4}, {10.5, 10, 3}};

// Every fragment of a block gets `uprav` applied to its character format.
void UpravZnaky(const QTextBlock& blok, const std::function<void(QTextCharFormat&)>& uprav)
{
    std::vector<QTextFragment> fragmenty;
    for (auto it = blok.begin(); !it.atEnd(); ++it)
        fragmenty.push_back(it.fragment());
    for (const QTextFragment& f : fragmenty) {
        QTextCharFormat format = f.charFormat();
        uprav(format);
        QTextCursor c(blok);
        c.setPosition(f.position());
        c.setPosition(f.position() + f.length(), QTextCursor::KeepAnchor);
        c.setCharFormat(format);
    }
}

void UpravBlok(const QTextBlock& blok, const std::function<void(QTextBlockFormat&)>& uprav)
{
    QTextBlockFormat format = blok.blockFormat();
    uprav(format);
    QTextCursor(blok).setBlockFormat(format);
}

void Pismo(QTextCharFormat& format, const QString& rodina, qreal velikostPt)
{
    format.setFontFamilies({rodina});
    format.setFontFixedPitch(false);
    format.setFontPointSize(velikostPt);
}

void UpravNadpis(const QTextBlock& blok, int uroven, bool prvni, const TVzhled& v)
{
    const TNadpis& n = Nadpisy[std::clamp(uroven, 1, 4) - 1];
    UpravZnaky(blok, [&](QTextCharFormat& f) {
        f.clearProperty(QTextFormat::FontSizeAdjustment);
        Pismo(f, v.Pismo, n.VelikostPt);
        f.setFontWeight(QFont::Bold);
        f.setForeground(BarvaNadpisu);
    });
    UpravBlok(blok, [&](QTextBlockFormat& f) {
        f.setTopMargin(n.Nad);
        f.setBottomMargin(n.Pod);
        if (uroven == 1 && !prvni)
            f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    });
}

void UpravKod(const QTextBlock& blok, const TVzhled& v)
{
    UpravZnaky(blok, [&](QTextCharFormat& f) { Pismo(f, v.PismoKodu, v.VelikostPt - 1); });
    UpravBlok(blok, [](QTextBlockFormat& f) {
        // A line longer than the page goes on in the next rather than
        // off the paper's edge.
        f.setNonBreakableLines(false);
        f.setBackground(BarvaKodu);
        f.setLeftMargin(8);
        f.setTopMargin(2);
        f.setBottomMargin(2);
    });
}

// A cell's paragraphs without the space around them, which the cell's
// padding gives; an empty paragraph that a table right after a code block
// gets in its first cell goes.
void UpravBunku(QTextTableCell bunka, bool zahlavi)
{
    QTextCursor c = bunka.firstCursorPosition();
    while (c.block().text().isEmpty() && c.block().next().isValid() &&
           c.block().next().position() < bunka.lastCursorPosition().position())
        c.deleteChar();
    for (QTextBlock b = bunka.firstCursorPosition().block();
         b.isValid() && b.position() <= bunka.lastCursorPosition().position(); b = b.next())
        UpravBlok(b, [](QTextBlockFormat& f) {
            f.setTopMargin(0);
            f.setBottomMargin(0);
        });
    if (zahlavi) {
        QTextCharFormat f = bunka.format();
        f.setBackground(BarvaZahlavi);
        bunka.setFormat(f);
    }
}

// Tables with thin lines, some room in the cells and a shaded header row
// that repeats at the top of a page the table runs on to.
void UpravTabulku(QTextTable* tabulka)
{
    QTextTableFormat format = tabulka->format();
    format.setBorder(1);  // a thinner one vanishes where the borders collapse
    format.setBorderBrush(BarvaOkraje);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderCollapse(true);
    format.setCellSpacing(0);
    format.setCellPadding(4);
    format.setTopMargin(4);
    format.setBottomMargin(8);
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    format.setHeaderRowCount(1);
    tabulka->setFormat(format);
    for (int radek = 0; radek < tabulka->rows(); ++radek)
        for (int sloupec = 0; sloupec < tabulka->columns(); ++sloupec)
            UpravBunku(tabulka->cellAt(radek, sloupec), radek == 0);
}

// A block that is a picture and nothing else.
bool JenObrazek(const QTextBlock& blok)
{
    auto it = blok.begin();
    if (it.atEnd() || !it.fragment().charFormat().isImageFormat())
        return false;
    ++it;
    return it.atEnd();
}

bool CelyKurzivou(const QTextBlock& blok)
{
    if (blok.text().trimmed().isEmpty())
        return false;
    for (auto it = blok.begin(); !it.atEnd(); ++it)
        if (!it.fragment().charFormat().fontItalic() && !it.fragment().text().trimmed().isEmpty())
            return false;
    return true;
}

// The picture's own resolution in pixels per inch; a file without one
// counts as made on an ordinary screen.
qreal BodyNaPalecObrazku(const QImage& obraz)
{
    const qreal naPalec = obraz.dotsPerMeterX() * MmNaPalec / 1000;
    return naPalec > 0 ? naPalec : BodyNaPalec;
}

// The page a point of the laid out document falls on (strana = page). A
// line pushed to the next page starts at its top edge, up to the layout's
// rounding; half a device pixel counts it there.
int Strana(qreal y, qreal vyskaStrany)
{
    return static_cast<int>(std::floor((y + 0.5) / vyskaStrany));
}

// Where a block's first line stands in the laid out document: a line that
// would cross the foot of a page is pushed to the next page, while the
// block's own place stays above (radek = line).
qreal PrvniRadek(const QTextDocument& d, const QTextBlock& blok)
{
    const qreal y = d.documentLayout()->blockBoundingRect(blok).top();
    const QTextLayout* layout = blok.layout();
    return layout && layout->lineCount() > 0 ? y + layout->lineAt(0).y() : y;
}

// Where the content after a block begins: the next block's first line, or
// that of the table that follows it.
qreal ZacatekNasledujiciho(const QTextDocument& d, const QTextBlock& blok)
{
    const QTextBlock dalsi = blok.next();
    if (QTextTable* tabulka = QTextCursor(dalsi).currentTable())
        return PrvniRadek(d, tabulka->cellAt(0, 0).firstCursorPosition().block());
    return PrvniRadek(d, dalsi);
}

// Top-level blocks that must not end a page with what follows them on the
// next: headings and the pictures above their captions (drzi = keeps).
bool DrziSNasledujicim(const QTextBlock& blok)
{
    return blok.blockFormat().headingLevel() > 0 || JenObrazek(blok);
}

// Moves each heading or picture left at the foot of a page to the next.
// A move shifts only what follows it, so one pass from the top settles
// every block in turn.
void DrzSNasledujicim(QTextDocument& d)
{
    const qreal vyska = d.pageSize().height();
    for (QTextBlock b = d.begin(); b.isValid() && b.next().isValid(); b = b.next()) {
        if (QTextCursor(b).currentTable() || !DrziSNasledujicim(b) ||
            b.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
            continue;
        // The layout pushes a line that does not fit to the next page,
        // but a picture so pushed still reaches a little above that
        // page's edge; a break puts it wholly there.
        const int strana = Strana(d.documentLayout()->blockBoundingRect(b).top(), vyska);
        if (strana == Strana(PrvniRadek(d, b), vyska) && strana == Strana(ZacatekNasledujiciho(d, b), vyska))
            continue;
        UpravBlok(b, [](QTextBlockFormat& f) { f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore); });
    }
}

// The paragraph that the table of contents takes the place of (obsah =
// contents).
const QString ZnackaObsahu = QStringLiteral("[[obsah]]");

// The table of contents: the headings of levels 1 and 2 after the marker,
// each with the page it is printed on; the cursors follow the headings
// through the changes of the document.
struct TObsah {
    QTextTable* Tabulka = nullptr;
    QList<QTextCursor> Nadpisy;
};

// Puts a borderless table in place of the marker, a row for each heading,
// its page number yet unknown; no table without a marker. `naBod` is the
// device's pixels per 96 dpi pixel: the layout scales a paragraph's space
// above to the device, but not its indent.
TObsah VlozObsah(QTextDocument& d, qreal naBod)
{
    TObsah obsah;
    QTextBlock znacka;
    for (QTextBlock b = d.begin(); b.isValid() && !znacka.isValid(); b = b.next())
        if (b.text().trimmed() == ZnackaObsahu && !QTextCursor(b).currentTable())
            znacka = b;
    if (!znacka.isValid())
        return obsah;
    for (QTextBlock b = znacka.next(); b.isValid(); b = b.next())
        if (const int uroven = b.blockFormat().headingLevel();
            (uroven == 1 || uroven == 2) && !QTextCursor(b).currentTable())
            obsah.Nadpisy.append(QTextCursor(b));
    QTextCursor c(znacka);
    c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    c.removeSelectedText();
    QTextTableFormat format;
    format.setBorder(0);
    format.setCellPadding(1);
    format.setCellSpacing(0);
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    format.setColumnWidthConstraints(
        {QTextLength(QTextLength::PercentageLength, 92), QTextLength(QTextLength::PercentageLength, 8)});
    obsah.Tabulka = c.insertTable(static_cast<int>(obsah.Nadpisy.size()), 2, format);
    for (int i = 0; i < obsah.Nadpisy.size(); ++i) {
        const QTextBlock nadpis = obsah.Nadpisy[i].block();
        const bool kapitola = nadpis.blockFormat().headingLevel() == 1;
        QTextCursor nazev = obsah.Tabulka->cellAt(i, 0).firstCursorPosition();
        QTextBlockFormat odsazeni;
        odsazeni.setLeftMargin(kapitola ? 0 : 18 * naBod);
        odsazeni.setTopMargin(kapitola && i > 0 ? 5 : 0);
        nazev.setBlockFormat(odsazeni);
        QTextCharFormat pismo;
        pismo.setFontWeight(kapitola ? QFont::Bold : QFont::Normal);
        nazev.insertText(nadpis.text(), pismo);
        QTextCursor strana = obsah.Tabulka->cellAt(i, 1).firstCursorPosition();
        QTextBlockFormat vpravo = odsazeni;
        vpravo.setLeftMargin(0);
        vpravo.setAlignment(Qt::AlignRight);
        strana.setBlockFormat(vpravo);
    }
    return obsah;
}

// Writes each heading's page into its row; true when one changed. A number
// of another width can move a line, so the caller lays out again until
// none changes (doplnit = fill in).
bool DoplnStrany(QTextDocument& d, const TObsah& obsah)
{
    bool zmena = false;
    for (int i = 0; i < obsah.Nadpisy.size(); ++i) {
        const QString cislo =
            QString::number(Strana(PrvniRadek(d, obsah.Nadpisy[i].block()), d.pageSize().height()) + 1);
        const QTextTableCell bunka = obsah.Tabulka->cellAt(i, 1);
        QTextCursor c = bunka.firstCursorPosition();
        c.setPosition(bunka.lastCursorPosition().position(), QTextCursor::KeepAnchor);
        if (c.selectedText() == cislo)
            continue;
        c.insertText(cislo);
        zmena = true;
    }
    return zmena;
}

}  // namespace

bool NactiZdroje(const QStringList& soubory, QString& text, QString& chyba)
{
    QStringList casti;
    for (const QString& s : soubory) {
        QFile f(s);
        if (!f.open(QIODevice::ReadOnly)) {
            chyba = s + QStringLiteral(": ") + f.errorString();
            return false;
        }
        casti.append(QString::fromUtf8(f.readAll()));
    }
    text = casti.join(QStringLiteral("\n\n"));
    return true;
}

void Sestav(QTextDocument& dokument, const QString& markdown, const TVzhled& vzhled)
{
    QFont pismo(vzhled.Pismo);
    pismo.setPointSizeF(vzhled.VelikostPt);
    dokument.setDefaultFont(pismo);
    dokument.setMarkdown(markdown, QTextDocument::MarkdownDialectGitHub);
    dokument.setDocumentMargin(0);
    bool prvniNadpis = true;
    for (QTextBlock b = dokument.begin(); b.isValid(); b = b.next()) {
        if (const int uroven = b.blockFormat().headingLevel(); uroven > 0) {
            UpravNadpis(b, uroven, prvniNadpis && uroven == 1, vzhled);
            prvniNadpis = prvniNadpis && uroven != 1;
        } else if (b.blockFormat().hasProperty(QTextFormat::BlockCodeFence)) {
            UpravKod(b, vzhled);
        } else {
            // Code within a line keeps the size of the text around it.
            UpravZnaky(b, [&](QTextCharFormat& f) {
                if (f.fontFixedPitch())
                    Pismo(f, vzhled.PismoKodu, vzhled.VelikostPt - 0.5);
            });
        }
    }
    for (QTextFrame* ramec : dokument.rootFrame()->childFrames())
        if (auto* tabulka = qobject_cast<QTextTable*>(ramec))
            UpravTabulku(tabulka);
}

QStringList VlozObrazky(QTextDocument& dokument, const QString& slozka, const TVzhled& vzhled)
{
    const QDir adresar(slozka);
    const QSizeF strana = QPageSize(QPageSize::A4).size(QPageSize::Millimeter);
    const qreal sirkaTextu =
        (strana.width() - vzhled.OkrajeMm.left() - vzhled.OkrajeMm.right()) / MmNaPalec * BodyNaPalec;
    const qreal nejvyssi = PodilVyskyObrazku * (strana.height() - vzhled.OkrajeMm.top() - vzhled.OkrajeMm.bottom()) /
                           MmNaPalec * BodyNaPalec;
    QStringList chybejici;
    for (QTextBlock b = dokument.begin(); b.isValid(); b = b.next()) {
        bool obrazek = false;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (!f.charFormat().isImageFormat())
                continue;
            QTextImageFormat format = f.charFormat().toImageFormat();
            const QString jmeno = format.name();
            const QImage obraz(adresar.filePath(jmeno));
            if (obraz.isNull()) {
                chybejici.append(jmeno);
                continue;
            }
            dokument.addResource(QTextDocument::ImageResource, QUrl(jmeno), obraz);
            const qreal meritko = vzhled.MeritkoObrazku * BodyNaPalec / BodyNaPalecObrazku(obraz);
            const qreal zmenseni = std::min({meritko, sirkaTextu / obraz.width(), nejvyssi / obraz.height()});
            format.setWidth(obraz.width() * zmenseni);
            format.setHeight(obraz.height() * zmenseni);
            QTextCursor c(&dokument);
            c.setPosition(f.position());
            c.setPosition(f.position() + f.length(), QTextCursor::KeepAnchor);
            c.setCharFormat(format);
            obrazek = true;
        }
        if (obrazek && JenObrazek(b)) {
            UpravBlok(b, [](QTextBlockFormat& f) {
                f.setAlignment(Qt::AlignHCenter);
                f.setTopMargin(8);
                f.setBottomMargin(2);
            });
            if (const QTextBlock popis = b.next(); popis.isValid() && CelyKurzivou(popis))
                UpravBlok(popis, [](QTextBlockFormat& f) {
                    f.setAlignment(Qt::AlignHCenter);
                    f.setTopMargin(0);
                    f.setBottomMargin(10);
                });
        }
    }
    return chybejici;
}

QRectF Rozvrhni(QTextDocument& dokument, QPaintDevice& zarizeni, const TVzhled& vzhled)
{
    const qreal naMm = zarizeni.logicalDpiY() / MmNaPalec;  // device pixels per mm
    const QSizeF strana = QPageSize(QPageSize::A4).size(QPageSize::Millimeter) * naMm;
    const QRectF telo(vzhled.OkrajeMm.left() * naMm, vzhled.OkrajeMm.top() * naMm,
                      strana.width() - (vzhled.OkrajeMm.left() + vzhled.OkrajeMm.right()) * naMm,
                      strana.height() - (vzhled.OkrajeMm.top() + vzhled.OkrajeMm.bottom()) * naMm);
    dokument.documentLayout()->setPaintDevice(&zarizeni);
    dokument.setPageSize(telo.size());
    // A layout made before, in the screen's units, is not redone whole by
    // the new device.
    dokument.markContentsDirty(0, dokument.characterCount());
    const TObsah obsah = VlozObsah(dokument, zarizeni.logicalDpiX() / BodyNaPalec);
    for (int kolo = 0; kolo < 5; ++kolo) {
        DrzSNasledujicim(dokument);
        if (!obsah.Tabulka || !DoplnStrany(dokument, obsah))
            break;
        // After the numbers were written into the table the layout redoes
        // only part of the document, and the guide came out with half its
        // pages overprinted.
        dokument.markContentsDirty(0, dokument.characterCount());
    }
    return telo;
}

int Vytiskni(QTextDocument& dokument, const QString& pdf, const TVzhled& vzhled, QString& chyba)
{
    QPdfWriter zapisovac(pdf);
    zapisovac.setResolution(Rozliseni);
    zapisovac.setCreator(QStringLiteral("sazba"));
    zapisovac.setTitle(vzhled.Zapati);
    // The whole page is the painter's: the margins are drawn here.
    zapisovac.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    QPainter malir;
    if (!malir.begin(&zapisovac)) {
        chyba = pdf + QStringLiteral(": cannot be written");
        return 0;
    }
    // The pictures hold text, which the PDF's default JPEG compression blurs.
    malir.setRenderHint(QPainter::LosslessImageRendering);
    const qreal naMm = Rozliseni / MmNaPalec;  // device pixels per mm
    const QRectF telo = Rozvrhni(dokument, zapisovac, vzhled);

    QFont pismoZapati(vzhled.Pismo);
    pismoZapati.setPointSizeF(vzhled.VelikostPt - 2);
    const int stran = dokument.pageCount();
    for (int i = 0; i < stran; ++i) {
        if (i > 0)
            zapisovac.newPage();
        malir.save();
        malir.translate(telo.left(), telo.top() - i * telo.height());
        dokument.drawContents(&malir, QRectF(0, i * telo.height(), telo.width(), telo.height()));
        malir.restore();

        const QRectF zapati(telo.left(), telo.bottom() + 6 * naMm, telo.width(), 6 * naMm);
        malir.setPen(QPen(BarvaOkraje, 0.25 * naMm));
        malir.drawLine(zapati.topLeft(), zapati.topRight());
        malir.setFont(pismoZapati);
        malir.setPen(BarvaZapati);
        malir.drawText(zapati, Qt::AlignLeft | Qt::AlignVCenter, vzhled.Zapati);
        malir.drawText(zapati, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("%1 / %2").arg(i + 1).arg(stran));
    }
    // The layout must not keep the writer, which ends here.
    dokument.documentLayout()->setPaintDevice(nullptr);
    if (!malir.end()) {
        chyba = pdf + QStringLiteral(": cannot be written");
        return 0;
    }
    return stran;
}

}  // namespace vk::napoveda
