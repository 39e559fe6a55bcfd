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
// StatusText, Pricina why its link failed (device::PricinaSelhani).
struct TVysledekPrikazu {
    bool Uspech = false;
    std::string Status;
    std::string Chyba;
    std::string Pricina;
};

// "Restartovat": without a connection (init false) only the not-initialised
// text. After a success this returns `pauzaMs` later (pauza = pause), cut
// short when the job is asked to end: a window holds its success text that
// long before it closes; the command-line tool does not wait.
TVysledekPrikazu RestartujModul(device::TVK7316R& modul, bool init, const TOznameni& oznam = {},
                                std::int32_t pauzaMs = 0);

// Clears the line diagnostic counters; a success has no text of its own (the
// counters read next show it).
TVysledekPrikazu VymazDiagnostikuLinky(device::TVK7316R& modul, bool init, const TOznameni& oznam = {});

}  // namespace vk::procedures
