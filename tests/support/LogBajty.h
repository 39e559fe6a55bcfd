#pragma once
// Event log files written out byte by byte for the tests (Bajty = bytes):
// a record and a log with its header, independent of the product's decoder.
#include <cstdint>
#include <initializer_list>

#include "HexBajty.h"

namespace vk::test {

// A 64-byte record of event `kod` at 14:`min`:00 on 5 March 2023.
Bajty ZaznamLogu(std::uint8_t kod, std::uint8_t min);

// A log whose 64-byte header claims `pocet` records of `kapacita`, then the
// records.
Bajty SouborLogu(std::uint32_t pocet, std::uint32_t kapacita, std::initializer_list<Bajty> zaznamy);

}  // namespace vk::test
