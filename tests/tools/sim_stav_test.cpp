// What the simulated module holds and does: its factory files, the live
// files, the commands of ctrl.bin, the firmware switch at a restart, the
// event log and its clearing, and the state folder.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <set>
#include <string>
#include <sys/stat.h>
#include <thread>

#include "Simulator.h"
#include "sim_test_klient.h"

using namespace simtest;

namespace {

Bajty Restart()
{
    Bajty c = {0x00, 0xFF, 0x01, 0x00, 0xFF};
    c.resize(22, 0);
    return SKontrolou(c);
}

Bajty VymazDiagnostiku()
{
    Bajty c = {0x01, 0x01};
    c.resize(22, 0);
    return SKontrolou(c);
}

float Float(const Bajty& b, std::size_t o)
{
    const std::uint32_t bity = Cti32(b, o);
    float f = 0;
    std::memcpy(&f, &bity, 4);
    return f;
}

void Pockej(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

class simStav : public ::testing::Test {
protected:
    void SetUp() override
    {
        vk::sim::TNastaveniSimulatoru n;
        n.SpustitSerial = false;
        std::string chyba;
        ASSERT_TRUE(sim.Spust(n, chyba)) << chyba;
        klient = std::make_unique<TTftpKlient>(sim.PortLan());
    }

    void Zapis(const std::string& nazev, const Bajty& data)
    {
        const TVysledekTftp z = klient->Zapis(nazev, data);
        ASSERT_TRUE(z.Ok) << nazev << ": " << z.TextChyby;
    }

    vk::sim::TSimulator sim;
    std::unique_ptr<TTftpKlient> klient;
};

struct TVychoziSoubor {
    const char* nazev;
    Bajty obsah;
};

class simVychozi : public simStav, public ::testing::WithParamInterface<TVychoziSoubor> {};

TEST_P(simVychozi, FactoryFileHoldsTheDefaultSettingsWithTheirCheckByte)
{
    EXPECT_EQ(sim.Soubor(GetParam().nazev), GetParam().obsah);
}

Bajty VychoziSprava()
{
    Bajty b(138, 0);
    b[0] = 0x01;
    b[137] = 0xFF;
    return b;
}

INSTANTIATE_TEST_SUITE_P(Soubory, simVychozi,
                         ::testing::Values(TVychoziSoubor{"lan4.cfg",
                                                          {0xC0, 0xA8, 0x00, 0x63, 0xFF, 0xFF, 0xFF, 0x00, 0xC0, 0xA8,
                                                           0x00, 0xC8, 0, 0, 0, 0x08}},
                                           TVychoziSoubor{"mbtcp.cfg", {0xFF, 0x05, 0xFC}},
                                           TVychoziSoubor{"uarts.cfg", {0xF7, 0x04, 0x01, 0x00, 0x04}},
                                           TVychoziSoubor{"uartm.cfg", {0x04, 0x01, 0x4A, 0x01, 0x00, 0xB0}},
                                           TVychoziSoubor{"log.cfg", {0, 0, 0, 0, 0, 0, 0}},
                                           TVychoziSoubor{"sprava.cfg", VychoziSprava()},
                                           TVychoziSoubor{"boot.cmd", {}}, TVychoziSoubor{"fw.hbn", {}}));

TEST_F(simStav, SysBinShowsTheRunningFirmwareTheActiveAddressAndLiveValues)
{
    const Bajty a = sim.Soubor("sys.bin");
    ASSERT_EQ(a.size(), 392u);
    const Bajty fwAkt = sim.Soubor("fw.akt");
    ASSERT_EQ(fwAkt.size(), 64u);
    EXPECT_EQ(Bajty(a.begin() + 56, a.begin() + 120), fwAkt);
    EXPECT_EQ(Bajty(a.begin() + 48, a.begin() + 56), Text("23110042"));
    EXPECT_EQ(Bajty(a.begin() + 128, a.begin() + 140), (Bajty{192, 168, 0, 99, 255, 255, 255, 0, 192, 168, 0, 200}));
    for (const std::size_t o : {292u, 324u, 356u}) {
        const float f = Float(a, o);
        EXPECT_FALSE(std::isnan(f)) << o;
        EXPECT_LE(Float(a, o + (o == 356 ? 8 : 4)), f) << "minimum at " << o;
    }
    EXPECT_GT(Float(a, 292), 20.0f);
    EXPECT_LT(Float(a, 292), 80.0f);
    EXPECT_NEAR(Float(a, 356), 24.0f, 1.0f);
    Pockej(1100);
    const Bajty b = sim.Soubor("sys.bin");
    EXPECT_GE(Cti32(b, 240), Cti32(a, 240) + 1);     // UptimeS
    EXPECT_GE(Cti32(b, 228), Cti32(a, 228) + 1000);  // UptimeMs
    EXPECT_GT(Cti32(b, 320), Cti32(a, 320));         // measurement number
    EXPECT_EQ(Cti32(b, 236), Cti32(b, 228) / 10);    // Uptime10Ms
}

TEST_F(simStav, ClockRunsInLocalTimeAndAWrittenTimeMovesIt)
{
    const Bajty rtc = sim.Soubor("rtc.bin");
    ASSERT_EQ(rtc.size(), 9u);
    const std::time_t ted = std::time(nullptr);
    std::tm m{};
    localtime_r(&ted, &m);
    EXPECT_EQ(rtc[7], m.tm_year - 100);
    EXPECT_EQ(rtc[6], m.tm_mon + 1);
    EXPECT_EQ(rtc[8], m.tm_wday);
    const int vterin = rtc[4] * 3600 + rtc[3] * 60 + rtc[2];
    const int mistnich = m.tm_hour * 3600 + m.tm_min * 60 + m.tm_sec;
    EXPECT_LE(std::abs(vterin - mistnich), 2);

    // 15.6.2030 12:00:00.500, a Saturday
    Zapis("rtc.bin", {0xF4, 0x01, 0, 0, 12, 15, 6, 30, 0});
    Pockej(50);
    const Bajty nove = klient->Cti("rtc.bin").Data;
    ASSERT_EQ(nove.size(), 9u);
    EXPECT_EQ(Bajty(nove.begin() + 3, nove.end()), (Bajty{0, 12, 15, 6, 30, 6}));
    EXPECT_LE(nove[2], 1);
}

TEST_F(simStav, ImpossibleDateIsRefused)
{
    const TVysledekTftp z = klient->Zapis("rtc.bin", {0, 0, 0, 0, 12, 30, 2, 30, 0});  // 30th February
    EXPECT_FALSE(z.Ok);
    EXPECT_EQ(z.KodChyby, 0);
}

TEST_F(simStav, LoadRingAdvancesOnceASecond)
{
    const Bajty a = sim.Soubor("mmrgv.bin");
    ASSERT_GE(a.size(), 192u);
    EXPECT_EQ(Cti32(a, 0), 180u);  // the module has been up for hours: the ring is full
    EXPECT_EQ(Cti32(a, 4), 180u);
    Pockej(1050);
    const Bajty b = sim.Soubor("mmrgv.bin");
    const std::uint32_t posun = (Cti32(b, 8) + 180 - Cti32(a, 8)) % 180;
    EXPECT_GE(posun, 1u);
    EXPECT_LE(posun, 2u);
    EXPECT_LT(Cti32(b, 8), 180u);
}

TEST_F(simStav, ClearingTheDiagnosticsZeroesTheLineCounters)
{
    const Bajty pred = sim.Soubor("mmrd.bin");
    EXPECT_GT(Cti32(pred, 0), 1000u);  // messages in total
    EXPECT_GT(Cti32(pred, 4), 0u);     // errors in total
    Zapis("ctrl.bin", VymazDiagnostiku());
    const Bajty po = sim.Soubor("mmrd.bin");
    EXPECT_LT(Cti32(po, 0), 25u);  // at most a second of messages since the clearing
    EXPECT_EQ(Cti32(po, 4), 0u);
    EXPECT_EQ(Cti32(po, 8), 0u);
    EXPECT_EQ(sim.Soubor("ctrl.bin"), VymazDiagnostiku());
    Pockej(300);
    EXPECT_GT(Cti32(sim.Soubor("mmrd.bin"), 0), Cti32(po, 0));  // and they grow again
}

TEST_F(simStav, RestartStartsUptimeAndHistoryAgainAndAppliesTheNetworkSettings)
{
    const Bajty lan4 = SKontrolou({10, 1, 2, 3, 255, 255, 0, 0, 10, 1, 0, 1, 0, 0, 0});
    Zapis("lan4.cfg", lan4);
    EXPECT_EQ(sim.Soubor("sys.bin")[128], 192);  // not before the restart
    const std::uint32_t startu = Cti32(sim.Soubor("sys.bin"), 280);
    Zapis("ctrl.bin", Restart());
    const Bajty sys = sim.Soubor("sys.bin");
    EXPECT_LT(Cti32(sys, 240), 2u);
    EXPECT_EQ(Cti32(sys, 280), startu + 1);  // warm starts
    EXPECT_EQ(Bajty(sys.begin() + 128, sys.begin() + 140), Bajty(lan4.begin(), lan4.begin() + 12));
    EXPECT_EQ(Cti32(sim.Soubor("mmrgv.bin"), 0), 0u);
    Pockej(1100);
    EXPECT_GE(Cti32(sim.Soubor("mmrgv.bin"), 0), 1u);
}

Bajty NovyObraz(std::uint32_t delka)
{
    Bajty obraz(64, 0);
    obraz[0] = static_cast<std::uint8_t>(delka & 0xFF);
    obraz[1] = static_cast<std::uint8_t>((delka >> 8) & 0xFF);
    obraz[2] = static_cast<std::uint8_t>((delka >> 16) & 0xFF);
    obraz[3] = static_cast<std::uint8_t>(delka >> 24);
    for (int i = 0; i < 16; ++i)
        obraz[4 + i] = static_cast<std::uint8_t>(0xA0 + i);
    const Bajty cas = {5, 7, 9, 24, 11, 23};
    std::copy(cas.begin(), cas.end(), obraz.begin() + 20);
    const std::string nazev = "C:\\fw\\image_2_00.hbn";
    std::copy(nazev.begin(), nazev.end(), obraz.begin() + 26);
    obraz.resize(1000, 0x77);
    return obraz;
}

struct TPrechodFw {
    const char* popis;
    Bajty bootCmd;
    std::uint32_t delka;  // of the uploaded image's header
    bool noveFirmware;
};

class simPrechodFw : public simStav, public ::testing::WithParamInterface<TPrechodFw> {};

TEST_P(simPrechodFw, RestartRunsTheUploadedImageOnlyWithProgAndAValidHeader)
{
    const auto& p = GetParam();
    const Bajty stare = sim.Soubor("fw.akt");
    const Bajty obraz = NovyObraz(p.delka);
    Zapis("fw.hbn", obraz);
    if (!p.bootCmd.empty())
        Zapis("boot.cmd", p.bootCmd);
    Zapis("ctrl.bin", Restart());
    const Bajty akt = sim.Soubor("fw.akt");
    const Bajty ocekavane = p.noveFirmware ? Bajty(obraz.begin(), obraz.begin() + 64) : stare;
    EXPECT_EQ(akt, ocekavane) << p.popis;
    const Bajty sys = sim.Soubor("sys.bin");
    EXPECT_EQ(Bajty(sys.begin() + 56, sys.begin() + 120), ocekavane) << p.popis;
    if (p.bootCmd.size() >= 4 && p.bootCmd[0] == 'p') {
        EXPECT_TRUE(sim.Soubor("boot.cmd").empty()) << "the loader forgets its command: " << p.popis;
    }
}

INSTANTIATE_TEST_SUITE_P(Restarty, simPrechodFw,
                         ::testing::Values(TPrechodFw{"prog and a zero byte", Text(std::string("prog\0", 5)), 1000,
                                                      true},
                                           TPrechodFw{"prog alone", Text("prog"), 2097152, true},
                                           TPrechodFw{"no boot command", {}, 1000, false},
                                           TPrechodFw{"another command", Text("run"), 1000, false},
                                           TPrechodFw{"header of length 0", Text("prog"), 0, false},
                                           TPrechodFw{"header above 2 MiB", Text("prog"), 2097153, false}));

TEST_F(simStav, EventLogHoldsEveryEventCodeAndAnUnknownOne)
{
    const Bajty log = sim.Soubor("log.bin");
    ASSERT_GE(log.size(), 64u);
    EXPECT_EQ(Bajty(log.begin(), log.begin() + 3), (Bajty{0x4C, 0x47, 0x02}));
    const std::uint32_t pocet = Cti32(log, 8);
    EXPECT_GE(pocet, 24u);
    EXPECT_EQ(log.size(), 64u + 64u * pocet);
    EXPECT_GE(Cti32(log, 28), pocet);  // capacity
    std::set<int> kody;
    for (std::size_t o = 64; o + 64 <= log.size(); o += 64) {
        kody.insert(log[o]);
        EXPECT_GE(log[o + 11], 23) << "year of record at " << o;
        EXPECT_GE(log[o + 10], 1);
        EXPECT_LE(log[o + 10], 12);
    }
    for (int kod = 1; kod <= 14; ++kod)
        EXPECT_EQ(kody.count(kod), 1u) << kod;
    EXPECT_TRUE(kody.upper_bound(14) != kody.end() && *kody.upper_bound(14) < 255);
    EXPECT_EQ(sim.Soubor("logh.bin"), Bajty(log.begin(), log.begin() + 64));
    EXPECT_EQ(sim.Soubor("log100.bin"), log);  // fewer than 100 records: all of them
}

TEST_F(simStav, Log100HoldsTheLatestHundredRecords)
{
    Bajty log(64 + 64 * 130, 0);
    log[0] = 0x4C;
    log[1] = 0x47;
    log[2] = 0x02;
    log[8] = 130;
    for (std::size_t k = 0; k < 130; ++k)
        log[64 + 64 * k] = static_cast<std::uint8_t>(k);
    sim.NastavSoubor("log.bin", log);
    const Bajty l100 = klient->Cti("log100.bin").Data;
    ASSERT_EQ(l100.size(), 64u + 64u * 100u);
    EXPECT_EQ(l100[64], 30);
    EXPECT_EQ(l100[64 + 64 * 99], 129);
    EXPECT_EQ(klient->Cti("logh.bin").Data, Bajty(log.begin(), log.begin() + 64));
}

TEST_F(simStav, WritingLogClrEmptiesTheLogAndChangesItsHeader)
{
    const Bajty hlavicka = sim.Soubor("logh.bin");
    Zapis("log.clr", Bajty(8, 0));
    const Bajty log = sim.Soubor("log.bin");
    ASSERT_EQ(log.size(), 64u);
    EXPECT_EQ(Cti32(log, 8), 0u);
    EXPECT_NE(sim.Soubor("logh.bin"), hlavicka);
    EXPECT_EQ(sim.Soubor("log100.bin"), log);
    // A second clearing of an empty log still changes the header, so that a
    // watcher notices it.
    Zapis("log.clr", Bajty(8, 0));
    EXPECT_NE(sim.Soubor("logh.bin"), log);
    EXPECT_FALSE(klient->Zapis("log.clr", Bajty(7, 0)).Ok);
}

TEST_F(simStav, LiveFileSetByATestIsServedAsSetUntilARestart)
{
    Bajty sys(392, 0);
    sys[292] = 0x00;
    sys[293] = 0x00;
    sys[294] = 0xC0;
    sys[295] = 0x7F;
    ASSERT_TRUE(sim.NastavSoubor("sys.bin", sys));
    EXPECT_EQ(klient->Cti("sys.bin").Data, sys);
    Zapis("ctrl.bin", Restart());
    EXPECT_NE(klient->Cti("sys.bin").Data, sys);
    EXPECT_FALSE(sim.NastavSoubor("nope.bin", {}));
}

std::string NovaSlozka()
{
    std::string vzor = "/tmp/vk-sim-test-XXXXXX";
    return ::mkdtemp(vzor.data()) != nullptr ? vzor : std::string();
}

bool Existuje(const std::string& cesta)
{
    struct stat s {};
    return ::stat(cesta.c_str(), &s) == 0;
}

TEST(simSlozka, StateFolderKeepsWrittenFilesAcrossRuns)
{
    const std::string slozka = NovaSlozka();
    ASSERT_FALSE(slozka.empty());
    vk::sim::TNastaveniSimulatoru n;
    n.SpustitSerial = false;
    n.SlozkaStavu = slozka;
    const Bajty uarts = SKontrolou({12, 5, 0, 1});
    std::string chyba;
    {
        vk::sim::TSimulator sim;
        ASSERT_TRUE(sim.Spust(n, chyba)) << chyba;
        EXPECT_EQ(sim.SlozkaStavu(), slozka);
        TTftpKlient k(sim.PortLan());
        ASSERT_TRUE(k.Zapis("uarts.cfg", uarts).Ok);
        sim.Zastav();
    }
    EXPECT_TRUE(Existuje(slozka + "/uarts.cfg"));
    EXPECT_TRUE(Existuje(slozka + "/sys.bin"));
    {
        vk::sim::TSimulator sim;
        ASSERT_TRUE(sim.Spust(n, chyba)) << chyba;
        EXPECT_EQ(sim.Soubor("uarts.cfg"), uarts);
    }
    EXPECT_TRUE(Existuje(slozka + "/uarts.cfg"));  // a folder given by the user stays
    std::system(("rm -rf '" + slozka + "'").c_str());
}

TEST(simSlozka, TemporaryFolderIsRemovedAtStop)
{
    vk::sim::TNastaveniSimulatoru n;
    n.SpustitSerial = false;
    vk::sim::TSimulator sim;
    std::string chyba;
    ASSERT_TRUE(sim.Spust(n, chyba)) << chyba;
    const std::string slozka = sim.SlozkaStavu();
    EXPECT_TRUE(Existuje(slozka + "/lan4.cfg"));
    sim.Zastav();
    EXPECT_FALSE(Existuje(slozka));
}

TEST(simSlozka, UnusableStateFolderFailsTheStartWithAReason)
{
    vk::sim::TNastaveniSimulatoru n;
    n.SpustitSerial = false;
    n.SlozkaStavu = "/proc/version/x";
    vk::sim::TSimulator sim;
    std::string chyba;
    EXPECT_FALSE(sim.Spust(n, chyba));
    EXPECT_NE(chyba.find("/proc/version/x"), std::string::npos) << chyba;
    EXPECT_FALSE(sim.Bezi());
}

}  // namespace
