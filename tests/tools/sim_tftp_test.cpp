// The simulator's TFTP server seen from a raw datagram peer: plain and
// negotiated reads, writes and their checks, the error codes, and the faults.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <mutex>
#include <random>
#include <string>
#include <thread>

#include "Simulator.h"
#include "sim_test_klient.h"

using namespace simtest;
using vk::sim::TPorucha;

namespace {

using Volby = std::vector<std::pair<std::string, std::string>>;

class simTftp : public ::testing::Test {
protected:
    void SetUp() override
    {
        vk::sim::TNastaveniSimulatoru n;
        n.SpustitSerial = false;
        std::string chyba;
        ASSERT_TRUE(sim.Spust(n, chyba)) << chyba;
        ASSERT_NE(sim.PortLan(), 0);
        EXPECT_EQ(sim.AdresaLan(), "127.0.0.1:" + std::to_string(sim.PortLan()));
        klient = std::make_unique<TTftpKlient>(sim.PortLan());
    }

    vk::sim::TSimulator sim;
    std::unique_ptr<TTftpKlient> klient;
};

TEST_F(simTftp, PlainReadUses512ByteBlocksFromATransferPortOfItsOwn)
{
    const TVysledekTftp v = klient->Cti("log.bin");
    ASSERT_TRUE(v.Ok);
    EXPECT_EQ(v.Data, sim.Soubor("log.bin"));
    EXPECT_TRUE(v.Volby.empty());
    EXPECT_EQ(v.PaketuDat, static_cast<int>(v.Data.size() / 512 + 1));
    EXPECT_NE(v.PortPrenosu, sim.PortLan());
}

TEST_F(simTftp, NegotiatedReadGrantsBlksizeAndTellsTheSize)
{
    const TVysledekTftp v = klient->Cti("sys.bin", {{"blksize", "1500"}, {"tsize", "0"}});
    ASSERT_TRUE(v.Ok);
    EXPECT_EQ(v.Volby, (Volby{{"blksize", "1500"}, {"tsize", "392"}}));
    EXPECT_EQ(v.Data.size(), 392u);
    EXPECT_EQ(v.PaketuDat, 1);
}

TEST_F(simTftp, BlksizeAboveWhatTheModuleTakesIsCutAndUnknownOptionsAreLeftOut)
{
    const TVysledekTftp v = klient->Cti("log.bin", {{"BLKSIZE", "65464"}, {"windowsize", "8"}});
    ASSERT_TRUE(v.Ok);
    EXPECT_EQ(v.Volby, (Volby{{"BLKSIZE", "1500"}}));
    EXPECT_EQ(v.Data, sim.Soubor("log.bin"));
    EXPECT_EQ(v.PaketuDat, static_cast<int>(v.Data.size() / 1500 + 1));
}

TEST_F(simTftp, FileOfExactlyOneBlockEndsWithAnEmptyDataPacket)
{
    Bajty obraz(1500, 0x5A);
    sim.NastavSoubor("fw.hbn", obraz);
    const TVysledekTftp v = klient->Cti("fw.hbn", {{"blksize", "1500"}});
    ASSERT_TRUE(v.Ok);
    EXPECT_EQ(v.Data, obraz);
    EXPECT_EQ(v.PaketuDat, 2);
}

struct TChybaPozadavku {
    const char* popis;
    Bajty pozadavek;
    std::uint16_t kod;
};

class simTftpChyby : public simTftp, public ::testing::WithParamInterface<TChybaPozadavku> {};

TEST_P(simTftpChyby, RequestGetsTheErrorCode)
{
    klient->Posli(GetParam().pozadavek, sim.PortLan());
    TPaket p;
    ASSERT_TRUE(klient->Prijmi(p, 1000)) << GetParam().popis;
    EXPECT_EQ(p.Opcode, 5) << GetParam().popis;
    EXPECT_EQ(p.Cislo, GetParam().kod) << GetParam().popis;
    EXPECT_NE(p.Port, sim.PortLan());
}

INSTANTIATE_TEST_SUITE_P(
    Pozadavky, simTftpChyby,
    ::testing::Values(TChybaPozadavku{"unknown file", TTftpKlient::Pozadavek(1, "nope.bin", {}), 1},
                      TChybaPozadavku{"read of write-only ctrl.bin", TTftpKlient::Pozadavek(1, "ctrl.bin", {}), 2},
                      TChybaPozadavku{"write of read-only sys.bin", TTftpKlient::Pozadavek(2, "sys.bin", {}), 2},
                      TChybaPozadavku{"blksize below 8", TTftpKlient::Pozadavek(1, "info.txt", {{"blksize", "4"}}), 8},
                      TChybaPozadavku{"mail mode", TTftpKlient::Pozadavek(1, "info.txt", {}, "mail"), 4},
                      TChybaPozadavku{"name without its zero", {0, 1, 'i', 'n', 'f', 'o'}, 4},
                      TChybaPozadavku{"DATA to the request port", {0, 3, 0, 1, 'x'}, 4},
                      TChybaPozadavku{"announced size too large",
                                      TTftpKlient::Pozadavek(2, "lan4.cfg", {{"tsize", "99999999"}}), 3}));

TEST_F(simTftp, WrittenConfigurationIsStoredAndReadBack)
{
    const Bajty uarts = SKontrolou({17, 6, 2, 1});
    const TVysledekTftp z = klient->Zapis("uarts.cfg", uarts);
    ASSERT_TRUE(z.Ok) << z.TextChyby;
    EXPECT_EQ(z.Volby, (Volby{{"blksize", "1500"}, {"tsize", "5"}}));
    EXPECT_EQ(sim.Soubor("uarts.cfg"), uarts);
    EXPECT_EQ(klient->Cti("uarts.cfg").Data, uarts);
}

TEST_F(simTftp, DamagedConfigurationIsRefusedAfterItsLastBlock)
{
    const Bajty pred = sim.Soubor("lan4.cfg");
    const TVysledekTftp z = klient->Zapis("lan4.cfg", Bajty(16, 1));
    EXPECT_FALSE(z.Ok);
    EXPECT_EQ(z.KodChyby, 0);
    EXPECT_NE(z.TextChyby.find("check byte"), std::string::npos) << z.TextChyby;
    EXPECT_EQ(sim.Soubor("lan4.cfg"), pred);
}

TEST_F(simTftp, LargeImageWithoutOptionsRoundTrips)
{
    Bajty obraz(100000);
    for (std::size_t i = 0; i < obraz.size(); ++i)
        obraz[i] = static_cast<std::uint8_t>((i * 131) >> 3);
    ASSERT_TRUE(klient->Zapis("fw.hbn", obraz, false).Ok);
    EXPECT_EQ(sim.Soubor("fw.hbn"), obraz);
    const TVysledekTftp v = klient->Cti("fw.hbn", {{"blksize", "1500"}, {"tsize", "0"}});
    ASSERT_TRUE(v.Ok);
    EXPECT_EQ(v.Data, obraz);
}

TEST_F(simTftp, EmptyBootCommandIsAccepted)
{
    sim.NastavSoubor("boot.cmd", Text("prog"));
    ASSERT_TRUE(klient->Zapis("boot.cmd", {}).Ok);
    EXPECT_TRUE(sim.Soubor("boot.cmd").empty());
    const TVysledekTftp v = klient->Cti("boot.cmd");
    EXPECT_TRUE(v.Ok);
    EXPECT_TRUE(v.Data.empty());
}

TEST_F(simTftp, StrangerOnATransferPortIsToldOffAndTheTransferGoesOn)
{
    sim.NastavSoubor("fw.hbn", Bajty(1200, 7));
    klient->Posli(TTftpKlient::Pozadavek(1, "fw.hbn", {}), sim.PortLan());
    TPaket p;
    ASSERT_TRUE(klient->Prijmi(p, 1000));
    ASSERT_EQ(p.Opcode, 3);
    const TTftpKlient cizi(sim.PortLan());
    cizi.Posli(TTftpKlient::Ack(1), p.Port);
    TPaket chyba;
    ASSERT_TRUE(cizi.Prijmi(chyba, 1000));
    EXPECT_EQ(chyba.Opcode, 5);
    EXPECT_EQ(chyba.Cislo, 5);
    // A repeated ACK of block 0 is no ACK of block 1: nothing comes.
    klient->Posli(TTftpKlient::Ack(0), p.Port);
    EXPECT_FALSE(klient->Prijmi(p, 100));
    klient->Posli(TTftpKlient::Ack(1), p.Port);
    ASSERT_TRUE(klient->Prijmi(p, 1000));
    EXPECT_EQ(p.Opcode, 3);
    EXPECT_EQ(p.Cislo, 2);
}

TEST_F(simTftp, RepeatedDataBlockIsAcknowledgedAgainAndStoredOnce)
{
    klient->Posli(TTftpKlient::Pozadavek(2, "fw.hbn", {}), sim.PortLan());
    TPaket p;
    ASSERT_TRUE(klient->Prijmi(p, 1000));
    ASSERT_EQ(p.Opcode, 4);
    Bajty data1 = {0, 3, 0, 1};
    data1.resize(4 + 512, 0x11);
    for (int i = 0; i < 2; ++i) {
        klient->Posli(data1, p.Port);
        TPaket ack;
        ASSERT_TRUE(klient->Prijmi(ack, 1000));
        EXPECT_EQ(ack.Opcode, 4);
        EXPECT_EQ(ack.Cislo, 1);
    }
    klient->Posli({0, 3, 0, 2, 0x22}, p.Port);
    TPaket konec;
    ASSERT_TRUE(klient->Prijmi(konec, 1000));
    EXPECT_EQ(konec.Cislo, 2);
    Bajty ocekavane(512, 0x11);
    ocekavane.push_back(0x22);
    EXPECT_EQ(sim.Soubor("fw.hbn"), ocekavane);
}

TEST_F(simTftp, GarbageDatagramsLeaveTheServerServing)
{
    std::mt19937 nahoda(7316);
    sim.NastavSoubor("fw.hbn", Bajty(3000, 9));
    klient->Posli(TTftpKlient::Pozadavek(1, "fw.hbn", {}), sim.PortLan());
    TPaket prvni;
    ASSERT_TRUE(klient->Prijmi(prvni, 1000));
    for (int i = 0; i < 300; ++i) {
        Bajty b(nahoda() % 40);
        for (auto& x : b)
            x = static_cast<std::uint8_t>(nahoda() % 4 == 0 ? 0 : nahoda());
        if (b.size() >= 2 && i % 2 == 0) {
            b[0] = 0;
            b[1] = static_cast<std::uint8_t>(1 + nahoda() % 6);  // a real opcode with a broken body
        }
        klient->Posli(b, i % 3 == 0 ? prvni.Port : sim.PortLan());
    }
    TPaket p;
    while (klient->Prijmi(p, 100)) {
    }
    const TVysledekTftp v = klient->Cti("info.txt", {{"blksize", "1500"}});
    ASSERT_TRUE(v.Ok);
    EXPECT_EQ(v.Data, Text("VK-7316R v.1.00 (sn.23110042)"));
}

TEST_F(simTftp, EveryRequestIsCounted)
{
    klient->Cti("info.txt");
    klient->Cti("nope.bin");
    EXPECT_EQ(sim.PocetPozadavku(), 2u);
}

TEST_F(simTftp, NoAnswerFault)
{
    sim.NastavPoruchu(TPorucha::ZadnaOdpoved, true, 1);
    EXPECT_TRUE(klient->Cti("info.txt", {}, 200).Ticho);
    EXPECT_TRUE(klient->Cti("info.txt").Ok);
}

TEST_F(simTftp, ExceptionFaultAnswersErrorZero)
{
    sim.NastavPoruchu(TPorucha::VyjimkaOdpoved, true, 1);
    const TVysledekTftp v = klient->Cti("info.txt");
    EXPECT_FALSE(v.Ok);
    EXPECT_EQ(v.KodChyby, 0);
}

TEST_F(simTftp, RefusedWriteFaultStoresNothing)
{
    const Bajty pred = sim.Soubor("mbtcp.cfg");
    sim.NastavPoruchu(TPorucha::OdmitnutyZapis, true);
    const TVysledekTftp z = klient->Zapis("mbtcp.cfg", SKontrolou({1, 60}));
    EXPECT_EQ(z.KodChyby, 2);
    EXPECT_EQ(sim.Soubor("mbtcp.cfg"), pred);
    // Reads are not refused.
    EXPECT_TRUE(klient->Cti("mbtcp.cfg").Ok);
}

TEST_F(simTftp, DifferentValueFaultStoresAnotherValueWithAValidCheckByte)
{
    sim.NastavPoruchu(TPorucha::JinaUlozenaHodnota, true, 1);
    ASSERT_TRUE(klient->Zapis("mbtcp.cfg", SKontrolou({1, 60})).Ok);
    EXPECT_EQ(klient->Cti("mbtcp.cfg").Data, SKontrolou({2, 60}));
    ASSERT_TRUE(klient->Zapis("mbtcp.cfg", SKontrolou({1, 60})).Ok);
    EXPECT_EQ(klient->Cti("mbtcp.cfg").Data, SKontrolou({1, 60}));
}

// The module's datagram chosen is not sent (here DATA 1, its 2nd after the
// OACK); a client that does not send its ACK again still gets it, when the
// module's retransmission wait (1 s) has passed, and only once.
TEST_F(simTftp, DroppedDatagramFaultLosesTheChosenDatagramOfTheModuleUntilItGoesAgain)
{
    sim.NastavZtratu({false, 2});
    sim.NastavPoruchu(TPorucha::ZtracenyDatagram, true, 1);
    const auto start = std::chrono::steady_clock::now();
    const TVysledekTftp v = klient->Cti("info.txt", {{"blksize", "1500"}}, 300);
    EXPECT_FALSE(v.Ok);
    EXPECT_TRUE(v.Ticho);
    EXPECT_EQ(v.Volby.size(), 1u);  // the OACK came, the DATA did not
    EXPECT_EQ(v.PaketuDat, 0);
    TPaket p;
    ASSERT_TRUE(klient->Prijmi(p, 1500));
    EXPECT_GE(Ms(start), 950);
    EXPECT_EQ(p.Opcode, 3);
    EXPECT_EQ(p.Cislo, 1);
    EXPECT_EQ(p.Data, Text("VK-7316R v.1.00 (sn.23110042)"));
    const std::vector<vk::sim::TDatagramTftp> d = sim.DatagramyTftp();
    klient->Posli(TTftpKlient::Ack(1), p.Port);
    ASSERT_EQ(d.size(), 5u);  // RRQ, OACK, ACK 0, DATA 1 lost, DATA 1
    EXPECT_TRUE(d[3].Ztracen);
    EXPECT_EQ(d[3].Opcode, 3);
    EXPECT_FALSE(d[4].Ztracen);
    EXPECT_EQ(d[4].Opcode, 3);
    // The fault acted once.
    EXPECT_TRUE(klient->Cti("info.txt", {{"blksize", "1500"}}).Ok);
}

// The client's request is its 1st datagram: lost, it gets no answer, and
// the fault is used up on it.
TEST_F(simTftp, DroppedDatagramFaultCanLoseTheClientsRequest)
{
    sim.NastavZtratu({true, 1});
    sim.NastavPoruchu(TPorucha::ZtracenyDatagram, true, 1);
    EXPECT_TRUE(klient->Cti("info.txt", {}, 300).Ticho);
    EXPECT_TRUE(klient->Cti("info.txt").Ok);
    const std::vector<vk::sim::TDatagramTftp> d = sim.DatagramyTftp();
    ASSERT_FALSE(d.empty());
    EXPECT_TRUE(d[0].OdKlienta);
    EXPECT_EQ(d[0].Opcode, 1);
    EXPECT_TRUE(d[0].Ztracen);
    EXPECT_EQ(std::count_if(d.begin(), d.end(), [](const auto& x) { return x.Ztracen; }), 1);
}

// A client datagram in the middle (its 3rd: ACK 2 of a plain read) is
// ignored as if lost: the module sends DATA 2 again after its wait, and the
// ACK of that moves the read on.
TEST_F(simTftp, DroppedDatagramFaultIgnoresTheChosenDatagramOfTheClient)
{
    sim.NastavZtratu({true, 3});
    sim.NastavPoruchu(TPorucha::ZtracenyDatagram, true, 1);
    klient->Posli(TTftpKlient::Pozadavek(1, "log.bin", {}), sim.PortLan());
    TPaket p;
    ASSERT_TRUE(klient->Prijmi(p, 1000));
    klient->Posli(TTftpKlient::Ack(1), p.Port);
    ASSERT_TRUE(klient->Prijmi(p, 1000));
    ASSERT_EQ(p.Cislo, 2);
    klient->Posli(TTftpKlient::Ack(2), p.Port);
    const auto ztrata = std::chrono::steady_clock::now();
    ASSERT_TRUE(klient->Prijmi(p, 1500));
    EXPECT_EQ(p.Opcode, 3);
    EXPECT_EQ(p.Cislo, 2);  // again
    EXPECT_GE(Ms(ztrata), 900);
    klient->Posli(TTftpKlient::Ack(2), p.Port);
    ASSERT_TRUE(klient->Prijmi(p, 1000));
    EXPECT_EQ(p.Cislo, 3);
    const std::vector<vk::sim::TDatagramTftp> d = sim.DatagramyTftp();
    const auto ztracene = std::count_if(
        d.begin(), d.end(), [](const auto& x) { return x.Ztracen && x.OdKlienta && x.Opcode == 4 && x.Cislo == 2; });
    EXPECT_EQ(ztracene, 1);
}

// The Sorcerer's Apprentice on the module's side: a repeated ACK brings no
// second DATA.
TEST_F(simTftp, RepeatedAckBringsNoSecondData)
{
    klient->Posli(TTftpKlient::Pozadavek(1, "log.bin", {}), sim.PortLan());
    TPaket p;
    ASSERT_TRUE(klient->Prijmi(p, 1000));
    klient->Posli(TTftpKlient::Ack(1), p.Port);
    klient->Posli(TTftpKlient::Ack(1), p.Port);
    ASSERT_TRUE(klient->Prijmi(p, 1000));
    EXPECT_EQ(p.Cislo, 2);
    TPaket navic;
    EXPECT_FALSE(klient->Prijmi(navic, 300)) << "DATA " << navic.Cislo << " came twice";
    klient->Posli(TTftpKlient::Ack(2), p.Port);
    ASSERT_TRUE(klient->Prijmi(p, 1000));
    EXPECT_EQ(p.Cislo, 3);
}

// The module's last ACK of a write lost: the file is stored, and the client
// that sends its last block again gets the ACK again.
TEST_F(simTftp, LostLastAckOfAWriteIsSaidAgainForTheRepeatedLastBlock)
{
    sim.NastavZtratu({false, 0});
    sim.NastavPoruchu(TPorucha::ZtracenyDatagram, true, 1);
    const Bajty soubor = SKontrolou({3, 9});
    const TVysledekTftp z = klient->Zapis("mbtcp.cfg", soubor, true, 300);
    EXPECT_TRUE(z.Ticho);
    // The module took the file; only its answer was lost.
    EXPECT_EQ(sim.Soubor("mbtcp.cfg"), soubor);
    Bajty blok = {0, 3, 0, 1};
    blok.insert(blok.end(), soubor.begin(), soubor.end());
    klient->Posli(blok, z.PortPrenosu);
    TPaket p;
    ASSERT_TRUE(klient->Prijmi(p, 1000));
    EXPECT_EQ(p.Opcode, 4);
    EXPECT_EQ(p.Cislo, 1);
    EXPECT_EQ(sim.PocetZapisu("mbtcp.cfg"), 1u);
}

TEST_F(simTftp, UnsupportedOptionFaultAddsWindowsizeToTheOack)
{
    sim.NastavPoruchu(TPorucha::OACKNepodporovanaVolba, true);
    const TVysledekTftp v = klient->Cti("info.txt", {{"blksize", "1500"}, {"tsize", "0"}});
    EXPECT_EQ(v.Volby, (Volby{{"blksize", "1500"}, {"tsize", "29"}, {"windowsize", "4"}}));
}

TEST_F(simTftp, SlowWriteFaultHoldsBackEveryAckAndStoresTheWholeImage)
{
    // 100 blocks of 512 bytes; without the fault they cross loopback in a
    // few milliseconds.
    Bajty obraz(100 * 512 - 11);
    for (std::size_t i = 0; i < obraz.size(); ++i)
        obraz[i] = static_cast<std::uint8_t>(i * 7 + 3);
    sim.NastavPoruchu(TPorucha::PomalyZapis, true);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(klient->Zapis("fw.hbn", obraz, false).Ok);
    EXPECT_GE(Ms(start), 2 * 100);
    EXPECT_EQ(sim.Soubor("fw.hbn"), obraz);
}

TEST_F(simTftp, IdentityFaultsChangeInfoTxt)
{
    sim.NastavPoruchu(TPorucha::JinyTyp, true);
    EXPECT_EQ(klient->Cti("info.txt").Data, Text("VK-7317R v.1.00 (sn.23110042)"));
    sim.NastavPoruchu(TPorucha::JinaVerze, true);
    EXPECT_EQ(klient->Cti("info.txt").Data, Text("VK-7317R v.2.10 (sn.23110042)"));
    sim.NastavPoruchu(TPorucha::JinyTyp, false);
    sim.NastavPoruchu(TPorucha::JinaVerze, false);
    EXPECT_EQ(klient->Cti("info.txt").Data, Text("VK-7316R v.1.00 (sn.23110042)"));
}

}  // namespace

