#include "HlavniLinka.h"

namespace vk::procedures::hlavnilinka {

namespace {

bool Stejne(const core::TCFG_UARTM& a, const core::TCFG_UARTM& b)
{
    return a.KodBaud == b.KodBaud && a.KodParita == b.KodParita && a.Timeout == b.Timeout && a.Opakovani == b.Opakovani;
}

}  // namespace

TOknoHlavniLinka ZapisOkno(const core::TCFGVK& cfg)
{
    TOknoHlavniLinka o;
    o.ComboBox1 = IndexPolozky(cfg.UARTM.KodBaud - PosunKoduBaud, PocetPolozekBaud);
    o.ComboBox2 = IndexPolozky(cfg.UARTM.KodParita, PocetPolozekParita);
    o.Edit1 = std::to_string(cfg.UARTM.Timeout);
    o.Edit2 = std::to_string(cfg.UARTM.Opakovani);
    return o;
}

TPlatnost PrectiOkno(const TOknoHlavniLinka& okno, core::TCFGVK& cfg)
{
    std::int32_t v = 0;
    if (!PrevedVRozsahu(okno.Edit1, 1, 65535, v))
        return ChybaPole(TextChybaTimeoutu);
    cfg.UARTM.Timeout = static_cast<std::uint16_t>(v);
    if (!PrevedVRozsahu(okno.Edit2, 0, 15, v))
        return ChybaPole(TextChybaOpakovani);
    cfg.UARTM.Opakovani = static_cast<std::uint8_t>(v);
    // A list with no item selected (-1) stores code 1 for the baud rate and
    // 255 for the parity.
    cfg.UARTM.KodBaud = static_cast<std::uint8_t>(okno.ComboBox1 + PosunKoduBaud);
    cfg.UARTM.KodParita = static_cast<std::uint8_t>(okno.ComboBox2);
    return Platne();
}

TOknoHlavniLinka VychoziOkno()
{
    return {2, 1, "330", "0"};
}

device::TVK7316R_UartmCfg NaZaznam(const core::TCFG_UARTM& uartm)
{
    device::TVK7316R_UartmCfg r;
    r.KodBaud = uartm.KodBaud;
    r.KodParita = uartm.KodParita;
    r.Timeout = uartm.Timeout;
    r.Opakovani = uartm.Opakovani;
    return r;
}

void ZeZaznamu(const device::TVK7316R_UartmCfg& r, core::TCFG_UARTM& uartm)
{
    uartm.KodBaud = r.KodBaud;
    uartm.KodParita = r.KodParita;
    uartm.Timeout = r.Timeout;
    uartm.Opakovani = r.Opakovani;
}

TVysledekCteni PrectiData(device::TVK7316R& modul, core::TCFGVK& cfg, const TOznameni& oznam)
{
    return detail::PrectiSoubor<device::TVK7316R_UartmCfg>(
        modul, oznam, [&](device::TVK7316R_UartmCfg& r) { return device::PrectiUartmCfg(modul, r); },
        [&](const device::TVK7316R_UartmCfg& r) { ZeZaznamu(r, cfg.UARTM); });
}

TVysledekZapisu ZapisData(device::TVK7316R& modul, core::TCFGVK cfg, const TOznameni& oznam)
{
    TVysledekZapisu v = detail::ZapisSoubor(modul, oznam, NaZaznam(cfg.UARTM), [&](device::TVK7316R_UartmCfg& r) {
        return device::ZapisUartmCfg(modul, r);
    });
    if (v.Zapsano) {
        v = detail::Over(
            std::move(v), [&](core::TCFGVK& zpet) { return PrectiData(modul, zpet, oznam); },
            [&](const core::TCFGVK& zpet) { return Stejne(cfg.UARTM, zpet.UARTM); });
    }
    detail::Oznam(oznam, v.Status);
    return v;
}

const TOblast<TOknoHlavniLinka>& Oblast()
{
    static const TOblast<TOknoHlavniLinka> oblast{"uartm.cfg", false,      ZapisOkno, PrectiOkno,
                                                  VychoziOkno, PrectiData, ZapisData};
    return oblast;
}

}  // namespace vk::procedures::hlavnilinka
