#include "Identita.h"

#include <cstddef>

namespace vk::sim {

namespace {

// Where the three parts lie in the text: [od, do) of each.
struct TUseky {
    std::size_t TypOd = 0, TypDo = 0;
    std::size_t VerzeOd = 0, VerzeDo = 0;
    std::size_t CisloOd = 0, CisloDo = 0;
};

TUseky NajdiUseky(const TBajty& t)
{
    TUseky u;
    int stav = 0;
    std::size_t i = 0;
    for (; i < t.size(); ++i) {
        const char znak = static_cast<char>(t[i]);
        if (stav == 0) {
            if (znak == ' ') {
                u.TypDo = i;
                stav = 1;
            }
        } else if (stav == 1) {
            if (znak == '.') {
                u.VerzeOd = u.VerzeDo = i + 1;
                stav = 2;
            }
        } else if (stav == 2) {
            u.VerzeDo = i + 1;
            if (u.VerzeDo - u.VerzeOd == 4)
                stav = 3;
        } else if (stav == 3) {
            if (znak == '.') {
                u.CisloOd = u.CisloDo = i + 1;
                stav = 4;
            }
        } else {
            if (znak == ')')
                break;
            u.CisloDo = i + 1;
        }
    }
    if (stav == 0)
        u.TypDo = t.size();
    return u;
}

std::string Usek(const TBajty& t, std::size_t od, std::size_t po)
{
    return std::string(t.begin() + static_cast<std::ptrdiff_t>(od), t.begin() + static_cast<std::ptrdiff_t>(po));
}

}  // namespace

TIdentita RozlozIdentitu(const TBajty& infoTxt)
{
    const TUseky u = NajdiUseky(infoTxt);
    return {Usek(infoTxt, u.TypOd, u.TypDo), Usek(infoTxt, u.VerzeOd, u.VerzeDo), Usek(infoTxt, u.CisloOd, u.CisloDo)};
}

TBajty ZmenIdentitu(const TBajty& infoTxt, const std::string* typ, const std::string* verze)
{
    const TUseky u = NajdiUseky(infoTxt);
    TBajty vysledek;
    const auto pridej = [&](std::size_t od, std::size_t po) {
        vysledek.insert(vysledek.end(), infoTxt.begin() + static_cast<std::ptrdiff_t>(od),
                        infoTxt.begin() + static_cast<std::ptrdiff_t>(po));
    };
    if (typ != nullptr)
        vysledek.insert(vysledek.end(), typ->begin(), typ->end());
    else
        pridej(u.TypOd, u.TypDo);
    if (u.VerzeDo == 0) {  // no version in the text: the rest stays as it is
        pridej(u.TypDo, infoTxt.size());
        return vysledek;
    }
    pridej(u.TypDo, u.VerzeOd);
    if (verze != nullptr)
        vysledek.insert(vysledek.end(), verze->begin(), verze->end());
    else
        pridej(u.VerzeOd, u.VerzeDo);
    pridej(u.VerzeDo, infoTxt.size());
    return vysledek;
}

}  // namespace vk::sim
