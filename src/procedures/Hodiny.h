#pragma once
// The module's clock (Hodiny = clock): one refresh of the clock dialog,
// which may first set the clock from the computer's local time, and the
// text in which the dialog shows it.
#include <chrono>
#include <string>

#include "Oznameni.h"
#include "U_VK7316R.h"

namespace vk::procedures {

inline constexpr const char* TextBezCasu = "---";  // the panel without a time read

// What one refresh leaves (Vysledek hodin = clock result): the panel and
// status texts, whether the clock was written and read, the failing
// record's StatusText (Chyba = error) and why its link failed.
struct TVysledekHodin {
    bool Zapsano = false;   // the clock was set
    bool Precteno = false;  // the clock was read
    std::string Panel1;     // empty when the panel keeps what it shows
    std::string Status;
    std::string Chyba;
    std::string Pricina;  // device::PricinaSelhani; empty otherwise
};

// One tick of the clock dialog. Without a connection (init false) only the
// not-initialised status, no traffic. With nastavitCas the local time of
// this moment is written first; a failed write ends the tick without a read.
// The status texts go through oznam in order, the last also in the result.
TVysledekHodin ObnovHodiny(device::TVK7316R& modul, bool init, bool nastavitCas, const TOznameni& oznam = {});

// The module clock of a local moment: day of week from Sunday = 0, year
// less 2000 (CasModulu = module time).
device::TVK7316R_RtcBin CasModulu(std::chrono::system_clock::time_point okamzik);

// "8.12.2026   9:05:07": no leading zero for day, month and hour.
std::string TextHodin(const device::TVK7316R_RtcBin& r);

}  // namespace vk::procedures
