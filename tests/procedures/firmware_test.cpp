// The firmware upgrade's status texts in order over both links, what
// reaches the module, and a stopped upload that leaves the image unarmed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Cas.h"
#include "Firmware.h"
#include "SimModul.h"
#include "Ukonceni.h"

using namespace vk::procedures;
using vk::sim::TPorucha;
using vk::test::TLinkaSim;

namespace {

const std::string Zapis = " Probíhá zápis do modulu ...";
const std::string Zapsano = " Firmware zapsán do modulu. Pro spuštění nutno modul restartovat.";
const std::string Preruseno = " Nahrávání přerušeno, nový firmware nebyl aktivován.";
const std::vector<std::uint8_t> Prog = {0x70, 0x72, 0x6F, 0x67, 0x00};

class Firmware : public ::testing::TestWithParam<TLinkaSim> {
protected:
    void SetUp() override
    {
        std::string chyba;
        ASSERT_TRUE(s_.Spust(GetParam(), chyba)) << chyba;
        obraz_ = std::filesystem::temp_directory_path() /
                 ("vk_fw_" + std::to_string(::getpid()) + "_" + vk::test::NazevLinkySim(GetParam()) + ".hbn");
        bajty_.resize(5000);
        for (std::size_t i = 0; i < bajty_.size(); ++i)
            bajty_[i] = static_cast<char>(i * 7 + 3);
        std::ofstream(obraz_, std::ios::binary).write(bajty_.data(), static_cast<std::streamsize>(bajty_.size()));
    }
    void TearDown() override
    {
        vk::link::NastavUkonceni({});
        std::filesystem::remove(obraz_);
    }
    TOznameni Zaznam()
    {
        texty_.clear();
        return [this](const std::string& t) { texty_.push_back(t); };
    }

