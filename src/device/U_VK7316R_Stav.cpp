// The module's status and diagnostic files (Stav = state): rtc.bin, sys.bin,
// mmrd.bin, mmrgv.bin, and the command file ctrl.bin.
#include "SpolecnyPrubeh.h"
#include "U_VK7316R.h"

namespace vk::device {

bool PrectiRtcBin(TVK7316R& modul, TVK7316R_RtcBin& r)
{
    return detail::ProvedCteni(modul, r, "rtc.bin", DekodujRtcBin);
}

bool ZapisRtcBin(TVK7316R& modul, TVK7316R_RtcBin& r)
{
    const auto b = KodujRtcBin(r);
    return detail::ProvedZapis(modul, r, "rtc.bin", b);
}

bool PrectiSysBin(TVK7316R& modul, TVK7316R_SysBin& r)
{
    return detail::ProvedCteni(modul, r, "sys.bin", DekodujSysBin);
}

bool PrectiMmrdBin(TVK7316R& modul, TVK7316R_MmrdBin& r)
{
    return detail::ProvedCteni(modul, r, "mmrd.bin", DekodujMmrdBin);
}

bool PrectiMmrgvBin(TVK7316R& modul, TVK7316R_MmrgvBin& r)
{
    return detail::ProvedCteni(modul, r, "mmrgv.bin", DekodujMmrgvBin);
}

bool ZapisCtrlBin(TVK7316R& modul, TVK7316R_CtrlBin& r)
{
    const auto b = KodujCtrlBin(r);
    return detail::ProvedZapis(modul, r, "ctrl.bin", b);
}

namespace {

// A command is a ctrl.bin write whose outcome the caller's record takes over.
template <class R>
bool ProvedPrikaz(TVK7316R& modul, TVK7316R_CtrlBin prikaz, R& r)
{
    if (!modul.Init) {
        r.Status = 1;
        r.StatusText.clear();
        return false;
    }
    const bool ok = ZapisCtrlBin(modul, prikaz);
    r.Status = prikaz.Status;
    r.StatusText = prikaz.StatusText;
    return ok;
}

}  // namespace

bool RestartModulu(TVK7316R& modul, TVK7316R_Restart& r)
{
    return ProvedPrikaz(modul, PrikazRestart(), r);
}

bool VymazDiagnostiku(TVK7316R& modul, TVK7316R_ClrDiag& r)
{
    return ProvedPrikaz(modul, PrikazVymazDiagnostiku(), r);
}

}  // namespace vk::device
