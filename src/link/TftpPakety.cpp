#include "TftpPakety.h"

#include <optional>

namespace vk::link::tftp {

namespace {

void Pridej16(std::vector<std::uint8_t>& p, std::uint16_t hodnota)
{
    p.push_back(static_cast<std::uint8_t>(hodnota >> 8));
    p.push_back(static_cast<std::uint8_t>(hodnota & 0xFF));
}

void PridejText(std::vector<std::uint8_t>& p, const std::string& text)
{
    p.insert(p.end(), text.begin(), text.end());
    p.push_back(0);
}

std::vector<std::uint8_t> Zadost(std::uint16_t opcode, const std::string& soubor, std::uint16_t blok,
                                 std::uint64_t velikost)
{
    std::vector<std::uint8_t> p;
    Pridej16(p, opcode);
    PridejText(p, soubor);
    PridejText(p, "octet");
    PridejText(p, "blksize");
    PridejText(p, std::to_string(blok));
    PridejText(p, "tsize");
    PridejText(p, std::to_string(velikost));
    return p;
}

// Decimal digits only: a sign, a blank or a trailing letter make the value
// no number. Nothing when it is empty, not digits, or exceeds `strop`.
std::optional<std::uint64_t> CtiCislo(const std::string& text, std::uint64_t strop)
{
    if (text.empty())
        return std::nullopt;
    std::uint64_t hodnota = 0;
    for (const char znak : text) {
        if (znak < '0' || znak > '9')
            return std::nullopt;
        const auto cislice = static_cast<std::uint64_t>(znak - '0');
        if (hodnota > (strop - cislice) / 10)
            return std::nullopt;
        hodnota = hodnota * 10 + cislice;
    }
    return hodnota;
}

std::string MalymiPismeny(std::string text)
{
    for (char& znak : text)
        if (znak >= 'A' && znak <= 'Z')
            znak = static_cast<char>(znak - 'A' + 'a');
    return text;
}

// One zero-terminated string from `pozice`; false when no zero follows.
bool CtiRetezec(const std::uint8_t* data, std::size_t delka, std::size_t& pozice, std::string& text)
{
    std::size_t konec = pozice;
    while (konec < delka && data[konec] != 0)
        ++konec;
    if (konec >= delka)
        return false;
    text.assign(reinterpret_cast<const char*>(data + pozice), konec - pozice);
    pozice = konec + 1;
    return true;
}

}  // namespace

std::uint16_t Cti16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

std::vector<std::uint8_t> ZadostCteni(const std::string& soubor, std::uint16_t blok)
{
    return Zadost(OpRRQ, soubor, blok, 0);
}

std::vector<std::uint8_t> ZadostZapisu(const std::string& soubor, std::uint16_t blok, std::uint64_t pocet)
{
    return Zadost(OpWRQ, soubor, blok, pocet);
}

std::vector<std::uint8_t> PaketAck(std::uint16_t blok)
{
    std::vector<std::uint8_t> p;
    Pridej16(p, OpACK);
    Pridej16(p, blok);
    return p;
}

std::vector<std::uint8_t> PaketChyby(std::uint16_t kod, const std::string& zprava)
{
    std::vector<std::uint8_t> p;
    Pridej16(p, OpERROR);
    Pridej16(p, kod);
    PridejText(p, zprava);
    return p;
}

std::vector<std::uint8_t> PaketDat(std::uint16_t blok, const std::uint8_t* data, std::size_t pocet)
{
    std::vector<std::uint8_t> p;
    p.reserve(4 + pocet);
    Pridej16(p, OpDATA);
    Pridej16(p, blok);
    if (pocet > 0)
        p.insert(p.end(), data, data + pocet);
    return p;
}

bool CtiVolby(const std::uint8_t* data, std::size_t delka, TVolby& volby, std::string& zprava)
{
    volby = TVolby{};
    std::size_t pozice = 2;
    while (pozice < delka) {
        std::string nazev;
        std::string hodnota;
        if (!CtiRetezec(data, delka, pozice, nazev) || !CtiRetezec(data, delka, pozice, hodnota)) {
            zprava.clear();
            return false;
        }
        if (nazev.empty() && hodnota.empty())
            continue;
        const std::string klic = MalymiPismeny(nazev);
        if (klic == "blksize") {
            // Any size the option allows is taken, also more than asked for:
            // the receive buffer holds the largest DATA there is, and the
            // size granted is the size the peer sends.
            const auto blok = CtiCislo(hodnota, 0xFFFFFFFFu);
            if (!blok || *blok < NejmensiBlok || *blok > NejvetsiBlok) {
                zprava = "Unsupported value \"" + hodnota + "\" for option: \"" + nazev + "\"";
                return false;
            }
            volby.VelikostBloku = static_cast<std::uint16_t>(*blok);
        } else if (klic == "tsize") {
            // Accepted whatever it says: the size only feeds the progress figure.
            volby.Velikost = CtiCislo(hodnota, UINT64_MAX).value_or(0);
        } else {
            zprava = "Unsupported option: \"" + nazev + "\"";
            return false;
        }
    }
    return true;
}

}  // namespace vk::link::tftp
