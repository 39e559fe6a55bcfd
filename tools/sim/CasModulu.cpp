#include "CasModulu.h"

#include <chrono>
#include <ctime>

namespace vk::sim {

std::int64_t TedMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

TCasModulu CasZMs(std::int64_t ms)
{
    std::int64_t sekundy = ms / 1000;
    std::int64_t zbytek = ms % 1000;
    if (zbytek < 0) {
        zbytek += 1000;
        --sekundy;
    }
    const std::time_t t = static_cast<std::time_t>(sekundy);
    std::tm m{};
    localtime_r(&t, &m);
    TCasModulu cas;
    if (m.tm_year < 100)
        return cas;
    if (m.tm_year > 355) {
        cas.Rok = 255;
        cas.Mes = 12;
        cas.Den = 31;
        return cas;
    }
    cas.MSek = static_cast<std::uint16_t>(zbytek);
    cas.Sek = static_cast<std::uint8_t>(m.tm_sec > 59 ? 59 : m.tm_sec);
    cas.Min = static_cast<std::uint8_t>(m.tm_min);
    cas.Hod = static_cast<std::uint8_t>(m.tm_hour);
    cas.Den = static_cast<std::uint8_t>(m.tm_mday);
    cas.Mes = static_cast<std::uint8_t>(m.tm_mon + 1);
    cas.Rok = static_cast<std::uint8_t>(m.tm_year - 100);
    cas.DDen = static_cast<std::uint8_t>(m.tm_wday);
    return cas;
}

bool MsZCasu(const TCasModulu& cas, std::int64_t& ms)
{
    static constexpr int DnyMesice[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (cas.MSek > 999 || cas.Sek > 59 || cas.Min > 59 || cas.Hod > 23 || cas.Mes < 1 || cas.Mes > 12 || cas.Den < 1 ||
        cas.Den > DnyMesice[cas.Mes - 1])
        return false;
    const int rok = 2000 + cas.Rok;
    const bool prestupny = (rok % 4 == 0 && rok % 100 != 0) || rok % 400 == 0;
    if (cas.Mes == 2 && cas.Den == 29 && !prestupny)
        return false;
    std::tm m{};
    m.tm_year = rok - 1900;
    m.tm_mon = cas.Mes - 1;
    m.tm_mday = cas.Den;
    m.tm_hour = cas.Hod;
    m.tm_min = cas.Min;
    m.tm_sec = cas.Sek;
    m.tm_isdst = -1;
    const std::time_t t = std::mktime(&m);
    if (t == static_cast<std::time_t>(-1))
        return false;
    ms = static_cast<std::int64_t>(t) * 1000 + cas.MSek;
    return true;
}

void ZapisTRTC(TBajty& b, std::size_t offset, const TCasModulu& cas)
{
    if (b.size() < offset + 8)
        b.resize(offset + 8);
    Zapis16(b, offset, cas.MSek);
    b[offset + 2] = cas.Sek;
    b[offset + 3] = cas.Min;
    b[offset + 4] = cas.Hod;
    b[offset + 5] = cas.Den;
    b[offset + 6] = cas.Mes;
    b[offset + 7] = cas.Rok;
}

TBajty RtcBin(const TCasModulu& cas)
{
    TBajty b(9, 0);
    ZapisTRTC(b, 0, cas);
    b[8] = cas.DDen;
    return b;
}

TCasModulu CtiRtcBin(const TBajty& b)
{
    const auto bajt = [&](std::size_t i) -> std::uint8_t { return i < b.size() ? b[i] : 0; };
    TCasModulu cas;
    cas.MSek = Cti16(b, 0);
    cas.Sek = bajt(2);
    cas.Min = bajt(3);
    cas.Hod = bajt(4);
    cas.Den = bajt(5);
    cas.Mes = bajt(6);
    cas.Rok = bajt(7);
    cas.DDen = bajt(8);
    return cas;
}

}  // namespace vk::sim
