// Every device operation over both links against the in-process simulator.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "Rozhrani.h"
#include "SimSpojeni.h"
#include "U_VK7316R.h"

using namespace vk::device;
using vk::test::TLinka;
using Bajty = std::vector<std::uint8_t>;

namespace {

class Operace : public ::testing::TestWithParam<TLinka> {
protected:
    void SetUp() override
    {
        std::string chyba;
        ASSERT_TRUE(s_.Spust(GetParam(), m_, chyba)) << chyba;
    }
    bool Serial() const { return GetParam() != TLinka::Sit; }

    vk::test::TSimSpojeni s_;
    TVK7316R m_;
};

Bajty Vzor(std::size_t n, std::uint8_t od)
{
    Bajty b(n);
    for (std::size_t i = 0; i < n; ++i)
        b[i] = static_cast<std::uint8_t>(od + i * 7);
    return b;
}

}  // namespace

TEST_P(Operace, InfoTxt)
{
    TVK7316R_InfoTxt r;
    ASSERT_TRUE(PrectiInfoTxt(m_, r)) << r.StatusText;
    EXPECT_EQ(r.StatusText, "OK");
    const Bajty info = s_.sim.Soubor("info.txt");
    ASSERT_LE(info.size(), 31u);
    std::string cekany(info.begin(), info.end());
    if (Serial())
        cekany.resize(31, '\0');  // the serial read always asks for 31 bytes
    EXPECT_EQ(r.Text, cekany);
    EXPECT_EQ(r.Text.substr(0, 8), "VK-7316R");
    // The echoing simulator's requests do come back, and are dropped.
    EXPECT_EQ(m_.MBRTU.ED.Ozvena, GetParam() == TLinka::SerialOzvena);
}

TEST_P(Operace, NastaveniZapisAZpetneCteni)
{
    TVK7316R_Lan4Cfg lan;
    lan.IP4_Adresa = {192, 168, 0, 99};
    lan.IP4_Maska = {255, 255, 255, 0};
    lan.IP4_Brana = {192, 168, 0, 1};
    ASSERT_TRUE(ZapisLan4Cfg(m_, lan)) << lan.StatusText;
    EXPECT_EQ(s_.sim.Soubor("lan4.cfg"),
              (Bajty{0xC0, 0xA8, 0, 0x63, 0xFF, 0xFF, 0xFF, 0, 0xC0, 0xA8, 0, 1, 0, 0, 0, 0xCF}));
    TVK7316R_Lan4Cfg lanZpet;
    ASSERT_TRUE(PrectiLan4Cfg(m_, lanZpet));
    EXPECT_EQ(lanZpet.IP4_Brana, lan.IP4_Brana);
    EXPECT_EQ(lanZpet.IP4_DHCP, 0);

    TVK7316R_MbtcpCfg tcp;
    tcp.UnitID = 1;
    tcp.Timeout = 60;
    ASSERT_TRUE(ZapisMbtcpCfg(m_, tcp)) << tcp.StatusText;
    EXPECT_EQ(s_.sim.Soubor("mbtcp.cfg"), (Bajty{0x01, 0x3C, 0xC3}));
    TVK7316R_MbtcpCfg tcpZpet;
    ASSERT_TRUE(PrectiMbtcpCfg(m_, tcpZpet));
    EXPECT_EQ(tcpZpet.Timeout, 60);

    TVK7316R_UartmCfg uartm;
    uartm.KodBaud = 6;
    uartm.KodParita = 2;
    uartm.Timeout = 330;
    uartm.Opakovani = 3;
    ASSERT_TRUE(ZapisUartmCfg(m_, uartm)) << uartm.StatusText;
    EXPECT_EQ(s_.sim.Soubor("uartm.cfg"), (Bajty{6, 2, 0x4A, 0x01, 3, 0xAA}));
    TVK7316R_UartmCfg uartmZpet;
    ASSERT_TRUE(PrectiUartmCfg(m_, uartmZpet));
    EXPECT_EQ(uartmZpet.Timeout, 330);
    EXPECT_EQ(uartmZpet.Opakovani, 3);

    TVK7316R_UartsCfg uarts;
    ASSERT_TRUE(PrectiUartsCfg(m_, uarts));
    EXPECT_EQ(uarts.Adresa, 247);
    uarts.Repeater = 1;
    ASSERT_TRUE(ZapisUartsCfg(m_, uarts)) << uarts.StatusText;
    TVK7316R_UartsCfg uartsZpet;
    ASSERT_TRUE(PrectiUartsCfg(m_, uartsZpet));
    EXPECT_EQ(uartsZpet.Repeater, 1);
    EXPECT_EQ(uartsZpet.KodBaud, uarts.KodBaud);

    TVK7316R_SpravaCfg sprava;
    sprava.Rezim = 2;
    sprava.IP[0] = {10, 0, 0, 1};
    sprava.IP[7] = {0xFE, 0x80, 0, 0, 0, 0, 0, 0, 2, 0x11, 0x22, 0xFF, 0xFE, 0x33, 0x44, 0x55};
    sprava.VerzeIP[7] = 1;
    ASSERT_TRUE(ZapisSpravaCfg(m_, sprava)) << sprava.StatusText;
    EXPECT_EQ(s_.sim.Soubor("sprava.cfg").size(), 138u);
    TVK7316R_SpravaCfg spravaZpet;
    ASSERT_TRUE(PrectiSpravaCfg(m_, spravaZpet));
    EXPECT_EQ(spravaZpet.Rezim, 2);
    EXPECT_EQ(spravaZpet.IP, sprava.IP);
    EXPECT_EQ(spravaZpet.VerzeIP, sprava.VerzeIP);
}

