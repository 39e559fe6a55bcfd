// The procedures the command-line tool runs never pause on their own: a
// wait that lets a window paint its progress text belongs to that window,
// and each such wait made a scripted command slower (a connection 100 ms,
// every settings read and write 32 ms, the clock 100 ms). Every pause on
// this thread is watched; no time is measured.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "Cas.h"
#include "HlavniLinka.h"
#include "Hodiny.h"
#include "Lan4.h"
#include "LogNastaveni.h"
#include "ModbusTCP.h"
#include "PokusPripojeni.h"
#include "PrikazyModulu.h"
#include "ServisniLinka.h"
#include "SimModul.h"
#include "VzdalenaSprava.h"

namespace {

using namespace vk::procedures;

class BezPauz : public ::testing::Test {
protected:
    void SetUp() override
    {
        vk::link::NastavSledovaniPauz([this](std::int32_t ms) { pauzy_.push_back(ms); });
    }
    void TearDown() override { vk::link::NastavSledovaniPauz({}); }
    std::vector<std::int32_t> pauzy_;
};

// Catches a pause put back into a connection attempt, a settings area, the
// clock or a command.
TEST_F(BezPauz, ProceduryPrikazovehoRadku)
{
    vk::test::TSimModul s;
    std::string chyba;
    ASSERT_TRUE(s.Spust(vk::test::TLinkaSim::Sit, chyba)) << chyba;

    TOknoPripojeni okno;
    okno.ComboBox1 = 1;
    okno.Edit1 = s.sim.AdresaLan();
    okno.Edit2 = "400";
    vk::core::TPripojeni pripojeni;
    vk::core::VychoziPripojeni(pripojeni);
    EXPECT_EQ(InicializujPripojeni(s.modul, okno, pripojeni, {}, {}).Konec, TKonecPripojeni::Uspech);
    EXPECT_EQ(pauzy_, std::vector<std::int32_t>{});

    using TCteni = TVysledekCteni (*)(vk::device::TVK7316R&, vk::core::TCFGVK&, const TOznameni&);
    using TZapis = TVysledekZapisu (*)(vk::device::TVK7316R&, vk::core::TCFGVK, const TOznameni&);
    const std::pair<TCteni, TZapis> oblasti[] = {
        {lan4::PrectiData, lan4::ZapisData},
        {modbustcp::PrectiData, modbustcp::ZapisData},
        {servisnilinka::PrectiData, servisnilinka::ZapisData},
        {hlavnilinka::PrectiData, hlavnilinka::ZapisData},
        {vzdalenasprava::PrectiData, vzdalenasprava::ZapisData},
        {lognastaveni::PrectiData, lognastaveni::ZapisData},
    };
    for (const auto& [precti, zapis] : oblasti) {
        vk::core::TCFGVK cfg;
        ASSERT_TRUE(precti(s.modul, cfg, {}).Uspech);
        EXPECT_TRUE(zapis(s.modul, cfg, {}).Zapsano);
    }
    EXPECT_EQ(pauzy_, std::vector<std::int32_t>{});

    EXPECT_TRUE(ObnovHodiny(s.modul, true, true).Zapsano);
    EXPECT_TRUE(VymazDiagnostikuLinky(s.modul, true).Uspech);
    EXPECT_TRUE(RestartujModul(s.modul, true).Uspech);
    EXPECT_EQ(pauzy_, std::vector<std::int32_t>{});
}

}  // namespace
