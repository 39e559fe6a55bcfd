// The kernel's RS-485 mode as the port asks for it when it opens: the exact
// request for each option, seen through the port's hand-over to the driver
// (no hardware needed), and a port that refuses it, on a real pty.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/serial.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

#include "M_ModbusRTU.h"
#include "PtyPair.h"
#include "SerialPort.h"

using namespace vk::link;
using vk::test::PtyPair;

namespace {

// Stands in for the driver while it lives: keeps every request, answers with
// `chyba` and leaves in the request what `uprav` makes of it (uprav = adjust).
class TOvladac {
public:
    explicit TOvladac(int chyba = 0, std::function<void(serial_rs485&)> uprav = {})
    {
        SerialPort::NastavPredaniRS485([this, chyba, uprav](int, serial_rs485& z) {
            zadosti.push_back(z);
            if (uprav)
                uprav(z);
            return chyba;
        });
    }
    ~TOvladac() { SerialPort::NastavPredaniRS485({}); }
    TOvladac(const TOvladac&) = delete;
    TOvladac& operator=(const TOvladac&) = delete;

    std::vector<serial_rs485> zadosti;
};

TVolbyPortu SRS485(TRizeniSmeru rizeni, std::uint32_t pred = 0, std::uint32_t po = 0)
{
    TVolbyPortu v;
    v.RS485 = {rizeni, pred, po};
    return v;
}

std::size_t OtevrenychPopisovacu()
{
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& f : std::filesystem::directory_iterator("/proc/self/fd"))
        ++n;
    return n;
}

