#include "VypisZaznamu.h"

#include "Dekl.h"

namespace vk::formy {

namespace {

template <std::size_t N>
THodnota Hex(const std::array<std::uint8_t, N>& b)
{
    return Retezec(NaHex(b.data(), N));
}

THodnota IP4(const device::TAdresaIP4& ip)
{
    return Retezec(core::IP4NaText(ip));
}

THodnota IP6(const device::TAdresaIP6& ip)
{
    return Retezec(core::IP6NaText(ip));
}

THodnota Datum(const device::TRTC& rtc)
{
    return Retezec(TextRTC(rtc.data()));
}

// One measurement group of sys.bin: value, minimum, maximum and their mark.
void PridejMereni(TPolozky& p, const std::string& nazev, double hodnota, double min, double max, std::uint32_t status,
                  std::uint32_t casZnacka, const device::TRTC& datumCas, std::uint32_t cisloMereni)
{
    p.push_back({nazev, Realne(hodnota)});
    p.push_back({nazev + "_Min", Realne(min)});
    p.push_back({nazev + "_Max", Realne(max)});
    p.push_back({nazev + "_Status", Cislo(status)});
    p.push_back({nazev + "_CasZnacka", Cislo(casZnacka)});
    p.push_back({nazev + "_DatumCas", Datum(datumCas)});
    p.push_back({nazev + "_CisloMereni", Cislo(cisloMereni)});
}

}  // namespace

std::string TextPolozkySpravy(const device::TAdresaIP6& ip, std::uint32_t verzeIP)
{
    if (verzeIP != 0)
        return core::IP6NaText(ip);
    return core::IP4NaText({ip[0], ip[1], ip[2], ip[3]});
}

TPolozky Polozky(const device::TVK7316R_InfoTxt& r)
{
    return {{"Text", Retezec(r.Text)}};
}

TPolozky Polozky(const device::TVK7316R_RtcBin& r)
{
    return {{"MSek", Cislo(r.MSek)}, {"Sek", Cislo(r.Sek)}, {"Min", Cislo(r.Min)}, {"Hod", Cislo(r.Hod)},
            {"Den", Cislo(r.Den)},   {"Mes", Cislo(r.Mes)}, {"Rok", Cislo(r.Rok)}, {"DDen", Cislo(r.DDen)}};
}

TPolozky Polozky(const device::TVK7316R_SysBin& r)
{
    TPolozky p = {
        {"TypFW", Retezec(r.TypFW)},
        {"TypLoader", Retezec(r.TypLoader)},
        {"VyrCislo", Retezec(r.VyrCislo)},
        {"AktualHBIN", Objekt({{"Delka", Cislo(r.AktualHBIN.Delka)},
                               {"Hash", Hex(r.AktualHBIN.Hash)},
                               {"DatumCas", Datum(r.AktualHBIN.DatumCas)},
                               {"NazevFW", Retezec(r.AktualHBIN.NazevFW)}})},
        {"MAC", Retezec(TextMAC(r.MAC.data()))},
        {"IP4_Adresa", IP4(r.IP4_Adresa)},
        {"IP4_Maska", IP4(r.IP4_Maska)},
        {"IP4_Brana", IP4(r.IP4_Brana)},
        {"IP4_DHCP", Cislo(r.IP4_DHCP)},
        {"IP6_LLA", IP6(r.IP6_LLA)},
        {"IP6_GUA", IP6(r.IP6_GUA)},
        {"IP6_Maska", IP6(r.IP6_Maska)},
        {"IP6_Brana", IP6(r.IP6_Brana)},
        {"IP6_DHCP", Cislo(r.IP6_DHCP)},
        {"UptimeMs", Cislo(r.UptimeMs)},
        {"UptimeMsH", Cislo(r.UptimeMsH)},
        {"Uptime10Ms", Cislo(r.Uptime10Ms)},
        {"UptimeS", Cislo(r.UptimeS)},
        {"RTCr", Datum(r.RTCr)},
        {"CasVypnuti", Datum(r.CasVypnuti)},
        {"CasZapnuti", Datum(r.CasZapnuti)},
        {"Priznaky", Cislo(r.Priznaky)},
        {"CitacVypnuti", Cislo(r.CitacVypnuti)},
        {"CitacStudenyStart", Cislo(r.CitacStudenyStart)},
        {"CitacTeplyStart", Cislo(r.CitacTeplyStart)},
        {"CitacGlobalAuth", Cislo(r.CitacGlobalAuth)},
        {"CitacLinkDown", Cislo(r.CitacLinkDown)},
    };
    PridejMereni(p, "TeplotaUP", r.TeplotaUP, r.TeplotaUP_Min, r.TeplotaUP_Max, r.TeplotaUP_Status,
                 r.TeplotaUP_CasZnacka, r.TeplotaUP_DatumCas, r.TeplotaUP_CisloMereni);
    PridejMereni(p, "TeplotaDPS", r.TeplotaDPS, r.TeplotaDPS_Min, r.TeplotaDPS_Max, r.TeplotaDPS_Status,
                 r.TeplotaDPS_CasZnacka, r.TeplotaDPS_DatumCas, r.TeplotaDPS_CisloMereni);
    // NapetiPWR_Nekalib is not in the file; the read never fills it.
    PridejMereni(p, "NapetiPWR", r.NapetiPWR, r.NapetiPWR_Min, r.NapetiPWR_Max, r.NapetiPWR_Status,
                 r.NapetiPWR_CasZnacka, r.NapetiPWR_DatumCas, r.NapetiPWR_CisloMereni);
    return p;
}

TPolozky Polozky(const device::TVK7316R_MmrdBin& r)
{
    return {{"CelkemZpravy", Cislo(r.CelkemZpravy)},   {"CelkemChyby", Cislo(r.CelkemChyby)},
            {"CelkemNeg", Cislo(r.CelkemNeg)},         {"RychlostZprav", Cislo(r.RychlostZprav)},
            {"VytizeniLinky", Cislo(r.VytizeniLinky)}, {"AdresaChyba", Cislo(r.AdresaChyba)}};
}

TPolozky Polozky(const device::TVK7316R_MmrgvBin& r)
{
    return {{"PocetDat", Cislo(r.PocetDat)},
            {"MaxPocetDat", Cislo(r.MaxPocetDat)},
            {"IndexZapisu", Cislo(r.IndexZapisu)},
            {"PoleDat", Hex(r.PoleDat)}};
}

TPolozky Polozky(const device::TVK7316R_Lan4Cfg& r)
{
    return {{"IP4_Adresa", IP4(r.IP4_Adresa)},
            {"IP4_Maska", IP4(r.IP4_Maska)},
            {"IP4_Brana", IP4(r.IP4_Brana)},
            {"IP4_DHCP", Cislo(r.IP4_DHCP)}};
}

TPolozky Polozky(const device::TVK7316R_MbtcpCfg& r)
{
    return {{"UnitID", Cislo(r.UnitID)}, {"Timeout", Cislo(r.Timeout)}};
}

TPolozky Polozky(const device::TVK7316R_UartsCfg& r)
{
    return {{"Adresa", Cislo(r.Adresa)},
            {"KodBaud", Cislo(r.KodBaud)},
            {"KodParita", Cislo(r.KodParita)},
            {"Repeater", Cislo(r.Repeater)}};
}

TPolozky Polozky(const device::TVK7316R_UartmCfg& r)
{
    return {{"KodBaud", Cislo(r.KodBaud)},
            {"KodParita", Cislo(r.KodParita)},
            {"Timeout", Cislo(r.Timeout)},
            {"Opakovani", Cislo(r.Opakovani)}};
}

TPolozky Polozky(const device::TVK7316R_SpravaCfg& r)
{
    std::vector<THodnota> ip;
    std::vector<THodnota> verze;
    for (std::size_t i = 0; i < r.IP.size(); ++i) {
        ip.push_back(Retezec(TextPolozkySpravy(r.IP[i], r.VerzeIP[i])));
        verze.push_back(Cislo(r.VerzeIP[i]));
    }
    return {{"Rezim", Cislo(r.Rezim)}, {"IP", Pole(std::move(ip))}, {"VerzeIP", Pole(std::move(verze))}};
}

TPolozky Polozky(const device::TVK7316R_LogCfg& r)
{
    return {{"Povolen", Cislo(r.Povolen)}, {"Udalost", Cislo(r.Udalost)}};
}

TPolozky Polozky(const device::TVK7316R_FwAkt& r)
{
    return {{"Hlavicka", Hex(r.Hlavicka)},
            {"Delka", Cislo(r.Delka)},
            {"HASH", Hex(r.HASH)},
            {"DatumCas", Retezec(r.DatumCas)},
            {"Soubor", Retezec(r.Soubor)}};
}

TPolozky Polozky(const device::TVK7316R_BootCmd& r)
{
    return {{"Cmd", Retezec(r.Cmd)}};
}

}  // namespace vk::formy
