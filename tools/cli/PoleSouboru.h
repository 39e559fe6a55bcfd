#pragma once
// The device files as the read and write commands see them (Pole = fields,
// Soubor = file): for each file its fields by the record's names, their
// kinds and text forms, and for the writable ones how a key reaches the
// file: a settings file through its area's controls and rules, the clock and
// the boot command field by field.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "Dekl.h"
#include "Hodnoty.h"
#include "Nastroj.h"
#include "PopisOblasti.h"

namespace vk::cli {

struct TSouborCLI {
    std::string_view Nazev;  // network name of the device file
    // Reads the file from the module (Modul): its fields, or false with the
    // status text.
    std::function<bool(formy::TPolozky& polozky, std::string& status)> Precti;
    // Empty for a file the tool does not write field by field.
    // Over (= check): the keys and values without any traffic.
    std::function<bool(const std::vector<formy::TPrirazeni>& prirazeni, std::string& chyba)> Over;
    // Reads the current content, applies the assignments, writes, and where
    // the window verifies, reads back and compares. Reports on stdout/stderr.
    std::function<TKonec(const std::vector<formy::TPrirazeni>& prirazeni)> Zapis;
    std::string PopisPoli;  // fields with their forms and ranges, for --help
};

// Every file that read can decode, in the order of the help text.
const std::vector<TSouborCLI>& SouboryCLI();
const TSouborCLI* NajdiSouborCLI(std::string_view nazev);

// A failed transfer's status text, with a hint when the file travels over
// the LAN only (log.cfg, log.clr, the event log files) and the connection is
// serial with no network link set up.
std::string StatusLinky(const std::string& soubor, const std::string& status);

// A failed link's report on stderr: "file: status" (with the hint above),
// then why the link failed on a line of its own when the link knows
// (chyba linky = link failure). A file that travels over the LAN only has
// its cause from the network link, whatever the connection.
void ChybaLinky(const std::string& soubor, const std::string& status);
// A failure text as it stands, then `pricina` (the cause as the procedure
// recorded it) on a line of its own when there is one.
void ChybaSPricinou(const std::string& text, const std::string& pricina);

}  // namespace vk::cli
