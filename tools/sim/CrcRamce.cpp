#include "CrcRamce.h"

namespace vk::sim {

// A shift register fed one data bit at a time in the order the line sends
// them, least significant bit first: it moves one place towards its low end,
// and the generator (8005 with its bits reversed, A001) is added whenever the
// bit that leaves it differs from the bit that comes in.
std::uint16_t CrcRamce(const std::uint8_t* data, std::size_t pocet)
{
    std::uint16_t registr = 0xFFFF;
    for (std::size_t i = 0; i < pocet; ++i) {
        for (unsigned bit = 0; bit < 8; ++bit) {
            const bool prichozi = ((data[i] >> bit) & 1u) != 0;
            const bool odchozi = (registr & 1u) != 0;
            registr = static_cast<std::uint16_t>(registr >> 1);
            if (prichozi != odchozi)
                registr = static_cast<std::uint16_t>(registr ^ 0xA001);
        }
    }
    return registr;
}

}  // namespace vk::sim
