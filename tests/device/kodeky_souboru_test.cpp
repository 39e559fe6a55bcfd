// The device file layouts against literal bytes.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "HexBajty.h"
#include "KodekySouboru.h"
#include "ZnakoveTexty.h"

using namespace vk::device;
using vk::test::Bajty;
using vk::test::Hex;

namespace {

template <std::size_t N>
Bajty B(const std::array<std::uint8_t, N>& a)
{
    return Bajty(a.begin(), a.end());
}

// Every writable file ends in a check byte making the 8-bit sum 0.
template <std::size_t N>
unsigned Soucet(const std::array<std::uint8_t, N>& a)
{
    unsigned s = 0;
    for (auto b : a)
        s += b;
    return s % 256;
}

// n zero bytes in hex, blank-separated.
std::string Nuly(std::size_t n)
{
    std::string s = " ";
    for (std::size_t i = 0; i < n; ++i)
        s += "00 ";
    return s;
}

std::string Utf8(std::u8string_view s)
{
    return std::string(reinterpret_cast<const char*>(s.data()), s.size());
}

}  // namespace

TEST(KodekyKonfigurace, ZapisDavaPresneBajty)
{
    TVK7316R_Lan4Cfg lan;
    lan.IP4_Adresa = {192, 168, 0, 99};
    lan.IP4_Maska = {255, 255, 255, 0};
    lan.IP4_Brana = {192, 168, 0, 1};
    EXPECT_EQ(B(KodujLan4Cfg(lan)), Hex("C0 A8 00 63 FF FF FF 00 C0 A8 00 01 00 00 00 CF"));

    TVK7316R_MbtcpCfg tcp;
    tcp.UnitID = 1;
    tcp.Timeout = 60;
    EXPECT_EQ(B(KodujMbtcpCfg(tcp)), Hex("01 3C C3"));

    TVK7316R_UartmCfg m;
    m.KodBaud = 4;
    m.KodParita = 1;
    m.Timeout = 330;
    m.Opakovani = 2;
    EXPECT_EQ(B(KodujUartmCfg(m)), Hex("04 01 4A 01 02 AE"));

    TVK7316R_UartsCfg s;
    s.Adresa = 247;
    s.KodBaud = 8;
    s.KodParita = 2;
    s.Repeater = 1;
    EXPECT_EQ(B(KodujUartsCfg(s)), Hex("F7 08 02 01 FE"));

    TVK7316R_LogCfg log;
    log.Povolen = 3;  // only the low bit goes to the module
    log.Udalost = 0x00003FFE;
    EXPECT_EQ(B(KodujLogCfg(log)), Hex("01 00 FE 3F 00 00 C2"));

    TVK7316R_LogClr clr;
    EXPECT_EQ(B(KodujLogClr(clr)), Hex("00 00 00 00 00 00 00 00"));
}

TEST(KodekyKonfigurace, SpravaRozlozeniZaznamu)
{
    TVK7316R_SpravaCfg s;
    s.Rezim = 2;
    s.IP[0] = {10, 0, 0, 1};
    s.VerzeIP[0] = 0;
    s.IP[7] = {0xFE, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x01};
    s.VerzeIP[7] = 0x101;  // only the low byte is stored
    const auto b = KodujSpravaCfg(s);
    EXPECT_EQ(b[0], 2);
    EXPECT_EQ(Bajty(b.begin() + 1, b.begin() + 5), Hex("0A 00 00 01"));
    EXPECT_EQ(b[1 + 17 * 7], 0xFE);
    EXPECT_EQ(b[1 + 17 * 7 + 15], 0x01);
    EXPECT_EQ(b[17 + 17 * 7], 0x01);
    EXPECT_EQ(Soucet(b), 0u);

    Bajty soubor(138, 0);
    soubor[17] = 1;
    soubor[137] = 0x55;  // wrong check byte: reads do not look at it
    TVK7316R_SpravaCfg r;
    DekodujSpravaCfg(soubor, r);
    EXPECT_EQ(r.VerzeIP[0], 1u);
    EXPECT_EQ(r.VerzeIP[1], 0u);

    TVK7316R_SpravaCfg zpet;
    DekodujSpravaCfg(B(b), zpet);
    EXPECT_EQ(zpet.IP, s.IP);
    EXPECT_EQ(zpet.VerzeIP[7], 1u);
}

