#pragma once
// Little-endian byte helpers for building and checking device files
// (Bajty = bytes). Every multi-byte number of the module is unsigned and
// little-endian; a float is an IEEE-754 single, first byte lowest.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace vk::sim {

using TBajty = std::vector<std::uint8_t>;  // the raw bytes of one device file

void Zapis16(TBajty& b, std::size_t offset, std::uint16_t hodnota);  // Zapis = write
void Zapis32(TBajty& b, std::size_t offset, std::uint32_t hodnota);
void ZapisFloat(TBajty& b, std::size_t offset, float hodnota);
// Copies a text one byte per character, cut to `sirka` (width) bytes; the
// rest of the field is filled with zero bytes.
void ZapisText(TBajty& b, std::size_t offset, std::size_t sirka, std::string_view text);

std::uint16_t Cti16(const TBajty& b, std::size_t offset);  // Cti = read; 0 beyond the end
std::uint32_t Cti32(const TBajty& b, std::size_t offset);

// The check byte of a configuration file: the two's complement of the 8-bit
// sum of the bytes before it (KontrolniBajt = check byte).
std::uint8_t KontrolniBajt(const std::uint8_t* data, std::size_t pocet);
// Sets the last byte to the check byte of the others.
void DoplnKontrolniBajt(TBajty& b);
// True when all bytes add up to 0 modulo 256 (and the file is not empty).
bool SouctemNula(const TBajty& b);

}  // namespace vk::sim
