#pragma once
// The command line of vk7316r-sim (ArgumentySim = the simulator's arguments).
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Simulator.h"

namespace vk::sim {

struct TArgumentySim {
    TNastaveniSimulatoru Nastaveni;
    std::vector<std::pair<TPorucha, std::uint32_t>> Poruchy;  // faults to switch on, with their count (0 = always)
    std::optional<TZtrata> Ztrata;                            // --drop: the datagram ZtracenyDatagram loses
    bool Napoveda = false;                                    // --help (Napoveda = help)
    bool Zaznam = false;                                      // --log: a line per ended TFTP transfer
};

// False with a message for a bad command line.
bool RozeberArgumenty(const std::vector<std::string>& argumenty, TArgumentySim& vysledek, std::string& chyba);

std::string TextNapovedy();  // the usage text

}  // namespace vk::sim
