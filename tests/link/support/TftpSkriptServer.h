#pragma once
// A scripted TFTP server on 127.0.0.1 for the client tests: a thread runs
// the test's script, which receives and sends datagrams with bounded waits
// and may misbehave on purpose. It answers from a transfer port of its own,
// like a real server, and can send from a third port to play a stranger.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "UdpSocket.h"

namespace vk::test {

using TBajty = std::vector<std::uint8_t>;

// Packet builders (big-endian, as on the wire).
TBajty TftpData(std::uint16_t blok, const TBajty& obsah);
TBajty TftpData(std::uint16_t blok, std::size_t pocet, std::uint8_t vzor = 0);  // `pocet` bytes of a pattern
TBajty TftpAck(std::uint16_t blok);
TBajty TftpChyba(std::uint16_t kod, const std::string& zprava);
TBajty TftpOack(const std::vector<std::string>& retezce);   // each string followed by a zero
TBajty Hex(const std::string& hex);                         // "00 06 62 6c" -> bytes
std::uint16_t TftpOpcode(const TBajty& paket);              // 0 when shorter than 2
std::uint16_t TftpBlok(const TBajty& paket);                // bytes 2-3, 0 when shorter
std::vector<std::string> TftpRetezce(const TBajty& paket);  // zero-terminated strings after the opcode

// The byte at `i` of the test files' pattern.
std::uint8_t VzorBajt(std::size_t i, std::uint8_t vzor);

class TftpSkriptServer {
public:
    TftpSkriptServer();
    ~TftpSkriptServer();  // joins the script thread
    TftpSkriptServer(const TftpSkriptServer&) = delete;
    TftpSkriptServer& operator=(const TftpSkriptServer&) = delete;

    // The text the client is given as the module's address ("127.0.0.1:port").
    std::string Adresa() const;

    void Spust(std::function<void(TftpSkriptServer&)> skript);
    void Pockej();  // join

    // Script side. The request on the well-known port; opens the transfer
    // port that answers it.
    std::optional<TBajty> PrijmiZadost(std::int32_t ms = 3000);
    // On the transfer port, from the client.
    std::optional<TBajty> Prijmi(std::int32_t ms = 3000);
    // Sent from the transfer port to the client.
    void Posli(const TBajty& paket);
    // Sent from a third port of the same host, or from another loopback
    // host (127.0.0.2), as a stranger would.
    void PosliCizi(const TBajty& paket, bool jinyHost = false);
    // What the stranger received (expected: ERROR 5).
    std::optional<TBajty> PrijmiCizi(std::int32_t ms = 3000, bool jinyHost = false);

    // Everything the client sent to the transfer port, in order.
    std::vector<TBajty> Prijato;
    TBajty Zadost;  // the request

private:
    vk::link::UdpSocket hlavni_;
    vk::link::UdpSocket prenos_;
    vk::link::UdpSocket cizi_;
    vk::link::UdpSocket ciziHost_;
    vk::link::TAdresaUdp klient_;
    std::thread vlakno_;
};

}  // namespace vk::test
