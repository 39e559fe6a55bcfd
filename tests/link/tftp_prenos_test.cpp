// The four transfers over real UDP on 127.0.0.1 against a scripted server
// that answers from its own transfer port: status values and texts, the
// bytes that arrive, the waits and the message pump, strangers, local files;
// each without retries and with 3 (tftp_opakovani_test.cpp has the losses).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

#include "Cas.h"
#include "M_TFTP.h"
#include "TftpKlient.h"
#include "TftpSkriptServer.h"
#include "Ukonceni.h"

using namespace vk::link;
using namespace vk::test;

namespace {

TBajty Obsah(std::size_t pocet, std::uint8_t vzor = 1)
{
    TBajty b(pocet);
    for (std::size_t i = 0; i < pocet; ++i)
        b[i] = VzorBajt(i, vzor);
    return b;
}

TBajty Dil(const TBajty& b, std::size_t od, std::size_t pocet)
{
    return TBajty(b.begin() + static_cast<long>(od), b.begin() + static_cast<long>(od + pocet));
}

// Serves `obsah` to a read in blocks of `blok`, after an OACK when asked.
void ObsluzCteni(TftpSkriptServer& s, const TBajty& obsah, std::uint16_t blok, bool oack)
{
    if (!s.PrijmiZadost())
        return;
    if (oack) {
        s.Posli(TftpOack({"blksize", std::to_string(blok), "tsize", std::to_string(obsah.size())}));
        if (!s.Prijmi())
            return;
    }
    for (std::size_t n = 1;; ++n) {
        const std::size_t od = (n - 1) * blok;
        const std::size_t pocet = std::min<std::size_t>(blok, obsah.size() - od);
        s.Posli(TftpData(static_cast<std::uint16_t>(n), Dil(obsah, od, pocet)));
        if (!s.Prijmi() || pocet < blok)
            return;
    }
}

// Takes a write in blocks of `blok` into `prijato`, after an OACK when asked.
void ObsluzZapis(TftpSkriptServer& s, std::uint16_t blok, bool oack, TBajty& prijato)
{
    if (!s.PrijmiZadost())
        return;
    s.Posli(oack ? TftpOack({"blksize", std::to_string(blok)}) : TftpAck(0));
    for (;;) {
        const auto d = s.Prijmi();
        if (!d || TftpOpcode(*d) != 3)
            return;
        prijato.insert(prijato.end(), d->begin() + 4, d->end());
        s.Posli(TftpAck(TftpBlok(*d)));
        if (d->size() - 4 < blok)
            return;
    }
}

// The parameter: the link's retries.
class TftpPrenos : public ::testing::TestWithParam<std::int32_t> {
protected:
    void SetUp() override { InicializujTFTP(tftp, server.Adresa(), 0, 2000, GetParam()); }
    void TearDown() override
    {
        NastavPumpuZprav({});
        NastavUkonceni({});
    }

