#include "PoleSouboru.h"

#include <algorithm>

#include "PoleOblasti.h"
#include "PopisSouboru.h"
#include "Rozhrani.h"
#include "VypisZaznamu.h"
#include "ZnakoveTexty.h"

namespace vk::cli {

using namespace device;

std::string StatusLinky(const std::string& soubor, const std::string& status)
{
    const auto radek = device::NajdiSoubor(soubor);
    const bool jenLan = !radek || radek->KodSouboru < 0;
    if (jenLan && Modul.Rozhrani == vk::common::RozhraniUART && !Modul.TFTP.ID.IdTrivialFTP1) {
        return status + " (this file travels over the LAN only: use --lan)";
    }
    return status;
}

void ChybaLinky(const std::string& soubor, const std::string& status)
{
    const auto radek = device::NajdiSoubor(soubor);
    const bool jenLan = !radek || radek->KodSouboru < 0;
    ChybaSPricinou(soubor + ": " + StatusLinky(soubor, status),
                   jenLan ? Modul.TFTP.ED.Pricina : device::PricinaSelhani(Modul));
}

void ChybaSPricinou(const std::string& text, const std::string& pricina)
{
    Chyba(text);
    if (!pricina.empty())
        Chyba(pricina);
}

namespace detail {

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
    return ZabalOblast(Zabal(cteni), formy::PopisLan4());
}

TSouborCLI MbtcpCfg()
{
    using R = TVK7316R_MbtcpCfg;
    TPopis<R> cteni;
    cteni.Nazev = "mbtcp.cfg";
    cteni.Precti = [](R& r) { return PrectiMbtcpCfg(Modul, r); };
    cteni.Polozky = [](const R& r) { return Polozky(r); };
    return ZabalOblast(Zabal(cteni), formy::PopisModbusTCP());
}

TSouborCLI UartmCfg()
{
    using R = TVK7316R_UartmCfg;
    TPopis<R> cteni;
    cteni.Nazev = "uartm.cfg";
    cteni.Precti = [](R& r) { return PrectiUartmCfg(Modul, r); };
    cteni.Polozky = [](const R& r) { return Polozky(r); };
    return ZabalOblast(Zabal(cteni), formy::PopisHlavniLinky());
}

TSouborCLI UartsCfg()
{
    using R = TVK7316R_UartsCfg;
    TPopis<R> cteni;
    cteni.Nazev = "uarts.cfg";
    cteni.Precti = [](R& r) { return PrectiUartsCfg(Modul, r); };
    cteni.Polozky = [](const R& r) { return Polozky(r); };
    return ZabalOblast(Zabal(cteni), formy::PopisServisniLinky());
}

TSouborCLI SpravaCfg()
{
    using R = TVK7316R_SpravaCfg;
    TPopis<R> cteni;
    cteni.Nazev = "sprava.cfg";
    cteni.Precti = [](R& r) { return PrectiSpravaCfg(Modul, r); };
    cteni.Polozky = [](const R& r) { return Polozky(r); };
    return ZabalOblast(Zabal(cteni), formy::PopisVzdaleneSpravy());
}

TSouborCLI LogCfg()
{
    using R = TVK7316R_LogCfg;
    TPopis<R> cteni;
    cteni.Nazev = "log.cfg";
    cteni.Precti = [](R& r) { return PrectiLogCfg(Modul, r); };
    cteni.Polozky = [](const R& r) { return Polozky(r); };
    return ZabalOblast(Zabal(cteni), formy::PopisLogNastaveni());
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
