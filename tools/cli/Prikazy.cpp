#include "Prikazy.h"

namespace vk::cli {

const std::vector<TPrikaz>& Prikazy()
{
    static const std::vector<TPrikaz> prikazy = {
        {"identify", "", "print the module's type, version and serial number",
         "Connects and identifies the module as the connection window does (serial line: the\n"
         "identification objects; LAN: info.txt) and prints TypModulu, VerzeModulu, VyrCislo and\n"
         "TypVerze. On the serial line, when a reply ends after another silence than the baud rate's,\n"
         "also Mezera (ms), PuvodMezery (adapter: widened for the USB adapter's latency timer,\n"
         "LatenceAdapteru ms; manual: --reply-gap).\n",
         0, 0, true, true, nullptr, Identify},
        {"scan", "", "search a serial line for the module's rate, parity and address",
         "Needs --serial and no --baud, --parity or --timeout: tries the module identification at\n"
         "every rate (2400 to 115200 Bd) and parity (none, even, odd) at --address N (default: key\n"
         "Adresa in section [UART] of W_vk7316r.ini, else 247) until the module answers; with\n"
         "--all-addresses then every address 1-247 at that rate. Each try waits only as long as a reply\n"
         "takes at its rate, but at least --try-wait MS (1-1000; default: key Hledani in [UART], else\n"
         "50). Prints Rychlost (Bd), Parita (as --parity takes it) and for each module found Adresa,\n"
         "TypModulu, VerzeModulu, VyrCislo, TypVerze. Nothing found: \"Modul nenalezen\", exit 1.\n"
         "Nothing is connected afterwards.\n",
         0, 0, false, true, PripravScan, Scan},
        {"read", "NAME", "read a device file and print its fields",
         "Prints one field per line as name=value (texts with \\xNN for control characters), or with\n"
         "--json one JSON object keyed by the record's field names: addresses in their text forms,\n"
         "texts as strings, byte arrays as hex.\n",
         1, 1, true, true, PripravRead, Read},
        {"write", "NAME key=value...", "change fields of a settings file",
         "Reads the file first, so that a field not given keeps the module's current value, applies\n"
         "the assignments (keys and forms as read prints them; an array field whole as comma-separated\n"
         "values or one element as name[i]=value), writes it, and for lan4.cfg, mbtcp.cfg, uartm.cfg\n"
         "and uarts.cfg reads it back and compares. A value outside its range is refused (exit 2)\n"
         "before anything is sent; a read-back that differs ends with exit 1.\n",
         2, 64, true, false, PripravWrite, Write},
        {"backup", "FILE", "save every settings area of the module into a profile (JSON)",
         "Reads lan4.cfg, mbtcp.cfg, uartm.cfg, uarts.cfg, sprava.cfg and log.cfg and writes them with\n"
         "the module's identity into FILE (a temporary file, then renamed). Fields are named and written\n"
         "as read prints them. Over a serial line log.cfg is left out, with a note on stderr.\n",
         1, 1, true, false, nullptr, Backup},
        {"diff", "FILE", "compare the module with a profile, field by field",
         "Prints each differing field as \"file: field: module VALUE, file VALUE\".\n"
         "Exit 0 when equal, 3 when different, 1 when the link fails, 2 for a bad file (with its line).\n"
         "--json prints one object instead: changed (the module differs), diff (each field as area,\n"
         "field, module, file) and note (what was left out or told aside).\n",
         1, 1, true, true, PripravProfil, Diff},
        {"restore", "FILE", "write the areas of a profile that differ from the module",
         "The whole file is checked first (every field and every area's rules): one bad field and\n"
         "nothing is sent. Then each differing area is written as its dialog writes it, with its\n"
         "read-back where the dialog verifies, lan4.cfg last; a new network address ends the link and\n"
         "is reported. Prints the changed fields as \"file: field: old -> new\". --dry-run prints them\n"
         "and sends nothing. Over a serial line log.cfg is left out, with a note on stderr.\n"
         "--json prints one object instead: changed (an area was written, or with --dry-run would be),\n"
         "diff (each field as area, field, module = before, file = after), note (the notes and what\n"
         "each write reported); a failed write still prints it, then exits 1 with the error on stderr.\n",
         1, 1, true, true, PripravProfil, Restore},
        {"get", "NAME LOCAL", "copy a device file into a local file as raw bytes",
         "LAN: any file by TFTP. Serial line: a file of the device table by its file code and fixed\n"
         "length. LOCAL appears whole or not at all.\n",
         2, 2, true, false, PripravGet, Get},
        {"put", "NAME LOCAL", "copy a local file into a device file as raw bytes",
         "LAN: one TFTP write. Serial line: 240-byte blocks with the file's code.\n", 2, 2, true, false, PripravPut,
         Put},
        {"restart", "", "restart the module", "", 0, 0, true, false, nullptr, Restart},
        {"clear-diag", "", "clear the master line's diagnostic counters", "", 0, 0, true, false, nullptr, ClearDiag},
        {"set-clock", "", "set the module's clock to this computer's local time",
         "Writes rtc.bin, then reads the clock back and prints it.\n", 0, 0, true, false, nullptr, SetClock},
        {"fw-upload", "IMAGE", "upload a firmware image and the boot command \"prog\"",
         "Uploads IMAGE unchanged as fw.hbn (a progress bar when stderr is a terminal), then writes\n"
         "boot.cmd \"prog\" and a zero byte. The new firmware starts after a restart (see restart).\n",
         1, 1, true, false, PripravFwUpload, FwUpload},
        {"log-show", "", "show the event log, latest first (LAN)",
         "Reads logh.bin and log100.bin: the number of records, the memory fill and the latest\n"
         "records as text.\n",
         0, 0, true, false, nullptr, LogShow},
        {"log-archive", "[BASE]", "save the whole event log as BASE.bin and BASE.log (LAN)",
         "BASE defaults to Arch_yymmdd_hhnnss (local time) in the current folder. BASE.log is the\n"
         "text export in windows-1250 with CR LF line ends.\n",
         0, 1, true, false, PripravLogArchive, LogArchive},
        {"log-clear", "", "clear the event log in the module (LAN)", "", 0, 0, true, false, nullptr, LogClear},
        {"log-export", "BASE", "export BASE.bin into BASE.log (offline)",
         "Options: --module TEXT and --ip TEXT fill the header lines (default \"???\").\n", 1, 1, false, false,
         PripravLogExport, LogExport},
        {"cfm-show", "FILE", "show the LAN4 and Sprava parts of a configuration file (offline)",
         "Prints each block's check result and, for a block the program would load, its values.\n", 1, 1, false, true,
         PripravCfmShow, CfmShow},
    };
    return prikazy;
}

}  // namespace vk::cli
