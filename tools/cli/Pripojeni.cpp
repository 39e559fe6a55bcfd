#include "Pripojeni.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

#include "Hodnoty.h"
#include "M_ModbusRTU.h"
#include "M_TFTP.h"
#include "U_VK7316R.h"
#include "Vystup.h"
#include "ZnakoveTexty.h"

namespace vk::cli {

namespace {

using device::Modul;

// Messages of the connection window, as it shows them.
constexpr std::string_view TextChybaCOM = "Neplatné číslo COM portu (1-255)";
constexpr std::string_view TextChybaUartTimeout = "Neplatný UART timeout (1-65535 ms)";
constexpr std::string_view TextChybaAdresa = "Neplatná adresa modulu (1-255)";
constexpr std::string_view TextChybaIP = "Neplatná IP adresa";
constexpr std::string_view TextChybaLanTimeout = "Neplatný LAN timeout (1-65535 ms)";
constexpr std::string_view TextNeznamyModul = "Připojen neznámý modul";
constexpr std::string_view TextNepodporovanyTyp = "Připojený modulu není programem podporován - ";
constexpr std::string_view TextNepodporovanaVerze = "Verze připojeného modulu není programem podporována - ";

// Identification objects of the 0x45 request: type (2 x 4 characters),
// version, serial number (2 x 4 characters).
constexpr std::array<std::uint8_t, 5> ObjektyIdentity = {0, 1, 2, 10, 11};

bool CisloVRozsahu(const std::optional<std::string>& text, std::int32_t vychozi, std::int32_t min, std::int32_t max,
                   std::int32_t& hodnota)
{
    if (!text.has_value()) {
        hodnota = vychozi;
        return true;
    }
    return core::PrevedNaCislo(*text, hodnota) && hodnota >= min && hodnota <= max;
}

TKonec ChybaVolby(std::string_view text)
{
    Chyba(text);
    return TKonec::ChybaPouziti;
}

TKonec ChybaModulu(std::string_view text)
{
    Chyba(text);
    return TKonec::ChybaModulu;
}

bool ZacinaCOM(const std::string& text)
{
    return text.size() >= 3 && std::toupper(static_cast<unsigned char>(text[0])) == 'C' &&
           std::toupper(static_cast<unsigned char>(text[1])) == 'O' &&
           std::toupper(static_cast<unsigned char>(text[2])) == 'M';
}

// Baud-rate code of a rate in Bd among the codes the connection offers.
bool KodRychlosti(const std::string& text, std::int32_t& kod)
{
    std::int32_t rychlost = 0;
    if (!core::PrevedNaCislo(text, rychlost)) return false;
    for (std::int32_t k = 2; k <= 8; ++k) {
        if (link::RychlostBaud(k) == static_cast<std::uint32_t>(rychlost)) {
            kod = k;
            return true;
        }
    }
    return false;
}

bool KodParity(const std::string& text, std::int32_t& kod)
{
    static constexpr std::array<std::string_view, 3> nazvy = {"none", "even", "odd"};
    const auto it = std::find(nazvy.begin(), nazvy.end(), text);
    if (it == nazvy.end()) return false;
    kod = static_cast<std::int32_t>(it - nazvy.begin());
    return true;
}

TKonec OverTyp(core::TData& dat, const std::string& typ, const std::string& verze, const std::string& vyrCislo)
{
    const std::string typVerze = typ + "  v." + verze;
    // The module's own texts, shown escaped like every device text.
    if (!core::PodporovanyTyp(typ)) return ChybaModulu(std::string(TextNepodporovanyTyp) + EscapujText(typVerze));
    if (!core::PodporovanaVerze(typ, verze)) {
        return ChybaModulu(std::string(TextNepodporovanaVerze) + EscapujText(typVerze));
    }
    dat.Init = true;
    dat.TypVerze = typVerze;
    dat.TypModulu = typ;
    dat.VerzeModulu = verze;
    dat.VyrCislo = vyrCislo;
    dat.SPripojeni = "V pořádku";
    return TKonec::Uspech;
}

TKonec IdentifikujUART(core::TData& dat, std::uint8_t adresa)
{
    std::array<std::string, ObjektyIdentity.size()> casti;
    for (std::size_t i = 0; i < ObjektyIdentity.size(); ++i) {
        link::TMBRTU_Zprava zprava;
        zprava.Pozadavek[0] = adresa;
        zprava.Pozadavek[1] = 0xC8;
        zprava.Pozadavek[2] = ObjektyIdentity[i];
        zprava.DelkaPozadavku = 8;
        if (link::PreposliZpravu(&Modul.MBRTU, zprava) != 0) return ChybaModulu(Modul.MBRTU.ED.StatusText);
        // Only bytes 4..7 of the embedded reply carry the four characters;
        // its length and other bytes are not looked at.
        casti[i] = common::BajtyNaText(zprava.Odpoved.data() + 4, 4);
    }
    return OverTyp(dat, casti[0] + casti[1], casti[2], casti[3] + casti[4]);
}

TKonec PripojUART(const TArgumenty& a, core::TData& dat, core::TPripojeni& prac)
{
    const std::string& serial = *a.Serial;
    std::int32_t cisloCOM = 0;
    std::string zarizeni;
    if (ZacinaCOM(serial)) {
        if (!core::PrevedNaCislo(std::string_view(serial).substr(3), cisloCOM) || cisloCOM < 1 || cisloCOM > 255) {
            return ChybaVolby(TextChybaCOM);
        }
        zarizeni = link::ZarizeniCOM(cisloCOM, core::NactiPortCOM(core::CestyNastaveni().Cteni, cisloCOM));
    } else if (serial.empty()) {
        return ChybaVolby(TextChybaCOM);
    } else {
        zarizeni = serial;
    }
    prac.UART_CisloCOM = cisloCOM;

    std::int32_t kodBaud = 4;
    if (a.Baud.has_value() && !KodRychlosti(*a.Baud, kodBaud)) {
        return ChybaVolby("Neplatná rychlost \"" + *a.Baud + "\": 2400, 4800, 9600, 19200, 38400, 57600 or 115200 Bd");
    }
    prac.UART_KodBaud = kodBaud;
    std::int32_t kodParita = 1;
    if (a.Parita.has_value() && !KodParity(*a.Parita, kodParita)) {
        return ChybaVolby("Neplatná parita \"" + *a.Parita + "\": none, even or odd");
    }
    prac.UART_KodParita = kodParita;

    std::int32_t timeout = 0;
    if (!CisloVRozsahu(a.Timeout, VychoziTimeoutUART, 1, 65535, timeout)) return ChybaVolby(TextChybaUartTimeout);
    prac.UART_Timeout = timeout;
    std::int32_t adresa = 0;
    if (!CisloVRozsahu(a.Adresa, 247, 1, 255, adresa)) return ChybaVolby(TextChybaAdresa);
    prac.UART_Adresa = adresa;

    link::TMBRTU mbrtu = Modul.MBRTU;
    mbrtu.ID.HNDL = 0;
    if (link::OtevriPort(cisloCOM, kodBaud, kodParita, static_cast<std::uint32_t>(timeout), mbrtu, zarizeni) != 0) {
        // A device given by its path has no COM number to name.
        return ChybaModulu((cisloCOM > 0 ? mbrtu.ED.StatusText : std::string("Chyba otevření COM")) + " (" +
                           zarizeni + ")");
    }
    mbrtu.CFG.Adresa = static_cast<std::uint8_t>(adresa);
    Modul.MBRTU = mbrtu;
    Modul.Rozhrani = 0;
    Modul.Init = true;
    return IdentifikujUART(dat, static_cast<std::uint8_t>(adresa));
}

// An IPv6 host is written in brackets ("[::1]:69") or bare with its colons.
std::int32_t VerzeIPHostu(const std::string& host)
{
    return (!host.empty() && host[0] == '[') || std::count(host.begin(), host.end(), ':') > 1 ? 1 : 0;
}

TKonec PripojLAN(const TArgumenty& a, core::TData& dat, core::TPripojeni& prac)
{
    const std::string& ip = *a.Lan;
    if (ip.empty()) return ChybaVolby(TextChybaIP);
    prac.LAN_IP = ip;
    prac.LAN_VerzeIP = VerzeIPHostu(ip);
    std::int32_t timeout = 0;
    if (!CisloVRozsahu(a.Timeout, VychoziTimeoutLAN, 1, 65535, timeout)) return ChybaVolby(TextChybaLanTimeout);
    prac.LAN_Timeout = timeout;

    link::TTFTP tftp = Modul.TFTP;
    link::InicializujTFTP(tftp, ip, prac.LAN_VerzeIP, timeout);
    Modul.TFTP = tftp;
    Modul.Rozhrani = 1;
    Modul.Init = true;

    device::TVK7316R_InfoTxt info;
    if (!device::PrectiInfoTxt(Modul, info)) return ChybaModulu(info.StatusText);
    if (info.Text.empty()) return ChybaModulu(TextNeznamyModul);
    std::string typ, verze, vyrCislo;
    core::RozlozInfoText(info.Text, typ, verze, vyrCislo);
    return OverTyp(dat, typ, verze, vyrCislo);
}

}  // namespace

TKonec Pripoj(const TArgumenty& a, core::TData& dat)
{
    dat.Init = false;
    dat.Par.fill(0);
    core::TPripojeni prac = dat.Pripojeni;
    Modul.Init = false;
    link::ZavriPort(Modul.MBRTU);

    TKonec konec = TKonec::Uspech;
    if (a.Serial.has_value()) {
        prac.Rozhrani = 0;
        konec = PripojUART(a, dat, prac);
    } else {
        prac.Rozhrani = 1;
        konec = PripojLAN(a, dat, prac);
    }
    if (konec == TKonec::Uspech) dat.Pripojeni = prac;
    return konec;
}

void Odpoj()
{
    link::ZavriPort(Modul.MBRTU);
    Modul.Init = false;
}

}  // namespace vk::cli
