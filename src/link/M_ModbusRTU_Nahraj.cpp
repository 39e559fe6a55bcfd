// Upload of a whole local file (Nahraj = upload) as a run of 0x44 block
// writes of 240 bytes from block 0. The module knows the end from the file's
// size alone: there is no empty closing block and no end message.
#include <array>
#include <filesystem>
#include <fstream>

#include "RtuKanal.h"
#include "RtuTexty.h"

namespace vk::link {

namespace {

constexpr std::size_t VelikostBloku = 240;

std::uint64_t VelikostSouboru(const std::string& soubor)
{
    std::error_code chyba;
    const auto velikost = std::filesystem::file_size(soubor, chyba);
    return chyba ? 0 : static_cast<std::uint64_t>(velikost);
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
        link.ED.StatusText = texty::NelzeOtevritSoubor + soubor;
        return 1;
    }
    const std::uint64_t celkem = VelikostSouboru(soubor);

    std::array<std::uint8_t, VelikostBloku> blok{};
    std::uint16_t cisloBloku = 0;
    std::uint64_t odeslano = 0;
    for (;;) {
        vstup.read(reinterpret_cast<char*>(blok.data()), blok.size());
        if (vstup.bad()) {
            link.ED.StatusText = texty::ChybaCteniSouboru + soubor;
            return 1;
        }
        const auto precteno = static_cast<std::size_t>(vstup.gcount());
        const bool posledni = precteno < VelikostBloku;
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
        if (posledni)
            return 0;
    }
}

}  // namespace vk::link
