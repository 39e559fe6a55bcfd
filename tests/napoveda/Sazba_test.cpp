// The user guide's typesetting (sazba): the pictures' size on the page, a
// missing picture or chapter reported, no text printed under a table, no
// heading left alone at the foot of a page, the table of contents' page
// numbers, and a PDF of as many pages as reported.
#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QImage>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>

#include "Sazba.h"

using vk::napoveda::TVzhled;

class TestSazba : public QObject {
    Q_OBJECT

private slots:
    void obrazekVeVelikostiOkna();
    void obrazekVzdyNaStrane();
    void chybejiciObrazek();
    void zdrojeVPoradi();
    void textMimoTabulky();
    void nadpisSeSvymTextem();
    void obsahSeStranami();
    void pocetStranPdf();

private:
    QString UlozObrazek(const char* jmeno, int sirka, int vyska, qreal naPalec);
    QTextImageFormat Obrazek(const QString& markdown);
    QTemporaryDir Slozka;
};

namespace {

// The text's width and height on an A4 page with the look's margins, in
// the 96 dpi pixels of a text format.
QSizeF Text(const TVzhled& v)
{
    return QSizeF(210 - v.OkrajeMm.left() - v.OkrajeMm.right(), 297 - v.OkrajeMm.top() - v.OkrajeMm.bottom()) / 25.4 *
           96;
}

// Where a block's first line stands in the laid out document.
qreal PrvniRadek(const QTextDocument& d, const QTextBlock& b)
{
    const qreal y = d.documentLayout()->blockBoundingRect(b).top();
    return b.layout()->lineCount() > 0 ? y + b.layout()->lineAt(0).y() : -1;  // -1: not laid out
}

// The page a point of the laid out document falls on, counted from 1; a
// line pushed to a page starts at its edge up to the layout's rounding.
int Strana(const QTextDocument& d, qreal y)
{
    return int((y + 1) / d.pageSize().height()) + 1;
}

// A document of Markdown laid out for printing on `zapisovac`, which the
// layout keeps; the number of pages.
int Rozvrhni(QTextDocument& d, const QString& markdown, QPdfWriter& zapisovac)
{
    TVzhled v;
    vk::napoveda::Sestav(d, markdown, v);
    zapisovac.setResolution(300);
    vk::napoveda::Rozvrhni(d, zapisovac, v);
    return d.pageCount();
}

}  // namespace

QString TestSazba::UlozObrazek(const char* jmeno, int sirka, int vyska, qreal naPalec)
{
    QImage obraz(sirka, vyska, QImage::Format_RGB32);
    obraz.fill(Qt::gray);
    obraz.setDotsPerMeterX(qRound(naPalec / 0.0254));
    obraz.setDotsPerMeterY(qRound(naPalec / 0.0254));
    obraz.save(Slozka.filePath(QString::fromLatin1(jmeno)), "PNG");
    return QString::fromLatin1(jmeno);
}

// The format of the one picture a Markdown text names, once put in.
QTextImageFormat TestSazba::Obrazek(const QString& markdown)
{
    QTextDocument d;
    vk::napoveda::Sestav(d, markdown, TVzhled{});
    if (!vk::napoveda::VlozObrazky(d, Slozka.path(), TVzhled{}).isEmpty())
        return {};
    for (QTextBlock b = d.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat())
                return it.fragment().charFormat().toImageFormat();
    return {};
}

// A window pictured at twice the screen's pixels is drawn at the look's
// share of its size on a 96 dpi screen, whatever its pixel count.
void TestSazba::obrazekVeVelikostiOkna()
{
    const QString jmeno = UlozObrazek("okno.png", 400, 200, 192);
    const QTextImageFormat f = Obrazek(QStringLiteral("![okno](%1)\n").arg(jmeno));
    const qreal meritko = TVzhled{}.MeritkoObrazku;
    // The file holds whole dots per metre: 192 dpi comes back a hair off.
    QVERIFY(qAbs(f.width() - 200 * meritko) < 0.01);
    QVERIFY(qAbs(f.height() - 100 * meritko) < 0.01);
}

