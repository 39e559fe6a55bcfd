#pragma once
// A simulated VK-7316R module (Simulator = simulator): a TFTP server and a
// Modbus RTU slave on a pseudo-terminal, both serving one set of device files
// kept as raw bytes. Used in-process by the tests and by the executable
// vk7316r-sim. It shares no encoder or decoder with the client: it builds
// and checks the bytes of the device files itself, as a module would.
//
// What a client sees:
// - LAN: TFTP (octet; options blksize up to 1500, tsize, timeout), every
//   transfer answered from a fresh socket with its own port; a DATA, ACK or
//   OACK left unanswered goes again every OpakovaniTftpMs (or the granted
//   timeout) until the client has been silent for 3 s (3 x timeout), a
//   repeated ACK is never answered with a second DATA, and a write's last
//   ACK is said again for a repeated last block for as long; files by name
//   (info.txt, rtc.bin, sys.bin, ctrl.bin, mmrd.bin, mmrgv.bin, lan4.cfg,
//   mbtcp.cfg, uartm.cfg, uarts.cfg, sprava.cfg, log.cfg, log.clr, boot.cmd,
//   fw.akt, fw.hbn, log.bin, logh.bin, log100.bin); an unknown name gets
//   ERROR 1, a read of a write-only file or a write of a read-only one ERROR 2.
// - Serial: the slave at `Adresa`, frames ended by silence, answered only
//   when the client's port is set to the module's rate and parity; 0x43 read
//   (reply: address, 0x43, data length, the data, CRC), 0x44 write (reply:
//   address, 0x44, result byte: 0 stored, 1 refused), 0x45 forward of the
//   identification request (embedded reply: address, 0xC8, object number, 4,
//   then four characters, so the characters stand at bytes 4 to 7 of the
//   embedded reply). Frames for another address or with a wrong CRC get no
//   answer. An unknown function, file code or identification object gets an
//   exception reply (function | 0x80, code 1, 2 or 3).
// - Writes of the configuration files and of ctrl.bin are taken only with
//   their exact length and a check byte that makes the 8-bit sum 0 (refused
//   otherwise, as the module refuses a damaged file). ctrl.bin restart
//   restarts the module (uptime from 0; with boot.cmd "prog" and an uploaded
//   fw.hbn holding a valid header the image's first 64 bytes become the
//   running firmware header); ctrl.bin clear-diagnostics zeroes the line
//   counters; a log.clr write empties the event log.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vk::sim {

// How the serial replies reach the client (Davky = bursts). A USB adapter
// passes received bytes on only when its buffer holds a packet's worth or
// its latency timer runs out, so a long reply comes in bursts with
// silences between them: `Bajtu` bytes, then `PauzaMs` of silence, and so
// on. Bajtu 0 = every reply at once.
struct TDavky {
    std::uint32_t Bajtu = 0;
    std::uint32_t PauzaMs = 0;
};

// Start settings of the simulator (Nastaveni = settings).
struct TNastaveniSimulatoru {
    std::string Lan = "127.0.0.1:0";  // TFTP server address "host:port", "[v6]:port"; port 0 = ephemeral
    bool SpustitLan = true;           // run the TFTP server (Spustit = start)
    std::string Pty;                  // path of a symlink to the pty slave side; empty = none
    bool SpustitSerial = true;        // run the Modbus RTU slave
    std::string SlozkaStavu;          // state folder (Slozka = folder); empty = fresh temporary one, removed at stop
    std::uint8_t Adresa = 247;        // Modbus address of the module
    std::int32_t KodBaud = 4;         // baud-rate code: silence that ends a request, delay before the reply
    std::int32_t KodParita = 1;       // parity code: 0 none, 1 even, 2 odd (a pty shows only odd apart)
    TDavky Davky;                     // serial replies in bursts, as through a USB adapter
    // Every serial request written back to the line just ahead of the reply
    // (or alone, when the module does not answer), as a two-wire adapter
    // whose receiver stays on while it sends hands it to its master (Ozvena = echo).
    bool Ozvena = false;
    // A TFTP packet that waits for the client's answer goes again after this
    // many ms without one (tftpd-hpa's default), unless the client asked for
    // a timeout of its own (Opakovani = retransmission).
    std::int32_t OpakovaniTftpMs = 1000;
    // One line for every TFTP transfer as it ends ("TFTP write lan4.cfg: 16 B
    // stored"), called from the server's thread; empty = none (Zaznam = record).
    std::function<void(const std::string&)> Zaznam;
};

// Injected faults (Porucha = fault).
enum class TPorucha {
    ZadnaOdpoved,            // no answer at all (serial frame or TFTP request ignored)
    SpatneCRC,               // serial reply with a wrong CRC
    VyjimkaOdpoved,          // serial exception reply (code 4); TFTP request answered with ERROR 0
    OdmitnutyZapis,          // write refused: serial result byte 1, TFTP ERROR 2; nothing stored
    JinaUlozenaHodnota,      // write acknowledged, but the stored file differs (one byte + 1, check byte kept valid)
    ZtracenyDatagram,        // TFTP: one datagram of a transfer is lost, the one NastavZtratu chooses
    OACKNepodporovanaVolba,  // TFTP: the OACK also carries "windowsize" "4", which the client did not ask for
    JinyTyp,                 // the module identifies itself as type "VK-7317R"
    JinaVerze,               // the module identifies itself with version "2.10"
    PomalaData,              // TFTP: every DATA of a read goes out 2 ms late, so a transfer can be caught midway
    PomalyZapis,             // TFTP: every ACK of a write goes out 2 ms late, so an upload can be caught midway
};

