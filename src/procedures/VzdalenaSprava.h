#pragma once
// The remote management area (Vzdalena sprava): who may manage the module
// over the LAN, section Sprava and the device file sprava.cfg.
#include <array>
#include <string>

#include "OblastKonfigurace.h"

namespace vk::procedures {

// The controls of the remote management dialog. Row k (1 to 8) of the
// access table is the text field Edit<k> and the version list
// ComboBox<k + 1>.
struct TOknoVzdalenaSprava {
    int ComboBox1 = 1;                   // mode: 0 off, 1 allowed to all, 2 access table
    std::array<std::string, 8> Edit{};   // Edit1 to Edit8: the rows' addresses
    std::array<int, 8> ComboBoxVerze{};  // ComboBox2 to ComboBox9: 0 "IPv4", 1 "IPv6"
    bool TabulkaPovolena = false;        // the table's controls are enabled
    bool operator==(const TOknoVzdalenaSprava&) const = default;
};

namespace vzdalenasprava {

inline constexpr std::string_view TextChybnaIP = "Chybná IP adresa.";
inline constexpr int PocetPolozekRezim = 3;
inline constexpr int PocetPolozekVerze = 2;
inline constexpr std::uint8_t RezimTabulka = 2;  // only the access table's addresses

TOknoVzdalenaSprava ZapisOkno(const core::TCFGVK& cfg);
// Only while the table is enabled are its rows parsed, each by its version
// list; rows before a refused one are already stored. The mode is not taken
// here: the mode list puts it into the record as soon as it changes.
TPlatnost PrectiOkno(const TOknoVzdalenaSprava& okno, core::TCFGVK& cfg);
// Takes one row (0 to 7) into `sprava`; false when its text does not parse.
bool PrectiRadek(const TOknoVzdalenaSprava& okno, std::size_t radek, core::TCFG_Sprava& sprava);
// The user's change of the mode list: the mode reaches the record at once
// and the table is enabled exactly for the access table mode.
void ZmenaRezimu(TOknoVzdalenaSprava& okno, core::TCFGVK& cfg);

device::TVK7316R_SpravaCfg NaZaznam(const core::TCFG_Sprava& sprava);
void ZeZaznamu(const device::TVK7316R_SpravaCfg& r, core::TCFG_Sprava& sprava);

// No wait before the link work, and no read-back after writing.
TVysledekCteni PrectiData(device::TVK7316R& modul, core::TCFGVK& cfg, const TOznameni& oznam);
TVysledekZapisu ZapisData(device::TVK7316R& modul, core::TCFGVK cfg, const TOznameni& oznam);

const TOblast<TOknoVzdalenaSprava>& Oblast();

}  // namespace vzdalenasprava
}  // namespace vk::procedures
