#pragma once
// Unit M_TFTP: the TFTP client to the module (server on UDP port 69), mode
// "octet", options blksize 1500 and tsize, a packet left unanswered sent
// again up to CFG.Opakovani times (RFC 1350). Four whole-file transfers: into
// and from a memory buffer, into and from a local file.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "Prubeh.h"

namespace vk::link {

struct TTFTP_CFG {
    std::string AdresaIP;      // as typed; may end in ":port" ("[addr]:port" for IPv6)
    std::int32_t VerzeIP = 0;  // 1 IPv6, else IPv4
    std::int32_t Timeout = 0;  // reply wait, ms
    // How many times a packet left unanswered goes again (Opakovani =
    // retries), each with a whole reply wait of its own; 0 = never, and then
    // one lost datagram fails the transfer.
    std::int32_t Opakovani = 0;
};

struct TTFTP_ED {
    std::int32_t Status = 0;  // 0 done, 1 or 2 failed
    std::string StatusText;
    // Why the last transfer failed (Pricina = cause), beside a status text
    // that stays the same for every failure: no answer, the module's ERROR
    // with its code and text, a refused option, a local file error with the
    // system's reason, a file too large for the block numbers. Empty after
    // a success.
    std::string Pricina;
};

// The client object: server, block size, waits. Made by InicializujTFTP.
struct TTFTPKlient;

// Copying the record copies the reference to the client, not the client.
struct TTFTP_ID {
    std::shared_ptr<TTFTPKlient> IdTrivialFTP1;
};

struct TTFTP {
    TTFTP_CFG CFG;
    TTFTP_ED ED;
    TTFTP_ID ID;
};

constexpr std::size_t VelikostPametiTFTP = 10000;  // memory transfer buffer

// The status text of every failed transfer (time-out, error packet, a
// transfer asked to end); a caller that drops a finished transfer for the
// same reasons reports it with this text too.
inline constexpr const char* TextChybaTFTP = "Chyba spojení";

// Stores the settings, releases the previous client and makes a new one
// (a negative `opakovani` counts as 0). No network traffic.
void InicializujTFTP(TTFTP& tftp, const std::string& adresaIP, std::int32_t verzeIP, std::int32_t timeoutMs,
                     std::int32_t opakovani);

// Reads a module file into `cil` (VelikostPametiTFTP bytes); `pocet` = its
// length, at most VelikostPametiTFTP.
bool PrectiDoPameti(TTFTP& tftp, const std::string& soubor, std::uint8_t* cil, std::uint32_t& pocet);
// Writes the first min(pocet, VelikostPametiTFTP) bytes of `zdroj` as a module file.
bool ZapisZPameti(TTFTP& tftp, const std::string& soubor, const std::uint8_t* zdroj, std::uint32_t pocet);
// Reads a module file into a local file (created, or emptied, first).
bool PrectiDoSouboru(TTFTP& tftp, const std::string& lokalni, const std::string& soubor, const TPrubeh& prubeh = {});
// Writes a local file whole as a module file.
bool ZapisZeSouboru(TTFTP& tftp, const std::string& lokalni, const std::string& soubor, const TPrubeh& prubeh = {});

}  // namespace vk::link
