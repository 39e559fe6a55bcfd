#pragma once
// A TFTP request as the simulated module takes it (Pozadavek = request):
// the datagram split into its strings, and the options negotiated into the
// OACK. Pure functions on bytes: no socket, no file, no fault switch.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Bajty.h"

namespace vk::sim::tftp {

enum : std::uint16_t { RRQ = 1, WRQ = 2, DATA = 3, ACK = 4, ERROR = 5, OACK = 6 };

// TFTP error codes.
enum : std::uint16_t {
    ENedefinovano = 0,  // not defined, see the message
    ENenalezen = 1,     // file not found
    EPristup = 2,       // access violation
    EPlno = 3,          // disk full or allocation exceeded
    EOperace = 4,       // illegal TFTP operation
    ETid = 5,           // unknown transfer ID
    EVolby = 8,         // option negotiation refused
};

constexpr std::size_t VychoziBlok = 512;
constexpr std::size_t NejvetsiBlok = 1500;  // the largest block the module grants
constexpr std::int64_t NecinnostMs = 3000;  // a silent peer's transfer is dropped after this

// Why a request or a transfer is refused: the ERROR code and text sent back.
struct TOdmitnuti {
    std::uint16_t Kod = ENedefinovano;
    std::string Text;
};

// A request split up: RRQ or WRQ, file name, mode, then option name/value
// pairs in the order they came.
struct TPozadavek {
    bool Cteni = true;  // RRQ (read) or WRQ (write)
    std::string Nazev;
    std::string Rezim;  // mode
    std::vector<std::string> Volby;
};

std::optional<TOdmitnuti> RozeberPozadavek(const std::uint8_t* data, std::size_t delka, TPozadavek& pozadavek);

// What the options settle for a transfer (Vyjednano = negotiated).
struct TVyjednano {
    std::size_t Blok = VychoziBlok;
    std::int64_t Necinnost = NecinnostMs;
    // The retransmission wait the client asked for (timeout), ms; 0 = the
    // module's own.
    std::int64_t OpakovaniMs = 0;
    TBajty Oack;           // the OACK to send, when Udeleno
    bool Udeleno = false;  // any option granted
};

// Negotiates the options of a request; `velikost` is the file's size for a
// read, `limit` the most a write may bring. The first of a repeated option
// counts; options the module does not know are not granted.
std::optional<TOdmitnuti> VyjednejVolby(const TPozadavek& pozadavek, std::size_t velikost, std::size_t limit,
                                        TVyjednano& vysledek);

// Packet builders (Paket = packet).
TBajty PaketChyby(std::uint16_t kod, const std::string& text);
TBajty PaketAck(std::uint16_t blok);
std::uint16_t Cti16be(const std::uint8_t* p);
void Pridej16be(TBajty& b, std::uint16_t x);
void PridejText(TBajty& b, const std::string& s);
bool StejneJmeno(const std::string& a, const char* b);  // without regard to case
// A decimal number of at most 10 digits (Cti cislo = read a number); false
// for anything else.
bool CtiCislo(const std::string& text, std::uint64_t& hodnota);

}  // namespace vk::sim::tftp
