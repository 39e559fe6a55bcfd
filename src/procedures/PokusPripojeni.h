#pragma once
// The connection attempt of the connection dialog (Pripojeni = connection):
// the entries are checked with the dialog's messages, the link is opened in
// the device connection record, the module is identified (serial: five 0x45
// exchanges; LAN: info.txt) and its type and version are checked. Also the
// device a COM number resolves to, and why it cannot be opened.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "Dekl.h"
#include "Oznameni.h"
#include "U_VK7316R.h"

namespace vk::procedures {

// The connection dialog's controls (Okno = window): list item indices (-1 =
// no item) and the texts of the fields, named after the controls.
struct TOknoPripojeni {
    std::int32_t ComboBox1 = 0;  // interface: 0 UART, 1 LAN
    std::string Edit1;           // IP address
    std::int32_t ComboBox2 = 0;  // IP version
    std::string Edit2;           // LAN time-out
    std::string Edit3;           // COM port number
    std::int32_t ComboBox3 = 2;  // baud rate: code - 2
    std::int32_t ComboBox4 = 1;  // parity code
    std::string Edit4;           // UART time-out
    std::string Edit5;           // module address
};

// Where the serial port is (Cesta = path): the settings file whose "Porty"
// section may map the COM number, or a device path given directly (the
// command-line tool's --serial /dev/...), which then replaces the number.
struct TCestaPortu {
    std::filesystem::path Nastaveni;
    std::string Zarizeni;
};

// How an attempt ended (Konec = end); an invalid entry is the user's, the
// others the link's or the module's.
enum class TKonecPripojeni {
    Uspech,              // success
    NeplatnyUdaj,        // an invalid entry
    ChybaPortu,          // the serial port did not open
    ChybaIdentifikace,   // an identity exchange or the info.txt read failed, or the text is empty
    NepodporovanyTyp,    // type not supported
    NepodporovanaVerze,  // version not supported
};

// The device a COM number leads to (Cesta) and, when it cannot be opened,
// why (Duvod = reason; empty when it opens).
struct TZarizeniCOM {
    std::string Cesta;
    std::string Duvod;
};

// What the attempt leaves (Vysledek = result). The identity texts are those
// read, also on a refusal; TData takes them, Pripojeni and SPripojeni only
// when Uspech. Init and the zeroed Par reach TData on every attempt. The
// list indices are those the dialog must show afterwards (an out-of-range
// choice is replaced, not reported).
struct TVysledekPripojeni {
    TKonecPripojeni Konec = TKonecPripojeni::NeplatnyUdaj;
    bool Uspech = false;
    std::string Panel1;
    // Why the identification's link failed (ChybaIdentifikace), empty
    // otherwise: the port's failure has its own reason in COM.
    std::string Pricina;
    core::TPripojeni Pripojeni;  // the working settings
    std::string TypVerze;
    std::string TypModulu;
    std::string VerzeModulu;
    std::string VyrCislo;
    std::int32_t ComboBox1 = 0;
    std::int32_t ComboBox2 = 0;
    std::int32_t ComboBox3 = 2;
    std::int32_t ComboBox4 = 1;
    std::string Zarizeni;  // the serial device tried (UART)
    // The silence that ends a reply, when the port did not take the baud
    // code's, and why, as the dialog shows it beside the device (Odezva =
    // response; PopisOdezvy); empty otherwise.
    std::string Odezva;
    std::optional<TZarizeniCOM> COM;  // why the serial port did not open (ChybaPortu)
};

// The module's identity as its identification objects give it on the
// serial line (Identita = identity).
struct TIdentitaUART {
    std::string Typ;
    std::string Verze;
    std::string VyrCislo;
};

// Reads the identity (serial: five 0x45 exchanges) from the module at
// CFG.Adresa of the open link (Precti = read); false at the first exchange
// that fails, with the link's status text in ED.StatusText.
bool PrectiIdentituUART(link::TMBRTU& link, TIdentitaUART& identita);

inline constexpr const char* TextInicializace = "Probíhá inicializace připojení ...";
inline constexpr const char* TextVPoradku = "V pořádku";
inline constexpr const char* TextChybaCOM = "Neplatné číslo COM portu (1-255)";
inline constexpr const char* TextChybaAdresa = "Neplatná adresa modulu (1-255)";

// Button "Inicializace připojení": the attempt on `modul`, with `pripojeni`
// the program's current connection settings. Reports the first panel text
// through oznam; the last is in the result.
TVysledekPripojeni InicializujPripojeni(device::TVK7316R& modul, const TOknoPripojeni& okno,
                                        const core::TPripojeni& pripojeni, const TCestaPortu& port,
                                        const TOznameni& oznam = {});

// The serial port's own options from the connection settings: the reply's
// gap by hand, the RS-485 mode and its delays, the echo removal.
link::TVolbyPortu VolbyPortu(const core::TPripojeni& pripojeni);

// "odezva 20 ms (adaptér: latence 16 ms)" for a gap widened for the
// adapter, "odezva 30 ms (nastavena ručně)" for one given by hand, empty for
// the baud code's (Popis odezvy = description of the response).
std::string PopisOdezvy(const link::TMBRTU_CFG& cfg);

// Puts the result into the program state: Init, Par zeroed, and on success
// the settings, identity texts and SPripojeni (Aplikuj = apply).
void AplikujPripojeni(const TVysledekPripojeni& v, core::TData& dat);

// The dialog's show: an interface outside 0..1 becomes 0 in the settings
// themselves (Oprav = correct), then the controls from the settings.
void OpravRozhrani(core::TPripojeni& pripojeni);
TOknoPripojeni ZapisOkno(const core::TPripojeni& pripojeni);

// The COM number of the dialog's field by the attempt's own rule: the
// dialogs' integer conversion, 1 to 255 (Prevod = conversion).
bool PrevedCisloCOM(const std::string& text, std::int32_t& cisloCOM);
// The module address of the dialog's field by the same rule, 1 to 255.
bool PrevedAdresu(const std::string& text, std::int32_t& adresa);
// The device path COM port n leads to (the settings file's entry, else the
// default devices), without trying it.
std::string CestaCOM(std::int32_t cisloCOM, const std::filesystem::path& nastaveni);

// The device for COM port n (the settings file's entry, else the default
// devices) and whether it can be opened now. It is tried with an open, so a
// port this program holds itself (exclusive use) reads as busy: ask while
// the port is closed here.
// `odmitnutiRS485` is the errno with which the link's open found the
// driver refusing the RS-485 mode (TMBRTU_ED::OdmitnutiRS485), 0 for none:
// the device then opens here all the same, and that is the reason.
TZarizeniCOM ZjistiZarizeniCOM(std::int32_t cisloCOM, const std::filesystem::path& nastaveni);
TZarizeniCOM ZjistiZarizeni(const std::string& cesta, int odmitnutiRS485 = 0);

// What an open() of a device said, and what the file is: the decision of the
// reason alone, so that it does not depend on who runs it (root opens what
// the mode forbids, and takes an exclusive terminal).
struct TOtevreniZarizeni {
    int Errno = 0;           // 0: the open succeeded
    bool Existuje = false;   // exists
    std::uint32_t Gid = 0;   // group owning the device
    bool Terminal = true;    // the opened file is a terminal
    int OdmitnutiRS485 = 0;  // errno of the driver's refusal of the RS-485 mode; 0 = none
};
std::string DuvodZarizeni(const std::string& cesta, const TOtevreniZarizeni& o);

}  // namespace vk::procedures
