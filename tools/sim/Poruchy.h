#pragma once
// The fault switches shared by both links (Poruchy = faults). Each fault is
// off, on until switched off, or on for a number of occasions.
#include <cstddef>
#include <cstdint>
#include <mutex>

#include "Simulator.h"

namespace vk::sim {

class TPoruchy {
public:
    void Nastav(TPorucha porucha, bool zapnuto, std::uint32_t pocet);  // Nastav = set
    // True when the fault acts on this occasion; a counted fault uses up one
    // of its occasions (Uplatni = apply).
    bool Uplatni(TPorucha porucha);
    bool Zapnuta(TPorucha porucha) const;  // switched on, nothing used up

    // The byte of a written file that JinaUlozenaHodnota changes (Bajt =
    // byte), so that a test can aim the fault at any one verified field.
    void NastavBajtJineHodnoty(std::size_t bajt);
    std::size_t BajtJineHodnoty() const;
    // The datagram ZtracenyDatagram loses (Ztrata = loss).
    void NastavZtratu(const TZtrata& ztrata);
    TZtrata Ztrata() const;

private:
    static constexpr std::uint32_t Trvale = 0xFFFFFFFFu;  // on until switched off (Trvale = permanently)
    mutable std::mutex zamek_;
    std::uint32_t zbyva_[PocetPoruch] = {};  // occasions left (Zbyva = remains)
    std::size_t bajtJineHodnoty_ = 0;
    TZtrata ztrata_;
};

}  // namespace vk::sim