TEST_P(Operace, StavoveSoubory)
{
    ASSERT_TRUE(s_.sim.NastavSoubor("rtc.bin", {0x2C, 0x01, 0x1E, 0x0F, 0x0A, 0x18, 0x0C, 0x17, 0x05}));
    TVK7316R_RtcBin rtc;
    ASSERT_TRUE(PrectiRtcBin(m_, rtc)) << rtc.StatusText;
    EXPECT_EQ(rtc.MSek, 300);
    EXPECT_EQ(rtc.Den, 24);
    EXPECT_EQ(rtc.Rok, 23);
    EXPECT_EQ(rtc.DDen, 5);

    Bajty sys = Vzor(392, 0x20);
    const Bajty nan = {0x00, 0x00, 0xC0, 0x7F};
    std::copy(nan.begin(), nan.end(), sys.begin() + 292);
    const Bajty f43 = {0x00, 0x00, 0x2C, 0x42};
    std::copy(f43.begin(), f43.end(), sys.begin() + 324);
    ASSERT_TRUE(s_.sim.NastavSoubor("sys.bin", sys));
    TVK7316R_SysBin r;
    ASSERT_TRUE(PrectiSysBin(m_, r)) << r.StatusText;
    EXPECT_EQ(r.StatusText, "OK");
    // Byte i of the pattern is 0x20 + 7 i; every field's decoding is pinned
    // in the codec tests, so here the fields around the end of the first
    // serial block and the last one show the file arrived whole and in order.
    EXPECT_EQ(r.IP4_Adresa, (TAdresaIP4{0xA0, 0xA7, 0xAE, 0xB5}));
    EXPECT_EQ(r.Uptime10Ms, 0xA9A29B94u);
    EXPECT_EQ(r.UptimeS, 0xC5BEB7B0u);
    EXPECT_EQ(r.NapetiPWR_CisloMereni, 0xD1CAC3BCu);
    EXPECT_EQ(r.TeplotaUP, 0.0);
    EXPECT_EQ(r.TeplotaDPS, 43.0);

    Bajty mmrgv(192, 0);
    mmrgv[8] = 179;
    for (std::size_t k = 0; k < 180; ++k)
        mmrgv[12 + k] = static_cast<std::uint8_t>(k);
    ASSERT_TRUE(s_.sim.NastavSoubor("mmrgv.bin", mmrgv));
    TVK7316R_MmrgvBin g;
    ASSERT_TRUE(PrectiMmrgvBin(m_, g)) << g.StatusText;
    EXPECT_EQ(g.IndexZapisu, 179u);
    EXPECT_EQ(g.PoleDat[0], 179);
    EXPECT_EQ(g.PoleDat[1], 0);
    EXPECT_EQ(g.PoleDat[179], 178);

    TVK7316R_MmrdBin d;
    ASSERT_TRUE(PrectiMmrdBin(m_, d)) << d.StatusText;
}

