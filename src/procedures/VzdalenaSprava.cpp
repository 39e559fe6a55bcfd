#include "VzdalenaSprava.h"

#include <algorithm>

namespace vk::procedures::vzdalenasprava {

TOknoVzdalenaSprava ZapisOkno(const core::TCFGVK& cfg)
{
    const core::TCFG_Sprava& s = cfg.Sprava;
    TOknoVzdalenaSprava o;
    o.ComboBox1 = IndexPolozky(s.Rezim, PocetPolozekRezim);
    for (std::size_t i = 0; i < o.Edit.size(); ++i) {
        if (s.VerzeIP[i] != 0) {
            o.Edit[i] = core::IP6NaText(s.User_IP[i]);
        } else {
            core::TAdresa4 ip4{};
            std::copy_n(s.User_IP[i].begin(), ip4.size(), ip4.begin());
            o.Edit[i] = core::IP4NaText(ip4);
        }
        o.ComboBoxVerze[i] = IndexPolozky(s.VerzeIP[i], PocetPolozekVerze);
    }
    o.TabulkaPovolena = s.Rezim == RezimTabulka;
    return o;
}

bool PrectiRadek(const TOknoVzdalenaSprava& okno, std::size_t radek, core::TCFG_Sprava& sprava)
{
    // Any list index but 0, "no item" included, reads the row as IPv6.
    if (okno.ComboBoxVerze[radek] != 0) {
        core::TPole16B ip6{};
        if (!core::TextNaIP6(okno.Edit[radek], ip6))
            return false;
        sprava.User_IP[radek] = ip6;
        sprava.VerzeIP[radek] = 1;
        return true;
    }
    core::TAdresa4 ip4{};
    if (!core::TextNaIP4(okno.Edit[radek], ip4))
        return false;
    // An IPv4 entry clears the 12 bytes after it, whatever was there.
    core::TPole16B bajty{};
    std::copy(ip4.begin(), ip4.end(), bajty.begin());
    sprava.User_IP[radek] = bajty;
    sprava.VerzeIP[radek] = 0;
    return true;
}

TPlatnost PrectiOkno(const TOknoVzdalenaSprava& okno, core::TCFGVK& cfg)
{
    if (okno.TabulkaPovolena) {
        for (std::size_t i = 0; i < okno.Edit.size(); ++i) {
            if (!PrectiRadek(okno, i, cfg.Sprava))
                return ChybaPole(TextChybnaIP);
        }
    }
    return Platne();
}

void ZmenaRezimu(TOknoVzdalenaSprava& okno, core::TCFGVK& cfg)
{
    cfg.Sprava.Rezim = static_cast<std::uint8_t>(okno.ComboBox1);
    okno.TabulkaPovolena = cfg.Sprava.Rezim == RezimTabulka;
}

device::TVK7316R_SpravaCfg NaZaznam(const core::TCFG_Sprava& sprava)
{
    device::TVK7316R_SpravaCfg r;
    r.Rezim = sprava.Rezim;
    r.IP = sprava.User_IP;
    for (std::size_t i = 0; i < r.VerzeIP.size(); ++i)
        r.VerzeIP[i] = static_cast<std::uint32_t>(sprava.VerzeIP[i]);
    return r;
}

void ZeZaznamu(const device::TVK7316R_SpravaCfg& r, core::TCFG_Sprava& sprava)
{
    sprava.Rezim = r.Rezim;
    sprava.User_IP = r.IP;
    for (std::size_t i = 0; i < r.VerzeIP.size(); ++i)
        sprava.VerzeIP[i] = static_cast<std::int32_t>(r.VerzeIP[i]);
}

TVysledekCteni PrectiData(device::TVK7316R& modul, core::TCFGVK& cfg, const TOznameni& oznam)
{
    return detail::PrectiSoubor<device::TVK7316R_SpravaCfg>(
        modul, oznam, [&](device::TVK7316R_SpravaCfg& r) { return device::PrectiSpravaCfg(modul, r); },
        [&](const device::TVK7316R_SpravaCfg& r) { ZeZaznamu(r, cfg.Sprava); });
}

TVysledekZapisu ZapisData(device::TVK7316R& modul, core::TCFGVK cfg, const TOznameni& oznam)
{
    const TVysledekZapisu v =
        detail::ZapisSoubor(modul, oznam, NaZaznam(cfg.Sprava),
                            [&](device::TVK7316R_SpravaCfg& r) { return device::ZapisSpravaCfg(modul, r); });
    detail::Oznam(oznam, v.Status);
    return v;
}

const TOblast<TOknoVzdalenaSprava>& Oblast()
{
    static const TOblast<TOknoVzdalenaSprava> oblast{"sprava.cfg", true,       ZapisOkno, PrectiOkno,
                                                     nullptr,      PrectiData, ZapisData};
    return oblast;
}

}  // namespace vk::procedures::vzdalenasprava
