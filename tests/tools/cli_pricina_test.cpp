// Why a command failed, on the line after the status text: each of the
// simulator's faults on each link has a cause of its own, while the status
// text stays the one the windows show.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "Simulator.h"
#include "cli_spusteni.h"

using namespace clitest;

namespace {

using vk::sim::TPorucha;

struct TPripad {
    TPorucha Porucha;
    bool Lan;
    std::vector<std::string> Prikaz;
    std::string Chyby;  // the whole stderr: status text, then the cause
};

void PrintTo(const TPripad& p, std::ostream* os)
{
    *os << (p.Lan ? "LAN " : "serial ") << p.Prikaz.front();
}

class cli_Pricina : public ::testing::TestWithParam<TPripad> {
protected:
    void SetUp() override
    {
        vk::sim::TNastaveniSimulatoru n;
        n.Pty = slozka / "pty";
        std::string chyba;
        ASSERT_TRUE(sim.Spust(n, chyba)) << chyba;
        ZapisBajty(slozka / "maly", Bajty(30, 0));
    }

    TVysledek Cli(bool lan, std::vector<std::string> argumenty)
    {
        const std::vector<std::string> pripojeni =
            lan ? std::vector<std::string>{"--lan", sim.AdresaLan(), "--timeout", "300", "--retries", "0"}
                : std::vector<std::string>{"--serial", slozka / "pty", "--parity", "none", "--timeout", "200"};
        argumenty.insert(argumenty.begin(), pripojeni.begin(), pripojeni.end());
        for (std::string& a : argumenty) {
            if (a == "MALY")
                a = slozka / "maly";
        }
        return Spust(argumenty);
    }

    TDocasnaSlozka slozka;
    vk::sim::TSimulator sim;
};

// A cause lost on its way to the CLI, two faults reported alike, or a
// status text changed along with the cause.
TEST_P(cli_Pricina, DruhyRadekRikaProc)
{
    const TPripad& p = GetParam();
    sim.NastavPoruchu(p.Porucha, true);
    const TVysledek v = Cli(p.Lan, p.Prikaz);
    EXPECT_EQ(v.Kod, 1);
    EXPECT_EQ(v.Chyby, p.Chyby);
}

INSTANTIATE_TEST_SUITE_P(
    Poruchy, cli_Pricina,
    ::testing::Values(TPripad{TPorucha::ZadnaOdpoved,
                              false,
                              {"identify"},
                              "vk7316r: Chyba spojení s modulem\nvk7316r: žádná odpověď do 200 ms\n"},
                      TPripad{TPorucha::SpatneCRC,
                              false,
                              {"identify"},
                              "vk7316r: Chyba spojení s modulem\nvk7316r: chybné CRC odpovědi\n"},
                      TPripad{TPorucha::VyjimkaOdpoved,
                              false,
                              {"identify"},
                              "vk7316r: Chyba spojení s modulem\nvk7316r: modul odpověděl výjimkou 4\n"},
                      TPripad{TPorucha::OdmitnutyZapis,
                              false,
                              {"put", "lan4.cfg", "MALY"},
                              "vk7316r: lan4.cfg: Chyba zápisu dat\nvk7316r: modul odmítl blok 0 (výsledek 1)\n"},
                      TPripad{TPorucha::ZadnaOdpoved,
                              true,
                              {"identify"},
                              "vk7316r: Chyba spojení\nvk7316r: modul neodpověděl do 300 ms\n"},
                      TPripad{TPorucha::VyjimkaOdpoved,
                              true,
                              {"identify"},
                              "vk7316r: Chyba spojení\nvk7316r: modul odmítl přenos: ERROR 0 \"Module failure\"\n"},
                      TPripad{TPorucha::OACKNepodporovanaVolba,
                              true,
                              {"identify"},
                              "vk7316r: Chyba spojení\nvk7316r: odmítnuté volby: Unsupported option: \"windowsize\"\n"},
                      TPripad{TPorucha::OdmitnutyZapis,
                              true,
                              {"restart"},
                              "vk7316r: Chyba spojení\nvk7316r: modul odmítl přenos: ERROR 2 \"Write refused\"\n"},
                      TPripad{
                          TPorucha::OdmitnutyZapis,
                          true,
                          {"put", "fw.hbn", "MALY"},
                          "vk7316r: fw.hbn: Chyba spojení\nvk7316r: modul odmítl přenos: ERROR 2 \"Write refused\"\n"}),
    [](const ::testing::TestParamInfo<TPripad>& i) {
        return std::string(i.param.Lan ? "Lan" : "Serial") + std::to_string(i.index);
    });

class cli_PricinaLan : public cli_Pricina {};

// The module's refusal of a file larger than its room must say so in the
// ERROR text; a client that drops the text leaves "Chyba spojení" alone.
TEST_F(cli_PricinaLan, PrilisVelkySouborOdmitnutModulem)
{
    ZapisBajty(slozka / "velky", Bajty(16u << 20, 0));
    const TVysledek v = Cli(true, {"put", "fw.hbn", slozka / "velky"});
    EXPECT_EQ(v.Kod, 1);
    EXPECT_TRUE(Obsahuje(v.Chyby, "vk7316r: fw.hbn: Chyba spojení\nvk7316r: modul odmítl přenos: ERROR 3 \"File too "
                                  "large: 16777216 bytes, room for "))
        << v.Chyby;
}

// A file whose blocks would wrap the block number must be refused before
// its write request leaves, not after 65535 blocks have crossed.
TEST_F(cli_PricinaLan, SouborNadCislaBlokuBezDatagramu)
{
    {
        std::ofstream f(slozka / "obri", std::ios::binary);
        f.seekp(98302500 - 1);
        f.put('\0');
    }
    const TVysledek v = Cli(true, {"--trace", slozka / "t", "put", "fw.hbn", slozka / "obri"});
    EXPECT_EQ(v.Kod, 1);
    EXPECT_EQ(v.Chyby, "vk7316r: fw.hbn: Chyba spojení\nvk7316r: soubor má 98302500 B, do 65535 bloků po 1500 B se "
                       "vejde nejvýš 98302499 B\n");
    std::ifstream f(slozka / "t");
    const std::string stopa((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    EXPECT_FALSE(Obsahuje(stopa, "WRQ")) << stopa;
}

// A local file that cannot be created: the cause names the system's reason.
TEST_F(cli_PricinaLan, MistniSouborSDuvodemSystemu)
{
    const std::string cesta = slozka / "chybi/x";
    const TVysledek v = Cli(true, {"get", "log.bin", cesta});
    EXPECT_EQ(v.Kod, 1);
    EXPECT_TRUE(Obsahuje(v.Chyby, ": No such file or directory\n")) << v.Chyby;
}

}  // namespace
