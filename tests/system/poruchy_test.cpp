// Injected faults of the simulated module and the status text each leaves
// in the result record; a failure leaves the record's fields and the
// connection as they were.
#include <gtest/gtest.h>

#include "SimSpojeni.h"
#include "U_VK7316R.h"
#include "Ukonceni.h"

using namespace vk::device;
using vk::sim::TPorucha;
using vk::test::TLinka;

namespace {

enum class TSmer { Cteni, Zapis };  // read, write

struct PoruchaPripad {
    TPorucha porucha;
    TLinka linka;
    TSmer smer;
    const char* text;
};

std::string Nazev(const ::testing::TestParamInfo<PoruchaPripad>& info)
{
    return std::string(vk::sim::NazevPoruchy(info.param.porucha)) + "_" + vk::test::NazevLinky(info.param.linka) +
           (info.param.smer == TSmer::Cteni ? "_Cteni" : "_Zapis");
}

class Porucha : public ::testing::TestWithParam<PoruchaPripad> {
protected:
    void SetUp() override
    {
        std::string chyba;
        ASSERT_TRUE(s_.Spust(GetParam().linka, m_, chyba)) << chyba;
    }
    vk::test::TSimSpojeni s_;
    TVK7316R m_;
};

}  // namespace

TEST_P(Porucha, StatusText)
{
    const auto& p = GetParam();
    s_.sim.NastavPoruchu(p.porucha, true, 1);
    TVK7316R_MbtcpCfg r;
    r.UnitID = 42;
    r.Timeout = 43;
    const bool ok = p.smer == TSmer::Cteni ? PrectiMbtcpCfg(m_, r) : ZapisMbtcpCfg(m_, r);
    EXPECT_FALSE(ok);
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.StatusText, p.text);
    EXPECT_EQ(r.UnitID, 42);
    EXPECT_EQ(r.Timeout, 43);
    EXPECT_TRUE(m_.Init);

    // The fault acted once; the link is still set up and the next transfer
    // goes through.
    TVK7316R_MbtcpCfg dalsi;
    EXPECT_TRUE(PrectiMbtcpCfg(m_, dalsi)) << dalsi.StatusText;
}

INSTANTIATE_TEST_SUITE_P(
    Tabulka, Porucha,
    ::testing::Values(PoruchaPripad{TPorucha::ZadnaOdpoved, TLinka::Serial, TSmer::Cteni, "Chyba spojení s modulem"},
                      PoruchaPripad{TPorucha::ZadnaOdpoved, TLinka::Serial, TSmer::Zapis, "Chyba spojení s modulem"},
                      PoruchaPripad{TPorucha::ZadnaOdpoved, TLinka::Sit, TSmer::Cteni, "Chyba spojení"},
                      PoruchaPripad{TPorucha::ZadnaOdpoved, TLinka::Sit, TSmer::Zapis, "Chyba spojení"},
                      PoruchaPripad{TPorucha::SpatneCRC, TLinka::Serial, TSmer::Cteni, "Chyba spojení s modulem"},
                      PoruchaPripad{TPorucha::SpatneCRC, TLinka::Serial, TSmer::Zapis, "Chyba spojení s modulem"},
                      PoruchaPripad{TPorucha::VyjimkaOdpoved, TLinka::Serial, TSmer::Cteni, "Chyba spojení s modulem"},
                      PoruchaPripad{TPorucha::VyjimkaOdpoved, TLinka::Serial, TSmer::Zapis, "Chyba spojení s modulem"},
                      PoruchaPripad{TPorucha::VyjimkaOdpoved, TLinka::Sit, TSmer::Cteni, "Chyba spojení"},
                      PoruchaPripad{TPorucha::VyjimkaOdpoved, TLinka::Sit, TSmer::Zapis, "Chyba spojení"},
                      PoruchaPripad{TPorucha::OdmitnutyZapis, TLinka::Serial, TSmer::Zapis, "Chyba zápisu dat"},
                      PoruchaPripad{TPorucha::OdmitnutyZapis, TLinka::Sit, TSmer::Zapis, "Chyba spojení"},
                      PoruchaPripad{TPorucha::ZtracenyDatagram, TLinka::Sit, TSmer::Cteni, "Chyba spojení"},
                      PoruchaPripad{TPorucha::ZtracenyDatagram, TLinka::Sit, TSmer::Zapis, "Chyba spojení"},
                      PoruchaPripad{TPorucha::OACKNepodporovanaVolba, TLinka::Sit, TSmer::Cteni, "Chyba spojení"},
                      PoruchaPripad{TPorucha::OACKNepodporovanaVolba, TLinka::Sit, TSmer::Zapis, "Chyba spojení"}),
    Nazev);

