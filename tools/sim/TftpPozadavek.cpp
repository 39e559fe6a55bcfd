#include "TftpPozadavek.h"

#include <algorithm>
#include <strings.h>

namespace vk::sim::tftp {

namespace {

void Udel(TVyjednano& v, const std::string& nazev, const std::string& hodnota)
{
    PridejText(v.Oack, nazev);
    PridejText(v.Oack, hodnota);
    v.Udeleno = true;
}

std::optional<TOdmitnuti> VolbaBlksize(const std::string& nazev, const std::string& hodnota, TVyjednano& v)
{
    std::uint64_t cislo = 0;
    if (!CtiCislo(hodnota, cislo) || cislo < 8)
        return TOdmitnuti{EVolby, "Invalid blksize " + hodnota};
    v.Blok = std::min<std::size_t>(static_cast<std::size_t>(cislo), NejvetsiBlok);
    Udel(v, nazev, std::to_string(v.Blok));
    return std::nullopt;
}

// A read announces the file's size; a write announces its own, which must
// fit the module's room.
std::optional<TOdmitnuti> VolbaTsize(const std::string& nazev, const std::string& hodnota, bool cteni,
                                     std::size_t velikost, std::size_t limit, TVyjednano& v)
{
    std::uint64_t cislo = 0;
    if (!CtiCislo(hodnota, cislo))
        return TOdmitnuti{EVolby, "Invalid tsize " + hodnota};
    if (!cteni && cislo > limit)
        return TOdmitnuti{EPlno, "File too large: " + hodnota + " bytes, room for " + std::to_string(limit)};
    Udel(v, nazev, cteni ? std::to_string(velikost) : hodnota);
    return std::nullopt;
}

// A timeout outside 1 to 255 s is not granted (not refused); a granted one
// is the wait before a retransmission, and only ever lengthens how long a
// silent peer is waited for.
void VolbaTimeout(const std::string& nazev, const std::string& hodnota, TVyjednano& v)
{
    std::uint64_t cislo = 0;
    if (CtiCislo(hodnota, cislo) && cislo >= 1 && cislo <= 255) {
        v.OpakovaniMs = static_cast<std::int64_t>(cislo) * 1000;
        v.Necinnost = std::max<std::int64_t>(NecinnostMs, static_cast<std::int64_t>(cislo) * 3000);
        Udel(v, nazev, hodnota);
    }
}

}  // namespace

// A decimal number of at most 10 digits; false for anything else.
bool CtiCislo(const std::string& text, std::uint64_t& hodnota)
{
    if (text.empty() || text.size() > 10)
        return false;
    hodnota = 0;
    for (const char znak : text) {
        if (znak < '0' || znak > '9')
            return false;
        hodnota = hodnota * 10 + static_cast<std::uint64_t>(znak - '0');
    }
    return true;
}

std::uint16_t Cti16be(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

void Pridej16be(TBajty& b, std::uint16_t x)
{
    b.push_back(static_cast<std::uint8_t>(x >> 8));
    b.push_back(static_cast<std::uint8_t>(x & 0xFF));
}

void PridejText(TBajty& b, const std::string& s)
{
    b.insert(b.end(), s.begin(), s.end());
    b.push_back(0);
}

bool StejneJmeno(const std::string& a, const char* b)
{
    return strcasecmp(a.c_str(), b) == 0;
}

TBajty PaketChyby(std::uint16_t kod, const std::string& text)
{
    TBajty paket;
    Pridej16be(paket, ERROR);
    Pridej16be(paket, kod);
    PridejText(paket, text);
    return paket;
}

TBajty PaketAck(std::uint16_t blok)
{
    TBajty paket;
    Pridej16be(paket, ACK);
    Pridej16be(paket, blok);
    return paket;
}

// Zero-terminated strings after the opcode: name, mode, then option
// name/value pairs; a datagram that does not end with a zero is malformed.
std::optional<TOdmitnuti> RozeberPozadavek(const std::uint8_t* data, std::size_t delka, TPozadavek& pozadavek)
{
    const std::uint16_t opcode = Cti16be(data);
    if (opcode != RRQ && opcode != WRQ)
        return TOdmitnuti{EOperace, "Illegal TFTP operation"};
    std::vector<std::string> casti;
    std::size_t zacatek = 2;
    for (std::size_t i = 2; i < delka; ++i) {
        if (data[i] == 0) {
            casti.emplace_back(reinterpret_cast<const char*>(data + zacatek), i - zacatek);
            zacatek = i + 1;
        }
    }
    if (zacatek != delka || casti.size() < 2 || casti[0].empty())
        return TOdmitnuti{EOperace, "Malformed request"};
    pozadavek.Cteni = opcode == RRQ;
    pozadavek.Nazev = casti[0];
    pozadavek.Rezim = casti[1];
    pozadavek.Volby.assign(casti.begin() + 2, casti.end());
    return std::nullopt;
}

std::optional<TOdmitnuti> VyjednejVolby(const TPozadavek& pozadavek, std::size_t velikost, std::size_t limit,
                                        TVyjednano& v)
{
    Pridej16be(v.Oack, OACK);
    bool blksize = false, tsize = false, timeout = false;  // seen already
    const auto& volby = pozadavek.Volby;
    for (std::size_t i = 0; i + 1 < volby.size(); i += 2) {
        const std::string& nazev = volby[i];
        const std::string& hodnota = volby[i + 1];
        std::optional<TOdmitnuti> odmitnuti;
        if (StejneJmeno(nazev, "blksize") && !blksize) {
            blksize = true;
            odmitnuti = VolbaBlksize(nazev, hodnota, v);
        } else if (StejneJmeno(nazev, "tsize") && !tsize) {
            tsize = true;
            odmitnuti = VolbaTsize(nazev, hodnota, pozadavek.Cteni, velikost, limit, v);
        } else if (StejneJmeno(nazev, "timeout") && !timeout) {
            timeout = true;
            VolbaTimeout(nazev, hodnota, v);
        }
        if (odmitnuti)
            return odmitnuti;
    }
    return std::nullopt;
}

}  // namespace vk::sim::tftp
