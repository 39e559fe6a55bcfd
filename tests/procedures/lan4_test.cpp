// The network parameters area: its rules in their order, the controls it
// shows for a record, and the write verified by read-back against the
// simulator.
#include <gtest/gtest.h>

#include <chrono>

#include "HexBajty.h"
#include "Lan4.h"
#include "SimModul.h"

using namespace vk::procedures;
using vk::core::TCFGVK;
using vk::test::Hex;

namespace {

// A record whose LAN4 bytes all differ, so a field stored in the wrong place
// or too early shows.
TCFGVK Puvodni()
{
    TCFGVK c;
    c.LAN4.IP4_Adresa = {1, 2, 3, 4};
    c.LAN4.IP4_Maska = {5, 6, 7, 8};
    c.LAN4.IP4_Brana = {9, 10, 11, 12};
    c.LAN4.IP4_DHCP = 7;
    return c;
}

struct TRadek {
    const char* Nazev;
    TOknoLan4 Okno;
    std::string Status;
    vk::core::TCFG_LAN4 Po;  // LAN4 afterwards
};

TOknoLan4 Okno(const char* e1, const char* e2, const char* e3, int dhcp)
{
    TOknoLan4 o;
    o.Edit1 = e1;
    o.Edit2 = e2;
    o.Edit3 = e3;
    o.ComboBox1 = dhcp;
    return o;
}

TEST(Lan4, PrectiOknoPrvniChybnePoleAUlozeneDoNej)
{
    const TRadek radky[] = {
        {"VsechnaPlatna",
         Okno("10.0.0.1", "255.0.0.0", "10.0.0.254", 1),
         " ",
         {{10, 0, 0, 1}, {255, 0, 0, 0}, {10, 0, 0, 254}, 1}},
        {"ChybnaAdresaNicNeulozi",
         Okno("192.168.0", "x", "x", 1),
         " Chyba IP4 adresy.",
         {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, 7}},
        {"ChybnaMaskaPoAdrese",
         Okno("10.0.0.1", "255.255.255.0.", "x", 1),
         " Chyba IP4 masky.",
         {{10, 0, 0, 1}, {5, 6, 7, 8}, {9, 10, 11, 12}, 7}},
        {"ChybnaBranaPoMasce",
         Okno("10.0.0.1", "255.0.0.0", "10..0.1", 0),
         " Chyba IP4 brány.",
         {{10, 0, 0, 1}, {255, 0, 0, 0}, {9, 10, 11, 12}, 7}},
        // The core's parse decides: blanks separate parts, "$" and "0x"
        // are hexadecimal, "+" is a sign.
        {"TextoveFormyJadra",
         Okno("10.1.2.3", "255 255 255 0", "$C0.0xA8.0.+1", 0),
         " ",
         {{10, 1, 2, 3}, {255, 255, 255, 0}, {192, 168, 0, 1}, 0}},
        // A part outside 0-255 is refused in every field, never stored as
        // its low 8 bits (a gateway of 10.1.2.300 written as 10.1.2.44).
        {"AdresaMimoRozsah",
         Okno("192.168.0.256", "255.0.0.0", "10.0.0.1", 0),
         " Chyba IP4 adresy.",
         {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, 7}},
        {"MaskaMimoRozsah",
         Okno("10.0.0.1", "255.255.255.-1", "10.0.0.1", 0),
         " Chyba IP4 masky.",
         {{10, 0, 0, 1}, {5, 6, 7, 8}, {9, 10, 11, 12}, 7}},
        {"BranaMimoRozsah",
         Okno("10.0.0.1", "255.0.0.0", "10.1.2.300", 0),
         " Chyba IP4 brány.",
         {{10, 0, 0, 1}, {255, 0, 0, 0}, {9, 10, 11, 12}, 7}},
        {"BranaPreteceni",
         Okno("10.0.0.1", "255.0.0.0", "10.1.2.99999999999", 0),
         " Chyba IP4 brány.",
         {{10, 0, 0, 1}, {255, 0, 0, 0}, {9, 10, 11, 12}, 7}},
        {"SeznamBezPolozky",
         Okno("1.1.1.1", "2.2.2.2", "3.3.3.3", -1),
         " ",
         {{1, 1, 1, 1}, {2, 2, 2, 2}, {3, 3, 3, 3}, 255}},
    };
    for (const TRadek& r : radky) {
        SCOPED_TRACE(r.Nazev);
        TCFGVK c = Puvodni();
        EXPECT_EQ(lan4::PrectiOkno(r.Okno, c).Status(), r.Status);
        EXPECT_EQ(c.LAN4.IP4_Adresa, r.Po.IP4_Adresa);
        EXPECT_EQ(c.LAN4.IP4_Maska, r.Po.IP4_Maska);
        EXPECT_EQ(c.LAN4.IP4_Brana, r.Po.IP4_Brana);
        EXPECT_EQ(c.LAN4.IP4_DHCP, r.Po.IP4_DHCP);
    }
}

TEST(Lan4, ZapisOknoUkazeZaznamIIPv6)
{
    TCFGVK c = Puvodni();
    c.LAN6.IP6_LLA = {0xFE, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x01};
    c.LAN6.IP6_Brana[15] = 0x0A;
    TOknoLan4 o = lan4::ZapisOkno(c);
    EXPECT_EQ(o.Edit1, "1.2.3.4");
    EXPECT_EQ(o.Edit2, "5.6.7.8");
    EXPECT_EQ(o.Edit3, "9.10.11.12");
    EXPECT_EQ(o.ComboBox1, -1);  // DHCP 7 has no item
    EXPECT_FALSE(lan4::AdresyPovoleny(o));
    EXPECT_EQ(o.Edit4, "FE80:0000:0000:0000:0000:0000:0000:0001");
    EXPECT_EQ(o.Edit5, "0000:0000:0000:0000:0000:0000:0000:0000");
    EXPECT_EQ(o.Edit7, "0000:0000:0000:0000:0000:0000:0000:000A");

    c.LAN4.IP4_DHCP = 1;
    EXPECT_EQ(lan4::ZapisOkno(c).ComboBox1, 1);
    c.LAN4.IP4_DHCP = 0;
    EXPECT_TRUE(lan4::AdresyPovoleny(lan4::ZapisOkno(c)));
}

// "Default parametry" then "Ok": the values reach the record as bytes; the
// IPv6 fields shown are never taken.
TEST(Lan4, VychoziParametryPoPrevzeti)
{
    TCFGVK c = Puvodni();
    c.LAN6.IP6_GUA[0] = 0x20;
    const TOknoLan4 o = lan4::VychoziOkno();
    EXPECT_EQ(o.Edit6, "0000:0000:0000:0000:0000:0000:0000:0000");
    EXPECT_TRUE(lan4::AdresyPovoleny(o));
    ASSERT_EQ(lan4::PrectiOkno(o, c).Status(), " ");
    EXPECT_EQ(c.LAN4.IP4_Adresa, (vk::core::TAdresa4{192, 168, 0, 99}));
    EXPECT_EQ(c.LAN4.IP4_Maska, (vk::core::TAdresa4{255, 255, 255, 0}));
    EXPECT_EQ(c.LAN4.IP4_Brana, (vk::core::TAdresa4{192, 168, 0, 200}));
    EXPECT_EQ(c.LAN4.IP4_DHCP, 0);
    EXPECT_EQ(c.LAN6.IP6_GUA[0], 0x20);
}

using vk::sim::TPorucha;
using vk::test::TLinkaSim;
using vk::test::TSimModul;

class Lan4Sim : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string chyba;
        ASSERT_TRUE(s.Spust(TLinkaSim::Sit, chyba)) << chyba;
    }
    TOznameni Zaznamenej()
    {
        return [this](const std::string& t) { texty.push_back(t); };
    }

    TSimModul s;
    std::vector<std::string> texty;
};

