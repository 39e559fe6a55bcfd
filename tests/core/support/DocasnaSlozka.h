#pragma once
// Test helpers: a private temporary folder removed at the end of the test,
// and whole-file byte reads and writes.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vk::test {

class TDocasnaSlozka {  // temporary folder
public:
    TDocasnaSlozka();
    ~TDocasnaSlozka();
    TDocasnaSlozka(const TDocasnaSlozka&) = delete;
    TDocasnaSlozka& operator=(const TDocasnaSlozka&) = delete;

    const std::filesystem::path& Cesta() const { return cesta_; }
    std::filesystem::path operator/(std::string_view jmeno) const { return cesta_ / jmeno; }
    // Names of the entries in the folder, sorted.
    std::vector<std::string> Obsah() const;

private:
    std::filesystem::path cesta_;
};

std::vector<std::uint8_t> CtiBajty(const std::filesystem::path& soubor);
std::string CtiText(const std::filesystem::path& soubor);
void ZapisBajty(const std::filesystem::path& soubor, const std::vector<std::uint8_t>& bajty);
void ZapisText(const std::filesystem::path& soubor, std::string_view text);

}  // namespace vk::test
