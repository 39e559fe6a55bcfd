// Thinned progress reports: the first and the last always get through, the
// ones between at most once per interval. The clock is the test's own, so
// the last report arriving within the interval is shown without timing luck.
#include <gtest/gtest.h>

#include <chrono>
#include <utility>
#include <vector>

#include "Prubeh.h"

namespace {

using namespace std::chrono_literals;
using Bod = std::pair<std::uint64_t, std::uint64_t>;

// Catches a bar left short of its end: the last block came 1 ms after the
// one before, well within the 20 ms interval, yet it must be reported.
TEST(RidkyPrubeh, PrvniAPosledniVzdyMeziNejvyseJednouZaInterval)
{
    std::chrono::steady_clock::time_point ted{};
    std::vector<Bod> hlaseni;
    vk::link::TPrubeh p = vk::link::RidkyPrubeh([&](std::uint64_t o, std::uint64_t c) { hlaseni.emplace_back(o, c); },
                                                20ms, [&] { return ted; });
    p(1500, 6000);
    ted += 1ms;
    p(3000, 6000);  // too soon after the first
    ted += 25ms;
    p(4500, 6000);  // an interval later
    ted += 1ms;
    p(6000, 6000);  // the last, however soon
    EXPECT_EQ(hlaseni, (std::vector<Bod>{{1500, 6000}, {4500, 6000}, {6000, 6000}}));
}

}  // namespace
