#include "PopisOblasti.h"

#include <algorithm>

#include "ZnakoveTexty.h"

namespace vk::formy {

bool CisloVRozsahu(std::string_view text, std::int64_t min, std::int64_t max, std::int64_t& hodnota)
{
    std::int32_t v = 0;
    if (!core::PrevedNaCislo(text, v) || v < min || v > max)
        return false;
    hodnota = v;
    return true;
}

namespace detail {

bool RozlozKlic(std::string_view klic, std::string& nazev, std::size_t& index)
{
    index = std::string::npos;
    const auto zavorka = klic.find('[');
    if (zavorka == std::string_view::npos) {
        nazev = std::string(klic);
        return !nazev.empty();
    }
    if (klic.back() != ']' || zavorka + 2 >= klic.size())
        return false;
    const std::string_view cislo = klic.substr(zavorka + 1, klic.size() - zavorka - 2);
    if (!std::all_of(cislo.begin(), cislo.end(), [](char c) { return c >= '0' && c <= '9'; }) || cislo.size() > 3) {
        return false;
    }
    index = std::stoul(std::string(cislo));
    nazev = std::string(klic.substr(0, zavorka));
    return !nazev.empty();
}

std::vector<std::string> RozdelCarkami(std::string_view text)
{
    std::vector<std::string> casti;
    std::size_t zacatek = 0;
    while (true) {
        const auto carka = text.find(',', zacatek);
        casti.emplace_back(text.substr(zacatek, carka == std::string_view::npos ? carka : carka - zacatek));
        if (carka == std::string_view::npos)
            return casti;
        zacatek = carka + 1;
    }
}

std::string ZpravaPole(std::string_view soubor, std::string_view klic, std::string_view hodnota, std::string_view chyba,
                       std::string_view rozsah)
{
    return std::string(soubor) + ": " + std::string(klic) + "=\"" + EscapujText(hodnota) + "\": " + std::string(chyba) +
           " (" + std::string(rozsah) + ")";
}

}  // namespace detail

}  // namespace vk::formy
