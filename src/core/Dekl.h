#pragma once
// Unit Dekl (= declarations): the program state record TData with its
// defaults, the text forms of addresses and of the module identity, the
// program settings file and the module configuration file. No Qt here: the
// windows convert at their edge.
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "Rozhrani.h"

namespace vk::core {

using TPole16B = std::array<std::uint8_t, 16>;  // 16-byte field (IPv6 address)
using TPar = std::array<std::uint32_t, 16>;     // reserved values
using TAdresa4 = std::array<std::uint8_t, 4>;   // IPv4 address, first dotted number first

// Connection settings (Pripojeni = connection).
struct TPripojeni {
    std::int32_t Rozhrani = vk::common::RozhraniUART;  // interface: 0 UART, 1 LAN
    std::string LAN_IP;                                // module address as typed
    std::int32_t LAN_VerzeIP = 0;                      // 0 IPv4, 1 IPv6
    std::int32_t LAN_Timeout = 0;                      // ms
    std::int32_t LAN_Opakovani = 0;                    // TFTP retries (Opakovani) of an unanswered packet, 0 = none
    std::int32_t UART_CisloCOM = 0;                    // COM port number
    std::int32_t UART_KodBaud = 0;                     // baud-rate code
    std::int32_t UART_KodParita = 0;                   // parity code: 0 none, 1 even, 2 odd
    std::int32_t UART_Timeout = 0;                     // ms
    std::int32_t UART_Adresa = 0;                      // Modbus address of the module
    // Silence that ends a reply, ms, given by hand for an adapter that holds
    // bytes back without saying so (Mezera = gap); 0 = automatic.
    std::int32_t UART_Mezera = 0;
    // The kernel's RS-485 mode for a UART that does not switch its
    // transceiver by itself: 0 off, 1 RTS high while sending, 2 RTS low
    // while sending (link::TRizeniSmeru); with the delays of RTS before and
    // after sending, ms (Zpozdeni = delay, Pred = before, Po = after).
    std::int32_t UART_RS485 = 0;
    std::int32_t UART_RS485ZpozdeniPred = 0;
    std::int32_t UART_RS485ZpozdeniPo = 0;
    // 1: the request's echo ahead of a reply is dropped; 0: kept (Echo).
    std::int32_t UART_Echo = 1;
    // How long a port held by another program is waited for, ms; 0 = not
    // at all (Cekani na port). The command line's only: never saved.
    std::int32_t UART_CekaniNaPort = 0;
};

// IPv4 settings.
struct TCFG_LAN4 {
    TAdresa4 IP4_Adresa{};
    TAdresa4 IP4_Maska{};
    TAdresa4 IP4_Brana{};  // gateway
    std::uint8_t IP4_DHCP = 0;
};

// IPv6 settings; each group high byte first.
struct TCFG_LAN6 {
    TPole16B IP6_LLA{};
    TPole16B IP6_GUA{};
    TPole16B IP6_Maska{};
    TPole16B IP6_Brana{};
    std::uint8_t IP6_DHCP = 0;
};

// Remote management (Sprava = management).
struct TCFG_Sprava {
    std::uint8_t Rezim = 0;                 // 0 disabled, 1 allowed to all, 2 access table
    std::array<TPole16B, 8> User_IP{};      // IPv4 in the first 4 bytes, or IPv6 in all 16
    std::array<std::int32_t, 8> VerzeIP{};  // per entry: 0 IPv4, 1 IPv6
};

// Event logging.
struct TCFG_LOG {
    std::int32_t Povolen = 0;      // enabled
    std::int32_t Prepisovani = 0;  // overwriting (never given another value)
    std::uint32_t Udalost = 0;     // one bit per logged event kind
};

// Texts of the firmware upgrade window.
struct TUpgrade {
    std::string TypVerze;
    std::string HBIN_Soubor;
    std::string HBIN_Datum;
    std::string FW_Soubor;
};

struct TCFG_MBTCP {
    std::uint8_t UnitID = 0;
    std::uint8_t Timeout = 0;  // idle TCP connection, s
};

// Modbus RTU slave (service) line.
struct TCFG_UARTS {
    std::uint8_t Adresa = 0;
    std::uint8_t KodBaud = 0;
    std::uint8_t KodParita = 0;
    std::uint8_t Repeater = 0;
};

// Modbus RTU master line.
struct TCFG_UARTM {
    std::uint8_t KodBaud = 0;
    std::uint8_t KodParita = 0;
    std::uint16_t Timeout = 0;   // ms
    std::uint8_t Opakovani = 0;  // retries after a communication error
};

// The module configuration image.
struct TCFGVK {
    TCFG_LAN4 LAN4;
    TCFG_LAN6 LAN6;
    TCFG_Sprava Sprava;
    TCFG_LOG LOG;
    TUpgrade Upgrade;
    TCFG_MBTCP MBTCP;
    TCFG_UARTS UARTS;
    TCFG_UARTM UARTM;
};

// The program state (Data), one per run, owned by the main window.
struct TData {
    TPripojeni Pripojeni;
    std::string SPripojeni;  // connection status line
    bool Init = false;       // a supported module was identified
    std::string TypVerze;    // type + "  v." + version
    std::string TypModulu;
    std::string VerzeModulu;
    std::string VyrCislo;  // serial number
    TPar Par{};
    TCFGVK CFGVK;
};
using PData = TData*;

// ---- defaults (Vychozi = default) ----------------------------------------
void VychoziPripojeni(TPripojeni& pripojeni);
void VychoziCFGVK(TCFGVK& cfg);
void InicializaceDat(PData dat);  // no-op for nullptr

// ---- text forms ------------------------------------------------------------
// The standard signed 32-bit integer conversion: optional sign, decimal
// digits, or hexadecimal after "$", "x", "X", "0x", "0X"; no blanks; overflow
// refused.
bool PrevedNaCislo(std::string_view text, std::int32_t& hodnota);

bool TextNaIP4(std::string_view text, TAdresa4& ip);
std::string IP4NaText(const TAdresa4& ip);
bool TextNaIP6(std::string_view text, TPole16B& ip);
std::string IP6NaText(const TPole16B& ip);
// Splits the identity text (info.txt) into type, version and serial number.
void RozlozInfoText(std::string_view text, std::string& typ, std::string& verze, std::string& vyrCislo);
bool PodporovanyTyp(std::string_view typ);
bool PodporovanaVerze(std::string_view typ, std::string_view verze);

// ---- settings file (Nastaveni = settings) ---------------------------------
// Where the settings file is read (Cteni) and where it is written (Zapis).
struct TCestyNastaveni {
    std::filesystem::path Cteni;
    std::filesystem::path Zapis;
};
// "W_vk7316r.ini" next to the executable. When that folder cannot be
// written or belongs to an installation, the settings are written to
// W_vk7316r/W_vk7316r.ini in the user's configuration folder, and read from
// there once that file exists, else still from the file next to the
// executable.
TCestyNastaveni CestyNastaveni();
// The same choice from its inputs: the executable's folder, whether it may
// hold the settings (NastaveniUProgramu), $XDG_CONFIG_HOME and $HOME (empty
// when unset). A relative $XDG_CONFIG_HOME is ignored, as the XDG rules ask.
// Only whether the file in the user's folder exists is looked up.
TCestyNastaveni CestyNastaveni(const std::filesystem::path& slozkaProgramu, bool slozkaZapisovatelna,
                               std::string_view xdgConfigHome, std::string_view home);
// Whether the settings may live next to the program in slozkaProgramu (its
// folder): it can be written, and it is not the bin folder of an installation
// (one with the program's installed data folder beside it).
bool NastaveniUProgramu(const std::filesystem::path& slozkaProgramu);
bool NactiNastaveni(PData dat);
bool UlozNastaveni(PData dat);
// The same on a given file (tests, the command-line tool).
bool NactiNastaveni(PData dat, const std::filesystem::path& soubor);
bool UlozNastaveni(PData dat, const std::filesystem::path& soubor);
// Writes cesty.Zapis; when that file does not exist yet and is another than
// cesty.Cteni, it starts from the content of the file read, so that file's
// other sections and keys stay.
bool UlozNastaveni(PData dat, const TCestyNastaveni& cesty);
// The reply gap (UART_Mezera) as the settings file and the command line
// take it: whole ms from 0 (automatic) to NejdelsiMezeraMs; false for
// anything else.
inline constexpr std::int32_t NejdelsiMezeraMs = 1000;
bool PrevedMezeru(std::string_view text, std::int32_t& ms);
// The shortest wait of one try when the serial line is searched for the
// module (Hledani = search), key "Hledani" in section "UART": whole ms
// from 1 to NejdelsiHledaniMs. The program reads it but never writes it; a
// file without it, or with another value, gives VychoziHledaniMs, which a
// USB adapter with the common 16 ms latency timer meets.
inline constexpr std::int32_t VychoziHledaniMs = 50;
inline constexpr std::int32_t NejdelsiHledaniMs = 1000;
bool PrevedHledani(std::string_view text, std::int32_t& ms);
std::int32_t NactiHledani(const std::filesystem::path& soubor);
// The RS-485 keys (UART_RS485 and its delays) and Echo as the settings file
// takes them: the mode 0 to 2, a delay in whole ms from 0 to
// NejdelsiZpozdeniRS485Ms (serial drivers keep the delays to 100 ms and
// would shorten a longer one without a word), Echo 0 or 1; false for
// anything else.
inline constexpr std::int32_t NejdelsiZpozdeniRS485Ms = 100;
bool PrevedRezimRS485(std::string_view text, std::int32_t& rezim);
bool PrevedZpozdeniRS485(std::string_view text, std::int32_t& ms);
bool PrevedEcho(std::string_view text, std::int32_t& echo);
// The TFTP retries (LAN_Opakovani) as the settings file and the command line
// take them: a whole number from 0 (none) to NejvicOpakovani; false for
// anything else.
inline constexpr std::int32_t NejvicOpakovani = 10;
bool PrevedOpakovani(std::string_view text, std::int32_t& pocet);
// Service mode (Servis): key "Servis" in section "Program" is "1". The main
// window then offers the menu items its plan keeps hidden; any other value,
// or no file, means off.
bool ServisniRezim(const std::filesystem::path& soubor);
// The traffic trace's file (Cesta stopy = trace path): key "Trace" in
// section "Program"; empty when the file has none, or no file.
std::string CestaStopy(const std::filesystem::path& soubor);
// Optional device path for COM port n from section "Porty" (key "COMn");
// empty when the file has none.
std::string NactiPortCOM(const std::filesystem::path& soubor, std::int32_t cisloCOM);

// ---- configuration file (Konfigurace) -------------------------------------
// Asks a Yes/No question; true = Yes. The window layer answers it with a
// message box.
using TDotazAnoNe = std::function<bool(const std::string& otazka)>;

// Both return false only when a local file could not be created, read or
// written, with a message for the user in `chyba`; otherwise true (also when
// nothing was done: empty name, answer No, nothing to load).
bool UlozKonfiguraci(PData dat, const std::string& soubor, const TDotazAnoNe& dotaz, std::string& chyba);
bool NactiKonfiguraci(PData dat, const std::string& soubor, std::string& chyba);

// The bytes of a configuration file that loading reads: its two data blocks.
inline constexpr std::size_t DelkaNacitaneKonfigurace = 1024;

// The check of one data block as loading sees it (Kontrola = check).
enum class TKontrolaBloku {
    Platna,   // the covered bytes sum to 0
    Chybna,   // they do not
    Neuplna,  // the file ends inside the covered bytes, and with the missing
              // ones counted as 0xFF they do not sum to 0
};

// What loading decides per data block (Bloky = blocks): index 0 is block 0
// (LAN4), index 1 block 1 (Sprava).
struct TBlokyKonfigurace {
    std::array<TKontrolaBloku, 2> Kontrola{};
    std::array<bool, 2> Nacte{};  // loading applies the block
};

// Applies the start of a configuration file's content (at most
// DelkaNacitaneKonfigurace bytes, as far as the file goes) to `cfg` as
// loading does and tells what it decided. The one place that decides
// whether a block loads: NactiKonfiguraci uses it, and so does whatever
// shows a file's blocks.
TBlokyKonfigurace PouzijKonfiguraci(const std::vector<std::uint8_t>& obsah, TCFGVK& cfg);

}  // namespace vk::core
