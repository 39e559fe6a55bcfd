#include "SimSpojeni.h"

#include "Rozhrani.h"

namespace vk::test {

std::string NazevLinky(TLinka linka)
{
    switch (linka) {
    case TLinka::Serial:
        return "Serial";
    case TLinka::SerialOzvena:
        return "SerialOzvena";
    case TLinka::Sit:
        break;
    }
    return "Sit";
}

TSimSpojeni::~TSimSpojeni()
{
    if (modul_ != nullptr)
        vk::link::ZavriPort(modul_->MBRTU);
    sim.Zastav();
}

bool TSimSpojeni::Spust(TLinka linka, vk::device::TVK7316R& modul, std::string& chyba)
{
    vk::sim::TNastaveniSimulatoru n;
    n.Lan = "127.0.0.1:0";
    n.KodBaud = 8;
    n.Ozvena = linka == TLinka::SerialOzvena;
    if (!sim.Spust(n, chyba))
        return false;
    modul_ = &modul;
    vk::device::VychoziModul(modul);
    if (linka != TLinka::Sit)
        return PripojSerial(modul, chyba);
    PripojSit(modul);
    return true;
}

bool TSimSpojeni::PripojSerial(vk::device::TVK7316R& modul, std::string& chyba)
{
    modul_ = &modul;
    if (vk::link::OtevriPort(1, 8, 0, timeoutMs, modul.MBRTU, sim.CestaSerial()) != 0) {
        chyba = modul.MBRTU.ED.StatusText + " (" + sim.CestaSerial() + ")";
        return false;
    }
    modul.MBRTU.CFG.Adresa = 247;
    modul.Rozhrani = vk::common::RozhraniUART;
    modul.Init = true;
    return true;
}

void TSimSpojeni::PripojSit(vk::device::TVK7316R& modul)
{
    modul_ = &modul;
    vk::link::InicializujTFTP(modul.TFTP, sim.AdresaLan(), 0, static_cast<std::int32_t>(timeoutMs), opakovani);
    modul.Rozhrani = vk::common::RozhraniLAN;
    modul.Init = true;
}

}  // namespace vk::test
