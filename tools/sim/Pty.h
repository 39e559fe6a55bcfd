#pragma once
// A pseudo-terminal standing in for the module's serial port (Pty): the
// simulator owns the master side, a client opens the slave side as its
// serial device. The slave side is also held open here, so a client that
// closes and reopens it never makes the master see a hang-up.
//
// The pair also stands in for the wire's line settings: the client's
// tcsetattr on the slave is what the master side reads back, so the
// simulator can tell whether the client talks at its rate. Linux keeps a
// pty's speed and the odd-parity bit, but always clears the parity-enable
// bit: odd parity can be told from the others, even cannot be told from none.
#include <cstddef>
#include <cstdint>
#include <string>

namespace vk::sim {

class TPty {
public:
    ~TPty();
    // Opens the pair in raw mode; with a non-empty `odkaz` also makes a
    // symlink there to the slave device (an old symlink is replaced, any
    // other file is left alone and fails the call) (Odkaz = link). The
    // line starts at `rychlost` Bd, with odd parity when `licha`, so that a
    // client that takes the line as it finds it talks at the module's rate.
    bool Otevri(const std::string& odkaz, std::string& chyba, std::int32_t rychlost = 9600, bool licha = false);
    void Zavri();  // also removes the symlink

    const std::string& CestaSlave() const { return slave_; }  // slave device path
    const std::string& Odkaz() const { return odkaz_; }

    // Waits at most `ms` for bytes from the client and takes what has come
    // (at most `kapacita`); 0 when none, -1 on error (Prijmi = receive).
    long Prijmi(std::uint8_t* buf, std::size_t kapacita, int ms);
    // Writes all bytes, waiting a bounded time while the slave's queue is
    // full; false when they could not all be written (Posli = send).
    bool Posli(const std::uint8_t* data, std::size_t pocet);

    // The line settings the client has put on the pair (Linka = line): its
    // rate in Bd (0 for one no module offers) and whether it has the
    // odd-parity bit; false when they cannot be read.
    bool Linka(std::int32_t& rychlost, bool& licha) const;

private:
    int master_ = -1;
    int slaveFd_ = -1;
    std::string slave_;
    std::string odkaz_;
};

}  // namespace vk::sim
