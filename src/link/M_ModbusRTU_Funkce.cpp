// The module's three private functions: 0x43 reads part of a device file,
// 0x44 writes part of one, 0x45 forwards an embedded request.
#include <algorithm>
#include <array>

#include "RtuKanal.h"
#include "RtuTexty.h"
#include "Stopa.h"

namespace vk::link {

namespace {

constexpr std::uint8_t FunkcePrecti = 0x43;
constexpr std::uint8_t FunkceZapis = 0x44;
constexpr std::uint8_t FunkcePreposli = 0x45;
// Second byte of the file functions' header; the module expects it as is.
constexpr std::uint8_t ZnackaSouboru = 0xFE;

constexpr std::size_t HlavickaSouboru = 7;  // address, function, 0xFE, file code, block (2), length

void HlavickaBloku(std::uint8_t* ramec, std::uint8_t adresa, std::uint8_t funkce, std::uint8_t kodSouboru,
                   std::uint16_t blok, std::uint8_t delka)
{
    ramec[0] = adresa;
    ramec[1] = funkce;
    ramec[2] = ZnackaSouboru;
    ramec[3] = kodSouboru;
    ramec[4] = static_cast<std::uint8_t>(blok >> 8);  // block number goes high byte first
    ramec[5] = static_cast<std::uint8_t>(blok & 0xFF);
    ramec[6] = delka;
}

// A reply of the wrong length, as the cause beside the status text.
TVysledekBloku ChybnaDelka(TMBRTU& link, std::uint16_t n, std::size_t ocekavano)
{
    link.ED.StatusText = texty::ChybaSpojeni;
    link.ED.Pricina = "odpověď má " + std::to_string(n) + " B místo " + std::to_string(ocekavano);
    StopujUdalost(TLinkaStopy::RTU, "failed: " + link.ED.Pricina);
    return BlokChybnaDelka;
}

}  // namespace

TVysledekBloku PrectiBlok(TMBRTU& link, TKanalRTU& kanal, std::uint8_t kodSouboru, std::uint16_t blok,
                          std::uint8_t delka, std::uint8_t* cil)
{
    std::array<std::uint8_t, HlavickaSouboru> pozadavek{};
    HlavickaBloku(pozadavek.data(), link.CFG.Adresa, FunkcePrecti, kodSouboru, blok, delka);
    std::array<std::uint8_t, MaxRamecRTU> odpoved{};
    std::uint16_t n = 0;
    if (Transakce(link, kanal, pozadavek.data(), pozadavek.size(), n, odpoved.data()) != TransakceOdpoved) {
        link.ED.StatusText = texty::ChybaSpojeni;
        return BlokChybaSpojeni;
    }
    // Address, function and one more header byte, then exactly the data.
    if (n != delka + 3u)
        return ChybnaDelka(link, n, delka + 3u);
    std::copy_n(odpoved.begin() + 3, delka, cil);
    link.ED.StatusText = texty::OK;
    return BlokPrenesen;
}

TVysledekBloku ZapisBlok(TMBRTU& link, TKanalRTU& kanal, std::uint8_t kodSouboru, std::uint16_t blok,
                         std::uint8_t delka, const std::uint8_t* data)
{
    // 254 and 255 data bytes do not fit a 260-byte frame: nothing is sent,
    // as for any request the exchange refuses.
    if (HlavickaSouboru + delka > MaxRamecRTU) {
        link.ED.StatusText = texty::ChybaSpojeni;
        return BlokChybaSpojeni;
    }
    std::array<std::uint8_t, MaxRamecRTU> pozadavek{};
    HlavickaBloku(pozadavek.data(), link.CFG.Adresa, FunkceZapis, kodSouboru, blok, delka);
    std::copy_n(data, delka, pozadavek.begin() + HlavickaSouboru);
    std::array<std::uint8_t, MaxRamecRTU> odpoved{};
    std::uint16_t n = 0;
    if (Transakce(link, kanal, pozadavek.data(), HlavickaSouboru + delka, n, odpoved.data()) != TransakceOdpoved) {
        link.ED.StatusText = texty::ChybaSpojeni;
        return BlokChybaSpojeni;
    }
    // Address, function, result byte.
    if (n != 3)
        return ChybnaDelka(link, n, 3);
    if (odpoved[2] != TransakceOdpoved) {
        link.ED.StatusText = texty::ChybaZapisu;
        link.ED.Pricina =
            "modul odmítl blok " + std::to_string(blok) + " (výsledek " + std::to_string(odpoved[2]) + ")";
        StopujUdalost(TLinkaStopy::RTU, "failed: " + link.ED.Pricina);
        return BlokOdmitnut;
    }
    link.ED.StatusText = texty::OK;
    return BlokPrenesen;
}

TVysledekZpravy PreposliZpravu(TMBRTU* link, TKanalRTU& kanal, TMBRTU_Zprava& zprava)
{
    zprava.DelkaOdpovedi = 0;
    if (link == nullptr)
        return ZpravaBezLinky;
    if (!kanal.isOpen())
        return ZpravaPortZavren;

    constexpr std::size_t Hlavicka = 4;  // address, function, embedded length (high byte first)
    const std::size_t delka = Hlavicka + zprava.DelkaPozadavku;
    // A longer embedded request would not fit a frame (and would run past
    // Pozadavek): refused like any request the exchange does not send.
    if (delka > MaxRamecRTU) {
        link->ED.StatusText = texty::ChybaSpojeni;
        return ZpravaChybaSpojeni;
    }
    std::array<std::uint8_t, MaxRamecRTU> pozadavek{};
    pozadavek[0] = link->CFG.Adresa;
    pozadavek[1] = FunkcePreposli;
    pozadavek[2] = static_cast<std::uint8_t>(zprava.DelkaPozadavku >> 8);
    pozadavek[3] = static_cast<std::uint8_t>(zprava.DelkaPozadavku & 0xFF);
    std::copy_n(zprava.Pozadavek.begin(), zprava.DelkaPozadavku, pozadavek.begin() + Hlavicka);

    std::array<std::uint8_t, MaxRamecRTU> odpoved{};
    std::uint16_t n = 0;
    if (Transakce(*link, kanal, pozadavek.data(), delka, n, odpoved.data()) != TransakceOdpoved) {
        link->ED.StatusText = texty::ChybaSpojeni;
        return ZpravaChybaSpojeni;
    }
    // The reply repeats the request's 4-byte header, then the embedded reply.
    if (n > Hlavicka) {
        zprava.DelkaOdpovedi = static_cast<std::uint16_t>(n - Hlavicka);
        std::copy_n(odpoved.begin() + Hlavicka, zprava.DelkaOdpovedi, zprava.Odpoved.begin());
    }
    link->ED.StatusText = texty::OK;
    return ZpravaPrijata;
}

}  // namespace vk::link
