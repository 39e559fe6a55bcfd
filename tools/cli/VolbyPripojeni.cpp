#include "VolbyPripojeni.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

#include "Hodnoty.h"
#include "M_ModbusRTU.h"
#include "PokusPripojeni.h"
#include "Spojeni.h"
#include "U_VK7316R.h"
#include "Vystup.h"

namespace vk::cli {

namespace {

using device::Modul;

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
    if (!core::PrevedNaCislo(text, rychlost))
        return false;
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
    if (it == nazvy.end())
        return false;
    kod = static_cast<std::int32_t>(it - nazvy.begin());
    return true;
}

bool RezimRS485(const std::string& text, std::int32_t& rezim)
{
    if (text == "rts-high")
        rezim = static_cast<std::int32_t>(link::TRizeniSmeru::RtsVysoke);
    else if (text == "rts-low")
        rezim = static_cast<std::int32_t>(link::TRizeniSmeru::RtsNizke);
    else
        return false;
    return true;
}

// A fleet job waits its turn on a shared bus; ten minutes is past any
// sensible queue and keeps a typo from hanging a script for days.
constexpr std::int32_t NejdelsiCekaniNaPortMs = 600000;

bool CekaniNaPort(const std::string& text, std::int32_t& ms)
{
    if (text.empty() || text.size() > 6 ||
        !std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c) != 0; }))
        return false;
    ms = std::stoi(text);
    return ms <= NejdelsiCekaniNaPortMs;
}

// "BEFORE,AFTER", each by the settings file's rule.
bool ZpozdeniRS485(const std::string& text, std::int32_t& pred, std::int32_t& po)
{
    const auto carka = text.find(',');
    return carka != std::string::npos && core::PrevedZpozdeniRS485(std::string_view(text).substr(0, carka), pred) &&
           core::PrevedZpozdeniRS485(std::string_view(text).substr(carka + 1), po);
}

// An IPv6 host is written in brackets ("[::1]:69") or bare with its colons.
std::int32_t VerzeIPHostu(const std::string& host)
{
    return (!host.empty() && host[0] == '[') || std::count(host.begin(), host.end(), ':') > 1 ? 1 : 0;
}

// The connection dialog's controls as the options fill them; a baud rate or
// parity the dialog's lists do not offer is refused here, with its own text.
TKonec OknoZVoleb(const TArgumenty& a, procedures::TOknoPripojeni& okno, procedures::TCestaPortu& port)
{
    if (!a.Serial.has_value()) {
        okno.ComboBox1 = 1;
        okno.Edit1 = *a.Lan;
        okno.ComboBox2 = VerzeIPHostu(*a.Lan);
        okno.Edit2 = a.Timeout.value_or(std::to_string(VychoziTimeoutLAN));
        return TKonec::Uspech;
    }
    okno.ComboBox1 = 0;
    std::int32_t kodBaud = 4;
    if (a.Baud.has_value() && !KodRychlosti(*a.Baud, kodBaud)) {
        Chyba("Neplatná rychlost \"" + *a.Baud + "\": 2400, 4800, 9600, 19200, 38400, 57600 or 115200 Bd");
        return TKonec::ChybaPouziti;
    }
    std::int32_t kodParita = 1;
    if (a.Parita.has_value() && !KodParity(*a.Parita, kodParita)) {
        Chyba("Neplatná parita \"" + *a.Parita + "\": none, even or odd");
        return TKonec::ChybaPouziti;
    }
    okno.ComboBox3 = kodBaud - 2;
    okno.ComboBox4 = kodParita;
    okno.Edit4 = a.Timeout.value_or(std::to_string(VychoziTimeoutUART));
    okno.Edit5 = a.Adresa.value_or("247");
    PortZVolby(*a.Serial, okno.Edit3, port);
    return TKonec::Uspech;
}

}  // namespace

