// The decisions the configuration dialogs share: when "Zapsat" and "Ok" go
// ahead on what a validation found, and the list index shown for a
// stored value.
#include <gtest/gtest.h>

#include "Lan4.h"
#include "OblastKonfigurace.h"

using namespace vk::procedures;

namespace {

// Fault: a refusal that lets "Zapsat" or "Ok" go ahead, or a status text
// without its leading blank (or with two).
TEST(OblastKonfigurace, PlatnostAOdmitnutiSeSvymiTexty)
{
    EXPECT_TRUE(Platne().Platne);
    EXPECT_EQ(Platne().Status(), " ");
    const TPlatnost chyba = ChybaPole("Chybná adresa.");
    EXPECT_FALSE(chyba.Platne);
    EXPECT_EQ(chyba.Zprava, "Chybná adresa.");
    EXPECT_EQ(chyba.Status(), " Chybná adresa.");
}

TEST(OblastKonfigurace, IndexPolozkyMimoSeznamJeMinusJedna)
{
    EXPECT_EQ(IndexPolozky(0, 3), 0);
    EXPECT_EQ(IndexPolozky(2, 3), 2);
    EXPECT_EQ(IndexPolozky(3, 3), -1);
    EXPECT_EQ(IndexPolozky(-1, 3), -1);
}

// "Ok" with an invalid mask keeps the program's image and the dialog open,
// while the address before it is already in the working copy; a valid "Ok"
// replaces the image whole, other areas included.
TEST(OblastKonfigurace, OkPrevezmePracovniKopiiJenPlatnou)
{
    vk::core::TCFGVK dat;
    vk::core::VychoziCFGVK(dat);
    vk::core::TCFGVK prace = dat;
    prace.MBTCP.UnitID = 9;
    TOknoLan4 o = lan4::ZapisOkno(prace);
    o.Edit1 = "10.0.0.1";
    o.Edit2 = "255.255.255";
    o.ComboBox1 = 1;  // DHCP: the fields are disabled, still validated
    const auto& oblast = lan4::Oblast();
    EXPECT_EQ(PotvrdOkno(oblast, o, prace, dat).Status(), " Chyba IP4 masky.");
    EXPECT_EQ(dat.LAN4.IP4_Adresa, (vk::core::TAdresa4{192, 168, 0, 99}));
    EXPECT_EQ(prace.LAN4.IP4_Adresa, (vk::core::TAdresa4{10, 0, 0, 1}));
    TPlatnost platnost;
    EXPECT_FALSE(PripravZapis(oblast, o, prace, platnost));
    EXPECT_EQ(platnost.Status(), " Chyba IP4 masky.");

    o.Edit2 = "255.0.0.0";
    EXPECT_EQ(PotvrdOkno(oblast, o, prace, dat).Status(), " ");
    EXPECT_EQ(dat.LAN4.IP4_Maska, (vk::core::TAdresa4{255, 0, 0, 0}));
    EXPECT_EQ(dat.LAN4.IP4_DHCP, 1);
    EXPECT_EQ(dat.MBTCP.UnitID, 9);
    EXPECT_TRUE(PripravZapis(oblast, o, prace, platnost));
}

}  // namespace
