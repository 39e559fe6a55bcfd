#include "DocasnaSlozka.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace vk::test {

TDocasnaSlozka::TDocasnaSlozka()
{
    std::string vzor = (std::filesystem::temp_directory_path() / "vk_core_test_XXXXXX").string();
    if (::mkdtemp(vzor.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    cesta_ = vzor;
}

TDocasnaSlozka::~TDocasnaSlozka()
{
    std::error_code ec;
    std::filesystem::permissions(cesta_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(cesta_, ec);
}

std::vector<std::string> TDocasnaSlozka::Obsah() const
{
    std::vector<std::string> jmena;
    for (const auto& polozka : std::filesystem::directory_iterator(cesta_))
        jmena.push_back(polozka.path().filename().string());
    std::sort(jmena.begin(), jmena.end());
    return jmena;
}

std::vector<std::uint8_t> CtiBajty(const std::filesystem::path& soubor)
{
    std::ifstream f(soubor, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

std::string CtiText(const std::filesystem::path& soubor)
{
    std::ifstream f(soubor, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

void ZapisBajty(const std::filesystem::path& soubor, const std::vector<std::uint8_t>& bajty)
{
    std::ofstream f(soubor, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bajty.data()), static_cast<std::streamsize>(bajty.size()));
}

void ZapisText(const std::filesystem::path& soubor, std::string_view text)
{
    std::ofstream f(soubor, std::ios::binary | std::ios::trunc);
    f.write(text.data(), static_cast<std::streamsize>(text.size()));
}

}  // namespace vk::test
