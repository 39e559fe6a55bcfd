#include "Pty.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace vk::sim {

namespace {

struct TRychlost {
    std::int32_t baud;
    speed_t kod;  // termios speed constant
};

constexpr TRychlost Rychlosti[] = {
    {600, B600},     {1200, B1200},   {2400, B2400},   {4800, B4800},     {9600, B9600},
    {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200},
};

speed_t KodRychlosti(std::int32_t baud)
{
    for (const TRychlost& r : Rychlosti)
        if (r.baud == baud)
            return r.kod;
    return B9600;
}

}  // namespace

TPty::~TPty()
{
    Zavri();
}

bool TPty::Otevri(const std::string& odkaz, std::string& chyba, std::int32_t rychlost, bool licha)
{
    Zavri();
    int master = -1;
    int slave = -1;
    char jmeno[256] = {};
    if (::openpty(&master, &slave, jmeno, nullptr, nullptr) != 0) {
        chyba = std::string("Nelze otevřít pseudoterminál: ") + std::strerror(errno);
        return false;
    }
    termios t{};
    if (::tcgetattr(slave, &t) == 0) {
        ::cfmakeraw(&t);
        // The kernel drops PARENB here and keeps PARODD.
        if (licha)
            t.c_cflag |= PARENB | PARODD;
        ::cfsetispeed(&t, KodRychlosti(rychlost));
        ::cfsetospeed(&t, KodRychlosti(rychlost));
        ::tcsetattr(slave, TCSANOW, &t);
    }
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    ::fcntl(master, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave, F_SETFD, FD_CLOEXEC);
    master_ = master;
    slaveFd_ = slave;
    slave_ = jmeno;
    if (!odkaz.empty()) {
        struct stat info {};
        if (::lstat(odkaz.c_str(), &info) == 0) {
            if (!S_ISLNK(info.st_mode)) {
                chyba = "Cesta " + odkaz + " už existuje a není symbolickým odkazem";
                Zavri();
                return false;
            }
            ::unlink(odkaz.c_str());
        }
        if (::symlink(slave_.c_str(), odkaz.c_str()) != 0) {
            chyba = "Nelze vytvořit odkaz " + odkaz + ": " + std::strerror(errno);
            Zavri();
            return false;
        }
        odkaz_ = odkaz;
    }
    return true;
}

void TPty::Zavri()
{
    if (!odkaz_.empty()) {
        // Removed only while it still points at this pty: another simulator
        // may have taken the path over meanwhile.
        char cil[256] = {};
        const ssize_t n = ::readlink(odkaz_.c_str(), cil, sizeof cil - 1);
        if (n > 0 && slave_ == std::string(cil, static_cast<std::size_t>(n)))
            ::unlink(odkaz_.c_str());
        odkaz_.clear();
    }
    if (slaveFd_ >= 0)
        ::close(slaveFd_);
    if (master_ >= 0)
        ::close(master_);
    slaveFd_ = master_ = -1;
    slave_.clear();
}

long TPty::Prijmi(std::uint8_t* buf, std::size_t kapacita, int ms)
{
    if (master_ < 0)
        return -1;
    pollfd p{master_, POLLIN, 0};
    const int r = ::poll(&p, 1, ms);
    if (r < 0)
        return errno == EINTR ? 0 : -1;
    if (r == 0 || (p.revents & POLLIN) == 0)
        return 0;
    const ssize_t n = ::read(master_, buf, kapacita);
    if (n < 0)
        return errno == EAGAIN || errno == EINTR ? 0 : -1;
    return static_cast<long>(n);
}

bool TPty::Posli(const std::uint8_t* data, std::size_t pocet)
{
    std::size_t hotovo = 0;
    int pokusu = 0;
    while (hotovo < pocet) {
        const ssize_t n = ::write(master_, data + hotovo, pocet - hotovo);
        if (n > 0) {
            hotovo += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        if (++pokusu > 100)  // nobody reads the slave side for 100 ms
            return false;
        pollfd p{master_, POLLOUT, 0};
        ::poll(&p, 1, 1);
    }
    return true;
}

bool TPty::Linka(std::int32_t& rychlost, bool& licha) const
{
    termios t{};
    if (slaveFd_ < 0 || ::tcgetattr(slaveFd_, &t) != 0)
        return false;
    rychlost = 0;
    for (const TRychlost& r : Rychlosti)
        if (r.kod == ::cfgetospeed(&t))
            rychlost = r.baud;
    licha = (t.c_cflag & PARODD) != 0;
    return true;
}

}  // namespace vk::sim
