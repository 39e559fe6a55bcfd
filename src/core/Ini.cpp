#include "Ini.h"

#include "Soubory.h"
#include "Win1250.h"
#include "ZnakoveTexty.h"

namespace vk::core {

namespace {

constexpr std::string_view znakyMezery = " \t";  // blank characters

// Trims (Orizni) blanks and tabs at both ends.
std::string_view Orizni(std::string_view text)
{
    const auto zacatek = text.find_first_not_of(znakyMezery);
    if (zacatek == std::string_view::npos)
        return {};
    const auto konec = text.find_last_not_of(znakyMezery);
    return text.substr(zacatek, konec - zacatek + 1);
}

// The small letter (MalePismeno) of a capital, anything else unchanged.
char32_t MalePismeno(char32_t z)
{
    if (z >= U'A' && z <= U'Z')
        return z + 32;
    if (z >= 0xC0 && z <= 0xDE && z != 0xD7)
        return z + 32;
    // Latin Extended-A keeps capital and small letter side by side; the
    // pairs start on an even code point except in the two runs below.
    if ((z >= 0x100 && z <= 0x12F) || (z >= 0x132 && z <= 0x137) || (z >= 0x14A && z <= 0x177))
        return z | 1;
    if ((z >= 0x139 && z <= 0x148) || (z >= 0x179 && z <= 0x17E))
        return (z & 1) ? z + 1 : z;
    if (z == 0x178)
        return 0xFF;
    return z;
}

// Is a section header line (JeSekce).
bool JeSekce(std::string_view radek)
{
    return Orizni(radek).starts_with('[');
}

// Section name (NazevSekce) of a header line.
std::string_view NazevSekce(std::string_view radek)
{
    std::string_view t = Orizni(radek).substr(1);
    const auto konec = t.find(']');
    return Orizni(t.substr(0, konec));
}

// Is a comment line (JeKomentar).
bool JeKomentar(std::string_view radek)
{
    const std::string_view t = Orizni(radek);
    return t.starts_with(';') || t.starts_with('#');
}

// Splits (Rozdel) a "key=value" line into key (klic) and value (hodnota);
// false for other lines.
bool RozdelKlic(std::string_view radek, std::string_view& klic, std::string_view& hodnota)
{
    if (JeSekce(radek) || JeKomentar(radek))
        return false;
    const auto rovnitko = radek.find('=');
    if (rovnitko == std::string_view::npos)
        return false;
    klic = Orizni(radek.substr(0, rovnitko));
    hodnota = Orizni(radek.substr(rovnitko + 1));
    return !klic.empty();
}

// Enclosed in a pair of quotes (VUvozovkach).
bool VUvozovkach(std::string_view t)
{
    return t.size() >= 2 && (t.front() == '"' || t.front() == '\'') && t.back() == t.front();
}

// The value as written (ZapisovanaHodnota): a value that would not read
// back as it stands (blanks at its ends, or itself enclosed in quotes) is
// written in double quotes; a line break would split the line, so it
// becomes a blank.
std::string ZapisovanaHodnota(std::string_view hodnota)
{
    std::string t(hodnota);
    for (char& c : t)
        if (c == '\r' || c == '\n')
            c = ' ';
    if (Orizni(t).size() != t.size() || VUvozovkach(t))
        return "\"" + t + "\"";
    return t;
}

}  // namespace

bool StejneNazvy(std::string_view a, std::string_view b)
{
    const std::vector<char32_t> za = vk::common::ZnakyTextu(a);
    const std::vector<char32_t> zb = vk::common::ZnakyTextu(b);
    if (za.size() != zb.size())
        return false;
    for (std::size_t i = 0; i < za.size(); ++i)
        if (MalePismeno(za[i]) != MalePismeno(zb[i]))
            return false;
    return true;
}

void TIniSoubor::Rozeber(std::string_view obsah)
{
    radky_.clear();
    konecRadku_ = "\n";
    std::string text;
    if (vk::common::JePlatneUtf8(obsah)) {
        if (obsah.starts_with("\xEF\xBB\xBF"))
            obsah.remove_prefix(3);
        text = obsah;
    } else {
        text = Win1250NaUtf8(obsah);
    }
    std::size_t zacatek = 0;
    while (zacatek < text.size()) {
        auto konec = text.find('\n', zacatek);
        if (konec == std::string::npos)
            konec = text.size();
        std::string radek = text.substr(zacatek, konec - zacatek);
        if (!radek.empty() && radek.back() == '\r') {
            radek.pop_back();
            if (radky_.empty())
                konecRadku_ = "\r\n";
        }
        radky_.push_back(std::move(radek));
        zacatek = konec + 1;
    }
}

bool TIniSoubor::Nacti(const std::filesystem::path& soubor)
{
    std::vector<std::uint8_t> obsah;
    const TCteni vysledek = CtiSoubor(soubor, static_cast<std::size_t>(-1), obsah);
    Rozeber(std::string_view(reinterpret_cast<const char*>(obsah.data()), obsah.size()));
    return vysledek == TCteni::Precteno || vysledek == TCteni::Chybi;
}

std::optional<std::size_t> TIniSoubor::NajdiSekci(std::string_view sekce) const
{
    for (std::size_t i = 0; i < radky_.size(); ++i)
        if (JeSekce(radky_[i]) && StejneNazvy(NazevSekce(radky_[i]), sekce))
            return i;
    return std::nullopt;
}

std::size_t TIniSoubor::KonecSekce(std::size_t hlavicka) const
{
    std::size_t i = hlavicka + 1;
    while (i < radky_.size() && !JeSekce(radky_[i]))
        ++i;
    return i;
}

std::optional<std::size_t> TIniSoubor::NajdiKlic(std::size_t hlavicka, std::string_view klic) const
{
    const std::size_t konec = KonecSekce(hlavicka);
    for (std::size_t i = hlavicka + 1; i < konec; ++i) {
        std::string_view k, h;
        if (RozdelKlic(radky_[i], k, h) && StejneNazvy(k, klic))
            return i;
    }
    return std::nullopt;
}

std::optional<std::string> TIniSoubor::Hodnota(std::string_view sekce, std::string_view klic) const
{
    const auto hlavicka = NajdiSekci(sekce);
    if (!hlavicka)
        return std::nullopt;
    const auto radek = NajdiKlic(*hlavicka, klic);
    if (!radek)
        return std::nullopt;
    std::string_view k, h;
    RozdelKlic(radky_[*radek], k, h);
    if (VUvozovkach(h))
        h = h.substr(1, h.size() - 2);
    return std::string(h);
}

void TIniSoubor::Nastav(std::string_view sekce, std::string_view klic, std::string_view hodnota)
{
    std::string radek = std::string(klic) + "=" + ZapisovanaHodnota(hodnota);
    const auto hlavicka = NajdiSekci(sekce);
    if (!hlavicka) {
        radky_.push_back("[" + std::string(sekce) + "]");
        radky_.push_back(std::move(radek));
        return;
    }
    if (const auto stary = NajdiKlic(*hlavicka, klic)) {
        radky_[*stary] = std::move(radek);
        return;
    }
    // After the section's last key: blank lines and comments before the
    // next section header usually belong to that next section.
    std::size_t za = *hlavicka + 1;
    const std::size_t konec = KonecSekce(*hlavicka);
    for (std::size_t i = *hlavicka + 1; i < konec; ++i) {
        std::string_view k, h;
        if (RozdelKlic(radky_[i], k, h))
            za = i + 1;
    }
    radky_.insert(radky_.begin() + static_cast<std::ptrdiff_t>(za), std::move(radek));
}

std::string TIniSoubor::Text() const
{
    std::string text;
    for (const std::string& radek : radky_) {
        text += radek;
        text += konecRadku_;
    }
    return text;
}

bool TIniSoubor::Uloz(const std::filesystem::path& soubor) const
{
    return ZapisSouborAtomicky(soubor, Text());
}

}  // namespace vk::core
