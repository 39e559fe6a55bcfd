#include "ZnakoveTexty.h"

namespace vk::common {

TZnakUtf8 CtiZnak(std::string_view text, std::size_t i)
{
    const auto b0 = static_cast<unsigned char>(text[i]);
    TZnakUtf8 z{b0, 1, b0 < 0x80};
    std::size_t delka = 0;
    char32_t hodnota = 0;
    // The second byte's range is narrower after four lead bytes; that is what
    // rules out overlong forms, surrogates and code points above U+10FFFF.
    unsigned char od = 0x80;
    unsigned char po = 0xBF;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        delka = 2;
        hodnota = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        delka = 3;
        hodnota = b0 & 0x0F;
        od = b0 == 0xE0 ? 0xA0 : od;
        po = b0 == 0xED ? 0x9F : po;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        delka = 4;
        hodnota = b0 & 0x07;
        od = b0 == 0xF0 ? 0x90 : od;
        po = b0 == 0xF4 ? 0x8F : po;
    } else {
        return z;  // ASCII, or a byte no valid sequence begins with
    }
    for (std::size_t k = 1; k < delka; ++k) {
        const auto b = i + k < text.size() ? static_cast<unsigned char>(text[i + k]) : 0;
        if (b < (k == 1 ? od : 0x80) || b > (k == 1 ? po : 0xBF)) {
            z.Delka = k;
            return z;
        }
        hodnota = (hodnota << 6) | (b & 0x3F);
    }
    return {hodnota, delka, true};
}

void PridejZnak(std::string& text, char32_t znak)
{
    if (znak < 0x80) {
        text.push_back(static_cast<char>(znak));
    } else if (znak < 0x800) {
        text.push_back(static_cast<char>(0xC0 | (znak >> 6)));
        text.push_back(static_cast<char>(0x80 | (znak & 0x3F)));
    } else if (znak < 0x10000) {
        text.push_back(static_cast<char>(0xE0 | (znak >> 12)));
        text.push_back(static_cast<char>(0x80 | ((znak >> 6) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | (znak & 0x3F)));
    } else {
        text.push_back(static_cast<char>(0xF0 | (znak >> 18)));
        text.push_back(static_cast<char>(0x80 | ((znak >> 12) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | ((znak >> 6) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | (znak & 0x3F)));
    }
}

std::string BajtyNaText(const std::uint8_t* bajty, std::size_t pocet)
{
    std::string text;
    text.reserve(pocet);
    for (std::size_t i = 0; i < pocet; ++i)
        PridejZnak(text, bajty[i]);
    return text;
}

std::vector<char32_t> ZnakyTextu(std::string_view text)
{
    std::vector<char32_t> znaky;
    znaky.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        // A broken sequence byte by byte, each byte its own character.
        const TZnakUtf8 z = CtiZnak(text, i);
        znaky.push_back(z.Znak);
        i += z.Platny ? z.Delka : 1;
    }
    return znaky;
}

std::vector<std::uint8_t> TextNaBajty(std::string_view text)
{
    std::vector<std::uint8_t> bajty;
    for (char32_t znak : ZnakyTextu(text))
        bajty.push_back(static_cast<std::uint8_t>(znak & 0xFF));
    return bajty;
}

bool JePlatneUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const TZnakUtf8 z = CtiZnak(text, i);
        if (!z.Platny)
            return false;
        i += z.Delka;
    }
    return true;
}

std::size_t PocetZnaku(std::string_view text)
{
    return ZnakyTextu(text).size();
}

int HexCislice(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}  // namespace vk::common
