#include "UdpSocket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <unistd.h>

#include "Cas.h"

namespace vk::link {

namespace {

sockaddr_in Jako4(const sockaddr_storage& a)
{
    sockaddr_in v4{};
    std::memcpy(&v4, &a, sizeof v4);
    return v4;
}

sockaddr_in6 Jako6(const sockaddr_storage& a)
{
    sockaddr_in6 v6{};
    std::memcpy(&v6, &a, sizeof v6);
    return v6;
}

// Decimal 1..65535, digits only: "+69", " 69" and "69x" are not ports.
bool CtiPort(const std::string& text, std::uint16_t& port)
{
    if (text.empty() || text.size() > 5)
        return false;
    std::uint32_t hodnota = 0;
    for (const char znak : text) {
        if (znak < '0' || znak > '9')
            return false;
        hodnota = hodnota * 10 + static_cast<std::uint32_t>(znak - '0');
    }
    if (hodnota < 1 || hodnota > 65535)
        return false;
    port = static_cast<std::uint16_t>(hodnota);
    return true;
}

std::string PopisChyby(int cislo)
{
    return std::strerror(cislo);
}

}  // namespace

bool TAdresaUdp::operator==(const TAdresaUdp& jina) const
{
    if (Adresa.ss_family != jina.Adresa.ss_family)
        return false;
    if (Adresa.ss_family == AF_INET) {
        const auto a = Jako4(Adresa);
        const auto b = Jako4(jina.Adresa);
        return a.sin_port == b.sin_port && a.sin_addr.s_addr == b.sin_addr.s_addr;
    }
    if (Adresa.ss_family == AF_INET6) {
        const auto a = Jako6(Adresa);
        const auto b = Jako6(jina.Adresa);
        return a.sin6_port == b.sin6_port && a.sin6_scope_id == b.sin6_scope_id &&
               std::memcmp(&a.sin6_addr, &b.sin6_addr, sizeof a.sin6_addr) == 0;
    }
    return false;
}

std::uint16_t TAdresaUdp::Port() const
{
    if (Adresa.ss_family == AF_INET)
        return ntohs(Jako4(Adresa).sin_port);
    if (Adresa.ss_family == AF_INET6)
        return ntohs(Jako6(Adresa).sin6_port);
    return 0;
}

std::string TAdresaUdp::Text() const
{
    char text[INET6_ADDRSTRLEN] = {};
    if (Adresa.ss_family == AF_INET) {
        const auto v4 = Jako4(Adresa);
        inet_ntop(AF_INET, &v4.sin_addr, text, sizeof text);
        return std::string(text) + ":" + std::to_string(Port());
    }
    if (Adresa.ss_family == AF_INET6) {
        const auto v6 = Jako6(Adresa);
        inet_ntop(AF_INET6, &v6.sin6_addr, text, sizeof text);
        return "[" + std::string(text) + "]:" + std::to_string(Port());
    }
    return "?";
}

bool RozlozHostPort(const std::string& text, std::uint16_t vychoziPort, std::string& host, std::uint16_t& port)
{
    if (text.empty())
        return false;
    std::string portText;
    if (text.front() == '[') {
        const auto konec = text.find(']');
        if (konec == std::string::npos || konec == 1)
            return false;
        host = text.substr(1, konec - 1);
        const std::string zbytek = text.substr(konec + 1);
        if (!zbytek.empty()) {
            if (zbytek.front() != ':')
                return false;
            portText = zbytek.substr(1);
            if (portText.empty())
                return false;
        }
    } else {
        const auto prvni = text.find(':');
        if (prvni == std::string::npos || text.find(':', prvni + 1) != std::string::npos) {
            host = text;  // no colon, or a bare IPv6 address
        } else {
            host = text.substr(0, prvni);
            portText = text.substr(prvni + 1);
            if (host.empty() || portText.empty())
                return false;
        }
    }
    if (portText.empty()) {
        // A default of 0 lets a server bind an ephemeral port.
        port = vychoziPort;
        return true;
    }
    return CtiPort(portText, port);
}

bool NajdiAdresu(const std::string& text, std::uint16_t vychoziPort, bool ipv6, TAdresaUdp& adresa, std::string& chyba)
{
    std::string host;
    std::uint16_t port = 0;
    if (!RozlozHostPort(text, vychoziPort, host, port)) {
        chyba = "Neplatná adresa \"" + text + "\"";
        return false;
    }
    addrinfo napoveda{};
    napoveda.ai_family = AF_UNSPEC;
    napoveda.ai_socktype = SOCK_DGRAM;
    napoveda.ai_protocol = IPPROTO_UDP;
    addrinfo* vysledky = nullptr;
    const int kod = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &napoveda, &vysledky);
    if (kod != 0 || vysledky == nullptr) {
        chyba = "Adresu \"" + host + "\" nelze najít: " + gai_strerror(kod);
        return false;
    }
    const int chtena = ipv6 ? AF_INET6 : AF_INET;
    const addrinfo* vybrana = nullptr;
    for (const addrinfo* a = vysledky; a != nullptr; a = a->ai_next) {
        if (a->ai_family == chtena) {
            vybrana = a;
            break;
        }
        if (vybrana == nullptr && (a->ai_family == AF_INET || a->ai_family == AF_INET6))
            vybrana = a;
    }
    const bool nalezena = vybrana != nullptr && vybrana->ai_addrlen <= sizeof adresa.Adresa;
    if (nalezena) {
        adresa = TAdresaUdp{};
        std::memcpy(&adresa.Adresa, vybrana->ai_addr, vybrana->ai_addrlen);
        adresa.Delka = static_cast<socklen_t>(vybrana->ai_addrlen);
    } else {
        chyba = "Adresa \"" + host + "\" nemá IPv4 ani IPv6 tvar";
    }
    freeaddrinfo(vysledky);
    return nalezena;
}

