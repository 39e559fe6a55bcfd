#include "Poruchy.h"

#include <strings.h>

namespace vk::sim {

namespace {

constexpr const char* Nazvy[PocetPoruch] = {
    "ZadnaOdpoved",           "SpatneCRC", "VyjimkaOdpoved", "OdmitnutyZapis", "JinaUlozenaHodnota", "ZtracenyDatagram",
    "OACKNepodporovanaVolba", "JinyTyp",   "JinaVerze",      "PomalaData",     "PomalyZapis",
};

int Index(TPorucha porucha)
{
    return static_cast<int>(porucha);
}

}  // namespace

const char* NazevPoruchy(TPorucha porucha)
{
    const int i = Index(porucha);
    return i >= 0 && i < PocetPoruch ? Nazvy[i] : "";
}

bool NajdiPoruchu(const std::string& nazev, TPorucha& porucha)
{
    for (int i = 0; i < PocetPoruch; ++i) {
        if (strcasecmp(Nazvy[i], nazev.c_str()) == 0) {
            porucha = static_cast<TPorucha>(i);
            return true;
        }
    }
    return false;
}

void TPoruchy::Nastav(TPorucha porucha, bool zapnuto, std::uint32_t pocet)
{
    const int i = Index(porucha);
    if (i < 0 || i >= PocetPoruch)
        return;
    const std::lock_guard<std::mutex> z(zamek_);
    zbyva_[i] = !zapnuto ? 0 : (pocet == 0 ? Trvale : pocet);
}

bool TPoruchy::Uplatni(TPorucha porucha)
{
    const int i = Index(porucha);
    if (i < 0 || i >= PocetPoruch)
        return false;
    const std::lock_guard<std::mutex> z(zamek_);
    if (zbyva_[i] == 0)
        return false;
    if (zbyva_[i] != Trvale)
        --zbyva_[i];
    return true;
}

bool TPoruchy::Zapnuta(TPorucha porucha) const
{
    const int i = Index(porucha);
    if (i < 0 || i >= PocetPoruch)
        return false;
    const std::lock_guard<std::mutex> z(zamek_);
    return zbyva_[i] != 0;
}

void TPoruchy::NastavBajtJineHodnoty(std::size_t bajt)
{
    const std::lock_guard<std::mutex> z(zamek_);
    bajtJineHodnoty_ = bajt;
}

std::size_t TPoruchy::BajtJineHodnoty() const
{
    const std::lock_guard<std::mutex> z(zamek_);
    return bajtJineHodnoty_;
}

void TPoruchy::NastavZtratu(const TZtrata& ztrata)
{
    const std::lock_guard<std::mutex> z(zamek_);
    ztrata_ = ztrata;
}

TZtrata TPoruchy::Ztrata() const
{
    const std::lock_guard<std::mutex> z(zamek_);
    return ztrata_;
}

}  // namespace vk::sim
