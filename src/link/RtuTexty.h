#pragma once
// Every status text the serial link leaves in TMBRTU_ED::StatusText; the
// windows show them as they stand.
#include <string>

namespace vk::link::texty {

inline const std::string OK = "OK";
inline const std::string ChybaOtevreniCOM = "Chyba otevření COM";  // + port number, no blank
inline const std::string ChybaSpojeni = "Chyba spojení s modulem";
inline const std::string ChybaZapisu = "Chyba zápisu dat";
inline const std::string NelzeOtevritSoubor = "Nelze otevřít soubor ";  // + file name
inline const std::string ChybaCteniSouboru = "Chyba čtení souboru ";    // + file name

}  // namespace vk::link::texty
