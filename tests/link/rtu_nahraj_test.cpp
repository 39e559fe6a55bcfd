// Uploading a local file in 240-byte blocks, over a pty to a scripted module
// and, for long files, over the virtual channel.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "M_ModbusRTU.h"
#include "PtyPair.h"
#include "RtuKanal.h"
#include "RtuPeer.h"
#include "RtuVirtualChannel.h"

using namespace vk::link;
using namespace vk::test;
using namespace std::chrono_literals;

namespace {

class DocasnySoubor {  // a temporary file with given contents
public:
    explicit DocasnySoubor(const Bajty& obsah)
        : cesta_(std::filesystem::temp_directory_path() /
                 ("rtu_nahraj_" + std::to_string(getpid()) + "_" + std::to_string(obsah.size())))
    {
        std::ofstream(cesta_, std::ios::binary).write(reinterpret_cast<const char*>(obsah.data()), obsah.size());
    }
    ~DocasnySoubor() { std::filesystem::remove(cesta_); }
    std::string cesta() const { return cesta_.string(); }

private:
    std::filesystem::path cesta_;
};

const Bajty Prijato = SCrc({0x01, 0x44, 0x00});
const Bajty Odmitnuto = SCrc({0x01, 0x44, 0x01});

class RtuNahraj : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(pty.ok());
        ASSERT_EQ(OtevriPort(1, 8, 0, 1000, link, pty.slavePath()), 0);
    }
    void TearDown() override { ZavriPort(link); }

    PtyPair pty;
    RtuPeer peer{pty.master()};
    TMBRTU link;
};

}  // namespace

TEST_F(RtuNahraj, BlocksOfAFile)
{
    struct Pripad {
        std::size_t velikost;
        std::vector<std::size_t> bloky;  // data bytes of each block the module sees
    };
    const Pripad pripady[] = {{480, {240, 240}}, {481, {240, 240, 1}}, {0, {}}, {239, {239}}};
    std::size_t videno = 0;
    for (const auto& p : pripady) {
        SCOPED_TRACE(testing::Message() << p.velikost << " bytes");
        const Bajty obsah = Rada(p.velikost, static_cast<std::uint8_t>(p.velikost));
        const DocasnySoubor soubor(obsah);
        for (std::size_t i = 0; i < p.bloky.size(); ++i)
            peer.answer(Prijato);
        std::vector<std::pair<std::uint64_t, std::uint64_t>> prubeh;
        EXPECT_EQ(
            NahrajSoubor(link, soubor.cesta(), 0x21,
                         [&](std::uint64_t odeslano, std::uint64_t celkem) { prubeh.emplace_back(odeslano, celkem); }),
            0);
        EXPECT_FALSE(peer.waitForRequests(videno + p.bloky.size() + 1, 50ms));  // nothing after the last block
        const auto pozadavky = peer.requests();
        ASSERT_EQ(pozadavky.size(), videno + p.bloky.size());
        std::size_t offset = 0;
        for (std::size_t i = 0; i < p.bloky.size(); ++i) {
            const Bajty& r = pozadavky[videno + i];
            Bajty ocekavany = {
                0x01, 0x44, 0xFE, 0x21, 0x00, static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(p.bloky[i])};
            ocekavany.insert(ocekavany.end(), obsah.begin() + static_cast<std::ptrdiff_t>(offset),
                             obsah.begin() + static_cast<std::ptrdiff_t>(offset + p.bloky[i]));
            EXPECT_EQ(r, SCrc(ocekavany)) << "block " << i;
            offset += p.bloky[i];
            ASSERT_GT(prubeh.size(), i);
            EXPECT_EQ(prubeh[i], std::make_pair(std::uint64_t{offset}, std::uint64_t{p.velikost}));
        }
        EXPECT_EQ(prubeh.size(), p.bloky.size());
        videno = pozadavky.size();
    }
}

TEST_F(RtuNahraj, RefusedBlockEndsTheUpload)
{
    const DocasnySoubor soubor(Rada(600));
    peer.answer(Prijato);
    peer.answer(Odmitnuto);
    int bloku = 0;
    EXPECT_EQ(NahrajSoubor(link, soubor.cesta(), 3, [&](std::uint64_t, std::uint64_t) { ++bloku; }), 3);
    EXPECT_EQ(link.ED.StatusText, "Chyba zápisu dat");
    EXPECT_EQ(bloku, 1);
    EXPECT_FALSE(peer.waitForRequests(3, 100ms));
}

TEST_F(RtuNahraj, FileThatCannotBeOpened)
{
    const std::string chybi = "/nonexistent-vk-dir/fw.hbn";
    EXPECT_EQ(NahrajSoubor(link, chybi, 3), 1);
    EXPECT_EQ(link.ED.StatusText, "Nelze otevřít soubor " + chybi);
    const std::string slozka = std::filesystem::temp_directory_path().string();
    EXPECT_EQ(NahrajSoubor(link, slozka, 3), 1);
    EXPECT_EQ(link.ED.StatusText, "Nelze otevřít soubor " + slozka);
    EXPECT_FALSE(peer.waitForRequests(1, 100ms));

    TMBRTU zavreny = link;  // a closed port is reported before the file is looked at
    zavreny.ID.HNDL = 0;
    zavreny.ED.StatusText = "predtim";
    EXPECT_EQ(NahrajSoubor(zavreny, chybi, 3), 1);
    EXPECT_EQ(zavreny.ED.StatusText, "predtim");
}

TEST(RtuNahrajDlouhy, BlockNumbersPast255)
{
    const std::size_t bloku = 258;
    const DocasnySoubor soubor(Rada(240 * (bloku - 1) + 1));
    RtuVirtualChannel kanal;
    kanal.responder = [](const Bajty&) { return Prijato; };
    TMBRTU link;
    link.CFG.Timeout = 100;
    ASSERT_EQ(NahrajSoubor(link, kanal, soubor.cesta(), 9), 0);
    ASSERT_EQ(kanal.written.size(), bloku);
    for (std::size_t i = 0; i < bloku; ++i) {
        EXPECT_EQ(kanal.written[i][4], i >> 8) << "block " << i;
        EXPECT_EQ(kanal.written[i][5], i & 0xFF) << "block " << i;
    }
    EXPECT_EQ(kanal.written.back()[6], 1);
}
