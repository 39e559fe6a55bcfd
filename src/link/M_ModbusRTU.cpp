// The code tables, opening and closing the port, and the link operations
// over the serial port held in the link record.
#include "M_ModbusRTU.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <thread>

#include "RtuKanal.h"
#include "RtuTexty.h"
#include "SerialPort.h"
#include "Ukonceni.h"

namespace vk::link {

namespace {

struct TKodBaud {
    std::uint32_t baud;
    std::int32_t mezeraMs;  // silence that ends a reply at this code
};

// Index = baud-rate code. The gaps belong to the module's firmware, which
// ends its replies by them; they are not derived from the rate.
constexpr std::array<TKodBaud, 9> KodyBaud{{
    {600, 4},
    {1200, 4},
    {2400, 19},
    {4800, 13},
    {9600, 10},
    {19200, 7},
    {38400, 4},
    {57600, 4},
    {115200, 4},
}};
constexpr TKodBaud JinyKodBaud{9600, 4};

const TKodBaud& KodBaud(std::int32_t kod)
{
    if (kod < 0 || static_cast<std::size_t>(kod) >= KodyBaud.size())
        return JinyKodBaud;
    return KodyBaud[static_cast<std::size_t>(kod)];
}

// Added to an adapter's latency timer for the gap that ends a reply. The
// adapter's packet with the next burst still waits for a USB frame (1 ms)
// and for the driver to hand it on, and a loaded machine wakes the waiting
// thread a little late; 4 ms covers those, and is no more than the table's
// own shortest gap, so a reply is not held much longer than needed.
constexpr std::int32_t RezervaLatenceMs = 4;

// The gap for the port: given by hand, or the table's unless the adapter
// holds bytes back as long as the table's gap or longer.
void UrciMezeru(TMBRTU_CFG& cfg, std::int32_t rucne)
{
    const std::int32_t zTabulky = MezeraMs(cfg.KodBaud);
    if (rucne > 0) {
        cfg.Mezera = rucne;
        cfg.PuvodMezery = TPuvodMezery::Rucne;
    } else if (cfg.LatenceAdapteru >= zTabulky) {
        // The table's gap is the module's own, but behind such an adapter
        // every reply longer than one of its bursts would be cut after the
        // first burst: the silences between bursts are as long as the timer.
        cfg.Mezera = cfg.LatenceAdapteru + RezervaLatenceMs;
        cfg.PuvodMezery = TPuvodMezery::Adapter;
    } else {
        cfg.Mezera = zTabulky;
        cfg.PuvodMezery = TPuvodMezery::KodBaud;
    }
}

// Waiting for room in the driver's buffer. It takes a whole frame at once on
// any real port; the limit only guards against a device that never accepts
// bytes. Waiting for the frame to leave the port is the exchange's own step.
constexpr std::chrono::milliseconds LimitZapisu{2000};

// The link over the port whose descriptor the record holds.
class TKanalSeriovy final : public TKanalRTU {
public:
    explicit TKanalSeriovy(std::uintptr_t hndl) : port_(static_cast<int>(hndl)), otevreny_(hndl != 0) {}

    bool isOpen() const override { return otevreny_; }
    void write(const std::uint8_t* data, std::size_t pocet) override { port_.write(data, pocet, LimitZapisu); }
    bool waitDrained(std::chrono::microseconds cas) override { return port_.waitDrained(cas); }
    bool waitReadable(std::chrono::microseconds cas) override
    {
        const SerialPort::TProbuzeni probuzeni = port_.waitReadable(cas, sledujeUkonceni() ? PopisovacUkonceni() : -1);
        // Readable while nobody asks to end (a request meant for a job that
        // has already returned, say): watching it any longer would wake every
        // wait at once, so the waits go back to slices.
        if (probuzeni == SerialPort::TProbuzeni::Ukonceni && !PozadovanoUkonceni())
            popisovacPlatny_ = false;
        return probuzeni == SerialPort::TProbuzeni::Data;
    }
    bool sledujeUkonceni() const override { return popisovacPlatny_; }
    std::size_t readAvailable(std::uint8_t* buf, std::size_t kapacita) override
    {
        return port_.readAvailable(buf, kapacita);
    }
    Okamzik now() const override { return Ted(); }
    std::string selhaniPortu() const override { return port_.selhani(); }

private:
    SerialPort port_;
    bool otevreny_;
    bool popisovacPlatny_ = true;
};

}  // namespace

std::uint32_t RychlostBaud(std::int32_t kodBaud)
{
    return KodBaud(kodBaud).baud;
}

std::int32_t MezeraMs(std::int32_t kodBaud)
{
    return KodBaud(kodBaud).mezeraMs;
}

TParita ParitaKodu(std::int32_t kodParita)
{
    switch (kodParita) {
    case 1:
        return TParita::Suda;
    case 2:
        return TParita::Licha;
    default:
        return TParita::Zadna;
    }
}

std::string ZarizeniCOM(std::int32_t cisloCOM, const std::string& zNastaveni)
{
    if (!zNastaveni.empty())
        return zNastaveni;
    if (cisloCOM < 1)
        return {};
    const std::string cislo = std::to_string(cisloCOM - 1);
    const std::string usb = "/dev/ttyUSB" + cislo;
    std::error_code chyba;
    if (std::filesystem::exists(usb, chyba))
        return usb;
    return "/dev/ttyS" + cislo;
}

namespace {

// The open, repeated while another program holds the port and the wait
// allows; a stop request ends the wait like a refusal.
int OtevriVolny(const std::string& cesta, std::int32_t kodBaud, std::int32_t kodParita, const TVolbyPortu& volby,
                int& odmitnutiRS485)
{
    constexpr auto Platek = std::chrono::milliseconds(20);
    const auto konec = std::chrono::steady_clock::now() + std::chrono::milliseconds(volby.CekaniNaPortMs);
    for (;;) {
        const int fd =
            SerialPort::open(cesta, RychlostBaud(kodBaud), ParitaKodu(kodParita), volby.RS485, odmitnutiRS485);
        if (fd >= 0 || errno != EBUSY)
            return fd;
        const auto ted = std::chrono::steady_clock::now();
        if (ted >= konec || ZpracujZpravy()) {
            errno = EBUSY;
            return -1;
        }
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(Platek, konec - ted));
    }
}

}  // namespace

