// get and put: a device file as raw bytes.
#include <filesystem>
#include <system_error>

#include "M_TFTP.h"
#include "MistniSoubor.h"
#include "Prikazy.h"
#include "Prubeh.h"
#include "Rozhrani.h"
#include "U_VK7316R.h"
#include "VolbyPripojeni.h"
#include "Vystup.h"

namespace vk::cli {

using device::Modul;

namespace {

// TFTP names travel as plain ASCII; the tool sends nothing else.
bool JeNazevTFTP(const std::string& nazev)
{
    if (nazev.empty() || nazev.size() > 255)
        return false;
    for (const char c : nazev) {
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E)
            return false;
    }
    return true;
}

TKonec OverNazev(TKontext& k, bool cteni)
{
    const std::string& nazev = k.Argumenty.Parametry[0];
    if (!k.Argumenty.Serial) {
        if (!JeNazevTFTP(nazev))
            return ChybaPouziti(k, "\"" + nazev + "\" is not a file name the module takes");
        return TKonec::Uspech;
    }
    const auto soubor = device::NajdiSoubor(nazev);
    if (!soubor.has_value()) {
        return ChybaPouziti(k, "\"" + nazev + "\" is not a device file with a serial file code (or use --lan)");
    }
    if (soubor->KodSouboru < 0)
        return ChybaPouziti(k, nazev + " travels over the LAN only: use --lan");
    if (cteni && soubor->DelkaBlok0 == 0) {
        return ChybaPouziti(k, nazev + " has no fixed length to read over the serial line");
    }
    return TKonec::Uspech;
}

// The status text as the windows show it, and on a second line why the
// link failed, when it knows (pricina = cause).
TKonec Selhani(const std::string& nazev, const std::string& status, const std::string& pricina = {})
{
    Chyba(nazev + ": " + status);
    if (!pricina.empty())
        Chyba(pricina);
    return TKonec::ChybaModulu;
}

}  // namespace

TKonec PripravGet(TKontext& k)
{
    const TKonec konec = OverNazev(k, true);
    if (konec != TKonec::Uspech)
        return konec;
    std::error_code ec;
    if (std::filesystem::is_directory(k.Argumenty.Parametry[1], ec)) {
        return ChybaPouziti(k, k.Argumenty.Parametry[1] + " is a folder");
    }
    return TKonec::Uspech;
}

TKonec Get(TKontext& k)
{
    const std::string& nazev = k.Argumenty.Parametry[0];
    const std::string& mistni = k.Argumenty.Parametry[1];
    std::string chyba;
    if (Modul.Rozhrani == vk::common::RozhraniLAN) {
        const std::string docasny = DocasneJmeno(mistni);
        TUkazatelPrubehu prubeh(nazev);
        if (!link::PrectiDoSouboru(Modul.TFTP, docasny, nazev, prubeh.Zpetne())) {
            prubeh.Ukonci();
            ZahodSoubor(docasny);
            return Selhani(nazev, SCilem(Modul.TFTP.ED.StatusText, docasny, mistni),
                           SCilem(Modul.TFTP.ED.Pricina, docasny, mistni));
        }
        prubeh.Ukonci();
        if (!DokonciSoubor(docasny, mistni, chyba))
            return Selhani(nazev, chyba);
    } else {
        device::TVK7316R_Soubor r;
        r.Soubor = nazev;
        if (!device::PrectiSoubor(Modul, r))
            return Selhani(nazev, r.StatusText, PricinaSpojeni());
        if (!UlozSoubor(mistni, r.Data, chyba))
            return Selhani(nazev, chyba);
    }
    std::error_code ec;
    const auto velikost = std::filesystem::file_size(mistni, ec);
    Vypis(nazev + " -> " + mistni + ": " + std::to_string(ec ? 0 : velikost) + " B\n");
    return TKonec::Uspech;
}

TKonec PripravPut(TKontext& k)
{
    const TKonec konec = OverNazev(k, false);
    if (konec != TKonec::Uspech)
        return konec;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(k.Argumenty.Parametry[1], ec)) {
        return ChybaPouziti(k, "Soubor nenalezen: " + k.Argumenty.Parametry[1]);
    }
    return TKonec::Uspech;
}

TKonec Put(TKontext& k)
{
    const std::string& nazev = k.Argumenty.Parametry[0];
    const std::string& mistni = k.Argumenty.Parametry[1];
    std::uint64_t velikost = 0;
    if (Modul.Rozhrani == vk::common::RozhraniLAN) {
        std::error_code ec;
        velikost = std::filesystem::file_size(mistni, ec);
        TUkazatelPrubehu prubeh(nazev);
        if (!link::ZapisZeSouboru(Modul.TFTP, mistni, nazev, prubeh.Zpetne())) {
            prubeh.Ukonci();
            return Selhani(nazev, Modul.TFTP.ED.StatusText, Modul.TFTP.ED.Pricina);
        }
    } else {
        device::TVK7316R_Soubor r;
        r.Soubor = nazev;
        std::string chyba;
        if (!NactiSoubor(mistni, r.Data, chyba))
            return Selhani(nazev, chyba);
        velikost = r.Data.size();
        if (!device::ZapisSoubor(Modul, r))
            return Selhani(nazev, r.StatusText, PricinaSpojeni());
    }
    Vypis(mistni + " -> " + nazev + ": " + std::to_string(velikost) + " B\n");
    return TKonec::Uspech;
}

}  // namespace vk::cli
