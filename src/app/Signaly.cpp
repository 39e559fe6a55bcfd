#include "Signaly.h"

#include <QSocketNotifier>

#include <atomic>
#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::array<int, 3> Signaly{SIGTERM, SIGHUP, SIGINT};

// The pipe's write end for the handler; -1 while no instance catches the
// signals. A lock-free atomic may be read inside a signal handler.
std::atomic<int> zapisovaciKonec{-1};
static_assert(std::atomic<int>::is_always_lock_free);

// Only async-signal-safe work here: one byte into the pipe wakes the event
// loop, which does the rest. A full pipe already holds a wake-up, so a lost
// byte loses nothing.
extern "C" void ZachytSignal(int)
{
    const int puvodniErrno = errno;
    const int fd = zapisovaciKonec.load(std::memory_order_relaxed);
    if (fd >= 0) {
        const char bajt = 1;
        [[maybe_unused]] const ssize_t zapsano = ::write(fd, &bajt, 1);
    }
    errno = puvodniErrno;
}

}  // namespace

TZavreniSignalem::TZavreniSignalem(std::function<void()> zavri, QObject* parent)
    : QObject(parent), Zavri(std::move(zavri))
{
    if (zapisovaciKonec.load() >= 0)
        return;
    // Non-blocking, so that neither the handler nor the reader can hang on
    // it; close-on-exec, so that a viewer started for the help document does
    // not inherit it.
    if (::pipe2(Roura.data(), O_NONBLOCK | O_CLOEXEC) != 0) {
        Roura = {-1, -1};
        return;
    }
    zapisovaciKonec.store(Roura[1]);
    Oznamovac = new QSocketNotifier(Roura[0], QSocketNotifier::Read, this);
    connect(Oznamovac, &QSocketNotifier::activated, this, &TZavreniSignalem::Precti);

    struct sigaction akce {};
    akce.sa_handler = ZachytSignal;
    sigemptyset(&akce.sa_mask);
    akce.sa_flags = SA_RESTART;  // the other threads' system calls go on undisturbed
    for (std::size_t i = 0; i < Signaly.size(); ++i) {
        if (::sigaction(Signaly[i], nullptr, &Puvodni[i]) != 0 || Puvodni[i].sa_handler == SIG_IGN)
            continue;
        Zachycen[i] = ::sigaction(Signaly[i], &akce, nullptr) == 0;
    }
}

TZavreniSignalem::~TZavreniSignalem()
{
    for (std::size_t i = 0; i < Signaly.size(); ++i)
        if (Zachycen[i])
            ::sigaction(Signaly[i], &Puvodni[i], nullptr);
    if (Roura[1] < 0)
        return;
    // The handler no longer writes before the descriptor number can be
    // given to another file.
    zapisovaciKonec.store(-1);
    delete Oznamovac;
    ::close(Roura[0]);
    ::close(Roura[1]);
}

void TZavreniSignalem::Precti()
{
    char bajty[64];
    while (::read(Roura[0], bajty, sizeof bajty) > 0) {
    }
    if (Zavri)
        Zavri();
}
