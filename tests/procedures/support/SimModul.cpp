#include "SimModul.h"

#include "M_ModbusRTU.h"
#include "M_TFTP.h"
#include "Rozhrani.h"

namespace vk::test {

std::string NazevLinkySim(TLinkaSim linka)
{
    return linka == TLinkaSim::Serial ? "Serial" : "Sit";
}

TSimModul::~TSimModul()
{
    link::ZavriPort(modul.MBRTU);
    sim.Zastav();
}

bool TSimModul::Spust(TLinkaSim linka, std::string& chyba)
{
    sim::TNastaveniSimulatoru n;
    n.KodBaud = 8;
    if (!sim.Spust(n, chyba))
        return false;
    device::VychoziModul(modul);
    if (linka == TLinkaSim::Serial) {
        if (link::OtevriPort(1, 8, 0, 400, modul.MBRTU, sim.CestaSerial()) != 0) {
            chyba = modul.MBRTU.ED.StatusText + " (" + sim.CestaSerial() + ")";
            return false;
        }
        modul.MBRTU.CFG.Adresa = 247;
        modul.Rozhrani = vk::common::RozhraniUART;
    } else {
        // No retries: one lost datagram fails a transfer at once, which the
        // fault tests of the procedures rely on.
        link::InicializujTFTP(modul.TFTP, sim.AdresaLan(), 0, 400, 0);
        modul.Rozhrani = vk::common::RozhraniLAN;
    }
    modul.Init = true;
    return true;
}

}  // namespace vk::test
