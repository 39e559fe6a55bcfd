// Starting and stopping the simulator (promptly, repeatedly, after a failed
// start), its pty symlink, its command line and the executable's life.
#include <gtest/gtest.h>

#include <climits>
#include <csignal>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "ArgumentySim.h"
#include "Simulator.h"
#include "sim_test_klient.h"

using namespace simtest;
using vk::sim::TPorucha;

namespace {

std::string Docasna(const char* jmeno)
{
    return std::string("/tmp/vk-sim-beh-") + std::to_string(::getpid()) + "-" + jmeno;
}

TEST(simBeh, StartsAndStopsPromptlyAgainAndAgain)
{
    vk::sim::TSimulator sim;
    for (int i = 0; i < 8; ++i) {
        vk::sim::TNastaveniSimulatoru n;
        std::string chyba;
        ASSERT_TRUE(sim.Spust(n, chyba)) << i << ": " << chyba;
        ASSERT_TRUE(sim.Bezi());
        TTftpKlient k(sim.PortLan());
        EXPECT_TRUE(k.Cti("mbtcp.cfg").Ok) << i;
        const auto start = std::chrono::steady_clock::now();
        sim.Zastav();
        EXPECT_LT(Ms(start), 200) << i;
        EXPECT_FALSE(sim.Bezi());
        EXPECT_EQ(sim.PortLan(), 0);
        EXPECT_TRUE(sim.CestaSerial().empty());
    }
    sim.Zastav();  // stopping a stopped simulator is harmless
}

TEST(simBeh, SecondStartWhileRunningIsRefused)
{
    vk::sim::TSimulator sim;
    vk::sim::TNastaveniSimulatoru n;
    std::string chyba;
    ASSERT_TRUE(sim.Spust(n, chyba)) << chyba;
    const std::uint16_t port = sim.PortLan();
    EXPECT_FALSE(sim.Spust(n, chyba));
    EXPECT_FALSE(chyba.empty());
    EXPECT_EQ(sim.PortLan(), port);
}

struct TSpatnyStart {
    const char* popis;
    const char* lan;
    std::uint8_t adresa;
};

class simSpatnyStart : public ::testing::TestWithParam<TSpatnyStart> {};

TEST_P(simSpatnyStart, FailsWithAReasonAndLeavesNothingRunning)
{
    vk::sim::TNastaveniSimulatoru n;
    n.Lan = GetParam().lan;
    n.Adresa = GetParam().adresa;
    n.SpustitSerial = false;
    vk::sim::TSimulator sim;
    std::string chyba;
    EXPECT_FALSE(sim.Spust(n, chyba)) << GetParam().popis;
    EXPECT_FALSE(chyba.empty()) << GetParam().popis;
    EXPECT_FALSE(sim.Bezi());
    // A sound start still works afterwards.
    n.Lan = "127.0.0.1:0";
    n.Adresa = 247;
    EXPECT_TRUE(sim.Spust(n, chyba)) << chyba;
}

INSTANTIATE_TEST_SUITE_P(Nastaveni, simSpatnyStart,
                         ::testing::Values(TSpatnyStart{"port out of range", "127.0.0.1:70000", 247},
                                           TSpatnyStart{"no host", ":69", 247},
                                           TSpatnyStart{"address not of this machine", "192.0.2.1:0", 247},
                                           TSpatnyStart{"address 0", "127.0.0.1:0", 0}));

TEST(simBeh, BoundPortIsTakenOnlyOnce)
{
    vk::sim::TSimulator prvni, druhy;
    vk::sim::TNastaveniSimulatoru n;
    n.SpustitSerial = false;
    std::string chyba;
    ASSERT_TRUE(prvni.Spust(n, chyba)) << chyba;
    n.Lan = prvni.AdresaLan();
    EXPECT_FALSE(druhy.Spust(n, chyba));
}

TEST(simBeh, ServesIpv6Loopback)
{
    vk::sim::TNastaveniSimulatoru n;
    n.Lan = "[::1]:0";
    n.SpustitSerial = false;
    vk::sim::TSimulator sim;
    std::string chyba;
    if (!sim.Spust(n, chyba))
        GTEST_SKIP() << "no IPv6 loopback here: " << chyba;
    EXPECT_EQ(sim.AdresaLan(), "[::1]:" + std::to_string(sim.PortLan()));
}

TEST(simBeh, PtySymlinkPointsAtTheSlaveAndGoesAwayAtStop)
{
    const std::string odkaz = Docasna("pty");
    ::unlink(odkaz.c_str());
    vk::sim::TNastaveniSimulatoru n;
    n.SpustitLan = false;
    n.Pty = odkaz;
    n.KodBaud = 8;
    vk::sim::TSimulator sim;
    std::string chyba;
    ASSERT_TRUE(sim.Spust(n, chyba)) << chyba;
    EXPECT_EQ(sim.CestaSerial(), odkaz);
    char cil[PATH_MAX] = {};
    ASSERT_GT(::readlink(odkaz.c_str(), cil, sizeof cil - 1), 0);
    EXPECT_EQ(std::string(cil).rfind("/dev/pts/", 0), 0u) << cil;
    {
        // A client may close and reopen the port; the module stays reachable.
        TPtyKlient k(odkaz);
        EXPECT_EQ(k.Dotaz({247, 0x43, 0xFE, 22, 0, 0, 3}).size(), 8u);
    }
    TPtyKlient k(odkaz);
    EXPECT_EQ(k.Dotaz({247, 0x43, 0xFE, 22, 0, 0, 3}).size(), 8u);
    sim.Zastav();
    struct stat s {};
    EXPECT_NE(::lstat(odkaz.c_str(), &s), 0);
}

TEST(simBeh, PtyPathHeldByAnotherFileIsLeftAlone)
{
    const std::string cesta = Docasna("file");
    const int fd = ::open(cesta.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "x", 1), 1);
    ::close(fd);
    vk::sim::TNastaveniSimulatoru n;
    n.Pty = cesta;
    vk::sim::TSimulator sim;
    std::string chyba;
    EXPECT_FALSE(sim.Spust(n, chyba));
    EXPECT_NE(chyba.find(cesta), std::string::npos) << chyba;
    struct stat s {};
    ASSERT_EQ(::lstat(cesta.c_str(), &s), 0);
    EXPECT_TRUE(S_ISREG(s.st_mode));
    EXPECT_EQ(s.st_size, 1);
    ::unlink(cesta.c_str());
}