constexpr int PocetPoruch = 11;  // number of fault kinds (Pocet = count)

// Which datagram of a transfer ZtracenyDatagram loses (Ztrata = loss).
struct TZtrata {
    // false: one the module sends is not sent; true: one the client sends is
    // ignored, as if lost on the way.
    bool OdKlienta = false;
    // Its place among the transfer's datagrams that way, from 1; the module's
    // retransmissions count, the client's request is its 1st. 0 = the last:
    // a read's last DATA or the client's ACK of it, a write's last DATA or
    // the module's ACK of it.
    std::uint32_t Poradi = 1;
};

// One TFTP datagram as it crossed the module's side of the wire, for tests
// that count what went over: a request, or a datagram of a transfer
// (strangers' are left out).
struct TDatagramTftp {
    bool OdKlienta = false;  // the client sent it (else the module)
    std::uint16_t Opcode = 0;
    std::uint16_t Cislo = 0;  // block number of DATA and ACK, code of ERROR, else 0
    bool Ztracen = false;     // lost by ZtracenyDatagram: not sent, or ignored
};

// The fault's name as the command line takes it (the enumerator's name).
const char* NazevPoruchy(TPorucha porucha);
// Finds a fault by name, case-insensitively; false for an unknown name.
bool NajdiPoruchu(const std::string& nazev, TPorucha& porucha);

class TSimulator {
public:
    TSimulator();
    ~TSimulator();  // stops it
    TSimulator(const TSimulator&) = delete;
    TSimulator& operator=(const TSimulator&) = delete;

    // Starts the links asked for (Spust = start); false with a reason when
    // already running, the state folder is unusable, the address does not
    // resolve or bind, or the pty cannot be made. Nothing runs after a failure.
    bool Spust(const TNastaveniSimulatoru& nastaveni, std::string& chyba);
    // Stops both links and waits for their threads (Zastav = stop); returns
    // within about 50 ms. Removes a temporary state folder. Safe to repeat.
    void Zastav();
    bool Bezi() const;  // running

    std::string AdresaLan() const;    // "127.0.0.1:PORT" with the real port; empty when not running
    std::uint16_t PortLan() const;    // 0 when not running
    std::string CestaSerial() const;  // the symlink when one was asked for, else the pty slave device
    std::string SlozkaStavu() const;  // the state folder in use

    // The device file as the module would serve it now (Soubor = file);
    // empty for an unknown name. Live files (rtc.bin, sys.bin, mmrd.bin,
    // mmrgv.bin) are brought up to date first.
    std::vector<std::uint8_t> Soubor(const std::string& nazev) const;
    // Replaces a device file's bytes unchecked, as if the module held them;
    // a live file set this way is served as set (no longer updated) until
    // the next restart; setting log.bin also derives logh.bin and
    // log100.bin. False for an unknown name.
    bool NastavSoubor(const std::string& nazev, std::vector<std::uint8_t> obsah);

    // Switches a fault on or off (thread-safe). With `pocet` > 0 it acts only
    // on the next `pocet` occasions and then switches itself off. An occasion
    // is a request the fault changes: a serial frame or TFTP request (no
    // answer, exception), a reply (wrong CRC), a write (refused, other value),
    // a transfer (dropped datagram, OACK, slow data), an info.txt read or the
    // identification object 1 (type) or 2 (version).
    void NastavPoruchu(TPorucha porucha, bool zapnuto, std::uint32_t pocet = 0);
    // The byte JinaUlozenaHodnota raises by one: the first (0) unless set.
    // A byte beyond the written file's last data byte changes nothing.
    void NastavBajtJineHodnoty(std::size_t bajt);
    // The datagram ZtracenyDatagram loses in each transfer it acts on: the
    // first the module sends unless set. Losing the client's request (its
    // 1st) uses the fault up on that request, like ZadnaOdpoved.
    void NastavZtratu(const TZtrata& ztrata);

    // The TFTP datagrams since the start or VymazDatagramyTftp, oldest first
    // (the latest 100000), so a test can count how often each crossed.
    std::vector<TDatagramTftp> DatagramyTftp() const;
    void VymazDatagramyTftp();

    // Requests received: every serial frame (any address, any CRC) and every
    // TFTP request datagram; for tests that check that nothing was sent.
    std::uint32_t PocetPozadavku() const;
    // Writes of the device file `nazev` the module has taken (a serial
    // upload counts once); for tests of what reached the module how often.
    std::uint32_t PocetZapisu(const std::string& nazev) const;

private:
    struct TVnitrek;  // threads, sockets, pty and the module state (Vnitrek = inside)
    std::unique_ptr<TVnitrek> v_;
};

}  // namespace vk::sim
