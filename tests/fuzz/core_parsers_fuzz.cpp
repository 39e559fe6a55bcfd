// The core's parsers of outside text and files, fed with arbitrary bytes:
// address text forms, the integer conversion, the identity split, a settings
// file and a configuration file. The first byte picks the parser.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>

#include "Dekl.h"
#include "ZnakoveTexty.h"

using namespace vk::core;

namespace {

void Pozaduj(bool podminka)
{
    if (!podminka)
        std::abort();
}

// One scratch folder for the whole run, removed at exit.
struct TSlozka {
    std::filesystem::path Cesta;
    TSlozka()
    {
        // In memory where the system has it: every settings save syncs to disk.
        char vzor[] = "/dev/shm/vk-fuzz-core-XXXXXX";
        char nahradni[] = "/tmp/vk-fuzz-core-XXXXXX";
        const char* slozka = ::mkdtemp(vzor);
        if (slozka == nullptr)
            slozka = ::mkdtemp(nahradni);
        Pozaduj(slozka != nullptr);
        Cesta = slozka;
        Cesta = vzor;
    }
    ~TSlozka()
    {
        std::error_code ec;
        std::filesystem::remove_all(Cesta, ec);
    }
};

std::filesystem::path Zapis(const std::string& nazev, std::string_view obsah)
{
    static TSlozka slozka;
    const auto cesta = slozka.Cesta / nazev;
    std::ofstream(cesta, std::ios::binary | std::ios::trunc)
        .write(obsah.data(), static_cast<std::streamsize>(obsah.size()));
    return cesta;
}

void Adresy(std::string_view text)
{
    TAdresa4 ip4{};
    if (TextNaIP4(text, ip4)) {
        TAdresa4 zpet{};
        Pozaduj(TextNaIP4(IP4NaText(ip4), zpet) && zpet == ip4);
    }
    TPole16B ip6{};
    if (TextNaIP6(text, ip6)) {
        TPole16B zpet{};
        Pozaduj(TextNaIP6(IP6NaText(ip6), zpet) && zpet == ip6);
    }
    std::int32_t cislo = 0;
    PrevedNaCislo(text, cislo);
    std::string typ, verze, vyrCislo;
    RozlozInfoText(text, typ, verze, vyrCislo);
    using vk::common::PocetZnaku;
    Pozaduj(PocetZnaku(typ) + PocetZnaku(verze) + PocetZnaku(vyrCislo) <= PocetZnaku(text));
    Pozaduj(PocetZnaku(verze) <= 4);
    PodporovanaVerze(typ, verze);
}

void Nastaveni(std::string_view obsah)
{
    TData dat;
    InicializaceDat(&dat);
    const auto cesta = Zapis("W_vk7316r.ini", obsah);
    NactiNastaveni(&dat, cesta);
    // Writing back what was read must succeed and read back the same.
    Pozaduj(UlozNastaveni(&dat, cesta));
    TData znovu;
    InicializaceDat(&znovu);
    Pozaduj(NactiNastaveni(&znovu, cesta));
    Pozaduj(znovu.Pripojeni.Rozhrani == dat.Pripojeni.Rozhrani && znovu.Pripojeni.LAN_IP == dat.Pripojeni.LAN_IP &&
            znovu.Pripojeni.UART_Adresa == dat.Pripojeni.UART_Adresa);
}

void Konfigurace(std::string_view obsah)
{
    TData dat;
    InicializaceDat(&dat);
    const TCFGVK pred = dat.CFGVK;
    const auto cesta = Zapis("modul.cfm", obsah);
    std::string chyba;
    Pozaduj(NactiKonfiguraci(&dat, cesta.string(), chyba));
    // Only the IPv4 settings, the management mode and the first four bytes
    // of each user address may come from the file.
    Pozaduj(dat.CFGVK.LAN6.IP6_GUA == pred.LAN6.IP6_GUA && dat.CFGVK.MBTCP.UnitID == pred.MBTCP.UnitID &&
            dat.CFGVK.Sprava.VerzeIP == pred.Sprava.VerzeIP && dat.CFGVK.UARTM.Timeout == pred.UARTM.Timeout);
    for (std::size_t i = 0; i < 8; ++i)
        for (std::size_t k = 4; k < 16; ++k)
            Pozaduj(dat.CFGVK.Sprava.User_IP[i][k] == pred.Sprava.User_IP[i][k]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string_view zbytek(reinterpret_cast<const char*>(data + 1), size - 1);
    switch (data[0] % 3) {
    case 0:
        Adresy(zbytek.substr(0, 512));
        break;
    case 1:
        Nastaveni(zbytek.substr(0, 4096));
        break;
    default:
        Konfigurace(zbytek);
        break;
    }
    return 0;
}
