#pragma once
// Local files that appear whole or not at all (Mistni = local): a transfer
// goes into a temporary file beside the target, which replaces the target
// only when the transfer is complete.
#include <cstdint>
#include <string>
#include <vector>

namespace vk::cli {

// The temporary name used for `cil` (= target) while it is being received.
std::string DocasneJmeno(const std::string& cil);

// A link's status text that names the temporary file, told with the target
// name instead (the user never asked for the temporary one).
std::string SCilem(std::string status, const std::string& docasny, const std::string& cil);

// Renames `docasny` onto `cil`; false with a message (the temporary file is
// then removed), also once a signal has stopped the tool.
bool DokonciSoubor(const std::string& docasny, const std::string& cil, std::string& chyba);
// Removes a temporary file after a failed transfer (errors ignored).
void ZahodSoubor(const std::string& docasny);

// Writes bytes into `cil` through a temporary file; false with a message.
bool UlozSoubor(const std::string& cil, const std::vector<std::uint8_t>& data, std::string& chyba);
// Reads a whole local file; false with a message.
bool NactiSoubor(const std::string& soubor, std::vector<std::uint8_t>& data, std::string& chyba);

}  // namespace vk::cli
