#pragma once
// The connection options (Volby pripojeni = connection options) turned into
// the connection dialog's controls, and the dialog's connection attempt on
// Modul: the same checks, messages, identification and type and version
// check as the window.
#include "Argumenty.h"
#include "Dekl.h"
#include "Nastroj.h"

namespace vk::cli {

// Default reply waits of the two links, ms. The TFTP retries default to the
// program's (VychoziPripojeni).
inline constexpr int VychoziTimeoutLAN = 1000;
inline constexpr int VychoziTimeoutUART = 330;

// On success TData holds Init, Pripojeni and the identity texts. A bad
// option gives ChybaPouziti, a link or module failure ChybaModulu; the
// message is already on stderr.
TKonec Pripoj(const TArgumenty& argumenty, core::TData& dat);

// Closes the serial port that Pripoj opened (nothing for the LAN).
void Odpoj();

}  // namespace vk::cli
