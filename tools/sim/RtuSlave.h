#pragma once
// The module's side of the serial protocol (RtuSlave = Modbus RTU slave):
// one request frame in, at most one reply frame out. Timing and the port
// are the caller's; this part is pure frame handling over the module state.
#include <cstdint>

#include "Bajty.h"
#include "Poruchy.h"
#include "StavModulu.h"

namespace vk::sim {

// Modbus exception codes the module answers with.
enum class TVyjimka : std::uint8_t {
    NeznamaFunkce = 1,    // illegal function
    NeznamaAdresa = 2,    // illegal data address: no such file or object
    SpatnaData = 3,       // illegal data value: lengths that do not fit
    SelhaniZarizeni = 4,  // slave device failure
};

class TRtuSlave {
public:
    TRtuSlave(TStavModulu& stav, TPoruchy& poruchy, std::uint8_t adresa)
        : stav_(stav), poruchy_(poruchy), adresa_(adresa)
    {
    }

    // The reply to a whole request frame, CRC included; false when the
    // module stays silent (another address, a wrong CRC, too short, or the
    // no-answer fault).
    bool Zpracuj(const TBajty& ramec, TBajty& odpoved);  // Zpracuj = handle

private:
    void Cti(const TBajty& r, TBajty& o);       // 0x43 read part of a device file
    void Zapis(const TBajty& r, TBajty& o);     // 0x44 write part of a device file
    void Preposli(const TBajty& r, TBajty& o);  // 0x45 forward (identification)
    void Vyjimka(std::uint8_t funkce, TVyjimka kod, TBajty& o) const;

    TStavModulu& stav_;
    TPoruchy& poruchy_;
    std::uint8_t adresa_;
};

}  // namespace vk::sim
