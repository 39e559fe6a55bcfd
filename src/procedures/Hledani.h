#pragma once
// The search for the module on a serial line whose settings are not known
// (Hledani = search): the module identification at one address tried at
// every offered rate and parity, then, when asked, every address at the
// rate found. Each try waits only as long as a module at those settings
// needs to answer, not the configured time-out. The command-line tool's
// scan and the connection dialog's "Vyhledat" both run this.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Dekl.h"
#include "Oznameni.h"
#include "PokusPripojeni.h"
#include "Prubeh.h"
#include "U_VK7316R.h"

namespace vk::procedures {

// What to search (Zadani = brief): the port, and the texts of the dialog's
// COM number and address fields, checked by the connection's rules.
struct TZadaniHledani {
    TCestaPortu Port;  // a device path given directly stands for the COM number
    std::string CisloCOM;
    std::string Adresa;          // where the rates are tried
    bool VsechnyAdresy = false;  // then every address 1..NejvyssiAdresaHledani at the rate found (all addresses)
    std::int32_t NejkratsiCekaniMs = core::VychoziHledaniMs;  // a try's wait at least (nejkratsi = shortest)
    // The port's own options (the reply's gap by hand, RS-485, echo
    // removal), as the connection uses them.
    link::TVolbyPortu Volby;
};

// The highest address a search by address tries: Modbus leaves those above
// for special purposes.
inline constexpr std::int32_t NejvyssiAdresaHledani = 247;
// The rates (codes 2..8) times the parities (codes 0..2).
inline constexpr std::uint32_t PocetNastaveniLinky = 7 * 3;

// How a search ended.
enum class TKonecHledani {
    Nalezen,       // found
    Nenalezen,     // no try was answered
    NeplatnyUdaj,  // an invalid entry
    ChybaPortu,    // the serial port did not open
    Preruseno,     // asked to stop
};

struct TNalezenyModul {  // a module that answered (nalezeny = found)
    std::int32_t Adresa = 0;
    TIdentitaUART Identita;
    std::string TypVerze;  // type and version as the connection shows them
};

struct TVysledekHledani {
    TKonecHledani Konec = TKonecHledani::NeplatnyUdaj;
    std::string Text;  // the final status text
    std::string Zarizeni;
    std::optional<TZarizeniCOM> COM;  // why the port did not open (ChybaPortu)
    // The settings found; on Preruseno those found before the stop.
    std::int32_t KodBaud = 0;
    std::int32_t KodParita = 0;
    std::vector<TNalezenyModul> Moduly;  // by address
    std::uint32_t Pokusu = 0;            // tries made (pokus = try)
};

inline constexpr const char* TextHledani = "Probíhá hledání modulu ...";

// Closes the program's own port first (it holds it exclusively) and leaves
// the module not identified and the port closed. Progress: tries made of
// those planned; the plan shrinks when the rate is found early. A stop
// (link::PozadovanoUkonceni) ends it before its next try.
TVysledekHledani Vyhledej(device::TVK7316R& modul, const TZadaniHledani& zadani, const TOznameni& oznam = {},
                          const link::TPrubeh& prubeh = {});

}  // namespace vk::procedures
