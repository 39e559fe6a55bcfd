#pragma once
// How long one try of a search for the module waits (Hledani = search): the
// search tries many rates, parities and addresses, and at each only a module
// set to exactly those answers, so a try that waited the configured
// time-out would make a search last minutes.
#include <chrono>
#include <cstddef>

#include "M_ModbusRTU.h"

namespace vk::link {

// The time-out of one try on the port opened with `cfg` (Cekani pokusu =
// the try's wait): the request and the reply on the wire at the port's rate
// with its parity bit, the module's turnaround (its reply gap), the time a
// USB adapter holds the reply back (LatenceAdapteru) and the silence that
// ends the reply (Mezera), rounded up to whole ms; never less than
// `nejmene` (at least), which leaves room for what the port does not show.
std::chrono::milliseconds CekaniPokusu(const TMBRTU_CFG& cfg, std::size_t bajtuPozadavku, std::size_t bajtuOdpovedi,
                                       std::chrono::milliseconds nejmene);

}  // namespace vk::link
