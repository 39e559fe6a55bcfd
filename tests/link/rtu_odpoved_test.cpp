// How the reply wait cuts and judges a reply (Odpoved = reply), on a
// virtual clock: every length, the gap of every baud-rate code, the
// time-out, the slices of the wait and noise beyond the buffer.
#include <gtest/gtest.h>

#include <array>

#include "RtuKanal.h"
#include "RtuVirtualChannel.h"
#include "Ukonceni.h"

using namespace vk::link;
using namespace vk::test;
using namespace std::chrono_literals;

namespace {

constexpr std::size_t Ochrana = 40;  // bytes past the 260-byte reply buffer that must stay untouched

struct Vymena {
    std::int32_t vysledek;
    std::uint16_t delka;
    std::array<std::uint8_t, MaxRamecRTU + Ochrana> odpoved;
};

Vymena Vymen(RtuVirtualChannel& kanal, std::int32_t kodBaud = 8, std::uint32_t timeout = 1000)
{
    TMBRTU link;
    link.CFG.KodBaud = kodBaud;
    link.CFG.Timeout = timeout;
    const Bajty pozadavek = {0x01, 0x43, 0xFE, 0x00, 0x00, 0x00, 0x02};
    Vymena v{};
    v.odpoved.fill(0xEE);
    v.vysledek = Transakce(link, kanal, pozadavek.data(), pozadavek.size(), v.delka, v.odpoved.data());
    return v;
}

bool OchranaNetknuta(const Vymena& v)
{
    for (std::size_t i = MaxRamecRTU; i < v.odpoved.size(); ++i)
        if (v.odpoved[i] != 0xEE)
            return false;
    return true;
}

// A reply of `delka` bytes in all, CRC included where there is room for one.
Bajty Odpoved(std::size_t delka, std::uint8_t funkce, bool dobryCrc)
{
    if (delka < 4)
        return Rada(delka, 1);
    Bajty b = Rada(delka - 2, 1);
    b[1] = funkce;
    b = SCrc(b);
    if (!dobryCrc)
        b.back() ^= 0x01;
    return b;
}

}  // namespace

TEST(RtuOdpoved, EveryLengthFrom0To300)
{
    for (std::size_t delka = 0; delka <= 300; ++delka) {
        struct Varianta {
            std::uint8_t funkce;
            bool dobryCrc;
            std::int32_t vysledek;  // for a length of 4 to 259
        };
        for (const Varianta& var : {Varianta{0x43, true, 0}, Varianta{0x43, false, 3}, Varianta{0xC3, true, 4}}) {
            RtuVirtualChannel kanal;
            const Bajty odpoved = Odpoved(delka, var.funkce, var.dobryCrc);
            kanal.arrive(2ms, odpoved);
            const Vymena v = Vymen(kanal);
            const bool celistva = delka >= 4 && delka < MaxRamecRTU;
            SCOPED_TRACE(testing::Message() << "length " << delka << " function " << int(var.funkce)
                                            << (var.dobryCrc ? " good CRC" : " bad CRC"));
            EXPECT_EQ(v.vysledek, celistva ? var.vysledek : 2);
            EXPECT_TRUE(OchranaNetknuta(v));
            EXPECT_EQ(kanal.written.size(), 1u);
            if (v.vysledek == 0 || v.vysledek == 4) {
                EXPECT_EQ(v.delka, delka - 2);
                EXPECT_TRUE(std::equal(odpoved.begin(), odpoved.end(), v.odpoved.begin()));
            } else {
                EXPECT_EQ(v.delka, 0);
            }
        }
    }
}

TEST(RtuOdpoved, GapOfEveryBaudCode)
{
    // Keyed by the code, not the rate: code 9 runs at 9600 Bd like code 4
    // but ends replies after 4 ms, not 10.
    const std::pair<std::int32_t, int> kody[] = {{0, 4}, {1, 4}, {2, 19}, {3, 13}, {4, 10}, {5, 7},
                                                 {6, 4}, {7, 4}, {8, 4},  {9, 4},  {-1, 4}, {1000, 4}};
    const Bajty odpoved = Odpoved(7, 0x43, true);
    const Bajty zacatek(odpoved.begin(), odpoved.begin() + 3), zbytek(odpoved.begin() + 3, odpoved.end());
    for (const auto& [kod, mezeraMs] : kody) {
        SCOPED_TRACE(testing::Message() << "baud code " << kod);
        const std::chrono::microseconds mezera = std::chrono::milliseconds(mezeraMs);

        RtuVirtualChannel spojena;  // a silence of exactly the gap does not end a reply
        spojena.arrive(1ms, zacatek);
        spojena.arrive(1ms + mezera, zbytek);
        EXPECT_EQ(Vymen(spojena, kod).vysledek, 0);
        // ... and its end is seen within 1 ms after the gap
        EXPECT_GT(spojena.elapsed(), 1ms + 2 * mezera);
        EXPECT_LE(spojena.elapsed(), 1ms + 2 * mezera + 1ms);

        RtuVirtualChannel rozdelena;
        rozdelena.arrive(1ms, zacatek);
        rozdelena.arrive(1ms + mezera + 100us, zbytek);
        EXPECT_EQ(Vymen(rozdelena, kod).vysledek, 2);  // 3 bytes only
        EXPECT_EQ(rozdelena.waitingBytes(), zbytek.size());
    }
}

