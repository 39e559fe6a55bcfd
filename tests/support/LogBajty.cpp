#include "LogBajty.h"

namespace vk::test {

Bajty ZaznamLogu(std::uint8_t kod, std::uint8_t min)
{
    Bajty z(64, 0);
    z[0] = kod;
    z[7] = min;
    z[8] = 14;   // hour
    z[9] = 5;    // day
    z[10] = 3;   // month
    z[11] = 23;  // year - 2000
    return z;
}

Bajty SouborLogu(std::uint32_t pocet, std::uint32_t kapacita, std::initializer_list<Bajty> zaznamy)
{
    Bajty b(64, 0);
    b[0] = 0x4C;  // "LG", header version 2
    b[1] = 0x47;
    b[2] = 0x02;
    for (int i = 0; i < 4; ++i) {
        b[8 + i] = static_cast<std::uint8_t>(pocet >> (8 * i));
        b[28 + i] = static_cast<std::uint8_t>(kapacita >> (8 * i));
    }
    for (const Bajty& z : zaznamy)
        b.insert(b.end(), z.begin(), z.end());
    return b;
}

}  // namespace vk::test