TEST_P(Operace, HodinyANuloveniDiagnostiky)
{
    TVK7316R_RtcBin rtc;
    rtc.MSek = 999;
    rtc.Sek = 5;
    rtc.Min = 7;
    rtc.Hod = 14;
    rtc.Den = 5;
    rtc.Mes = 3;
    rtc.Rok = 23;
    rtc.DDen = 0;
    ASSERT_TRUE(ZapisRtcBin(m_, rtc)) << rtc.StatusText;
    TVK7316R_RtcBin zpet;
    ASSERT_TRUE(PrectiRtcBin(m_, zpet));
    EXPECT_EQ(zpet.Rok, 23);
    EXPECT_EQ(zpet.Mes, 3);
    EXPECT_EQ(zpet.Den, 5);

    TVK7316R_ClrDiag clr;
    ASSERT_TRUE(VymazDiagnostiku(m_, clr)) << clr.StatusText;
    EXPECT_EQ(clr.StatusText, "OK");
    TVK7316R_MmrdBin d;
    ASSERT_TRUE(PrectiMmrdBin(m_, d));
    EXPECT_LE(d.CelkemChyby, 5u);  // counting starts again from zero

    TVK7316R_Restart restart;
    ASSERT_TRUE(RestartModulu(m_, restart)) << restart.StatusText;
    TVK7316R_SysBin sys;
    ASSERT_TRUE(PrectiSysBin(m_, sys));
    EXPECT_LT(sys.UptimeS, 5u);
}

TEST_P(Operace, ProgramovaniFirmwaru)
{
    TVK7316R_FwAkt pred;
    ASSERT_TRUE(PrectiFwAkt(m_, pred)) << pred.StatusText;
    EXPECT_EQ(pred.Soubor, "vk7316r_1_00");
    EXPECT_EQ(pred.DatumCas, "24.11.2023  9:07:05");

    // An image: its 64-byte header, then content; 1000 bytes in all.
    Bajty obraz = Vzor(1000, 3);
    const Bajty hlavicka = {0xE8, 0x03, 0x00, 0x00};
    std::copy(hlavicka.begin(), hlavicka.end(), obraz.begin());
    const Bajty cas = {0x00, 0x00, 0x00, 0x01, 0x01, 0x18};
    std::copy(cas.begin(), cas.end(), obraz.begin() + 20);
    std::fill(obraz.begin() + 26, obraz.begin() + 64, 0);
    std::memcpy(&obraz[26], "/home/x/image_1_02.hbn", 22);
    const auto soubor = std::filesystem::temp_directory_path() /
                        ("vk_sys_fw_" + std::to_string(::getpid()) + vk::test::NazevLinky(GetParam()) + ".hbn");
    {
        std::ofstream f(soubor, std::ios::binary);
        f.write(reinterpret_cast<const char*>(obraz.data()), static_cast<std::streamsize>(obraz.size()));
    }
    TVK7316R_FwHbn fw;
    fw.LokalniSoubor = soubor.string();
    std::uint64_t posledni = 0;
    const bool nahrano = ZapisFwHbn(m_, fw, [&](std::uint64_t o, std::uint64_t) { posledni = o; });
    std::filesystem::remove(soubor);
    ASSERT_TRUE(nahrano) << fw.StatusText;
    EXPECT_EQ(posledni, 1000u);
    EXPECT_EQ(s_.sim.Soubor("fw.hbn"), obraz);

    TVK7316R_BootCmd cmd;
    cmd.Cmd = std::string("prog", 5);
    ASSERT_TRUE(ZapisBootCmd(m_, cmd)) << cmd.StatusText;
    EXPECT_EQ(s_.sim.Soubor("boot.cmd"), (Bajty{0x70, 0x72, 0x6F, 0x67, 0x00}));
    TVK7316R_BootCmd cmdZpet;
    ASSERT_TRUE(PrectiBootCmd(m_, cmdZpet)) << cmdZpet.StatusText;
    EXPECT_EQ(cmdZpet.Cmd, "prog");

    TVK7316R_Restart restart;
    ASSERT_TRUE(RestartModulu(m_, restart)) << restart.StatusText;
    TVK7316R_FwAkt po;
    ASSERT_TRUE(PrectiFwAkt(m_, po)) << po.StatusText;
    EXPECT_EQ(po.Delka, 1000u);
    EXPECT_EQ(po.Soubor, "image_1_02");
    EXPECT_EQ(po.DatumCas, "1.1.2024  0:00:00");
}

TEST_P(Operace, NahraniNeexistujicihoSouboru)
{
    const auto pred = s_.sim.PocetPozadavku();
    TVK7316R_FwHbn fw;
    fw.LokalniSoubor = "/nonexistent/folder/image.hbn";
    EXPECT_FALSE(ZapisFwHbn(m_, fw));
    EXPECT_EQ(fw.Status, 1);
    EXPECT_EQ(fw.StatusText, "Nelze otevřít soubor /nonexistent/folder/image.hbn");
    EXPECT_EQ(s_.sim.PocetPozadavku(), pred);
}

