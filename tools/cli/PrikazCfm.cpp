// cfm-show: the two data blocks of a module configuration file (offline),
// judged and decoded by the core's loader, so that the tool shows exactly
// what loading the file would do.
#include <filesystem>
#include <system_error>
#include <vector>

#include "Dekl.h"
#include "Json.h"
#include "Prikazy.h"
#include "Soubory.h"
#include "Vystup.h"

namespace vk::cli {

namespace {

THodnota TextKontroly(core::TKontrolaBloku kontrola)
{
    switch (kontrola) {
    case core::TKontrolaBloku::Platna:
        return Retezec("ok");
    case core::TKontrolaBloku::Chybna:
        return Retezec("bad");
    case core::TKontrolaBloku::Neuplna:
        return Retezec("incomplete");
    }
    return Retezec("?");
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
    std::vector<std::uint8_t> obsah;
    switch (core::CtiSoubor(soubor, core::DelkaNacitaneKonfigurace, obsah)) {
    case core::TCteni::Precteno:
        break;
    case core::TCteni::Chybi:
    case core::TCteni::NelzeOtevrit:
        Chyba(soubor + ": cannot be opened");
        return TKonec::ChybaModulu;
    case core::TCteni::NelzePrecist:
        Chyba(soubor + ": read error");
        return TKonec::ChybaModulu;
    }
    core::TData dat;
    core::InicializaceDat(&dat);
    const core::TBlokyKonfigurace bloky = core::PouzijKonfiguraci(obsah, dat.CFGVK);
    std::error_code ec;
    const auto velikost = std::filesystem::file_size(soubor, ec);

    const core::TCFG_LAN4& lan = dat.CFGVK.LAN4;
    TPolozky lan4 = {{"Kontrola", TextKontroly(bloky.Kontrola[0])}, {"Nacteno", Cislo(bloky.Nacte[0])}};
    if (bloky.Nacte[0]) {
        lan4.push_back({"IP4_Adresa", Retezec(core::IP4NaText(lan.IP4_Adresa))});
        lan4.push_back({"IP4_Maska", Retezec(core::IP4NaText(lan.IP4_Maska))});
        lan4.push_back({"IP4_Brana", Retezec(core::IP4NaText(lan.IP4_Brana))});
        lan4.push_back({"IP4_DHCP", Cislo(lan.IP4_DHCP)});
    }
    const core::TCFG_Sprava& sprava = dat.CFGVK.Sprava;
    TPolozky sp = {{"Kontrola", TextKontroly(bloky.Kontrola[1])}, {"Nacteno", Cislo(bloky.Nacte[1])}};
    if (bloky.Nacte[1]) {
        std::vector<THodnota> ip;
        for (const core::TPole16B& u : sprava.User_IP)
            ip.push_back(Retezec(core::IP4NaText({u[0], u[1], u[2], u[3]})));
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
