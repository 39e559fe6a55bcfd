// The two RTU line areas (master uartm.cfg, slave uarts.cfg): their rules in
// order, the lists that show no item for a code without one, and the
// verified write over the serial link.
#include <gtest/gtest.h>

#include "HexBajty.h"
#include "HlavniLinka.h"
#include "ServisniLinka.h"
#include "SimModul.h"

using namespace vk::procedures;
using vk::core::TCFGVK;
using vk::test::Hex;

namespace {

TCFGVK Puvodni()
{
    TCFGVK c;
    c.UARTM = {3, 2, 1234, 7};
    c.UARTS = {33, 5, 2, 1};
    return c;
}

TEST(HlavniLinka, PrectiOknoPrvniChybnePoleAUlozeneDoNej)
{
    struct TRadek {
        TOknoHlavniLinka Okno;
        std::string Status;
        vk::core::TCFG_UARTM Po;
    };
    const TRadek radky[] = {
        {{6, 0, "1", "0"}, " ", {8, 0, 1, 0}},
        {{0, 2, "65535", "15"}, " ", {2, 2, 65535, 15}},
        {{0, 0, "0", "0"}, " Chybný parametr Timeout.", {3, 2, 1234, 7}},
        {{0, 0, "65536", "0"}, " Chybný parametr Timeout.", {3, 2, 1234, 7}},
        // Timeout stored, the lists not taken.
        {{0, 0, "500", "16"}, " Chybné parametr Opakování.", {3, 2, 500, 7}},
        {{0, 0, "500", "-1"}, " Chybné parametr Opakování.", {3, 2, 500, 7}},
        {{-1, -1, "500", "1"}, " ", {1, 255, 500, 1}},
    };
    for (const TRadek& r : radky) {
        SCOPED_TRACE(r.Okno.Edit1 + " / " + r.Okno.Edit2);
        TCFGVK c = Puvodni();
        EXPECT_EQ(hlavnilinka::PrectiOkno(r.Okno, c).Status(), r.Status);
        EXPECT_EQ(c.UARTM.KodBaud, r.Po.KodBaud);
        EXPECT_EQ(c.UARTM.KodParita, r.Po.KodParita);
        EXPECT_EQ(c.UARTM.Timeout, r.Po.Timeout);
        EXPECT_EQ(c.UARTM.Opakovani, r.Po.Opakovani);
    }
}

TEST(HlavniLinka, ZapisOknoKodyBezPolozky)
{
    TCFGVK c = Puvodni();
    EXPECT_EQ(hlavnilinka::ZapisOkno(c), (TOknoHlavniLinka{1, 2, "1234", "7"}));
    for (std::uint8_t baud : {0, 1, 9}) {
        c.UARTM.KodBaud = baud;
        EXPECT_EQ(hlavnilinka::ZapisOkno(c).ComboBox1, -1) << int{baud};
    }
    c.UARTM.KodBaud = 8;
    c.UARTM.KodParita = 3;
    c.UARTM.Opakovani = 16;  // shown unchanged, then refused
    const TOknoHlavniLinka o = hlavnilinka::ZapisOkno(c);
    EXPECT_EQ(o.ComboBox1, 6);
    EXPECT_EQ(o.ComboBox2, -1);
    EXPECT_EQ(o.Edit2, "16");
    EXPECT_EQ(hlavnilinka::PrectiOkno(o, c).Status(), " Chybné parametr Opakování.");
}

TEST(HlavniLinka, VychoziParametryPoPrevzeti)
{
    TCFGVK c = Puvodni();
    ASSERT_EQ(hlavnilinka::PrectiOkno(hlavnilinka::VychoziOkno(), c).Status(), " ");
    EXPECT_EQ(c.UARTM.KodBaud, 4);
    EXPECT_EQ(c.UARTM.KodParita, 1);
    EXPECT_EQ(c.UARTM.Timeout, 330);
    EXPECT_EQ(c.UARTM.Opakovani, 0);
}

TEST(ServisniLinka, PrectiOknoAdresaANicPredNi)
{
    struct TRadek {
        TOknoServisniLinka Okno;
        std::string Status;
        vk::core::TCFG_UARTS Po;
    };
    const TRadek radky[] = {
        {{"1", 0, 0, 0}, " ", {1, 2, 0, 0}},
        {{"247", 6, 2, 1}, " ", {247, 8, 2, 1}},
        {{"255", 3, 1, 0}, " ", {255, 5, 1, 0}},  // beyond the Modbus standard's 247
        {{"0", 0, 0, 0}, " Chybná adresa.", {33, 5, 2, 1}},
        {{"256", 0, 0, 0}, " Chybná adresa.", {33, 5, 2, 1}},
        {{"12", -1, -1, -1}, " ", {12, 1, 255, 255}},
    };
    for (const TRadek& r : radky) {
        SCOPED_TRACE(r.Okno.Edit1);
        TCFGVK c = Puvodni();
        EXPECT_EQ(servisnilinka::PrectiOkno(r.Okno, c).Status(), r.Status);
        EXPECT_EQ(c.UARTS.Adresa, r.Po.Adresa);
        EXPECT_EQ(c.UARTS.KodBaud, r.Po.KodBaud);
        EXPECT_EQ(c.UARTS.KodParita, r.Po.KodParita);
        EXPECT_EQ(c.UARTS.Repeater, r.Po.Repeater);
    }
}

TEST(ServisniLinka, ZapisOknoAVychozi)
{
    TCFGVK c = Puvodni();
    EXPECT_EQ(servisnilinka::ZapisOkno(c), (TOknoServisniLinka{"33", 3, 2, 1}));
    c.UARTS = {0, 1, 3, 2};
    EXPECT_EQ(servisnilinka::ZapisOkno(c), (TOknoServisniLinka{"0", -1, -1, -1}));
    ASSERT_EQ(servisnilinka::PrectiOkno(servisnilinka::VychoziOkno(), c).Status(), " ");
    EXPECT_EQ(c.UARTS.Adresa, 247);
    EXPECT_EQ(c.UARTS.KodBaud, 4);
    EXPECT_EQ(c.UARTS.KodParita, 1);
    EXPECT_EQ(c.UARTS.Repeater, 0);
}

using vk::test::TLinkaSim;
using vk::test::TSimModul;

class LinkySerial : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string chyba;
        ASSERT_TRUE(s.Spust(TLinkaSim::Serial, chyba)) << chyba;
    }
    TSimModul s;
};

