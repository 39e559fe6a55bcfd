#include "RtuHledani.h"

#include <algorithm>
#include <cstdint>

namespace vk::link {

namespace {

// Start bit, 8 data bits, stop bit, and the parity bit when there is one.
std::uint64_t BituZnaku(std::int32_t kodParita)
{
    return ParitaKodu(kodParita) == TParita::Zadna ? 10 : 11;
}

}  // namespace

std::chrono::milliseconds CekaniPokusu(const TMBRTU_CFG& cfg, std::size_t bajtuPozadavku, std::size_t bajtuOdpovedi,
                                       std::chrono::milliseconds nejmene)
{
    const std::uint64_t bitu = BituZnaku(cfg.KodParita) * (bajtuPozadavku + bajtuOdpovedi);
    const std::chrono::microseconds naDrate(1'000'000u * bitu / RychlostBaud(cfg.KodBaud));
    const std::int32_t mezera = cfg.Mezera > 0 ? cfg.Mezera : MezeraMs(cfg.KodBaud);
    const std::chrono::milliseconds prodlevy(MezeraMs(cfg.KodBaud) + std::max(cfg.LatenceAdapteru, 0) + mezera);
    return std::max(std::chrono::ceil<std::chrono::milliseconds>(naDrate) + prodlevy, nejmene);
}

}  // namespace vk::link
