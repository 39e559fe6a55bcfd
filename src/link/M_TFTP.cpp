#include "M_TFTP.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sys/stat.h>

#include "Stopa.h"
#include "TftpKlient.h"
#include "TftpPrenos.h"

namespace vk::link {

namespace {

// The link's outcomes become status texts here and nowhere else.
const char* const TextBezKlienta = "Spojení dosud neinicializováno";
const char* const TextChyba = TextChybaTFTP;
const char* const TextOk = "OK";

bool Vysledek(TTFTP& tftp, std::int32_t status, const std::string& text, const std::string& pricina = {})
{
    tftp.ED.Status = status;
    tftp.ED.StatusText = text;
    tftp.ED.Pricina = status == 0 ? std::string() : pricina;
    if (status != 0)
        StopujUdalost(TLinkaStopy::TFTP, "failed: " + text + (pricina.empty() ? "" : "; " + pricina));
    return status == 0;
}

// A local file's failure with the system's reason (errno as the call left it).
std::string ChybaSouboru(const char* co, const std::string& soubor)
{
    return std::string(co) + " " + soubor + ": " + std::strerror(errno);
}

bool MaKlienta(TTFTP& tftp)
{
    if (tftp.ID.IdTrivialFTP1)
        return true;
    return Vysledek(tftp, 1, TextBezKlienta);
}

// Closes the FILE on every way out of a function.
struct TSouborUzaviratel {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using TSoubor = std::unique_ptr<std::FILE, TSouborUzaviratel>;

}  // namespace

void InicializujTFTP(TTFTP& tftp, const std::string& adresaIP, std::int32_t verzeIP, std::int32_t timeoutMs,
                     std::int32_t opakovani)
{
    tftp.CFG.AdresaIP = adresaIP;
    tftp.CFG.VerzeIP = verzeIP;
    tftp.CFG.Timeout = timeoutMs;
    tftp.CFG.Opakovani = std::max<std::int32_t>(0, opakovani);
    tftp.ED.Status = 0;
    tftp.ED.StatusText.clear();
    tftp.ED.Pricina.clear();
    auto klient = std::make_shared<TTFTPKlient>();
    klient->Server = adresaIP;
    klient->IPv6 = verzeIP == 1;
    klient->CekaniCteni = timeoutMs;
    klient->CekaniZapisu = std::max<std::int32_t>(500, timeoutMs);
    klient->Opakovani = tftp.CFG.Opakovani;
    tftp.ID.IdTrivialFTP1 = std::move(klient);
}

bool PrectiDoPameti(TTFTP& tftp, const std::string& soubor, std::uint8_t* cil, std::uint32_t& pocet)
{
    pocet = 0;
    if (!MaKlienta(tftp))
        return false;
    // The whole file is read; only its first VelikostPametiTFTP bytes are kept.
    std::uint32_t ulozeno = 0;
    const tftp::TUlozeni uloz = [&](const std::uint8_t* data, std::size_t n) {
        const std::size_t vejde = std::min<std::size_t>(n, VelikostPametiTFTP - ulozeno);
        if (vejde > 0 && cil != nullptr)
            std::memcpy(cil + ulozeno, data, vejde);
        ulozeno += static_cast<std::uint32_t>(vejde);
        return true;
    };
    std::string duvod;
    if (cil == nullptr || !tftp::PrenesCteni(*tftp.ID.IdTrivialFTP1, soubor, uloz, {}, duvod))
        return Vysledek(tftp, 2, TextChyba, duvod);
    pocet = ulozeno;
    return Vysledek(tftp, 0, TextOk);
}

bool ZapisZPameti(TTFTP& tftp, const std::string& soubor, const std::uint8_t* zdroj, std::uint32_t pocet)
{
    if (!MaKlienta(tftp))
        return false;
    const std::uint32_t odeslat = std::min<std::uint32_t>(pocet, VelikostPametiTFTP);
    if (zdroj == nullptr && odeslat > 0)
        return Vysledek(tftp, 1, TextChyba);
    const tftp::TCteniZdroje cti = [&](std::uint64_t od, std::uint8_t* data, std::size_t n) {
        if (od + n > odeslat)
            return false;
        if (n > 0)
            std::memcpy(data, zdroj + od, n);
        return true;
    };
    std::string duvod;
    if (!tftp::PrenesZapis(*tftp.ID.IdTrivialFTP1, soubor, odeslat, cti, {}, duvod))
        return Vysledek(tftp, 1, TextChyba, duvod);
    return Vysledek(tftp, 0, TextOk);
}

bool PrectiDoSouboru(TTFTP& tftp, const std::string& lokalni, const std::string& soubor, const TPrubeh& prubeh)
{
    if (!MaKlienta(tftp))
        return false;
    // Created (or emptied) before the transfer; after a failure it keeps the
    // blocks received so far. A file that cannot be created is reported in
    // the status like any other failure: the caller is a window's handler,
    // and nothing may escape from it into the event loop.
    TSoubor f(std::fopen(lokalni.c_str(), "wb"));
    if (!f)
        return Vysledek(tftp, 1, "Nelze vytvořit soubor " + lokalni, ChybaSouboru("nelze vytvořit", lokalni));
    std::string chybaZapisu;
    const tftp::TUlozeni uloz = [&](const std::uint8_t* data, std::size_t n) {
        if (n == 0 || std::fwrite(data, 1, n, f.get()) == n)
            return true;
        chybaZapisu = ChybaSouboru("nelze zapsat do", lokalni);
        return false;
    };
    std::string duvod;
    const bool prenos = tftp::PrenesCteni(*tftp.ID.IdTrivialFTP1, soubor, uloz, prubeh, duvod);
    const bool zavreno = std::fclose(f.release()) == 0;
    if (prenos && !zavreno)
        chybaZapisu = ChybaSouboru("nelze dopsat", lokalni);
    if (!prenos || !zavreno)
        return Vysledek(tftp, 1, TextChyba, chybaZapisu.empty() ? duvod : chybaZapisu);
    return Vysledek(tftp, 0, TextOk);
}

bool ZapisZeSouboru(TTFTP& tftp, const std::string& lokalni, const std::string& soubor, const TPrubeh& prubeh)
{
    if (!MaKlienta(tftp))
        return false;
    TSoubor f(std::fopen(lokalni.c_str(), "rb"));
    struct stat info {};
    if (!f || fstat(fileno(f.get()), &info) != 0)
        return Vysledek(tftp, 1, "Nelze otevřít soubor " + lokalni, ChybaSouboru("nelze otevřít", lokalni));
    if (!S_ISREG(info.st_mode))
        return Vysledek(tftp, 1, "Nelze otevřít soubor " + lokalni, lokalni + " není obyčejný soubor");
    const auto velikost = static_cast<std::uint64_t>(info.st_size);
    // Blocks are asked for in order, so reading on from the current position
    // is enough; a file that shrinks meanwhile fails the transfer.
    std::string chybaCteni;
    const tftp::TCteniZdroje cti = [&](std::uint64_t, std::uint8_t* data, std::size_t n) {
        if (n == 0 || std::fread(data, 1, n, f.get()) == n)
            return true;
        chybaCteni = std::ferror(f.get()) ? ChybaSouboru("nelze číst", lokalni) : lokalni + " se během přenosu zkrátil";
        return false;
    };
    std::string duvod;
    if (!tftp::PrenesZapis(*tftp.ID.IdTrivialFTP1, soubor, velikost, cti, prubeh, duvod))
        return Vysledek(tftp, 1, TextChyba, chybaCteni.empty() ? duvod : chybaCteni);
    return Vysledek(tftp, 0, TextOk);
}

}  // namespace vk::link
