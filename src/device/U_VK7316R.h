#pragma once
// Unit U_VK7316R: the one device connection record Modul and one operation
// per device file and direction (Precti = read, Zapis = write). The module
// shows itself as small named files with fixed byte layouts; every operation
// carries its file over whichever link Modul uses (serial Modbus RTU or
// TFTP), decodes or encodes the bytes and fills its result record.
//
// Result convention of every operation: with Modul.Init false it returns
// false and leaves the record as it was; otherwise Status 0 / StatusText "OK"
// and true when done, Status 1 and the link's text (or a refusal text) and
// false when not. Nothing is retried. No operation throws.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "LogZaznamy.h"
#include "M_ModbusRTU.h"
#include "M_TFTP.h"
#include "Rozhrani.h"

namespace vk::device {

// ---- byte arrays copied as the module stores them ---------------------------
using THASH = std::array<std::uint8_t, 16>;       // image hash
using TAdresaIP4 = std::array<std::uint8_t, 4>;   // IPv4 address, first dotted number first
using TAdresaIP6 = std::array<std::uint8_t, 16>;  // IPv6 address, network order
using TAdresaMAC = std::array<std::uint8_t, 6>;   // MAC address
// Date and time as the module stores it: ms (2 bytes LE), s, min, h, day,
// month, year - 2000.
using TRTC = std::array<std::uint8_t, 8>;

// Header of a firmware image in memory (Hlavicka = header, Delka = length,
// DatumCas = date and time, NazevFW = firmware name).
struct THlavickaHBIN {
    std::uint32_t Delka = 0;
    THASH Hash{};
    TRTC DatumCas{};  // milliseconds always 0
    std::string NazevFW;
    bool operator==(const THlavickaHBIN&) const = default;
};

// ---- the connection record ---------------------------------------------------
// Rozhrani (= interface) 0 serial, 1 network.
struct TVK7316R {
    bool Init = false;  // a link has been set up
    std::int32_t Rozhrani = vk::common::RozhraniUART;
    link::TTFTP TFTP;
    link::TMBRTU MBRTU;
    // Zaneprazdnen = busy: a transfer is running. A second transfer asked
    // for meanwhile is refused at once. The windows start none while a job
    // of theirs runs on the device worker; this is the net below that.
    bool Zaneprazdnen = false;
};

// The one connection record of the program run.
extern TVK7316R Modul;

// Text of an operation refused because another transfer is running.
inline constexpr std::string_view TextZaneprazdnen = "Probíhá jiný přenos";
// Text of a boot command refused for its length.
inline constexpr std::string_view TextDlouhyPrikaz = "Příkaz je delší než 200 znaků";
inline constexpr std::size_t MaxDelkaPrikazu = 200;    // boot.cmd write
inline constexpr std::size_t MaxDelkaCteniCmd = 1024;  // boot.cmd read

// Vychozi = default: no link, serial, no TFTP client, no port.
void VychoziModul(TVK7316R& modul);

// ---- the device file table ------------------------------------------------------
// One device file: network name, file code of functions 0x43/0x44 (-1 =
// network only), serial bytes of block 0 and block 1 (0 = none fixed) and
// the bytes its layout decodes (0 = no fixed layout).
struct TSouborZarizeni {
    std::string_view Nazev;
    std::int16_t KodSouboru;
    std::uint8_t DelkaBlok0;
    std::uint8_t DelkaBlok1;
    std::uint16_t DelkaRozlozeni;
};

// Every device file the program knows, in file-code order.
const std::vector<TSouborZarizeni>& TabulkaSouboru();
// The table row of a network name; nullopt for an unknown name.
std::optional<TSouborZarizeni> NajdiSoubor(std::string_view nazev);

// ---- result records ----------------------------------------------------------------
// Each begins with Status and StatusText; records compare field by field,
// those two included.
struct TVK7316R_InfoTxt {
    std::int32_t Status = 0;
    std::string StatusText;
    std::string Text;  // identity text, one character per byte received
    bool operator==(const TVK7316R_InfoTxt&) const = default;
};

struct TVK7316R_RtcBin {
    std::int32_t Status = 0;
    std::string StatusText;
    std::uint16_t MSek = 0;  // milliseconds
    std::uint16_t Sek = 0;
    std::uint16_t Min = 0;
    std::uint16_t Hod = 0;   // hours
    std::uint16_t Den = 0;   // day of month
    std::uint16_t Mes = 0;   // month
    std::uint16_t Rok = 0;   // year - 2000
    std::uint16_t DDen = 0;  // day of week, 0 = Sunday
    bool operator==(const TVK7316R_RtcBin&) const = default;
};

// System overview (Typ = type, VyrCislo = serial number, Citac = counter,
// Teplota = temperature, Napeti = voltage, CasZnacka = time mark,
// CisloMereni = measurement number, Priznaky = flags).
struct TVK7316R_SysBin {
    std::int32_t Status = 0;
    std::string StatusText;
    std::string TypFW;
    std::string TypLoader;
    std::string VyrCislo;
    THlavickaHBIN AktualHBIN;  // header of the running image
    TAdresaMAC MAC{};
    TAdresaIP4 IP4_Adresa{};
    TAdresaIP4 IP4_Maska{};
    TAdresaIP4 IP4_Brana{};  // gateway
    std::uint32_t IP4_DHCP = 0;
    TAdresaIP6 IP6_LLA{};
    TAdresaIP6 IP6_GUA{};
    TAdresaIP6 IP6_Maska{};
    TAdresaIP6 IP6_Brana{};
    std::uint32_t IP6_DHCP = 0;
    std::uint32_t UptimeMs = 0;
    std::uint32_t UptimeMsH = 0;
    std::uint32_t Uptime10Ms = 0;
    std::uint32_t UptimeS = 0;
    TRTC RTCr{};        // module clock
    TRTC CasVypnuti{};  // time switched off
    TRTC CasZapnuti{};  // time switched on
    std::uint32_t Priznaky = 0;
    std::uint32_t CitacVypnuti = 0;
    std::uint32_t CitacStudenyStart = 0;  // cold starts
    std::uint32_t CitacTeplyStart = 0;    // warm starts
    std::uint32_t CitacGlobalAuth = 0;
    std::uint32_t CitacLinkDown = 0;
    double TeplotaUP = 0;  // processor
    double TeplotaUP_Min = 0;
    double TeplotaUP_Max = 0;
    std::uint32_t TeplotaUP_Status = 0;
    std::uint32_t TeplotaUP_CasZnacka = 0;
    TRTC TeplotaUP_DatumCas{};
    std::uint32_t TeplotaUP_CisloMereni = 0;
    double TeplotaDPS = 0;  // circuit board
    double TeplotaDPS_Min = 0;
    double TeplotaDPS_Max = 0;
    std::uint32_t TeplotaDPS_Status = 0;
    std::uint32_t TeplotaDPS_CasZnacka = 0;
    TRTC TeplotaDPS_DatumCas{};
    std::uint32_t TeplotaDPS_CisloMereni = 0;
    double NapetiPWR = 0;          // supply
    double NapetiPWR_Nekalib = 0;  // uncalibrated; not filled by the read
    double NapetiPWR_Min = 0;
    double NapetiPWR_Max = 0;
    std::uint32_t NapetiPWR_Status = 0;
    std::uint32_t NapetiPWR_CasZnacka = 0;
    TRTC NapetiPWR_DatumCas{};
    std::uint32_t NapetiPWR_CisloMereni = 0;
    bool operator==(const TVK7316R_SysBin&) const = default;
};

// Command file (Funkce = command code, Param = its parameters).
struct TVK7316R_CtrlBin {
    std::int32_t Status = 0;
    std::string StatusText;
    std::uint8_t Funkce = 0;
    std::array<std::uint8_t, 21> Param{};
    bool operator==(const TVK7316R_CtrlBin&) const = default;
};

struct TVK7316R_Restart {
    std::int32_t Status = 0;
    std::string StatusText;
    bool operator==(const TVK7316R_Restart&) const = default;
};

// ClrDiag = clear diagnostics.
struct TVK7316R_ClrDiag {
    std::int32_t Status = 0;
    std::string StatusText;
    bool operator==(const TVK7316R_ClrDiag&) const = default;
};

// Master line statistics (Celkem = in total, Zpravy = messages, Chyby =
// errors, Neg = negative replies, Rychlost = rate, Vytizeni = load).
struct TVK7316R_MmrdBin {
    std::int32_t Status = 0;
    std::string StatusText;
    std::uint32_t CelkemZpravy = 0;
    std::uint32_t CelkemChyby = 0;
    std::uint32_t CelkemNeg = 0;
    std::uint32_t RychlostZprav = 0;
    std::uint32_t VytizeniLinky = 0;
    std::uint32_t AdresaChyba = 0;  // address of the last error
    bool operator==(const TVK7316R_MmrdBin&) const = default;
};

// Master line load history (PocetDat = values held, IndexZapisu = next
// write position in the module's ring, PoleDat = values oldest first).
struct TVK7316R_MmrgvBin {
    std::int32_t Status = 0;
    std::string StatusText;
    std::uint32_t PocetDat = 0;
    std::uint32_t MaxPocetDat = 0;
    std::uint32_t IndexZapisu = 0;
    std::array<std::uint8_t, 180> PoleDat{};
    bool operator==(const TVK7316R_MmrgvBin&) const = default;
};

struct TVK7316R_Lan4Cfg {
    std::int32_t Status = 0;
    std::string StatusText;
    TAdresaIP4 IP4_Adresa{};
    TAdresaIP4 IP4_Maska{};
    TAdresaIP4 IP4_Brana{};
    std::uint8_t IP4_DHCP = 0;
    bool operator==(const TVK7316R_Lan4Cfg&) const = default;
};

struct TVK7316R_MbtcpCfg {
    std::int32_t Status = 0;
    std::string StatusText;
    std::uint8_t UnitID = 0;
    std::uint8_t Timeout = 0;
    bool operator==(const TVK7316R_MbtcpCfg&) const = default;
};

// Slave (service) line.
struct TVK7316R_UartsCfg {
    std::int32_t Status = 0;
    std::string StatusText;
    std::uint8_t Adresa = 0;
    std::uint8_t KodBaud = 0;
    std::uint8_t KodParita = 0;
    std::uint8_t Repeater = 0;
    bool operator==(const TVK7316R_UartsCfg&) const = default;
};

// Master line (Opakovani = retries).
struct TVK7316R_UartmCfg {
    std::int32_t Status = 0;
    std::string StatusText;
    std::uint8_t KodBaud = 0;
    std::uint8_t KodParita = 0;
    std::uint16_t Timeout = 0;
    std::uint8_t Opakovani = 0;
    bool operator==(const TVK7316R_UartmCfg&) const = default;
};

// Remote management (Rezim = mode; per entry an address and its IP version).
struct TVK7316R_SpravaCfg {
    std::int32_t Status = 0;
    std::string StatusText;
    std::uint8_t Rezim = 0;
    std::array<TAdresaIP6, 8> IP{};
    std::array<std::uint32_t, 8> VerzeIP{};
    bool operator==(const TVK7316R_SpravaCfg&) const = default;
};

// Event logging (Povolen = enabled, Udalost = one bit per event kind).
struct TVK7316R_LogCfg {
    std::int32_t Status = 0;
    std::string StatusText;
    std::uint8_t Povolen = 0;
    std::uint32_t Udalost = 0;
    bool operator==(const TVK7316R_LogCfg&) const = default;
};

// Clearing of the event log (Rezerva = reserve bytes sent as they are).
struct TVK7316R_LogClr {
    std::int32_t Status = 0;
    std::string StatusText;
    std::array<std::uint8_t, 8> Rezerva{};
    bool operator==(const TVK7316R_LogClr&) const = default;
};

// Running firmware (Hlavicka = the 64 header bytes as received; Soubor =
// image name without directory and extension).
struct TVK7316R_FwAkt {
    std::int32_t Status = 0;
    std::string StatusText;
    std::array<std::uint8_t, 64> Hlavicka{};
    std::uint32_t Delka = 0;
    THASH HASH{};
    std::string DatumCas;
    std::string Soubor;
    bool operator==(const TVK7316R_FwAkt&) const = default;
};

// The event log's header file logh.bin (Hlavicka = header; bytes the file
// lacks count as zero).
struct TVK7316R_LoghBin {
    std::int32_t Status = 0;
    std::string StatusText;
    THlavickaLOG Hlavicka;
    bool operator==(const TVK7316R_LoghBin&) const = default;
};

// log100.bin: the header and the latest records (Zaznamy = records), every
// complete 64-byte record after the header in file order.
struct TVK7316R_Log100Bin {
    std::int32_t Status = 0;
    std::string StatusText;
    THlavickaLOG Hlavicka;
    std::vector<TZaznamLOG> Zaznamy;
    bool operator==(const TVK7316R_Log100Bin&) const = default;
};

// The whole event log log.bin into a local file (LokalniSoubor = its path).
struct TVK7316R_LogBin {
    std::int32_t Status = 0;
    std::string StatusText;
    std::string LokalniSoubor;
    bool operator==(const TVK7316R_LogBin&) const = default;
};

// Firmware upload (LokalniSoubor = path of the local image file).
struct TVK7316R_FwHbn {
    std::int32_t Status = 0;
    std::string StatusText;
    std::string LokalniSoubor;
    bool operator==(const TVK7316R_FwHbn&) const = default;
};

// Command for the module's loader at the next start.
struct TVK7316R_BootCmd {
    std::int32_t Status = 0;
    std::string StatusText;
    std::string Cmd;
    bool operator==(const TVK7316R_BootCmd&) const = default;
};

// Any device file as raw bytes (Data), by its network name (Soubor).
struct TVK7316R_Soubor {
    std::int32_t Status = 0;
    std::string StatusText;
    std::string Soubor;
    std::vector<std::uint8_t> Data;
    bool operator==(const TVK7316R_Soubor&) const = default;
};

// Why the link in use failed its last exchange (Pricina selhani = cause of
// the failure), as its record keeps it beside the status text; empty after
// a success.
const std::string& PricinaSelhani(const TVK7316R& modul);

// ---- operations ----------------------------------------------------------------------
bool PrectiInfoTxt(TVK7316R& modul, TVK7316R_InfoTxt& r);

bool PrectiRtcBin(TVK7316R& modul, TVK7316R_RtcBin& r);
bool ZapisRtcBin(TVK7316R& modul, TVK7316R_RtcBin& r);
bool PrectiSysBin(TVK7316R& modul, TVK7316R_SysBin& r);
bool PrectiMmrdBin(TVK7316R& modul, TVK7316R_MmrdBin& r);
bool PrectiMmrgvBin(TVK7316R& modul, TVK7316R_MmrgvBin& r);
bool ZapisCtrlBin(TVK7316R& modul, TVK7316R_CtrlBin& r);
// With Modul.Init false these two return false with Status 1 and an empty
// StatusText.
bool RestartModulu(TVK7316R& modul, TVK7316R_Restart& r);
bool VymazDiagnostiku(TVK7316R& modul, TVK7316R_ClrDiag& r);

bool PrectiLan4Cfg(TVK7316R& modul, TVK7316R_Lan4Cfg& r);
bool ZapisLan4Cfg(TVK7316R& modul, TVK7316R_Lan4Cfg& r);
bool PrectiMbtcpCfg(TVK7316R& modul, TVK7316R_MbtcpCfg& r);
bool ZapisMbtcpCfg(TVK7316R& modul, TVK7316R_MbtcpCfg& r);
bool PrectiUartsCfg(TVK7316R& modul, TVK7316R_UartsCfg& r);
bool ZapisUartsCfg(TVK7316R& modul, TVK7316R_UartsCfg& r);
bool PrectiUartmCfg(TVK7316R& modul, TVK7316R_UartmCfg& r);
bool ZapisUartmCfg(TVK7316R& modul, TVK7316R_UartmCfg& r);
bool PrectiSpravaCfg(TVK7316R& modul, TVK7316R_SpravaCfg& r);
bool ZapisSpravaCfg(TVK7316R& modul, TVK7316R_SpravaCfg& r);

// The event log files (log.cfg, log.clr, logh.bin, log100.bin, log.bin)
// travel over the network link modul.TFTP only, whatever link the connection
// uses; they check neither modul.Init nor modul.Rozhrani (their callers
// check Init). They honour the busy mark of `modul`, which owns that link.
bool PrectiLogCfg(TVK7316R& modul, TVK7316R_LogCfg& r);
bool ZapisLogCfg(TVK7316R& modul, TVK7316R_LogCfg& r);
bool ZapisLogClr(TVK7316R& modul, TVK7316R_LogClr& r);
bool PrectiLoghBin(TVK7316R& modul, TVK7316R_LoghBin& r);
bool PrectiLog100Bin(TVK7316R& modul, TVK7316R_Log100Bin& r);
// The local file appears whole or not at all: the transfer goes into a
// temporary file beside it, which replaces it only when the transfer is
// complete and no one asked the transfers to end (link::PozadovanoUkonceni).
// A file that cannot be made is a failure with a text that names it.
bool PrectiLogBin(TVK7316R& modul, TVK7316R_LogBin& r, const link::TPrubeh& prubeh = {});

bool PrectiFwAkt(TVK7316R& modul, TVK7316R_FwAkt& r);
// Uploads r.LokalniSoubor unchanged; `prubeh` (progress) is passed to the link.
bool ZapisFwHbn(TVK7316R& modul, TVK7316R_FwHbn& r, const link::TPrubeh& prubeh = {});
bool PrectiBootCmd(TVK7316R& modul, TVK7316R_BootCmd& r);
// An empty Cmd is not written: false, record untouched. More than 200
// characters: Status 1, TextDlouhyPrikaz.
bool ZapisBootCmd(TVK7316R& modul, TVK7316R_BootCmd& r);

// Raw transfer of a file of the table by its name. Serial read: the table's
// fixed lengths; serial write: 240-byte blocks from block 0. Network: the
// whole file in memory (at most 10000 bytes). An unknown name, a network-only
// file on the serial link or a file too large fails with Status 1 and a text.
bool PrectiSoubor(TVK7316R& modul, TVK7316R_Soubor& r);
bool ZapisSoubor(TVK7316R& modul, TVK7316R_Soubor& r);

}  // namespace vk::device
