#include "TftpServer.h"

#include <algorithm>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>

#include "Cas.h"
#include "TftpPozadavek.h"

namespace vk::sim {

using vk::link::TAdresaUdp;
using namespace vk::sim::tftp;

namespace {

constexpr std::size_t NejvicPrenosu = 8;  // transfers at once
constexpr std::size_t NejmensiLimitZapisu = 64 * 1024;

// The server's address with port 0: a transfer's own ephemeral port.
TAdresaUdp NovyPort(TAdresaUdp a)
{
    if (a.Adresa.ss_family == AF_INET6) {
        sockaddr_in6 v6{};
        std::memcpy(&v6, &a.Adresa, sizeof v6);
        v6.sin6_port = 0;
        std::memcpy(&a.Adresa, &v6, sizeof v6);
    } else {
        sockaddr_in v4{};
        std::memcpy(&v4, &a.Adresa, sizeof v4);
        v4.sin_port = 0;
        std::memcpy(&a.Adresa, &v4, sizeof v4);
    }
    return a;
}

// The state of one transfer (Stav = state).
enum class TStavPrenosu : std::uint8_t {
    CekaNaAck,          // read: a DATA (or the OACK, block 0) is out, its ACK awaited
    CekaNaPosledniAck,  // read: the short last DATA is out
    CekaNaData,         // write: the next DATA awaited
    Doznivani,          // write: stored and acknowledged; lingers for a repeat of the last block (dying away)
    Hotovo,             // ended; the socket is closed at the next pass
};

// The states in which the module's last datagram waits for the client's
// answer, and goes again when it does not come.
bool CekaNaKlienta(TStavPrenosu stav)
{
    return stav == TStavPrenosu::CekaNaAck || stav == TStavPrenosu::CekaNaPosledniAck ||
           stav == TStavPrenosu::CekaNaData;
}

// What came from the client on a transfer's port (Udalost = event).
enum class TUdalostPrenosu : std::uint8_t {
    Ack,
    Data,
    ChybaKlienta,  // the client sent ERROR: it gave up
    JinyPaket,     // another opcode
    KratkyPaket,   // shorter than opcode and block number
};

struct TPaket {
    TUdalostPrenosu Udalost = TUdalostPrenosu::KratkyPaket;
    std::uint16_t Cislo = 0;             // block number
    const std::uint8_t* Data = nullptr;  // DATA payload
    std::size_t Pocet = 0;               // its length
};

TPaket RozeberPaket(const std::uint8_t* buf, std::size_t n)
{
    TPaket paket;
    if (n < 4)
        return paket;
    const std::uint16_t opcode = Cti16be(buf);
    paket.Cislo = Cti16be(buf + 2);
    paket.Data = buf + 4;
    paket.Pocet = n - 4;
    paket.Udalost = opcode == ACK     ? TUdalostPrenosu::Ack
                    : opcode == DATA  ? TUdalostPrenosu::Data
                    : opcode == ERROR ? TUdalostPrenosu::ChybaKlienta
                                      : TUdalostPrenosu::JinyPaket;
    return paket;
}

TDatagramTftp Popis(bool odKlienta, const std::uint8_t* data, std::size_t n, bool ztracen)
{
    TDatagramTftp d;
    d.OdKlienta = odKlienta;
    d.Ztracen = ztracen;
    if (n >= 2)
        d.Opcode = Cti16be(data);
    if (n >= 4 && (d.Opcode == DATA || d.Opcode == ACK || d.Opcode == ERROR))
        d.Cislo = Cti16be(data + 2);
    return d;
}

}  // namespace

struct TPrenos {
    vk::link::UdpSocket Socket;
    TAdresaUdp Klient;
    TStavPrenosu Stav = TStavPrenosu::CekaNaAck;
    std::string Nazev;  // file name
    TBajty Data;        // read: the file; write: what has come so far
    std::size_t Blok = VychoziBlok;
    bool Cteni = true;        // a read (RRQ) or a write (WRQ)
    std::uint32_t Cislo = 0;  // read: last DATA sent; write: last DATA acknowledged
    bool Pomalu = false;      // a slow fault holds back every DATA of a read, every ACK of a write
    std::string Konec;        // how it ended, for the transfer log (Konec = end)
    bool Zaznamenan = false;  // its log line is out
    std::size_t Limit = 0;    // write: the most the module takes
    std::int64_t Necinnost = NecinnostMs;
    vk::link::Okamzik Aktivita = vk::link::Ted();  // last datagram from the client
    TBajty Posledni;                               // the datagram that waits for the client's answer
    vk::link::Okamzik Odeslano = vk::link::Ted();  // when it last went out
    std::int64_t OpakovaniMs = 1000;               // the wait before it goes again
    std::optional<TZtrata> Ztrata;                 // the datagram the fault has yet to lose
    std::uint32_t Odeslanych = 0;                  // datagrams the module sent
    std::uint32_t Prijatych = 1;                   // datagrams the client sent, its request the 1st
    TDatagramy* Datagramy = nullptr;
};

namespace {

// Whether the dropped-datagram fault loses this datagram of the transfer,
// the `poradi`-th one way (`posledni`: the last the transfer needs that
// way); it loses one only.
bool Ztratit(TPrenos& p, bool odKlienta, std::uint32_t poradi, bool posledni)
{
    if (!p.Ztrata || p.Ztrata->OdKlienta != odKlienta)
        return false;
    if (p.Ztrata->Poradi != poradi && !(p.Ztrata->Poradi == 0 && posledni))
        return false;
    p.Ztrata.reset();
    return true;
}

// Every DATA, ACK and OACK of a transfer leaves here: counted, perhaps lost
// by the fault, recorded, and when it waits for the client's answer (ceka)
// kept to go again. `posledni`: the last the transfer needs from the module.
void Odesli(TPrenos& p, const TBajty& paket, bool ceka, bool posledni)
{
    ++p.Odeslanych;
    const bool ztracen = Ztratit(p, false, p.Odeslanych, posledni);
    p.Datagramy->Pridej(Popis(false, paket.data(), paket.size(), ztracen));
    if (!ztracen)
        p.Socket.Posli(p.Klient, paket.data(), paket.size());
    if (ceka) {
        p.Posledni = paket;
        p.Odeslano = vk::link::Ted();
    }
}

// The datagram left unanswered for the retransmission wait goes again. Only
// the wait brings it: a repeated ACK from the client never does (see
// VCekaniNaAck).
void OpakujPoCekani(TPrenos& p)
{
    if (p.Posledni.empty() || vk::link::UplynuloMs(p.Odeslano) < p.OpakovaniMs)
        return;
    const TBajty paket = p.Posledni;
    Odesli(p, paket, true, false);
}

void PosliData(TPrenos& p)
{
    const std::size_t od = static_cast<std::size_t>(p.Cislo - 1) * p.Blok;
    const std::size_t pocet = od >= p.Data.size() ? 0 : std::min(p.Blok, p.Data.size() - od);
    TBajty paket;
    Pridej16be(paket, DATA);
    Pridej16be(paket, static_cast<std::uint16_t>(p.Cislo));
    paket.insert(paket.end(), p.Data.begin() + static_cast<std::ptrdiff_t>(od),
                 p.Data.begin() + static_cast<std::ptrdiff_t>(od + pocet));
    const bool posledni = pocet < p.Blok;
    p.Stav = posledni ? TStavPrenosu::CekaNaPosledniAck : TStavPrenosu::CekaNaAck;
    if (p.Pomalu)
        vk::link::Cekej(2);
    Odesli(p, paket, true, posledni);
}

// An ACK that waits for the next block; the last ACK of a write waits for
// nothing (posledni).
void PosliAck(TPrenos& p, std::uint16_t blok, bool posledni = false)
{
    if (p.Pomalu)
        vk::link::Cekej(2);
    Odesli(p, PaketAck(blok), !posledni, posledni);
}

// Sends ERROR and ends the transfer; no fault loses it.
void Ukonci(TPrenos& p, std::uint16_t kod, const std::string& text)
{
    const TBajty paket = PaketChyby(kod, text);
    p.Datagramy->Pridej(Popis(false, paket.data(), paket.size(), false));
    p.Socket.Posli(p.Klient, paket.data(), paket.size());
    p.Stav = TStavPrenosu::Hotovo;
    p.Konec = "failed: " + text;
}

// What no state expects: a client that gave up ends the transfer quietly,
// anything else ends it with an ERROR.
void Jinak(TPrenos& p, const TPaket& paket)
{
    if (paket.Udalost == TUdalostPrenosu::ChybaKlienta) {
        p.Stav = TStavPrenosu::Hotovo;
        p.Konec = "stopped by the client";
    } else if (paket.Udalost == TUdalostPrenosu::KratkyPaket)
        Ukonci(p, EOperace, "Malformed packet");
    else
        Ukonci(p, EOperace, "Illegal TFTP operation");
}

// Read: the ACK of the block last sent brings the next one. A repeated
// older ACK is ignored, so a late duplicate never makes every following
// block go out twice (the Sorcerer's Apprentice); a block the client missed
// goes again after the retransmission wait.
void VCekaniNaAck(TPrenos& p, const TPaket& paket, TStavModulu&)
{
    if (paket.Udalost != TUdalostPrenosu::Ack)
        return Jinak(p, paket);
    if (paket.Cislo != static_cast<std::uint16_t>(p.Cislo))
        return;
    ++p.Cislo;
    PosliData(p);
}

void VCekaniNaPosledniAck(TPrenos& p, const TPaket& paket, TStavModulu&)
{
    if (paket.Udalost != TUdalostPrenosu::Ack)
        return Jinak(p, paket);
    if (paket.Cislo == static_cast<std::uint16_t>(p.Cislo)) {
        p.Stav = TStavPrenosu::Hotovo;
        p.Konec = "sent";
    }
}

// Write, the last (short) block: the module takes the whole file, or none
// of it.
void UlozZapsane(TPrenos& p, std::uint16_t cislo, TStavModulu& stav)
{
    std::string duvod;
    switch (stav.Zapis(p.Nazev, p.Data, duvod)) {
    case TVysledek::Ok:
        PosliAck(p, cislo, true);
        p.Stav = TStavPrenosu::Doznivani;
        p.Konec = "stored";
        return;
    case TVysledek::ChybaUlozeni:
        return Ukonci(p, EPlno, "Disk full or allocation exceeded: " + duvod);
    case TVysledek::Odmitnuto:
        return Ukonci(p, ENedefinovano, "Refused: " + duvod);
    case TVysledek::NeznamySoubor:
    case TVysledek::Zakazano:
        return Ukonci(p, EPristup, "Access violation");
    }
}

// Write: the next block is taken and acknowledged; a repeat of the block
// already taken means our ACK was lost, so it is said again; any other
// number is dropped.
void VCekaniNaData(TPrenos& p, const TPaket& paket, TStavModulu& stav)
{
    if (paket.Udalost != TUdalostPrenosu::Data)
        return Jinak(p, paket);
    if (paket.Cislo == static_cast<std::uint16_t>(p.Cislo) && p.Cislo > 0)
        return PosliAck(p, paket.Cislo);
    if (p.Cislo + 1 > 65535)
        return Ukonci(p, EPlno, "File too large for the block size");
    if (paket.Cislo != static_cast<std::uint16_t>(p.Cislo + 1))
        return;
    if (p.Data.size() + paket.Pocet > p.Limit)
        return Ukonci(p, EPlno, "Disk full or allocation exceeded");
    p.Data.insert(p.Data.end(), paket.Data, paket.Data + paket.Pocet);
    p.Cislo = paket.Cislo;
    if (paket.Pocet >= p.Blok)
        return PosliAck(p, paket.Cislo);
    UlozZapsane(p, paket.Cislo, stav);
}

// Write, stored: a client that missed the last ACK sends its last block
// again and gets the ACK again, for as long as it keeps at it (tftpd-hpa
// lingers the same way); its ERROR ends the wait, anything else is ignored.
void VDoznivani(TPrenos& p, const TPaket& paket, TStavModulu&)
{
    if (paket.Udalost == TUdalostPrenosu::Data && paket.Cislo == static_cast<std::uint16_t>(p.Cislo))
        Odesli(p, PaketAck(paket.Cislo), false, false);
    else if (paket.Udalost == TUdalostPrenosu::ChybaKlienta)
        p.Stav = TStavPrenosu::Hotovo;
}

void VeKonci(TPrenos&, const TPaket&, TStavModulu&) {}

// One handler per state, in the order of TStavPrenosu.
using TObsluhaStavu = void (*)(TPrenos&, const TPaket&, TStavModulu&);
constexpr TObsluhaStavu ObsluhaStavu[] = {VCekaniNaAck, VCekaniNaPosledniAck, VCekaniNaData, VDoznivani, VeKonci};

// Whether a datagram from the client is the last its transfer needs: the
// ACK of a read's last DATA, or a write's last (short) block.
bool PosledniOdKlienta(const TPrenos& p, const TPaket& paket)
{
    if (p.Stav == TStavPrenosu::CekaNaPosledniAck)
        return paket.Udalost == TUdalostPrenosu::Ack && paket.Cislo == static_cast<std::uint16_t>(p.Cislo);
    if (p.Stav == TStavPrenosu::CekaNaData)
        return paket.Udalost == TUdalostPrenosu::Data && paket.Cislo == static_cast<std::uint16_t>(p.Cislo + 1) &&
               paket.Pocet < p.Blok;
    return false;
}

}  // namespace

bool AdresaServeru(const std::string& text, TAdresaUdp& adresa, std::string& chyba)
{
    std::string host = text;
    std::string port = "0";
    if (!text.empty() && text.front() == '[') {
        const auto konec = text.find(']');
        if (konec == std::string::npos) {
            chyba = "Neplatná adresa \"" + text + "\"";
            return false;
        }
        host = text.substr(1, konec - 1);
        const std::string zbytek = text.substr(konec + 1);
        if (!zbytek.empty()) {
            if (zbytek.front() != ':') {
                chyba = "Neplatná adresa \"" + text + "\"";
                return false;
            }
            port = zbytek.substr(1);
        }
    } else {
        const auto dvojtecka = text.find(':');
        if (dvojtecka != std::string::npos && text.find(':', dvojtecka + 1) == std::string::npos) {
            host = text.substr(0, dvojtecka);
            port = text.substr(dvojtecka + 1);
        }
    }
    std::uint64_t cislo = 0;
    if (host.empty() || !CtiCislo(port, cislo) || cislo > 65535) {
        chyba = "Neplatná adresa \"" + text + "\" (očekáváno HOST:PORT, port 0 až 65535)";
        return false;
    }
    const bool ipv6 = host.find(':') != std::string::npos;
    const std::string bezPortu = ipv6 ? "[" + host + "]" : host;
    return vk::link::NajdiAdresu(bezPortu, static_cast<std::uint16_t>(cislo), ipv6, adresa, chyba);
}

void TDatagramy::Pridej(const TDatagramTftp& datagram)
{
    const std::lock_guard<std::mutex> z(zamek_);
    if (seznam_.size() >= Nejvic)
        seznam_.pop_front();
    seznam_.push_back(datagram);
}

std::vector<TDatagramTftp> TDatagramy::Kopie() const
{
    const std::lock_guard<std::mutex> z(zamek_);
    return {seznam_.begin(), seznam_.end()};
}

void TDatagramy::Vymaz()
{
    const std::lock_guard<std::mutex> z(zamek_);
    seznam_.clear();
}

TTftpServer::TTftpServer(TStavModulu& stav, TPoruchy& poruchy) : stav_(stav), poruchy_(poruchy) {}

TTftpServer::~TTftpServer()
{
    Zavri();
}

bool TTftpServer::Otevri(const std::string& adresa, std::string& chyba)
{
    Zavri();
    TAdresaUdp mistni;
    if (!AdresaServeru(adresa, mistni, chyba))
        return false;
    if (!socket_.OtevriNa(mistni, chyba))
        return false;
    mistni_ = socket_.MistniAdresa();
    return true;
}

void TTftpServer::Zavri()
{
    prenosy_.clear();
    socket_.Zavri();
}

std::uint16_t TTftpServer::Port() const
{
    return socket_.JeOtevren() ? mistni_.Port() : 0;
}

std::string TTftpServer::Adresa() const
{
    return socket_.JeOtevren() ? mistni_.Text() : std::string();
}

void TTftpServer::NastavZaznam(std::function<void(const std::string&)> zaznam)
{
    zaznam_ = std::move(zaznam);
}

void TTftpServer::NastavOpakovani(std::int32_t ms)
{
    opakovaniMs_ = ms;
}

std::vector<TDatagramTftp> TTftpServer::Datagramy() const
{
    return datagramy_.Kopie();
}

void TTftpServer::VymazDatagramy()
{
    datagramy_.Vymaz();
}

void TTftpServer::Zaznamenej(const TPrenos& p, const std::string& jak) const
{
    if (!zaznam_)
        return;
    // A read counts the bytes that went out, a write those that came in.
    const std::size_t bajtu =
        p.Cteni ? std::min<std::size_t>(static_cast<std::size_t>(p.Cislo) * p.Blok, p.Data.size()) : p.Data.size();
    zaznam_(std::string("TFTP ") + (p.Cteni ? "read " : "write ") + p.Nazev + ": " + std::to_string(bajtu) + " B " +
            jak);
}

void TTftpServer::Obsluhuj(const std::atomic<bool>& konec, std::atomic<std::uint32_t>& pocetPozadavku)
{
    std::vector<std::uint8_t> buf(65536);
    while (!konec.load()) {
        // An ended transfer is logged as it goes, within a pass of its end;
        // a write that lingers for a repeat of its last block is logged as
        // stored at once.
        for (const auto& p : prenosy_) {
            if (!p->Zaznamenan && (p->Stav == TStavPrenosu::Hotovo || p->Stav == TStavPrenosu::Doznivani)) {
                Zaznamenej(*p, p->Konec);
                p->Zaznamenan = true;
            }
        }
        prenosy_.erase(std::remove_if(prenosy_.begin(), prenosy_.end(),
                                      [this](const std::unique_ptr<TPrenos>& p) {
                                          if (p->Stav == TStavPrenosu::Hotovo)
                                              return true;
                                          if (vk::link::UplynuloMs(p->Aktivita) <= p->Necinnost)
                                              return false;
                                          if (!p->Zaznamenan)
                                              Zaznamenej(*p, "dropped, the client went silent");
                                          return true;
                                      }),
                       prenosy_.end());
        for (const auto& p : prenosy_) {
            if (CekaNaKlienta(p->Stav))
                OpakujPoCekani(*p);
        }
        std::vector<pollfd> fds;
        fds.push_back({socket_.Deskriptor(), POLLIN, 0});
        for (const auto& p : prenosy_)
            fds.push_back({p->Socket.Deskriptor(), POLLIN, 0});
        if (::poll(fds.data(), fds.size(), 20) <= 0)
            continue;
        if (fds[0].revents != 0) {
            TAdresaUdp od;
            const long n = socket_.Prijmi(buf.data(), buf.size(), 0, od);
            if (n >= 0) {
                pocetPozadavku.fetch_add(1);
                Pozadavek(buf.data(), static_cast<std::size_t>(n), od);
            }
        }
        // New transfers were appended after the ones polled; those are
        // polled in the next pass.
        for (std::size_t i = 1; i < fds.size(); ++i)
            if (fds[i].revents != 0)
                PaketPrenosu(*prenosy_[i - 1]);
    }
    prenosy_.clear();
}

void TTftpServer::Chyba(const TAdresaUdp& komu, const TOdmitnuti& odmitnuti)
{
    vk::link::UdpSocket s;
    std::string chyba;
    // From a port of its own, like every answer to a request.
    if (!s.OtevriNa(NovyPort(mistni_), chyba))
        return;
    const TBajty paket = PaketChyby(odmitnuti.Kod, odmitnuti.Text);
    datagramy_.Pridej(Popis(false, paket.data(), paket.size(), false));
    s.Posli(komu, paket.data(), paket.size());
}

// The module's checks of a request, in its order; each fault switch is
// used up only when its turn comes.
std::optional<TOdmitnuti> TTftpServer::Posud(const TPozadavek& z, const TSouborModulu*& soubor)
{
    if (poruchy_.Uplatni(TPorucha::VyjimkaOdpoved))
        return TOdmitnuti{ENedefinovano, "Module failure"};
    if (!StejneJmeno(z.Rezim, "octet") && !StejneJmeno(z.Rezim, "netascii"))
        return TOdmitnuti{EOperace, "Unsupported mode " + z.Rezim};
    soubor = SouborPodleNazvu(z.Nazev);
    if (soubor == nullptr)
        return TOdmitnuti{ENenalezen, "File not found"};
    if (z.Cteni ? !LzeCist(*soubor) : !LzeZapsat(*soubor))
        return TOdmitnuti{EPristup, "Access violation"};
    if (!z.Cteni && poruchy_.Uplatni(TPorucha::OdmitnutyZapis))
        return TOdmitnuti{EPristup, "Write refused"};
    // A write lingering after its end takes no turn from a new transfer.
    const auto bezi = std::count_if(prenosy_.begin(), prenosy_.end(), [](const std::unique_ptr<TPrenos>& p) {
        return p->Stav != TStavPrenosu::Doznivani;
    });
    if (static_cast<std::size_t>(bezi) >= NejvicPrenosu)
        return TOdmitnuti{ENedefinovano, "Server busy"};
    return std::nullopt;
}

// A new transfer with its options settled; the faults that act on a
// transfer are taken now.
std::optional<TOdmitnuti> TTftpServer::Priprav(const TPozadavek& z, const TSouborModulu& soubor, TPrenos& p,
                                               TVyjednano& v)
{
    p.Nazev = soubor.Nazev;
    p.Limit = std::max(soubor.Delka, NejmensiLimitZapisu);
    if (z.Cteni && stav_.Precti(p.Nazev, p.Data) != TVysledek::Ok)
        return TOdmitnuti{ENenalezen, "File not found"};
    if (auto odmitnuti = VyjednejVolby(z, p.Data.size(), p.Limit, v))
        return odmitnuti;
    if (poruchy_.Uplatni(TPorucha::OACKNepodporovanaVolba)) {
        PridejText(v.Oack, "windowsize");
        PridejText(v.Oack, "4");
        v.Udeleno = true;
    }
    p.Blok = v.Blok;
    p.Necinnost = v.Necinnost;
    p.OpakovaniMs = v.OpakovaniMs > 0 ? v.OpakovaniMs : opakovaniMs_;
    if (z.Cteni && p.Data.size() / p.Blok + 1 > 65535)
        return TOdmitnuti{EPlno, "File too large for the block size"};
    // A loss of the request itself was taken when the request came.
    const TZtrata ztrata = poruchy_.Ztrata();
    if (!(ztrata.OdKlienta && ztrata.Poradi == 1) && poruchy_.Uplatni(TPorucha::ZtracenyDatagram))
        p.Ztrata = ztrata;
    p.Cteni = z.Cteni;
    p.Pomalu = poruchy_.Uplatni(z.Cteni ? TPorucha::PomalaData : TPorucha::PomalyZapis);
    return std::nullopt;
}

void TTftpServer::Pozadavek(const std::uint8_t* data, std::size_t delka, const TAdresaUdp& od)
{
    if (delka < 2)
        return;
    // The client's request is the 1st datagram it sends.
    const TZtrata ztrata = poruchy_.Ztrata();
    const bool ztracen = ztrata.OdKlienta && ztrata.Poradi == 1 && poruchy_.Uplatni(TPorucha::ZtracenyDatagram);
    datagramy_.Pridej(Popis(true, data, delka, ztracen));
    if (ztracen)
        return;
    TPozadavek z;
    if (auto odmitnuti = RozeberPozadavek(data, delka, z))
        return Chyba(od, *odmitnuti);
    if (poruchy_.Uplatni(TPorucha::ZadnaOdpoved))
        return;
    const TSouborModulu* soubor = nullptr;
    if (auto odmitnuti = Posud(z, soubor))
        return Chyba(od, *odmitnuti);
    auto p = std::make_unique<TPrenos>();
    p->Klient = od;
    p->Datagramy = &datagramy_;
    TVyjednano v;
    if (auto odmitnuti = Priprav(z, *soubor, *p, v))
        return Chyba(od, *odmitnuti);
    std::string chyba;
    if (!p->Socket.OtevriNa(NovyPort(mistni_), chyba))
        return;
    // Options answered by an OACK, which block 0 of the exchange stands for;
    // else a read starts with DATA 1 and a write with ACK 0.
    p->Stav = z.Cteni ? TStavPrenosu::CekaNaAck : TStavPrenosu::CekaNaData;
    if (v.Udeleno) {
        Odesli(*p, v.Oack, true, false);
    } else if (z.Cteni) {
        p->Cislo = 1;
        PosliData(*p);
    } else {
        PosliAck(*p, 0);
    }
    prenosy_.push_back(std::move(p));
}

void TTftpServer::PaketPrenosu(TPrenos& p)
{
    std::uint8_t buf[65536 + 4];
    TAdresaUdp od;
    const long n = p.Socket.Prijmi(buf, sizeof buf, 0, od);
    if (n < 0 || p.Stav == TStavPrenosu::Hotovo)
        return;
    if (!(od == p.Klient)) {
        // Someone else on this transfer's port: told off, the transfer goes on.
        const TBajty paket = PaketChyby(ETid, "Unknown transfer ID");
        p.Socket.Posli(od, paket.data(), paket.size());
        return;
    }
    const TPaket paket = RozeberPaket(buf, static_cast<std::size_t>(n));
    ++p.Prijatych;
    const bool ztracen = Ztratit(p, true, p.Prijatych, PosledniOdKlienta(p, paket));
    datagramy_.Pridej(Popis(true, buf, static_cast<std::size_t>(n), ztracen));
    // Lost on the way: no answer, and no sign of life either.
    if (ztracen)
        return;
    p.Aktivita = vk::link::Ted();
    ObsluhaStavu[static_cast<std::size_t>(p.Stav)](p, paket, stav_);
}

}  // namespace vk::sim
