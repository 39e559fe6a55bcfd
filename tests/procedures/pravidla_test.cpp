// The decisions the configuration dialogs share: when "Zapsat" and "Ok" go
// ahead on the status a validation left, and the list index shown for a
// stored value.
#include <gtest/gtest.h>

#include "OblastKonfigurace.h"

using namespace vk::procedures;

namespace {

TEST(OblastKonfigurace, ZapsatANejvyseJedenZnakOkPraveJeden)
{
    EXPECT_TRUE(ZapsatPovoleno(" "));
    EXPECT_TRUE(OkPovoleno(" "));
    // An empty status lets "Zapsat" go ahead, but not "Ok".
    EXPECT_TRUE(ZapsatPovoleno(""));
    EXPECT_FALSE(OkPovoleno(""));
    EXPECT_FALSE(ZapsatPovoleno(ChybaPole("Chybná adresa.")));
    EXPECT_FALSE(OkPovoleno(ChybaPole("Chybná adresa.")));
    EXPECT_EQ(ChybaPole("Chybná adresa."), " Chybná adresa.");
}

TEST(OblastKonfigurace, IndexPolozkyMimoSeznamJeMinusJedna)
{
    EXPECT_EQ(IndexPolozky(0, 3), 0);
    EXPECT_EQ(IndexPolozky(2, 3), 2);
    EXPECT_EQ(IndexPolozky(3, 3), -1);
    EXPECT_EQ(IndexPolozky(-1, 3), -1);
}

}  // namespace
