// backup, diff, restore: the whole module against a profile file.
#include <algorithm>
#include <string>
#include <vector>

#include "Json.h"
#include "MistniSoubor.h"
#include "PoleOblasti.h"
#include "PoleSouboru.h"
#include "PopisSouboru.h"
#include "Prikazy.h"
#include "Rozhrani.h"
#include "SouborProfilu.h"
#include "Vystup.h"

namespace vk::cli {

namespace profil = procedures::profil;
using profil::TOblastProfilu;

namespace {

std::string Soubor(TOblastProfilu o)
{
    return std::string(profil::SouborOblasti(o));
}

// A profile from a local file; the message begins with the file's name.
bool NactiProfil(const std::string& soubor, profil::TProfil& p, std::string& chyba)
{
    std::vector<std::uint8_t> data;
    if (!NactiSoubor(soubor, data, chyba))
        return false;
    if (!TextNaProfil(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()), p, chyba)) {
        chyba = soubor + ": " + chyba;
        return false;
    }
    return true;
}

// What diff and restore tell beside their errors: as lines, or gathered for
// one JSON object that a fleet tool reads (Zprava = report).
struct TZprava {
    bool Json = false;
    std::vector<TRozdilPole> Rozdily;
    std::vector<std::string> Poznamky;  // notes

    void Poznamka(const std::string& text)
    {
        if (Json)
            Poznamky.push_back(text);
        else
            Chyba("note: " + text);
    }
    void Radek(const std::string& text)  // a result line without its line end
    {
        if (Json)
            Poznamky.push_back(text);
        else
            Vypis(text + "\n");
    }
    void VypisJson(bool zmena) const
    {
        std::string s = std::string("{\"changed\":") + (zmena ? "true" : "false") + ",\"diff\":[";
        for (std::size_t i = 0; i < Rozdily.size(); ++i) {
            const TRozdilPole& r = Rozdily[i];
            s += std::string(i == 0 ? "" : ",") + "{\"area\":" + JsonRetezec(r.Soubor) +
                 ",\"field\":" + JsonRetezec(r.Pole) + ",\"module\":" + JsonRetezec(r.Modul) +
                 ",\"file\":" + JsonRetezec(r.Profil) + "}";
        }
        s += "],\"note\":[";
        for (std::size_t i = 0; i < Poznamky.size(); ++i)
            s += std::string(i == 0 ? "" : ",") + JsonRetezec(Poznamky[i]);
        Vypis(s + "]}\n");
    }
};

// Reads the module's areas; an area this link cannot reach is named on
// stderr, never left out silently.
bool PrectiModul(TKontext& k, profil::TProfil& modul, TZprava& z)
{
    const profil::TVysledekSberu v = profil::PrectiProfil(device::Modul, k.Dat, modul);
    for (TOblastProfilu o : v.Vynechane) {
        z.Poznamka(Soubor(o) +
                   " left out: the event logging settings travel over the LAN only (use --lan to include them)");
    }
    if (!v.Uspech) {
        const auto dvojtecka = v.Status.find(':');
        const std::string soubor = v.Status.substr(0, dvojtecka);
        ChybaSPricinou(soubor + ": " + StatusLinky(soubor, v.Status.substr(dvojtecka + 2)), v.Pricina);
    }
    return v.Uspech;
}

// The file's areas the module was not compared in, named on stderr.
void Nesrovnane(const profil::TProfil& modul, const profil::TProfil& soubor, TZprava& z)
{
    for (TOblastProfilu o : profil::NesrovnaneOblasti(modul, soubor))
        z.Poznamka(Soubor(o) + " is not in the profile and stays as it is");
    if (modul.Identita.VyrCislo != soubor.Identita.VyrCislo || modul.Identita.TypModulu != soubor.Identita.TypModulu) {
        z.Poznamka("the profile was taken from " + soubor.Identita.TypModulu + " " + soubor.Identita.VyrCislo +
                   ", this module is " + modul.Identita.TypModulu + " " + modul.Identita.VyrCislo);
    }
}

// diff names both sides; restore shows the change it makes.
void VypisRozdily(const profil::TProfil& modul, const profil::TProfil& soubor, TOblastProfilu o, bool zmena, TZprava& z)
{
    for (const TRozdilPole& r : RozdilyOblasti(modul.Cfg, soubor.Cfg, o)) {
        if (z.Json) {
            z.Rozdily.push_back(r);
            continue;
        }
        const std::string a = EscapujText(r.Modul);
        const std::string b = EscapujText(r.Profil);
        Vypis(r.Soubor + ": " + r.Pole + ": " + (zmena ? a + " -> " + b : "module " + a + ", file " + b) + "\n");
    }
}

}  // namespace

TKonec PripravProfil(TKontext& k)
{
    profil::TProfil p;
    std::string chyba;
    if (!NactiProfil(k.Argumenty.Parametry[0], p, chyba)) {
        Chyba(chyba);
        return TKonec::ChybaPouziti;
    }
    return TKonec::Uspech;
}

