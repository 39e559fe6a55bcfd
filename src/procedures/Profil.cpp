#include "Profil.h"

#include "HlavniLinka.h"
#include "Lan4.h"
#include "LogNastaveni.h"
#include "ModbusTCP.h"
#include "Rozhrani.h"
#include "ServisniLinka.h"
#include "VzdalenaSprava.h"

namespace vk::procedures::profil {

namespace {

// What the profile needs of one area, free of its controls type.
struct TKrokyOblasti {
    std::string_view Soubor;
    TVysledekCteni (*PrectiData)(device::TVK7316R& modul, core::TCFGVK& cfg, const TOznameni& oznam);
    TVysledekZapisu (*ZapisData)(device::TVK7316R& modul, core::TCFGVK cfg, const TOznameni& oznam);
    bool (*Stejne)(const core::TCFGVK& a, const core::TCFGVK& b);
    TPlatnost (*Pravidla)(const core::TCFGVK& cfg);
};

// The controls as the dialog would fill them carry exactly what it shows, so
// two images that fill them alike hold the same settings for the user.
template <class O, const TOblast<O>& (*oblast)()>
bool StejneOkno(const core::TCFGVK& a, const core::TCFGVK& b)
{
    return oblast().ZapisOkno(a) == oblast().ZapisOkno(b);
}

template <class O, const TOblast<O>& (*oblast)()>
TPlatnost PravidlaOkna(const core::TCFGVK& cfg)
{
    core::TCFGVK prace = cfg;
    return oblast().PrectiOkno(oblast().ZapisOkno(cfg), prace);
}

template <class O, const TOblast<O>& (*oblast)()>
TKrokyOblasti Kroky()
{
    return {oblast().Soubor, oblast().PrectiData, oblast().ZapisData, StejneOkno<O, oblast>, PravidlaOkna<O, oblast>};
}

const TKrokyOblasti& KrokyOblasti(TOblastProfilu o)
{
    static const std::array<TKrokyOblasti, PocetOblasti> kroky = {
        Kroky<TOknoLan4, lan4::Oblast>(),
        Kroky<TOknoModbusTCP, modbustcp::Oblast>(),
        Kroky<TOknoHlavniLinka, hlavnilinka::Oblast>(),
        Kroky<TOknoServisniLinka, servisnilinka::Oblast>(),
        Kroky<TOknoVzdalenaSprava, vzdalenasprava::Oblast>(),
        Kroky<TOknoLogNastaveni, lognastaveni::Oblast>(),
    };
    return kroky[static_cast<std::size_t>(o)];
}

}  // namespace

const std::array<TOblastProfilu, PocetOblasti>& VsechnyOblasti()
{
    static const std::array<TOblastProfilu, PocetOblasti> oblasti = {
        TOblastProfilu::Lan4,          TOblastProfilu::ModbusTCP,      TOblastProfilu::HlavniLinka,
        TOblastProfilu::ServisniLinka, TOblastProfilu::VzdalenaSprava, TOblastProfilu::LogNastaveni};
    return oblasti;
}

const std::array<TOblastProfilu, PocetOblasti>& PoradiZapisu()
{
    static const std::array<TOblastProfilu, PocetOblasti> oblasti = {
        TOblastProfilu::ModbusTCP,      TOblastProfilu::HlavniLinka,  TOblastProfilu::ServisniLinka,
        TOblastProfilu::VzdalenaSprava, TOblastProfilu::LogNastaveni, TOblastProfilu::Lan4};
    return oblasti;
}

std::string_view SouborOblasti(TOblastProfilu oblast)
{
    return KrokyOblasti(oblast).Soubor;
}

bool OblastDostupna(const device::TVK7316R& modul, TOblastProfilu oblast)
{
    const auto radek = device::NajdiSoubor(SouborOblasti(oblast));
    const bool jenLan = !radek || radek->KodSouboru < 0;
    return !jenLan || modul.Rozhrani != vk::common::RozhraniUART || modul.TFTP.ID.IdTrivialFTP1;
}

TVysledekSberu PrectiProfil(device::TVK7316R& modul, const core::TData& dat, TProfil& profil,
                            const link::TPrubeh& prubeh)
{
    TVysledekSberu v;
    profil = TProfil{};
    profil.Identita = {dat.TypModulu, dat.VerzeModulu, dat.VyrCislo};
    core::VychoziCFGVK(profil.Cfg);
    std::vector<TOblastProfilu> cist;
    for (TOblastProfilu o : VsechnyOblasti())
        (OblastDostupna(modul, o) ? cist : v.Vynechane).push_back(o);
    for (std::size_t i = 0; i < cist.size(); ++i) {
        const TOblastProfilu o = cist[i];
        const TVysledekCteni cteni = KrokyOblasti(o).PrectiData(modul, profil.Cfg, {});
        if (!cteni.Uspech) {
            v.Status = std::string(SouborOblasti(o)) + ":" + cteni.Status;
            v.Pricina = cteni.Pricina;
            return v;
        }
        profil.Ma[static_cast<std::size_t>(o)] = true;
        if (prubeh)
            prubeh(i + 1, cist.size());
    }
    v.Uspech = true;
    return v;
}

bool OblastSeLisi(const core::TCFGVK& a, const core::TCFGVK& b, TOblastProfilu oblast)
{
    return !KrokyOblasti(oblast).Stejne(a, b);
}

std::vector<TOblastProfilu> RozdilneOblasti(const TProfil& modul, const TProfil& soubor)
{
    std::vector<TOblastProfilu> rozdilne;
    for (TOblastProfilu o : PoradiZapisu()) {
        if (modul.Drzi(o) && soubor.Drzi(o) && OblastSeLisi(modul.Cfg, soubor.Cfg, o))
            rozdilne.push_back(o);
    }
    return rozdilne;
}

bool PlatnyProfil(const TProfil& profil, TOblastProfilu& chybna, TPlatnost& platnost)
{
    for (TOblastProfilu o : VsechnyOblasti()) {
        if (!profil.Drzi(o))
            continue;
        platnost = KrokyOblasti(o).Pravidla(profil.Cfg);
        if (!platnost.Platne) {
            chybna = o;
            return false;
        }
    }
    return true;
}

std::vector<TOblastProfilu> NesrovnaneOblasti(const TProfil& modul, const TProfil& soubor)
{
    std::vector<TOblastProfilu> nesrovnane;
    for (TOblastProfilu o : VsechnyOblasti()) {
        if (modul.Drzi(o) && !soubor.Drzi(o))
            nesrovnane.push_back(o);
    }
    return nesrovnane;
}

bool ZmenaAdresy(const TProfil& modul, const TProfil& soubor)
{
    if (!modul.Drzi(TOblastProfilu::Lan4) || !soubor.Drzi(TOblastProfilu::Lan4))
        return false;
    const core::TCFG_LAN4& a = modul.Cfg.LAN4;
    const core::TCFG_LAN4& b = soubor.Cfg.LAN4;
    return a.IP4_Adresa != b.IP4_Adresa || a.IP4_DHCP != b.IP4_DHCP;
}

bool ZapisProfil(device::TVK7316R& modul, const TProfil& modulovy, const TProfil& soubor, const TOznameni& oznam,
                 std::vector<TZapisOblasti>& zapsano, const link::TPrubeh& prubeh)
{
    zapsano.clear();
    const std::vector<TOblastProfilu> rozdilne = RozdilneOblasti(modulovy, soubor);
    for (TOblastProfilu o : rozdilne) {
        TZapisOblasti z;
        z.Oblast = o;
        z.Vysledek = KrokyOblasti(o).ZapisData(modul, soubor.Cfg, oznam);
        z.KonecSpojeni = o == TOblastProfilu::Lan4 && modul.Rozhrani != vk::common::RozhraniUART &&
                         ZmenaAdresy(modulovy, soubor) && z.Vysledek.Overovano && !z.Vysledek.Cteni.Uspech;
        zapsano.push_back(z);
        if (!z.Vysledek.Zapsano && !z.KonecSpojeni)
            return false;
        if (prubeh)
            prubeh(zapsano.size(), rozdilne.size());
    }
    return true;
}

}  // namespace vk::procedures::profil
