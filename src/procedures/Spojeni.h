#pragma once
// The connection record at the ends of a run (Spojeni = connection): what
// the program does with it when it starts and when it ends, so that neither
// front end reaches into the links for it.
#include "U_VK7316R.h"

namespace vk::procedures {

// At the start: the record with its defaults (no port open, not
// identified), and the system timer resolution that short waits need.
void ZacniSpojeni(device::TVK7316R& modul);

// The serial port closed and the module no longer identified (Odpoj =
// disconnect); the LAN keeps nothing open between transfers.
void Odpoj(device::TVK7316R& modul);

// At the end: the timer resolution given back.
void UkonciSpojeni();

}  // namespace vk::procedures
