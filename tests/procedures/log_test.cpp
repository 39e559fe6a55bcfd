// The event log window's procedures against the in-process simulator over
// its TFTP link: what one poll reads and shows, the archive and the
// clearing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "Log.h"
#include "LogBajty.h"
#include "SimModul.h"
#include "Simulator.h"
#include "U_VK7316R.h"
#include "Ukonceni.h"

namespace {

using Bajty = std::vector<std::uint8_t>;
using vk::procedures::KrokLOG;
using vk::procedures::TKrokLOG;
using vk::procedures::TVysledekKrokuLOG;
using vk::sim::TPorucha;
namespace fs = std::filesystem;

using vk::test::SouborLogu;
using vk::test::ZaznamLogu;

Bajty NactiBajty(const std::string& soubor)
{
    std::ifstream f(soubor, std::ios::binary);
    return Bajty(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

std::vector<std::string> Obsah(const std::string& slozka)
{
    std::vector<std::string> jmena;
    for (const auto& e : fs::directory_iterator(slozka))
        jmena.push_back(e.path().filename().string());
    std::sort(jmena.begin(), jmena.end());
    return jmena;
}

class ProceduraLog : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string chyba;
        ASSERT_TRUE(simModul_.Spust(vk::test::TLinkaSim::Sit, chyba)) << chyba;
        std::string vzor = (fs::temp_directory_path() / "vk7316r-log-XXXXXX").string();
        ASSERT_NE(::mkdtemp(vzor.data()), nullptr);
        slozka_ = vzor;
        krok_.Init = true;
        krok_.PauzaMs = 0;
        krok_.SlozkaArchivu = slozka_;
        krok_.TypVerze = "VK-7316R  v.1.00";
        krok_.LAN_IP = "192.168.0.99";
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(slozka_, ec);
    }

    TVysledekKrokuLOG Krok(std::vector<std::string>* texty = nullptr)
    {
        return KrokLOG(modul_, krok_, [&](const std::string& t) {
            if (texty != nullptr)
                texty->push_back(t);
        });
    }

    vk::test::TSimModul simModul_;
    vk::sim::TSimulator& sim_ = simModul_.sim;
    vk::device::TVK7316R& modul_ = simModul_.modul;
    TKrokLOG krok_;
    std::string slozka_;
};

TEST_F(ProceduraLog, NezmenenaHlavickaNectePosledniZaznamy)
{
    ASSERT_TRUE(sim_.NastavSoubor("log.bin", SouborLogu(2, 400, {ZaznamLogu(1, 1), ZaznamLogu(5, 2)})));
    auto pred = sim_.PocetPozadavku();
    const TVysledekKrokuLOG prvni = Krok();
    EXPECT_EQ(prvni.Status, " OK");
    EXPECT_TRUE(prvni.Obnoveno);
    EXPECT_EQ(sim_.PocetPozadavku() - pred, 2u);  // logh.bin and log100.bin
    EXPECT_EQ(Bajty(prvni.PredchoziHlavicka.begin(), prvni.PredchoziHlavicka.end()), sim_.Soubor("logh.bin"));

    krok_.PredchoziHlavicka = prvni.PredchoziHlavicka;
    pred = sim_.PocetPozadavku();
    const TVysledekKrokuLOG druhy = Krok();
    EXPECT_EQ(druhy.Status, " OK");
    EXPECT_FALSE(druhy.Obnoveno);
    EXPECT_TRUE(druhy.Radky.empty());
    EXPECT_EQ(sim_.PocetPozadavku() - pred, 1u);  // logh.bin alone
}

TEST_F(ProceduraLog, SeznamOdNejnovejsihoAZaplneni)
{
    ASSERT_TRUE(
        sim_.NastavSoubor("log.bin", SouborLogu(50, 400, {ZaznamLogu(1, 1), ZaznamLogu(255, 2), ZaznamLogu(5, 3)})));
    const TVysledekKrokuLOG v = Krok();
    ASSERT_EQ(v.Status, " OK");
    EXPECT_EQ(v.PocetZaznamu, 50u);
    EXPECT_DOUBLE_EQ(v.Zaplneni, 12.5);
    EXPECT_EQ(v.Radky, (std::vector<std::string>{"[05.03.2023  14:03:00] - U05 - Připojení LAN (link up)",
                                                 "[05.03.2023  14:01:00] - U01 - Zapnutí napájení"}));

    // No records claimed: the list is emptied whatever follows the header;
    // no capacity: the fill is 0.
    ASSERT_TRUE(sim_.NastavSoubor("log.bin", SouborLogu(0, 0, {ZaznamLogu(1, 1)})));
    krok_.PredchoziHlavicka = v.PredchoziHlavicka;
    const TVysledekKrokuLOG w = Krok();
    ASSERT_TRUE(w.Obnoveno);
    EXPECT_EQ(w.PocetZaznamu, 0u);
    EXPECT_EQ(w.Zaplneni, 0.0);
    EXPECT_TRUE(w.Radky.empty());
}

// Both requests in one poll: archive first, then clearing, then the
// refresh, which shows the emptied log at once.
TEST_F(ProceduraLog, ArchivVymazaniAObnoveniVJednomKroku)
{
    ASSERT_TRUE(sim_.NastavSoubor("log.bin", SouborLogu(2, 400, {ZaznamLogu(1, 1), ZaznamLogu(5, 2)})));
    const Bajty log = sim_.Soubor("log.bin");
    const TVysledekKrokuLOG pred = Krok();
    ASSERT_EQ(pred.Radky.size(), 2u);

    krok_.PredchoziHlavicka = pred.PredchoziHlavicka;
    krok_.UlozitLOG = true;
    krok_.VymazatLOG = true;
    std::vector<std::string> texty;
    const TVysledekKrokuLOG v = Krok(&texty);
    EXPECT_TRUE(v.Provedeno);
    EXPECT_EQ(texty, (std::vector<std::string>{"Probíhá čtení ...", " LOG uložen.", " LOG vymazán.", " OK"}));
    EXPECT_EQ(v.Status, " OK");
    ASSERT_TRUE(v.Obnoveno);
    EXPECT_EQ(v.PocetZaznamu, 0u);
    EXPECT_TRUE(v.Radky.empty());

    // The archive: the module's log.bin as it was, and its text export.
    const std::string jmeno = fs::path(v.Archiv).filename().string();
    EXPECT_TRUE(std::regex_match(jmeno, std::regex("Arch_[0-9]{6}_[0-9]{6}"))) << jmeno;
    EXPECT_EQ(fs::path(v.Archiv).parent_path(), fs::path(slozka_));
    EXPECT_EQ(Obsah(slozka_), (std::vector<std::string>{jmeno + ".bin", jmeno + ".log"}));
    EXPECT_EQ(NactiBajty(v.Archiv + ".bin"), log);
    const Bajty text = NactiBajty(v.Archiv + ".log");
    const std::string zacatek = "Modul     : VK-7316R  v.1.00\rIP adresa : 192.168.0.99\r\n\r\n"
                                "[05.03.2023  14:01:00] - U01 - Zap";
    EXPECT_EQ(
        std::string(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(std::min(zacatek.size(), text.size()))),
        zacatek);
}

TEST(ProceduraLogJmeno, ArchivSeJmenujePodleCasuKroku)
{
    std::tm cas{};
    cas.tm_year = 123;
    cas.tm_mon = 2;
    cas.tm_mday = 5;
    cas.tm_hour = 14;
    cas.tm_min = 7;
    cas.tm_sec = 9;
    EXPECT_EQ(vk::procedures::JmenoArchivu(cas), "Arch_230305_140709");
    cas.tm_year = 100;  // 2000: the year in two digits
    cas.tm_hour = 0;
    EXPECT_EQ(vk::procedures::JmenoArchivu(cas), "Arch_000305_000709");
}

// A transfer that fails part way, here because the job was asked to stop,
// leaves no .bin that could pass for a complete archive, and no .log.
TEST_F(ProceduraLog, NezdarenyArchivNenechaSoubor)
{
    ASSERT_TRUE(sim_.NastavSoubor("log.bin", Bajty(300000, 0x5A)));
    sim_.NastavPoruchu(TPorucha::PomalaData, true);
    bool ukoncit = false;
    std::uint64_t prijato = 0;
    vk::link::NastavUkonceni([&] { return ukoncit; });
    krok_.UlozitLOG = true;
    const TVysledekKrokuLOG v = KrokLOG(modul_, krok_, {}, [&](std::uint64_t hotovo, std::uint64_t) {
        prijato = hotovo;
        ukoncit = hotovo > 0;
    });
    vk::link::NastavUkonceni({});
    EXPECT_GT(prijato, 0u);
    EXPECT_LT(prijato, 300000u);
    EXPECT_EQ(v.Status, " Chyba spojení");
    EXPECT_EQ(v.Chyba.Soubor, "log.bin");
    EXPECT_TRUE(v.Archiv.empty());
    EXPECT_FALSE(v.Obnoveno);
    EXPECT_TRUE(Obsah(slozka_).empty());
}

// A folder that is not there: a status text naming the file the user would
// get, not an exception and not the temporary name.
TEST_F(ProceduraLog, ArchivDoChybejiciSlozky)
{
    const auto v = vk::procedures::UlozLOG(modul_, slozka_ + "/chybi/a", "H");
    EXPECT_FALSE(v.Ok);
    EXPECT_EQ(v.StatusText, "Nelze vytvořit soubor " + slozka_ + "/chybi/a.bin");
    EXPECT_TRUE(Obsah(slozka_).empty());
}

// A failed clear shows its text and ends the poll: no header is read.
TEST_F(ProceduraLog, NezdareneVymazaniUkonciKrok)
{
    sim_.NastavPoruchu(TPorucha::OdmitnutyZapis, true, 1);
    krok_.VymazatLOG = true;
    const auto pred = sim_.PocetPozadavku();
    std::vector<std::string> texty;
    const TVysledekKrokuLOG v = Krok(&texty);
    EXPECT_TRUE(v.Provedeno);
    EXPECT_EQ(texty, (std::vector<std::string>{" Chyba spojení"}));
    EXPECT_EQ(v.Chyba.Soubor, "log.clr");
    EXPECT_EQ(v.Chyba.Pricina, "modul odmítl přenos: ERROR 2 \"Write refused\"");
    EXPECT_EQ(sim_.PocetPozadavku() - pred, 1u);
}

// Without a connection nothing travels and the requests stay pending.
TEST_F(ProceduraLog, BezPripojeniNicNecte)
{
    krok_.UlozitLOG = true;
    const auto pred = sim_.PocetPozadavku();
    for (const bool datInit : {false, true}) {
        krok_.Init = datInit;
        modul_.Init = !datInit;
        const TVysledekKrokuLOG v = Krok();
        EXPECT_FALSE(v.Provedeno);
        EXPECT_EQ(v.Status, " Připojení k zařízení není inicializováno.");
    }
    EXPECT_EQ(sim_.PocetPozadavku(), pred);
    EXPECT_TRUE(Obsah(slozka_).empty());
}

}  // namespace
