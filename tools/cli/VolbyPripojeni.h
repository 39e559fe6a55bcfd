#pragma once
// The connection options (Volby pripojeni = connection options) turned into
// the connection dialog's controls, and the dialog's connection attempt on
// Modul: the same checks, messages, identification and type and version
// check as the window.
#include "Argumenty.h"
#include "Dekl.h"
#include "Nastroj.h"
#include "PokusPripojeni.h"

namespace vk::cli {

// Default reply waits of the two links, ms. The TFTP retries default to the
// program's (VychoziPripojeni).
inline constexpr int VychoziTimeoutLAN = 1000;
inline constexpr int VychoziTimeoutUART = 330;

// On success TData holds Init, Pripojeni and the identity texts. A bad
// option gives ChybaPouziti, a link or module failure ChybaModulu; the
// message is already on stderr.
TKonec Pripoj(const TArgumenty& argumenty, core::TData& dat);

// The serial port's own options (--reply-gap, --rs485, --rs485-delay,
// --no-echo-removal) into the connection settings; false with the message
// on stderr for a bad value.
bool VolbyPortu(const TArgumenty& a, core::TPripojeni& p);

// --serial as the connection dialog takes it (Port z volby = the port from
// the option): "COMn", in any case, gives the text of the COM number field
// and the settings file whose "Porty" section maps it; anything else is a
// device path.
void PortZVolby(const std::string& serial, std::string& cisloCOM, procedures::TCestaPortu& port);

// Closes the serial port that Pripoj opened (nothing for the LAN).
void Odpoj();

// Why the link in use failed its last exchange (Pricina spojeni = cause of
// the connection's failure); empty after a success. Printed on the line
// after a status text.
const std::string& PricinaSpojeni();

}  // namespace vk::cli
