// The event log files: log.cfg, log.clr, logh.bin, log100.bin and log.bin,
// over the TFTP link of the connection record alone, under its busy mark.
#include <algorithm>
#include <cstdio>
#include <unistd.h>

#include "M_TFTP.h"
#include "SpolecnyPrubeh.h"
#include "U_VK7316R.h"
#include "Ukonceni.h"

namespace vk::device {

namespace {

bool CtiLog(TVK7316R& modul, std::string_view nazev, std::vector<std::uint8_t>& data, std::string& chyba)
{
    return detail::CtiTFTP(modul.TFTP, nazev, data, chyba);
}

// The records after the header, complete ones only.
std::vector<TZaznamLOG> ZaznamyLOG(const std::vector<std::uint8_t>& data)
{
    std::vector<TZaznamLOG> zaznamy;
    for (std::size_t o = DelkaHlavickyLOG; o + DelkaZaznamuLOG <= data.size(); o += DelkaZaznamuLOG) {
        TZaznamLOG z{};
        std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(o), z.size(), z.begin());
        zaznamy.push_back(z);
    }
    return zaznamy;
}

// The link names the file it could not make; the caller asked for the
// target, never for the temporary file.
std::string SCilem(std::string text, const std::string& docasny, const std::string& cil)
{
    const auto kde = text.find(docasny);
    if (kde != std::string::npos)
        text.replace(kde, docasny.size(), cil);
    return text;
}

}  // namespace

bool PrectiLogCfg(TVK7316R& modul, TVK7316R_LogCfg& r)
{
    return detail::ProvedPrenos(modul.Zaneprazdnen, r, [&](std::string& chyba) {
        std::vector<std::uint8_t> data;
        if (!CtiLog(modul, "log.cfg", data, chyba))
            return false;
        DekodujLogCfg(data, r);
        return true;
    });
}

bool ZapisLogCfg(TVK7316R& modul, TVK7316R_LogCfg& r)
{
    const auto b = KodujLogCfg(r);
    return detail::ProvedPrenos(modul.Zaneprazdnen, r,
                                [&](std::string& chyba) { return detail::PisTFTP(modul.TFTP, "log.cfg", b, chyba); });
}

bool ZapisLogClr(TVK7316R& modul, TVK7316R_LogClr& r)
{
    const auto b = KodujLogClr(r);
    return detail::ProvedPrenos(modul.Zaneprazdnen, r,
                                [&](std::string& chyba) { return detail::PisTFTP(modul.TFTP, "log.clr", b, chyba); });
}

bool PrectiLoghBin(TVK7316R& modul, TVK7316R_LoghBin& r)
{
    return detail::ProvedPrenos(modul.Zaneprazdnen, r, [&](std::string& chyba) {
        std::vector<std::uint8_t> data;
        if (!CtiLog(modul, "logh.bin", data, chyba))
            return false;
        r.Hlavicka = DekodujHlavickuLOG(data.data(), data.size());
        return true;
    });
}

bool PrectiLog100Bin(TVK7316R& modul, TVK7316R_Log100Bin& r)
{
    return detail::ProvedPrenos(modul.Zaneprazdnen, r, [&](std::string& chyba) {
        std::vector<std::uint8_t> data;
        if (!CtiLog(modul, "log100.bin", data, chyba))
            return false;
        r.Hlavicka = DekodujHlavickuLOG(data.data(), data.size());
        r.Zaznamy = ZaznamyLOG(data);
        return true;
    });
}

bool PrectiLogBin(TVK7316R& modul, TVK7316R_LogBin& r, const link::TPrubeh& prubeh)
{
    return detail::ProvedPrenos(modul.Zaneprazdnen, r, [&](std::string& chyba) {
        const std::string& cil = r.LokalniSoubor;
        const std::string docasny = cil + ".vk7316r-" + std::to_string(getpid()) + ".part";
        if (!link::PrectiDoSouboru(modul.TFTP, docasny, "log.bin", prubeh)) {
            chyba = SCilem(modul.TFTP.ED.StatusText, docasny, cil);
            std::remove(docasny.c_str());
            return false;
        }
        // A transfer that came to its end just as it was asked to stop
        // leaves nothing behind either: a stopped job makes no new file.
        if (link::PozadovanoUkonceni()) {
            chyba = link::TextChybaTFTP;
            std::remove(docasny.c_str());
            return false;
        }
        if (std::rename(docasny.c_str(), cil.c_str()) != 0) {
            chyba = "Nelze vytvořit soubor " + cil;
            std::remove(docasny.c_str());
            return false;
        }
        return true;
    });
}

}  // namespace vk::device