TEST(KodekyKonfigurace, CteniNehledinaKontrolniBajt)
{
    TVK7316R_MbtcpCfg tcp;
    DekodujMbtcpCfg(Hex("05 0A 00"), tcp);
    EXPECT_EQ(tcp.UnitID, 5);
    EXPECT_EQ(tcp.Timeout, 10);

    TVK7316R_UartmCfg m;
    DekodujUartmCfg(Hex("06 02 4A 01 03 00"), m);
    EXPECT_EQ(m.KodBaud, 6);
    EXPECT_EQ(m.KodParita, 2);
    EXPECT_EQ(m.Timeout, 330);
    EXPECT_EQ(m.Opakovani, 3);

    TVK7316R_UartsCfg s;
    DekodujUartsCfg(Hex("0A 04 01 01 00"), s);
    EXPECT_EQ(s.Adresa, 10);
    EXPECT_EQ(s.KodBaud, 4);
    EXPECT_EQ(s.KodParita, 1);
    EXPECT_EQ(s.Repeater, 1);

    TVK7316R_LogCfg log;
    DekodujLogCfg(Hex("03 FF 78 56 34 12 00"), log);
    EXPECT_EQ(log.Povolen, 3);  // read as the whole byte
    EXPECT_EQ(log.Udalost, 0x12345678u);

    TVK7316R_Lan4Cfg lan;
    DekodujLan4Cfg(Hex("C0 A8 00 63 FF FF FF 00 C0 A8 00 01 01 AA BB 00"), lan);
    EXPECT_EQ(lan.IP4_Adresa, (TAdresaIP4{192, 168, 0, 99}));
    EXPECT_EQ(lan.IP4_Maska, (TAdresaIP4{255, 255, 255, 0}));
    EXPECT_EQ(lan.IP4_Brana, (TAdresaIP4{192, 168, 0, 1}));
    EXPECT_EQ(lan.IP4_DHCP, 1);
}

TEST(KodekyKonfigurace, KratsiSouborMaChybejiciBajtyNulove)
{
    TVK7316R_Lan4Cfg lan;
    lan.IP4_Brana = {9, 9, 9, 9};
    lan.IP4_DHCP = 7;
    DekodujLan4Cfg(Hex("C0 A8 00 63 FF"), lan);
    EXPECT_EQ(lan.IP4_Adresa, (TAdresaIP4{192, 168, 0, 99}));
    EXPECT_EQ(lan.IP4_Maska, (TAdresaIP4{255, 0, 0, 0}));
    EXPECT_EQ(lan.IP4_Brana, (TAdresaIP4{0, 0, 0, 0}));
    EXPECT_EQ(lan.IP4_DHCP, 0);

    TVK7316R_UartmCfg m;
    m.Timeout = 999;
    DekodujUartmCfg(Hex("04 00 4A"), m);
    EXPECT_EQ(m.Timeout, 0x4A);

    TVK7316R_LogCfg log;
    log.Povolen = 1;
    DekodujLogCfg({}, log);
    EXPECT_EQ(log.Povolen, 0);
    EXPECT_EQ(log.Udalost, 0u);
}

TEST(KodekyStav, RtcCteniAZapis)
{
    TVK7316R_RtcBin r;
    DekodujRtcBin(Hex("2C 01 1E 0F 0A 18 0C 17 05"), r);
    EXPECT_EQ(r.MSek, 300);
    EXPECT_EQ(r.Sek, 30);
    EXPECT_EQ(r.Min, 15);
    EXPECT_EQ(r.Hod, 10);
    EXPECT_EQ(r.Den, 24);
    EXPECT_EQ(r.Mes, 12);
    EXPECT_EQ(r.Rok, 23);
    EXPECT_EQ(r.DDen, 5);

    r.MSek = 999;
    r.Rok = 23;
    r.Hod = 0x10A;  // only the low byte is sent
    EXPECT_EQ(B(KodujRtcBin(r)), Hex("E7 03 1E 0F 0A 18 0C 17 05"));
}

TEST(KodekyStav, PrikazyCtrlBin)
{
    EXPECT_EQ(B(KodujCtrlBin(PrikazRestart())), Hex("00 FF 01 00 FF" + Nuly(17) + "01"));
    EXPECT_EQ(B(KodujCtrlBin(PrikazVymazDiagnostiku())), Hex("01 01" + Nuly(20) + "FE"));

    TVK7316R_CtrlBin c;
    c.Funkce = 0x42;
    for (std::size_t i = 0; i < c.Param.size(); ++i)
        c.Param[i] = static_cast<std::uint8_t>(i * 13);
    const auto b = KodujCtrlBin(c);
    EXPECT_EQ(b[0], 0x42);
    EXPECT_EQ(b[21], (20 * 13) % 256);
    EXPECT_EQ(Soucet(b), 0u);
}

