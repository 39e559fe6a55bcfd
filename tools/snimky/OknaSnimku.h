#pragma once
// The windows the picture tools show (Okna snimku = windows of the shots):
// every window of the program, made as the program makes it, some of them
// with a simulated module behind them, and the run that shows them one
// after another and hands each to a saving function. The screenshot tool
// saves what a real X display shows; the help document's picture tool
// saves what the widgets paint on the offscreen platform.
#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

namespace vk::snimky {

// A window shown and the windows it opened over itself (an open menu),
// which the picture must include (snimek = shot).
struct TSnimek {
    std::unique_ptr<QWidget> Okno;
    QList<QPointer<QWidget>> Nad;
};

// Saves the picture of a shown window into `soubor` (a PNG file); false
// when it cannot (ulozeni = saving).
using TUlozeni = std::function<bool(const TSnimek& snimek, const QString& soubor)>;

// Runs a picture tool named `nastroj` over the application's arguments
// OUTDIR [NAME...]: shows the windows named, all when none, and saves each
// as OUTDIR/NAME.png with `uloz`, printing the file and the window's
// caption. Exit status: 0 when every window was pictured, 1 when one could
// not be, 2 for wrong arguments. Needs a QApplication.
int Spust(const char* nastroj, const TUlozeni& uloz);

}  // namespace vk::snimky
