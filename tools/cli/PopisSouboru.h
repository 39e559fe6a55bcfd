#pragma once
// The pattern behind every entry of the file table (Popis = description): a
// record type R with its device read and write, how its fields print, and
// the writable fields with their parse and range. Zabal (= wrap) turns one
// description into the type-free TSouborCLI; ZabalOblast does the same for a
// settings area, whose keys fill its dialog's controls.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "Dekl.h"
#include "OblastKonfigurace.h"
#include "PoleSouboru.h"
#include "U_VK7316R.h"
#include "Vystup.h"

namespace vk::cli {

template <class R>
struct TPopis {
    std::string_view Nazev;
    bool (*Precti)(R& r) = nullptr;
    bool (*Zapis)(R& r) = nullptr;  // null: not written field by field
    TPolozky (*Polozky)(const R& r) = nullptr;
    std::vector<TPole<R>> Pole;
};

namespace detail {

// Field texts that differ between what was written and what was read back.
std::string Rozdily(const TPolozky& zapsano, const TPolozky& precteno);

template <class R>
TKonec ZapisZaznam(const TPopis<R>& p, const std::vector<TPrirazeni>& prirazeni)
{
    const std::string soubor(p.Nazev);
    R puvodni;
    if (!p.Precti(puvodni)) {
        ChybaLinky(soubor, puvodni.StatusText);
        return TKonec::ChybaModulu;
    }
    R novy = puvodni;
    TDane dane;
    std::string chyba;
    if (!formy::detail::Aplikuj(p.Nazev, p.Pole, prirazeni, novy, dane, chyba)) {
        Chyba(chyba);
        return TKonec::ChybaPouziti;
    }
    R zapis = novy;
    if (!p.Zapis(zapis)) {
        ChybaLinky(soubor, zapis.StatusText);
        return TKonec::ChybaModulu;
    }
    // Only the clock and the boot command come this way; they have no window
    // text of their own (the settings files report through their areas).
    Vypis(soubor + ": OK\n");
    return TKonec::Uspech;
}

template <class R>
std::string PopisPoli(const std::vector<TPole<R>>& vsechnaPole)
{
    std::string s;
    for (const TPole<R>& pole : vsechnaPole) {
        s += "    " + std::string(pole.Nazev) + (pole.Pocet != 0 ? "[0-" + std::to_string(pole.Pocet - 1) + "]" : "") +
             "  " + pole.Rozsah + "\n";
    }
    return s;
}

}  // namespace detail

template <class R>
TSouborCLI Zabal(TPopis<R> p)
{
    TSouborCLI s;
    s.Nazev = p.Nazev;
    s.Precti = [p](TPolozky& polozky, std::string& status) {
        R r;
        if (!p.Precti(r)) {
            status = r.StatusText;
            return false;
        }
        polozky = p.Polozky(r);
        return true;
    };
    if (p.Zapis != nullptr) {
        s.Over = [p](const std::vector<TPrirazeni>& prirazeni, std::string& chyba) {
            R prazdny;
            TDane dane;
            return formy::detail::Aplikuj(p.Nazev, p.Pole, prirazeni, prazdny, dane, chyba);
        };
        s.Zapis = [p](const std::vector<TPrirazeni>& prirazeni) { return detail::ZapisZaznam(p, prirazeni); };
        s.PopisPoli = detail::PopisPoli(p.Pole);
    }
    return s;
}

namespace detail {

template <class O>
TKonec ZapisOblast(const TPopisOblasti<O>& p, const std::vector<TPrirazeni>& prirazeni)
{
    const std::string soubor(p.Oblast->Soubor);
    core::TCFGVK cfg;
    const procedures::TVysledekCteni cteni = p.Oblast->PrectiData(device::Modul, cfg, {});
    if (!cteni.Uspech) {
        ChybaLinky(soubor, cteni.Status.substr(1));
        return TKonec::ChybaModulu;
    }
    std::string chyba;
    if (!formy::detail::PrijmiOkno(p, prirazeni, cfg, chyba)) {
        Chyba(chyba);
        return TKonec::ChybaPouziti;
    }
    const procedures::TVysledekZapisu v = p.Oblast->ZapisData(device::Modul, cfg, {});
    if (v.Zapsano) {
        Vypis(soubor + ":" + v.Status + "\n");
        return TKonec::Uspech;
    }
    if (!v.Overovano) {
        ChybaLinky(soubor, v.Status.substr(1));
    } else if (!v.Cteni.Uspech) {
        ChybaSPricinou(soubor + ":" + v.Status + " (" + v.Cteni.Status.substr(1) + ")", v.Pricina);
    } else {
        Chyba(soubor + ":" + v.Status + " " + Rozdily(p.Polozky(cfg), p.Polozky(v.Zpet)));
    }
    return TKonec::ChybaModulu;
}

}  // namespace detail

// `cteni` gives the read side (the device record as read prints it).
template <class O>
TSouborCLI ZabalOblast(TSouborCLI cteni, TPopisOblasti<O> p)
{
    TSouborCLI s = std::move(cteni);
    // Checked before any traffic against the default image's controls, which
    // all pass, so only a value the user gave can be refused here.
    s.Over = [p](const std::vector<TPrirazeni>& prirazeni, std::string& chyba) {
        core::TCFGVK cfg;
        core::VychoziCFGVK(cfg);
        if (p.ObrazKontroly != nullptr)
            p.ObrazKontroly(cfg);
        return formy::detail::PrijmiOkno(p, prirazeni, cfg, chyba);
    };
    s.Zapis = [p](const std::vector<TPrirazeni>& prirazeni) { return detail::ZapisOblast(p, prirazeni); };
    s.PopisPoli = detail::PopisPoli(p.Pole);
    return s;
}

}  // namespace vk::cli
