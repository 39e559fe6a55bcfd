#pragma once
// The Modbus TCP area: section MBTCP and the device file mbtcp.cfg.
#include <string>

#include "OblastKonfigurace.h"

namespace vk::procedures {

// The controls of the Modbus TCP dialog: the decimal texts of the unit
// identifier and of the idle connection time-out in seconds.
struct TOknoModbusTCP {
    std::string Edit1;  // UnitID
    std::string Edit2;  // Timeout
    bool operator==(const TOknoModbusTCP&) const = default;
};

namespace modbustcp {

inline constexpr std::string_view TextChybaAdresy = "Chybná adresa.";
inline constexpr std::string_view TextChybaTimeoutu = "Chybný timeout.";

TOknoModbusTCP ZapisOkno(const core::TCFGVK& cfg);
TPlatnost PrectiOkno(const TOknoModbusTCP& okno, core::TCFGVK& cfg);
TOknoModbusTCP VychoziOkno();

device::TVK7316R_MbtcpCfg NaZaznam(const core::TCFG_MBTCP& mbtcp);
void ZeZaznamu(const device::TVK7316R_MbtcpCfg& r, core::TCFG_MBTCP& mbtcp);

TVysledekCteni PrectiData(device::TVK7316R& modul, core::TCFGVK& cfg, const TOznameni& oznam);
// Writes cfg's MBTCP, reads it back and compares both fields.
TVysledekZapisu ZapisData(device::TVK7316R& modul, core::TCFGVK cfg, const TOznameni& oznam);

const TOblast<TOknoModbusTCP>& Oblast();

}  // namespace modbustcp
}  // namespace vk::procedures
