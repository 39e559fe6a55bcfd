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

TPty::~TPty()
{
    Zavri();
}

bool TPty::Otevri(const std::string& odkaz, std::string& chyba)
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

}  // namespace vk::sim
