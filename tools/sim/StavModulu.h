#pragma once
// The module's device files and what the module does when one is written
// (StavModulu = state of the module). Both links and the tests go through
// here; one lock guards everything, so the TFTP server, the serial slave and
// a test thread may call in at the same time.
#include <cstdint>
#include <map>
#include <mutex>
#include <set>
#include <string>

#include "Bajty.h"
#include "BehModulu.h"
#include "Identita.h"
#include "Poruchy.h"
#include "Slozka.h"
#include "SouboryModulu.h"

namespace vk::sim {

enum class TVysledek {  // outcome of a file operation (Vysledek = result)
    Ok,
    NeznamySoubor,  // no such file
    Zakazano,       // the file is not readable, or not writable (Zakazano = forbidden)
    Odmitnuto,      // the module refuses the content (length, check byte, command, date)
    ChybaUlozeni,   // the state folder could not store it (Ulozeni = storing)
};

class TStavModulu {
public:
    explicit TStavModulu(TPoruchy& poruchy) : poruchy_(poruchy) {}

    // Loads the files found in the folder and makes the missing ones (a
    // fresh module); `adresa` and `kodBaud` go into a fresh uarts.cfg.
    bool Otevri(const std::string& slozka, std::uint8_t adresa, std::int32_t kodBaud, std::string& chyba);
    void Zavri();  // stores the live files and any file not yet stored; removes a temporary folder
    std::string Slozka() const;

    // A whole file as the module serves it (faults on the identity applied).
    TVysledek Precti(const std::string& nazev, TBajty& obsah);
    // `delka` bytes of a file from block `blok` (240 bytes a block) for the
    // serial link; past the file's end the module sends zero bytes.
    TVysledek PrectiBlok(std::uint8_t kod, std::uint16_t blok, std::size_t delka, TBajty& data);
    // A whole file written (network); `duvod` tells why it was refused.
    TVysledek Zapis(const std::string& nazev, const TBajty& obsah, std::string& duvod);
    // One block written (serial): block 0 starts the file anew, block b puts
    // its bytes at 240 × b.
    TVysledek ZapisBlok(std::uint8_t kod, std::uint16_t blok, const TBajty& data, std::string& duvod);

    TBajty Soubor(const std::string& nazev);  // stored bytes (live files brought up to date), no faults
    // Writes of a file the module has taken since it was opened (a serial
    // upload counts once, at its first block).
    std::uint32_t PocetZapisu(const std::string& nazev);
    bool NastavSoubor(const std::string& nazev, TBajty obsah);

    // The identity as the module announces it now; `typ` / `verze` let the
    // type / version faults act (and use up an occasion of a counted one).
    TIdentita Identita(bool typ, bool verze);

private:
    TVysledek CtiSoubor(const TSouborModulu& s, TBajty& obsah, bool sPoruchami);
    // A whole file, or the first block of a serial upload (where the
    // wrong-value fault acts); `ulozitHned` stores even a large file at once.
    TVysledek ZapisSoubor(const TSouborModulu& s, TBajty obsah, bool ulozitHned, std::string& duvod);
    void Proved(const TSouborModulu& s, const TBajty& obsah);  // carry out a command file (Proved = carry out)
    bool UlozNyni(const std::string& nazev, const TBajty& obsah, std::string& duvod);  // store now
    void Restart();
    void VymazLog();                            // clear the event log
    void OdvodLog();                            // logh.bin and log100.bin from log.bin (Odvod = derive)
    TBajty ZivySoubor(const TSouborModulu& s);  // a live file built now
    TBajty InfoTxtSPoruchami(bool typ, bool verze);

    TPoruchy& poruchy_;
    mutable std::mutex zamek_;
    std::map<std::string, TBajty> soubory_;
    std::set<std::string> zmrazene_;   // live files set by a test, served as set (Zmrazene = frozen)
    std::set<std::string> neulozene_;  // changed, stored in the folder later (Neulozene = not stored)
    TBehModulu beh_;
    TSlozka slozka_;
    std::map<std::string, std::uint32_t> zapisy_;  // writes taken, by file name
};

}  // namespace vk::sim
