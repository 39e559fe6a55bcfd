#include "RtuPeer.h"

#include <cerrno>
#include <poll.h>
#include <unistd.h>

namespace vk::test {

namespace {

// Length of the request frame at the start of `b`, CRC included; 0 while
// more bytes are needed to tell.
std::size_t FrameLength(const Bajty& b)
{
    if (b.size() < 2)
        return 0;
    switch (b[1]) {
    case 0x43:
        return 9;
    case 0x44:
        return b.size() < 7 ? 0 : 7u + b[6] + 2u;
    case 0x45:
        return b.size() < 4 ? 0 : 4u + (static_cast<std::size_t>(b[2]) << 8 | b[3]) + 2u;
    default:
        return b.size();  // not a function of the module: take what came
    }
}

}  // namespace

RtuPeer::RtuPeer(int master) : master_(master), thread_([this] { run(); }) {}

RtuPeer::~RtuPeer()
{
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    thread_.join();
}

void RtuPeer::answer(RtuAnswer a)
{
    std::lock_guard lock(mutex_);
    script_.push_back(std::move(a));
}

std::vector<Bajty> RtuPeer::requests() const
{
    std::lock_guard lock(mutex_);
    return requests_;
}

bool RtuPeer::waitForRequests(std::size_t n, std::chrono::milliseconds limit) const
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [&] { return requests_.size() >= n; });
}

bool RtuPeer::waitAnswered(std::chrono::milliseconds limit) const
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [&] { return script_.empty() && !writing_; });
}

void RtuPeer::run()
{
    Bajty buffered;
    for (;;) {
        {
            std::lock_guard lock(mutex_);
            if (stop_)
                return;
        }
        pollfd p{master_, POLLIN, 0};
        if (::poll(&p, 1, 5) <= 0 || !(p.revents & POLLIN))
            continue;
        std::uint8_t chunk[512];
        const ssize_t n = ::read(master_, chunk, sizeof chunk);
        if (n <= 0)
            continue;
        buffered.insert(buffered.end(), chunk, chunk + n);
        for (std::size_t len = FrameLength(buffered); len > 0 && len <= buffered.size(); len = FrameLength(buffered)) {
            const Bajty request(buffered.begin(), buffered.begin() + static_cast<std::ptrdiff_t>(len));
            buffered.erase(buffered.begin(), buffered.begin() + static_cast<std::ptrdiff_t>(len));
            serve(request);
        }
    }
}

void RtuPeer::serve(const Bajty& request)
{
    RtuAnswer a;
    bool scripted = false;
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
        if (!script_.empty()) {
            a = std::move(script_.front());
            script_.pop_front();
            scripted = true;
            writing_ = true;
        }
    }
    changed_.notify_all();
    if (!scripted)
        return;
    std::this_thread::sleep_for(a.delay);
    if (a.splitAt == 0 || a.splitAt >= a.bytes.size()) {
        send(a.bytes);
    } else {
        send(Bajty(a.bytes.begin(), a.bytes.begin() + static_cast<std::ptrdiff_t>(a.splitAt)));
        std::this_thread::sleep_for(a.pause);
        send(Bajty(a.bytes.begin() + static_cast<std::ptrdiff_t>(a.splitAt), a.bytes.end()));
    }
    {
        std::lock_guard lock(mutex_);
        writing_ = false;
    }
    changed_.notify_all();
}

void RtuPeer::send(const Bajty& bytes)
{
    std::size_t sent = 0;
    for (int attempts = 0; sent < bytes.size() && attempts < 1000; ++attempts) {
        const ssize_t n = ::write(master_, bytes.data() + sent, bytes.size() - sent);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
        } else {
            pollfd p{master_, POLLOUT, 0};
            ::poll(&p, 1, 5);
        }
    }
}

}  // namespace vk::test
