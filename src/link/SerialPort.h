#pragma once
// The POSIX serial port under the Modbus RTU link: raw termios, 8 data bits,
// 1 stop bit, parity none/even/odd, no flow control, non-blocking.
//
// A thin view of a file descriptor, not its owner: the descriptor lives in
// TMBRTU_ID::HNDL, a record that is copied by value, so only ZavriPort (through
// close()) ends it.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <linux/serial.h>
#include <optional>
#include <string>
#include <termios.h>

#include "M_ModbusRTU.h"

namespace vk::link {

class SerialPort {
public:
    // Opens `zarizeni` (device path) for exclusive use and configures it;
    // the descriptor (always >= 3, so it never collides with the standard
    // streams or with HNDL 0 = no port), or -1 when the device cannot be
    // opened or is not a terminal; errno EBUSY when another holder has it
    // (the exclusive mark, or the lock that stops root as well). Also asks
    // the driver for low latency.
    // With rs485.Rizeni other than Vypnuto it sets the driver's RS-485 mode;
    // when the driver refuses, the port is closed again and -1 returned with
    // the errno in `odmitnutiRS485` (0 otherwise).
    static int open(const std::string& zarizeni, std::uint32_t baud, TParita parita, const TRS485& rs485,
                    int& odmitnutiRS485);

    // The request for the driver's RS-485 mode (Zadost = request): `puvodni`
    // as the driver holds it, with the mode, the RTS level while and after
    // sending and both delays set from `rs485`; the flags the link does not
    // decide (bus termination, receiving while sending) stay as they were.
    static serial_rs485 ZadostRS485(const serial_rs485& puvodni, const TRS485& rs485);
    // How a request reaches the driver (Predani = handing over): 0, or the
    // errno of the refusal; like ioctl(TIOCSRS485) it leaves in `zadost`
    // what the driver took. Tests put their own here to see the request
    // without hardware; an empty function restores the ioctl.
    using TPredaniRS485 = std::function<int(int fd, serial_rs485& zadost)>;
    static void NastavPredaniRS485(TPredaniRS485 predani);

    // The latency timer of the USB adapter behind `zarizeni`, ms, where the
    // system shows it (class/tty/<device name>/device/latency_timer under
    // the sysfs root, the name taken after following symlinks such as
    // /dev/serial/by-id/...); nullopt where it shows none (a built-in UART,
    // a pty, another kind of adapter).
    static std::optional<std::int32_t> LatenceAdapteru(const std::string& zarizeni);
    // Where LatenceAdapteru looks: /sys unless a test points it elsewhere
    // (Koren = root); an empty path restores /sys.
    static void NastavKorenSysfs(const std::filesystem::path& koren);

    // Turns `t` into the link's line settings: raw, 8 data bits, 1 stop
    // bit, the parity, no flow control, reads that never wait, `baud` (an
    // unknown rate gives 9600).
    static void configure(termios& t, std::uint32_t baud, TParita parita);

    explicit SerialPort(int fd) : fd_(fd) {}

    int fd() const { return fd_; }

    // Writes every byte, waiting for room when the driver's buffer is full,
    // but never longer than `limit` in all; false when not all went out.
    // A write the device refuses (EIO once it has hung up) sets selhani().
    bool write(const std::uint8_t* data, std::size_t pocet, std::chrono::milliseconds limit);

    // Waits at most `cas` until the bytes written last have left the port:
    // the driver's output queue is empty and their time on the wire, counted
    // from the write, has passed. True when they have.
    bool waitDrained(std::chrono::microseconds cas);

    // The time `bajtu` characters take on the wire with the settings `t`;
    // 0 for a rate outside the link's table.
    static std::chrono::microseconds CasNaDrate(const termios& t, std::size_t bajtu);

    // Takes what has arrived, at most `kapacita` bytes; never waits. Bytes
    // that arrived before a hang-up are still taken; the hang-up, a read
    // error, or nothing to read right after waitReadable reported a byte
    // (how a hung-up terminal answers) sets selhani().
    std::size_t readAvailable(std::uint8_t* buf, std::size_t kapacita);

    // How a wait for bytes ended (probuzeni = waking).
    enum class TProbuzeni {
        Data,      // a byte can be read (perhaps the last ones before a hang-up)
        Cas,       // `cas` has passed
        Ukonceni,  // the descriptor `ukonceni` is readable (or broken)
        Selhani,   // the device hung up or reports an error, nothing left to read: see selhani()
    };

    // Waits at most `cas` until a byte can be read, or until `ukonceni`, a
    // descriptor that a request to end makes readable, is; -1 for none.
    TProbuzeni waitReadable(std::chrono::microseconds cas, int ukonceni = -1);

    // Why this view found the port unusable (selhani = failure): "port hung
    // up", "port error" or the system's error text of a failed read or
    // write; empty while it works. It stays once set: a hung-up terminal
    // never recovers.
    const std::string& selhani() const { return selhani_; }

    void close();

private:
    // The same for this port; 0 for a pseudo-terminal, which has no wire
    // (the simulator, or a bridge whose wire time cannot be seen here).
    std::chrono::microseconds casNaDrate(std::size_t bajtu) const;

    int fd_ = -1;
    std::chrono::steady_clock::time_point naDrateDo_{};  // the last write is on the wire until then
    bool ohlasenaData_ = false;  // the last wait reported a byte (ohlášena data = data announced)
    short udalostiSData_ = 0;    // a hang-up or error the last wait saw beside the byte (poll events)
    std::string selhani_;
};

}  // namespace vk::link
