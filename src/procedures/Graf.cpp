#include "Graf.h"

namespace vk::procedures {

std::vector<TBodGrafu> BodyGrafu(const device::TVK7316R_MmrgvBin& mmrgv)
{
    // The read has already unrolled the module's ring from its write index,
    // so entry 0 is the oldest second whatever the index.
    std::vector<TBodGrafu> body;
    body.reserve(PocetBoduGrafu);
    for (std::size_t i = 0; i < PocetBoduGrafu; ++i)
        body.push_back({static_cast<std::int32_t>(i), mmrgv.PoleDat[i]});
    return body;
}

bool PrekreslitGraf(std::int32_t& predchoziIndex, const device::TVK7316R_MmrgvBin& mmrgv)
{
    if (static_cast<std::int64_t>(mmrgv.IndexZapisu) == predchoziIndex)
        return false;
    predchoziIndex = static_cast<std::int32_t>(mmrgv.IndexZapisu);
    return true;
}

std::array<std::string, 5> HodnotyCitacu(const device::TVK7316R_MmrdBin& mmrd)
{
    return {std::to_string(mmrd.CelkemZpravy), std::to_string(mmrd.CelkemChyby), std::to_string(mmrd.CelkemNeg),
            std::to_string(mmrd.RychlostZprav), std::to_string(mmrd.VytizeniLinky)};
}

TVysledekKrokuRS485 KrokRS485(device::TVK7316R& modul, const TKrokRS485& krok, const TOznameni& oznam)
{
    TVysledekKrokuRS485 v;
    v.PredchoziIndex = krok.PredchoziIndex;
    const auto hlas = [&](std::string text) {
        v.Status = std::move(text);
        if (oznam)
            oznam(v.Status);
        return v;
    };
    const auto selhal = [&](const std::string& statusText) {
        v.Pricina = device::PricinaSelhani(modul);
        return hlas(" " + statusText);
    };
    if (!krok.Init || !modul.Init)
        return hlas(std::string(TextBezPripojeni));
    v.Provedeno = true;
    if (krok.Vymazat) {
        // No text of its own on success: the counters read next show it.
        device::TVK7316R_ClrDiag clr;
        if (!device::VymazDiagnostiku(modul, clr))
            return selhal(clr.StatusText);
    }
    device::TVK7316R_MmrdBin mmrd;
    if (!device::PrectiMmrdBin(modul, mmrd))
        return selhal(mmrd.StatusText);
    v.Citace = true;
    v.Hodnoty = HodnotyCitacu(mmrd);
    device::TVK7316R_MmrgvBin mmrgv;
    if (!device::PrectiMmrgvBin(modul, mmrgv))
        return selhal(mmrgv.StatusText);
    if (PrekreslitGraf(v.PredchoziIndex, mmrgv)) {
        v.Prekreslit = true;
        v.Body = BodyGrafu(mmrgv);
    }
    return hlas(std::string(TextOK));
}

}  // namespace vk::procedures
