// Arbitrary request frames to the simulated module's serial slave, with any
// mix of faults switched on. The first input byte picks the faults and
// whether the frame gets the module's address and a right CRC, so that
// well-formed requests reach every function as often as broken ones. Beyond
// not crashing: silence for a frame it must ignore, and otherwise one reply
// of the module's own address with a right CRC (unless the CRC fault is on)
// whose function byte echoes the request, plain or as an exception.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <unistd.h>

#include "Crc16.h"
#include "Poruchy.h"
#include "RtuSlave.h"
#include "StavModulu.h"

using namespace vk::sim;

namespace {

void Pozaduj(bool podminka)
{
    if (!podminka)
        std::abort();
}

constexpr std::uint8_t Adresa = 247;

struct TModul {  // one simulated module for the whole run
    TPoruchy Poruchy;
    TStavModulu Stav{Poruchy};
    TRtuSlave Slave{Stav, Poruchy, Adresa};
    TModul()
    {
        // Shared memory when there is one, so the many writes cost no disk.
        if (::access("/dev/shm", W_OK) == 0)
            ::setenv("TMPDIR", "/dev/shm", 1);
        std::string chyba;
        Pozaduj(Stav.Otevri("", Adresa, 8, chyba));
    }
    ~TModul() { Stav.Zavri(); }
};

bool CrcSedi(const TBajty& r)
{
    const std::uint16_t crc = vk::link::Crc16Modbus(r.data(), r.size() - 2);
    return r[r.size() - 2] == (crc & 0xFF) && r[r.size() - 1] == (crc >> 8);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static TModul modul;
    if (size < 1)
        return 0;
    const std::uint8_t volby = data[0];
    const TPorucha poruchy[] = {TPorucha::SpatneCRC, TPorucha::VyjimkaOdpoved, TPorucha::OdmitnutyZapis,
                                TPorucha::JinaUlozenaHodnota, TPorucha::JinyTyp};
    for (int i = 0; i < 5; ++i)
        modul.Poruchy.Nastav(poruchy[i], (volby >> i) & 1, 0);
    TBajty ramec;
    ramec.reserve(size + 2);
    if (volby & 0x20)
        ramec.push_back(Adresa);
    ramec.insert(ramec.end(), data + 1, data + size);
    if ((volby & 0x40) && !ramec.empty()) {
        const std::uint16_t crc = vk::link::Crc16Modbus(ramec.data(), ramec.size());
        ramec.push_back(static_cast<std::uint8_t>(crc & 0xFF));
        ramec.push_back(static_cast<std::uint8_t>(crc >> 8));
    }
    TBajty odpoved;
    const bool odpovedel = modul.Slave.Zpracuj(ramec, odpoved);
    if (ramec.size() < 4 || ramec[0] != Adresa || !CrcSedi(ramec)) {
        Pozaduj(!odpovedel);
        return 0;
    }
    Pozaduj(odpovedel);
    Pozaduj(odpoved.size() >= 5 && odpoved.size() <= 256);
    Pozaduj(odpoved[0] == Adresa);
    Pozaduj((volby & 1) != 0 || CrcSedi(odpoved));
    Pozaduj((odpoved[1] & 0x7F) == (ramec[1] & 0x7F));
    if (odpoved[1] == 0x43 && odpoved.size() > 5)
        Pozaduj(odpoved.size() == 5u + ramec[6]);
    return 0;
}
