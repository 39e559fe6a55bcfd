// How soon after a reply's last byte the serial link returns, and what a
// silent module costs in CPU. Over a real pseudo-terminal: a thread on the
// master plays the module and notes the moment its write of the last reply
// byte returned; the link's exchange returns a gap later, and the figure is
// by how much more. The CPU figure is taken with each kind of question whether
// to end that a thread may install, as the waits differ by it; a wakeup is
// one voluntary context switch of the waiting thread. Prints figures;
// asserts nothing.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <mutex>
#include <poll.h>
#include <pty.h>
#include <sys/resource.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "Budik.h"
#include "Crc16.h"
#include "M_ModbusRTU.h"
#include "Ukonceni.h"

using namespace vk::link;
using Clock = std::chrono::steady_clock;

namespace {

class Module {  // answers every 9-byte read request with 9 data bytes, unless silent
public:
    explicit Module(int master) : master_(master), thread_([this] { run(); }) {}
    ~Module()
    {
        stop_ = true;
        thread_.join();
    }
    std::atomic<bool> silent{false};

    Clock::time_point lastWritten()
    {
        std::lock_guard lock(mutex_);
        return lastWritten_;
    }

private:
    void run()
    {
        std::vector<std::uint8_t> reply = {0x01, 0x43, 0xFE, 1, 2, 3, 4, 5, 6, 7, 8, 9};
        const std::uint16_t crc = Crc16Modbus(reply.data(), reply.size());
        reply.push_back(static_cast<std::uint8_t>(crc & 0xFF));
        reply.push_back(static_cast<std::uint8_t>(crc >> 8));
        std::size_t buffered = 0;
        while (!stop_) {
            pollfd p{master_, POLLIN, 0};
            // Long enough not to count in the process CPU figure below.
            if (::poll(&p, 1, 200) <= 0)
                continue;
            std::uint8_t chunk[64];
            const ssize_t n = ::read(master_, chunk, sizeof chunk);
            if (n <= 0)
                continue;
            buffered += static_cast<std::size_t>(n);
            if (buffered < 9)
                continue;
            buffered = 0;
            if (silent)
                continue;
            std::this_thread::sleep_for(std::chrono::microseconds(700));  // the module thinks
            if (::write(master_, reply.data(), reply.size()) != static_cast<ssize_t>(reply.size()))
                continue;
            std::lock_guard lock(mutex_);
            lastWritten_ = Clock::now();
        }
    }

    int master_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    Clock::time_point lastWritten_{};
    std::thread thread_;
};

double Ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

double Percentil(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v[static_cast<std::size_t>(p * static_cast<double>(v.size() - 1) + 0.5)];
}

double CpuMs(clockid_t hodiny)
{
    timespec ts{};
    clock_gettime(hodiny, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

long Probuzeni()  // voluntary context switches of the calling thread so far
{
    rusage r{};
    getrusage(RUSAGE_THREAD, &r);
    return r.ru_nvcsw;
}

// Median process CPU of one timed-out 330 ms wait with the question that
// `nastav` installs; prints each run.
double CpuCekani(const char* nazev, const char* zarizeni, const std::function<void()>& nastav)
{
    std::printf("\n%s\n", nazev);
    std::printf("%-5s %-9s %-15s %-14s %-8s\n", "run", "wall ms", "process CPU ms", "thread CPU ms", "wakeups");
    nastav();
    std::vector<double> cpu;
    for (int i = 0; i < 5; ++i) {
        TMBRTU link;
        OtevriPort(1, 8, 0, 330, link, zarizeni);
        std::uint8_t data[9];
        const double p0 = CpuMs(CLOCK_PROCESS_CPUTIME_ID), t0 = CpuMs(CLOCK_THREAD_CPUTIME_ID);
        const long w0 = Probuzeni();
        const Clock::time_point start = Clock::now();
        const int r = PrectiBlok(link, 0, 0, 9, data);
        const double wall = Ms(Clock::now() - start);
        const long w1 = Probuzeni();
        const double p1 = CpuMs(CLOCK_PROCESS_CPUTIME_ID), t1 = CpuMs(CLOCK_THREAD_CPUTIME_ID);
        ZavriPort(link);
        std::printf("%-5d %-9.1f %-15.3f %-14.3f %-8ld%s\n", i + 1, wall, p1 - p0, t1 - t0, w1 - w0,
                    r == 1 ? "" : "  (unexpected answer)");
        cpu.push_back(p1 - p0);
    }
    NastavUkonceni({});
    const double median = Percentil(cpu, 0.5);
    std::printf("median process CPU %.3f ms (goal <= 1 ms)\n", median);
    return median;
}

}  // namespace

int main()
{
    int master = -1, slave = -1;
    char name[128] = {};
    termios raw{};
    cfmakeraw(&raw);
    if (openpty(&master, &slave, name, &raw, nullptr) != 0) {
        std::perror("openpty");
        return 1;
    }
    Module module(master);
    constexpr int Runs = 200;

    std::printf("reply end latency: return of the exchange - last reply byte written (%d exchanges each)\n", Runs);
    std::printf("%-9s %-6s %-10s %-10s %-10s %-10s\n", "baud code", "gap", "median", "p95", "max", "goal (p95)");
    for (const std::int32_t kod : {2, 4, 8}) {
        TMBRTU link;
        if (OtevriPort(1, kod, 0, 1000, link, name) != 0) {
            std::printf("cannot open %s\n", name);
            return 1;
        }
        std::vector<double> celkem;
        std::uint8_t data[9];
        for (int i = 0; i < Runs + 5; ++i) {
            const int r = PrectiBlok(link, 0, 0, 9, data);
            const Clock::time_point konec = Clock::now();
            if (r != 0) {
                std::printf("exchange failed: %d %s\n", r, link.ED.StatusText.c_str());
                continue;
            }
            if (i >= 5)  // the first few warm the caches up
                celkem.push_back(Ms(konec - module.lastWritten()));
        }
        ZavriPort(link);
        const double mezera = MezeraMs(kod);
        std::printf("%-9d %-6.0f %-10.3f %-10.3f %-10.3f <= %.1f  (ms)\n", kod, mezera, Percentil(celkem, 0.5),
                    Percentil(celkem, 0.95), Percentil(celkem, 1.0), mezera + 0.5);
    }

    module.silent = true;
    std::printf("\nCPU time of one 330 ms timed-out wait (no answer):\n");
    CpuCekani("no question whether to end installed", name, [] { NastavUkonceni({}); });
    CpuCekani("a Boolean question only (no descriptor)", name, [] { NastavUkonceni([] { return false; }); });
    const TBudik budik;  // as the device worker and the command-line tool install it
    CpuCekani("a question with its descriptor", name, [&] { NastavUkonceni([] { return false; }, budik.Popisovac()); });
    close(slave);
    close(master);
    return 0;
}
