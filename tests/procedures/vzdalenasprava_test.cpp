// The remote management area: rows validated only while the table is
// enabled, each by its version list, the mode list reaching the record at
// once, and the unverified write against the simulator.
#include <gtest/gtest.h>

#include "SimModul.h"
#include "VzdalenaSprava.h"

using namespace vk::procedures;
using vk::core::TCFGVK;
using vk::core::TPole16B;

namespace {

const TPole16B Fe80_1 = {0xFE, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x01};

TCFGVK Puvodni()
{
    TCFGVK c;
    c.Sprava.Rezim = 2;
    for (std::size_t i = 0; i < 8; ++i)
        c.Sprava.User_IP[i] = {10, 0, 0, static_cast<std::uint8_t>(i + 1)};
    c.Sprava.User_IP[1] = Fe80_1;
    c.Sprava.VerzeIP[1] = 1;
    return c;
}

TEST(VzdalenaSprava, ZapisOknoRadkyPodleVerze)
{
    TCFGVK c = Puvodni();
    c.Sprava.User_IP[0][4] = 0x77;  // ignored by an IPv4 entry's text
    c.Sprava.VerzeIP[2] = 5;        // no item: shown as IPv6
    const TOknoVzdalenaSprava o = vzdalenasprava::ZapisOkno(c);
    EXPECT_EQ(o.ComboBox1, 2);
    EXPECT_TRUE(o.TabulkaPovolena);
    EXPECT_EQ(o.Edit[0], "10.0.0.1");
    EXPECT_EQ(o.Edit[1], "FE80:0000:0000:0000:0000:0000:0000:0001");
    EXPECT_EQ(o.Edit[2], "0A00:0003:0000:0000:0000:0000:0000:0000");
    EXPECT_EQ(o.ComboBoxVerze[0], 0);
    EXPECT_EQ(o.ComboBoxVerze[1], 1);
    EXPECT_EQ(o.ComboBoxVerze[2], -1);
    c.Sprava.Rezim = 1;
    EXPECT_FALSE(vzdalenasprava::ZapisOkno(c).TabulkaPovolena);
}

TEST(VzdalenaSprava, PrectiOknoPrvniChybnyRadek)
{
    TCFGVK c = Puvodni();
    TOknoVzdalenaSprava o = vzdalenasprava::ZapisOkno(c);
    o.Edit[0] = "192.168.1.20";
    o.Edit[3] = "fe80::1";  // an IPv6 text in a row set to IPv4
    o.Edit[4] = "1.2.3.x";
    EXPECT_EQ(vzdalenasprava::PrectiOkno(o, c).Status(), " Chybná IP adresa.");
    EXPECT_EQ(c.Sprava.User_IP[0], (TPole16B{192, 168, 1, 20}));
    EXPECT_EQ(c.Sprava.User_IP[3], Puvodni().Sprava.User_IP[3]);
    EXPECT_EQ(c.Sprava.User_IP[4], Puvodni().Sprava.User_IP[4]);

    // The same row as IPv6, and a row with no version item read as IPv6.
    o.ComboBoxVerze[3] = 1;
    o.Edit[4] = "0.0.0.0";
    o.Edit[5] = "::8";
    o.ComboBoxVerze[5] = -1;
    EXPECT_EQ(vzdalenasprava::PrectiOkno(o, c).Status(), " ");
    EXPECT_EQ(c.Sprava.User_IP[3], Fe80_1);
    EXPECT_EQ(c.Sprava.VerzeIP[3], 1);
    EXPECT_EQ(c.Sprava.User_IP[5][15], 8);
    EXPECT_EQ(c.Sprava.VerzeIP[5], 1);
}

// A row whose IPv4 part lies outside 0-255 is refused, never stored as its
// low 8 bits; catches an access table that admits a station nobody typed.
TEST(VzdalenaSprava, IPv4CastMimoRozsah)
{
    for (const char* text : {"10.0.0.256", "10.0.0.300", "10.0.0.-1", "10.0.0.99999999999"}) {
        SCOPED_TRACE(text);
        TCFGVK c = Puvodni();
        TOknoVzdalenaSprava o = vzdalenasprava::ZapisOkno(c);
        o.ComboBoxVerze[2] = 0;
        o.Edit[2] = text;
        EXPECT_EQ(vzdalenasprava::PrectiOkno(o, c).Status(), " Chybná IP adresa.");
        EXPECT_EQ(c.Sprava.User_IP[2], Puvodni().Sprava.User_IP[2]);
    }
}

TEST(VzdalenaSprava, IPv4ZaznamVynulujeZbytek)
{
    TCFGVK c = Puvodni();
    TOknoVzdalenaSprava o = vzdalenasprava::ZapisOkno(c);
    o.ComboBoxVerze[1] = 0;
    o.Edit[1] = "1.2.3.4";
    ASSERT_EQ(vzdalenasprava::PrectiOkno(o, c).Status(), " ");
    EXPECT_EQ(c.Sprava.User_IP[1], (TPole16B{1, 2, 3, 4}));
    EXPECT_EQ(c.Sprava.VerzeIP[1], 0);
}

// With the table disabled nothing is parsed: invalid rows do not block and
// the stored table stays.
TEST(VzdalenaSprava, ZakazanaTabulkaSeNecte)
{
    TCFGVK c = Puvodni();
    TOknoVzdalenaSprava o = vzdalenasprava::ZapisOkno(c);
    o.Edit[0] = "x";
    o.ComboBox1 = 1;
    vzdalenasprava::ZmenaRezimu(o, c);
    EXPECT_EQ(c.Sprava.Rezim, 1);
    EXPECT_FALSE(o.TabulkaPovolena);
    EXPECT_EQ(vzdalenasprava::PrectiOkno(o, c).Status(), " ");
    EXPECT_EQ(c.Sprava.User_IP, Puvodni().Sprava.User_IP);

    o.ComboBox1 = 2;
    vzdalenasprava::ZmenaRezimu(o, c);
    EXPECT_TRUE(o.TabulkaPovolena);
    EXPECT_EQ(vzdalenasprava::PrectiOkno(o, c).Status(), " Chybná IP adresa.");
}

TEST(VzdalenaSpravaSim, ZapisBezOvereniACteni)
{
    vk::test::TSimModul s;
    std::string chyba;
    ASSERT_TRUE(s.Spust(vk::test::TLinkaSim::Sit, chyba)) << chyba;
    // A module that stores another value is not noticed: this area does
    // not read back.
    s.sim.NastavPoruchu(vk::sim::TPorucha::JinaUlozenaHodnota, true);
    std::vector<std::string> texty;
    const TVysledekZapisu v =
        vzdalenasprava::ZapisData(s.modul, Puvodni(), [&](const std::string& t) { texty.push_back(t); });
    EXPECT_TRUE(v.Zapsano);
    EXPECT_FALSE(v.Overovano);
    EXPECT_EQ(texty, (std::vector<std::string>{" Probíhá zápis konfigurace do modulu", " Konfigurace zapsána."}));
    const std::vector<std::uint8_t> soubor = s.sim.Soubor("sprava.cfg");
    ASSERT_EQ(soubor.size(), 138u);
    EXPECT_EQ(soubor[0], 3);  // Rezim 2 stored as 3 by the fault
    EXPECT_EQ(soubor[1 + 17], 0xFE);
    EXPECT_EQ(soubor[17 + 17], 1);  // VerzeIP[1]

    s.sim.NastavPoruchu(vk::sim::TPorucha::JinaUlozenaHodnota, false);
    TCFGVK c;
    const TVysledekCteni r = vzdalenasprava::PrectiData(s.modul, c, {});
    EXPECT_EQ(r.Status, " Konfigurace přečtena.");
    EXPECT_EQ(c.Sprava.Rezim, 3);
    EXPECT_EQ(c.Sprava.User_IP[1], Fe80_1);
    EXPECT_EQ(c.Sprava.VerzeIP[1], 1);
}

}  // namespace
