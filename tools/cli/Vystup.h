#pragma once
// Where the tool's texts go (Vystup = output): results on stdout, failures
// and usage on stderr, each failure prefixed with the tool's name.
#include <string_view>

namespace vk::formy {
}

namespace vk::cli {

// The tool prints and parses every field through the text forms of the
// device files (value tree, JSON, the areas' keys).
using namespace vk::formy;

void Vypis(std::string_view text);  // stdout, as it stands
void Chyba(std::string_view text);  // stderr: "vk7316r: " + text + line end

}  // namespace vk::cli
