#include "Diagnostika.h"

#include <cstdio>

#include "Dekl.h"

namespace vk::procedures {

namespace {

std::string DveCislice(std::uint32_t n)
{
    return (n < 10 ? "0" : "") + std::to_string(n);
}

}  // namespace

std::string TextMAC(const device::TAdresaMAC& mac)
{
    std::string text;
    for (std::size_t i = 0; i < mac.size(); ++i) {
        char bajt[3];
        std::snprintf(bajt, sizeof bajt, "%02X", mac[i]);
        text += (i ? ":" : "") + std::string(bajt);
    }
    return text;
}

std::string TextIP4(const device::TAdresaIP4& ip)
{
    return core::IP4NaText(ip);
}

std::string TextUptime(std::uint32_t s)
{
    return std::to_string(s) + " (" + std::to_string(s / 86400) + ":" + DveCislice((s / 3600) % 24) + ":" +
           DveCislice((s / 60) % 60) + ":" + DveCislice(s % 60) + ")";
}

// The module pads its fixed-width texts with zero bytes; the record keeps
// them, but a text shown to the user ends at the first one, where a screen
// or a terminal would otherwise show boxes or nothing readable.
std::string TextDoNuly(const std::string& text)
{
    return text.substr(0, text.find('\0'));
}

std::array<std::string, 6> HodnotySystem(const device::TVK7316R_SysBin& sys)
{
    return {TextDoNuly(sys.TypFW), TextDoNuly(sys.TypLoader), TextDoNuly(sys.VyrCislo),
            TextMAC(sys.MAC),      TextIP4(sys.IP4_Adresa),   TextUptime(sys.UptimeS)};
}

TVysledekKrokuSystem KrokSystem(device::TVK7316R& modul, bool init, const TOznameni& oznam)
{
    TVysledekKrokuSystem v;
    device::TVK7316R_SysBin sys;
    if (!init || !modul.Init) {
        v.Status = std::string(TextBezPripojeni);
    } else if (!device::PrectiSysBin(modul, sys)) {
        v.Status = " " + sys.StatusText;
        v.Pricina = device::PricinaSelhani(modul);
    } else {
        v.Precteno = true;
        v.Hodnoty = HodnotySystem(sys);
        v.Status = std::string(TextOK);
    }
    if (oznam)
        oznam(v.Status);
    return v;
}

}  // namespace vk::procedures
