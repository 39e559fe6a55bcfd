#pragma once
// Unit OknoModulu (= a window of the module): what every window that talks
// to the module has in common, so that each window keeps only its controls
// and their handlers:
// - the program state `Dat` and the device worker, both given by the
//   opener after construction;
// - the job helper `Uloha` the window's device work runs on (see
//   UlohaOkna.h), with a busy cursor or, for windows that poll, without;
// - the status bar along the bottom, whose texts are painted at once;
// - FormShow each time the window is shown by the program (not when the
//   desktop shows it again after a minimise);
// - every way of closing stopping the window's work and waiting for its
//   end first, so that no job outlives the window.
#include <QDialog>

#include <string>

#include "Dekl.h"
#include "UlohaOkna.h"

class QLayout;
class TPracovnikZarizeni;

namespace vk::ui {
class TStavovyRadek;
}

class TOknoModulu : public QDialog {
    Q_OBJECT

public:
    // The program state; without it the window shows its controls as laid
    // out and talks to no module.
    vk::core::PData Dat = nullptr;

    // The device worker the window's jobs run on (pracovnik = worker),
    // owned by the opener. Without one no job runs.
    void NastavPracovnika(TPracovnikZarizeni* pracovnik) { Uloha.NastavPracovnika(pracovnik); }
    TPracovnikZarizeni* Pracovnik() const { return Uloha.Pracovnik(); }

    virtual void FormShow() {}

    // A job of the window is running (bezi).
    bool Bezi() const { return Uloha.Bezi(); }
    // The status bar's text (stav = state); empty in a window without one.
    QString TextStavu() const;

    // Every way of closing ends here: the window's work is stopped and
    // waited for first (ZastavPraci).
    void done(int vysledek) override;

protected:
    // `kurzor`: the window's jobs show a busy cursor (the user waits on
    // them); polls do not.
    explicit TOknoModulu(QWidget* parent, bool kurzor = true);

    // Puts the window's frame together around `obsah` (content): the
    // caption and the status bar (sestav = put together).
    void Sestav(const char* titulek, QLayout* obsah);
    // Shows a status text, by default painted at once so that it is seen
    // before the work it announces has ended.
    void UkazStav(const std::string& text, bool prekreslit = true);
    // The same for a job's result: the status text and, on hovering, why
    // the link failed (pricina = cause; empty after a success, which so
    // clears what a failed poll before it left).
    void UkazStav(const std::string& text, const std::string& pricina, bool prekreslit = true);
    // Whether a job may talk to the module: the program is connected and
    // there is a worker. Otherwise the status bar says it is not connected.
    bool Pripojeno();

    // Stops the window's work before it closes; a window that polls also
    // stops its timer.
    virtual void ZastavPraci() { Uloha.ZastavACekej(); }

    void showEvent(QShowEvent* udalost) override;

    vk::ui::TStavovyRadek* StatusBar1 = nullptr;
    TUlohaOkna Uloha;
};
