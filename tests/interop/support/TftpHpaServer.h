#pragma once
// Starts Debian's tftpd-hpa in the foreground on a free loopback port over a
// fresh temporary folder, waits until it answers, and stops it (its whole
// process group) again. Used by the interop tests and the throughput
// benchmark; header only, so that both can take it without a library.
//
// tftpd-hpa 5.2 gives up its privileges to the -u user only when started as
// root; as anyone else it refuses to run, so callers check JeRoot() first.
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "UdpSocket.h"

namespace vk::test {

class TftpHpaServer {
public:
    static constexpr const char* Program = "/usr/sbin/in.tftpd";

    static bool JeRoot() { return geteuid() == 0; }
    static bool JeNainstalovan() { return access(Program, X_OK) == 0; }

    TftpHpaServer() = default;
    TftpHpaServer(const TftpHpaServer&) = delete;
    TftpHpaServer& operator=(const TftpHpaServer&) = delete;
    ~TftpHpaServer()
    {
        Zastav();
        std::error_code e;
        if (!koren_.empty())
            std::filesystem::remove_all(koren_, e);
    }

    // host "127.0.0.1" or "::1"; `blok` is the server's largest block (-B).
    bool Spust(const std::string& host, int blok, std::string& chyba)
    {
        host_ = host;
        if (koren_.empty() && !VytvorSlozku(chyba))
            return false;
        // A free port can be taken by someone else before the server binds
        // it; then the server exits at once and another port is tried.
        for (int pokus = 0; pokus < 5; ++pokus) {
            if (!NajdiVolnyPort(chyba))
                return false;
            if (!SpustProces(blok, chyba))
                return false;
            if (CekejNaOdpoved(3000))
                return true;
            Zastav();
        }
        chyba = "in.tftpd did not answer on " + Adresa() + ": " + Log();
        return false;
    }

    // Stops the server and every transfer process it forked.
    void Zastav()
    {
        if (pid_ <= 0)
            return;
        kill(-pid_, SIGTERM);
        int stav = 0;
        bool skoncil = false;
        for (int i = 0; i < 200 && !skoncil; ++i) {
            skoncil = waitpid(pid_, &stav, WNOHANG) == pid_;
            if (!skoncil)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (!skoncil) {
            kill(-pid_, SIGKILL);
            waitpid(pid_, &stav, 0);
        }
        kill(-pid_, SIGKILL);  // a transfer child still running
        pid_ = -1;
    }

    bool Bezi() const { return pid_ > 0; }
    std::uint16_t Port() const { return port_; }
    // The module address text the client takes: "127.0.0.1:PORT" or "[::1]:PORT".
    std::string Adresa() const
    {
        const bool v6 = host_.find(':') != std::string::npos;
        return (v6 ? "[" + host_ + "]" : host_) + ":" + std::to_string(port_);
    }
    std::string Url(const std::string& soubor) const { return "tftp://" + Adresa() + "/" + soubor; }
    const std::filesystem::path& Slozka() const { return slozka_; }

    // A file in the served folder that the server (running as nobody) may
    // read and overwrite.
    void Uloz(const std::string& soubor, const std::vector<std::uint8_t>& obsah) const
    {
        const auto cesta = slozka_ / soubor;
        std::ofstream(cesta, std::ios::binary)
            .write(reinterpret_cast<const char*>(obsah.data()), static_cast<std::streamsize>(obsah.size()));
        chmod(cesta.c_str(), 0666);
    }

    std::vector<std::uint8_t> Nacti(const std::string& soubor) const
    {
        std::ifstream f(slozka_ / soubor, std::ios::binary);
        return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(f), {});
    }

    std::string Log() const
    {
        std::ifstream f(log_);
        std::stringstream s;
        s << f.rdbuf();
        return s.str();
    }

private:
    bool VytvorSlozku(std::string& chyba)
    {
        std::string vzor = (std::filesystem::temp_directory_path() / "vk-tftpd-XXXXXX").string();
        if (mkdtemp(vzor.data()) == nullptr) {
            chyba = "mkdtemp failed";
            return false;
        }
        koren_ = vzor;
        slozka_ = koren_ / "srv";
        log_ = koren_ / "in.tftpd.log";
        std::filesystem::create_directory(slozka_);
        // The server runs as nobody and must reach, read and create files here.
        chmod(koren_.c_str(), 0755);
        chmod(slozka_.c_str(), 0777);
        return true;
    }

    bool NajdiVolnyPort(std::string& chyba)
    {
        vk::link::TAdresaUdp a;
        vk::link::UdpSocket s;
        if (!vk::link::NajdiAdresu(host_, 0, host_ == "::1", a, chyba) || !s.OtevriNa(a, chyba))
            return false;
        port_ = s.MistniAdresa().Port();
        return true;
    }

    bool SpustProces(int blok, std::string& chyba)
    {
        const std::string adresa = Adresa();
        const std::string bloky = std::to_string(blok);
        const std::string slozka = slozka_.string();
        const std::string log = log_.string();
        std::vector<const char*> argv = {Program, "-L",     "-a", adresa.c_str(), "-s",           "-c",
                                         "-u",    "nobody", "-B", bloky.c_str(),  slozka.c_str(), nullptr};
        const pid_t rodic = getpid();
        pid_ = fork();
        if (pid_ < 0) {
            chyba = "fork failed";
            return false;
        }
        if (pid_ == 0) {
            setpgid(0, 0);
            // Dies with the test even when the test itself crashes.
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (getppid() != rodic)
                _exit(127);
            const int nic = open("/dev/null", O_RDONLY);
            const int vystup = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
            if (nic >= 0)
                dup2(nic, 0);
            if (vystup >= 0) {
                dup2(vystup, 1);
                dup2(vystup, 2);
            }
            execv(Program, const_cast<char* const*>(argv.data()));
            _exit(127);
        }
        setpgid(pid_, pid_);
        return true;
    }

    // A read request for a file that is not there: any answer means the
    // server is up.
    bool CekejNaOdpoved(int ms)
    {
        vk::link::TAdresaUdp server;
        vk::link::UdpSocket s;
        std::string chyba;
        if (!vk::link::NajdiAdresu(Adresa(), 69, host_ == "::1", server, chyba) || !s.Otevri(server, chyba))
            return false;
        static const char zadost[] = "\0\1vk-probe-absent\0octet";
        const auto zacatek = std::chrono::steady_clock::now();
        while (std::chrono::steady_clock::now() - zacatek < std::chrono::milliseconds(ms)) {
            int stav = 0;
            if (waitpid(pid_, &stav, WNOHANG) == pid_) {
                pid_ = -1;
                return false;
            }
            s.Posli(server, reinterpret_cast<const std::uint8_t*>(zadost), sizeof zadost);
            std::uint8_t buf[600];
            vk::link::TAdresaUdp od;
            if (s.Prijmi(buf, sizeof buf, 100, od) >= 4)
                return true;
        }
        return false;
    }

    std::string host_;
    std::uint16_t port_ = 0;
    pid_t pid_ = -1;
    std::filesystem::path koren_;
    std::filesystem::path slozka_;
    std::filesystem::path log_;
};

}  // namespace vk::test
