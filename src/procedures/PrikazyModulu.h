#pragma once
// Commands to the module through ctrl.bin (Prikazy modulu = module
// commands): the restart of the restart window and the clearing of the line
// diagnostic counters, with their status texts and waits.
#include <string>

#include "Oznameni.h"
#include "U_VK7316R.h"

namespace vk::procedures {

// Outcome of a command (Vysledek prikazu): Status is the last status text
// (empty when the command shows none), Chyba the failing record's
// StatusText.
struct TVysledekPrikazu {
    bool Uspech = false;
    std::string Status;
    std::string Chyba;
};

// "Restartovat": without a connection (init false) only the not-initialised
// text. After a success the text stays one second (the module needs it
// before it answers again) before this returns.
TVysledekPrikazu RestartujModul(device::TVK7316R& modul, bool init, const TOznameni& oznam = {});

// Clears the line diagnostic counters; a success has no text of its own (the
// counters read next show it).
TVysledekPrikazu VymazDiagnostikuLinky(device::TVK7316R& modul, bool init, const TOznameni& oznam = {});

}  // namespace vk::procedures
