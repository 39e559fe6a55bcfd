#include "LogZaznamy.h"

#include <algorithm>
#include <cstdio>

#include "BajtovaCisla.h"

namespace vk::device {

using common::Cti32;

namespace {

// At least two digits: values below 10 get one leading zero.
std::string DveCislice(unsigned hodnota)
{
    return (hodnota < 10 ? "0" : "") + std::to_string(hodnota);
}

// Offsets of the parameters within a record.
constexpr std::size_t PosVLAN = 16;
constexpr std::size_t PosCastKonfigurace = 16;
constexpr std::size_t PosID = 20;
constexpr std::size_t PosDruhAdresy = 24;
constexpr std::size_t PosStatus = 24;
constexpr std::size_t PosAdresa = 28;

std::string TextAdresy(const TZaznamLOG& z)
{
    std::string text = "IP=";
    if (z[PosDruhAdresy] == 0) {
        for (std::size_t i = 0; i < 4; ++i)
            text += (i ? "." : "") + std::to_string(z[PosAdresa + i]);
        return text;
    }
    // All eight groups in full: runs of zero groups are not shortened.
    for (std::size_t g = 0; g < 8; ++g) {
        char skupina[5];
        std::snprintf(skupina, sizeof skupina, "%02X%02X", z[PosAdresa + 2 * g], z[PosAdresa + 2 * g + 1]);
        text += (g ? ":" : "") + std::string(skupina);
    }
    return text;
}

// The module counts its VLANs from 0, people from 1; the sum wraps in 32 bits.
std::string TextVLAN(const TZaznamLOG& z)
{
    return "VLAN" + std::to_string(static_cast<std::uint32_t>(Cti32(&z[PosVLAN]) + 1u));
}

std::string VzdalenaSprava(const TZaznamLOG& z)
{
    return " (vzdálená správa, " + TextAdresy(z) + ")";
}

std::string CastKonfigurace(std::uint8_t kod)
{
    static const char* const pripony[] = {
        "",         " (MAC)",   " (výrobní číslo)", " (aktuální stav LOG)", " (LAN)",  " (vzdálená správa)",
        " (VLAN1)", " (VLAN2)", " (VLAN3)",         " (server VKA)",        " (SNMP)", " (PWR)",
        " (LOG)",
    };
    return kod < std::size(pripony) ? pripony[kod] : "";
}

std::string ChybaLinky(const TZaznamLOG& z)
{
    return " (" + TextVLAN(z) + ", ID=" + std::to_string(Cti32(&z[PosID])) +
           ", Status=" + std::to_string(Cti32(&z[PosStatus])) + ", Adresa=" + std::to_string(z[PosAdresa]) +
           ", Funkce=" + std::to_string(z[PosAdresa + 1]) + ", Periferie=" + std::to_string(z[PosAdresa + 2]) + ")";
}

std::string TextUdalosti(const TZaznamLOG& z)
{
    const std::uint8_t kod = z[0];
    switch (kod) {
    case 0:
    case 255:
        return {};
    case 1:
        return "Zapnutí napájení";
    case 2:
        return "Vypnutí napájení";
    case 3:
        return "Vzdálený restart modulu" + VzdalenaSprava(z);
    case 4:
        return "HW restart (watchdog)";
    case 5:
        return "Připojení LAN (link up)";
    case 6:
        // The module's own wording, kept as it stands.
        return "Odpojení LAN (ink down)";
    case 7:
        return "Nepovolený přístup VLAN (" + TextVLAN(z) + ", " + TextAdresy(z) + ")";
    case 8:
        return "Nepovolený přístup vzdálené správy" + VzdalenaSprava(z);
    case 9:
        return "Chyba konfigurace" + CastKonfigurace(z[PosCastKonfigurace]);
    case 10:
        return "Zápis konfigurace" + VzdalenaSprava(z);
    case 11:
        return "Zápis RTC" + VzdalenaSprava(z);
    case 12:
        return "Vynulování diagnostických čítačů" + VzdalenaSprava(z);
    case 13:
        return "Vymazání logování" + VzdalenaSprava(z);
    case 14:
        return "Chyba komunikace na lince RS-485" + ChybaLinky(z);
    default:
        return "Neznámá chyba " + std::to_string(kod);
    }
}

}  // namespace

THlavickaLOG DekodujHlavickuLOG(const std::uint8_t* data, std::size_t pocet)
{
    THlavickaLOG h;
    if (data != nullptr)
        std::copy_n(data, std::min(pocet, DelkaHlavickyLOG), h.Bajty.begin());
    h.PocetZaznamu = Cti32(&h.Bajty[8]);
    h.Kapacita = Cti32(&h.Bajty[28]);
    return h;
}

bool JeTypLOG(const THlavickaLOG& hlavicka)
{
    return hlavicka.Bajty[0] == 0x4C && hlavicka.Bajty[1] == 0x47 && hlavicka.Bajty[2] == 0x02;
}

std::string DekodujZaznamLOG(const TZaznamLOG& zaznam)
{
    const std::string udalost = TextUdalosti(zaznam);
    if (udalost.empty())
        return {};
    // Time bytes: second, minute, hour, day, month, year - 2000.
    const auto* t = &zaznam[6];
    return "[" + DveCislice(t[3]) + "." + DveCislice(t[4]) + "." + std::to_string(2000 + t[5]) + "  " +
           DveCislice(t[2]) + ":" + DveCislice(t[1]) + ":" + DveCislice(t[0]) + "] - U" + DveCislice(zaznam[0]) +
           " - " + udalost;
}

}  // namespace vk::device
