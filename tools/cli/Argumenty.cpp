#include "Argumenty.h"

#include <string_view>

namespace vk::cli {

namespace {

struct TVolba {
    std::string_view Nazev;
    std::optional<std::string> TArgumenty::*Cil;  // null for a flag
    bool TArgumenty::*Priznak;                    // flag target
    // An option whose value is optional takes it only after "=" and this
    // one without (Bez hodnoty = without a value); null: the value is required.
    const char* BezHodnoty = nullptr;
};

constexpr TVolba Volby[] = {
    {"--lan", &TArgumenty::Lan, nullptr},
    {"--serial", &TArgumenty::Serial, nullptr},
    {"--baud", &TArgumenty::Baud, nullptr},
    {"--parity", &TArgumenty::Parita, nullptr},
    {"--address", &TArgumenty::Adresa, nullptr},
    {"--timeout", &TArgumenty::Timeout, nullptr},
    {"--reply-gap", &TArgumenty::Mezera, nullptr},
    {"--retries", &TArgumenty::Opakovani, nullptr},
    {"--rs485", &TArgumenty::RS485, nullptr, "rts-high"},
    {"--rs485-delay", &TArgumenty::RS485Zpozdeni, nullptr},
    {"--no-echo-removal", nullptr, &TArgumenty::BezOdstraneniOzveny},
    {"--port-wait", &TArgumenty::CekaniNaPort, nullptr},
    {"--module", &TArgumenty::ModulText, nullptr},
    {"--ip", &TArgumenty::IPText, nullptr},
    {"--json", nullptr, &TArgumenty::Json},
    {"--help", nullptr, &TArgumenty::Napoveda},
    {"-h", nullptr, &TArgumenty::Napoveda},
    {"--all-addresses", nullptr, &TArgumenty::VsechnyAdresy},
    {"--try-wait", &TArgumenty::CekaniPokusu, nullptr},
    {"--dry-run", nullptr, &TArgumenty::Nanecisto},
    {"--trace", &TArgumenty::Stopa, nullptr},
};

const TVolba* NajdiVolbu(std::string_view nazev)
{
    for (const TVolba& v : Volby) {
        if (v.Nazev == nazev)
            return &v;
    }
    return nullptr;
}

}  // namespace

bool RozeberArgumenty(int argc, char** argv, TArgumenty& a, std::string& chyba)
{
    a = TArgumenty{};
    bool jenParametry = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i] != nullptr ? argv[i] : "";
        const bool jeVolba = !jenParametry && arg.size() > 1 && arg[0] == '-';
        if (!jeVolba) {
            if (a.Prikaz.empty()) {
                a.Prikaz = arg;
            } else {
                a.Parametry.push_back(arg);
            }
            continue;
        }
        if (arg == "--") {
            jenParametry = true;
            continue;
        }
        const auto rovnase = arg.find('=');
        const std::string nazev = arg.substr(0, rovnase);
        const TVolba* v = NajdiVolbu(nazev);
        if (v == nullptr) {
            chyba = "unknown option " + nazev;
            return false;
        }
        if (v->Priznak != nullptr) {
            if (rovnase != std::string::npos) {
                chyba = "option " + nazev + " takes no value";
                return false;
            }
            a.*(v->Priznak) = true;
            continue;
        }
        std::string hodnota;
        if (rovnase != std::string::npos) {
            hodnota = arg.substr(rovnase + 1);
        } else if (v->BezHodnoty != nullptr) {
            hodnota = v->BezHodnoty;
        } else if (i + 1 < argc && argv[i + 1] != nullptr) {
            hodnota = argv[++i];
        } else {
            chyba = "option " + nazev + " needs a value";
            return false;
        }
        std::optional<std::string>& cil = a.*(v->Cil);
        if (cil.has_value()) {
            chyba = "option " + nazev + " given twice";
            return false;
        }
        cil = hodnota;
    }
    return true;
}

}  // namespace vk::cli
