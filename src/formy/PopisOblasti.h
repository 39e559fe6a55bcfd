#pragma once
// The fields of a record as keys and values (Popis oblasti = description of
// an area): each writable field with its parse and range, and for a settings
// area how its keys fill the area's dialog controls, which the area's own
// rules then take into the configuration image. The command-line write and
// the whole-module profile both read settings this way, so a value is
// judged by one set of rules whichever way it comes.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "Dekl.h"
#include "Hodnoty.h"
#include "OblastKonfigurace.h"

namespace vk::formy {

// One "key=value" (Prirazeni = assignment). A key is a field name, or
// "name[i]" for one element of an array field.
struct TPrirazeni {
    std::string Klic;
    std::string Hodnota;
};

// Assignments after checking, by normalised key ("IP[3]", "UnitID").
using TDane = std::map<std::string, std::string>;

// One writable field; Pocet 0 for a scalar, else the number of elements of
// an array field (set element by element).
template <class R>
struct TPole {
    std::string_view Nazev;
    std::size_t Pocet = 0;
    std::string Rozsah;  // text form and range for messages and help ("1-255")
    std::function<bool(R& r, std::size_t index, std::string_view text, std::string& chyba)> Nastav;
    // A field of a settings area: the message of the area's rule that
    // refuses it, and its value as the control holds it (Hodnota = value).
    std::string_view Zprava;
    std::function<std::string(const R& r)> Hodnota;
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

// ---- taking assignments ------------------------------------------------------------
namespace detail {

// "IP[3]" -> ("IP", 3); "UnitID" -> ("UnitID", npos). False for a malformed index.
bool RozlozKlic(std::string_view klic, std::string& nazev, std::size_t& index);
std::vector<std::string> RozdelCarkami(std::string_view text);
std::string ZpravaPole(std::string_view soubor, std::string_view klic, std::string_view hodnota, std::string_view chyba,
                       std::string_view rozsah);

template <class R>
bool Aplikuj(std::string_view soubor, const std::vector<TPole<R>>& vsechnaPole,
             const std::vector<TPrirazeni>& prirazeni, R& r, TDane& dane, std::string& chyba)
{
    dane.clear();
    for (const TPrirazeni& a : prirazeni) {
        std::string nazev;
        std::size_t index = std::string::npos;
        const TPole<R>* pole = nullptr;
        if (RozlozKlic(a.Klic, nazev, index)) {
            for (const TPole<R>& kandidat : vsechnaPole) {
                if (kandidat.Nazev == nazev)
                    pole = &kandidat;
            }
        }
        if (pole == nullptr) {
            std::string jmena;
            for (const TPole<R>& kandidat : vsechnaPole)
                jmena += (jmena.empty() ? "" : ", ") + std::string(kandidat.Nazev);
            chyba = std::string(soubor) + ": no writable field \"" + a.Klic + "\" (fields: " + jmena + ")";
            return false;
        }
        std::vector<std::pair<std::size_t, std::string>> prvky;
        if (pole->Pocet == 0) {
            if (index != std::string::npos) {
                chyba = std::string(soubor) + ": " + nazev + " is not an array";
                return false;
            }
            prvky.emplace_back(std::string::npos, a.Hodnota);
        } else if (index != std::string::npos) {
            if (index >= pole->Pocet) {
                chyba = std::string(soubor) + ": " + a.Klic + ": index outside 0-" + std::to_string(pole->Pocet - 1);
                return false;
            }
            prvky.emplace_back(index, a.Hodnota);
        } else {
            const std::vector<std::string> casti = RozdelCarkami(a.Hodnota);
            if (casti.size() != pole->Pocet) {
                chyba = std::string(soubor) + ": " + nazev + " needs " + std::to_string(pole->Pocet) +
                        " comma-separated values, or give one element as " + nazev + "[i]=value";
                return false;
            }
            for (std::size_t i = 0; i < casti.size(); ++i)
                prvky.emplace_back(i, casti[i]);
        }
        for (const auto& [i, hodnota] : prvky) {
            const std::string klic = i == std::string::npos ? nazev : nazev + "[" + std::to_string(i) + "]";
            if (dane.count(klic) != 0) {
                chyba = std::string(soubor) + ": " + klic + " given twice";
                return false;
            }
            std::string proc;
            if (!pole->Nastav(r, i == std::string::npos ? 0 : i, hodnota, proc)) {
                chyba = ZpravaPole(soubor, klic, hodnota, proc, pole->Rozsah);
                return false;
            }
            dane.emplace(klic, hodnota);
        }
    }
    if (dane.empty()) {
        chyba = std::string(soubor) + ": no field given (key=value...)";
        return false;
    }
    return true;
}

}  // namespace detail

// ---- the settings areas ----------------------------------------------------------------
// A settings file written as its dialog writes it: the keys put their values
// into the dialog's controls record O, the area's rules take the controls
// into the configuration image, and the area's procedure writes and, where
// the dialog does, verifies (Popis oblasti = description of an area).
template <class O>
struct TPopisOblasti {
    const procedures::TOblast<O>* Oblast = nullptr;
    std::vector<TPole<O>> Pole;  // keys, each bound to one control
    // The area's fields as read prints them, to name what a read-back changed.
    TPolozky (*Polozky)(const core::TCFGVK& cfg) = nullptr;
    // What the area's dialog does between the user's changes of its controls
    // and the rules (a mode list that reaches the record at once), and the
    // tool's checks of keys that belong together; `puvodni` holds the
    // controls before the assignments (Po prirazeni = after the assignments).
    bool (*PoPrirazeni)(const O& puvodni, O& okno, core::TCFGVK& cfg, const TDane& dane, std::string& chyba) = nullptr;
    // The image the check before any traffic starts from, when the defaults
    // would hide a key's rule (Obraz kontroly = image of the check).
    void (*ObrazKontroly)(core::TCFGVK& cfg) = nullptr;
    // The CLI form of a refused rule whose message several keys share.
    std::string (*ZpravaPravidla)(const O& okno, const procedures::TPlatnost& platnost) = nullptr;
    // A key that decides which other keys the dialog takes (a mode list):
    // a whole area takes it after the others, from the image of the check,
    // so that every field given is taken (Klic nakonec = key at the end).
    std::string_view KlicNakonec;
};

// A key whose value is the text of a text field, judged by the area's rule.
template <class O>
TPole<O> PoleTextu(std::string_view nazev, std::string O::*clen, std::string rozsah, std::string_view zprava)
{
    TPole<O> p;
    p.Nazev = nazev;
    p.Rozsah = std::move(rozsah);
    p.Zprava = zprava;
    p.Nastav = [clen](O& o, std::size_t, std::string_view text, std::string&) {
        o.*clen = std::string(text);
        return true;
    };
    p.Hodnota = [clen](const O& o) { return o.*clen; };
    return p;
}

// A key whose value is the code a drop-down list stands for: item index +
// `posun` (offset). A code with no item is a usage error, as no list can
// hold it.
template <class O>
TPole<O> PoleSeznamu(std::string_view nazev, int O::*clen, int pocet, int posun, std::string rozsah)
{
    TPole<O> p;
    p.Nazev = nazev;
    p.Rozsah = std::move(rozsah);
    p.Nastav = [clen, pocet, posun](O& o, std::size_t, std::string_view text, std::string& chyba) {
        std::int64_t v = 0;
        if (!CisloVRozsahu(text, posun, posun + pocet - 1, v)) {
            chyba = "out of range";
            return false;
        }
        o.*clen = static_cast<int>(v) - posun;
        return true;
    };
    p.Hodnota = [clen, posun](const O& o) { return std::to_string(o.*clen + posun); };
    return p;
}

namespace detail {

// The CLI form of a refused rule: the key, the value its control holds, the
// message and the key's range. A field the user did not give can be refused
// too, when the module holds a value its dialog would not take.
template <class O>
std::string ZpravaPravidla(const TPopisOblasti<O>& p, const O& okno, const procedures::TPlatnost& platnost)
{
    if (p.ZpravaPravidla != nullptr)
        return p.ZpravaPravidla(okno, platnost);
    const std::string_view soubor = p.Oblast->Soubor;
    const std::string_view zprava = platnost.Zprava;
    for (const TPole<O>& pole : p.Pole) {
        if (!pole.Zprava.empty() && pole.Zprava == zprava) {
            return ZpravaPole(soubor, pole.Nazev, pole.Hodnota(okno), zprava, pole.Rozsah);
        }
    }
    return std::string(soubor) + ":" + platnost.Status();
}

// The assignments applied to the controls of `cfg`, then the area's rules.
template <class O>
bool PrijmiOkno(const TPopisOblasti<O>& p, const std::vector<TPrirazeni>& prirazeni, core::TCFGVK& cfg,
                std::string& chyba)
{
    const O puvodni = p.Oblast->ZapisOkno(cfg);
    O okno = puvodni;
    TDane dane;
    if (!Aplikuj(p.Oblast->Soubor, p.Pole, prirazeni, okno, dane, chyba))
        return false;
    if (p.PoPrirazeni != nullptr && !p.PoPrirazeni(puvodni, okno, cfg, dane, chyba))
        return false;
    const procedures::TPlatnost platnost = p.Oblast->PrectiOkno(okno, cfg);
    if (!platnost.Platne) {
        chyba = ZpravaPravidla(p, okno, platnost);
        return false;
    }
    return true;
}

template <class O>
bool PrijmiCele(const TPopisOblasti<O>& p, const std::vector<TPrirazeni>& prirazeni, core::TCFGVK& cfg,
                std::string& chyba)
{
    std::vector<TPrirazeni> prvni;
    std::vector<TPrirazeni> posledni;
    for (const TPrirazeni& a : prirazeni)
        (!p.KlicNakonec.empty() && a.Klic == p.KlicNakonec ? posledni : prvni).push_back(a);
    if (p.ObrazKontroly != nullptr)
        p.ObrazKontroly(cfg);
    if (!prvni.empty() && !PrijmiOkno(p, prvni, cfg, chyba))
        return false;
    return posledni.empty() || PrijmiOkno(p, posledni, cfg, chyba);
}

}  // namespace detail

}  // namespace vk::formy
