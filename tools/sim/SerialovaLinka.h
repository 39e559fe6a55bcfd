#pragma once
// The serial slave's loop (SerialovaLinka = serial link): gathers bytes from
// the pty into frames ended by silence, lets the slave answer, and sends the
// reply after the module's turnaround delay. Bytes that arrive while the
// client's line settings differ from the module's are what a real port
// would make of them, garbage: their frame is never answered.
#include <atomic>
#include <cstdint>

#include "Pty.h"
#include "RtuSlave.h"

namespace vk::sim {

// The rate of a baud-rate code in Bd (any other code 9600) (Rychlost linky =
// line rate).
std::int32_t RychlostLinky(std::int32_t kodBaud);
// Silence that ends a request: 3.5 characters of 11 bits at the rate of the
// baud-rate code, at least 2 ms (Ticho = silence).
int TichoKonceMs(std::int32_t kodBaud);
// The module's delay before it answers: the reply gap of the baud-rate code
// (10 ms at 9600 Bd, 4 ms at the fast rates) (Prodleva = delay).
int ProdlevaOdpovediMs(std::int32_t kodBaud);

// Whether the client's line settings match the module's rate and parity
// code (0 none, 1 even, 2 odd) as far as a pty shows them: the rate and odd
// parity (Linka sedi = the line fits).
bool LinkaSedi(std::int32_t rychlostKlienta, bool lichaKlienta, std::int32_t kodBaud, std::int32_t kodParita);

// Runs until `konec` is set; returns within about 20 ms of it, or of the
// pause of a burst (Obsluhuj = serve). With `ozvena` every request goes back
// on the line ahead of its reply.
void ObsluhujSerial(TPty& pty, TRtuSlave& slave, std::int32_t kodBaud, std::int32_t kodParita, const TDavky& davky,
                    bool ozvena, const std::atomic<bool>& konec, std::atomic<std::uint32_t>& pocetPozadavku);

}  // namespace vk::sim
