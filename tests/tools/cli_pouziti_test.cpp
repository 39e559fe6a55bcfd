// The command line itself (pouziti = usage): every usage error ends with exit
// code 2 before any traffic, every command has its --help, and the two
// offline commands work on files made here.
#include <gtest/gtest.h>

#include "cli_spusteni.h"

using namespace clitest;

namespace {

struct TChybaPouziti {
    const char* Nazev;
    std::vector<std::string> Argumenty;
    const char* Zprava;  // expected part of stderr
};

// 127.0.0.1:9 (discard) is never contacted: each of these fails before the
// connection is attempted, which the short limit would reveal.
const std::string Lan = "127.0.0.1:9";

const TChybaPouziti ChybyPouziti[] = {
    {"BezPrikazu", {}, "no command given"},
    {"NeznamyPrikaz", {"frobnicate"}, "unknown command \"frobnicate\""},
    {"NeznamaVolba", {"--lan", Lan, "--bogus", "identify"}, "unknown option --bogus"},
    {"VolbaBezHodnoty", {"identify", "--lan"}, "option --lan needs a value"},
    {"VolbaDvakrat", {"--lan", Lan, "--lan", Lan, "identify"}, "given twice"},
    {"PriznakSHodnotou", {"--json=1", "--lan", Lan, "identify"}, "takes no value"},
    {"BezPripojeni", {"identify"}, "needs a connection"},
    {"ObePripojeni", {"--lan", Lan, "--serial", "COM1", "identify"}, "either --lan or --serial"},
    {"SeriovaVolbaNaLan", {"--lan", Lan, "--baud", "9600", "identify"}, "belong to --serial"},
    {"JsonNepodporovan", {"--lan", Lan, "--json", "restart"}, "restart has no --json output"},
    {"PripojeniOffline", {"--lan", Lan, "log-export", "x"}, "local files only"},
    {"ModulMimoExport", {"--lan", Lan, "--module", "X", "identify"}, "belong to log-export"},
    {"ChybiParametr", {"--lan", Lan, "read"}, "wrong number of arguments"},
    {"ParametrNavic", {"--lan", Lan, "identify", "x"}, "wrong number of arguments"},
    {"PrazdnaIP", {"--lan", "", "identify"}, "Neplatná IP adresa"},
    {"LanTimeout0", {"--lan", Lan, "--timeout", "0", "identify"}, "Neplatný LAN timeout (1-65535 ms)"},
    {"COM0", {"--serial", "COM0", "identify"}, "Neplatné číslo COM portu (1-255)"},
    {"Rychlost", {"--serial", "/dev/null", "--baud", "1200", "identify"}, "Neplatná rychlost \"1200\""},
    {"Parita", {"--serial", "/dev/null", "--parity", "mark", "identify"}, "Neplatná parita \"mark\""},
    {"UartTimeout", {"--serial", "/dev/null", "--timeout", "65536", "identify"}, "Neplatný UART timeout (1-65535 ms)"},
    {"Adresa256", {"--serial", "/dev/null", "--address", "256", "identify"}, "Neplatná adresa modulu (1-255)"},
    {"MezeraText", {"--serial", "/dev/null", "--reply-gap", "20ms", "identify"}, "--reply-gap must be 0 to 1000 ms"},
    {"MezeraZaporna", {"--serial", "/dev/null", "--reply-gap", "-1", "identify"}, "--reply-gap must be 0 to 1000 ms"},
    {"Mezera1001", {"--serial", "/dev/null", "--reply-gap", "1001", "identify"}, "--reply-gap must be 0 to 1000 ms"},
    {"MezeraNaLan", {"--lan", Lan, "--reply-gap", "20", "identify"}, "belong to --serial"},
    {"RS485Hodnota", {"--serial", "/dev/null", "--rs485=foo", "identify"}, "--rs485 takes rts-high"},
    {"RS485Prazdna", {"--serial", "/dev/null", "--rs485=", "identify"}, "--rs485 takes rts-high"},
    {"RS485ZpozdeniJedno",
     {"--serial", "/dev/null", "--rs485", "--rs485-delay", "5", "identify"},
     "--rs485-delay must be BEFORE,AFTER"},
    {"RS485ZpozdeniZaporne",
     {"--serial", "/dev/null", "--rs485", "--rs485-delay", "-1,0", "identify"},
     "--rs485-delay must be BEFORE,AFTER"},
    {"RS485ZpozdeniText",
     {"--serial", "/dev/null", "--rs485", "--rs485-delay", "a,b", "identify"},
     "--rs485-delay must be BEFORE,AFTER"},
    {"RS485Zpozdeni101",
     {"--serial", "/dev/null", "--rs485", "--rs485-delay", "0,101", "identify"},
     "each 0 to 100 ms"},
    {"RS485ZpozdeniBezRS485",
     {"--serial", "/dev/null", "--rs485-delay", "0,0", "identify"},
     "--rs485-delay belongs to --rs485"},
    {"RS485NaLan", {"--lan", Lan, "--rs485", "identify"}, "belong to --serial"},
    {"OzvenaNaLan", {"--lan", Lan, "--no-echo-removal", "identify"}, "belong to --serial"},
    {"OpakovaniText", {"--lan", Lan, "--retries", "three", "identify"}, "--retries must be 0 to 10"},
    {"OpakovaniZaporna", {"--lan", Lan, "--retries", "-1", "identify"}, "--retries must be 0 to 10"},
    {"Opakovani11",
     {"--lan", Lan, "--retries", "11", "identify"},
     "--retries must be 0 to 10 (0 = a lost datagram fails the transfer), not \"11\""},
    {"OpakovaniPrazdna", {"--lan", Lan, "--retries=", "identify"}, "--retries must be 0 to 10"},
    {"OpakovaniNaSerial", {"--serial", "/dev/null", "--retries", "2", "identify"}, "--retries belongs to --lan"},
    {"OpakovaniOffline", {"--retries", "2", "cfm-show", "x.cfm"}, "local files only"},
    {"NeznamySoubor", {"--lan", Lan, "read", "nosuch.bin"}, "unknown device file \"nosuch.bin\""},
    {"NecitelnySoubor", {"--lan", Lan, "read", "ctrl.bin"}, "ctrl.bin has no fields to read"},
    {"NezapisovatelnySoubor", {"--lan", Lan, "write", "sys.bin", "TypFW=x"}, "is not written field by field"},
    {"PrirazeniBezRovnitka", {"--lan", Lan, "write", "mbtcp.cfg", "UnitID"}, "\"UnitID\" is not key=value"},
    {"FirmwareBezNazvu", {"--lan", Lan, "fw-upload", ""}, "Není zadán název souboru"},
    {"FirmwareChybi", {"--lan", Lan, "fw-upload", "/nonexistent/fw.hbn"}, "Soubor nenalezen"},
    {"PutChybi", {"--lan", Lan, "put", "fw.hbn", "/nonexistent/x"}, "Soubor nenalezen"},
    {"GetDoSlozky", {"--lan", Lan, "get", "sys.bin", "/"}, "is a folder"},
    {"NazevTftpRidiciZnak", {"--lan", Lan, "get", "a\tb", "x"}, "is not a file name the module takes"},
    {"SerialBezKodu", {"--serial", "/dev/null", "get", "log.cfg", "x"}, "log.cfg travels over the LAN only"},
    {"SerialNeznamy", {"--serial", "/dev/null", "put", "log.bin", "/dev/null"}, "not a device file with a serial"},
    {"SerialBezDelky", {"--serial", "/dev/null", "get", "fw.hbn", "x"}, "no fixed length"},
    {"ScanBezSerial", {"scan"}, "scan searches a serial line"},
    {"ScanNaLan", {"--lan", Lan, "scan"}, "scan searches a serial line"},
    {"ScanSRychlosti", {"--serial", "/dev/null", "--baud", "9600", "scan"}, "no --baud, --parity or --timeout"},
    {"ScanSTimeoutem", {"--serial", "/dev/null", "--timeout", "100", "scan"}, "no --baud, --parity or --timeout"},
    {"ScanCekani0", {"--serial", "/dev/null", "--try-wait", "0", "scan"}, "--try-wait must be 1 to 1000 ms"},
    {"ScanCekaniText", {"--serial", "/dev/null", "--try-wait", "50ms", "scan"}, "--try-wait must be 1 to 1000 ms"},
    {"ScanAdresa0", {"--serial", "/dev/null", "--address", "0", "scan"}, "Neplatná adresa modulu (1-255)"},
    {"ScanCOM0", {"--serial", "COM0", "scan"}, "Neplatné číslo COM portu (1-255)"},
    {"VsechnyAdresyMimoScan", {"--serial", "/dev/null", "--all-addresses", "identify"}, "belong to scan"},
    {"CekaniMimoScan", {"--serial", "/dev/null", "--try-wait", "50", "identify"}, "belong to scan"},
    {"ExportChybi", {"log-export", "/nonexistent/base"}, "Soubor nenalezen: /nonexistent/base.bin"},
    {"CfmChybi", {"cfm-show", "/nonexistent.cfm"}, "Soubor nenalezen"},
};

void PrintTo(const TChybaPouziti& c, std::ostream* os)
{
    *os << c.Nazev;
}

class ChybaPouziti : public ::testing::TestWithParam<TChybaPouziti> {};

TEST_P(ChybaPouziti, KonciKodem2SeZpravouAPouzitim)
{
    const TVysledek v = Spust(GetParam().Argumenty, SLimitem(5000));
    EXPECT_EQ(v.Kod, 2) << v.Chyby;
    EXPECT_TRUE(Obsahuje(v.Chyby, GetParam().Zprava)) << v.Chyby;
    EXPECT_TRUE(Obsahuje(v.Chyby, "usage: vk7316r")) << v.Chyby;
    EXPECT_TRUE(v.Vystup.empty()) << v.Vystup;
}

INSTANTIATE_TEST_SUITE_P(cli, ChybaPouziti, ::testing::ValuesIn(ChybyPouziti),
                         [](const auto& info) { return std::string(info.param.Nazev); });

const char* const Prikazy[] = {"identify",    "read",       "write",      "get",       "put",
                               "restart",     "clear-diag", "set-clock",  "fw-upload", "log-show",
                               "log-archive", "log-clear",  "log-export", "cfm-show",  "scan"};

TEST(cli_Napoveda, KazdyPrikazMaSvouNapovedu)
{
    const TVysledek celkova = Spust({"--help"});
    EXPECT_EQ(celkova.Kod, 0);
    for (const char* p : Prikazy) {
        EXPECT_TRUE(Obsahuje(celkova.Vystup, std::string("\n  ") + p + " ")) << p;
        const TVysledek v = Spust({p, "--help"});
        EXPECT_EQ(v.Kod, 0) << p;
        EXPECT_TRUE(Obsahuje(v.Vystup, std::string("usage: vk7316r ")) && Obsahuje(v.Vystup, p)) << v.Vystup;
        EXPECT_TRUE(v.Chyby.empty()) << v.Chyby;
    }
}

TEST(cli_Napoveda, ZapisVypisujePoleSRozsahy)
{
    const TVysledek v = Spust({"write", "--help"});
    EXPECT_EQ(v.Kod, 0);
    EXPECT_TRUE(Obsahuje(v.Vystup, "UnitID  1-255"));
    EXPECT_TRUE(Obsahuje(v.Vystup, "Opakovani  0-15"));
    EXPECT_TRUE(Obsahuje(v.Vystup, "IP[0-7]"));
}

// ---- log-export -----------------------------------------------------------------------

Bajty Zaznam(std::uint8_t kod, std::uint8_t s, std::uint8_t min, std::uint8_t h, std::uint8_t den, std::uint8_t mes,
             std::uint8_t rok)
{
    Bajty z(64, 0);
    z[0] = kod;
    z[6] = s;
    z[7] = min;
    z[8] = h;
    z[9] = den;
    z[10] = mes;
    z[11] = rok;
    return z;
}

Bajty SouborLogu(std::initializer_list<Bajty> zaznamy, std::size_t zbytek = 0)
{
    Bajty b(64, 0);
    b[0] = 0x4C;
    b[1] = 0x47;
    b[2] = 0x02;
    for (const Bajty& z : zaznamy)
        b.insert(b.end(), z.begin(), z.end());
    b.insert(b.end(), zbytek, 0x01);
    return b;
}

std::string Text(const Bajty& b)
{
    return std::string(b.begin(), b.end());
}

TEST(cli_LogExport, HlavickaZVolebAZaznamyVeWindows1250)
{
    TDocasnaSlozka d;
    // Code 255 is an empty slot; the 10 bytes after the records are a partial
    // record and are ignored.
    ZapisBajty(
        d / "a.bin",
        SouborLogu({Zaznam(1, 9, 7, 14, 5, 3, 23), Zaznam(255, 1, 1, 1, 1, 1, 1), Zaznam(6, 0, 11, 14, 5, 3, 23)}, 10));
    const TVysledek v = Spust({"log-export", d / "a", "--module", "VK-7316R  v.1.00", "--ip", "10.0.0.1"});
    ASSERT_EQ(v.Kod, 0) << v.Chyby;
    EXPECT_EQ(v.Vystup, d / "a.log\n");
    EXPECT_EQ(Text(NactiBajty(d / "a.log")), "Modul     : VK-7316R  v.1.00\rIP adresa : 10.0.0.1\r\n\r\n"
                                             "[05.03.2023  14:07:09] - U01 - Zapnut\xED nap\xE1jen\xED\r\n"
                                             "[05.03.2023  14:11:00] - U06 - Odpojen\xED LAN (ink down)\r\n");
}

TEST(cli_LogExport, BezVolebOtaznikyAChybnyTyp)
{
    TDocasnaSlozka d;
    Bajty b = SouborLogu({Zaznam(1, 0, 0, 0, 1, 1, 24)});
    b[2] = 0x03;
    ZapisBajty(d / "b.bin", b);
    const TVysledek v = Spust({"log-export", d / "b"});
    ASSERT_EQ(v.Kod, 0) << v.Chyby;
    EXPECT_EQ(Text(NactiBajty(d / "b.log")),
              "Modul     : ???\rIP adresa : ???\r\n\r\nChybn\xFD typ souboru " + d / "b.bin\r\n");
}

TEST(cli_LogExport, NezapisovatelnyVystupJeChybaKodem1)
{
    TDocasnaSlozka d;
    ZapisBajty(d / "c.bin", SouborLogu({}));
    std::filesystem::create_directory(d / "c.log");  // the .log cannot be made
    const TVysledek v = Spust({"log-export", d / "c"});
    EXPECT_EQ(v.Kod, 1);
    EXPECT_FALSE(v.Chyby.empty());
}

// ---- cfm-show -------------------------------------------------------------------------

std::uint8_t Doplnek(const Bajty& b, std::size_t od, std::size_t po)
{
    std::uint8_t s = 0;
    for (std::size_t i = od; i < po; ++i)
        s = static_cast<std::uint8_t>(s + b[i]);
    return static_cast<std::uint8_t>(0x100 - s);
}

// A configuration file as the program saves it: 10.0.0.5 / 255.255.255.0 /
// 10.0.0.1 / DHCP 1, access table mode with 1.2.3.4 in the first entry.
Bajty SouborCfm()
{
    Bajty b(60928, 0xFF);
    const std::uint8_t lan[] = {10, 0, 0, 5, 255, 255, 255, 0, 10, 0, 0, 1, 1};
    std::copy(std::begin(lan), std::end(lan), b.begin());
    b[15] = Doplnek(b, 0, 15);
    std::fill(b.begin() + 512, b.begin() + 650, 0);
    b[512] = 2;
    b[513] = 1;
    b[514] = 2;
    b[515] = 3;
    b[516] = 4;
    b[649] = Doplnek(b, 512, 649);
    return b;
}

const std::string Lan4Radky =
    "LAN4.Kontrola=ok\nLAN4.Nacteno=1\nLAN4.IP4_Adresa=10.0.0.5\nLAN4.IP4_Maska=255.255.255.0\n"
    "LAN4.IP4_Brana=10.0.0.1\nLAN4.IP4_DHCP=1\n";
const std::string SpravaRadky = "Sprava.Kontrola=ok\nSprava.Nacteno=1\nSprava.Rezim=2\n"
                                "Sprava.User_IP=1.2.3.4,0.0.0.0,0.0.0.0,0.0.0.0,0.0.0.0,0.0.0.0,0.0.0.0,0.0.0.0\n";

TEST(cli_CfmShow, PlatnySouborUkazeObaBloky)
{
    TDocasnaSlozka d;
    ZapisBajty(d / "k.cfm", SouborCfm());
    const TVysledek v = Spust({"cfm-show", d / "k.cfm"});
    ASSERT_EQ(v.Kod, 0) << v.Chyby;
    EXPECT_EQ(v.Vystup, "Soubor=" + d / "k.cfm" + "\nVelikost=60928\n" + Lan4Radky + SpravaRadky);
}

TEST(cli_CfmShow, Json)
{
    TDocasnaSlozka d;
    ZapisBajty(d / "k.cfm", SouborCfm());
    const TVysledek v = Spust({"cfm-show", "--json", d / "k.cfm"});
    ASSERT_EQ(v.Kod, 0) << v.Chyby;
    EXPECT_EQ(v.Vystup, "{\"Soubor\":\"" + d / "k.cfm" +
                            "\",\"Velikost\":60928,\"LAN4\":{\"Kontrola\":\"ok\",\"Nacteno\":1,\"IP4_Adresa\":"
                            "\"10.0.0.5\",\"IP4_Maska\":\"255.255.255.0\",\"IP4_Brana\":\"10.0.0.1\",\"IP4_DHCP\":1},"
                            "\"Sprava\":{\"Kontrola\":\"ok\",\"Nacteno\":1,\"Rezim\":2,\"User_IP\":[\"1.2.3.4\","
                            "\"0.0.0.0\",\"0.0.0.0\",\"0.0.0.0\",\"0.0.0.0\",\"0.0.0.0\",\"0.0.0.0\",\"0.0.0.0\"]}}\n");
}

TEST(cli_CfmShow, PoskozenyBlok0SeNenacteBlok1Ano)
{
    TDocasnaSlozka d;
    Bajty b = SouborCfm();
    b[15] ^= 0x01;
    ZapisBajty(d / "k.cfm", b);
    const TVysledek v = Spust({"cfm-show", d / "k.cfm"});
    ASSERT_EQ(v.Kod, 0) << v.Chyby;
    EXPECT_TRUE(Obsahuje(v.Vystup, "LAN4.Kontrola=bad\nLAN4.Nacteno=0\nSprava.Kontrola=ok\n")) << v.Vystup;
    EXPECT_FALSE(Obsahuje(v.Vystup, "LAN4.IP4_Adresa"));
    EXPECT_TRUE(Obsahuje(v.Vystup, SpravaRadky));
}

// The loader decides which blocks load (tested with the core); the tool
// shows that decision, also for a cut block 1 that loads because its missing
// bytes, counted as 0xFF, complete the sum.
TEST(cli_CfmShow, ZkracenySouborUkazeRozhodnutiJadra)
{
    TDocasnaSlozka d;
    Bajty b = SouborCfm();
    b.resize(600);                           // bytes 600..649 of block 1 missing: 50 x 0xFF
    b[599] = static_cast<std::uint8_t>(38);  // 2 + 1 + 2 + 3 + 4 + 38 = 50
    ZapisBajty(d / "k.cfm", b);
    const TVysledek v = Spust({"cfm-show", d / "k.cfm"});
    ASSERT_EQ(v.Kod, 0) << v.Chyby;
    EXPECT_EQ(v.Vystup, "Soubor=" + d / "k.cfm" + "\nVelikost=600\n" + Lan4Radky + SpravaRadky);
}

}  // namespace
