#pragma once
// Numbers in the module's byte layouts (Bajtova cisla = byte numbers):
// multi-byte numbers are unsigned little-endian, and a protected block ends
// in a check byte that brings its 8-bit sum to zero. One copy for every
// layer of the program; the simulator keeps its own on purpose.
#include <cstddef>
#include <cstdint>

namespace vk::common {

// Cti = read: the number at p[0..1] / p[0..3], first byte lowest.
std::uint16_t Cti16(const std::uint8_t* p);
std::uint32_t Cti32(const std::uint8_t* p);

// Check byte (Kontrolni = check) of the first `pocet` (= count) bytes: the
// two's complement of their 8-bit sum, so that they and it sum to 0
// modulo 256. A range that already ends in its check byte gives 0.
std::uint8_t KontrolniBajt(const std::uint8_t* bajty, std::size_t pocet);

}  // namespace vk::common
