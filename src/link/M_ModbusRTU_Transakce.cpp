// One request/reply exchange: send the frame with its CRC, wait until it has
// left the port, then wait for the reply, which has no length field of its
// own and ends only by a silence longer than the gap: the baud-rate code's,
// or the one OtevriPort chose for the port. An echo of the request ahead of
// the reply is dropped on the way in (TPrijemOdpovedi).
#include <algorithm>
#include <array>

#include "Crc16.h"
#include "RtuKanal.h"
#include "Stopa.h"
#include "Ukonceni.h"

namespace vk::link {

namespace {

using namespace std::chrono_literals;

// Bytes taken from the port in one pass. More than a 260-byte frame, so a
// line full of noise still reaches the 260-byte stop within one pass.
constexpr std::size_t BajtuZaPruchod = 1061;

// Longest slice of the reply wait. Each slice sleeps in poll until the next
// byte, the end of the gap or the time-out, whichever comes first, so the
// length of a slice bounds only how late a request to end the transfer is
// seen (it is checked between slices), not how late the reply's end is.
// A channel that wakes on the request itself sleeps without this bound
// (CekaniVPlatcich): each wakeup costs the thread far more CPU than the look
// at the question, about 17 of them in a 330 ms time-out.
constexpr std::chrono::microseconds NejdelsiPlatekOdpovedi = 20ms;

// Longest slice of the wait for the request to leave the port. A port tells
// no one when its output queue empties, so this wait looks again after each
// slice; a short slice keeps the reply clock from starting late.
constexpr std::chrono::microseconds NejdelsiPlatekOdeslani = 1ms;

// The smallest step of time the wait tells apart: "longer than the gap"
// means gap + this.
constexpr std::chrono::microseconds Krok = 1us;

// Bits of one character on the wire at most: start, 8 data, parity, stop.
constexpr std::uint64_t BituZnaku = 11;

// How long a request may take to leave the port before the exchange gives
// up: twice its time on the wire, plus room for a USB adapter's scheduling.
// A legitimate drain ends within the wire time (the driver's count reaches
// 0 once the adapter has taken the bytes); a port that never drains fails
// within 0.7 s for a full frame at 9600 Bd, within 10 s at 600 Bd.
constexpr std::chrono::milliseconds RezervaOdeslani = 100ms;

// States of the reply wait.
enum class TStavCekani {
    NaPrvniBajt,  // nothing has arrived yet, or only the request's echo: only the time-out can end the wait
    NaMezeru,     // bytes are arriving: a silence longer than the gap ends the reply
};

// The ways out of the reply wait.
enum class TKonecCekani {
    PlnyBuffer,    // 260 bytes counted: longer than any frame
    Mezera,        // the gap after the last byte
    Timeout,       // the whole reply took longer than the time-out
    Ukonceni,      // the program asked the transfer to end (PozadovanoUkonceni)
    SelhaniPortu,  // the port hung up or failed: no byte can come any more
};

struct TPrijem {
    TKonecCekani konec = TKonecCekani::Timeout;
    std::size_t pocet = 0;    // bytes counted; at most 260 of them are stored
    bool casVyprsel = false;  // the last pass measured more than the time-out since the start
    bool ozvena = false;      // the request's echo came first and was dropped
};

// The reply as its bytes arrive, with the request's echo taken out (Ozvena =
// echo). A two-wire adapter whose receiver stays on while it sends hands the
// whole request back ahead of the reply; no reply of the link's functions is
// its request byte for byte, so a whole copy at the start is dropped. A
// reply starts like its request all the same (address and function; a 0x45
// reply with the request's first seven bytes), so the bytes held back while
// they match are reply bytes for every rule of the wait (the gap, the
// time-out), and become stored reply bytes as soon as one differs or the
// wait ends. Their number is bounded by the request's length, so a line full
// of noise still reaches the 260-byte stop.
class TPrijemOdpovedi {
public:
    // `pozadavek` is the request frame as sent, CRC included; nullptr when
    // echoes are not removed.
    TPrijemOdpovedi(std::uint8_t* odpoved, const std::uint8_t* pozadavek, std::size_t delkaPozadavku)
        : odpoved_(odpoved), pozadavek_(delkaPozadavku > 0 ? pozadavek : nullptr), delkaPozadavku_(delkaPozadavku)
    {
    }

