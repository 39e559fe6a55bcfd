#include "KodekySouboru.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "BajtovaCisla.h"
#include "ZnakoveTexty.h"

namespace vk::device {

using common::Cti16;
using common::Cti32;

namespace {

// A copy of the file as long as its layout: a network file may be shorter
// than the layout, and the bytes it lacks are taken as zero.
template <std::size_t N>
std::array<std::uint8_t, N> Doplnene(TBajty bajty)
{
    std::array<std::uint8_t, N> b{};
    std::copy_n(bajty.begin(), std::min(N, bajty.size()), b.begin());
    return b;
}

void Zapis16(std::uint8_t* p, std::uint16_t v)
{
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

void Zapis32(std::uint8_t* p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

template <std::size_t N>
void CtiPole(const std::uint8_t* p, std::array<std::uint8_t, N>& cil)
{
    std::copy_n(p, N, cil.begin());
}

std::string Text(const std::uint8_t* p, std::size_t pocet)
{
    return common::BajtyNaText(p, pocet);
}

// The last byte of a writable file is its check byte over all before it.
template <std::size_t N>
void DoplnKontrolu(std::array<std::uint8_t, N>& b)
{
    b[N - 1] = common::KontrolniBajt(b.data(), N - 1);
}

// One measurement group of sys.bin: value, minimum, maximum, status, time
// mark, date and time, number of the measurement.
struct TMereni {
    double& Hodnota;
    double& Min;
    double& Max;
    std::uint32_t& Status;
    std::uint32_t& CasZnacka;
    TRTC& DatumCas;
    std::uint32_t& CisloMereni;
};

// `mezera`: bytes between the value and its minimum (the supply voltage
// group has 4 unread bytes there).
void CtiMereni(const std::uint8_t* p, std::size_t mezera, TMereni m)
{
    m.Hodnota = DekodujFloat(p);
    p += 4 + mezera;
    m.Min = DekodujFloat(p);
    m.Max = DekodujFloat(p + 4);
    m.Status = Cti32(p + 8);
    m.CasZnacka = Cti32(p + 12);
    CtiPole(p + 16, m.DatumCas);
    m.CisloMereni = Cti32(p + 24);
}

}  // namespace

double DekodujFloat(const std::uint8_t* b)
{
    const float f = std::bit_cast<float>(Cti32(b));
    return std::isnan(f) ? 0.0 : static_cast<double>(f);
}

void DekodujInfoTxt(TBajty bajty, TVK7316R_InfoTxt& r)
{
    r.Text = Text(bajty.data(), bajty.size());
}

void DekodujRtcBin(TBajty bajty, TVK7316R_RtcBin& r)
{
    const auto b = Doplnene<9>(bajty);
    r.MSek = Cti16(&b[0]);
    r.Sek = b[2];
    r.Min = b[3];
    r.Hod = b[4];
    r.Den = b[5];
    r.Mes = b[6];
    r.Rok = b[7];
    r.DDen = b[8];
}

std::array<std::uint8_t, 9> KodujRtcBin(const TVK7316R_RtcBin& r)
{
    std::array<std::uint8_t, 9> b{};
    Zapis16(&b[0], r.MSek);
    const std::uint16_t dalsi[] = {r.Sek, r.Min, r.Hod, r.Den, r.Mes, r.Rok, r.DDen};
    for (std::size_t i = 0; i < 7; ++i)
        b[2 + i] = static_cast<std::uint8_t>(dalsi[i]);
    return b;
}

THlavickaHBIN DekodujHlavickuHBIN(TBajty bajty)
{
    const auto b = Doplnene<64>(bajty);
    THlavickaHBIN h;
    h.Delka = Cti32(&b[0]);
    CtiPole(&b[4], h.Hash);
    // The header keeps seconds to year; the milliseconds of a TRTC stay 0.
    std::copy_n(&b[20], 6, h.DatumCas.begin() + 2);
    h.NazevFW = Text(&b[26], 38);
    return h;
}

void DekodujSysBin(TBajty bajty, TVK7316R_SysBin& r)
{
    const auto b = Doplnene<392>(bajty);
    r.TypFW = Text(&b[0], 24);
    // Offsets 39 to 41 lie inside the loader field but are not part of its text.
    r.TypLoader = Text(&b[24], 15) + Text(&b[42], 6);
    r.VyrCislo = Text(&b[48], 8);
    r.AktualHBIN = DekodujHlavickuHBIN(TBajty(&b[56], 64));
    CtiPole(&b[120], r.MAC);
    CtiPole(&b[128], r.IP4_Adresa);
    CtiPole(&b[132], r.IP4_Maska);
    CtiPole(&b[136], r.IP4_Brana);
    r.IP4_DHCP = Cti32(&b[140]);
    CtiPole(&b[144], r.IP6_LLA);
    CtiPole(&b[160], r.IP6_GUA);
    CtiPole(&b[176], r.IP6_Maska);
    CtiPole(&b[192], r.IP6_Brana);
    r.IP6_DHCP = Cti32(&b[208]);
    r.UptimeMs = Cti32(&b[228]);
    r.UptimeMsH = Cti32(&b[232]);
    r.Uptime10Ms = Cti32(&b[236]);
    r.UptimeS = Cti32(&b[240]);
    CtiPole(&b[244], r.RTCr);
    CtiPole(&b[252], r.CasVypnuti);
    CtiPole(&b[260], r.CasZapnuti);
    r.Priznaky = Cti32(&b[268]);
    r.CitacVypnuti = Cti32(&b[272]);
    r.CitacStudenyStart = Cti32(&b[276]);
    r.CitacTeplyStart = Cti32(&b[280]);
    r.CitacGlobalAuth = Cti32(&b[284]);
    r.CitacLinkDown = Cti32(&b[288]);
    CtiMereni(&b[292], 0,
              {r.TeplotaUP, r.TeplotaUP_Min, r.TeplotaUP_Max, r.TeplotaUP_Status, r.TeplotaUP_CasZnacka,
               r.TeplotaUP_DatumCas, r.TeplotaUP_CisloMereni});
    CtiMereni(&b[324], 0,
              {r.TeplotaDPS, r.TeplotaDPS_Min, r.TeplotaDPS_Max, r.TeplotaDPS_Status, r.TeplotaDPS_CasZnacka,
               r.TeplotaDPS_DatumCas, r.TeplotaDPS_CisloMereni});
    CtiMereni(&b[356], 4,
              {r.NapetiPWR, r.NapetiPWR_Min, r.NapetiPWR_Max, r.NapetiPWR_Status, r.NapetiPWR_CasZnacka,
               r.NapetiPWR_DatumCas, r.NapetiPWR_CisloMereni});
}

void DekodujMmrdBin(TBajty bajty, TVK7316R_MmrdBin& r)
{
    const auto b = Doplnene<16>(bajty);
    r.CelkemZpravy = Cti32(&b[0]);
    r.CelkemChyby = Cti32(&b[4]);
    r.CelkemNeg = Cti32(&b[8]);
    r.RychlostZprav = Cti16(&b[12]);
    r.VytizeniLinky = b[14];
    r.AdresaChyba = b[15];
}

void DekodujMmrgvBin(TBajty bajty, TVK7316R_MmrgvBin& r)
{
    constexpr std::size_t velikost = 180;
    const auto b = Doplnene<12 + velikost>(bajty);
    r.PocetDat = Cti32(&b[0]);
    r.MaxPocetDat = Cti32(&b[4]);
    r.IndexZapisu = Cti32(&b[8]);
    // The module keeps the index below 180; a larger one is reduced rather
    // than read past the ring.
    const std::size_t zacatek = r.IndexZapisu % velikost;
    for (std::size_t k = 0; k < velikost; ++k)
        r.PoleDat[k] = b[12 + (zacatek + k) % velikost];
}

std::array<std::uint8_t, 23> KodujCtrlBin(const TVK7316R_CtrlBin& r)
{
    std::array<std::uint8_t, 23> b{};
    b[0] = r.Funkce;
    std::copy(r.Param.begin(), r.Param.end(), b.begin() + 1);
    DoplnKontrolu(b);
    return b;
}

TVK7316R_CtrlBin PrikazRestart()
{
    TVK7316R_CtrlBin c;
    c.Funkce = 0;
    c.Param[0] = 0xFF;
    c.Param[1] = 0x01;
    c.Param[2] = 0x00;
    c.Param[3] = 0xFF;
    return c;
}

TVK7316R_CtrlBin PrikazVymazDiagnostiku()
{
    TVK7316R_CtrlBin c;
    c.Funkce = 1;
    c.Param[0] = 0x01;
    return c;
}

void DekodujLan4Cfg(TBajty bajty, TVK7316R_Lan4Cfg& r)
{
    const auto b = Doplnene<16>(bajty);
    CtiPole(&b[0], r.IP4_Adresa);
    CtiPole(&b[4], r.IP4_Maska);
    CtiPole(&b[8], r.IP4_Brana);
    r.IP4_DHCP = b[12];
}

std::array<std::uint8_t, 16> KodujLan4Cfg(const TVK7316R_Lan4Cfg& r)
{
    std::array<std::uint8_t, 16> b{};
    std::copy(r.IP4_Adresa.begin(), r.IP4_Adresa.end(), b.begin());
    std::copy(r.IP4_Maska.begin(), r.IP4_Maska.end(), b.begin() + 4);
    std::copy(r.IP4_Brana.begin(), r.IP4_Brana.end(), b.begin() + 8);
    b[12] = r.IP4_DHCP;
    DoplnKontrolu(b);
    return b;
}

void DekodujMbtcpCfg(TBajty bajty, TVK7316R_MbtcpCfg& r)
{
    const auto b = Doplnene<3>(bajty);
    r.UnitID = b[0];
    r.Timeout = b[1];
}

std::array<std::uint8_t, 3> KodujMbtcpCfg(const TVK7316R_MbtcpCfg& r)
{
    std::array<std::uint8_t, 3> b{r.UnitID, r.Timeout, 0};
    DoplnKontrolu(b);
    return b;
}

void DekodujUartsCfg(TBajty bajty, TVK7316R_UartsCfg& r)
{
    const auto b = Doplnene<5>(bajty);
    r.Adresa = b[0];
    r.KodBaud = b[1];
    r.KodParita = b[2];
    r.Repeater = b[3];
}

std::array<std::uint8_t, 5> KodujUartsCfg(const TVK7316R_UartsCfg& r)
{
    std::array<std::uint8_t, 5> b{r.Adresa, r.KodBaud, r.KodParita, r.Repeater, 0};
    DoplnKontrolu(b);
    return b;
}

void DekodujUartmCfg(TBajty bajty, TVK7316R_UartmCfg& r)
{
    const auto b = Doplnene<6>(bajty);
    r.KodBaud = b[0];
    r.KodParita = b[1];
    r.Timeout = Cti16(&b[2]);
    r.Opakovani = b[4];
}

std::array<std::uint8_t, 6> KodujUartmCfg(const TVK7316R_UartmCfg& r)
{
    std::array<std::uint8_t, 6> b{r.KodBaud, r.KodParita, 0, 0, r.Opakovani, 0};
    Zapis16(&b[2], r.Timeout);
    DoplnKontrolu(b);
    return b;
}

void DekodujSpravaCfg(TBajty bajty, TVK7316R_SpravaCfg& r)
{
    const auto b = Doplnene<138>(bajty);
    r.Rezim = b[0];
    for (std::size_t i = 0; i < 8; ++i) {
        CtiPole(&b[1 + 17 * i], r.IP[i]);
        r.VerzeIP[i] = b[17 + 17 * i];
    }
}

std::array<std::uint8_t, 138> KodujSpravaCfg(const TVK7316R_SpravaCfg& r)
{
    std::array<std::uint8_t, 138> b{};
    b[0] = r.Rezim;
    for (std::size_t i = 0; i < 8; ++i) {
        std::copy(r.IP[i].begin(), r.IP[i].end(), b.begin() + 1 + 17 * i);
        b[17 + 17 * i] = static_cast<std::uint8_t>(r.VerzeIP[i]);
    }
    DoplnKontrolu(b);
    return b;
}

void DekodujLogCfg(TBajty bajty, TVK7316R_LogCfg& r)
{
    const auto b = Doplnene<7>(bajty);
    r.Povolen = b[0];
    r.Udalost = Cti32(&b[2]);
}

std::array<std::uint8_t, 7> KodujLogCfg(const TVK7316R_LogCfg& r)
{
    std::array<std::uint8_t, 7> b{};
    b[0] = static_cast<std::uint8_t>(r.Povolen & 1);
    Zapis32(&b[2], r.Udalost);
    DoplnKontrolu(b);
    return b;
}

std::array<std::uint8_t, 8> KodujLogClr(const TVK7316R_LogClr& r)
{
    return r.Rezerva;
}

std::string DatumCasHBIN(const std::uint8_t* b)
{
    auto dve = [](std::uint8_t v) { return (v < 10 ? "0" : "") + std::to_string(v); };
    return std::to_string(b[3]) + "." + std::to_string(b[4]) + ".20" + std::to_string(b[5]) + "  " +
           std::to_string(b[2]) + ":" + dve(b[1]) + ":" + dve(b[0]);
}

std::string NazevSouboruHBIN(TBajty bajty)
{
    std::string nazev;
    for (auto b : bajty)
        if (b >= 0x20)
            nazev.push_back(static_cast<char>(b));
    // Names may carry a Windows or POSIX directory, or a drive letter.
    if (const auto lomitko = nazev.find_last_of("\\/:"); lomitko != std::string::npos)
        nazev.erase(0, lomitko + 1);
    if (const auto tecka = nazev.rfind('.'); tecka != std::string::npos)
        nazev.erase(tecka);
    return Text(reinterpret_cast<const std::uint8_t*>(nazev.data()), nazev.size());
}

void DekodujFwAkt(TBajty bajty, TVK7316R_FwAkt& r)
{
    r.Hlavicka = Doplnene<64>(bajty);
    const auto& b = r.Hlavicka;
    r.Delka = Cti32(&b[0]);
    constexpr std::uint32_t maxDelka = 0x200000;  // 2 MiB: the module's image area
    if (r.Delka == 0 || r.Delka > maxDelka) {
        r.HASH = {};
        r.DatumCas = "???";
        r.Soubor = "???";
        return;
    }
    CtiPole(&b[4], r.HASH);
    r.DatumCas = DatumCasHBIN(&b[20]);
    r.Soubor = NazevSouboruHBIN(TBajty(&b[26], 38));
}

void DekodujBootCmd(TBajty bajty, TVK7316R_BootCmd& r)
{
    const auto konec = std::find(bajty.begin(), bajty.end(), std::uint8_t{0});
    const auto pocet = std::min<std::size_t>(static_cast<std::size_t>(konec - bajty.begin()), MaxDelkaCteniCmd);
    r.Cmd = Text(bajty.data(), pocet);
}

std::vector<std::uint8_t> KodujBootCmd(const std::string& cmd)
{
    return common::TextNaBajty(cmd);
}

}  // namespace vk::device
