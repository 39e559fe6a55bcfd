#pragma once
// The firmware upgrade window's procedures: what the module runs, the upload
// of a new image armed with the boot command "prog", and the restart that
// starts it, each with its status texts in order.
#include <string>

#include "Dekl.h"
#include "Oznameni.h"
#include "Platnost.h"
#include "PrikazyModulu.h"
#include "U_VK7316R.h"

namespace vk::procedures {

// "Přečíst": reads info.txt and fw.akt into the upgrade record (Vysledek
// cteni = read result). The record changes only when both reads succeed.
struct TVysledekCteniFirmware {
    bool Uspech = false;
    core::TUpgrade Upgrade;
    std::string Status;
    // The whole identity text of info.txt, of which Upgrade.TypVerze keeps
    // the first 21 characters (Info = identity text); empty after a failure.
    std::string InfoText;
};
TVysledekCteniFirmware PrectiFirmware(device::TVK7316R& modul, bool init, const core::TUpgrade& upgrade,
                                      const TOznameni& oznam = {});

// The file field: valid when a file of that name exists (then stored in
// FW_Soubor), else the message.
TPlatnost PrectiOknoFirmware(const std::string& edit1, core::TUpgrade& upgrade);

// "Zapsat": the file field checked, the image uploaded as fw.hbn, then
// boot.cmd "prog". A failed or stopped upload never arms the image
// (Nahrano = uploaded, Aktivovano = armed, Preruseno = stopped).
struct TVysledekFirmware {
    bool Nahrano = false;
    bool Aktivovano = false;
    bool Preruseno = false;
    core::TUpgrade Upgrade;
    std::string Status;
    std::string Chyba;    // the failing record's StatusText
    std::string Pricina;  // why its link failed (device::PricinaSelhani); empty otherwise
};
TVysledekFirmware ZapisFirmware(device::TVK7316R& modul, bool init, const std::string& edit1,
                                const core::TUpgrade& upgrade, const link::TPrubeh& prubeh = {},
                                const TOznameni& oznam = {});

// "Zobrazit boot.cmd": the module's boot command as one line for the text
// area (Radek = line; empty when the read fails).
struct TVysledekBootCmd {
    bool Uspech = false;
    std::string Radek;
    std::string Status;
};
TVysledekBootCmd ZobrazBootCmd(device::TVK7316R& modul, bool init, const TOznameni& oznam = {});

// "Restart" of the upgrade window: after the command it waits `pauzaMs`
// (the window's second) before it reports, unlike the restart window; cut
// short when the job is asked to end.
TVysledekPrikazu RestartujPoUpgradu(device::TVK7316R& modul, bool init, const TOznameni& oznam = {},
                                    std::int32_t pauzaMs = 0);

}  // namespace vk::procedures
