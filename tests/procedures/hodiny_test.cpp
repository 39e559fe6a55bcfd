// The clock dialog's refresh: the texts of a set and of a read, what the
// module gets, and the display form.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "Hodiny.h"
#include "SimModul.h"

using namespace vk::procedures;
using vk::sim::TPorucha;
using vk::test::TLinkaSim;

namespace {

class Hodiny : public ::testing::TestWithParam<TLinkaSim> {
protected:
    void SetUp() override
    {
        std::string chyba;
        ASSERT_TRUE(s_.Spust(GetParam(), chyba)) << chyba;
    }
    TOznameni Zaznam()
    {
        texty_.clear();
        return [this](const std::string& t) { texty_.push_back(t); };
    }
    vk::test::TSimModul s_;
    std::vector<std::string> texty_;
};

// The display comes from the module after the set, and shows the local time
// of the set (within the second the refresh may cross).
TEST_P(Hodiny, NastaveniZapiseMistniCasAZobraziModul)
{
    const auto pred = std::chrono::system_clock::now();
    const TVysledekHodin v = ObnovHodiny(s_.modul, true, true, Zaznam());
    const auto po = std::chrono::system_clock::now();
    EXPECT_EQ(texty_, (std::vector<std::string>{" Systémový čas nastaven", " OK"}));
    EXPECT_TRUE(v.Zapsano);
    EXPECT_TRUE(v.Precteno);
    EXPECT_TRUE(v.Panel1 == TextHodin(CasModulu(pred)) || v.Panel1 == TextHodin(CasModulu(po))) << v.Panel1;
}

TEST_P(Hodiny, OdmitnutyZapisSeNecte)
{
    s_.sim.NastavPoruchu(TPorucha::OdmitnutyZapis, true, 1);
    const std::uint32_t pred = s_.sim.PocetPozadavku();
    const TVysledekHodin v = ObnovHodiny(s_.modul, true, true, Zaznam());
    const std::string chyba = GetParam() == TLinkaSim::Serial ? " Chyba zápisu dat" : " Chyba spojení";
    EXPECT_EQ(texty_, std::vector<std::string>{chyba});
    EXPECT_FALSE(v.Zapsano);
    EXPECT_EQ(v.Panel1, "");  // the panel keeps what it shows
    EXPECT_EQ(s_.sim.PocetPozadavku(), pred + 1);
}

TEST_P(Hodiny, NezdareneCteniUkazeCarky)
{
    s_.sim.NastavPoruchu(TPorucha::ZadnaOdpoved, true, 1);
    const TVysledekHodin v = ObnovHodiny(s_.modul, true, false, Zaznam());
    const std::string chyba = GetParam() == TLinkaSim::Serial ? " Chyba spojení s modulem" : " Chyba spojení";
    EXPECT_EQ(texty_, std::vector<std::string>{chyba});
    EXPECT_FALSE(v.Precteno);
    EXPECT_EQ(v.Panel1, "---");
}

INSTANTIATE_TEST_SUITE_P(Linky, Hodiny, ::testing::Values(TLinkaSim::Serial, TLinkaSim::Sit),
                         [](const auto& info) { return vk::test::NazevLinkySim(info.param); });

TEST(HodinyBezPripojeni, JenHlaseniBezProvozu)
{
    vk::test::TSimModul s;
    std::string chyba;
    ASSERT_TRUE(s.Spust(TLinkaSim::Sit, chyba)) << chyba;
    const TVysledekHodin v = ObnovHodiny(s.modul, false, true);
    EXPECT_EQ(v.Status, " Připojení k zařízení není inicializováno.");
    EXPECT_EQ(v.Panel1, "");
    EXPECT_EQ(s.sim.PocetPozadavku(), 0u);
}

TEST(TextHodin, BezUvodnichNulKromMinutASekund)
{
    vk::device::TVK7316R_RtcBin r;
    r.Den = 8;
    r.Mes = 12;
    r.Rok = 26;
    r.Hod = 9;
    r.Min = 5;
    r.Sek = 7;
    r.MSek = 999;
    EXPECT_EQ(TextHodin(r), "8.12.2026   9:05:07");
    vk::device::TVK7316R_RtcBin nula;
    nula.Den = 1;
    nula.Mes = 1;
    EXPECT_EQ(TextHodin(nula), "1.1.2000   0:00:00");
}

// Every field from its own part of the local time; Tuesday is day 2.
TEST(CasModulu, PoleZMistnihoCasu)
{
    const char* tz = std::getenv("TZ");
    const std::string puvodni = tz ? tz : "";
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    using namespace std::chrono;
    const auto okamzik = sys_days{2026y / December / 8} + 21h + 4min + 3s + 250ms;
    const vk::device::TVK7316R_RtcBin r = CasModulu(okamzik);
    if (tz)
        ::setenv("TZ", puvodni.c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();
    EXPECT_EQ(r.MSek, 250);
    EXPECT_EQ(r.Sek, 3);
    EXPECT_EQ(r.Min, 4);
    EXPECT_EQ(r.Hod, 21);
    EXPECT_EQ(r.Den, 8);
    EXPECT_EQ(r.Mes, 12);
    EXPECT_EQ(r.Rok, 26);
    EXPECT_EQ(r.DDen, 2);
}

}  // namespace