struct FloatPripad {
    const char* bajty;
    double hodnota;
};

class KodekyFloat : public ::testing::TestWithParam<FloatPripad> {};

TEST_P(KodekyFloat, PrvniBajtNejnizsiNaNJeNula)
{
    const Bajty b = Hex(GetParam().bajty);
    EXPECT_EQ(DekodujFloat(b.data()), GetParam().hodnota);
}

INSTANTIATE_TEST_SUITE_P(Tabulka, KodekyFloat,
                         ::testing::Values(FloatPripad{"00 00 2C 42", 43.0}, FloatPripad{"00 00 C0 7F", 0.0},
                                           FloatPripad{"01 00 80 FF", 0.0}, FloatPripad{"FF FF FF 7F", 0.0},
                                           FloatPripad{"00 00 80 BF", -1.0}, FloatPripad{"00 00 00 00", 0.0},
                                           FloatPripad{"00 00 80 7F", std::numeric_limits<double>::infinity()},
                                           FloatPripad{"CD CC 8C 3F", static_cast<double>(1.1f)}));

TEST(KodekyStav, SysBinPoleNaSvychMistech)
{
    Bajty b(392, 0);
    for (std::size_t i = 0; i < 48; ++i)
        b[i] = static_cast<std::uint8_t>('A' + i % 26);
    b[39] = 0xEE;  // inside the loader field, but not part of its text
    b[40] = 0xEE;
    b[41] = 0xEE;
    b[0] = 0xE9;  // a byte above 0x7F is the character of that code
    std::memcpy(&b[48], "12345678", 8);
    b[56] = 0x00;  // header of the running image: length 0x00012000
    b[57] = 0x20;
    b[58] = 0x01;
    b[60] = 0xAB;
    b[75] = 0xCD;
    const Bajty cas = Hex("05 07 09 18 0B 17");
    std::copy(cas.begin(), cas.end(), b.begin() + 76);
    std::memcpy(&b[82], "fw_1_00.hbn", 11);
    b[120] = 0x00;
    b[125] = 0x55;
    b[126] = 0xEE;
    b[128] = 192;
    b[131] = 7;
    b[136] = 10;
    b[140] = 1;
    b[144] = 0xFE;
    b[208] = 2;
    b[212] = 0xEE;
    b[227] = 0xEE;
    b[228] = 1;
    b[239] = 0x10;
    b[240] = 0x78;  // UptimeS starts the second serial block
    b[243] = 0x12;
    b[244] = 0x2C;
    b[251] = 23;
    b[268] = 0x0F;
    b[288] = 9;
    const Bajty f43 = Hex("00 00 2C 42"), nan = Hex("00 00 C0 7F"), jedna = Hex("00 00 80 3F");
    std::copy(nan.begin(), nan.end(), b.begin() + 292);
    std::copy(f43.begin(), f43.end(), b.begin() + 300);
    b[320] = 3;
    std::copy(f43.begin(), f43.end(), b.begin() + 324);
    std::copy(jedna.begin(), jedna.end(), b.begin() + 356);
    std::copy(f43.begin(), f43.end(), b.begin() + 360);  // not read
    std::copy(jedna.begin(), jedna.end(), b.begin() + 364);
    b[372] = 4;
    b[380] = 0x11;
    b[388] = 0x99;

    TVK7316R_SysBin r;
    r.NapetiPWR_Nekalib = 12.5;
    DekodujSysBin(b, r);
    EXPECT_EQ(r.TypFW, "\xC3\xA9" "BCDEFGHIJKLMNOPQRSTUVWX");
    EXPECT_EQ(vk::common::PocetZnaku(r.TypFW), 24u);
    EXPECT_EQ(r.TypLoader, "YZABCDEFGHIJKLM" "QRSTUV");
    EXPECT_EQ(r.VyrCislo, "12345678");
    EXPECT_EQ(r.AktualHBIN.Delka, 0x00012000u);
    EXPECT_EQ(r.AktualHBIN.Hash[0], 0xAB);
    EXPECT_EQ(r.AktualHBIN.Hash[15], 0xCD);
    EXPECT_EQ(r.AktualHBIN.DatumCas, (TRTC{0, 0, 5, 7, 9, 0x18, 0x0B, 0x17}));
    EXPECT_EQ(r.AktualHBIN.NazevFW.substr(0, 11), "fw_1_00.hbn");
    EXPECT_EQ(r.AktualHBIN.NazevFW.size(), 38u);
    EXPECT_EQ(r.MAC, (TAdresaMAC{0, 0, 0, 0, 0, 0x55}));
    EXPECT_EQ(r.IP4_Adresa, (TAdresaIP4{192, 0, 0, 7}));
    EXPECT_EQ(r.IP4_Brana[0], 10);
    EXPECT_EQ(r.IP4_DHCP, 1u);
    EXPECT_EQ(r.IP6_LLA[0], 0xFE);
    EXPECT_EQ(r.IP6_DHCP, 2u);
    EXPECT_EQ(r.UptimeMs, 1u);
    EXPECT_EQ(r.Uptime10Ms, 0x10000000u);
    EXPECT_EQ(r.UptimeS, 0x12000078u);
    EXPECT_EQ(r.RTCr, (TRTC{0x2C, 0, 0, 0, 0, 0, 0, 23}));
    EXPECT_EQ(r.Priznaky, 0x0Fu);
    EXPECT_EQ(r.CitacLinkDown, 9u);
    EXPECT_EQ(r.TeplotaUP, 0.0);
    EXPECT_EQ(r.TeplotaUP_Max, 43.0);
    EXPECT_EQ(r.TeplotaUP_CisloMereni, 3u);
    EXPECT_EQ(r.TeplotaDPS, 43.0);
    EXPECT_EQ(r.NapetiPWR, 1.0);
    EXPECT_EQ(r.NapetiPWR_Min, 1.0);
    EXPECT_EQ(r.NapetiPWR_Status, 4u);
    EXPECT_EQ(r.NapetiPWR_DatumCas[0], 0x11);
    EXPECT_EQ(r.NapetiPWR_CisloMereni, 0x99u);
    EXPECT_EQ(r.NapetiPWR_Nekalib, 12.5);  // not part of the file
}

