#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "Dekl.h"
#include "DocasnaSlozka.h"

using namespace vk::core;
using vk::test::CtiBajty;
using vk::test::TDocasnaSlozka;
using vk::test::ZapisBajty;

namespace {

constexpr std::size_t velikost = 60928;

std::vector<std::uint8_t> ZHexu(const std::string& hex)
{
    std::vector<std::uint8_t> bajty;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bajty.push_back(static_cast<std::uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
    return bajty;
}

std::vector<std::uint8_t> Usek(const std::vector<std::uint8_t>& v, std::size_t od, std::size_t pocet)
{
    return {v.begin() + static_cast<std::ptrdiff_t>(od), v.begin() + static_cast<std::ptrdiff_t>(od + pocet)};
}

bool Vse(const std::vector<std::uint8_t>& v, std::size_t od, std::size_t do_, std::uint8_t hodnota)
{
    for (std::size_t i = od; i < do_; ++i)
        if (v[i] != hodnota)
            return false;
    return true;
}

unsigned Soucet(const std::vector<std::uint8_t>& v, std::size_t od, std::size_t do_)
{
    unsigned s = 0;
    for (std::size_t i = od; i <= do_; ++i)
        s += v[i];
    return s & 0xFF;
}

class Konfigurace : public testing::Test {
protected:
    void SetUp() override
    {
        InicializaceDat(&dat);
        InicializaceDat(&jina);
        // An image unlike the defaults in every stored field, with IPv6 bytes
        // in the tails of the user entries that must not reach the file.
        TCFGVK& c = jina.CFGVK;
        c.LAN4 = {{10, 0, 0, 1}, {255, 0, 0, 0}, {10, 0, 0, 254}, 1};
        c.Sprava.Rezim = 2;
        for (std::uint8_t z = 0; z < 8; ++z) {
            for (std::uint8_t k = 0; k < 16; ++k)
                c.Sprava.User_IP[z][k] = static_cast<std::uint8_t>(0x10 * z + k + 1);
        }
        c.Sprava.VerzeIP = {1, 0, 1, 0, 1, 0, 1, 0};
    }

    bool Uloz(TData& d, const std::filesystem::path& cesta, bool odpoved = true)
    {
        return UlozKonfiguraci(
            &d, cesta.string(),
            [&](const std::string& otazka) {
                otazky.push_back(otazka);
                return odpoved;
            },
            chyba);
    }

    TDocasnaSlozka slozka;
    std::filesystem::path soubor = slozka / "modul.cfm";
    TData dat, jina;
    std::vector<std::string> otazky;
    std::string chyba;
};

TEST_F(Konfigurace, DefaultImageBytes)
{
    ASSERT_TRUE(Uloz(dat, soubor));
    EXPECT_TRUE(otazky.empty());
    const auto b = CtiBajty(soubor);
    ASSERT_EQ(b.size(), velikost);
    EXPECT_EQ(Usek(b, 0, 16), ZHexu("C0A80063"
                                    "FFFFFF00"
                                    "C0A800C8"
                                    "00"
                                    "FFFF"
                                    "0A"));
    EXPECT_TRUE(Vse(b, 16, 512, 0xFF));
    EXPECT_EQ(b[512], 0x01);
    EXPECT_TRUE(Vse(b, 513, 649, 0x00));
    EXPECT_EQ(b[649], 0xFF);
    EXPECT_TRUE(Vse(b, 650, velikost, 0xFF));
}

TEST_F(Konfigurace, StoredFieldsAtTheirOffsets)
{
    ASSERT_TRUE(Uloz(jina, soubor));
    const auto b = CtiBajty(soubor);
    ASSERT_EQ(b.size(), velikost);
    // 0A+01 + FF + 0A+FE + 01 + FF+FF = 0x411 -> check byte 0x100 - 0x11 = 0xEF
    EXPECT_EQ(Usek(b, 0, 16), ZHexu("0A000001"
                                    "FF000000"
                                    "0A0000FE"
                                    "01"
                                    "FFFF"
                                    "EF"));
    EXPECT_EQ(Usek(b, 512, 33), ZHexu("02"
                                      "01020304"
                                      "11121314"
                                      "21222324"
                                      "31323334"
                                      "41424344"
                                      "51525354"
                                      "61626364"
                                      "71727374"));
    EXPECT_TRUE(Vse(b, 545, 649, 0x00));
    EXPECT_EQ(Soucet(b, 512, 649), 0u);
    EXPECT_TRUE(Vse(b, 650, velikost, 0xFF));
}

TEST_F(Konfigurace, LoadRestoresOnlyTheStoredFields)
{
    ASSERT_TRUE(Uloz(jina, soubor));
    TData ocekavano = dat;
    dat.CFGVK.Sprava.VerzeIP = {0, 1, 0, 1, 0, 1, 0, 1};
    for (auto& zaznam : dat.CFGVK.Sprava.User_IP)
        zaznam.fill(0xEE);
    dat.CFGVK.LAN6.IP6_GUA.fill(0x20);
    dat.CFGVK.MBTCP.UnitID = 9;
    ocekavano = dat;

    ASSERT_TRUE(NactiKonfiguraci(&dat, soubor.string(), chyba));
    EXPECT_EQ(chyba, "");
    ocekavano.CFGVK.LAN4 = {{10, 0, 0, 1}, {255, 0, 0, 0}, {10, 0, 0, 254}, 1};
    ocekavano.CFGVK.Sprava.Rezim = 2;
    for (std::size_t z = 0; z < 8; ++z)
        for (std::size_t k = 0; k < 4; ++k)
            ocekavano.CFGVK.Sprava.User_IP[z][k] = jina.CFGVK.Sprava.User_IP[z][k];

    const TCFGVK& a = dat.CFGVK;
    const TCFGVK& e = ocekavano.CFGVK;
    EXPECT_EQ(a.LAN4.IP4_Adresa, e.LAN4.IP4_Adresa);
    EXPECT_EQ(a.LAN4.IP4_Maska, e.LAN4.IP4_Maska);
    EXPECT_EQ(a.LAN4.IP4_Brana, e.LAN4.IP4_Brana);
    EXPECT_EQ(a.LAN4.IP4_DHCP, e.LAN4.IP4_DHCP);
    EXPECT_EQ(a.Sprava.Rezim, e.Sprava.Rezim);
    EXPECT_EQ(a.Sprava.User_IP, e.Sprava.User_IP);  // the last 12 bytes of each entry kept
    EXPECT_EQ(a.Sprava.VerzeIP, e.Sprava.VerzeIP);
    EXPECT_EQ(a.LAN6.IP6_GUA, e.LAN6.IP6_GUA);
    EXPECT_EQ(a.MBTCP.UnitID, e.MBTCP.UnitID);
    EXPECT_EQ(dat.Pripojeni.LAN_IP, ocekavano.Pripojeni.LAN_IP);
}

// Which blocks a file changes: LAN4 from block 0, Sprava from block 1.
struct TPoskozeni {
    const char* popis;
    std::size_t delka;      // bytes of the saved file kept
    std::ptrdiff_t zmenit;  // offset to change, -1 none
    bool lan4, sprava;      // loaded?
};

class KonfiguraceBloky : public Konfigurace, public testing::WithParamInterface<TPoskozeni> {};

TEST_P(KonfiguraceBloky, AppliesOnlyBlocksThatPassTheirCheck)
{
    const TPoskozeni& p = GetParam();
    ASSERT_TRUE(Uloz(jina, soubor));
    auto b = CtiBajty(soubor);
    b.resize(p.delka);
    if (p.zmenit >= 0)
        b[static_cast<std::size_t>(p.zmenit)] ^= 0x01;
    ZapisBajty(soubor, b);

    const TData predtim = dat;
    ASSERT_TRUE(NactiKonfiguraci(&dat, soubor.string(), chyba)) << p.popis;
    const TData& zdroj4 = p.lan4 ? jina : predtim;
    const TData& zdrojS = p.sprava ? jina : predtim;
    EXPECT_EQ(dat.CFGVK.LAN4.IP4_Adresa, zdroj4.CFGVK.LAN4.IP4_Adresa) << p.popis;
    EXPECT_EQ(dat.CFGVK.LAN4.IP4_DHCP, zdroj4.CFGVK.LAN4.IP4_DHCP) << p.popis;
    EXPECT_EQ(dat.CFGVK.Sprava.Rezim, zdrojS.CFGVK.Sprava.Rezim) << p.popis;
    EXPECT_EQ(dat.CFGVK.Sprava.User_IP[7][3], zdrojS.CFGVK.Sprava.User_IP[7][3]) << p.popis;
    EXPECT_EQ(dat.CFGVK.Sprava.User_IP[7][4], predtim.CFGVK.Sprava.User_IP[7][4]) << p.popis;
}

INSTANTIATE_TEST_SUITE_P(Tabulka, KonfiguraceBloky,
                         testing::Values(TPoskozeni{"whole file", velikost, -1, true, true},
                                         TPoskozeni{"check byte 15 altered", velikost, 15, false, true},
                                         TPoskozeni{"address byte altered", velikost, 2, false, true},
                                         TPoskozeni{"filler byte 13 altered", velikost, 13, false, true},
                                         TPoskozeni{"check byte 649 altered", velikost, 649, true, false},
                                         TPoskozeni{"mode byte altered", velikost, 512, true, false},
                                         TPoskozeni{"zero filler 600 altered", velikost, 600, true, false},
                                         TPoskozeni{"bytes outside the checks altered", velikost, 300, true, true},
                                         TPoskozeni{"byte 700 altered", velikost, 700, true, true},
                                         TPoskozeni{"byte 1024 on never read", velikost, 1024, true, true},
                                         TPoskozeni{"1024 bytes", 1024, -1, true, true},
                                         TPoskozeni{"700 bytes: block 1 checked area complete", 700, -1, true, true},
                                         TPoskozeni{"650 bytes", 650, -1, true, true},
                                         TPoskozeni{"649 bytes: check byte missing", 649, -1, true, false},
                                         TPoskozeni{"600 bytes", 600, -1, true, false},
                                         TPoskozeni{"513 bytes", 513, -1, true, false},
                                         TPoskozeni{"512 bytes: nothing, not even block 0", 512, -1, false, false},
                                         TPoskozeni{"16 bytes", 16, -1, false, false},
                                         TPoskozeni{"empty", 0, -1, false, false}));

// The bytes a short file does not supply count as 0xFF: a cut block 1 whose
// supplied bytes complete the sum with them is taken.
TEST_F(Konfigurace, ShortBlock1CountsMissingBytesAsFF)
{
    ASSERT_TRUE(Uloz(dat, soubor));
    auto b = CtiBajty(soubor);
    b.resize(600);  // block 1 bytes 0..87 supplied, 88..137 (50 bytes) missing
    b[512] = 2;     // mode
    b[513] = 7;     // first byte of entry 1
    // 50 x 0xFF = -50 (mod 256): the supplied bytes must sum to 50.
    b[599] = static_cast<std::uint8_t>(50 - 2 - 7);
    ZapisBajty(soubor, b);
    ASSERT_TRUE(NactiKonfiguraci(&dat, soubor.string(), chyba));
    EXPECT_EQ(dat.CFGVK.Sprava.Rezim, 2);
    EXPECT_EQ(dat.CFGVK.Sprava.User_IP[0][0], 7);

    b[599] ^= 1;
    ZapisBajty(soubor, b);
    dat.CFGVK.Sprava.Rezim = 1;
    ASSERT_TRUE(NactiKonfiguraci(&dat, soubor.string(), chyba));
    EXPECT_EQ(dat.CFGVK.Sprava.Rezim, 1);
}

// The verdict per block that a viewer of the file shows: a block the file
// cuts short is checked with 0xFF for its missing bytes, and is "incomplete"
// only when that check fails; nothing loads from a file of 512 bytes or less.
TEST_F(Konfigurace, VerdictPerBlockIsTheLoadersDecision)
{
    ASSERT_TRUE(Uloz(dat, soubor));
    const auto plny = CtiBajty(soubor);
    auto prilisKratky = plny;
    prilisKratky.resize(600);
    auto kratky = prilisKratky;  // 600 bytes whose block 1 passes: 50 x 0xFF missing
    kratky[512] = 0;             // mode 0, unlike `jina`'s 2
    kratky[513] = 7;
    kratky[599] = static_cast<std::uint8_t>(50 - 7);
    auto spatnyBlok1 = plny;
    spatnyBlok1[649] ^= 0x01;
    const auto jedenBlok = Usek(plny, 0, 512);
    const auto zacatek = Usek(plny, 0, 10);

    using K = TKontrolaBloku;
    struct {
        const char* popis;
        const std::vector<std::uint8_t>& obsah;
        K kontrola0, kontrola1;
        bool nacte0, nacte1;
    } const pripady[] = {
        {"whole file", plny, K::Platna, K::Platna, true, true},
        {"check byte 649 altered", spatnyBlok1, K::Platna, K::Chybna, true, false},
        {"600 bytes whose sum fails", prilisKratky, K::Platna, K::Neuplna, true, false},
        {"600 bytes whose sum holds", kratky, K::Platna, K::Platna, true, true},
        {"512 bytes", jedenBlok, K::Platna, K::Neuplna, false, false},
        {"10 bytes", zacatek, K::Neuplna, K::Neuplna, false, false},
    };
    for (const auto& c : pripady) {
        TCFGVK cfg = jina.CFGVK;
        const TBlokyKonfigurace b = PouzijKonfiguraci(c.obsah, cfg);
        EXPECT_EQ(b.Kontrola[0], c.kontrola0) << c.popis;
        EXPECT_EQ(b.Kontrola[1], c.kontrola1) << c.popis;
        EXPECT_EQ(b.Nacte[0], c.nacte0) << c.popis;
        EXPECT_EQ(b.Nacte[1], c.nacte1) << c.popis;
        EXPECT_EQ(cfg.LAN4.IP4_Adresa, (c.nacte0 ? dat : jina).CFGVK.LAN4.IP4_Adresa) << c.popis;
        EXPECT_EQ(cfg.Sprava.Rezim, c.nacte1 ? c.obsah[512] : jina.CFGVK.Sprava.Rezim) << c.popis;
    }
}

TEST_F(Konfigurace, OverwriteQuestionAndAnswer)
{
    const std::vector<std::uint8_t> stary = {1, 2, 3};
    ZapisBajty(soubor, stary);

    ASSERT_TRUE(Uloz(jina, soubor, false));
    ASSERT_EQ(otazky.size(), 1u);
    EXPECT_EQ(otazky[0], "Soubor \"" + soubor.string() + "\" již existuje.  Chcete ho přepsat?");
    EXPECT_EQ(CtiBajty(soubor), stary);
    EXPECT_EQ(chyba, "");

    EXPECT_TRUE(UlozKonfiguraci(&jina, soubor.string(), nullptr, chyba));  // nobody to ask: kept
    EXPECT_EQ(CtiBajty(soubor), stary);

    ASSERT_TRUE(Uloz(jina, soubor, true));
    EXPECT_EQ(otazky.size(), 2u);
    EXPECT_EQ(CtiBajty(soubor).size(), velikost);
    EXPECT_EQ(slozka.Obsah(), std::vector<std::string>{"modul.cfm"});  // no temporary file left
}

TEST_F(Konfigurace, SaveThroughALinkReplacesTheFileItNames)
{
    const auto cil = slozka / "skutecny.cfm";
    ZapisBajty(cil, {1});
    std::filesystem::create_symlink(cil, soubor);
    ASSERT_TRUE(Uloz(dat, soubor));
    EXPECT_TRUE(std::filesystem::is_symlink(soubor));
    EXPECT_EQ(CtiBajty(cil).size(), velikost);
}

TEST_F(Konfigurace, NothingToDo)
{
    EXPECT_TRUE(UlozKonfiguraci(nullptr, soubor.string(), nullptr, chyba));
    EXPECT_TRUE(UlozKonfiguraci(&dat, "", nullptr, chyba));
    EXPECT_TRUE(NactiKonfiguraci(nullptr, soubor.string(), chyba));
    EXPECT_TRUE(NactiKonfiguraci(&dat, "", chyba));
    EXPECT_TRUE(slozka.Obsah().empty());

    const TData predtim = dat;
    EXPECT_TRUE(NactiKonfiguraci(&dat, (slozka / "neni.cfm").string(), chyba));
    EXPECT_EQ(chyba, "");
    EXPECT_EQ(dat.CFGVK.LAN4.IP4_Adresa, predtim.CFGVK.LAN4.IP4_Adresa);
}

TEST_F(Konfigurace, FileErrorsGiveAMessage)
{
    const auto bezSlozky = slozka / "neni" / "modul.cfm";
    EXPECT_FALSE(Uloz(jina, bezSlozky));
    EXPECT_EQ(chyba, "Soubor \"" + bezSlozky.string() + "\" nelze zapsat.");
    EXPECT_FALSE(std::filesystem::exists(bezSlozky));

    // A folder of that name: the question comes, the save fails, the folder
    // and its content stay and no temporary file is left.
    std::filesystem::create_directory(soubor);
    ZapisBajty(soubor / "uvnitr", {5});
    EXPECT_FALSE(Uloz(jina, soubor));
    EXPECT_EQ(chyba, "Soubor \"" + soubor.string() + "\" nelze zapsat.");
    EXPECT_EQ(CtiBajty(soubor / "uvnitr"), std::vector<std::uint8_t>{5});
    EXPECT_EQ(slozka.Obsah(), std::vector<std::string>{"modul.cfm"});

    const TData predtim = dat;
    EXPECT_FALSE(NactiKonfiguraci(&dat, soubor.string(), chyba));
    EXPECT_EQ(chyba, "Soubor \"" + soubor.string() + "\" nelze otevřít.");
    EXPECT_EQ(dat.CFGVK.LAN4.IP4_Adresa, predtim.CFGVK.LAN4.IP4_Adresa);
}

// A FIFO picked with "all files" would block the window in a plain open:
// it is refused at once, as any file that is not a regular file.
TEST_F(Konfigurace, NonRegularFileIsRefusedWithoutBlocking)
{
    const auto fifo = slozka / "roura.cfm";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const TData predtim = dat;
    EXPECT_FALSE(NactiKonfiguraci(&dat, fifo.string(), chyba));
    EXPECT_EQ(chyba, "Soubor \"" + fifo.string() + "\" nelze otevřít.");
    EXPECT_EQ(dat.CFGVK.LAN4.IP4_Adresa, predtim.CFGVK.LAN4.IP4_Adresa);
}

// A file without write permission keeps its protection: saving over it
// fails with the message instead of replacing it by a rename.
TEST_F(Konfigurace, ReadOnlyFileIsNotReplaced)
{
    ZapisBajty(soubor, {1, 2, 3});
    std::filesystem::permissions(soubor, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    EXPECT_FALSE(Uloz(jina, soubor));
    EXPECT_EQ(chyba, "Soubor \"" + soubor.string() + "\" nelze zapsat.");
    EXPECT_EQ(CtiBajty(soubor), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(slozka.Obsah(), std::vector<std::string>{"modul.cfm"});
}

}  // namespace
