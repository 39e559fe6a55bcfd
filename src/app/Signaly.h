#pragma once
// Unit Signaly (= signals): SIGTERM, SIGHUP and SIGINT (a logout, a closed
// terminal, Ctrl+C) end the program the way its close box does, so that the
// closing steps run and the settings are stored.
#include <QObject>

#include <array>
#include <csignal>
#include <functional>

class QSocketNotifier;

// While it exists, each of the three signals calls `zavri` (= close) on the
// thread that made the object, from its event loop, modal loops included. A
// signal the program was started with ignored (nohup) stays ignored. One
// instance per program.
class TZavreniSignalem : public QObject {
    Q_OBJECT

public:
    explicit TZavreniSignalem(std::function<void()> zavri, QObject* parent = nullptr);
    ~TZavreniSignalem() override;

    // The signals are caught (funguje = works); false when the pipe could not
    // be made or another instance holds them.
    bool Funguje() const { return Oznamovac != nullptr; }

private:
    void Precti();  // read what the handler wrote, then close

    std::function<void()> Zavri;
    std::array<int, 2> Roura{-1, -1};  // pipe: read end, write end
    QSocketNotifier* Oznamovac = nullptr;
    // The disposition each signal had before (puvodni = original); only the
    // signals caught (zachycen) get it back.
    std::array<struct sigaction, 3> Puvodni{};
    std::array<bool, 3> Zachycen{};
};
