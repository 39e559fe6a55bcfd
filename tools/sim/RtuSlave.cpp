#include "RtuSlave.h"

#include <string>

#include "CrcRamce.h"

namespace vk::sim {

namespace {

constexpr std::uint8_t FunkceCti = 0x43;
constexpr std::uint8_t FunkceZapis = 0x44;
constexpr std::uint8_t FunkcePreposli = 0x45;
constexpr std::uint8_t FunkceIdentifikace = 0xC8;  // of the embedded request

// A reply frame holds at most 256 bytes with its CRC, so a read carries at
// most 251 data bytes after its 3 header bytes.
constexpr std::size_t NejvicDatVOdpovedi = 251;

void PridejCrc(TBajty& ramec, bool spatne)
{
    std::uint16_t crc = CrcRamce(ramec.data(), ramec.size());
    if (spatne)
        crc = static_cast<std::uint16_t>(crc ^ 0xFFFF);
    ramec.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    ramec.push_back(static_cast<std::uint8_t>(crc >> 8));
}

bool CrcSedi(const TBajty& ramec)
{
    const std::size_t n = ramec.size() - 2;
    const std::uint16_t crc = CrcRamce(ramec.data(), n);
    return ramec[n] == (crc & 0xFF) && ramec[n + 1] == (crc >> 8);
}

// Four characters of a text from position `od`, zero bytes past its end.
void CtyriZnaky(const std::string& text, std::size_t od, TBajty& o)
{
    for (std::size_t i = od; i < od + 4; ++i)
        o.push_back(i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0);
}

}  // namespace

bool TRtuSlave::Zpracuj(const TBajty& ramec, TBajty& odpoved)
{
    odpoved.clear();
    if (ramec.size() < 4 || ramec[0] != adresa_ || !CrcSedi(ramec))
        return false;
    if (poruchy_.Uplatni(TPorucha::ZadnaOdpoved))
        return false;
    const TBajty r(ramec.begin(), ramec.end() - 2);
    const std::uint8_t funkce = r[1];
    if (poruchy_.Uplatni(TPorucha::VyjimkaOdpoved))
        Vyjimka(funkce, TVyjimka::SelhaniZarizeni, odpoved);
    else if (funkce == FunkceCti)
        Cti(r, odpoved);
    else if (funkce == FunkceZapis)
        Zapis(r, odpoved);
    else if (funkce == FunkcePreposli)
        Preposli(r, odpoved);
    else
        Vyjimka(funkce, TVyjimka::NeznamaFunkce, odpoved);
    PridejCrc(odpoved, poruchy_.Uplatni(TPorucha::SpatneCRC));
    return true;
}

void TRtuSlave::Vyjimka(std::uint8_t funkce, TVyjimka kod, TBajty& o) const
{
    o = {adresa_, static_cast<std::uint8_t>(funkce | 0x80), static_cast<std::uint8_t>(kod)};
}

// Request: address, 0x43, 0xFE, file code, block high, block low, length.
void TRtuSlave::Cti(const TBajty& r, TBajty& o)
{
    if (r.size() != 7 || r[6] > NejvicDatVOdpovedi) {
        Vyjimka(r[1], TVyjimka::SpatnaData, o);
        return;
    }
    const auto blok = static_cast<std::uint16_t>((r[4] << 8) | r[5]);
    TBajty data;
    if (stav_.PrectiBlok(r[3], blok, r[6], data) != TVysledek::Ok) {
        Vyjimka(r[1], TVyjimka::NeznamaAdresa, o);
        return;
    }
    o = {adresa_, FunkceCti, r[6]};
    o.insert(o.end(), data.begin(), data.end());
}

// Request: address, 0x44, 0xFE, file code, block high, block low, length,
// the data. Reply: address, 0x44, result byte (0 stored, 1 refused).
void TRtuSlave::Zapis(const TBajty& r, TBajty& o)
{
    if (r.size() < 7 || r.size() != 7u + r[6]) {
        Vyjimka(r[1], TVyjimka::SpatnaData, o);
        return;
    }
    if (SouborPodleKodu(r[3]) == nullptr) {
        Vyjimka(r[1], TVyjimka::NeznamaAdresa, o);
        return;
    }
    std::uint8_t vysledek = 1;
    if (!poruchy_.Uplatni(TPorucha::OdmitnutyZapis)) {
        const auto blok = static_cast<std::uint16_t>((r[4] << 8) | r[5]);
        std::string duvod;
        const TBajty data(r.begin() + 7, r.end());
        vysledek = stav_.ZapisBlok(r[3], blok, data, duvod) == TVysledek::Ok ? 0 : 1;
    }
    o = {adresa_, FunkceZapis, vysledek};
}

// Request: address, 0x45, embedded length (2 bytes, high first), the embedded
// request: address, 0xC8, object number, padding. Reply: address, 0x45,
// embedded length, the embedded reply: address, 0xC8, object, 4, four
// characters. Objects 0 and 1: the type; 2: the version; 10 and 11: the
// serial number.
void TRtuSlave::Preposli(const TBajty& r, TBajty& o)
{
    if (r.size() < 4) {
        Vyjimka(r[1], TVyjimka::SpatnaData, o);
        return;
    }
    const std::size_t delka = static_cast<std::size_t>((r[2] << 8) | r[3]);
    if (r.size() != 4 + delka || delka < 3) {
        Vyjimka(r[1], TVyjimka::SpatnaData, o);
        return;
    }
    if (r[5] != FunkceIdentifikace) {
        Vyjimka(r[1], TVyjimka::NeznamaFunkce, o);
        return;
    }
    const std::uint8_t objekt = r[6];
    if (objekt != 0 && objekt != 1 && objekt != 2 && objekt != 10 && objekt != 11) {
        Vyjimka(r[1], TVyjimka::NeznamaAdresa, o);
        return;
    }
    // A counted identity fault is used up by the object it changes: object 1
    // carries the type's differing half, object 2 the version.
    const TIdentita identita = stav_.Identita(objekt == 1, objekt == 2);
    TBajty vnorena = {adresa_, FunkceIdentifikace, objekt, 4};  // embedded reply (Vnorena)
    if (objekt <= 1)
        CtyriZnaky(identita.Typ, 4u * objekt, vnorena);
    else if (objekt == 2)
        CtyriZnaky(identita.Verze, 0, vnorena);
    else
        CtyriZnaky(identita.VyrCislo, 4u * (objekt - 10u), vnorena);
    o = {adresa_, FunkcePreposli, 0, static_cast<std::uint8_t>(vnorena.size())};
    o.insert(o.end(), vnorena.begin(), vnorena.end());
}

}  // namespace vk::sim