class PoruchaObeLinky : public ::testing::TestWithParam<TLinka> {
protected:
    void SetUp() override
    {
        std::string chyba;
        ASSERT_TRUE(s_.Spust(GetParam(), m_, chyba)) << chyba;
    }
    vk::test::TSimSpojeni s_;
    TVK7316R m_;
};

TEST_P(PoruchaObeLinky, JinaUlozenaHodnotaUkazeZpetneCteni)
{
    // The write itself succeeds; only reading back shows that the module
    // keeps another value, which is what the dialogs verify.
    s_.sim.NastavPoruchu(TPorucha::JinaUlozenaHodnota, true, 1);
    TVK7316R_MbtcpCfg zapsany;
    zapsany.UnitID = 10;
    zapsany.Timeout = 60;
    ASSERT_TRUE(ZapisMbtcpCfg(m_, zapsany)) << zapsany.StatusText;
    EXPECT_EQ(zapsany.StatusText, "OK");
    TVK7316R_MbtcpCfg precteny;
    ASSERT_TRUE(PrectiMbtcpCfg(m_, precteny)) << precteny.StatusText;
    EXPECT_EQ(precteny.UnitID, 11);
    EXPECT_EQ(precteny.Timeout, 60);
}

TEST_P(PoruchaObeLinky, JinyTypAVerzeVInfoTxt)
{
    // info.txt carries the identity as the module states it; judging it is
    // the caller's business, so the read succeeds.
    s_.sim.NastavPoruchu(TPorucha::JinyTyp, true, 1);
    TVK7316R_InfoTxt typ;
    ASSERT_TRUE(PrectiInfoTxt(m_, typ)) << typ.StatusText;
    EXPECT_EQ(typ.Text.substr(0, 8), "VK-7317R");

    s_.sim.NastavPoruchu(TPorucha::JinaVerze, true, 1);
    TVK7316R_InfoTxt verze;
    ASSERT_TRUE(PrectiInfoTxt(m_, verze)) << verze.StatusText;
    EXPECT_NE(verze.Text.find("2.10"), std::string::npos) << verze.Text;

    TVK7316R_InfoTxt normalni;
    ASSERT_TRUE(PrectiInfoTxt(m_, normalni));
    EXPECT_EQ(normalni.Text.substr(0, 8), "VK-7316R");
}

TEST_P(PoruchaObeLinky, OdmitnutyPrikazRestartu)
{
    s_.sim.NastavPoruchu(TPorucha::OdmitnutyZapis, true, 1);
    TVK7316R_Restart r;
    EXPECT_FALSE(RestartModulu(m_, r));
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.StatusText, GetParam() == TLinka::Serial ? "Chyba zápisu dat" : "Chyba spojení");
}

TEST_P(PoruchaObeLinky, DruhyPrenosBehemCekaniBezProvozu)
{
    // While the link waits for a module that does not answer it pumps
    // window messages; transfers asked for there are refused at once.
    s_.sim.NastavPoruchu(TPorucha::ZadnaOdpoved, true, 1);
    VychoziModul(Modul);
    std::string chyba;
    if (GetParam() == TLinka::Serial) {
        // The port is opened for one user only: the fixture's record lets
        // go of it first.
        vk::link::ZavriPort(m_.MBRTU);
        ASSERT_TRUE(s_.PripojSerial(Modul, chyba)) << chyba;
    } else {
        s_.PripojSit(Modul);
    }
    const auto pred = s_.sim.PocetPozadavku();
    int pumpy = 0;
    TVK7316R_SysBin sys;
    TVK7316R_LogClr clr;
    TVK7316R_BootCmd cmd;
    cmd.Cmd = "prog";
    vk::link::NastavPumpuZprav([&] {
        if (pumpy++ == 0) {
            PrectiSysBin(Modul, sys);
            ZapisLogClr(Modul, clr);
            ZapisBootCmd(Modul, cmd);
        }
    });
    TVK7316R_UartsCfg r;
    const bool ok = PrectiUartsCfg(Modul, r);
    vk::link::NastavPumpuZprav({});
    const auto po = s_.sim.PocetPozadavku();
    vk::link::ZavriPort(Modul.MBRTU);
    VychoziModul(Modul);

    EXPECT_FALSE(ok);
    EXPECT_GT(pumpy, 0);
    EXPECT_EQ(sys.StatusText, TextZaneprazdnen);
    EXPECT_EQ(clr.StatusText, TextZaneprazdnen);
    EXPECT_EQ(cmd.StatusText, TextZaneprazdnen);
    EXPECT_EQ(po - pred, 1u);
    EXPECT_EQ(s_.sim.Soubor("log.bin").size() > 64, true);  // the log was not cleared
}

INSTANTIATE_TEST_SUITE_P(ObeLinky, PoruchaObeLinky, ::testing::Values(TLinka::Serial, TLinka::Sit),
                         [](const auto& info) { return vk::test::NazevLinky(info.param); });