TEST(KodekyStav, Mmrd)
{
    TVK7316R_MmrdBin r;
    DekodujMmrdBin(Hex("01020304 FFFFFFFF 0A000000 3412 64 F7") , r);
    EXPECT_EQ(r.CelkemZpravy, 0x04030201u);
    EXPECT_EQ(r.CelkemChyby, 0xFFFFFFFFu);
    EXPECT_EQ(r.CelkemNeg, 10u);
    EXPECT_EQ(r.RychlostZprav, 0x1234u);
    EXPECT_EQ(r.VytizeniLinky, 100u);
    EXPECT_EQ(r.AdresaChyba, 247u);
}

struct RingPripad {
    std::uint32_t index;
    std::size_t prvni;  // ring position that becomes PoleDat[0]
};

class KodekyMmrgv : public ::testing::TestWithParam<RingPripad> {};

TEST_P(KodekyMmrgv, RozvinutiOdPoziceZapisu)
{
    Bajty b(240, 0);
    b[0] = 180;
    b[4] = 180;
    for (int i = 0; i < 4; ++i)
        b[8 + i] = static_cast<std::uint8_t>(GetParam().index >> (8 * i));
    for (std::size_t k = 0; k < 180; ++k)
        b[12 + k] = static_cast<std::uint8_t>(k + 1);
    b[192] = 0xEE;  // beyond the ring
    TVK7316R_MmrgvBin r;
    DekodujMmrgvBin(b, r);
    EXPECT_EQ(r.PocetDat, 180u);
    EXPECT_EQ(r.MaxPocetDat, 180u);
    EXPECT_EQ(r.IndexZapisu, GetParam().index);
    for (std::size_t k = 0; k < 180; ++k)
        ASSERT_EQ(r.PoleDat[k], (GetParam().prvni + k) % 180 + 1) << "k = " << k;
}

INSTANTIATE_TEST_SUITE_P(Indexy, KodekyMmrgv,
                         ::testing::Values(RingPripad{0, 0}, RingPripad{1, 1}, RingPripad{179, 179},
                                           RingPripad{180, 0}, RingPripad{359, 179},
                                           RingPripad{4294967295u, 75}));