TCFGVK Zapisovany()
{
    TCFGVK c;
    c.LAN4.IP4_Adresa = {192, 168, 0, 99};
    c.LAN4.IP4_Maska = {255, 255, 255, 0};
    c.LAN4.IP4_Brana = {192, 168, 0, 1};
    c.LAN4.IP4_DHCP = 0;
    return c;
}

TEST_F(Lan4Sim, ZapisOverenyCtenimZpet)
{
    const TVysledekZapisu v = lan4::ZapisData(s.modul, Zapisovany(), Zaznamenej());
    EXPECT_TRUE(v.Zapsano);
    EXPECT_EQ(v.Status, " Konfigurace zapsána.");
    EXPECT_EQ(texty,
              (std::vector<std::string>{" Probíhá zápis konfigurace do modulu", " Probíhá čtení konfigurace z modulu",
                                        " Konfigurace přečtena.", " Konfigurace zapsána."}));
    EXPECT_EQ(s.sim.Soubor("lan4.cfg"), Hex("C0 A8 00 63 FF FF FF 00 C0 A8 00 01 00 00 00 CF"));
}

TEST_F(Lan4Sim, JinaUlozenaHodnotaJeChybaVerifikace)
{
    s.sim.NastavPoruchu(TPorucha::JinaUlozenaHodnota, true);
    const TVysledekZapisu v = lan4::ZapisData(s.modul, Zapisovany(), Zaznamenej());
    EXPECT_FALSE(v.Zapsano);
    EXPECT_EQ(v.Status, " Chyba verifikace zápisu.");
    EXPECT_EQ(v.Zpet.LAN4.IP4_Adresa, (vk::core::TAdresa4{193, 168, 0, 99}));
}

TEST_F(Lan4Sim, OdmitnutyZapisBezCteniZpet)
{
    s.sim.NastavPoruchu(TPorucha::OdmitnutyZapis, true);
    const TVysledekZapisu v = lan4::ZapisData(s.modul, Zapisovany(), Zaznamenej());
    EXPECT_FALSE(v.Zapsano);
    EXPECT_FALSE(v.Overovano);
    EXPECT_EQ(texty, (std::vector<std::string>{" Probíhá zápis konfigurace do modulu", " Chyba spojení"}));
}

TEST_F(Lan4Sim, NezdareneCteniNechaZaznamJakByl)
{
    s.sim.NastavPoruchu(TPorucha::ZadnaOdpoved, true);
    TCFGVK c = Puvodni();
    const TVysledekCteni v = lan4::PrectiData(s.modul, c, Zaznamenej());
    EXPECT_FALSE(v.Uspech);
    EXPECT_EQ(v.Status, " Chyba spojení");
    EXPECT_EQ(c.LAN4.IP4_Adresa, Puvodni().LAN4.IP4_Adresa);
    EXPECT_EQ(c.LAN4.IP4_DHCP, 7);
}

}  // namespace
