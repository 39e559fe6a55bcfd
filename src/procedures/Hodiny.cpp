#include "Hodiny.h"

#include <cstdio>
#include <ctime>

#include "Cas.h"
#include "PrikazyModulu.h"

namespace vk::procedures {

namespace {

constexpr const char* TextCasNastaven = " Systémový čas nastaven";

TVysledekHodin& Hlaseni(TVysledekHodin& v, std::string text, const TOznameni& oznam)
{
    v.Status = std::move(text);
    Oznam(oznam, v.Status);
    return v;
}

}  // namespace

TVysledekHodin ObnovHodiny(device::TVK7316R& modul, bool init, bool nastavitCas, const TOznameni& oznam)
{
    TVysledekHodin v;
    if (!init)
        return Hlaseni(v, std::string(TextBezPripojeni), oznam);
    if (nastavitCas) {
        device::TVK7316R_RtcBin r = CasModulu(std::chrono::system_clock::now());
        if (!device::ZapisRtcBin(modul, r)) {
            v.Chyba = r.StatusText;
            v.Pricina = device::PricinaSelhani(modul);
            return Hlaseni(v, " " + r.StatusText, oznam);
        }
        v.Zapsano = true;
        Hlaseni(v, TextCasNastaven, oznam);
    }
    device::TVK7316R_RtcBin r;
    if (!device::PrectiRtcBin(modul, r)) {
        v.Chyba = r.StatusText;
        v.Pricina = device::PricinaSelhani(modul);
        v.Panel1 = TextBezCasu;
        return Hlaseni(v, " " + r.StatusText, oznam);
    }
    v.Precteno = true;
    v.Panel1 = TextHodin(r);
    return Hlaseni(v, std::string(TextOK), oznam);
}

device::TVK7316R_RtcBin CasModulu(std::chrono::system_clock::time_point okamzik)
{
    const std::time_t t = std::chrono::system_clock::to_time_t(okamzik);
    std::tm tm{};
    localtime_r(&t, &tm);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(okamzik.time_since_epoch()).count() % 1000;
    device::TVK7316R_RtcBin r;
    r.MSek = static_cast<std::uint16_t>(ms < 0 ? ms + 1000 : ms);
    r.Sek = static_cast<std::uint16_t>(tm.tm_sec > 59 ? 59 : tm.tm_sec);  // a leap second is not a module time
    r.Min = static_cast<std::uint16_t>(tm.tm_min);
    r.Hod = static_cast<std::uint16_t>(tm.tm_hour);
    r.Den = static_cast<std::uint16_t>(tm.tm_mday);
    r.Mes = static_cast<std::uint16_t>(tm.tm_mon + 1);
    r.Rok = static_cast<std::uint16_t>(tm.tm_year + 1900 - 2000);
    r.DDen = static_cast<std::uint16_t>(tm.tm_wday);
    return r;
}

std::string TextHodin(const device::TVK7316R_RtcBin& r)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%u.%u.%u   %u:%02u:%02u", unsigned{r.Den}, unsigned{r.Mes}, r.Rok + 2000u,
                  unsigned{r.Hod}, unsigned{r.Min}, unsigned{r.Sek});
    return buf;
}

}  // namespace vk::procedures
