#include "Json.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

#include "ZnakoveTexty.h"

namespace vk::formy {

namespace {

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
        if (i > 0)
            s += ',';
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
            if (i > 0)
                s += ',';
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
        const common::TZnakUtf8 z = common::CtiZnak(utf8, i);
        if (!z.Platny) {
            PridejUnicode(s, b);
            i += 1;
            continue;
        }
        // C1 controls (U+0080 to U+009F) are valid in JSON strings, but a
        // terminal showing the output would obey them.
        if (z.Znak >= 0x80 && z.Znak <= 0x9F) {
            PridejUnicode(s, static_cast<unsigned>(z.Znak));
            i += z.Delka;
            continue;
        }
        if (z.Delka > 1) {
            s.append(utf8.substr(i, z.Delka));
            i += z.Delka;
            continue;
        }
        switch (c) {
        case '"':
            s += "\\\"";
            break;
        case '\\':
            s += "\\\\";
            break;
        case '\b':
            s += "\\b";
            break;
        case '\f':
            s += "\\f";
            break;
        case '\n':
            s += "\\n";
            break;
        case '\r':
            s += "\\r";
            break;
        case '\t':
            s += "\\t";
            break;
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

}  // namespace vk::formy
