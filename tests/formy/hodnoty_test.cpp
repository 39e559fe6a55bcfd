// The tool's text forms of a device text, called directly: what of a
// module's texts reaches the user's terminal.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "Hodnoty.h"
#include "Json.h"
#include "ZnakoveTexty.h"

using namespace vk::formy;

namespace {

// Every control character, C0, DEL and C1, comes out as an escape in both
// outputs; the printable neighbours of C1 (U+00A0, U+00E9) stay as they are.
TEST(cli_Hodnoty, RidiciZnakyC0AC1JsouEscapovane)
{
    const std::uint8_t bajty[] = {'a', 0x1B, '[', 0x7F, 0x80, 0x9B, 0x9F, 0xA0, 0xE9, '\\'};
    const std::string text = vk::common::BajtyNaText(bajty, sizeof bajty);
    EXPECT_EQ(EscapujText(text), "a\\x1B[\\x7F\\x80\\x9B\\x9F\xC2\xA0\xC3\xA9\\\\");
    EXPECT_EQ(JsonRetezec(text), "\"a\\u001B[\\u007F\\u0080\\u009B\\u009F\xC2\xA0\xC3\xA9\\\\\"");
    std::string zpet;
    ASSERT_TRUE(OdescapujText(EscapujText(text), zpet));
    EXPECT_EQ(zpet, text);

    // A lone byte that is not UTF-8 stands for the character of its value,
    // so a raw 0x9B cannot reach the terminal either.
    EXPECT_EQ(EscapujText("\x9B"
                          "1m\xE9"),
              "\\x9B1m\xC3\xA9");
}

}  // namespace
