#pragma once
// The system diagnostics window's device work (Diagnostika = diagnostics):
// the text forms of its values and one poll of sys.bin.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "Oznameni.h"
#include "U_VK7316R.h"

namespace vk::procedures {

// Six bytes in record order, two upper-case hexadecimal digits each, joined
// by ":" (00:1A:2B:3C:4D:5E).
std::string TextMAC(const device::TAdresaMAC& mac);
// Four bytes in decimal without leading zeros, joined by "." (192.168.1.10).
std::string TextIP4(const device::TAdresaIP4& ip);
// Seconds since start, then " (" days ":" hh ":" mm ":" ss ")":
// 90061 (1:01:01:01).
std::string TextUptime(std::uint32_t sekundy);

// A device text as shown: up to its first zero byte (do nuly = to the zero).
std::string TextDoNuly(const std::string& text);

// The six values in the window's row order: firmware type and version,
// loader type and version, serial number, MAC, current IP address, uptime.
std::array<std::string, 6> HodnotySystem(const device::TVK7316R_SysBin& sys);

struct TVysledekKrokuSystem {
    bool Precteno = false;  // sys.bin arrived: Hodnoty replace those shown
    std::array<std::string, 6> Hodnoty;
    std::string Status;   // the status bar's text
    std::string Pricina;  // why the link failed (device::PricinaSelhani); empty otherwise
};

// One poll; `init` = Dat.Init. The text also goes to `oznam`.
TVysledekKrokuSystem KrokSystem(device::TVK7316R& modul, bool init, const TOznameni& oznam = {});

}  // namespace vk::procedures
