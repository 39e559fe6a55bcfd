#include "ModbusTCP.h"

namespace vk::procedures::modbustcp {

TOknoModbusTCP ZapisOkno(const core::TCFGVK& cfg)
{
    return {std::to_string(cfg.MBTCP.UnitID), std::to_string(cfg.MBTCP.Timeout)};
}

TPlatnost PrectiOkno(const TOknoModbusTCP& okno, core::TCFGVK& cfg)
{
    std::int32_t v = 0;
    if (!PrevedVRozsahu(okno.Edit1, 1, 255, v))
        return ChybaPole(TextChybaAdresy);
    cfg.MBTCP.UnitID = static_cast<std::uint8_t>(v);
    if (!PrevedVRozsahu(okno.Edit2, 1, 255, v))
        return ChybaPole(TextChybaTimeoutu);
    cfg.MBTCP.Timeout = static_cast<std::uint8_t>(v);
    return Platne();
}

TOknoModbusTCP VychoziOkno()
{
    return {"255", "5"};
}

device::TVK7316R_MbtcpCfg NaZaznam(const core::TCFG_MBTCP& mbtcp)
{
    device::TVK7316R_MbtcpCfg r;
    r.UnitID = mbtcp.UnitID;
    r.Timeout = mbtcp.Timeout;
    return r;
}

void ZeZaznamu(const device::TVK7316R_MbtcpCfg& r, core::TCFG_MBTCP& mbtcp)
{
    mbtcp.UnitID = r.UnitID;
    mbtcp.Timeout = r.Timeout;
}

TVysledekCteni PrectiData(device::TVK7316R& modul, core::TCFGVK& cfg, const TOznameni& oznam)
{
    return detail::PrectiSoubor<device::TVK7316R_MbtcpCfg>(
        modul, oznam, [&](device::TVK7316R_MbtcpCfg& r) { return device::PrectiMbtcpCfg(modul, r); },
        [&](const device::TVK7316R_MbtcpCfg& r) { ZeZaznamu(r, cfg.MBTCP); });
}

TVysledekZapisu ZapisData(device::TVK7316R& modul, core::TCFGVK cfg, const TOznameni& oznam)
{
    TVysledekZapisu v = detail::ZapisSoubor(modul, oznam, NaZaznam(cfg.MBTCP), [&](device::TVK7316R_MbtcpCfg& r) {
        return device::ZapisMbtcpCfg(modul, r);
    });
    if (v.Zapsano) {
        v = detail::Over(
            std::move(v), [&](core::TCFGVK& zpet) { return PrectiData(modul, zpet, oznam); },
            [&](const core::TCFGVK& zpet) {
                return zpet.MBTCP.UnitID == cfg.MBTCP.UnitID && zpet.MBTCP.Timeout == cfg.MBTCP.Timeout;
            });
    }
    detail::Oznam(oznam, v.Status);
    return v;
}

const TOblast<TOknoModbusTCP>& Oblast()
{
    static const TOblast<TOknoModbusTCP> oblast{"mbtcp.cfg", false,      ZapisOkno, PrectiOkno,
                                                VychoziOkno, PrectiData, ZapisData};
    return oblast;
}

}  // namespace vk::procedures::modbustcp
