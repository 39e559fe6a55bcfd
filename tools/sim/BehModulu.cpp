#include "BehModulu.h"

#include <cmath>

namespace vk::sim {

namespace {

// The module had been running for 3 h 25 min 45 s when the simulator met it.
constexpr std::uint64_t UptimePredemMs = 12345ULL * 1000;
constexpr std::uint32_t ZpravZaSekundu = 25;  // master line message rate (messages per second)

constexpr std::uint8_t Mac[6] = {0x02, 0x56, 0x4B, 0x73, 0x16, 0x42};
// Derived from the MAC as the module's stack does (EUI-64).
constexpr std::uint8_t Ip6Lla[16] = {0xFE, 0x80, 0, 0, 0, 0, 0, 0, 0x00, 0x56, 0x4B, 0xFF, 0xFE, 0x73, 0x16, 0x42};
constexpr std::uint8_t Ip6Gua[16] = {0x20, 0x01, 0x0D, 0xB8, 0,    0,    0,    0,
                                     0x00, 0x56, 0x4B, 0xFF, 0xFE, 0x73, 0x16, 0x42};
constexpr std::uint8_t Ip6Maska[16] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0};
constexpr std::uint8_t Ip6Brana[16] = {0xFE, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x01};

// Line load in percent in uptime second s: a slow wave with some jitter.
std::uint8_t Vytizeni(std::uint64_t s)
{
    const double vlna = 35.0 + 22.0 * std::sin(static_cast<double>(s) / 17.0);
    const double sum = static_cast<double>((s * 7919u) % 11u);
    return static_cast<std::uint8_t>(std::lround(vlna + sum));
}

float TeplotaUP(std::uint64_t s)
{
    return static_cast<float>(41.5 + 1.5 * std::sin(static_cast<double>(s) / 60.0));
}

float TeplotaDPS(std::uint64_t s)
{
    return static_cast<float>(33.25 + 0.75 * std::sin(static_cast<double>(s) / 90.0));
}

float NapetiPWR(std::uint64_t s)
{
    return static_cast<float>(24.1 + 0.05 * std::sin(static_cast<double>(s) / 7.0));
}

void ZapisBajty(TBajty& b, std::size_t offset, const std::uint8_t* data, std::size_t pocet)
{
    for (std::size_t i = 0; i < pocet; ++i)
        b[offset + i] = data[i];
}

// One measurement group: value, [uncalibrated value,] min, max, status,
// time stamp (uptime ms), date and time, measurement number.
void ZapisMereni(TBajty& b, std::size_t offset, float hodnota, bool nekalibrovana, float min, float max,
                 std::uint32_t casZnacka, const TCasModulu& datumCas, std::uint32_t cislo)
{
    ZapisFloat(b, offset, hodnota);
    std::size_t o = offset + 4;
    if (nekalibrovana) {
        ZapisFloat(b, o, hodnota * 1.0125f);
        o += 4;
    }
    ZapisFloat(b, o, min);
    ZapisFloat(b, o + 4, max);
    Zapis32(b, o + 8, 0);
    Zapis32(b, o + 12, casZnacka);
    ZapisTRTC(b, o + 16, datumCas);
    Zapis32(b, o + 24, cislo);
}

}  // namespace

void TBehModulu::Zapni(const TBajty& lan4)
{
    posunRtcMs_ = 0;
    citacTeplyStart_ = 7;
    Restartuj(lan4);
    uptimePredemMs_ = UptimePredemMs;
    const std::int64_t ted = TedMs();
    casZapnuti_ = CasModuluMs(ted - static_cast<std::int64_t>(UptimePredemMs));
    casVypnuti_ = CasModuluMs(ted - static_cast<std::int64_t>(UptimePredemMs) - 9LL * 3600 * 1000);
    // As if it had been writing its load history all along.
    posledniSekunda_ = UptimeMs() / 1000 - DelkaKruhu - 1;
    Posun();
    teplotaUpMin_ = 36.5f;
    teplotaUpMax_ = 47.25f;
    teplotaDpsMin_ = 30.75f;
    teplotaDpsMax_ = 35.5f;
    napetiMin_ = 23.875f;
    napetiMax_ = 24.25f;
}

void TBehModulu::Restartuj(const TBajty& lan4)
{
    start_ = vk::link::Ted();
    uptimePredemMs_ = 0;
    const std::int64_t ted = TedMs();
    casVypnuti_ = CasModuluMs(ted);
    casZapnuti_ = casVypnuti_;
    ++citacTeplyStart_;
    for (std::size_t i = 0; i < sizeof lan4_; ++i)
        lan4_[i] = i < lan4.size() ? lan4[i] : 0;
    vymazanoMs_ = 0;
    for (auto& x : kruh_)
        x = 0;
    pocetDat_ = 0;
    indexZapisu_ = 0;
    posledniSekunda_ = 0;
}

std::uint64_t TBehModulu::UptimeMs() const
{
    return uptimePredemMs_ + static_cast<std::uint64_t>(vk::link::UplynuloMs(start_));
}

void TBehModulu::Posun()
{
    const std::uint64_t sekunda = UptimeMs() / 1000;
    if (sekunda <= posledniSekunda_)
        return;
    if (sekunda - posledniSekunda_ > DelkaKruhu)
        posledniSekunda_ = sekunda - DelkaKruhu;
    while (posledniSekunda_ < sekunda) {
        ++posledniSekunda_;
        kruh_[indexZapisu_] = Vytizeni(posledniSekunda_);
        indexZapisu_ = (indexZapisu_ + 1) % DelkaKruhu;
        if (pocetDat_ < DelkaKruhu)
            ++pocetDat_;
    }
}

