#pragma once
// Setting up the connection (Pripojeni = connection) the way the connection
// window does: the options are checked with its messages, the link is opened
// in Modul, the module is identified (serial: five 0x45 exchanges; LAN:
// info.txt) and its type and version are checked.
#include "Argumenty.h"
#include "Dekl.h"
#include "Nastroj.h"

namespace vk::cli {

// Default reply waits of the two links, ms.
inline constexpr int VychoziTimeoutLAN = 1000;
inline constexpr int VychoziTimeoutUART = 330;

// On success TData holds Init, Pripojeni and the identity texts. A bad
// option gives ChybaPouziti, a link or module failure ChybaModulu; the
// message is already on stderr.
TKonec Pripoj(const TArgumenty& argumenty, core::TData& dat);

// Closes the serial port that Pripoj opened (nothing for the LAN).
void Odpoj();

}  // namespace vk::cli
