#pragma once
// The tool's commands (Prikaz = command): each with its usage line, its
// help text, the number of its own arguments, whether it needs a module,
// and two steps: Priprav (= prepare) checks the arguments and local files
// before any traffic, Proved (= carry out) runs once the module is
// connected (or at once for an offline command).
#include <cstddef>
#include <string_view>
#include <vector>

#include "Argumenty.h"
#include "Dekl.h"
#include "Nastroj.h"

namespace vk::cli {

struct TKontext {
    const TArgumenty& Argumenty;
    core::TData& Dat;
};

struct TPrikaz {
    std::string_view Nazev;
    std::string_view Parametry;    // "NAME key=value..."
    std::string_view Popis;        // one line for the command list
    std::string_view Podrobnosti;  // the rest of its --help text
    std::size_t MinParametru;
    std::size_t MaxParametru;
    bool Pripojeni;                  // needs --lan or --serial
    bool Json;                       // takes --json
    TKonec (*Priprav)(TKontext& k);  // null: nothing to check
    TKonec (*Proved)(TKontext& k);
};

const std::vector<TPrikaz>& Prikazy();

// ---- the commands (one file per family) -------------------------------------------
TKonec Identify(TKontext& k);
TKonec Restart(TKontext& k);
TKonec ClearDiag(TKontext& k);
TKonec SetClock(TKontext& k);
TKonec PripravFwUpload(TKontext& k);
TKonec FwUpload(TKontext& k);

TKonec PripravRead(TKontext& k);
TKonec Read(TKontext& k);
TKonec PripravWrite(TKontext& k);
TKonec Write(TKontext& k);

TKonec PripravGet(TKontext& k);
TKonec Get(TKontext& k);
TKonec PripravPut(TKontext& k);
TKonec Put(TKontext& k);

TKonec LogShow(TKontext& k);
TKonec PripravLogArchive(TKontext& k);
TKonec LogArchive(TKontext& k);
TKonec LogClear(TKontext& k);
TKonec PripravLogExport(TKontext& k);
TKonec LogExport(TKontext& k);

TKonec PripravScan(TKontext& k);
TKonec Scan(TKontext& k);

TKonec Backup(TKontext& k);
TKonec PripravProfil(TKontext& k);  // diff and restore: the whole file checked
TKonec Diff(TKontext& k);
TKonec Restore(TKontext& k);

TKonec PripravCfmShow(TKontext& k);
TKonec CfmShow(TKontext& k);

// A usage error: the message and a pointer to the command's help.
TKonec ChybaPouziti(const TKontext& k, std::string_view zprava);

}  // namespace vk::cli
