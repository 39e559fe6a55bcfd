// The result convention of the device operations where no traffic is
// involved: no link set up, the busy mark, refusals.
#include <gtest/gtest.h>

#include <functional>

#include "Rozhrani.h"
#include "U_VK7316R.h"

using namespace vk::device;

namespace {

// A record pre-filled so that any change by the operation shows.
template <class R>
R Predvyplneny()
{
    R r{};
    r.Status = 7;
    r.StatusText = "před";
    return r;
}

// Runs `op` on a connection without a link and checks false with the record
// left exactly as it was.
template <class R>
void NedotceAkce(bool (*op)(TVK7316R&, R&), const char* jmeno)
{
    TVK7316R modul;
    VychoziModul(modul);
    R r = Predvyplneny<R>();
    const R pred = r;
    EXPECT_FALSE(op(modul, r)) << jmeno;
    EXPECT_TRUE(r == pred) << jmeno;
    EXPECT_FALSE(modul.Zaneprazdnen) << jmeno;
}

}  // namespace

TEST(Modul, BezSpojeniVraciFalseAZaznamNechava)
{
    NedotceAkce(&PrectiInfoTxt, "PrectiInfoTxt");
    NedotceAkce(&PrectiRtcBin, "PrectiRtcBin");
    NedotceAkce(&ZapisRtcBin, "ZapisRtcBin");
    NedotceAkce(&PrectiSysBin, "PrectiSysBin");
    NedotceAkce(&PrectiMmrdBin, "PrectiMmrdBin");
    NedotceAkce(&PrectiMmrgvBin, "PrectiMmrgvBin");
    NedotceAkce(&ZapisCtrlBin, "ZapisCtrlBin");
    NedotceAkce(&PrectiLan4Cfg, "PrectiLan4Cfg");
    NedotceAkce(&ZapisLan4Cfg, "ZapisLan4Cfg");
    NedotceAkce(&PrectiMbtcpCfg, "PrectiMbtcpCfg");
    NedotceAkce(&ZapisMbtcpCfg, "ZapisMbtcpCfg");
    NedotceAkce(&PrectiUartsCfg, "PrectiUartsCfg");
    NedotceAkce(&ZapisUartsCfg, "ZapisUartsCfg");
    NedotceAkce(&PrectiUartmCfg, "PrectiUartmCfg");
    NedotceAkce(&ZapisUartmCfg, "ZapisUartmCfg");
    NedotceAkce(&PrectiSpravaCfg, "PrectiSpravaCfg");
    NedotceAkce(&ZapisSpravaCfg, "ZapisSpravaCfg");
    NedotceAkce(&PrectiFwAkt, "PrectiFwAkt");
    NedotceAkce(&PrectiBootCmd, "PrectiBootCmd");
    NedotceAkce(&ZapisBootCmd, "ZapisBootCmd");
    NedotceAkce(&PrectiSoubor, "PrectiSoubor");
    NedotceAkce(&ZapisSoubor, "ZapisSoubor");

    TVK7316R modul;
    auto fw = Predvyplneny<TVK7316R_FwHbn>();
    fw.LokalniSoubor = "/nonexistent/image.hbn";
    const auto fwPred = fw;
    EXPECT_FALSE(ZapisFwHbn(modul, fw));
    EXPECT_TRUE(fw == fwPred);
}

TEST(Modul, PrikazyBezSpojeniMajiStatus1APrazdnyText)
{
    TVK7316R modul;
    auto restart = Predvyplneny<TVK7316R_Restart>();
    EXPECT_FALSE(RestartModulu(modul, restart));
    EXPECT_EQ(restart.Status, 1);
    EXPECT_EQ(restart.StatusText, "");

    auto clr = Predvyplneny<TVK7316R_ClrDiag>();
    EXPECT_FALSE(VymazDiagnostiku(modul, clr));
    EXPECT_EQ(clr.Status, 1);
    EXPECT_EQ(clr.StatusText, "");
}

TEST(Modul, LogSouboryNehlediNaInitAJdouPresTFTP)
{
    // Without a TFTP client these fail in the link, which shows that they did
    // not stop at Modul.Init.
    TVK7316R modul;
    auto cfg = Predvyplneny<TVK7316R_LogCfg>();
    cfg.Povolen = 1;
    EXPECT_FALSE(PrectiLogCfg(modul, cfg));
    EXPECT_EQ(cfg.Status, 1);
    EXPECT_EQ(cfg.StatusText, "Spojení dosud neinicializováno");
    EXPECT_EQ(cfg.Povolen, 1);  // fields stay when the read fails

    EXPECT_FALSE(ZapisLogCfg(modul, cfg));
    EXPECT_EQ(cfg.StatusText, "Spojení dosud neinicializováno");

    auto clr = Predvyplneny<TVK7316R_LogClr>();
    EXPECT_FALSE(ZapisLogClr(modul, clr));
    EXPECT_EQ(clr.Status, 1);
    EXPECT_EQ(clr.StatusText, "Spojení dosud neinicializováno");
}

