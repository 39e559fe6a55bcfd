#include "SouborProfilu.h"

#include "Json.h"
#include "JsonCteni.h"
#include "PoleOblasti.h"

namespace vk::formy {

namespace profil = procedures::profil;
using profil::TOblastProfilu;

namespace {

// A field's value as the write command takes it: elements of an array by
// index, so that a refusal names the element.
std::vector<std::pair<std::string, std::string>> TextyPole(const TPolozka& p)
{
    if (p.Hodnota.Druh != THodnota::TDruh::Pole)
        return {{p.Nazev, p.Hodnota.Text}};
    std::vector<std::pair<std::string, std::string>> texty;
    for (std::size_t i = 0; i < p.Hodnota.Prvky.size(); ++i)
        texty.emplace_back(p.Nazev + "[" + std::to_string(i) + "]", p.Hodnota.Prvky[i].Text);
    return texty;
}

std::string Radek(int radek)
{
    return "line " + std::to_string(radek) + ": ";
}

bool Druh(const TJson& j, THodnota::TDruh druh)
{
    return druh == THodnota::TDruh::Cislo ? j.Druh == TJson::TDruh::Cislo : j.Druh == TJson::TDruh::Retezec;
}

const char* NazevDruhu(THodnota::TDruh druh)
{
    return druh == THodnota::TDruh::Cislo ? "a whole number" : "a string";
}

std::string TextHodnoty(const TJson& j)
{
    return j.Druh == TJson::TDruh::Cislo ? std::to_string(j.Cislo) : j.Text;
}

// One JSON field into assignments, its kind and length checked against the
// field as read prints it (`vzor` = pattern).
bool PolePrirazeni(const std::string& soubor, const TPolozka& vzor, const TJson& j,
                   std::vector<std::pair<TPrirazeni, int>>& prirazeni, std::string& chyba)
{
    const std::string kde = Radek(j.Radek) + soubor + ": " + vzor.Nazev + ": ";
    if (vzor.Hodnota.Druh != THodnota::TDruh::Pole) {
        if (!Druh(j, vzor.Hodnota.Druh)) {
            chyba = kde + "expected " + NazevDruhu(vzor.Hodnota.Druh);
            return false;
        }
        prirazeni.push_back({{vzor.Nazev, TextHodnoty(j)}, j.Radek});
        return true;
    }
    const std::size_t pocet = vzor.Hodnota.Prvky.size();
    if (j.Druh != TJson::TDruh::Pole || j.Prvky.size() != pocet) {
        chyba = kde + "expected an array of " + std::to_string(pocet) + " elements";
        return false;
    }
    for (std::size_t i = 0; i < pocet; ++i) {
        const THodnota::TDruh druh = vzor.Hodnota.Prvky[i].Druh;
        if (!Druh(j.Prvky[i], druh)) {
            chyba = Radek(j.Prvky[i].Radek) + soubor + ": " + vzor.Nazev + "[" + std::to_string(i) + "]: expected " +
                    NazevDruhu(druh);
            return false;
        }
        prirazeni.push_back({{vzor.Nazev + "[" + std::to_string(i) + "]", TextHodnoty(j.Prvky[i])}, j.Prvky[i].Radek});
    }
    return true;
}

// The line of the key a refusal names; the area's own line when none.
int RadekChyby(const std::string& chyba, const std::vector<std::pair<TPrirazeni, int>>& prirazeni, int radekOblasti)
{
    for (const auto& [a, radek] : prirazeni) {
        if (chyba.find(" " + a.Klic + "=") != std::string::npos ||
            chyba.find("\"" + a.Klic + "\"") != std::string::npos ||
            chyba.find(" " + a.Klic + " ") != std::string::npos)
            return radek;
    }
    return radekOblasti;
}

bool CtiOblast(TOblastProfilu o, const TJson& j, core::TCFGVK& cfg, std::string& chyba)
{
    const TFormaOblasti& s = FormaOblasti(o);
    const std::string soubor(s.Soubor);
    if (j.Druh != TJson::TDruh::Objekt) {
        chyba = Radek(j.Radek) + soubor + ": expected an object of its fields";
        return false;
    }
    core::TCFGVK vychozi;
    core::VychoziCFGVK(vychozi);
    const TPolozky vzory = s.Polozky(vychozi);
    for (const auto& [klic, hodnota] : j.Polozky) {
        bool znamy = false;
        for (const TPolozka& v : vzory)
            znamy = znamy || v.Nazev == klic;
        if (!znamy) {
            chyba = Radek(hodnota.Radek) + soubor + ": unknown field \"" + klic + "\"";
            return false;
        }
    }
    std::vector<std::pair<TPrirazeni, int>> prirazeni;
    for (const TPolozka& v : vzory) {
        const TJson* pole = j.Najdi(v.Nazev);
        if (pole == nullptr) {
            chyba = Radek(j.Radek) + soubor + ": field " + v.Nazev + " missing";
            return false;
        }
        if (!PolePrirazeni(soubor, v, *pole, prirazeni, chyba))
            return false;
    }
    std::vector<TPrirazeni> jen;
    for (const auto& [a, radek] : prirazeni)
        jen.push_back(a);
    std::string proc;
    if (!s.PrijmiCele(jen, cfg, proc)) {
        chyba = Radek(RadekChyby(proc, prirazeni, j.Radek)) + proc;
        return false;
    }
    return true;
}

bool CtiIdentitu(const TJson& koren, profil::TIdentita& id, std::string& chyba)
{
    const TJson* modul = koren.Najdi("Modul");
    if (modul == nullptr || modul->Druh != TJson::TDruh::Objekt) {
        chyba = Radek(modul ? modul->Radek : koren.Radek) + "Modul: expected an object with TypModulu, VerzeModulu, "
                                                            "VyrCislo";
        return false;
    }
    const std::pair<const char*, std::string*> pole[] = {
        {"TypModulu", &id.TypModulu}, {"VerzeModulu", &id.VerzeModulu}, {"VyrCislo", &id.VyrCislo}};
    for (const auto& [nazev, cil] : pole) {
        const TJson* h = modul->Najdi(nazev);
        if (h == nullptr || h->Druh != TJson::TDruh::Retezec) {
            chyba = Radek(h ? h->Radek : modul->Radek) + "Modul: " + nazev + ": expected a string";
            return false;
        }
        *cil = h->Text;
    }
    return true;
}

bool CtiHlavicku(const TJson& koren, std::string& chyba)
{
    const TJson* format = koren.Najdi("Format");
    if (format == nullptr || format->Druh != TJson::TDruh::Retezec || format->Text != FormatProfilu) {
        chyba = Radek(format ? format->Radek : koren.Radek) + "Format: not a module profile (expected \"" +
                std::string(FormatProfilu) + "\")";
        return false;
    }
    const TJson* verze = koren.Najdi("Verze");
    if (verze == nullptr || verze->Druh != TJson::TDruh::Cislo || verze->Cislo != VerzeProfilu) {
        chyba = Radek(verze ? verze->Radek : koren.Radek) + "Verze: format version " +
                (verze ? TextHodnoty(*verze) : std::string("missing")) + " is not read by this tool (it reads " +
                std::to_string(VerzeProfilu) + ")";
        return false;
    }
    for (const auto& [klic, hodnota] : koren.Polozky) {
        bool znamy = klic == "Format" || klic == "Verze" || klic == "Modul";
        for (TOblastProfilu o : profil::VsechnyOblasti())
            znamy = znamy || klic == profil::SouborOblasti(o);
        if (!znamy) {
            chyba = Radek(hodnota.Radek) + "unknown key \"" + klic + "\"";
            return false;
        }
    }
    return true;
}

}  // namespace

std::string ProfilNaText(const profil::TProfil& p)
{
    std::string s = "{\n  \"Format\": " + JsonRetezec(FormatProfilu) +
                    ",\n  \"Verze\": " + std::to_string(VerzeProfilu) + ",\n  \"Modul\": " +
                    JsonObjekt({{"TypModulu", Retezec(p.Identita.TypModulu)},
                                {"VerzeModulu", Retezec(p.Identita.VerzeModulu)},
                                {"VyrCislo", Retezec(p.Identita.VyrCislo)}});
    for (TOblastProfilu o : profil::VsechnyOblasti()) {
        if (!p.Drzi(o))
            continue;
        s += ",\n  " + JsonRetezec(profil::SouborOblasti(o)) + ": {";
        const TPolozky polozky = FormaOblasti(o).Polozky(p.Cfg);
        for (std::size_t i = 0; i < polozky.size(); ++i) {
            // The writer's object of one field, without its braces.
            const std::string pole = JsonObjekt({polozky[i]});
            s += std::string(i == 0 ? "" : ",") + "\n    " + pole.substr(1, pole.size() - 2);
        }
        s += "\n  }";
    }
    return s + "\n}\n";
}

bool TextNaProfil(std::string_view text, profil::TProfil& p, std::string& chyba)
{
    p = profil::TProfil{};
    core::VychoziCFGVK(p.Cfg);
    TJson koren;
    if (!CtiJson(text, koren, chyba))
        return false;
    if (koren.Druh != TJson::TDruh::Objekt) {
        chyba = Radek(koren.Radek) + "expected a JSON object";
        return false;
    }
    if (!CtiHlavicku(koren, chyba) || !CtiIdentitu(koren, p.Identita, chyba))
        return false;
    for (TOblastProfilu o : profil::VsechnyOblasti()) {
        const TJson* oblast = koren.Najdi(profil::SouborOblasti(o));
        if (oblast == nullptr) {
            // A profile taken over a serial line has no event logging.
            if (o == TOblastProfilu::LogNastaveni)
                continue;
            chyba = Radek(koren.Radek) + std::string(profil::SouborOblasti(o)) + " missing";
            return false;
        }
        if (!CtiOblast(o, *oblast, p.Cfg, chyba))
            return false;
        p.Ma[static_cast<std::size_t>(o)] = true;
    }
    procedures::TPlatnost platnost;
    TOblastProfilu chybna{};
    if (!profil::PlatnyProfil(p, chybna, platnost)) {
        chyba = Radek(koren.Najdi(profil::SouborOblasti(chybna))->Radek) + std::string(profil::SouborOblasti(chybna)) +
                ":" + platnost.Status();
        return false;
    }
    return true;
}

std::vector<TRozdilPole> RozdilyOblasti(const core::TCFGVK& modul, const core::TCFGVK& profil, TOblastProfilu oblast)
{
    const TFormaOblasti& s = FormaOblasti(oblast);
    const TPolozky a = s.Polozky(modul);
    const TPolozky b = s.Polozky(profil);
    std::vector<TRozdilPole> rozdily;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        const auto ta = TextyPole(a[i]);
        const auto tb = TextyPole(b[i]);
        for (std::size_t k = 0; k < ta.size() && k < tb.size(); ++k) {
            if (ta[k].second != tb[k].second)
                rozdily.push_back({std::string(s.Soubor), ta[k].first, ta[k].second, tb[k].second});
        }
    }
    return rozdily;
}

}  // namespace vk::formy
