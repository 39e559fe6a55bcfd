// The module configuration file (Konfigurace = configuration): LAN4 and the
// IPv4 part of Sprava in a fixed image of 119 blocks of 512 bytes.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "BajtovaCisla.h"
#include "Dekl.h"
#include "Soubory.h"

namespace vk::core {

namespace {

constexpr std::size_t velikostBloku = 512;   // block size
constexpr std::size_t pocetBloku = 119;      // number of blocks: 60928 bytes
constexpr std::size_t kontrolaBloku0 = 15;   // check byte of block 0, covers bytes 0 to 15
constexpr std::size_t kontrolaBloku1 = 137;  // check byte of block 1, covers bytes 0 to 137

using TBlok = std::array<std::uint8_t, velikostBloku>;  // one block
static_assert(DelkaNacitaneKonfigurace == 2 * velikostBloku);

// Check byte (KontrolniBajt) of the first `pocet` (= count) bytes.
std::uint8_t KontrolniBajt(const TBlok& blok, std::size_t pocet)
{
    return common::KontrolniBajt(blok.data(), pocet);
}

// The check matches (SouhlasiKontrola): the covered bytes sum to 0.
bool SouhlasiKontrola(const TBlok& blok, std::size_t kontrola)
{
    return KontrolniBajt(blok, kontrola + 1) == 0;
}

// Builds (Sestav) block 0 from the IPv4 settings.
TBlok SestavBlok0(const TCFG_LAN4& lan4)
{
    TBlok blok;
    blok.fill(0xFF);
    for (std::size_t i = 0; i < 4; ++i) {
        blok[i] = lan4.IP4_Adresa[i];
        blok[4 + i] = lan4.IP4_Maska[i];
        blok[8 + i] = lan4.IP4_Brana[i];
    }
    blok[12] = lan4.IP4_DHCP;
    blok[kontrolaBloku0] = KontrolniBajt(blok, kontrolaBloku0);
    return blok;
}

// Builds block 1: the mode and the user addresses, then zeros to the check.
TBlok SestavBlok1(const TCFG_Sprava& sprava)
{
    TBlok blok;
    blok.fill(0xFF);
    for (std::size_t i = 0; i <= kontrolaBloku1; ++i)
        blok[i] = 0x00;
    blok[0] = sprava.Rezim;
    // Only the IPv4 form of each entry travels: its first 4 bytes.
    for (std::size_t z = 0; z < 8; ++z)
        for (std::size_t k = 0; k < 4; ++k)
            blok[1 + 4 * z + k] = sprava.User_IP[z][k];
    blok[kontrolaBloku1] = KontrolniBajt(blok, kontrolaBloku1);
    return blok;
}

// Takes block 0 apart (Rozeber) into the IPv4 settings.
void RozeberBlok0(const TBlok& blok, TCFG_LAN4& lan4)
{
    for (std::size_t i = 0; i < 4; ++i) {
        lan4.IP4_Adresa[i] = blok[i];
        lan4.IP4_Maska[i] = blok[4 + i];
        lan4.IP4_Brana[i] = blok[8 + i];
    }
    lan4.IP4_DHCP = blok[12];
}

// Takes block 1 apart; the other 12 bytes of each entry and VerzeIP stay
// as they were.
void RozeberBlok1(const TBlok& blok, TCFG_Sprava& sprava)
{
    sprava.Rezim = blok[0];
    for (std::size_t z = 0; z < 8; ++z)
        for (std::size_t k = 0; k < 4; ++k)
            sprava.User_IP[z][k] = blok[1 + 4 * z + k];
}

// The check of a block of which the file supplied `dodano` bytes; the
// buffer holds 0xFF where the file ended.
TKontrolaBloku PosudBlok(const TBlok& blok, std::size_t dodano, std::size_t kontrola)
{
    if (SouhlasiKontrola(blok, kontrola))
        return TKontrolaBloku::Platna;
    return dodano <= kontrola ? TKontrolaBloku::Neuplna : TKontrolaBloku::Chybna;
}

// Block `cislo` (= number) as far as the content has it, the rest 0xFF;
// `dodano` the bytes supplied.
TBlok BlokObsahu(const std::vector<std::uint8_t>& obsah, std::size_t cislo, std::size_t& dodano)
{
    TBlok blok;
    blok.fill(0xFF);
    const std::size_t od = cislo * velikostBloku;
    dodano = obsah.size() > od ? std::min(obsah.size() - od, velikostBloku) : 0;
    std::copy_n(obsah.begin() + static_cast<std::ptrdiff_t>(std::min(od, obsah.size())), dodano, blok.begin());
    return blok;
}

// The whole file image (ObrazSouboru).
std::vector<std::uint8_t> ObrazSouboru(const TCFGVK& cfg)
{
    std::vector<std::uint8_t> obraz(pocetBloku * velikostBloku, 0xFF);
    const TBlok blok0 = SestavBlok0(cfg.LAN4);
    const TBlok blok1 = SestavBlok1(cfg.Sprava);
    std::copy(blok0.begin(), blok0.end(), obraz.begin());
    std::copy(blok1.begin(), blok1.end(), obraz.begin() + velikostBloku);
    return obraz;
}

// The name in double quotes (VUvozovkach), as the messages show it.
std::string VUvozovkach(const std::string& soubor)
{
    return "\"" + soubor + "\"";
}

}  // namespace

bool UlozKonfiguraci(PData dat, const std::string& soubor, const TDotazAnoNe& dotaz, std::string& chyba)
{
    chyba.clear();
    if (dat == nullptr || soubor.empty())
        return true;
    const TCFGVK kopie = dat->CFGVK;
    std::error_code ec;
    if (std::filesystem::exists(std::filesystem::symlink_status(soubor, ec))) {
        // Without anyone to ask, an existing file is kept.
        if (!dotaz || !dotaz("Soubor " + VUvozovkach(soubor) + " již existuje.  Chcete ho přepsat?"))
            return true;
    }
    const std::vector<std::uint8_t> obraz = ObrazSouboru(kopie);
    if (!ZapisSouborAtomicky(soubor, obraz.data(), obraz.size())) {
        chyba = "Soubor " + VUvozovkach(soubor) + " nelze zapsat.";
        return false;
    }
    return true;
}

TBlokyKonfigurace PouzijKonfiguraci(const std::vector<std::uint8_t>& obsah, TCFGVK& cfg)
{
    TBlokyKonfigurace bloky;
    // Both blocks must be present: a file that ends within block 0 changes
    // nothing, not even a valid block 0.
    const bool nacita = obsah.size() > velikostBloku;
    std::size_t dodano = 0;
    const TBlok blok0 = BlokObsahu(obsah, 0, dodano);
    bloky.Kontrola[0] = PosudBlok(blok0, dodano, kontrolaBloku0);
    bloky.Nacte[0] = nacita && bloky.Kontrola[0] == TKontrolaBloku::Platna;
    if (bloky.Nacte[0])
        RozeberBlok0(blok0, cfg.LAN4);

    // A file of 513 to 1023 bytes supplies only the start of block 1. The
    // bytes it does not supply count as 0xFF, what the block buffer holds
    // there after a standard block 0 (its bytes 16 to 511 are 0xFF); so a
    // cut block 1 fails its check unless the bytes it has make the sum right.
    const TBlok blok1 = BlokObsahu(obsah, 1, dodano);
    bloky.Kontrola[1] = PosudBlok(blok1, dodano, kontrolaBloku1);
    bloky.Nacte[1] = nacita && bloky.Kontrola[1] == TKontrolaBloku::Platna;
    if (bloky.Nacte[1])
        RozeberBlok1(blok1, cfg.Sprava);
    return bloky;
}

bool NactiKonfiguraci(PData dat, const std::string& soubor, std::string& chyba)
{
    chyba.clear();
    if (dat == nullptr || soubor.empty())
        return true;
    std::vector<std::uint8_t> obsah;
    switch (CtiSoubor(soubor, DelkaNacitaneKonfigurace, obsah)) {
    case TCteni::Precteno:
        break;
    case TCteni::Chybi:
        return true;
    case TCteni::NelzeOtevrit:
        chyba = "Soubor " + VUvozovkach(soubor) + " nelze otevřít.";
        return false;
    case TCteni::NelzePrecist:
        chyba = "Soubor " + VUvozovkach(soubor) + " nelze přečíst.";
        return false;
    }
    TCFGVK prac = dat->CFGVK;
    PouzijKonfiguraci(obsah, prac);
    dat->CFGVK = prac;
    return true;
}

}  // namespace vk::core