    bool Precti(TBajty& cil)
    {
        cil.assign(VelikostPametiTFTP, 0xEE);
        std::uint32_t pocet = 77;
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

    void OcekavejChybu(std::int32_t status)
    {
        EXPECT_EQ(tftp.ED.Status, status);
        EXPECT_EQ(tftp.ED.StatusText, "Chyba spojení");
    }

    void OcekavejOk()
    {
        EXPECT_EQ(tftp.ED.Status, 0);
        EXPECT_EQ(tftp.ED.StatusText, "OK");
    }

    std::string DocasnySoubor(const std::string& jmeno)
    {
        const auto cesta =
            std::filesystem::temp_directory_path() / ("tftp_prenos_" + std::to_string(getpid()) + "_" + jmeno);
        docasne.push_back(cesta);
        return cesta.string();
    }

    ~TftpPrenos() override
    {
        for (const auto& c : docasne)
            std::filesystem::remove(c);
    }

    TftpSkriptServer server;
    TTFTP tftp;
    std::vector<std::filesystem::path> docasne;
};

TBajty Soubor(const std::string& cesta)
{
    std::ifstream f(cesta, std::ios::binary);
    return TBajty(std::istreambuf_iterator<char>(f), {});
}

TEST_P(TftpPrenos, PlainDataWithoutOackIsReadIn512ByteBlocks)
{
    const TBajty obsah = Obsah(1300);
    server.Spust([&](TftpSkriptServer& s) { ObsluzCteni(s, obsah, 512, false); });
    TBajty cil;
    ASSERT_TRUE(Precti(cil));
    OcekavejOk();
    EXPECT_EQ(cil, obsah);
    EXPECT_EQ(TftpRetezce(server.Zadost),
              (std::vector<std::string>{"lan4.cfg", "octet", "blksize", "1500", "tsize", "0"}));
    EXPECT_EQ(TftpOpcode(server.Zadost), 1);
    EXPECT_EQ(server.Prijato, (std::vector<TBajty>{TftpAck(1), TftpAck(2), TftpAck(3)}));
}

TEST_P(TftpPrenos, OackOf1500IsAcknowledgedWithZeroAndA1500ByteFileEndsWithAnEmptyBlock)
{
    const TBajty obsah = Obsah(1500);
    server.Spust([&](TftpSkriptServer& s) { ObsluzCteni(s, obsah, 1500, true); });
    TBajty cil;
    ASSERT_TRUE(Precti(cil));
    EXPECT_EQ(cil, obsah);
    EXPECT_EQ(server.Prijato, (std::vector<TBajty>{TftpAck(0), TftpAck(1), TftpAck(2)}));
}

TEST_P(TftpPrenos, LargestGrantedBlockFitsTheReceiveBuffer)
{
    const TBajty obsah = Obsah(65464 + 100);
    server.Spust([&](TftpSkriptServer& s) { ObsluzCteni(s, obsah, 65464, true); });
    TBajty cil;
    ASSERT_TRUE(Precti(cil));
    EXPECT_EQ(cil, Dil(obsah, 0, 10000));
    EXPECT_EQ(server.Prijato, (std::vector<TBajty>{TftpAck(0), TftpAck(1), TftpAck(2)}));
}

TEST_P(TftpPrenos, ReadOf12000BytesKeepsTheFirst10000)
{
    const TBajty obsah = Obsah(12000);
    server.Spust([&](TftpSkriptServer& s) { ObsluzCteni(s, obsah, 1500, true); });
    TBajty cil;
    ASSERT_TRUE(Precti(cil));
    EXPECT_EQ(cil, Dil(obsah, 0, 10000));
    EXPECT_EQ(server.Prijato.size(), 10u);  // ACK 0 to 9: the whole file was taken
}

TEST_P(TftpPrenos, RefusedOptionsSendError8AndFailTheReadWithStatus2)
{
    const std::pair<std::vector<std::string>, std::string> pripady[] = {
        {{"blksize", "1500", "windowsize", "4"}, "Unsupported option: \"windowsize\""},
        {{"blksize", "70000"}, "Unsupported value \"70000\" for option: \"blksize\""},
    };
    for (const auto& [volby, zprava] : pripady) {
        TftpSkriptServer s2;
        InicializujTFTP(tftp, s2.Adresa(), 0, 2000, GetParam());
        s2.Spust([&](TftpSkriptServer& s) {
            if (s.PrijmiZadost()) {
                s.Posli(TftpOack(volby));
                s.Prijmi();
            }
        });
        TBajty cil(VelikostPametiTFTP);
        std::uint32_t pocet = 5;
        EXPECT_FALSE(PrectiDoPameti(tftp, "f", cil.data(), pocet));
        s2.Pockej();
        EXPECT_EQ(pocet, 0u);
        OcekavejChybu(2);
        EXPECT_EQ(s2.Prijato, (std::vector<TBajty>{TftpChyba(8, zprava)}));
    }
}

// The block taken last, come again, is stored once; with retries its ACK
// goes again at once (the module missed it), without retries it gets none.
TEST_P(TftpPrenos, DuplicateOfTheLastBlockIsStoredOnceAndAcknowledgedAgainOnlyWithRetries)
{
    const TBajty obsah = Obsah(612);
    server.Spust([&](TftpSkriptServer& s) {
        if (!s.PrijmiZadost())
            return;
        s.Posli(TftpData(1, Dil(obsah, 0, 512)));
        s.Prijmi();
        s.Posli(TftpData(1, Dil(obsah, 0, 512)));
        s.Prijmi(300);  // with retries the ACK again, else nothing
        s.Posli(TftpData(2, Dil(obsah, 512, 100)));
        s.Prijmi();
    });
    TBajty cil;
    ASSERT_TRUE(Precti(cil));
    EXPECT_EQ(cil, obsah);
    const std::vector<TBajty> ocekavane = GetParam() > 0 ? std::vector<TBajty>{TftpAck(1), TftpAck(1), TftpAck(2)}
                                                         : std::vector<TBajty>{TftpAck(1), TftpAck(2)};
    EXPECT_EQ(server.Prijato, ocekavane);
}

TEST_P(TftpPrenos, StrangersAreRefusedWithError5WhileTheTransferCompletes)
{
    const TBajty obsah = Obsah(700);
    std::vector<std::optional<TBajty>> odpovediCizim;
    server.Spust([&](TftpSkriptServer& s) {
        if (!s.PrijmiZadost())
            return;
        s.Posli(TftpData(1, Dil(obsah, 0, 512)));
        s.Prijmi();
        s.PosliCizi(TftpData(2, 188, 0x55));  // another port of the module's host
        odpovediCizim.push_back(s.PrijmiCizi());
        s.PosliCizi(TftpData(2, 188, 0x66), true);  // another host
        odpovediCizim.push_back(s.PrijmiCizi(3000, true));
        s.PosliCizi(TftpChyba(0, "stop"));
        s.Posli(TftpData(2, Dil(obsah, 512, 188)));
        s.Prijmi();
        odpovediCizim.push_back(s.PrijmiCizi(200));  // the ERROR went unanswered
    });
    TBajty cil;
    ASSERT_TRUE(Precti(cil));
    EXPECT_EQ(cil, obsah);
    EXPECT_EQ(server.Prijato, (std::vector<TBajty>{TftpAck(1), TftpAck(2)}));
    ASSERT_EQ(odpovediCizim.size(), 3u);
    EXPECT_EQ(odpovediCizim[0], TftpChyba(5, "Unknown transfer ID"));
    EXPECT_EQ(odpovediCizim[1], TftpChyba(5, "Unknown transfer ID"));
    EXPECT_FALSE(odpovediCizim[2].has_value());
}

TEST_P(TftpPrenos, DataLongerThanTheBlockSizeFailsTheRead)
{
    server.Spust([&](TftpSkriptServer& s) {
        if (s.PrijmiZadost()) {
            s.Posli(TftpData(1, 600));
            s.Prijmi();
        }
    });
    TBajty cil;
    EXPECT_FALSE(Precti(cil));
    OcekavejChybu(2);
    EXPECT_TRUE(cil.empty());
    EXPECT_EQ(server.Prijato, (std::vector<TBajty>{TftpChyba(4, "")}));
}

// A silent module: the wait keeps its length, once for the request and once
// for each retry, and the message pump runs all along in short slices.
TEST_P(TftpPrenos, SilentServerFailsAReadAfterTheTimeoutAndAWriteAfterAtLeast500MsPerTry)
{
    const std::int64_t pokusu = 1 + GetParam();  // tries
    struct {
        bool cteni;
        std::int32_t timeout;
        std::int64_t nejmene;
        std::int32_t status;
    } const pripady[] = {{true, 300, 300 * pokusu, 2}, {false, 100, 500 * pokusu, 1}};
    for (const auto& c : pripady) {
        TftpSkriptServer ticho;
        InicializujTFTP(tftp, ticho.Adresa(), 0, c.timeout, GetParam());
        ticho.Spust([](TftpSkriptServer& s) { s.PrijmiZadost(); });
        int pumpy = 0;
        std::int64_t nejdelsiMezera = 0;
        Okamzik posledni = Ted();
        NastavPumpuZprav([&] {
            ++pumpy;
            nejdelsiMezera = std::max(nejdelsiMezera, UplynuloMs(posledni));
            posledni = Ted();
        });
        const Okamzik zacatek = Ted();
        TBajty buf(VelikostPametiTFTP);
        std::uint32_t pocet = 0;
        const bool ok =
            c.cteni ? PrectiDoPameti(tftp, "f", buf.data(), pocet) : ZapisZPameti(tftp, "f", buf.data(), 10);
        const std::int64_t trvani = UplynuloMs(zacatek);
        NastavPumpuZprav({});
        ticho.Pockej();
        EXPECT_FALSE(ok);
        OcekavejChybu(c.status);
        EXPECT_GE(trvani, c.nejmene);
        EXPECT_LT(trvani, c.nejmene + 700);
        EXPECT_GE(pumpy, c.nejmene / 20 / 2);
        EXPECT_LE(nejdelsiMezera, 100);
    }
}

TEST_P(TftpPrenos, ZeroByteWriteSendsTsize0AndOneEmptyBlock)
{
    TBajty prijato;
    server.Spust([&](TftpSkriptServer& s) { ObsluzZapis(s, 512, false, prijato); });
    ASSERT_TRUE(Zapis({}));
    OcekavejOk();
    EXPECT_EQ(TftpOpcode(server.Zadost), 2);
    EXPECT_EQ(TftpRetezce(server.Zadost),
              (std::vector<std::string>{"lan4.cfg", "octet", "blksize", "1500", "tsize", "0"}));
    EXPECT_EQ(server.Prijato, (std::vector<TBajty>{TftpData(1, TBajty{})}));
}

TEST_P(TftpPrenos, WriteAfterOackUsesTheGrantedBlocksAndSendsAtMost10000Bytes)
{
    const TBajty zdroj = Obsah(12000, 9);
    TBajty prijato;
    server.Spust([&](TftpSkriptServer& s) { ObsluzZapis(s, 1000, true, prijato); });
    ASSERT_TRUE(Zapis(zdroj));
    EXPECT_EQ(prijato, Dil(zdroj, 0, 10000));
    EXPECT_EQ(TftpRetezce(server.Zadost).back(), "10000");
    ASSERT_EQ(server.Prijato.size(), 11u);  // ten full blocks and an empty one
    EXPECT_EQ(server.Prijato.back(), TftpData(11, TBajty{}));
}

TEST_P(TftpPrenos, ErrorAnsweringAWriteFailsItWithStatus1)
{
    server.Spust([&](TftpSkriptServer& s) {
        if (s.PrijmiZadost())
            s.Posli(TftpChyba(2, "Access violation"));
    });
    EXPECT_FALSE(Zapis(Obsah(10)));
    OcekavejChybu(1);
}

TEST_P(TftpPrenos, WriteFromAFileReportsProgressOncePerBlock)
{
    const TBajty zdroj = Obsah(2000, 3);
    const std::string cesta = DocasnySoubor("zdroj");
    std::ofstream(cesta, std::ios::binary)
        .write(reinterpret_cast<const char*>(zdroj.data()), static_cast<std::streamsize>(zdroj.size()));
    TBajty prijato;
    server.Spust([&](TftpSkriptServer& s) { ObsluzZapis(s, 512, false, prijato); });
    std::vector<std::pair<std::uint64_t, std::uint64_t>> prubeh;
    int pumpy = 0;
    NastavPumpuZprav([&] { ++pumpy; });
    ASSERT_TRUE(ZapisZeSouboru(tftp, cesta, "fw.hbn", [&](std::uint64_t hotovo, std::uint64_t celkem) {
        prubeh.emplace_back(hotovo, celkem);
    }));
    server.Pockej();
    OcekavejOk();
    EXPECT_EQ(prijato, zdroj);
    EXPECT_EQ(TftpRetezce(server.Zadost).back(), "2000");
    EXPECT_EQ(prubeh, (std::vector<std::pair<std::uint64_t, std::uint64_t>>{
                          {512, 2000}, {1024, 2000}, {1536, 2000}, {2000, 2000}}));
    EXPECT_GE(pumpy, 4);
}

TEST_P(TftpPrenos, ReadIntoAFileReplacesItAndReportsProgressAgainstTsize)
{
    const TBajty obsah = Obsah(3000, 4);
    const std::string cesta = DocasnySoubor("cil");
    std::ofstream(cesta) << std::string(5000, 'z');
    server.Spust([&](TftpSkriptServer& s) { ObsluzCteni(s, obsah, 1500, true); });
    std::vector<std::pair<std::uint64_t, std::uint64_t>> prubeh;
    ASSERT_TRUE(PrectiDoSouboru(tftp, cesta, "log.bin", [&](std::uint64_t hotovo, std::uint64_t celkem) {
        prubeh.emplace_back(hotovo, celkem);
    }));
    server.Pockej();
    OcekavejOk();
    EXPECT_EQ(Soubor(cesta), obsah);
    EXPECT_EQ(prubeh, (std::vector<std::pair<std::uint64_t, std::uint64_t>>{{1500, 3000}, {3000, 3000}, {3000, 3000}}));
}

TEST_P(TftpPrenos, FailedReadIntoAFileKeepsTheBlocksReceived)
{
    const TBajty obsah = Obsah(1024, 5);
    server.Spust([&](TftpSkriptServer& s) {
        if (!s.PrijmiZadost())
            return;
        s.Posli(TftpData(1, Dil(obsah, 0, 512)));
        s.Prijmi();
        s.Posli(TftpData(2, Dil(obsah, 512, 512)));
        s.Prijmi();
        s.Posli(TftpChyba(0, "disk gone"));
    });
    const std::string cesta = DocasnySoubor("castecny");
    EXPECT_FALSE(PrectiDoSouboru(tftp, cesta, "log.bin"));
    server.Pockej();
    OcekavejChybu(1);
    EXPECT_EQ(Soubor(cesta), obsah);
}

// A transfer asked to end (a stopped job, a signal to the command-line
// tool) stops at its next pump instead of running on to its end or its
// time-out; the server's transfer port, once known, is told with ERROR 0.
TEST_P(TftpPrenos, AskedToEndATransferStopsAtItsNextPump)
{
    bool ukoncit = false;
    NastavUkonceni([&] { return ukoncit; });

    // Midway: the question turns true with the second block; the server then
    // waits for the client, who must say that it gives up.
    server.Spust([&](TftpSkriptServer& s) {
        if (!s.PrijmiZadost())
            return;
        s.Posli(TftpData(1, 512));
        s.Prijmi();
        s.Posli(TftpData(2, 512));
        s.Prijmi();
        s.Prijmi(1000);
    });
    const std::string cesta = DocasnySoubor("ukonceny");
    const Okamzik zacatek = Ted();
    const bool ok =
        PrectiDoSouboru(tftp, cesta, "log.bin", [&](std::uint64_t hotovo, std::uint64_t) { ukoncit = hotovo >= 1024; });
    server.Pockej();
    EXPECT_FALSE(ok);
    OcekavejChybu(1);
    EXPECT_LT(UplynuloMs(zacatek), 1000);
    EXPECT_EQ(server.Prijato, (std::vector<TBajty>{TftpAck(1), TftpAck(2), TftpChyba(0, "")}));

    // Before the module's first answer there is no transfer port to tell.
    TftpSkriptServer ticho;
    InicializujTFTP(tftp, ticho.Adresa(), 0, 2000, GetParam());
    ticho.Spust([](TftpSkriptServer& s) {
        s.PrijmiZadost();
        s.Prijmi(300);
    });
    int dotazy = 0;
    NastavUkonceni([&] { return dotazy++ > 0; });
    const Okamzik zacatekTicha = Ted();
    EXPECT_FALSE(ZapisZPameti(tftp, "lan4.cfg", Obsah(16).data(), 16));
    EXPECT_LT(UplynuloMs(zacatekTicha), 1000);
    ticho.Pockej();
    EXPECT_FALSE(ticho.Zadost.empty());
    EXPECT_TRUE(ticho.Prijato.empty());

    // Asked before it starts, a transfer sends nothing at all.
    TftpSkriptServer nic;
    InicializujTFTP(tftp, nic.Adresa(), 0, 2000, GetParam());
    nic.Spust([](TftpSkriptServer& s) { s.PrijmiZadost(300); });
    NastavUkonceni([] { return true; });
    EXPECT_FALSE(ZapisZPameti(tftp, "lan4.cfg", Obsah(16).data(), 16));
    nic.Pockej();
    NastavUkonceni({});
    EXPECT_TRUE(nic.Zadost.empty());
}

TEST_P(TftpPrenos, LocalFileThatCannotBeUsedGivesStatus1AndATextWithoutTraffic)
{
    server.Spust([](TftpSkriptServer& s) { s.PrijmiZadost(300); });
    const std::string nelze = "/nonexistent-dir/x.bin";
    EXPECT_FALSE(PrectiDoSouboru(tftp, nelze, "log.bin"));
    EXPECT_EQ(tftp.ED.Status, 1);
    EXPECT_EQ(tftp.ED.StatusText, "Nelze vytvořit soubor " + nelze);
    EXPECT_FALSE(ZapisZeSouboru(tftp, nelze, "fw.hbn"));
    EXPECT_EQ(tftp.ED.Status, 1);
    EXPECT_EQ(tftp.ED.StatusText, "Nelze otevřít soubor " + nelze);
    const std::string slozka = std::filesystem::temp_directory_path().string();
    EXPECT_FALSE(ZapisZeSouboru(tftp, slozka, "fw.hbn"));
    EXPECT_EQ(tftp.ED.StatusText, "Nelze otevřít soubor " + slozka);
    server.Pockej();
    EXPECT_TRUE(server.Zadost.empty());
}

TEST(TftpBezKlienta, EveryTransferRefusesWithoutTraffic)
{
    TTFTP tftp;
    TBajty buf(VelikostPametiTFTP);
    std::uint32_t pocet = 9;
    const auto ocekavej = [&](bool ok) {
        EXPECT_FALSE(ok);
        EXPECT_EQ(tftp.ED.Status, 1);
        EXPECT_EQ(tftp.ED.StatusText, "Spojení dosud neinicializováno");
        tftp.ED = {};
    };
    ocekavej(PrectiDoPameti(tftp, "f", buf.data(), pocet));
    EXPECT_EQ(pocet, 0u);
    ocekavej(ZapisZPameti(tftp, "f", buf.data(), 1));
    ocekavej(PrectiDoSouboru(tftp, "/tmp/never", "f"));
    ocekavej(ZapisZeSouboru(tftp, "/tmp/never", "f"));
    EXPECT_FALSE(std::filesystem::exists("/tmp/never"));
}

TEST(TftpInicializace, StoresTheSettingsAndReplacesTheClient)
{
    TTFTP tftp;
    tftp.ED = {2, "Chyba spojení", "modul neodpověděl do 100 ms"};
    InicializujTFTP(tftp, "[::1]:6969", 1, 100, 4);
    EXPECT_EQ(tftp.CFG.AdresaIP, "[::1]:6969");
    EXPECT_EQ(tftp.CFG.VerzeIP, 1);
    EXPECT_EQ(tftp.CFG.Timeout, 100);
    EXPECT_EQ(tftp.CFG.Opakovani, 4);
    EXPECT_EQ(tftp.ED.Status, 0);
    EXPECT_EQ(tftp.ED.StatusText, "");
    EXPECT_EQ(tftp.ED.Pricina, "");
    ASSERT_TRUE(tftp.ID.IdTrivialFTP1);
    EXPECT_TRUE(tftp.ID.IdTrivialFTP1->IPv6);
    EXPECT_EQ(tftp.ID.IdTrivialFTP1->CekaniCteni, 100);
    EXPECT_EQ(tftp.ID.IdTrivialFTP1->CekaniZapisu, 500);
    EXPECT_EQ(tftp.ID.IdTrivialFTP1->Opakovani, 4);

    const TTFTP kopie = tftp;                        // shares the client
    InicializujTFTP(tftp, "10.0.0.1", 0, 2000, -1);  // no retries below none
    EXPECT_NE(tftp.ID.IdTrivialFTP1, kopie.ID.IdTrivialFTP1);
    EXPECT_FALSE(tftp.ID.IdTrivialFTP1->IPv6);
    EXPECT_EQ(tftp.ID.IdTrivialFTP1->CekaniZapisu, 2000);
    EXPECT_EQ(tftp.CFG.Opakovani, 0);
    EXPECT_EQ(tftp.ID.IdTrivialFTP1->Opakovani, 0);
}

INSTANTIATE_TEST_SUITE_P(Opakovani, TftpPrenos, ::testing::Values(0, 3),
                         [](const auto& info) { return std::string(info.param == 0 ? "BezOpakovani" : "Opakovani3"); });

}  // namespace