    void prijmi(std::uint8_t b)
    {
        if (pozadavek_ != nullptr) {
            if (b == pozadavek_[zadrzeno_]) {
                if (++zadrzeno_ < delkaPozadavku_)
                    return;
                // The whole request has come back: its echo, dropped. The
                // one place that knows, so the trace learns it here.
                StopujUdalost(TLinkaStopy::RTU,
                              "echo of the request dropped, " + std::to_string(delkaPozadavku_) + " bytes");
                pozadavek_ = nullptr;
                zadrzeno_ = 0;
                ozvena_ = true;
                return;
            }
            uvolni();
        }
        uloz(b);
    }

    // The bytes held back as a possible echo are the reply's first bytes
    // after all (uvolni = release).
    void uvolni()
    {
        if (pozadavek_ == nullptr)
            return;
        for (std::size_t i = 0; i < zadrzeno_; ++i)
            uloz(pozadavek_[i]);
        pozadavek_ = nullptr;
        zadrzeno_ = 0;
    }

    std::size_t pocet() const { return pocet_; }
    // Bytes of a frame are in, held back or stored (Probiha = under way).
    bool probiha() const { return pocet_ > 0 || zadrzeno_ > 0; }
    bool ozvena() const { return ozvena_; }

private:
    void uloz(std::uint8_t b)
    {
        if (pocet_ < MaxRamecRTU)
            odpoved_[pocet_] = b;
        ++pocet_;
    }

