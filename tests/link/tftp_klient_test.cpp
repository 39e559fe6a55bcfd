// The client's state machine without sockets: one datagram arrives in a
// given state; the table says the state it must leave and the exact packets
// it must send. Bad input of every kind a peer could produce is here.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TftpKlient.h"
#include "TftpSkriptServer.h"

using namespace vk::link;
using namespace vk::link::tftp;
using vk::test::Hex;
using vk::test::TBajty;
using vk::test::TftpAck;
using vk::test::TftpChyba;
using vk::test::TftpData;
using vk::test::TftpOack;

namespace {

TAdresaUdp Adresa(const char* text)
{
    TAdresaUdp a;
    std::string chyba;
    EXPECT_TRUE(NajdiAdresu(text, 69, false, a, chyba)) << chyba;
    return a;
}

const TAdresaUdp Server = Adresa("127.0.0.1:69");
const TAdresaUdp Peer = Adresa("127.0.0.1:40000");
const TAdresaUdp JinyPort = Adresa("127.0.0.1:40001");
const TAdresaUdp JinyHost = Adresa("127.0.0.2:40000");

TAkce Dorucit(TPrenos& p, const TBajty& d, const TAdresaUdp& od = Peer, bool orezan = false)
{
    return Krok(p, TUdalost::Datagram, od, d.data(), d.size(), orezan);
}

// The states a datagram can meet.
enum class TVychozi {
    CteniPoZadosti,     // read request sent
    CteniPoOack1500,    // OACK blksize 1500 acknowledged, DATA 1 expected
    CteniBlok2,         // DATA 1 (512) acknowledged, DATA 2 expected
    CteniBlok65535,     // blocks up to 65534 (512) taken
    ZapisPoZadosti,     // write request for 3000 bytes sent
    ZapisCekaAck1,      // block 1 (512 of 3000) sent
    ZapisCekaAck65535,  // block 65535 sent, more to come
    ZapisPrazdny,       // zero-byte write: empty block 1 sent
};

// `opakovani`: retries of the transfer; the table below pins the rule
// without them.
TPrenos Priprav(TVychozi v, std::int32_t opakovani = 0)
{
    const bool cteni = v <= TVychozi::CteniBlok65535;
    const std::uint64_t celkem = v == TVychozi::ZapisPrazdny ? 0 : 3000;
    TPrenos p = NovyPrenos(cteni ? TSmer::Cteni : TSmer::Zapis, "lan4.cfg", Server, 1500, celkem, opakovani);
    Krok(p, TUdalost::Zahajeni);
    switch (v) {
    case TVychozi::CteniPoZadosti:
    case TVychozi::ZapisPoZadosti:
        break;
    case TVychozi::CteniPoOack1500:
        Dorucit(p, TftpOack({"blksize", "1500", "tsize", "3000"}));
        break;
    case TVychozi::CteniBlok2:
        Dorucit(p, TftpData(1, 512));
        break;
    case TVychozi::CteniBlok65535:
        Dorucit(p, TftpData(1, 512));
        p.Blok = 65534;
        break;
    case TVychozi::ZapisCekaAck1:
    case TVychozi::ZapisPrazdny:
        Dorucit(p, TftpAck(0));
        break;
    case TVychozi::ZapisCekaAck65535:
        Dorucit(p, TftpAck(0));
        p.Blok = 65535;
        break;
    }
    return p;
}

struct TPripad {
    const char* nazev;
    TVychozi vychozi;
    TBajty datagram;
    TStav stav;                  // after the step
    std::vector<TBajty> pakety;  // sent to the peer, in order
    std::uint16_t blok = 0;      // block size after the step, 0 = not checked
};

const TBajty Err4 = TftpChyba(4, "");
const TBajty Err8Prazdna = TftpChyba(8, "");

TBajty Err8Volba(const std::string& nazev)
{
    return TftpChyba(8, "Unsupported option: \"" + nazev + "\"");
}

TBajty Err8Hodnota(const std::string& hodnota, const std::string& nazev)
{
    return TftpChyba(8, "Unsupported value \"" + hodnota + "\" for option: \"" + nazev + "\"");
}

TBajty Oack(const std::string& nazev, const std::string& hodnota)
{
    return TftpOack({nazev, hodnota});
}

const TBajty ChybaBezNuly = Hex("00 05 00 01 41 42 43");
const TBajty ChybaDlouha = [] {
    TBajty p = TftpChyba(0, std::string(65000, 'x'));
    return p;
}();

using enum TVychozi;
using enum TStav;

const std::vector<TPripad> Pripady = {
    // Too short to carry an opcode or a block number.
    {"prazdny", CteniPoZadosti, {}, Selhani, {Err4}},
    {"1bajt", CteniPoZadosti, Hex("03"), Selhani, {Err4}},
    {"DATA2bajty", CteniPoZadosti, Hex("00 03"), Selhani, {Err4}},
    {"DATA3bajty", CteniPoZadosti, Hex("00 03 00"), Selhani, {Err4}},
    {"ACK3bajty", ZapisPoZadosti, Hex("00 04 00"), Selhani, {Err4}},
    {"ERROR2bajty", CteniPoZadosti, Hex("00 05"), Selhani, {}},
    // Opcodes that have no place in the answer.
    {"opcode0", CteniPoZadosti, Hex("00 00 00 01"), Selhani, {Err4}},
    {"opcode7", CteniPoZadosti, Hex("00 07 00 01"), Selhani, {Err4}},
    {"opcodeFFFF", ZapisCekaAck1, Hex("FF FF 00 01"), Selhani, {Err4}},
    {"RRQjakoOdpoved", CteniPoZadosti, Hex("00 01 61 00 6F 63 74 65 74 00"), Selhani, {Err4}},
    {"ACKnaCteni", CteniPoZadosti, TftpAck(0), Selhani, {Err4}},
    {"ACKuprostredCteni", CteniBlok2, TftpAck(1), Selhani, {Err4}},
    {"DATAnaZapis", ZapisPoZadosti, TftpData(1, 10), Selhani, {Err4}},
    {"DATAbehemZapisu", ZapisCekaAck1, TftpData(1, 10), Selhani, {Err4}},
    // ERROR ends the transfer whatever it carries, and is never answered.
    {"ERRORbezNuly", CteniPoZadosti, ChybaBezNuly, Selhani, {}},
    {"ERROR64KB", CteniBlok2, ChybaDlouha, Selhani, {}},
    {"ERRORnaZapis", ZapisCekaAck1, TftpChyba(2, "Access violation"), Selhani, {}},
    // DATA numbering.
    {"DATAblok0", CteniPoZadosti, TftpData(0, 10), CekaNaOdpovedCteni, {}},
    {"DATAblok2predem", CteniPoZadosti, TftpData(2, 10), CekaNaOdpovedCteni, {}},
    {"DATA1kratky", CteniPoZadosti, TftpData(1, 10), Hotovo, {TftpAck(1)}},
    {"DATA1prazdny", CteniPoZadosti, TftpData(1, 0), Hotovo, {TftpAck(1)}},
    {"DATA1plny512", CteniPoZadosti, TftpData(1, 512), CekaNaData, {TftpAck(1)}},
    {"DATAdelsiNez512", CteniPoZadosti, TftpData(1, 513), Selhani, {Err4}},
    {"DATAplny1500", CteniPoOack1500, TftpData(1, 1500), CekaNaData, {TftpAck(1)}},
    {"DATAdelsiNez1500", CteniPoOack1500, TftpData(1, 1501), Selhani, {Err4}},
    {"DATAduplikat", CteniBlok2, TftpData(1, 512), CekaNaData, {}},
    {"DATA2posledni", CteniBlok2, TftpData(2, 100), Hotovo, {TftpAck(2)}},
    {"DATA65535kratky", CteniBlok65535, TftpData(65535, 100), Hotovo, {TftpAck(65535)}},
    {"DATA65535plny", CteniBlok65535, TftpData(65535, 512), Selhani, {TftpAck(65535), Err4}},
    {"DATA0poPreteceni", CteniBlok65535, TftpData(0, 100), CekaNaData, {}},
    // OACK of a read.
    {"OACK1500", CteniPoZadosti, TftpOack({"blksize", "1500", "tsize", "3000"}), CekaNaData, {TftpAck(0)}, 1500},
    {"OACKbezVoleb", CteniPoZadosti, Hex("00 06"), CekaNaData, {TftpAck(0)}, 512},
    {"OACKprazdnyPar", CteniPoZadosti, TftpOack({"", ""}), CekaNaData, {TftpAck(0)}, 512},
    {"OACKprazdnyParABlksize", CteniPoZadosti, TftpOack({"", "", "blksize", "1024"}), CekaNaData, {TftpAck(0)}, 1024},
    {"OACKvelkaPismena", CteniPoZadosti, TftpOack({"BLKSIZE", "1024", "TSize", "7"}), CekaNaData, {TftpAck(0)}, 1024},
    {"OACKbezPosledniNuly", CteniPoZadosti, Hex("00 06 62 6C 6B 73 69 7A 65 00 31 35 30 30"), Selhani, {Err8Prazdna}},
    {"OACKlichyPocet", CteniPoZadosti, TftpOack({"blksize", "1500", "tsize"}), Selhani, {Err8Prazdna}},
    {"OACKjenNazev", CteniPoZadosti, TftpOack({"blksize"}), Selhani, {Err8Prazdna}},
    {"OACKprazdnyNazev", CteniPoZadosti, Oack("", "x"), Selhani, {Err8Volba("")}},
    {"OACKprazdnaHodnota", CteniPoZadosti, Oack("blksize", ""), Selhani, {Err8Hodnota("", "blksize")}},
    // Pairs are read in turn: a repeated name is read again, the later value wins.
    {"OACKdvakratBlksize",
     CteniPoZadosti,
     TftpOack({"blksize", "512", "blksize", "1500"}),
     CekaNaData,
     {TftpAck(0)},
     1500},
    {"OACKdvakratBlksizeDruhyMimo",
     CteniPoZadosti,
     TftpOack({"blksize", "512", "BLKSIZE", "65465"}),
     Selhani,
     {Err8Hodnota("65465", "BLKSIZE")}},
    {"OACKdvakratTsize", CteniPoZadosti, TftpOack({"tsize", "1", "TSIZE", "1"}), CekaNaData, {TftpAck(0)}, 512},
    {"OACKwindowsize",
     CteniPoZadosti,
     TftpOack({"blksize", "1500", "windowsize", "4"}),
     Selhani,
     {Err8Volba("windowsize")}},
    {"OACKtimeout", CteniPoZadosti, Oack("timeout", "1"), Selhani, {Err8Volba("timeout")}},
    {"blksize0", CteniPoZadosti, Oack("blksize", "0"), Selhani, {Err8Hodnota("0", "blksize")}},
    {"blksize7", CteniPoZadosti, Oack("blksize", "7"), Selhani, {Err8Hodnota("7", "blksize")}},
    {"blksize8", CteniPoZadosti, Oack("blksize", "8"), CekaNaData, {TftpAck(0)}, 8},
    {"blksize0008", CteniPoZadosti, Oack("blksize", "0008"), CekaNaData, {TftpAck(0)}, 8},
    {"blksize1500", CteniPoZadosti, Oack("BlkSize", "1500"), CekaNaData, {TftpAck(0)}, 1500},
    // A peer may grant more than the 1500 asked for, up to 65464.
    {"blksize1501", CteniPoZadosti, Oack("blksize", "1501"), CekaNaData, {TftpAck(0)}, 1501},
    {"blksize65464", CteniPoZadosti, Oack("blksize", "65464"), CekaNaData, {TftpAck(0)}, 65464},
    {"blksize65465", CteniPoZadosti, Oack("blksize", "65465"), Selhani, {Err8Hodnota("65465", "blksize")}},
    {"blksize70000", CteniPoZadosti, Oack("blksize", "70000"), Selhani, {Err8Hodnota("70000", "blksize")}},
    {"blksizePlus8", CteniPoZadosti, Oack("blksize", "+8"), Selhani, {Err8Hodnota("+8", "blksize")}},
    {"blksizeMezera8", CteniPoZadosti, Oack("blksize", " 8"), Selhani, {Err8Hodnota(" 8", "blksize")}},
    {"blksize8x", CteniPoZadosti, Oack("blksize", "8x"), Selhani, {Err8Hodnota("8x", "blksize")}},
    {"blksizeMinus", CteniPoZadosti, Oack("blksize", "-1500"), Selhani, {Err8Hodnota("-1500", "blksize")}},
    {"blksize20cifer",
     CteniPoZadosti,
     Oack("blksize", "18446744073709552116"),
     Selhani,
     {Err8Hodnota("18446744073709552116", "blksize")}},
    {"tsize0", CteniPoZadosti, Oack("tsize", "0"), CekaNaData, {TftpAck(0)}, 512},
    {"tsizeObrovsky", CteniPoZadosti, Oack("tsize", "999999999999999999999999999"), CekaNaData, {TftpAck(0)}},
    {"tsizeNecislo", CteniPoZadosti, Oack("tsize", "abc"), CekaNaData, {TftpAck(0)}},
    // A repeated OACK may not change the block size the first reply set.
    {"OACKpoOACK", CteniPoOack1500, Oack("blksize", "512"), Selhani, {Err4}},
    {"OACKuprostredCteni", CteniBlok2, Oack("blksize", "1500"), Selhani, {Err4}},
    // Write.
    {"ZapisACK0", ZapisPoZadosti, TftpAck(0), CekaNaAck, {}, 512},
    {"ZapisACKjinyBlok", ZapisPoZadosti, TftpAck(1), CekaNaOdpovedZapisu, {}},
    {"ZapisOACK", ZapisPoZadosti, TftpOack({"blksize", "1500", "tsize", "3000"}), CekaNaAck, {}, 1500},
    {"ZapisOACKvetsiBlok", ZapisPoZadosti, Oack("blksize", "4000"), CekaNaAck, {}, 4000},
    {"ZapisOACKwindowsize", ZapisPoZadosti, Oack("windowsize", "8"), Selhani, {Err8Volba("windowsize")}},
    {"ZapisOACKbezNuly", ZapisPoZadosti, Hex("00 06 74 73 69 7A 65"), Selhani, {Err8Prazdna}},
    {"ZapisOACKuprostred", ZapisCekaAck1, Oack("blksize", "1500"), Selhani, {Err4}},
    {"ZapisACK0znovu", ZapisCekaAck1, TftpAck(0), CekaNaAck, {}},
    {"ZapisACK1", ZapisCekaAck1, TftpAck(1), CekaNaAck, {}},
    {"ZapisACKsNavic", ZapisCekaAck1, Hex("00 04 00 01 FF"), CekaNaAck, {}},
    {"ZapisACK65535", ZapisCekaAck65535, TftpAck(65535), Selhani, {TftpChyba(3, "")}},
    {"ZapisPrazdnyHotov", ZapisPrazdny, TftpAck(1), Hotovo, {}},
};

class TftpDatagramVeStavu : public ::testing::TestWithParam<TPripad> {};

TEST_P(TftpDatagramVeStavu, LeavesStateAndSendsExactly)
{
    const TPripad& c = GetParam();
    TPrenos p = Priprav(c.vychozi);
    const TAkce akce = Dorucit(p, c.datagram);
    EXPECT_EQ(p.Stav, c.stav) << p.Duvod;
    EXPECT_FALSE(akce.Cizi);
    std::vector<TBajty> odeslano;
    for (const auto& paket : akce.Pakety) {
        EXPECT_EQ(paket.Komu, Peer);
        odeslano.push_back(paket.Data);
    }
    EXPECT_EQ(odeslano, c.pakety);
    if (c.blok != 0) {
        EXPECT_EQ(p.VelikostBloku, c.blok);
    }
    // Only a read stores, only DATA with the expected number, and only what
    // fits the datagram.
    if (akce.Uloz) {
        EXPECT_EQ(p.Smer, TSmer::Cteni);
        EXPECT_EQ(akce.UlozOd, 4u);
        EXPECT_EQ(akce.UlozOd + akce.UlozPocet, c.datagram.size());
    }
}

INSTANTIATE_TEST_SUITE_P(Tabulka, TftpDatagramVeStavu, ::testing::ValuesIn(Pripady),
                         [](const auto& info) { return std::string(info.param.nazev); });

// A server whose ACK 0 was lost repeats its OACK, and a late duplicate may
// come after the data has started: each gets ACK 0 again and the blocks go on.
TEST(TftpCteni, RepeatedOackIsAnsweredAgainAndTheBlocksGoOn)
{
    TPrenos p = Priprav(CteniPoZadosti);
    const TBajty oack = TftpOack({"blksize", "1500", "tsize", "1600"});
    std::vector<TBajty> odeslano;
    for (const TBajty& d : {oack, oack, TftpData(1, 1500), oack, TftpData(2, 100)})
        for (const auto& paket : Dorucit(p, d).Pakety)
            odeslano.push_back(paket.Data);
    EXPECT_EQ(odeslano, (std::vector<TBajty>{TftpAck(0), TftpAck(0), TftpAck(1), TftpAck(0), TftpAck(2)}));
    EXPECT_EQ(p.Stav, TStav::Hotovo) << p.Duvod;
    EXPECT_EQ(p.Preneseno, 1600u);
}

TEST(TftpZadost, ReadAndWriteRequestsByteForByte)
{
    TPrenos cteni = NovyPrenos(TSmer::Cteni, "lan4.cfg", Server, 1500, 0, 0);
    TAkce a = Krok(cteni, TUdalost::Zahajeni);
    ASSERT_EQ(a.Pakety.size(), 1u);
    EXPECT_EQ(a.Pakety[0].Komu, Server);
    EXPECT_EQ(a.Pakety[0].Data, Hex("00 01 6C 61 6E 34 2E 63 66 67 00 6F 63 74 65 74 00"
                                    "62 6C 6B 73 69 7A 65 00 31 35 30 30 00 74 73 69 7A 65 00 30 00"));

    TPrenos zapis = NovyPrenos(TSmer::Zapis, "fw.hbn", Server, 1500, 123456, 0);
    a = Krok(zapis, TUdalost::Zahajeni);
    ASSERT_EQ(a.Pakety.size(), 1u);
    EXPECT_EQ(a.Pakety[0].Data, Hex("00 02 66 77 2E 68 62 6E 00 6F 63 74 65 74 00"
                                    "62 6C 6B 73 69 7A 65 00 31 35 30 30 00 74 73 69 7A 65 00"
                                    "31 32 33 34 35 36 00"));
}

// A write's blocks: whole blocks, then a short or empty last one, and the
// transfer ends only with the ACK of that last block.
TEST(TftpZapis, BlockLengthsFollowTheCountAndEndWithAnEmptyBlock)
{
    struct {
        std::uint64_t celkem;
        std::vector<std::size_t> bloky;
    } const pripady[] = {
        {0, {0}}, {1, {1}}, {511, {511}}, {512, {512, 0}}, {1300, {512, 512, 276}}, {1536, {512, 512, 512, 0}}};
    for (const auto& c : pripady) {
        TPrenos p = NovyPrenos(TSmer::Zapis, "f", Server, 1500, c.celkem, 0);
        Krok(p, TUdalost::Zahajeni);
        std::vector<std::size_t> bloky;
        std::uint64_t od = 0;
        TAkce a = Dorucit(p, TftpAck(0));
        while (a.PosliData) {
            EXPECT_EQ(a.DataBlok, bloky.size() + 1);
            EXPECT_EQ(a.DataOd, od);
            EXPECT_TRUE(a.Prubeh);
            od += a.DataPocet;
            bloky.push_back(a.DataPocet);
            EXPECT_EQ(p.Stav, TStav::CekaNaAck);
            a = Dorucit(p, TftpAck(a.DataBlok));
        }
        EXPECT_EQ(bloky, c.bloky) << c.celkem;
        EXPECT_EQ(p.Stav, TStav::Hotovo) << c.celkem;
    }
}

TEST(TftpTid, StrangersGetError5AndChangeNothing)
{
    struct {
        TVychozi vychozi;
        TAdresaUdp od;
    } const pripady[] = {{CteniPoZadosti, JinyHost}, {CteniBlok2, JinyPort},     {CteniBlok2, JinyHost},
                         {CteniBlok2, Server},       {ZapisPoZadosti, JinyHost}, {ZapisCekaAck1, JinyPort}};
    for (const auto& c : pripady) {
        TPrenos p = Priprav(c.vychozi);
        const TPrenos pred = p;
        for (const TBajty& d : {TftpData(2, 10), TftpAck(1), TftpChyba(0, "stop"), Hex("00")}) {
            const TAkce a = Dorucit(p, d, c.od);
            EXPECT_TRUE(a.Cizi);
            EXPECT_FALSE(a.Uloz || a.PosliData || a.Prubeh);
            // A stranger's ERROR is dropped unanswered, anything else refused.
            if (vk::test::TftpOpcode(d) == 5) {
                EXPECT_TRUE(a.Pakety.empty());
            } else {
                ASSERT_EQ(a.Pakety.size(), 1u);
                EXPECT_EQ(a.Pakety[0].Komu, c.od);
                EXPECT_EQ(a.Pakety[0].Data, TftpChyba(5, "Unknown transfer ID"));
            }
            EXPECT_EQ(p.Stav, pred.Stav);
            EXPECT_EQ(p.Blok, pred.Blok);
            EXPECT_EQ(p.Preneseno, pred.Preneseno);
        }
    }
}

TEST(TftpTid, TheFirstReplyFixesThePeerPort)
{
    TPrenos p = Priprav(CteniPoZadosti);
    Dorucit(p, TftpData(1, 512), JinyPort);
    EXPECT_EQ(p.Protejsek, JinyPort);
    EXPECT_TRUE(Dorucit(p, TftpData(2, 5), Peer).Cizi);
    const TAkce a = Dorucit(p, TftpData(2, 5), JinyPort);
    ASSERT_EQ(a.Pakety.size(), 1u);
    EXPECT_EQ(a.Pakety[0].Komu, JinyPort);
    EXPECT_EQ(p.Stav, TStav::Hotovo);
}

// The module falls silent while datagrams come from elsewhere (a module
// restarted mid-transfer answers from a new port): the time-out's cause must
// name the refused sender, tell a port from a host, and forget a stranger
// once the module answered again.
TEST(TftpTid, StrangerDuringTheSilenceIsNamedInTheTimeoutCause)
{
    const std::string ticho = "modul neodpověděl do 500 ms, odesláno znovu 1×";
    struct {
        TAdresaUdp od;
        bool pakOdpovedel;  // the module's DATA 2 came after the stranger
        std::string pricina;
    } const pripady[] = {
        {JinyPort, false, ticho + "; datagramy z jiného portu (127.0.0.1:40001) byly odmítnuty"},
        {JinyHost, false, ticho + "; datagramy z jiné adresy (127.0.0.2:40000) byly odmítnuty"},
        {JinyPort, true, ticho},
    };
    for (const auto& c : pripady) {
        TPrenos p = Priprav(CteniBlok2, 1);
        p.Cekani = 500;
        EXPECT_TRUE(Dorucit(p, TftpData(2, 512), c.od).Cizi);
        if (c.pakOdpovedel)
            Dorucit(p, TftpData(2, 512), Peer);
        EXPECT_TRUE(Krok(p, TUdalost::Vyprseni).Opakuj);
        Krok(p, TUdalost::Vyprseni);
        EXPECT_EQ(p.Stav, TStav::Selhani);
        EXPECT_EQ(p.Duvod, c.pricina);
    }
}

TEST(TftpStavy, TimeoutFailsEveryWaitAndBadEventsAreInternalErrors)
{
    for (const auto v : {CteniPoZadosti, CteniPoOack1500, CteniBlok2, ZapisPoZadosti, ZapisCekaAck1}) {
        TPrenos p = Priprav(v);
        const TAkce a = Krok(p, TUdalost::Vyprseni);
        EXPECT_EQ(p.Stav, TStav::Selhani);
        EXPECT_TRUE(a.Pakety.empty());  // no retransmission, no farewell
    }
    TPrenos p = NovyPrenos(TSmer::Cteni, "f", Server, 1500, 0, 0);
    Dorucit(p, TftpData(1, 1));
    EXPECT_EQ(p.Stav, TStav::Selhani);

    p = Priprav(CteniBlok2);
    EXPECT_TRUE(Krok(p, TUdalost::Zahajeni).Pakety.empty());
    EXPECT_EQ(p.Stav, TStav::Selhani);

    p = Priprav(CteniBlok2);
    p.Stav = static_cast<TStav>(42);
    Dorucit(p, TftpData(2, 1));
    EXPECT_EQ(p.Stav, TStav::Selhani);

    p = Priprav(CteniBlok2);
    p.Smer = TSmer::Zapis;  // a read state in a write: inconsistent
    Dorucit(p, TftpData(2, 1));
    EXPECT_EQ(p.Stav, TStav::Selhani);
}

TEST(TftpStavy, CutDatagramFailsLikeAnOverlongOne)
{
    TPrenos p = Priprav(CteniPoZadosti);
    const TAkce a = Dorucit(p, TftpData(1, 100), Peer, true);
    EXPECT_FALSE(a.Uloz);
    EXPECT_EQ(p.Stav, TStav::Selhani);
}

// ---- retransmission --------------------------------------------------------

// The packet each step leaves waiting for an answer: the one a time-out
// sends again.
TEST(TftpOpakovani, EveryPacketThatWaitsForAnAnswerIsMarkedToBeKept)
{
    TPrenos cteni = NovyPrenos(TSmer::Cteni, "f", Server, 1500, 0, 3);
    TAkce a = Krok(cteni, TUdalost::Zahajeni);
    EXPECT_TRUE(a.Posledni);  // the request
    a = Dorucit(cteni, TftpOack({"blksize", "512"}));
    EXPECT_TRUE(a.Posledni);  // ACK 0
    a = Dorucit(cteni, TftpData(1, 512));
    EXPECT_TRUE(a.Posledni);  // ACK 1
    a = Dorucit(cteni, TftpOack({"blksize", "512"}));
    ASSERT_EQ(a.Pakety.size(), 1u);
    EXPECT_EQ(a.Pakety[0].Data, TftpAck(0));
    EXPECT_FALSE(a.Posledni);  // a late OACK's ACK 0: ACK 1 still waits
    a = Dorucit(cteni, TftpData(2, 10));
    EXPECT_EQ(cteni.Stav, TStav::Hotovo);
    EXPECT_FALSE(a.Posledni);  // the last ACK waits for nothing

    TPrenos zapis = NovyPrenos(TSmer::Zapis, "f", Server, 1500, 600, 3);
    a = Krok(zapis, TUdalost::Zahajeni);
    EXPECT_TRUE(a.Posledni);  // the request
    a = Dorucit(zapis, TftpAck(0));
    EXPECT_TRUE(a.PosliData);  // a DATA block is always kept, by the driver
    EXPECT_FALSE(a.Posledni);
}

// Each wait that runs out sends the waiting packet again, as long as
// retries are left, without touching the transfer; then the transfer fails
// as it did without retries.
TEST(TftpOpakovani, TimeoutRepeatsTheWaitingPacketUntilTheRetriesAreUsedUp)
{
    for (const auto v : {CteniPoZadosti, CteniPoOack1500, CteniBlok2, ZapisPoZadosti, ZapisCekaAck1}) {
        TPrenos p = Priprav(v, 3);
        const TPrenos pred = p;
        for (int i = 1; i <= 3; ++i) {
            const TAkce a = Krok(p, TUdalost::Vyprseni);
            EXPECT_TRUE(a.Opakuj);
            EXPECT_TRUE(a.Pakety.empty());
            EXPECT_FALSE(a.Uloz || a.PosliData || a.Prubeh || a.Posledni);
            EXPECT_EQ(p.Opakovano, i);
            EXPECT_EQ(p.Stav, pred.Stav);
            EXPECT_EQ(p.Blok, pred.Blok);
            EXPECT_EQ(p.Preneseno, pred.Preneseno);
        }
        const TAkce a = Krok(p, TUdalost::Vyprseni);
        EXPECT_FALSE(a.Opakuj);
        EXPECT_TRUE(a.Pakety.empty());
        EXPECT_EQ(p.Stav, TStav::Selhani);
    }
}

// Progress gives the next packet all the retries again.
TEST(TftpOpakovani, ANewWaitingPacketHasAllItsRetries)
{
    TPrenos cteni = Priprav(CteniBlok2, 1);
    EXPECT_TRUE(Krok(cteni, TUdalost::Vyprseni).Opakuj);
    EXPECT_TRUE(Dorucit(cteni, TftpData(2, 512)).Posledni);
    EXPECT_EQ(cteni.Opakovano, 0);
    EXPECT_TRUE(Krok(cteni, TUdalost::Vyprseni).Opakuj);
    Krok(cteni, TUdalost::Vyprseni);
    EXPECT_EQ(cteni.Stav, TStav::Selhani);

    TPrenos zapis = Priprav(ZapisCekaAck1, 1);
    EXPECT_TRUE(Krok(zapis, TUdalost::Vyprseni).Opakuj);
    EXPECT_TRUE(Dorucit(zapis, TftpAck(1)).PosliData);
    EXPECT_EQ(zapis.Opakovano, 0);
    EXPECT_TRUE(Krok(zapis, TUdalost::Vyprseni).Opakuj);
}

// The block taken last, come again: its ACK goes again (a retry) and the
// block is not stored twice; once the retries are used up it gets nothing,
// as without retries. An older block never gets an ACK.
TEST(TftpOpakovani, RepeatedLastBlockIsAcknowledgedAgainWhileRetriesLast)
{
    TPrenos p = Priprav(CteniBlok2, 2);
    for (int i = 1; i <= 3; ++i) {
        const TAkce a = Dorucit(p, TftpData(1, 512));
        EXPECT_EQ(a.Opakuj, i <= 2) << i;
        EXPECT_FALSE(a.Uloz || a.Prubeh);
        EXPECT_TRUE(a.Pakety.empty());
        EXPECT_EQ(p.Stav, TStav::CekaNaData);
        EXPECT_EQ(p.Preneseno, 512u);
    }
    EXPECT_EQ(Krok(p, TUdalost::Vyprseni).Opakuj, false);
    EXPECT_EQ(p.Stav, TStav::Selhani);

    TPrenos starsi = Priprav(CteniBlok2, 2);
    Dorucit(starsi, TftpData(2, 512));
    const TAkce a = Dorucit(starsi, TftpData(1, 512));
    EXPECT_FALSE(a.Opakuj);
    EXPECT_TRUE(a.Pakety.empty());
}

// The Sorcerer's Apprentice: an ACK of an earlier block, come again, sends
// nothing, whatever retries are left.
TEST(TftpOpakovani, RepeatedAckSendsNoBlock)
{
    TPrenos p = Priprav(ZapisCekaAck1, 3);
    for (const TBajty& d : {TftpAck(0), TftpAck(0)}) {
        const TAkce a = Dorucit(p, d);
        EXPECT_FALSE(a.PosliData || a.Opakuj || a.Posledni);
        EXPECT_TRUE(a.Pakety.empty());
    }
    TAkce a = Dorucit(p, TftpAck(1));
    EXPECT_TRUE(a.PosliData);
    EXPECT_EQ(a.DataBlok, 2);
    a = Dorucit(p, TftpAck(1));
    EXPECT_FALSE(a.PosliData || a.Opakuj);
    EXPECT_EQ(p.Blok, 2);
    EXPECT_EQ(p.Opakovano, 0);
}

// A write's OACK, come again while block 1 waits for its ACK: block 1 goes
// again (a retry), but only at the block size already in use.
TEST(TftpOpakovani, RepeatedOackOfAWriteSendsBlock1AgainAtTheSameSize)
{
    const TBajty oack = TftpOack({"blksize", "1500"});
    TPrenos p = NovyPrenos(TSmer::Zapis, "f", Server, 1500, 3000, 1);
    Krok(p, TUdalost::Zahajeni);
    ASSERT_TRUE(Dorucit(p, oack).PosliData);
    TAkce a = Dorucit(p, oack);
    EXPECT_TRUE(a.Opakuj);
    EXPECT_FALSE(a.PosliData);
    EXPECT_EQ(p.Stav, TStav::CekaNaAck);
    a = Dorucit(p, oack);  // no retry left
    EXPECT_FALSE(a.Opakuj);
    EXPECT_EQ(p.Stav, TStav::CekaNaAck);

    TPrenos jiny = NovyPrenos(TSmer::Zapis, "f", Server, 1500, 3000, 1);
    Krok(jiny, TUdalost::Zahajeni);
    Dorucit(jiny, oack);
    a = Dorucit(jiny, TftpOack({"blksize", "512"}));
    EXPECT_EQ(jiny.Stav, TStav::Selhani);
    ASSERT_EQ(a.Pakety.size(), 1u);
    EXPECT_EQ(a.Pakety[0].Data, TftpChyba(4, ""));
}

// A transfer asked to end ends at once, retries or not.
TEST(TftpOpakovani, AskedToEndEndsAtOnceWithRetriesLeft)
{
    TPrenos p = Priprav(CteniBlok2, 3);
    const TAkce a = Krok(p, TUdalost::Ukonceni);
    EXPECT_FALSE(a.Opakuj);
    EXPECT_EQ(p.Stav, TStav::Selhani);
    ASSERT_EQ(a.Pakety.size(), 1u);
    EXPECT_EQ(a.Pakety[0].Data, TftpChyba(0, ""));
}

}  // namespace
