#pragma once
// A channel for the exchange on a virtual clock: scripted bytes arrive at
// set moments after the request is written, and waiting costs no real time,
// so the reply wait's timing rules are checked to the microsecond.
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

#include "HexBajty.h"
#include "RtuKanal.h"

namespace vk::test {

class RtuVirtualChannel final : public vk::link::TKanalRTU {
public:
    using us = std::chrono::microseconds;

    // Bytes that arrive `after` the next request is written (they stay in
    // the port if that exchange ends before taking them).
    void arrive(us after, Bajty bytes);

    bool isOpen() const override { return open; }
    void write(const std::uint8_t* data, std::size_t pocet) override;
    bool waitDrained(us cas) override;
    bool waitReadable(us cas) override;
    std::size_t readAvailable(std::uint8_t* buf, std::size_t kapacita) override;
    vk::link::Okamzik now() const override { return start_ + now_; }

    us elapsed() const { return now_; }  // virtual time since the channel was made
    us lastWrite() const { return lastWrite_; }

    // When set, answers every request: its bytes arrive 1 ms after the write.
    std::function<Bajty(const Bajty& request)> responder;
    std::size_t waitingBytes() const;  // arrived or scheduled, not yet taken

    // Added to every wait that ends without data, as when a loaded machine
    // wakes the thread late.
    us oversleep{0};

    // How long a request takes to leave the port after its write, as on a
    // slow line; a port that never drains keeps every request.
    us drainTime{0};
    bool neverDrains = false;

    bool open = true;
    std::vector<Bajty> written;
    us longestWait{0};            // of either kind of wait
    std::size_t waits = 0;        // for bytes only
    std::size_t largestRead = 0;  // largest capacity asked for in one read

private:
    struct Event {
        us at;
        Bajty bytes;
    };
    const vk::link::Okamzik start_ = vk::link::Okamzik(std::chrono::hours(1));
    us now_{0};
    us lastWrite_{0};
    std::vector<Event> pending_;  // times relative to the next write
    std::deque<Event> events_;    // absolute times, in order
};

}  // namespace vk::test
