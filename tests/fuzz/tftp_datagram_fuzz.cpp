// "A datagram arrives in state S": the first four bytes choose the state of
// the client's transfer (direction, before or after the OACK, block number,
// block size, byte count) and the sender, the rest is the datagram. It runs
// through the client's pure step, and the step's answer is checked against
// what must hold for any input: nothing stored or read outside the datagram
// or the source, no block larger than negotiated, strangers never change
// the transfer, every packet goes to the peer or back to the stranger.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "TftpKlient.h"

using namespace vk::link;
using namespace vk::link::tftp;

namespace {

TAdresaUdp Adresa(const char* text)
{
    TAdresaUdp a;
    std::string chyba;
    if (!NajdiAdresu(text, 69, false, a, chyba))
        std::abort();
    return a;
}

void Over(bool podminka)
{
    if (!podminka)
        __builtin_trap();
}

TAkce Dorucit(TPrenos& p, const TAdresaUdp& od, const std::uint8_t* d, std::size_t n, bool orezan = false)
{
    return Krok(p, TUdalost::Datagram, od, d, n, orezan);
}

std::uint8_t Ack[4] = {0, 4, 0, 0};

// Brings a transfer into the chosen state through the step itself, as a
// well-behaved module would, then adjusts the counters the state keeps.
TPrenos Priprav(const std::uint8_t* h, const TAdresaUdp& server, const TAdresaUdp& peer)
{
    const std::uint8_t vyber = h[0] % 6;
    const std::uint16_t cislo = static_cast<std::uint16_t>(h[1] << 8 | h[2]);
    const bool zapis = vyber >= 3;
    const std::uint64_t celkem = static_cast<std::uint64_t>(cislo) * 37 + h[3];
    TPrenos p = NovyPrenos(zapis ? TSmer::Zapis : TSmer::Cteni, "log.bin", server, 1500, celkem, h[3] >> 6);
    Krok(p, TUdalost::Zahajeni);
    p.Opakovano = (h[3] >> 4) & 3;
    const std::uint16_t blok = static_cast<std::uint16_t>(8 + cislo % 1493);  // 8..1500
    const std::string blokText = std::to_string(blok);
    std::string oack("\0\6blksize\0", 10);
    oack += blokText;
    oack.push_back('\0');
    const auto* oackData = reinterpret_cast<const std::uint8_t*>(oack.data());
    switch (vyber) {
    case 0:  // read request sent
        break;
    case 1:  // read after an OACK
        Dorucit(p, peer, oackData, oack.size());
        break;
    case 2:  // read in the middle, expecting block `cislo` + 1
        Dorucit(p, peer, oackData, oack.size());
        p.Blok = cislo;
        p.Preneseno = static_cast<std::uint64_t>(cislo) * blok;
        break;
    case 3:  // write request sent
        break;
    case 4:  // write after ACK 0: block 1 sent
        Dorucit(p, peer, Ack, sizeof Ack);
        break;
    case 5:  // write after an OACK, in the middle at block `cislo`
        Dorucit(p, peer, oackData, oack.size());
        if (!JeKonec(p)) {
            p.Blok = cislo;
            p.Preneseno = std::min<std::uint64_t>(celkem, static_cast<std::uint64_t>(cislo) * p.VelikostBloku);
            p.Dokonceno = (h[3] & 1) != 0;
        }
        break;
    }
    return p;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const TAdresaUdp server = Adresa("127.0.0.1:69");
    static const TAdresaUdp peer = Adresa("127.0.0.1:40000");
    static const TAdresaUdp ciziPort = Adresa("127.0.0.1:40001");
    static const TAdresaUdp ciziHost = Adresa("10.1.2.3:40000");
    if (size < 4)
        return 0;
    TPrenos p = Priprav(data, server, peer);
    const TAdresaUdp* odesilatele[] = {&peer, &peer, &peer, &peer, &peer, &ciziPort, &ciziHost, &server};
    const TAdresaUdp& od = *odesilatele[(data[0] >> 3) & 7];
    const bool orezan = (data[0] & 0xC0) == 0xC0;
    const std::uint8_t* datagram = data + 4;
    const std::size_t delka = size - 4;

    const TPrenos pred = p;
    const TAkce akce = Dorucit(p, od, datagram, delka, orezan);

    Over(p.VelikostBloku >= NejmensiBlok && p.VelikostBloku <= NejvetsiBlok);
    // Data taken at one block size are never read on at another.
    if (p.Smer == TSmer::Cteni && pred.Blok > 0)
        Over(p.VelikostBloku == pred.VelikostBloku);
    if (akce.Uloz) {
        Over(p.Smer == TSmer::Cteni);
        Over(akce.UlozOd + akce.UlozPocet <= delka);
        Over(akce.UlozPocet <= p.VelikostBloku);
        Over(!orezan);
    }
    if (akce.PosliData) {
        Over(p.Smer == TSmer::Zapis);
        Over(akce.DataPocet <= p.VelikostBloku);
        Over(akce.DataOd + akce.DataPocet <= p.Celkem);
    }
    if (akce.Cizi) {
        Over(p.Stav == pred.Stav && p.Blok == pred.Blok && p.Preneseno == pred.Preneseno);
        Over(!akce.Uloz && !akce.PosliData && akce.Pakety.size() <= 1);
        Over(!akce.Opakuj && !akce.Posledni && p.Opakovano == pred.Opakovano);
    }
    // A packet goes again only as a retry of its own, never beside new data,
    // and never beyond the retries (the Sorcerer's Apprentice).
    if (akce.Opakuj) {
        Over(pred.Opakovano < pred.Opakovani && p.Opakovano == pred.Opakovano + 1);
        Over(!akce.Uloz && !akce.PosliData && !akce.Posledni && akce.Pakety.empty() && !JeKonec(p));
    }
    // A packet kept to go again is one the transfer still waits on.
    if (akce.Posledni)
        Over(!akce.Pakety.empty() && !JeKonec(p) && p.Opakovano == 0);
    for (const auto& paket : akce.Pakety) {
        Over(paket.Komu == (akce.Cizi ? od : p.Protejsek));
        Over(paket.Data.size() >= 4);
    }
    // A step after the end does nothing.
    if (JeKonec(p)) {
        const TPrenos konec = p;
        const TAkce dalsi = Dorucit(p, p.Protejsek, datagram, delka);
        Over(p.Stav == konec.Stav && dalsi.Pakety.empty() && !dalsi.Uloz && !dalsi.PosliData && !dalsi.Opakuj);
    }
    // The option reader alone, on the same bytes read as an OACK.
    TVolby volby;
    std::string zprava;
    if (CtiVolby(datagram, delka, volby, zprava))
        Over(volby.VelikostBloku >= NejmensiBlok && volby.VelikostBloku <= NejvetsiBlok);
    return 0;
}
