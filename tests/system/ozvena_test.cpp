// Requests echoed ahead of their replies, as a two-wire adapter whose
// receiver stays on while it sends hands them back, against the in-process
// simulator over its pty: every device file with a serial code reads whole
// when echoes are dropped, and fails as it always did when they are kept.
#include <gtest/gtest.h>

#include "Rozhrani.h"
#include "Simulator.h"
#include "U_VK7316R.h"

using namespace vk::device;

namespace {

class Ozvena : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        vk::sim::TNastaveniSimulatoru n;
        n.SpustitLan = false;
        n.KodBaud = 8;
        n.Ozvena = true;
        std::string chyba;
        ASSERT_TRUE(sim_.Spust(n, chyba)) << chyba;
        VychoziModul(m_);
        vk::link::TVolbyPortu volby;
        volby.OdstranitOzvenu = GetParam();
        ASSERT_EQ(vk::link::OtevriPort(1, 8, 0, 400, m_.MBRTU, sim_.CestaSerial(), volby), 0);
        m_.MBRTU.CFG.Adresa = 247;
        m_.Rozhrani = vk::common::RozhraniUART;
        m_.Init = true;
    }
    void TearDown() override
    {
        vk::link::ZavriPort(m_.MBRTU);
        sim_.Zastav();
    }

    vk::sim::TSimulator sim_;
    TVK7316R m_;
};

}  // namespace

// Catches the switch not reaching the reply wait (both ways), and a file
// whose request or reply the echo removal gets wrong (the longest, sys.bin
// in two blocks, and the shortest alike).
TEST_P(Ozvena, ReadsOfEveryFileWithASerialCode)
{
    int souboru = 0;
    for (const TSouborZarizeni& s : TabulkaSouboru()) {
        // ctrl.bin is written only (Operace writes it through the echo too).
        if (s.KodSouboru < 0 || s.DelkaBlok0 + s.DelkaBlok1 == 0 || s.Nazev == "ctrl.bin")
            continue;
        SCOPED_TRACE(s.Nazev);
        ++souboru;
        TVK7316R_Soubor r;
        r.Soubor = s.Nazev;
        if (GetParam()) {
            ASSERT_TRUE(PrectiSoubor(m_, r)) << r.StatusText;
            EXPECT_EQ(r.Data.size(), static_cast<std::size_t>(s.DelkaBlok0 + s.DelkaBlok1));
            EXPECT_TRUE(m_.MBRTU.ED.Ozvena);
        } else {
            EXPECT_FALSE(PrectiSoubor(m_, r));
            EXPECT_EQ(r.StatusText, "Chyba spojení s modulem");
        }
    }
    EXPECT_EQ(souboru, 12);  // fw.hbn has no length to read, log.cfg and log.clr no serial code
}

INSTANTIATE_TEST_SUITE_P(Odstraneni, Ozvena, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Zapnuto" : "Vypnuto"; });
