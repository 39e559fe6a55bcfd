#include "Nastroj.h"

#include <csignal>
#include <cstdio>
#include <exception>
#include <string>

#include "PoleSouboru.h"
#include "Preruseni.h"
#include "Prikazy.h"
#include "Stopa.h"
#include "U_VK7316R.h"
#include "VolbyPripojeni.h"
#include "Vystup.h"

namespace vk::cli {

namespace {

constexpr std::string_view TextPouziti =
    "usage: vk7316r --lan HOST[:PORT] [--timeout MS] [--retries N] COMMAND [ARGS]\n"
    "       vk7316r --serial DEVICE|COMn [--baud BD] [--parity none|even|odd] [--address N] [--timeout MS]\n"
    "                       [--reply-gap MS] [--rs485[=rts-high|rts-low] [--rs485-delay BEFORE,AFTER]]\n"
    "                       [--no-echo-removal] COMMAND [ARGS]\n"
    "       vk7316r --serial DEVICE|COMn [--address N] [--all-addresses] [--try-wait MS] scan\n"
    "       vk7316r log-export BASE | cfm-show FILE\n"
    "       (any connection may add --trace FILE)\n"
    "       vk7316r [COMMAND] --help\n";

constexpr std::string_view TextVolby =
    "Connection:\n"
    "  --lan HOST[:PORT]      the module's LAN address (TFTP, port 69 unless given; IPv6 as [addr]:port)\n"
    "  --serial DEVICE|COMn   a serial device path, or COM port n (1-255): the settings file's [Porty] COMn\n"
    "                         entry, else /dev/ttyUSB(n-1) if present, else /dev/ttyS(n-1)\n"
    "  --baud BD              2400, 4800, 9600 (default), 19200, 38400, 57600 or 115200\n"
    "  --parity P             none, even (default) or odd\n"
    "  --address N            the module's Modbus address, 1-255 (default 247)\n"
    "  --timeout MS           reply wait, 1-65535 ms (default 1000 on the LAN, 330 on the serial line)\n"
    "  --retries N            LAN: how many times a TFTP packet left unanswered is sent again, each time\n"
    "                         with a whole reply wait, 0-10 (default 3); 0 = a lost datagram fails at once\n"
    "  --reply-gap MS         the silence that ends a serial reply, 0-1000 ms, for a USB adapter that holds\n"
    "                         bytes back without showing its latency timer; 0 (default) = automatic: by the\n"
    "                         baud rate, longer behind an adapter whose latency timer the system shows\n"
    "  --rs485[=LEVEL]        the kernel's RS-485 mode for a UART whose transceiver the adapter does not\n"
    "                         switch itself: RTS rts-high (default) or rts-low while sending; a port that\n"
    "                         refuses it (a USB adapter, a pty) is not opened\n"
    "  --rs485-delay B,A      with --rs485: RTS delays before and after sending, 0-100 ms each (default 0,0)\n"
    "  --no-echo-removal      keep a copy of the request ahead of the reply (dropped by default: two-wire\n"
    "                         adapters whose receiver stays on while sending hand every request back)\n"
    "  --trace FILE           write every serial frame and TFTP datagram, sent and received, to FILE, one\n"
    "                         line each: microseconds since start, direction, link, bytes in hex, decoding\n"
    "\n"
    "Exit status: 0 done, 1 the module or the link failed (status text on stderr), 2 usage error,\n"
    "128 + n stopped by signal n (SIGHUP, SIGINT, SIGTERM; no partial file is left).\n";

void PouzitiPrikazu(const TKontext& k);

const TPrikaz* NajdiPrikaz(std::string_view nazev)
{
    for (const TPrikaz& p : Prikazy()) {
        if (p.Nazev == nazev)
            return &p;
    }
    return nullptr;
}

std::string NapovedaNastroje()
{
    std::string s(TextPouziti);
    s += "\nCommands:\n";
    for (const TPrikaz& p : Prikazy()) {
        std::string hlava = "  " + std::string(p.Nazev) + (p.Parametry.empty() ? "" : " ") + std::string(p.Parametry);
        if (hlava.size() < 34)
            hlava.resize(34, ' ');
        s += hlava + " " + std::string(p.Popis) + "\n";
    }
    s += "\n";
    s += TextVolby;
    return s;
}

std::string NapovedaPrikazu(const TPrikaz& p)
{
    std::string s = "usage: vk7316r ";
    if (p.Pripojeni)
        s += "(--lan HOST[:PORT] | --serial DEVICE|COMn ...) ";
    if (p.Nazev == "scan")
        s += "--serial DEVICE|COMn [--address N] [--all-addresses] [--try-wait MS] [--reply-gap MS] ";
    s += std::string(p.Nazev) + (p.Parametry.empty() ? "" : " ") + std::string(p.Parametry);
    if (p.Json)
        s += " [--json]";
    if (p.Nazev == "restore")
        s += " [--dry-run]";
    s += "\n\n" + std::string(p.Popis) + "\n";
    if (!p.Podrobnosti.empty())
        s += "\n" + std::string(p.Podrobnosti);
    if (p.Nazev == "write") {
        s += "\nWritable fields:\n";
        for (const TSouborCLI& f : SouboryCLI()) {
            if (f.Zapis)
                s += "  " + std::string(f.Nazev) + "\n" + f.PopisPoli;
        }
    }
    if (p.Nazev == "read") {
        s += "\nFiles:";
        for (const TSouborCLI& f : SouboryCLI())
            s += " " + std::string(f.Nazev);
        s += "\n";
    }
    if (p.Pripojeni)
        s += "\n" + std::string(TextVolby);
    return s;
}

TKonec ChybaObecna(std::string_view zprava)
{
    Chyba(zprava);
    std::fputs(TextPouziti.data(), stderr);
    return TKonec::ChybaPouziti;
}

// Options that do not belong to the command or contradict each other.
bool OverVolby(const TPrikaz& p, const TArgumenty& a, std::string& chyba)
{
    const bool serioveVolby =
        a.Baud || a.Parita || a.Adresa || a.Mezera || a.RS485 || a.RS485Zpozdeni || a.BezOdstraneniOzveny;
    const bool hledani = p.Nazev == "scan";  // connects to nothing, but searches a serial line
    if ((a.VsechnyAdresy || a.CekaniPokusu) && !hledani) {
        chyba = "--all-addresses and --try-wait belong to scan";
        return false;
    }
    if (hledani) {
        if (a.Lan || !a.Serial) {
            chyba = "scan searches a serial line: --serial DEVICE|COMn, no --lan";
            return false;
        }
        if (a.Baud || a.Parita || a.Timeout) {
            chyba = "scan tries every rate and parity with a wait of its own: no --baud, --parity or --timeout";
            return false;
        }
    } else if (!p.Pripojeni) {
        if (a.Lan || a.Serial || serioveVolby || a.Timeout || a.Opakovani) {
            chyba = std::string(p.Nazev) + " works on local files only: no connection options";
            return false;
        }
    } else if (a.Lan && a.Serial) {
        chyba = "give either --lan or --serial, not both";
        return false;
    } else if (!a.Lan && !a.Serial) {
        chyba = std::string(p.Nazev) + " needs a connection: --lan HOST[:PORT] or --serial DEVICE|COMn";
        return false;
    } else if (a.Lan && serioveVolby) {
        chyba = "--baud, --parity, --address, --reply-gap, --rs485, --rs485-delay and --no-echo-removal belong to "
                "--serial";
        return false;
    } else if (a.Lan && a.CekaniNaPort) {
        chyba = "--port-wait belongs to --serial";
        return false;
    } else if (a.Serial && a.Opakovani) {
        chyba = "--retries belongs to --lan";
        return false;
    }
    if (a.Json && !p.Json) {
        chyba = std::string(p.Nazev) + " has no --json output";
        return false;
    }
    if (a.Nanecisto && p.Nazev != "restore") {
        chyba = "--dry-run belongs to restore";
        return false;
    }
    if (a.Stopa && !p.Pripojeni) {
        chyba = "--trace belongs to a command that connects to the module";
        return false;
    }
    if ((a.ModulText || a.IPText) && p.Nazev != "log-export") {
        chyba = "--module and --ip belong to log-export";
        return false;
    }
    if (a.Parametry.size() < p.MinParametru || a.Parametry.size() > p.MaxParametru) {
        chyba = std::string(p.Nazev) + ": wrong number of arguments";
        return false;
    }
    return true;
}

int SpustPrikaz(const TArgumenty& a)
{
    if (a.Prikaz.empty()) {
        if (a.Napoveda) {
            Vypis(NapovedaNastroje());
            return static_cast<int>(TKonec::Uspech);
        }
        return static_cast<int>(ChybaObecna("no command given"));
    }
    const TPrikaz* p = NajdiPrikaz(a.Prikaz);
    if (p == nullptr)
        return static_cast<int>(ChybaObecna("unknown command \"" + a.Prikaz + "\""));
    if (a.Napoveda) {
        Vypis(NapovedaPrikazu(*p));
        return static_cast<int>(TKonec::Uspech);
    }
    core::TData dat;
    core::InicializaceDat(&dat);
    TKontext k{a, dat};
    std::string chyba;
    if (!OverVolby(*p, a, chyba))
        return static_cast<int>(ChybaPouziti(k, chyba));
    if (p->Priprav != nullptr) {
        const TKonec konec = p->Priprav(k);
        if (konec != TKonec::Uspech)
            return static_cast<int>(konec);
    }
    if (!p->Pripojeni)
        return static_cast<int>(p->Proved(k));

    // The trace opens before any traffic, so a path that cannot be written
    // stops the command before it has touched the module.
    if (a.Stopa && !link::OtevriStopu(*a.Stopa, chyba)) {
        Chyba(chyba);
        return static_cast<int>(TKonec::ChybaPouziti);
    }
    device::VychoziModul(device::Modul);
    TKonec konec = Pripoj(a, dat);
    if (konec == TKonec::ChybaPouziti)
        PouzitiPrikazu(k);
    if (konec == TKonec::Uspech)
        konec = p->Proved(k);
    Odpoj();
    link::ZavriStopu();
    return static_cast<int>(konec);
}

}  // namespace

namespace {

// The command's usage line and where its help is, after a usage error.
void PouzitiPrikazu(const TKontext& k)
{
    std::string s = "usage: vk7316r " + k.Argumenty.Prikaz;
    if (const TPrikaz* p = NajdiPrikaz(k.Argumenty.Prikaz); p != nullptr && !p->Parametry.empty()) {
        s += " " + std::string(p->Parametry);
    }
    s += "\nTry 'vk7316r " + k.Argumenty.Prikaz + " --help'.\n";
    std::fputs(s.c_str(), stderr);
}

// The usual exit status of a program ended by a signal, as a shell reports it.
int KonecPoSignalu(int signal)
{
    Chyba(std::string("interrupted (") +
          (signal == SIGINT    ? "SIGINT"
           : signal == SIGTERM ? "SIGTERM"
                               : "SIGHUP") +
          ")");
    return 128 + signal;
}

}  // namespace

TKonec ChybaPouziti(const TKontext& k, std::string_view zprava)
{
    Chyba(zprava);
    PouzitiPrikazu(k);
    return TKonec::ChybaPouziti;
}

int Spust(int argc, char** argv)
{
    const TZachytavaniSignalu signaly;
    try {
        TArgumenty a;
        std::string chyba;
        if (!RozeberArgumenty(argc, argv, a, chyba))
            return static_cast<int>(ChybaObecna(chyba));
        const int vysledek = SpustPrikaz(a);
        if (PrijatySignal() != 0)
            return KonecPoSignalu(PrijatySignal());
        // Output that never arrived (a full disk, a closed pipe) is a failure
        // for the script that runs the tool, not a success.
        if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
            Chyba("cannot write the output");
            return static_cast<int>(TKonec::ChybaModulu);
        }
        return vysledek;
    } catch (const std::exception& e) {
        Chyba(std::string("internal error: ") + e.what());
    } catch (...) {
        Chyba("internal error");
    }
    return static_cast<int>(TKonec::ChybaModulu);
}

}  // namespace vk::cli
