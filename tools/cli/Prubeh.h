#pragma once
// The progress bar of long transfers (Prubeh = progress, Ukazatel =
// indicator), drawn on stderr only when stderr is a terminal, so scripts and
// logs never see it.
#include <cstdint>
#include <string>
#include <string_view>

#include "Cas.h"
#include "M_ModbusRTU.h"

namespace vk::cli {

// One state of the bar, without the leading carriage return: "NAME [###   ]
// 45 % 943718/2097152 B"; with an unknown total only the byte count. The
// unit (jednotka) is bytes unless another is given.
std::string RadekPrubehu(std::string_view popis, std::uint64_t hotovo, std::uint64_t celkem, std::size_t sirka,
                         std::string_view jednotka = "B");

class TUkazatelPrubehu {
public:
    // Draws on stderr when it is a terminal; otherwise does nothing at all.
    explicit TUkazatelPrubehu(std::string popis, std::string jednotka = "B");
    ~TUkazatelPrubehu();
    TUkazatelPrubehu(const TUkazatelPrubehu&) = delete;
    TUkazatelPrubehu& operator=(const TUkazatelPrubehu&) = delete;

    // The callback for the links; it refers to this object.
    link::TPrubeh Zpetne();
    // Ends the bar's line (also done by the destructor).
    void Ukonci();

private:
    void Kresli(std::uint64_t hotovo, std::uint64_t celkem);

    std::string popis_;
    std::string jednotka_;
    bool terminal_ = false;
    bool kresleno_ = false;
    int procenta_ = -1;
    link::Okamzik posledni_{};
};

}  // namespace vk::cli
