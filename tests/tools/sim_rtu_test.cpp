// The simulator's serial side seen from a raw pty peer: the replies to the
// three private functions byte by byte, the frames it must ignore (also
// those sent at other line settings), and the fault switches.
#include <gtest/gtest.h>

#include <string>

#include "Simulator.h"
#include "sim_test_klient.h"

using namespace simtest;
using vk::sim::TPorucha;

namespace {

class simRtu : public ::testing::Test {
protected:
    void SetUp() override
    {
        vk::sim::TNastaveniSimulatoru n;
        n.SpustitLan = false;
        n.KodBaud = 8;  // the shortest delays keep the suite fast
        std::string chyba;
        ASSERT_TRUE(sim.Spust(n, chyba)) << chyba;
        port = std::make_unique<TPtyKlient>(sim.CestaSerial());
        ASSERT_TRUE(port->Otevren());
    }

    Bajty Cti(std::uint8_t kod, std::uint16_t blok, std::uint8_t delka)
    {
        return port->Dotaz({247, 0x43, 0xFE, kod, static_cast<std::uint8_t>(blok >> 8),
                            static_cast<std::uint8_t>(blok & 0xFF), delka});
    }

    Bajty Zapis(std::uint8_t kod, std::uint16_t blok, const Bajty& data)
    {
        Bajty r = {247,
                   0x44,
                   0xFE,
                   kod,
                   static_cast<std::uint8_t>(blok >> 8),
                   static_cast<std::uint8_t>(blok & 0xFF),
                   static_cast<std::uint8_t>(data.size())};
        r.insert(r.end(), data.begin(), data.end());
        return port->Dotaz(r);
    }

    Bajty Objekt(std::uint8_t objekt) { return port->Dotaz({247, 0x45, 0x00, 0x08, 247, 0xC8, objekt, 0, 0, 0, 0, 0}); }

    // The four identification characters of an embedded reply.
    static std::string Znaky(const Bajty& r)
    {
        if (r.size() != 14)
            return "<" + std::to_string(r.size()) + " bytes>";
        return std::string(r.begin() + 8, r.begin() + 12);
    }

