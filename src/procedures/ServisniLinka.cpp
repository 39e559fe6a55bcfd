#include "ServisniLinka.h"

namespace vk::procedures::servisnilinka {

namespace {

bool Stejne(const core::TCFG_UARTS& a, const core::TCFG_UARTS& b)
{
    return a.Adresa == b.Adresa && a.KodBaud == b.KodBaud && a.KodParita == b.KodParita && a.Repeater == b.Repeater;
}

}  // namespace

TOknoServisniLinka ZapisOkno(const core::TCFGVK& cfg)
{
    TOknoServisniLinka o;
    o.Edit1 = std::to_string(cfg.UARTS.Adresa);
    o.ComboBox1 = IndexPolozky(cfg.UARTS.KodBaud - PosunKoduBaud, PocetPolozekBaud);
    o.ComboBox2 = IndexPolozky(cfg.UARTS.KodParita, PocetPolozekParita);
    o.ComboBox3 = IndexPolozky(cfg.UARTS.Repeater, PocetPolozekRepeater);
    return o;
}

TPlatnost PrectiOkno(const TOknoServisniLinka& okno, core::TCFGVK& cfg)
{
    std::int32_t v = 0;
    if (!PrevedVRozsahu(okno.Edit1, 1, 255, v))
        return ChybaPole(TextChybaAdresy);
    cfg.UARTS.Adresa = static_cast<std::uint8_t>(v);
    // A list with no item selected (-1) stores code 1 for the baud rate and
    // 255 for the others.
    cfg.UARTS.KodBaud = static_cast<std::uint8_t>(okno.ComboBox1 + PosunKoduBaud);
    cfg.UARTS.KodParita = static_cast<std::uint8_t>(okno.ComboBox2);
    cfg.UARTS.Repeater = static_cast<std::uint8_t>(okno.ComboBox3);
    return Platne();
}

TOknoServisniLinka VychoziOkno()
{
    return {"247", 2, 1, 0};
}

device::TVK7316R_UartsCfg NaZaznam(const core::TCFG_UARTS& uarts)
{
    device::TVK7316R_UartsCfg r;
    r.Adresa = uarts.Adresa;
    r.KodBaud = uarts.KodBaud;
    r.KodParita = uarts.KodParita;
    r.Repeater = uarts.Repeater;
    return r;
}

void ZeZaznamu(const device::TVK7316R_UartsCfg& r, core::TCFG_UARTS& uarts)
{
    uarts.Adresa = r.Adresa;
    uarts.KodBaud = r.KodBaud;
    uarts.KodParita = r.KodParita;
    uarts.Repeater = r.Repeater;
}

TVysledekCteni PrectiData(device::TVK7316R& modul, core::TCFGVK& cfg, const TOznameni& oznam)
{
    return detail::PrectiSoubor<device::TVK7316R_UartsCfg>(
        modul, oznam, [&](device::TVK7316R_UartsCfg& r) { return device::PrectiUartsCfg(modul, r); },
        [&](const device::TVK7316R_UartsCfg& r) { ZeZaznamu(r, cfg.UARTS); });
}

TVysledekZapisu ZapisData(device::TVK7316R& modul, core::TCFGVK cfg, const TOznameni& oznam)
{
    TVysledekZapisu v = detail::ZapisSoubor(modul, oznam, NaZaznam(cfg.UARTS), [&](device::TVK7316R_UartsCfg& r) {
        return device::ZapisUartsCfg(modul, r);
    });
    if (v.Zapsano) {
        v = detail::Over(
            std::move(v), [&](core::TCFGVK& zpet) { return PrectiData(modul, zpet, oznam); },
            [&](const core::TCFGVK& zpet) { return Stejne(cfg.UARTS, zpet.UARTS); });
    }
    detail::Oznam(oznam, v.Status);
    return v;
}

const TOblast<TOknoServisniLinka>& Oblast()
{
    static const TOblast<TOknoServisniLinka> oblast{"uarts.cfg", false,      ZapisOkno, PrectiOkno,
                                                    VychoziOkno, PrectiData, ZapisData};
    return oblast;
}

}  // namespace vk::procedures::servisnilinka
