#pragma once
// Runs one TFTP transfer (Prenos = transfer) on a fresh UDP socket: drives
// the state machine of TftpKlient.h, waits for datagrams in short slices
// while pumping messages, stores or reads the payload through the caller.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "Prubeh.h"
#include "TftpKlient.h"

namespace vk::link::tftp {

// Stores the next received bytes (Uloz = store); false stops the transfer.
using TUlozeni = std::function<bool(const std::uint8_t* data, std::size_t pocet)>;
// Fills `cil` with `pocet` source bytes from offset `od` (Cteni = reading).
using TCteniZdroje = std::function<bool(std::uint64_t od, std::uint8_t* cil, std::size_t pocet)>;

// A silent wait is cut into slices this long, with the message pump run
// between them, so a transfer asked to end stops within one slice while
// the module says nothing.
constexpr std::int32_t SliceCekaniMs = 20;

// The largest block number; a write needs one block more than its whole
// blocks, so it carries fewer than this many times the block size.
constexpr std::uint32_t NejvetsiCisloBloku = 65535;

// Reads `soubor` from the module; false with a reason (not shown to users).
bool PrenesCteni(const TTFTPKlient& klient, const std::string& soubor, const TUlozeni& uloz, const TPrubeh& prubeh,
                 std::string& duvod);
// Writes `pocet` bytes as `soubor` to the module; a count that cannot fit
// the block numbers at the block size asked for sends nothing.
bool PrenesZapis(const TTFTPKlient& klient, const std::string& soubor, std::uint64_t pocet, const TCteniZdroje& cti,
                 const TPrubeh& prubeh, std::string& duvod);

}  // namespace vk::link::tftp