TEST(Modul, ZaneprazdnenyOdmitneBezProvozu)
{
    // With the busy mark set a transfer is refused before the link is
    // touched: the TFTP link would otherwise report its missing client.
    TVK7316R modul;
    modul.Init = true;
    modul.Rozhrani = vk::common::RozhraniLAN;
    modul.Zaneprazdnen = true;
    auto lan = Predvyplneny<TVK7316R_Lan4Cfg>();
    lan.IP4_DHCP = 3;
    EXPECT_FALSE(PrectiLan4Cfg(modul, lan));
    EXPECT_EQ(lan.Status, 1);
    EXPECT_EQ(lan.StatusText, TextZaneprazdnen);
    EXPECT_EQ(lan.IP4_DHCP, 3);
    EXPECT_TRUE(modul.Zaneprazdnen);  // the running transfer keeps its mark

    TVK7316R_Restart restart;
    EXPECT_FALSE(RestartModulu(modul, restart));
    EXPECT_EQ(restart.StatusText, TextZaneprazdnen);

    // The log operations honour the mark of the record they are given, not
    // that of the program's global one.
    TVK7316R_LogCfg cfg;
    EXPECT_FALSE(PrectiLogCfg(modul, cfg));
    EXPECT_EQ(cfg.StatusText, TextZaneprazdnen);
    TVK7316R_LoghBin logh;
    EXPECT_FALSE(PrectiLoghBin(modul, logh));
    EXPECT_EQ(logh.StatusText, TextZaneprazdnen);
    EXPECT_FALSE(Modul.Zaneprazdnen);

    modul.Zaneprazdnen = false;
    EXPECT_FALSE(PrectiLan4Cfg(modul, lan));
    EXPECT_EQ(lan.StatusText, "Spojení dosud neinicializováno");
    EXPECT_FALSE(modul.Zaneprazdnen);  // cleared again after the transfer
}

TEST(Modul, BootCmdPrazdnyADlouhy)
{
    TVK7316R modul;
    modul.Init = true;
    modul.Rozhrani = vk::common::RozhraniLAN;
    auto cmd = Predvyplneny<TVK7316R_BootCmd>();
    const auto pred = cmd;
    EXPECT_FALSE(ZapisBootCmd(modul, cmd));
    EXPECT_TRUE(cmd == pred);

    cmd.Cmd = std::string(201, 'a');
    EXPECT_FALSE(ZapisBootCmd(modul, cmd));
    EXPECT_EQ(cmd.Status, 1);
    EXPECT_EQ(cmd.StatusText, TextDlouhyPrikaz);

    // 200 characters of two bytes each in UTF-8 are 200 characters: the
    // limit counts characters. They reach the link (which has no client).
    cmd.Cmd.clear();
    for (int i = 0; i < 200; ++i)
        cmd.Cmd += "\xC3\xA9";
    EXPECT_FALSE(ZapisBootCmd(modul, cmd));
    EXPECT_EQ(cmd.StatusText, "Spojení dosud neinicializováno");
}

TEST(Modul, VychoziModulANeznamySoubor)
{
    TVK7316R modul;
    modul.Init = true;
    modul.Rozhrani = vk::common::RozhraniLAN;
    modul.MBRTU.ID.HNDL = 42;
    vk::link::InicializujTFTP(modul.TFTP, "127.0.0.1", 0, 100, 3);
    ASSERT_TRUE(modul.TFTP.ID.IdTrivialFTP1);
    VychoziModul(modul);
    EXPECT_FALSE(modul.Init);
    EXPECT_EQ(modul.Rozhrani, 0);
    EXPECT_FALSE(modul.TFTP.ID.IdTrivialFTP1);
    EXPECT_EQ(modul.MBRTU.ID.HNDL, 0u);

    modul.Init = true;
    TVK7316R_Soubor s;
    s.Soubor = "nic.bin";
    EXPECT_FALSE(PrectiSoubor(modul, s));
    EXPECT_EQ(s.StatusText, "Neznámý soubor modulu nic.bin");
}

TEST(Modul, NahraniBezOtevrenehoPortuNehlasiOK)
{
    TVK7316R modul;
    modul.Init = true;  // a serial connection whose port is gone
    modul.MBRTU.ED.StatusText = "OK";
    TVK7316R_FwHbn fw;
    fw.LokalniSoubor = "/nonexistent/image.hbn";
    EXPECT_FALSE(ZapisFwHbn(modul, fw));
    EXPECT_EQ(fw.Status, 1);
    EXPECT_EQ(fw.StatusText, "Chyba spojení s modulem");
}
