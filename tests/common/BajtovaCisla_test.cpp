// Little-endian numbers and the check byte, against literal bytes of the
// module's files.
#include <gtest/gtest.h>

#include "BajtovaCisla.h"
#include "HexBajty.h"

using vk::common::Cti16;
using vk::common::Cti32;
using vk::common::KontrolniBajt;
using vk::test::Hex;

TEST(BajtovaCisla, PrvniBajtNejnizsi)
{
    const auto b = Hex("4A 01 78 56 34 12 FF FF FF FF");
    EXPECT_EQ(Cti16(b.data()), 330u);
    EXPECT_EQ(Cti32(b.data() + 2), 0x12345678u);
    EXPECT_EQ(Cti32(b.data() + 6), 4294967295u);  // no sign extension of the top byte
}

TEST(BajtovaCisla, KontrolniBajtDoplniSoucetNaNulu)
{
    // The restart and clear-diagnostics command files end in 01 and FE.
    const auto restart = Hex("00 FF 01 00 FF 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");
    EXPECT_EQ(KontrolniBajt(restart.data(), restart.size()), 0x01);
    const auto mazani = Hex("01 01 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");
    EXPECT_EQ(KontrolniBajt(mazani.data(), mazani.size()), 0xFE);
    // The default IPv4 block of a configuration file sums to F6.
    const auto lan4 = Hex("C0 A8 00 63 FF FF FF 00 C0 A8 00 C8 00 FF FF");
    EXPECT_EQ(KontrolniBajt(lan4.data(), lan4.size()), 0x0A);
    EXPECT_EQ(KontrolniBajt(lan4.data(), 0), 0x00);
}
