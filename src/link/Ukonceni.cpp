#include "Ukonceni.h"

#include <utility>

namespace vk::link {

namespace {

// Both hooks belong to the thread that runs the transfers: the device
// worker's question must not answer for a transfer of another thread, and a
// hook installed there is never read by a thread it was not installed on.
std::function<void()>& PumpaZprav()
{
    thread_local std::function<void()> pumpa;
    return pumpa;
}

std::function<bool()>& DotazUkonceni()
{
    thread_local std::function<bool()> ukoncit;
    return ukoncit;
}

int& PopisovacDotazu()
{
    thread_local int popisovac = -1;
    return popisovac;
}

}  // namespace

void NastavPumpuZprav(std::function<void()> pumpa)
{
    PumpaZprav() = std::move(pumpa);
}

void NastavUkonceni(std::function<bool()> ukoncit, int popisovac)
{
    PopisovacDotazu() = ukoncit ? popisovac : -1;
    DotazUkonceni() = std::move(ukoncit);
}

bool PozadovanoUkonceni()
{
    return DotazUkonceni() && DotazUkonceni()();
}

int PopisovacUkonceni()
{
    return PopisovacDotazu();
}

bool CekaniVPlatcich(bool sledujePopisovac)
{
    return PumpaZprav() || !sledujePopisovac || PopisovacDotazu() < 0;
}

bool ZpracujZpravy()
{
    if (PumpaZprav())
        PumpaZprav()();
    return PozadovanoUkonceni();
}

}  // namespace vk::link
