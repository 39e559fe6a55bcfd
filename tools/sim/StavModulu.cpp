#include "StavModulu.h"

#include "VychoziStav.h"

namespace vk::sim {

namespace {

constexpr std::size_t DelkaBloku = 240;              // bytes of a file per serial block
constexpr std::size_t UkladatHnedDo = 64 * 1024;     // larger files of a serial upload are stored at the end
constexpr std::uint32_t NejvetsiObrazFw = 0x200000;  // the loader takes images of at most 2 MiB

const std::string JinyTypModulu = "VK-7317R";
const std::string JinaVerzeModulu = "2.10";

TBajty VychoziObsah(const std::string& nazev, std::uint8_t adresa, std::int32_t kodBaud)
{
    if (nazev == "info.txt")
        return VychoziInfoTxt();
    if (nazev == "lan4.cfg")
        return VychoziLan4Cfg();
    if (nazev == "mbtcp.cfg")
        return VychoziMbtcpCfg();
    if (nazev == "uarts.cfg")
        return VychoziUartsCfg(adresa, static_cast<std::uint8_t>(kodBaud));
    if (nazev == "uartm.cfg")
        return VychoziUartmCfg();
    if (nazev == "sprava.cfg")
        return VychoziSpravaCfg();
    if (nazev == "log.cfg")
        return VychoziLogCfg();
    if (nazev == "fw.akt")
        return VychoziFwAkt();
    if (nazev == "log.bin")
        return VychoziLogBin(TedMs());
    return {};  // boot.cmd, fw.hbn, ctrl.bin, log.clr start empty
}

// The loader's command: "prog", then the end of the file or a zero byte.
bool JeProg(const TBajty& bootCmd)
{
    static constexpr std::uint8_t prog[4] = {'p', 'r', 'o', 'g'};
    if (bootCmd.size() < 4)
        return false;
    for (std::size_t i = 0; i < 4; ++i)
        if (bootCmd[i] != prog[i])
            return false;
    return bootCmd.size() == 4 || bootCmd[4] == 0;
}

bool PlatnyObraz(const TBajty& fwHbn)
{
    if (fwHbn.size() < 64)
        return false;
    const std::uint32_t delka = Cti32(fwHbn, 0);
    return delka != 0 && delka <= NejvetsiObrazFw;
}

// The value the faulty module stores instead of the written one: one byte
// changed, the check byte kept right so that only the value differs.
TBajty JinaHodnota(TBajty obsah, const TSouborModulu& s, std::size_t bajt)
{
    const bool sKontrolou = s.Kontrola == TKontrola::DelkaASoucet;
    const std::size_t dat = sKontrolou && !obsah.empty() ? obsah.size() - 1 : obsah.size();
    if (bajt >= dat)
        return obsah;
    obsah[bajt] = static_cast<std::uint8_t>(obsah[bajt] + 1);
    if (sKontrolou)
        DoplnKontrolniBajt(obsah);
    return obsah;
}

// The two commands the module takes in ctrl.bin: restart (00 FF 01 00 FF)
// and clearing the diagnostics (01 01); the rest of the parameters is zero
// in both, but the module looks only at these bytes.
bool JeRestart(const TBajty& c)
{
    return c.size() == 23 && c[0] == 0 && c[1] == 0xFF && c[2] == 0x01 && c[3] == 0x00 && c[4] == 0xFF;
}

bool JeVymazaniDiagnostiky(const TBajty& c)
{
    return c.size() == 23 && c[0] == 1 && c[1] == 0x01;
}

bool Kontroluj(const TSouborModulu& s, const TBajty& obsah, std::string& duvod)
{
    switch (s.Kontrola) {
    case TKontrola::Zadna:
        if (s.Delka != 0 && obsah.size() > s.Delka) {
            duvod = std::string(s.Nazev) + " longer than " + std::to_string(s.Delka) + " bytes";
            return false;
        }
        return true;
    case TKontrola::Delka:
    case TKontrola::DelkaASoucet:
        if (obsah.size() != s.Delka) {
            duvod = std::string(s.Nazev) + " must be " + std::to_string(s.Delka) + " bytes, got " +
                    std::to_string(obsah.size());
            return false;
        }
        if (s.Kontrola == TKontrola::DelkaASoucet && !SouctemNula(obsah)) {
            duvod = std::string(s.Nazev) + ": wrong check byte";
            return false;
        }
        return true;
    }
    return false;
}

}  // namespace

bool TStavModulu::Otevri(const std::string& slozka, std::uint8_t adresa, std::int32_t kodBaud, std::string& chyba)
{
    const std::lock_guard<std::mutex> z(zamek_);
    if (!slozka_.Otevri(slozka, chyba))
        return false;
    soubory_.clear();
    zmrazene_.clear();
    neulozene_.clear();
    std::size_t pocet = 0;
    const TSouborModulu* tabulka = VsechnySoubory(pocet);
    for (std::size_t i = 0; i < pocet; ++i) {
        const TSouborModulu& s = tabulka[i];
        TBajty obsah;
        if (s.Zivy || !slozka_.Nacti(s.Nazev, obsah)) {
            obsah = VychoziObsah(s.Nazev, adresa, kodBaud);
            if (!s.Zivy && !slozka_.Uloz(s.Nazev, obsah, chyba)) {
                slozka_.Zavri();
                return false;
            }
        }
        soubory_[s.Nazev] = std::move(obsah);
    }
    OdvodLog();
    beh_.Zapni(soubory_["lan4.cfg"]);
    for (std::size_t i = 0; i < pocet; ++i)
        if (tabulka[i].Zivy)
            soubory_[tabulka[i].Nazev] = ZivySoubor(tabulka[i]);
    neulozene_.insert({"rtc.bin", "sys.bin", "mmrd.bin", "mmrgv.bin"});
    return true;
}

void TStavModulu::Zavri()
{
    const std::lock_guard<std::mutex> z(zamek_);
    std::string chyba;
    for (const auto& nazev : neulozene_)
        slozka_.Uloz(nazev, soubory_[nazev], chyba);
    neulozene_.clear();
    slozka_.Zavri();
}

std::string TStavModulu::Slozka() const
{
    const std::lock_guard<std::mutex> z(zamek_);
    return slozka_.Cesta();
}

TBajty TStavModulu::ZivySoubor(const TSouborModulu& s)
{
    const std::string nazev = s.Nazev;
    if (nazev == "rtc.bin")
        return beh_.RtcBin();
    if (nazev == "mmrd.bin")
        return beh_.MmrdBin();
    if (nazev == "mmrgv.bin")
        return beh_.MmrgvBin();
    const TIdentita identita = RozlozIdentitu(soubory_["info.txt"]);
    TPopisModulu popis;
    popis.TypFW = identita.Typ + " FW " + identita.Verze;
    popis.VyrCislo = identita.VyrCislo;
    popis.FwAkt = soubory_["fw.akt"];
    return beh_.SysBin(popis);
}

TBajty TStavModulu::InfoTxtSPoruchami(bool typ, bool verze)
{
    const bool jinyTyp = typ && poruchy_.Uplatni(TPorucha::JinyTyp);
    const bool jinaVerze = verze && poruchy_.Uplatni(TPorucha::JinaVerze);
    const TBajty& info = soubory_["info.txt"];
    if (!jinyTyp && !jinaVerze)
        return info;
    return ZmenIdentitu(info, jinyTyp ? &JinyTypModulu : nullptr, jinaVerze ? &JinaVerzeModulu : nullptr);
}

TVysledek TStavModulu::CtiSoubor(const TSouborModulu& s, TBajty& obsah, bool sPoruchami)
{
    const std::string nazev = s.Nazev;
    if (s.Zivy && zmrazene_.count(nazev) == 0)
        soubory_[nazev] = ZivySoubor(s);
    obsah = sPoruchami && nazev == "info.txt" ? InfoTxtSPoruchami(true, true) : soubory_[nazev];
    return TVysledek::Ok;
}

TVysledek TStavModulu::Precti(const std::string& nazev, TBajty& obsah)
{
    const TSouborModulu* s = SouborPodleNazvu(nazev);
    if (s == nullptr)
        return TVysledek::NeznamySoubor;
    if (!LzeCist(*s))
        return TVysledek::Zakazano;
    const std::lock_guard<std::mutex> z(zamek_);
    return CtiSoubor(*s, obsah, true);
}

TVysledek TStavModulu::PrectiBlok(std::uint8_t kod, std::uint16_t blok, std::size_t delka, TBajty& data)
{
    const TSouborModulu* s = SouborPodleKodu(kod);
    if (s == nullptr)
        return TVysledek::NeznamySoubor;
    if (!LzeCist(*s))
        return TVysledek::Zakazano;
    const std::lock_guard<std::mutex> z(zamek_);
    const std::string nazev = s->Nazev;
    if (s->Zivy && zmrazene_.count(nazev) == 0)
        soubory_[nazev] = ZivySoubor(*s);
    // Sliced in place: a large image read block by block is never copied whole.
    const TBajty info = nazev == "info.txt" ? InfoTxtSPoruchami(true, true) : TBajty{};
    const TBajty& obsah = nazev == "info.txt" ? info : soubory_[nazev];
    const std::size_t od = static_cast<std::size_t>(blok) * DelkaBloku;
    data.assign(delka, 0);
    for (std::size_t i = 0; i < delka && od + i < obsah.size(); ++i)
        data[i] = obsah[od + i];
    return TVysledek::Ok;
}

bool TStavModulu::UlozNyni(const std::string& nazev, const TBajty& obsah, std::string& duvod)
{
    std::string chyba;
    if (!slozka_.Uloz(nazev, obsah, chyba)) {
        duvod = chyba;
        return false;
    }
    neulozene_.erase(nazev);
    return true;
}

TVysledek TStavModulu::ZapisSoubor(const TSouborModulu& s, TBajty obsah, bool ulozitHned, std::string& duvod)
{
    if (!Kontroluj(s, obsah, duvod))
        return TVysledek::Odmitnuto;
    const std::string nazev = s.Nazev;
    if (LzeCist(s) && poruchy_.Uplatni(TPorucha::JinaUlozenaHodnota))
        obsah = JinaHodnota(std::move(obsah), s, poruchy_.BajtJineHodnoty());
    if (nazev == "rtc.bin") {
        if (!beh_.NastavRtc(obsah)) {
            duvod = "rtc.bin holds no valid date and time";
            return TVysledek::Odmitnuto;
        }
        zmrazene_.erase(nazev);
        soubory_[nazev] = beh_.RtcBin();
        ++zapisy_[nazev];
        return TVysledek::Ok;
    }
    if (nazev == "ctrl.bin" && !JeRestart(obsah) && !JeVymazaniDiagnostiky(obsah)) {
        duvod = "unknown command in ctrl.bin";
        return TVysledek::Odmitnuto;
    }
    if (ulozitHned || obsah.size() <= UkladatHnedDo) {
        if (!UlozNyni(nazev, obsah, duvod))
            return TVysledek::ChybaUlozeni;
    } else {
        neulozene_.insert(nazev);
    }
    soubory_[nazev] = std::move(obsah);
    ++zapisy_[nazev];
    Proved(s, soubory_[nazev]);
    return TVysledek::Ok;
}

std::uint32_t TStavModulu::PocetZapisu(const std::string& nazev)
{
    const std::lock_guard<std::mutex> z(zamek_);
    const auto it = zapisy_.find(nazev);
    return it == zapisy_.end() ? 0 : it->second;
}

void TStavModulu::Proved(const TSouborModulu& s, const TBajty& obsah)
{
    const std::string nazev = s.Nazev;
    if (nazev == "log.clr")
        VymazLog();
    else if (nazev == "ctrl.bin" && JeRestart(obsah))
        Restart();
    else if (nazev == "ctrl.bin" && JeVymazaniDiagnostiky(obsah))
        beh_.VymazDiagnostiku();
}

void TStavModulu::Restart()
{
    std::string chyba;
    TBajty& boot = soubory_["boot.cmd"];
    if (JeProg(boot)) {
        // The loader flashes a valid staged image and forgets the command,
        // so that the next start does not flash again.
        const TBajty& obraz = soubory_["fw.hbn"];
        if (PlatnyObraz(obraz)) {
            soubory_["fw.akt"] = TBajty(obraz.begin(), obraz.begin() + 64);
            UlozNyni("fw.akt", soubory_["fw.akt"], chyba);
        }
        boot.clear();
        UlozNyni("boot.cmd", boot, chyba);
    }
    for (const auto& nazev : neulozene_)
        slozka_.Uloz(nazev, soubory_[nazev], chyba);
    neulozene_ = {"rtc.bin", "sys.bin", "mmrd.bin", "mmrgv.bin"};
    zmrazene_.clear();
    beh_.Restartuj(soubory_["lan4.cfg"]);
}

void TStavModulu::VymazLog()
{
    const std::uint32_t vymazani = Cti32(soubory_["log.bin"], 16) + 1;
    soubory_["log.bin"] = HlavickaLog(0, vymazani);
    std::string chyba;
    UlozNyni("log.bin", soubory_["log.bin"], chyba);
    OdvodLog();
}

void TStavModulu::OdvodLog()
{
    soubory_["logh.bin"] = LoghZLogBin(soubory_["log.bin"]);
    soubory_["log100.bin"] = Log100ZLogBin(soubory_["log.bin"]);
    std::string chyba;
    UlozNyni("logh.bin", soubory_["logh.bin"], chyba);
    UlozNyni("log100.bin", soubory_["log100.bin"], chyba);
}

TVysledek TStavModulu::Zapis(const std::string& nazev, const TBajty& obsah, std::string& duvod)
{
    const TSouborModulu* s = SouborPodleNazvu(nazev);
    if (s == nullptr)
        return TVysledek::NeznamySoubor;
    if (!LzeZapsat(*s))
        return TVysledek::Zakazano;
    const std::lock_guard<std::mutex> z(zamek_);
    return ZapisSoubor(*s, obsah, true, duvod);
}

TVysledek TStavModulu::ZapisBlok(std::uint8_t kod, std::uint16_t blok, const TBajty& data, std::string& duvod)
{
    const TSouborModulu* s = SouborPodleKodu(kod);
    if (s == nullptr)
        return TVysledek::NeznamySoubor;
    if (!LzeZapsat(*s))
        return TVysledek::Zakazano;
    const std::lock_guard<std::mutex> z(zamek_);
    if (blok == 0)
        return ZapisSoubor(*s, data, false, duvod);
    // Later blocks exist only for the free-form files (an image, a long boot
    // command); they go into the file in place, as the module's flash takes
    // them, so an upload never copies the whole image per block.
    const std::size_t od = static_cast<std::size_t>(blok) * DelkaBloku;
    if (s->Kontrola != TKontrola::Zadna || od + data.size() > s->Delka) {
        duvod = std::string(s->Nazev) + ": block " + std::to_string(blok) + " lies beyond the file";
        return TVysledek::Odmitnuto;
    }
    TBajty& obsah = soubory_[s->Nazev];
    if (obsah.size() < od + data.size())
        obsah.resize(od + data.size(), 0);
    for (std::size_t i = 0; i < data.size(); ++i)
        obsah[od + i] = data[i];
    if (obsah.size() > UkladatHnedDo)
        neulozene_.insert(s->Nazev);
    else if (!UlozNyni(s->Nazev, obsah, duvod))
        return TVysledek::ChybaUlozeni;
    return TVysledek::Ok;
}

TBajty TStavModulu::Soubor(const std::string& nazev)
{
    const TSouborModulu* s = SouborPodleNazvu(nazev);
    if (s == nullptr)
        return {};
    const std::lock_guard<std::mutex> z(zamek_);
    TBajty obsah;
    CtiSoubor(*s, obsah, false);
    return obsah;
}

bool TStavModulu::NastavSoubor(const std::string& nazev, TBajty obsah)
{
    const TSouborModulu* s = SouborPodleNazvu(nazev);
    if (s == nullptr)
        return false;
    const std::lock_guard<std::mutex> z(zamek_);
    const std::string jmeno = s->Nazev;
    if (s->Zivy)
        zmrazene_.insert(jmeno);
    soubory_[jmeno] = std::move(obsah);
    std::string chyba;
    if (!s->Zivy)
        UlozNyni(jmeno, soubory_[jmeno], chyba);
    if (jmeno == "log.bin")
        OdvodLog();
    return true;
}

TIdentita TStavModulu::Identita(bool typ, bool verze)
{
    const std::lock_guard<std::mutex> z(zamek_);
    return RozlozIdentitu(InfoTxtSPoruchami(typ, verze));
}

}  // namespace vk::sim
