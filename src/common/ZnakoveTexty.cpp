#include "ZnakoveTexty.h"

namespace vk::common {

namespace {

// Decodes one UTF-8 sequence at text[i]; returns its length, or 0 when the
// bytes there are not a valid, shortest-form sequence.
std::size_t DekodujZnak(std::string_view text, std::size_t i, char32_t& znak)
{
    const auto b0 = static_cast<unsigned char>(text[i]);
    std::size_t delka = 0;
    char32_t hodnota = 0;
    if (b0 < 0x80) {
        znak = b0;
        return 1;
    }
    if ((b0 & 0xE0) == 0xC0) {
        delka = 2;
        hodnota = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        delka = 3;
        hodnota = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        delka = 4;
        hodnota = b0 & 0x07;
    } else {
        return 0;
    }
    if (i + delka > text.size())
        return 0;
    for (std::size_t k = 1; k < delka; ++k) {
        const auto b = static_cast<unsigned char>(text[i + k]);
        if ((b & 0xC0) != 0x80)
            return 0;
        hodnota = (hodnota << 6) | (b & 0x3F);
    }
    static constexpr char32_t nejmensi[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (hodnota < nejmensi[delka] || hodnota > 0x10FFFF || (hodnota >= 0xD800 && hodnota <= 0xDFFF))
        return 0;
    znak = hodnota;
    return delka;
}

}  // namespace

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
        char32_t znak = 0;
        const std::size_t delka = DekodujZnak(text, i, znak);
        if (delka == 0) {
            znaky.push_back(static_cast<unsigned char>(text[i]));
            ++i;
        } else {
            znaky.push_back(znak);
            i += delka;
        }
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
        char32_t znak = 0;
        const std::size_t delka = DekodujZnak(text, i, znak);
        if (delka == 0)
            return false;
        i += delka;
    }
    return true;
}

std::size_t PocetZnaku(std::string_view text)
{
    return ZnakyTextu(text).size();
}

}  // namespace vk::common
