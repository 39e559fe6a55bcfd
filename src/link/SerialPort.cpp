#include "SerialPort.h"

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <linux/serial.h>
#include <mutex>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <system_error>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace vk::link {

namespace {

struct TRychlost {
    std::uint32_t baud;
    speed_t kod;  // termios speed constant
};

constexpr std::array<TRychlost, 9> Rychlosti{{
    {600, B600},
    {1200, B1200},
    {2400, B2400},
    {4800, B4800},
    {9600, B9600},
    {19200, B19200},
    {38400, B38400},
    {57600, B57600},
    {115200, B115200},
}};

speed_t KodRychlosti(std::uint32_t baud)
{
    for (const auto& r : Rychlosti)
        if (r.baud == baud)
            return r.kod;
    return B9600;
}

std::uint32_t RychlostKodu(speed_t kod)
{
    for (const auto& r : Rychlosti)
        if (r.kod == kod)
            return r.baud;
    return 0;
}

// A process started with a standard stream closed gets the device on
// descriptor 0..2; the link treats 0 as "no port" and a stray print would
// land on the wire, so the port moves above them.
int NadStandardniProudy(int fd)
{
    if (fd > 2)
        return fd;
    const int novy = ::fcntl(fd, F_DUPFD_CLOEXEC, 3);
    ::close(fd);
    return novy;
}

// Unix98 pseudo-terminal slaves have the majors 136 to 143.
bool JePseudoterminal(int fd)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode))
        return false;
    const unsigned hlavni = major(st.st_rdev);
    return hlavni >= 136 && hlavni <= 143;
}

// TIOCOUTQ counts what the driver still holds for sending, but not what a
// USB adapter has already taken into its own transmit buffer: an FTDI chip
// holds 256 bytes, a whole request, and the count falls to 0 long before the
// last byte is on the wire. The wire time of the request (casNaDrate) covers
// that part. A pseudo-terminal hands its bytes to the other side at once and
// always reports 0. A driver that cannot tell counts as empty.
bool VystupPrazdny(int fd)
{
    int zbyva = 0;
    return ::ioctl(fd, TIOCOUTQ, &zbyva) != 0 || zbyva <= 0;
}

// An adapter passes received bytes on only when its buffer fills or its
// latency timer runs out, which cuts a reply into bursts; asked for low
// latency, the drivers that have such a timer set it to 1 ms. A pty or a
// built-in UART refuses or ignores the request, which is harmless.
void PozadujNizkouLatenci(int fd)
{
    serial_struct serial{};
    if (::ioctl(fd, TIOCGSERIAL, &serial) != 0 || (serial.flags & ASYNC_LOW_LATENCY) != 0)
        return;
    serial.flags |= ASYNC_LOW_LATENCY;
    ::ioctl(fd, TIOCSSERIAL, &serial);
}

// The timer is one byte on the chips that have it; a larger value in that
// file is not a latency timer.
constexpr long NejdelsiLatenceMs = 255;

std::mutex zamekKorene;
std::filesystem::path korenSysfs = "/sys";

std::filesystem::path KorenSysfs()
{
    const std::lock_guard<std::mutex> z(zamekKorene);
    return korenSysfs;
}

std::mutex zamekPredani;
SerialPort::TPredaniRS485 predaniRS485;

int PredejRS485(int fd, serial_rs485& zadost)
{
    SerialPort::TPredaniRS485 predani;
    {
        const std::lock_guard<std::mutex> z(zamekPredani);
        predani = predaniRS485;
    }
    if (predani)
        return predani(fd, zadost);
    return ::ioctl(fd, TIOCSRS485, &zadost) == 0 ? 0 : errno;
}

constexpr std::uint32_t PriznakyRizeni = SER_RS485_ENABLED | SER_RS485_RTS_ON_SEND | SER_RS485_RTS_AFTER_SEND;

// The driver's RS-485 mode, when asked for: 0 or the errno of the refusal.
// A driver takes the request back with what it made of it; one that turned
// the mode off or chose the other RTS level would leave the transceiver
// sending over the module's reply, so that counts as a refusal too. Delays
// it shortened (serial drivers keep them to 100 ms) are taken as they are.
int NastavRS485(int fd, const TRS485& rs485)
{
    if (rs485.Rizeni == TRizeniSmeru::Vypnuto)
        return 0;
    serial_rs485 puvodni{};
    if (::ioctl(fd, TIOCGRS485, &puvodni) != 0)
        puvodni = serial_rs485{};
    const serial_rs485 zadost = SerialPort::ZadostRS485(puvodni, rs485);
    serial_rs485 prijata = zadost;
    const int chyba = PredejRS485(fd, prijata);
    if (chyba != 0)
        return chyba;
    return (prijata.flags & PriznakyRizeni) == (zadost.flags & PriznakyRizeni) ? 0 : EINVAL;
}

constexpr short UdalostiSelhani = POLLHUP | POLLERR | POLLNVAL;

const char* TextZaveseni = "port hung up";

