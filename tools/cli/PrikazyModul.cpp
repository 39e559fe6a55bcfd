// identify, restart, clear-diag, set-clock, fw-upload.
#include <filesystem>
#include <system_error>

#include "Firmware.h"
#include "Hodiny.h"
#include "Json.h"
#include "PoleSouboru.h"
#include "Prikazy.h"
#include "PrikazyModulu.h"
#include "Prubeh.h"
#include "Rozhrani.h"
#include "U_VK7316R.h"
#include "Vystup.h"

namespace vk::cli {

using device::Modul;

namespace {

// `pricina`: why the link failed, as the procedure recorded it.
TKonec SelhaniModulu(const std::string& text, const std::string& pricina)
{
    ChybaSPricinou(text, pricina);
    return TKonec::ChybaModulu;
}

}  // namespace

TKonec Identify(TKontext& k)
{
    TPolozky p = {{"TypModulu", Retezec(k.Dat.TypModulu)},
                  {"VerzeModulu", Retezec(k.Dat.VerzeModulu)},
                  {"VyrCislo", Retezec(k.Dat.VyrCislo)},
                  {"TypVerze", Retezec(k.Dat.TypVerze)}};
    // A serial reply that ends after another silence than the baud rate's
    // makes every exchange slower; the script is told how long and why.
    const link::TMBRTU_CFG& cfg = Modul.MBRTU.CFG;
    if (Modul.Rozhrani == vk::common::RozhraniUART && cfg.PuvodMezery != link::TPuvodMezery::KodBaud) {
        p.push_back({"Mezera", Cislo(static_cast<std::uint64_t>(cfg.Mezera))});
        p.push_back({"PuvodMezery", Retezec(cfg.PuvodMezery == link::TPuvodMezery::Adapter ? "adapter" : "manual")});
        if (cfg.LatenceAdapteru > 0)
            p.push_back({"LatenceAdapteru", Cislo(static_cast<std::uint64_t>(cfg.LatenceAdapteru))});
    }
    Vypis(k.Argumenty.Json ? JsonObjekt(p) + "\n" : VypisProsty(p));
    return TKonec::Uspech;
}

TKonec Restart(TKontext& k)
{
    const procedures::TVysledekPrikazu v = procedures::RestartujModul(Modul, k.Dat.Init);
    if (!v.Uspech)
        return SelhaniModulu(v.Chyba, v.Pricina);
    Vypis(v.Status.substr(1) + "\n");
    return TKonec::Uspech;
}

TKonec ClearDiag(TKontext& k)
{
    const procedures::TVysledekPrikazu v = procedures::VymazDiagnostikuLinky(Modul, k.Dat.Init);
    if (!v.Uspech)
        return SelhaniModulu(v.Chyba, v.Pricina);
    Vypis("Diagnostic counters cleared.\n");
    return TKonec::Uspech;
}

TKonec SetClock(TKontext& k)
{
    const procedures::TVysledekHodin v = procedures::ObnovHodiny(Modul, k.Dat.Init, true);
    if (!v.Zapsano)
        return SelhaniModulu("rtc.bin: " + v.Chyba, v.Pricina);
    if (!v.Precteno)
        return SelhaniModulu("Systémový čas nastaven, rtc.bin: " + v.Chyba, v.Pricina);
    Vypis("Systémový čas nastaven: " + v.Panel1 + "\n");
    return TKonec::Uspech;
}

TKonec PripravFwUpload(TKontext& k)
{
    const std::string& soubor = k.Argumenty.Parametry[0];
    core::TUpgrade upgrade;
    const procedures::TPlatnost platnost = procedures::PrectiOknoFirmware(soubor, upgrade);
    if (!platnost.Platne)
        return ChybaPouziti(k, platnost.Zprava + (soubor.empty() ? "" : ": " + soubor));
    // An empty image would be armed with "prog" and leave the loader nothing
    // to start.
    std::error_code ec;
    if (std::filesystem::file_size(soubor, ec) == 0 || ec)
        return ChybaPouziti(k, "empty firmware image: " + soubor);
    return TKonec::Uspech;
}

TKonec FwUpload(TKontext& k)
{
    procedures::TVysledekFirmware v;
    {
        TUkazatelPrubehu prubeh("fw.hbn");
        v = procedures::ZapisFirmware(Modul, k.Dat.Init, k.Argumenty.Parametry[0], {}, prubeh.Zpetne());
        if (!v.Nahrano)
            prubeh.Ukonci();
    }
    if (!v.Nahrano)
        return SelhaniModulu("fw.hbn: " + v.Chyba, v.Pricina);
    if (v.Preruseno)
        return SelhaniModulu(v.Status.substr(1), std::string());
    if (!v.Aktivovano)
        return SelhaniModulu("boot.cmd: " + v.Chyba, v.Pricina);
    Vypis(v.Status.substr(1) + "\n");
    return TKonec::Uspech;
}

}  // namespace vk::cli
