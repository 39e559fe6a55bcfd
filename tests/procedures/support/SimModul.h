#pragma once
// A running in-process simulator and a device connection record set up on
// one of its links, as a successful connection attempt leaves it
// (SimModul = simulated module).
#include <string>

#include "Simulator.h"
#include "U_VK7316R.h"

namespace vk::test {

enum class TLinkaSim { Serial, Sit };  // serial line (pty), network

std::string NazevLinkySim(TLinkaSim linka);

class TSimModul {
public:
    TSimModul() = default;
    ~TSimModul();
    TSimModul(const TSimModul&) = delete;
    TSimModul& operator=(const TSimModul&) = delete;

    // Serial: 115200 Bd, no parity, address 247; network: the simulator's
    // loopback address. The reply wait is 400 ms on both.
    bool Spust(TLinkaSim linka, std::string& chyba);

    sim::TSimulator sim;
    device::TVK7316R modul;
};

}  // namespace vk::test
