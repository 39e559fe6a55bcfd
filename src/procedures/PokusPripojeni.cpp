#include "PokusPripojeni.h"

#include <fcntl.h>
#include <grp.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <vector>

#include "Cas.h"
#include "M_ModbusRTU.h"
#include "M_TFTP.h"
#include "Rozhrani.h"
#include "ZnakoveTexty.h"

namespace vk::procedures {

namespace {

// The connection dialog's panel texts.
constexpr const char* TextChybaUartTimeout = "Neplatný UART timeout (1-65535 ms)";
constexpr const char* TextChybaOtevreniCOM = "Chyba otevření COM";  // + the port number, no blank
constexpr const char* TextChybaIP = "Neplatná IP adresa";
constexpr const char* TextChybaLanTimeout = "Neplatný LAN timeout (1-65535 ms)";
constexpr const char* TextNeznamyModul = "Připojen neznámý modul";
constexpr const char* TextNepodporovanyTyp = "Připojený modulu není programem podporován - ";
constexpr const char* TextNepodporovanaVerze = "Verze připojeného modulu není programem podporována - ";
constexpr const char* TextUspech = "Připojení úspěšně inicializováno. Připojen modul   ";

// Identification objects of the 0x45 request: type (2 x 4 characters),
// version, serial number (2 x 4 characters).
constexpr std::array<std::uint8_t, 5> ObjektyIdentity = {0, 1, 2, 10, 11};

bool CisloVRozsahu(const std::string& text, std::int32_t min, std::int32_t max, std::int32_t& hodnota)
{
    return core::PrevedNaCislo(text, hodnota) && hodnota >= min && hodnota <= max;
}

TVysledekPripojeni& Konec(TVysledekPripojeni& v, TKonecPripojeni konec, std::string text)
{
    v.Konec = konec;
    v.Panel1 = std::move(text);
    return v;
}

void OverTyp(TVysledekPripojeni& v, const std::string& typ, const std::string& verze, const std::string& vyrCislo)
{
    v.TypVerze = typ + "  v." + verze;
    v.TypModulu = typ;
    v.VerzeModulu = verze;
    v.VyrCislo = vyrCislo;
    if (!core::PodporovanyTyp(typ)) {
        Konec(v, TKonecPripojeni::NepodporovanyTyp, TextNepodporovanyTyp + v.TypVerze);
        return;
    }
    if (!core::PodporovanaVerze(typ, verze)) {
        Konec(v, TKonecPripojeni::NepodporovanaVerze, TextNepodporovanaVerze + v.TypVerze);
        return;
    }
    v.Uspech = true;
    Konec(v, TKonecPripojeni::Uspech, TextUspech + v.TypVerze);
}

void IdentifikujUART(device::TVK7316R& modul, TVysledekPripojeni& v)
{
    TIdentitaUART identita;
    if (!PrectiIdentituUART(modul.MBRTU, identita)) {
        v.Pricina = modul.MBRTU.ED.Pricina;
        Konec(v, TKonecPripojeni::ChybaIdentifikace, modul.MBRTU.ED.StatusText);
        return;
    }
    OverTyp(v, identita.Typ, identita.Verze, identita.VyrCislo);
}

void PripojUART(device::TVK7316R& modul, const TOknoPripojeni& okno, const TCestaPortu& port, TVysledekPripojeni& v)
{
    core::TPripojeni& prac = v.Pripojeni;
    std::int32_t cisloCOM = 0;
    // A device given by its path stands for the number.
    if (port.Zarizeni.empty() && !PrevedCisloCOM(okno.Edit3, cisloCOM)) {
        Konec(v, TKonecPripojeni::NeplatnyUdaj, TextChybaCOM);
        return;
    }
    prac.UART_CisloCOM = cisloCOM;

    std::int32_t kodBaud = okno.ComboBox3 + 2;
    if (kodBaud < 0 || kodBaud > 8) {
        kodBaud = 4;
        v.ComboBox3 = 2;
    }
    prac.UART_KodBaud = kodBaud;
    std::int32_t kodParita = okno.ComboBox4;
    if (kodParita < 0 || kodParita > 2) {
        kodParita = 1;
        v.ComboBox4 = 1;
    }
    prac.UART_KodParita = kodParita;

    std::int32_t timeout = 0;
    if (!CisloVRozsahu(okno.Edit4, 1, 65535, timeout)) {
        Konec(v, TKonecPripojeni::NeplatnyUdaj, TextChybaUartTimeout);
        return;
    }
    prac.UART_Timeout = timeout;
    std::int32_t adresa = 0;
    if (!PrevedAdresu(okno.Edit5, adresa)) {
        Konec(v, TKonecPripojeni::NeplatnyUdaj, TextChybaAdresa);
        return;
    }
    prac.UART_Adresa = adresa;

    v.Zarizeni = port.Zarizeni.empty() ? link::ZarizeniCOM(cisloCOM, core::NactiPortCOM(port.Nastaveni, cisloCOM))
                                       : port.Zarizeni;
    link::TMBRTU mbrtu = modul.MBRTU;
    mbrtu.ID.HNDL = 0;
    if (link::OtevriPort(cisloCOM, kodBaud, kodParita, static_cast<std::uint32_t>(timeout), mbrtu, v.Zarizeni,
                         VolbyPortu(prac)) != 0) {
        v.COM = ZjistiZarizeni(v.Zarizeni, mbrtu.ED.OdmitnutiRS485);
        Konec(v, TKonecPripojeni::ChybaPortu, TextChybaOtevreniCOM + std::to_string(cisloCOM));
        return;
    }
    mbrtu.CFG.Adresa = static_cast<std::uint8_t>(adresa);
    v.Odezva = PopisOdezvy(mbrtu.CFG);
    modul.MBRTU = mbrtu;
    modul.Rozhrani = vk::common::RozhraniUART;
    modul.Init = true;
    IdentifikujUART(modul, v);
}

void PripojLAN(device::TVK7316R& modul, const TOknoPripojeni& okno, TVysledekPripojeni& v)
{
    core::TPripojeni& prac = v.Pripojeni;
    if (okno.Edit1.empty()) {
        Konec(v, TKonecPripojeni::NeplatnyUdaj, TextChybaIP);
        return;
    }
    prac.LAN_IP = okno.Edit1;
    std::int32_t verzeIP = okno.ComboBox2;
    if (verzeIP != 0 && verzeIP != 1) {
        verzeIP = 0;
        v.ComboBox2 = 0;
    }
    prac.LAN_VerzeIP = verzeIP;
    std::int32_t timeout = 0;
    if (!CisloVRozsahu(okno.Edit2, 1, 65535, timeout)) {
        Konec(v, TKonecPripojeni::NeplatnyUdaj, TextChybaLanTimeout);
        return;
    }
    prac.LAN_Timeout = timeout;

    link::TTFTP tftp = modul.TFTP;
    // The retries have no field in the dialog: they come from the settings
    // file (or the command line) and are kept as they are.
    link::InicializujTFTP(tftp, okno.Edit1, verzeIP, timeout, prac.LAN_Opakovani);
    modul.TFTP = tftp;
    modul.Rozhrani = vk::common::RozhraniLAN;
    modul.Init = true;

    device::TVK7316R_InfoTxt info;
    if (!device::PrectiInfoTxt(modul, info)) {
        v.Pricina = device::PricinaSelhani(modul);
        Konec(v, TKonecPripojeni::ChybaIdentifikace, info.StatusText);
        return;
    }
    if (info.Text.empty()) {
        Konec(v, TKonecPripojeni::ChybaIdentifikace, TextNeznamyModul);
        return;
    }
    std::string typ, verze, vyrCislo;
    core::RozlozInfoText(info.Text, typ, verze, vyrCislo);
    OverTyp(v, typ, verze, vyrCislo);
}

std::string NazevSkupiny(std::uint32_t gid)
{
    group g{};
    group* nalezena = nullptr;
    std::vector<char> buf(4096);
    if (::getgrgid_r(static_cast<gid_t>(gid), &g, buf.data(), buf.size(), &nalezena) == 0 && nalezena != nullptr)
        return g.gr_name;
    return std::to_string(gid);
}

}  // namespace

// Unchecked: the settings file and the command line take only values in range.
link::TVolbyPortu VolbyPortu(const core::TPripojeni& p)
{
    link::TVolbyPortu volby;
    volby.MezeraMs = p.UART_Mezera;
    volby.RS485.Rizeni = static_cast<link::TRizeniSmeru>(p.UART_RS485);
    volby.RS485.PredVysilanimMs = static_cast<std::uint32_t>(p.UART_RS485ZpozdeniPred);
    volby.RS485.PoVysilaniMs = static_cast<std::uint32_t>(p.UART_RS485ZpozdeniPo);
    volby.OdstranitOzvenu = p.UART_Echo != 0;
    volby.CekaniNaPortMs = p.UART_CekaniNaPort;
    return volby;
}

bool PrectiIdentituUART(link::TMBRTU& link, TIdentitaUART& identita)
{
    std::array<std::string, ObjektyIdentity.size()> casti;
    for (std::size_t i = 0; i < ObjektyIdentity.size(); ++i) {
        link::TMBRTU_Zprava zprava;
        zprava.Pozadavek[0] = link.CFG.Adresa;
        zprava.Pozadavek[1] = 0xC8;
        zprava.Pozadavek[2] = ObjektyIdentity[i];
        zprava.DelkaPozadavku = 8;
        if (link::PreposliZpravu(&link, zprava) != 0)
            return false;
        // Only bytes 4..7 of the embedded reply carry the four characters;
        // its length and other bytes are not looked at.
        casti[i] = common::BajtyNaText(zprava.Odpoved.data() + 4, 4);
    }
    identita = {casti[0] + casti[1], casti[2], casti[3] + casti[4]};
    return true;
}

TVysledekPripojeni InicializujPripojeni(device::TVK7316R& modul, const TOknoPripojeni& okno,
                                        const core::TPripojeni& pripojeni, const TCestaPortu& port,
                                        const TOznameni& oznam)
{
    Oznam(oznam, TextInicializace);
    TVysledekPripojeni v;
    v.Pripojeni = pripojeni;
    v.ComboBox1 = okno.ComboBox1;
    v.ComboBox2 = okno.ComboBox2;
    v.ComboBox3 = okno.ComboBox3;
    v.ComboBox4 = okno.ComboBox4;
    modul.Init = false;
    link::ZavriPort(modul.MBRTU);

    std::int32_t rozhrani = okno.ComboBox1;
    if (rozhrani != 0 && rozhrani != 1) {
        rozhrani = 0;
        v.ComboBox1 = 0;
    }
    v.Pripojeni.Rozhrani = rozhrani;
    if (rozhrani == 0)
        PripojUART(modul, okno, port, v);
    else
        PripojLAN(modul, okno, v);
    return v;
}

std::string PopisOdezvy(const link::TMBRTU_CFG& cfg)
{
    const std::string odezva = "odezva " + std::to_string(cfg.Mezera) + " ms";
    switch (cfg.PuvodMezery) {
    case link::TPuvodMezery::Adapter:
        return odezva + " (adaptér: latence " + std::to_string(cfg.LatenceAdapteru) + " ms)";
    case link::TPuvodMezery::Rucne:
        return odezva + " (nastavena ručně)";
    case link::TPuvodMezery::KodBaud:
        break;
    }
    return {};
}

void AplikujPripojeni(const TVysledekPripojeni& v, core::TData& dat)
{
    dat.Init = v.Uspech;
    dat.Par.fill(0);
    if (!v.Uspech)
        return;
    dat.Pripojeni = v.Pripojeni;
    dat.TypVerze = v.TypVerze;
    dat.TypModulu = v.TypModulu;
    dat.VerzeModulu = v.VerzeModulu;
    dat.VyrCislo = v.VyrCislo;
    dat.SPripojeni = TextVPoradku;
}

void OpravRozhrani(core::TPripojeni& pripojeni)
{
    if (pripojeni.Rozhrani < 0 || pripojeni.Rozhrani > 1)
        pripojeni.Rozhrani = vk::common::RozhraniUART;
}

TOknoPripojeni ZapisOkno(const core::TPripojeni& p)
{
    TOknoPripojeni o;
    o.ComboBox1 = p.Rozhrani;
    o.Edit1 = p.LAN_IP;
    o.ComboBox2 = p.LAN_VerzeIP;
    o.Edit2 = std::to_string(p.LAN_Timeout);
    o.Edit3 = std::to_string(p.UART_CisloCOM);
    o.ComboBox3 = p.UART_KodBaud - 2;
    o.ComboBox4 = p.UART_KodParita;
    o.Edit4 = std::to_string(p.UART_Timeout);
    o.Edit5 = std::to_string(p.UART_Adresa);
    return o;
}

bool PrevedCisloCOM(const std::string& text, std::int32_t& cisloCOM)
{
    return CisloVRozsahu(text, 1, 255, cisloCOM);
}

bool PrevedAdresu(const std::string& text, std::int32_t& adresa)
{
    return CisloVRozsahu(text, 1, 255, adresa);
}

std::string CestaCOM(std::int32_t cisloCOM, const std::filesystem::path& nastaveni)
{
    return link::ZarizeniCOM(cisloCOM, core::NactiPortCOM(nastaveni, cisloCOM));
}

TZarizeniCOM ZjistiZarizeniCOM(std::int32_t cisloCOM, const std::filesystem::path& nastaveni)
{
    return ZjistiZarizeni(CestaCOM(cisloCOM, nastaveni));
}

TZarizeniCOM ZjistiZarizeni(const std::string& cesta, int odmitnutiRS485)
{
    TOtevreniZarizeni o;
    o.OdmitnutiRS485 = odmitnutiRS485;
    struct stat st {};
    o.Existuje = !cesta.empty() && ::stat(cesta.c_str(), &st) == 0;
    o.Gid = o.Existuje ? static_cast<std::uint32_t>(st.st_gid) : 0;
    if (o.Existuje) {
        // The same open as the link's, so that what fails here fails there.
        const int fd = ::open(cesta.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            o.Errno = errno;
        } else {
            o.Terminal = ::isatty(fd) == 1;
            // The link's lock, which root meets where it passes the mark.
            if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK)
                o.Errno = EBUSY;
            ::close(fd);
        }
    } else {
        o.Errno = ENOENT;
    }
    return {cesta, DuvodZarizeni(cesta, o)};
}

std::string DuvodZarizeni(const std::string& cesta, const TOtevreniZarizeni& o)
{
    if (cesta.empty() || !o.Existuje)
        return "Zařízení " + cesta + " neexistuje.";
    switch (o.Errno) {
    case 0:
        if (!o.Terminal)
            return "Zařízení " + cesta + " není sériový port.";
        if (o.OdmitnutiRS485 != 0)
            return "Zařízení " + cesta + " nepodporuje režim RS-485: " + std::strerror(o.OdmitnutiRS485) + ".";
        return {};
    case EACCES:
    case EPERM:
        return "Přístup k zařízení " + cesta + " odepřen: uživatel musí být ve skupině " + NazevSkupiny(o.Gid) + ".";
    case EBUSY:
        return "Zařízení " + cesta + " používá jiný program.";
    case ENOENT:
    case ENXIO:
    case ENODEV:
        return "Zařízení " + cesta + " neexistuje.";
    default:
        return "Zařízení " + cesta + " nelze otevřít: " + std::strerror(o.Errno) + ".";
    }
}

}  // namespace vk::procedures
