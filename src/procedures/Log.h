#pragma once
// The event log window's device work (Log): one poll of the window, and the
// archive and the clearing it may carry out first. The files travel over
// the connection record's TFTP link only, whatever link the connection
// uses, so on a serial connection they fail with that link's text.
#include <array>
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "Oznameni.h"
#include "Prubeh.h"
#include "U_VK7316R.h"

namespace vk::procedures {

// The texts of the window's status bar.
namespace TextyLOG {
inline constexpr std::string_view Cteni = "Probíhá čtení ...";  // without a leading blank
inline constexpr std::string_view Ulozen = " LOG uložen.";
inline constexpr std::string_view Vymazan = " LOG vymazán.";
}  // namespace TextyLOG

// The pause after a result text, so that it stays readable (Pauza = pause).
inline constexpr std::int32_t PauzaLOGMs = 1000;

// Base name of an archive made at `cas` (= time, local): "Arch_" yymmdd "_"
// hhnnss.
std::string JmenoArchivu(const std::tm& cas);
// The same for the current local time.
std::string JmenoArchivu();
// The header of the text export: the module's type and version, a lone
// carriage return, the network address typed for the connection.
std::string HlavickaArchivu(const std::string& typVerze, const std::string& lanIP);

// Outcome of one step (archive, clearing, read). Soubor = the module file
// whose transfer failed (empty for a local file error); StatusText = the
// text of the failure, "OK" when done; Pricina = why the TFTP link failed
// (its ED.Pricina), empty for a local file error.
struct TVysledekOperaceLOG {
    bool Ok = false;
    std::string Soubor;
    std::string StatusText;
    std::string Pricina;
};

// Archive (Uloz = save): log.bin into zaklad + ".bin" (whole or not at all),
// then its text export zaklad + ".log" with `hlavicka`. `zaklad` (= base
// name) may hold a folder.
TVysledekOperaceLOG UlozLOG(device::TVK7316R& modul, const std::string& zaklad, const std::string& hlavicka,
                            const link::TPrubeh& prubeh = {});
// Clearing (Vymaz = clear): writes log.clr.
TVysledekOperaceLOG VymazLOG(device::TVK7316R& modul);

// What one poll needs from the window and the program state (Krok = step).
struct TKrokLOG {
    bool Init = false;        // Dat.Init
    bool UlozitLOG = false;   // an archive was asked for
    bool VymazatLOG = false;  // clearing was asked for
    // The change mark: the header seen at the last successful read of
    // logh.bin; all zero when the window opens.
    std::array<std::uint8_t, device::DelkaHlavickyLOG> PredchoziHlavicka{};
    std::string SlozkaArchivu;  // folder of the archive; empty = the working directory
    std::string TypVerze;       // Dat.TypVerze
    std::string LAN_IP;         // Dat.Pripojeni.LAN_IP
    std::int32_t PauzaMs = PauzaLOGMs;
};

// What the window shows after the poll.
struct TVysledekKrokuLOG {
    // The poll got past the connection check.
    bool Provedeno = false;
    // The requests the poll did not come to, which stay pending: both when
    // the connection check failed; the clearing when the archive before it
    // failed. A request that was tried is served, whether it succeeded.
    bool UlozitZustava = false;
    bool VymazatZustava = false;
    std::string Status;                                                      // the status bar's last text
    std::array<std::uint8_t, device::DelkaHlavickyLOG> PredchoziHlavicka{};  // the change mark for the next poll
    // The header changed and log100.bin arrived: the counters and the list
    // below replace those shown; otherwise the window keeps its own.
    bool Obnoveno = false;
    std::uint32_t PocetZaznamu = 0;                 // records stored
    double Zaplneni = 0;                            // fill of the log memory in per cent
    std::vector<std::string> Radky;                 // the latest records as text, newest first
    std::string Archiv;                             // base name of the archive written, empty when none
    TVysledekOperaceLOG Chyba{true, {}, "OK", {}};  // the step that ended the poll, when one failed
};

// One poll: archive, clearing, then logh.bin and, only when it differs
// from the change mark, log100.bin. Every status text goes to `oznam` as it
// is shown; after a result text (failure, archive, clearing) the poll waits
// PauzaMs, cut short when the job is asked to stop.
TVysledekKrokuLOG KrokLOG(device::TVK7316R& modul, const TKrokLOG& krok, const TOznameni& oznam = {},
                          const link::TPrubeh& prubeh = {});

}  // namespace vk::procedures
