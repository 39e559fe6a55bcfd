#pragma once
// An in-process simulator with the device connection record set up on one of
// its links, as the connection dialog would leave it, for the settings areas'
// procedure tests (Oblasti = areas).
#include <string>

#include "Simulator.h"
#include "U_VK7316R.h"

namespace vk::test::oblasti {

enum class TLinka { Serial, Sit };

class TSimModul {
public:
    TSimModul() = default;
    ~TSimModul();
    TSimModul(const TSimModul&) = delete;
    TSimModul& operator=(const TSimModul&) = delete;

    // serial: 115200 Bd, no parity, address 247; network: 127.0.0.1 on the
    // simulator's ephemeral port.
    bool Spust(TLinka linka, std::string& chyba);

    vk::sim::TSimulator sim;
    vk::device::TVK7316R modul;
};

}  // namespace vk::test::oblasti
