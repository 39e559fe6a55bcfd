#pragma once
// The module's event log (Zaznam = record, Hlavicka = header): the 64-byte
// header and records of log.bin, logh.bin and log100.bin, one record as a
// line of Czech text, and the export of a whole log file into an 8-bit text
// file. Pure: bytes and file names from the caller, no link, no window.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace vk::device {

inline constexpr std::size_t DelkaHlavickyLOG = 64;
inline constexpr std::size_t DelkaZaznamuLOG = 64;

// The header as stored. Only the type mark (L, G, 0x02) and the two counts
// mean something to the program; the whole 64 bytes serve as a change mark.
struct THlavickaLOG {
    std::array<std::uint8_t, DelkaHlavickyLOG> Bajty{};
    std::uint32_t PocetZaznamu = 0;  // records stored in the module
    std::uint32_t Kapacita = 0;      // capacity of the log in records
    bool operator==(const THlavickaLOG&) const = default;
};

// One record as stored: event code at 0 (0 and 255 = empty slot), time at
// 6..11, parameters from 16 on.
using TZaznamLOG = std::array<std::uint8_t, DelkaZaznamuLOG>;

// From up to 64 bytes; missing bytes count as zero.
THlavickaLOG DekodujHlavickuLOG(const std::uint8_t* data, std::size_t pocet);
// True when the type mark is that of an event log file.
bool JeTypLOG(const THlavickaLOG& hlavicka);

// One line of UTF-8 text for a record, or the empty text for an empty slot.
std::string DekodujZaznamLOG(const TZaznamLOG& zaznam);

// Exports zakladniJmeno + ".bin" into zakladniJmeno + ".log" (windows-1250,
// CR LF): the header line, an empty line, then one line per non-empty record
// (a partial last record is ignored), or the line "Chybný typ souboru " +
// name + ".bin" when the type mark is wrong. No .bin: nothing is done and the
// result is true. The .log appears whole or not at all; a file that cannot
// be read or written gives false and a message for the user in `chyba`.
bool PrevedLogNaText(const std::string& zakladniJmeno, const std::string& hlavicka, std::string& chyba);

}  // namespace vk::device
