#include "Firmware.h"

#include <filesystem>
#include <system_error>

#include "Cas.h"
#include "Ukonceni.h"
#include "ZnakoveTexty.h"

namespace vk::procedures {

namespace {

constexpr const char* TextCteni = " Probíhá čtení z modulu (";  // + percent + " %)"
constexpr const char* TextPrecteno = " Přečteno.";
constexpr const char* TextBezNazvu = "Není zadán název souboru";
constexpr const char* TextNenalezen = "Soubor nenalezen";
constexpr const char* TextZapis = " Probíhá zápis do modulu ...";
constexpr const char* TextZapsano = " Firmware zapsán do modulu. Pro spuštění nutno modul restartovat.";
constexpr const char* TextPreruseno = " Nahrávání přerušeno, nový firmware nebyl aktivován.";
constexpr const char* TextCteniBootCmd = " Probíhá čtení boot.cmd ...";
constexpr const char* TextProbihaRestart = " Probíhá restart zařízení ...";
constexpr const char* TextRestartovano = " Zařízení restartováno.";
constexpr std::size_t DelkaTypuVerze = 21;  // characters of info.txt shown as type and version

template <typename V>
void Hlaseni(V& v, std::string text, const TOznameni& oznam)
{
    v.Status = std::move(text);
    Oznam(oznam, v.Status);
}

// The first n characters of a UTF-8 text (fewer if it is shorter).
std::string PrvnichZnaku(const std::string& text, std::size_t n)
{
    std::size_t i = 0;
    for (std::size_t znaku = 0; znaku < n && i < text.size(); ++znaku)
        i += common::CtiZnak(text, i).Delka;
    return text.substr(0, i);
}

std::string TextCteniProcent(int procent)
{
    return TextCteni + std::to_string(procent) + " %)";
}

}  // namespace

TVysledekCteniFirmware PrectiFirmware(device::TVK7316R& modul, bool init, const core::TUpgrade& upgrade,
                                      const TOznameni& oznam)
{
    TVysledekCteniFirmware v;
    v.Upgrade = upgrade;
    if (!init) {
        Hlaseni(v, std::string(TextBezPripojeni), oznam);
        return v;
    }
    if (!modul.Init)
        return v;
    Hlaseni(v, TextCteniProcent(0), oznam);
    device::TVK7316R_InfoTxt info;
    if (!device::PrectiInfoTxt(modul, info)) {
        Hlaseni(v, " " + info.StatusText, oznam);
        return v;
    }
    Hlaseni(v, TextCteniProcent(50), oznam);
    device::TVK7316R_FwAkt akt;
    if (!device::PrectiFwAkt(modul, akt)) {
        Hlaseni(v, " " + akt.StatusText, oznam);
        return v;
    }
    Hlaseni(v, TextCteniProcent(100), oznam);
    v.Upgrade.TypVerze = PrvnichZnaku(info.Text, DelkaTypuVerze);
    v.InfoText = info.Text;
    v.Upgrade.HBIN_Datum = akt.DatumCas;
    v.Upgrade.HBIN_Soubor = akt.Soubor;
    v.Uspech = true;
    Hlaseni(v, TextPrecteno, oznam);
    return v;
}

TPlatnost PrectiOknoFirmware(const std::string& edit1, core::TUpgrade& upgrade)
{
    if (edit1.empty())
        return ChybaPole(TextBezNazvu);
    // A folder of that name is no image to upload.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(edit1, ec))
        return ChybaPole(TextNenalezen);
    upgrade.FW_Soubor = edit1;
    return Platne();
}

TVysledekFirmware ZapisFirmware(device::TVK7316R& modul, bool init, const std::string& edit1,
                                const core::TUpgrade& upgrade, const link::TPrubeh& prubeh, const TOznameni& oznam)
{
    TVysledekFirmware v;
    v.Upgrade = upgrade;
    if (!init) {
        Hlaseni(v, std::string(TextBezPripojeni), oznam);
        return v;
    }
    const TPlatnost platnost = PrectiOknoFirmware(edit1, v.Upgrade);
    Hlaseni(v, platnost.Status(), oznam);
    if (!platnost.Platne || !modul.Init)
        return v;

    Hlaseni(v, TextZapis, oznam);
    device::TVK7316R_FwHbn fw;
    fw.LokalniSoubor = v.Upgrade.FW_Soubor;
    v.Nahrano = device::ZapisFwHbn(modul, fw, prubeh);
    // A stop asked for during the upload leaves the old firmware in charge,
    // even if the last block got through: a half-known image is not armed.
    if (link::PozadovanoUkonceni()) {
        v.Preruseno = true;
        v.Chyba = v.Nahrano ? std::string() : fw.StatusText;
        Hlaseni(v, TextPreruseno, oznam);
        return v;
    }
    if (!v.Nahrano) {
        v.Chyba = fw.StatusText;
        v.Pricina = device::PricinaSelhani(modul);
        Hlaseni(v, " " + fw.StatusText, oznam);
        return v;
    }
    device::TVK7316R_BootCmd boot;
    boot.Cmd = std::string("prog") + '\0';
    if (!device::ZapisBootCmd(modul, boot)) {
        v.Chyba = boot.StatusText;
        v.Pricina = device::PricinaSelhani(modul);
        Hlaseni(v, " " + boot.StatusText, oznam);
        return v;
    }
    v.Aktivovano = true;
    Hlaseni(v, TextZapsano, oznam);
    return v;
}

TVysledekBootCmd ZobrazBootCmd(device::TVK7316R& modul, bool init, const TOznameni& oznam)
{
    TVysledekBootCmd v;
    if (!init) {
        Hlaseni(v, std::string(TextBezPripojeni), oznam);
        return v;
    }
    if (!modul.Init)
        return v;
    Hlaseni(v, TextCteniBootCmd, oznam);
    device::TVK7316R_BootCmd boot;
    if (!device::PrectiBootCmd(modul, boot)) {
        Hlaseni(v, " " + boot.StatusText, oznam);
        return v;
    }
    v.Uspech = true;
    v.Radek = boot.Cmd;
    Hlaseni(v, TextPrecteno, oznam);
    return v;
}

TVysledekPrikazu RestartujPoUpgradu(device::TVK7316R& modul, bool init, const TOznameni& oznam, std::int32_t pauzaMs)
{
    TVysledekPrikazu v;
    if (!init) {
        Hlaseni(v, std::string(TextBezPripojeni), oznam);
        return v;
    }
    if (!modul.Init)
        return v;
    Hlaseni(v, TextProbihaRestart, oznam);
    device::TVK7316R_Restart r;
    if (!device::RestartModulu(modul, r)) {
        v.Chyba = r.StatusText;
        Hlaseni(v, " " + r.StatusText, oznam);
        return v;
    }
    if (pauzaMs > 0)
        link::CekejDoUkonceni(pauzaMs);
    v.Uspech = true;
    Hlaseni(v, TextRestartovano, oznam);
    return v;
}

}  // namespace vk::procedures
