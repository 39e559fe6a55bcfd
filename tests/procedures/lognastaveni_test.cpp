// The event logging area: the lowest bit of Povolen and the 14 event bits
// between record and controls, and log.cfg over the network link only.
#include <gtest/gtest.h>

#include "HexBajty.h"
#include "LogNastaveni.h"
#include "SimModul.h"

using namespace vk::procedures;
using vk::core::TCFGVK;
using vk::test::Hex;

namespace {

TEST(LogNastaveni, ZapisOknoNejnizsiBitAUdalosti)
{
    TCFGVK c;
    c.LOG.Povolen = 2;
    c.LOG.Udalost = 0xFFFF2001u;  // bits above 13 have no check box
    TOknoLogNastaveni o = lognastaveni::ZapisOkno(c);
    EXPECT_EQ(o.ComboBox1, 0);
    for (std::size_t n = 0; n < o.CheckBox.size(); ++n)
        EXPECT_EQ(o.CheckBox[n], n == 0 || n == 13) << n;
    c.LOG.Povolen = 3;
    EXPECT_EQ(lognastaveni::ZapisOkno(c).ComboBox1, 1);

    // Taking the controls back clears the bits without a box and stores 0 or 1.
    o.ComboBox1 = 1;
    o.CheckBox[4] = true;
    EXPECT_EQ(lognastaveni::PrectiOkno(o, c).Status(), " ");
    EXPECT_EQ(c.LOG.Povolen, 1);
    EXPECT_EQ(c.LOG.Udalost, 0x2011u);
    EXPECT_EQ(lognastaveni::PrectiOkno(TOknoLogNastaveni{}, c).Status(), " ");
    EXPECT_EQ(c.LOG.Povolen, 0);
    EXPECT_EQ(c.LOG.Udalost, 0u);
}

using vk::test::TLinkaSim;
using vk::test::TSimModul;

TEST(LogNastaveniSim, ZapisACteniPresSit)
{
    TSimModul s;
    std::string chyba;
    ASSERT_TRUE(s.Spust(TLinkaSim::Sit, chyba)) << chyba;
    TCFGVK c;
    c.LOG.Povolen = 3;
    c.LOG.Udalost = 0x2001;
    const TVysledekZapisu v = lognastaveni::ZapisData(s.modul, c, {});
    EXPECT_TRUE(v.Zapsano);
    EXPECT_FALSE(v.Overovano);
    EXPECT_EQ(v.Status, " Konfigurace zapsána.");
    EXPECT_EQ(s.sim.Soubor("log.cfg"), Hex("01 00 01 20 00 00 DE"));

    TCFGVK zpet;
    EXPECT_TRUE(lognastaveni::PrectiData(s.modul, zpet, {}).Uspech);
    EXPECT_EQ(zpet.LOG.Povolen, 1);
    EXPECT_EQ(zpet.LOG.Udalost, 0x2001u);
}

// On a serial connection without a network link the read fails with the
// network link's text, and the serial port carries nothing.
TEST(LogNastaveniSim, SerioveSpojeniBezSite)
{
    TSimModul s;
    std::string chyba;
    ASSERT_TRUE(s.Spust(TLinkaSim::Serial, chyba)) << chyba;
    const std::uint32_t pred = s.sim.PocetPozadavku();
    TCFGVK c;
    c.LOG.Udalost = 7;
    const TVysledekCteni v = lognastaveni::PrectiData(s.modul, c, {});
    EXPECT_FALSE(v.Uspech);
    EXPECT_EQ(v.Status, " Spojení dosud neinicializováno");
    EXPECT_EQ(c.LOG.Udalost, 7u);
    EXPECT_EQ(s.sim.PocetPozadavku(), pred);
}

}  // namespace
