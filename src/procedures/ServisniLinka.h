#pragma once
// The Modbus RTU slave line area (Servisni linka = service line): section
// UARTS and the device file uarts.cfg.
#include <string>

#include "OblastKonfigurace.h"

namespace vk::procedures {

// The controls of the slave line dialog.
struct TOknoServisniLinka {
    std::string Edit1;  // the module's slave address, decimal
    int ComboBox1 = 2;  // baud rate: item index = KodBaud - 2
    int ComboBox2 = 1;  // parity: item index = KodParita
    int ComboBox3 = 0;  // repeater between the two lines: 0 off, 1 on
    bool operator==(const TOknoServisniLinka&) const = default;
};

namespace servisnilinka {

inline constexpr std::string_view TextChybaAdresy = "Chybná adresa.";
inline constexpr int PocetPolozekRepeater = 2;

TOknoServisniLinka ZapisOkno(const core::TCFGVK& cfg);
// The address range is 1 to 255, wider than the Modbus standard's 1 to 247;
// a refused address leaves every field as it was.
TPlatnost PrectiOkno(const TOknoServisniLinka& okno, core::TCFGVK& cfg);
TOknoServisniLinka VychoziOkno();

device::TVK7316R_UartsCfg NaZaznam(const core::TCFG_UARTS& uarts);
void ZeZaznamu(const device::TVK7316R_UartsCfg& r, core::TCFG_UARTS& uarts);

TVysledekCteni PrectiData(device::TVK7316R& modul, core::TCFGVK& cfg, const TOznameni& oznam);
// Writes cfg's UARTS, reads it back and compares all four fields.
TVysledekZapisu ZapisData(device::TVK7316R& modul, core::TCFGVK cfg, const TOznameni& oznam);

const TOblast<TOknoServisniLinka>& Oblast();

}  // namespace servisnilinka
}  // namespace vk::procedures
