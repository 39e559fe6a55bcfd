#include "Log.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "Cas.h"
#include "LogZaznamy.h"

namespace vk::procedures {

namespace {

std::tm MistniCas()
{
    const std::time_t t = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm tm{};
    localtime_r(&t, &tm);
    return tm;
}

TVysledekOperaceLOG Uspech()
{
    return {true, {}, "OK", {}};
}

TVysledekOperaceLOG Selhani(std::string soubor, std::string text)
{
    return {false, std::move(soubor), std::move(text), {}};
}

// The log files go over the TFTP link whatever link the connection uses, so
// the cause is that link's, not device::PricinaSelhani's.
TVysledekOperaceLOG SelhaniTFTP(const device::TVK7316R& modul, std::string soubor, std::string text)
{
    return {false, std::move(soubor), std::move(text), modul.TFTP.ED.Pricina};
}

double Zaplneni(const device::THlavickaLOG& h)
{
    return h.Kapacita == 0 ? 0.0 : static_cast<double>(h.PocetZaznamu) / h.Kapacita * 100.0;
}

// The list shows the last record of the file first; empty slots give no line.
std::vector<std::string> RadkyOdNejnovejsiho(const std::vector<device::TZaznamLOG>& zaznamy)
{
    std::vector<std::string> radky;
    for (auto it = zaznamy.rbegin(); it != zaznamy.rend(); ++it) {
        std::string radek = device::DekodujZaznamLOG(*it);
        if (!radek.empty())
            radky.push_back(std::move(radek));
    }
    return radky;
}

// Shows a text, keeping it as the poll's last one.
class THlaseni {
public:
    THlaseni(TVysledekKrokuLOG& v, const TOznameni& oznam) : v_(v), oznam_(oznam) {}
    void operator()(std::string text)
    {
        v_.Status = std::move(text);
        if (oznam_)
            oznam_(v_.Status);
    }

private:
    TVysledekKrokuLOG& v_;
    const TOznameni& oznam_;
};

}  // namespace

std::string JmenoArchivu(const std::tm& cas)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "Arch_%02d%02d%02d_%02d%02d%02d", cas.tm_year % 100, cas.tm_mon + 1, cas.tm_mday,
                  cas.tm_hour, cas.tm_min, cas.tm_sec);
    return buf;
}

std::string JmenoArchivu()
{
    return JmenoArchivu(MistniCas());
}

std::string HlavickaArchivu(const std::string& typVerze, const std::string& lanIP)
{
    return "Modul     : " + typVerze + "\r" + "IP adresa : " + lanIP;
}

TVysledekOperaceLOG UlozLOG(device::TVK7316R& modul, const std::string& zaklad, const std::string& hlavicka,
                            const link::TPrubeh& prubeh)
{
    device::TVK7316R_LogBin r;
    r.LokalniSoubor = zaklad + ".bin";
    if (!device::PrectiLogBin(modul, r, prubeh))
        return SelhaniTFTP(modul, "log.bin", r.StatusText);
    std::string chyba;
    if (!device::PrevedLogNaText(zaklad, hlavicka, chyba))
        return Selhani({}, chyba);
    return Uspech();
}

TVysledekOperaceLOG VymazLOG(device::TVK7316R& modul)
{
    device::TVK7316R_LogClr r;
    if (!device::ZapisLogClr(modul, r))
        return SelhaniTFTP(modul, "log.clr", r.StatusText);
    return Uspech();
}

TVysledekKrokuLOG KrokLOG(device::TVK7316R& modul, const TKrokLOG& krok, const TOznameni& oznam,
                          const link::TPrubeh& prubeh)
{
    TVysledekKrokuLOG v;
    v.PredchoziHlavicka = krok.PredchoziHlavicka;
    v.UlozitZustava = krok.UlozitLOG;
    v.VymazatZustava = krok.VymazatLOG;
    THlaseni hlas(v, oznam);
    if (!krok.Init || !modul.Init) {
        hlas(std::string(TextBezPripojeni));
        return v;
    }
    v.Provedeno = true;
    // A failed step shows its text for a moment and ends the poll.
    const auto selhal = [&](TVysledekOperaceLOG chyba) {
        hlas(" " + chyba.StatusText);
        v.Chyba = std::move(chyba);
        link::CekejDoUkonceni(krok.PauzaMs);
        return v;
    };

    if (krok.UlozitLOG) {
        v.UlozitZustava = false;
        hlas(std::string(TextyLOG::Cteni));
        std::string zaklad = JmenoArchivu();
        if (!krok.SlozkaArchivu.empty())
            zaklad = krok.SlozkaArchivu + "/" + zaklad;
        auto archiv = UlozLOG(modul, zaklad, HlavickaArchivu(krok.TypVerze, krok.LAN_IP), prubeh);
        if (!archiv.Ok)
            return selhal(std::move(archiv));
        v.Archiv = zaklad;
        hlas(std::string(TextyLOG::Ulozen));
        link::CekejDoUkonceni(krok.PauzaMs);
    }
    if (krok.VymazatLOG) {
        v.VymazatZustava = false;
        auto vymazani = VymazLOG(modul);
        if (!vymazani.Ok)
            return selhal(std::move(vymazani));
        hlas(std::string(TextyLOG::Vymazan));
        link::CekejDoUkonceni(krok.PauzaMs);
    }

    device::TVK7316R_LoghBin logh;
    if (!device::PrectiLoghBin(modul, logh))
        return selhal(SelhaniTFTP(modul, "logh.bin", logh.StatusText));
    // The mark is taken before log100.bin is read: a failed read leaves the
    // display as it was until the header changes again.
    const bool zmena = logh.Hlavicka.Bajty != krok.PredchoziHlavicka;
    v.PredchoziHlavicka = logh.Hlavicka.Bajty;
    if (zmena) {
        device::TVK7316R_Log100Bin log100;
        if (!device::PrectiLog100Bin(modul, log100))
            return selhal(SelhaniTFTP(modul, "log100.bin", log100.StatusText));
        v.Obnoveno = true;
        v.PocetZaznamu = logh.Hlavicka.PocetZaznamu;
        v.Zaplneni = Zaplneni(logh.Hlavicka);
        if (v.PocetZaznamu != 0)
            v.Radky = RadkyOdNejnovejsiho(log100.Zaznamy);
    }
    hlas(std::string(TextOK));
    return v;
}

}  // namespace vk::procedures
