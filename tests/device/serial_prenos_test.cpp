// The device operations on the serial link, against a scripted module on a
// pseudo-terminal: which frames go out, and how replies become records.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

#include "Cas.h"
#include "HexBajty.h"
#include "PtyProtejsek.h"
#include "U_VK7316R.h"
#include "Ukonceni.h"

using namespace vk::device;
using vk::test::Bajty;
using vk::test::Hex;
using vk::test::SCrc;

namespace {

// A module that keeps its files by file code and answers 0x43 and 0x44 like
// the real one; `vysledekZapisu` is the result byte of every write.
struct TModulNaBajtech {
    std::map<std::uint8_t, Bajty> soubory;
    std::uint8_t vysledekZapisu = 0;

    Bajty operator()(const Bajty& p)
    {
        if (p.size() < 9 || p[0] != 0xF7)
            return {};
        const std::uint8_t kod = p[3];
        const std::size_t zacatek = 240u * ((p[4] << 8) | p[5]);
        const std::size_t delka = p[6];
        auto& soubor = soubory[kod];
        if (p[1] == 0x43) {
            Bajty data(delka, 0);
            for (std::size_t i = 0; i < delka && zacatek + i < soubor.size(); ++i)
                data[i] = soubor[zacatek + i];
            return vk::test::OdpovedCteni(data);
        }
        if (p[1] == 0x44 && p.size() == 7 + delka + 2) {
            if (vysledekZapisu == 0) {
                soubor.resize(std::max(soubor.size(), zacatek + delka));
                std::copy(p.begin() + 7, p.begin() + 7 + static_cast<long>(delka),
                          soubor.begin() + static_cast<long>(zacatek));
            }
            return vk::test::OdpovedZapisu(vysledekZapisu);
        }
        return {};
    }
};

Bajty Pozadavek(const char* hex)
{
    return SCrc(Hex(hex));
}

class SerialPrenos : public ::testing::Test {
protected:
    void SetUp() override
    {
        peer_ = std::make_unique<vk::test::TPtyProtejsek>([this](const Bajty& p) { return modul_(p); });
        ASSERT_TRUE(peer_->ok());
        VychoziModul(spojeni_);
        ASSERT_TRUE(peer_->Pripoj(spojeni_));
    }
    void TearDown() override { vk::link::ZavriPort(spojeni_.MBRTU); }

    TModulNaBajtech modul_;
    std::unique_ptr<vk::test::TPtyProtejsek> peer_;
    TVK7316R spojeni_;
};

}  // namespace

TEST_F(SerialPrenos, UartsCteniJedenPozadavek)
{
    modul_.soubory[24] = Hex("0A 04 01 01 EF");
    TVK7316R_UartsCfg r;
    ASSERT_TRUE(PrectiUartsCfg(spojeni_, r)) << r.StatusText;
    EXPECT_EQ(r.Status, 0);
    EXPECT_EQ(r.StatusText, "OK");
    EXPECT_EQ(peer_->pozadavky(), std::vector<Bajty>{Pozadavek("F7 43 FE 18 00 00 05")});
    EXPECT_EQ(r.Adresa, 10);
    EXPECT_EQ(r.KodBaud, 4);
    EXPECT_EQ(r.KodParita, 1);
    EXPECT_EQ(r.Repeater, 1);
}

TEST_F(SerialPrenos, InfoTxtMaVzdy31Znaku)
{
    modul_.soubory[0] = Bajty{'V', 'K', '-', '7', '3', '1', '6', 'R'};
    TVK7316R_InfoTxt r;
    ASSERT_TRUE(PrectiInfoTxt(spojeni_, r));
    EXPECT_EQ(peer_->pozadavky(), std::vector<Bajty>{Pozadavek("F7 43 FE 00 00 00 1F")});
    EXPECT_EQ(r.Text, std::string("VK-7316R") + std::string(23, '\0'));
}

TEST_F(SerialPrenos, SysBinDvaBlokyZaSebou)
{
    Bajty sys(392, 0);
    for (std::size_t i = 0; i < 48; ++i)
        sys[i] = static_cast<std::uint8_t>('a' + i % 26);
    sys[240] = 0x2A;  // UptimeS comes with the second block
    sys[391] = 0x07;  // last byte of NapetiPWR_CisloMereni
    modul_.soubory[2] = sys;
    TVK7316R_SysBin r;
    ASSERT_TRUE(PrectiSysBin(spojeni_, r)) << r.StatusText;
    EXPECT_EQ(peer_->pozadavky(),
              (std::vector<Bajty>{Pozadavek("F7 43 FE 02 00 00 F0"), Pozadavek("F7 43 FE 02 00 01 98")}));
    EXPECT_EQ(r.UptimeS, 0x2Au);
    EXPECT_EQ(r.NapetiPWR_CisloMereni, 0x07000000u);
    EXPECT_EQ(r.TypLoader, "yzabcdefghijklm"
                           "qrstuv");
}

