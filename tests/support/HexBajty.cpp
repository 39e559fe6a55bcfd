#include "HexBajty.h"

#include <stdexcept>

#include "Crc16.h"

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
    const std::uint16_t crc = vk::link::Crc16Modbus(ramec.data(), ramec.size());
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