TEST_P(Operace, SouboryLogVzdyPresTFTP)
{
    // On a serial connection that followed a network one the log files still
    // go to the network address of the earlier connection.
    if (Serial())
        s_.PripojSit(m_), m_.Rozhrani = vk::common::RozhraniUART;
    else {
        std::string chyba;
        ASSERT_TRUE(s_.PripojSerial(m_, chyba)) << chyba;
        m_.Rozhrani = vk::common::RozhraniLAN;
    }
    TVK7316R_LogCfg cfg;
    cfg.Povolen = 3;
    cfg.Udalost = 0x3FFE;
    ASSERT_TRUE(ZapisLogCfg(m_, cfg)) << cfg.StatusText;
    EXPECT_EQ(s_.sim.Soubor("log.cfg"), (Bajty{0x01, 0x00, 0xFE, 0x3F, 0x00, 0x00, 0xC2}));
    TVK7316R_LogCfg zpet;
    ASSERT_TRUE(PrectiLogCfg(m_, zpet)) << zpet.StatusText;
    EXPECT_EQ(zpet.Povolen, 1);
    EXPECT_EQ(zpet.Udalost, 0x3FFEu);

    ASSERT_GT(s_.sim.Soubor("log.bin").size(), 64u);
    TVK7316R_LogClr clr;
    ASSERT_TRUE(ZapisLogClr(m_, clr)) << clr.StatusText;
    EXPECT_EQ(s_.sim.Soubor("log.bin").size(), 64u);
}

TEST_P(Operace, SurovySoubor)
{
    const Bajty sys = Vzor(392, 1);
    ASSERT_TRUE(s_.sim.NastavSoubor("sys.bin", sys));
    TVK7316R_Soubor r;
    r.Soubor = "sys.bin";
    ASSERT_TRUE(PrectiSoubor(m_, r)) << r.StatusText;
    EXPECT_EQ(r.Data, sys);

    r.Soubor = "mbtcp.cfg";
    r.Data = {0x07, 0x1E, 0xDB};
    ASSERT_TRUE(ZapisSoubor(m_, r)) << r.StatusText;
    EXPECT_EQ(s_.sim.Soubor("mbtcp.cfg"), r.Data);
}

// SerialOzvena: every device file the program reads or writes also works
// through an adapter that echoes.
INSTANTIATE_TEST_SUITE_P(ObeLinky, Operace, ::testing::Values(TLinka::Serial, TLinka::SerialOzvena, TLinka::Sit),
                         [](const auto& info) { return vk::test::NazevLinky(info.param); });

// What only the network shows: a file's real length.
class OperaceSit : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string chyba;
        ASSERT_TRUE(s_.Spust(TLinka::Sit, m_, chyba)) << chyba;
    }
    vk::test::TSimSpojeni s_;
    TVK7316R m_;
};

TEST_F(OperaceSit, KratsiSouborMaZbytekNulovy)
{
    ASSERT_TRUE(s_.sim.NastavSoubor("rtc.bin", {0x2C, 0x01, 0x1E}));
    TVK7316R_RtcBin rtc;
    rtc.Rok = 99;
    ASSERT_TRUE(PrectiRtcBin(m_, rtc)) << rtc.StatusText;
    EXPECT_EQ(rtc.MSek, 300);
    EXPECT_EQ(rtc.Sek, 30);
    EXPECT_EQ(rtc.Min, 0);
    EXPECT_EQ(rtc.Rok, 0);
}

TEST_F(OperaceSit, PrazdnyInfoTxtAVelkySoubor)
{
    ASSERT_TRUE(s_.sim.NastavSoubor("info.txt", {}));
    TVK7316R_InfoTxt info;
    info.Text = "old";
    ASSERT_TRUE(PrectiInfoTxt(m_, info)) << info.StatusText;
    EXPECT_EQ(info.Text, "");

    Bajty velky = Vzor(20000, 9);
    velky[0] = 'x';
    ASSERT_TRUE(s_.sim.NastavSoubor("boot.cmd", velky));
    TVK7316R_Soubor r;
    r.Soubor = "boot.cmd";
    ASSERT_TRUE(PrectiSoubor(m_, r)) << r.StatusText;
    EXPECT_EQ(r.Data, Bajty(velky.begin(), velky.begin() + 10000));
}