TEST(RtuOdpoved, TimeoutCountsFromTheWriteAndCoversTheGap)
{
    const Bajty odpoved = Odpoved(7, 0x43, true);
    RtuVirtualChannel vcas;
    vcas.arrive(40ms, odpoved);
    EXPECT_EQ(Vymen(vcas, 8, 50).vysledek, 0);

    // All bytes are in by 48 ms, but the 4 ms gap that proves the end runs
    // past the 50 ms time-out: no complete reply in time.
    RtuVirtualChannel pozde;
    pozde.arrive(48ms, odpoved);
    EXPECT_EQ(Vymen(pozde, 8, 50).vysledek, 2);

    // A thread woken late sees the gap and the time-out pass at once: the
    // reply is late all the same.
    RtuVirtualChannel probuzenPozde;
    probuzenPozde.oversleep = 5ms;
    probuzenPozde.arrive(48ms, odpoved);
    EXPECT_EQ(Vymen(probuzenPozde, 8, 50).vysledek, 2);
}

TEST(RtuOdpoved, SilentModuleWaitsInShortSlicesAndPumps)
{
    std::size_t pumpovani = 0;
    NastavPumpuZprav([&] { ++pumpovani; });
    RtuVirtualChannel kanal;
    const Vymena v = Vymen(kanal, 8, 330);
    NastavPumpuZprav({});
    EXPECT_EQ(v.vysledek, 2);
    EXPECT_GT(kanal.elapsed(), 330ms);
    EXPECT_LE(kanal.elapsed(), 331ms);
    // Slices short enough for a request to end to be seen within 20 ms, and
    // no more of them than that needs: a silent module costs no CPU.
    EXPECT_LE(kanal.longestWait, 20ms);
    EXPECT_GE(kanal.waits, 17u);
    EXPECT_LE(kanal.waits, 18u);
    EXPECT_EQ(pumpovani, kanal.waits);  // the cancellation point between every two slices
}

// A transfer asked to end stops waiting at the next slice, and the next
// request is not sent at all: a module must not get a write that nobody
// waits for.
TEST(RtuOdpoved, AskedToEndTheWaitStopsAndNoRequestFollows)
{
    bool ukoncit = false;
    NastavPumpuZprav([&] { ukoncit = true; });
    NastavUkonceni([&] { return ukoncit; });
    RtuVirtualChannel kanal;
    const Vymena v = Vymen(kanal, 8, 330);
    EXPECT_EQ(v.vysledek, 2);
    EXPECT_LT(kanal.elapsed(), 10ms);
    EXPECT_EQ(kanal.written.size(), 1u);

    // Likewise while the request is still leaving a port that does not drain.
    ukoncit = false;
    RtuVirtualChannel zaseknuty;
    zaseknuty.neverDrains = true;
    EXPECT_EQ(Vymen(zaseknuty, 8, 330).vysledek, 2);
    EXPECT_LT(zaseknuty.elapsed(), 10ms);

    const Vymena dalsi = Vymen(kanal, 8, 330);
    NastavPumpuZprav({});
    NastavUkonceni({});
    EXPECT_EQ(dalsi.vysledek, 1);
    EXPECT_EQ(kanal.written.size(), 1u);
}