    vk::sim::TSimulator sim;
    std::unique_ptr<TPtyKlient> port;
};

TEST_F(simRtu, ReadOfInfoTxtCarriesThirtyOneBytesAfterAThreeByteHeader)
{
    const Bajty r = Cti(0, 0, 31);
    ASSERT_EQ(r.size(), 3u + 31u + 2u);
    EXPECT_TRUE(CrcSedi(r));
    EXPECT_EQ(r[0], 247);
    EXPECT_EQ(r[1], 0x43);
    Bajty ocekavane = Text("VK-7316R v.1.00 (sn.23110042)");
    ocekavane.resize(31, 0);  // past the file's end the module sends zero bytes
    EXPECT_EQ(Bajty(r.begin() + 3, r.end() - 2), ocekavane);
}

TEST_F(simRtu, SysBinInTwoBlocksEqualsTheWholeFile)
{
    const Bajty prvni = Cti(2, 0, 240);
    const Bajty druhy = Cti(2, 1, 152);
    ASSERT_EQ(prvni.size(), 245u);
    ASSERT_EQ(druhy.size(), 157u);
    Bajty spojeny(prvni.begin() + 3, prvni.end() - 2);
    spojeny.insert(spojeny.end(), druhy.begin() + 3, druhy.end() - 2);
    const Bajty soubor = sim.Soubor("sys.bin");
    ASSERT_EQ(soubor.size(), 392u);
    // Texts and the firmware header do not move between two reads.
    EXPECT_EQ(Bajty(spojeny.begin(), spojeny.begin() + 120), Bajty(soubor.begin(), soubor.begin() + 120));
}

TEST_F(simRtu, WrittenConfigurationIsReadBack)
{
    const Bajty lan4 = SKontrolou({10, 0, 0, 5, 255, 0, 0, 0, 10, 0, 0, 1, 1, 0, 0});
    const Bajty r = Zapis(20, 0, lan4);
    EXPECT_EQ(r, SCrc({247, 0x44, 0}));
    const Bajty cteni = Cti(20, 0, 16);
    ASSERT_EQ(cteni.size(), 21u);
    EXPECT_EQ(Bajty(cteni.begin() + 3, cteni.end() - 2), lan4);
    EXPECT_EQ(sim.Soubor("lan4.cfg"), lan4);
}

struct TOdmitnutyZapis {
    const char* popis;
    std::uint8_t kod;
    Bajty data;
};

class simRtuOdmitnuti : public simRtu, public ::testing::WithParamInterface<TOdmitnutyZapis> {};

TEST_P(simRtuOdmitnuti, ModuleAnswersResultOneAndKeepsTheFile)
{
    const auto& p = GetParam();
    const std::string nazev = p.kod == 22 ? "mbtcp.cfg" : p.kod == 2 ? "sys.bin" : "ctrl.bin";
    const Bajty pred = p.kod == 22 ? sim.Soubor(nazev) : Bajty{};
    EXPECT_EQ(Zapis(p.kod, 0, p.data), SCrc({247, 0x44, 1})) << p.popis;
    if (p.kod == 22) {
        EXPECT_EQ(sim.Soubor(nazev), pred) << p.popis;
    }
}

INSTANTIATE_TEST_SUITE_P(Zapisy, simRtuOdmitnuti,
                         ::testing::Values(TOdmitnutyZapis{"wrong check byte", 22, {1, 60, 0}},
                                           TOdmitnutyZapis{"too short", 22, {1, 0xFF}},
                                           TOdmitnutyZapis{"read-only file", 2, {1, 2, 3}},
                                           TOdmitnutyZapis{"unknown command", 3, SKontrolou(Bajty(22, 7))}));

TEST_F(simRtu, IdentificationObjectsSpellTypeVersionAndSerial)
{
    const std::pair<std::uint8_t, const char*> objekty[] = {
        {0, "VK-7"}, {1, "316R"}, {2, "1.00"}, {10, "2311"}, {11, "0042"}};
    for (const auto& [objekt, znaky] : objekty) {
        const Bajty r = Objekt(objekt);
        EXPECT_TRUE(CrcSedi(r)) << int(objekt);
        ASSERT_GE(r.size(), 4u);
        EXPECT_EQ(Bajty(r.begin(), r.begin() + 4), (Bajty{247, 0x45, 0, 8})) << int(objekt);
        EXPECT_EQ(Znaky(r), znaky) << int(objekt);
    }
}

struct TVyjimka {
    const char* popis;
    Bajty pozadavek;
    Bajty odpoved;  // without the CRC
};

class simRtuVyjimky : public simRtu, public ::testing::WithParamInterface<TVyjimka> {};

TEST_P(simRtuVyjimky, AnswerIsAnExceptionFrame)
{
    EXPECT_EQ(port->Dotaz(GetParam().pozadavek), SCrc(GetParam().odpoved)) << GetParam().popis;
}

INSTANTIATE_TEST_SUITE_P(
    Ramce, simRtuVyjimky,
    ::testing::Values(TVyjimka{"unknown function", {247, 0x03, 0, 0, 0, 1}, {247, 0x83, 1}},
                      TVyjimka{"unknown file code", {247, 0x43, 0xFE, 99, 0, 0, 4}, {247, 0xC3, 2}},
                      TVyjimka{"write-only file read", {247, 0x43, 0xFE, 3, 0, 0, 23}, {247, 0xC3, 2}},
                      TVyjimka{"read longer than a frame", {247, 0x43, 0xFE, 2, 0, 0, 252}, {247, 0xC3, 3}},
                      TVyjimka{"write length byte disagrees", {247, 0x44, 0xFE, 22, 0, 0, 3, 1, 2}, {247, 0xC4, 3}},
                      TVyjimka{"unknown object", {247, 0x45, 0, 8, 247, 0xC8, 5, 0, 0, 0, 0, 0}, {247, 0xC5, 2}}));

TEST_F(simRtu, FramesForAnotherAddressOrWithABadCrcGetNoAnswer)
{
    EXPECT_TRUE(port->Dotaz({1, 0x43, 0xFE, 0, 0, 0, 31}, 150).empty());
    Bajty spatny = SCrc({247, 0x43, 0xFE, 0, 0, 0, 31});
    spatny.back() ^= 0x01;
    port->PosliSurove(spatny);
    EXPECT_TRUE(port->Prijmi(150).empty());
    // Both reached the module, and it still answers the next good frame.
    EXPECT_EQ(sim.PocetPozadavku(), 2u);
    EXPECT_EQ(Cti(22, 0, 3).size(), 8u);
}

// At 600 Bd a request ends only after 64 ms of silence, far above any
// scheduling delay between two writes, so the outcome does not hang on timing.
TEST(simRtuTicho, PauseShorterThanTheSilenceKeepsOneFrameALongerOneSplitsIt)
{
    vk::sim::TSimulator sim;
    vk::sim::TNastaveniSimulatoru n;
    n.SpustitLan = false;
    n.KodBaud = 0;
    std::string chyba;
    ASSERT_TRUE(sim.Spust(n, chyba)) << chyba;
    TPtyKlient port(sim.CestaSerial());
    const Bajty r = SCrc({247, 0x43, 0xFE, 22, 0, 0, 3});
    port.PosliSurove(Bajty(r.begin(), r.begin() + 4));
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    port.PosliSurove(Bajty(r.begin() + 4, r.end()));
    EXPECT_EQ(port.Prijmi(1000).size(), 8u);
    EXPECT_EQ(sim.PocetPozadavku(), 1u);

    port.PosliSurove(Bajty(r.begin(), r.begin() + 4));
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    port.PosliSurove(Bajty(r.begin() + 4, r.end()));
    EXPECT_TRUE(port.Prijmi(300).empty());
    EXPECT_EQ(sim.PocetPozadavku(), 3u);  // two broken frames, neither answered
}

TEST_F(simRtu, UploadInBlocksBuildsTheImage)
{
    Bajty obraz(481);
    for (std::size_t i = 0; i < obraz.size(); ++i)
        obraz[i] = static_cast<std::uint8_t>(i * 7);
    for (std::uint16_t blok = 0; blok * 240u < obraz.size(); ++blok) {
        const auto od = obraz.begin() + blok * 240;
        const auto po = blok * 240u + 240u < obraz.size() ? od + 240 : obraz.end();
        ASSERT_EQ(Zapis(46, blok, Bajty(od, po)), SCrc({247, 0x44, 0})) << blok;
    }
    EXPECT_EQ(sim.Soubor("fw.hbn"), obraz);
}

struct TPoruchaRtu {
    TPorucha porucha;
    const char* popis;
};

class simRtuPoruchy : public simRtu, public ::testing::WithParamInterface<TPoruchaRtu> {};

TEST_P(simRtuPoruchy, FaultActsOnceWhenCountedThenTheModuleIsSound)
{
    const TPorucha porucha = GetParam().porucha;
    const Bajty mbtcp = SKontrolou({9, 30});
    const auto dotaz = [&] {
        if (porucha == TPorucha::OdmitnutyZapis || porucha == TPorucha::JinaUlozenaHodnota)
            return Zapis(22, 0, mbtcp);
        if (porucha == TPorucha::JinyTyp)
            return Objekt(1);
        if (porucha == TPorucha::JinaVerze)
            return Objekt(2);
        return Cti(22, 0, 3);
    };
    sim.NastavPoruchu(porucha, true, 1);
    const Bajty vadna = dotaz();
    switch (porucha) {
    case TPorucha::ZadnaOdpoved:
        EXPECT_TRUE(vadna.empty());
        break;
    case TPorucha::SpatneCRC:
        ASSERT_EQ(vadna.size(), 8u);
        EXPECT_FALSE(CrcSedi(vadna));
        break;
    case TPorucha::VyjimkaOdpoved:
        EXPECT_EQ(vadna, SCrc({247, 0xC3, 4}));
        break;
    case TPorucha::OdmitnutyZapis:
        EXPECT_EQ(vadna, SCrc({247, 0x44, 1}));
        EXPECT_NE(sim.Soubor("mbtcp.cfg"), mbtcp);
        break;
    case TPorucha::JinaUlozenaHodnota: {
        EXPECT_EQ(vadna, SCrc({247, 0x44, 0}));
        const Bajty ulozeny = sim.Soubor("mbtcp.cfg");
        EXPECT_NE(ulozeny, mbtcp);
        ASSERT_EQ(ulozeny.size(), 3u);
        EXPECT_EQ(ulozeny[1], 30);
        EXPECT_EQ(static_cast<std::uint8_t>(ulozeny[0] + ulozeny[1] + ulozeny[2]), 0);
        break;
    }
    case TPorucha::JinyTyp:
        EXPECT_EQ(Znaky(vadna), "317R");
        break;
    case TPorucha::JinaVerze:
        EXPECT_EQ(Znaky(vadna), "2.10");
        break;
    default:
        FAIL() << "no serial effect for " << GetParam().popis;
    }
    const Bajty dobra = dotaz();
    EXPECT_TRUE(CrcSedi(dobra)) << GetParam().popis;
    if (porucha == TPorucha::JinyTyp) {
        EXPECT_EQ(Znaky(dobra), "316R");
    }
    if (porucha == TPorucha::JinaVerze) {
        EXPECT_EQ(Znaky(dobra), "1.00");
    }
    if (porucha == TPorucha::OdmitnutyZapis || porucha == TPorucha::JinaUlozenaHodnota) {
        EXPECT_EQ(sim.Soubor("mbtcp.cfg"), mbtcp);
    }
}

INSTANTIATE_TEST_SUITE_P(Poruchy, simRtuPoruchy,
                         ::testing::Values(TPoruchaRtu{TPorucha::ZadnaOdpoved, "ZadnaOdpoved"},
                                           TPoruchaRtu{TPorucha::SpatneCRC, "SpatneCRC"},
                                           TPoruchaRtu{TPorucha::VyjimkaOdpoved, "VyjimkaOdpoved"},
                                           TPoruchaRtu{TPorucha::OdmitnutyZapis, "OdmitnutyZapis"},
                                           TPoruchaRtu{TPorucha::JinaUlozenaHodnota, "JinaUlozenaHodnota"},
                                           TPoruchaRtu{TPorucha::JinyTyp, "JinyTyp"},
                                           TPoruchaRtu{TPorucha::JinaVerze, "JinaVerze"}));

TEST_F(simRtu, CountedIdentityFaultsChangeOneWholeIdentification)
{
    sim.NastavPoruchu(TPorucha::JinyTyp, true, 1);
    sim.NastavPoruchu(TPorucha::JinaVerze, true, 1);
    const auto identifikace = [&] {
        std::string text;
        for (const std::uint8_t objekt : {0, 1, 2, 10, 11})
            text += Znaky(Objekt(objekt));
        return text;
    };
    EXPECT_EQ(identifikace(), "VK-7317R2.1023110042");
    EXPECT_EQ(identifikace(), "VK-7316R1.0023110042");
}

TEST_F(simRtu, FaultSwitchedOnStaysUntilSwitchedOff)
{
    sim.NastavPoruchu(TPorucha::ZadnaOdpoved, true);
    EXPECT_TRUE(Cti(22, 0, 3).empty());
    EXPECT_TRUE(Cti(22, 0, 3).empty());
    sim.NastavPoruchu(TPorucha::ZadnaOdpoved, false);
    EXPECT_EQ(Cti(22, 0, 3).size(), 8u);
}

// With the echo switch every frame comes back byte for byte, ahead of its
// reply, and alone when the module does not answer. Catches an echo after
// the reply, a reply missing behind the echo, and frames the module ignores
// left without their echo.
TEST(simRtuOzvena, EveryFrameComesBackAheadOfItsReply)
{
    vk::sim::TSimulator sim;
    vk::sim::TNastaveniSimulatoru n;
    n.SpustitLan = false;
    n.KodBaud = 8;
    n.Ozvena = true;
    std::string chyba;
    ASSERT_TRUE(sim.Spust(n, chyba)) << chyba;
    TPtyKlient port(sim.CestaSerial());
    ASSERT_TRUE(port.Otevren());

    const Bajty pozadavek = SCrc({247, 0x43, 0xFE, 22, 0, 0, 3});
    const Bajty prijato = port.Dotaz({247, 0x43, 0xFE, 22, 0, 0, 3});
    Bajty ocekavano = pozadavek;
    Bajty odpoved = {247, 0x43, 3};
    const Bajty mbtcp = sim.Soubor("mbtcp.cfg");
    odpoved.insert(odpoved.end(), mbtcp.begin(), mbtcp.end());
    odpoved = SCrc(odpoved);
    ocekavano.insert(ocekavano.end(), odpoved.begin(), odpoved.end());
    EXPECT_EQ(prijato, ocekavano);

    EXPECT_EQ(port.Dotaz({1, 0x43, 0xFE, 22, 0, 0, 3}, 150), SCrc({1, 0x43, 0xFE, 22, 0, 0, 3}));
}

TEST_F(simRtu, ReplyComesAfterTheTurnaroundDelay)
{
    // Baud code 8: a frame ends after 2 ms of silence and the reply follows 4 ms later.
    port->PosliSurove(SCrc({247, 0x43, 0xFE, 22, 0, 0, 3}));
    std::int64_t prvni = -1;
    const Bajty r = port->Prijmi(500, 5, &prvni);
    EXPECT_EQ(r.size(), 8u);
    EXPECT_GE(prvni, 5);
    // Well before the 500 ms wait ends, with room for a loaded machine.
    EXPECT_LT(prvni, 400);
}

// A module at 19200 Bd with odd parity answers only a client set so: the
// search for the module relies on it. What a pty cannot show: the kernel
// clears PARENB, so even parity reads as none, and a module set to even (or
// none) answers a client set to either. Catches a simulator that answers at
// any settings, or looks at the rate or the parity only.
TEST(simRtuLinka, AnswersOnlyAtItsRateAndParity)
{
    vk::sim::TSimulator sim;
    vk::sim::TNastaveniSimulatoru n;
    n.SpustitLan = false;
    n.KodBaud = 5;
    n.KodParita = 2;
    n.Adresa = 17;
    std::string chyba;
    ASSERT_TRUE(sim.Spust(n, chyba)) << chyba;
    TPtyKlient port(sim.CestaSerial());
    ASSERT_TRUE(port.Otevren());
    const Bajty dotaz = {17, 0x45, 0x00, 0x08, 17, 0xC8, 0, 0, 0, 0, 0, 0};
    // A line left as the simulator set it up is the module's own.
    EXPECT_EQ(port.Dotaz(dotaz).size(), 14u);
    struct {
        const char* popis;
        speed_t rychlost;
        bool parita;
        bool licha;
        bool odpoved;
    } const pripady[] = {
        {"9600 Bd, odd", B9600, true, true, false},
        {"19200 Bd, none", B19200, false, false, false},
        {"19200 Bd, even (seen as none)", B19200, true, false, false},
        {"115200 Bd, odd", B115200, true, true, false},
        {"19200 Bd, odd", B19200, true, true, true},
    };
    for (const auto& p : pripady) {
        SCOPED_TRACE(p.popis);
        port.NastavLinku(p.rychlost, p.parita, p.licha);
        const Bajty r = port.Dotaz(dotaz, p.odpoved ? 500 : 150);
        EXPECT_EQ(r.size(), p.odpoved ? 14u : 0u);
    }
}

}  // namespace
