#include "Cas.h"
#include "Ukonceni.h"

#include <poll.h>

#include <algorithm>
#include <ctime>
#include <thread>
#include <utility>

namespace vk::link {

namespace {

std::function<void(std::int32_t)>& SledovaniPauz()
{
    thread_local std::function<void(std::int32_t)> sledovani;
    return sledovani;
}

void OznamPauzu(std::int32_t ms)
{
    if (SledovaniPauz())
        SledovaniPauz()(ms);
}

}  // namespace

std::int64_t UplynuloMs(Okamzik t)
{
    const auto rozdil = std::chrono::duration_cast<std::chrono::milliseconds>(Ted() - t).count();
    return rozdil < 0 ? 0 : rozdil;
}

std::int32_t CasDneMs()
{
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    std::tm mistni{};
    const std::time_t sekundy = ts.tv_sec;
    localtime_r(&sekundy, &mistni);
    return ((mistni.tm_hour * 60 + mistni.tm_min) * 60 + mistni.tm_sec) * 1000 +
           static_cast<std::int32_t>(ts.tv_nsec / 1000000);
}

void NastavSledovaniPauz(std::function<void(std::int32_t)> sledovani)
{
    SledovaniPauz() = std::move(sledovani);
}

void Cekej(std::int32_t ms)
{
    OznamPauzu(ms);
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

bool CekejDoUkonceni(std::int32_t ms)
{
    OznamPauzu(ms);
    constexpr std::int64_t PlatekMs = 20;  // a slice between two looks at the question
    const Okamzik zacatek = Ted();
    bool sledovat = true;  // sleep on the question's descriptor
    while (!ZpracujZpravy()) {
        const std::int64_t zbyva = ms - UplynuloMs(zacatek);
        if (zbyva <= 0)
            return false;
        if (!CekaniVPlatcich(sledovat)) {
            pollfd p{PopisovacUkonceni(), POLLIN, 0};
            // Readable while the question still says no: stale, look in slices.
            if (::poll(&p, 1, static_cast<int>(zbyva)) > 0)
                sledovat = false;
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(std::min(zbyva, PlatekMs)));
        }
    }
    return true;
}

void PozadujRozliseniCasovace() {}
void UvolniRozliseniCasovace() {}

}  // namespace vk::link
