#include "LogNastaveni.h"

namespace vk::procedures::lognastaveni {

TOknoLogNastaveni ZapisOkno(const core::TCFGVK& cfg)
{
    TOknoLogNastaveni o;
    // Only the lowest bit of Povolen counts: 2 shows "zakázáno", 3 "povoleno".
    o.ComboBox1 = cfg.LOG.Povolen & 1;
    for (std::size_t n = 0; n < o.CheckBox.size(); ++n)
        o.CheckBox[n] = (cfg.LOG.Udalost >> n & 1u) != 0;
    return o;
}

TPlatnost PrectiOkno(const TOknoLogNastaveni& okno, core::TCFGVK& cfg)
{
    cfg.LOG.Povolen = okno.ComboBox1;
    std::uint32_t udalost = 0;
    for (std::size_t n = 0; n < okno.CheckBox.size(); ++n) {
        if (okno.CheckBox[n])
            udalost |= 1u << n;
    }
    cfg.LOG.Udalost = udalost;
    return Platne();
}

device::TVK7316R_LogCfg NaZaznam(const core::TCFG_LOG& log)
{
    device::TVK7316R_LogCfg r;
    r.Povolen = static_cast<std::uint8_t>(log.Povolen);
    r.Udalost = log.Udalost;
    return r;
}

void ZeZaznamu(const device::TVK7316R_LogCfg& r, core::TCFG_LOG& log)
{
    log.Povolen = r.Povolen;
    log.Udalost = r.Udalost;
}

TVysledekCteni PrectiData(device::TVK7316R& modul, core::TCFGVK& cfg, const TOznameni& oznam)
{
    return detail::PrectiSoubor<device::TVK7316R_LogCfg>(
        modul, oznam, [&](device::TVK7316R_LogCfg& r) { return device::PrectiLogCfg(modul, r); },
        [&](const device::TVK7316R_LogCfg& r) { ZeZaznamu(r, cfg.LOG); });
}

TVysledekZapisu ZapisData(device::TVK7316R& modul, core::TCFGVK cfg, const TOznameni& oznam)
{
    const TVysledekZapisu v = detail::ZapisSoubor(
        modul, oznam, NaZaznam(cfg.LOG), [&](device::TVK7316R_LogCfg& r) { return device::ZapisLogCfg(modul, r); });
    detail::Oznam(oznam, v.Status);
    return v;
}

const TOblast<TOknoLogNastaveni>& Oblast()
{
    static const TOblast<TOknoLogNastaveni> oblast{"log.cfg", true,       ZapisOkno, PrectiOkno,
                                                   nullptr,   PrectiData, ZapisData};
    return oblast;
}

}  // namespace vk::procedures::lognastaveni
