#pragma once
// Unit M_ModbusRTU: the serial Modbus RTU link to the module with its three
// private functions 0x43 (read part of a device file), 0x44 (write part of a
// device file) and 0x45 (forward an embedded request), and the upload of a
// whole local file in 240-byte blocks. Also the baud-rate and parity code
// tables used everywhere in the program.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "Prubeh.h"

namespace vk::link {

// Where the silence that ends a reply comes from (Puvod mezery = origin of
// the gap).
enum class TPuvodMezery {
    KodBaud,  // the baud-rate code's table
    Adapter,  // widened: the USB adapter holds received bytes back longer than the table's gap
    Rucne,    // given by hand (Rucne = by hand): the settings file or the command line
};

// Who switches an RS-485 transceiver between sending and receiving
// (Rizeni smeru = direction control). A USB adapter does it by itself; a
// built-in UART with a transceiver needs the kernel's RS-485 mode, which
// drives RTS around every frame it sends.
enum class TRizeniSmeru : std::int32_t {
    Vypnuto = 0,    // off: the mode is not asked for, the port stays as the system set it up
    RtsVysoke = 1,  // RTS high while sending, low after (vysoké = high)
    RtsNizke = 2,   // RTS low while sending, high after (nízké = low)
};

// The kernel's RS-485 mode as OtevriPort asks for it.
struct TRS485 {
    TRizeniSmeru Rizeni = TRizeniSmeru::Vypnuto;
    std::uint32_t PredVysilanimMs = 0;  // RTS switched this long before the first bit (delay before send)
    std::uint32_t PoVysilaniMs = 0;     // and back this long after the last one (delay after send)
};

// What OtevriPort takes beyond the line settings (Volby portu = port options).
struct TVolbyPortu {
    // > 0: the silence that ends a reply, given by hand; 0 lets the port
    // choose (UrciMezeru).
    std::int32_t MezeraMs = 0;
    TRS485 RS485;
    // Drop the request's echo ahead of a reply (Odstranit ozvenu = remove
    // the echo): two-wire adapters whose receiver stays on while they send
    // hand every request back.
    bool OdstranitOzvenu = true;
    // > 0: a port held by another program is tried again every 20 ms for
    // this long, ms, before the open fails (Cekani na port = waiting for the
    // port): modules on one bus served one after another.
    std::int32_t CekaniNaPortMs = 0;
};

// Settings of the open link.
struct TMBRTU_CFG {
    std::int32_t CisloCOM = 0;   // COM port number
    std::int32_t KodBaud = 0;    // baud-rate code
    std::int32_t KodParita = 0;  // parity code
    std::uint32_t Timeout = 0;   // longest wait for a whole reply, ms, from the end of the request
    std::uint8_t Adresa = 0;     // Modbus address: first byte of every request
    // Silence that ends a reply, ms, as OtevriPort chose it (Mezera = gap);
    // 0 = the baud-rate code's (MezeraMs).
    std::int32_t Mezera = 0;
    TPuvodMezery PuvodMezery = TPuvodMezery::KodBaud;
    // The adapter's latency timer as the system shows it, ms; 0 = not shown.
    std::int32_t LatenceAdapteru = 0;
    TRS485 RS485;                 // as asked for (a driver may shorten the delays)
    bool OdstranitOzvenu = true;  // see TVolbyPortu
};

// Outcome of the last link operation.
struct TMBRTU_ED {
    std::string StatusText;
    // Why the last exchange failed (Pricina = cause), beside a status text
    // that is the same for every failure: the port hung up or the system's
    // error text, no reply within the time-out, a CRC error, a reply of the
    // wrong length, the module's exception code, a refused block. Empty when
    // the last exchange succeeded.
    std::string Pricina;
    // Why the last OtevriPort failed when the device itself opened: the
    // driver refused the RS-485 mode with this errno (ENOTTY, EINVAL...);
    // 0 otherwise (Odmitnuti = refusal).
    int OdmitnutiRS485 = 0;
    // The last exchange found its request echoed ahead of the reply and
    // dropped it (Ozvena = echo).
    bool Ozvena = false;
};

// The open port: a file descriptor (never 0..2), 0 when no port is open.
// Copying the record copies the handle, not the port.
struct TMBRTU_ID {
    std::uintptr_t HNDL = 0;
    // The port hung up or failed (Odpojen = disconnected): a removed USB
    // adapter never comes back on the same descriptor, so every exchange
    // fails at once, without traffic, until ZavriPort.
    bool Odpojen = false;
};

struct TMBRTU {
    TMBRTU_CFG CFG;
    TMBRTU_ED ED;
    TMBRTU_ID ID;
};

constexpr std::size_t MaxRamecRTU = 260;  // frame limit before the CRC; reply buffer size

// Argument of PreposliZpravu (Zprava = message, Pozadavek = request,
// Odpoved = reply).
struct TMBRTU_Zprava {
    std::array<std::uint8_t, MaxRamecRTU> Pozadavek{};
    std::uint16_t DelkaPozadavku = 0;
    std::array<std::uint8_t, MaxRamecRTU> Odpoved{};
    std::uint16_t DelkaOdpovedi = 0;
};

// ---- code tables --------------------------------------------------------
// Baud rate of a code (0..8 = 600..115200 Bd; any other code 9600 Bd).
std::uint32_t RychlostBaud(std::int32_t kodBaud);
// Silence that ends a reply, by code (not by rate): ms.
std::int32_t MezeraMs(std::int32_t kodBaud);
enum class TParita { Zadna, Suda, Licha };  // none, even, odd
// Parity of a code (0 none, 1 even, 2 odd; any other code none).
TParita ParitaKodu(std::int32_t kodParita);

// Device path for COM port n: `zNastaveni` (the settings file's "Porty"
// entry) when not empty, else /dev/ttyUSB(n-1) if it exists, else
// /dev/ttyS(n-1).
std::string ZarizeniCOM(std::int32_t cisloCOM, const std::string& zNastaveni = {});

// ---- operations ---------------------------------------------------------
// Opens and configures the port: 0 = open, 1 = failed ("Chyba otevření COM"
// + number). `zarizeni` is the device path; empty = ZarizeniCOM(cisloCOM).
// volby.MezeraMs > 0 is the silence that ends a reply, given by hand; 0 lets
// the port choose: the baud code's gap, or longer behind a USB adapter whose
// latency timer would cut replies (CFG.Mezera, PuvodMezery,
// LatenceAdapteru tell which). A port that refuses the RS-485 mode asked
// for is closed again, never used half set up: ED.OdmitnutiRS485 says why.
std::int32_t OtevriPort(std::int32_t cisloCOM, std::int32_t kodBaud, std::int32_t kodParita, std::uint32_t timeoutMs,
                        TMBRTU& link, const std::string& zarizeni = {}, const TVolbyPortu& volby = {});
void ZavriPort(TMBRTU& link);

// Results of one exchange (Transakce = transaction), with the numbers the
// link has always given them.
enum TVysledekTransakce : std::int32_t {
    TransakceOdpoved = 0,         // reply with a correct CRC and a normal function byte
    TransakceNicNeodeslano = 1,   // no open port (or one that has hung up), length 0 or above 260, a refused write
    TransakceNeuplnaOdpoved = 2,  // request stuck in the port, time-out, fewer than 4 or 260+ bytes, the port failed
    TransakceChybaCrc = 3,
    TransakceVyjimka = 4,  // the module answered with an exception (function byte >= 0x80)
};

// Results of a block read (0x43) or write (0x44).
enum TVysledekBloku : std::int32_t {
    BlokPrenesen = 0,      // read or written (prenesen = transferred)
    BlokChybaSpojeni = 1,  // the exchange failed
    BlokChybnaDelka = 2,   // a reply of the wrong length
    BlokOdmitnut = 3,      // write: the module refused the block
};

// Results of a forwarded message (0x45).
enum TVysledekZpravy : std::int32_t {
    ZpravaPrijata = 0,       // the reply was received
    ZpravaBezLinky = 1,      // no link record
    ZpravaPortZavren = 2,    // the port is not open
    ZpravaChybaSpojeni = 3,  // the exchange failed
};

// One request/reply exchange. `odpoved` must hold MaxRamecRTU bytes. On a
// port that hangs up or fails meanwhile, ED.Pricina says why and
// ID.Odpojen is set. With CFG.OdstranitOzvenu the request's echo ahead of
// the reply is dropped (ED.Ozvena).
TVysledekTransakce Transakce(TMBRTU& link, const std::uint8_t* pozadavek, std::size_t delka,
                             std::uint16_t& delkaOdpovedi, std::uint8_t* odpoved);

// 0x43: BlokPrenesen, BlokChybaSpojeni or BlokChybnaDelka.
TVysledekBloku PrectiBlok(TMBRTU& link, std::uint8_t kodSouboru, std::uint16_t blok, std::uint8_t delka,
                          std::uint8_t* cil);
// 0x44: any of TVysledekBloku.
TVysledekBloku ZapisBlok(TMBRTU& link, std::uint8_t kodSouboru, std::uint16_t blok, std::uint8_t delka,
                         const std::uint8_t* data);
// 0x45.
TVysledekZpravy PreposliZpravu(TMBRTU* link, TMBRTU_Zprava& zprava);

// Uploads a local file in 240-byte blocks with 0x44 from block 0 (Nahraj =
// upload): 0 whole file written, otherwise the failing block's code, or 1.
// A file that cannot be opened gives 1 and a status text.
std::int32_t NahrajSoubor(TMBRTU& link, const std::string& soubor, std::uint8_t kodSouboru, const TPrubeh& prubeh = {});
// The same from `pocet` bytes in memory (Nahraj z pameti = upload from
// memory). Both send nothing for an empty source and give 0; with no port
// open both give 1 and leave the status text as it was.
std::int32_t NahrajZPameti(TMBRTU& link, std::uint8_t kodSouboru, const std::uint8_t* data, std::size_t pocet,
                           const TPrubeh& prubeh = {});

}  // namespace vk::link
