#include "Hledani.h"

#include "M_ModbusRTU.h"
#include "OblastKonfigurace.h"
#include "RtuHledani.h"
#include "RtuTexty.h"
#include "Ukonceni.h"

namespace vk::procedures {

namespace {

constexpr const char* TextNalezen = "Modul nalezen: ";
constexpr const char* TextNalezeno = "Nalezeno modulů: ";  // + count
constexpr const char* TextNenalezen = "Modul nenalezen";
constexpr const char* TextPreruseno = "Hledání přerušeno";

// An identification request and its reply on the wire: address, 0x45, the
// embedded length (2 bytes), 8 embedded bytes, CRC.
constexpr std::size_t BajtuPozadavku = 14;
constexpr std::size_t BajtuOdpovedi = 14;

constexpr std::int32_t PrvniKodBaud = 2;  // 2400 Bd, the slowest rate the connection offers
constexpr std::int32_t PosledniKodBaud = 8;

struct THledani {  // one search as it runs
    TVysledekHledani& v;
    const TZadaniHledani& zadani;
    const link::TPrubeh& prubeh;
    std::int32_t cisloCOM = 0;
    std::uint32_t planovano = 0;  // tries planned
    link::TMBRTU link;
};

TVysledekHledani& Konec(TVysledekHledani& v, TKonecHledani konec, std::string text)
{
    v.Konec = konec;
    v.Text = std::move(text);
    return v;
}

void Pokus(THledani& h)
{
    ++h.v.Pokusu;
    if (h.prubeh)
        h.prubeh(h.v.Pokusu, h.planovano);
}

// Whether an identity is a module's: a type of printable characters. The
// request's own echo, read back where no echo is removed, passes every check
// of the reply (a 0x45 reply is as long as its request and starts like it)
// and gives an identity of zero bytes: at a setting the module does not
// answer, it must not count as found.
bool IdentitaModulu(const TIdentitaUART& identita)
{
    bool znak = false;
    for (const char c : identita.Typ) {
        if (c == '\0' || c == ' ')
            continue;
        if (c < 0x21 || c > 0x7E)
            return false;
        znak = true;
    }
    return znak;
}

// One try at the open port's settings: the identity at `adresa`, read
// whole when the module answers.
bool Zkus(THledani& h, std::int32_t adresa)
{
    h.link.CFG.Adresa = static_cast<std::uint8_t>(adresa);
    TNalezenyModul m;
    m.Adresa = adresa;
    const bool odpoved = PrectiIdentituUART(h.link, m.Identita);
    Pokus(h);
    if (!odpoved || !IdentitaModulu(m.Identita))
        return false;
    m.TypVerze = m.Identita.Typ + "  v." + m.Identita.Verze;
    h.v.Moduly.push_back(std::move(m));
    return true;
}

bool Otevri(THledani& h, std::int32_t kodBaud, std::int32_t kodParita)
{
    const std::int32_t nejmene = h.zadani.NejkratsiCekaniMs > 0 ? h.zadani.NejkratsiCekaniMs : core::VychoziHledaniMs;
    if (link::OtevriPort(h.cisloCOM, kodBaud, kodParita, 0, h.link, h.v.Zarizeni, h.zadani.Volby) != 0)
        return false;
    const auto cekani =
        link::CekaniPokusu(h.link.CFG, BajtuPozadavku, BajtuOdpovedi, std::chrono::milliseconds(nejmene));
    h.link.CFG.Timeout = static_cast<std::uint32_t>(cekani.count());
    return true;
}

std::string Nastaveni(const TVysledekHledani& v)
{
    return std::to_string(link::RychlostBaud(v.KodBaud)) + " Bd, parita " + NazevParity(v.KodParita);
}

// Every rate and parity at the given address, until one is answered.
// False when the search has ended already (port, stop).
bool HledejRychlost(THledani& h, std::int32_t adresa)
{
    for (std::int32_t kodBaud = PrvniKodBaud; kodBaud <= PosledniKodBaud; ++kodBaud) {
        for (std::int32_t kodParita = 0; kodParita < PocetPolozekParita; ++kodParita) {
            if (link::ZpracujZpravy()) {
                Konec(h.v, TKonecHledani::Preruseno, TextPreruseno);
                return false;
            }
            if (!Otevri(h, kodBaud, kodParita)) {
                h.v.COM = ZjistiZarizeni(h.v.Zarizeni);
                // A device given by its path has no COM number to name.
                Konec(h.v, TKonecHledani::ChybaPortu,
                      h.cisloCOM > 0 ? h.link.ED.StatusText : std::string(link::texty::ChybaOtevreniCOM));
                return false;
            }
            if (Zkus(h, adresa)) {
                h.v.KodBaud = kodBaud;
                h.v.KodParita = kodParita;
                return true;
            }
            link::ZavriPort(h.link);
        }
    }
    Konec(h.v, TKonecHledani::Nenalezen,
          std::string(TextNenalezen) + " (adresa " + std::to_string(adresa) + ", " +
              std::to_string(link::RychlostBaud(PrvniKodBaud)) + " až " +
              std::to_string(link::RychlostBaud(PosledniKodBaud)) + " Bd, každá parita)");
    return false;
}

// Every address at the rate found; the one found first is asked again, so
// that the list is in the order of the addresses.
bool HledejAdresy(THledani& h)
{
    h.v.Moduly.clear();
    h.planovano = h.v.Pokusu + NejvyssiAdresaHledani;
    for (std::int32_t adresa = 1; adresa <= NejvyssiAdresaHledani; ++adresa) {
        if (link::ZpracujZpravy()) {
            Konec(h.v, TKonecHledani::Preruseno, TextPreruseno);
            return false;
        }
        Zkus(h, adresa);
    }
    return true;
}

std::string TextNalezenych(const TVysledekHledani& v)
{
    if (v.Moduly.size() == 1)
        return TextNalezen + Nastaveni(v) + ", adresa " + std::to_string(v.Moduly[0].Adresa) + " - " +
               v.Moduly[0].TypVerze;
    std::string adresy;
    for (const TNalezenyModul& m : v.Moduly)
        adresy += (adresy.empty() ? "" : ", ") + std::to_string(m.Adresa);
    return TextNalezeno + std::to_string(v.Moduly.size()) + " - " + Nastaveni(v) + ", adresy " + adresy;
}

void Hledej(THledani& h)
{
    const TZadaniHledani& z = h.zadani;
    std::int32_t adresa = 0;
    if (z.Port.Zarizeni.empty() && !PrevedCisloCOM(z.CisloCOM, h.cisloCOM)) {
        Konec(h.v, TKonecHledani::NeplatnyUdaj, TextChybaCOM);
        return;
    }
    if (!PrevedAdresu(z.Adresa, adresa)) {
        Konec(h.v, TKonecHledani::NeplatnyUdaj, TextChybaAdresa);
        return;
    }
    h.v.Zarizeni = z.Port.Zarizeni.empty() ? CestaCOM(h.cisloCOM, z.Port.Nastaveni) : z.Port.Zarizeni;
    h.planovano = PocetNastaveniLinky + (z.VsechnyAdresy ? NejvyssiAdresaHledani : 0);
    if (!HledejRychlost(h, adresa))
        return;
    if (z.VsechnyAdresy && !HledejAdresy(h))
        return;
    // The found module may have been asked again and have stopped answering.
    if (h.v.Moduly.empty()) {
        Konec(h.v, TKonecHledani::Nenalezen, TextNenalezen);
        return;
    }
    Konec(h.v, TKonecHledani::Nalezen, TextNalezenych(h.v));
}

}  // namespace

TVysledekHledani Vyhledej(device::TVK7316R& modul, const TZadaniHledani& zadani, const TOznameni& oznam,
                          const link::TPrubeh& prubeh)
{
    Oznam(oznam, TextHledani);
    modul.Init = false;
    link::ZavriPort(modul.MBRTU);
    TVysledekHledani v;
    THledani h{v, zadani, prubeh, 0, 0, {}};
    Hledej(h);
    if (h.link.ID.HNDL != 0)
        link::ZavriPort(h.link);
    return v;
}

}  // namespace vk::procedures
