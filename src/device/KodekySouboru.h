#pragma once
// Byte layouts of the device files (Kodek = codec; Koduj = encode, Dekoduj =
// decode). Pure functions over byte buffers, apart from any link, so every
// layout is checked against literal bytes. Multi-byte numbers are unsigned
// little-endian. A decoder accepts any number of bytes: bytes the layout
// needs but the buffer lacks count as zero, bytes beyond it are ignored, and
// neither the check byte nor reserved bytes are looked at.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "U_VK7316R.h"

namespace vk::device {

using TBajty = std::span<const std::uint8_t>;  // bytes received from the module

// IEEE-754 single at b[0..3], first byte lowest, widened; a NaN becomes 0.0.
double DekodujFloat(const std::uint8_t* b);

void DekodujInfoTxt(TBajty bajty, TVK7316R_InfoTxt& r);

void DekodujRtcBin(TBajty bajty, TVK7316R_RtcBin& r);
std::array<std::uint8_t, 9> KodujRtcBin(const TVK7316R_RtcBin& r);

void DekodujSysBin(TBajty bajty, TVK7316R_SysBin& r);
void DekodujMmrdBin(TBajty bajty, TVK7316R_MmrdBin& r);
// IndexZapisu of 180 or more is taken modulo 180 for the unrolling (the
// field keeps the value as read).
void DekodujMmrgvBin(TBajty bajty, TVK7316R_MmrgvBin& r);
std::array<std::uint8_t, 23> KodujCtrlBin(const TVK7316R_CtrlBin& r);
// The two fixed commands written to ctrl.bin.
TVK7316R_CtrlBin PrikazRestart();
TVK7316R_CtrlBin PrikazVymazDiagnostiku();

void DekodujLan4Cfg(TBajty bajty, TVK7316R_Lan4Cfg& r);
std::array<std::uint8_t, 16> KodujLan4Cfg(const TVK7316R_Lan4Cfg& r);
void DekodujMbtcpCfg(TBajty bajty, TVK7316R_MbtcpCfg& r);
std::array<std::uint8_t, 3> KodujMbtcpCfg(const TVK7316R_MbtcpCfg& r);
void DekodujUartsCfg(TBajty bajty, TVK7316R_UartsCfg& r);
std::array<std::uint8_t, 5> KodujUartsCfg(const TVK7316R_UartsCfg& r);
void DekodujUartmCfg(TBajty bajty, TVK7316R_UartmCfg& r);
std::array<std::uint8_t, 6> KodujUartmCfg(const TVK7316R_UartmCfg& r);
void DekodujSpravaCfg(TBajty bajty, TVK7316R_SpravaCfg& r);
std::array<std::uint8_t, 138> KodujSpravaCfg(const TVK7316R_SpravaCfg& r);
void DekodujLogCfg(TBajty bajty, TVK7316R_LogCfg& r);
std::array<std::uint8_t, 7> KodujLogCfg(const TVK7316R_LogCfg& r);
std::array<std::uint8_t, 8> KodujLogClr(const TVK7316R_LogClr& r);

// The 64-byte firmware image header (fw.akt, and sys.bin from offset 56).
THlavickaHBIN DekodujHlavickuHBIN(TBajty bajty);
void DekodujFwAkt(TBajty bajty, TVK7316R_FwAkt& r);
// Time stamp of an image header from its 6 bytes (s, min, h, day, month,
// year - 2000), e.g. "24.11.2023  9:07:05".
std::string DatumCasHBIN(const std::uint8_t* b);
// Image name from the 38 name bytes: control bytes dropped, then directory
// and the last extension.
std::string NazevSouboruHBIN(TBajty bajty);

// Up to the first zero byte, at most 1024 characters.
void DekodujBootCmd(TBajty bajty, TVK7316R_BootCmd& r);
// The low 8 bits of each character; a zero character is sent like any other.
std::vector<std::uint8_t> KodujBootCmd(const std::string& cmd);

}  // namespace vk::device
