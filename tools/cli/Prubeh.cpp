#include "Prubeh.h"

#include <cstdio>
#include <unistd.h>

namespace vk::cli {

std::string RadekPrubehu(std::string_view popis, std::uint64_t hotovo, std::uint64_t celkem, std::size_t sirka,
                         std::string_view jednotka)
{
    std::string s(popis);
    if (celkem == 0)
        return s + " " + std::to_string(hotovo) + " " + std::string(jednotka);
    if (hotovo > celkem)
        hotovo = celkem;
    const std::size_t plne = static_cast<std::size_t>(hotovo * sirka / celkem);
    s += " [" + std::string(plne, '#') + std::string(sirka - plne, ' ') + "] ";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%3u %% ", static_cast<unsigned>(hotovo * 100 / celkem));
    s += buf;
    return s + std::to_string(hotovo) + "/" + std::to_string(celkem) + " " + std::string(jednotka);
}

TUkazatelPrubehu::TUkazatelPrubehu(std::string popis, std::string jednotka)
    : popis_(std::move(popis)), jednotka_(std::move(jednotka)), terminal_(isatty(2) == 1)
{
}

TUkazatelPrubehu::~TUkazatelPrubehu()
{
    Ukonci();
}

link::TPrubeh TUkazatelPrubehu::Zpetne()
{
    return [this](std::uint64_t hotovo, std::uint64_t celkem) { Kresli(hotovo, celkem); };
}

void TUkazatelPrubehu::Kresli(std::uint64_t hotovo, std::uint64_t celkem)
{
    if (!terminal_)
        return;
    // Redraw only when the figure changes or, with an unknown total, a few
    // times a second: a terminal write per 240-byte block would cost more
    // than the block itself.
    const int procenta = celkem != 0 ? static_cast<int>((hotovo > celkem ? celkem : hotovo) * 100 / celkem) : -1;
    const bool konec = celkem != 0 && hotovo >= celkem;
    if (kresleno_ && !konec && (celkem != 0 ? procenta == procenta_ : link::UplynuloMs(posledni_) < 200))
        return;
    procenta_ = procenta;
    posledni_ = link::Ted();
    kresleno_ = true;
    const std::string radek = "\r" + RadekPrubehu(popis_, hotovo, celkem, 30, jednotka_) + "\x1b[K";
    std::fwrite(radek.data(), 1, radek.size(), stderr);
    std::fflush(stderr);
}

void TUkazatelPrubehu::Ukonci()
{
    if (!kresleno_)
        return;
    kresleno_ = false;
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

}  // namespace vk::cli
