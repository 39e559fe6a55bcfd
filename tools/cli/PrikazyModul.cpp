// identify, restart, clear-diag, set-clock, fw-upload.
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "Cas.h"
#include "Json.h"
#include "Prikazy.h"
#include "Prubeh.h"
#include "U_VK7316R.h"
#include "Vystup.h"

namespace vk::cli {

using device::Modul;

namespace {

TKonec SelhaniModulu(std::string_view text)
{
    Chyba(text);
    return TKonec::ChybaModulu;
}

// The module clock as the clock window shows it: "8.12.2026   9:05:07".
std::string TextHodin(const device::TVK7316R_RtcBin& r)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%u.%u.%u   %u:%02u:%02u", unsigned{r.Den}, unsigned{r.Mes}, r.Rok + 2000u,
                  unsigned{r.Hod}, unsigned{r.Min}, unsigned{r.Sek});
    return buf;
}

}  // namespace

TKonec Identify(TKontext& k)
{
    const TPolozky p = {{"TypModulu", Retezec(k.Dat.TypModulu)},
                        {"VerzeModulu", Retezec(k.Dat.VerzeModulu)},
                        {"VyrCislo", Retezec(k.Dat.VyrCislo)},
                        {"TypVerze", Retezec(k.Dat.TypVerze)}};
    Vypis(k.Argumenty.Json ? JsonObjekt(p) + "\n" : VypisProsty(p));
    return TKonec::Uspech;
}

TKonec Restart(TKontext&)
{
    device::TVK7316R_Restart r;
    if (!device::RestartModulu(Modul, r)) return SelhaniModulu(r.StatusText);
    // The module needs a moment before it answers again; the restart window
    // waits the same second after it reports.
    Vypis("Modul restartován.\n");
    std::fflush(stdout);
    link::Cekej(1000);
    return TKonec::Uspech;
}

TKonec ClearDiag(TKontext&)
{
    device::TVK7316R_ClrDiag r;
    if (!device::VymazDiagnostiku(Modul, r)) return SelhaniModulu(r.StatusText);
    Vypis("Diagnostic counters cleared.\n");
    return TKonec::Uspech;
}

TKonec SetClock(TKontext&)
{
    const auto ted = std::chrono::system_clock::now();
    const std::time_t t = std::chrono::system_clock::to_time_t(ted);
    std::tm tm{};
    localtime_r(&t, &tm);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(ted.time_since_epoch()).count() % 1000;

    device::TVK7316R_RtcBin r;
    r.MSek = static_cast<std::uint16_t>(ms);
    r.Sek = static_cast<std::uint16_t>(tm.tm_sec > 59 ? 59 : tm.tm_sec);  // a leap second is not a module time
    r.Min = static_cast<std::uint16_t>(tm.tm_min);
    r.Hod = static_cast<std::uint16_t>(tm.tm_hour);
    r.Den = static_cast<std::uint16_t>(tm.tm_mday);
    r.Mes = static_cast<std::uint16_t>(tm.tm_mon + 1);
    r.Rok = static_cast<std::uint16_t>(tm.tm_year + 1900 - 2000);
    r.DDen = static_cast<std::uint16_t>(tm.tm_wday);
    if (!device::ZapisRtcBin(Modul, r)) return SelhaniModulu("rtc.bin: " + r.StatusText);
    link::Cekej(100);
    device::TVK7316R_RtcBin zpet;
    if (!device::PrectiRtcBin(Modul, zpet)) return SelhaniModulu("Systémový čas nastaven, rtc.bin: " + zpet.StatusText);
    Vypis("Systémový čas nastaven: " + TextHodin(zpet) + "\n");
    return TKonec::Uspech;
}

TKonec PripravFwUpload(TKontext& k)
{
    const std::string& soubor = k.Argumenty.Parametry[0];
    if (soubor.empty()) return ChybaPouziti(k, "Není zadán název souboru");
    std::error_code ec;
    if (!std::filesystem::is_regular_file(soubor, ec)) return ChybaPouziti(k, "Soubor nenalezen: " + soubor);
    // An empty image would be armed with "prog" and leave the loader nothing
    // to start.
    if (std::filesystem::file_size(soubor, ec) == 0 || ec) return ChybaPouziti(k, "empty firmware image: " + soubor);
    return TKonec::Uspech;
}

TKonec FwUpload(TKontext& k)
{
    device::TVK7316R_FwHbn fw;
    fw.LokalniSoubor = k.Argumenty.Parametry[0];
    {
        TUkazatelPrubehu prubeh("fw.hbn");
        if (!device::ZapisFwHbn(Modul, fw, prubeh.Zpetne())) {
            prubeh.Ukonci();
            return SelhaniModulu("fw.hbn: " + fw.StatusText);
        }
    }
    device::TVK7316R_BootCmd boot;
    boot.Cmd = std::string("prog") + '\0';
    if (!device::ZapisBootCmd(Modul, boot)) return SelhaniModulu("boot.cmd: " + boot.StatusText);
    Vypis("Firmware zapsán do modulu. Pro spuštění nutno modul restartovat.\n");
    return TKonec::Uspech;
}

}  // namespace vk::cli
