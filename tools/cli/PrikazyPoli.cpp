// read and write: a device file field by field.
#include "Json.h"
#include "PoleSouboru.h"
#include "Prikazy.h"
#include "U_VK7316R.h"
#include "Vystup.h"

namespace vk::cli {

namespace {

std::string ZnameSoubory(bool jenZapisovatelne)
{
    std::string s;
    for (const TSouborCLI& f : SouboryCLI()) {
        if (jenZapisovatelne && !f.Zapis)
            continue;
        s += (s.empty() ? "" : ", ") + std::string(f.Nazev);
    }
    return s;
}

bool RozdelPrirazeni(const std::vector<std::string>& parametry, std::vector<TPrirazeni>& prirazeni, std::string& chyba)
{
    for (std::size_t i = 1; i < parametry.size(); ++i) {
        const auto rovnase = parametry[i].find('=');
        if (rovnase == std::string::npos || rovnase == 0) {
            chyba = "\"" + parametry[i] + "\" is not key=value";
            return false;
        }
        prirazeni.push_back({parametry[i].substr(0, rovnase), parametry[i].substr(rovnase + 1)});
    }
    return true;
}

}  // namespace

TKonec PripravRead(TKontext& k)
{
    const std::string& nazev = k.Argumenty.Parametry[0];
    if (NajdiSouborCLI(nazev) != nullptr)
        return TKonec::Uspech;
    if (device::NajdiSoubor(nazev).has_value()) {
        return ChybaPouziti(k, nazev + " has no fields to read (the module only takes it, or use get)");
    }
    return ChybaPouziti(k, "unknown device file \"" + nazev + "\" (known: " + ZnameSoubory(false) + ")");
}

TKonec Read(TKontext& k)
{
    const TSouborCLI& f = *NajdiSouborCLI(k.Argumenty.Parametry[0]);
    TPolozky polozky;
    std::string status;
    if (!f.Precti(polozky, status)) {
        ChybaLinky(std::string(f.Nazev), status);
        return TKonec::ChybaModulu;
    }
    Vypis(k.Argumenty.Json ? JsonObjekt(polozky) + "\n" : VypisProsty(polozky));
    return TKonec::Uspech;
}

TKonec PripravWrite(TKontext& k)
{
    const std::string& nazev = k.Argumenty.Parametry[0];
    const TSouborCLI* f = NajdiSouborCLI(nazev);
    if (f == nullptr || !f->Zapis) {
        return ChybaPouziti(k,
                            "\"" + nazev + "\" is not written field by field (writable: " + ZnameSoubory(true) + ")");
    }
    std::vector<TPrirazeni> prirazeni;
    std::string chyba;
    if (!RozdelPrirazeni(k.Argumenty.Parametry, prirazeni, chyba) || !f->Over(prirazeni, chyba)) {
        return ChybaPouziti(k, chyba);
    }
    return TKonec::Uspech;
}

TKonec Write(TKontext& k)
{
    const TSouborCLI& f = *NajdiSouborCLI(k.Argumenty.Parametry[0]);
    std::vector<TPrirazeni> prirazeni;
    std::string chyba;
    RozdelPrirazeni(k.Argumenty.Parametry, prirazeni, chyba);
    return f.Zapis(prirazeni);
}

}  // namespace vk::cli
