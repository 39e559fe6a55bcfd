#include "Preruseni.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <iterator>

#include "Ukonceni.h"

namespace vk::cli {

namespace {

volatile std::sig_atomic_t prijatySignal = 0;

constexpr int Signaly[] = {SIGINT, SIGTERM, SIGHUP};
struct sigaction puvodni[std::size(Signaly)];  // the handlers before ours

// Wakes the serial link's wait, which sleeps on it: a signal that reaches
// another thread, or this one just before it goes to sleep, would not
// interrupt that sleep. Set while the handlers are installed.
std::atomic<const link::TBudik*> budikSignalu{nullptr};
static_assert(std::atomic<const link::TBudik*>::is_always_lock_free);

// The store and the alarm's write only: nothing else here needs to be
// async-signal-safe.
void Zachyt(int signal)
{
    if (prijatySignal != 0)
        return;
    prijatySignal = signal;
    const int puvodniErrno = errno;
    if (const link::TBudik* budik = budikSignalu.load())
        budik->Zazvon();
    errno = puvodniErrno;
}

}  // namespace

TZachytavaniSignalu::TZachytavaniSignalu()
{
    prijatySignal = 0;
    budikSignalu = &Budik;
    struct sigaction sa {};
    sa.sa_handler = Zachyt;
    sigemptyset(&sa.sa_mask);
    // A second signal gets its default action: a user who presses Ctrl-C
    // twice gets the tool ended even where no transfer would see the first.
    sa.sa_flags = SA_RESETHAND;
    for (std::size_t i = 0; i < std::size(Signaly); ++i)
        sigaction(Signaly[i], &sa, &puvodni[i]);
    link::NastavUkonceni([] { return prijatySignal != 0; }, Budik.Popisovac());
}

TZachytavaniSignalu::~TZachytavaniSignalu()
{
    link::NastavUkonceni({});
    for (std::size_t i = 0; i < std::size(Signaly); ++i)
        sigaction(Signaly[i], &puvodni[i], nullptr);
    budikSignalu = nullptr;
}

int PrijatySignal()
{
    return prijatySignal;
}

}  // namespace vk::cli
