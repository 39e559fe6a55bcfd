#pragma once
// The network parameters area: the IPv4 settings of section LAN4 and the
// device file lan4.cfg, with the IPv6 settings shown read-only.
#include <string>

#include "OblastKonfigurace.h"

namespace vk::procedures {

// The controls of the network dialog (Okno = window): the texts of its
// address fields and the item index of its DHCP list.
struct TOknoLan4 {
    int ComboBox1 = 0;  // 0 "Ručně" (fixed settings), 1 "Automaticky (DHCP)"
    std::string Edit1;  // IPv4 address
    std::string Edit2;  // mask
    std::string Edit3;  // gateway
    // IPv6 link-local, global, mask and gateway: shown, never taken.
    std::string Edit4, Edit5, Edit6, Edit7;
    bool operator==(const TOknoLan4&) const = default;
};

namespace lan4 {

inline constexpr std::string_view TextChybaAdresy = "Chyba IP4 adresy.";
inline constexpr std::string_view TextChybaMasky = "Chyba IP4 masky.";
inline constexpr std::string_view TextChybaBrany = "Chyba IP4 brány.";
inline constexpr int PocetPolozekDHCP = 2;

TOknoLan4 ZapisOkno(const core::TCFGVK& cfg);
// The three addresses are taken even when DHCP is chosen and they are
// disabled; a field is stored as soon as it passes.
TPlatnost PrectiOkno(const TOknoLan4& okno, core::TCFGVK& cfg);
TOknoLan4 VychoziOkno();
// The address fields are editable only with "Ručně" chosen (Povolena =
// enabled); with DHCP or no item they are disabled.
bool AdresyPovoleny(const TOknoLan4& okno);

device::TVK7316R_Lan4Cfg NaZaznam(const core::TCFG_LAN4& lan4);            // to the device record
void ZeZaznamu(const device::TVK7316R_Lan4Cfg& r, core::TCFG_LAN4& lan4);  // from it

TVysledekCteni PrectiData(device::TVK7316R& modul, core::TCFGVK& cfg, const TOznameni& oznam);
// Writes cfg's LAN4, reads it back and compares the addresses and DHCP.
TVysledekZapisu ZapisData(device::TVK7316R& modul, core::TCFGVK cfg, const TOznameni& oznam);

const TOblast<TOknoLan4>& Oblast();

}  // namespace lan4
}  // namespace vk::procedures
