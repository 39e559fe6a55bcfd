#pragma once
// TFTP packets (Pakety = packets): the client's encoders and the reading of
// an OACK's option pairs. Every multi-byte field on the wire is big-endian
// (network order), unlike the device files.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vk::link::tftp {

enum TOpcode : std::uint16_t {
    OpRRQ = 1,
    OpWRQ = 2,
    OpDATA = 3,
    OpACK = 4,
    OpERROR = 5,
    OpOACK = 6,
};

// ERROR codes the client sends.
enum TKodChyby : std::uint16_t {
    ChybaNedefinovana = 0,
    ChybaMisto = 3,    // disk full or allocation exceeded
    ChybaOperace = 4,  // illegal TFTP operation
    ChybaTid = 5,      // unknown transfer ID
    ChybaVoleb = 8,    // option negotiation refused
};

constexpr std::uint16_t VychoziBlok = 512;      // block size without options
constexpr std::uint16_t NejmensiBlok = 8;       // smallest blksize a peer may grant
constexpr std::uint16_t NejvetsiBlok = 65464;   // largest blksize on the wire
constexpr std::uint16_t PozadovanyBlok = 1500;  // what every request asks for
// The largest DATA datagram plus a margin, so no datagram can be cut
// silently and no input can write past the buffer.
constexpr std::size_t VelikostPrijmu = 65468 + 4;

std::uint16_t Cti16(const std::uint8_t* p);  // big-endian

// Read request (cteni = read): name, "octet", blksize, tsize "0".
std::vector<std::uint8_t> ZadostCteni(const std::string& soubor, std::uint16_t blok);
// Write request (zapis = write): name, "octet", blksize, tsize = byte count.
std::vector<std::uint8_t> ZadostZapisu(const std::string& soubor, std::uint16_t blok, std::uint64_t pocet);
std::vector<std::uint8_t> PaketAck(std::uint16_t blok);
std::vector<std::uint8_t> PaketChyby(std::uint16_t kod, const std::string& zprava);
// DATA header (4 bytes) followed by the payload.
std::vector<std::uint8_t> PaketDat(std::uint16_t blok, const std::uint8_t* data, std::size_t pocet);

// What an OACK granted (Volby = options).
struct TVolby {
    std::uint16_t VelikostBloku = VychoziBlok;  // block size
    std::uint64_t Velikost = 0;                 // tsize if it was a number, else 0
};

// Reads the option pairs after the opcode, in turn: a later pair of the
// same name overrides an earlier one. False with the ERROR 8 message to send
// (empty for a string without its closing zero).
bool CtiVolby(const std::uint8_t* data, std::size_t delka, TVolby& volby, std::string& zprava);

}  // namespace vk::link::tftp
