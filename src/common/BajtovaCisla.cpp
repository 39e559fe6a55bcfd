#include "BajtovaCisla.h"

namespace vk::common {

std::uint16_t Cti16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t Cti32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint8_t KontrolniBajt(const std::uint8_t* bajty, std::size_t pocet)
{
    std::uint8_t soucet = 0;
    for (std::size_t i = 0; i < pocet; ++i)
        soucet = static_cast<std::uint8_t>(soucet + bajty[i]);
    return static_cast<std::uint8_t>(-soucet);
}

}  // namespace vk::common
