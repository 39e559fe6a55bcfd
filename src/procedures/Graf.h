#pragma once
// The master line diagnostics window's device work (Graf = chart): one poll
// (the pending clear of the diagnostic counters, the counters of mmrd.bin,
// the load history of mmrgv.bin), the chart's points and when to redraw it.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Oznameni.h"
#include "U_VK7316R.h"

namespace vk::procedures {

inline constexpr std::size_t PocetBoduGrafu = 180;  // one second each
// The write index the chart was last drawn for when nothing was drawn yet:
// no index of the 180-entry ring has it, so the first read always draws.
inline constexpr std::int32_t ZadnyIndexGrafu = 999;

// One point of the load chart (Bod = point): x = second 0 (oldest) to 179
// (newest, at the right end), y = load in per cent.
struct TBodGrafu {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    bool operator==(const TBodGrafu&) const = default;
};

// The 180 points in ascending x, as the chart adds them.
std::vector<TBodGrafu> BodyGrafu(const device::TVK7316R_MmrgvBin& mmrgv);
// Prekreslit = redraw: true when the module has written a new second since
// the chart was drawn (its write index differs from predchoziIndex, which
// then takes it).
bool PrekreslitGraf(std::int32_t& predchoziIndex, const device::TVK7316R_MmrgvBin& mmrgv);

// The five counter values in the window's row order (total messages,
// errors, negative replies, message rate, line load) as unsigned decimals.
std::array<std::string, 5> HodnotyCitacu(const device::TVK7316R_MmrdBin& mmrd);

struct TKrokRS485 {
    bool Init = false;                              // Dat.Init
    bool Vymazat = false;                           // fVymazat: a clear of the counters is pending
    std::int32_t PredchoziIndex = ZadnyIndexGrafu;  // the window's PredchoziIndex
};

struct TVysledekKrokuRS485 {
    bool Provedeno = false;  // past the connection check: a pending clear was served (or failed)
    std::string Status;      // the status bar's text
    std::string Pricina;     // why the link failed (device::PricinaSelhani); empty otherwise
    bool Citace = false;     // the counters were read: Hodnoty replace those shown
    std::array<std::string, 5> Hodnoty;
    bool Prekreslit = false;  // the chart is drawn anew from Body
    std::vector<TBodGrafu> Body;
    std::int32_t PredchoziIndex = ZadnyIndexGrafu;  // for the next poll
};

// One poll; the texts also go to `oznam`.
TVysledekKrokuRS485 KrokRS485(device::TVK7316R& modul, const TKrokRS485& krok, const TOznameni& oznam = {});

}  // namespace vk::procedures
