// Throughput of the TFTP client against tftpd-hpa on loopback, next to curl
// doing the same transfers against the same server in the same run: a 2 MiB
// file read and written at 1500- and 512-byte blocks (the server's -B limit
// and curl's --tftp-blksize). Each figure is the median of several runs;
// every transfer is byte-compared. Needs root (tftpd-hpa drops to nobody).
//
// curl's times include starting its process; the start-up time of a bare
// "curl --version" is printed so that it can be taken into account.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

#include "../tests/interop/support/TftpHpaServer.h"
#include "M_TFTP.h"

extern char** environ;

namespace {

using TBajty = std::vector<std::uint8_t>;
using vk::test::TftpHpaServer;

constexpr std::size_t Velikost = 2 * 1024 * 1024;
constexpr int Opakovani = 5;

double Ted()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

TBajty Nacti(const std::filesystem::path& cesta)
{
    std::ifstream f(cesta, std::ios::binary);
    return TBajty(std::istreambuf_iterator<char>(f), {});
}

void Uloz(const std::filesystem::path& cesta, const TBajty& obsah)
{
    std::ofstream(cesta, std::ios::binary)
        .write(reinterpret_cast<const char*>(obsah.data()), static_cast<std::streamsize>(obsah.size()));
}

bool Spust(const std::vector<std::string>& argumenty)
{
    std::vector<char*> argv;
    for (const auto& a : argumenty)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t akce;
    posix_spawn_file_actions_init(&akce);
    posix_spawn_file_actions_addopen(&akce, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int chyba = posix_spawnp(&pid, argv[0], &akce, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&akce);
    if (chyba != 0)
        return false;
    int stav = 0;
    waitpid(pid, &stav, 0);
    return WIFEXITED(stav) && WEXITSTATUS(stav) == 0;
}

struct TMereni {
    double Nase = 0;  // seconds, median
    double Curl = 0;
    bool Spravne = true;
};

TMereni Cteni(TftpHpaServer& hpa, vk::link::TTFTP& tftp, int blok, const TBajty& obsah,
              const std::filesystem::path& mistni)
{
    TMereni m;
    std::vector<double> nase;
    std::vector<double> curl;
    for (int i = 0; i < Opakovani; ++i) {
        std::filesystem::remove(mistni);
        double t = Ted();
        const bool ok = vk::link::PrectiDoSouboru(tftp, mistni.string(), "zdroj.bin");
        nase.push_back(Ted() - t);
        m.Spravne = m.Spravne && ok && Nacti(mistni) == obsah;

        std::filesystem::remove(mistni);
        t = Ted();
        const bool okCurl =
            Spust({"curl", "-s", "--tftp-blksize", std::to_string(blok), hpa.Url("zdroj.bin"), "-o", mistni.string()});
        curl.push_back(Ted() - t);
        m.Spravne = m.Spravne && okCurl && Nacti(mistni) == obsah;
    }
    m.Nase = Median(nase);
    m.Curl = Median(curl);
    return m;
}

TMereni Zapis(TftpHpaServer& hpa, vk::link::TTFTP& tftp, int blok, const TBajty& obsah,
              const std::filesystem::path& mistni)
{
    TMereni m;
    Uloz(mistni, obsah);
    std::vector<double> nase;
    std::vector<double> curl;
    for (int i = 0; i < Opakovani; ++i) {
        double t = Ted();
        const bool ok = vk::link::ZapisZeSouboru(tftp, mistni.string(), "nase.bin");
        nase.push_back(Ted() - t);
        m.Spravne = m.Spravne && ok && hpa.Nacti("nase.bin") == obsah;

        t = Ted();
        const bool okCurl =
            Spust({"curl", "-s", "--tftp-blksize", std::to_string(blok), "-T", mistni.string(), hpa.Url("curl.bin")});
        curl.push_back(Ted() - t);
        m.Spravne = m.Spravne && okCurl && hpa.Nacti("curl.bin") == obsah;
    }
    m.Nase = Median(nase);
    m.Curl = Median(curl);
    return m;
}

// ratio: our throughput over curl's; without start-up: curl's time less
// its process start-up.
void Vypis(const char* smer, int blok, const TMereni& m, double startCurl)
{
    const double mib = static_cast<double>(Velikost) / (1024.0 * 1024.0);
    std::printf("%-6s blksize %4d   ours %7.1f ms %6.2f MiB/s   curl %7.1f ms %6.2f MiB/s   ratio %.2f"
                "   without start-up %.2f%s\n",
                smer, blok, m.Nase * 1000, mib / m.Nase, m.Curl * 1000, mib / m.Curl, m.Curl / m.Nase,
                (m.Curl - startCurl) / m.Nase, m.Spravne ? "" : "   TRANSFER MISMATCH");
}

}  // namespace

int main()
{
    if (!TftpHpaServer::JeRoot() || !TftpHpaServer::JeNainstalovan()) {
        std::printf("needs root and %s (tftpd-hpa runs only when started as root)\n", TftpHpaServer::Program);
        return 1;
    }
    TBajty obsah(Velikost);
    std::uint32_t x = 0x7316;
    for (auto& b : obsah) {
        x = x * 1664525u + 1013904223u;
        b = static_cast<std::uint8_t>(x >> 24);
    }

    std::vector<double> start;
    for (int i = 0; i < Opakovani; ++i) {
        const double t = Ted();
        Spust({"curl", "-s", "--version"});
        start.push_back(Ted() - t);
    }
    std::printf("2 MiB over loopback to tftpd-hpa, median of %d runs; ratio = our throughput / curl's\n", Opakovani);
    const double startCurl = Median(start);
    std::printf("curl process start-up (curl --version): %.1f ms\n", startCurl * 1000);

    bool vse = true;
    for (const int blok : {1500, 512}) {
        TftpHpaServer hpa;
        std::string chyba;
        if (!hpa.Spust("127.0.0.1", blok, chyba)) {
            std::printf("tftpd-hpa did not start: %s\n", chyba.c_str());
            return 1;
        }
        hpa.Uloz("zdroj.bin", obsah);
        vk::link::TTFTP tftp;
        vk::link::InicializujTFTP(tftp, hpa.Adresa(), 0, 2000, 3);
        const auto mistni = hpa.Slozka().parent_path() / "local.bin";
        const TMereni cteni = Cteni(hpa, tftp, blok, obsah, mistni);
        const TMereni zapis = Zapis(hpa, tftp, blok, obsah, mistni);
        Vypis("read", blok, cteni, startCurl);
        Vypis("write", blok, zapis, startCurl);
        vse = vse && cteni.Spravne && zapis.Spravne;
        hpa.Zastav();
    }
    return vse ? 0 : 1;
}
