// The verified write of every settings area compares each field it claims
// to verify: a module that stores another value in any one of them fails
// with " Chyba verifikace zápisu.". The simulator changes one byte of the
// written file, one field at a time, so that a comparison that leaves out a
// field (the gateway, the high byte of a time-out) is caught, which a fault
// in the first byte alone never shows.
#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "Dekl.h"
#include "HlavniLinka.h"
#include "Lan4.h"
#include "ModbusTCP.h"
#include "ServisniLinka.h"
#include "SimModul.h"

namespace {

using vk::core::TCFGVK;
using vk::procedures::TVysledekZapisu;
using vk::test::TLinkaSim;
using vk::test::TSimModul;

struct TPole {
    const char* Nazev;
    std::size_t Bajt;  // a byte of the field in the device file
};

struct TOblastOvereni {
    const char* Soubor;
    std::function<TVysledekZapisu(vk::device::TVK7316R&, const TCFGVK&)> Zapis;
    std::vector<TPole> Pole;
};

TCFGVK Zapisovany()
{
    TCFGVK c;
    c.LAN4 = {{10, 1, 2, 3}, {255, 255, 0, 0}, {10, 1, 0, 254}, 0};
    c.MBTCP.UnitID = 7;
    c.MBTCP.Timeout = 60;
    c.UARTS = {12, 6, 1, 0};
    c.UARTM = {8, 2, 330, 3};
    return c;
}

const TOblastOvereni Oblasti[] = {
    {"lan4.cfg",
     [](vk::device::TVK7316R& m, const TCFGVK& c) { return vk::procedures::lan4::ZapisData(m, c, {}); },
     {{"IP4_Adresa", 3}, {"IP4_Maska", 5}, {"IP4_Brana", 8}, {"IP4_Brana", 11}, {"IP4_DHCP", 12}}},
    {"mbtcp.cfg",
     [](vk::device::TVK7316R& m, const TCFGVK& c) { return vk::procedures::modbustcp::ZapisData(m, c, {}); },
     {{"UnitID", 0}, {"Timeout", 1}}},
    {"uarts.cfg",
     [](vk::device::TVK7316R& m, const TCFGVK& c) { return vk::procedures::servisnilinka::ZapisData(m, c, {}); },
     {{"Adresa", 0}, {"KodBaud", 1}, {"KodParita", 2}, {"Repeater", 3}}},
    {"uartm.cfg",
     [](vk::device::TVK7316R& m, const TCFGVK& c) { return vk::procedures::hlavnilinka::ZapisData(m, c, {}); },
     {{"KodBaud", 0}, {"KodParita", 1}, {"Timeout dolni", 2}, {"Timeout horni", 3}, {"Opakovani", 4}}},
};

TEST(OvereniPoli, KazdePoleOblastiSeOveri)
{
    TSimModul s;
    std::string chyba;
    ASSERT_TRUE(s.Spust(TLinkaSim::Sit, chyba)) << chyba;
    for (const TOblastOvereni& o : Oblasti) {
        for (const TPole& p : o.Pole) {
            SCOPED_TRACE(std::string(o.Soubor) + " " + p.Nazev);
            s.sim.NastavBajtJineHodnoty(p.Bajt);
            s.sim.NastavPoruchu(vk::sim::TPorucha::JinaUlozenaHodnota, true, 1);
            const TVysledekZapisu v = o.Zapis(s.modul, Zapisovany());
            EXPECT_FALSE(v.Zapsano);
            EXPECT_EQ(v.Status, " Chyba verifikace zápisu.");
        }
        // The same write to a module that stores it faithfully passes: the
        // failures above come from the changed field alone.
        SCOPED_TRACE(o.Soubor);
        EXPECT_EQ(o.Zapis(s.modul, Zapisovany()).Status, " Konfigurace zapsána.");
    }
}

}  // namespace
