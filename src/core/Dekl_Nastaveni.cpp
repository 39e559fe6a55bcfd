// The program settings file (Nastaveni = settings): the connection settings
// between runs.
#include <cstdint>
#include <cstdlib>
#include <pwd.h>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

#include "Dekl.h"
#include "Ini.h"

#ifndef VK_DATA_OD_PROGRAMU
#error "VK_DATA_OD_PROGRAMU (the installed data folder, relative to the installed program's) is set by CMake"
#endif

namespace vk::core {

namespace {

constexpr const char* nazevSouboru = "W_vk7316r.ini";  // file name
constexpr const char* slozkaUzivatele = "W_vk7316r";   // folder in the user configuration folder

// One key of the file (Polozka = item): an integer field (cislo) or, for
// LAN_IP, a text field. A value that is not a number leaves the field as it
// was, unless the key has a conversion of its own (prevod): then a bad value
// reads as the key's default (VychoziPripojeni).
struct TPolozka {
    const char* sekce;
    const char* klic;
    std::int32_t TPripojeni::*cislo;
    std::string TPripojeni::*text;
    bool (*prevod)(std::string_view, std::int32_t&) = nullptr;
};

// In the order the keys are read and written; a new file gets its sections
// in this order too.
const TPolozka polozky[] = {
    {"Rozhraní", "Rozhraní", &TPripojeni::Rozhrani, nullptr},
    {"LAN", "IP adresa", nullptr, &TPripojeni::LAN_IP},
    {"LAN", "Verze IP", &TPripojeni::LAN_VerzeIP, nullptr},
    {"LAN", "Timeout", &TPripojeni::LAN_Timeout, nullptr},
    {"LAN", "Opakovani", &TPripojeni::LAN_Opakovani, nullptr, PrevedOpakovani},  // TFTP retries, 0 = none
    {"UART", "COM", &TPripojeni::UART_CisloCOM, nullptr},
    {"UART", "Rychlost", &TPripojeni::UART_KodBaud, nullptr},  // baud-rate code, not a rate
    {"UART", "Parita", &TPripojeni::UART_KodParita, nullptr},  // parity code
    {"UART", "Timeout", &TPripojeni::UART_Timeout, nullptr},
    {"UART", "Adresa", &TPripojeni::UART_Adresa, nullptr},
    {"UART", "Mezera", &TPripojeni::UART_Mezera, nullptr, PrevedMezeru},  // ms, 0 = automatic
    {"UART", "RS485", &TPripojeni::UART_RS485, nullptr,
     PrevedRezimRS485},  // 0 off, 1 RTS high, 2 RTS low while sending
    {"UART", "RS485ZpozdeniPred", &TPripojeni::UART_RS485ZpozdeniPred, nullptr, PrevedZpozdeniRS485},  // ms
    {"UART", "RS485ZpozdeniPo", &TPripojeni::UART_RS485ZpozdeniPo, nullptr, PrevedZpozdeniRS485},      // ms
    // A bad value keeps echoes dropped (the default): kept, they fail every exchange through an adapter that echoes.
    {"UART", "Echo", &TPripojeni::UART_Echo, nullptr, PrevedEcho},
};

// The home folder (DomovskaSlozka): $HOME, or the user database when unset.
std::string DomovskaSlozka(std::string_view home)
{
    if (!home.empty())
        return std::string(home);
    std::vector<char> buf(16384);
    passwd zaznam{};
    passwd* vysledek = nullptr;
    if (::getpwuid_r(::getuid(), &zaznam, buf.data(), buf.size(), &vysledek) == 0 && vysledek != nullptr &&
        vysledek->pw_dir != nullptr)
        return vysledek->pw_dir;
    return {};
}

// An environment variable (Promenna), empty when unset.
std::string_view Promenna(const char* jmeno)
{
    const char* hodnota = std::getenv(jmeno);
    return hodnota != nullptr ? std::string_view(hodnota) : std::string_view();
}

}  // namespace

// Next to the executable, as the Windows build keeps it; but an installed
// program (for example under /usr/bin) cannot write there, and its settings
// would be lost at every exit, so then they are written to the user's
// configuration folder. Until that file exists, the one next to the program
// still holds the settings (one placed there with the program, or left from
// a time the folder could be written). Where the folder can be written,
// the file next to the program is the only one: a file left in the user's
// folder must not shadow the one the program writes.
TCestyNastaveni CestyNastaveni(const std::filesystem::path& slozkaProgramu, bool slozkaZapisovatelna,
                               std::string_view xdgConfigHome, std::string_view home)
{
    const std::filesystem::path uProgramu =
        slozkaProgramu.empty() ? std::filesystem::path(nazevSouboru) : slozkaProgramu / nazevSouboru;
    if (!slozkaProgramu.empty() && slozkaZapisovatelna)
        return {uProgramu, uProgramu};
    std::filesystem::path zaklad;
    if (!xdgConfigHome.empty() && std::filesystem::path(xdgConfigHome).is_absolute())
        zaklad = std::filesystem::path(xdgConfigHome);
    else if (!home.empty())
        zaklad = std::filesystem::path(home) / ".config";
    else
        return {uProgramu, uProgramu};  // nowhere better: reading still works
    const std::filesystem::path uUzivatele = zaklad / slozkaUzivatele / nazevSouboru;
    std::error_code ec;
    if (slozkaProgramu.empty() || std::filesystem::exists(uUzivatele, ec))
        return {uUzivatele, uUzivatele};
    return {uProgramu, uUzivatele};
}

// Root can write into /usr/bin, but a settings file there would belong to no
// package and stay behind when the program is removed; an installation has
// the program's data folder beside its bin folder, a build folder has not.
bool NastaveniUProgramu(const std::filesystem::path& slozkaProgramu)
{
    if (slozkaProgramu.empty() || ::access(slozkaProgramu.c_str(), W_OK) != 0)
        return false;
    std::error_code ec;
    return !std::filesystem::is_directory(slozkaProgramu / VK_DATA_OD_PROGRAMU, ec);
}

TCestyNastaveni CestyNastaveni()
{
    std::error_code ec;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    const std::filesystem::path slozka = ec ? std::filesystem::path() : program.parent_path();
    return CestyNastaveni(slozka, NastaveniUProgramu(slozka), Promenna("XDG_CONFIG_HOME"),
                          DomovskaSlozka(Promenna("HOME")));
}

bool NactiNastaveni(PData dat)
{
    return dat != nullptr && NactiNastaveni(dat, CestyNastaveni().Cteni);
}

bool UlozNastaveni(PData dat)
{
    return dat != nullptr && UlozNastaveni(dat, CestyNastaveni());
}

// Values are taken unchecked: the connection dialog applies the ranges.
bool NactiNastaveni(PData dat, const std::filesystem::path& soubor)
{
    if (dat == nullptr)
        return false;
    TIniSoubor ini;
    if (!ini.Nacti(soubor))
        return false;
    // A file without this key was not written by the program (or is empty);
    // "jkl" stands for the missing key, so a value "jkl" counts as missing.
    if (ini.Hodnota("Rozhraní", "Rozhraní").value_or("jkl") == "jkl")
        return false;
    TPripojeni p = dat->Pripojeni;
    TPripojeni vychozi;
    VychoziPripojeni(vychozi);
    for (const TPolozka& polozka : polozky) {
        const auto hodnota = ini.Hodnota(polozka.sekce, polozka.klic);
        if (!hodnota)
            continue;
        std::int32_t cislo = 0;
        if (polozka.text != nullptr)
            p.*polozka.text = *hodnota;
        else if (polozka.prevod != nullptr)
            p.*polozka.cislo = polozka.prevod(*hodnota, cislo) ? cislo : vychozi.*polozka.cislo;
        else if (PrevedNaCislo(*hodnota, cislo))
            p.*polozka.cislo = cislo;
    }
    dat->Pripojeni = p;
    return true;
}

bool ServisniRezim(const std::filesystem::path& soubor)
{
    TIniSoubor ini;
    return ini.Nacti(soubor) && ini.Hodnota("Program", "Servis") == "1";
}

std::string CestaStopy(const std::filesystem::path& soubor)
{
    TIniSoubor ini;
    if (!ini.Nacti(soubor))
        return {};
    return ini.Hodnota("Program", "Trace").value_or(std::string());
}

bool UlozNastaveni(PData dat, const std::filesystem::path& soubor)
{
    return UlozNastaveni(dat, TCestyNastaveni{soubor, soubor});
}

// All keys are written at once, with the file replaced whole: either every
// key reaches the disk or the file stays as it was.
bool UlozNastaveni(PData dat, const TCestyNastaveni& cesty)
{
    if (dat == nullptr)
        return false;
    const std::filesystem::path& soubor = cesty.Zapis;
    std::error_code ec;
    const bool novy = cesty.Cteni != soubor && !std::filesystem::exists(soubor, ec) && !ec;  // new file
    TIniSoubor ini;
    if (novy) {
        // The new file shadows the one read from now on, so it carries on
        // that file's other sections (the COM ports) and keys; an unreadable
        // one reads as empty.
        ini.Nacti(cesty.Cteni);
    } else if (!ini.Nacti(soubor)) {
        return false;  // keeps a file that exists but cannot be read
    }
    for (const TPolozka& polozka : polozky) {
        if (polozka.text != nullptr)
            ini.Nastav(polozka.sekce, polozka.klic, dat->Pripojeni.*polozka.text);
        else
            ini.Nastav(polozka.sekce, polozka.klic, std::to_string(dat->Pripojeni.*polozka.cislo));
    }
    const std::filesystem::path slozka = soubor.parent_path();
    if (!slozka.empty() && !std::filesystem::exists(slozka, ec))
        std::filesystem::create_directories(slozka, ec);
    return ini.Uloz(soubor);
}

bool PrevedMezeru(std::string_view text, std::int32_t& ms)
{
    std::int32_t cislo = 0;
    if (!PrevedNaCislo(text, cislo) || cislo < 0 || cislo > NejdelsiMezeraMs)
        return false;
    ms = cislo;
    return true;
}

namespace {

bool CisloOdDo(std::string_view text, std::int32_t od, std::int32_t po, std::int32_t& hodnota)
{
    std::int32_t cislo = 0;
    if (!PrevedNaCislo(text, cislo) || cislo < od || cislo > po)
        return false;
    hodnota = cislo;
    return true;
}

}  // namespace

bool PrevedRezimRS485(std::string_view text, std::int32_t& rezim)
{
    return CisloOdDo(text, 0, 2, rezim);
}

bool PrevedZpozdeniRS485(std::string_view text, std::int32_t& ms)
{
    return CisloOdDo(text, 0, NejdelsiZpozdeniRS485Ms, ms);
}

bool PrevedEcho(std::string_view text, std::int32_t& echo)
{
    return CisloOdDo(text, 0, 1, echo);
}

bool PrevedHledani(std::string_view text, std::int32_t& ms)
{
    return CisloOdDo(text, 1, NejdelsiHledaniMs, ms);
}

std::int32_t NactiHledani(const std::filesystem::path& soubor)
{
    std::int32_t ms = VychoziHledaniMs;
    TIniSoubor ini;
    if (ini.Nacti(soubor))
        PrevedHledani(ini.Hodnota("UART", "Hledani").value_or(""), ms);
    return ms;
}

bool PrevedOpakovani(std::string_view text, std::int32_t& pocet)
{
    return CisloOdDo(text, 0, NejvicOpakovani, pocet);
}

std::string NactiPortCOM(const std::filesystem::path& soubor, std::int32_t cisloCOM)
{
    TIniSoubor ini;
    if (!ini.Nacti(soubor))
        return {};
    return ini.Hodnota("Porty", "COM" + std::to_string(cisloCOM)).value_or("");
}

}  // namespace vk::core