TEST(simBeh, StopsPromptlyWhileAClientIsInTheMiddleOfATransfer)
{
    vk::sim::TSimulator sim;
    vk::sim::TNastaveniSimulatoru n;
    std::string chyba;
    ASSERT_TRUE(sim.Spust(n, chyba)) << chyba;
    sim.NastavSoubor("fw.hbn", Bajty(5000, 1));
    TTftpKlient k(sim.PortLan());
    k.Posli(TTftpKlient::Pozadavek(1, "fw.hbn", {}), sim.PortLan());
    TPaket p;
    ASSERT_TRUE(k.Prijmi(p, 1000));
    TPtyKlient port(sim.CestaSerial());
    port.PosliSurove({247, 0x43});  // half a frame
    const auto start = std::chrono::steady_clock::now();
    sim.Zastav();
    EXPECT_LT(Ms(start), 200);
}

struct TArgumenty {
    std::vector<std::string> argv;
    bool platne;
};

class simArgumenty : public ::testing::TestWithParam<TArgumenty> {};

TEST_P(simArgumenty, AreTakenOrRefusedWithAMessage)
{
    vk::sim::TArgumentySim a;
    std::string chyba;
    EXPECT_EQ(vk::sim::RozeberArgumenty(GetParam().argv, a, chyba), GetParam().platne) << chyba;
    EXPECT_EQ(chyba.empty(), GetParam().platne) << chyba;
}

INSTANTIATE_TEST_SUITE_P(
    Prikazy, simArgumenty,
    ::testing::Values(TArgumenty{{}, true}, TArgumenty{{"--lan", "127.0.0.1:6969", "--no-serial"}, true},
                      TArgumenty{{"--pty", "/tmp/x", "--no-lan", "--address", "5", "--baud-code", "8"}, true},
                      TArgumenty{{"--fault", "ZadnaOdpoved", "--fault", "spatnecrc=3"}, true},
                      TArgumenty{{"--state", "/tmp/s", "--help"}, true}, TArgumenty{{"--lan"}, false},
                      TArgumenty{{"--address", "0"}, false}, TArgumenty{{"--address", "256"}, false},
                      TArgumenty{{"--address", "x"}, false}, TArgumenty{{"--baud-code", "9"}, false},
                      TArgumenty{{"--fault", "Nothing"}, false}, TArgumenty{{"--fault", "SpatneCRC=0"}, false},
                      TArgumenty{{"--fault", "SpatneCRC=x"}, false}, TArgumenty{{"--no-lan", "--no-serial"}, false},
                      TArgumenty{{"--bogus"}, false}, TArgumenty{{"--pty", ""}, false},
                      TArgumenty{{"--bursts", "62,16"}, true}, TArgumenty{{"--bursts", "62"}, false},
                      TArgumenty{{"--bursts", "0,16"}, false}, TArgumenty{{"--bursts", "62,x"}, false},
                      TArgumenty{{"--bursts", "62,1001"}, false}, TArgumenty{{"--log", "--no-serial"}, true},
                      TArgumenty{{"--fault", "PomalyZapis"}, true}, TArgumenty{{"--echo", "--no-lan"}, true},
                      TArgumenty{{"--echo=1"}, false}, TArgumenty{{"--drop", "client:700"}, true},
                      TArgumenty{{"--drop", "module:last"}, true}, TArgumenty{{"--drop", "client:0"}, false},
                      TArgumenty{{"--drop", "server:3"}, false}, TArgumenty{{"--drop", "module"}, false},
                      TArgumenty{{"--drop", "module:first"}, false}, TArgumenty{{"--drop"}, false}));

