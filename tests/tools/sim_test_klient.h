#pragma once
// Raw peers for the simulator tests (klient = client): a pty opened as a
// serial port that sends frames with the tests' own CRC, and a TFTP client
// that builds its datagrams by hand. Neither uses the product's links, so a
// fault in those cannot hide one in the simulator. Every wait is bounded.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <strings.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "HexBajty.h"

namespace simtest {

using Bajty = std::vector<std::uint8_t>;

// The frame with its CRC, by the tests' own CRC, which is pinned to literal
// frames.
inline Bajty SCrc(Bajty b)
{
    return vk::test::SCrc(std::move(b));
}

inline bool CrcSedi(const Bajty& b)
{
    if (b.size() < 3)
        return false;
    return vk::test::SCrc(Bajty(b.begin(), b.end() - 2)) == b;
}

inline Bajty Text(const std::string& s)
{
    return Bajty(s.begin(), s.end());
}

inline std::int64_t Ms(std::chrono::steady_clock::time_point od)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - od).count();
}

// The serial side: the pty slave opened raw, as the client's port would be.
class TPtyKlient {
public:
    explicit TPtyKlient(const std::string& cesta)
    {
        fd_ = ::open(cesta.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd_ >= 0) {
            termios t{};
            ::tcgetattr(fd_, &t);
            ::cfmakeraw(&t);
            ::tcsetattr(fd_, TCSANOW, &t);
        }
    }
    ~TPtyKlient()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    TPtyKlient(const TPtyKlient&) = delete;
    TPtyKlient& operator=(const TPtyKlient&) = delete;
    bool Otevren() const { return fd_ >= 0; }

    // The line settings as a port sets them on the pty: a rate and parity
    // (PARENB, with PARODD for odd), of which the kernel keeps the rate and
    // PARODD only.
    void NastavLinku(speed_t rychlost, bool parita, bool licha) const
    {
        termios t{};
        ::tcgetattr(fd_, &t);
        t.c_cflag &= ~static_cast<tcflag_t>(PARENB | PARODD);
        if (parita)
            t.c_cflag |= PARENB | (licha ? PARODD : 0);
        ::cfsetispeed(&t, rychlost);
        ::cfsetospeed(&t, rychlost);
        ::tcsetattr(fd_, TCSANOW, &t);
    }

