// The device file layouts against literal bytes.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <tuple>

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

TEST(KodekyKonfigurace, SpravaCelySoubor)
{
    // Access table mode; IPv4 and IPv6 entries in turn, each 16 address
    // bytes and its version byte.
    const Bajty soubor = Hex("02 "
                             "0A 00 00 01 00 00 00 00 00 00 00 00 00 00 00 00 00 "
                             "FE 80 00 00 00 00 00 00 02 11 22 FF FE 33 44 55 01 "
                             "C0 A8 01 14 00 00 00 00 00 00 00 00 00 00 00 00 00 "
                             "20 01 0D B8 00 00 00 00 00 00 00 00 00 00 00 03 01 "
                             "AC 10 05 04 00 00 00 00 00 00 00 00 00 00 00 00 00 "
                             "FD 00 00 00 00 00 00 00 00 00 00 00 00 00 00 05 01 "
                             "0A 14 1E 28 00 00 00 00 00 00 00 00 00 00 00 00 00 "
                             "FE 80 00 00 00 00 00 00 00 00 00 00 00 00 00 01 01 "
                             "63");
    ASSERT_EQ(soubor.size(), 138u);
    TVK7316R_SpravaCfg s;
    s.Rezim = 2;
    s.IP[0] = {10, 0, 0, 1};
    s.IP[1] = {0xFE, 0x80, 0, 0, 0, 0, 0, 0, 0x02, 0x11, 0x22, 0xFF, 0xFE, 0x33, 0x44, 0x55};
    s.IP[2] = {192, 168, 1, 20};
    s.IP[3] = {0x20, 0x01, 0x0D, 0xB8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x03};
    s.IP[4] = {172, 16, 5, 4};
    s.IP[5] = {0xFD, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x05};
    s.IP[6] = {10, 20, 30, 40};
    s.IP[7] = {0xFE, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x01};
    s.VerzeIP = {0, 1, 0, 1, 0, 1, 0, 0x101};  // only the low byte is stored
    EXPECT_EQ(B(KodujSpravaCfg(s)), soubor);

    Bajty spatnaKontrola = soubor;
    spatnaKontrola[137] = 0x55;  // reads do not look at the check byte
    TVK7316R_SpravaCfg r;
    DekodujSpravaCfg(spatnaKontrola, r);
    EXPECT_EQ(r.Rezim, 2);
    EXPECT_EQ(r.IP, s.IP);
    EXPECT_EQ(r.VerzeIP, (std::array<std::uint32_t, 8>{0, 1, 0, 1, 0, 1, 0, 1}));
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

namespace {

// sys.bin with its own value in every field, so that a field read from a
// wrong offset shows; the bytes no field reads hold EE (or, at 360, a
// float of its own).
const char* const ZlatySysBin =
    // 0 TypFW: "FW:VK-7316R gateway 1.0" and the byte E9
    "46 57 3A 56 4B 2D 37 33 31 36 52 20 67 61 74 65 77 61 79 20 31 2E 30 E9 "
    // 24 TypLoader "LDR-7316R boot ", 39 unread, 42 TypLoader "v2.1.3"
    "4C 44 52 2D 37 33 31 36 52 20 62 6F 6F 74 20 EE EE EE 76 32 2E 31 2E 33 "
    // 48 VyrCislo "23110457"
    "32 33 31 31 30 34 35 37 "
    // 56 header of the running image: length 123456, hash A0..AF,
    // 5 s 7 min 9 h 24.11.2023, name "C:\fw\vk7316r_1_02.hbn" and 16 zeros
    "40 E2 01 00 A0 A1 A2 A3 A4 A5 A6 A7 A8 A9 AA AB AC AD AE AF 05 07 09 18 0B 17 "
    "43 3A 5C 66 77 5C 76 6B 37 33 31 36 72 5F 31 5F 30 32 2E 68 62 6E "
    "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
    // 120 MAC, 126 unread
    "00 50 C2 7A 31 6F EE EE "
    // 128 IPv4 address, mask, gateway, DHCP 1
    "C0 A8 00 63 FF FF FF 00 C0 A8 00 01 01 00 00 00 "
    // 144 IPv6 link-local, global, mask, gateway, DHCP 2
    "FE 80 00 00 00 00 00 00 02 50 C2 FF FE 7A 31 6F "
    "20 01 0D B8 00 00 00 01 02 50 C2 FF FE 7A 31 6F "
    "FF FF FF FF FF FF FF FF 00 00 00 00 00 00 00 00 "
    "FE 80 00 00 00 00 00 00 00 00 00 00 00 00 00 01 "
    "02 00 00 00 "
    // 212 unread
    "EE EE EE EE EE EE EE EE EE EE EE EE EE EE EE EE "
    // 228 uptime: 12345678 ms, 3, 1234567 x 10 ms, 12345 s
    "4E 61 BC 00 03 00 00 00 87 D6 12 00 39 30 00 00 "
    // 244 module clock, time switched off, time switched on
    "2C 01 1E 0F 0A 18 0C 17 E7 03 3B 3B 17 1F 0C 16 64 00 05 00 08 01 01 17 "
    // 268 flags 8000000F; counters 17, 5, 42, 7, 9
    "0F 00 00 80 11 00 00 00 05 00 00 00 2A 00 00 00 07 00 00 00 09 00 00 00 "
    // 292 processor: 43.0, 21.5, 58.25, status 21, time mark 100000, its
    // date and time, measurement 1001
    "00 00 2C 42 00 00 AC 41 00 00 69 42 21 00 00 00 A0 86 01 00 "
    "10 00 01 02 03 04 05 17 E9 03 00 00 "
    // 324 circuit board: 36.5, -5.75, 47.0, status 22, 200000, measurement 2002
    "00 00 12 42 00 00 B8 C0 00 00 3C 42 22 00 00 00 40 0D 03 00 "
    "20 00 06 07 08 09 0A 17 D2 07 00 00 "
    // 356 supply: 24.125, unread 99.0, 23.5, 26.75, status 23, 300000,
    // measurement 3003
    "00 00 C1 41 00 00 C6 42 00 00 BC 41 00 00 D6 41 23 00 00 00 E0 93 04 00 "
    "30 00 0B 0C 0D 0E 0B 17 BB 0B 00 00";

// The fields of a sys.bin record in groups, compared group by group so that
// a failure shows the values that differ.
auto Texty(const TVK7316R_SysBin& r)
{
    return std::make_tuple(r.TypFW, r.TypLoader, r.VyrCislo);
}
auto Hlavicka(const TVK7316R_SysBin& r)
{
    return std::make_tuple(r.AktualHBIN.Delka, r.AktualHBIN.Hash, r.AktualHBIN.DatumCas, r.AktualHBIN.NazevFW);
}
auto Adresy4(const TVK7316R_SysBin& r)
{
    return std::make_tuple(r.MAC, r.IP4_Adresa, r.IP4_Maska, r.IP4_Brana, r.IP4_DHCP);
}
auto Adresy6(const TVK7316R_SysBin& r)
{
    return std::make_tuple(r.IP6_LLA, r.IP6_GUA, r.IP6_Maska, r.IP6_Brana, r.IP6_DHCP);
}
auto Behy(const TVK7316R_SysBin& r)
{
    return std::make_tuple(r.UptimeMs, r.UptimeMsH, r.Uptime10Ms, r.UptimeS, r.RTCr, r.CasVypnuti, r.CasZapnuti);
}
auto Citace(const TVK7316R_SysBin& r)
{
    return std::make_tuple(r.Priznaky, r.CitacVypnuti, r.CitacStudenyStart, r.CitacTeplyStart, r.CitacGlobalAuth,
                           r.CitacLinkDown);
}
auto MereniUP(const TVK7316R_SysBin& r)
{
    return std::make_tuple(r.TeplotaUP, r.TeplotaUP_Min, r.TeplotaUP_Max, r.TeplotaUP_Status, r.TeplotaUP_CasZnacka,
                           r.TeplotaUP_DatumCas, r.TeplotaUP_CisloMereni);
}
auto MereniDPS(const TVK7316R_SysBin& r)
{
    return std::make_tuple(r.TeplotaDPS, r.TeplotaDPS_Min, r.TeplotaDPS_Max, r.TeplotaDPS_Status,
                           r.TeplotaDPS_CasZnacka, r.TeplotaDPS_DatumCas, r.TeplotaDPS_CisloMereni);
}
auto MereniPWR(const TVK7316R_SysBin& r)
{
    return std::make_tuple(r.NapetiPWR, r.NapetiPWR_Nekalib, r.NapetiPWR_Min, r.NapetiPWR_Max, r.NapetiPWR_Status,
                           r.NapetiPWR_CasZnacka, r.NapetiPWR_DatumCas, r.NapetiPWR_CisloMereni);
}

}  // namespace

TEST(KodekyStav, SysBinCelyZaznam)
{
    const Bajty b = Hex(ZlatySysBin);
    ASSERT_EQ(b.size(), 392u);

    TVK7316R_SysBin o;                            // expected
    o.TypFW = "FW:VK-7316R gateway 1.0\xC3\xA9";  // a byte above 7F is the character of that code
    o.TypLoader = "LDR-7316R boot v2.1.3";
    o.VyrCislo = "23110457";
    o.AktualHBIN.Delka = 123456;
    o.AktualHBIN.Hash = {0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7,
                         0xA8, 0xA9, 0xAA, 0xAB, 0xAC, 0xAD, 0xAE, 0xAF};
    o.AktualHBIN.DatumCas = {0, 0, 5, 7, 9, 24, 11, 23};
    o.AktualHBIN.NazevFW = "C:\\fw\\vk7316r_1_02.hbn" + std::string(16, '\0');
    o.MAC = {0x00, 0x50, 0xC2, 0x7A, 0x31, 0x6F};
    o.IP4_Adresa = {192, 168, 0, 99};
    o.IP4_Maska = {255, 255, 255, 0};
    o.IP4_Brana = {192, 168, 0, 1};
    o.IP4_DHCP = 1;
    o.IP6_LLA = {0xFE, 0x80, 0, 0, 0, 0, 0, 0, 0x02, 0x50, 0xC2, 0xFF, 0xFE, 0x7A, 0x31, 0x6F};
    o.IP6_GUA = {0x20, 0x01, 0x0D, 0xB8, 0, 0, 0, 0x01, 0x02, 0x50, 0xC2, 0xFF, 0xFE, 0x7A, 0x31, 0x6F};
    o.IP6_Maska = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0};
    o.IP6_Brana = {0xFE, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x01};
    o.IP6_DHCP = 2;
    o.UptimeMs = 12345678;
    o.UptimeMsH = 3;
    o.Uptime10Ms = 1234567;
    o.UptimeS = 12345;
    o.RTCr = {0x2C, 0x01, 30, 15, 10, 24, 12, 23};        // 300 ms, 10:15:30 24.12.2023
    o.CasVypnuti = {0xE7, 0x03, 59, 59, 23, 31, 12, 22};  // 999 ms, 23:59:59 31.12.2022
    o.CasZapnuti = {100, 0, 5, 0, 8, 1, 1, 23};           // 100 ms, 8:00:05 1.1.2023
    o.Priznaky = 0x8000000F;
    o.CitacVypnuti = 17;
    o.CitacStudenyStart = 5;
    o.CitacTeplyStart = 42;
    o.CitacGlobalAuth = 7;
    o.CitacLinkDown = 9;
    o.TeplotaUP = 43.0;
    o.TeplotaUP_Min = 21.5;
    o.TeplotaUP_Max = 58.25;
    o.TeplotaUP_Status = 0x21;
    o.TeplotaUP_CasZnacka = 100000;
    o.TeplotaUP_DatumCas = {0x10, 0, 1, 2, 3, 4, 5, 23};
    o.TeplotaUP_CisloMereni = 1001;
    o.TeplotaDPS = 36.5;
    o.TeplotaDPS_Min = -5.75;
    o.TeplotaDPS_Max = 47.0;
    o.TeplotaDPS_Status = 0x22;
    o.TeplotaDPS_CasZnacka = 200000;
    o.TeplotaDPS_DatumCas = {0x20, 0, 6, 7, 8, 9, 10, 23};
    o.TeplotaDPS_CisloMereni = 2002;
    o.NapetiPWR = 24.125;
    o.NapetiPWR_Nekalib = 12.5;  // not in the file: the read leaves it
    o.NapetiPWR_Min = 23.5;
    o.NapetiPWR_Max = 26.75;
    o.NapetiPWR_Status = 0x23;
    o.NapetiPWR_CasZnacka = 300000;
    o.NapetiPWR_DatumCas = {0x30, 0, 11, 12, 13, 14, 11, 23};
    o.NapetiPWR_CisloMereni = 3003;

    TVK7316R_SysBin r;
    r.NapetiPWR_Nekalib = 12.5;
    DekodujSysBin(b, r);
    EXPECT_EQ(vk::common::PocetZnaku(r.TypFW), 24u);
    EXPECT_EQ(Texty(r), Texty(o));
    EXPECT_EQ(Hlavicka(r), Hlavicka(o));
    EXPECT_EQ(Adresy4(r), Adresy4(o));
    EXPECT_EQ(Adresy6(r), Adresy6(o));
    EXPECT_EQ(Behy(r), Behy(o));
    EXPECT_EQ(Citace(r), Citace(o));
    EXPECT_EQ(MereniUP(r), MereniUP(o));
    EXPECT_EQ(MereniDPS(r), MereniDPS(o));
    EXPECT_EQ(MereniPWR(r), MereniPWR(o));
    EXPECT_TRUE(r == o);  // the whole record, Status and StatusText included
}

TEST(KodekyStav, Mmrd)
{
    TVK7316R_MmrdBin r;
    DekodujMmrdBin(Hex("01020304 FFFFFFFF 0A000000 3412 64 F7"), r);
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
                         ::testing::Values(RingPripad{0, 0}, RingPripad{1, 1}, RingPripad{179, 179}, RingPripad{180, 0},
                                           RingPripad{359, 179}, RingPripad{4294967295u, 75}));

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
        {"05 07 09 18 0B 17", "24.11.2023  9:07:05"},        {"00 00 00 01 01 18", "1.1.2024  0:00:00"},
        {"3B 3B 17 1F 0C 05", "31.12.205  23:59:59"},        {"0A 0A 0A 0A 0A 00", "10.10.200  10:10:10"},
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
        {std::string("im\x01\x1F"
                     "age\x7F.hbn"),
         "image\x7F"},
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
