#pragma once
// The six settings areas as keys and values (Pole oblasti = fields of the
// areas): for each its keys bound to its dialog's controls, and its fields
// as read prints them from a configuration image. The command-line write
// takes the typed descriptions; the whole-module profile the type-free form.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "HlavniLinka.h"
#include "Lan4.h"
#include "LogNastaveni.h"
#include "ModbusTCP.h"
#include "PopisOblasti.h"
#include "Profil.h"
#include "ServisniLinka.h"
#include "VzdalenaSprava.h"

namespace vk::formy {

TPopisOblasti<procedures::TOknoLan4> PopisLan4();
TPopisOblasti<procedures::TOknoModbusTCP> PopisModbusTCP();
TPopisOblasti<procedures::TOknoHlavniLinka> PopisHlavniLinky();
TPopisOblasti<procedures::TOknoServisniLinka> PopisServisniLinky();
TPopisOblasti<procedures::TOknoVzdalenaSprava> PopisVzdaleneSpravy();
TPopisOblasti<procedures::TOknoLogNastaveni> PopisLogNastaveni();

// One area without the type of its controls (Forma = form).
struct TFormaOblasti {
    std::string_view Soubor;  // the area's device file
    // Its fields as read prints them.
    std::function<TPolozky(const core::TCFGVK& cfg)> Polozky;
    // Every field of the area taken from assignments into `cfg` through its
    // controls and rules, with no traffic (Cele = whole); false with the
    // refusal as the write command words it.
    std::function<bool(const std::vector<TPrirazeni>& prirazeni, core::TCFGVK& cfg, std::string& chyba)> PrijmiCele;
};

const TFormaOblasti& FormaOblasti(procedures::profil::TOblastProfilu oblast);

}  // namespace vk::formy
