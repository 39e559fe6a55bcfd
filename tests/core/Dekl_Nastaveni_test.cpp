#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "Dekl.h"
#include "DocasnaSlozka.h"
#include "Rozhrani.h"

using namespace vk::core;
using vk::test::CtiText;
using vk::test::TDocasnaSlozka;
using vk::test::ZapisText;

namespace {

const std::string vychoziSoubor = "[Rozhraní]\n"
                                  "Rozhraní=0\n"
                                  "[LAN]\n"
                                  "IP adresa=192.168.0.99\n"
                                  "Verze IP=0\n"
                                  "Timeout=1000\n"
                                  "Opakovani=3\n"
                                  "[UART]\n"
                                  "COM=1\n"
                                  "Rychlost=4\n"
                                  "Parita=1\n"
                                  "Timeout=330\n"
                                  "Adresa=247\n"
                                  "Mezera=0\n"
                                  "RS485=0\n"
                                  "RS485ZpozdeniPred=0\n"
                                  "RS485ZpozdeniPo=0\n"
                                  "Echo=1\n";

class Nastaveni : public testing::Test {
protected:
    void SetUp() override { InicializaceDat(&dat); }

    TPripojeni Vychozi() const
    {
        TPripojeni p;
        VychoziPripojeni(p);
        return p;
    }

    static void OcekavejStejne(const TPripojeni& a, const TPripojeni& b)
    {
        EXPECT_EQ(a.Rozhrani, b.Rozhrani);
        EXPECT_EQ(a.LAN_IP, b.LAN_IP);
        EXPECT_EQ(a.LAN_VerzeIP, b.LAN_VerzeIP);
        EXPECT_EQ(a.LAN_Timeout, b.LAN_Timeout);
        EXPECT_EQ(a.LAN_Opakovani, b.LAN_Opakovani);
        EXPECT_EQ(a.UART_CisloCOM, b.UART_CisloCOM);
        EXPECT_EQ(a.UART_KodBaud, b.UART_KodBaud);
        EXPECT_EQ(a.UART_KodParita, b.UART_KodParita);
        EXPECT_EQ(a.UART_Timeout, b.UART_Timeout);
        EXPECT_EQ(a.UART_Adresa, b.UART_Adresa);
        EXPECT_EQ(a.UART_Mezera, b.UART_Mezera);
        EXPECT_EQ(a.UART_RS485, b.UART_RS485);
        EXPECT_EQ(a.UART_RS485ZpozdeniPred, b.UART_RS485ZpozdeniPred);
        EXPECT_EQ(a.UART_RS485ZpozdeniPo, b.UART_RS485ZpozdeniPo);
        EXPECT_EQ(a.UART_Echo, b.UART_Echo);
    }

