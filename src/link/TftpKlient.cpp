#include "TftpKlient.h"

#include <cstring>
#include <netinet/in.h>

namespace vk::link::tftp {

namespace {

bool StejnaAdresaHostitele(const TAdresaUdp& a, const TAdresaUdp& b)
{
    if (a.Adresa.ss_family != b.Adresa.ss_family)
        return false;
    if (a.Adresa.ss_family == AF_INET) {
        sockaddr_in x{};
        sockaddr_in y{};
        std::memcpy(&x, &a.Adresa, sizeof x);
        std::memcpy(&y, &b.Adresa, sizeof y);
        return x.sin_addr.s_addr == y.sin_addr.s_addr;
    }
    if (a.Adresa.ss_family == AF_INET6) {
        sockaddr_in6 x{};
        sockaddr_in6 y{};
        std::memcpy(&x, &a.Adresa, sizeof x);
        std::memcpy(&y, &b.Adresa, sizeof y);
        return std::memcmp(&x.sin6_addr, &y.sin6_addr, sizeof x.sin6_addr) == 0 && x.sin6_scope_id == y.sin6_scope_id;
    }
    return false;
}

void Posli(TAkce& akce, const TPrenos& p, std::vector<std::uint8_t> data)
{
    akce.Pakety.push_back({p.ProtejsekZnamy ? p.Protejsek : p.Server, std::move(data)});
}

// The first of the step's packets (a request or an ACK) now waits for the
// peer's answer, with all its retries still to come.
void CekaNaOdpoved(TAkce& akce, TPrenos& p)
{
    akce.Posledni = true;
    p.Opakovano = 0;
}

// RFC 1350: the side that sent the last packet sends it again. It goes
// again while retries are left, whatever prompts it (the reply wait ran
// out, or the peer repeats the datagram that packet answered), so no packet
// crosses more than 1 + Opakovani times; false when none are left.
bool Opakuj(TPrenos& p, TAkce& akce)
{
    if (p.Opakovano >= p.Opakovani)
        return false;
    ++p.Opakovano;
    akce.Opakuj = true;
    return true;
}

// The module's ERROR as the cause: its code and its text, which says why
// (a refused write, a file too large); bytes outside printable ASCII as '?'.
std::string ChybaModulu(const std::uint8_t* data, std::size_t delka)
{
    std::string text = "modul odmítl přenos: ERROR";
    if (delka < 4)
        return text;
    text += " " + std::to_string(Cti16(data + 2));
    std::string zprava;
    for (std::size_t i = 4; i < delka && data[i] != 0; ++i)
        zprava += data[i] >= 0x20 && data[i] < 0x7F ? static_cast<char>(data[i]) : '?';
    return zprava.empty() ? text : text + " \"" + zprava + "\"";
}

TAkce Selhal(TPrenos& p, std::string duvod)
{
    p.Stav = TStav::Selhani;
    p.Duvod = std::move(duvod);
    return {};
}

TAkce SelhalSChybou(TPrenos& p, std::uint16_t kod, const std::string& zprava, std::string duvod)
{
    TAkce akce;
    Posli(akce, p, PaketChyby(kod, zprava));
    p.Stav = TStav::Selhani;
    p.Duvod = std::move(duvod);
    return akce;
}

// The options of an OACK; on refusal ERROR 8 goes back and the transfer ends.
bool CtiVolbyOack(TPrenos& p, const std::uint8_t* data, std::size_t delka, TVolby& volby, TAkce& akce)
{
    std::string zprava;
    if (!CtiVolby(data, delka, volby, zprava)) {
        akce = SelhalSChybou(p, ChybaVoleb, zprava, "odmítnuté volby: " + zprava);
        return false;
    }
    return true;
}

void PouzijVolby(TPrenos& p, const TVolby& volby)
{
    p.VelikostBloku = volby.VelikostBloku;
    if (p.Smer == TSmer::Cteni)
        p.Celkem = volby.Velikost;
}

// The next DATA block of a write: its length follows from what is left, so
// the step needs no access to the source.
TAkce DalsiBlok(TPrenos& p)
{
    TAkce akce;
    const std::uint64_t zbyva = p.Celkem - p.Preneseno;
    const std::size_t pocet = zbyva < p.VelikostBloku ? static_cast<std::size_t>(zbyva) : p.VelikostBloku;
    akce.PosliData = true;
    akce.DataBlok = static_cast<std::uint16_t>(p.Blok + 1);
    akce.DataOd = p.Preneseno;
    akce.DataPocet = pocet;
    akce.Prubeh = true;
    p.Opakovano = 0;
    p.Blok = akce.DataBlok;
    p.Preneseno += pocet;
    // A source that is a whole number of blocks ends with an empty block.
    p.Dokonceno = pocet < p.VelikostBloku;
    p.Stav = TStav::CekaNaAck;
    return akce;
}

// Read: DATA with the expected number is stored and acknowledged. The block
// taken last, come again, means the module missed its ACK: the ACK goes
// again while retries are left, and the block is not stored twice. Any
// other number, and a repeat once no retry is left (at once without
// retries), is dropped unanswered: one more ACK would only invite one more
// repeated block.
TAkce PrijmiData(TPrenos& p, const std::uint8_t* data, std::size_t delka, bool orezan)
{
    if (delka < 4)
        return SelhalSChybou(p, ChybaOperace, "", "zkrácený DATA");
    const std::uint16_t blok = Cti16(data + 2);
    if (blok != static_cast<std::uint16_t>(p.Blok + 1)) {
        TAkce akce;
        if (p.Blok != 0 && blok == p.Blok)
            Opakuj(p, akce);
        return akce;
    }
    // Longer than granted: the peer does not keep to its own block size, so
    // its data cannot be trusted.
    if (orezan || delka > static_cast<std::size_t>(p.VelikostBloku) + 4)
        return SelhalSChybou(p, ChybaOperace, "", "DATA delší než blok");
    TAkce akce;
    akce.Uloz = true;
    akce.UlozOd = 4;
    akce.UlozPocet = delka - 4;
    akce.Prubeh = true;
    Posli(akce, p, PaketAck(blok));
    p.Preneseno += akce.UlozPocet;
    p.Blok = blok;
    const bool plny = delka >= static_cast<std::size_t>(p.VelikostBloku) + 4;
    if (blok == 65535 && plny) {
        // Another block would need number 0 again; rather than guess how the
        // peer wraps, the client stops here.
        Posli(akce, p, PaketChyby(ChybaOperace, ""));
        p.Stav = TStav::Selhani;
        p.Duvod = "číslo bloku by přeteklo";
        return akce;
    }
    // The last ACK waits for nothing: the file is whole, and the transfer
    // ends without lingering for a repeat of the last block.
    if (plny)
        CekaNaOdpoved(akce, p);
    p.Stav = plny ? TStav::CekaNaData : TStav::Hotovo;
    return akce;
}

// Read: every OACK is answered with ACK 0. A server whose ACK 0 was lost
// sends its OACK again, and gets ACK 0 again, which then waits for DATA 1
// with its retries anew; after DATA 1 a late repeat still gets ACK 0, but
// the ACK that waits stays the last block's. One that would change the
// block size once the first reply has set it is refused: the blocks would be
// judged by a size the peer may not be using, and a block full at its size
// could look short at the new one and end the file early as a success.
TAkce PrijmiOackCteni(TPrenos& p, const std::uint8_t* data, std::size_t delka)
{
    TAkce akce;
    TVolby volby;
    if (!CtiVolbyOack(p, data, delka, volby, akce))
        return akce;
    if (p.Stav != TStav::CekaNaOdpovedCteni && volby.VelikostBloku != p.VelikostBloku)
        return SelhalSChybou(p, ChybaOperace, "", "OACK mění velikost bloku za běhu přenosu");
    PouzijVolby(p, volby);
    Posli(akce, p, PaketAck(0));
    if (p.Blok == 0)
        CekaNaOdpoved(akce, p);
    p.Stav = TStav::CekaNaData;
    return akce;
}

TAkce ZpracujCteni(TPrenos& p, const std::uint8_t* data, std::size_t delka, bool orezan)
{
    const std::uint16_t opcode = delka >= 2 ? Cti16(data) : 0;
    if (opcode == OpERROR)
        return Selhal(p, ChybaModulu(data, delka));
    if (orezan)
        return SelhalSChybou(p, ChybaOperace, "", "datagram delší než vyrovnávací paměť");
    if (opcode == OpDATA)
        return PrijmiData(p, data, delka, orezan);
    if (opcode == OpOACK)
        return PrijmiOackCteni(p, data, delka);
    return SelhalSChybou(p, ChybaOperace, "", "neočekávaný opcode " + std::to_string(opcode));
}

TAkce ZpracujZapis(TPrenos& p, const std::uint8_t* data, std::size_t delka, bool orezan)
{
    const std::uint16_t opcode = delka >= 2 ? Cti16(data) : 0;
    if (opcode == OpERROR)
        return Selhal(p, ChybaModulu(data, delka));
    if (orezan)
        return SelhalSChybou(p, ChybaOperace, "", "datagram delší než vyrovnávací paměť");
    if (opcode == OpACK && delka >= 4) {
        const std::uint16_t blok = Cti16(data + 2);
        // The ACK of an earlier block, come again, is dropped: sending the
        // next block once more for it would make every later block go twice
        // (the Sorcerer's Apprentice). A lost block goes again on the time-out.
        if (blok != p.Blok)
            return {};
        if (p.Dokonceno) {
            p.Stav = TStav::Hotovo;
            return {};
        }
        if (blok == 65535)
            return SelhalSChybou(p, ChybaMisto, "", "číslo bloku by přeteklo");
        return DalsiBlok(p);
    }
    if (opcode == OpOACK && p.Blok == 0) {
        TAkce akce;
        TVolby volby;
        if (!CtiVolbyOack(p, data, delka, volby, akce))
            return akce;
        PouzijVolby(p, volby);
        return DalsiBlok(p);
    }
    // The OACK again while block 1 waits for its ACK: the module missed
    // block 1 and repeats its answer, so block 1 goes again while retries
    // are left. Once block 1 has gone out at one size, the peer cannot
    // change it.
    if (opcode == OpOACK && p.Blok == 1) {
        TAkce akce;
        TVolby volby;
        if (!CtiVolbyOack(p, data, delka, volby, akce))
            return akce;
        if (volby.VelikostBloku != p.VelikostBloku)
            return SelhalSChybou(p, ChybaOperace, "", "OACK mění velikost bloku za běhu přenosu");
        Opakuj(p, akce);
        return akce;
    }
    return SelhalSChybou(p, ChybaOperace, "", "neočekávaný opcode " + std::to_string(opcode));
}

TAkce Zahaj(TPrenos& p)
{
    TAkce akce;
    if (p.Smer == TSmer::Cteni) {
        Posli(akce, p, ZadostCteni(p.Soubor, p.Pozadovany));
        p.Stav = TStav::CekaNaOdpovedCteni;
    } else {
        Posli(akce, p, ZadostZapisu(p.Soubor, p.Pozadovany, p.Celkem));
        p.Stav = TStav::CekaNaOdpovedZapisu;
    }
    CekaNaOdpoved(akce, p);
    return akce;
}

// A time-out's cause says how long and how often the client tried, and
// names a stranger refused meanwhile: a module that restarted in the middle
// of a transfer answers from a new port, and only this shows it.
std::string PricinaVyprseni(const TPrenos& p)
{
    std::string text = "modul neodpověděl do " + std::to_string(p.Cekani) + " ms";
    if (p.Opakovano > 0)
        text += ", odesláno znovu " + std::to_string(p.Opakovano) + "×";
    if (p.CiziOdmitnut)
        text += std::string("; datagramy z ") +
                (StejnaAdresaHostitele(p.Cizi, p.Server) ? "jiného portu" : "jiné adresy") + " (" + p.Cizi.Text() +
                ") byly odmítnuty";
    return text;
}

// The transfer ID: only the module's address may answer, and once it has
// answered, only from that port. Anyone else gets ERROR 5 and is otherwise
// ignored, so a host on the LAN cannot inject data or end the transfer.
bool PrijmiOdesilatele(TPrenos& p, const TAdresaUdp& od, const std::uint8_t* data, std::size_t delka, TAkce& akce)
{
    const bool zname = p.ProtejsekZnamy ? od == p.Protejsek : StejnaAdresaHostitele(od, p.Server);
    if (!zname) {
        akce.Cizi = true;
        p.Cizi = od;
        p.CiziOdmitnut = true;
        // An ERROR is never answered, so two parties cannot bounce refusals
        // back and forth.
        const bool jeChyba = delka >= 2 && Cti16(data) == OpERROR;
        if (!jeChyba)
            akce.Pakety.push_back({od, PaketChyby(ChybaTid, "Unknown transfer ID")});
        return false;
    }
    p.CiziOdmitnut = false;
    if (!p.ProtejsekZnamy) {
        p.Protejsek = od;
        p.ProtejsekZnamy = true;
    }
    return true;
}

TAkce VeStavuCekani(TPrenos& p, TUdalost udalost, const TAdresaUdp& od, const std::uint8_t* data, std::size_t delka,
                    bool orezan)
{
    switch (udalost) {
    case TUdalost::Vyprseni: {
        // The request, ACK or DATA block last sent goes again; with the
        // retries used up the transfer fails, without a farewell.
        TAkce akce;
        if (Opakuj(p, akce))
            return akce;
        return Selhal(p, PricinaVyprseni(p));
    }
    case TUdalost::Ukonceni:
        // The module's side of the transfer is told, so that it stops
        // resending instead of waiting out its own time-out; before its
        // first answer there is no transfer port to tell.
        if (!p.ProtejsekZnamy)
            return Selhal(p, "přenos ukončen");
        return SelhalSChybou(p, ChybaNedefinovana, "", "přenos ukončen");
    case TUdalost::Datagram: {
        if (data == nullptr)
            delka = 0;
        TAkce akce;
        if (!PrijmiOdesilatele(p, od, data, delka, akce))
            return akce;
        return p.Smer == TSmer::Cteni ? ZpracujCteni(p, data, delka, orezan) : ZpracujZapis(p, data, delka, orezan);
    }
    case TUdalost::Zahajeni:
        break;
    }
    return Selhal(p, "vnitřní chyba: zahájení za běhu přenosu");
}

}  // namespace

TPrenos NovyPrenos(TSmer smer, const std::string& soubor, const TAdresaUdp& server, std::uint16_t blok,
                   std::uint64_t celkem, std::int32_t opakovani)
{
    TPrenos p;
    p.Smer = smer;
    p.Soubor = soubor;
    p.Server = server;
    p.Pozadovany = blok;
    p.Celkem = smer == TSmer::Zapis ? celkem : 0;
    p.Opakovani = opakovani > 0 ? opakovani : 0;
    return p;
}

TAkce Krok(TPrenos& p, TUdalost udalost, const TAdresaUdp& od, const std::uint8_t* data, std::size_t delka, bool orezan)
{
    switch (p.Stav) {
    case TStav::Zacatek:
        if (udalost == TUdalost::Zahajeni)
            return Zahaj(p);
        if (udalost == TUdalost::Ukonceni)
            return Selhal(p, "přenos ukončen");
        return Selhal(p, "vnitřní chyba: událost před zahájením");
    case TStav::CekaNaOdpovedCteni:
    case TStav::CekaNaData:
        if (p.Smer != TSmer::Cteni)
            break;
        return VeStavuCekani(p, udalost, od, data, delka, orezan);
    case TStav::CekaNaOdpovedZapisu:
    case TStav::CekaNaAck:
        if (p.Smer != TSmer::Zapis)
            break;
        return VeStavuCekani(p, udalost, od, data, delka, orezan);
    case TStav::Hotovo:
    case TStav::Selhani:
        return {};
    }
    return Selhal(p, "vnitřní chyba: neznámý stav");
}

bool JeKonec(const TPrenos& p)
{
    return p.Stav == TStav::Hotovo || p.Stav == TStav::Selhani;
}

}  // namespace vk::link::tftp