UdpSocket::~UdpSocket()
{
    Zavri();
}

UdpSocket::UdpSocket(UdpSocket&& jiny) noexcept : fd_(jiny.fd_)
{
    jiny.fd_ = -1;
}

UdpSocket& UdpSocket::operator=(UdpSocket&& jiny) noexcept
{
    if (this != &jiny) {
        Zavri();
        fd_ = jiny.fd_;
        jiny.fd_ = -1;
    }
    return *this;
}

bool UdpSocket::Otevri(const TAdresaUdp& pro, std::string& chyba)
{
    Zavri();
    const int rodina = pro.Adresa.ss_family;
    if (rodina != AF_INET && rodina != AF_INET6) {
        chyba = "Neznámá rodina adres";
        return false;
    }
    fd_ = ::socket(rodina, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
    if (fd_ < 0) {
        chyba = "Nelze otevřít UDP socket: " + PopisChyby(errno);
        return false;
    }
    return true;
}

bool UdpSocket::OtevriNa(const TAdresaUdp& mistni, std::string& chyba)
{
    if (!Otevri(mistni, chyba))
        return false;
    if (::bind(fd_, reinterpret_cast<const sockaddr*>(&mistni.Adresa), mistni.Delka) != 0) {
        chyba = "Nelze obsadit " + mistni.Text() + ": " + PopisChyby(errno);
        Zavri();
        return false;
    }
    return true;
}

void UdpSocket::Zavri()
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

bool UdpSocket::Posli(const TAdresaUdp& komu, const std::uint8_t* data, std::size_t pocet)
{
    if (fd_ < 0)
        return false;
    for (;;) {
        const ssize_t odeslano =
            ::sendto(fd_, data, pocet, 0, reinterpret_cast<const sockaddr*>(&komu.Adresa), komu.Delka);
        if (odeslano >= 0)
            return static_cast<std::size_t>(odeslano) == pocet;
        if (errno != EINTR)
            return false;
    }
}

long UdpSocket::Prijmi(std::uint8_t* buf, std::size_t kapacita, std::int32_t timeoutMs, TAdresaUdp& od,
                       std::size_t* celkem)
{
    if (fd_ < 0)
        return -2;
    const Okamzik zacatek = Ted();
    for (;;) {
        const std::int64_t zbyva = timeoutMs < 0 ? 0 : timeoutMs - UplynuloMs(zacatek);
        pollfd p{fd_, POLLIN, 0};
        const int pripraven = ::poll(&p, 1, zbyva > 0 ? static_cast<int>(zbyva) : 0);
        if (pripraven < 0) {
            if (errno == EINTR)
                continue;
            return -2;
        }
        if (pripraven == 0)
            return -1;
        od = TAdresaUdp{};
        od.Delka = sizeof od.Adresa;
        // MSG_TRUNC makes the kernel report the datagram's real length even
        // when only `kapacita` bytes of it fit.
        const ssize_t delka =
            ::recvfrom(fd_, buf, kapacita, MSG_TRUNC, reinterpret_cast<sockaddr*>(&od.Adresa), &od.Delka);
        if (delka < 0) {
            if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)
                continue;
            return -2;
        }
        if (celkem != nullptr)
            *celkem = static_cast<std::size_t>(delka);
        return static_cast<long>(static_cast<std::size_t>(delka) < kapacita ? static_cast<std::size_t>(delka)
                                                                            : kapacita);
    }
}

TAdresaUdp UdpSocket::MistniAdresa() const
{
    TAdresaUdp a;
    a.Delka = sizeof a.Adresa;
    if (fd_ < 0 || ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a.Adresa), &a.Delka) != 0)
        return TAdresaUdp{};
    return a;
}

}  // namespace vk::link