TEST_F(SerialPrenos, SysBinBezOdpovediNaPrvniBlokNeposilaDruhy)
{
    peer_ = std::make_unique<vk::test::TPtyProtejsek>([](const Bajty&) { return Bajty{}; });
    vk::link::ZavriPort(spojeni_.MBRTU);
    ASSERT_TRUE(peer_->Pripoj(spojeni_, 100));
    TVK7316R_SysBin r;
    r.UptimeS = 5;
    EXPECT_FALSE(PrectiSysBin(spojeni_, r));
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.StatusText, "Chyba spojení s modulem");
    EXPECT_EQ(r.UptimeS, 5u);
    EXPECT_EQ(peer_->pozadavky().size(), 1u);
}

TEST_F(SerialPrenos, ZapisyPosilajiPresneRamce)
{
    TVK7316R_Lan4Cfg lan;
    lan.IP4_Adresa = {192, 168, 0, 99};
    lan.IP4_Maska = {255, 255, 255, 0};
    lan.IP4_Brana = {192, 168, 0, 1};
    ASSERT_TRUE(ZapisLan4Cfg(spojeni_, lan)) << lan.StatusText;

    TVK7316R_RtcBin rtc;
    rtc.MSek = 999;
    rtc.Rok = 23;
    ASSERT_TRUE(ZapisRtcBin(spojeni_, rtc));

    TVK7316R_Restart restart;
    ASSERT_TRUE(RestartModulu(spojeni_, restart));
    EXPECT_EQ(restart.StatusText, "OK");
    TVK7316R_ClrDiag clr;
    ASSERT_TRUE(VymazDiagnostiku(spojeni_, clr));

    TVK7316R_BootCmd cmd;
    cmd.Cmd = std::string("prog", 5);
    ASSERT_TRUE(ZapisBootCmd(spojeni_, cmd));

    const std::string nuly17 = "0000000000000000000000000000000000";
    EXPECT_EQ(peer_->pozadavky(), (std::vector<Bajty>{
                                      Pozadavek("F7 44 FE 14 00 00 10 C0 A8 00 63 FF FF FF 00 C0 A8 00 01 00 00 00 CF"),
                                      Pozadavek("F7 44 FE 01 00 00 09 E7 03 00 00 00 00 00 17 00"),
                                      SCrc(Hex("F7 44 FE 03 00 00 17 00 FF 01 00 FF" + nuly17 + "01")),
                                      SCrc(Hex("F7 44 FE 03 00 00 17 01 01" + nuly17 + "000000 FE")),
                                      Pozadavek("F7 44 FE 28 00 00 05 70 72 6F 67 00"),
                                  }));
}

TEST_F(SerialPrenos, OdmitnutyZapisAChybnaDelka)
{
    modul_.vysledekZapisu = 1;
    TVK7316R_MbtcpCfg tcp;
    tcp.UnitID = 1;
    tcp.Timeout = 60;
    EXPECT_FALSE(ZapisMbtcpCfg(spojeni_, tcp));
    EXPECT_EQ(tcp.Status, 1);
    EXPECT_EQ(tcp.StatusText, "Chyba zápisu dat");

    TVK7316R_Restart restart;
    EXPECT_FALSE(RestartModulu(spojeni_, restart));
    EXPECT_EQ(restart.Status, 1);
    EXPECT_EQ(restart.StatusText, "Chyba zápisu dat");

    // A reply one byte longer than asked for.
    peer_ = std::make_unique<vk::test::TPtyProtejsek>(
        [](const Bajty&) { return vk::test::OdpovedCteni(Hex("01 02 03 04")); });
    vk::link::ZavriPort(spojeni_.MBRTU);
    ASSERT_TRUE(peer_->Pripoj(spojeni_));
    EXPECT_FALSE(PrectiMbtcpCfg(spojeni_, tcp));
    EXPECT_EQ(tcp.StatusText, "Chyba spojení s modulem");
    EXPECT_EQ(tcp.UnitID, 1);
}

TEST_F(SerialPrenos, BootCmdCteJedenBlokDoNuly)
{
    Bajty cmd = Hex("70 72 6F 67 00 41");
    cmd.resize(240, 0x42);
    modul_.soubory[40] = cmd;
    TVK7316R_BootCmd r;
    ASSERT_TRUE(PrectiBootCmd(spojeni_, r));
    EXPECT_EQ(r.Cmd, "prog");
    EXPECT_EQ(peer_->pozadavky(), std::vector<Bajty>{Pozadavek("F7 43 FE 28 00 00 F0")});

    TVK7316R_BootCmd dlouhy;
    dlouhy.Cmd = std::string(200, 'x');
    ASSERT_TRUE(ZapisBootCmd(spojeni_, dlouhy));
    const auto p = peer_->pozadavky();
    ASSERT_EQ(p.size(), 2u);
    EXPECT_EQ(p[1][6], 200);
    dlouhy.Cmd += 'x';
    EXPECT_FALSE(ZapisBootCmd(spojeni_, dlouhy));
    EXPECT_EQ(peer_->pozadavky().size(), 2u);
}