// A picture wider than the text is drawn at the text's width, a tall one
// no taller than half the text; both keep their proportions.
void TestSazba::obrazekVzdyNaStrane()
{
    const QSizeF text = Text(TVzhled{});
    const QTextImageFormat siroky =
        Obrazek(QStringLiteral("![a](%1)\n").arg(UlozObrazek("siroky.png", 4000, 1000, 96)));
    QVERIFY(qAbs(siroky.width() - text.width()) < 0.01);
    QVERIFY(qAbs(siroky.height() * 4 - siroky.width()) < 0.01);

    const QTextImageFormat vysoky = Obrazek(QStringLiteral("![b](%1)\n").arg(UlozObrazek("vysoky.png", 500, 3000, 96)));
    QVERIFY(vysoky.height() <= text.height() / 2);
    QVERIFY(qAbs(vysoky.height() - vysoky.width() * 6) < 0.01);
}

// A picture that is not there is named, not left out without a word.
void TestSazba::chybejiciObrazek()
{
    QTextDocument d;
    vk::napoveda::Sestav(d, QStringLiteral("Text\n\n![a](neni.png)\n"), TVzhled{});
    QCOMPARE(vk::napoveda::VlozObrazky(d, Slozka.path(), TVzhled{}), QStringList{QStringLiteral("neni.png")});
}

// The chapters in the order given; a missing one stops the guide.
void TestSazba::zdrojeVPoradi()
{
    const auto uloz = [this](const char* jmeno, const char* text) {
        QFile f(Slozka.filePath(QString::fromLatin1(jmeno)));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(text);
    };
    uloz("2.md", "# Druhá\n");
    uloz("1.md", "# První\n");
    QString text;
    QString chyba;
    QVERIFY(vk::napoveda::NactiZdroje({Slozka.filePath("2.md"), Slozka.filePath("1.md")}, text, chyba));
    QVERIFY(text.indexOf(QStringLiteral("Druhá")) < text.indexOf(QStringLiteral("První")));
    QVERIFY(!vk::napoveda::NactiZdroje({Slozka.filePath("1.md"), Slozka.filePath("3.md")}, text, chyba));
    QVERIFY(chyba.contains(QStringLiteral("3.md")));
}

// Documents in which a heading stands a little lower each time, so that in
// one of them it would be the last line of page 1 and its text would begin
// page 2: a code block of n lines (code lines are shorter than the heading
// and the line after it), then the heading, a paragraph and a table.
QString Posunuty(int n)
{
    return QStringLiteral("```\n") + QString(QStringLiteral("x\n")).repeated(n) +
           QStringLiteral("```\n\n## Nadpis\n\nOdstavec před tabulkou.\n\n| Sloupec | Význam |\n|---|---|\n"
                          "| a | b |\n| c | d |\n\nOdstavec za tabulkou.\n");
}

constexpr int Posunu = 110;  // takes the heading past the foot of page 1

// Once laid out for the PDF, also where a heading had to move to the next
// page, the paragraphs and headings stand clear of the tables, so that none
// is printed under a table.
void TestSazba::textMimoTabulky()
{
    for (int n = 1; n <= Posunu; ++n) {
        QTextDocument d;
        QPdfWriter zapisovac(Slozka.filePath("tabulky.pdf"));
        Rozvrhni(d, Posunuty(n), zapisovac);
        // A table's place less its margins, into which the text around may reach.
        const qreal meritko = zapisovac.logicalDpiY() / 96.0;
        QList<QRectF> tabulky;
        for (QTextFrame* ramec : d.rootFrame()->childFrames())
            if (qobject_cast<QTextTable*>(ramec))
                tabulky.append(d.documentLayout()->frameBoundingRect(ramec).adjusted(
                    0, ramec->frameFormat().topMargin() * meritko, 0, -ramec->frameFormat().bottomMargin() * meritko));
        QCOMPARE(tabulky.size(), 1);
        for (QTextBlock b = d.begin(); b.isValid(); b = b.next()) {
            if (QTextCursor(b).currentTable() || b.text().isEmpty())
                continue;
            QVERIFY2(!d.documentLayout()->blockBoundingRect(b).intersects(tabulky[0]),
                     qPrintable(QStringLiteral("%1 (%2)").arg(b.text()).arg(n)));
        }
    }
}

