// cfm-show: the two data blocks of a module configuration file (offline).
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

#include "Dekl.h"
#include "Json.h"
#include "Prikazy.h"
#include "Vystup.h"

namespace vk::cli {

namespace {

constexpr std::size_t DelkaBloku = 512;
// Block 0 carries its check byte at 15, block 1 at 137: each covers its
// block from byte 0 up to and including the check byte.
constexpr std::size_t KrytoBlok0 = 16;
constexpr std::size_t KrytoBlok1 = 138;

// The first two blocks as far as the file has them.
bool NactiBloky(const std::string& soubor, std::vector<std::uint8_t>& data, std::string& chyba)
{
    std::FILE* f = std::fopen(soubor.c_str(), "rb");
    if (f == nullptr) {
        chyba = soubor + ": cannot be opened";
        return false;
    }
    data.assign(2 * DelkaBloku, 0);
    data.resize(std::fread(data.data(), 1, data.size(), f));
    const bool chybaCteni = std::ferror(f) != 0;
    std::fclose(f);
    if (chybaCteni) chyba = soubor + ": read error";
    return !chybaCteni;
}

// "ok", "bad" (check byte wrong) or "incomplete" (the file ends inside the
// covered bytes).
std::string Kontrola(const std::vector<std::uint8_t>& data, std::size_t zacatek, std::size_t kryto)
{
    if (data.size() < zacatek + kryto) return "incomplete";
    std::uint8_t soucet = 0;
    for (std::size_t i = zacatek; i < zacatek + kryto; ++i) soucet = static_cast<std::uint8_t>(soucet + data[i]);
    return soucet == 0 ? "ok" : "bad";
}

}  // namespace

TKonec PripravCfmShow(TKontext& k)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(k.Argumenty.Parametry[0], ec)) {
        return ChybaPouziti(k, "Soubor nenalezen: " + k.Argumenty.Parametry[0]);
    }
    return TKonec::Uspech;
}

TKonec CfmShow(TKontext& k)
{
    const std::string& soubor = k.Argumenty.Parametry[0];
    std::vector<std::uint8_t> data;
    std::string chyba;
    if (!NactiBloky(soubor, data, chyba)) {
        Chyba(chyba);
        return TKonec::ChybaModulu;
    }
    core::TData dat;
    core::InicializaceDat(&dat);
    if (!core::NactiKonfiguraci(&dat, soubor, chyba)) {
        Chyba(chyba);
        return TKonec::ChybaModulu;
    }
    std::error_code ec;
    const auto velikost = std::filesystem::file_size(soubor, ec);

    // The program applies nothing from a file that ends within block 1's
    // first byte, not even a good block 0.
    const bool cteSe = data.size() > DelkaBloku;
    const std::string kontrola0 = Kontrola(data, 0, KrytoBlok0);
    const std::string kontrola1 = Kontrola(data, DelkaBloku, KrytoBlok1);

    const core::TCFG_LAN4& lan = dat.CFGVK.LAN4;
    TPolozky lan4 = {{"Kontrola", Retezec(kontrola0)}, {"Nacteno", Cislo(cteSe && kontrola0 == "ok")}};
    if (cteSe && kontrola0 == "ok") {
        lan4.push_back({"IP4_Adresa", Retezec(core::IP4NaText(lan.IP4_Adresa))});
        lan4.push_back({"IP4_Maska", Retezec(core::IP4NaText(lan.IP4_Maska))});
        lan4.push_back({"IP4_Brana", Retezec(core::IP4NaText(lan.IP4_Brana))});
        lan4.push_back({"IP4_DHCP", Cislo(lan.IP4_DHCP)});
    }
    const core::TCFG_Sprava& sprava = dat.CFGVK.Sprava;
    TPolozky sp = {{"Kontrola", Retezec(kontrola1)}, {"Nacteno", Cislo(kontrola1 == "ok")}};
    if (kontrola1 == "ok") {
        std::vector<THodnota> ip;
        for (const core::TPole16B& u : sprava.User_IP) ip.push_back(Retezec(core::IP4NaText({u[0], u[1], u[2], u[3]})));
        sp.push_back({"Rezim", Cislo(sprava.Rezim)});
        sp.push_back({"User_IP", Pole(std::move(ip))});
    }
    const TPolozky p = {{"Soubor", Retezec(soubor)},
                        {"Velikost", Cislo(ec ? 0 : velikost)},
                        {"LAN4", Objekt(std::move(lan4))},
                        {"Sprava", Objekt(std::move(sp))}};
    Vypis(k.Argumenty.Json ? JsonObjekt(p) + "\n" : VypisProsty(p));
    return TKonec::Uspech;
}

}  // namespace vk::cli
