#include "RtuVirtualChannel.h"

#include <algorithm>

namespace vk::test {

void RtuVirtualChannel::arrive(us after, Bajty bytes)
{
    pending_.push_back({after, std::move(bytes)});
}

void RtuVirtualChannel::write(const std::uint8_t* data, std::size_t pocet)
{
    written.emplace_back(data, data + pocet);
    lastWrite_ = now_;
    if (responder)
        pending_.push_back({us(1000), responder(written.back())});
    for (auto& e : pending_)
        events_.push_back({now_ + e.at, std::move(e.bytes)});
    pending_.clear();
    std::stable_sort(events_.begin(), events_.end(), [](const Event& a, const Event& b) { return a.at < b.at; });
}

std::size_t RtuVirtualChannel::waitingBytes() const
{
    std::size_t n = 0;
    for (const auto& e : events_)
        n += e.bytes.size();
    for (const auto& e : pending_)
        n += e.bytes.size();
    return n;
}

bool RtuVirtualChannel::waitDrained(us cas)
{
    longestWait = std::max(longestWait, cas);
    const us drained = lastWrite_ + drainTime;
    if (!neverDrains && drained <= now_ + cas) {
        now_ = std::max(now_, drained);
        return true;
    }
    now_ += cas;
    return false;
}

bool RtuVirtualChannel::waitReadable(us cas)
{
    ++waits;
    longestWait = std::max(longestWait, cas);
    if (!events_.empty() && events_.front().at <= now_ + cas) {
        now_ = std::max(now_, events_.front().at);
        return true;
    }
    now_ += cas + oversleep;
    return false;
}

std::size_t RtuVirtualChannel::readAvailable(std::uint8_t* buf, std::size_t kapacita)
{
    largestRead = std::max(largestRead, kapacita);
    std::size_t n = 0;
    while (n < kapacita && !events_.empty() && events_.front().at <= now_) {
        Bajty& b = events_.front().bytes;
        const std::size_t k = std::min(kapacita - n, b.size());
        std::copy_n(b.begin(), k, buf + n);
        b.erase(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(k));
        n += k;
        if (b.empty())
            events_.pop_front();
    }
    return n;
}

}  // namespace vk::test
