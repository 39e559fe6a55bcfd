// Upload of a whole local file or memory buffer (Nahraj = upload) as a run of
// 0x44 block writes of 240 bytes from block 0. The module knows the end from
// the file's size alone: there is no empty closing block and no end message,
// so an empty source sends nothing at all.
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>

#include "RtuKanal.h"
#include "RtuTexty.h"

namespace vk::link {

namespace {

constexpr std::size_t VelikostBloku = 240;

using TBlok = std::array<std::uint8_t, VelikostBloku>;

// Fills the next block from the source and gives its byte count (fewer than
// 240 only at the end); false when the source cannot be read.
using TCtiBlok = std::function<bool(TBlok& blok, std::size_t& precteno)>;

std::uint64_t VelikostSouboru(const std::string& soubor)
{
    std::error_code chyba;
    const auto velikost = std::filesystem::file_size(soubor, chyba);
    return chyba ? 0 : static_cast<std::uint64_t>(velikost);
}

// The block loop of every upload.
std::int32_t NahrajBloky(TMBRTU& link, TKanalRTU& kanal, std::uint8_t kodSouboru, std::uint64_t celkem,
                         const TCtiBlok& cti, const TPrubeh& prubeh)
{
    TBlok blok{};
    std::uint16_t cisloBloku = 0;
    std::uint64_t odeslano = 0;
    for (;;) {
        std::size_t precteno = 0;
        if (!cti(blok, precteno))
            return 1;
        if (precteno > 0) {
            const std::int32_t vysledek =
                ZapisBlok(link, kanal, kodSouboru, cisloBloku, static_cast<std::uint8_t>(precteno), blok.data());
            if (vysledek != 0)
                return vysledek;
            ++cisloBloku;
            odeslano += precteno;
            if (prubeh)
                prubeh(odeslano, celkem);
        }
        if (precteno < VelikostBloku)
            return 0;
    }
}

}  // namespace

std::int32_t NahrajSoubor(TMBRTU& link, TKanalRTU& kanal, const std::string& soubor, std::uint8_t kodSouboru,
                          const TPrubeh& prubeh)
{
    if (!kanal.isOpen())
        return 1;

    std::error_code chyba;
    std::ifstream vstup;
    if (!std::filesystem::is_directory(soubor, chyba))
        vstup.open(soubor, std::ios::binary);
    if (!vstup.is_open()) {
        // ifstream keeps errno of the failed open(2); a folder is named as such.
        const int e = errno;
        link.ED.StatusText = texty::NelzeOtevritSoubor + soubor;
        link.ED.Pricina =
            "nelze otevřít " + soubor + ": " + std::strerror(std::filesystem::is_directory(soubor, chyba) ? EISDIR : e);
        return 1;
    }
    const TCtiBlok cti = [&](TBlok& blok, std::size_t& precteno) {
        vstup.read(reinterpret_cast<char*>(blok.data()), blok.size());
        if (vstup.bad()) {
            link.ED.StatusText = texty::ChybaCteniSouboru + soubor;
            link.ED.Pricina = "nelze číst " + soubor + ": " + std::strerror(errno);
            return false;
        }
        precteno = static_cast<std::size_t>(vstup.gcount());
        return true;
    };
    return NahrajBloky(link, kanal, kodSouboru, VelikostSouboru(soubor), cti, prubeh);
}

std::int32_t NahrajZPameti(TMBRTU& link, TKanalRTU& kanal, std::uint8_t kodSouboru, const std::uint8_t* data,
                           std::size_t pocet, const TPrubeh& prubeh)
{
    if (!kanal.isOpen())
        return 1;
    std::size_t pozice = 0;
    const TCtiBlok cti = [&](TBlok& blok, std::size_t& precteno) {
        precteno = std::min(VelikostBloku, pocet - pozice);
        if (precteno > 0)  // an empty source may come without a buffer
            std::copy_n(data + pozice, precteno, blok.begin());
        pozice += precteno;
        return true;
    };
    return NahrajBloky(link, kanal, kodSouboru, pocet, cti, prubeh);
}

}  // namespace vk::link
