// sazba (= typesetting): the user guide as an A4 PDF from its Markdown
// source and the pictures of the windows, while the program is built.
//
//   sazba -o GUIDE.pdf --obrazky DIR [--zapati TEXT] SOURCE.md...
//
// The sources are joined in the order given. Exit status 1 when a picture
// the text names is missing or the PDF cannot be written, 2 for wrong
// arguments or a missing font.
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextDocument>

#include <cstdio>

#include "Sazba.h"

namespace {

int Pouziti()
{
    std::fprintf(stderr, "usage: sazba -o GUIDE.pdf --obrazky DIR [--zapati TEXT] SOURCE.md...\n");
    return 2;
}

}  // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt wants a private runtime folder and warns on every start without one.
    QTemporaryDir beh;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && beh.isValid())
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(beh.path()));
    QGuiApplication aplikace(argc, argv);
    QString pdf;
    QString obrazky;
    QStringList zdroje;
    vk::napoveda::TVzhled vzhled;
    const QStringList argumenty = QGuiApplication::arguments().mid(1);
    for (qsizetype i = 0; i < argumenty.size(); ++i) {
        const QString& a = argumenty[i];
        const bool sHodnotou =
            a == QLatin1String("-o") || a == QLatin1String("--obrazky") || a == QLatin1String("--zapati");
        if (sHodnotou && i + 1 >= argumenty.size())
            return Pouziti();
        if (a == QLatin1String("-o"))
            pdf = argumenty[++i];
        else if (a == QLatin1String("--obrazky"))
            obrazky = argumenty[++i];
        else if (a == QLatin1String("--zapati"))
            vzhled.Zapati = argumenty[++i];
        else if (a.startsWith(QLatin1Char('-')))
            return Pouziti();
        else
            zdroje.append(a);
    }
    if (pdf.isEmpty() || obrazky.isEmpty() || zdroje.isEmpty())
        return Pouziti();
    for (const QString& pismo : {vzhled.Pismo, vzhled.PismoKodu})
        if (!QFontDatabase::families().contains(pismo)) {
            std::fprintf(stderr, "sazba: the font %s is missing (Debian package fonts-dejavu-core)\n",
                         qPrintable(pismo));
            return 2;
        }

    QString text;
    QString chyba;
    if (!vk::napoveda::NactiZdroje(zdroje, text, chyba)) {
        std::fprintf(stderr, "sazba: %s\n", qPrintable(chyba));
        return 1;
    }
    QTextDocument dokument;
    vk::napoveda::Sestav(dokument, text, vzhled);
    const QStringList chybejici = vk::napoveda::VlozObrazky(dokument, obrazky, vzhled);
    if (!chybejici.isEmpty()) {
        std::fprintf(stderr, "sazba: pictures missing from %s: %s\n", qPrintable(obrazky),
                     qPrintable(chybejici.join(QStringLiteral(", "))));
        return 1;
    }
    const int stran = vk::napoveda::Vytiskni(dokument, pdf, vzhled, chyba);
    if (stran == 0) {
        std::fprintf(stderr, "sazba: %s\n", qPrintable(chyba));
        return 1;
    }
    std::printf("%s: %d pages\n", qPrintable(pdf), stran);
    return 0;
}
