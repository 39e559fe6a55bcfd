#pragma once
// Time (Cas) and pauses for the links. Every time-out and reply gap is
// measured on the steady clock, so a wall-clock jump (midnight, daylight
// saving, clock correction) never shortens or stretches a wait.
#include <chrono>
#include <cstdint>
#include <functional>

namespace vk::link {

using Hodiny = std::chrono::steady_clock;
using Okamzik = Hodiny::time_point;  // a moment on the steady clock

inline Okamzik Ted()
{
    return Hodiny::now();
}

// Milliseconds elapsed since t (whole ms, never negative).
std::int64_t UplynuloMs(Okamzik t);

// Local time of day in ms (0 to 86,399,999), for display and time stamps only.
std::int32_t CasDneMs();

// Blocks the caller for ms milliseconds without pumping messages.
void Cekej(std::int32_t ms);

// A pause the transfers' question may cut short (see NastavUkonceni in
// Ukonceni.h): waits ms milliseconds, or less when the question asks to
// end; true then. A stopped job thus does not hold up the window that waits
// for its end.
bool CekejDoUkonceni(std::int32_t ms);

// Every pause above, on the calling thread, is told to `sledovani` (=
// watching) with its length first: a test sees that the procedures it runs
// do not pause. Empty = nobody watches.
void NastavSledovaniPauz(std::function<void(std::int32_t ms)> sledovani);

// The 1 ms system timer resolution: needed on Windows, nothing to do here;
// kept so that the call points stay where the program requests and returns it.
void PozadujRozliseniCasovace();
void UvolniRozliseniCasovace();

}  // namespace vk::link
