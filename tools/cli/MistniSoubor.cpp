#include "MistniSoubor.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

#include "Preruseni.h"

namespace vk::cli {

std::string DocasneJmeno(const std::string& cil)
{
    return cil + ".vk7316r-" + std::to_string(getpid()) + ".part";
}

std::string SCilem(std::string status, const std::string& docasny, const std::string& cil)
{
    const auto kde = status.find(docasny);
    if (kde != std::string::npos)
        status.replace(kde, docasny.size(), cil);
    return status;
}

bool DokonciSoubor(const std::string& docasny, const std::string& cil, std::string& chyba)
{
    // A transfer that came to its end just as the user stopped the tool
    // is dropped as well: a stopped command leaves no new file.
    if (PrijatySignal() != 0) {
        chyba = cil + ": not written, interrupted";
        ZahodSoubor(docasny);
        return false;
    }
    if (std::rename(docasny.c_str(), cil.c_str()) == 0)
        return true;
    chyba = cil + ": " + std::strerror(errno);
    ZahodSoubor(docasny);
    return false;
}

void ZahodSoubor(const std::string& docasny)
{
    std::remove(docasny.c_str());
}

bool UlozSoubor(const std::string& cil, const std::vector<std::uint8_t>& data, std::string& chyba)
{
    const std::string docasny = DocasneJmeno(cil);
    std::FILE* f = std::fopen(docasny.c_str(), "wb");
    if (f == nullptr) {
        chyba = cil + ": " + std::strerror(errno);
        return false;
    }
    const bool zapsano = data.empty() || std::fwrite(data.data(), 1, data.size(), f) == data.size();
    const int chybaZapisu = errno;
    if (std::fclose(f) != 0 || !zapsano) {
        chyba = cil + ": " + std::strerror(zapsano ? errno : chybaZapisu);
        ZahodSoubor(docasny);
        return false;
    }
    return DokonciSoubor(docasny, cil, chyba);
}

bool NactiSoubor(const std::string& soubor, std::vector<std::uint8_t>& data, std::string& chyba)
{
    data.clear();
    std::FILE* f = std::fopen(soubor.c_str(), "rb");
    if (f == nullptr) {
        chyba = soubor + ": " + std::strerror(errno);
        return false;
    }
    std::uint8_t buf[65536];
    std::size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        data.insert(data.end(), buf, buf + n);
    const bool chybaCteni = std::ferror(f) != 0;
    std::fclose(f);
    if (chybaCteni) {
        chyba = soubor + ": read error";
        return false;
    }
    return true;
}

}  // namespace vk::cli
