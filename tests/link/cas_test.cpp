// The pause a stopped job may cut short.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "Budik.h"
#include "Cas.h"
#include "Ukonceni.h"

using namespace vk::link;

TEST(CekejDoUkonceni, BezPozadavkuCekaCelouDobu)
{
    NastavUkonceni([] { return false; });
    const Okamzik t = Ted();
    EXPECT_FALSE(CekejDoUkonceni(60));
    EXPECT_GE(UplynuloMs(t), 60);
    NastavUkonceni({});
}

// Asked to end from another thread, as the device worker asks: on the
// alarm's descriptor, and with no descriptor in the slices between looks.
TEST(CekejDoUkonceni, PozadavekPauzuZkrati)
{
    for (const bool sBudikem : {true, false}) {
        TBudik budik;
        std::atomic<bool> ukoncit{false};
        NastavUkonceni([&] { return ukoncit.load(); }, sBudikem ? budik.Popisovac() : -1);
        std::thread zadost([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
            ukoncit = true;
            budik.Zazvon();
        });
        const Okamzik t = Ted();
        EXPECT_TRUE(CekejDoUkonceni(5000)) << sBudikem;
        EXPECT_LT(UplynuloMs(t), 1000) << sBudikem;
        zadost.join();
        NastavUkonceni({});
    }
}