TEST(simArgumentyHodnoty, LandInTheSettings)
{
    vk::sim::TArgumentySim a;
    std::string chyba;
    ASSERT_TRUE(vk::sim::RozeberArgumenty({"--lan", "[::1]:5000", "--pty", "/tmp/p", "--state", "/tmp/s", "--address",
                                           "12", "--baud-code", "6", "--bursts", "62,16", "--fault", "JinyTyp",
                                           "--fault", "SpatneCRC=2", "--echo", "--drop", "client:700"},
                                          a, chyba))
        << chyba;
    EXPECT_EQ(a.Nastaveni.Lan, "[::1]:5000");
    EXPECT_EQ(a.Nastaveni.Pty, "/tmp/p");
    EXPECT_EQ(a.Nastaveni.SlozkaStavu, "/tmp/s");
    EXPECT_EQ(a.Nastaveni.Adresa, 12);
    EXPECT_EQ(a.Nastaveni.KodBaud, 6);
    EXPECT_EQ(a.Nastaveni.Davky.Bajtu, 62u);
    EXPECT_EQ(a.Nastaveni.Davky.PauzaMs, 16u);
    EXPECT_TRUE(a.Nastaveni.Ozvena);
    ASSERT_EQ(a.Poruchy.size(), 2u);
    EXPECT_EQ(a.Poruchy[0], std::make_pair(TPorucha::JinyTyp, 0u));
    EXPECT_EQ(a.Poruchy[1], std::make_pair(TPorucha::SpatneCRC, 2u));
    ASSERT_TRUE(a.Ztrata.has_value());
    EXPECT_TRUE(a.Ztrata->OdKlienta);
    EXPECT_EQ(a.Ztrata->Poradi, 700u);

    ASSERT_TRUE(vk::sim::RozeberArgumenty({"--drop", "module:last"}, a, chyba)) << chyba;
    ASSERT_TRUE(a.Ztrata.has_value());
    EXPECT_FALSE(a.Ztrata->OdKlienta);
    EXPECT_EQ(a.Ztrata->Poradi, 0u);
}

// The executable sits in the build tree beside the tests' folder.
std::string CestaProgramu()
{
    char cesta[PATH_MAX] = {};
    const ssize_t n = ::readlink("/proc/self/exe", cesta, sizeof cesta - 1);
    if (n <= 0)
        return {};
    std::string s(cesta, static_cast<std::size_t>(n));
    s = s.substr(0, s.rfind('/'));
    for (const char* kandidat : {"/../tools/sim/vk7316r-sim", "/../../tools/sim/vk7316r-sim"})
        if (::access((s + kandidat).c_str(), X_OK) == 0)
            return s + kandidat;
    return {};
}

struct TBeh {
    pid_t pid = -1;
    int vystup = -1;  // its stdout
};

TBeh SpustProgram(const std::vector<std::string>& argumenty)
{
    const std::string program = CestaProgramu();
    int roura[2];
    if (program.empty() || ::pipe(roura) != 0)
        return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(roura[1], 1);
        ::dup2(roura[1], 2);
        ::close(roura[0]);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const auto& a : argumenty)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(roura[1]);
    return {pid, roura[0]};
}

std::string CtiVystup(int fd, const std::string& dokud, int timeoutMs)
{
    std::string s;
    const auto start = std::chrono::steady_clock::now();
    while (s.find(dokud) == std::string::npos && Ms(start) < timeoutMs) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0)
            continue;
        char kus[512];
        const ssize_t n = ::read(fd, kus, sizeof kus);
        if (n <= 0)
            break;
        s.append(kus, static_cast<std::size_t>(n));
    }
    return s;
}

int Pockej(pid_t pid, int timeoutMs)
{
    const auto start = std::chrono::steady_clock::now();
    int stav = 0;
    while (Ms(start) < timeoutMs) {
        if (::waitpid(pid, &stav, WNOHANG) == pid)
            return WIFEXITED(stav) ? WEXITSTATUS(stav) : 128 + WTERMSIG(stav);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &stav, 0);
    return -1;
}

