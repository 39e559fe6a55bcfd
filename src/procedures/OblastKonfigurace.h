#pragma once
// What the six settings areas have in common (Oblast konfigurace =
// configuration area): the status texts, the decisions of the dialogs'
// "Zapsat" and "Ok" buttons, and the read and the verified write of one
// device file. Each area's own file adds its controls record, its rules and
// its conversions.
#include <cstdint>
#include <string>
#include <string_view>

#include "Cas.h"
#include "Dekl.h"
#include "Oznameni.h"
#include "Platnost.h"
#include "U_VK7316R.h"

namespace vk::procedures {

inline constexpr std::string_view TextCteni = " Probíhá čtení konfigurace z modulu";
inline constexpr std::string_view TextPrecteno = " Konfigurace přečtena.";
inline constexpr std::string_view TextZapis = " Probíhá zápis konfigurace do modulu";
inline constexpr std::string_view TextZapsano = " Konfigurace zapsána.";
inline constexpr std::string_view TextChybaVerifikace = " Chyba verifikace zápisu.";

// The item index a drop-down list of `pocet` items shows for `index`: a
// value with no item leaves the list with none selected (-1).
int IndexPolozky(std::int32_t index, int pocet);

// A text field's number by the dialogs' integer conversion (decimal, or
// hexadecimal after "$" or "0x"), within min to max (Prevod = conversion).
bool PrevedVRozsahu(std::string_view text, std::int32_t min, std::int32_t max, std::int32_t& hodnota);

// The baud-rate list of the two line dialogs shows codes 2 to 8 (2400 to
// 115200 Bd) as items 0 to 6; the parity list codes 0 to 2 as its items.
inline constexpr int PocetPolozekBaud = 7;
inline constexpr int PosunKoduBaud = 2;
inline constexpr int PocetPolozekParita = 3;
// The parity list's item text for a parity code ("žádná", "sudá", "lichá").
const char* NazevParity(std::int32_t kodParita);

// Outcome of reading an area from the module (Vysledek cteni = read result).
struct TVysledekCteni {
    bool Uspech = false;  // the file was read and its fields stored
    std::string Status;   // " Konfigurace přečtena." or " " + the link's text
    std::string Pricina;  // why the link failed (device::PricinaSelhani); empty otherwise
};

// Outcome of writing an area (Vysledek zapisu = write result).
struct TVysledekZapisu {
    bool Zapsano = false;    // written; for a verified area also read back equal
    std::string Status;      // the final status text
    std::string Pricina;     // why the link failed, the write's or the read-back's; empty otherwise
    bool Overovano = false;  // a read-back was made (Overovano = verified)
    TVysledekCteni Cteni;    // the read-back's outcome, when one was made
    core::TCFGVK Zpet;       // the read-back's record (Zpet = back); its area only
};

// One area as a window or the command-line tool drives it, O being its
// controls record.
template <class O>
struct TOblast {
    std::string_view Soubor;        // the device file
    bool CistPriZobrazeni = false;  // the dialog reads the module when shown
    O (*ZapisOkno)(const core::TCFGVK& cfg) = nullptr;
    TPlatnost (*PrectiOkno)(const O& okno, core::TCFGVK& cfg) = nullptr;
    O (*VychoziOkno)() = nullptr;  // null: the area has no "Default parametry"
    TVysledekCteni (*PrectiData)(device::TVK7316R& modul, core::TCFGVK& cfg, const TOznameni& oznam) = nullptr;
    TVysledekZapisu (*ZapisData)(device::TVK7316R& modul, core::TCFGVK cfg, const TOznameni& oznam) = nullptr;
};

// The dialogs' "Ok" (Potvrd = confirm): the controls go into the working
// copy `prace` field by field as they pass; only when all passed does the
// working copy replace `cil` (the program's image) whole; the dialog closes
// then.
template <class O>
TPlatnost PotvrdOkno(const TOblast<O>& oblast, const O& okno, core::TCFGVK& prace, core::TCFGVK& cil)
{
    TPlatnost platnost = oblast.PrectiOkno(okno, prace);
    if (platnost.Platne)
        cil = prace;
    return platnost;
}

// The window thread's part of "Zapsat" (Priprav zapis = prepare the write):
// the rules into the working copy; true when a ZapisData of a copy of it
// may follow. `platnost` tells what to show meanwhile.
template <class O>
bool PripravZapis(const TOblast<O>& oblast, const O& okno, core::TCFGVK& prace, TPlatnost& platnost)
{
    platnost = oblast.PrectiOkno(okno, prace);
    return platnost.Platne;
}

namespace detail {

void Oznam(const TOznameni& oznam, const std::string& text);

// Status text, then the read; `uloz` stores the fields of a
// read that succeeded.
template <class R, class Precti, class Uloz>
TVysledekCteni PrectiSoubor(const device::TVK7316R& modul, const TOznameni& oznam, Precti precti, Uloz uloz)
{
    Oznam(oznam, std::string(TextCteni));
    TVysledekCteni v;
    R r;
    if (precti(r)) {
        uloz(r);
        v.Uspech = true;
        v.Status = std::string(TextPrecteno);
    } else {
        v.Status = " " + r.StatusText;
        v.Pricina = device::PricinaSelhani(modul);
    }
    Oznam(oznam, v.Status);
    return v;
}

// Status text, then the write of the record `r`. An area
// without read-back ends here with " Konfigurace zapsána."; a verified one
// goes on with Over.
template <class R, class Zapis>
TVysledekZapisu ZapisSoubor(const device::TVK7316R& modul, const TOznameni& oznam, R r, Zapis zapis)
{
    Oznam(oznam, std::string(TextZapis));
    TVysledekZapisu v;
    v.Zapsano = zapis(r);
    v.Status = v.Zapsano ? std::string(TextZapsano) : " " + r.StatusText;
    if (!v.Zapsano)
        v.Pricina = device::PricinaSelhani(modul);
    return v;
}

// After a successful write: read back into a separate record and let
// `stejne` compare the fields the area verifies (Stejne = equal).
template <class Cti, class Stejne>
TVysledekZapisu Over(TVysledekZapisu v, Cti cti, Stejne stejne)
{
    v.Overovano = true;
    v.Cteni = cti(v.Zpet);
    v.Zapsano = v.Cteni.Uspech && stejne(v.Zpet);
    v.Status = std::string(v.Zapsano ? TextZapsano : TextChybaVerifikace);
    v.Pricina = v.Cteni.Pricina;
    return v;
}

}  // namespace detail
}  // namespace vk::procedures