    void PosliSurove(const Bajty& b) const  // raw bytes, no CRC added
    {
        std::size_t hotovo = 0;
        while (hotovo < b.size()) {
            const ssize_t n = ::write(fd_, b.data() + hotovo, b.size() - hotovo);
            if (n > 0)
                hotovo += static_cast<std::size_t>(n);
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

    // Gathers a reply: waits up to `timeoutMs` for the first byte, then
    // until `tichoMs` pass without one.
    // `prvniMs` receives the ms from the call to the first byte.
    Bajty Prijmi(int timeoutMs = 500, int tichoMs = 30, std::int64_t* prvniMs = nullptr) const
    {
        Bajty r;
        const auto start = std::chrono::steady_clock::now();
        auto posledni = start;
        for (;;) {
            pollfd p{fd_, POLLIN, 0};
            ::poll(&p, 1, 2);
            std::uint8_t kus[512];
            const ssize_t n = ::read(fd_, kus, sizeof kus);
            if (n > 0) {
                if (r.empty() && prvniMs != nullptr)
                    *prvniMs = Ms(start);
                r.insert(r.end(), kus, kus + n);
                posledni = std::chrono::steady_clock::now();
                continue;
            }
            if (r.empty() && Ms(start) > timeoutMs)
                return r;
            if (!r.empty() && Ms(posledni) > tichoMs)
                return r;
        }
    }

    Bajty Dotaz(const Bajty& bezCrc, int timeoutMs = 500) const  // a request with its CRC, and the reply
    {
        PosliSurove(SCrc(bezCrc));
        return Prijmi(timeoutMs);
    }

private:
    int fd_ = -1;
};

// One TFTP datagram from the server.
struct TPaket {
    std::uint16_t Opcode = 0;
    std::uint16_t Cislo = 0;  // block number or error code
    Bajty Data;               // payload, error text or OACK option bytes
    std::uint16_t Port = 0;   // the port it came from
};

struct TVysledekTftp {
    bool Ok = false;
    Bajty Data;                                              // a read's file
    std::vector<std::pair<std::string, std::string>> Volby;  // the OACK's options
    std::uint16_t KodChyby = 0xFFFF;                         // an ERROR's code
    std::string TextChyby;
    std::uint16_t PortPrenosu = 0;  // the server's transfer port
    bool Ticho = false;             // no answer within the wait
    int PaketuDat = 0;              // DATA packets received
};

class TTftpKlient {
public:
    explicit TTftpKlient(std::uint16_t port) : port_(port)
    {
        fd_ = ::socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a);
    }
    ~TTftpKlient() { ::close(fd_); }
    TTftpKlient(const TTftpKlient&) = delete;
    TTftpKlient& operator=(const TTftpKlient&) = delete;

    void Posli(const Bajty& b, std::uint16_t port) const
    {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = htons(port);
        ::sendto(fd_, b.data(), b.size(), 0, reinterpret_cast<sockaddr*>(&a), sizeof a);
    }

    bool Prijmi(TPaket& p, int timeoutMs) const
    {
        pollfd pf{fd_, POLLIN, 0};
        if (::poll(&pf, 1, timeoutMs) <= 0)
            return false;
        std::uint8_t buf[70000];
        sockaddr_in od{};
        socklen_t delka = sizeof od;
        const ssize_t n = ::recvfrom(fd_, buf, sizeof buf, 0, reinterpret_cast<sockaddr*>(&od), &delka);
        if (n < 4)
            return false;
        p.Opcode = static_cast<std::uint16_t>((buf[0] << 8) | buf[1]);
        p.Cislo = static_cast<std::uint16_t>((buf[2] << 8) | buf[3]);
        p.Data.assign(buf + 4, buf + n);
        p.Port = ntohs(od.sin_port);
        return true;
    }

    static Bajty Pozadavek(std::uint16_t opcode, const std::string& nazev,
                           const std::vector<std::pair<std::string, std::string>>& volby,
                           const std::string& rezim = "octet")
    {
        Bajty b = {0, static_cast<std::uint8_t>(opcode)};
        const auto text = [&](const std::string& s) {
            b.insert(b.end(), s.begin(), s.end());
            b.push_back(0);
        };
        text(nazev);
        text(rezim);
        for (const auto& [n, v] : volby) {
            text(n);
            text(v);
        }
        return b;
    }

    static Bajty Ack(std::uint16_t cislo)
    {
        return {0, 4, static_cast<std::uint8_t>(cislo >> 8), static_cast<std::uint8_t>(cislo)};
    }

    // A whole read; options as given (none = plain RFC 1350).
    TVysledekTftp Cti(const std::string& nazev, const std::vector<std::pair<std::string, std::string>>& volby = {},
                      int timeoutMs = 1000) const
    {
        TVysledekTftp v;
        Posli(Pozadavek(1, nazev, volby), port_);
        std::size_t blok = 512;
        std::uint16_t ocekavany = 1;
        for (;;) {
            TPaket p;
            if (!Prijmi(p, timeoutMs)) {
                v.Ticho = true;
                return v;
            }
            v.PortPrenosu = p.Port;
            if (p.Opcode == 5) {
                ChybaDoVysledku(p, v);
                return v;
            }
            if (p.Opcode == 6) {
                PrijmiOack(p, v, blok);
                Posli(Ack(0), p.Port);
                continue;
            }
            if (p.Opcode != 3 || p.Cislo != ocekavany)
                continue;
            ++v.PaketuDat;
            v.Data.insert(v.Data.end(), p.Data.begin(), p.Data.end());
            Posli(Ack(p.Cislo), p.Port);
            if (p.Data.size() < blok) {
                v.Ok = true;
                return v;
            }
            ++ocekavany;
        }
    }

    // A whole write with blksize `blok` asked for when `volby` is set.
    TVysledekTftp Zapis(const std::string& nazev, const Bajty& data, bool volby = true, int timeoutMs = 1000) const
    {
        TVysledekTftp v;
        std::vector<std::pair<std::string, std::string>> o;
        if (volby)
            o = {{"blksize", "1500"}, {"tsize", std::to_string(data.size())}};
        Posli(Pozadavek(2, nazev, o), port_);
        std::size_t blok = 512;
        std::uint16_t odeslany = 0;  // last DATA sent
        bool hotovo = false;
        for (;;) {
            TPaket p;
            if (!Prijmi(p, timeoutMs)) {
                v.Ticho = true;
                return v;
            }
            v.PortPrenosu = p.Port;
            if (p.Opcode == 5) {
                ChybaDoVysledku(p, v);
                return v;
            }
            if (p.Opcode == 6) {
                PrijmiOack(p, v, blok);
            } else if (p.Opcode != 4 || p.Cislo != odeslany) {
                continue;
            }
            if (hotovo) {
                v.Ok = true;
                return v;
            }
            const std::size_t od = static_cast<std::size_t>(odeslany) * blok;
            const std::size_t pocet = od >= data.size() ? 0 : std::min(blok, data.size() - od);
            ++odeslany;
            Bajty d = {0, 3, static_cast<std::uint8_t>(odeslany >> 8), static_cast<std::uint8_t>(odeslany)};
            d.insert(d.end(), data.begin() + static_cast<std::ptrdiff_t>(od),
                     data.begin() + static_cast<std::ptrdiff_t>(od + pocet));
            Posli(d, p.Port);
            hotovo = pocet < blok;
        }
    }

    static std::vector<std::pair<std::string, std::string>> RozeberVolby(const Bajty& b)
    {
        std::vector<std::string> casti;
        std::string s;
        for (const std::uint8_t x : b) {
            if (x == 0) {
                casti.push_back(s);
                s.clear();
            } else {
                s.push_back(static_cast<char>(x));
            }
        }
        std::vector<std::pair<std::string, std::string>> v;
        for (std::size_t i = 0; i + 1 < casti.size(); i += 2)
            v.emplace_back(casti[i], casti[i + 1]);
        return v;
    }

    std::uint16_t PortServeru() const { return port_; }

private:
    // An ERROR packet's code and text (without its closing zeros).
    static void ChybaDoVysledku(const TPaket& p, TVysledekTftp& v)
    {
        v.KodChyby = p.Cislo;
        v.TextChyby.assign(p.Data.begin(), p.Data.end());
        while (!v.TextChyby.empty() && v.TextChyby.back() == '\0')
            v.TextChyby.pop_back();
    }

    // An OACK's options; a granted blksize becomes the block size.
    static void PrijmiOack(const TPaket& p, TVysledekTftp& v, std::size_t& blok)
    {
        Bajty vse = {static_cast<std::uint8_t>(p.Cislo >> 8), static_cast<std::uint8_t>(p.Cislo)};
        vse.insert(vse.end(), p.Data.begin(), p.Data.end());
        v.Volby = RozeberVolby(vse);
        for (const auto& [n, h] : v.Volby)
            if (strcasecmp(n.c_str(), "blksize") == 0)
                blok = std::stoul(h);
    }

    int fd_ = -1;
    std::uint16_t port_;
};

inline std::uint32_t Cti32(const Bajty& b, std::size_t o)
{
    return static_cast<std::uint32_t>(b.at(o)) | (static_cast<std::uint32_t>(b.at(o + 1)) << 8) |
           (static_cast<std::uint32_t>(b.at(o + 2)) << 16) | (static_cast<std::uint32_t>(b.at(o + 3)) << 24);
}

// A configuration file with its check byte appended.
inline Bajty SKontrolou(Bajty b)
{
    std::uint8_t soucet = 0;
    for (const std::uint8_t x : b)
        soucet = static_cast<std::uint8_t>(soucet + x);
    b.push_back(static_cast<std::uint8_t>(0x100 - soucet));
    return b;
}

}  // namespace simtest
