#pragma once
// A running in-process simulator and a connection of the device layer to it
// over one of its two links (Spojeni = connection, Linka = link).
#include <cstdint>
#include <string>
#include <vector>

#include "Simulator.h"
#include "U_VK7316R.h"

namespace vk::test {

// SerialOzvena: the serial link to a simulator that echoes every request
// ahead of its reply, as a two-wire adapter whose receiver stays on does.
enum class TLinka { Serial, SerialOzvena, Sit };

std::string NazevLinky(TLinka linka);

class TSimSpojeni {
public:
    TSimSpojeni() = default;
    ~TSimSpojeni();
    TSimSpojeni(const TSimSpojeni&) = delete;
    TSimSpojeni& operator=(const TSimSpojeni&) = delete;

    // Starts the simulator with both links and sets `modul` up on one of
    // them, as the connection dialog would (serial: 115200 Bd, address 247,
    // echoes dropped; network: 127.0.0.1 on the simulator's ephemeral port).
    bool Spust(TLinka linka, vk::device::TVK7316R& modul, std::string& chyba);
    // Sets up the other link of the same simulator in `modul` as well,
    // keeping what was there (a TFTP client survives a serial connection).
    bool PripojSerial(vk::device::TVK7316R& modul, std::string& chyba);
    void PripojSit(vk::device::TVK7316R& modul);

    vk::sim::TSimulator sim;
    std::uint32_t timeoutMs = 400;
    // TFTP retries: none, so that one lost datagram fails a transfer, as the
    // fault tests expect.
    std::int32_t opakovani = 0;

private:
    vk::device::TVK7316R* modul_ = nullptr;
};

}  // namespace vk::test