namespace {

// The transfer log: a line for each transfer as it ends, also for those
// that a client stopped or the module refused.
class simTftpZaznam : public ::testing::Test {
protected:
    void SetUp() override
    {
        vk::sim::TNastaveniSimulatoru n;
        n.SpustitSerial = false;
        n.Zaznam = [this](const std::string& radek) {
            const std::lock_guard<std::mutex> z(zamek);
            radky.push_back(radek);
        };
        std::string chyba;
        ASSERT_TRUE(sim.Spust(n, chyba)) << chyba;
        klient = std::make_unique<TTftpKlient>(sim.PortLan());
    }

    // The lines so far, once `pocet` of them have come (or 2 s went by).
    std::vector<std::string> Radky(std::size_t pocet)
    {
        const auto start = std::chrono::steady_clock::now();
        for (;;) {
            {
                const std::lock_guard<std::mutex> z(zamek);
                if (radky.size() >= pocet || Ms(start) > 2000)
                    return radky;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

    std::mutex zamek;
    std::vector<std::string> radky;
    vk::sim::TSimulator sim;
    std::unique_ptr<TTftpKlient> klient;
};

TEST_F(simTftpZaznam, UploadStoppedByTheClientHalfWay)
{
    klient->Posli(TTftpKlient::Pozadavek(2, "fw.hbn", {}), sim.PortLan());
    TPaket p;
    ASSERT_TRUE(klient->Prijmi(p, 1000));
    ASSERT_EQ(p.Opcode, 4);
    Bajty d = {0, 3, 0, 1};
    d.resize(4 + 512, 0x5A);
    klient->Posli(d, p.Port);
    ASSERT_TRUE(klient->Prijmi(p, 1000));
    ASSERT_EQ(p.Opcode, 4);
    klient->Posli({0, 5, 0, 0, 's', 't', 'o', 'p', 0}, p.Port);
    EXPECT_EQ(Radky(1), std::vector<std::string>{"TFTP write fw.hbn: 512 B stopped by the client"});
    EXPECT_TRUE(sim.Soubor("fw.hbn").empty());
}

TEST_F(simTftpZaznam, DamagedConfigurationIsLoggedAsRefused)
{
    EXPECT_FALSE(klient->Zapis("lan4.cfg", Bajty(16, 1)).Ok);
    const auto radky = Radky(1);
    ASSERT_EQ(radky.size(), 1u);
    EXPECT_EQ(radky[0].rfind("TFTP write lan4.cfg: 16 B failed: Refused: ", 0), 0u) << radky[0];
}

}  // namespace
