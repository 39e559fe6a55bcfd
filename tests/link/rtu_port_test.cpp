// Opening and closing the serial port, on a real pseudo-terminal.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <filesystem>
#include <optional>

#include "M_ModbusRTU.h"
#include "PtyPair.h"
#include "SerialPort.h"
#include "SysfsLatence.h"

using namespace vk::link;
using vk::test::PtyPair;

namespace {

termios Nastaveni(const PtyPair& pty)
{
    termios t{};
    tcgetattr(pty.slave(), &t);
    return t;
}

}  // namespace

// Also catches an open that fails when the driver refuses the low-latency
// request: a pty refuses it, as a built-in UART may.
TEST(RtuPort, OpensRawWithoutFlowControl)
{
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    serial_struct serial{};
    ASSERT_NE(ioctl(pty.slave(), TIOCGSERIAL, &serial), 0) << "this pty takes the request, so it shows nothing";
    TMBRTU link;
    link.ED.StatusText = "x";
    ASSERT_EQ(OtevriPort(4, 8, 0, 500, link, pty.slavePath()), 0);
    EXPECT_EQ(link.ED.StatusText, "OK");
    EXPECT_EQ(link.CFG.CisloCOM, 4);
    EXPECT_EQ(link.CFG.KodBaud, 8);
    EXPECT_EQ(link.CFG.Timeout, 500u);
    EXPECT_EQ(link.CFG.Adresa, 1);
    const int fd = static_cast<int>(link.ID.HNDL);
    EXPECT_GE(fd, 3);
    EXPECT_TRUE(fcntl(fd, F_GETFL) & O_NONBLOCK);
    EXPECT_TRUE(fcntl(fd, F_GETFD) & FD_CLOEXEC);
    int exkluzivni = 0;
    ASSERT_EQ(ioctl(fd, TIOCGEXCL, &exkluzivni), 0);
    EXPECT_NE(exkluzivni, 0);

    const termios t = Nastaveni(pty);
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(t.c_cflag & (CSTOPB | PARENB | CRTSCTS), 0u);
    EXPECT_EQ(t.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF | INPCK | ICRNL | ISTRIP), 0u);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(t.c_oflag & OPOST, 0u);
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B115200));

    ZavriPort(link);
    EXPECT_EQ(link.ID.HNDL, 0u);
    EXPECT_EQ(fcntl(fd, F_GETFD), -1);  // really closed
    ZavriPort(link);                    // closing a closed record does nothing
}

TEST(RtuPort, BaudCodesReachTheDevice)
{
    struct Radek {
        std::int32_t kodBaud;
        speed_t rychlost;
    };
    const Radek tabulka[] = {{0, B600},   {1, B1200},  {2, B2400},   {3, B4800}, {4, B9600},  {5, B19200},
                             {6, B38400}, {7, B57600}, {8, B115200}, {9, B9600}, {-3, B9600}, {1000, B9600}};
    for (const auto& r : tabulka) {
        PtyPair pty;
        ASSERT_TRUE(pty.ok());
        TMBRTU link;
        ASSERT_EQ(OtevriPort(1, r.kodBaud, 0, 100, link, pty.slavePath()), 0);
        const termios t = Nastaveni(pty);
        EXPECT_EQ(cfgetospeed(&t), r.rychlost) << "baud code " << r.kodBaud;
        EXPECT_EQ(cfgetispeed(&t), r.rychlost) << "baud code " << r.kodBaud;
        ZavriPort(link);
    }
}

// A pseudo-terminal forces its own character format (it clears PARENB), so
// the parity settings are checked on the termios record the port applies.
TEST(RtuPort, ParityCodesSetButNeverCheckInput)
{
    struct Radek {
        std::int32_t kodParita;
        tcflag_t parita;
    };
    const Radek tabulka[] = {{0, 0}, {1, PARENB}, {2, PARENB | PARODD}, {3, 0}, {-1, 0}};
    for (const auto& r : tabulka) {
        termios t{};
        t.c_cflag = CSTOPB | PARENB | PARODD | CRTSCTS | CS5;  // a port left in another format
        t.c_iflag = INPCK | IXON | IXOFF | IXANY | PARMRK;
        SerialPort::configure(t, 19200, ParitaKodu(r.kodParita));
        EXPECT_EQ(t.c_cflag & (PARENB | PARODD), r.parita) << "parity code " << r.kodParita;
        EXPECT_EQ(t.c_cflag & (CSIZE | CSTOPB | CRTSCTS), static_cast<tcflag_t>(CS8));
        EXPECT_EQ(t.c_iflag & (INPCK | IXON | IXOFF | IXANY | PARMRK), 0u);
        EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B19200));
    }
}

// The kernel refuses some parity changes on a pseudo-terminal (even parity
// right after none): the simulator's port must open with every parity code,
// in any order, again and again.
TEST(RtuPort, PseudoTerminalOpensWithEveryParityInAnyOrder)
{
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    for (std::int32_t kodParita : {1, 0, 1, 2, 1, 0, 2, 0, 1}) {
        TMBRTU link;
        ASSERT_EQ(OtevriPort(1, 4, kodParita, 100, link, pty.slavePath()), 0) << "parity code " << kodParita;
        EXPECT_NE(link.ID.HNDL, 0u);
        ZavriPort(link);
    }
}