// The cause of a failure that poll reported (udalosti = events).
std::string TextUdalosti(short udalosti)
{
    if (udalosti & POLLHUP)
        return TextZaveseni;
    if (udalosti & POLLNVAL)
        return "port closed";
    return "port error";
}

std::string TextChyby(int cislo)
{
    return std::error_code(cislo, std::generic_category()).message();
}

}  // namespace

void SerialPort::configure(termios& t, std::uint32_t baud, TParita parita)
{
    ::cfmakeraw(&t);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | CSTOPB | PARENB | PARODD | CRTSCTS);
    t.c_cflag |= CS8 | CLOCAL | CREAD;
    if (parita == TParita::Suda)
        t.c_cflag |= PARENB;
    else if (parita == TParita::Licha)
        t.c_cflag |= PARENB | PARODD;
    // Parity is generated on the way out but not checked on the way in: a
    // damaged reply shows up as a wrong CRC instead.
    t.c_iflag &= ~static_cast<tcflag_t>(INPCK | IGNPAR | PARMRK | IXON | IXOFF | IXANY);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    const speed_t kod = KodRychlosti(baud);
    ::cfsetispeed(&t, kod);
    ::cfsetospeed(&t, kod);
}

serial_rs485 SerialPort::ZadostRS485(const serial_rs485& puvodni, const TRS485& rs485)
{
    serial_rs485 z = puvodni;
    z.flags &= ~PriznakyRizeni;
    if (rs485.Rizeni != TRizeniSmeru::Vypnuto)
        z.flags |= SER_RS485_ENABLED;
    if (rs485.Rizeni == TRizeniSmeru::RtsVysoke)
        z.flags |= SER_RS485_RTS_ON_SEND;
    else if (rs485.Rizeni == TRizeniSmeru::RtsNizke)
        z.flags |= SER_RS485_RTS_AFTER_SEND;
    z.delay_rts_before_send = rs485.PredVysilanimMs;
    z.delay_rts_after_send = rs485.PoVysilaniMs;
    return z;
}

void SerialPort::NastavPredaniRS485(TPredaniRS485 predani)
{
    const std::lock_guard<std::mutex> z(zamekPredani);
    predaniRS485 = std::move(predani);
}

int SerialPort::open(const std::string& zarizeni, std::uint32_t baud, TParita parita, const TRS485& rs485,
                     int& odmitnutiRS485)
{
    odmitnutiRS485 = 0;
    int fd = ::open(zarizeni.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return -1;
    fd = NadStandardniProudy(fd);
    if (fd < 0)
        return -1;
    // Further opens by other programs fail with EBUSY while we hold it.
    ::ioctl(fd, TIOCEXCL);
    // The exclusive mark does not stop root; the lock does, for every
    // program that asks for it, so two of our own never share a bus.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int chyba = errno == EWOULDBLOCK ? EBUSY : errno;
        ::close(fd);
        errno = chyba;
        return -1;
    }
    termios t{};
    const bool terminal = ::tcgetattr(fd, &t) == 0;
    if (terminal)
        configure(t, baud, parita);
    bool nastaveno = terminal && ::tcsetattr(fd, TCSANOW, &t) == 0;
    // A pseudo-terminal (the module simulator, a serial-over-network bridge)
    // carries no parity bit and the kernel refuses some parity changes on it
    // with EINVAL; the bytes go through all the same, so it is opened without.
    if (terminal && !nastaveno && parita != TParita::Zadna && JePseudoterminal(fd)) {
        configure(t, baud, TParita::Zadna);
        nastaveno = ::tcsetattr(fd, TCSANOW, &t) == 0;
    }
    if (!nastaveno) {
        ::close(fd);
        return -1;
    }
    // DTR and RTS stay inactive; a pseudo-terminal has no modem lines and
    // refuses this, which is harmless.
    int linky = TIOCM_DTR | TIOCM_RTS;
    ::ioctl(fd, TIOCMBIC, &linky);
    // After the modem lines: the mode puts RTS at its level for receiving.
    // A port that cannot switch the transceiver would talk over the
    // module's replies, so it is not kept half set up.
    odmitnutiRS485 = NastavRS485(fd, rs485);
    if (odmitnutiRS485 != 0) {
        ::close(fd);
        return -1;
    }
    PozadujNizkouLatenci(fd);
    // Bytes left over from an earlier user of the device belong to nobody.
    ::tcflush(fd, TCIOFLUSH);
    return fd;
}

std::optional<std::int32_t> SerialPort::LatenceAdapteru(const std::string& zarizeni)
{
    std::error_code chyba;
    const std::filesystem::path skutecna = std::filesystem::canonical(zarizeni, chyba);
    if (chyba || !skutecna.has_filename())
        return std::nullopt;
    std::ifstream soubor(KorenSysfs() / "class" / "tty" / skutecna.filename() / "device" / "latency_timer");
    long ms = -1;
    if (!(soubor >> ms) || ms < 0 || ms > NejdelsiLatenceMs)
        return std::nullopt;
    return static_cast<std::int32_t>(ms);
}

