#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include "Dekl.h"

using namespace vk::core;

namespace {

// ---- the standard integer conversion ---------------------------------------

struct TCislo {
    std::string text;
    bool ok;
    std::int32_t hodnota;
};

class PrevedNaCisloTest : public testing::TestWithParam<TCislo> {};

TEST_P(PrevedNaCisloTest, ConvertsOrRefusesLeavingTheTargetAlone)
{
    const TCislo& p = GetParam();
    std::int32_t hodnota = 12345;
    EXPECT_EQ(PrevedNaCislo(p.text, hodnota), p.ok) << '"' << p.text << '"';
    EXPECT_EQ(hodnota, p.ok ? p.hodnota : 12345) << '"' << p.text << '"';
}

constexpr std::int32_t nejmensi = std::numeric_limits<std::int32_t>::min();

INSTANTIATE_TEST_SUITE_P(
    Tabulka, PrevedNaCisloTest,
    testing::Values(TCislo{"0", true, 0}, TCislo{"-0", true, 0}, TCislo{"+7", true, 7}, TCislo{"-7", true, -7},
                    TCislo{"00000000000000000012", true, 12}, TCislo{"2147483647", true, 2147483647},
                    TCislo{"2147483648", false, 0}, TCislo{"-2147483648", true, nejmensi},
                    TCislo{"-2147483649", false, 0}, TCislo{"99999999999999999999", false, 0},
                    // hexadecimal: every prefix, either case of the digits
                    TCislo{"$ff", true, 255}, TCislo{"x1F", true, 31}, TCislo{"X1f", true, 31},
                    TCislo{"0x1F", true, 31}, TCislo{"0X1f", true, 31}, TCislo{"0x00000000000000FF", true, 255},
                    // unsigned hexadecimal up to 32 bits is the two's-complement value
                    TCislo{"$7FFFFFFF", true, 2147483647}, TCislo{"0x80000000", true, nejmensi},
                    TCislo{"0xFFFFFFFF", true, -1}, TCislo{"0x100000000", false, 0},
                    // a sign goes before the prefix and limits the magnitude
                    TCislo{"-0x10", true, -16}, TCislo{"+$10", true, 16}, TCislo{"-$80000000", true, nejmensi},
                    TCislo{"-0x80000001", false, 0}, TCislo{"-0xFFFFFFFF", false, 0}, TCislo{"$-1", false, 0},
                    TCislo{"0x-1", false, 0},
                    // nothing to convert, or something else in the text
                    TCislo{"", false, 0}, TCislo{"+", false, 0}, TCislo{"-", false, 0}, TCislo{"$", false, 0},
                    TCislo{"x", false, 0}, TCislo{"0x", false, 0}, TCislo{" 1", false, 0}, TCislo{"1 ", false, 0},
                    TCislo{"1a", false, 0}, TCislo{"0x1g", false, 0}, TCislo{"1e3", false, 0}, TCislo{"--1", false, 0},
                    TCislo{"+-1", false, 0}, TCislo{"0b1", false, 0}, TCislo{"1.0", false, 0},
                    TCislo{std::string("1\0", 2), false, 0}, TCislo{"\xD9\xA3", false, 0}));

// ---- IPv4 text to bytes ------------------------------------------------------

struct TIP4 {
    std::string text;
    bool ok;
    TAdresa4 bajty;  // also after a failure: the parts stored before it
};

class TextNaIP4Test : public testing::TestWithParam<TIP4> {};

TEST_P(TextNaIP4Test, SplitsConvertsAndStoresLowByte)
{
    const TIP4& p = GetParam();
    TAdresa4 ip = {9, 9, 9, 9};
    EXPECT_EQ(TextNaIP4(p.text, ip), p.ok) << '"' << p.text << '"';
    EXPECT_EQ(ip, p.bajty) << '"' << p.text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Oddelovani, TextNaIP4Test,
    testing::Values(TIP4{"192.168.0.99", true, {192, 168, 0, 99}}, TIP4{"  192.168.0.99  ", true, {192, 168, 0, 99}},
                    TIP4{"\t192.168.0.99\r\n", true, {192, 168, 0, 99}}, TIP4{"192 168 0 99", true, {192, 168, 0, 99}},
                    TIP4{"192\x01"
                         "168\x1F"
                         "0 \t 99",
                         true,
                         {192, 168, 0, 99}},
                    TIP4{"192 . 168 .0.  99", true, {192, 168, 0, 99}}, TIP4{"192.168 0.99", true, {192, 168, 0, 99}},
                    TIP4{"192.168.0", false, {0, 0, 0, 0}}, TIP4{"192.168.0.99.", false, {0, 0, 0, 0}},
                    TIP4{"192.168.0.99 .", false, {0, 0, 0, 0}},
                    // only a "." that is the last character adds the empty part
                    TIP4{"192.168.0.99. ", true, {192, 168, 0, 99}}, TIP4{"192.168.0.", false, {192, 168, 0, 0}},
                    TIP4{"192..168.0", false, {192, 0, 0, 0}}, TIP4{"192..168.0.99", false, {0, 0, 0, 0}},
                    TIP4{".168.0.99", false, {0, 0, 0, 0}}, TIP4{"1.2.3.4 5", false, {0, 0, 0, 0}},
                    TIP4{"", false, {0, 0, 0, 0}}, TIP4{" \t ", false, {0, 0, 0, 0}}, TIP4{".", false, {0, 0, 0, 0}}));

INSTANTIATE_TEST_SUITE_P(
    Uvozovky, TextNaIP4Test,
    testing::Values(TIP4{"\"192\".\"168\".\"0\".\"99\"", true, {192, 168, 0, 99}},
                    TIP4{"\"1\" 2 3 \"4\"", true, {1, 2, 3, 4}},
                    TIP4{"\"1\"2.3.4", true, {1, 2, 3, 4}},         // a closing quote also ends a part
                    TIP4{"1.2.3.\"4", true, {1, 2, 3, 4}},          // an unclosed quote runs to the end
                    TIP4{"\"1 2\".2.3.4", false, {0, 0, 0, 0}},     // a blank inside quotes is part of it
                    TIP4{"\"192.168\".0.99", false, {0, 0, 0, 0}},  // three parts
                    TIP4{"1.\"2\"\"3\".3.4", false, {1, 0, 0, 0}},  // doubled quote: the part is 2"3
                    TIP4{"1.\"\".3.4", false, {1, 0, 0, 0}}));

INSTANTIATE_TEST_SUITE_P(
    Cisla, TextNaIP4Test,
    testing::Values(
        // A part outside 0-255 fails instead of storing its low 8 bits.
        TIP4{"192.168.0.300", false, {192, 168, 0, 0}}, TIP4{"192.168.0.256", false, {192, 168, 0, 0}},
        TIP4{"192.168.0.-1", false, {192, 168, 0, 0}}, TIP4{"10.1.99999999999.2", false, {10, 1, 0, 0}},
        TIP4{"0xFFFFFFFF.1.1.1", false, {0, 0, 0, 0}}, TIP4{"255.0.-0.255", true, {255, 0, 0, 255}},
        TIP4{"$C0.0xA8.0.+1", true, {192, 168, 0, 1}}, TIP4{"$C0.168.0.1", true, {192, 168, 0, 1}},
        TIP4{"0xC0.0XA8.x0.X63", true, {192, 168, 0, 99}}, TIP4{"+1.+2.+3.+4", true, {1, 2, 3, 4}},
        TIP4{"192.168.x.1", false, {192, 168, 0, 0}}, TIP4{"1.2.3.4x", false, {1, 2, 3, 0}},
        TIP4{"1.2147483648.3.4", false, {1, 0, 0, 0}}, TIP4{"1.2.0x100000000.4", false, {1, 2, 0, 0}},
        TIP4{std::string("1.2.3.4\0", 8), false, {1, 2, 3, 0}}, TIP4{"1.2.3.ř", false, {1, 2, 3, 0}}));

TEST(IP4NaText, DecimalWithoutLeadingZeros)
{
    EXPECT_EQ(IP4NaText({0, 0, 0, 0}), "0.0.0.0");
    EXPECT_EQ(IP4NaText({192, 168, 0, 99}), "192.168.0.99");
    EXPECT_EQ(IP4NaText({255, 10, 1, 200}), "255.10.1.200");
}

// ---- IPv6 ------------------------------------------------------------------

struct TIP6 {
    std::string text;
    std::string ocekavano;  // IP6NaText of the expected bytes
};

class TextNaIP6PlatneTest : public testing::TestWithParam<TIP6> {};

TEST_P(TextNaIP6PlatneTest, Accepted)
{
    TPole16B ip{};
    ASSERT_TRUE(TextNaIP6(GetParam().text, ip)) << GetParam().text;
    EXPECT_EQ(IP6NaText(ip), GetParam().ocekavano) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Tabulka, TextNaIP6PlatneTest,
    testing::Values(TIP6{"::", "0000:0000:0000:0000:0000:0000:0000:0000"},
                    TIP6{"fe80::1", "FE80:0000:0000:0000:0000:0000:0000:0001"},
                    TIP6{"::1", "0000:0000:0000:0000:0000:0000:0000:0001"},
                    TIP6{"1::", "0001:0000:0000:0000:0000:0000:0000:0000"},
                    TIP6{"1:2:3:4:5:6:7:8", "0001:0002:0003:0004:0005:0006:0007:0008"},
                    TIP6{"0001:0002:0003:0004:0005:0006:0007:0008", "0001:0002:0003:0004:0005:0006:0007:0008"},
                    TIP6{"0:0:0:0:0:0:0:0", "0000:0000:0000:0000:0000:0000:0000:0000"},
                    TIP6{"ABCD:ef01:2345:6789:abcd:EF01:2345:6789", "ABCD:EF01:2345:6789:ABCD:EF01:2345:6789"},
                    TIP6{"2001:DB8:0:0:8:800:200C:417A", "2001:0DB8:0000:0000:0008:0800:200C:417A"},
                    TIP6{"2001:db8::8:800:200c:417a", "2001:0DB8:0000:0000:0008:0800:200C:417A"},
                    TIP6{"FF01::101", "FF01:0000:0000:0000:0000:0000:0000:0101"},
                    TIP6{"1:2:3:4:5:6:7::", "0001:0002:0003:0004:0005:0006:0007:0000"},
                    TIP6{"::2:3:4:5:6:7:8", "0000:0002:0003:0004:0005:0006:0007:0008"},
                    TIP6{"1::8", "0001:0000:0000:0000:0000:0000:0000:0008"},
                    TIP6{"1:2::7:8", "0001:0002:0000:0000:0000:0000:0007:0008"},
                    TIP6{"::13.1.68.3", "0000:0000:0000:0000:0000:0000:0D01:4403"},
                    TIP6{"::FFFF:129.144.52.38", "0000:0000:0000:0000:0000:FFFF:8190:3426"},
                    TIP6{"::ffff:192.168.0.99", "0000:0000:0000:0000:0000:FFFF:C0A8:0063"},
                    TIP6{"1:2:3:4:5:6:1.2.3.4", "0001:0002:0003:0004:0005:0006:0102:0304"},
                    TIP6{"1:2:3:4:5::255.255.255.255", "0001:0002:0003:0004:0005:0000:FFFF:FFFF"},
                    TIP6{"1::0.0.0.0", "0001:0000:0000:0000:0000:0000:0000:0000"}));

class TextNaIP6NeplatneTest : public testing::TestWithParam<std::string> {};

TEST_P(TextNaIP6NeplatneTest, RefusedAndTargetUnchanged)
{
    TPole16B ip;
    ip.fill(0xA5);
    TPole16B puvodni = ip;
    EXPECT_FALSE(TextNaIP6(GetParam(), ip)) << GetParam();
    EXPECT_EQ(ip, puvodni) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Tabulka, TextNaIP6NeplatneTest,
                         testing::Values("", ":", ":::", ":::1", "1:::", "1:::2", "::1::", "1::2::3", "1:2:3:4:5:6:7",
                                         "1:2:3:4:5:6:7:8:9", "1:2:3:4:5:6:7:8::", "::1:2:3:4:5:6:7:8",
                                         "1::2:3:4:5:6:7:8", "1:2:3:4:5:6:7:", ":1:2:3:4:5:6:7",
                                         "1:2:3:4:5:6:7:8:", ":1::", "12345::", "1:23456::", "g::", "::g",
                                         "0x1::", "1:-2::", "::+1", "1..2::",
                                         // zone index, brackets, prefix length, blanks
                                         "fe80::1%3", "fe80::1%eth0", "[::1]", "[fe80::1]:69", "::1/128", " ::1",
                                         "::1 ", "1: 2::",
                                         // the dotted tail
                                         "1.2.3.4", "::1.2.3", "::1.2.3.4.5", "::256.1.1.1", "::1.2.3.4:5", "::1.2.3.",
                                         "::.1.2.3", "::01.2.3.4", "::1.2.3.004", "::1.2.3.1234", "::1.2.3.-4",
                                         "::a.2.3.4", "::1.2.3.4.", "1:2:3:4:5:6:7:1.2.3.4", "1::2:3:4:5:6:7:1.2.3.4",
                                         "1.2.3.4::", "::1.2.3.4::", std::string("::1\0", 4), "::ř"));

// The C library's own parser reads the same text forms; over many random
// texts made of the characters that matter, the two must agree.
TEST(TextNaIP6, AgreesWithTheSystemParserOnRandomTexts)
{
    std::mt19937 gen(7316);
    const std::string abeceda = "0119afAF::::::..";
    int prijato = 0;
    for (int kolo = 0; kolo < 200000; ++kolo) {
        std::string text;
        const int delka = std::uniform_int_distribution<int>(0, 22)(gen);
        for (int i = 0; i < delka; ++i)
            text.push_back(abeceda[std::uniform_int_distribution<std::size_t>(0, abeceda.size() - 1)(gen)]);
        TPole16B nase{};
        std::uint8_t jejich[16] = {};
        const bool ok = TextNaIP6(text, nase);
        ASSERT_EQ(ok, inet_pton(AF_INET6, text.c_str(), jejich) == 1) << '"' << text << '"';
        if (ok) {
            ++prijato;
            for (int i = 0; i < 16; ++i)
                ASSERT_EQ(nase[i], jejich[i]) << '"' << text << '"';
        }
    }
    EXPECT_GT(prijato, 1000);  // the sample really exercised accepted forms
}

TEST(IP6NaText, FullGroupsUpperCase)
{
    TPole16B ip{};
    EXPECT_EQ(IP6NaText(ip), "0000:0000:0000:0000:0000:0000:0000:0000");
    ip = {0xFE, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x01};
    EXPECT_EQ(IP6NaText(ip), "FE80:0000:0000:0000:0000:0000:0000:0001");
    ip = {0x20, 0x01, 0x0d, 0xb8, 0xab, 0xcd, 0x00, 0x0f, 0xf0, 0x00, 0x12, 0x34, 0xff, 0xff, 0x0a, 0xbc};
    EXPECT_EQ(IP6NaText(ip), "2001:0DB8:ABCD:000F:F000:1234:FFFF:0ABC");
}

// ---- identity ------------------------------------------------------------------

struct TInfo {
    std::string text, typ, verze, vyrCislo;
};

class RozlozInfoTextTest : public testing::TestWithParam<TInfo> {};

TEST_P(RozlozInfoTextTest, Splits)
{
    std::string typ = "x", verze = "y", vyrCislo = "z";
    RozlozInfoText(GetParam().text, typ, verze, vyrCislo);
    EXPECT_EQ(typ, GetParam().typ) << GetParam().text;
    EXPECT_EQ(verze, GetParam().verze) << GetParam().text;
    EXPECT_EQ(vyrCislo, GetParam().vyrCislo) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Tabulka, RozlozInfoTextTest,
                         testing::Values(TInfo{"", "", "", ""}, TInfo{"VK-7316R", "VK-7316R", "", ""},
                                         TInfo{"VK-7316R (v.1.00.0012345)", "VK-7316R", "1.00", "0012345"},
                                         TInfo{"VK-7316R v.1.05.SN-7) trailing text", "VK-7316R", "1.05", "SN-7"},
                                         TInfo{"VK-7316R v.1.05.SN-7", "VK-7316R", "1.05", "SN-7"},
                                         TInfo{"VK-7316R v.1.0", "VK-7316R", "1.0", ""},
                                         TInfo{"VK-7316R v.1.001234", "VK-7316R", "1.00",
                                               ""},  // no "." after the version
                                         TInfo{"VK-7316R abc", "VK-7316R", "", ""},
                                         TInfo{"A  B.C", "A", "C", ""},  // the second blank is skipped in state 1
                                         TInfo{"X .1)2.3.S)T", "X", "1)2.", "S"},  // ")" ends only the serial number
                                         TInfo{"X ..a.b.c", "X", ".a.b", "c"},     // the version takes any 4 characters
                                         TInfo{"vk-7316r v.1.00.1", "vk-7316r", "1.00", "1"},
                                         // lengths count characters, not bytes
                                         TInfo{"Modul ž.ěščř.ý)", "Modul", "ěščř", "ý"}));

TEST(PodporovanyTyp, ExactTypeOnly)
{
    EXPECT_TRUE(PodporovanyTyp("VK-7316R"));
    for (const char* typ : {"vk-7316r", "VK-7316r", "VK-7316R ", " VK-7316R", "VK-7316", "VK-7316RX", ""})
        EXPECT_FALSE(PodporovanyTyp(typ)) << typ;
}

TEST(PodporovanaVerze, Version008OrStarting10)
{
    for (const char* verze : {"0.08", "1.00", "1.05", "1.09", "1.0", "1.0x"})
        EXPECT_TRUE(PodporovanaVerze("VK-7316R", verze)) << verze;
    for (const char* verze : {"0.07", "1.10", "0.080", "0.8", "1.", "1", "", " 1.00", "2.00"})
        EXPECT_FALSE(PodporovanaVerze("VK-7316R", verze)) << verze;
    EXPECT_FALSE(PodporovanaVerze("vk-7316r", "1.00"));
    EXPECT_FALSE(PodporovanaVerze("VK-7316", "0.08"));
}

}  // namespace
