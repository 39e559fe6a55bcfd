#include "TftpSkriptServer.h"

#include <cstdlib>
#include <stdexcept>
#include <utility>

namespace vk::test {

using vk::link::NajdiAdresu;
using vk::link::TAdresaUdp;

namespace {

void Pridej16(TBajty& p, std::uint16_t v)
{
    p.push_back(static_cast<std::uint8_t>(v >> 8));
    p.push_back(static_cast<std::uint8_t>(v & 0xFF));
}

vk::link::UdpSocket Otevri(const char* host = "127.0.0.1")
{
    TAdresaUdp mistni;
    std::string chyba;
    vk::link::UdpSocket s;
    if (!NajdiAdresu(host, 0, false, mistni, chyba) || !s.OtevriNa(mistni, chyba))
        throw std::runtime_error("scripted server: " + chyba);
    return s;
}

std::optional<TBajty> PrijmiNa(vk::link::UdpSocket& s, std::int32_t ms, TAdresaUdp& od)
{
    TBajty buf(70000);
    const long n = s.Prijmi(buf.data(), buf.size(), ms, od);
    if (n < 0)
        return std::nullopt;
    buf.resize(static_cast<std::size_t>(n));
    return buf;
}

}  // namespace

std::uint8_t VzorBajt(std::size_t i, std::uint8_t vzor)
{
    return static_cast<std::uint8_t>((i * 31 + i / 251 + vzor) & 0xFF);
}

TBajty TftpData(std::uint16_t blok, const TBajty& obsah)
{
    TBajty p;
    p.reserve(4 + obsah.size());
    Pridej16(p, 3);
    Pridej16(p, blok);
    p.insert(p.end(), obsah.begin(), obsah.end());
    return p;
}

TBajty TftpData(std::uint16_t blok, std::size_t pocet, std::uint8_t vzor)
{
    TBajty obsah(pocet);
    for (std::size_t i = 0; i < pocet; ++i)
        obsah[i] = VzorBajt(i, vzor);
    return TftpData(blok, obsah);
}

TBajty TftpAck(std::uint16_t blok)
{
    TBajty p;
    Pridej16(p, 4);
    Pridej16(p, blok);
    return p;
}

TBajty TftpChyba(std::uint16_t kod, const std::string& zprava)
{
    TBajty p;
    Pridej16(p, 5);
    Pridej16(p, kod);
    p.insert(p.end(), zprava.begin(), zprava.end());
    p.push_back(0);
    return p;
}

TBajty TftpOack(const std::vector<std::string>& retezce)
{
    TBajty p;
    Pridej16(p, 6);
    for (const auto& r : retezce) {
        p.insert(p.end(), r.begin(), r.end());
        p.push_back(0);
    }
    return p;
}

TBajty Hex(const std::string& hex)
{
    TBajty p;
    std::string cislice;
    for (const char z : hex) {
        if (z == ' ')
            continue;
        cislice.push_back(z);
        if (cislice.size() == 2) {
            p.push_back(static_cast<std::uint8_t>(std::strtoul(cislice.c_str(), nullptr, 16)));
            cislice.clear();
        }
    }
    return p;
}

std::uint16_t TftpOpcode(const TBajty& paket)
{
    return paket.size() < 2 ? 0 : static_cast<std::uint16_t>(paket[0] << 8 | paket[1]);
}

std::uint16_t TftpBlok(const TBajty& paket)
{
    return paket.size() < 4 ? 0 : static_cast<std::uint16_t>(paket[2] << 8 | paket[3]);
}

std::vector<std::string> TftpRetezce(const TBajty& paket)
{
    std::vector<std::string> r;
    std::string akt;
    for (std::size_t i = 2; i < paket.size(); ++i) {
        if (paket[i] == 0) {
            r.push_back(akt);
            akt.clear();
        } else {
            akt.push_back(static_cast<char>(paket[i]));
        }
    }
    return r;
}

TftpSkriptServer::TftpSkriptServer()
    : hlavni_(Otevri()), prenos_(Otevri()), cizi_(Otevri()), ciziHost_(Otevri("127.0.0.2"))
{
}

TftpSkriptServer::~TftpSkriptServer()
{
    Pockej();
}

std::string TftpSkriptServer::Adresa() const
{
    return hlavni_.MistniAdresa().Text();
}

void TftpSkriptServer::Spust(std::function<void(TftpSkriptServer&)> skript)
{
    vlakno_ = std::thread([this, skript = std::move(skript)] { skript(*this); });
}

void TftpSkriptServer::Pockej()
{
    if (vlakno_.joinable())
        vlakno_.join();
}

std::optional<TBajty> TftpSkriptServer::PrijmiZadost(std::int32_t ms)
{
    auto p = PrijmiNa(hlavni_, ms, klient_);
    if (p)
        Zadost = *p;
    return p;
}

std::optional<TBajty> TftpSkriptServer::Prijmi(std::int32_t ms)
{
    TAdresaUdp od;
    auto p = PrijmiNa(prenos_, ms, od);
    if (p)
        Prijato.push_back(*p);
    return p;
}

void TftpSkriptServer::Posli(const TBajty& paket)
{
    prenos_.Posli(klient_, paket.data(), paket.size());
}

void TftpSkriptServer::PosliCizi(const TBajty& paket, bool jinyHost)
{
    (jinyHost ? ciziHost_ : cizi_).Posli(klient_, paket.data(), paket.size());
}

std::optional<TBajty> TftpSkriptServer::PrijmiCizi(std::int32_t ms, bool jinyHost)
{
    TAdresaUdp od;
    return PrijmiNa(jinyHost ? ciziHost_ : cizi_, ms, od);
}

}  // namespace vk::test
