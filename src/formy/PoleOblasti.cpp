#include "PoleOblasti.h"

#include <array>

#include "VypisZaznamu.h"
#include "ZnakoveTexty.h"

namespace vk::formy {

namespace {

const std::string TextKodBaud = "2-8: 2 = 2400, 3 = 4800, 4 = 9600, 5 = 19200, 6 = 38400, 7 = 57600, 8 = 115200 Bd";
const std::string TextKodParita = "0-2: 0 none, 1 even, 2 odd";

// The IP version an access table text stands for: IPv6 when it has a colon.
int VerzeTextu(std::string_view text)
{
    return text.find(':') != std::string_view::npos ? 1 : 0;
}

using OSprava = procedures::TOknoVzdalenaSprava;
namespace sprava = procedures::vzdalenasprava;

// The tool sets a row's version list from the address text given; a version
// given as well must agree, and a version changed alone would leave the old
// address in the wrong form. The table is taken only in the access table
// mode, as its dialog takes it only while enabled: given in another mode it
// would silently not be written.
bool PoPrirazeniSpravy(const OSprava& puvodni, OSprava& okno, core::TCFGVK& cfg, const TDane& dane, std::string& chyba)
{
    if (dane.count("Rezim") != 0)
        sprava::ZmenaRezimu(okno, cfg);
    bool tabulka = false;
    for (std::size_t i = 0; i < okno.Edit.size(); ++i) {
        const std::string k = "[" + std::to_string(i) + "]";
        const auto ip = dane.find("IP" + k);
        const bool verzeDana = dane.count("VerzeIP" + k) != 0;
        tabulka = tabulka || ip != dane.end() || verzeDana;
        if (ip != dane.end()) {
            if (verzeDana && okno.ComboBoxVerze[i] != VerzeTextu(ip->second)) {
                chyba = "sprava.cfg: IP" + k + "=\"" + EscapujText(ip->second) + "\" does not match VerzeIP" + k +
                        ": " + std::string(sprava::TextChybnaIP);
                return false;
            }
            okno.ComboBoxVerze[i] = VerzeTextu(ip->second);
        } else if (verzeDana && (okno.ComboBoxVerze[i] != 0) != (puvodni.ComboBoxVerze[i] != 0)) {
            chyba = "sprava.cfg: VerzeIP" + k + " changes the entry's IP version: give IP" + k + " as well";
            return false;
        }
    }
    if (tabulka && !okno.TabulkaPovolena) {
        chyba = "sprava.cfg: the access table is taken only with Rezim=2 (Rezim is " +
                std::to_string(cfg.Sprava.Rezim) + "): give Rezim=2 as well";
        return false;
    }
    return true;
}

std::string ZpravaSpravy(const OSprava& okno, const procedures::TPlatnost& platnost)
{
    core::TCFG_Sprava prazdna;
    for (std::size_t i = 0; i < okno.Edit.size(); ++i) {
        if (!sprava::PrectiRadek(okno, i, prazdna)) {
            return detail::ZpravaPole("sprava.cfg", "IP[" + std::to_string(i) + "]", okno.Edit[i], sprava::TextChybnaIP,
                                      "IPv4 a.b.c.d or IPv6; sets VerzeIP of the entry");
        }
    }
    return "sprava.cfg:" + platnost.Status();
}

}  // namespace

TPopisOblasti<procedures::TOknoLan4> PopisLan4()
{
    using O = procedures::TOknoLan4;
    namespace lan4 = procedures::lan4;
    TPopisOblasti<O> p;
    p.Oblast = &lan4::Oblast();
    p.Pole = {PoleTextu<O>("IP4_Adresa", &O::Edit1, "IPv4 a.b.c.d", lan4::TextChybaAdresy),
              PoleTextu<O>("IP4_Maska", &O::Edit2, "IPv4 a.b.c.d", lan4::TextChybaMasky),
              PoleTextu<O>("IP4_Brana", &O::Edit3, "IPv4 a.b.c.d", lan4::TextChybaBrany),
              PoleSeznamu<O>("IP4_DHCP", &O::ComboBox1, lan4::PocetPolozekDHCP, 0, "0-1: 0 fixed settings, 1 DHCP")};
    p.Polozky = [](const core::TCFGVK& cfg) { return Polozky(lan4::NaZaznam(cfg.LAN4)); };
    return p;
}

TPopisOblasti<procedures::TOknoModbusTCP> PopisModbusTCP()
{
    using O = procedures::TOknoModbusTCP;
    namespace mbtcp = procedures::modbustcp;
    TPopisOblasti<O> p;
    p.Oblast = &mbtcp::Oblast();
    p.Pole = {PoleTextu<O>("UnitID", &O::Edit1, "1-255", mbtcp::TextChybaAdresy),
              PoleTextu<O>("Timeout", &O::Edit2, "1-255 s", mbtcp::TextChybaTimeoutu)};
    p.Polozky = [](const core::TCFGVK& cfg) { return Polozky(mbtcp::NaZaznam(cfg.MBTCP)); };
    return p;
}

TPopisOblasti<procedures::TOknoHlavniLinka> PopisHlavniLinky()
{
    using O = procedures::TOknoHlavniLinka;
    namespace uartm = procedures::hlavnilinka;
    TPopisOblasti<O> p;
    p.Oblast = &uartm::Oblast();
    p.Pole = {
        PoleSeznamu<O>("KodBaud", &O::ComboBox1, procedures::PocetPolozekBaud, procedures::PosunKoduBaud, TextKodBaud),
        PoleSeznamu<O>("KodParita", &O::ComboBox2, procedures::PocetPolozekParita, 0, TextKodParita),
        PoleTextu<O>("Timeout", &O::Edit1, "1-65535 ms", uartm::TextChybaTimeoutu),
        PoleTextu<O>("Opakovani", &O::Edit2, "0-15", uartm::TextChybaOpakovani)};
    p.Polozky = [](const core::TCFGVK& cfg) { return Polozky(uartm::NaZaznam(cfg.UARTM)); };
    return p;
}

TPopisOblasti<procedures::TOknoServisniLinka> PopisServisniLinky()
{
    using O = procedures::TOknoServisniLinka;
    namespace uarts = procedures::servisnilinka;
    TPopisOblasti<O> p;
    p.Oblast = &uarts::Oblast();
    p.Pole = {
        PoleTextu<O>("Adresa", &O::Edit1, "1-255", uarts::TextChybaAdresy),
        PoleSeznamu<O>("KodBaud", &O::ComboBox1, procedures::PocetPolozekBaud, procedures::PosunKoduBaud, TextKodBaud),
        PoleSeznamu<O>("KodParita", &O::ComboBox2, procedures::PocetPolozekParita, 0, TextKodParita),
        PoleSeznamu<O>("Repeater", &O::ComboBox3, uarts::PocetPolozekRepeater, 0, "0-1: 0 off, 1 on")};
    p.Polozky = [](const core::TCFGVK& cfg) { return Polozky(uarts::NaZaznam(cfg.UARTS)); };
    return p;
}

TPopisOblasti<procedures::TOknoVzdalenaSprava> PopisVzdaleneSpravy()
{
    using O = OSprava;
    TPopisOblasti<O> p;
    p.Oblast = &sprava::Oblast();
    TPole<O> ip;
    ip.Nazev = "IP";
    ip.Pocet = 8;
    ip.Rozsah = "IPv4 a.b.c.d or IPv6; sets VerzeIP of the entry";
    ip.Nastav = [](O& o, std::size_t i, std::string_view text, std::string&) {
        o.Edit[i] = std::string(text);
        return true;
    };
    TPole<O> verze;
    verze.Nazev = "VerzeIP";
    verze.Pocet = 8;
    verze.Rozsah = "0-1: 0 IPv4, 1 IPv6";
    verze.Nastav = [](O& o, std::size_t i, std::string_view text, std::string& chyba) {
        std::int64_t v = 0;
        if (!CisloVRozsahu(text, 0, sprava::PocetPolozekVerze - 1, v)) {
            chyba = "out of range";
            return false;
        }
        o.ComboBoxVerze[i] = static_cast<int>(v);
        return true;
    };
    p.Pole = {PoleSeznamu<O>("Rezim", &O::ComboBox1, sprava::PocetPolozekRezim, 0,
                             "0-2: 0 off, 1 allowed to all, 2 access table only"),
              ip, verze};
    p.Polozky = [](const core::TCFGVK& cfg) { return Polozky(sprava::NaZaznam(cfg.Sprava)); };
    p.PoPrirazeni = PoPrirazeniSpravy;
    // Before the module is read its mode is unknown: the rows' texts are
    // checked as in the access table mode, the mode itself after the read.
    p.ObrazKontroly = [](core::TCFGVK& cfg) { cfg.Sprava.Rezim = sprava::RezimTabulka; };
    p.ZpravaPravidla = ZpravaSpravy;
    p.KlicNakonec = "Rezim";
    return p;
}

TPopisOblasti<procedures::TOknoLogNastaveni> PopisLogNastaveni()
{
    using O = procedures::TOknoLogNastaveni;
    namespace log = procedures::lognastaveni;
    TPopisOblasti<O> p;
    p.Oblast = &log::Oblast();
    // The logging window has one check box per event kind, bits 0 to 13.
    TPole<O> udalost;
    udalost.Nazev = "Udalost";
    udalost.Rozsah = "0-16383 (0x3FFF): bit n-1 = event code n";
    udalost.Nastav = [](O& o, std::size_t, std::string_view text, std::string& chyba) {
        std::int64_t v = 0;
        if (!CisloVRozsahu(text, 0, log::MaskaUdalosti, v)) {
            chyba = "out of range";
            return false;
        }
        for (std::size_t n = 0; n < o.CheckBox.size(); ++n)
            o.CheckBox[n] = (v >> n & 1) != 0;
        return true;
    };
    p.Pole = {PoleSeznamu<O>("Povolen", &O::ComboBox1, 2, 0, "0-1: 0 off, 1 on"), udalost};
    p.Polozky = [](const core::TCFGVK& cfg) { return Polozky(log::NaZaznam(cfg.LOG)); };
    return p;
}

namespace {

// A type-free form of one typed description.
template <class O>
TFormaOblasti Forma(TPopisOblasti<O> p)
{
    TFormaOblasti f;
    f.Soubor = p.Oblast->Soubor;
    f.Polozky = p.Polozky;
    f.PrijmiCele = [p](const std::vector<TPrirazeni>& prirazeni, core::TCFGVK& cfg, std::string& chyba) {
        return detail::PrijmiCele(p, prirazeni, cfg, chyba);
    };
    return f;
}

}  // namespace

const TFormaOblasti& FormaOblasti(procedures::profil::TOblastProfilu oblast)
{
    // In the order of TOblastProfilu.
    static const std::array<TFormaOblasti, procedures::profil::PocetOblasti> formy = {
        Forma(PopisLan4()),          Forma(PopisModbusTCP()),      Forma(PopisHlavniLinky()),
        Forma(PopisServisniLinky()), Forma(PopisVzdaleneSpravy()), Forma(PopisLogNastaveni())};
    return formy[static_cast<std::size_t>(oblast)];
}

}  // namespace vk::formy
