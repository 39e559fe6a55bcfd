#pragma once
// Progress (Prubeh) of a long transfer, reported by both links: bytes so far
// and the whole size (0 when the size is not known).
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>

namespace vk::link {

using TPrubeh = std::function<void(std::uint64_t odeslano, std::uint64_t celkem)>;

using THodinyPrubehu = std::function<std::chrono::steady_clock::time_point()>;  // clock of the thinning

// Thins the reports for a receiver that is costly to wake, a window thread
// (Ridky = sparse): the first report, then at most one per `interval`, and
// always the last one (all bytes done), so that a bar never stops short of
// its end when the last block comes soon after the one before.
inline TPrubeh RidkyPrubeh(
    TPrubeh cil, std::chrono::steady_clock::duration interval,
    THodinyPrubehu hodiny = [] { return std::chrono::steady_clock::now(); })
{
    std::optional<std::chrono::steady_clock::time_point> posledni;
    return [cil = std::move(cil), interval, hodiny = std::move(hodiny), posledni](std::uint64_t odeslano,
                                                                                  std::uint64_t celkem) mutable {
        const auto ted = hodiny();
        if (posledni && odeslano < celkem && ted - *posledni < interval)
            return;
        posledni = ted;
        if (cil)
            cil(odeslano, celkem);
    };
}

}  // namespace vk::link
