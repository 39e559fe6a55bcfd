#pragma once
// The module's identity as info.txt states it (Identita = identity): the
// type up to the first blank, the 4 characters after the next ".", the
// serial number after the next "." up to ")". The module answers the
// identification objects of function 0x45 from the same text.
#include <string>

#include "Bajty.h"

namespace vk::sim {

struct TIdentita {
    std::string Typ;       // type
    std::string Verze;     // version
    std::string VyrCislo;  // serial number
};

TIdentita RozlozIdentitu(const TBajty& infoTxt);  // split

// The same text with the type and/or the version replaced (Zmen = change);
// a null pointer keeps that part.
TBajty ZmenIdentitu(const TBajty& infoTxt, const std::string* typ, const std::string* verze);

}  // namespace vk::sim
