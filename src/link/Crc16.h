#pragma once
// CRC-16/MODBUS: reflected polynomial 0xA001, initial value 0xFFFF, no final
// XOR; check value 0x4B37 for "123456789". Sent low byte first.
#include <cstddef>
#include <cstdint>

namespace vk::link {

std::uint16_t Crc16Modbus(const std::uint8_t* data, std::size_t pocet);

}  // namespace vk::link
