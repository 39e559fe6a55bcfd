#include "HexBajty.h"

#include <stdexcept>

namespace vk::test {

namespace {

int Cislice(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    throw std::invalid_argument("not a hex digit in a test table");
}

std::uint16_t Obraceny(std::uint16_t v, int bitu)  // the lowest `bitu` bits in reverse order
{
    std::uint16_t r = 0;
    for (int i = 0; i < bitu; ++i)
        r = static_cast<std::uint16_t>(r | (((v >> i) & 1u) << (bitu - 1 - i)));
    return r;
}

// CRC-16/MODBUS in its unreflected form: generator 8005 shifted in from the
// high end over bit-reversed bytes, the register reversed at the end. The
// product and the simulator compute it the reflected way, each on its own,
// so a slip in one of the three does not repeat in another.
std::uint16_t Crc(const Bajty& ramec)
{
    std::uint16_t registr = 0xFFFF;
    for (std::uint8_t b : ramec) {
        registr = static_cast<std::uint16_t>(registr ^ (Obraceny(b, 8) << 8));
        for (int bit = 0; bit < 8; ++bit)
            registr = (registr & 0x8000) ? static_cast<std::uint16_t>((registr << 1) ^ 0x8005)
                                         : static_cast<std::uint16_t>(registr << 1);
    }
    return Obraceny(registr, 16);
}

}  // namespace

Bajty Hex(std::string_view text)
{
    Bajty b;
    int horni = -1;
    for (char c : text) {
        if (c == ' ')
            continue;
        const int d = Cislice(c);
        if (horni < 0) {
            horni = d;
        } else {
            b.push_back(static_cast<std::uint8_t>(horni * 16 + d));
            horni = -1;
        }
    }
    if (horni >= 0)
        throw std::invalid_argument("odd number of hex digits in a test table");
    return b;
}

Bajty SCrc(Bajty ramec)
{
    const std::uint16_t crc = Crc(ramec);
    ramec.push_back(static_cast<std::uint8_t>(crc));
    ramec.push_back(static_cast<std::uint8_t>(crc >> 8));
    return ramec;
}

Bajty Rada(std::size_t n, std::uint8_t od)
{
    Bajty b(n);
    for (std::size_t i = 0; i < n; ++i)
        b[i] = static_cast<std::uint8_t>(od + i);
    return b;
}

}  // namespace vk::test
