// log-show, log-archive, log-clear (the event log window's procedures, over
// the module's network link) and log-export (offline).
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "Log.h"
#include "LogZaznamy.h"
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
    ChybaLinky(soubor, status);
    return TKonec::ChybaModulu;
}

// A failed step: a module file's transfer, or a local file.
TKonec Selhani(const procedures::TVysledekOperaceLOG& v)
{
    if (v.Soubor.empty()) {
        Chyba(v.StatusText);
        return TKonec::ChybaModulu;
    }
    return Selhani(v.Soubor, v.StatusText);
}

}  // namespace

TKonec LogShow(TKontext& k)
{
    // One poll of the event log window as it opens: no change mark yet, so
    // the header and the latest records are read.
    procedures::TKrokLOG krok;
    krok.Init = k.Dat.Init;
    krok.PauzaMs = 0;
    const procedures::TVysledekKrokuLOG v = procedures::KrokLOG(Modul, krok);
    if (!v.Provedeno) {
        Chyba(v.Status.substr(1));
        return TKonec::ChybaModulu;
    }
    if (v.Status != procedures::TextOK)
        return Selhani(v.Chyba);
    char buf[128];
    std::snprintf(buf, sizeof buf, "Počet uložených záznamů: %u\nZaplnění paměti [%%]: %.3f\n",
                  static_cast<unsigned>(v.PocetZaznamu), v.Zaplneni);
    std::string vystup = buf;
    for (const std::string& radek : v.Radky)
        vystup += radek + "\n";
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
    const std::string zaklad = k.Argumenty.Parametry.empty() ? procedures::JmenoArchivu() : k.Argumenty.Parametry[0];
    procedures::TVysledekOperaceLOG v;
    {
        TUkazatelPrubehu prubeh("log.bin");
        v = procedures::UlozLOG(Modul, zaklad, procedures::HlavickaArchivu(k.Dat.TypVerze, k.Dat.Pripojeni.LAN_IP),
                                prubeh.Zpetne());
    }
    if (!v.Ok)
        return Selhani(v);
    Vypis("LOG uložen: " + zaklad + ".bin, " + zaklad + ".log\n");
    return TKonec::Uspech;
}

TKonec LogClear(TKontext&)
{
    const procedures::TVysledekOperaceLOG v = procedures::VymazLOG(Modul);
    if (!v.Ok)
        return Selhani(v);
    Vypis("LOG vymazán.\n");
    return TKonec::Uspech;
}

TKonec PripravLogExport(TKontext& k)
{
    const std::string& zaklad = k.Argumenty.Parametry[0];
    if (zaklad.empty())
        return ChybaPouziti(k, "Není zadán název souboru");
    std::error_code ec;
    if (!std::filesystem::is_regular_file(zaklad + ".bin", ec)) {
        return ChybaPouziti(k, "Soubor nenalezen: " + zaklad + ".bin");
    }
    return TKonec::Uspech;
}

TKonec LogExport(TKontext& k)
{
    const std::string& zaklad = k.Argumenty.Parametry[0];
    const std::string hlavicka =
        procedures::HlavickaArchivu(k.Argumenty.ModulText.value_or("???"), k.Argumenty.IPText.value_or("???"));
    std::string chyba;
    if (!device::PrevedLogNaText(zaklad, hlavicka, chyba)) {
        Chyba(chyba);
        return TKonec::ChybaModulu;
    }
    Vypis(zaklad + ".log\n");
    return TKonec::Uspech;
}

}  // namespace vk::cli
