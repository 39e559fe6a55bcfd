#pragma once
// The profile file (Soubor profilu): a whole module's settings as JSON, one
// object per area keyed by its device file, with the fields named and
// written as read prints them and taken back through write's field table,
// so that each field has one text form and one parse.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Profil.h"

namespace vk::formy {

inline constexpr std::string_view FormatProfilu = "vk7316r-profil";
inline constexpr std::int64_t VerzeProfilu = 1;  // the version this tool writes and reads

// The file's text, one field per line.
std::string ProfilNaText(const procedures::profil::TProfil& profil);

// The whole text checked and taken into `profil`: every field parsed and
// every area through its dialog's rules; false with "line N: area: field:
// what is wrong". Every area but event logging must be present.
bool TextNaProfil(std::string_view text, procedures::profil::TProfil& profil, std::string& chyba);

// One field whose text differs (Rozdil pole = difference of a field).
struct TRozdilPole {
    std::string Soubor;  // the area's device file
    std::string Pole;    // "UnitID", "IP[3]"
    std::string Modul;   // the module's value
    std::string Profil;  // the file's value
};

// The fields of one area whose texts differ, in the record's order.
std::vector<TRozdilPole> RozdilyOblasti(const core::TCFGVK& modul, const core::TCFGVK& profil,
                                        procedures::profil::TOblastProfilu oblast);

}  // namespace vk::formy
