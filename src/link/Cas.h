#pragma once
// Time (Cas) and the message pump for the links. Every time-out and reply gap
// is measured on the steady clock, so a wall-clock jump (midnight, daylight
// saving, clock correction) never shortens or stretches a wait.
#include <chrono>
#include <cstdint>
#include <functional>

namespace vk::link {

using Hodiny = std::chrono::steady_clock;
using Okamzik = Hodiny::time_point;  // a moment on the steady clock

inline Okamzik Ted() { return Hodiny::now(); }

// Milliseconds elapsed since t (whole ms, never negative).
std::int64_t UplynuloMs(Okamzik t);

// Local time of day in ms (0 to 86,399,999), for display and time stamps only.
std::int32_t CasDneMs();

// Blocks the caller for ms milliseconds without pumping messages.
void Cekej(std::int32_t ms);

// A pause the transfers' question may cut short (see NastavUkonceni): waits
// ms milliseconds, or less when the question asks to end; true then. A
// stopped job thus does not hold up the window that waits for its end.
bool CekejDoUkonceni(std::int32_t ms);

// Every pause above, on the calling thread, is told to `sledovani` (=
// watching) with its length first: a test sees that the procedures it runs
// do not pause. Empty = nobody watches.
void NastavSledovaniPauz(std::function<void(std::int32_t ms)> sledovani);

// Both hooks below hold for the calling thread only, the thread that then
// runs the transfers; another thread's transfers do not see them.

// A hook called at every pump of a transfer's wait (pumpa zprav = message
// pump). The windows never run their event loop here: their transfers run
// on the device worker's thread. Tests count the pumps through it.
void NastavPumpuZprav(std::function<void()> pumpa);

// Whoever may have to stop a running transfer installs the question here
// (Ukonceni = ending): true ends the transfer as failed at its next pump,
// and a transfer asked to end sends no further request. The device worker
// answers it for a job asked to stop, the command-line tool after a signal.
//
// `popisovac` (descriptor), optional: one that turns readable whenever the
// question turns true (a TBudik's), so that a wait which watches it can
// sleep through instead of asking between short slices. Readable while the
// answer is false is harmless: the wait that sees it gives up watching it.
void NastavUkonceni(std::function<bool()> ukoncit, int popisovac = -1);

// True when the installed question asks the transfers to end.
bool PozadovanoUkonceni();

// The descriptor installed with the question; -1 when none.
int PopisovacUkonceni();

// True when a wait has to be cut into short slices, with ZpracujZpravy
// between them: a pump hook is installed, or the question comes without a
// descriptor, or the wait does not watch it (`sledujePopisovac`).
bool CekaniVPlatcich(bool sledujePopisovac);

// The cancellation point between two slices of a wait: calls the installed
// pump hook, if any; true when the transfer that waits is to end
// (PozadovanoUkonceni).
bool ZpracujZpravy();

// The 1 ms system timer resolution: needed on Windows, nothing to do here;
// kept so that the call points stay where the program requests and returns it.
void PozadujRozliseniCasovace();
void UvolniRozliseniCasovace();

}  // namespace vk::link
