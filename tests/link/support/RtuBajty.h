#pragma once
// Byte helpers for the serial link tests: frames written in hex, CRC added.
#include <cstdint>
#include <string_view>
#include <vector>

namespace vk::test {

using Bajty = std::vector<std::uint8_t>;  // bytes

// "01 43 fe" -> {0x01, 0x43, 0xFE}; blanks are ignored.
Bajty Hex(std::string_view text);

// The bytes followed by their CRC-16/MODBUS, low byte first.
Bajty SCrc(Bajty ramec);

// n bytes counting up from `od`, wrapping at 256.
Bajty Rada(std::size_t n, std::uint8_t od = 0);

}  // namespace vk::test
