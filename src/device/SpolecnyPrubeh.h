#pragma once
// The common course of every device operation (Spolecny prubeh = common
// course), shared by the file families; not for callers outside the unit.
#include <functional>
#include <string>
#include <vector>

#include "KodekySouboru.h"
#include "U_VK7316R.h"

namespace vk::device::detail {

// Marks a transfer as running for the guard's lifetime.
class TStrazPrenosu {
public:
    explicit TStrazPrenosu(bool& zaneprazdnen) : zaneprazdnen_(zaneprazdnen) { zaneprazdnen_ = true; }
    ~TStrazPrenosu() { zaneprazdnen_ = false; }
    TStrazPrenosu(const TStrazPrenosu&) = delete;
    TStrazPrenosu& operator=(const TStrazPrenosu&) = delete;

private:
    bool& zaneprazdnen_;
};

// Status 0 "OK" or Status 1 with the failure's text; returns `ok`.
template <class R>
bool NastavVysledek(R& r, bool ok, const std::string& chyba)
{
    r.Status = ok ? 0 : 1;
    r.StatusText = ok ? std::string("OK") : chyba;
    return ok;
}

// Runs `prenos(chyba)` under the busy mark `zaneprazdnen` and fills Status
// and StatusText from its outcome. A transfer asked for while another runs
// is refused before any traffic.
template <class R, class F>
bool ProvedPrenos(bool& zaneprazdnen, R& r, F&& prenos)
{
    if (zaneprazdnen)
        return NastavVysledek(r, false, std::string(TextZaneprazdnen));
    std::string chyba;
    bool ok = false;
    {
        TStrazPrenosu straz(zaneprazdnen);
        ok = prenos(chyba);
    }
    return NastavVysledek(r, ok, chyba);
}

// The same for an operation on `modul`: with Init false nothing is done and
// the record stays as it was.
template <class R, class F>
bool Proved(TVK7316R& modul, R& r, F&& prenos)
{
    if (!modul.Init)
        return false;
    return ProvedPrenos(modul.Zaneprazdnen, r, prenos);
}

// Transfers of one table file over the link the connection uses; a failure
// leaves the link's text in `chyba`. Network-only files always go over the
// TFTP link.
bool CtiSoubor(TVK7316R& modul, const TSouborZarizeni& soubor, std::vector<std::uint8_t>& data, std::string& chyba);
bool PisSoubor(TVK7316R& modul, const TSouborZarizeni& soubor, TBajty data, std::string& chyba);

// Runs a block upload over the serial link (`nahraj` gives the link's
// result) and leaves its text in `chyba` on failure.
bool NahrajRTU(link::TMBRTU& rtu, const std::function<std::int32_t()>& nahraj, std::string& chyba);

// Over the TFTP link alone.
bool CtiTFTP(link::TTFTP& tftp, std::string_view nazev, std::vector<std::uint8_t>& data, std::string& chyba);
bool PisTFTP(link::TTFTP& tftp, std::string_view nazev, TBajty data, std::string& chyba);

// The table row of a file the unit itself names (always present).
const TSouborZarizeni& Soubor(std::string_view nazev);

// A read: transfer `nazev` and decode it into r, which keeps its fields
// when the transfer fails.
template <class R, class D>
bool ProvedCteni(TVK7316R& modul, R& r, std::string_view nazev, D&& dekoduj)
{
    return Proved(modul, r, [&](std::string& chyba) {
        std::vector<std::uint8_t> data;
        if (!CtiSoubor(modul, Soubor(nazev), data, chyba))
            return false;
        dekoduj(TBajty(data), r);
        return true;
    });
}

// A write of already encoded bytes.
template <class R>
bool ProvedZapis(TVK7316R& modul, R& r, std::string_view nazev, TBajty data)
{
    return Proved(modul, r, [&](std::string& chyba) { return PisSoubor(modul, Soubor(nazev), data, chyba); });
}

}  // namespace vk::device::detail
