#pragma once
// The CRC that ends every serial frame (CrcRamce = CRC of a frame). The
// simulator computes it on its own rather than with the client's function,
// so that a fault in the client's CRC makes the simulated module stay silent
// instead of agreeing with it.
#include <cstddef>
#include <cstdint>

namespace vk::sim {

// CRC-16/MODBUS of `pocet` bytes (start value FFFF, no final XOR; "123456789"
// gives 4B37). The frame carries it low byte first.
std::uint16_t CrcRamce(const std::uint8_t* data, std::size_t pocet);

}  // namespace vk::sim
