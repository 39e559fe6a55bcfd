#pragma once
// The module's TFTP server (octet transfers with the options blksize, tsize
// and timeout). Every transfer gets a fresh socket with its own port, as
// real servers do, and several transfers may run at once; all of them are
// served by the one thread that calls Obsluhuj. A packet left unanswered
// goes again, as tftpd-hpa's does.
#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "Poruchy.h"
#include "StavModulu.h"
#include "TftpPozadavek.h"
#include "UdpSocket.h"

namespace vk::sim {

struct TPrenos;  // one transfer in progress (Prenos = transfer)

// The datagrams the server took and sent (Datagramy = datagrams), the latest
// Nejvic of them; read by tests from another thread while the server runs.
class TDatagramy {
public:
    void Pridej(const TDatagramTftp& datagram);  // add
    std::vector<TDatagramTftp> Kopie() const;    // copy
    void Vymaz();                                // clear

private:
    static constexpr std::size_t Nejvic = 100000;
    mutable std::mutex zamek_;
    std::deque<TDatagramTftp> seznam_;
};

class TTftpServer {
public:
    TTftpServer(TStavModulu& stav, TPoruchy& poruchy);
    ~TTftpServer();

    // Binds the request socket: "host:port" or "[v6]:port", port 0 = ephemeral.
    bool Otevri(const std::string& adresa, std::string& chyba);
    void Zavri();
    std::uint16_t Port() const;
    std::string Adresa() const;  // "127.0.0.1:PORT"

    // Called with one line for every transfer as it ends, from the serving
    // thread; empty = none (Zaznam = record). Set before Obsluhuj runs.
    void NastavZaznam(std::function<void(const std::string&)> zaznam);
    // The wait before an unanswered packet goes again, ms (Opakovani =
    // retransmission); set before Obsluhuj runs.
    void NastavOpakovani(std::int32_t ms);

    std::vector<TDatagramTftp> Datagramy() const;
    void VymazDatagramy();

    // Serves requests and transfers until `konec` is set; returns within
    // about 20 ms of it.
    void Obsluhuj(const std::atomic<bool>& konec, std::atomic<std::uint32_t>& pocetPozadavku);

private:
    // A datagram on the request port (Pozadavek = request).
    void Pozadavek(const std::uint8_t* data, std::size_t delka, const vk::link::TAdresaUdp& od);
    // The module's checks of a request (Posud = judge); `soubor` the file
    // asked for.
    std::optional<tftp::TOdmitnuti> Posud(const tftp::TPozadavek& z, const TSouborModulu*& soubor);
    // A transfer made ready: its file, its options, its faults.
    std::optional<tftp::TOdmitnuti> Priprav(const tftp::TPozadavek& z, const TSouborModulu& soubor, TPrenos& p,
                                            tftp::TVyjednano& v);
    void PaketPrenosu(TPrenos& p);  // a datagram on a transfer's socket, handled by its state
    // An ERROR answer to a request, from a port of its own (Chyba = error).
    void Chyba(const vk::link::TAdresaUdp& komu, const tftp::TOdmitnuti& odmitnuti);
    // The line for the end of a transfer: direction, name, bytes so far and
    // how it ended (jak = how).
    void Zaznamenej(const TPrenos& p, const std::string& jak) const;

    TStavModulu& stav_;
    TPoruchy& poruchy_;
    vk::link::UdpSocket socket_;
    vk::link::TAdresaUdp mistni_;
    std::vector<std::unique_ptr<TPrenos>> prenosy_;
    std::function<void(const std::string&)> zaznam_;
    std::int32_t opakovaniMs_ = 1000;
    TDatagramy datagramy_;
};

// Splits "host:port" / "[v6]:port" into what the socket binds; unlike the
// client's form it allows port 0 and requires no port (0 then).
bool AdresaServeru(const std::string& text, vk::link::TAdresaUdp& adresa, std::string& chyba);

}  // namespace vk::sim
