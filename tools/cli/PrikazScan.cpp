// scan: the search for the module on a serial line whose rate, parity and
// perhaps address are not known; nothing else is done with the module.
#include "Dekl.h"
#include "Hledani.h"
#include "Json.h"
#include "Prikazy.h"
#include "Prubeh.h"
#include "U_VK7316R.h"
#include "VolbyPripojeni.h"
#include "Vystup.h"

namespace vk::cli {

namespace {

using device::Modul;

const char* NazevParity(std::int32_t kodParita)  // as --parity takes it
{
    return kodParita == 0 ? "none" : kodParita == 2 ? "odd" : "even";
}

TPolozky PolozkyModulu(const procedures::TNalezenyModul& m)
{
    return {{"Adresa", Cislo(static_cast<std::uint64_t>(m.Adresa))},
            {"TypModulu", Retezec(m.Identita.Typ)},
            {"VerzeModulu", Retezec(m.Identita.Verze)},
            {"VyrCislo", Retezec(m.Identita.VyrCislo)},
            {"TypVerze", Retezec(m.TypVerze)}};
}

// Plain: the settings, then a block of lines per module, each beginning
// with its Adresa; JSON: the modules as an array of objects.
std::string VypisNalezene(const procedures::TVysledekHledani& v, bool json)
{
    TPolozky hlava = {{"Rychlost", Cislo(link::RychlostBaud(v.KodBaud))},
                      {"Parita", Retezec(NazevParity(v.KodParita))}};
    if (json) {
        std::vector<THodnota> moduly;
        for (const procedures::TNalezenyModul& m : v.Moduly)
            moduly.push_back(Objekt(PolozkyModulu(m)));
        hlava.push_back({"Moduly", Pole(std::move(moduly))});
        return JsonObjekt(hlava) + "\n";
    }
    std::string s = VypisProsty(hlava);
    for (const procedures::TNalezenyModul& m : v.Moduly)
        s += VypisProsty(PolozkyModulu(m));
    return s;
}

TKonec Selhani(const procedures::TVysledekHledani& v)
{
    using procedures::TKonecHledani;
    if (v.Konec == TKonecHledani::ChybaPortu) {
        Chyba(v.Text + " (" + v.Zarizeni + ")");
        if (v.COM.has_value() && !v.COM->Duvod.empty())
            Chyba(v.COM->Duvod);
        return TKonec::ChybaModulu;
    }
    Chyba(v.Text);
    return TKonec::ChybaModulu;
}

}  // namespace

// Everything that can be refused is refused before the first try.
TKonec PripravScan(TKontext& k)
{
    const TArgumenty& a = k.Argumenty;
    std::int32_t ms = 0;
    if (a.CekaniPokusu && !core::PrevedHledani(*a.CekaniPokusu, ms))
        return ChybaPouziti(k, "--try-wait must be 1 to " + std::to_string(core::NejdelsiHledaniMs) + " ms, not \"" +
                                   *a.CekaniPokusu + "\"");
    if (a.Mezera && !core::PrevedMezeru(*a.Mezera, ms))
        return ChybaPouziti(k, "--reply-gap must be 0 to " + std::to_string(core::NejdelsiMezeraMs) +
                                   " ms (0 = automatic), not \"" + *a.Mezera + "\"");
    if (a.Adresa && !procedures::PrevedAdresu(*a.Adresa, ms))
        return ChybaPouziti(k, procedures::TextChybaAdresa);
    return TKonec::Uspech;
}

TKonec Scan(TKontext& k)
{
    const TArgumenty& a = k.Argumenty;
    const std::filesystem::path nastaveni = core::CestyNastaveni().Cteni;
    core::NactiNastaveni(&k.Dat, nastaveni);

    procedures::TZadaniHledani z;
    PortZVolby(*a.Serial, z.CisloCOM, z.Port);
    z.Adresa = a.Adresa.value_or(std::to_string(k.Dat.Pripojeni.UART_Adresa));
    z.VsechnyAdresy = a.VsechnyAdresy;
    z.NejkratsiCekaniMs = core::NactiHledani(nastaveni);
    if (a.CekaniPokusu)
        core::PrevedHledani(*a.CekaniPokusu, z.NejkratsiCekaniMs);
    core::TPripojeni pripojeni = k.Dat.Pripojeni;
    if (!VolbyPortu(a, pripojeni))
        return TKonec::ChybaPouziti;
    z.Volby = procedures::VolbyPortu(pripojeni);

    device::VychoziModul(Modul);
    procedures::TVysledekHledani v;
    {
        TUkazatelPrubehu prubeh("scan", "tries");
        v = procedures::Vyhledej(Modul, z, {}, prubeh.Zpetne());
    }
    Odpoj();
    if (v.Konec == procedures::TKonecHledani::NeplatnyUdaj)  // the COM number: the address was checked before
        return ChybaPouziti(k, v.Text);
    if (v.Konec != procedures::TKonecHledani::Nalezen)
        return Selhani(v);
    Vypis(VypisNalezene(v, a.Json));
    return TKonec::Uspech;
}

}  // namespace vk::cli
