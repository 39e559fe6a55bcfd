#include "SouboryModulu.h"

#include <strings.h>

namespace vk::sim {

namespace {

// fw.hbn stays readable so that an uploaded image can be fetched back and
// compared; the module keeps it in its staging area until the next upload.
constexpr std::size_t NejvetsiObraz = 8 * 1024 * 1024;

constexpr TSouborModulu Tabulka[] = {
    {"info.txt", 0, TPristup::Cteni, TKontrola::Zadna, 0, false},
    {"rtc.bin", 1, TPristup::CteniZapis, TKontrola::Delka, 9, true},
    {"sys.bin", 2, TPristup::Cteni, TKontrola::Zadna, 0, true},
    {"ctrl.bin", 3, TPristup::Zapis, TKontrola::DelkaASoucet, 23, false},
    {"mmrd.bin", 6, TPristup::Cteni, TKontrola::Zadna, 0, true},
    {"mmrgv.bin", 7, TPristup::Cteni, TKontrola::Zadna, 0, true},
    {"lan4.cfg", 20, TPristup::CteniZapis, TKontrola::DelkaASoucet, 16, false},
    {"mbtcp.cfg", 22, TPristup::CteniZapis, TKontrola::DelkaASoucet, 3, false},
    {"uartm.cfg", 23, TPristup::CteniZapis, TKontrola::DelkaASoucet, 6, false},
    {"uarts.cfg", 24, TPristup::CteniZapis, TKontrola::DelkaASoucet, 5, false},
    {"sprava.cfg", 25, TPristup::CteniZapis, TKontrola::DelkaASoucet, 138, false},
    {"boot.cmd", 40, TPristup::CteniZapis, TKontrola::Zadna, 1024, false},
    {"fw.akt", 45, TPristup::Cteni, TKontrola::Zadna, 0, false},
    {"fw.hbn", 46, TPristup::CteniZapis, TKontrola::Zadna, NejvetsiObraz, false},
    {"log.cfg", -1, TPristup::CteniZapis, TKontrola::DelkaASoucet, 7, false},
    {"log.clr", -1, TPristup::Zapis, TKontrola::Delka, 8, false},
    {"log.bin", -1, TPristup::Cteni, TKontrola::Zadna, 0, false},
    {"logh.bin", -1, TPristup::Cteni, TKontrola::Zadna, 0, false},
    {"log100.bin", -1, TPristup::Cteni, TKontrola::Zadna, 0, false},
};

}  // namespace

const TSouborModulu* SouborPodleNazvu(const std::string& nazev)
{
    for (const auto& s : Tabulka)
        if (strcasecmp(s.Nazev, nazev.c_str()) == 0)
            return &s;
    return nullptr;
}

const TSouborModulu* SouborPodleKodu(std::uint8_t kod)
{
    for (const auto& s : Tabulka)
        if (s.Kod == kod)
            return &s;
    return nullptr;
}

const TSouborModulu* VsechnySoubory(std::size_t& pocet)
{
    pocet = sizeof Tabulka / sizeof Tabulka[0];
    return Tabulka;
}

bool LzeCist(const TSouborModulu& s)
{
    return s.Pristup != TPristup::Zapis;
}

bool LzeZapsat(const TSouborModulu& s)
{
    return s.Pristup != TPristup::Cteni;
}

}  // namespace vk::sim
