#pragma once
// A whole-module profile (Profil): every settings area at once, for a
// backup, a comparison with the module and a restore. The file form lives
// with the front ends; here are the four steps on configuration images:
// collect, compare, validate, apply.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "OblastKonfigurace.h"
#include "Prubeh.h"

namespace vk::procedures::profil {

// The areas in the order of the file (Oblast profilu = area of a profile).
enum class TOblastProfilu : std::size_t { Lan4, ModbusTCP, HlavniLinka, ServisniLinka, VzdalenaSprava, LogNastaveni };
inline constexpr std::size_t PocetOblasti = 6;

const std::array<TOblastProfilu, PocetOblasti>& VsechnyOblasti();
// The network area comes last: a changed address ends a LAN link, and every
// other area must already be in (Poradi zapisu = order of writing).
const std::array<TOblastProfilu, PocetOblasti>& PoradiZapisu();
std::string_view SouborOblasti(TOblastProfilu oblast);  // its device file

// The module as the connection identified it.
struct TIdentita {
    std::string TypModulu;
    std::string VerzeModulu;
    std::string VyrCislo;  // serial number
};

struct TProfil {
    TIdentita Identita;
    core::TCFGVK Cfg;                     // the settings of the areas held
    std::array<bool, PocetOblasti> Ma{};  // which areas it holds (Ma = has)
    bool Drzi(TOblastProfilu o) const { return Ma[static_cast<std::size_t>(o)]; }
};

// Whether the area's device file reaches the module over the link it is
// connected by: the event logging file travels over the LAN only.
bool OblastDostupna(const device::TVK7316R& modul, TOblastProfilu oblast);

struct TVysledekSberu {
    bool Uspech = false;
    std::string Status;                     // the failed file and the link's text
    std::string Pricina;                    // why the link failed (device::PricinaSelhani)
    std::vector<TOblastProfilu> Vynechane;  // left out: not reachable over this link
};

// Collect (Sber): reads every area the link reaches with the area's own
// read, into `profil` (with the identity from `dat`). `prubeh` gets the
// areas read of those to read after each one.
TVysledekSberu PrectiProfil(device::TVK7316R& modul, const core::TData& dat, TProfil& profil,
                            const link::TPrubeh& prubeh = {});

// Compare: an area differs when its dialog would show other values for it.
bool OblastSeLisi(const core::TCFGVK& a, const core::TCFGVK& b, TOblastProfilu oblast);
// The areas both profiles hold that differ, in the order of writing.
std::vector<TOblastProfilu> RozdilneOblasti(const TProfil& modul, const TProfil& soubor);

// Validate: every area held passes its dialog's rules as its controls would
// show it; the first that does not, with the rule's outcome.
bool PlatnyProfil(const TProfil& profil, TOblastProfilu& chybna, TPlatnost& platnost);

// The areas the module holds that the file does not (nesrovnane = not
// compared): they stay as they are.
std::vector<TOblastProfilu> NesrovnaneOblasti(const TProfil& modul, const TProfil& soubor);

// The network area of `soubor` moves the module to another IPv4 address or
// switches DHCP, which ends a LAN link once written.
bool ZmenaAdresy(const TProfil& modul, const TProfil& soubor);

struct TZapisOblasti {
    TOblastProfilu Oblast{};
    TVysledekZapisu Vysledek;
    // Written over the LAN with a new address: a read-back that found no
    // module at the old address is what the change does, not a failure.
    bool KonecSpojeni = false;
};

// Apply: writes the differing areas with their own verified writes in the
// order of writing and stops at the first that fails. `zapsano` gets one
// entry per area tried; `prubeh` the areas tried of those to write.
bool ZapisProfil(device::TVK7316R& modul, const TProfil& modulovy, const TProfil& soubor, const TOznameni& oznam,
                 std::vector<TZapisOblasti>& zapsano, const link::TPrubeh& prubeh = {});

}  // namespace vk::procedures::profil