TEST(KodekyFirmware, HlavickaPlatnostDelky)
{
    struct {
        const char* delka;
        bool platna;
    } const pripady[] = {
        {"00 00 00 00", false}, {"01 00 00 00", true},  {"00 00 20 00", true},
        {"01 00 20 00", false}, {"FF FF FF FF", false},
    };
    for (const auto& p : pripady) {
        Bajty b(64, 0);
        const Bajty d = Hex(p.delka);
        std::copy(d.begin(), d.end(), b.begin());
        for (std::size_t i = 4; i < 20; ++i)
            b[i] = static_cast<std::uint8_t>(i);
        const Bajty cas = Hex("00 00 00 01 01 18");
        std::copy(cas.begin(), cas.end(), b.begin() + 20);
        std::memcpy(&b[26], "img.hbn", 7);
        TVK7316R_FwAkt r;
        DekodujFwAkt(b, r);
        EXPECT_EQ(Bajty(r.Hlavicka.begin(), r.Hlavicka.end()), b) << p.delka;
        if (p.platna) {
            EXPECT_EQ(r.HASH[0], 4) << p.delka;
            EXPECT_EQ(r.HASH[15], 19) << p.delka;
            EXPECT_EQ(r.DatumCas, "1.1.2024  0:00:00") << p.delka;
            EXPECT_EQ(r.Soubor, "img") << p.delka;
        } else {
            EXPECT_EQ(r.HASH, THASH{}) << p.delka;
            EXPECT_EQ(r.DatumCas, "???") << p.delka;
            EXPECT_EQ(r.Soubor, "???") << p.delka;
        }
    }
    TVK7316R_FwAkt r;
    DekodujFwAkt(Hex("00 00 20 00"), r);
    EXPECT_EQ(r.Delka, 2097152u);
}

TEST(KodekyFirmware, CasovaZnacka)
{
    struct {
        const char* bajty;
        const char* text;
    } const pripady[] = {
        {"05 07 09 18 0B 17", "24.11.2023  9:07:05"},
        {"00 00 00 01 01 18", "1.1.2024  0:00:00"},
        {"3B 3B 17 1F 0C 05", "31.12.205  23:59:59"},
        {"0A 0A 0A 0A 0A 00", "10.10.200  10:10:10"},
        {"FF FF FF FF FF FF", "255.255.20255  255:255:255"},
    };
    for (const auto& p : pripady)
        EXPECT_EQ(DatumCasHBIN(Hex(p.bajty).data()), p.text) << p.bajty;
}

TEST(KodekyFirmware, NazevObrazu)
{
    struct {
        std::string bajty;
        std::string nazev;
    } const pripady[] = {
        {std::string("C:\\fw\\image_1_02.hbn") + std::string(10, '\0'), "image_1_02"},
        {"image", "image"},
        {"/opt/fw/a.b.c", "a.b"},
        {"D:image.hbn", "image"},
        {"dir\\", ""},
        {".hbn", ""},
        {std::string("im\x01\x1F" "age\x7F.hbn"), "image\x7F"},
        {"a\"b<c>d|e.hbn", "a\"b<c>d|e"},  // not a valid file name; returned as it is
        {"\xE9tape.hbn", "\xC3\xA9tape"},
        {"", ""},
    };
    for (const auto& p : pripady) {
        Bajty b(p.bajty.begin(), p.bajty.end());
        EXPECT_EQ(NazevSouboruHBIN(b), p.nazev) << p.bajty;
    }
}

TEST(KodekyFirmware, BootCmd)
{
    EXPECT_EQ(KodujBootCmd(std::string("prog", 5)), Hex("70 72 6F 67 00"));
    EXPECT_EQ(KodujBootCmd(Utf8(u8"é\u0141")), Hex("E9 41"));  // the low 8 bits of each character

    struct {
        Bajty bajty;
        std::string cmd;
    } const pripady[] = {
        {Hex("70 72 6F 67 00 41"), "prog"},
        {Hex("70 72 6F 67"), "prog"},
        {Hex("00 70"), ""},
        {{}, ""},
        {Hex("E9"), "\xC3\xA9"},
    };
    for (const auto& p : pripady) {
        TVK7316R_BootCmd r;
        r.Cmd = "old";
        DekodujBootCmd(p.bajty, r);
        EXPECT_EQ(r.Cmd, p.cmd);
    }
    TVK7316R_BootCmd r;
    DekodujBootCmd(Bajty(3000, 'x'), r);
    EXPECT_EQ(r.Cmd, std::string(1024, 'x'));
}

TEST(KodekyInfo, KazdyBajtJeZnak)
{
    Bajty b(31, 0);
    std::memcpy(b.data(), "VK-7316R  1.00  12345678", 24);
    b[30] = 0xFF;
    TVK7316R_InfoTxt r;
    r.Text = "old";
    DekodujInfoTxt(b, r);
    EXPECT_EQ(vk::common::PocetZnaku(r.Text), 31u);
    EXPECT_EQ(r.Text.substr(0, 24), "VK-7316R  1.00  12345678");
    EXPECT_EQ(r.Text.substr(24, 6), std::string(6, '\0'));
    EXPECT_EQ(r.Text.substr(30), "\xC3\xBF");
    DekodujInfoTxt({}, r);
    EXPECT_EQ(r.Text, "");
}
