#pragma once
// Bytes written in hex for the device tests, and the CRC a serial frame ends in.
#include <cstdint>
#include <string_view>
#include <vector>

namespace vk::test {

using Bajty = std::vector<std::uint8_t>;  // bytes

// "C0 a8 00" -> {0xC0, 0xA8, 0x00}; blanks are ignored.
Bajty Hex(std::string_view text);

// The frame followed by its CRC-16/MODBUS, low byte first.
Bajty SCrc(Bajty ramec);

}  // namespace vk::test
