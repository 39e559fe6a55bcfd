#include "Json.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace vk::cli {

namespace {

// Length of the valid UTF-8 sequence at s[i], or 0 when the byte there does
// not start one (overlong forms, surrogates and code points above U+10FFFF
// count as invalid).
std::size_t DelkaUtf8(std::string_view s, std::size_t i)
{
    const auto b0 = static_cast<unsigned char>(s[i]);
    std::size_t n = 0;
    char32_t cp = 0;
    if (b0 < 0x80) return 1;
    if ((b0 & 0xE0) == 0xC0) {
        n = 2;
        cp = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        n = 3;
        cp = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        n = 4;
        cp = b0 & 0x07;
    } else {
        return 0;
    }
    if (i + n > s.size()) return 0;
    for (std::size_t k = 1; k < n; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    static constexpr char32_t nejmensi[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < nejmensi[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return n;
}

void PridejUnicode(std::string& s, unsigned kod)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "\\u%04X", kod);
    s += buf;
}

void PridejHodnotu(const THodnota& h, std::string& s);

void PridejObjekt(const TPolozky& polozky, std::string& s)
{
    s += '{';
    for (std::size_t i = 0; i < polozky.size(); ++i) {
        if (i > 0) s += ',';
        s += JsonRetezec(polozky[i].Nazev);
        s += ':';
        PridejHodnotu(polozky[i].Hodnota, s);
    }
    s += '}';
}

void PridejHodnotu(const THodnota& h, std::string& s)
{
    switch (h.Druh) {
    case THodnota::TDruh::Cislo:
        s += h.Text;
        return;
    case THodnota::TDruh::Realne:
        // JSON has no infinities (a float field of the module may hold one).
        s += std::isfinite(h.Realne) ? h.Text : std::string("null");
        return;
    case THodnota::TDruh::Retezec:
        s += JsonRetezec(h.Text);
        return;
    case THodnota::TDruh::Pole:
        s += '[';
        for (std::size_t i = 0; i < h.Prvky.size(); ++i) {
            if (i > 0) s += ',';
            PridejHodnotu(h.Prvky[i], s);
        }
        s += ']';
        return;
    case THodnota::TDruh::Objekt:
        PridejObjekt(h.Polozky, s);
        return;
    }
}

}  // namespace

std::string JsonRetezec(std::string_view utf8)
{
    std::string s = "\"";
    for (std::size_t i = 0; i < utf8.size();) {
        const char c = utf8[i];
        const auto b = static_cast<unsigned char>(c);
        const std::size_t n = DelkaUtf8(utf8, i);
        if (n == 0) {
            PridejUnicode(s, b);
            i += 1;
            continue;
        }
        // C1 controls (U+0080 to U+009F, C2 80 to C2 9F) are valid in JSON
        // strings, but a terminal showing the output would obey them.
        if (n == 2 && b == 0xC2 && static_cast<unsigned char>(utf8[i + 1]) < 0xA0) {
            PridejUnicode(s, static_cast<unsigned char>(utf8[i + 1]));
            i += 2;
            continue;
        }
        if (n > 1) {
            s.append(utf8.substr(i, n));
            i += n;
            continue;
        }
        switch (c) {
        case '"': s += "\\\""; break;
        case '\\': s += "\\\\"; break;
        case '\b': s += "\\b"; break;
        case '\f': s += "\\f"; break;
        case '\n': s += "\\n"; break;
        case '\r': s += "\\r"; break;
        case '\t': s += "\\t"; break;
        default:
            if (b < 0x20 || b == 0x7F) {
                PridejUnicode(s, b);
            } else {
                s += c;
            }
        }
        i += 1;
    }
    s += '"';
    return s;
}

std::string JsonObjekt(const TPolozky& polozky)
{
    std::string s;
    PridejObjekt(polozky, s);
    return s;
}

}  // namespace vk::cli
