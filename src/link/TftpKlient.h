#pragma once
// The TFTP client as a state machine (Klient = client, Prenos = transfer).
// Krok (= step) is a pure function of the transfer state and one event: it
// touches no socket and no file, it only says what to send, store or read
// next, so the whole datagram handling can be tested and fuzzed on its own.
// TftpPrenos.h drives it with a socket.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "M_TFTP.h"
#include "TftpPakety.h"
#include "UdpSocket.h"

namespace vk::link {

// The client object behind TTFTP_ID: where the module is, how long to wait
// and how often to send an unanswered packet again.
struct TTFTPKlient {
    std::string Server;  // host text, may carry ":port"
    bool IPv6 = false;
    std::int32_t CekaniCteni = 0;               // reply wait of a read, ms
    std::int32_t CekaniZapisu = 0;              // reply wait of a write, ms
    std::int32_t Opakovani = 0;                 // retransmissions of one packet, 0 = none
    std::uint16_t Blok = tftp::PozadovanyBlok;  // blksize asked for
};

namespace tftp {

enum class TSmer : std::uint8_t { Cteni, Zapis };  // direction: read, write

enum class TStav : std::uint8_t {
    Zacatek,              // nothing sent yet
    CekaNaOdpovedCteni,   // read request sent: DATA 1 or OACK may come
    CekaNaData,           // read: waiting for DATA (Blok + 1); a repeated OACK may come
    CekaNaOdpovedZapisu,  // write request sent: ACK 0 or OACK may come
    CekaNaAck,            // write: waiting for the ACK of block Blok
    Hotovo,               // done
    Selhani,              // failed
};

enum class TUdalost : std::uint8_t {
    Zahajeni,  // start: send the request
    Datagram,  // a datagram arrived
    Vyprseni,  // the reply wait ran out: the last packet goes again, or the transfer fails
    Ukonceni,  // the program asks the transfer to end (a job stopped, a signal)
};

// The state of one transfer.
struct TPrenos {
    TSmer Smer = TSmer::Cteni;
    TStav Stav = TStav::Zacatek;
    std::string Soubor;  // file name on the module
    std::uint16_t Pozadovany = PozadovanyBlok;
    std::uint16_t VelikostBloku = VychoziBlok;
    std::uint16_t Blok = 0;       // read: last block taken; write: last block sent
    std::uint64_t Celkem = 0;     // write: bytes to send; read: announced tsize or 0
    std::uint64_t Preneseno = 0;  // bytes taken or sent so far
    bool Dokonceno = false;       // write: the short last block has been sent
    TAdresaUdp Server;            // the module, port 69 (or as typed)
    TAdresaUdp Protejsek;         // the module's transfer port, once known
    bool ProtejsekZnamy = false;
    std::int32_t Opakovani = 0;  // how many times the packet awaiting an answer may go again
    std::int32_t Opakovano = 0;  // how many times it has gone again so far
    std::int32_t Cekani = 0;     // reply wait, ms: told in a time-out's cause
    TAdresaUdp Cizi;             // the last stranger refused since the module last answered
    bool CiziOdmitnut = false;   // Cizi holds one
    std::string Duvod;           // why it failed: TTFTP_ED::Pricina
};

struct TPaketKOdeslani {
    TAdresaUdp Komu;
    std::vector<std::uint8_t> Data;
};

// What the driver must do after a step, in this order: store the payload,
// read and send the next DATA block, call the progress hooks, send Pakety,
// send the kept packet again.
//
// The packet that waits for the peer's answer (a request, an ACK, a DATA
// block) is kept by the driver, because only the driver holds a DATA
// block's bytes: the step marks it when it is sent (Posledni, or PosliData)
// and asks for it again (Opakuj). Each of the two starts the reply wait anew;
// any other datagram lets the running wait go on to its end.
struct TAkce {
    bool Uloz = false;  // read: store data[UlozOd .. UlozOd + UlozPocet)
    std::size_t UlozOd = 0;
    std::size_t UlozPocet = 0;
    bool PosliData = false;  // write: DATA DataBlok from source bytes at DataOd
    std::uint16_t DataBlok = 0;
    std::uint64_t DataOd = 0;
    std::size_t DataPocet = 0;
    bool Prubeh = false;  // one DATA block passed: pump messages, report progress
    bool Cizi = false;    // the datagram came from a stranger and was refused
    std::vector<TPaketKOdeslani> Pakety;
    bool Posledni = false;  // Pakety.front() now waits for an answer: keep it to send again
    bool Opakuj = false;    // send the kept packet again (Opakuj = repeat): a retransmission
};

// `opakovani`: how many times a packet left unanswered goes again (a
// negative count is 0).
TPrenos NovyPrenos(TSmer smer, const std::string& soubor, const TAdresaUdp& server, std::uint16_t blok,
                   std::uint64_t celkem, std::int32_t opakovani);

// One step. For TUdalost::Datagram, `od` is the sender and data/delka the
// datagram; `orezan` says it was longer than the receive buffer.
TAkce Krok(TPrenos& prenos, TUdalost udalost, const TAdresaUdp& od = {}, const std::uint8_t* data = nullptr,
           std::size_t delka = 0, bool orezan = false);

bool JeKonec(const TPrenos& prenos);  // Hotovo or Selhani

}  // namespace tftp
}  // namespace vk::link
