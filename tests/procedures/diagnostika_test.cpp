// The two diagnostics windows' procedures: the text forms of the system
// overview, the load chart's points and redraw decision, and one poll of
// each window against the in-process simulator.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Diagnostika.h"
#include "Graf.h"
#include "SimModul.h"
#include "Simulator.h"
#include "U_VK7316R.h"

namespace {

using Bajty = std::vector<std::uint8_t>;
using namespace vk::procedures;

TEST(TextyDiagnostiky, MacIpAUptime)
{
    EXPECT_EQ(TextMAC({0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}), "00:1A:2B:3C:4D:5E");
    EXPECT_EQ(TextMAC({0x0A, 0xFF, 0xab, 0x01, 0x10, 0x00}), "0A:FF:AB:01:10:00");
    EXPECT_EQ(TextIP4({192, 168, 1, 10}), "192.168.1.10");
    EXPECT_EQ(TextIP4({0, 0, 10, 255}), "0.0.10.255");

    const struct {
        std::uint32_t s;
        const char* text;
    } uptime[] = {{0, "0 (0:00:00:00)"},         {59, "59 (0:00:00:59)"},
                  {86399, "86399 (0:23:59:59)"}, {86400, "86400 (1:00:00:00)"},
                  {90061, "90061 (1:01:01:01)"}, {4294967295u, "4294967295 (49710:06:28:15)"}};
    for (const auto& u : uptime)
        EXPECT_EQ(TextUptime(u.s), u.text) << u.s;
}

// Fault caught: rows out of the window's order, the zero padding of a
// device text shown as characters, a counter shown signed.
TEST(TextyDiagnostiky, RadkySystemuVPoradiOkna)
{
    vk::device::TVK7316R_SysBin sys;
    sys.TypFW = std::string("FW\0\0\0", 5);  // zero padding is not shown
    sys.TypLoader = "LD";
    sys.VyrCislo = "12345678";
    sys.MAC = {1, 2, 3, 4, 5, 6};
    sys.IP4_Adresa = {10, 0, 0, 7};
    sys.IP4_Maska = {255, 255, 255, 0};  // not shown
    sys.UptimeS = 61;
    EXPECT_EQ(HodnotySystem(sys),
              (std::array<std::string, 6>{"FW", "LD", "12345678", "01:02:03:04:05:06", "10.0.0.7", "61 (0:00:01:01)"}));

    vk::device::TVK7316R_MmrdBin mmrd;
    mmrd.CelkemZpravy = 4294967295u;  // unsigned, never negative
    mmrd.CelkemChyby = 2;
    mmrd.CelkemNeg = 3;
    mmrd.RychlostZprav = 4;
    mmrd.VytizeniLinky = 5;
    mmrd.AdresaChyba = 6;  // not shown
    EXPECT_EQ(HodnotyCitacu(mmrd), (std::array<std::string, 5>{"4294967295", "2", "3", "4", "5"}));
}

TEST(GrafZateze, BodyOdNejstarsihoAPrekresleniJenPriNovemIndexu)
{
    vk::device::TVK7316R_MmrgvBin m;
    for (std::size_t i = 0; i < m.PoleDat.size(); ++i)
        m.PoleDat[i] = static_cast<std::uint8_t>(i + 7);
    m.IndexZapisu = 0;
    const auto body = BodyGrafu(m);
    ASSERT_EQ(body.size(), 180u);
    for (std::size_t i = 0; i < body.size(); ++i)
        EXPECT_EQ(body[i], (TBodGrafu{static_cast<std::int32_t>(i), static_cast<std::int32_t>(i + 7)})) << i;

    std::int32_t predchozi = ZadnyIndexGrafu;
    EXPECT_TRUE(PrekreslitGraf(predchozi, m));  // the first read always draws, index 0 included
    EXPECT_EQ(predchozi, 0);
    EXPECT_FALSE(PrekreslitGraf(predchozi, m));
    m.IndexZapisu = 179;
    EXPECT_TRUE(PrekreslitGraf(predchozi, m));
    EXPECT_EQ(predchozi, 179);
}

class DiagnostikaSim : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string chyba;
        ASSERT_TRUE(simModul_.Spust(vk::test::TLinkaSim::Sit, chyba)) << chyba;
    }

    vk::test::TSimModul simModul_;
    vk::sim::TSimulator& sim_ = simModul_.sim;
    vk::device::TVK7316R& modul_ = simModul_.modul;
};

// Two polls on the same write index redraw once; a pending clear goes first
// and is followed by the counters in the same poll.
TEST_F(DiagnostikaSim, KrokRS485)
{
    Bajty mmrgv(192, 0);
    mmrgv[0] = 180;
    mmrgv[4] = 180;
    mmrgv[8] = 5;        // write index
    mmrgv[12 + 5] = 42;  // the oldest second
    ASSERT_TRUE(sim_.NastavSoubor("mmrgv.bin", mmrgv));

    TKrokRS485 krok;
    krok.Init = true;
    krok.Vymazat = true;
    auto pred = sim_.PocetPozadavku();
    const TVysledekKrokuRS485 prvni = KrokRS485(modul_, krok);
    EXPECT_EQ(prvni.Status, " OK");
    EXPECT_EQ(sim_.PocetPozadavku() - pred, 3u);  // ctrl.bin, mmrd.bin, mmrgv.bin
    EXPECT_TRUE(prvni.Citace);
    ASSERT_TRUE(prvni.Prekreslit);
    EXPECT_EQ(prvni.PredchoziIndex, 5);
    EXPECT_EQ(prvni.Body.front(), (TBodGrafu{0, 42}));

    krok.Vymazat = false;
    krok.PredchoziIndex = prvni.PredchoziIndex;
    pred = sim_.PocetPozadavku();
    const TVysledekKrokuRS485 druhy = KrokRS485(modul_, krok);
    EXPECT_EQ(druhy.Status, " OK");
    EXPECT_EQ(sim_.PocetPozadavku() - pred, 2u);
    EXPECT_TRUE(druhy.Citace);
    EXPECT_FALSE(druhy.Prekreslit);
    EXPECT_TRUE(druhy.Body.empty());

    krok.Init = false;
    krok.Vymazat = true;
    pred = sim_.PocetPozadavku();
    const TVysledekKrokuRS485 bez = KrokRS485(modul_, krok);
    EXPECT_FALSE(bez.Provedeno);
    EXPECT_EQ(bez.Status, " Připojení k zařízení není inicializováno.");
    EXPECT_EQ(sim_.PocetPozadavku(), pred);
}

TEST_F(DiagnostikaSim, KrokSystem)
{
    std::vector<std::string> texty;
    const TVysledekKrokuSystem v = KrokSystem(modul_, true, [&](const std::string& t) { texty.push_back(t); });
    EXPECT_EQ(texty, (std::vector<std::string>{" OK"}));
    EXPECT_TRUE(v.Precteno);
    EXPECT_FALSE(v.Hodnoty[5].empty());

    sim_.NastavPoruchu(vk::sim::TPorucha::ZadnaOdpoved, true, 1);
    const TVysledekKrokuSystem chyba = KrokSystem(modul_, true);
    EXPECT_FALSE(chyba.Precteno);
    EXPECT_EQ(chyba.Status, " Chyba spojení");
}

}  // namespace
