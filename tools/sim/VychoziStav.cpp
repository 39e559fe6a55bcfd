#include "VychoziStav.h"

#include <initializer_list>

#include "CasModulu.h"

namespace vk::sim {

namespace {

TBajty SKontrolnimBajtem(std::initializer_list<std::uint8_t> bajty, std::size_t delka)
{
    TBajty b(bajty);
    b.resize(delka, 0);
    DoplnKontrolniBajt(b);
    return b;
}

// Parameters of one event record, by layout.
enum class TParametry { Zadne, Adresa4, Adresa6, Vlan4, CastKonfigurace, ChybaLinky };

struct TVzorZaznamu {  // a record pattern (Vzor = pattern)
    std::uint8_t Kod;
    TParametry Parametry;
    std::uint32_t A;  // address's last octet, VLAN index or part code
    std::uint32_t B;  // ID of a line error
    std::uint32_t C;  // status of a line error
    std::uint8_t D;   // slave address of a line error
    std::uint8_t E;   // function code of a line error
};

constexpr TVzorZaznamu Vzory[] = {
    {1, TParametry::Zadne, 0, 0, 0, 0, 0},
    {5, TParametry::Zadne, 0, 0, 0, 0, 0},
    {11, TParametry::Adresa4, 10, 0, 0, 0, 0},
    {10, TParametry::Adresa4, 10, 0, 0, 0, 0},
    {3, TParametry::Adresa4, 10, 0, 0, 0, 0},
    {1, TParametry::Zadne, 0, 0, 0, 0, 0},
    {5, TParametry::Zadne, 0, 0, 0, 0, 0},
    {14, TParametry::ChybaLinky, 0, 17, 2, 5, 3},
    {14, TParametry::ChybaLinky, 1, 18, 3, 7, 4},
    {6, TParametry::Zadne, 0, 0, 0, 0, 0},
    {5, TParametry::Zadne, 0, 0, 0, 0, 0},
    {7, TParametry::Vlan4, 2, 0, 0, 0, 0},
    {8, TParametry::Adresa6, 0, 0, 0, 0, 0},
    {9, TParametry::CastKonfigurace, 4, 0, 0, 0, 0},
    {9, TParametry::CastKonfigurace, 12, 0, 0, 0, 0},
    {9, TParametry::CastKonfigurace, 0, 0, 0, 0, 0},
    {12, TParametry::Adresa4, 10, 0, 0, 0, 0},
    {13, TParametry::Adresa6, 0, 0, 0, 0, 0},
    {2, TParametry::Zadne, 0, 0, 0, 0, 0},
    {1, TParametry::Zadne, 0, 0, 0, 0, 0},
    {4, TParametry::Zadne, 0, 0, 0, 0, 0},
    {5, TParametry::Zadne, 0, 0, 0, 0, 0},
    {20, TParametry::Zadne, 0, 0, 0, 0, 0},
    {14, TParametry::ChybaLinky, 0, 19, 1, 5, 3},
    {9, TParametry::CastKonfigurace, 1, 0, 0, 0, 0},
    {9, TParametry::CastKonfigurace, 2, 0, 0, 0, 0},
    {9, TParametry::CastKonfigurace, 3, 0, 0, 0, 0},
    {9, TParametry::CastKonfigurace, 5, 0, 0, 0, 0},
    {9, TParametry::CastKonfigurace, 6, 0, 0, 0, 0},
    {9, TParametry::CastKonfigurace, 9, 0, 0, 0, 0},
    {9, TParametry::CastKonfigurace, 11, 0, 0, 0, 0},
    {7, TParametry::Vlan4, 0, 0, 0, 0, 0},
    {8, TParametry::Adresa4, 77, 0, 0, 0, 0},
    {10, TParametry::Adresa6, 0, 0, 0, 0, 0},
    {6, TParametry::Zadne, 0, 0, 0, 0, 0},
    {5, TParametry::Zadne, 0, 0, 0, 0, 0},
    {14, TParametry::ChybaLinky, 2, 250, 4, 12, 16},
    {11, TParametry::Adresa4, 11, 0, 0, 0, 0},
    {3, TParametry::Adresa4, 11, 0, 0, 0, 0},
    {1, TParametry::Zadne, 0, 0, 0, 0, 0},
    {5, TParametry::Zadne, 0, 0, 0, 0, 0},
    {12, TParametry::Adresa4, 11, 0, 0, 0, 0},
};

// fe80::211:22ff:fe33:4455, a link-local peer of the remote management.
constexpr std::uint8_t AdresaSpravy6[16] = {0xFE, 0x80, 0,    0,    0,    0,    0,    0,
                                            0x02, 0x11, 0x22, 0xFF, 0xFE, 0x33, 0x44, 0x55};

void ZapisAdresu4(TBajty& z, std::uint8_t posledni)
{
    z[24] = 0;
    z[28] = 192;
    z[29] = 168;
    z[30] = posledni == 77 ? 1 : 0;
    z[31] = posledni;
}

void ZapisAdresu6(TBajty& z)
{
    z[24] = 1;
    for (std::size_t i = 0; i < 16; ++i)
        z[28 + i] = AdresaSpravy6[i];
}

TBajty Zaznam(const TVzorZaznamu& vzor, std::uint32_t poradi, std::int64_t casMs)
{
    TBajty z(DelkaZaznamuLog, 0);
    z[0] = vzor.Kod;
    z[1] = static_cast<std::uint8_t>(poradi & 0xFF);  // the module's own sequence number
    z[2] = static_cast<std::uint8_t>((poradi >> 8) & 0xFF);
    z[3] = static_cast<std::uint8_t>((poradi >> 16) & 0xFF);
    const TCasModulu cas = CasZMs(casMs);
    Zapis16(z, 4, cas.MSek);
    z[6] = cas.Sek;
    z[7] = cas.Min;
    z[8] = cas.Hod;
    z[9] = cas.Den;
    z[10] = cas.Mes;
    z[11] = cas.Rok;
    Zapis32(z, 12, 3600u + poradi * 1111u);  // uptime in s when the event happened
    switch (vzor.Parametry) {
    case TParametry::Zadne:
        break;
    case TParametry::Adresa4:
        ZapisAdresu4(z, static_cast<std::uint8_t>(vzor.A));
        break;
    case TParametry::Adresa6:
        ZapisAdresu6(z);
        break;
    case TParametry::Vlan4:
        Zapis32(z, 16, vzor.A);
        ZapisAdresu4(z, 20);
        z[30] = 1;
        break;
    case TParametry::CastKonfigurace:
        z[16] = static_cast<std::uint8_t>(vzor.A);
        break;
    case TParametry::ChybaLinky:
        Zapis32(z, 16, vzor.A);
        Zapis32(z, 20, vzor.B);
        Zapis32(z, 24, vzor.C);
        z[28] = vzor.D;
        z[29] = vzor.E;
        z[30] = static_cast<std::uint8_t>(vzor.A & 1);
        break;
    }
    return z;
}

}  // namespace

TBajty VychoziInfoTxt()
{
    const std::string text = std::string(TypModulu) + " v." + VerzeModulu + " (sn." + VyrobniCislo + ")";
    return TBajty(text.begin(), text.end());
}

TBajty VychoziLan4Cfg()
{
    return SKontrolnimBajtem({192, 168, 0, 99, 255, 255, 255, 0, 192, 168, 0, 200, 0}, 16);
}

TBajty VychoziMbtcpCfg()
{
    return SKontrolnimBajtem({255, 5}, 3);
}

TBajty VychoziUartsCfg(std::uint8_t adresa, std::uint8_t kodBaud)
{
    return SKontrolnimBajtem({adresa, kodBaud, 1, 0}, 5);
}

TBajty VychoziUartmCfg()
{
    return SKontrolnimBajtem({4, 1, 330 & 0xFF, 330 >> 8, 0}, 6);
}

TBajty VychoziSpravaCfg()
{
    return SKontrolnimBajtem({1}, 138);
}

TBajty VychoziLogCfg()
{
    return SKontrolnimBajtem({0, 0, 0, 0, 0, 0}, 7);
}

TBajty VychoziFwAkt()
{
    TBajty h(64, 0);
    Zapis32(h, 0, 412352);
    for (std::size_t i = 0; i < 16; ++i)
        h[4 + i] = static_cast<std::uint8_t>(0x3C + 17 * i);
    // 24.11.2023 9:07:05
    const std::uint8_t cas[6] = {5, 7, 9, 24, 11, 23};
    for (std::size_t i = 0; i < 6; ++i)
        h[20 + i] = cas[i];
    ZapisText(h, 26, 38, "C:\\fw\\vk7316r_1_00.hbn");
    return h;
}

TBajty HlavickaLog(std::uint32_t pocet, std::uint32_t vymazani)
{
    TBajty h(DelkaHlavickyLog, 0);
    h[0] = 0x4C;
    h[1] = 0x47;
    h[2] = 0x02;
    Zapis16(h, 4, static_cast<std::uint16_t>(DelkaZaznamuLog));
    Zapis32(h, 8, pocet);
    Zapis32(h, 12, pocet % KapacitaLog);
    Zapis32(h, 16, vymazani);
    Zapis32(h, 28, KapacitaLog);
    return h;
}

TBajty VychoziLogBin(std::int64_t konecMs)
{
    constexpr std::uint32_t pocet = sizeof Vzory / sizeof Vzory[0];
    TBajty log = HlavickaLog(pocet, 1);
    // Spread over the three days before the end, irregularly, oldest first.
    std::int64_t casMs = konecMs - 3LL * 24 * 3600 * 1000;
    for (std::uint32_t i = 0; i < pocet; ++i) {
        casMs += 4000LL * 1000 + static_cast<std::int64_t>((i * 7919u) % 3001u) * 1000 + i * 37;
        const TBajty z = Zaznam(Vzory[i], 1000 + i, casMs);
        log.insert(log.end(), z.begin(), z.end());
    }
    return log;
}

TBajty LoghZLogBin(const TBajty& logBin)
{
    const std::size_t delka = logBin.size() < DelkaHlavickyLog ? logBin.size() : DelkaHlavickyLog;
    return TBajty(logBin.begin(), logBin.begin() + static_cast<std::ptrdiff_t>(delka));
}

TBajty Log100ZLogBin(const TBajty& logBin)
{
    TBajty vysledek = LoghZLogBin(logBin);
    if (logBin.size() <= DelkaHlavickyLog)
        return vysledek;
    const std::size_t zaznamu = (logBin.size() - DelkaHlavickyLog) / DelkaZaznamuLog;
    const std::size_t prvni = zaznamu > ZaznamuLog100 ? zaznamu - ZaznamuLog100 : 0;
    const auto od = logBin.begin() + static_cast<std::ptrdiff_t>(DelkaHlavickyLog + prvni * DelkaZaznamuLog);
    const auto po = logBin.begin() + static_cast<std::ptrdiff_t>(DelkaHlavickyLog + zaznamu * DelkaZaznamuLog);
    vysledek.insert(vysledek.end(), od, po);
    return vysledek;
}

}  // namespace vk::sim
