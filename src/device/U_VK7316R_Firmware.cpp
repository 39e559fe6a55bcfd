// Firmware files: fw.akt (the running image's header), fw.hbn (upload of a
// new image) and boot.cmd (the loader's command at the next start).
#include "Rozhrani.h"
#include "SpolecnyPrubeh.h"
#include "U_VK7316R.h"
#include "ZnakoveTexty.h"

namespace vk::device {

bool PrectiFwAkt(TVK7316R& modul, TVK7316R_FwAkt& r)
{
    return detail::ProvedCteni(modul, r, "fw.akt", DekodujFwAkt);
}

bool ZapisFwHbn(TVK7316R& modul, TVK7316R_FwHbn& r, const link::TPrubeh& prubeh)
{
    return detail::Proved(modul, r, [&](std::string& chyba) {
        if (modul.Rozhrani == vk::common::RozhraniLAN) {
            const bool ok = link::ZapisZeSouboru(modul.TFTP, r.LokalniSoubor, "fw.hbn", prubeh);
            chyba = modul.TFTP.ED.StatusText;
            return ok;
        }
        return detail::NahrajRTU(
            modul.MBRTU, [&] { return link::NahrajSoubor(modul.MBRTU, r.LokalniSoubor, 46, prubeh); }, chyba);
    });
}

bool PrectiBootCmd(TVK7316R& modul, TVK7316R_BootCmd& r)
{
    return detail::ProvedCteni(modul, r, "boot.cmd", DekodujBootCmd);
}

bool ZapisBootCmd(TVK7316R& modul, TVK7316R_BootCmd& r)
{
    if (!modul.Init || r.Cmd.empty())
        return false;
    // The module takes at most 200 bytes; a longer command is not cut short
    // behind the user's back.
    if (common::PocetZnaku(r.Cmd) > MaxDelkaPrikazu)
        return detail::NastavVysledek(r, false, std::string(TextDlouhyPrikaz));
    const auto b = KodujBootCmd(r.Cmd);
    return detail::ProvedZapis(modul, r, "boot.cmd", b);
}

}  // namespace vk::device
