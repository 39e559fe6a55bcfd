// Retransmission (RFC 1350) over real UDP on 127.0.0.1 against a scripted
// server that loses, repeats or holds back datagrams on purpose: what goes
// again, when, how often, and what never does.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include "Cas.h"
#include "M_TFTP.h"
#include "TftpSkriptServer.h"
#include "Ukonceni.h"

using namespace vk::link;
using namespace vk::test;

namespace {

TBajty Obsah(std::size_t pocet)
{
    TBajty b(pocet);
    for (std::size_t i = 0; i < pocet; ++i)
        b[i] = VzorBajt(i, 7);
    return b;
}

TBajty Dil(const TBajty& b, std::size_t od, std::size_t pocet)
{
    return TBajty(b.begin() + static_cast<long>(od), b.begin() + static_cast<long>(od + pocet));
}

TBajty Data(std::uint16_t blok, const TBajty& obsah, std::size_t od, std::size_t pocet)
{
    return TftpData(blok, Dil(obsah, od, pocet));
}

class TftpOpakovani : public ::testing::Test {
protected:
    void TearDown() override
    {
        NastavPumpuZprav({});
        NastavUkonceni({});
    }

    // `timeout` ms per wait (a write waits at least 500 ms), `opakovani` retries.
    void Inicializuj(std::int32_t timeout, std::int32_t opakovani)
    {
        InicializujTFTP(tftp, server.Adresa(), 0, timeout, opakovani);
    }

    bool Precti(TBajty& cil)
    {
        cil.assign(VelikostPametiTFTP, 0xEE);
        std::uint32_t pocet = 0;
        const bool ok = PrectiDoPameti(tftp, "lan4.cfg", cil.data(), pocet);
        server.Pockej();
        cil.resize(pocet);
        return ok;
    }

    bool Zapis(const TBajty& zdroj)
    {
        const bool ok = ZapisZPameti(tftp, "lan4.cfg", zdroj.data(), static_cast<std::uint32_t>(zdroj.size()));
        server.Pockej();
        return ok;
    }