TEST(RtuPort, FailureLeavesTextAndNoHandle)
{
    TMBRTU link;
    link.CFG.Timeout = 77;
    link.ID.HNDL = 1234;
    EXPECT_EQ(OtevriPort(7, 8, 0, 500, link, "/dev/nonexistent-vk-port"), 1);
    EXPECT_EQ(link.ED.StatusText, "Chyba otevření COM7");
    EXPECT_EQ(link.ID.HNDL, 0u);
    EXPECT_EQ(link.CFG.Timeout, 77u);  // the settings stay as they were

    // A path from the settings file that is not a terminal is no port.
    EXPECT_EQ(OtevriPort(12, 8, 0, 500, link, "/dev/null"), 1);
    EXPECT_EQ(link.ED.StatusText, "Chyba otevření COM12");
    EXPECT_EQ(OtevriPort(0, 8, 0, 500, link), 1);
    EXPECT_EQ(link.ED.StatusText, "Chyba otevření COM0");
}

TEST(RtuPort, NeverOnAStandardStream)
{
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    // With standard input closed (or never open), the device would get 0.
    const int vstup = dup(0);
    if (vstup >= 0)
        close(0);
    TMBRTU link;
    const std::int32_t vysledek = OtevriPort(1, 8, 0, 100, link, pty.slavePath());
    if (vstup >= 0) {
        dup2(vstup, 0);
        close(vstup);
    }
    ASSERT_EQ(vysledek, 0);
    EXPECT_GE(link.ID.HNDL, 3u);
    ZavriPort(link);
}

// The reply clock starts once the request's last bit is out; a wrong count
// of bits per character or a wrong rate moves that start by whole
// milliseconds on a 249-byte request.
TEST(RtuPort, WireTimeCountsEveryBitOfEachCharacter)
{
    struct Radek {
        speed_t rychlost;
        tcflag_t priznaky;
        std::size_t bajtu;
        long long us;
    };
    const Radek radky[] = {
        {B9600, PARENB, 249, 285'312},  // 11 bits: start, 8 data, parity, stop
        {B9600, 0, 249, 259'375},       // 10 bits without parity
        {B9600, CSTOPB, 249, 285'312},  // two stop bits
        {B115200, PARENB, 9, 859},
        {B600, PARENB, 262, 4'803'333},  // the longest frame at the slowest rate
        {B300, 0, 10, 0},                // not a rate of the link
    };
    for (const Radek& r : radky) {
        termios t{};
        cfmakeraw(&t);
        t.c_cflag |= r.priznaky;
        cfsetospeed(&t, r.rychlost);
        EXPECT_EQ(SerialPort::CasNaDrate(t, r.bajtu).count(), r.us) << r.bajtu << " bytes, flags " << r.priznaky;
    }
}

// The silence that ends a reply, chosen at the open from the latency timer
// the system shows for the device (reached here through a by-id style
// symlink, as users name their adapters). Catches a widening that is
// missing, or applied where the timer is shorter than the table's gap,
// a timer looked up under the symlink's own name, a bad file taken as a
// timer, and a gap given by hand that does not win.
TEST(RtuPort, ReplyGapFollowsTheAdaptersLatencyTimer)
{
    struct Radek {
        std::optional<std::string> soubor;  // the latency_timer file's text; none = no such file
        std::int32_t kodBaud;
        std::int32_t rucne;  // gap given by hand
        std::int32_t mezera;
        TPuvodMezery puvod;
        std::int32_t latence;
    };
    const Radek radky[] = {
        {"16\n", 8, 0, 20, TPuvodMezery::Adapter, 16},  // 4 ms gap at 115200 Bd
        {"16\n", 4, 0, 20, TPuvodMezery::Adapter, 16},  // 10 ms gap at 9600 Bd
        {"19", 2, 0, 23, TPuvodMezery::Adapter, 19},    // as long as the gap cuts as well
        {"16", 2, 0, 19, TPuvodMezery::KodBaud, 16},    // shorter than the 19 ms gap at 2400 Bd
        {"1\n", 8, 0, 4, TPuvodMezery::KodBaud, 1},     // low latency granted
        {std::nullopt, 4, 0, 10, TPuvodMezery::KodBaud, 0},
        {"abc", 4, 0, 10, TPuvodMezery::KodBaud, 0},
        {"300", 8, 0, 4, TPuvodMezery::KodBaud, 0},  // more than the one-byte timer holds
        {"16", 8, 30, 30, TPuvodMezery::Rucne, 16},
        {std::nullopt, 4, 7, 7, TPuvodMezery::Rucne, 0},  // by hand, shorter than the table's
    };
    for (const Radek& r : radky) {
        SCOPED_TRACE(testing::Message() << "file " << r.soubor.value_or("(none)") << ", baud code " << r.kodBaud
                                        << ", by hand " << r.rucne);
        PtyPair pty;
        ASSERT_TRUE(pty.ok());
        const vk::test::TSysfsLatence sysfs;
        const std::filesystem::path odkaz =
            std::filesystem::temp_directory_path() / ("usb-Adapter_if00-port0-" + std::to_string(getpid()));
        std::filesystem::remove(odkaz);
        std::filesystem::create_symlink(pty.slavePath(), odkaz);
        if (r.soubor)
            sysfs.Ukaz(odkaz, *r.soubor);
        TMBRTU link;
        TVolbyPortu volby;
        volby.MezeraMs = r.rucne;
        const std::int32_t vysledek = OtevriPort(1, r.kodBaud, 0, 500, link, odkaz, volby);
        std::filesystem::remove(odkaz);
        ASSERT_EQ(vysledek, 0);
        EXPECT_EQ(link.CFG.Mezera, r.mezera);
        EXPECT_EQ(link.CFG.PuvodMezery, r.puvod);
        EXPECT_EQ(link.CFG.LatenceAdapteru, r.latence);
        ZavriPort(link);
    }
}
