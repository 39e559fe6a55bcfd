// The Modbus TCP area: its two rules in order, the controls for a record,
// and the verified write against the simulator.
#include <gtest/gtest.h>

#include "HexBajty.h"
#include "ModbusTCP.h"
#include "SimModul.h"

using namespace vk::procedures;
using vk::core::TCFGVK;
using vk::test::Hex;

namespace {

TCFGVK Puvodni()
{
    TCFGVK c;
    c.MBTCP.UnitID = 17;
    c.MBTCP.Timeout = 42;
    return c;
}

TEST(ModbusTCP, PrectiOknoPrvniChybnePoleAUlozeneDoNej)
{
    struct TRadek {
        TOknoModbusTCP Okno;
        std::string Status;
        std::uint8_t UnitID, Timeout;  // afterwards
    };
    const TRadek radky[] = {
        {{"1", "255"}, " ", 1, 255},
        {{"255", "1"}, " ", 255, 1},
        {{"0x10", "$0A"}, " ", 16, 10},  // the dialogs' integer conversion
        {{"0", "x"}, " Chybná adresa.", 17, 42},
        {{"256", "5"}, " Chybná adresa.", 17, 42},
        {{"-1", "5"}, " Chybná adresa.", 17, 42},
        {{"", "5"}, " Chybná adresa.", 17, 42},
        {{" 5", "5"}, " Chybná adresa.", 17, 42},  // no blanks
        {{"9", "0"}, " Chybný timeout.", 9, 42},
        {{"9", "256"}, " Chybný timeout.", 9, 42},
    };
    for (const TRadek& r : radky) {
        SCOPED_TRACE(r.Okno.Edit1 + " / " + r.Okno.Edit2);
        TCFGVK c = Puvodni();
        EXPECT_EQ(modbustcp::PrectiOkno(r.Okno, c).Status(), r.Status);
        EXPECT_EQ(c.MBTCP.UnitID, r.UnitID);
        EXPECT_EQ(c.MBTCP.Timeout, r.Timeout);
    }
}

// A zero from the image is shown as it is and then blocks the rules.
TEST(ModbusTCP, ZapisOknoANulaZObrazu)
{
    TCFGVK c = Puvodni();
    EXPECT_EQ(modbustcp::ZapisOkno(c), (TOknoModbusTCP{"17", "42"}));
    c.MBTCP.UnitID = 0;
    const TOknoModbusTCP o = modbustcp::ZapisOkno(c);
    EXPECT_EQ(o.Edit1, "0");
    EXPECT_EQ(modbustcp::PrectiOkno(o, c).Status(), " Chybná adresa.");
}

TEST(ModbusTCP, VychoziParametryPoPrevzeti)
{
    TCFGVK c = Puvodni();
    ASSERT_EQ(modbustcp::PrectiOkno(modbustcp::VychoziOkno(), c).Status(), " ");
    EXPECT_EQ(c.MBTCP.UnitID, 255);
    EXPECT_EQ(c.MBTCP.Timeout, 5);
}

using vk::test::TLinkaSim;
using vk::test::TSimModul;

TEST(ModbusTCPSim, ZapisOverenyAJinaUlozenaHodnota)
{
    TSimModul s;
    std::string chyba;
    ASSERT_TRUE(s.Spust(TLinkaSim::Sit, chyba)) << chyba;
    TCFGVK c;
    c.MBTCP.UnitID = 1;
    c.MBTCP.Timeout = 60;
    const TVysledekZapisu v = modbustcp::ZapisData(s.modul, c, {});
    EXPECT_EQ(v.Status, " Konfigurace zapsána.");
    EXPECT_EQ(s.sim.Soubor("mbtcp.cfg"), Hex("01 3C C3"));

    s.sim.NastavPoruchu(vk::sim::TPorucha::JinaUlozenaHodnota, true);
    c.MBTCP.UnitID = 9;
    const TVysledekZapisu f = modbustcp::ZapisData(s.modul, c, {});
    EXPECT_FALSE(f.Zapsano);
    EXPECT_EQ(f.Status, " Chyba verifikace zápisu.");
    EXPECT_EQ(f.Zpet.MBTCP.UnitID, 10);
}

}  // namespace
