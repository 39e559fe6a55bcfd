// Exchanges over a real pseudo-terminal with a scripted module on the
// master side: what goes on the wire, how replies are cut, what each
// function makes of them.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <ctime>
#include <functional>
#include <thread>

#include "Budik.h"
#include "M_ModbusRTU.h"
#include "PtyPair.h"
#include "RtuPeer.h"
#include "Ukonceni.h"

using namespace vk::link;
using namespace vk::test;
using namespace std::chrono_literals;

namespace {

Bajty Spoj(Bajty a, const Bajty& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bajty ProhozenyCrc(Bajty ramec)
{
    std::swap(ramec[ramec.size() - 2], ramec[ramec.size() - 1]);
    return ramec;
}

class RtuPty : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(pty.ok());
        otevri(8, 1000);
    }
    void TearDown() override { ZavriPort(link); }

    void otevri(std::int32_t kodBaud, std::uint32_t timeout)
    {
        ZavriPort(link);
        ASSERT_EQ(OtevriPort(1, kodBaud, 0, timeout, link, pty.slavePath()), 0);
    }

    PtyPair pty;
    RtuPeer peer{pty.master()};
    TMBRTU link;
};

}  // namespace

TEST_F(RtuPty, ReadsTheExampleFrame)
{
    const Bajty data = Rada(31, 0x40);
    peer.answer(SCrc(Spoj(Hex("01 43 FE"), data)));
    Bajty cil(31);
    ASSERT_EQ(PrectiBlok(link, 0, 0, 31, cil.data()), 0);
    EXPECT_EQ(link.ED.StatusText, "OK");
    EXPECT_EQ(cil, data);
    ASSERT_EQ(peer.requests().size(), 1u);
    EXPECT_EQ(peer.requests()[0], Hex("01 43 FE 00 00 00 1F 6D 2F"));
}

TEST_F(RtuPty, RequestFrames)
{
    struct Pripad {
        const char* nazev;
        std::function<void(TMBRTU&)> volani;
        Bajty ramec;
    };
    const Pripad pripady[] = {
        {"read, other address, block high byte first",
         [](TMBRTU& l) {
             l.CFG.Adresa = 0x11;
             std::uint8_t cil[16];
             PrectiBlok(l, 20, 0x0102, 16, cil);
         },
         SCrc(Hex("11 43 FE 14 01 02 10"))},
        {"write",
         [](TMBRTU& l) {
             const std::uint8_t data[] = {0xAA, 0xBB, 0xCC};
             ZapisBlok(l, 5, 0x0304, 3, data);
         },
         SCrc(Hex("01 44 FE 05 03 04 03 AA BB CC"))},
        {"identification",
         [](TMBRTU& l) {
             TMBRTU_Zprava z;
             const Bajty vnoreny = Hex("01 C8 0A 00 00 00 00 00");
             std::copy(vnoreny.begin(), vnoreny.end(), z.Pozadavek.begin());
             z.DelkaPozadavku = 8;
             PreposliZpravu(&l, z);
         },
         SCrc(Hex("01 45 00 08 01 C8 0A 00 00 00 00 00"))},
        {"forward of 256 bytes: a full 260-byte frame",
         [](TMBRTU& l) {
             TMBRTU_Zprava z;
             const Bajty vnoreny = Rada(256);
             std::copy(vnoreny.begin(), vnoreny.end(), z.Pozadavek.begin());
             z.DelkaPozadavku = 256;
             PreposliZpravu(&l, z);
         },
         SCrc(Spoj(Hex("01 45 01 00"), Rada(256)))},
    };
    std::size_t n = 0;
    for (const auto& p : pripady) {
        peer.answer(SCrc(Hex("01 44 00")));  // any short reply ends the exchange at once
        link.CFG.Adresa = 1;
        p.volani(link);
        ASSERT_TRUE(peer.waitForRequests(++n, 2s)) << p.nazev;
        EXPECT_EQ(peer.requests()[n - 1], p.ramec) << p.nazev;
    }
}

