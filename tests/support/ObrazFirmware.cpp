#include "ObrazFirmware.h"

#include <fstream>

namespace vk::test {

Bajty ObrazFirmware(std::size_t delka, const std::string& nazev)
{
    Bajty b = Rada(delka < 64 ? 64 : delka, 0x5A);
    for (int i = 0; i < 4; ++i)
        b[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(delka >> (8 * i));
    const Bajty cas = Hex("07 05 09 18 0B 17");
    for (std::size_t i = 0; i < cas.size(); ++i)
        b[20 + i] = cas[i];
    for (std::size_t i = 0; i < 38; ++i)
        b[26 + i] = i < nazev.size() ? static_cast<std::uint8_t>(nazev[i]) : 0;
    return b;
}

bool UlozBajty(const std::string& cesta, const Bajty& bajty)
{
    std::ofstream f(cesta, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bajty.data()), static_cast<std::streamsize>(bajty.size()));
    return static_cast<bool>(f);
}

}  // namespace vk::test
