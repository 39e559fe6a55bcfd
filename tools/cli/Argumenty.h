#pragma once
// The command line taken apart (Argumenty = arguments, Volba = option).
// Options may stand before or after the command; "--" ends the options.
#include <optional>
#include <string>
#include <vector>

namespace vk::cli {

struct TArgumenty {
    // Connection: --lan HOST[:PORT] with --timeout, --retries, or --serial
    // DEVICE|COMn with --baud, --parity, --address, --timeout, --reply-gap,
    // --rs485, --rs485-delay, --no-echo-removal. Texts as typed; they are
    // checked when the connection is set up, with the connection messages.
    std::optional<std::string> Lan;
    std::optional<std::string> Serial;
    std::optional<std::string> Baud;
    std::optional<std::string> Parita;
    std::optional<std::string> Adresa;
    std::optional<std::string> Timeout;
    std::optional<std::string> Mezera;  // --reply-gap: the silence that ends a reply, ms
    // scan: --all-addresses, and --try-wait MS, the shortest wait of a try.
    bool VsechnyAdresy = false;
    std::optional<std::string> CekaniPokusu;
    // --rs485[=rts-high|rts-low] (bare: rts-high) and --rs485-delay
    // BEFORE,AFTER: the kernel's RS-485 mode (Zpozdeni = delay).
    std::optional<std::string> RS485;
    std::optional<std::string> RS485Zpozdeni;
    bool BezOdstraneniOzveny = false;         // --no-echo-removal: keep the request's echo
    std::optional<std::string> CekaniNaPort;  // --port-wait MS: wait for a port another program holds
    std::optional<std::string> Opakovani;     // --retries: TFTP retransmissions of an unanswered packet
    // Header of an offline log export: --module TEXT, --ip TEXT.
    std::optional<std::string> ModulText;
    std::optional<std::string> IPText;
    // --trace FILE: every frame and datagram of the connection, one line
    // each (Stopa = trace).
    std::optional<std::string> Stopa;
    bool Json = false;
    bool Nanecisto = false;              // restore --dry-run: tell what would change, send nothing
    bool Napoveda = false;               // --help / -h
    std::string Prikaz;                  // command (empty when none was given)
    std::vector<std::string> Parametry;  // the command's own arguments
};

// False with a message for an unknown option, an option without its value
// or an option given twice.
bool RozeberArgumenty(int argc, char** argv, TArgumenty& argumenty, std::string& chyba);

}  // namespace vk::cli