TEST_F(RtuPty, WhatTheFunctionsMakeOfReplies)
{
    enum Funkce { Cti9, Zapis };
    struct Pripad {
        const char* nazev;
        Funkce funkce;
        Bajty odpoved;
        std::int32_t vysledek;
        const char* text;
    };
    const Pripad pripady[] = {
        {"read of 9 with 12 bytes", Cti9, SCrc(Spoj(Hex("01 43 FE"), Rada(9, 1))), 0, "OK"},
        {"read of 9 with 13 bytes", Cti9, SCrc(Spoj(Hex("01 43 FE"), Rada(10, 1))), 2, "Chyba spojení s modulem"},
        {"read of 9 with 11 bytes", Cti9, SCrc(Spoj(Hex("01 43 FE"), Rada(8, 1))), 2, "Chyba spojení s modulem"},
        {"read exception", Cti9, SCrc(Hex("01 C3 02")), 1, "Chyba spojení s modulem"},
        {"read with swapped CRC", Cti9, ProhozenyCrc(SCrc(Spoj(Hex("01 43 FE"), Rada(9, 1)))), 1,
         "Chyba spojení s modulem"},
        {"write accepted", Zapis, SCrc(Hex("01 44 00")), 0, "OK"},
        {"write refused", Zapis, SCrc(Hex("01 44 01")), 3, "Chyba zápisu dat"},
        {"write answered with 4 bytes", Zapis, SCrc(Hex("01 44 00 00")), 2, "Chyba spojení s modulem"},
        {"write exception", Zapis, SCrc(Hex("01 C4 04")), 1, "Chyba spojení s modulem"},
    };
    for (const auto& p : pripady) {
        peer.answer(p.odpoved);
        link.ED.StatusText.clear();
        Bajty cil(9, 0xEE);
        const Bajty data = Rada(4);
        const std::int32_t vysledek =
            p.funkce == Cti9 ? PrectiBlok(link, 1, 0, 9, cil.data()) : ZapisBlok(link, 1, 0, 4, data.data());
        EXPECT_EQ(vysledek, p.vysledek) << p.nazev;
        EXPECT_EQ(link.ED.StatusText, p.text) << p.nazev;
        if (p.funkce == Cti9) {
            EXPECT_EQ(cil, vysledek == 0 ? Rada(9, 1) : Bajty(9, 0xEE)) << p.nazev;
        }
    }
}

TEST_F(RtuPty, SwappedCrcIsTheOnlyFault)
{
    const Bajty odpoved = SCrc(Hex("01 43 FE 0A 0B"));
    peer.answer(ProhozenyCrc(odpoved));
    const Bajty pozadavek = Hex("01 43 FE 00 00 00 02");
    std::uint8_t prijato[MaxRamecRTU];
    std::uint16_t delka = 99;
    EXPECT_EQ(Transakce(link, pozadavek.data(), pozadavek.size(), delka, prijato), 3);
    peer.answer(odpoved);
    EXPECT_EQ(Transakce(link, pozadavek.data(), pozadavek.size(), delka, prijato), 0);
    EXPECT_EQ(delka, 5);
}

TEST_F(RtuPty, ReplyInTwoPiecesWithinTheGapIsOne)
{
    otevri(2, 1000);  // 19 ms gap; the pieces are 2 ms apart
    peer.answer({SCrc(Spoj(Hex("01 43 FE"), Rada(9, 1))), 5, 2ms});
    Bajty cil(9);
    EXPECT_EQ(PrectiBlok(link, 1, 0, 9, cil.data()), 0);
    EXPECT_EQ(cil, Rada(9, 1));
}

TEST_F(RtuPty, PauseLongerThanTheGapEndsTheReply)
{
    // Two stray bytes, then, after a long pause, a whole reply: the first
    // exchange ends with the strays; the reply stays in the port and is
    // taken by the next exchange, which no write discards.
    const Bajty odpoved = SCrc(Spoj(Hex("01 43 FE"), Rada(9, 1)));
    peer.answer({Spoj(Hex("01 43"), odpoved), 2, 250ms});
    Bajty cil(9, 0xEE);
    EXPECT_EQ(PrectiBlok(link, 1, 0, 9, cil.data()), 1);
    EXPECT_EQ(cil, Bajty(9, 0xEE));
    ASSERT_TRUE(peer.waitAnswered(3s));
    EXPECT_EQ(PrectiBlok(link, 1, 0, 9, cil.data()), 0);
    EXPECT_EQ(cil, Rada(9, 1));
    EXPECT_EQ(peer.requests().size(), 2u);
}

TEST_F(RtuPty, NoAnswerTimesOutAfterTimeout)
{
    otevri(8, 300);
    Bajty cil(9);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(PrectiBlok(link, 1, 0, 9, cil.data()), 1);
    const auto trvani = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(link.ED.StatusText, "Chyba spojení s modulem");
    EXPECT_GE(trvani, 300ms);
    EXPECT_LT(trvani, 1000ms);
}

