// log-show, log-archive, log-clear (over the module's network link) and
// log-export (offline).
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <system_error>
#include <vector>

#include "LogZaznamy.h"
#include "M_TFTP.h"
#include "MistniSoubor.h"
#include "PoleSouboru.h"
#include "Prikazy.h"
#include "Prubeh.h"
#include "U_VK7316R.h"
#include "Vystup.h"

namespace vk::cli {

using device::Modul;

namespace {

TKonec Selhani(const std::string& soubor, const std::string& status)
{
    Chyba(soubor + ": " + StatusLinky(soubor, status));
    return TKonec::ChybaModulu;
}

bool PrectiLog(const std::string& soubor, std::vector<std::uint8_t>& data, std::string& status)
{
    data.assign(link::VelikostPametiTFTP, 0);
    std::uint32_t pocet = 0;
    if (!link::PrectiDoPameti(Modul.TFTP, soubor, data.data(), pocet)) {
        status = Modul.TFTP.ED.StatusText;
        return false;
    }
    data.resize(pocet);
    return true;
}

// The header of a log text export, as the event log window writes it: two
// lines joined by a lone carriage return.
std::string HlavickaExportu(const std::string& modul, const std::string& ip)
{
    return "Modul     : " + modul + "\r" + "IP adresa : " + ip;
}

// "Arch_" + yymmdd + "_" + hhnnss of the local time.
std::string JmenoArchivu()
{
    const std::time_t t = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "Arch_%y%m%d_%H%M%S", &tm);
    return buf;
}

}  // namespace

TKonec LogShow(TKontext&)
{
    std::vector<std::uint8_t> hlavicka;
    std::string status;
    if (!PrectiLog("logh.bin", hlavicka, status)) return Selhani("logh.bin", status);
    std::vector<std::uint8_t> zaznamy;
    if (!PrectiLog("log100.bin", zaznamy, status)) return Selhani("log100.bin", status);

    const device::THlavickaLOG h = device::DekodujHlavickuLOG(hlavicka.data(), hlavicka.size());
    const double zaplneni = h.Kapacita == 0 ? 0.0 : static_cast<double>(h.PocetZaznamu) / h.Kapacita * 100.0;
    char buf[128];
    std::snprintf(buf, sizeof buf, "Počet uložených záznamů: %u\nZaplnění paměti [%%]: %.3f\n",
                  static_cast<unsigned>(h.PocetZaznamu), zaplneni);
    std::string vystup = buf;
    if (h.PocetZaznamu != 0) {
        std::vector<std::string> radky;
        for (std::size_t o = device::DelkaHlavickyLOG; o + device::DelkaZaznamuLOG <= zaznamy.size();
             o += device::DelkaZaznamuLOG) {
            device::TZaznamLOG z{};
            std::copy_n(zaznamy.begin() + static_cast<std::ptrdiff_t>(o), z.size(), z.begin());
            std::string radek = device::DekodujZaznamLOG(z);
            if (!radek.empty()) radky.push_back(std::move(radek));
        }
        for (auto it = radky.rbegin(); it != radky.rend(); ++it) vystup += *it + "\n";
    }
    Vypis(vystup);
    return TKonec::Uspech;
}

TKonec PripravLogArchive(TKontext& k)
{
    if (!k.Argumenty.Parametry.empty() && k.Argumenty.Parametry[0].empty()) {
        return ChybaPouziti(k, "Není zadán název souboru");
    }
    return TKonec::Uspech;
}

TKonec LogArchive(TKontext& k)
{
    const std::string zaklad = k.Argumenty.Parametry.empty() ? JmenoArchivu() : k.Argumenty.Parametry[0];
    const std::string bin = zaklad + ".bin";
    const std::string docasny = DocasneJmeno(bin);
    {
        TUkazatelPrubehu prubeh("log.bin");
        if (!link::PrectiDoSouboru(Modul.TFTP, docasny, "log.bin", prubeh.Zpetne())) {
            prubeh.Ukonci();
            ZahodSoubor(docasny);
            return Selhani("log.bin", SCilem(Modul.TFTP.ED.StatusText, docasny, bin));
        }
    }
    std::string chyba;
    if (!DokonciSoubor(docasny, bin, chyba)) return Selhani("log.bin", chyba);
    if (!device::PrevedLogNaText(zaklad, HlavickaExportu(k.Dat.TypVerze, k.Dat.Pripojeni.LAN_IP), chyba)) {
        Chyba(chyba);
        return TKonec::ChybaModulu;
    }
    Vypis("LOG uložen: " + bin + ", " + zaklad + ".log\n");
    return TKonec::Uspech;
}

TKonec LogClear(TKontext&)
{
    device::TVK7316R_LogClr r;
    if (!device::ZapisLogClr(Modul, r)) return Selhani("log.clr", r.StatusText);
    Vypis("LOG vymazán.\n");
    return TKonec::Uspech;
}

TKonec PripravLogExport(TKontext& k)
{
    const std::string& zaklad = k.Argumenty.Parametry[0];
    if (zaklad.empty()) return ChybaPouziti(k, "Není zadán název souboru");
    std::error_code ec;
    if (!std::filesystem::is_regular_file(zaklad + ".bin", ec)) {
        return ChybaPouziti(k, "Soubor nenalezen: " + zaklad + ".bin");
    }
    return TKonec::Uspech;
}

TKonec LogExport(TKontext& k)
{
    const std::string& zaklad = k.Argumenty.Parametry[0];
    const std::string hlavicka = HlavickaExportu(k.Argumenty.ModulText.value_or("???"), k.Argumenty.IPText.value_or("???"));
    std::string chyba;
    if (!device::PrevedLogNaText(zaklad, hlavicka, chyba)) {
        Chyba(chyba);
        return TKonec::ChybaModulu;
    }
    Vypis(zaklad + ".log\n");
    return TKonec::Uspech;
}

}  // namespace vk::cli
