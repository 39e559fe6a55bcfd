#pragma once
// A pseudo-terminal standing in for the module's serial port (Pty): the
// simulator owns the master side, a client opens the slave side as its
// serial device. The slave side is also held open here, so a client that
// closes and reopens it never makes the master see a hang-up.
#include <cstddef>
#include <cstdint>
#include <string>

namespace vk::sim {

class TPty {
public:
    ~TPty();
    // Opens the pair in raw mode; with a non-empty `odkaz` also makes a
    // symlink there to the slave device (an old symlink is replaced, any
    // other file is left alone and fails the call) (Odkaz = link).
    bool Otevri(const std::string& odkaz, std::string& chyba);
    void Zavri();  // also removes the symlink

    const std::string& CestaSlave() const { return slave_; }  // slave device path
    const std::string& Odkaz() const { return odkaz_; }

    // Waits at most `ms` for bytes from the client and takes what has come
    // (at most `kapacita`); 0 when none, -1 on error (Prijmi = receive).
    long Prijmi(std::uint8_t* buf, std::size_t kapacita, int ms);
    // Writes all bytes, waiting a bounded time while the slave's queue is
    // full; false when they could not all be written (Posli = send).
    bool Posli(const std::uint8_t* data, std::size_t pocet);

private:
    int master_ = -1;
    int slaveFd_ = -1;
    std::string slave_;
    std::string odkaz_;
};

}  // namespace vk::sim
