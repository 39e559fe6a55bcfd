#pragma once
// Unit KonfiguracniDialog (= configuration dialog): what the six dialogs
// that edit one settings area of the module each have in common. The base
// owns the working copy CFGVK, the status bar, the buttons "Zapsat",
// "Přečíst", "Ok", "Cancel" (and "Default parametry" where the area has
// defaults) and their flow:
// - shown: the working copy starts as the program's image, read from the
//   module first in the areas that read on show;
// - "Přečíst": the area is read from the module into the working copy, and
//   the controls are refilled from the working copy whether the read
//   succeeded or not;
// - "Zapsat": the controls are taken into the working copy by the area's
//   rules; when they passed, a copy of it is written (and read back where
//   the area verifies); neither the working copy nor the image changes;
// - "Ok": the controls are taken, and only when they all passed does the
//   working copy replace the program's image; no traffic, no connection
//   needed;
// - "Cancel": the working copy is dropped.
// Reads and writes run as jobs on the device worker. Meanwhile the buttons
// that would start another transfer, and "Ok", are disabled and a busy
// cursor shows; closing the dialog stops the job and waits for its end.
//
// A dialog supplies its controls and, through TDialogOblasti, the area's
// record of controls and its procedures.
#include <string>

#include "Dekl.h"
#include "OblastKonfigurace.h"
#include "OknoModulu.h"

class QPushButton;
class QVBoxLayout;

class TKonfiguracniDialog : public TOknoModulu {
    Q_OBJECT

public:
    ~TKonfiguracniDialog() override;

    // Without the program state `Dat` the dialog shows its controls as laid
    // out, "Ok" only closes and nothing talks to the module.

    // The working copy the controls are taken into.
    vk::core::TCFGVK CFGVK{};

    void FormShow() override;
    void PrectiClick();   // "Přečíst" (Precti = read)
    void ZapisClick();    // "Zapsat" (Zapis = write)
    void Button3Click();  // "Ok"
    void Button4Click();  // "Cancel"
    void Button6Click();  // "Default parametry"

protected:
    // The area's read and write, as the device worker runs them.
    using TCteniOblasti = vk::procedures::TVysledekCteni (*)(vk::device::TVK7316R&, vk::core::TCFGVK&,
                                                             const vk::procedures::TOznameni&);
    using TZapisOblasti = vk::procedures::TVysledekZapisu (*)(vk::device::TVK7316R&, vk::core::TCFGVK,
                                                              const vk::procedures::TOznameni&);

    // What sets one dialog apart from the others (vlastnosti = properties).
    struct TVlastnosti {
        const char* Titulek;             // the caption
        bool CistPriZobrazeni = false;   // reads the module when shown
        bool TlacitkaProhozena = false;  // Button1 is "Zapsat" and Button2 "Přečíst"
        bool MaVychozi = false;          // has "Default parametry"
        TCteniOblasti PrectiData = nullptr;
        TZapisOblasti ZapisData = nullptr;
    };

    TKonfiguracniDialog(QWidget* parent, const TVlastnosti& vlastnosti);

    // The dialog's own controls go into this layout, above the buttons.
    QVBoxLayout* Obsah() const { return ObsahOkna; }

    // Record to controls, and controls into the record by the area's rules
    // (all passed, or the first refusal).
    virtual void ZapisOkno(const vk::core::TCFGVK& cfg) = 0;
    virtual vk::procedures::TPlatnost PrectiOkno(vk::core::TCFGVK& cfg) = 0;
    virtual void VychoziParametry() {}

    void showEvent(QShowEvent* udalost) override;

private:
    // Runs the area's read on a copy of the working copy, which replaces
    // the working copy when it is back; then the controls are refilled.
    // Shown on opening (poZobrazeni), the read's outcome gives way to " ".
    void SpustCteni(bool poZobrazeni);
    void SeradPoradi();  // the tab order: the controls, then the buttons (serad poradi = sort the order)

    TVlastnosti Vlastnosti;
    bool PoradiNastaveno = false;
    QVBoxLayout* ObsahOkna = nullptr;
    QPushButton* TlacitkoZapsat = nullptr;
    QPushButton* TlacitkoPrecist = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button4 = nullptr;
    QPushButton* Button6 = nullptr;
};

// A configuration dialog over one area of the procedures layer, O being the
// area's record of controls: the dialog puts such a record into its
// controls (UkazOkno = show the window) and takes it back (Okno); the rules,
// conversions and link work are the area's.
template <class O>
class TDialogOblasti : public TKonfiguracniDialog {
protected:
    TDialogOblasti(QWidget* parent, const vk::procedures::TOblast<O>& oblast, const char* titulek,
                   bool tlacitkaProhozena = false)
        : TKonfiguracniDialog(parent, {titulek, oblast.CistPriZobrazeni, tlacitkaProhozena,
                                       oblast.VychoziOkno != nullptr, oblast.PrectiData, oblast.ZapisData}),
          Oblast(oblast)
    {
    }

    virtual void UkazOkno(const O& okno) = 0;
    virtual O Okno() const = 0;

    void ZapisOkno(const vk::core::TCFGVK& cfg) override { UkazOkno(Oblast.ZapisOkno(cfg)); }
    vk::procedures::TPlatnost PrectiOkno(vk::core::TCFGVK& cfg) override { return Oblast.PrectiOkno(Okno(), cfg); }
    void VychoziParametry() override
    {
        if (Oblast.VychoziOkno)
            UkazOkno(Oblast.VychoziOkno());
    }

    const vk::procedures::TOblast<O>& Oblast;
};