bool Stejne(const serial_rs485& a, const serial_rs485& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

// Catches a level or delay put in the wrong field, the two RTS flags set
// together or left from another option, a request where none was asked for
// (that would undo a mode the system set up), and options not kept in CFG.
TEST(RtuRS485, EachOptionReachesTheDriverAsItsRequest)
{
    struct TPripad {
        TVolbyPortu volby;
        std::uint32_t priznaky;  // flags of the request; 0 = no request at all
    };
    const TPripad pripady[] = {
        {SRS485(TRizeniSmeru::Vypnuto, 5, 7), 0},
        {SRS485(TRizeniSmeru::RtsVysoke), SER_RS485_ENABLED | SER_RS485_RTS_ON_SEND},
        {SRS485(TRizeniSmeru::RtsVysoke, 5, 7), SER_RS485_ENABLED | SER_RS485_RTS_ON_SEND},
        {SRS485(TRizeniSmeru::RtsNizke, 100, 1), SER_RS485_ENABLED | SER_RS485_RTS_AFTER_SEND},
    };
    for (const TPripad& p : pripady) {
        SCOPED_TRACE(testing::Message() << "mode " << static_cast<int>(p.volby.RS485.Rizeni) << ", delays "
                                        << p.volby.RS485.PredVysilanimMs << "," << p.volby.RS485.PoVysilaniMs);
        PtyPair pty;
        ASSERT_TRUE(pty.ok());
        const TOvladac ovladac;
        TMBRTU link;
        ASSERT_EQ(OtevriPort(1, 8, 0, 100, link, pty.slavePath(), p.volby), 0);
        EXPECT_EQ(link.ED.OdmitnutiRS485, 0);
        EXPECT_EQ(link.CFG.RS485.Rizeni, p.volby.RS485.Rizeni);
        EXPECT_EQ(link.CFG.RS485.PredVysilanimMs, p.volby.RS485.PredVysilanimMs);
        EXPECT_EQ(link.CFG.RS485.PoVysilaniMs, p.volby.RS485.PoVysilaniMs);
        ZavriPort(link);
        if (p.priznaky == 0) {
            EXPECT_TRUE(ovladac.zadosti.empty());
            continue;
        }
        // The pty has no RS-485 settings to start from: every other byte is 0.
        serial_rs485 ocekavana{};
        ocekavana.flags = p.priznaky;
        ocekavana.delay_rts_before_send = p.volby.RS485.PredVysilanimMs;
        ocekavana.delay_rts_after_send = p.volby.RS485.PoVysilaniMs;
        ASSERT_EQ(ovladac.zadosti.size(), 1u);
        EXPECT_TRUE(Stejne(ovladac.zadosti[0], ocekavana)) << "flags " << ovladac.zadosti[0].flags;
    }
}

// A board's own RS-485 set-up (bus termination, receiving while sending)
// survives; the RTS level and delays it had are replaced. Catches a request
// built from zero, and an old RTS flag left beside the new one.
TEST(RtuRS485, FlagsTheLinkDoesNotDecideStayAsTheDriverHadThem)
{
    serial_rs485 puvodni{};
    puvodni.flags = SER_RS485_ENABLED | SER_RS485_RTS_ON_SEND | SER_RS485_TERMINATE_BUS | SER_RS485_RX_DURING_TX;
    puvodni.delay_rts_before_send = 50;
    puvodni.delay_rts_after_send = 60;
    const serial_rs485 z = SerialPort::ZadostRS485(puvodni, {TRizeniSmeru::RtsNizke, 0, 3});
    EXPECT_EQ(z.flags, SER_RS485_ENABLED | SER_RS485_RTS_AFTER_SEND | SER_RS485_TERMINATE_BUS | SER_RS485_RX_DURING_TX);
    EXPECT_EQ(z.delay_rts_before_send, 0u);
    EXPECT_EQ(z.delay_rts_after_send, 3u);
}

// A port that cannot switch the transceiver is not used half set up: the
// descriptor is closed, the reason kept, and no exchange reaches the line.
// The pty refuses through the real ioctl; a driver may also refuse with an
// error of its own, or take the request but turn the RTS level round.
// Catches a descriptor left open, a refusal that still opens the port, and
// a driver's changed answer taken as success.
TEST(RtuRS485, RefusedModeLeavesNoPortAndSendsNothing)
{
    struct TPripad {
        const char* nazev;
        int chyba;  // errno of the refusal
        std::function<std::unique_ptr<TOvladac>()> ovladac;
    };
    const TPripad pripady[] = {
        {"a pty (the real ioctl)", ENOTTY, [] { return std::unique_ptr<TOvladac>(); }},
        {"a driver refusing", EINVAL, [] { return std::make_unique<TOvladac>(EINVAL); }},
        {"a driver taking the other RTS level", EINVAL,
         [] {
             return std::make_unique<TOvladac>(
                 0, [](serial_rs485& z) { z.flags ^= SER_RS485_RTS_ON_SEND | SER_RS485_RTS_AFTER_SEND; });
         }},
    };
    for (const TPripad& p : pripady) {
        SCOPED_TRACE(p.nazev);
        PtyPair pty;
        ASSERT_TRUE(pty.ok());
        const auto ovladac = p.ovladac();
        const std::size_t popisovacu = OtevrenychPopisovacu();
        TMBRTU link;
        EXPECT_EQ(OtevriPort(4, 8, 0, 100, link, pty.slavePath(), SRS485(TRizeniSmeru::RtsVysoke, 1, 1)), 1);
        EXPECT_EQ(link.ED.StatusText, "Chyba otevření COM4");
        EXPECT_EQ(link.ED.OdmitnutiRS485, p.chyba) << std::strerror(link.ED.OdmitnutiRS485);
        EXPECT_EQ(link.ID.HNDL, 0u);
        EXPECT_EQ(OtevrenychPopisovacu(), popisovacu);

        const std::array<std::uint8_t, 2> pozadavek = {0x01, 0x43};
        std::array<std::uint8_t, MaxRamecRTU> odpoved{};
        std::uint16_t n = 0;
        EXPECT_EQ(Transakce(link, pozadavek.data(), pozadavek.size(), n, odpoved.data()), TransakceNicNeodeslano);
        std::array<std::uint8_t, 16> naLince{};
        EXPECT_EQ(::read(pty.master(), naLince.data(), naLince.size()), -1);
        EXPECT_EQ(errno, EAGAIN);
    }
}