// A request to end, made 50 ms into a 3 s wait for a silent module, ends the
// exchange long before its time-out: asked for by the question alone, which
// the wait looks at between short slices, and with a descriptor, which the
// wait sleeps on instead.
TEST_F(RtuPty, RequestToEndCutsALongWaitShort)
{
    otevri(8, 3000);
    for (const bool sBudikem : {false, true}) {
        SCOPED_TRACE(sBudikem ? "question with its descriptor" : "question alone");
        std::atomic<bool> ukoncit{false};
        const TBudik budik;
        NastavUkonceni([&] { return ukoncit.load(); }, sBudikem ? budik.Popisovac() : -1);
        std::thread zadost([&] {
            std::this_thread::sleep_for(50ms);
            ukoncit = true;
            budik.Zazvon();
        });
        Bajty cil(9);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(PrectiBlok(link, 1, 0, 9, cil.data()), 1);
        const auto trvani = std::chrono::steady_clock::now() - start;
        zadost.join();
        NastavUkonceni({});
        EXPECT_LT(trvani, 1000ms);
    }
}

// A descriptor left readable while the question says no (a request meant
// for a job that has already returned) must not wake the wait over and over:
// the exchange runs to its time-out at the cost of a sliced wait, not of a
// busy loop.
TEST_F(RtuPty, StaleAlarmDoesNotSpin)
{
    otevri(8, 300);
    const TBudik budik;
    budik.Zazvon();
    NastavUkonceni([] { return false; }, budik.Popisovac());
    const auto cpuMs = [] {
        timespec ts{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
        return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
    };
    Bajty cil(9);
    const double cpu0 = cpuMs();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(PrectiBlok(link, 1, 0, 9, cil.data()), 1);
    const auto trvani = std::chrono::steady_clock::now() - start;
    const double cpu = cpuMs() - cpu0;
    NastavUkonceni({});
    EXPECT_GE(trvani, 300ms);
    EXPECT_LT(cpu, 50.0);  // a sliced wait takes about 1 ms, a spin most of the 300 ms
}

TEST_F(RtuPty, RefusedRequestsSendNothing)
{
    const Bajty dlouhy = Rada(261);
    std::uint8_t prijato[MaxRamecRTU];
    std::uint16_t delka = 0;
    EXPECT_EQ(Transakce(link, dlouhy.data(), 261, delka, prijato), 1);
    EXPECT_EQ(Transakce(link, dlouhy.data(), 0, delka, prijato), 1);
    const Bajty data = Rada(254);
    link.ED.StatusText.clear();
    EXPECT_EQ(ZapisBlok(link, 1, 0, 254, data.data()), 1);  // 7 + 254 bytes do not fit a frame
    EXPECT_EQ(link.ED.StatusText, "Chyba spojení s modulem");
    TMBRTU_Zprava z;
    z.DelkaPozadavku = 300;  // beyond Pozadavek itself
    EXPECT_EQ(PreposliZpravu(&link, z), 3);
    EXPECT_FALSE(peer.waitForRequests(1, 200ms));
}

TEST_F(RtuPty, ClosedOrMissingLink)
{
    TMBRTU zavreny = link;
    zavreny.ID.HNDL = 0;
    zavreny.ED.StatusText = "predtim";
    const Bajty pozadavek = Hex("01 43 FE 00 00 00 02");
    std::uint8_t prijato[MaxRamecRTU];
    std::uint16_t delka = 0;
    EXPECT_EQ(Transakce(zavreny, pozadavek.data(), pozadavek.size(), delka, prijato), 1);
    TMBRTU_Zprava z;
    z.DelkaPozadavku = 8;
    z.DelkaOdpovedi = 5;
    EXPECT_EQ(PreposliZpravu(nullptr, z), 1);
    EXPECT_EQ(z.DelkaOdpovedi, 0);
    EXPECT_EQ(PreposliZpravu(&zavreny, z), 2);
    EXPECT_EQ(zavreny.ED.StatusText, "predtim");
    EXPECT_EQ(PrectiBlok(zavreny, 1, 0, 2, prijato), 1);
    EXPECT_EQ(zavreny.ED.StatusText, "Chyba spojení s modulem");
    EXPECT_FALSE(peer.waitForRequests(1, 100ms));
}

TEST_F(RtuPty, ForwardedReplies)
{
    TMBRTU_Zprava z;
    z.DelkaPozadavku = 8;
    peer.answer(SCrc(Hex("01 45 00 08 01 C8 00 00 56 4B 2D 37")));
    ASSERT_EQ(PreposliZpravu(&link, z), 0);
    EXPECT_EQ(link.ED.StatusText, "OK");
    ASSERT_EQ(z.DelkaOdpovedi, 8);
    EXPECT_EQ(Bajty(z.Odpoved.begin() + 4, z.Odpoved.begin() + 8), Hex("56 4B 2D 37"));  // "VK-7"

    peer.answer(SCrc(Hex("01 45")));  // shorter than the 4-byte header it should repeat
    EXPECT_EQ(PreposliZpravu(&link, z), 0);
    EXPECT_EQ(z.DelkaOdpovedi, 0);

    peer.answer(SCrc(Hex("01 C5 01")));
    EXPECT_EQ(PreposliZpravu(&link, z), 3);
    EXPECT_EQ(link.ED.StatusText, "Chyba spojení s modulem");
}

namespace {

double CpuProcesuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

}  // namespace

// A pty whose master closes 50 ms into a 2 s wait stands for a USB adapter
// pulled out mid-session. Catches a wait that takes the hang-up for data
// and spins out its whole time-out (2 s of CPU), in the sliced wait and in
// the one that sleeps on a request-to-end descriptor (the tool's).
TEST(RtuZaveseni, HangUpEndsTheWaitAtOnceWithoutSpinning)
{
    for (const bool sBudikem : {false, true}) {
        SCOPED_TRACE(sBudikem ? "with a request-to-end descriptor" : "sliced wait");
        PtyPair pty;
        ASSERT_TRUE(pty.ok());
        TMBRTU link;
        ASSERT_EQ(OtevriPort(1, 8, 0, 2000, link, pty.slavePath()), 0);
        const TBudik budik;
        NastavUkonceni([] { return false; }, sBudikem ? budik.Popisovac() : -1);
        std::thread odpojeni([&] {
            std::this_thread::sleep_for(50ms);
            pty.closeMaster();
        });
        Bajty cil(9);
        const double cpu0 = CpuProcesuMs();
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(PrectiBlok(link, 1, 0, 9, cil.data()), 1);
        const auto trvani = std::chrono::steady_clock::now() - start;
        const double cpu = CpuProcesuMs() - cpu0;
        odpojeni.join();
        NastavUkonceni({});
        EXPECT_LT(trvani, 200ms);
        EXPECT_LT(cpu, 100.0);
        EXPECT_EQ(link.ED.StatusText, "Chyba spojení s modulem");
        EXPECT_EQ(link.ED.Pricina, "port hung up");
        EXPECT_TRUE(link.ID.Odpojen);
        ZavriPort(link);
    }
}

// After the hang-up: catches an operation that waits out its time-out on
// the dead port again (each poll of a diagnostics window would), and a
// record that stays failed after close and a fresh open (the adapter back,
// as a new device).
TEST(RtuZaveseni, LaterOperationsFailAtOnceUntilReopened)
{
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    TMBRTU link;
    ASSERT_EQ(OtevriPort(1, 8, 0, 2000, link, pty.slavePath()), 0);
    // Pulled out while idle: the next request cannot even be written.
    pty.closeMaster();
    Bajty cil(9);
    for (int i = 0; i < 3; ++i) {
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(PrectiBlok(link, 1, 0, 9, cil.data()), 1);
        TMBRTU_Zprava z;
        z.DelkaPozadavku = 8;
        EXPECT_EQ(PreposliZpravu(&link, z), 3);
        EXPECT_LT(std::chrono::steady_clock::now() - start, 100ms);
        EXPECT_EQ(link.ED.StatusText, "Chyba spojení s modulem");
        EXPECT_EQ(link.ED.Pricina, "Input/output error");
    }

    ZavriPort(link);
    PtyPair znovu;
    ASSERT_TRUE(znovu.ok());
    RtuPeer peer{znovu.master()};
    peer.answer(SCrc(Spoj(Hex("01 43 FE"), Rada(9, 1))));
    ASSERT_EQ(OtevriPort(1, 8, 0, 2000, link, znovu.slavePath()), 0);
    EXPECT_FALSE(link.ID.Odpojen);
    EXPECT_EQ(link.ED.Pricina, "");
    ASSERT_EQ(PrectiBlok(link, 1, 0, 9, cil.data()), 0);
    EXPECT_EQ(cil, Rada(9, 1));
    ZavriPort(link);
}
