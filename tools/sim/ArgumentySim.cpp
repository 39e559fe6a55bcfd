#include "ArgumentySim.h"

#include "TftpPozadavek.h"

namespace vk::sim {

namespace {

// A decimal number of at most 10 digits, no larger than `nejvic`.
bool CtiCislo(const std::string& text, std::uint64_t nejvic, std::uint64_t& hodnota)
{
    return tftp::CtiCislo(text, hodnota) && hodnota <= nejvic;
}

// "BYTES,MS": a burst of 1 to 4096 bytes, a pause of 0 to 1000 ms.
bool CtiDavky(const std::string& text, TDavky& davky)
{
    const auto carka = text.find(',');
    std::uint64_t bajtu = 0;
    std::uint64_t pauza = 0;
    if (carka == std::string::npos || !CtiCislo(text.substr(0, carka), 4096, bajtu) || bajtu == 0 ||
        !CtiCislo(text.substr(carka + 1), 1000, pauza))
        return false;
    davky = {static_cast<std::uint32_t>(bajtu), static_cast<std::uint32_t>(pauza)};
    return true;
}

bool CtiParitu(const std::string& text, std::int32_t& kod)
{
    static const char* const nazvy[] = {"none", "even", "odd"};
    for (std::int32_t i = 0; i < 3; ++i)
        if (text == nazvy[i]) {
            kod = i;
            return true;
        }
    return false;
}

// "module:N", "client:N" (N from 1) or "module:last", "client:last".
bool CtiZtratu(const std::string& text, TZtrata& ztrata)
{
    const auto dvojtecka = text.find(':');
    if (dvojtecka == std::string::npos)
        return false;
    const std::string kdo = text.substr(0, dvojtecka);
    const std::string kolikaty = text.substr(dvojtecka + 1);
    if (kdo != "module" && kdo != "client")
        return false;
    std::uint64_t poradi = 0;
    if (kolikaty != "last" && (!CtiCislo(kolikaty, 0xFFFFFFFFu, poradi) || poradi == 0))
        return false;
    ztrata = {kdo == "client", static_cast<std::uint32_t>(poradi)};
    return true;
}

std::string SeznamPoruch()
{
    std::string s;
    for (int i = 0; i < PocetPoruch; ++i)
        s += std::string(i ? ", " : "") + NazevPoruchy(static_cast<TPorucha>(i));
    return s;
}

}  // namespace

std::string TextNapovedy()
{
    return "Usage: vk7316r-sim [--lan ADDR:PORT] [--no-lan] [--pty PATH] [--no-serial] [--state DIR]\n"
           "                   [--address N] [--baud-code N] [--parity P] [--bursts BYTES,MS]\n"
           "                   [--fault NAME[=COUNT]]... [--drop WHO:N] [--echo] [--log] [--help]\n"
           "\n"
           "Simulates a VK-7316R module: a TFTP server on the LAN address and a Modbus RTU slave\n"
           "on a pseudo-terminal, both serving the same device files.\n"
           "\n"
           "  --lan ADDR:PORT     TFTP server address (default 127.0.0.1:0; port 0 = any free port)\n"
           "  --no-lan            no TFTP server\n"
           "  --pty PATH          make a symlink PATH to the pseudo-terminal's slave device\n"
           "  --no-serial         no serial slave\n"
           "  --state DIR         keep the device files in DIR (default: a temporary folder, removed at exit)\n"
           "  --address N         Modbus address of the module, 1 to 255 (default 247)\n"
           "  --baud-code N       baud-rate code 0 to 8 (default 4 = 9600 Bd): the rate a client must set\n"
           "                      on the pty to be answered, and the serial timing\n"
           "  --parity P          none, even (default) or odd: a client must set it to be answered; a pty\n"
           "                      shows odd parity only, so even and none cannot be told apart\n"
           "  --bursts BYTES,MS   serial replies in bursts of BYTES (1-4096) with MS (0-1000) of silence\n"
           "                      between them, as a USB adapter hands them on (62,16: 62 bytes, 16 ms)\n"
           "  --echo              write every serial request back to the line ahead of its reply, as a\n"
           "                      two-wire adapter whose receiver stays on while it sends does\n"
           "  --fault NAME[=N]    switch a fault on, for the next N occasions only when N is given;\n"
           "                      NAME is one of: " +
           SeznamPoruch() +
           "\n"
           "  --drop WHO:N        the datagram ZtracenyDatagram loses in a transfer: the N-th the module\n"
           "                      sends (module:N) or the client sends (client:N; its request is the 1st),\n"
           "                      or the last (module:last, client:last); default module:1. The module\n"
           "                      sends a datagram left unanswered again after 1 s\n"
           "  --log               print a line for every TFTP transfer as it ends: what was read or\n"
           "                      written, how many bytes, and whether it was stored, refused or stopped\n"
           "  --help              this text\n"
           "\n"
           "Runs until SIGINT, SIGTERM or SIGHUP. Exit code 0 after a clean stop, 1 when it cannot start,\n"
           "2 for a bad command line.\n";
}

bool RozeberArgumenty(const std::vector<std::string>& argumenty, TArgumentySim& vysledek, std::string& chyba)
{
    vysledek = TArgumentySim{};
    for (std::size_t i = 0; i < argumenty.size(); ++i) {
        const std::string& a = argumenty[i];
        const auto hodnota = [&](std::string& h) {
            if (i + 1 >= argumenty.size()) {
                chyba = "Option " + a + " needs a value";
                return false;
            }
            h = argumenty[++i];
            return true;
        };
        std::string h;
        std::uint64_t cislo = 0;
        if (a == "--help" || a == "-h") {
            vysledek.Napoveda = true;
        } else if (a == "--log") {
            vysledek.Zaznam = true;
        } else if (a == "--echo") {
            vysledek.Nastaveni.Ozvena = true;
        } else if (a == "--no-lan") {
            vysledek.Nastaveni.SpustitLan = false;
        } else if (a == "--no-serial") {
            vysledek.Nastaveni.SpustitSerial = false;
        } else if (a == "--lan") {
            if (!hodnota(h))
                return false;
            if (h.empty()) {
                chyba = "--lan needs an address such as 127.0.0.1:6969";
                return false;
            }
            vysledek.Nastaveni.Lan = h;
        } else if (a == "--pty") {
            if (!hodnota(h))
                return false;
            if (h.empty()) {
                chyba = "--pty needs a path";
                return false;
            }
            vysledek.Nastaveni.Pty = h;
        } else if (a == "--state") {
            if (!hodnota(h))
                return false;
            if (h.empty()) {
                chyba = "--state needs a folder";
                return false;
            }
            vysledek.Nastaveni.SlozkaStavu = h;
        } else if (a == "--address") {
            if (!hodnota(h))
                return false;
            if (!CtiCislo(h, 255, cislo) || cislo == 0) {
                chyba = "--address must be a number from 1 to 255, not \"" + h + "\"";
                return false;
            }
            vysledek.Nastaveni.Adresa = static_cast<std::uint8_t>(cislo);
        } else if (a == "--baud-code") {
            if (!hodnota(h))
                return false;
            if (!CtiCislo(h, 8, cislo)) {
                chyba = "--baud-code must be a number from 0 to 8, not \"" + h + "\"";
                return false;
            }
            vysledek.Nastaveni.KodBaud = static_cast<std::int32_t>(cislo);
        } else if (a == "--parity") {
            if (!hodnota(h))
                return false;
            if (!CtiParitu(h, vysledek.Nastaveni.KodParita)) {
                chyba = "--parity must be none, even or odd, not \"" + h + "\"";
                return false;
            }
        } else if (a == "--bursts") {
            if (!hodnota(h))
                return false;
            if (!CtiDavky(h, vysledek.Nastaveni.Davky)) {
                chyba = "--bursts must be BYTES,MS with 1 to 4096 bytes and 0 to 1000 ms, not \"" + h + "\"";
                return false;
            }
        } else if (a == "--fault") {
            if (!hodnota(h))
                return false;
            const auto rovnase = h.find('=');
            const std::string nazev = h.substr(0, rovnase);
            std::uint32_t pocet = 0;
            if (rovnase != std::string::npos) {
                if (!CtiCislo(h.substr(rovnase + 1), 0xFFFFFFFEu, cislo) || cislo == 0) {
                    chyba = "The count in --fault " + h + " must be a number from 1";
                    return false;
                }
                pocet = static_cast<std::uint32_t>(cislo);
            }
            TPorucha porucha{};
            if (!NajdiPoruchu(nazev, porucha)) {
                chyba = "Unknown fault \"" + nazev + "\"; known faults: " + SeznamPoruch();
                return false;
            }
            vysledek.Poruchy.emplace_back(porucha, pocet);
        } else if (a == "--drop") {
            if (!hodnota(h))
                return false;
            TZtrata ztrata;
            if (!CtiZtratu(h, ztrata)) {
                chyba = "--drop must be module:N, client:N (N from 1), module:last or client:last, not \"" + h + "\"";
                return false;
            }
            vysledek.Ztrata = ztrata;
        } else {
            chyba = "Unknown argument \"" + a + "\"";
            return false;
        }
    }
    if (!vysledek.Nastaveni.SpustitLan && !vysledek.Nastaveni.SpustitSerial && !vysledek.Napoveda) {
        chyba = "--no-lan and --no-serial together leave nothing to simulate";
        return false;
    }
    return true;
}

}  // namespace vk::sim
