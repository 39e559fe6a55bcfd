#include "PoleSouboru.h"

#include <algorithm>

#include "HlavniLinka.h"
#include "Lan4.h"
#include "LogNastaveni.h"
#include "ModbusTCP.h"
#include "PopisSouboru.h"
#include "Rozhrani.h"
#include "ServisniLinka.h"
#include "VypisZaznamu.h"
#include "VzdalenaSprava.h"
#include "ZnakoveTexty.h"

namespace vk::cli {

using namespace device;

bool CisloVRozsahu(std::string_view text, std::int64_t min, std::int64_t max, std::int64_t& hodnota)
{
    std::int32_t v = 0;
    if (!core::PrevedNaCislo(text, v) || v < min || v > max)
        return false;
    hodnota = v;
    return true;
}

std::string StatusLinky(const std::string& soubor, const std::string& status)
{
    const auto radek = device::NajdiSoubor(soubor);
    const bool jenLan = !radek || radek->KodSouboru < 0;
    if (jenLan && Modul.Rozhrani == vk::common::RozhraniUART && !Modul.TFTP.ID.IdTrivialFTP1) {
        return status + " (this file travels over the LAN only: use --lan)";
    }
    return status;
}

namespace detail {

bool RozlozKlic(std::string_view klic, std::string& nazev, std::size_t& index)
{
    index = std::string::npos;
    const auto zavorka = klic.find('[');
    if (zavorka == std::string_view::npos) {
        nazev = std::string(klic);
        return !nazev.empty();
    }
    if (klic.back() != ']' || zavorka + 2 >= klic.size())
        return false;
    const std::string_view cislo = klic.substr(zavorka + 1, klic.size() - zavorka - 2);
    if (!std::all_of(cislo.begin(), cislo.end(), [](char c) { return c >= '0' && c <= '9'; }) || cislo.size() > 3) {
        return false;
    }
    index = std::stoul(std::string(cislo));
    nazev = std::string(klic.substr(0, zavorka));
    return !nazev.empty();
}

std::vector<std::string> RozdelCarkami(std::string_view text)
{
    std::vector<std::string> casti;
    std::size_t zacatek = 0;
    while (true) {
        const auto carka = text.find(',', zacatek);
        casti.emplace_back(text.substr(zacatek, carka == std::string_view::npos ? carka : carka - zacatek));
        if (carka == std::string_view::npos)
            return casti;
        zacatek = carka + 1;
    }
}

std::string ZpravaPole(std::string_view soubor, std::string_view klic, std::string_view hodnota, std::string_view chyba,
                       std::string_view rozsah)
{
    return std::string(soubor) + ": " + std::string(klic) + "=\"" + EscapujText(hodnota) + "\": " + std::string(chyba) +
           " (" + std::string(rozsah) + ")";
}

std::string Rozdily(const TPolozky& zapsano, const TPolozky& precteno)
{
    std::string s;
    for (std::size_t i = 0; i < zapsano.size(); ++i) {
        const std::string z = VypisProsty({zapsano[i]});
        const std::string p = i < precteno.size() ? VypisProsty({precteno[i]}) : std::string();
        if (z == p)
            continue;
        auto hodnota = [](const std::string& radek) {
            const auto rovnase = radek.find('=');
            std::string h = rovnase == std::string::npos ? radek : radek.substr(rovnase + 1);
            if (!h.empty() && h.back() == '\n')
                h.pop_back();
            return h;
        };
        s += (s.empty() ? "" : "; ") + zapsano[i].Nazev + " written " + hodnota(z) + ", read back " + hodnota(p);
    }
    return s;
}

}  // namespace detail

namespace {

const std::string TextKodBaud = "2-8: 2 = 2400, 3 = 4800, 4 = 9600, 5 = 19200, 6 = 38400, 7 = 57600, 8 = 115200 Bd";
const std::string TextKodParita = "0-2: 0 none, 1 even, 2 odd";

template <class R>
TPole<R> SRozsahem(TPole<R> p, std::string rozsah)
{
    p.Rozsah = std::move(rozsah);
    return p;
}

TSouborCLI InfoTxt()
{
    TPopis<TVK7316R_InfoTxt> p;
    p.Nazev = "info.txt";
    p.Precti = [](TVK7316R_InfoTxt& r) { return PrectiInfoTxt(Modul, r); };
    p.Polozky = [](const TVK7316R_InfoTxt& r) { return Polozky(r); };
    return Zabal(p);
}

TSouborCLI RtcBin()
{
    using R = TVK7316R_RtcBin;
    TPopis<R> p;
    p.Nazev = "rtc.bin";
    p.Precti = [](R& r) { return PrectiRtcBin(Modul, r); };
    p.Zapis = [](R& r) { return ZapisRtcBin(Modul, r); };
    p.Polozky = [](const R& r) { return Polozky(r); };
    // The clock window only ever writes the computer's time; these are the
    // ranges of a valid date and time.
    p.Pole = {PoleCislo<R>("MSek", &R::MSek, 0, 999),
              PoleCislo<R>("Sek", &R::Sek, 0, 59),
              PoleCislo<R>("Min", &R::Min, 0, 59),
              PoleCislo<R>("Hod", &R::Hod, 0, 23),
              PoleCislo<R>("Den", &R::Den, 1, 31),
              PoleCislo<R>("Mes", &R::Mes, 1, 12),
              SRozsahem(PoleCislo<R>("Rok", &R::Rok, 0, 99), "0-99: year - 2000"),
              SRozsahem(PoleCislo<R>("DDen", &R::DDen, 0, 6), "0-6: 0 Sunday ... 6 Saturday")};
    return Zabal(p);
}

TSouborCLI SysBin()
{
    TPopis<TVK7316R_SysBin> p;
    p.Nazev = "sys.bin";
    p.Precti = [](TVK7316R_SysBin& r) { return PrectiSysBin(Modul, r); };
    p.Polozky = [](const TVK7316R_SysBin& r) { return Polozky(r); };
    return Zabal(p);
}

TSouborCLI MmrdBin()
{
    TPopis<TVK7316R_MmrdBin> p;
    p.Nazev = "mmrd.bin";
    p.Precti = [](TVK7316R_MmrdBin& r) { return PrectiMmrdBin(Modul, r); };
    p.Polozky = [](const TVK7316R_MmrdBin& r) { return Polozky(r); };
    return Zabal(p);
}

TSouborCLI MmrgvBin()
{
    TPopis<TVK7316R_MmrgvBin> p;
    p.Nazev = "mmrgv.bin";
    p.Precti = [](TVK7316R_MmrgvBin& r) { return PrectiMmrgvBin(Modul, r); };
    p.Polozky = [](const TVK7316R_MmrgvBin& r) { return Polozky(r); };
    return Zabal(p);
}

TSouborCLI Lan4Cfg()
{
    using R = TVK7316R_Lan4Cfg;
    TPopis<R> cteni;
    cteni.Nazev = "lan4.cfg";
    cteni.Precti = [](R& r) { return PrectiLan4Cfg(Modul, r); };
    cteni.Polozky = [](const R& r) { return Polozky(r); };

    using O = procedures::TOknoLan4;
    namespace lan4 = procedures::lan4;
    TPopisOblasti<O> p;
    p.Oblast = &lan4::Oblast();
    p.Pole = {PoleTextu<O>("IP4_Adresa", &O::Edit1, "IPv4 a.b.c.d", lan4::TextChybaAdresy),
              PoleTextu<O>("IP4_Maska", &O::Edit2, "IPv4 a.b.c.d", lan4::TextChybaMasky),
              PoleTextu<O>("IP4_Brana", &O::Edit3, "IPv4 a.b.c.d", lan4::TextChybaBrany),
              PoleSeznamu<O>("IP4_DHCP", &O::ComboBox1, lan4::PocetPolozekDHCP, 0, "0-1: 0 fixed settings, 1 DHCP")};
    p.Polozky = [](const core::TCFGVK& cfg) { return Polozky(lan4::NaZaznam(cfg.LAN4)); };
    return ZabalOblast(Zabal(cteni), p);
}

TSouborCLI MbtcpCfg()
{
    using R = TVK7316R_MbtcpCfg;
    TPopis<R> cteni;
    cteni.Nazev = "mbtcp.cfg";
    cteni.Precti = [](R& r) { return PrectiMbtcpCfg(Modul, r); };
    cteni.Polozky = [](const R& r) { return Polozky(r); };

    using O = procedures::TOknoModbusTCP;
    namespace mbtcp = procedures::modbustcp;
    TPopisOblasti<O> p;
    p.Oblast = &mbtcp::Oblast();
    p.Pole = {PoleTextu<O>("UnitID", &O::Edit1, "1-255", mbtcp::TextChybaAdresy),
              PoleTextu<O>("Timeout", &O::Edit2, "1-255 s", mbtcp::TextChybaTimeoutu)};
    p.Polozky = [](const core::TCFGVK& cfg) { return Polozky(mbtcp::NaZaznam(cfg.MBTCP)); };
    return ZabalOblast(Zabal(cteni), p);
}

TSouborCLI UartmCfg()
{
    using R = TVK7316R_UartmCfg;
    TPopis<R> cteni;
    cteni.Nazev = "uartm.cfg";
    cteni.Precti = [](R& r) { return PrectiUartmCfg(Modul, r); };
    cteni.Polozky = [](const R& r) { return Polozky(r); };

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
    return ZabalOblast(Zabal(cteni), p);
}

TSouborCLI UartsCfg()
{
    using R = TVK7316R_UartsCfg;
    TPopis<R> cteni;
    cteni.Nazev = "uarts.cfg";
    cteni.Precti = [](R& r) { return PrectiUartsCfg(Modul, r); };
    cteni.Polozky = [](const R& r) { return Polozky(r); };

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
    return ZabalOblast(Zabal(cteni), p);
}

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

TSouborCLI SpravaCfg()
{
    using R = TVK7316R_SpravaCfg;
    TPopis<R> cteni;
    cteni.Nazev = "sprava.cfg";
    cteni.Precti = [](R& r) { return PrectiSpravaCfg(Modul, r); };
    cteni.Polozky = [](const R& r) { return Polozky(r); };

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
    return ZabalOblast(Zabal(cteni), p);
}

TSouborCLI LogCfg()
{
    using R = TVK7316R_LogCfg;
    TPopis<R> cteni;
    cteni.Nazev = "log.cfg";
    cteni.Precti = [](R& r) { return PrectiLogCfg(Modul, r); };
    cteni.Polozky = [](const R& r) { return Polozky(r); };

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
    return ZabalOblast(Zabal(cteni), p);
}

TSouborCLI FwAkt()
{
    TPopis<TVK7316R_FwAkt> p;
    p.Nazev = "fw.akt";
    p.Precti = [](TVK7316R_FwAkt& r) { return PrectiFwAkt(Modul, r); };
    p.Polozky = [](const TVK7316R_FwAkt& r) { return Polozky(r); };
    return Zabal(p);
}

TSouborCLI BootCmd()
{
    using R = TVK7316R_BootCmd;
    TPopis<R> p;
    p.Nazev = "boot.cmd";
    p.Precti = [](R& r) { return PrectiBootCmd(Modul, r); };
    p.Zapis = [](R& r) { return ZapisBootCmd(Modul, r); };
    p.Polozky = [](const R& r) { return Polozky(r); };
    TPole<R> cmd;
    cmd.Nazev = "Cmd";
    cmd.Rozsah = "text of 1-200 characters, \\xNN for a control character, \\\\ for a backslash";
    cmd.Nastav = [](R& r, std::size_t, std::string_view text, std::string& chyba) {
        std::string prikaz;
        if (!OdescapujText(text, prikaz)) {
            chyba = "bad escape";
            return false;
        }
        if (prikaz.empty()) {
            chyba = "an empty command is not written";
            return false;
        }
        if (common::PocetZnaku(prikaz) > MaxDelkaPrikazu) {
            chyba = std::string(TextDlouhyPrikaz);
            return false;
        }
        // The module takes one byte per character: a character above U+00FF
        // would reach it as some other byte.
        for (char32_t znak : common::ZnakyTextu(prikaz))
            if (znak > 0xFF) {
                chyba = "the command may hold only characters U+0000 to U+00FF";
                return false;
            }
        r.Cmd = prikaz;
        return true;
    };
    p.Pole = {cmd};
    return Zabal(p);
}

}  // namespace

const std::vector<TSouborCLI>& SouboryCLI()
{
    static const std::vector<TSouborCLI> soubory = {InfoTxt(), RtcBin(),   SysBin(),   MmrdBin(),  MmrgvBin(),
                                                    Lan4Cfg(), MbtcpCfg(), UartmCfg(), UartsCfg(), SpravaCfg(),
                                                    LogCfg(),  FwAkt(),    BootCmd()};
    return soubory;
}

const TSouborCLI* NajdiSouborCLI(std::string_view nazev)
{
    for (const TSouborCLI& s : SouboryCLI()) {
        if (s.Nazev == nazev)
            return &s;
    }
    return nullptr;
}

}  // namespace vk::cli