TBajty TBehModulu::RtcBin()
{
    return vk::sim::RtcBin(CasModuluMs(TedMs()));
}

bool TBehModulu::NastavRtc(const TBajty& rtc)
{
    std::int64_t ms = 0;
    if (rtc.size() < 9 || !MsZCasu(CtiRtcBin(rtc), ms))
        return false;
    posunRtcMs_ = ms - TedMs();
    return true;
}

TBajty TBehModulu::SysBin(const TPopisModulu& popis)
{
    TBajty b(392, 0);
    ZapisText(b, 0, 24, popis.TypFW);
    ZapisText(b, 24, 15, "VK-7316R loader");
    // Bytes 39 to 41 belong to no field the tool shows.
    ZapisText(b, 39, 3, "|||");
    ZapisText(b, 42, 6, "v.1.02");
    ZapisText(b, 48, 8, popis.VyrCislo);
    for (std::size_t i = 0; i < 64; ++i)
        b[56 + i] = i < popis.FwAkt.size() ? popis.FwAkt[i] : 0;
    ZapisBajty(b, 120, Mac, 6);
    b[126] = 0xEE;
    b[127] = 0xEE;
    ZapisBajty(b, 128, lan4_, 12);
    Zapis32(b, 140, lan4_[12]);
    ZapisBajty(b, 144, Ip6Lla, 16);
    ZapisBajty(b, 160, Ip6Gua, 16);
    ZapisBajty(b, 176, Ip6Maska, 16);
    ZapisBajty(b, 192, Ip6Brana, 16);
    Zapis32(b, 208, 0);
    for (std::size_t i = 212; i < 228; ++i)
        b[i] = 0xEE;

    const std::uint64_t uptime = UptimeMs();
    Zapis32(b, 228, static_cast<std::uint32_t>(uptime & 0xFFFFFFFFu));
    Zapis32(b, 232, static_cast<std::uint32_t>(uptime >> 32));
    Zapis32(b, 236, static_cast<std::uint32_t>((uptime / 10) & 0xFFFFFFFFu));
    const std::uint64_t sekunda = uptime / 1000;
    Zapis32(b, 240, static_cast<std::uint32_t>(sekunda));
    const std::int64_t ted = TedMs();
    ZapisTRTC(b, 244, CasModuluMs(ted));
    ZapisTRTC(b, 252, casVypnuti_);
    ZapisTRTC(b, 260, casZapnuti_);
    Zapis32(b, 268, 0);
    Zapis32(b, 272, 3);
    Zapis32(b, 276, 4);
    Zapis32(b, 280, citacTeplyStart_);
    Zapis32(b, 284, 0);
    Zapis32(b, 288, 2);

    // The module measures once a second; the values are those of the last
    // whole second, with the minimum and maximum seen so far.
    const auto casZnacka = static_cast<std::uint32_t>((sekunda * 1000) & 0xFFFFFFFFu);
    const TCasModulu casMereni = CasModuluMs(ted - static_cast<std::int64_t>(uptime % 1000));
    const auto cislo = static_cast<std::uint32_t>(sekunda);
    const auto obnov = [](float hodnota, float& min, float& max) {
        min = hodnota < min ? hodnota : min;
        max = hodnota > max ? hodnota : max;
    };
    const float up = TeplotaUP(sekunda);
    const float dps = TeplotaDPS(sekunda);
    const float pwr = NapetiPWR(sekunda);
    obnov(up, teplotaUpMin_, teplotaUpMax_);
    obnov(dps, teplotaDpsMin_, teplotaDpsMax_);
    obnov(pwr, napetiMin_, napetiMax_);
    ZapisMereni(b, 292, up, false, teplotaUpMin_, teplotaUpMax_, casZnacka, casMereni, cislo);
    ZapisMereni(b, 324, dps, false, teplotaDpsMin_, teplotaDpsMax_, casZnacka, casMereni, cislo);
    ZapisMereni(b, 356, pwr, true, napetiMin_, napetiMax_, casZnacka, casMereni, cislo);
    return b;
}

TBajty TBehModulu::MmrdBin()
{
    Posun();
    const std::uint64_t uptime = UptimeMs();
    const std::uint64_t zpravy = (uptime - vymazanoMs_) * ZpravZaSekundu / 1000;
    const std::uint64_t chyby = zpravy / 97;
    TBajty b(240, 0);
    Zapis32(b, 0, static_cast<std::uint32_t>(zpravy & 0xFFFFFFFFu));
    Zapis32(b, 4, static_cast<std::uint32_t>(chyby & 0xFFFFFFFFu));
    Zapis32(b, 8, static_cast<std::uint32_t>((zpravy / 331) & 0xFFFFFFFFu));
    Zapis16(b, 12, static_cast<std::uint16_t>(zpravy > 0 ? ZpravZaSekundu : 0));
    b[14] = pocetDat_ > 0 ? kruh_[(indexZapisu_ + DelkaKruhu - 1) % DelkaKruhu] : 0;
    b[15] = chyby > 0 ? 5 : 0;
    return b;
}

TBajty TBehModulu::MmrgvBin()
{
    Posun();
    TBajty b(240, 0);
    Zapis32(b, 0, pocetDat_);
    Zapis32(b, 4, static_cast<std::uint32_t>(DelkaKruhu));
    Zapis32(b, 8, indexZapisu_);
    ZapisBajty(b, 12, kruh_, DelkaKruhu);
    return b;
}

void TBehModulu::VymazDiagnostiku()
{
    vymazanoMs_ = UptimeMs();
}

}  // namespace vk::sim
