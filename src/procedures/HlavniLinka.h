#pragma once
// The Modbus RTU master line area (Hlavni linka = main line): section UARTM
// and the device file uartm.cfg.
#include <string>

#include "OblastKonfigurace.h"

namespace vk::procedures {

// The controls of the master line dialog.
struct TOknoHlavniLinka {
    int ComboBox1 = 2;  // baud rate: item index = KodBaud - 2
    int ComboBox2 = 1;  // parity: item index = KodParita
    std::string Edit1;  // reply time-out of an external module, ms
    std::string Edit2;  // retries after a communication error
    bool operator==(const TOknoHlavniLinka&) const = default;
};

namespace hlavnilinka {

inline constexpr std::string_view TextChybaTimeoutu = "Chybný parametr Timeout.";
inline constexpr std::string_view TextChybaOpakovani = "Chybné parametr Opakování.";

TOknoHlavniLinka ZapisOkno(const core::TCFGVK& cfg);
// The two lists are taken only once both text fields have passed.
TPlatnost PrectiOkno(const TOknoHlavniLinka& okno, core::TCFGVK& cfg);
TOknoHlavniLinka VychoziOkno();

device::TVK7316R_UartmCfg NaZaznam(const core::TCFG_UARTM& uartm);
void ZeZaznamu(const device::TVK7316R_UartmCfg& r, core::TCFG_UARTM& uartm);

TVysledekCteni PrectiData(device::TVK7316R& modul, core::TCFGVK& cfg, const TOznameni& oznam);
// Writes cfg's UARTM, reads it back and compares all four fields.
TVysledekZapisu ZapisData(device::TVK7316R& modul, core::TCFGVK cfg, const TOznameni& oznam);

const TOblast<TOknoHlavniLinka>& Oblast();

}  // namespace hlavnilinka
}  // namespace vk::procedures
