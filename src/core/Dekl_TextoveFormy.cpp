// Text forms (TextoveFormy) of addresses and of the module identity.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Dekl.h"
#include "ZnakoveTexty.h"

namespace vk::core {

namespace {

// Is a separator (JeOddelovac) of IPv4 parts besides the ".".
bool JeOddelovacIP4(char c)
{
    const auto kod = static_cast<unsigned char>(c);
    return kod >= 1 && kod <= 32;
}

// Splits an IPv4 text into its parts (RozdelCasti). Blanks and control
// characters (codes 1 to 32) separate parts like a "." and are dropped around
// them; a part opened by a double quote runs to its closing quote (a doubled
// quote stands for one, an unclosed quote runs to the end of the text); a "."
// that is the very last character of the text adds an empty part (one
// followed by blanks does not). A zero byte is an ordinary character, so a
// text carrying one fails in the number conversion instead of being cut short
// there.
std::vector<std::string> RozdelCastiIP4(std::string_view text)
{
    std::vector<std::string> casti;
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && JeOddelovacIP4(text[i]))
        ++i;
    while (i < n) {
        std::string cast;
        if (text[i] == '"') {
            ++i;
            while (i < n) {
                if (text[i] == '"') {
                    if (i + 1 < n && text[i + 1] == '"') {
                        cast.push_back('"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                cast.push_back(text[i++]);
            }
        } else {
            while (i < n && !JeOddelovacIP4(text[i]) && text[i] != '.')
                cast.push_back(text[i++]);
        }
        casti.push_back(cast);
        while (i < n && JeOddelovacIP4(text[i]))
            ++i;
        if (i < n && text[i] == '.') {
            if (i + 1 == n)
                casti.emplace_back();
            ++i;
            while (i < n && JeOddelovacIP4(text[i]))
                ++i;
        }
    }
    return casti;
}

// Reads the dotted IPv4 tail (CtiIP4Konec) of an IPv6 text: exactly four
// decimal numbers 0 to 255. A number with a leading zero ("01") is refused,
// because elsewhere it is read as octal and would name another address.
bool CtiIP4Konec(std::string_view text, std::uint16_t& horni, std::uint16_t& dolni)
{
    std::uint8_t bajty[4] = {};
    std::size_t i = 0;
    for (int k = 0; k < 4; ++k) {
        if (k > 0) {
            if (i >= text.size() || text[i] != '.')
                return false;
            ++i;
        }
        const std::size_t zacatek = i;
        unsigned hodnota = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9' && i - zacatek < 3)
            hodnota = hodnota * 10 + static_cast<unsigned>(text[i++] - '0');
        const std::size_t cislic = i - zacatek;
        if (cislic == 0 || hodnota > 255 || (cislic > 1 && text[zacatek] == '0'))
            return false;
        bajty[k] = static_cast<std::uint8_t>(hodnota);
    }
    if (i != text.size())
        return false;
    horni = static_cast<std::uint16_t>((bajty[0] << 8) | bajty[1]);
    dolni = static_cast<std::uint16_t>((bajty[2] << 8) | bajty[3]);
    return true;
}

}  // namespace

// A hexadecimal literal without a sign may use all 32 bits and is taken as
// their two's-complement value (0xFFFFFFFF is -1), as the classic conversion
// does. With a "-" the magnitude is limited to 0x80000000, so "-0x10" is -16
// and no negative text wraps around to a positive value. The sign comes
// before the hexadecimal prefix: "$-1" is refused.
bool PrevedNaCislo(std::string_view text, std::int32_t& hodnota)
{
    std::size_t i = 0;
    const std::size_t n = text.size();
    bool zaporne = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        zaporne = text[i] == '-';
        ++i;
    }
    bool sestnactkove = false;
    if (i < n && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        sestnactkove = true;
        ++i;
    } else if (i + 1 < n && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        sestnactkove = true;
        i += 2;
    }
    if (i == n)
        return false;

    const std::uint64_t zaklad = sestnactkove ? 16 : 10;
    std::uint64_t mez = 0;
    if (sestnactkove)
        mez = zaporne ? 0x80000000u : 0xFFFFFFFFu;
    else
        mez = zaporne ? 2147483648u : 2147483647u;

    std::uint64_t velikost = 0;
    for (; i < n; ++i) {
        const int cislice = common::HexCislice(text[i]);
        if (cislice < 0 || static_cast<std::uint64_t>(cislice) >= zaklad)
            return false;
        velikost = velikost * zaklad + static_cast<std::uint64_t>(cislice);
        if (velikost > mez)
            return false;
    }
    const auto bity = static_cast<std::uint32_t>(zaporne ? (0u - velikost) : velikost);
    hodnota = static_cast<std::int32_t>(bity);
    return true;
}

// A part that converts but lies outside 0 to 255 fails the parse like one
// that does not convert: keeping only its low 8 bits would give the module
// an address its engineer never typed (10.1.2.300 as 10.1.2.44), which may
// make it unreachable. As with any failing part, those before it are kept.
bool TextNaIP4(std::string_view text, TAdresa4& ip)
{
    ip = {0, 0, 0, 0};
    const std::vector<std::string> casti = RozdelCastiIP4(text);
    if (casti.size() != 4)
        return false;
    for (std::size_t k = 0; k < 4; ++k) {
        std::int32_t hodnota = 0;
        if (!PrevedNaCislo(casti[k], hodnota) || hodnota < 0 || hodnota > 255)
            return false;
        ip[k] = static_cast<std::uint8_t>(hodnota);
    }
    return true;
}

std::string IP4NaText(const TAdresa4& ip)
{
    return std::to_string(ip[0]) + "." + std::to_string(ip[1]) + "." + std::to_string(ip[2]) + "." +
           std::to_string(ip[3]);
}

// Accepts the full form, one "::" for one or more zero groups (also at
// either end) and a dotted IPv4 tail for the last 32 bits; groups of 1 to 4
// hexadecimal digits in either case. Everything else (blanks, zone index,
// brackets, prefix length) is refused. `ip` changes only on success.
bool TextNaIP6(std::string_view text, TPole16B& ip)
{
    std::uint16_t skupiny[8] = {};
    int pocet = 0;
    int mezera = -1;  // number of groups before "::", -1 without one
    std::size_t i = 0;
    const std::size_t n = text.size();
    if (n == 0)
        return false;
    if (text.substr(0, 2) == "::") {
        mezera = 0;
        i = 2;
    } else if (text[0] == ':') {
        return false;
    }
    while (i < n) {
        std::size_t j = i;
        while (j < n && common::HexCislice(text[j]) >= 0)
            ++j;
        if (j < n && text[j] == '.') {
            if (pocet > 6 || !CtiIP4Konec(text.substr(i), skupiny[pocet], skupiny[pocet + 1]))
                return false;
            pocet += 2;
            break;
        }
        const std::size_t cislic = j - i;
        if (cislic == 0 || cislic > 4 || pocet == 8)
            return false;
        std::uint16_t skupina = 0;
        for (std::size_t k = i; k < j; ++k)
            skupina = static_cast<std::uint16_t>((skupina << 4) | common::HexCislice(text[k]));
        skupiny[pocet++] = skupina;
        i = j;
        if (i == n)
            break;
        if (text[i] != ':')
            return false;
        ++i;
        if (i < n && text[i] == ':') {
            if (mezera >= 0)
                return false;
            mezera = pocet;
            ++i;
        } else if (i == n) {
            return false;
        }
    }
    if (mezera < 0 ? pocet != 8 : pocet > 7)
        return false;

    std::uint16_t plne[8] = {};
    const int vlozeno = mezera < 0 ? 0 : 8 - pocet;
    for (int k = 0; k < pocet; ++k) {
        const int cil = (mezera >= 0 && k >= mezera) ? k + vlozeno : k;
        plne[cil] = skupiny[k];
    }
    for (std::size_t k = 0; k < 8; ++k) {
        ip[2 * k] = static_cast<std::uint8_t>(plne[k] >> 8);
        ip[2 * k + 1] = static_cast<std::uint8_t>(plne[k] & 0xFF);
    }
    return true;
}

std::string IP6NaText(const TPole16B& ip)
{
    static constexpr char cislice[] = "0123456789ABCDEF";
    std::string text;
    for (std::size_t k = 0; k < 16; ++k) {
        if (k > 0 && k % 2 == 0)
            text.push_back(':');
        text.push_back(cislice[ip[k] >> 4]);
        text.push_back(cislice[ip[k] & 0x0F]);
    }
    return text;
}

// The module reports its identity as the type, a blank, some text, a ".",
// four characters of version, some text, a "." and the serial number closed
// by ")"; whatever stands between the pieces is skipped.
void RozlozInfoText(std::string_view text, std::string& typ, std::string& verze, std::string& vyrCislo)
{
    typ.clear();
    verze.clear();
    vyrCislo.clear();
    int stav = 0;
    std::size_t znakuVerze = 0;
    for (char32_t znak : vk::common::ZnakyTextu(text)) {
        switch (stav) {
        case 0:
            if (znak == U' ')
                stav = 1;
            else
                vk::common::PridejZnak(typ, znak);
            break;
        case 1:
            if (znak == U'.')
                stav = 2;
            break;
        case 2:
            vk::common::PridejZnak(verze, znak);
            if (++znakuVerze == 4)
                stav = 3;
            break;
        case 3:
            if (znak == U'.')
                stav = 4;
            break;
        default:
            if (znak == U')')
                return;
            vk::common::PridejZnak(vyrCislo, znak);
            break;
        }
    }
}

bool PodporovanyTyp(std::string_view typ)
{
    return typ == "VK-7316R";
}

bool PodporovanaVerze(std::string_view typ, std::string_view verze)
{
    return PodporovanyTyp(typ) && (verze == "0.08" || verze.starts_with("1.0"));
}

}  // namespace vk::core
