#pragma once
// The traffic trace (Stopa = trace): every serial frame and every TFTP
// datagram the client sends or receives, one line each, with a decoding, and
// the events only the link sees (an echo dropped, a retransmission, why an
// exchange failed). The trace is one process-wide sink, opened by a front end
// at start; while none is open each call below is a single atomic load, so
// the links call them unconditionally.
//
// Line: microseconds since the sink opened, direction (sent, received,
// event), link (RTU, TFTP), the bytes in hex, " | ", the decoding.
#include <cstddef>
#include <cstdint>
#include <string>

namespace vk::link {

enum class TLinkaStopy : std::uint8_t { RTU, TFTP };  // which link (linka = line)

// Opens (creates or empties) the trace file `cesta` (= path) and starts its
// clock; an open trace is closed first. False with the path and the
// system's reason in `chyba`; no trace is written then.
bool OtevriStopu(const std::string& cesta, std::string& chyba);
void ZavriStopu();
bool StopaOtevrena();

// A frame or datagram went out (odeslano = sent) or came in. Lines from
// several threads never interleave.
void StopujData(TLinkaStopy linka, bool odeslano, const std::uint8_t* data, std::size_t pocet);
// An event the link knows of (udalost = event), as a short text.
void StopujUdalost(TLinkaStopy linka, const std::string& text);

// The decodings of one line (Popis = description): pure, for any bytes.
// A serial request and a reply are told apart by `odeslano`.
std::string PopisRamceRTU(const std::uint8_t* data, std::size_t pocet, bool odeslano);
std::string PopisDatagramuTFTP(const std::uint8_t* data, std::size_t pocet);

}  // namespace vk::link