namespace {

// The outcome of one area's write as the write command reports it.
bool HlasZapis(const profil::TZapisOblasti& z, const profil::TProfil& modul, const profil::TProfil& soubor,
               TZprava& zprava)
{
    const std::string s = Soubor(z.Oblast);
    const procedures::TVysledekZapisu& v = z.Vysledek;
    const formy::TFormaOblasti& f = formy::FormaOblasti(z.Oblast);
    if (z.Oblast == TOblastProfilu::Lan4 && (z.KonecSpojeni || v.Zapsano) && profil::ZmenaAdresy(modul, soubor) &&
        device::Modul.Rozhrani != vk::common::RozhraniUART) {
        const std::string adresa = core::IP4NaText(soubor.Cfg.LAN4.IP4_Adresa);
        const bool dhcp = soubor.Cfg.LAN4.IP4_DHCP != 0;
        zprava.Radek(s + ": Konfigurace zapsána." +
                     (z.KonecSpojeni ? " Not verified: no reply at the old address." : ""));
        zprava.Radek(std::string("The module's network address changes") + (dhcp ? " (DHCP)" : " to " + adresa) +
                     ": the link at the old address ends here; connect " +
                     (dhcp ? "at the address DHCP gives it" : "with --lan " + adresa) + ".");
        return true;
    }
    if (v.Zapsano) {
        zprava.Radek(s + ":" + v.Status);
        return true;
    }
    if (!v.Overovano)
        ChybaSPricinou(s + ": " + StatusLinky(s, v.Status.substr(1)), v.Pricina);
    else if (!v.Cteni.Uspech)
        ChybaSPricinou(s + ":" + v.Status + " (" + v.Cteni.Status.substr(1) + ")", v.Pricina);
    else
        Chyba(s + ":" + v.Status + " " + detail::Rozdily(f.Polozky(soubor.Cfg), f.Polozky(v.Zpet)));
    return false;
}

}  // namespace

TKonec Backup(TKontext& k)
{
    profil::TProfil p;
    TZprava z;
    if (!PrectiModul(k, p, z))
        return TKonec::ChybaModulu;
    const std::string text = ProfilNaText(p);
    const std::string& cil = k.Argumenty.Parametry[0];
    std::string chyba;
    if (!UlozSoubor(cil, std::vector<std::uint8_t>(text.begin(), text.end()), chyba)) {
        Chyba(chyba);
        return TKonec::ChybaModulu;
    }
    std::string oblasti;
    for (TOblastProfilu o : profil::VsechnyOblasti()) {
        if (p.Drzi(o))
            oblasti += " " + Soubor(o);
    }
    Vypis(cil + ":" + oblasti + "\n");
    return TKonec::Uspech;
}

// The file and the module side by side (srovnani = comparison), as diff
// and restore both start: the file read whole, the module read, the areas
// only one side holds noted, and the areas that differ.
struct TSrovnani {
    profil::TProfil soubor;
    profil::TProfil modul;
    TZprava z;
    std::vector<TOblastProfilu> rozdilne;
};

TKonec Srovnej(TKontext& k, TSrovnani& s)
{
    std::string chyba;
    if (!NactiProfil(k.Argumenty.Parametry[0], s.soubor, chyba)) {
        Chyba(chyba);
        return TKonec::ChybaPouziti;
    }
    s.z.Json = k.Argumenty.Json;
    if (!PrectiModul(k, s.modul, s.z))
        return TKonec::ChybaModulu;
    Nesrovnane(s.modul, s.soubor, s.z);
    s.rozdilne = profil::RozdilneOblasti(s.modul, s.soubor);
    return TKonec::Uspech;
}

TKonec Diff(TKontext& k)
{
    TSrovnani s;
    if (const TKonec konec = Srovnej(k, s); konec != TKonec::Uspech)
        return konec;
    for (TOblastProfilu o : profil::VsechnyOblasti()) {
        if (std::find(s.rozdilne.begin(), s.rozdilne.end(), o) != s.rozdilne.end())
            VypisRozdily(s.modul, s.soubor, o, false, s.z);
    }
    if (s.z.Json)
        s.z.VypisJson(!s.rozdilne.empty());
    return s.rozdilne.empty() ? TKonec::Uspech : TKonec::Rozdil;
}

TKonec Restore(TKontext& k)
{
    TSrovnani s;
    if (const TKonec konec = Srovnej(k, s); konec != TKonec::Uspech)
        return konec;
    const profil::TProfil& soubor = s.soubor;
    profil::TProfil& modul = s.modul;
    TZprava& z = s.z;
    const std::vector<TOblastProfilu>& rozdilne = s.rozdilne;
    if (rozdilne.empty()) {
        z.Radek("Nothing to change: the module holds the profile.");
        if (z.Json)
            z.VypisJson(false);
        return TKonec::Uspech;
    }
    for (TOblastProfilu o : rozdilne)
        VypisRozdily(modul, soubor, o, true, z);
    if (k.Argumenty.Nanecisto) {
        z.Radek("Dry run: nothing sent.");
        if (z.Json)
            z.VypisJson(true);
        return TKonec::Uspech;
    }
    std::vector<profil::TZapisOblasti> zapsano;
    profil::ZapisProfil(device::Modul, modul, soubor, {}, zapsano);
    bool uspech = true;
    bool zmena = false;
    for (const profil::TZapisOblasti& zapis : zapsano) {
        zmena = zmena || zapis.Vysledek.Zapsano || zapis.KonecSpojeni;
        if (!HlasZapis(zapis, modul, soubor, z)) {
            uspech = false;
            break;
        }
    }
    // A failed area still leaves the earlier ones written: the JSON says so.
    if (z.Json)
        z.VypisJson(zmena);
    return uspech ? TKonec::Uspech : TKonec::ChybaModulu;
}

}  // namespace vk::cli
