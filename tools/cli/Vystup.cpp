#include "Vystup.h"

#include <cstdio>
#include <string>

namespace vk::cli {

void Vypis(std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), stdout);
}

void Chyba(std::string_view text)
{
    std::fflush(stdout);
    const std::string radek = "vk7316r: " + std::string(text) + "\n";
    std::fwrite(radek.data(), 1, radek.size(), stderr);
}

}  // namespace vk::cli
