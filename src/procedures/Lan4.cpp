#include "Lan4.h"

namespace vk::procedures::lan4 {

namespace {

const std::string NulovaIP6 = "0000:0000:0000:0000:0000:0000:0000:0000";

bool StejneAdresy(const core::TCFG_LAN4& a, const core::TCFG_LAN4& b)
{
    return a.IP4_Adresa == b.IP4_Adresa && a.IP4_Maska == b.IP4_Maska && a.IP4_Brana == b.IP4_Brana &&
           a.IP4_DHCP == b.IP4_DHCP;
}

}  // namespace

TOknoLan4 ZapisOkno(const core::TCFGVK& cfg)
{
    TOknoLan4 o;
    o.Edit1 = core::IP4NaText(cfg.LAN4.IP4_Adresa);
    o.Edit2 = core::IP4NaText(cfg.LAN4.IP4_Maska);
    o.Edit3 = core::IP4NaText(cfg.LAN4.IP4_Brana);
    o.ComboBox1 = IndexPolozky(cfg.LAN4.IP4_DHCP, PocetPolozekDHCP);
    o.Edit4 = core::IP6NaText(cfg.LAN6.IP6_LLA);
    o.Edit5 = core::IP6NaText(cfg.LAN6.IP6_GUA);
    o.Edit6 = core::IP6NaText(cfg.LAN6.IP6_Maska);
    o.Edit7 = core::IP6NaText(cfg.LAN6.IP6_Brana);
    return o;
}

TPlatnost PrectiOkno(const TOknoLan4& okno, core::TCFGVK& cfg)
{
    core::TAdresa4 ip{};
    if (!core::TextNaIP4(okno.Edit1, ip))
        return ChybaPole(TextChybaAdresy);
    cfg.LAN4.IP4_Adresa = ip;
    if (!core::TextNaIP4(okno.Edit2, ip))
        return ChybaPole(TextChybaMasky);
    cfg.LAN4.IP4_Maska = ip;
    if (!core::TextNaIP4(okno.Edit3, ip))
        return ChybaPole(TextChybaBrany);
    cfg.LAN4.IP4_Brana = ip;
    // A list with no item selected stores its index -1 as the byte 255.
    cfg.LAN4.IP4_DHCP = static_cast<std::uint8_t>(okno.ComboBox1);
    return Platne();
}

TOknoLan4 VychoziOkno()
{
    TOknoLan4 o;
    o.Edit1 = "192.168.0.99";
    o.Edit2 = "255.255.255.0";
    o.Edit3 = "192.168.0.200";
    o.ComboBox1 = 0;
    o.Edit4 = o.Edit5 = o.Edit6 = o.Edit7 = NulovaIP6;
    return o;
}

bool AdresyPovoleny(const TOknoLan4& okno)
{
    return okno.ComboBox1 == 0;
}

device::TVK7316R_Lan4Cfg NaZaznam(const core::TCFG_LAN4& lan4)
{
    device::TVK7316R_Lan4Cfg r;
    r.IP4_Adresa = lan4.IP4_Adresa;
    r.IP4_Maska = lan4.IP4_Maska;
    r.IP4_Brana = lan4.IP4_Brana;
    r.IP4_DHCP = lan4.IP4_DHCP;
    return r;
}

void ZeZaznamu(const device::TVK7316R_Lan4Cfg& r, core::TCFG_LAN4& lan4)
{
    lan4.IP4_Adresa = r.IP4_Adresa;
    lan4.IP4_Maska = r.IP4_Maska;
    lan4.IP4_Brana = r.IP4_Brana;
    lan4.IP4_DHCP = r.IP4_DHCP;
}

TVysledekCteni PrectiData(device::TVK7316R& modul, core::TCFGVK& cfg, const TOznameni& oznam)
{
    return detail::PrectiSoubor<device::TVK7316R_Lan4Cfg>(
        modul, oznam, [&](device::TVK7316R_Lan4Cfg& r) { return device::PrectiLan4Cfg(modul, r); },
        [&](const device::TVK7316R_Lan4Cfg& r) { ZeZaznamu(r, cfg.LAN4); });
}

TVysledekZapisu ZapisData(device::TVK7316R& modul, core::TCFGVK cfg, const TOznameni& oznam)
{
    TVysledekZapisu v = detail::ZapisSoubor(
        modul, oznam, NaZaznam(cfg.LAN4), [&](device::TVK7316R_Lan4Cfg& r) { return device::ZapisLan4Cfg(modul, r); });
    if (v.Zapsano) {
        v = detail::Over(
            std::move(v), [&](core::TCFGVK& zpet) { return PrectiData(modul, zpet, oznam); },
            [&](const core::TCFGVK& zpet) { return StejneAdresy(cfg.LAN4, zpet.LAN4); });
    }
    detail::Oznam(oznam, v.Status);
    return v;
}

const TOblast<TOknoLan4>& Oblast()
{
    static const TOblast<TOknoLan4> oblast{"lan4.cfg",  false,      ZapisOkno, PrectiOkno,
                                           VychoziOkno, PrectiData, ZapisData};
    return oblast;
}

}  // namespace vk::procedures::lan4
