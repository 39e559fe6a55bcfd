#pragma once
// A firmware image file's bytes written out for the tests (Obraz firmware =
// firmware image): the 64-byte header the module's loader checks, then
// filler, independent of the product's decoder.
#include <cstddef>
#include <string>

#include "HexBajty.h"

namespace vk::test {

// `delka` bytes (at least 64) whose header claims that length, carries the
// time stamp 07 05 09 18 0B 17 (24.11.2023  9:05:07) and the image name
// `nazev` (at most 38 characters, then zero bytes).
Bajty ObrazFirmware(std::size_t delka, const std::string& nazev);

// Writes the bytes to `cesta`; false when the file cannot be written.
bool UlozBajty(const std::string& cesta, const Bajty& bajty);

}  // namespace vk::test
