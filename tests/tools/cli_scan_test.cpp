// scan: the search for the module on a pseudo-terminal, with the simulator
// set to settings other than the tool's defaults, and on a pty nobody
// answers.
#include <gtest/gtest.h>

#include <pty.h>
#include <unistd.h>

#include <chrono>

#include "Simulator.h"
#include "cli_spusteni.h"

using namespace clitest;

namespace {

// The rate, the odd parity and an address that is not the default all have
// to be found, the address taken from the settings file next to the tool
// and the port from its [Porty] section. Catches a search that stops at the
// first rate or parity, ignores the settings file, or prints other fields.
TEST(cli_Scan, FindsTheModulesRateParityAndAddress)
{
    TDocasnaSlozka slozka;
    vk::sim::TSimulator sim;
    vk::sim::TNastaveniSimulatoru n;
    n.SpustitLan = false;
    n.Pty = slozka / "pty";
    n.KodBaud = 5;
    n.KodParita = 2;
    n.Adresa = 17;
    std::string chyba;
    ASSERT_TRUE(sim.Spust(n, chyba)) << chyba;
    TVolbySpusteni volby;
    volby.Program = slozka / "vk7316r";
    std::filesystem::copy_file(VK7316R_CESTA, volby.Program);
    std::filesystem::permissions(volby.Program, std::filesystem::perms::owner_all);
    const std::string ini = "[Rozhraní]\nRozhraní=0\n[UART]\nAdresa=17\n[Porty]\nCOM7=" + slozka / "pty" + "\n";
    ZapisBajty(slozka / "W_vk7316r.ini", Bajty(ini.begin(), ini.end()));

    const TVysledek v = Spust({"--serial", "COM7", "scan"}, volby);
    ASSERT_EQ(v.Kod, 0) << v.Chyby;
    EXPECT_EQ(v.Vystup, "Rychlost=19200\nParita=odd\nAdresa=17\nTypModulu=VK-7316R\nVerzeModulu=1.00\n"
                        "VyrCislo=23110042\nTypVerze=VK-7316R  v.1.00\n");
    const TVysledek j = Spust({"--serial", "COM7", "scan", "--json"}, volby);
    ASSERT_EQ(j.Kod, 0) << j.Chyby;
    EXPECT_EQ(j.Vystup, "{\"Rychlost\":19200,\"Parita\":\"odd\",\"Moduly\":[{\"Adresa\":17,\"TypModulu\":\"VK-7316R\","
                        "\"VerzeModulu\":\"1.00\",\"VyrCislo\":\"23110042\",\"TypVerze\":\"VK-7316R  v.1.00\"}]}\n");
}

// The search opens the port with the connection's own options: catches a
// search that leaves the echo removal (or the RS-485 mode, opened the same
// way) behind and so finds nothing behind an adapter that echoes; and, with
// the removal off, one that takes the echo of a request at a wrong rate (a
// valid frame of zero bytes) for a module found at 2400 Bd.
TEST(cli_Scan, FindsTheModuleBehindAnEchoUnlessRemovalIsOff)
{
    TDocasnaSlozka slozka;
    vk::sim::TSimulator sim;
    vk::sim::TNastaveniSimulatoru n;
    n.SpustitLan = false;
    n.Pty = slozka / "pty";
    n.KodBaud = 5;
    n.KodParita = 2;
    n.Ozvena = true;
    std::string chyba;
    ASSERT_TRUE(sim.Spust(n, chyba)) << chyba;
    const std::string pty = slozka / "pty";

    const TVysledek v = Spust({"--serial", pty, "--address", "247", "scan"});
    ASSERT_EQ(v.Kod, 0) << v.Chyby;
    EXPECT_EQ(v.Vystup.substr(0, 29), "Rychlost=19200\nParita=odd\nAdr");
    const TVysledek bez = Spust({"--serial", pty, "--address", "247", "--no-echo-removal", "scan"}, SLimitem(30000));
    EXPECT_EQ(bez.Kod, 1) << bez.Vystup;
    EXPECT_EQ(bez.Chyby, "vk7316r: Modul nenalezen (adresa 247, 2400 až 115200 Bd, každá parita)\n");
}

// 21 silent tries of 50 ms to 167 ms take about 1.5 s; a search that waited
// the configured time-out (330 ms) at each would take 7 s, and one that
// never gave up would hit the limit.
TEST(cli_Scan, NothingAnswersInBoundedTime)
{
    int master = -1;
    int slave = -1;
    char jmeno[256] = {};
    ASSERT_EQ(::openpty(&master, &slave, jmeno, nullptr, nullptr), 0);
    ::close(slave);
    const auto start = std::chrono::steady_clock::now();
    const TVysledek v = Spust({"--serial", jmeno, "--address", "5", "scan"}, SLimitem(30000));
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    ::close(master);
    EXPECT_EQ(v.Kod, 1) << v.Chyby;
    EXPECT_EQ(v.Chyby, "vk7316r: Modul nenalezen (adresa 5, 2400 až 115200 Bd, každá parita)\n");
    EXPECT_TRUE(v.Vystup.empty()) << v.Vystup;
    EXPECT_LT(ms.count(), 6000);
}

}  // namespace
