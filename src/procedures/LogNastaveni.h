#pragma once
// The event logging area (Log nastaveni = log settings): section LOG and the
// device file log.cfg, which travels over the network link only.
#include <array>
#include <string>

#include "OblastKonfigurace.h"

namespace vk::procedures {

// The controls of the event logging dialog: the on/off list and one check
// box per event kind, CheckBox<n> standing for bit n - 1 of Udalost.
struct TOknoLogNastaveni {
    int ComboBox1 = 0;                // 0 "zakázáno", 1 "povoleno"
    std::array<bool, 14> CheckBox{};  // CheckBox1 to CheckBox14
    bool operator==(const TOknoLogNastaveni&) const = default;
};

namespace lognastaveni {

// The bits that have a check box; the others are cleared by taking the
// controls.
inline constexpr std::uint32_t MaskaUdalosti = 0x3FFF;

TOknoLogNastaveni ZapisOkno(const core::TCFGVK& cfg);
// Cannot fail.
TPlatnost PrectiOkno(const TOknoLogNastaveni& okno, core::TCFGVK& cfg);

device::TVK7316R_LogCfg NaZaznam(const core::TCFG_LOG& log);
void ZeZaznamu(const device::TVK7316R_LogCfg& r, core::TCFG_LOG& log);

// Over the network link whatever the connection's interface; no wait before
// the link work, and no read-back after writing.
TVysledekCteni PrectiData(device::TVK7316R& modul, core::TCFGVK& cfg, const TOznameni& oznam);
TVysledekZapisu ZapisData(device::TVK7316R& modul, core::TCFGVK cfg, const TOznameni& oznam);

const TOblast<TOknoLogNastaveni>& Oblast();

}  // namespace lognastaveni
}  // namespace vk::procedures
