#include <gtest/gtest.h>

#include "Dekl.h"

using namespace vk::core;

namespace {

// A record with something other than the start value in every field, so
// that a start value that is not set shows.
TData PopsanyZaznam()
{
    TData d;
    d.Pripojeni = {7, "x", 1, 2, 4, 3, 5, 2, 9, 11, 13, 2, 17, 19, 0};
    d.SPripojeni = "V pořádku";
    d.Init = true;
    d.TypVerze = d.TypModulu = d.VerzeModulu = d.VyrCislo = "a";
    d.Par.fill(0xDEADBEEF);
    d.CFGVK.LAN4 = {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, 1};
    d.CFGVK.LAN6.IP6_LLA.fill(1);
    d.CFGVK.LAN6.IP6_GUA.fill(2);
    d.CFGVK.LAN6.IP6_Maska.fill(3);
    d.CFGVK.LAN6.IP6_Brana.fill(4);
    d.CFGVK.LAN6.IP6_DHCP = 1;
    d.CFGVK.Sprava.Rezim = 2;
    for (auto& zaznam : d.CFGVK.Sprava.User_IP)
        zaznam.fill(0x77);
    d.CFGVK.Sprava.VerzeIP.fill(1);
    d.CFGVK.LOG = {1, 1, 0xFFFF};
    d.CFGVK.Upgrade = {"a", "b", "c", "d"};
    d.CFGVK.MBTCP = {1, 1};
    d.CFGVK.UARTS = {1, 8, 2, 1};
    d.CFGVK.UARTM = {8, 2, 1, 15};
    return d;
}

// The start values, written out field by field.
void OcekavejVychoziPripojeni(const TPripojeni& p)
{
    EXPECT_EQ(p.Rozhrani, 0);
    EXPECT_EQ(p.LAN_IP, "192.168.0.99");
    EXPECT_EQ(p.LAN_VerzeIP, 0);
    EXPECT_EQ(p.LAN_Timeout, 1000);
    EXPECT_EQ(p.LAN_Opakovani, 3);
    EXPECT_EQ(p.UART_CisloCOM, 1);
    EXPECT_EQ(p.UART_KodBaud, 4);
    EXPECT_EQ(p.UART_KodParita, 1);
    EXPECT_EQ(p.UART_Timeout, 330);
    EXPECT_EQ(p.UART_Adresa, 247);
    EXPECT_EQ(p.UART_Mezera, 0);
    EXPECT_EQ(p.UART_RS485, 0);
    EXPECT_EQ(p.UART_RS485ZpozdeniPred, 0);
    EXPECT_EQ(p.UART_RS485ZpozdeniPo, 0);
    EXPECT_EQ(p.UART_Echo, 1);
}

void OcekavejVychoziCFGVK(const TCFGVK& c)
{
    EXPECT_EQ(c.LAN4.IP4_Adresa, (TAdresa4{192, 168, 0, 99}));
    EXPECT_EQ(c.LAN4.IP4_Maska, (TAdresa4{255, 255, 255, 0}));
    EXPECT_EQ(c.LAN4.IP4_Brana, (TAdresa4{192, 168, 0, 200}));
    EXPECT_EQ(c.LAN4.IP4_DHCP, 0);
    for (const TPole16B* pole : {&c.LAN6.IP6_LLA, &c.LAN6.IP6_GUA, &c.LAN6.IP6_Maska, &c.LAN6.IP6_Brana})
        EXPECT_EQ(*pole, TPole16B{});
    EXPECT_EQ(c.LAN6.IP6_DHCP, 0);
    EXPECT_EQ(c.Sprava.Rezim, 1);
    for (const TPole16B& zaznam : c.Sprava.User_IP)
        EXPECT_EQ(zaznam, TPole16B{});  // all 16 bytes, not only the stored 4
    for (std::int32_t verze : c.Sprava.VerzeIP)
        EXPECT_EQ(verze, 0);
    EXPECT_EQ(c.LOG.Povolen, 0);
    EXPECT_EQ(c.LOG.Prepisovani, 0);
    EXPECT_EQ(c.LOG.Udalost, 0u);
    EXPECT_TRUE(c.Upgrade.TypVerze.empty() && c.Upgrade.HBIN_Soubor.empty() && c.Upgrade.HBIN_Datum.empty() &&
                c.Upgrade.FW_Soubor.empty());
    EXPECT_EQ(c.MBTCP.UnitID, 255);
    EXPECT_EQ(c.MBTCP.Timeout, 5);
    EXPECT_EQ(c.UARTS.Adresa, 247);
    EXPECT_EQ(c.UARTS.KodBaud, 4);
    EXPECT_EQ(c.UARTS.KodParita, 1);
    EXPECT_EQ(c.UARTS.Repeater, 0);
    EXPECT_EQ(c.UARTM.KodBaud, 4);
    EXPECT_EQ(c.UARTM.KodParita, 1);
    EXPECT_EQ(c.UARTM.Timeout, 330);
    EXPECT_EQ(c.UARTM.Opakovani, 0);
}

TEST(InicializaceDat, SetsEveryFieldToItsStartValue)
{
    InicializaceDat(nullptr);  // a null pointer is ignored, not dereferenced
    TData d = PopsanyZaznam();
    InicializaceDat(&d);

    OcekavejVychoziPripojeni(d.Pripojeni);
    EXPECT_EQ(d.SPripojeni, "Připojení modulu dosud neinicializováno");
    EXPECT_FALSE(d.Init);
    EXPECT_EQ(d.TypVerze, "???");
    EXPECT_EQ(d.TypModulu, "???");
    EXPECT_EQ(d.VerzeModulu, "???");
    EXPECT_EQ(d.VyrCislo, "???");
    EXPECT_EQ(d.Par, TPar{});
    OcekavejVychoziCFGVK(d.CFGVK);
}

// Each part on its own also replaces every field of a record in use.
TEST(Vychozi, PartsResetARecordInUse)
{
    TPripojeni p = PopsanyZaznam().Pripojeni;
    VychoziPripojeni(p);
    OcekavejVychoziPripojeni(p);
    TCFGVK c = PopsanyZaznam().CFGVK;
    VychoziCFGVK(c);
    OcekavejVychoziCFGVK(c);
}

}  // namespace
