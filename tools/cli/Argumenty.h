#pragma once
// The command line taken apart (Argumenty = arguments, Volba = option).
// Options may stand before or after the command; "--" ends the options.
#include <optional>
#include <string>
#include <vector>

namespace vk::cli {

struct TArgumenty {
    // Connection: --lan HOST[:PORT] with --timeout, --retries, or --serial
    // DEVICE|COMn with --baud, --parity, --address, --timeout, --reply-gap.
    // Texts as typed; they are checked when the connection is set up, with
    // the connection messages.
    std::optional<std::string> Lan;
    std::optional<std::string> Serial;
    std::optional<std::string> Baud;
    std::optional<std::string> Parita;
    std::optional<std::string> Adresa;
    std::optional<std::string> Timeout;
    std::optional<std::string> Mezera;     // --reply-gap: the silence that ends a reply, ms
    std::optional<std::string> Opakovani;  // --retries: TFTP retransmissions of an unanswered packet
    // Header of an offline log export: --module TEXT, --ip TEXT.
    std::optional<std::string> ModulText;
    std::optional<std::string> IPText;
    bool Json = false;
    bool Napoveda = false;               // --help / -h
    std::string Prikaz;                  // command (empty when none was given)
    std::vector<std::string> Parametry;  // the command's own arguments
};

// False with a message for an unknown option, an option without its value
// or an option given twice.
bool RozeberArgumenty(int argc, char** argv, TArgumenty& argumenty, std::string& chyba);

}  // namespace vk::cli
