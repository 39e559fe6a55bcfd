// The program's one UTF-8 decoder, byte sequence by byte sequence: what is
// a character, and how many bytes a broken sequence takes, so that nothing
// valid after it is lost.
#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>

#include "HexBajty.h"
#include "ZnakoveTexty.h"

using vk::common::CtiZnak;
using vk::common::TZnakUtf8;

namespace {

struct TPripad {
    const char* popis;
    const char* hex;  // the text from the character on
    char32_t znak;
    std::size_t delka;
    bool platny;
};

void PrintTo(const TPripad& p, std::ostream* os)
{
    *os << p.popis;
}

class Utf8Znak : public ::testing::TestWithParam<TPripad> {};

TEST_P(Utf8Znak, DelkaAHodnota)
{
    const vk::test::Bajty b = vk::test::Hex(GetParam().hex);
    const TZnakUtf8 z = CtiZnak(std::string(b.begin(), b.end()), 0);
    EXPECT_EQ(z.Znak, GetParam().znak);
    EXPECT_EQ(z.Delka, GetParam().delka);
    EXPECT_EQ(z.Platny, GetParam().platny);
}

INSTANTIATE_TEST_SUITE_P(Tabulka, Utf8Znak,
                         ::testing::Values(TPripad{"ascii", "41 42", U'A', 1, true},
                                           TPripad{"two bytes", "C3 A9 41", 0xE9, 2, true},
                                           TPripad{"three bytes", "E2 82 AC", 0x20AC, 3, true},
                                           TPripad{"four bytes", "F0 9F 98 80", 0x1F600, 4, true},
                                           TPripad{"highest code point", "F4 8F BF BF", 0x10FFFF, 4, true},
                                           TPripad{"stray continuation byte", "80 41", 0x80, 1, false},
                                           TPripad{"overlong lead C0", "C0 80", 0xC0, 1, false},
                                           TPripad{"lead F7 before a line end", "F7 0D 0A 0D", 0xF7, 1, false},
                                           TPripad{"lead FF", "FF BF", 0xFF, 1, false},
                                           TPripad{"cut short before ASCII", "E2 82 41", 0xE2, 2, false},
                                           TPripad{"cut short by the end", "F0 9F 98", 0xF0, 3, false},
                                           TPripad{"lead alone at the end", "C3", 0xC3, 1, false},
                                           TPripad{"overlong three bytes", "E0 80 80", 0xE0, 1, false},
                                           TPripad{"surrogate", "ED A0 80", 0xED, 1, false},
                                           TPripad{"above U+10FFFF", "F4 90 80 80", 0xF4, 1, false}),
                         [](const auto& info) {
                             std::string n = info.param.popis;
                             for (char& c : n)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return n;
                         });

}  // namespace
