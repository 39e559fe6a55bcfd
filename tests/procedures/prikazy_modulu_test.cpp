// The restart window's command and the clearing of the line counters: their
// texts, the second the restart window keeps its text, and no traffic
// without a connection.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Cas.h"
#include "PrikazyModulu.h"
#include "SimModul.h"

using namespace vk::procedures;
using vk::sim::TPorucha;
using vk::test::TLinkaSim;

namespace {

// The pause a window asks for comes after the success text, so that the
// text stays while the window waits; without one nothing pauses.
TEST(PrikazyModulu, RestartPauzaPoTextuJenNaZadost)
{
    vk::test::TSimModul s;
    std::string chyba;
    ASSERT_TRUE(s.Spust(TLinkaSim::Serial, chyba)) << chyba;
    std::vector<std::string> deje;  // texts and pauses in order (dej = event)
    vk::link::NastavSledovaniPauz([&](std::int32_t ms) { deje.push_back("pauza " + std::to_string(ms)); });
    const auto zaznam = [&](const std::string& t) { deje.push_back(t); };
    const TVysledekPrikazu v = RestartujModul(s.modul, true, zaznam, 1000);
    EXPECT_TRUE(v.Uspech);
    EXPECT_EQ(deje, (std::vector<std::string>{" Probíhá restart modulu ...", " Modul restartován.", "pauza 1000"}));
    deje.clear();
    EXPECT_TRUE(RestartujModul(s.modul, true, zaznam).Uspech);
    EXPECT_EQ(deje, (std::vector<std::string>{" Probíhá restart modulu ...", " Modul restartován."}));
    vk::link::NastavSledovaniPauz({});
}

TEST(PrikazyModulu, NezdarenyPrikazSTextemLinky)
{
    vk::test::TSimModul s;
    std::string chyba;
    ASSERT_TRUE(s.Spust(TLinkaSim::Sit, chyba)) << chyba;
    s.sim.NastavPoruchu(TPorucha::OdmitnutyZapis, true);
    TVysledekPrikazu v = RestartujModul(s.modul, true);
    EXPECT_FALSE(v.Uspech);
    EXPECT_EQ(v.Status, " Chyba spojení");
    EXPECT_EQ(v.Pricina, "modul odmítl přenos: ERROR 2 \"Write refused\"");
    v = VymazDiagnostikuLinky(s.modul, true);
    EXPECT_FALSE(v.Uspech);
    EXPECT_EQ(v.Status, " Chyba spojení");
    s.sim.NastavPoruchu(TPorucha::OdmitnutyZapis, false);
    v = VymazDiagnostikuLinky(s.modul, true);
    EXPECT_TRUE(v.Uspech);
    EXPECT_EQ(v.Status, "");  // the counters read next show it
}

TEST(PrikazyModulu, BezPripojeniNicNeposle)
{
    vk::test::TSimModul s;
    std::string chyba;
    ASSERT_TRUE(s.Spust(TLinkaSim::Sit, chyba)) << chyba;
    EXPECT_EQ(RestartujModul(s.modul, false).Status, " Připojení k zařízení není inicializováno.");
    EXPECT_EQ(VymazDiagnostikuLinky(s.modul, false).Status, " Připojení k zařízení není inicializováno.");
    EXPECT_EQ(s.sim.PocetPozadavku(), 0u);
}

}  // namespace
