// The module's settings files: lan4.cfg, mbtcp.cfg, uarts.cfg, uartm.cfg,
// sprava.cfg over the connection's link (log.cfg is with the event log
// files, over the TFTP link alone).
#include "SpolecnyPrubeh.h"
#include "U_VK7316R.h"

namespace vk::device {

bool PrectiLan4Cfg(TVK7316R& modul, TVK7316R_Lan4Cfg& r)
{
    return detail::ProvedCteni(modul, r, "lan4.cfg", DekodujLan4Cfg);
}

bool ZapisLan4Cfg(TVK7316R& modul, TVK7316R_Lan4Cfg& r)
{
    const auto b = KodujLan4Cfg(r);
    return detail::ProvedZapis(modul, r, "lan4.cfg", b);
}

bool PrectiMbtcpCfg(TVK7316R& modul, TVK7316R_MbtcpCfg& r)
{
    return detail::ProvedCteni(modul, r, "mbtcp.cfg", DekodujMbtcpCfg);
}

bool ZapisMbtcpCfg(TVK7316R& modul, TVK7316R_MbtcpCfg& r)
{
    const auto b = KodujMbtcpCfg(r);
    return detail::ProvedZapis(modul, r, "mbtcp.cfg", b);
}

bool PrectiUartsCfg(TVK7316R& modul, TVK7316R_UartsCfg& r)
{
    return detail::ProvedCteni(modul, r, "uarts.cfg", DekodujUartsCfg);
}

bool ZapisUartsCfg(TVK7316R& modul, TVK7316R_UartsCfg& r)
{
    const auto b = KodujUartsCfg(r);
    return detail::ProvedZapis(modul, r, "uarts.cfg", b);
}

bool PrectiUartmCfg(TVK7316R& modul, TVK7316R_UartmCfg& r)
{
    return detail::ProvedCteni(modul, r, "uartm.cfg", DekodujUartmCfg);
}

bool ZapisUartmCfg(TVK7316R& modul, TVK7316R_UartmCfg& r)
{
    const auto b = KodujUartmCfg(r);
    return detail::ProvedZapis(modul, r, "uartm.cfg", b);
}

bool PrectiSpravaCfg(TVK7316R& modul, TVK7316R_SpravaCfg& r)
{
    return detail::ProvedCteni(modul, r, "sprava.cfg", DekodujSpravaCfg);
}

bool ZapisSpravaCfg(TVK7316R& modul, TVK7316R_SpravaCfg& r)
{
    const auto b = KodujSpravaCfg(r);
    return detail::ProvedZapis(modul, r, "sprava.cfg", b);
}

}  // namespace vk::device
