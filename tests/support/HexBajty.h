#pragma once
// Bytes written in hex for the tests of every layer, the CRC a serial frame
// ends in, and runs of counting bytes.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace vk::test {

using Bajty = std::vector<std::uint8_t>;  // bytes

// "C0 a8 00" -> {0xC0, 0xA8, 0x00}; blanks are ignored.
Bajty Hex(std::string_view text);

// The frame followed by its CRC-16/MODBUS, low byte first, computed by the
// tests' own function.
Bajty SCrc(Bajty ramec);

// n bytes counting up from `od`, wrapping at 256.
Bajty Rada(std::size_t n, std::uint8_t od = 0);

}  // namespace vk::test