bool VolbyPortu(const TArgumenty& a, core::TPripojeni& p)
{
    if (a.Mezera.has_value() && !core::PrevedMezeru(*a.Mezera, p.UART_Mezera)) {
        Chyba("--reply-gap must be 0 to " + std::to_string(core::NejdelsiMezeraMs) + " ms (0 = automatic), not \"" +
              *a.Mezera + "\"");
        return false;
    }
    if (a.RS485.has_value() && !RezimRS485(*a.RS485, p.UART_RS485)) {
        Chyba("--rs485 takes rts-high (RTS high while sending, the default) or rts-low, not \"" + *a.RS485 + "\"");
        return false;
    }
    if (a.RS485Zpozdeni.has_value() && !a.RS485.has_value()) {
        Chyba("--rs485-delay belongs to --rs485");
        return false;
    }
    if (a.RS485Zpozdeni.has_value() &&
        !ZpozdeniRS485(*a.RS485Zpozdeni, p.UART_RS485ZpozdeniPred, p.UART_RS485ZpozdeniPo)) {
        Chyba("--rs485-delay must be BEFORE,AFTER: RTS delays before and after sending, each 0 to " +
              std::to_string(core::NejdelsiZpozdeniRS485Ms) + " ms, not \"" + *a.RS485Zpozdeni + "\"");
        return false;
    }
    if (a.BezOdstraneniOzveny)
        p.UART_Echo = 0;
    if (a.CekaniNaPort.has_value() && !CekaniNaPort(*a.CekaniNaPort, p.UART_CekaniNaPort)) {
        Chyba("--port-wait must be 0 to " + std::to_string(NejdelsiCekaniNaPortMs) + " ms, not \"" + *a.CekaniNaPort +
              "\"");
        return false;
    }
    return true;
}

TKonec Pripoj(const TArgumenty& a, core::TData& dat)
{
    procedures::TOknoPripojeni okno;
    procedures::TCestaPortu port;
    const TKonec volby = OknoZVoleb(a, okno, port);
    if (volby != TKonec::Uspech)
        return volby;
    if (!VolbyPortu(a, dat.Pripojeni))
        return TKonec::ChybaPouziti;
    if (a.Opakovani.has_value() && !core::PrevedOpakovani(*a.Opakovani, dat.Pripojeni.LAN_Opakovani)) {
        Chyba("--retries must be 0 to " + std::to_string(core::NejvicOpakovani) +
              " (0 = a lost datagram fails the transfer), not \"" + *a.Opakovani + "\"");
        return TKonec::ChybaPouziti;
    }

    const procedures::TVysledekPripojeni v = procedures::InicializujPripojeni(Modul, okno, dat.Pripojeni, port);
    procedures::AplikujPripojeni(v, dat);
    switch (v.Konec) {
    case procedures::TKonecPripojeni::Uspech:
        return TKonec::Uspech;
    case procedures::TKonecPripojeni::NeplatnyUdaj:
        Chyba(v.Panel1);
        return TKonec::ChybaPouziti;
    case procedures::TKonecPripojeni::ChybaPortu:
        // A device given by its path has no COM number to name.
        Chyba((v.Pripojeni.UART_CisloCOM > 0 ? v.Panel1 : std::string("Chyba otevření COM")) + " (" + v.Zarizeni + ")");
        if (v.COM.has_value() && !v.COM->Duvod.empty())
            Chyba(v.COM->Duvod);
        return TKonec::ChybaModulu;
    default:
        // The module's own texts, shown escaped like every device text.
        Chyba(EscapujText(v.Panel1));
        if (!PricinaSpojeni().empty())
            Chyba(PricinaSpojeni());
        return TKonec::ChybaModulu;
    }
}

void PortZVolby(const std::string& serial, std::string& cisloCOM, procedures::TCestaPortu& port)
{
    if (ZacinaCOM(serial)) {
        cisloCOM = serial.substr(3);
        port.Nastaveni = core::CestyNastaveni().Cteni;
    } else {
        port.Zarizeni = serial;  // empty: no port at all, refused as a COM number
    }
}

void Odpoj()
{
    procedures::Odpoj(Modul);
}

const std::string& PricinaSpojeni()
{
    return device::PricinaSelhani(Modul);
}

}  // namespace vk::cli
