// The tool over the serial link: the simulator's Modbus RTU slave on a
// pseudo-terminal. A pty carries no parity bit; most runs use --parity none,
// one checks that the default (even) opens it all the same.
#include <gtest/gtest.h>
#include <sys/file.h>

#include <chrono>

#include "Simulator.h"
#include "cli_spusteni.h"

using namespace clitest;

namespace {

using vk::sim::TPorucha;

class cli_Serial : public ::testing::Test {
protected:
    void SetUp() override
    {
        vk::sim::TNastaveniSimulatoru n;
        n.SpustitLan = false;
        n.Pty = slozka / "pty";
        std::string chyba;
        ASSERT_TRUE(sim.Spust(n, chyba)) << chyba;
    }

    TVysledek Cli(std::vector<std::string> argumenty, TVolbySpusteni volby = {})
    {
        argumenty.insert(argumenty.begin(), {"--serial", slozka / "pty", "--parity", "none"});
        return Spust(argumenty, volby);
    }

    TDocasnaSlozka slozka;
    vk::sim::TSimulator sim;
};

TEST_F(cli_Serial, IdentifyPresObjektyIdentity)
{
    const TVysledek v = Cli({"identify"});
    ASSERT_EQ(v.Kod, 0) << v.Chyby;
    EXPECT_TRUE(Obsahuje(v.Vystup, "TypModulu=VK-7316R\nVerzeModulu=1.00\nVyrCislo=")) << v.Vystup;
    EXPECT_TRUE(Obsahuje(v.Vystup, "\nTypVerze=VK-7316R  v.1.00\n")) << v.Vystup;
}

// info.txt over the serial link is always 31 characters: the zero bytes after
// the identity text stay in it and must come out as valid JSON.
TEST_F(cli_Serial, VychoziParitaNaPseudoterminalu)
{
    for (int i = 0; i < 3; ++i) {
        const TVysledek v = Spust({"--serial", slozka / "pty", "identify"});
        ASSERT_EQ(v.Kod, 0) << v.Chyby;
    }
}

// A refused write of a file that travels over the serial link carries the
// link's text alone, without the hint meant for the LAN-only files.
TEST_F(cli_Serial, OdmitnutyZapisBezRadyProLan)
{
    sim.NastavPoruchu(TPorucha::OdmitnutyZapis, true);
    const TVysledek v = Cli({"write", "mbtcp.cfg", "UnitID=3"});
    EXPECT_EQ(v.Kod, 1);
    EXPECT_EQ(v.Chyby, "vk7316r: mbtcp.cfg: Chyba zápisu dat\nvk7316r: modul odmítl blok 0 (výsledek 1)\n");
}

TEST_F(cli_Serial, InfoTxtSNulovymiBajtyJakoJson)
{
    const Bajty info = sim.Soubor("info.txt");
    std::string text(info.begin(), info.end());
    ASSERT_LE(text.size(), 31u);
    std::string ocekavano = "{\"Text\":\"" + text;
    for (std::size_t i = text.size(); i < 31; ++i)
        ocekavano += "\\u0000";
    const TVysledek v = Cli({"read", "info.txt", "--json"});
    ASSERT_EQ(v.Kod, 0) << v.Chyby;
    EXPECT_EQ(v.Vystup, ocekavano + "\"}\n");
    const TVysledek p = Cli({"read", "info.txt"});
    ASSERT_EQ(p.Kod, 0) << p.Chyby;
    EXPECT_TRUE(Obsahuje(p.Vystup, "Text=" + text + "\\x00")) << p.Vystup;
}

TEST_F(cli_Serial, ZapisSOverenimPresSeriovouLinku)
{
    const TVysledek w = Cli({"write", "uarts.cfg", "Adresa=33", "Repeater=1"});
    ASSERT_EQ(w.Kod, 0) << w.Chyby;
    EXPECT_EQ(w.Vystup, "uarts.cfg: Konfigurace zapsána.\n");
    // Baud and parity codes kept from the module: 4 (9600 Bd), 1 (even).
    EXPECT_EQ(sim.Soubor("uarts.cfg"), (Bajty{33, 4, 1, 1, static_cast<std::uint8_t>(0x100 - 39)}));
    const TVysledek r = Cli({"read", "uarts.cfg"});
    EXPECT_EQ(r.Vystup, "Adresa=33\nKodBaud=4\nKodParita=1\nRepeater=1\n");
}

TEST_F(cli_Serial, RozsahBezProvozu)
{
    const std::uint32_t pred = sim.PocetPozadavku();
    const TVysledek v = Cli({"write", "uartm.cfg", "Timeout=0"});
    EXPECT_EQ(v.Kod, 2);
    EXPECT_TRUE(Obsahuje(v.Chyby, "Chybný parametr Timeout.")) << v.Chyby;
    EXPECT_EQ(sim.PocetPozadavku(), pred);
}

TEST_F(cli_Serial, JinaAdresaNeodpovida)
{
    const TVysledek v = Cli({"--address", "5", "--timeout", "100", "identify"});
    EXPECT_EQ(v.Kod, 1);
    EXPECT_EQ(v.Chyby, "vk7316r: Chyba spojení s modulem\nvk7316r: žádná odpověď do 100 ms\n");
}

TEST_F(cli_Serial, JinyTypModulu)
{
    sim.NastavPoruchu(TPorucha::JinyTyp, true);
    const TVysledek v = Cli({"identify"});
    EXPECT_EQ(v.Kod, 1);
    EXPECT_EQ(v.Chyby, "vk7316r: Připojený modulu není programem podporován - VK-7317R  v.1.00\n");
}

TEST_F(cli_Serial, GetSysBinDvemaBloky)
{
    const TVysledek v = Cli({"get", "sys.bin", slozka / "sys.bin"});
    ASSERT_EQ(v.Kod, 0) << v.Chyby;
    const Bajty prectene = NactiBajty(slozka / "sys.bin");
    ASSERT_EQ(prectene.size(), 392u);
    const Bajty modul = sim.Soubor("sys.bin");
    // The identity and firmware header (offsets 0 to 127) do not change while
    // the module runs; the counters after them do.
    EXPECT_TRUE(std::equal(prectene.begin(), prectene.begin() + 128, modul.begin()));
}

TEST_F(cli_Serial, PutPoBlocich240)
{
    const Bajty lan4 = {10, 0, 0, 7, 255, 255, 255, 0, 10, 0, 0, 1, 0, 0, 0, 0xE7};
    ZapisBajty(slozka / "lan4.cfg", lan4);
    const TVysledek v = Cli({"put", "lan4.cfg", slozka / "lan4.cfg"});
    ASSERT_EQ(v.Kod, 0) << v.Chyby;
    EXPECT_EQ(sim.Soubor("lan4.cfg"), lan4);
    // 481 bytes: blocks 0 and 1 of 240 bytes and block 2 of one byte.
    const Bajty fw = Vzorek(481, 9);
    ZapisBajty(slozka / "fw.hbn", fw);
    const TVysledek f = Cli({"put", "fw.hbn", slozka / "fw.hbn"});
    ASSERT_EQ(f.Kod, 0) << f.Chyby;
    EXPECT_EQ(sim.Soubor("fw.hbn"), fw);
}

TEST_F(cli_Serial, FirmwarePoBlocichSPrubehem)
{
    const Bajty image = Vzorek(2400, 5);
    ZapisBajty(slozka / "image.hbn", image);
    TVolbySpusteni terminal;
    terminal.ChybyNaTerminal = true;
    const TVysledek v = Cli({"fw-upload", slozka / "image.hbn"}, terminal);
    ASSERT_EQ(v.Kod, 0) << v.Chyby;
    EXPECT_TRUE(Obsahuje(v.Chyby, "] 100 % 2400/2400 B")) << v.Chyby;
    EXPECT_EQ(sim.Soubor("fw.hbn"), image);
    EXPECT_EQ(sim.Soubor("boot.cmd"), (Bajty{0x70, 0x72, 0x6F, 0x67, 0x00}));
}

TEST_F(cli_Serial, SouboryJenProLanOdmitnuty)
{
    const TVysledek l = Cli({"log-show"});
    EXPECT_EQ(l.Kod, 1);
    EXPECT_EQ(l.Chyby, "vk7316r: logh.bin: Spojení dosud neinicializováno (this file travels over the LAN only: use "
                       "--lan)\n");
    const TVysledek c = Cli({"read", "log.cfg"});
    EXPECT_EQ(c.Kod, 1);
    EXPECT_TRUE(Obsahuje(c.Chyby, "log.cfg: Spojení dosud neinicializováno (this file")) << c.Chyby;
}

// COMn resolves through the settings file next to the program: a copy of the
// tool in a folder of its own with its own W_vk7316r.ini.
TEST_F(cli_Serial, ComPortZeSouboruNastaveni)
{
    const std::string program = slozka / "vk7316r";
    std::filesystem::copy_file(VK7316R_CESTA, program);
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    const std::string ini = "[Porty]\nCOM7=" + slozka / "pty" + "\n";
    ZapisBajty(slozka / "W_vk7316r.ini", Bajty(ini.begin(), ini.end()));
    TVolbySpusteni volby;
    volby.Program = program;
    const TVysledek v = Spust({"--serial", "com7", "--parity", "none", "identify"}, volby);
    ASSERT_EQ(v.Kod, 0) << v.Chyby;
    EXPECT_TRUE(Obsahuje(v.Vystup, "TypModulu=VK-7316R\n"));
    // A COM port without an entry falls back to /dev/ttyUSB(n-1) or /dev/ttyS(n-1).
    const TVysledek b = Spust({"--serial", "COM200", "--parity", "none", "identify"}, volby);
    EXPECT_EQ(b.Kod, 1);
    EXPECT_EQ(b.Chyby, "vk7316r: Chyba otevření COM200 (/dev/ttyS199)\n"
                       "vk7316r: Zařízení /dev/ttyS199 neexistuje.\n");
}

// A pty cannot switch an RS-485 transceiver: the port is not opened, the
// second line names the device and the system's reason, and nothing reaches
// the module. Bare --rs485 takes no value from the next argument. Catches
// the option not reaching the port, and the refusal reported without its
// reason (the device itself opens fine).
TEST_F(cli_Serial, RS485NaPseudoterminaluOdmitnuto)
{
    const std::string pty = slozka / "pty";
    for (const std::vector<std::string>& volby :
         {std::vector<std::string>{"--rs485"}, std::vector<std::string>{"--rs485=rts-low", "--rs485-delay", "2,3"}}) {
        std::vector<std::string> argumenty = volby;
        argumenty.push_back("identify");
        const TVysledek v = Cli(argumenty);
        EXPECT_EQ(v.Kod, 1);
        EXPECT_EQ(v.Chyby, "vk7316r: Chyba otevření COM (" + pty + ")\n" + "vk7316r: Zařízení " + pty +
                               " nepodporuje režim RS-485: Inappropriate ioctl for device.\n");
    }
    EXPECT_EQ(sim.PocetPozadavku(), 0u);
}

// Another program holds the port (the lock every opener of ours takes) and
// lets it go after 200 ms: without --port-wait the tool fails at once and
// says the port is in use; with it the tool waits and identifies. Catches a
// wait that gives up on the first refusal, one that never polls again, and
// the option not reaching the port.
TEST_F(cli_Serial, PortWaitCekaNaUvolneni)
{
    const std::string pty = slozka / "pty";
    int drzeny = ::open(pty.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(drzeny, 0);
    ASSERT_EQ(::flock(drzeny, LOCK_EX | LOCK_NB), 0);
    const TVysledek hned = Cli({"identify"});
    EXPECT_EQ(hned.Kod, 1);
    EXPECT_TRUE(Obsahuje(hned.Chyby, "Zařízení " + pty + " používá jiný program.")) << hned.Chyby;

    const auto zacatek = std::chrono::steady_clock::now();
    TVolbySpusteni volby;
    volby.Behem = [&](pid_t) {
        if (drzeny >= 0 && std::chrono::steady_clock::now() - zacatek >= std::chrono::milliseconds(200)) {
            ::close(drzeny);
            drzeny = -1;
        }
    };
    const TVysledek v = Cli({"--port-wait", "5000", "identify"}, volby);
    const auto trvani = std::chrono::steady_clock::now() - zacatek;
    if (drzeny >= 0)
        ::close(drzeny);
    EXPECT_EQ(v.Kod, 0) << v.Chyby;
    EXPECT_GE(trvani, std::chrono::milliseconds(200));
    EXPECT_LT(trvani, std::chrono::milliseconds(4000));
}

// Behind an adapter that echoes, the tool works by default and fails as it
// always did with --no-echo-removal. Catches the option not reaching the port.
TEST(cli_SerialOzvena, OzvenaOdstranenaKromeVolby)
{
    TDocasnaSlozka slozka;
    vk::sim::TSimulator sim;
    vk::sim::TNastaveniSimulatoru n;
    n.SpustitLan = false;
    n.Pty = slozka / "pty";
    n.Ozvena = true;
    std::string chyba;
    ASSERT_TRUE(sim.Spust(n, chyba)) << chyba;
    const TVysledek v = Spust({"--serial", slozka / "pty", "--parity", "none", "identify"});
    ASSERT_EQ(v.Kod, 0) << v.Chyby;
    EXPECT_TRUE(Obsahuje(v.Vystup, "\nTypVerze=VK-7316R  v.1.00\n")) << v.Vystup;
    const TVysledek bez = Spust({"--serial", slozka / "pty", "--parity", "none", "--no-echo-removal", "identify"});
    EXPECT_EQ(bez.Kod, 1);
    EXPECT_EQ(bez.Chyby, "vk7316r: Chyba spojení s modulem\nvk7316r: chybné CRC odpovědi\n");
}

// An adapter that bursts without showing its latency timer (62 bytes, then
// 16 ms; at 9600 Bd the baud code's 10 ms gap cuts the reply after the first
// burst): --reply-gap makes the port wait the bursts out, and identify says
// so. Catches the option not reaching the port, and identify keeping quiet
// about the silence it uses.
TEST(cli_SerialDavky, ReplyGapByHand)
{
    TDocasnaSlozka slozka;
    vk::sim::TSimulator sim;
    vk::sim::TNastaveniSimulatoru n;
    n.SpustitLan = false;
    n.Pty = slozka / "pty";
    n.Davky = {62, 16};
    std::string chyba;
    ASSERT_TRUE(sim.Spust(n, chyba)) << chyba;
    const std::vector<std::string> volby = {"--serial", slozka / "pty", "--parity", "none", "--reply-gap", "25"};

    std::vector<std::string> get = volby;
    get.insert(get.end(), {"get", "sys.bin", slozka / "sys.bin"});
    const TVysledek g = Spust(get);
    ASSERT_EQ(g.Kod, 0) << g.Chyby;
    EXPECT_EQ(NactiBajty(slozka / "sys.bin").size(), 392u);

    std::vector<std::string> identify = volby;
    identify.push_back("identify");
    const TVysledek p = Spust(identify);
    ASSERT_EQ(p.Kod, 0) << p.Chyby;
    EXPECT_TRUE(Obsahuje(p.Vystup, "\nTypVerze=VK-7316R  v.1.00\nMezera=25\nPuvodMezery=manual\n")) << p.Vystup;
    identify.push_back("--json");
    const TVysledek j = Spust(identify);
    ASSERT_EQ(j.Kod, 0) << j.Chyby;
    EXPECT_TRUE(Obsahuje(j.Vystup, "\"TypVerze\":\"VK-7316R  v.1.00\",\"Mezera\":25,\"PuvodMezery\":\"manual\"}"))
        << j.Vystup;
}

}  // namespace
