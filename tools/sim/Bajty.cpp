#include "Bajty.h"

#include <cstring>

namespace vk::sim {

void Zapis16(TBajty& b, std::size_t offset, std::uint16_t hodnota)
{
    if (b.size() < offset + 2)
        b.resize(offset + 2);
    b[offset] = static_cast<std::uint8_t>(hodnota & 0xFF);
    b[offset + 1] = static_cast<std::uint8_t>(hodnota >> 8);
}

void Zapis32(TBajty& b, std::size_t offset, std::uint32_t hodnota)
{
    if (b.size() < offset + 4)
        b.resize(offset + 4);
    for (std::size_t i = 0; i < 4; ++i)
        b[offset + i] = static_cast<std::uint8_t>((hodnota >> (8 * i)) & 0xFF);
}

void ZapisFloat(TBajty& b, std::size_t offset, float hodnota)
{
    static_assert(sizeof(float) == 4);
    std::uint32_t bity = 0;
    std::memcpy(&bity, &hodnota, 4);
    Zapis32(b, offset, bity);
}

void ZapisText(TBajty& b, std::size_t offset, std::size_t sirka, std::string_view text)
{
    if (b.size() < offset + sirka)
        b.resize(offset + sirka);
    for (std::size_t i = 0; i < sirka; ++i)
        b[offset + i] = i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0;
}

std::uint16_t Cti16(const TBajty& b, std::size_t offset)
{
    if (b.size() < offset + 2)
        return 0;
    return static_cast<std::uint16_t>(b[offset] | (b[offset + 1] << 8));
}

std::uint32_t Cti32(const TBajty& b, std::size_t offset)
{
    if (b.size() < offset + 4)
        return 0;
    std::uint32_t hodnota = 0;
    for (std::size_t i = 0; i < 4; ++i)
        hodnota |= static_cast<std::uint32_t>(b[offset + i]) << (8 * i);
    return hodnota;
}

std::uint8_t KontrolniBajt(const std::uint8_t* data, std::size_t pocet)
{
    std::uint8_t soucet = 0;
    for (std::size_t i = 0; i < pocet; ++i)
        soucet = static_cast<std::uint8_t>(soucet + data[i]);
    return static_cast<std::uint8_t>(0x100 - soucet);
}

void DoplnKontrolniBajt(TBajty& b)
{
    if (!b.empty())
        b.back() = KontrolniBajt(b.data(), b.size() - 1);
}

bool SouctemNula(const TBajty& b)
{
    std::uint8_t soucet = 0;
    for (const std::uint8_t x : b)
        soucet = static_cast<std::uint8_t>(soucet + x);
    return !b.empty() && soucet == 0;
}

}  // namespace vk::sim
