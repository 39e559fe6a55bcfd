#pragma once
// The state folder: one file per device file, under its network name
// (Slozka = folder). A file is replaced atomically (temporary file + rename),
// so a crash never leaves a half-written device file behind.
#include <string>

#include "Bajty.h"

namespace vk::sim {

class TSlozka {
public:
    ~TSlozka();  // removes a temporary folder
    // Uses `cesta`, creating it when missing; an empty path makes a fresh
    // temporary folder that is removed again at Zavri (Otevri = open).
    bool Otevri(const std::string& cesta, std::string& chyba);
    void Zavri();                                        // close
    const std::string& Cesta() const { return cesta_; }  // path

    bool Nacti(const std::string& nazev, TBajty& obsah) const;  // load; false when absent or unreadable
    bool Uloz(const std::string& nazev, const TBajty& obsah, std::string& chyba) const;  // store

private:
    std::string cesta_;
    bool docasna_ = false;  // temporary (Docasna)
};

}  // namespace vk::sim
