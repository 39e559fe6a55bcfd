// The search for the module against the in-process simulator on its pty:
// every address at the rate found, the progress it reports, and a stop.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <utility>
#include <vector>

#include "Hledani.h"
#include "Simulator.h"
#include "Ukonceni.h"

using namespace vk::procedures;

namespace {

class Hledani : public ::testing::Test {
protected:
    void SetUp() override
    {
        vk::sim::TNastaveniSimulatoru n;
        n.SpustitLan = false;
        n.KodBaud = 8;  // the last rate tried: every slower one is tried first
        n.KodParita = 0;
        n.Adresa = 200;
        std::string chyba;
        ASSERT_TRUE(sim.Spust(n, chyba)) << chyba;
        vk::device::VychoziModul(modul);
        zadani.Port.Zarizeni = sim.CestaSerial();
        zadani.Adresa = "200";
    }
    void TearDown() override { vk::link::NastavUkonceni({}); }

    vk::sim::TSimulator sim;
    vk::device::TVK7316R modul;
    TZadaniHledani zadani;
};

// Found at 115200 Bd without parity (the 19th setting tried), then all 247
// addresses, of which only the module's answers. A short floor keeps the
// 247 silent tries quick; a pty adds no adapter's latency. Catches a sweep
// that stops at the first answer, lists silent addresses, or reports
// progress that never reaches its end.
TEST_F(Hledani, EveryAddressAtTheRateFound)
{
    zadani.VsechnyAdresy = true;
    zadani.NejkratsiCekaniMs = 20;
    std::vector<std::pair<std::uint64_t, std::uint64_t>> prubeh;
    const TVysledekHledani v = Vyhledej(
        modul, zadani, {}, [&](std::uint64_t hotovo, std::uint64_t celkem) { prubeh.emplace_back(hotovo, celkem); });
    ASSERT_EQ(v.Konec, TKonecHledani::Nalezen) << v.Text;
    EXPECT_EQ(v.KodBaud, 8);
    EXPECT_EQ(v.KodParita, 0);
    ASSERT_EQ(v.Moduly.size(), 1u);
    EXPECT_EQ(v.Moduly[0].Adresa, 200);
    EXPECT_EQ(v.Moduly[0].TypVerze, "VK-7316R  v.1.00");
    EXPECT_EQ(v.Text, "Modul nalezen: 115200 Bd, parita žádná, adresa 200 - VK-7316R  v.1.00");
    EXPECT_EQ(v.Pokusu, 19u + 247u);
    ASSERT_EQ(prubeh.size(), v.Pokusu);
    EXPECT_EQ(prubeh.front(), std::make_pair(std::uint64_t{1}, std::uint64_t{21 + 247}));
    EXPECT_EQ(prubeh.back(), std::make_pair(std::uint64_t{v.Pokusu}, std::uint64_t{v.Pokusu}));
    EXPECT_FALSE(modul.Init);
    EXPECT_EQ(modul.MBRTU.ID.HNDL, 0u);
}

// Asked to stop as its third try ends, the search tries nothing more.
// Catches a search that leaves the stop to the transfers: they would refuse
// to send, and it would run through the other settings and report nothing
// found.
TEST_F(Hledani, AStopEndsItBeforeTheNextTry)
{
    std::atomic<bool> zastavit{false};
    vk::link::NastavUkonceni([&] { return zastavit.load(); });
    const TVysledekHledani v = Vyhledej(modul, zadani, {}, [&](std::uint64_t hotovo, std::uint64_t) {
        if (hotovo == 3)
            zastavit = true;
    });
    EXPECT_EQ(v.Konec, TKonecHledani::Preruseno);
    EXPECT_EQ(v.Text, "Hledání přerušeno");
    EXPECT_EQ(v.Pokusu, 3u);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(sim.PocetPozadavku(), 3u);
}

}  // namespace
