#pragma once
// Ending a running transfer from outside (Ukonceni = ending): the question
// whether the transfer on this thread is to end, the descriptor a wait can
// sleep on until it is, and the message pump between the slices of a wait,
// which is where a transfer asks.
#include <functional>

namespace vk::link {

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

}  // namespace vk::link