// A heading is printed on the page where the text under it begins.
void TestSazba::nadpisSeSvymTextem()
{
    int naDruheStrane = 0;
    for (int n = 1; n <= Posunu; ++n) {
        QTextDocument d;
        QPdfWriter zapisovac(Slozka.filePath("nadpisy.pdf"));
        Rozvrhni(d, Posunuty(n), zapisovac);
        QTextBlock nadpis = d.begin();
        while (nadpis.blockFormat().headingLevel() == 0)
            nadpis = nadpis.next();
        const int strana = Strana(d, PrvniRadek(d, nadpis));
        QCOMPARE(strana, Strana(d, PrvniRadek(d, nadpis.next())));
        naDruheStrane += strana == 2;
    }
    QVERIFY(naDruheStrane > 0);  // the heading did get past the page's foot
}

// The table of contents lists the headings of levels 1 and 2 after its
// marker, each with the page it is printed on, counted with the pages the
// table itself takes.
void TestSazba::obsahSeStranami()
{
    QString md = QStringLiteral("# Příručka\n\nÚvod.\n\n[[obsah]]\n\n");
    for (int i = 1; i <= 30; ++i)
        md += QStringLiteral("# Kapitola %1\n\n%2\n\n## Oddíl %1\n\n%2\n\n### Pododdíl %1\n\nText.\n\n")
                  .arg(i)
                  .arg(QString(QStringLiteral("slovo ")).repeated(40 * i));
    QTextDocument d;
    QPdfWriter zapisovac(Slozka.filePath("obsah.pdf"));
    QVERIFY(Rozvrhni(d, md, zapisovac) > 10);
    QTextTable* obsah = nullptr;
    for (QTextFrame* ramec : d.rootFrame()->childFrames())
        obsah = obsah ? obsah : qobject_cast<QTextTable*>(ramec);
    QVERIFY(obsah);
    QCOMPARE(obsah->rows(), 60);
    const auto text = [](const QTextTableCell& bunka) {
        QTextCursor c = bunka.firstCursorPosition();
        c.setPosition(bunka.lastCursorPosition().position(), QTextCursor::KeepAnchor);
        return c.selectedText();
    };
    for (int i = 0; i < obsah->rows(); ++i) {
        QTextBlock nadpis = d.findBlock(obsah->lastPosition() + 1);
        while (nadpis.isValid() && nadpis.text() != text(obsah->cellAt(i, 0)))
            nadpis = nadpis.next();
        QVERIFY2(nadpis.isValid(), qPrintable(text(obsah->cellAt(i, 0))));
        QCOMPARE(text(obsah->cellAt(i, 1)).toInt(), Strana(d, PrvniRadek(d, nadpis)));
    }
}

// The count reported is the count of pages in the file: no blank page
// after the last, none lost.
void TestSazba::pocetStranPdf()
{
    QTextDocument d;
    const QString pdf = Slozka.filePath("strany.pdf");
    vk::napoveda::Sestav(d, QString(QStringLiteral("Odstavec textu.\n\n")).repeated(300), TVzhled{});
    QString chyba;
    const int stran = vk::napoveda::Vytiskni(d, pdf, TVzhled{}, chyba);
    QVERIFY(stran > 1);
    QFile f(pdf);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QString obsah = QString::fromLatin1(f.readAll());
    QCOMPARE(obsah.count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))), stran);
}

QTEST_MAIN(TestSazba)
#include "Sazba_test.moc"
