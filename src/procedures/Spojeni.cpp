#include "Spojeni.h"

#include "Cas.h"

namespace vk::procedures {

void ZacniSpojeni(device::TVK7316R& modul)
{
    device::VychoziModul(modul);
    link::PozadujRozliseniCasovace();
}

void Odpoj(device::TVK7316R& modul)
{
    link::ZavriPort(modul.MBRTU);
    modul.Init = false;
}

void UkonciSpojeni()
{
    link::UvolniRozliseniCasovace();
}

}  // namespace vk::procedures
