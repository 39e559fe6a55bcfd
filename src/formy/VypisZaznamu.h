#pragma once
// Every result record's fields as named values (Vypis = listing): numbers as
// numbers, addresses in their text forms (IPv4 dotted, IPv6 as eight groups,
// MAC as hex pairs), device texts as they were read, byte arrays as hex,
// module dates as "yyyy-mm-dd hh:mm:ss.mmm". Status and StatusText are not
// fields of the file and are left out.
#include "Hodnoty.h"
#include "U_VK7316R.h"

namespace vk::formy {

TPolozky Polozky(const device::TVK7316R_InfoTxt& r);
TPolozky Polozky(const device::TVK7316R_RtcBin& r);
TPolozky Polozky(const device::TVK7316R_SysBin& r);
TPolozky Polozky(const device::TVK7316R_MmrdBin& r);
TPolozky Polozky(const device::TVK7316R_MmrgvBin& r);
TPolozky Polozky(const device::TVK7316R_Lan4Cfg& r);
TPolozky Polozky(const device::TVK7316R_MbtcpCfg& r);
TPolozky Polozky(const device::TVK7316R_UartsCfg& r);
TPolozky Polozky(const device::TVK7316R_UartmCfg& r);
TPolozky Polozky(const device::TVK7316R_SpravaCfg& r);
TPolozky Polozky(const device::TVK7316R_LogCfg& r);
TPolozky Polozky(const device::TVK7316R_FwAkt& r);
TPolozky Polozky(const device::TVK7316R_BootCmd& r);

// An access table entry as the remote management window shows it: IPv6 text
// of all 16 bytes when its version is not 0, else IPv4 text of the first 4.
std::string TextPolozkySpravy(const device::TAdresaIP6& ip, std::uint32_t verzeIP);

}  // namespace vk::formy
