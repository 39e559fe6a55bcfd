// The request's echo in the reply wait (Ozvena = echo), on a virtual clock:
// an adapter whose receiver stays on while it sends hands the request back
// whole, in pieces or joined to the reply; without an echo the wait must be
// the one it has always been.
#include <gtest/gtest.h>

#include <array>
#include <ostream>

#include "RtuKanal.h"
#include "RtuVirtualChannel.h"

using namespace vk::link;
using namespace vk::test;
using namespace std::chrono_literals;

namespace {

// An identification request (0x45): its reply repeats the first seven bytes,
// so a reply always starts as if it were the echo.
const Bajty Pozadavek = {0x01, 0x45, 0x00, 0x08, 0x01, 0xC8, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
const Bajty Ozvena = SCrc(Pozadavek);
const Bajty Data = {0x01, 0x45, 0x00, 0x08, 0x01, 0xC8, 0x00, 0x04, 'V', 'K', '-', '7'};
const Bajty Odpoved = SCrc(Data);
constexpr std::uint32_t Timeout = 100;  // ms; the gap at baud code 8 is 4 ms

Bajty Cast(const Bajty& b, std::size_t od, std::size_t po)
{
    return Bajty(b.begin() + static_cast<std::ptrdiff_t>(od), b.begin() + static_cast<std::ptrdiff_t>(po));
}

Bajty Spoj(Bajty a, const Bajty& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct TPrichod {
    std::chrono::microseconds kdy;
    Bajty bajty;
};

struct TVymena {
    std::int32_t vysledek = -1;
    Bajty odpoved;
    bool ozvena = false;
    std::chrono::microseconds trvani{0};
    std::size_t zbyva = 0;  // bytes left in the port

    bool operator==(const TVymena&) const = default;
};

void PrintTo(const TVymena& v, std::ostream* os)
{
    *os << "result " << v.vysledek << ", " << v.odpoved.size() << " bytes, echo " << v.ozvena << ", "
        << v.trvani.count() << " us, " << v.zbyva << " left";
}

TVymena Vymen(const std::vector<TPrichod>& skript, bool odstranit)
{
    RtuVirtualChannel kanal;
    for (const TPrichod& p : skript)
        kanal.arrive(p.kdy, p.bajty);
    TMBRTU link;
    link.CFG.KodBaud = 8;
    link.CFG.Timeout = Timeout;
    link.CFG.OdstranitOzvenu = odstranit;
    link.ED.Ozvena = !odstranit;  // a value left from before must not survive
    std::array<std::uint8_t, MaxRamecRTU> buf{};
    std::uint16_t n = 0;
    TVymena v;
    v.vysledek = Transakce(link, kanal, Pozadavek.data(), Pozadavek.size(), n, buf.data());
    v.odpoved.assign(buf.begin(), buf.begin() + n);
    v.ozvena = link.ED.Ozvena;
    v.trvani = kanal.elapsed();
    v.zbyva = kanal.waitingBytes();
    return v;
}

struct TPripadOzveny {
    const char* nazev;
    std::vector<TPrichod> skript;
    std::int32_t bezOdstraneni;  // the result with echoes kept, as before
};

}  // namespace

// Catches an echo taken for the reply (whole, or ended by the gap after it),
// pieces of an echo not put together, the reply's bytes lost when they come
// in the same read as the echo's end, and a wait that ends at the gap after a
// dropped echo instead of waiting for the reply.
TEST(RtuOzvena, EchoIsDroppedWholeInPiecesOrJoinedToTheReply)
{
    const TPripadOzveny pripady[] = {
        {"echo, then the reply after more than the gap", {{1ms, Ozvena}, {20ms, Odpoved}}, 0},
        {"echo in three pieces",
         {{1ms, Cast(Ozvena, 0, 3)}, {2ms, Cast(Ozvena, 3, 10)}, {3ms, Cast(Ozvena, 10, 14)}, {9ms, Odpoved}},
         0},
        {"echo and reply in one read", {{1ms, Spoj(Ozvena, Odpoved)}}, 3},
        {"the echo's end and the reply in one read",
         {{1ms, Cast(Ozvena, 0, 9)}, {2ms, Spoj(Cast(Ozvena, 9, 14), Odpoved)}},
         3},
    };
    for (const TPripadOzveny& p : pripady) {
        SCOPED_TRACE(p.nazev);
        const TVymena v = Vymen(p.skript, true);
        EXPECT_EQ(v.vysledek, 0);
        EXPECT_EQ(v.odpoved, Data);
        EXPECT_TRUE(v.ozvena);
        EXPECT_EQ(v.zbyva, 0u);
        // Kept, the echo is a reply of its own (its CRC is sound) or spoils
        // the CRC of the frame it joins.
        const TVymena bez = Vymen(p.skript, false);
        EXPECT_EQ(bez.vysledek, p.bezOdstraneni);
        EXPECT_FALSE(bez.ozvena);
    }
}

// Every rule of the wait without an echo, compared with the wait that never
// looks for one. Catches bytes held back as a possible echo that miss the
// gap, the time-out or the 260-byte stop, a false start of an echo that is
// dropped or reordered, and a reply that starts like its request (all of
// them do) cut short.
TEST(RtuOzvena, WithoutAnEchoTheWaitIsAsWithoutRemoval)
{
    const Bajty falesna = SCrc(Spoj(Cast(Pozadavek, 0, 9), {0xAA, 0xBB}));
    const TPripadOzveny pripady[] = {
        {"a reply that starts like its request", {{2ms, Odpoved}}, 0},
        {"a reply cut by the gap inside the shared start",
         {{1ms, Cast(Odpoved, 0, 3)}, {5100us, Cast(Odpoved, 3, 14)}},
         2},
        {"nine bytes of the request, then others", {{1ms, Cast(falesna, 0, 9)}, {2ms, Cast(falesna, 9, 13)}}, 0},
        {"five bytes of the request, then silence", {{1ms, Cast(Ozvena, 0, 5)}}, 3},
        {"a reply after the time-out", {{99ms, Odpoved}}, 2},
        {"nothing", {}, 2},
        {"noise", {{1ms, Rada(2000)}}, 2},
    };
    for (const TPripadOzveny& p : pripady) {
        SCOPED_TRACE(p.nazev);
        const TVymena bez = Vymen(p.skript, false);
        EXPECT_EQ(bez.vysledek, p.bezOdstraneni);
        EXPECT_EQ(Vymen(p.skript, true), bez);
    }
    EXPECT_EQ(Vymen({{1ms, Cast(falesna, 0, 9)}, {2ms, Cast(falesna, 9, 13)}}, true).odpoved, Cast(falesna, 0, 11));
}

// An echo is a frame like any other: a silence longer than the gap inside it
// ends it, and what came is no whole echo. An echo with no reply behind it
// leaves the wait for the reply until the time-out. Catches a wait that
// holds a broken echo open past the gap, and one that ends at the gap after
// a dropped echo.
TEST(RtuOzvena, EchoCutByTheGapIsNoneAndAnUnansweredEchoWaitsForTheTimeout)
{
    const TVymena rozdelena = Vymen({{1ms, Cast(Ozvena, 0, 7)}, {5100us, Cast(Ozvena, 7, 14)}, {8ms, Odpoved}}, true);
    EXPECT_EQ(rozdelena.vysledek, 3);  // seven bytes whose last two are no CRC
    EXPECT_FALSE(rozdelena.ozvena);
    EXPECT_LE(rozdelena.trvani, 1ms + 4ms + 1ms);

    const TVymena bezOdpovedi = Vymen({{1ms, Ozvena}}, true);
    EXPECT_EQ(bezOdpovedi.vysledek, 2);
    EXPECT_TRUE(bezOdpovedi.ozvena);
    EXPECT_GT(bezOdpovedi.trvani, std::chrono::milliseconds(Timeout));
    EXPECT_LE(bezOdpovedi.trvani, std::chrono::milliseconds(Timeout + 1));
}