    vk::test::TSimModul s_;
    std::filesystem::path obraz_;
    std::string bajty_;
    std::vector<std::string> texty_;
};

TEST_P(Firmware, ZapisNahrajeObrazAPrikazProg)
{
    std::uint64_t posledni = 0;
    const TVysledekFirmware v = ZapisFirmware(
        s_.modul, true, obraz_.string(), {}, [&](std::uint64_t odeslano, std::uint64_t) { posledni = odeslano; },
        Zaznam());
    EXPECT_EQ(texty_, (std::vector<std::string>{" ", Zapis, Zapsano}));
    EXPECT_EQ(v.Status, Zapsano);
    EXPECT_TRUE(v.Aktivovano);
    EXPECT_EQ(v.Upgrade.FW_Soubor, obraz_.string());
    EXPECT_EQ(posledni, bajty_.size());
    const auto fw = s_.sim.Soubor("fw.hbn");
    EXPECT_EQ(std::string(fw.begin(), fw.end()), bajty_);
    EXPECT_EQ(s_.sim.Soubor("boot.cmd"), Prog);
    const TVysledekBootCmd b = ZobrazBootCmd(s_.modul, true, Zaznam());
    EXPECT_EQ(texty_, (std::vector<std::string>{" Probíhá čtení boot.cmd ...", " Přečteno."}));
    EXPECT_EQ(b.Radek, "prog");
}

TEST_P(Firmware, NezdarenyUploadNezapiseProg)
{
    const auto boot = s_.sim.Soubor("boot.cmd");
    s_.sim.NastavPoruchu(TPorucha::OdmitnutyZapis, true, 1);
    const TVysledekFirmware v = ZapisFirmware(s_.modul, true, obraz_.string(), {}, {}, Zaznam());
    const std::string chyba = GetParam() == TLinkaSim::Serial ? " Chyba zápisu dat" : " Chyba spojení";
    EXPECT_EQ(texty_, (std::vector<std::string>{" ", Zapis, chyba}));
    EXPECT_FALSE(v.Nahrano);
    EXPECT_FALSE(v.Aktivovano);
    EXPECT_EQ(s_.sim.Soubor("boot.cmd"), boot);
}

// A stop asked for once the first block is out (as closing the window does).
TEST_P(Firmware, ZastavenyUploadNeposleProg)
{
    const auto boot = s_.sim.Soubor("boot.cmd");
    bool zastavit = false;
    vk::link::NastavUkonceni([&] { return zastavit; });
    const TVysledekFirmware v = ZapisFirmware(
        s_.modul, true, obraz_.string(), {}, [&](std::uint64_t odeslano, std::uint64_t) { zastavit = odeslano > 0; },
        Zaznam());
    EXPECT_EQ(texty_, (std::vector<std::string>{" ", Zapis, Preruseno}));
    EXPECT_TRUE(v.Preruseno);
    EXPECT_FALSE(v.Aktivovano);
    EXPECT_EQ(s_.sim.Soubor("boot.cmd"), boot);
}

// Unlike the restart window, the upgrade window's pause comes before the
// success text.
TEST_P(Firmware, RestartPockaPredHlasenim)
{
    vk::link::NastavSledovaniPauz([&](std::int32_t ms) { texty_.push_back("pauza " + std::to_string(ms)); });
    const TVysledekPrikazu v = RestartujPoUpgradu(
        s_.modul, true, [&](const std::string& t) { texty_.push_back(t); }, 1000);
    vk::link::NastavSledovaniPauz({});
    EXPECT_TRUE(v.Uspech);
    EXPECT_EQ(texty_,
              (std::vector<std::string>{" Probíhá restart zařízení ...", "pauza 1000", " Zařízení restartováno."}));
}

TEST_P(Firmware, PrectiUkazeTypAFirmwareModulu)
{
    vk::core::TUpgrade predchozi;
    predchozi.FW_Soubor = "zustane.hbn";
    const TVysledekCteniFirmware v = PrectiFirmware(s_.modul, true, predchozi, Zaznam());
    EXPECT_EQ(texty_, (std::vector<std::string>{" Probíhá čtení z modulu (0 %)", " Probíhá čtení z modulu (50 %)",
                                                " Probíhá čtení z modulu (100 %)", " Přečteno."}));
    EXPECT_TRUE(v.Uspech);
    EXPECT_EQ(v.Upgrade.TypVerze, "VK-7316R v.1.00 (sn.2");  // the first 21 characters of info.txt
    EXPECT_FALSE(v.Upgrade.HBIN_Soubor.empty());
    EXPECT_EQ(v.Upgrade.FW_Soubor, "zustane.hbn");
}

INSTANTIATE_TEST_SUITE_P(Linky, Firmware, ::testing::Values(TLinkaSim::Serial, TLinkaSim::Sit),
                         [](const auto& info) { return vk::test::NazevLinkySim(info.param); });

// The file field and the connection are checked before any traffic.
TEST(FirmwareBezProvozu, NazevSouboruAPripojeni)
{
    vk::test::TSimModul s;
    std::string chyba;
    ASSERT_TRUE(s.Spust(TLinkaSim::Sit, chyba)) << chyba;
    struct TPripad {
        bool init;
        std::string edit1;
        std::string status;
    };
    const std::vector<TPripad> pripady = {
        {false, "/etc/hostname", " Připojení k zařízení není inicializováno."},
        {true, "", " Není zadán název souboru"},
        {true, " ", " Soubor nenalezen"},
        {true, "/nonexistent/fw.hbn", " Soubor nenalezen"},
        {true, "/", " Soubor nenalezen"},
    };
    for (const auto& p : pripady) {
        SCOPED_TRACE("'" + p.edit1 + "'");
        const TVysledekFirmware v = ZapisFirmware(s.modul, p.init, p.edit1, {});
        EXPECT_EQ(v.Status, p.status);
        EXPECT_EQ(v.Upgrade.FW_Soubor, "");
    }
    EXPECT_EQ(s.sim.PocetPozadavku(), 0u);
}

}  // namespace