void SerialPort::NastavKorenSysfs(const std::filesystem::path& koren)
{
    const std::lock_guard<std::mutex> z(zamekKorene);
    korenSysfs = koren.empty() ? std::filesystem::path("/sys") : koren;
}

bool SerialPort::write(const std::uint8_t* data, std::size_t pocet, std::chrono::milliseconds limit)
{
    const auto zacatek = std::chrono::steady_clock::now();
    // The line is idle when a request is written (the master speaks only
    // after the last reply), so its last byte leaves no earlier than this.
    naDrateDo_ = zacatek + casNaDrate(pocet);
    const auto konec = zacatek + limit;
    std::size_t odeslano = 0;
    while (odeslano < pocet) {
        const ssize_t n = ::write(fd_, data + odeslano, pocet - odeslano);
        if (n > 0) {
            odeslano += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            selhani_ = TextChyby(errno);
            return false;
        }
        const auto zbyva = std::chrono::ceil<std::chrono::milliseconds>(konec - std::chrono::steady_clock::now());
        if (zbyva.count() <= 0)
            return false;
        pollfd p{fd_, POLLOUT, 0};
        ::poll(&p, 1, static_cast<int>(zbyva.count()));
    }
    return true;
}

std::chrono::microseconds SerialPort::CasNaDrate(const termios& t, std::size_t bajtu)
{
    const std::uint32_t baud = RychlostKodu(::cfgetospeed(&t));
    if (baud == 0)
        return std::chrono::microseconds(0);
    // Start bit, data bits, the parity bit if any, one or two stop bits.
    const std::uint64_t bituZnaku = 1 + 8 + ((t.c_cflag & PARENB) ? 1 : 0) + ((t.c_cflag & CSTOPB) ? 2 : 1);
    return std::chrono::microseconds(1'000'000ull * bituZnaku * bajtu / baud);
}

std::chrono::microseconds SerialPort::casNaDrate(std::size_t bajtu) const
{
    termios t{};
    if (JePseudoterminal(fd_) || ::tcgetattr(fd_, &t) != 0)
        return std::chrono::microseconds(0);
    return CasNaDrate(t, bajtu);
}

bool SerialPort::waitDrained(std::chrono::microseconds cas)
{
    const auto odeslano = [this] { return VystupPrazdny(fd_) && std::chrono::steady_clock::now() >= naDrateDo_; };
    if (odeslano())
        return true;
    if (cas.count() > 0)
        std::this_thread::sleep_for(cas);
    return odeslano();
}

std::size_t SerialPort::readAvailable(std::uint8_t* buf, std::size_t kapacita)
{
    std::size_t prijato = 0;
    while (prijato < kapacita) {
        const ssize_t n = ::read(fd_, buf + prijato, kapacita - prijato);
        if (n > 0) {
            prijato += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            selhani_ = TextChyby(errno);
        // With VMIN and VTIME 0 a live port answers an empty read with 0, so
        // a 0 means a hang-up only where poll has just promised a byte.
        if (n == 0 && prijato == 0 && ohlasenaData_)
            selhani_ = TextZaveseni;
        break;
    }
    if (udalostiSData_ != 0 && selhani_.empty())
        selhani_ = TextUdalosti(udalostiSData_);
    ohlasenaData_ = false;
    udalostiSData_ = 0;
    return prijato;
}

SerialPort::TProbuzeni SerialPort::waitReadable(std::chrono::microseconds cas, int ukonceni)
{
    if (cas.count() < 0)
        cas = std::chrono::microseconds(0);
    const auto s = std::chrono::duration_cast<std::chrono::seconds>(cas);
    const timespec ts{static_cast<time_t>(s.count()),
                      static_cast<long>(std::chrono::duration_cast<std::chrono::nanoseconds>(cas - s).count())};
    pollfd p[2] = {{fd_, POLLIN, 0}, {ukonceni, POLLIN, 0}};
    const nfds_t pocet = ukonceni >= 0 ? 2 : 1;
    const int n = ::ppoll(p, pocet, &ts, nullptr);
    ohlasenaData_ = false;
    udalostiSData_ = 0;
    if (n <= 0)
        return TProbuzeni::Cas;
    // A removed USB adapter, or a pty whose other side has closed, reports
    // the hang-up at once and forever, on a hung-up terminal together with
    // POLLIN; what it still holds is taken first, then the wait is over.
    const short udalosti = p[0].revents;
    if (udalosti & POLLIN) {
        ohlasenaData_ = true;
        udalostiSData_ = static_cast<short>(udalosti & UdalostiSelhani);
        return TProbuzeni::Data;
    }
    if (udalosti & UdalostiSelhani) {
        selhani_ = TextUdalosti(udalosti);
        return TProbuzeni::Selhani;
    }
    if (p[1].revents != 0)
        return TProbuzeni::Ukonceni;
    return TProbuzeni::Cas;
}

void SerialPort::close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

}  // namespace vk::link
