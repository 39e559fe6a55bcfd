#pragma once
// A scripted module on the master side of a pseudo-terminal pair
// (Protejsek = peer): the link opens the slave path as its serial port; a
// thread of the peer cuts what arrives into frames by a short silence and
// answers each with what the test's responder returns.
#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "HexBajty.h"
#include "U_VK7316R.h"

namespace vk::test {

class TPtyProtejsek {
public:
    // Gets a request frame with its CRC; returns the reply without CRC (the
    // peer adds it), or nothing for silence.
    using TOdpovidac = std::function<Bajty(const Bajty& pozadavek)>;

    explicit TPtyProtejsek(TOdpovidac odpovidac);
    ~TPtyProtejsek();
    TPtyProtejsek(const TPtyProtejsek&) = delete;
    TPtyProtejsek& operator=(const TPtyProtejsek&) = delete;

    bool ok() const { return master_ >= 0; }
    const std::string& cesta() const { return cesta_; }
    std::vector<Bajty> pozadavky() const;  // every frame received, in order

    // Opens the slave as a serial connection of `modul` at address 247,
    // 115200 Bd, with `timeoutMs` for a reply.
    bool Pripoj(vk::device::TVK7316R& modul, std::uint32_t timeoutMs = 300) const;

private:
    void Bez();

    int master_ = -1;
    int slave_ = -1;  // kept open so the master never sees a hang-up
    std::string cesta_;
    TOdpovidac odpovidac_;
    mutable std::mutex mutex_;
    std::vector<Bajty> pozadavky_;
    std::atomic<bool> konec_{false};
    std::thread vlakno_;
};

// Reply of the module to a 0x43 read: address, 0x43, length, data.
Bajty OdpovedCteni(const Bajty& data);
// Reply to a 0x44 write with the given result byte.
Bajty OdpovedZapisu(std::uint8_t vysledek = 0);

}  // namespace vk::test
