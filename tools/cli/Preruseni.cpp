#include "Preruseni.h"

#include <csignal>
#include <iterator>

#include "Cas.h"

namespace vk::cli {

namespace {

volatile std::sig_atomic_t prijatySignal = 0;

constexpr int Signaly[] = {SIGINT, SIGTERM, SIGHUP};
struct sigaction puvodni[std::size(Signaly)];  // the handlers before ours

// Only the store: nothing else here needs to be async-signal-safe.
void Zachyt(int signal)
{
    if (prijatySignal == 0)
        prijatySignal = signal;
}

}  // namespace

TZachytavaniSignalu::TZachytavaniSignalu()
{
    prijatySignal = 0;
    struct sigaction sa {};
    sa.sa_handler = Zachyt;
    sigemptyset(&sa.sa_mask);
    // A second signal gets its default action: a user who presses Ctrl-C
    // twice gets the tool ended even where no transfer would see the first.
    sa.sa_flags = SA_RESETHAND;
    for (std::size_t i = 0; i < std::size(Signaly); ++i)
        sigaction(Signaly[i], &sa, &puvodni[i]);
    link::NastavUkonceni([] { return prijatySignal != 0; });
}

TZachytavaniSignalu::~TZachytavaniSignalu()
{
    link::NastavUkonceni({});
    for (std::size_t i = 0; i < std::size(Signaly); ++i)
        sigaction(Signaly[i], &puvodni[i], nullptr);
}

int PrijatySignal()
{
    return prijatySignal;
}

}  // namespace vk::cli