TEST_F(SerialPrenos, LogCfgNaSerioveLinceNicNeposila)
{
    TVK7316R_LogCfg cfg;
    EXPECT_FALSE(PrectiLogCfg(spojeni_, cfg));
    EXPECT_EQ(cfg.StatusText, "Spojení dosud neinicializováno");
    TVK7316R_LogClr clr;
    EXPECT_FALSE(ZapisLogClr(spojeni_, clr));
    vk::link::Cekej(20);
    EXPECT_TRUE(peer_->pozadavky().empty());
}

TEST_F(SerialPrenos, NahraniFirmwaruPoBlocich)
{
    const auto soubor = std::filesystem::temp_directory_path() / ("vk_fw_" + std::to_string(::getpid()) + ".hbn");
    {
        std::ofstream f(soubor, std::ios::binary);
        for (int i = 0; i < 500; ++i)
            f.put(static_cast<char>(i));
    }
    TVK7316R_FwHbn fw;
    fw.LokalniSoubor = soubor.string();
    std::uint64_t posledni = 0, celkem = 0;
    ASSERT_TRUE(ZapisFwHbn(spojeni_, fw, [&](std::uint64_t o, std::uint64_t c) {
        posledni = o;
        celkem = c;
    })) << fw.StatusText;
    std::filesystem::remove(soubor);
    EXPECT_EQ(posledni, 500u);
    EXPECT_EQ(celkem, 500u);
    const auto p = peer_->pozadavky();
    ASSERT_EQ(p.size(), 3u);
    EXPECT_EQ(Bajty(p[0].begin(), p[0].begin() + 7), Hex("F7 44 FE 2E 00 00 F0"));
    EXPECT_EQ(Bajty(p[1].begin(), p[1].begin() + 7), Hex("F7 44 FE 2E 00 01 F0"));
    EXPECT_EQ(Bajty(p[2].begin(), p[2].begin() + 7), Hex("F7 44 FE 2E 00 02 14"));
    EXPECT_EQ(modul_.soubory[46].size(), 500u);
    EXPECT_EQ(modul_.soubory[46][499], static_cast<std::uint8_t>(499));

    fw.LokalniSoubor = soubor.string();  // now gone
    EXPECT_FALSE(ZapisFwHbn(spojeni_, fw));
    EXPECT_EQ(fw.Status, 1);
    EXPECT_EQ(fw.StatusText, "Nelze otevřít soubor " + soubor.string());
    EXPECT_EQ(peer_->pozadavky().size(), 3u);
}

// The module knows a file's end from its size: an empty one is not a
// zero-length block but no traffic at all.
TEST_F(SerialPrenos, PrazdnySouborNeposilaNic)
{
    TVK7316R_Soubor r;
    r.Soubor = "fw.hbn";
    ASSERT_TRUE(ZapisSoubor(spojeni_, r)) << r.StatusText;
    EXPECT_EQ(r.StatusText, "OK");
    EXPECT_TRUE(peer_->pozadavky().empty());
}

TEST_F(SerialPrenos, DruhyPrenosBehemCekaniJeOdmitnut)
{
    // The link pumps window messages while it waits for a reply; a click or
    // timer served there may ask for another transfer. Modul is the program's
    // connection record, which the log operations also consult.
    peer_ = std::make_unique<vk::test::TPtyProtejsek>([](const Bajty&) { return Bajty{}; });
    VychoziModul(Modul);
    ASSERT_TRUE(peer_->Pripoj(Modul, 150));
    int pumpy = 0;
    TVK7316R_UartsCfg vnitrni;
    TVK7316R_Restart restart;
    TVK7316R_LogCfg log;
    vk::link::NastavPumpuZprav([&] {
        if (pumpy++ == 0) {
            PrectiUartsCfg(Modul, vnitrni);
            RestartModulu(Modul, restart);
            PrectiLogCfg(Modul, log);
        }
    });
    TVK7316R_UartsCfg vnejsi;
    const bool ok = PrectiUartsCfg(Modul, vnejsi);
    vk::link::NastavPumpuZprav({});
    vk::link::ZavriPort(Modul.MBRTU);
    VychoziModul(Modul);

    EXPECT_FALSE(ok);
    EXPECT_EQ(vnejsi.StatusText, "Chyba spojení s modulem");
    EXPECT_GT(pumpy, 0);
    EXPECT_EQ(vnitrni.Status, 1);
    EXPECT_EQ(vnitrni.StatusText, TextZaneprazdnen);
    EXPECT_EQ(restart.StatusText, TextZaneprazdnen);
    EXPECT_EQ(log.StatusText, TextZaneprazdnen);
    EXPECT_EQ(peer_->pozadavky().size(), 1u);
    EXPECT_FALSE(Modul.Zaneprazdnen);
}
