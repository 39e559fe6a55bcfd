#pragma once
// A UDP socket on BSD sockets, IPv4 and IPv6, with a bounded receive. Owns
// its descriptor; moved, never copied.
#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/socket.h>

namespace vk::link {

// A peer or local address (sockaddr_in or sockaddr_in6).
struct TAdresaUdp {
    sockaddr_storage Adresa{};
    socklen_t Delka = 0;

    bool operator==(const TAdresaUdp& jina) const;  // same family, address and port
    std::uint16_t Port() const;
    std::string Text() const;  // "1.2.3.4:69" or "[::1]:69"
};

// Splits "host", "host:port", "[v6]" or "[v6]:port"; a bare IPv6 address
// (more than one ':') has no port. Without a port, `vychoziPort` (0 lets a
// server bind an ephemeral port).
// False when the text is empty or the port is not 1..65535.
bool RozlozHostPort(const std::string& text, std::uint16_t vychoziPort, std::string& host, std::uint16_t& port);

// Resolves host text (with optional port, as above) with getaddrinfo,
// preferring IPv6 when `ipv6` is set, else IPv4; false with a reason.
bool NajdiAdresu(const std::string& text, std::uint16_t vychoziPort, bool ipv6, TAdresaUdp& adresa, std::string& chyba);

class UdpSocket {
public:
    UdpSocket() = default;
    ~UdpSocket();
    UdpSocket(UdpSocket&& jiny) noexcept;
    UdpSocket& operator=(UdpSocket&& jiny) noexcept;
    UdpSocket(const UdpSocket&) = delete;
    UdpSocket& operator=(const UdpSocket&) = delete;

    // An unbound socket of the family of `pro` (the system picks the port
    // at the first send).
    bool Otevri(const TAdresaUdp& pro, std::string& chyba);
    // A socket bound to a local address (servers; port 0 = ephemeral).
    bool OtevriNa(const TAdresaUdp& mistni, std::string& chyba);
    bool JeOtevren() const { return fd_ >= 0; }
    void Zavri();

    bool Posli(const TAdresaUdp& komu, const std::uint8_t* data, std::size_t pocet);
    // Waits at most timeoutMs for one datagram: its length (0 is a valid
    // empty datagram), -1 on time-out, -2 on error. A datagram longer than
    // `kapacita` is cut to it; `celkem` tells its real length.
    long Prijmi(std::uint8_t* buf, std::size_t kapacita, std::int32_t timeoutMs, TAdresaUdp& od,
                std::size_t* celkem = nullptr);
    TAdresaUdp MistniAdresa() const;
    int Deskriptor() const { return fd_; }

private:
    int fd_ = -1;
};

}  // namespace vk::link
