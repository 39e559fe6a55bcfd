#pragma once
// The module's device files: name, serial file code and what the module
// allows with each (SouboryModulu = files of the module).
#include <cstddef>
#include <cstdint>
#include <string>

namespace vk::sim {

enum class TPristup { Cteni, Zapis, CteniZapis };  // access: read only, write only, both

// How a written file is checked before the module takes it (Kontrola = check).
enum class TKontrola {
    Zadna,         // taken as it comes, up to the length limit
    DelkaASoucet,  // exactly `Delka` bytes whose 8-bit sum is 0 (configuration files, ctrl.bin)
    Delka,         // exactly `Delka` bytes (rtc.bin, log.clr)
};

struct TSouborModulu {
    const char* Nazev;  // network name (Nazev = name)
    int Kod;            // serial file code, -1 = network only (Kod = code)
    TPristup Pristup;
    TKontrola Kontrola;
    std::size_t Delka;  // fixed length of a written file, or its largest length (Delka = length)
    bool Zivy;          // regenerated from the module's running state at every read (Zivy = live)
};

// The entry of a network name (case-insensitive), nullptr when unknown.
const TSouborModulu* SouborPodleNazvu(const std::string& nazev);
// The entry of a serial file code, nullptr when unknown.
const TSouborModulu* SouborPodleKodu(std::uint8_t kod);

const TSouborModulu* VsechnySoubory(std::size_t& pocet);  // the whole table (Vsechny = all)

bool LzeCist(const TSouborModulu& s);    // a read is allowed (Lze = can)
bool LzeZapsat(const TSouborModulu& s);  // a write is allowed

}  // namespace vk::sim