    std::uint8_t* odpoved_;
    const std::uint8_t* pozadavek_;  // while an echo is still possible
    std::size_t delkaPozadavku_;
    std::size_t zadrzeno_ = 0;  // held back: the request's first bytes (zadrženo = held back)
    std::size_t pocet_ = 0;
    bool ozvena_ = false;
};

std::chrono::microseconds Platek(Okamzik ted, Okamzik termin, std::chrono::microseconds nejdele)
{
    const auto zbyva = std::chrono::ceil<std::chrono::microseconds>(termin - ted);
    return std::clamp(zbyva, std::chrono::microseconds(0), nejdele);
}

std::chrono::microseconds LimitOdeslani(std::size_t bajtu, std::int32_t kodBaud)
{
    const std::uint64_t naDrate = 1'000'000u * BituZnaku * bajtu / RychlostBaud(kodBaud);
    return 2 * std::chrono::microseconds(naDrate) + RezervaOdeslani;
}

// The reply time-out counts from the end of the request on the wire, as the
// module's own time-out does. A frame of 249 bytes takes 285 ms at 9600 Bd
// with parity, so counting from the write would spend most of a 330 ms
// time-out before the module has the request. False when the request has not left in time, or
// when the transfer is asked to end meanwhile.
bool CekejNaOdeslani(TKanalRTU& kanal, std::chrono::microseconds limit)
{
    const Okamzik termin = kanal.now() + limit;
    for (;;) {
        if (kanal.waitDrained(Platek(kanal.now(), termin, NejdelsiPlatekOdeslani)))
            return true;
        if (kanal.now() >= termin || ZpracujZpravy())
            return false;
    }
}

TPrijem CekejNaOdpoved(TKanalRTU& kanal, std::chrono::milliseconds mezera, std::chrono::milliseconds timeout,
                       TPrijemOdpovedi& odpoved)
{
    const Okamzik start = kanal.now();
    Okamzik posledniBajt = start;
    TStavCekani stav = TStavCekani::NaPrvniBajt;
    std::array<std::uint8_t, BajtuZaPruchod> davka{};
    const auto konec = [&odpoved](TKonecCekani k, bool casVyprsel) {
        odpoved.uvolni();
        return TPrijem{k, odpoved.pocet(), casVyprsel, odpoved.ozvena()};
    };

    for (;;) {
        if (ZpracujZpravy())
            return konec(TKonecCekani::Ukonceni, false);

        Okamzik termin = start + timeout + Krok;
        if (stav == TStavCekani::NaMezeru)
            termin = std::min(termin, posledniBajt + mezera + Krok);
        const auto nejdele =
            CekaniVPlatcich(kanal.sledujeUkonceni()) ? NejdelsiPlatekOdpovedi : std::chrono::microseconds::max();
        const bool citelny = kanal.waitReadable(Platek(kanal.now(), termin, nejdele));

        const std::size_t n = citelny ? kanal.readAvailable(davka.data(), davka.size()) : 0;
        const Okamzik ted = kanal.now();
        for (std::size_t i = 0; i < n; ++i)
            odpoved.prijmi(davka[i]);
        if (n > 0) {
            posledniBajt = ted;
            // A dropped echo with nothing after it: the reply is still to come.
            stav = odpoved.probiha() ? TStavCekani::NaMezeru : TStavCekani::NaPrvniBajt;
        }

        const bool casVyprsel = ted - start > timeout;
        if (!kanal.selhaniPortu().empty())
            return konec(TKonecCekani::SelhaniPortu, casVyprsel);
        if (odpoved.pocet() >= MaxRamecRTU)
            return konec(TKonecCekani::PlnyBuffer, casVyprsel);
        if (stav == TStavCekani::NaMezeru && ted - posledniBajt > mezera)
            return konec(TKonecCekani::Mezera, casVyprsel);
        if (casVyprsel)
            return konec(TKonecCekani::Timeout, casVyprsel);
    }
}

// The way out of the wait as a cause for TMBRTU_ED::Pricina.
std::string PricinaCekani(const TPrijem& prijem, std::uint32_t timeoutMs)
{
    switch (prijem.konec) {
    case TKonecCekani::PlnyBuffer:
        return "odpověď delší než " + std::to_string(MaxRamecRTU) + " B";
    case TKonecCekani::Ukonceni:
        return "přenos ukončen";
    case TKonecCekani::Timeout:
    case TKonecCekani::Mezera:
    case TKonecCekani::SelhaniPortu:
        break;
    }
    if (prijem.pocet == 0)
        return "žádná odpověď do " + std::to_string(timeoutMs) + " ms";
    return "odpověď nedošla celá do " + std::to_string(timeoutMs) + " ms (" + std::to_string(prijem.pocet) + " B)";
}

TVysledekTransakce Vyhodnot(const TPrijem& prijem, const std::uint8_t* odpoved, std::uint16_t& delkaOdpovedi,
                            std::uint32_t timeoutMs, std::string& pricina)
{
    switch (prijem.konec) {
    case TKonecCekani::PlnyBuffer:
    case TKonecCekani::Timeout:
    case TKonecCekani::Ukonceni:
    case TKonecCekani::SelhaniPortu:
        pricina = PricinaCekani(prijem, timeoutMs);
        return TransakceNeuplnaOdpoved;
    case TKonecCekani::Mezera:
        break;
    }
    // A reply that ended by its gap but only after the time-out is late all
    // the same.
    if (prijem.casVyprsel) {
        pricina = PricinaCekani(prijem, timeoutMs);
        return TransakceNeuplnaOdpoved;
    }
    if (prijem.pocet < 4) {
        pricina = "odpověď má jen " + std::to_string(prijem.pocet) + " B";
        return TransakceNeuplnaOdpoved;
    }

    const std::size_t n = prijem.pocet - 2;
    const std::uint16_t crc = Crc16Modbus(odpoved, n);
    if (odpoved[n] != (crc & 0xFF) || odpoved[n + 1] != (crc >> 8)) {
        pricina = "chybné CRC odpovědi";
        return TransakceChybaCrc;
    }
    delkaOdpovedi = static_cast<std::uint16_t>(n);
    // Neither the address nor the echo of the function code is compared
    // with the request: the module answers only the one master on its line.
    if (odpoved[1] >= 0x80) {
        pricina = "modul odpověděl výjimkou " + std::to_string(odpoved[2]);
        return TransakceVyjimka;
    }
    return TransakceOdpoved;
}

// The port stays failed for this record (see TMBRTU_ID::Odpojen), with the
// cause kept beside the status text.
TVysledekTransakce Odpojeni(TMBRTU& link, const TKanalRTU& kanal, TVysledekTransakce vysledek)
{
    link.ID.Odpojen = true;
    link.ED.Pricina = kanal.selhaniPortu();
    return vysledek;
}

std::chrono::milliseconds MezeraOdpovedi(const TMBRTU_CFG& cfg)
{
    return std::chrono::milliseconds(cfg.Mezera > 0 ? cfg.Mezera : MezeraMs(cfg.KodBaud));
}

}  // namespace

TVysledekTransakce Transakce(TMBRTU& link, TKanalRTU& kanal, const std::uint8_t* pozadavek, std::size_t delka,
                             std::uint16_t& delkaOdpovedi, std::uint8_t* odpoved)
{
    delkaOdpovedi = 0;
    link.ED.Ozvena = false;
    if (!kanal.isOpen() || delka == 0 || delka > MaxRamecRTU || PozadovanoUkonceni() || link.ID.Odpojen)
        return TransakceNicNeodeslano;
    link.ED.Pricina.clear();

    std::array<std::uint8_t, MaxRamecRTU + 2> ramec{};
    std::copy_n(pozadavek, delka, ramec.begin());
    const std::uint16_t crc = Crc16Modbus(ramec.data(), delka);
    ramec[delka] = static_cast<std::uint8_t>(crc & 0xFF);
    ramec[delka + 1] = static_cast<std::uint8_t>(crc >> 8);
    // Bytes still in the port from an earlier, cut-off reply are not thrown
    // away: they are taken as the start of this reply.
    kanal.write(ramec.data(), delka + 2);
    StopujData(TLinkaStopy::RTU, true, ramec.data(), delka + 2);
    if (!kanal.selhaniPortu().empty())
        return Odpojeni(link, kanal, TransakceNicNeodeslano);
    if (!CekejNaOdeslani(kanal, LimitOdeslani(delka + 2, link.CFG.KodBaud))) {
        link.ED.Pricina = PozadovanoUkonceni() ? "přenos ukončen" : "dotaz neodešel z portu včas";
        StopujUdalost(TLinkaStopy::RTU, "failed: " + link.ED.Pricina);
        return TransakceNeuplnaOdpoved;
    }

    TPrijemOdpovedi prijimana(odpoved, link.CFG.OdstranitOzvenu ? ramec.data() : nullptr, delka + 2);
    const TPrijem prijem =
        CekejNaOdpoved(kanal, MezeraOdpovedi(link.CFG), std::chrono::milliseconds(link.CFG.Timeout), prijimana);
    link.ED.Ozvena = prijem.ozvena;
    if (prijem.pocet > 0)
        StopujData(TLinkaStopy::RTU, false, odpoved, std::min(prijem.pocet, MaxRamecRTU));
    if (prijem.konec == TKonecCekani::SelhaniPortu)
        return Odpojeni(link, kanal, TransakceNeuplnaOdpoved);
    const TVysledekTransakce vysledek = Vyhodnot(prijem, odpoved, delkaOdpovedi, link.CFG.Timeout, link.ED.Pricina);
    if (!link.ED.Pricina.empty())
        StopujUdalost(TLinkaStopy::RTU, "failed: " + link.ED.Pricina);
    return vysledek;
}

}  // namespace vk::link
