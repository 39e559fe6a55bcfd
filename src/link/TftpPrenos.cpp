#include "TftpPrenos.h"

#include <algorithm>
#include <vector>

#include "Cas.h"
#include "Stopa.h"
#include "Ukonceni.h"

namespace vk::link::tftp {

namespace {

constexpr std::uint16_t PortTftp = 69;

struct TBeh {
    UdpSocket Socket;
    TPrenos Prenos;
    std::vector<std::uint8_t> Prijem = std::vector<std::uint8_t>(VelikostPrijmu);
    std::vector<std::uint8_t> Data;  // the payload of the DATA block being sent
    TPaketKOdeslani Posledni;        // the packet that waits for an answer, as it went out
    Okamzik Odeslano = Ted();        // when it last went out: its reply wait runs from here
    const TUlozeni* Uloz = nullptr;
    const TCteniZdroje* Cti = nullptr;
    const TPrubeh* Prubeh = nullptr;
    bool Ukoncit = false;  // a pump asked the transfer to end
};

// Every datagram of the transfer leaves here, so the trace sees each one.
bool Posli(TBeh& beh, const TAdresaUdp& komu, const std::uint8_t* data, std::size_t pocet)
{
    StopujData(TLinkaStopy::TFTP, true, data, pocet);
    return beh.Socket.Posli(komu, data, pocet);
}

void Selhani(TBeh& beh, std::string duvod)
{
    beh.Prenos.Stav = TStav::Selhani;
    beh.Prenos.Duvod = std::move(duvod);
}

// The packet just sent waits for the peer's answer: kept to go again, and
// its reply wait starts.
void Uschovej(TBeh& beh, const TAdresaUdp& komu, std::vector<std::uint8_t> data)
{
    beh.Posledni = {komu, std::move(data)};
    beh.Odeslano = Ted();
}

// Every retransmission leaves here and nowhere else: the kept packet goes
// again byte for byte, and its reply wait starts anew.
void PosliZnovu(TBeh& beh)
{
    const TPaketKOdeslani& paket = beh.Posledni;
    if (paket.Data.empty()) {
        Selhani(beh, "vnitřní chyba: žádný paket k opakování");
        return;
    }
    StopujUdalost(TLinkaStopy::TFTP, "retransmission " + std::to_string(beh.Prenos.Opakovano) + " of " +
                                         std::to_string(beh.Prenos.Opakovani));
    if (!Posli(beh, paket.Komu, paket.Data.data(), paket.Data.size())) {
        Selhani(beh, "paket nelze odeslat znovu");
        return;
    }
    beh.Odeslano = Ted();
}

// Carries out a step's actions in the order the step expects.
void Proved(TBeh& beh, const TAkce& akce, std::size_t delkaPrijmu)
{
    TPrenos& p = beh.Prenos;
    if (akce.Uloz) {
        const bool vejde = akce.UlozOd + akce.UlozPocet <= delkaPrijmu;
        if (!vejde || !(*beh.Uloz)(beh.Prijem.data() + akce.UlozOd, akce.UlozPocet)) {
            const auto chyba = PaketChyby(ChybaMisto, "");
            Posli(beh, p.Protejsek, chyba.data(), chyba.size());
            Selhani(beh, "přijatá data nelze uložit");
            return;
        }
    }
    if (akce.PosliData) {
        beh.Data.resize(akce.DataPocet);
        if (!(*beh.Cti)(akce.DataOd, beh.Data.data(), akce.DataPocet)) {
            const auto chyba = PaketChyby(ChybaNedefinovana, "");
            Posli(beh, p.Protejsek, chyba.data(), chyba.size());
            Selhani(beh, "zdroj nelze přečíst");
            return;
        }
        auto paket = PaketDat(akce.DataBlok, beh.Data.data(), beh.Data.size());
        if (!Posli(beh, p.Protejsek, paket.data(), paket.size())) {
            Selhani(beh, "DATA nelze odeslat");
            return;
        }
        Uschovej(beh, p.Protejsek, std::move(paket));
    }
    if (akce.Prubeh) {
        if (ZpracujZpravy())
            beh.Ukoncit = true;
        if (*beh.Prubeh)
            (*beh.Prubeh)(p.Preneseno, p.Celkem);
    }
    for (const auto& paket : akce.Pakety) {
        // A refusal sent to a stranger may be lost without harm.
        if (!Posli(beh, paket.Komu, paket.Data.data(), paket.Data.size()) && !akce.Cizi && p.Stav != TStav::Selhani)
            Selhani(beh, "paket nelze odeslat");
    }
    if (akce.Posledni && !akce.Pakety.empty())
        Uschovej(beh, akce.Pakety.front().Komu, akce.Pakety.front().Data);
    if (akce.Opakuj && !JeKonec(p))
        PosliZnovu(beh);
}

// Waits for a datagram until the reply wait of the packet last sent runs
// out, `cekaniMs` after it went out (again). A datagram that sends nothing
// to wait for (a stranger's, a duplicate) lets the wait go on towards the
// same deadline, so strays can neither end nor stretch it.
void CekejNaDatagram(TBeh& beh, std::int32_t cekaniMs)
{
    for (;;) {
        const std::int64_t zbyva = cekaniMs - UplynuloMs(beh.Odeslano);
        if (zbyva <= 0) {
            Proved(beh, Krok(beh.Prenos, TUdalost::Vyprseni), 0);
            return;
        }
        const auto slice = static_cast<std::int32_t>(std::min<std::int64_t>(zbyva, SliceCekaniMs));
        TAdresaUdp od;
        std::size_t celkem = 0;
        const long delka = beh.Socket.Prijmi(beh.Prijem.data(), beh.Prijem.size(), slice, od, &celkem);
        if (delka == -1) {
            if (ZpracujZpravy()) {
                beh.Ukoncit = true;
                return;
            }
            continue;
        }
        if (delka < 0) {
            Selhani(beh, "chyba příjmu z UDP socketu");
            return;
        }
        const auto n = static_cast<std::size_t>(delka);
        StopujData(TLinkaStopy::TFTP, false, beh.Prijem.data(), n);
        const TAkce akce = Krok(beh.Prenos, TUdalost::Datagram, od, beh.Prijem.data(), n, celkem > n);
        Proved(beh, akce, n);
        if (!akce.Cizi)
            return;
    }
}

bool Spust(TBeh& beh, std::int32_t cekaniMs, std::string& duvod)
{
    if (PozadovanoUkonceni()) {
        duvod = "přenos ukončen před zahájením";
        return false;
    }
    std::string chyba;
    if (!beh.Socket.Otevri(beh.Prenos.Server, chyba)) {
        duvod = chyba;
        return false;
    }
    beh.Prenos.Cekani = cekaniMs;
    Proved(beh, Krok(beh.Prenos, TUdalost::Zahajeni), 0);
    while (!JeKonec(beh.Prenos)) {
        if (beh.Ukoncit)
            Proved(beh, Krok(beh.Prenos, TUdalost::Ukonceni), 0);
        else
            CekejNaDatagram(beh, cekaniMs);
    }
    // Every transfer has its own socket, so a late datagram of this one can
    // never reach the next.
    beh.Socket.Zavri();
    duvod = beh.Prenos.Duvod;
    return beh.Prenos.Stav == TStav::Hotovo;
}

bool NajdiServer(const TTFTPKlient& klient, TAdresaUdp& server, std::string& duvod)
{
    return NajdiAdresu(klient.Server, PortTftp, klient.IPv6, server, duvod);
}

}  // namespace

bool PrenesCteni(const TTFTPKlient& klient, const std::string& soubor, const TUlozeni& uloz, const TPrubeh& prubeh,
                 std::string& duvod)
{
    TAdresaUdp server;
    if (!NajdiServer(klient, server, duvod))
        return false;
    TBeh beh;
    beh.Prenos = NovyPrenos(TSmer::Cteni, soubor, server, klient.Blok, 0, klient.Opakovani);
    beh.Uloz = &uloz;
    beh.Prubeh = &prubeh;
    return Spust(beh, klient.CekaniCteni, duvod);
}

bool PrenesZapis(const TTFTPKlient& klient, const std::string& soubor, std::uint64_t pocet, const TCteniZdroje& cti,
                 const TPrubeh& prubeh, std::string& duvod)
{
    // The last block is the short one (empty after whole blocks), and a
    // block number past 65535 would wrap: such a file is refused before the
    // first datagram instead of failing after 65535 blocks.
    const std::uint64_t nejvic = static_cast<std::uint64_t>(NejvetsiCisloBloku) * klient.Blok - 1;
    if (pocet > nejvic) {
        duvod = "soubor má " + std::to_string(pocet) + " B, do " + std::to_string(NejvetsiCisloBloku) + " bloků po " +
                std::to_string(klient.Blok) + " B se vejde nejvýš " + std::to_string(nejvic) + " B";
        return false;
    }
    TAdresaUdp server;
    if (!NajdiServer(klient, server, duvod))
        return false;
    TBeh beh;
    beh.Prenos = NovyPrenos(TSmer::Zapis, soubor, server, klient.Blok, pocet, klient.Opakovani);
    beh.Cti = &cti;
    beh.Prubeh = &prubeh;
    return Spust(beh, klient.CekaniZapisu, duvod);
}

}  // namespace vk::link::tftp
