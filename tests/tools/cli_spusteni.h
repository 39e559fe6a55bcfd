#pragma once
// Runs the built command-line tool as a process, the way a script does
// (spusteni = running): arguments in, exit code, stdout and stderr out.
// Every run is bounded: a tool that does not end in time is killed and the
// run reports -1. Also small file and folder helpers for the CLI tests.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#ifndef VK7316R_CESTA
#error "VK7316R_CESTA (path of the built vk7316r) is set by tests/CMakeLists.txt"
#endif

namespace clitest {

using Bajty = std::vector<std::uint8_t>;

struct TVysledek {
    int Kod = -1;        // exit code; -1 when killed after the time limit
    std::string Vystup;  // stdout
    std::string Chyby;   // stderr
};

struct TVolbySpusteni {
    std::string Slozka;            // working folder; empty = the test's own
    bool ChybyNaTerminal = false;  // stderr on a pseudo-terminal, as in an interactive shell
    int LimitMs = 60000;
    std::string Program;  // another copy of the tool; empty = the built one
    // Called about every 10 ms while the tool runs, with its process id (to
    // signal it at the right moment).
    std::function<void(pid_t)> Behem;
};

inline TVolbySpusteni SLimitem(int ms)
{
    TVolbySpusteni v;
    v.LimitMs = ms;
    return v;
}

inline void CtiDostupne(int fd, std::string& cil, bool& otevren)
{
    char buf[65536];
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n > 0) {
        cil.append(buf, static_cast<std::size_t>(n));
    } else if (n == 0 || (errno != EINTR && errno != EAGAIN)) {
        otevren = false;  // EOF, or EIO on a pty master whose slave side closed
    }
}

inline TVysledek Spust(const std::vector<std::string>& argumenty, const TVolbySpusteni& volby = {})
{
    TVysledek v;
    std::vector<std::string> a = {volby.Program.empty() ? std::string(VK7316R_CESTA) : volby.Program};
    a.insert(a.end(), argumenty.begin(), argumenty.end());
    std::vector<char*> argv;
    for (std::string& s : a)
        argv.push_back(s.data());
    argv.push_back(nullptr);

    int out[2];
    int err[2];
    if (::pipe(out) != 0)
        return v;
    if (volby.ChybyNaTerminal) {
        if (::openpty(&err[0], &err[1], nullptr, nullptr, nullptr) != 0)
            return v;
    } else if (::pipe(err) != 0) {
        return v;
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        // Only async-signal-safe calls between fork and exec: the test
        // process has simulator threads running.
        ::dup2(out[1], 1);
        ::dup2(err[1], 2);
        ::close(out[0]);
        ::close(err[0]);
        if (!volby.Slozka.empty() && ::chdir(volby.Slozka.c_str()) != 0)
            ::_exit(127);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    ::close(err[1]);
    if (pid < 0) {
        ::close(out[0]);
        ::close(err[0]);
        return v;
    }
    bool outOtevren = true;
    bool errOtevren = true;
    const auto konec = std::chrono::steady_clock::now() + std::chrono::milliseconds(volby.LimitMs);
    bool zabit = false;
    while (outOtevren || errOtevren) {
        const auto zbyva =
            std::chrono::duration_cast<std::chrono::milliseconds>(konec - std::chrono::steady_clock::now()).count();
        if (zbyva <= 0) {
            zabit = true;
            break;
        }
        pollfd p[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
        if (!outOtevren)
            p[0].fd = -1;
        if (!errOtevren)
            p[1].fd = -1;
        const int krok = volby.Behem ? 10 : 100;
        if (::poll(p, 2, static_cast<int>(zbyva < krok ? zbyva : krok)) < 0)
            continue;
        if (volby.Behem)
            volby.Behem(pid);
        if (outOtevren && (p[0].revents & (POLLIN | POLLHUP | POLLERR)))
            CtiDostupne(out[0], v.Vystup, outOtevren);
        if (errOtevren && (p[1].revents & (POLLIN | POLLHUP | POLLERR)))
            CtiDostupne(err[0], v.Chyby, errOtevren);
    }
    ::close(out[0]);
    ::close(err[0]);
    int stav = 0;
    while (true) {
        if (zabit)
            ::kill(pid, SIGKILL);
        const pid_t r = ::waitpid(pid, &stav, zabit ? 0 : WNOHANG);
        if (r == pid || (r < 0 && errno != EINTR))
            break;
        if (r == 0 && std::chrono::steady_clock::now() > konec)
            zabit = true;
        if (r == 0)
            ::usleep(2000);
    }
    if (!zabit)
        v.Kod = WIFEXITED(stav) ? WEXITSTATUS(stav) : -1;
    return v;
}

// A fresh folder under the system's temporary folder, removed with its
// content at the end of the test (Docasna slozka = temporary folder).
class TDocasnaSlozka {
public:
    TDocasnaSlozka()
    {
        std::string vzor = (std::filesystem::temp_directory_path() / "vk7316r-cli-XXXXXX").string();
        if (::mkdtemp(vzor.data()) != nullptr)
            cesta_ = vzor;
    }
    ~TDocasnaSlozka()
    {
        std::error_code ec;
        if (!cesta_.empty())
            std::filesystem::remove_all(cesta_, ec);
    }
    TDocasnaSlozka(const TDocasnaSlozka&) = delete;
    TDocasnaSlozka& operator=(const TDocasnaSlozka&) = delete;

    const std::string& Cesta() const { return cesta_; }
    std::string operator/(const std::string& jmeno) const { return cesta_ + "/" + jmeno; }

private:
    std::string cesta_;
};

inline Bajty NactiBajty(const std::string& soubor)
{
    std::ifstream f(soubor, std::ios::binary);
    return Bajty(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

inline void ZapisBajty(const std::string& soubor, const Bajty& data)
{
    std::ofstream f(soubor, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
}

// Deterministic filler bytes that do not repeat with a short period, so a
// block sent twice or out of order changes the content.
inline Bajty Vzorek(std::size_t pocet, std::uint32_t seminko = 1)
{
    Bajty b(pocet);
    std::uint32_t x = seminko * 2654435761u + 1;
    for (std::uint8_t& c : b) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        c = static_cast<std::uint8_t>(x >> 24);
    }
    return b;
}

inline bool Obsahuje(const std::string& text, const std::string& cast)
{
    return text.find(cast) != std::string::npos;
}

}  // namespace clitest