    TDocasnaSlozka slozka;
    std::filesystem::path soubor = slozka / "W_vk7316r.ini";
    TData dat;
};

TEST_F(Nastaveni, MissingFileKeepsDefaultsAndSaveWritesEveryKey)
{
    EXPECT_FALSE(NactiNastaveni(&dat, soubor));
    OcekavejStejne(dat.Pripojeni, Vychozi());
    ASSERT_TRUE(UlozNastaveni(&dat, soubor));
    EXPECT_EQ(CtiText(soubor), vychoziSoubor);
    EXPECT_EQ(slozka.Obsah(), std::vector<std::string>{"W_vk7316r.ini"});  // no temporary file left
}

TEST_F(Nastaveni, SavedValuesReadBack)
{
    dat.Pripojeni = {1, "fe80::1", 1, 65535, 7, 255, 8, 2, 1, 1, 25, 2, 40, 100, 0};
    ASSERT_TRUE(UlozNastaveni(&dat, soubor));
    TData znovu;
    InicializaceDat(&znovu);
    ASSERT_TRUE(NactiNastaveni(&znovu, soubor));
    OcekavejStejne(znovu.Pripojeni, dat.Pripojeni);
}

TEST_F(Nastaveni, OnlyInterfaceKeyPresent)
{
    ZapisText(soubor, "[Rozhraní]\nRozhraní=1\n");
    EXPECT_TRUE(NactiNastaveni(&dat, soubor));
    TPripojeni ocekavano = Vychozi();
    ocekavano.Rozhrani = vk::common::RozhraniLAN;
    OcekavejStejne(dat.Pripojeni, ocekavano);
}

TEST_F(Nastaveni, WithoutTheInterfaceKeyNothingIsRead)
{
    for (const char* obsah : {"[Rozhraní]\nRozhraní=jkl\n[UART]\nCOM=5\n", "[UART]\nCOM=5\n",
                              "[LAN]\nRozhraní=1\n[UART]\nCOM=5\n", "", "[Rozhraní]\nRozhrani=1\n"}) {
        ZapisText(soubor, obsah);
        EXPECT_FALSE(NactiNastaveni(&dat, soubor)) << obsah;
        OcekavejStejne(dat.Pripojeni, Vychozi());
    }
}

struct TCelyKlic {
    std::string hodnota;
    std::int32_t com;  // UART_CisloCOM afterwards (default 1)
};

class NastaveniCislo : public Nastaveni, public testing::WithParamInterface<TCelyKlic> {};

TEST_P(NastaveniCislo, ConvertedOrLeftAsItWas)
{
    ZapisText(soubor, "[Rozhraní]\nRozhraní=0\n[UART]\nCOM=" + GetParam().hodnota + "\n");
    EXPECT_TRUE(NactiNastaveni(&dat, soubor));
    EXPECT_EQ(dat.Pripojeni.UART_CisloCOM, GetParam().com) << GetParam().hodnota;
}

INSTANTIATE_TEST_SUITE_P(Tabulka, NastaveniCislo,
                         testing::Values(TCelyKlic{"0x0A", 10}, TCelyKlic{"$10", 16}, TCelyKlic{"-5", -5},
                                         TCelyKlic{"  12  ", 12}, TCelyKlic{"\"13\"", 13}, TCelyKlic{"100000", 100000},
                                         TCelyKlic{"abc", 1}, TCelyKlic{"", 1}, TCelyKlic{"1 2", 1},
                                         TCelyKlic{"99999999999", 1}, TCelyKlic{"0x", 1}));

struct TMezeraKlic {
    std::string hodnota;
    std::int32_t mezera;  // UART_Mezera afterwards (7 before the read)
};

class NastaveniMezera : public Nastaveni, public testing::WithParamInterface<TMezeraKlic> {};

// The reply gap by hand: catches a bad value kept from before (or taken as
// it stands, beyond the range) instead of reading as automatic (0).
TEST_P(NastaveniMezera, ReadInRangeElseZero)
{
    ZapisText(soubor, "[Rozhraní]\nRozhraní=0\n[UART]\nMezera=" + GetParam().hodnota + "\n");
    dat.Pripojeni.UART_Mezera = 7;
    EXPECT_TRUE(NactiNastaveni(&dat, soubor));
    EXPECT_EQ(dat.Pripojeni.UART_Mezera, GetParam().mezera) << GetParam().hodnota;
}

INSTANTIATE_TEST_SUITE_P(Tabulka, NastaveniMezera,
                         testing::Values(TMezeraKlic{"30", 30}, TMezeraKlic{"0", 0}, TMezeraKlic{"1000", 1000},
                                         TMezeraKlic{"$14", 20}, TMezeraKlic{"1001", 0}, TMezeraKlic{"-5", 0},
                                         TMezeraKlic{"abc", 0}, TMezeraKlic{"", 0}, TMezeraKlic{"20 ms", 0}));

// The search's floor: catches a value outside 1..1000 (0 would leave a
// real adapter no time), or a missing file, taken for anything but 50 ms.
TEST_F(Nastaveni, SearchFloorInRangeElseDefault)
{
    const std::pair<const char*, std::int32_t> radky[] = {{"80", 80},   {"1", 1},    {"1000", 1000}, {"0", 50},
                                                          {"1001", 50}, {"abc", 50}, {"", 50}};
    for (const auto& [hodnota, ms] : radky) {
        ZapisText(soubor, std::string("[UART]\nHledani=") + hodnota + "\n");
        EXPECT_EQ(NactiHledani(soubor), ms) << hodnota;
    }
    EXPECT_EQ(NactiHledani(slozka / "chybi.ini"), VychoziHledaniMs);
}

struct TKlicUART {
    std::string radek;  // "key=value" in [UART]
    std::int32_t TPripojeni::*pole;
    std::int32_t pred;  // the field before the read
    std::int32_t po;    // and after it
};

class NastaveniRS485 : public Nastaveni, public testing::WithParamInterface<TKlicUART> {};

// The RS-485 keys and Echo: catches a bad value kept from before or taken
// beyond its range (a delay the driver would shorten, a mode the link does
// not know), and an Echo that a typing error turns off.
TEST_P(NastaveniRS485, ReadInRangeElseTheSafeValue)
{
    ZapisText(soubor, "[Rozhraní]\nRozhraní=0\n[UART]\n" + GetParam().radek + "\n");
    dat.Pripojeni.*GetParam().pole = GetParam().pred;
    EXPECT_TRUE(NactiNastaveni(&dat, soubor));
    EXPECT_EQ(dat.Pripojeni.*GetParam().pole, GetParam().po) << GetParam().radek;
}

INSTANTIATE_TEST_SUITE_P(
    Tabulka, NastaveniRS485,
    testing::Values(
        TKlicUART{"RS485=1", &TPripojeni::UART_RS485, 0, 1}, TKlicUART{"RS485=2", &TPripojeni::UART_RS485, 0, 2},
        TKlicUART{"RS485=0", &TPripojeni::UART_RS485, 2, 0}, TKlicUART{"RS485=3", &TPripojeni::UART_RS485, 2, 0},
        TKlicUART{"RS485=high", &TPripojeni::UART_RS485, 1, 0},
        TKlicUART{"RS485ZpozdeniPred=100", &TPripojeni::UART_RS485ZpozdeniPred, 7, 100},
        TKlicUART{"RS485ZpozdeniPred=101", &TPripojeni::UART_RS485ZpozdeniPred, 7, 0},
        TKlicUART{"RS485ZpozdeniPo=3", &TPripojeni::UART_RS485ZpozdeniPo, 7, 3},
        TKlicUART{"RS485ZpozdeniPo=-1", &TPripojeni::UART_RS485ZpozdeniPo, 7, 0},
        TKlicUART{"Echo=0", &TPripojeni::UART_Echo, 1, 0}, TKlicUART{"Echo=1", &TPripojeni::UART_Echo, 0, 1},
        TKlicUART{"Echo=2", &TPripojeni::UART_Echo, 0, 1}, TKlicUART{"Echo=off", &TPripojeni::UART_Echo, 0, 1}));
struct TOpakovaniKlic {
    std::string hodnota;
    std::int32_t opakovani;  // LAN_Opakovani afterwards (7 before the read)
};

class NastaveniOpakovani : public Nastaveni, public testing::WithParamInterface<TOpakovaniKlic> {};

// The TFTP retries: catches a bad value kept from before, taken beyond the
// range, or read as 0, which would quietly switch the retries off, instead
// of reading as the default 3.
TEST_P(NastaveniOpakovani, ReadInRangeElseTheDefault)
{
    ZapisText(soubor, "[Rozhraní]\nRozhraní=1\n[LAN]\nOpakovani=" + GetParam().hodnota + "\n");
    dat.Pripojeni.LAN_Opakovani = 7;
    EXPECT_TRUE(NactiNastaveni(&dat, soubor));
    EXPECT_EQ(dat.Pripojeni.LAN_Opakovani, GetParam().opakovani) << GetParam().hodnota;
}

INSTANTIATE_TEST_SUITE_P(Tabulka, NastaveniOpakovani,
                         testing::Values(TOpakovaniKlic{"5", 5}, TOpakovaniKlic{"0", 0}, TOpakovaniKlic{"10", 10},
                                         TOpakovaniKlic{"$A", 10}, TOpakovaniKlic{"11", 3}, TOpakovaniKlic{"-1", 3},
                                         TOpakovaniKlic{"abc", 3}, TOpakovaniKlic{"", 3}, TOpakovaniKlic{"2x", 3}));

// Written where the other LAN keys are, and read back.
TEST_F(Nastaveni, RetriesAreWrittenInTheLanSectionAndReadBack)
{
    dat.Pripojeni.LAN_Opakovani = 0;
    ASSERT_TRUE(UlozNastaveni(&dat, soubor));
    EXPECT_NE(CtiText(soubor).find("[LAN]\nIP adresa=192.168.0.99\nVerze IP=0\nTimeout=1000\nOpakovani=0\n[UART]"),
              std::string::npos)
        << CtiText(soubor);
    TData znovu;
    InicializaceDat(&znovu);
    ASSERT_TRUE(NactiNastaveni(&znovu, soubor));
    EXPECT_EQ(znovu.Pripojeni.LAN_Opakovani, 0);
}

TEST_F(Nastaveni, NamesMatchWithoutRegardToCaseAndValuesAreUnchecked)
{
    ZapisText(soubor, "[ROZHRANÍ]\nrozhraní=7\n[lan]\nip ADRESA=10.0.0.1\nverze ip=3\n[Uart]\nrychlost=1\nTIMEOUT=0\n");
    EXPECT_TRUE(NactiNastaveni(&dat, soubor));
    TPripojeni ocekavano = Vychozi();
    ocekavano.Rozhrani = 7;
    ocekavano.LAN_IP = "10.0.0.1";
    ocekavano.LAN_VerzeIP = 3;
    ocekavano.UART_KodBaud = 1;
    ocekavano.UART_Timeout = 0;
    OcekavejStejne(dat.Pripojeni, ocekavano);
}

TEST_F(Nastaveni, Windows1250FileFromTheWindowsBuild)
{
    ZapisText(soubor, "[Rozhran\xED]\r\nRozhran\xED=1\r\n[LAN]\r\nIP adresa=10.1.1.1\r\nTimeout=500\r\n");
    ASSERT_TRUE(NactiNastaveni(&dat, soubor));
    EXPECT_EQ(dat.Pripojeni.Rozhrani, 1);
    EXPECT_EQ(dat.Pripojeni.LAN_IP, "10.1.1.1");
    EXPECT_EQ(dat.Pripojeni.LAN_Timeout, 500);

    // Written back as UTF-8, the keys found in place, the line ends kept.
    ASSERT_TRUE(UlozNastaveni(&dat, soubor));
    EXPECT_EQ(CtiText(soubor),
              "[Rozhraní]\r\nRozhraní=1\r\n[LAN]\r\nIP adresa=10.1.1.1\r\nTimeout=500\r\nVerze IP=0\r\nOpakovani=3\r\n"
              "[UART]\r\nCOM=1\r\nRychlost=4\r\nParita=1\r\nTimeout=330\r\nAdresa=247\r\nMezera=0\r\n"
              "RS485=0\r\nRS485ZpozdeniPred=0\r\nRS485ZpozdeniPo=0\r\nEcho=1\r\n");
}

TEST_F(Nastaveni, OtherContentStaysAndKeysAreReplacedInPlace)
{
    ZapisText(soubor, "; napsano rucne\n"
                      "[UART]\n"
                      "Adresa=1\n"
                      "Vlastni=ano\n"
                      "COM=3\n"
                      "\n"
                      "[Porty]\n"
                      "COM3=/dev/ttyACM0\n"
                      "[rozhraní]\n"
                      "ROZHRANÍ=1\n");
    ASSERT_TRUE(NactiNastaveni(&dat, soubor));
    EXPECT_EQ(dat.Pripojeni.UART_CisloCOM, 3);
    dat.Pripojeni.UART_Adresa = 17;
    ASSERT_TRUE(UlozNastaveni(&dat, soubor));
    EXPECT_EQ(CtiText(soubor), "; napsano rucne\n"
                               "[UART]\n"
                               "Adresa=17\n"
                               "Vlastni=ano\n"
                               "COM=3\n"
                               "Rychlost=4\n"
                               "Parita=1\n"
                               "Timeout=330\n"
                               "Mezera=0\n"
                               "RS485=0\n"
                               "RS485ZpozdeniPred=0\n"
                               "RS485ZpozdeniPo=0\n"
                               "Echo=1\n"
                               "\n"
                               "[Porty]\n"
                               "COM3=/dev/ttyACM0\n"
                               "[rozhraní]\n"
                               "Rozhraní=1\n"
                               "[LAN]\n"
                               "IP adresa=192.168.0.99\n"
                               "Verze IP=0\n"
                               "Timeout=1000\n"
                               "Opakovani=3\n");
    EXPECT_EQ(NactiPortCOM(soubor, 3), "/dev/ttyACM0");
    EXPECT_EQ(NactiPortCOM(soubor, 1), "");
    EXPECT_EQ(NactiPortCOM(slozka / "neni.ini", 3), "");
}

TEST_F(Nastaveni, AddressTextWithBlanksOrQuotesReadsBackUnchanged)
{
    for (const char* ip : {" 192.168.0.1 ", "\"host\"", "'x'", ""}) {
        dat.Pripojeni.LAN_IP = ip;
        ASSERT_TRUE(UlozNastaveni(&dat, soubor));
        TData znovu;
        InicializaceDat(&znovu);
        ASSERT_TRUE(NactiNastaveni(&znovu, soubor));
        EXPECT_EQ(znovu.Pripojeni.LAN_IP, ip);
    }
}

TEST_F(Nastaveni, ExistingFileKeepsItsPermissions)
{
    ZapisText(soubor, "[Rozhraní]\nRozhraní=1\n");
    std::filesystem::permissions(soubor, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                                             std::filesystem::perms::group_read);
    ASSERT_TRUE(UlozNastaveni(&dat, soubor));
    EXPECT_EQ(std::filesystem::status(soubor).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                  std::filesystem::perms::group_read);
}

TEST_F(Nastaveni, FailuresReturnFalseAndDestroyNothing)
{
    EXPECT_FALSE(NactiNastaveni(nullptr, soubor));
    EXPECT_FALSE(UlozNastaveni(nullptr, soubor));
    EXPECT_FALSE(NactiNastaveni(nullptr));
    EXPECT_FALSE(UlozNastaveni(nullptr));

    // A folder where the file should be: neither read nor replaced.
    std::filesystem::create_directory(soubor);
    ZapisText(soubor / "uvnitr", "x");
    EXPECT_FALSE(NactiNastaveni(&dat, soubor));
    EXPECT_FALSE(UlozNastaveni(&dat, soubor));
    EXPECT_TRUE(std::filesystem::is_directory(soubor));
    EXPECT_EQ(CtiText(soubor / "uvnitr"), "x");
    EXPECT_EQ(slozka.Obsah(), std::vector<std::string>{"W_vk7316r.ini"});  // no temporary file left
}

TEST_F(Nastaveni, SaveCreatesTheUserFolder)
{
    const auto vnoreny = slozka / "config" / "W_vk7316r" / "W_vk7316r.ini";
    ASSERT_TRUE(UlozNastaveni(&dat, vnoreny));
    EXPECT_EQ(CtiText(vnoreny), vychoziSoubor);
}

TEST(CestyNastaveni, NextToTheProgramOrInTheUserConfigurationFolder)
{
    // No file exists in these user folders.
    const auto cesty = [](const char* program, bool zapisovatelna, const char* xdg, const char* home) {
        const TCestyNastaveni c = CestyNastaveni(program, zapisovatelna, xdg, home);
        return std::pair(c.Cteni.string(), c.Zapis.string());
    };
    using P = std::pair<std::string, std::string>;
    EXPECT_EQ(cesty("/opt/vk", true, "/home/u/cfg", "/home/u"), P("/opt/vk/W_vk7316r.ini", "/opt/vk/W_vk7316r.ini"));
    EXPECT_EQ(cesty("/usr/bin", false, "/home/u/cfg", "/home/u"),
              P("/usr/bin/W_vk7316r.ini", "/home/u/cfg/W_vk7316r/W_vk7316r.ini"));
    EXPECT_EQ(cesty("/usr/bin", false, "", "/home/u").second, "/home/u/.config/W_vk7316r/W_vk7316r.ini");
    EXPECT_EQ(cesty("/usr/bin", false, "cfg", "/home/u").second, "/home/u/.config/W_vk7316r/W_vk7316r.ini");
    EXPECT_EQ(cesty("/usr/bin", false, "", ""), P("/usr/bin/W_vk7316r.ini", "/usr/bin/W_vk7316r.ini"));
    EXPECT_EQ(cesty("", false, "/x", ""), P("/x/W_vk7316r/W_vk7316r.ini", "/x/W_vk7316r/W_vk7316r.ini"));

    // This test program's own folder (a build folder) can be written.
    std::error_code ec;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", ec);
    ASSERT_FALSE(ec);
    EXPECT_EQ(CestyNastaveni().Cteni, program.parent_path() / "W_vk7316r.ini");
    EXPECT_EQ(CestyNastaveni().Zapis, program.parent_path() / "W_vk7316r.ini");
}

// Root can write into /usr/bin: without the check an installed program run as
// root would leave a W_vk7316r.ini there that no package owns and its removal
// leaves behind. Installed means the data folder is beside the bin folder,
// as `cmake --install` and the package lay them out.
TEST_F(Nastaveni, AnInstalledProgramsFolderDoesNotHoldTheSettingsEvenWhenWritable)
{
    const auto bin = slozka / "usr" / "bin";
    std::filesystem::create_directories(bin);
    EXPECT_TRUE(NastaveniUProgramu(bin));  // like a build folder
    std::filesystem::create_directories(slozka / "usr" / "share" / "w-vk7316r");
    EXPECT_FALSE(NastaveniUProgramu(bin));
    EXPECT_FALSE(NastaveniUProgramu(slozka / "chybi"));  // a folder that is not there cannot be written
}

// An installed program: its folder cannot be written, and a file placed next
// to it holds the settings until the user's own file exists.
TEST_F(Nastaveni, UnwritableProgramFolderReadsNextToTheProgramUntilTheUserFileExists)
{
    const auto program = slozka / "bin";
    const auto config = slozka / "config";
    const auto uProgramu = program / "W_vk7316r.ini";
    const auto uUzivatele = config / "W_vk7316r" / "W_vk7316r.ini";
    const std::string puvodni = "[Rozhraní]\nRozhraní=1\n[Porty]\nCOM3=/dev/ttyACM0\n";
    std::filesystem::create_directory(program);
    ZapisText(uProgramu, puvodni);

    TCestyNastaveni cesty = CestyNastaveni(program, false, config.string(), "");
    EXPECT_EQ(cesty.Cteni, uProgramu);
    EXPECT_EQ(cesty.Zapis, uUzivatele);
    ASSERT_TRUE(NactiNastaveni(&dat, cesty.Cteni));
    EXPECT_EQ(dat.Pripojeni.Rozhrani, 1);

    // The user's new file carries on the one read, which stays as it was.
    dat.Pripojeni.UART_Adresa = 17;
    ASSERT_TRUE(UlozNastaveni(&dat, cesty));
    EXPECT_EQ(CtiText(uProgramu), puvodni);
    EXPECT_EQ(CtiText(uUzivatele), puvodni + "[LAN]\nIP adresa=192.168.0.99\nVerze IP=0\nTimeout=1000\nOpakovani=3\n"
                                             "[UART]\nCOM=1\nRychlost=4\nParita=1\nTimeout=330\nAdresa=17\nMezera=0\n"
                                             "RS485=0\nRS485ZpozdeniPred=0\nRS485ZpozdeniPo=0\nEcho=1\n");

    cesty = CestyNastaveni(program, false, config.string(), "");
    EXPECT_EQ(cesty.Cteni, uUzivatele);
    EXPECT_EQ(cesty.Zapis, uUzivatele);
    TData znovu;
    InicializaceDat(&znovu);
    ASSERT_TRUE(NactiNastaveni(&znovu, cesty.Cteni));
    EXPECT_EQ(znovu.Pripojeni.UART_Adresa, 17);
    EXPECT_EQ(NactiPortCOM(cesty.Cteni, 3), "/dev/ttyACM0");

    // Where the program's folder can be written, its own file is the only one:
    // the user's file must not shadow what the program writes.
    cesty = CestyNastaveni(program, true, config.string(), "");
    EXPECT_EQ(cesty.Cteni, uProgramu);
    EXPECT_EQ(cesty.Zapis, uProgramu);
}

}  // namespace

// Service mode: catches a value other than "1" switching it on (a typo must
// not open the service menus), a section or key matched with case, or a
// missing file taken as on.
class NastaveniServis : public testing::TestWithParam<std::pair<const char*, bool>> {};

TEST_P(NastaveniServis, OnOnlyForOne)
{
    TDocasnaSlozka slozka;
    const auto soubor = slozka / "W_vk7316r.ini";
    EXPECT_FALSE(ServisniRezim(soubor));
    ZapisText(soubor, std::string("[Rozhraní]\nRozhraní=1\n") + GetParam().first);
    EXPECT_EQ(ServisniRezim(soubor), GetParam().second) << GetParam().first;
}

INSTANTIATE_TEST_SUITE_P(
    Hodnoty, NastaveniServis,
    testing::Values(std::pair{"[Program]\nServis=1\n", true}, std::pair{"[program]\nSERVIS=1\n", true},
                    std::pair{"[Program]\nServis=0\n", false}, std::pair{"[Program]\nServis=2\n", false},
                    std::pair{"[Program]\nServis=ano\n", false}, std::pair{"[Program]\nServis=\n", false},
                    std::pair{"[UART]\nServis=1\n", false}));
