#pragma once
// The pattern behind every entry of the file table (Popis = description): a
// record type R with its device read and write, how its fields print, and
// the writable fields with their parse and range. Zabal (= wrap) turns one
// description into the type-free TSouborCLI.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "Dekl.h"
#include "PoleSouboru.h"
#include "U_VK7316R.h"
#include "Vystup.h"

namespace vk::cli {

// One writable field; Pocet 0 for a scalar, else the number of elements of
// an array field (set element by element).
template <class R>
struct TPole {
    std::string_view Nazev;
    std::size_t Pocet = 0;
    std::string Rozsah;  // text form and range for messages and help ("1-255")
    std::function<bool(R& r, std::size_t index, std::string_view text, std::string& chyba)> Nastav;
};

template <class R>
struct TPopis {
    std::string_view Nazev;
    bool (*Precti)(R& r) = nullptr;
    bool (*Zapis)(R& r) = nullptr;  // null: not written field by field
    TPolozky (*Polozky)(const R& r) = nullptr;
    std::vector<TPole<R>> Pole;
    bool Overovat = false;  // read back after writing and compare, as the window does
    // Checks that need the whole record (fields that depend on each other).
    std::function<bool(const R& puvodni, R& novy, const TDane& dane, std::string& chyba)> Kontrola;
};

// ---- parses shared by the fields ---------------------------------------------------
// The windows' integer conversion, then the range.
bool CisloVRozsahu(std::string_view text, std::int64_t min, std::int64_t max, std::int64_t& hodnota);

template <class R, class T>
TPole<R> PoleCislo(std::string_view nazev, T R::*clen, std::int64_t min, std::int64_t max, std::string zprava = {})
{
    TPole<R> p;
    p.Nazev = nazev;
    p.Rozsah = std::to_string(min) + "-" + std::to_string(max);
    p.Nastav = [clen, min, max, zprava](R& r, std::size_t, std::string_view text, std::string& chyba) {
        std::int64_t v = 0;
        if (!CisloVRozsahu(text, min, max, v)) {
            chyba = zprava.empty() ? std::string("out of range") : zprava;
            return false;
        }
        r.*clen = static_cast<T>(v);
        return true;
    };
    return p;
}

template <class R>
TPole<R> PoleIP4(std::string_view nazev, std::array<std::uint8_t, 4> R::*clen, std::string zprava)
{
    TPole<R> p;
    p.Nazev = nazev;
    p.Rozsah = "IPv4 a.b.c.d";
    p.Nastav = [clen, zprava](R& r, std::size_t, std::string_view text, std::string& chyba) {
        core::TAdresa4 ip{};
        if (!JeTextIP4(text) || !core::TextNaIP4(text, ip)) {
            chyba = zprava;
            return false;
        }
        r.*clen = ip;
        return true;
    };
    return p;
}

// ---- the write course ----------------------------------------------------------------
namespace detail {

// "IP[3]" -> ("IP", 3); "UnitID" -> ("UnitID", npos). False for a malformed index.
bool RozlozKlic(std::string_view klic, std::string& nazev, std::size_t& index);
std::vector<std::string> RozdelCarkami(std::string_view text);
std::string ZpravaPole(std::string_view soubor, std::string_view klic, std::string_view hodnota,
                       std::string_view chyba, std::string_view rozsah);

template <class R>
bool Aplikuj(const TPopis<R>& p, const std::vector<TPrirazeni>& prirazeni, R& r, TDane& dane, std::string& chyba)
{
    dane.clear();
    for (const TPrirazeni& a : prirazeni) {
        std::string nazev;
        std::size_t index = std::string::npos;
        const TPole<R>* pole = nullptr;
        if (RozlozKlic(a.Klic, nazev, index)) {
            for (const TPole<R>& kandidat : p.Pole) {
                if (kandidat.Nazev == nazev) pole = &kandidat;
            }
        }
        if (pole == nullptr) {
            std::string jmena;
            for (const TPole<R>& kandidat : p.Pole) jmena += (jmena.empty() ? "" : ", ") + std::string(kandidat.Nazev);
            chyba = std::string(p.Nazev) + ": no writable field \"" + a.Klic + "\" (fields: " + jmena + ")";
            return false;
        }
        std::vector<std::pair<std::size_t, std::string>> prvky;
        if (pole->Pocet == 0) {
            if (index != std::string::npos) {
                chyba = std::string(p.Nazev) + ": " + nazev + " is not an array";
                return false;
            }
            prvky.emplace_back(std::string::npos, a.Hodnota);
        } else if (index != std::string::npos) {
            if (index >= pole->Pocet) {
                chyba = std::string(p.Nazev) + ": " + a.Klic + ": index outside 0-" + std::to_string(pole->Pocet - 1);
                return false;
            }
            prvky.emplace_back(index, a.Hodnota);
        } else {
            const std::vector<std::string> casti = RozdelCarkami(a.Hodnota);
            if (casti.size() != pole->Pocet) {
                chyba = std::string(p.Nazev) + ": " + nazev + " needs " + std::to_string(pole->Pocet) +
                        " comma-separated values, or give one element as " + nazev + "[i]=value";
                return false;
            }
            for (std::size_t i = 0; i < casti.size(); ++i) prvky.emplace_back(i, casti[i]);
        }
        for (const auto& [i, hodnota] : prvky) {
            const std::string klic = i == std::string::npos ? nazev : nazev + "[" + std::to_string(i) + "]";
            if (dane.count(klic) != 0) {
                chyba = std::string(p.Nazev) + ": " + klic + " given twice";
                return false;
            }
            std::string proc;
            if (!pole->Nastav(r, i == std::string::npos ? 0 : i, hodnota, proc)) {
                chyba = ZpravaPole(p.Nazev, klic, hodnota, proc, pole->Rozsah);
                return false;
            }
            dane.emplace(klic, hodnota);
        }
    }
    if (dane.empty()) {
        chyba = std::string(p.Nazev) + ": no field given (key=value...)";
        return false;
    }
    return true;
}

// Field texts that differ between what was written and what was read back.
std::string Rozdily(const TPolozky& zapsano, const TPolozky& precteno);

template <class R>
TKonec ZapisZaznam(const TPopis<R>& p, const std::vector<TPrirazeni>& prirazeni)
{
    const std::string soubor(p.Nazev);
    R puvodni;
    if (!p.Precti(puvodni)) {
        Chyba(soubor + ": " + StatusLinky(soubor, puvodni.StatusText));
        return TKonec::ChybaModulu;
    }
    R novy = puvodni;
    TDane dane;
    std::string chyba;
    if (!Aplikuj(p, prirazeni, novy, dane, chyba) || (p.Kontrola && !p.Kontrola(puvodni, novy, dane, chyba))) {
        Chyba(chyba);
        return TKonec::ChybaPouziti;
    }
    R zapis = novy;
    if (!p.Zapis(zapis)) {
        Chyba(soubor + ": " + StatusLinky(soubor, zapis.StatusText));
        return TKonec::ChybaModulu;
    }
    if (p.Overovat) {
        R zpet;
        if (!p.Precti(zpet)) {
            Chyba(soubor + ": Chyba verifikace zápisu. (" + zpet.StatusText + ")");
            return TKonec::ChybaModulu;
        }
        const std::string rozdily = Rozdily(p.Polozky(novy), p.Polozky(zpet));
        if (!rozdily.empty()) {
            Chyba(soubor + ": Chyba verifikace zápisu. " + rozdily);
            return TKonec::ChybaModulu;
        }
    }
    // The settings files report as their windows do; the clock and the boot
    // command have no window text of their own.
    const bool nastaveni = soubor.size() > 4 && soubor.compare(soubor.size() - 4, 4, ".cfg") == 0;
    Vypis(soubor + (nastaveni ? ": Konfigurace zapsána.\n" : ": OK\n"));
    return TKonec::Uspech;
}

template <class R>
std::string PopisPoli(const TPopis<R>& p)
{
    std::string s;
    for (const TPole<R>& pole : p.Pole) {
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
            return detail::Aplikuj(p, prirazeni, prazdny, dane, chyba);
        };
        s.Zapis = [p](const std::vector<TPrirazeni>& prirazeni) { return detail::ZapisZaznam(p, prirazeni); };
        s.PopisPoli = detail::PopisPoli(p);
    }
    return s;
}

}  // namespace vk::cli
