// get and put against Debian's tftpd-hpa on loopback: another TFTP peer than
// the simulator, so a quirk shared by the client and the simulator cannot
// hide. The server runs in the foreground on a free port over a temporary
// folder and is stopped after every test. It needs root (it drops to
// "nobody" itself); without root the tests are skipped.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <sstream>
#include <thread>

#include "cli_spusteni.h"

using namespace clitest;

namespace {

constexpr const char* Tftpd = "/usr/sbin/in.tftpd";

// A UDP port on 127.0.0.1 that was free a moment ago.
std::uint16_t VolnyPort()
{
    const int s = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t delka = sizeof a;
    std::uint16_t port = 0;
    if (s >= 0 && ::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
        ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &delka) == 0) {
        port = ntohs(a.sin_port);
    }
    if (s >= 0)
        ::close(s);
    return port;
}

// True once someone holds the port (the server has bound it).
bool PortObsazen(std::uint16_t port)
{
    const int s = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(port);
    const bool obsazen = s >= 0 && ::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 && errno == EADDRINUSE;
    if (s >= 0)
        ::close(s);
    return obsazen;
}

// True while some process has `rodic` as its parent: the server forks one
// child per transfer, which lingers a moment after the last packet.
bool MaPotomky(pid_t rodic)
{
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator("/proc", ec)) {
        std::ifstream f(e.path() / "stat");
        std::string stat;
        if (!std::getline(f, stat))
            continue;
        const auto zavorka = stat.rfind(')');
        if (zavorka == std::string::npos)
            continue;
        std::istringstream zbytek(stat.substr(zavorka + 2));
        char stav = 0;
        pid_t ppid = 0;
        if (zbytek >> stav >> ppid && ppid == rodic)
            return true;
    }
    return false;
}

class cli_Tftpd : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (::geteuid() != 0)
            GTEST_SKIP() << "in.tftpd needs root to bind and drop to nobody; not root";
        if (!std::filesystem::exists(Tftpd))
            GTEST_SKIP() << Tftpd << " is not installed (package tftpd-hpa)";
        ASSERT_EQ(::chmod(koren.Cesta().c_str(), 0777), 0);
        const std::string info = "VK-7316R v.1.00 (sn.31415926)";
        ZapisBajty(koren / "info.txt", Bajty(info.begin(), info.end()));
        port = VolnyPort();
        ASSERT_NE(port, 0);
        const std::string adresa = "127.0.0.1:" + std::to_string(port);
        std::vector<std::string> a = {Tftpd, "-L",     "-a", adresa, "-s",         "-c",
                                      "-u",  "nobody", "-B", "1500", koren.Cesta()};
        std::vector<char*> argv;
        for (std::string& s : a)
            argv.push_back(s.data());
        argv.push_back(nullptr);
        server = ::fork();
        if (server == 0) {
            const int nic = ::open("/dev/null", O_RDWR);
            ::dup2(nic, 0);
            ::dup2(nic, 1);
            ::dup2(nic, 2);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        ASSERT_GT(server, 0);
        for (int i = 0; i < 150 && !PortObsazen(port); ++i) {
            ASSERT_TRUE(Bezi()) << "in.tftpd ended at once";
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        ASSERT_TRUE(PortObsazen(port)) << "in.tftpd did not bind " << adresa;
        // Someone else may have taken the port meanwhile; a server that
        // could not bind it ends at once, so it must still be running.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        ASSERT_TRUE(Bezi()) << "in.tftpd could not bind " << adresa;
        lan = adresa;
    }

    // True while the server runs; once it has ended (and is reaped) it is
    // forgotten, so its process id is never signalled again.
    bool Bezi()
    {
        int stav = 0;
        if (server > 0 && ::waitpid(server, &stav, WNOHANG) == server)
            server = -1;
        return server > 0;
    }

    void TearDown() override
    {
        if (server <= 0)
            return;
        // Stopping the server while a transfer child still runs would leave
        // that child orphaned.
        for (int i = 0; i < 300 && MaPotomky(server); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ::kill(server, SIGTERM);
        int stav = 0;
        for (int i = 0; i < 100; ++i) {
            if (::waitpid(server, &stav, WNOHANG) == server)
                return;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ::kill(server, SIGKILL);
        ::waitpid(server, &stav, 0);
    }

    TVysledek Cli(std::vector<std::string> argumenty)
    {
        argumenty.insert(argumenty.begin(), {"--lan", lan});
        return Spust(argumenty);
    }

    TDocasnaSlozka koren;   // the server's folder
    TDocasnaSlozka mistni;  // the tool's side
    pid_t server = -1;
    std::uint16_t port = 0;
    std::string lan;
};

TEST_F(cli_Tftpd, IdentifyZInfoTxt)
{
    const TVysledek v = Cli({"identify"});
    ASSERT_EQ(v.Kod, 0) << v.Chyby;
    EXPECT_EQ(v.Vystup, "TypModulu=VK-7316R\nVerzeModulu=1.00\nVyrCislo=31415926\nTypVerze=VK-7316R  v.1.00\n");
}

class cli_TftpdPrenos : public cli_Tftpd, public ::testing::WithParamInterface<std::size_t> {};

TEST_P(cli_TftpdPrenos, PutAGetTamAZpet)
{
    const std::size_t velikost = GetParam();
    const std::string nazev = "data" + std::to_string(velikost) + ".bin";
    const Bajty data = Vzorek(velikost, 11);
    ZapisBajty(mistni / "ven.bin", data);
    const TVysledek p = Cli({"put", nazev, mistni / "ven.bin"});
    ASSERT_EQ(p.Kod, 0) << p.Chyby;
    ASSERT_TRUE(std::filesystem::exists(koren / nazev));
    EXPECT_EQ(NactiBajty(koren / nazev), data);

    const TVysledek g = Cli({"get", nazev, mistni / "zpet.bin"});
    ASSERT_EQ(g.Kod, 0) << g.Chyby;
    ASSERT_TRUE(std::filesystem::exists(mistni / "zpet.bin"));
    EXPECT_EQ(NactiBajty(mistni / "zpet.bin"), data);
}

// 0 bytes, one block less than the 1500-byte block size, exactly one block
// (ends with an empty DATA), and 2 MiB.
INSTANTIATE_TEST_SUITE_P(cli, cli_TftpdPrenos, ::testing::Values(0u, 1499u, 1500u, 2u * 1024 * 1024),
                         [](const auto& info) { return "Bajtu" + std::to_string(info.param); });

TEST_F(cli_Tftpd, ChybejiciSouborJeChybaSpojeni)
{
    const TVysledek v = Cli({"get", "nosuch.bin", mistni / "x.bin"});
    EXPECT_EQ(v.Kod, 1);
    EXPECT_EQ(v.Chyby,
              "vk7316r: nosuch.bin: Chyba spojení\nvk7316r: modul odmítl přenos: ERROR 1 \"File not found\"\n");
    EXPECT_FALSE(std::filesystem::exists(mistni / "x.bin"));
}

}  // namespace
