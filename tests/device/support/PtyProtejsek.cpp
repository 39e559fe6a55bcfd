#include "PtyProtejsek.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include "Rozhrani.h"

namespace vk::test {

TPtyProtejsek::TPtyProtejsek(TOdpovidac odpovidac) : odpovidac_(std::move(odpovidac))
{
    char jmeno[256] = {};
    if (::openpty(&master_, &slave_, jmeno, nullptr, nullptr) != 0) {
        master_ = slave_ = -1;
        return;
    }
    termios t{};
    ::tcgetattr(slave_, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(slave_, TCSANOW, &t);
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    cesta_ = jmeno;
    vlakno_ = std::thread([this] { Bez(); });
}

TPtyProtejsek::~TPtyProtejsek()
{
    konec_ = true;
    if (vlakno_.joinable())
        vlakno_.join();
    if (master_ >= 0)
        ::close(master_);
    if (slave_ >= 0)
        ::close(slave_);
}

std::vector<Bajty> TPtyProtejsek::pozadavky() const
{
    std::lock_guard<std::mutex> z(mutex_);
    return pozadavky_;
}

bool TPtyProtejsek::Pripoj(vk::device::TVK7316R& modul, std::uint32_t timeoutMs) const
{
    if (vk::link::OtevriPort(1, 8, 0, timeoutMs, modul.MBRTU, cesta_) != 0)
        return false;
    modul.MBRTU.CFG.Adresa = 247;
    modul.Rozhrani = vk::common::RozhraniUART;
    modul.Init = true;
    return true;
}

void TPtyProtejsek::Bez()
{
    Bajty ramec;
    while (!konec_) {
        pollfd p{master_, POLLIN, 0};
        // A frame is written at once; 3 ms of silence after it ends it.
        const int n = ::poll(&p, 1, ramec.empty() ? 10 : 3);
        if (n > 0 && (p.revents & POLLIN)) {
            std::uint8_t buf[512];
            const ssize_t r = ::read(master_, buf, sizeof buf);
            if (r > 0)
                ramec.insert(ramec.end(), buf, buf + r);
            continue;
        }
        if (ramec.empty())
            continue;
        {
            std::lock_guard<std::mutex> z(mutex_);
            pozadavky_.push_back(ramec);
        }
        Bajty odpoved = odpovidac_ ? odpovidac_(ramec) : Bajty{};
        ramec.clear();
        if (odpoved.empty())
            continue;
        odpoved = SCrc(std::move(odpoved));
        std::size_t odeslano = 0;
        while (odeslano < odpoved.size() && !konec_) {
            const ssize_t w = ::write(master_, odpoved.data() + odeslano, odpoved.size() - odeslano);
            if (w > 0)
                odeslano += static_cast<std::size_t>(w);
            else
                ::usleep(500);
        }
    }
}

Bajty OdpovedCteni(const Bajty& data)
{
    Bajty b;
    b.reserve(3 + data.size());
    b.push_back(0xF7);
    b.push_back(0x43);
    b.push_back(static_cast<std::uint8_t>(data.size()));
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

Bajty OdpovedZapisu(std::uint8_t vysledek)
{
    return {0xF7, 0x44, vysledek};
}

}  // namespace vk::test
