// --trace against the simulator: the lines of a known exchange on each link
// with the time column masked (its order checked instead), and the refusal
// of a trace that cannot be written.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "Simulator.h"
#include "cli_spusteni.h"

using namespace clitest;

namespace {

// The lines of a trace with the time replaced by "T"; the times must not go
// back (a clock restarted per line or per link would).
std::vector<std::string> Radky(const std::string& soubor)
{
    std::ifstream f(soubor);
    std::vector<std::string> radky;
    long long posledni = -1;
    for (std::string r; std::getline(f, r);) {
        const auto mezera = r.find(' ');
        const long long us = std::stoll(r.substr(0, mezera));
        EXPECT_GE(us, posledni) << r;
        posledni = us;
        radky.push_back("T" + r.substr(mezera));
    }
    return radky;
}

const std::string Rrq = "00 01 69 6e 66 6f 2e 74 78 74 00 6f 63 74 65 74 00 62 6c 6b 73 69 7a 65 00 31 35 30 30 00 "
                        "74 73 69 7a 65 00 30 00 | RRQ file \"info.txt\", mode octet, options blksize=1500 tsize=0";

// A datagram missing from the trace, a direction swapped, the decoding of
// the OACK or DATA wrong.
TEST(cli_Stopa, CteniPresLan)
{
    vk::sim::TNastaveniSimulatoru n;
    n.SpustitSerial = false;
    vk::sim::TSimulator sim;
    std::string chyba;
    ASSERT_TRUE(sim.Spust(n, chyba)) << chyba;
    TDocasnaSlozka slozka;
    const TVysledek v = Spust({"--lan", sim.AdresaLan(), "--trace", slozka / "t", "read", "info.txt"});
    ASSERT_EQ(v.Kod, 0) << v.Chyby;
    const auto info = sim.Soubor("info.txt");
    ASSERT_EQ(info.size(), 29u);
    // A DATA payload is shown by its first 16 bytes.
    std::string data;
    for (std::size_t i = 0; i < 16; ++i) {
        static const char hex[] = "0123456789abcdef";
        data += std::string(" ") + hex[info[i] >> 4] + hex[info[i] & 15];
    }
    const std::vector<std::string> ocekavane = {
        "T sent TFTP " + Rrq,
        "T received TFTP 00 06 62 6c 6b 73 69 7a 65 00 31 35 30 30 00 74 73 69 7a 65 00 32 39 00 | OACK "
        "blksize=1500 tsize=29",
        "T sent TFTP 00 04 00 00 | ACK block 0",
        "T received TFTP 00 03 00 01" + data + " ... | DATA block 1, 29 bytes",
        "T sent TFTP 00 04 00 01 | ACK block 1",
    };
    const auto radky = Radky(slozka / "t");
    ASSERT_GE(radky.size(), ocekavane.size());
    for (std::size_t i = 0; i < ocekavane.size(); ++i)
        EXPECT_EQ(radky[i], ocekavane[i]);
}

// The echo event missing or placed after the reply, the echo's bytes left
// in the received frame, the CRC judged wrong.
TEST(cli_Stopa, IdentifikacePresSeriovouLinkuSOzvenou)
{
    TDocasnaSlozka slozka;
    vk::sim::TNastaveniSimulatoru n;
    n.SpustitLan = false;
    n.Pty = slozka / "pty";
    n.Ozvena = true;
    vk::sim::TSimulator sim;
    std::string chyba;
    ASSERT_TRUE(sim.Spust(n, chyba)) << chyba;
    const TVysledek v = Spust({"--serial", slozka / "pty", "--parity", "none", "--trace", slozka / "t", "identify"});
    ASSERT_EQ(v.Kod, 0) << v.Chyby;
    const std::vector<std::string> ocekavane = {
        "T sent RTU f7 45 00 08 f7 c8 00 00 00 00 00 00 f6 6b | address 247, function 0x45, embedded 8 bytes, CRC ok",
        "T event RTU - | echo of the request dropped, 14 bytes",
        "T received RTU f7 45 00 08 f7 c8 00 04 56 4b 2d 37 3a b3 | address 247, function 0x45, embedded 8 bytes, "
        "CRC ok",
    };
    const auto radky = Radky(slozka / "t");
    ASSERT_EQ(radky.size() % 3, 0u);
    for (std::size_t i = 0; i < ocekavane.size(); ++i)
        EXPECT_EQ(radky.at(i), ocekavane[i]);
}

// A trace that cannot be written: the command must stop before any traffic
// with the path and the system's reason, not run on without a trace.
TEST(cli_Stopa, NezapisovatelnaCestaJeChybaPouziti)
{
    TDocasnaSlozka slozka;
    const std::string cesta = slozka / "chybi/t";
    const TVysledek v = Spust({"--lan", "127.0.0.1:9", "--trace", cesta, "identify"});
    EXPECT_EQ(v.Kod, 2);
    EXPECT_EQ(v.Chyby, "vk7316r: cannot write the trace " + cesta + ": No such file or directory\n");
}

}  // namespace
