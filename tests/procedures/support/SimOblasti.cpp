#include "SimOblasti.h"

namespace vk::test::oblasti {

TSimModul::~TSimModul()
{
    vk::link::ZavriPort(modul.MBRTU);
    sim.Zastav();
}

bool TSimModul::Spust(TLinka linka, std::string& chyba)
{
    vk::sim::TNastaveniSimulatoru n;
    n.Lan = "127.0.0.1:0";
    n.KodBaud = 8;
    if (!sim.Spust(n, chyba)) return false;
    vk::device::VychoziModul(modul);
    constexpr std::uint32_t timeoutMs = 400;
    if (linka == TLinka::Serial) {
        if (vk::link::OtevriPort(1, 8, 0, timeoutMs, modul.MBRTU, sim.CestaSerial()) != 0) {
            chyba = modul.MBRTU.ED.StatusText + " (" + sim.CestaSerial() + ")";
            return false;
        }
        modul.MBRTU.CFG.Adresa = 247;
        modul.Rozhrani = 0;
    } else {
        vk::link::InicializujTFTP(modul.TFTP, sim.AdresaLan(), 0, static_cast<std::int32_t>(timeoutMs));
        modul.Rozhrani = 1;
    }
    modul.Init = true;
    return true;
}

}  // namespace vk::test::oblasti
