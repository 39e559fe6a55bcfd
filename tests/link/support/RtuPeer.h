#pragma once
// A scripted module on the master side of a pty pair, in a thread of its
// own: it cuts the link's writes into request frames by their function code
// (0x43, 0x44, 0x45) and answers each with the next scripted answer.
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "HexBajty.h"

namespace vk::test {

struct RtuAnswer {
    Bajty bytes;              // written as they stand; empty = no answer
    std::size_t splitAt = 0;  // 0 = one piece, else this many bytes, the pause, the rest
    std::chrono::milliseconds pause{0};
    std::chrono::milliseconds delay{0};  // before the first byte
};

class RtuPeer {
public:
    explicit RtuPeer(int master);
    ~RtuPeer();
    RtuPeer(const RtuPeer&) = delete;
    RtuPeer& operator=(const RtuPeer&) = delete;

    // Queued: the n-th request gets the n-th answer; requests beyond the
    // script get none.
    void answer(RtuAnswer a);
    void answer(Bajty bytes) { answer(RtuAnswer{std::move(bytes)}); }

    std::vector<Bajty> requests() const;
    bool waitForRequests(std::size_t n, std::chrono::milliseconds limit) const;
    // Waits until every answer queued so far has been written completely.
    bool waitAnswered(std::chrono::milliseconds limit) const;

private:
    void run();
    void serve(const Bajty& request);
    void send(const Bajty& bytes);

    int master_;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::deque<RtuAnswer> script_;
    std::vector<Bajty> requests_;
    bool writing_ = false;
    bool stop_ = false;
    std::thread thread_;
};

}  // namespace vk::test
