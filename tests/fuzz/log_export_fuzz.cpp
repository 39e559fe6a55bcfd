// The export of an arbitrary log file: it must end either in a text file
// that begins with the header line and an empty line, or in an error
// message, and never leave a temporary file behind.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

#include "LogZaznamy.h"

namespace fs = std::filesystem;

namespace {

void Pozaduj(bool podminka)
{
    if (!podminka)
        std::abort();
}

// A folder of this process, removed at exit; shared memory when there is
// one, so the many small files cost no disk writes.
struct TSlozka {
    fs::path cesta;
    TSlozka()
    {
        const fs::path zaklad = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        cesta = zaklad / ("vk_log_export_fuzz_" + std::to_string(::getpid()));
        fs::create_directories(cesta);
    }
    ~TSlozka()
    {
        std::error_code e;
        fs::remove_all(cesta, e);
    }
};

// The text begins with the header line and an empty line: every ASCII byte
// of the header in order, then CR LF CR LF, with nothing in between but the
// "?" or the upper-half bytes that other characters of the header became.
bool ZacinaHlavickou(const std::string& text, const std::string& hlavicka)
{
    std::string ocekavano;
    for (const char c : hlavicka)
        if (static_cast<unsigned char>(c) < 0x80)
            ocekavano += c;
    ocekavano += "\r\n\r\n";
    std::size_t j = 0;
    for (std::size_t i = 0; i < text.size() && j < ocekavano.size(); ++i) {
        if (text[i] == ocekavano[j])
            ++j;
        else if (text[i] != '?' && static_cast<unsigned char>(text[i]) < 0x80)
            return false;
    }
    return j == ocekavano.size();
}

const fs::path& Slozka()
{
    static const TSlozka slozka;
    return slozka.cesta;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string zaklad = (Slozka() / "Arch").string();
    {
        std::ofstream f(zaklad + ".bin", std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    // The header text also comes from the module (its type and version):
    // the first bytes of the input stand in for it.
    const std::string hlavicka(reinterpret_cast<const char*>(data), size < 16 ? size : 16);
    std::string chyba;
    const bool ok = vk::device::PrevedLogNaText(zaklad, hlavicka, chyba);
    Pozaduj(ok == chyba.empty());
    if (ok) {
        std::ifstream f(zaklad + ".log", std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
        Pozaduj(text.size() >= 4);
        Pozaduj(text.compare(text.size() - 2, 2, "\r\n") == 0);
        Pozaduj(ZacinaHlavickou(text, hlavicka));
    }
    std::size_t souboru = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(Slozka()))
        ++souboru;
    Pozaduj(souboru == (ok ? 2u : 1u));
    return 0;
}