TEST(RtuOdpoved, NoiseBeyondTheBufferIsCountedNotStored)
{
    RtuVirtualChannel naraz;  // a burst: one pass takes 1061 bytes and the wait stops
    naraz.arrive(1ms, Rada(2000));
    const Vymena v = Vymen(naraz);
    EXPECT_EQ(v.vysledek, 2);
    EXPECT_EQ(naraz.largestRead, 1061u);
    EXPECT_EQ(naraz.waitingBytes(), 2000u - 1061u);
    EXPECT_TRUE(OchranaNetknuta(v));
    EXPECT_TRUE(std::equal(v.odpoved.begin(), v.odpoved.begin() + MaxRamecRTU, Rada(MaxRamecRTU).begin()));

    RtuVirtualChannel postupne;  // a steady stream: the wait stops at the 260th byte
    for (int i = 0; i < 30; ++i)
        postupne.arrive(std::chrono::milliseconds(1 + i), Rada(10));
    EXPECT_EQ(Vymen(postupne).vysledek, 2);
    EXPECT_EQ(postupne.waitingBytes(), 40u);
}

TEST(RtuOdpoved, LongestWriteFitsTheFrame)
{
    RtuVirtualChannel kanal;
    kanal.responder = [](const Bajty&) { return SCrc({0x01, 0x44, 0x00}); };
    TMBRTU link;
    link.CFG.Timeout = 100;
    const Bajty data = Rada(253);
    EXPECT_EQ(ZapisBlok(link, kanal, 7, 0, 253, data.data()), 0);
    ASSERT_EQ(kanal.written.size(), 1u);
    EXPECT_EQ(kanal.written[0].size(), 262u);
}

// A 240-byte block is 249 bytes on the wire, 285 ms at 9600 Bd with parity:
// the module counts its time-out from the end of the request, and so must
// the link, or most of the 330 ms is spent before the module has it.
TEST(RtuOdpoved, TimeoutCountsFromTheRequestsEndOnTheWire)
{
    const Bajty data = Rada(240);
    const auto zapisBloku = [&](RtuVirtualChannel& kanal) {
        TMBRTU link;
        link.CFG.KodBaud = 4;
        link.CFG.Timeout = 330;
        return ZapisBlok(link, kanal, 46, 0, 240, data.data());
    };

    RtuVirtualChannel odpovida;
    odpovida.drainTime = 285ms;
    odpovida.arrive(285ms + 300ms, SCrc({0x01, 0x44, 0x00}));
    EXPECT_EQ(zapisBloku(odpovida), 0);

    std::size_t pumpovani = 0;
    NastavPumpuZprav([&] { ++pumpovani; });
    RtuVirtualChannel mlci;
    mlci.drainTime = 285ms;
    EXPECT_EQ(zapisBloku(mlci), 1);
    NastavPumpuZprav({});
    EXPECT_GT(mlci.elapsed(), 285ms + 330ms);
    EXPECT_LE(mlci.elapsed(), 285ms + 331ms);
    // The drain is waited for in short slices, with the cancellation point
    // between them, like the reply.
    EXPECT_LE(mlci.longestWait, 20ms);
    EXPECT_GE(pumpovani, mlci.waits + 280);
}

TEST(RtuOdpoved, RequestThatNeverLeavesThePortFailsInBoundedTime)
{
    struct Pripad {
        const char* nazev;
        std::int32_t kodBaud;
        std::uint8_t delka;  // data bytes of a write: the frame is 9 bytes longer
        bool odchazi;
        std::chrono::microseconds odchod;   // when the request has left, if it does
        std::chrono::microseconds nejvyse;  // longest the whole exchange may take
    };
    const Pripad pripady[] = {
        {"stuck short frame at 115200 Bd", 8, 2, false, 0ms, 1s},
        {"stuck full frame at 600 Bd", 0, 253, false, 0ms, 10s},
        // 262 bytes take 4.8 s at 600 Bd with parity: slow is not stuck.
        {"full frame draining at 600 Bd", 0, 253, true, 4803ms, 4803ms + 100ms},
    };
    const Bajty data = Rada(253);
    const Bajty prijato = SCrc({0x01, 0x44, 0x00});
    for (const Pripad& p : pripady) {
        SCOPED_TRACE(p.nazev);
        RtuVirtualChannel kanal;
        kanal.neverDrains = !p.odchazi;
        kanal.drainTime = p.odchod;
        kanal.arrive(p.odchod + 20ms, prijato);
        TMBRTU link;
        link.CFG.KodBaud = p.kodBaud;
        link.CFG.Timeout = 330;
        EXPECT_EQ(ZapisBlok(link, kanal, 46, 0, p.delka, data.data()), p.odchazi ? 0 : 1);
        EXPECT_LE(kanal.elapsed(), p.nejvyse);
        // A stuck request is not followed by a wait for its reply.
        EXPECT_EQ(kanal.waits == 0, !p.odchazi);
    }
}
