// The wait of one try of the search, against figures worked out by hand:
// two 14-byte frames on the wire, the module's turnaround and the reply's
// gap at the rate's code, the adapter's latency, never below the floor.
#include <gtest/gtest.h>

#include "RtuHledani.h"

using namespace vk::link;
using namespace std::chrono_literals;

namespace {

struct TRadek {
    const char* popis;
    std::int32_t kodBaud;
    std::int32_t kodParita;
    std::int32_t mezera;   // CFG.Mezera, 0 = the code's
    std::int32_t latence;  // CFG.LatenceAdapteru
    std::chrono::milliseconds nejmene;
    std::chrono::milliseconds cekani;
};

// Each row names the fault it catches.
const TRadek Radky[] = {
    // 308 bits at 2400 Bd = 128.3 ms, + 19 turnaround + 19 gap; a wait
    // without the parity bit would give 155.
    {"parity bit counted", 2, 2, 19, 0, 50ms, 167ms},
    {"no parity bit", 2, 0, 19, 0, 50ms, 155ms},
    // 2.4 ms on the wire + 4 + 4: the floor is what a real line needs.
    {"floor wins at a fast rate", 8, 0, 4, 0, 50ms, 50ms},
    {"no floor: frames, turnaround and gap only", 8, 0, 4, 0, 1ms, 11ms},
    // An adapter holding 16 ms back, with the gap widened to 20 for it.
    {"adapter's latency added", 8, 1, 20, 16, 1ms, 43ms},
    // 29.2 ms on the wire + 10 turnaround + 30 given by hand.
    {"gap given by hand", 4, 0, 30, 0, 1ms, 70ms},
    {"gap not chosen yet: the code's", 4, 1, 0, 0, 1ms, 53ms},
};

TEST(RtuHledani, WaitOfOneTry)
{
    for (const TRadek& r : Radky) {
        SCOPED_TRACE(r.popis);
        TMBRTU_CFG cfg;
        cfg.KodBaud = r.kodBaud;
        cfg.KodParita = r.kodParita;
        cfg.Mezera = r.mezera;
        cfg.LatenceAdapteru = r.latence;
        EXPECT_EQ(CekaniPokusu(cfg, 14, 14, r.nejmene), r.cekani);
    }
}

}  // namespace
