// obrazky (= pictures): the pictures of the program's windows for the user
// guide, made while the program is built. Every window is shown on Qt's
// offscreen platform, so no display is needed, and saved as the widgets
// paint themselves, with the menus open over the main window painted in.
//
//   obrazky OUTDIR [NAME...]    only the windows named, all when none is
//
// Exit status 1 when a window could not be pictured (the build stops
// there), 2 for wrong arguments or a missing font.
#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QLocale>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

#include "Hlavni.h"
#include "OknaSnimku.h"
#include "Preklady.h"

namespace {

// Pictures sharp enough for paper: a screen of twice the pixels of the
// usual 800 x 600 one, each of its points two pixels wide (pomer = ratio),
// so that the windows lay out as on an ordinary screen and grab() returns
// pictures of twice the resolution.
constexpr int Pomer = 2;
constexpr char Obrazovka[] = R"({"screens": [{"name": "obrazky", "x": 0, "y": 0, "width": 1600, "height": 1200,
                                 "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 2}]})";

// The font of every window: the offscreen platform takes whatever
// fontconfig offers for "Sans Serif", which need not hold the Czech letters.
constexpr char Pismo[] = "DejaVu Sans";

// Room left below an open menu in its picture (okraj = margin).
constexpr int OkrajPodNabidkou = 12;

// The window and the windows over it as one picture, each painted where it
// stands on the screen; what none of them covers stays transparent. A menu
// open over the main window is pictured with the window's strip down to
// just below it: the rest of the window is empty and would only make the
// menu small on the page.
bool UlozSnimek(const vk::snimky::TSnimek& s, const QString& soubor)
{
    QWidget* okno = s.Okno.get();
    const QPoint pocatek = okno->mapToGlobal(QPoint(0, 0));
    QRect oblast = okno->rect();
    QRect nadOknem;
    for (const QWidget* nad : s.Nad)
        if (nad && nad->isVisible())
            nadOknem |= QRect(nad->mapToGlobal(QPoint(0, 0)) - pocatek, nad->size());
    if (!nadOknem.isNull()) {
        oblast.setBottom(std::min(oblast.bottom(), nadOknem.bottom() + OkrajPodNabidkou));
        oblast |= nadOknem;
    }
    const QPixmap spodni = okno->grab();
    const qreal pomer = spodni.devicePixelRatio();
    QImage obraz((QSizeF(oblast.size()) * pomer).toSize(), QImage::Format_ARGB32_Premultiplied);
    obraz.setDevicePixelRatio(pomer);
    obraz.fill(Qt::transparent);
    QPainter malir(&obraz);
    malir.translate(-oblast.topLeft());
    malir.drawPixmap(QPoint(0, 0), spodni);
    for (QWidget* nad : s.Nad)
        if (nad && nad->isVisible())
            malir.drawPixmap(nad->mapToGlobal(QPoint(0, 0)) - pocatek, nad->grab());
    malir.end();
    // The resolution goes into the file, so that the guide draws the
    // picture at the size of the window on an ordinary screen.
    const int naMetr = qRound(96 * pomer / 0.0254);
    obraz.setDotsPerMeterX(naMetr);
    obraz.setDotsPerMeterY(naMetr);
    return obraz.save(soubor, "PNG");
}

// The offscreen platform says at every window that it has no window
// manager to pass size hints or a raise to; nothing a picture lacks.
void Hlaseni(QtMsgType typ, const QMessageLogContext& kontext, const QString& zprava)
{
    if (typ == QtWarningMsg && zprava.startsWith(QLatin1String("This plugin does not support")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(typ, kontext, zprava)));
}

}  // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir slozka;
    QFile konfigurace(slozka.filePath(QStringLiteral("obrazovka.json")));
    if (!slozka.isValid() || !konfigurace.open(QIODevice::WriteOnly) || konfigurace.write(Obrazovka) < 0) {
        std::fprintf(stderr, "obrazky: cannot write the screen's description into %s\n", qPrintable(slozka.path()));
        return 1;
    }
    konfigurace.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(konfigurace.fileName()));
    // Qt wants a private runtime folder and warns on every start without one.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(slozka.path()));
    qInstallMessageHandler(Hlaseni);
    QApplication aplikace(argc, argv);
    if (QApplication::primaryScreen()->devicePixelRatio() != Pomer) {
        std::fprintf(stderr, "obrazky: the offscreen screen did not take the ratio %d\n", Pomer);
        return 1;
    }
    QApplication::setApplicationName(QString::fromLatin1(TitulProgramu));
    if (!QFontDatabase::families().contains(QString::fromLatin1(Pismo))) {
        std::fprintf(stderr, "obrazky: the font %s is missing (Debian package fonts-dejavu-core)\n", Pismo);
        return 2;
    }
    // Numbers as a Czech user's desktop writes them (12,500).
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));
    QFont pismo = QApplication::font();
    pismo.setFamily(QString::fromLatin1(Pismo));
    QApplication::setFont(pismo);
    NactiPrekladyQt();
    return vk::snimky::Spust("obrazky", UlozSnimek);
}
