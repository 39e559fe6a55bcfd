#include "Hodnoty.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "BajtovaCisla.h"
#include "ZnakoveTexty.h"

namespace vk::formy {

THodnota Cislo(std::uint64_t n)
{
    THodnota h;
    h.Druh = THodnota::TDruh::Cislo;
    h.Text = std::to_string(n);
    return h;
}

THodnota Realne(double x)
{
    THodnota h;
    h.Druh = THodnota::TDruh::Realne;
    h.Realne = x;
    if (std::isfinite(x)) {
        char buf[64];
        // The module's numbers are single-precision floats widened to double;
        // their shortest float form (40.001347, not 40.001346588134766) is
        // the value the module holds.
        const auto f = static_cast<float>(x);
        auto [konec, ec] = static_cast<double>(f) == x ? std::to_chars(buf, buf + sizeof buf, f)
                                                       : std::to_chars(buf, buf + sizeof buf, x);
        h.Text = ec == std::errc{} ? std::string(buf, konec) : std::string("0");
    } else {
        h.Text = std::isnan(x) ? "nan" : (x > 0 ? "inf" : "-inf");
    }
    return h;
}

THodnota Retezec(std::string text)
{
    THodnota h;
    h.Druh = THodnota::TDruh::Retezec;
    h.Text = std::move(text);
    return h;
}

THodnota Pole(std::vector<THodnota> prvky)
{
    THodnota h;
    h.Druh = THodnota::TDruh::Pole;
    h.Prvky = std::move(prvky);
    return h;
}

THodnota Objekt(TPolozky polozky)
{
    THodnota h;
    h.Druh = THodnota::TDruh::Objekt;
    h.Polozky = std::move(polozky);
    return h;
}

std::string NaHex(const std::uint8_t* bajty, std::size_t pocet)
{
    static constexpr char cifry[] = "0123456789abcdef";
    std::string s;
    s.reserve(2 * pocet);
    for (std::size_t i = 0; i < pocet; ++i) {
        s += cifry[bajty[i] >> 4];
        s += cifry[bajty[i] & 0x0F];
    }
    return s;
}

bool ZHexu(std::string_view text, std::uint8_t* bajty, std::size_t pocet)
{
    if (text.size() != 2 * pocet)
        return false;
    for (std::size_t i = 0; i < pocet; ++i) {
        const int h = common::HexCislice(text[2 * i]);
        const int l = common::HexCislice(text[2 * i + 1]);
        if (h < 0 || l < 0)
            return false;
        bajty[i] = static_cast<std::uint8_t>(h * 16 + l);
    }
    return true;
}

std::string TextRTC(const std::uint8_t* rtc8)
{
    const unsigned ms = common::Cti16(rtc8);
    char buf[48];
    std::snprintf(buf, sizeof buf, "%04u-%02u-%02u %02u:%02u:%02u.%03u", 2000u + rtc8[7], unsigned{rtc8[6]},
                  unsigned{rtc8[5]}, unsigned{rtc8[4]}, unsigned{rtc8[3]}, unsigned{rtc8[2]}, ms);
    return buf;
}

std::string TextMAC(const std::uint8_t* mac6)
{
    char buf[24];
    std::snprintf(buf, sizeof buf, "%02X:%02X:%02X:%02X:%02X:%02X", mac6[0], mac6[1], mac6[2], mac6[3], mac6[4],
                  mac6[5]);
    return buf;
}

std::string EscapujText(std::string_view utf8)
{
    std::string s;
    s.reserve(utf8.size());
    // By code point, not by byte: a device byte 0x9B arrives as U+009B (C2 9B
    // in UTF-8), which a terminal takes for CSI just as it takes ESC [.
    for (const char32_t znak : common::ZnakyTextu(utf8)) {
        if (znak == U'\\') {
            s += "\\\\";
        } else if (znak < 0x20 || (znak >= 0x7F && znak <= 0x9F)) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", static_cast<unsigned>(znak));
            s += buf;
        } else {
            common::PridejZnak(s, znak);
        }
    }
    return s;
}

bool OdescapujText(std::string_view text, std::string& utf8)
{
    utf8.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            utf8 += text[i];
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '\\') {
            utf8 += '\\';
            i += 1;
            continue;
        }
        if (i + 3 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
            const int h = common::HexCislice(text[i + 2]);
            const int l = common::HexCislice(text[i + 3]);
            if (h >= 0 && l >= 0) {
                // \xNN stands for the character of that code, as a device
                // text holds it (one character per byte).
                common::PridejZnak(utf8, static_cast<char32_t>(h * 16 + l));
                i += 3;
                continue;
            }
        }
        return false;
    }
    return true;
}

namespace {

std::string ProstyPrvek(const THodnota& h);

void VypisPolozky(const TPolozky& polozky, const std::string& predpona, std::string& vystup)
{
    for (const TPolozka& p : polozky) {
        if (p.Hodnota.Druh == THodnota::TDruh::Objekt) {
            VypisPolozky(p.Hodnota.Polozky, predpona + p.Nazev + ".", vystup);
            continue;
        }
        vystup += predpona + p.Nazev + "=" + ProstyPrvek(p.Hodnota) + "\n";
    }
}

std::string ProstyPrvek(const THodnota& h)
{
    switch (h.Druh) {
    case THodnota::TDruh::Cislo:
    case THodnota::TDruh::Realne:
        return h.Text;
    case THodnota::TDruh::Retezec:
        return EscapujText(h.Text);
    case THodnota::TDruh::Pole: {
        std::string s;
        for (std::size_t i = 0; i < h.Prvky.size(); ++i) {
            if (i > 0)
                s += ",";
            s += ProstyPrvek(h.Prvky[i]);
        }
        return s;
    }
    case THodnota::TDruh::Objekt: {
        std::string s;
        VypisPolozky(h.Polozky, "", s);
        return s;
    }
    }
    return {};
}

}  // namespace

std::string VypisProsty(const TPolozky& polozky)
{
    std::string s;
    VypisPolozky(polozky, "", s);
    return s;
}

}  // namespace vk::formy