TEST(simProgram, PrintsItsAddressServesAndStopsCleanlyOnSigterm)
{
    const std::string odkaz = Docasna("exe-pty");
    TBeh b = SpustProgram({"--pty", odkaz, "--baud-code", "8"});
    if (b.pid < 0)
        GTEST_SKIP() << "vk7316r-sim not built beside the tests";
    const std::string vystup = CtiVystup(b.vystup, "State:", 3000);
    const auto lan = vystup.find("LAN: 127.0.0.1:");
    ASSERT_NE(lan, std::string::npos) << vystup;
    const int port = std::atoi(vystup.c_str() + lan + 15);
    ASSERT_GT(port, 0) << vystup;
    EXPECT_NE(vystup.find("Serial: " + odkaz), std::string::npos) << vystup;
    TTftpKlient k(static_cast<std::uint16_t>(port));
    EXPECT_EQ(k.Cti("info.txt").Data, Text("VK-7316R v.1.00 (sn.23110042)"));
    {
        TPtyKlient serial(odkaz);
        EXPECT_EQ(serial.Dotaz({247, 0x43, 0xFE, 22, 0, 0, 3}).size(), 8u);
    }
    ::kill(b.pid, SIGTERM);
    EXPECT_EQ(Pockej(b.pid, 2000), 0);
    ::close(b.vystup);
    struct stat s {};
    EXPECT_NE(::lstat(odkaz.c_str(), &s), 0);
}

TEST(simProgram, FaultFromTheCommandLineActs)
{
    TBeh b = SpustProgram({"--no-serial", "--fault", "JinaVerze"});
    if (b.pid < 0)
        GTEST_SKIP() << "vk7316r-sim not built beside the tests";
    const std::string vystup = CtiVystup(b.vystup, "Fault:", 3000);
    const auto lan = vystup.find("LAN: 127.0.0.1:");
    ASSERT_NE(lan, std::string::npos) << vystup;
    TTftpKlient k(static_cast<std::uint16_t>(std::atoi(vystup.c_str() + lan + 15)));
    EXPECT_EQ(k.Cti("info.txt").Data, Text("VK-7316R v.2.10 (sn.23110042)"));
    ::kill(b.pid, SIGINT);
    EXPECT_EQ(Pockej(b.pid, 2000), 0);
    ::close(b.vystup);
}

// --log prints a line for each transfer as it ends, at once (a script
// waits for them), with the bytes that went each way.
TEST(simProgram, LogPrintsEachTransferAsItEnds)
{
    TBeh b = SpustProgram({"--no-serial", "--log"});
    if (b.pid < 0)
        GTEST_SKIP() << "vk7316r-sim not built beside the tests";
    const std::string vystup = CtiVystup(b.vystup, "State:", 3000);
    const auto lan = vystup.find("LAN: 127.0.0.1:");
    ASSERT_NE(lan, std::string::npos) << vystup;
    TTftpKlient k(static_cast<std::uint16_t>(std::atoi(vystup.c_str() + lan + 15)));
    ASSERT_TRUE(k.Cti("info.txt").Ok);
    EXPECT_NE(CtiVystup(b.vystup, "\n", 2000).find("TFTP read info.txt: 29 B sent\n"), std::string::npos);
    ASSERT_TRUE(k.Zapis("mbtcp.cfg", SKontrolou({1, 60})).Ok);
    EXPECT_NE(CtiVystup(b.vystup, "\n", 2000).find("TFTP write mbtcp.cfg: 3 B stored\n"), std::string::npos);
    ::kill(b.pid, SIGTERM);
    EXPECT_EQ(Pockej(b.pid, 2000), 0);
    ::close(b.vystup);
}

struct TKodUkonceni {
    std::vector<std::string> argv;
    int kod;
    const char* text;
};

class simProgramKody : public ::testing::TestWithParam<TKodUkonceni> {};

TEST_P(simProgramKody, ExitCodeAndMessage)
{
    TBeh b = SpustProgram(GetParam().argv);
    if (b.pid < 0)
        GTEST_SKIP() << "vk7316r-sim not built beside the tests";
    const std::string vystup = CtiVystup(b.vystup, "\x01", 2000);  // to the end of its output
    EXPECT_EQ(Pockej(b.pid, 2000), GetParam().kod) << vystup;
    EXPECT_NE(vystup.find(GetParam().text), std::string::npos) << vystup;
    ::close(b.vystup);
}

INSTANTIATE_TEST_SUITE_P(Prikazy, simProgramKody,
                         ::testing::Values(TKodUkonceni{{"--help"}, 0, "Usage: vk7316r-sim"},
                                           TKodUkonceni{{"--address", "300"}, 2, "--address must be"},
                                           TKodUkonceni{{"--frobnicate"}, 2, "Unknown argument"},
                                           TKodUkonceni{{"--lan", "127.0.0.1:99999"}, 1, "127.0.0.1:99999"}));

}  // namespace
