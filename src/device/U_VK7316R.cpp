#include "U_VK7316R.h"

#include <algorithm>

#include "Rozhrani.h"
#include "SpolecnyPrubeh.h"

namespace vk::device {

TVK7316R Modul;

const std::string& PricinaSelhani(const TVK7316R& modul)
{
    return modul.Rozhrani == vk::common::RozhraniLAN ? modul.TFTP.ED.Pricina : modul.MBRTU.ED.Pricina;
}

void VychoziModul(TVK7316R& modul)
{
    modul.Init = false;
    modul.Rozhrani = vk::common::RozhraniUART;
    modul.TFTP.ID.IdTrivialFTP1.reset();
    modul.MBRTU.ID.HNDL = 0;
    modul.Zaneprazdnen = false;
}

const std::vector<TSouborZarizeni>& TabulkaSouboru()
{
    // mmrd.bin and mmrgv.bin are read as whole 240-byte blocks although only
    // their first 16 and 192 bytes carry data. One 0x43 reply carries at most
    // 254 data bytes, so boot.cmd is read as one 240-byte block.
    static const std::vector<TSouborZarizeni> tabulka = {
        {"info.txt", 0, 31, 0, 31},  {"rtc.bin", 1, 9, 0, 9},         {"sys.bin", 2, 240, 152, 392},
        {"ctrl.bin", 3, 23, 0, 23},  {"mmrd.bin", 6, 240, 0, 16},     {"mmrgv.bin", 7, 240, 0, 192},
        {"lan4.cfg", 20, 16, 0, 16}, {"mbtcp.cfg", 22, 3, 0, 3},      {"uartm.cfg", 23, 6, 0, 6},
        {"uarts.cfg", 24, 5, 0, 5},  {"sprava.cfg", 25, 138, 0, 138}, {"boot.cmd", 40, 240, 0, 0},
        {"fw.akt", 45, 64, 0, 64},   {"fw.hbn", 46, 0, 0, 0},         {"log.cfg", -1, 0, 0, 7},
        {"log.clr", -1, 0, 0, 8},
    };
    return tabulka;
}

std::optional<TSouborZarizeni> NajdiSoubor(std::string_view nazev)
{
    const auto& t = TabulkaSouboru();
    const auto it = std::find_if(t.begin(), t.end(), [&](const TSouborZarizeni& s) { return s.Nazev == nazev; });
    if (it == t.end())
        return std::nullopt;
    return *it;
}

namespace detail {

const TSouborZarizeni& Soubor(std::string_view nazev)
{
    const auto& t = TabulkaSouboru();
    return *std::find_if(t.begin(), t.end(), [&](const TSouborZarizeni& s) { return s.Nazev == nazev; });
}

bool CtiTFTP(link::TTFTP& tftp, std::string_view nazev, std::vector<std::uint8_t>& data, std::string& chyba)
{
    data.assign(link::VelikostPametiTFTP, 0);
    std::uint32_t pocet = 0;
    if (!link::PrectiDoPameti(tftp, std::string(nazev), data.data(), pocet)) {
        chyba = tftp.ED.StatusText;
        data.clear();
        return false;
    }
    data.resize(std::min<std::size_t>(pocet, link::VelikostPametiTFTP));
    return true;
}

bool PisTFTP(link::TTFTP& tftp, std::string_view nazev, TBajty data, std::string& chyba)
{
    if (data.size() > link::VelikostPametiTFTP) {
        chyba = "Soubor je delší než " + std::to_string(link::VelikostPametiTFTP) + " bajtů";
        return false;
    }
    if (!link::ZapisZPameti(tftp, std::string(nazev), data.data(), static_cast<std::uint32_t>(data.size()))) {
        chyba = tftp.ED.StatusText;
        return false;
    }
    return true;
}

namespace {

bool CtiBlok(link::TMBRTU& rtu, std::uint8_t kod, std::uint16_t blok, std::uint8_t delka,
             std::vector<std::uint8_t>& data, std::string& chyba)
{
    std::uint8_t buffer[link::MaxRamecRTU] = {};
    if (link::PrectiBlok(rtu, kod, blok, delka, buffer) != 0) {
        chyba = rtu.ED.StatusText;
        return false;
    }
    data.insert(data.end(), buffer, buffer + delka);
    return true;
}

}  // namespace

bool CtiSoubor(TVK7316R& modul, const TSouborZarizeni& soubor, std::vector<std::uint8_t>& data, std::string& chyba)
{
    data.clear();
    if (soubor.KodSouboru < 0 || modul.Rozhrani == vk::common::RozhraniLAN)
        return CtiTFTP(modul.TFTP, soubor.Nazev, data, chyba);
    if (soubor.DelkaBlok0 == 0) {
        chyba = "Soubor " + std::string(soubor.Nazev) + " nelze číst po sériové lince";
        return false;
    }
    const auto kod = static_cast<std::uint8_t>(soubor.KodSouboru);
    // The second block is asked for only after the first has arrived.
    if (!CtiBlok(modul.MBRTU, kod, 0, soubor.DelkaBlok0, data, chyba))
        return false;
    return soubor.DelkaBlok1 == 0 || CtiBlok(modul.MBRTU, kod, 1, soubor.DelkaBlok1, data, chyba);
}

bool NahrajRTU(link::TMBRTU& rtu, const std::function<std::int32_t()>& nahraj, std::string& chyba)
{
    // With no port open the upload fails without a text of its own; the
    // text of an earlier transfer ("OK") must not stand for this failure.
    rtu.ED.StatusText.clear();
    if (nahraj() == 0)
        return true;
    chyba = rtu.ED.StatusText.empty() ? "Chyba spojení s modulem" : rtu.ED.StatusText;
    return false;
}

bool PisSoubor(TVK7316R& modul, const TSouborZarizeni& soubor, TBajty data, std::string& chyba)
{
    if (soubor.KodSouboru < 0 || modul.Rozhrani == vk::common::RozhraniLAN)
        return PisTFTP(modul.TFTP, soubor.Nazev, data, chyba);
    // The same 240-byte blocks as an upload; ctrl.bin, the settings files
    // and boot.cmd fit the first.
    const auto kod = static_cast<std::uint8_t>(soubor.KodSouboru);
    return NahrajRTU(
        modul.MBRTU, [&] { return link::NahrajZPameti(modul.MBRTU, kod, data.data(), data.size()); }, chyba);
}

}  // namespace detail

namespace {

std::string NeznamySoubor(const std::string& nazev)
{
    return "Neznámý soubor modulu " + nazev;
}

}  // namespace

bool PrectiSoubor(TVK7316R& modul, TVK7316R_Soubor& r)
{
    return detail::Proved(modul, r, [&](std::string& chyba) {
        const auto soubor = NajdiSoubor(r.Soubor);
        if (!soubor) {
            chyba = NeznamySoubor(r.Soubor);
            return false;
        }
        std::vector<std::uint8_t> data;
        if (!detail::CtiSoubor(modul, *soubor, data, chyba))
            return false;
        r.Data = std::move(data);
        return true;
    });
}

bool ZapisSoubor(TVK7316R& modul, TVK7316R_Soubor& r)
{
    return detail::Proved(modul, r, [&](std::string& chyba) {
        const auto soubor = NajdiSoubor(r.Soubor);
        if (!soubor) {
            chyba = NeznamySoubor(r.Soubor);
            return false;
        }
        // 0xFFFF blocks of 240 bytes is the most a 16-bit block number reaches.
        constexpr std::size_t maxSerial = 240u * 0xFFFFu;
        if (modul.Rozhrani == vk::common::RozhraniUART && soubor->KodSouboru >= 0 && r.Data.size() > maxSerial) {
            chyba = "Soubor je pro sériovou linku příliš dlouhý";
            return false;
        }
        return detail::PisSoubor(modul, *soubor, TBajty(r.Data), chyba);
    });
}

bool PrectiInfoTxt(TVK7316R& modul, TVK7316R_InfoTxt& r)
{
    return detail::ProvedCteni(modul, r, "info.txt", DekodujInfoTxt);
}

}  // namespace vk::device
