#include "TftpServer.h"

#include <algorithm>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <strings.h>

#include "Cas.h"

namespace vk::sim {

using vk::link::TAdresaUdp;

namespace {

enum : std::uint16_t { RRQ = 1, WRQ = 2, DATA = 3, ACK = 4, ERROR = 5, OACK = 6 };

// TFTP error codes.
enum : std::uint16_t {
    ENedefinovano = 0,  // not defined, see the message
    ENenalezen = 1,     // file not found
    EPristup = 2,       // access violation
    EPlno = 3,          // disk full or allocation exceeded
    EOperace = 4,       // illegal TFTP operation
    ETid = 5,           // unknown transfer ID
    EVolby = 8,         // option negotiation refused
};

constexpr std::size_t VychoziBlok = 512;
constexpr std::size_t NejvetsiBlok = 1500;  // the largest block the module grants
constexpr std::int64_t NecinnostMs = 3000;  // a silent peer's transfer is dropped after this
constexpr std::size_t NejvicPrenosu = 8;    // transfers at once
constexpr std::size_t NejmensiLimitZapisu = 64 * 1024;

std::uint16_t Cti16be(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

void Pridej16be(TBajty& b, std::uint16_t x)
{
    b.push_back(static_cast<std::uint8_t>(x >> 8));
    b.push_back(static_cast<std::uint8_t>(x & 0xFF));
}

void PridejText(TBajty& b, const std::string& s)
{
    b.insert(b.end(), s.begin(), s.end());
    b.push_back(0);
}

// A decimal number of at most 10 digits; false for anything else.
bool CtiCislo(const std::string& text, std::uint64_t& hodnota)
{
    if (text.empty() || text.size() > 10)
        return false;
    hodnota = 0;
    for (const char znak : text) {
        if (znak < '0' || znak > '9')
            return false;
        hodnota = hodnota * 10 + static_cast<std::uint64_t>(znak - '0');
    }
    return true;
}

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

bool Stejne(const std::string& a, const char* b)
{
    return strcasecmp(a.c_str(), b) == 0;
}

}  // namespace

struct TPrenos {
    vk::link::UdpSocket Socket;
    TAdresaUdp Klient;
    bool Cteni = true;             // a read (RRQ) or a write (WRQ)
    std::string Nazev;             // file name
    TBajty Data;                   // read: the file; write: what has come so far
    std::size_t Blok = VychoziBlok;
    std::uint32_t Cislo = 0;       // read: last DATA sent; write: last DATA acknowledged
    bool PosledniOdeslan = false;  // read: the short final DATA has gone out
    bool Zahodit = false;          // the dropped-datagram fault is pending
    bool Pomalu = false;           // read: the slow-data fault holds back every DATA
    bool Hotovo = false;           // finished; the socket is closed at the next pass
    std::size_t Limit = 0;         // write: the most the module takes
    std::int64_t Necinnost = NecinnostMs;
    vk::link::Okamzik Aktivita = vk::link::Ted();  // last datagram from the client
};

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

void TTftpServer::Obsluhuj(const std::atomic<bool>& konec, std::atomic<std::uint32_t>& pocetPozadavku)
{
    std::vector<std::uint8_t> buf(65536);
    while (!konec.load()) {
        prenosy_.erase(std::remove_if(prenosy_.begin(), prenosy_.end(),
                                      [](const std::unique_ptr<TPrenos>& p) {
                                          return p->Hotovo || vk::link::UplynuloMs(p->Aktivita) > p->Necinnost;
                                      }),
                       prenosy_.end());
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

void TTftpServer::Chyba(const TAdresaUdp& komu, std::uint16_t kod, const std::string& text)
{
    vk::link::UdpSocket s;
    std::string chyba;
    // From a port of its own, like every answer to a request.
    if (!s.OtevriNa(NovyPort(mistni_), chyba))
        return;
    TBajty paket;
    Pridej16be(paket, ERROR);
    Pridej16be(paket, kod);
    PridejText(paket, text);
    s.Posli(komu, paket.data(), paket.size());
}

void TTftpServer::Pozadavek(const std::uint8_t* data, std::size_t delka, const TAdresaUdp& od)
{
    if (delka < 2)
        return;
    const std::uint16_t opcode = Cti16be(data);
    if (opcode != RRQ && opcode != WRQ) {
        Chyba(od, EOperace, "Illegal TFTP operation");
        return;
    }
    // Zero-terminated strings: name, mode, then option name/value pairs.
    std::vector<std::string> casti;
    std::size_t zacatek = 2;
    for (std::size_t i = 2; i < delka; ++i) {
        if (data[i] == 0) {
            casti.emplace_back(reinterpret_cast<const char*>(data + zacatek), i - zacatek);
            zacatek = i + 1;
        }
    }
    if (zacatek != delka || casti.size() < 2 || casti[0].empty()) {
        Chyba(od, EOperace, "Malformed request");
        return;
    }
    if (poruchy_.Uplatni(TPorucha::ZadnaOdpoved))
        return;
    if (poruchy_.Uplatni(TPorucha::VyjimkaOdpoved)) {
        Chyba(od, ENedefinovano, "Module failure");
        return;
    }
    if (!Stejne(casti[1], "octet") && !Stejne(casti[1], "netascii")) {
        Chyba(od, EOperace, "Unsupported mode " + casti[1]);
        return;
    }
    const bool cteni = opcode == RRQ;
    const TSouborModulu* soubor = SouborPodleNazvu(casti[0]);
    if (soubor == nullptr) {
        Chyba(od, ENenalezen, "File not found");
        return;
    }
    if (cteni ? !LzeCist(*soubor) : !LzeZapsat(*soubor)) {
        Chyba(od, EPristup, "Access violation");
        return;
    }
    if (!cteni && poruchy_.Uplatni(TPorucha::OdmitnutyZapis)) {
        Chyba(od, EPristup, "Write refused");
        return;
    }
    if (prenosy_.size() >= NejvicPrenosu) {
        Chyba(od, ENedefinovano, "Server busy");
        return;
    }

    auto p = std::make_unique<TPrenos>();
    p->Klient = od;
    p->Cteni = cteni;
    p->Nazev = soubor->Nazev;
    p->Limit = std::max(soubor->Delka, NejmensiLimitZapisu);
    if (cteni && stav_.Precti(p->Nazev, p->Data) != TVysledek::Ok) {
        Chyba(od, ENenalezen, "File not found");
        return;
    }

    TBajty oack;
    Pridej16be(oack, OACK);
    bool volby = false;  // any option granted (Volby = options)
    bool videnBlksize = false, videnTsize = false, videnTimeout = false;
    for (std::size_t i = 2; i + 1 < casti.size(); i += 2) {
        const std::string& nazev = casti[i];
        const std::string& hodnota = casti[i + 1];
        std::uint64_t cislo = 0;
        if (Stejne(nazev, "blksize") && !videnBlksize) {
            videnBlksize = true;
            if (!CtiCislo(hodnota, cislo) || cislo < 8) {
                Chyba(od, EVolby, "Invalid blksize " + hodnota);
                return;
            }
            p->Blok = std::min<std::size_t>(static_cast<std::size_t>(cislo), NejvetsiBlok);
            PridejText(oack, nazev);
            PridejText(oack, std::to_string(p->Blok));
            volby = true;
        } else if (Stejne(nazev, "tsize") && !videnTsize) {
            videnTsize = true;
            if (!CtiCislo(hodnota, cislo)) {
                Chyba(od, EVolby, "Invalid tsize " + hodnota);
                return;
            }
            if (!cteni && cislo > p->Limit) {
                Chyba(od, EPlno, "File too large");
                return;
            }
            PridejText(oack, nazev);
            PridejText(oack, cteni ? std::to_string(p->Data.size()) : hodnota);
            volby = true;
        } else if (Stejne(nazev, "timeout") && !videnTimeout) {
            videnTimeout = true;
            if (CtiCislo(hodnota, cislo) && cislo >= 1 && cislo <= 255) {
                p->Necinnost = std::max<std::int64_t>(NecinnostMs, static_cast<std::int64_t>(cislo) * 3000);
                PridejText(oack, nazev);
                PridejText(oack, hodnota);
                volby = true;
            }
        }
        // Other options are not granted and so not named in the OACK.
    }
    if (poruchy_.Uplatni(TPorucha::OACKNepodporovanaVolba)) {
        PridejText(oack, "windowsize");
        PridejText(oack, "4");
        volby = true;
    }
    if (cteni && p->Data.size() / p->Blok + 1 > 65535) {
        Chyba(od, EPlno, "File too large for the block size");
        return;
    }
    p->Zahodit = poruchy_.Uplatni(TPorucha::ZtracenyDatagram);
    p->Pomalu = cteni && poruchy_.Uplatni(TPorucha::PomalaData);

    std::string chyba;
    if (!p->Socket.OtevriNa(NovyPort(mistni_), chyba))
        return;
    if (volby) {
        p->Socket.Posli(p->Klient, oack.data(), oack.size());
    } else if (cteni) {
        p->Cislo = 1;
        PosliData(*p);
    } else {
        PosliAck(*p, 0);
    }
    prenosy_.push_back(std::move(p));
}

void TTftpServer::PosliData(TPrenos& p)
{
    const std::size_t od = static_cast<std::size_t>(p.Cislo - 1) * p.Blok;
    const std::size_t pocet = od >= p.Data.size() ? 0 : std::min(p.Blok, p.Data.size() - od);
    TBajty paket;
    Pridej16be(paket, DATA);
    Pridej16be(paket, static_cast<std::uint16_t>(p.Cislo));
    paket.insert(paket.end(), p.Data.begin() + static_cast<std::ptrdiff_t>(od),
                 p.Data.begin() + static_cast<std::ptrdiff_t>(od + pocet));
    p.PosledniOdeslan = pocet < p.Blok;
    if (p.Zahodit) {
        p.Zahodit = false;
        return;
    }
    if (p.Pomalu)
        vk::link::Cekej(2);
    p.Socket.Posli(p.Klient, paket.data(), paket.size());
}

void TTftpServer::PosliAck(TPrenos& p, std::uint16_t blok)
{
    TBajty paket;
    Pridej16be(paket, ACK);
    Pridej16be(paket, blok);
    if (p.Zahodit && blok == 1) {
        p.Zahodit = false;
        return;
    }
    p.Socket.Posli(p.Klient, paket.data(), paket.size());
}

void TTftpServer::PosliChybu(TPrenos& p, std::uint16_t kod, const std::string& text)
{
    TBajty paket;
    Pridej16be(paket, ERROR);
    Pridej16be(paket, kod);
    PridejText(paket, text);
    p.Socket.Posli(p.Klient, paket.data(), paket.size());
    p.Hotovo = true;
}

void TTftpServer::PaketPrenosu(TPrenos& p)
{
    std::uint8_t buf[65536 + 4];
    TAdresaUdp od;
    const long n = p.Socket.Prijmi(buf, sizeof buf, 0, od);
    if (n < 0 || p.Hotovo)
        return;
    if (!(od == p.Klient)) {
        // Someone else on this transfer's port: told off, the transfer goes on.
        TBajty paket;
        Pridej16be(paket, ERROR);
        Pridej16be(paket, ETid);
        PridejText(paket, "Unknown transfer ID");
        p.Socket.Posli(od, paket.data(), paket.size());
        return;
    }
    p.Aktivita = vk::link::Ted();
    if (n < 4) {
        PosliChybu(p, EOperace, "Malformed packet");
        return;
    }
    const std::uint16_t opcode = Cti16be(buf);
    const std::uint16_t cislo = Cti16be(buf + 2);
    if (opcode == ERROR) {
        p.Hotovo = true;
        return;
    }
    if (p.Cteni) {
        if (opcode != ACK) {
            PosliChybu(p, EOperace, "Illegal TFTP operation");
            return;
        }
        // A repeated older ACK is ignored, so a late duplicate never makes
        // every following block go out twice.
        if (cislo != static_cast<std::uint16_t>(p.Cislo))
            return;
        if (p.Cislo > 0 && p.PosledniOdeslan) {
            p.Hotovo = true;
            return;
        }
        ++p.Cislo;
        PosliData(p);
        return;
    }
    if (opcode != DATA) {
        PosliChybu(p, EOperace, "Illegal TFTP operation");
        return;
    }
    if (cislo == static_cast<std::uint16_t>(p.Cislo) && p.Cislo > 0) {
        PosliAck(p, cislo);  // our ACK was lost: say it again
        return;
    }
    if (p.Cislo + 1 > 65535 || cislo != static_cast<std::uint16_t>(p.Cislo + 1)) {
        if (p.Cislo + 1 > 65535)
            PosliChybu(p, EPlno, "File too large for the block size");
        return;
    }
    const std::size_t pocet = static_cast<std::size_t>(n) - 4;
    if (p.Data.size() + pocet > p.Limit) {
        PosliChybu(p, EPlno, "Disk full or allocation exceeded");
        return;
    }
    p.Data.insert(p.Data.end(), buf + 4, buf + n);
    p.Cislo = cislo;
    if (pocet >= p.Blok) {
        PosliAck(p, cislo);
        return;
    }
    // The last block: the module takes the whole file, or none of it.
    std::string duvod;
    switch (stav_.Zapis(p.Nazev, p.Data, duvod)) {
    case TVysledek::Ok:
        PosliAck(p, cislo);
        p.Hotovo = true;
        return;
    case TVysledek::ChybaUlozeni:
        PosliChybu(p, EPlno, "Disk full or allocation exceeded: " + duvod);
        return;
    case TVysledek::Odmitnuto:
        PosliChybu(p, ENedefinovano, "Refused: " + duvod);
        return;
    case TVysledek::NeznamySoubor:
    case TVysledek::Zakazano:
        PosliChybu(p, EPristup, "Access violation");
        return;
    }
}

}  // namespace vk::sim