    TftpSkriptServer server;
    TTFTP tftp;
};

// A module that never answers gets the request 1 + retries times, byte for
// byte the same, each a whole wait after the one before; then the transfer
// fails as it always has.
TEST_F(TftpOpakovani, SilentModuleGetsTheRequestOncePerTryAWaitApartThenTheTransferFails)
{
    struct {
        bool cteni;
        std::int32_t opakovani;
        std::int64_t cekani;  // the wait of one try: a write waits at least 500 ms
        std::int32_t status;
    } const pripady[] = {{true, 2, 200, 2}, {false, 1, 500, 1}, {true, 0, 200, 2}};
    for (const auto& c : pripady) {
        SCOPED_TRACE(std::string(c.cteni ? "read" : "write") + " with " + std::to_string(c.opakovani) + " retries");
        TftpSkriptServer ticho;
        InicializujTFTP(tftp, ticho.Adresa(), 0, 200, c.opakovani);
        std::vector<TBajty> zadosti;
        std::vector<std::int64_t> casy;
        const Okamzik start = Ted();
        ticho.Spust([&](TftpSkriptServer& s) {
            while (auto z = s.PrijmiZadost(static_cast<std::int32_t>(c.cekani) + 300)) {
                zadosti.push_back(*z);
                casy.push_back(UplynuloMs(start));
            }
        });
        TBajty buf(VelikostPametiTFTP);
        std::uint32_t pocet = 0;
        const bool ok =
            c.cteni ? PrectiDoPameti(tftp, "f", buf.data(), pocet) : ZapisZPameti(tftp, "f", buf.data(), 10);
        const std::int64_t trvani = UplynuloMs(start);
        ticho.Pockej();
        EXPECT_FALSE(ok);
        EXPECT_EQ(tftp.ED.Status, c.status);
        EXPECT_EQ(tftp.ED.StatusText, "Chyba spojení");
        ASSERT_EQ(zadosti.size(), static_cast<std::size_t>(1 + c.opakovani));
        for (std::size_t i = 1; i < zadosti.size(); ++i) {
            EXPECT_EQ(zadosti[i], zadosti[0]);
            EXPECT_GE(casy[i] - casy[i - 1], c.cekani - 5);
        }
        EXPECT_GE(trvani, c.cekani * (1 + c.opakovani));
        EXPECT_LT(trvani, c.cekani * (1 + c.opakovani) + 700);
    }
}

// A DATA block lost on its way: the client's wait runs out and its last ACK
// goes again, which a server answers with the block.
TEST_F(TftpOpakovani, LostBlockOfAReadIsAskedForAgainByTheLastAck)
{
    Inicializuj(200, 3);
    const TBajty obsah = Obsah(612);
    std::int64_t mezera = 0;
    server.Spust([&](TftpSkriptServer& s) {
        if (!s.PrijmiZadost())
            return;
        s.Posli(Data(1, obsah, 0, 512));
        s.Prijmi();
        const Okamzik ztrata = Ted();  // DATA 2 "goes out" and is lost
        s.Prijmi();
        mezera = UplynuloMs(ztrata);
        s.Posli(Data(2, obsah, 512, 100));
        s.Prijmi();
    });
    TBajty cil;
    ASSERT_TRUE(Precti(cil)) << tftp.ED.StatusText;
    EXPECT_EQ(cil, obsah);
    EXPECT_EQ(server.Prijato, (std::vector<TBajty>{TftpAck(1), TftpAck(1), TftpAck(2)}));
    EXPECT_GE(mezera, 190);
}

// The ACK of a write's block lost on its way: the block goes again after the
// wait, and the server's ACK of the repeat moves the transfer on.
TEST_F(TftpOpakovani, LostAckOfAWriteBringsTheBlockAgainAfterTheWait)
{
    Inicializuj(200, 3);
    const TBajty zdroj = Obsah(700);
    std::int64_t mezera = 0;
    server.Spust([&](TftpSkriptServer& s) {
        if (!s.PrijmiZadost())
            return;
        s.Posli(TftpAck(0));
        s.Prijmi();
        const Okamzik ztrata = Ted();  // its ACK 1 is lost
        s.Prijmi();
        mezera = UplynuloMs(ztrata);
        s.Posli(TftpAck(1));
        s.Prijmi();
        s.Posli(TftpAck(2));
    });
    ASSERT_TRUE(Zapis(zdroj)) << tftp.ED.StatusText;
    EXPECT_EQ(server.Prijato,
              (std::vector<TBajty>{Data(1, zdroj, 0, 512), Data(1, zdroj, 0, 512), Data(2, zdroj, 512, 188)}));
    EXPECT_GE(mezera, 490);  // a write waits at least 500 ms
}

// The Sorcerer's Apprentice: a late ACK and the ACK of the block sent again
// both arrive; the second must not send the next block a second time, or
// every block after it would go twice. Neither duplicate ends the wait.
TEST_F(TftpOpakovani, RepeatedAckNeverSendsTheNextBlockTwice)
{
    Inicializuj(200, 3);
    const TBajty zdroj = Obsah(1100);
    std::optional<TBajty> navic;
    server.Spust([&](TftpSkriptServer& s) {
        if (!s.PrijmiZadost())
            return;
        s.Posli(TftpAck(0));
        s.Prijmi();
        s.Prijmi();  // DATA 1 again: its ACK is "late"
        s.Posli(TftpAck(1));
        s.Posli(TftpAck(1));
        s.Prijmi();  // DATA 2, once
        navic = s.Prijmi(300);
        if (navic)
            return;
        s.Posli(TftpAck(2));
        s.Prijmi();
        s.Posli(TftpAck(2));  // stale, after block 3 went out
        s.Posli(TftpAck(3));
    });
    ASSERT_TRUE(Zapis(zdroj)) << tftp.ED.StatusText;
    EXPECT_FALSE(navic.has_value());
    EXPECT_EQ(server.Prijato, (std::vector<TBajty>{Data(1, zdroj, 0, 512), Data(1, zdroj, 0, 512),
                                                   Data(2, zdroj, 512, 512), Data(3, zdroj, 1024, 76)}));
}

// A duplicate that does not move the transfer on neither ends nor stretches
// the wait: the block goes again a wait after it last went out.
TEST_F(TftpOpakovani, DuplicateAckLetsTheWaitRunToItsEnd)
{
    Inicializuj(1000, 1);
    const TBajty zdroj = Obsah(100);
    std::int64_t znovu = -1;
    server.Spust([&](TftpSkriptServer& s) {
        if (!s.PrijmiZadost())
            return;
        s.Posli(TftpAck(0));
        s.Prijmi();
        const Okamzik data1 = Ted();
        Cekej(600);
        s.Posli(TftpAck(0));
        if (s.Prijmi(2000))
            znovu = UplynuloMs(data1);
        s.Posli(TftpAck(1));
    });
    ASSERT_TRUE(Zapis(zdroj)) << tftp.ED.StatusText;
    EXPECT_GE(znovu, 990);
    EXPECT_LT(znovu, 1400);  // stretched, it would come 1600 ms after
}

// A server that missed block 1 of a write repeats its OACK: block 1 goes
// again at once, at the block size granted.
TEST_F(TftpOpakovani, RepeatedOackOfAWriteSendsBlock1Again)
{
    Inicializuj(2000, 3);
    const TBajty zdroj = Obsah(600);
    std::int64_t mezera = -1;
    server.Spust([&](TftpSkriptServer& s) {
        if (!s.PrijmiZadost())
            return;
        const TBajty oack = TftpOack({"blksize", "1000"});
        s.Posli(oack);
        s.Prijmi();
        const Okamzik opakovani = Ted();
        s.Posli(oack);
        s.Prijmi();
        mezera = UplynuloMs(opakovani);
        s.Posli(TftpAck(1));
    });
    ASSERT_TRUE(Zapis(zdroj)) << tftp.ED.StatusText;
    EXPECT_EQ(server.Prijato, (std::vector<TBajty>{TftpData(1, zdroj), TftpData(1, zdroj)}));
    EXPECT_GE(mezera, 0);
    EXPECT_LT(mezera, 1000);
}

// With the retries used up midway the read fails as before: the last ACK
// went 1 + retries times, and nothing else follows it.
TEST_F(TftpOpakovani, RetriesUsedUpMidwayFailTheReadWithoutAFarewell)
{
    Inicializuj(150, 2);
    std::optional<TBajty> poSelhani;
    server.Spust([&](TftpSkriptServer& s) {
        if (!s.PrijmiZadost())
            return;
        s.Posli(TftpData(1, 512));
        while (s.Prijmi(400)) {
        }
    });
    TBajty cil;
    EXPECT_FALSE(Precti(cil));
    EXPECT_EQ(tftp.ED.Status, 2);
    EXPECT_EQ(tftp.ED.StatusText, "Chyba spojení");
    EXPECT_EQ(server.Prijato, (std::vector<TBajty>{TftpAck(1), TftpAck(1), TftpAck(1)}));
}

// A transfer asked to end between two tries ends at once, with the ERROR
// that tells the module, instead of using its retries up.
TEST_F(TftpOpakovani, AskedToEndWithRetriesLeftTheTransferStopsAtOnce)
{
    Inicializuj(300, 3);
    std::atomic<bool> ukoncit{false};
    NastavUkonceni([&] { return ukoncit.load(); });
    std::int64_t konec = -1;
    server.Spust([&](TftpSkriptServer& s) {
        if (!s.PrijmiZadost())
            return;
        s.Posli(TftpData(1, 512));
        s.Prijmi();
        s.Prijmi();  // the first retry of ACK 1
        const Okamzik pozadano = Ted();
        ukoncit = true;
        if (s.Prijmi(1000))
            konec = UplynuloMs(pozadano);
    });
    TBajty cil;
    EXPECT_FALSE(Precti(cil));
    EXPECT_EQ(tftp.ED.Status, 2);
    EXPECT_EQ(tftp.ED.StatusText, "Chyba spojení");
    EXPECT_EQ(server.Prijato, (std::vector<TBajty>{TftpAck(1), TftpAck(1), TftpChyba(0, "")}));
    EXPECT_GE(konec, 0);
    EXPECT_LT(konec, 150);  // a slice, with room for a loaded machine; the next retry was 300 ms away
}

}  // namespace