std::int32_t OtevriPort(std::int32_t cisloCOM, std::int32_t kodBaud, std::int32_t kodParita, std::uint32_t timeoutMs,
                        TMBRTU& link, const std::string& zarizeni, const TVolbyPortu& volby)
{
    const std::string cesta = zarizeni.empty() ? ZarizeniCOM(cisloCOM) : zarizeni;
    int odmitnutiRS485 = 0;
    const int fd = cesta.empty() ? -1 : OtevriVolny(cesta, kodBaud, kodParita, volby, odmitnutiRS485);
    link.ID.Odpojen = false;
    link.ED.OdmitnutiRS485 = odmitnutiRS485;
    link.ED.Ozvena = false;
    if (fd < 0) {
        link.ID.HNDL = 0;
        link.ED.StatusText = texty::ChybaOtevreniCOM + std::to_string(cisloCOM);
        return 1;
    }
    link.ID.HNDL = static_cast<std::uintptr_t>(fd);
    PozadujRozliseniCasovace();
    link.CFG.CisloCOM = cisloCOM;
    link.CFG.KodBaud = kodBaud;
    link.CFG.KodParita = kodParita;
    link.CFG.Timeout = timeoutMs;
    link.CFG.Adresa = 1;  // the caller puts the module's address here
    link.CFG.RS485 = volby.RS485;
    link.CFG.OdstranitOzvenu = volby.OdstranitOzvenu;
    // Read after the open, which has asked the driver to shorten the timer.
    link.CFG.LatenceAdapteru = SerialPort::LatenceAdapteru(cesta).value_or(0);
    UrciMezeru(link.CFG, volby.MezeraMs);
    link.ED.StatusText = texty::OK;
    link.ED.Pricina.clear();
    return 0;
}

void ZavriPort(TMBRTU& link)
{
    if (link.ID.HNDL != 0)
        SerialPort(static_cast<int>(link.ID.HNDL)).close();
    link.ID.HNDL = 0;
    link.ID.Odpojen = false;
    UvolniRozliseniCasovace();
}

TVysledekTransakce Transakce(TMBRTU& link, const std::uint8_t* pozadavek, std::size_t delka,
                             std::uint16_t& delkaOdpovedi, std::uint8_t* odpoved)
{
    TKanalSeriovy kanal(link.ID.HNDL);
    return Transakce(link, kanal, pozadavek, delka, delkaOdpovedi, odpoved);
}

TVysledekBloku PrectiBlok(TMBRTU& link, std::uint8_t kodSouboru, std::uint16_t blok, std::uint8_t delka,
                          std::uint8_t* cil)
{
    TKanalSeriovy kanal(link.ID.HNDL);
    return PrectiBlok(link, kanal, kodSouboru, blok, delka, cil);
}

TVysledekBloku ZapisBlok(TMBRTU& link, std::uint8_t kodSouboru, std::uint16_t blok, std::uint8_t delka,
                         const std::uint8_t* data)
{
    TKanalSeriovy kanal(link.ID.HNDL);
    return ZapisBlok(link, kanal, kodSouboru, blok, delka, data);
}

TVysledekZpravy PreposliZpravu(TMBRTU* link, TMBRTU_Zprava& zprava)
{
    TKanalSeriovy kanal(link != nullptr ? link->ID.HNDL : 0);
    return PreposliZpravu(link, kanal, zprava);
}

std::int32_t NahrajSoubor(TMBRTU& link, const std::string& soubor, std::uint8_t kodSouboru, const TPrubeh& prubeh)
{
    TKanalSeriovy kanal(link.ID.HNDL);
    return NahrajSoubor(link, kanal, soubor, kodSouboru, prubeh);
}

std::int32_t NahrajZPameti(TMBRTU& link, std::uint8_t kodSouboru, const std::uint8_t* data, std::size_t pocet,
                           const TPrubeh& prubeh)
{
    TKanalSeriovy kanal(link.ID.HNDL);
    return NahrajZPameti(link, kanal, kodSouboru, data, pocet, prubeh);
}

}  // namespace vk::link
