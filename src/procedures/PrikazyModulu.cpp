#include "PrikazyModulu.h"

#include "Cas.h"

namespace vk::procedures {

namespace {

constexpr const char* TextProbihaRestart = " Probíhá restart modulu ...";
constexpr const char* TextRestartovan = " Modul restartován.";

void Hlaseni(TVysledekPrikazu& v, std::string text, const TOznameni& oznam)
{
    v.Status = std::move(text);
    Oznam(oznam, v.Status);
}

}  // namespace

TVysledekPrikazu RestartujModul(device::TVK7316R& modul, bool init, const TOznameni& oznam, std::int32_t pauzaMs)
{
    TVysledekPrikazu v;
    if (!init) {
        Hlaseni(v, std::string(TextBezPripojeni), oznam);
        return v;
    }
    Hlaseni(v, TextProbihaRestart, oznam);
    device::TVK7316R_Restart r;
    if (!device::RestartModulu(modul, r)) {
        v.Chyba = r.StatusText;
        v.Pricina = device::PricinaSelhani(modul);
        Hlaseni(v, " " + r.StatusText, oznam);
        return v;
    }
    v.Uspech = true;
    Hlaseni(v, TextRestartovan, oznam);
    if (pauzaMs > 0)
        link::CekejDoUkonceni(pauzaMs);
    return v;
}

TVysledekPrikazu VymazDiagnostikuLinky(device::TVK7316R& modul, bool init, const TOznameni& oznam)
{
    TVysledekPrikazu v;
    if (!init || !modul.Init) {
        Hlaseni(v, std::string(TextBezPripojeni), oznam);
        return v;
    }
    device::TVK7316R_ClrDiag r;
    if (!device::VymazDiagnostiku(modul, r)) {
        v.Chyba = r.StatusText;
        v.Pricina = device::PricinaSelhani(modul);
        Hlaseni(v, " " + r.StatusText, oznam);
        return v;
    }
    v.Uspech = true;
    return v;
}

}  // namespace vk::procedures
