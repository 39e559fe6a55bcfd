#include "Crc16.h"

namespace vk::link {

std::uint16_t Crc16Modbus(const std::uint8_t* data, std::size_t pocet)
{
    std::uint16_t crc = 0xFFFF;
    for (std::size_t i = 0; i < pocet; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001) : static_cast<std::uint16_t>(crc >> 1);
    }
    return crc;
}

}  // namespace vk::link