TEST_F(LinkySerial, HlavniLinkaZapisOverenyAJinaUlozenaHodnota)
{
    TCFGVK c;
    c.UARTM = {8, 2, 330, 3};
    std::vector<std::string> texty;
    const TVysledekZapisu v = hlavnilinka::ZapisData(s.modul, c, [&](const std::string& t) { texty.push_back(t); });
    EXPECT_EQ(v.Status, " Konfigurace zapsána.");
    EXPECT_EQ(texty.size(), 4u);
    EXPECT_EQ(s.sim.Soubor("uartm.cfg"), Hex("08 02 4A 01 03 A8"));

    s.sim.NastavPoruchu(vk::sim::TPorucha::JinaUlozenaHodnota, true);
    c.UARTM.KodBaud = 5;
    const TVysledekZapisu f = hlavnilinka::ZapisData(s.modul, c, {});
    EXPECT_EQ(f.Status, " Chyba verifikace zápisu.");
    EXPECT_EQ(f.Zpet.UARTM.KodBaud, 6);
}

TEST_F(LinkySerial, ServisniLinkaZapisOverenyAJinaUlozenaHodnota)
{
    TCFGVK c;
    c.UARTS = {12, 6, 0, 1};
    const TVysledekZapisu v = servisnilinka::ZapisData(s.modul, c, {});
    EXPECT_EQ(v.Status, " Konfigurace zapsána.");
    EXPECT_EQ(s.sim.Soubor("uarts.cfg"), Hex("0C 06 00 01 ED"));

    s.sim.NastavPoruchu(vk::sim::TPorucha::JinaUlozenaHodnota, true);
    const TVysledekZapisu f = servisnilinka::ZapisData(s.modul, c, {});
    EXPECT_EQ(f.Status, " Chyba verifikace zápisu.");
    EXPECT_EQ(f.Zpet.UARTS.Adresa, 13);
}

}  // namespace
