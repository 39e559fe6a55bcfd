// Event log records as text, and the export of a log file into windows-1250.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "HexBajty.h"
#include "LogZaznamy.h"

using namespace vk::device;
namespace fs = std::filesystem;

namespace {

// A record of `kod` at 05.03.2023 14:07:09 with parameter bytes from 16 on.
TZaznamLOG Zaznam(std::uint8_t kod, const vk::test::Bajty& parametry = {})
{
    TZaznamLOG z{};
    z[0] = kod;
    z[1] = 0xAA;  // bytes the text does not use
    z[4] = 0xBB;
    z[6] = 9;    // second
    z[7] = 7;    // minute
    z[8] = 14;   // hour
    z[9] = 5;    // day
    z[10] = 3;   // month
    z[11] = 23;  // year - 2000
    z[12] = 0xCC;
    std::copy(parametry.begin(), parametry.end(), z.begin() + 16);
    return z;
}

const std::string P = "[05.03.2023  14:07:09] - ";

std::string U8(std::u8string_view s)
{
    return std::string(reinterpret_cast<const char*>(s.data()), s.size());
}

// Parameters: VLAN index (4 bytes), 4 bytes, address kind, 3 bytes, address.
const char* const IPv4 = "00000000 00000000 00 000000 C0A80114";
const char* const IPv6 = "00000000 00000000 01 000000 FE800000000000000211 22FFFE334455";

}  // namespace

struct RadekPripad {
    TZaznamLOG zaznam;
    std::string radek;
};

class LogRadek : public ::testing::TestWithParam<RadekPripad> {};

TEST_P(LogRadek, Text)
{
    EXPECT_EQ(DekodujZaznamLOG(GetParam().zaznam), GetParam().radek);
}

INSTANTIATE_TEST_SUITE_P(
    Slovnik, LogRadek,
    ::testing::Values(
        RadekPripad{Zaznam(1), P + U8(u8"U01 - Zapnutí napájení")},
        RadekPripad{Zaznam(2), P + U8(u8"U02 - Vypnutí napájení")},
        RadekPripad{Zaznam(3, vk::test::Hex(IPv4)),
                    P + U8(u8"U03 - Vzdálený restart modulu (vzdálená správa, IP=192.168.1.20)")},
        RadekPripad{Zaznam(4), P + "U04 - HW restart (watchdog)"},
        RadekPripad{Zaznam(5), P + U8(u8"U05 - Připojení LAN (link up)")},
        RadekPripad{Zaznam(6), P + U8(u8"U06 - Odpojení LAN (ink down)")},
        RadekPripad{Zaznam(7, vk::test::Hex(IPv4)), P + U8(u8"U07 - Nepovolený přístup VLAN (VLAN1, IP=192.168.1.20)")},
        RadekPripad{Zaznam(7, vk::test::Hex("FFFFFFFF 00000000 05 000000 FE800000000000000211 22FFFE334455")),
                    P + U8(u8"U07 - Nepovolený přístup VLAN (VLAN0, IP=FE80:0000:0000:0000:0211:22FF:FE33:4455)")},
        RadekPripad{Zaznam(8, vk::test::Hex(IPv6)),
                    P + U8(u8"U08 - Nepovolený přístup vzdálené správy (vzdálená správa, "
                           u8"IP=FE80:0000:0000:0000:0211:22FF:FE33:4455)")},
        RadekPripad{Zaznam(9, vk::test::Hex("04")), P + "U09 - Chyba konfigurace (LAN)"},
        RadekPripad{Zaznam(10, vk::test::Hex(IPv4)),
                    P + U8(u8"U10 - Zápis konfigurace (vzdálená správa, IP=192.168.1.20)")},
        RadekPripad{Zaznam(11, vk::test::Hex(IPv4)), P + U8(u8"U11 - Zápis RTC (vzdálená správa, IP=192.168.1.20)")},
        RadekPripad{Zaznam(12, vk::test::Hex("00000000 00000000 01")),
                    P + U8(u8"U12 - Vynulování diagnostických čítačů (vzdálená správa, "
                           u8"IP=0000:0000:0000:0000:0000:0000:0000:0000)")},
        RadekPripad{Zaznam(13, vk::test::Hex("00000000 00000000 00 000000 00000000")),
                    P + U8(u8"U13 - Vymazání logování (vzdálená správa, IP=0.0.0.0)")},
        RadekPripad{Zaznam(14, vk::test::Hex("00000000 11000000 02000000 05 03 00")),
                    P + "U14 - Chyba komunikace na lince RS-485 (VLAN1, ID=17, Status=2, Adresa=5, Funkce=3, "
                        "Periferie=0)"},
        RadekPripad{Zaznam(14, vk::test::Hex("02000000 FFFFFFFF FFFFFFFF FF FF FF")),
                    P + "U14 - Chyba komunikace na lince RS-485 (VLAN3, ID=4294967295, Status=4294967295, "
                        "Adresa=255, Funkce=255, Periferie=255)"},
        RadekPripad{Zaznam(15), P + U8(u8"U15 - Neznámá chyba 15")},
        RadekPripad{Zaznam(20), P + U8(u8"U20 - Neznámá chyba 20")},
        RadekPripad{Zaznam(254), P + U8(u8"U254 - Neznámá chyba 254")},
        RadekPripad{Zaznam(0, vk::test::Hex("01020304")), ""},
        RadekPripad{Zaznam(255, vk::test::Hex("01020304")), ""}));

// Every configuration part code (record byte 16 of code 9): the twelve with
// a suffix of their own, and all others with none.
TEST(LogRadek, PriponyCastiKonfigurace)
{
    const std::string pripony[] = {
        "",
        " (MAC)",
        U8(u8" (výrobní číslo)"),
        U8(u8" (aktuální stav LOG)"),
        " (LAN)",
        U8(u8" (vzdálená správa)"),
        " (VLAN1)",
        " (VLAN2)",
        " (VLAN3)",
        " (server VKA)",
        " (SNMP)",
        " (PWR)",
        " (LOG)",
    };
    for (unsigned kod = 0; kod <= 255; ++kod) {
        const std::string pripona = kod < std::size(pripony) ? pripony[kod] : "";
        EXPECT_EQ(DekodujZaznamLOG(Zaznam(9, {static_cast<std::uint8_t>(kod)})),
                  P + "U09 - Chyba konfigurace" + pripona)
            << "part code " << kod;
    }
}

TEST(LogRadek, CislaPredponyMajiAsponDveCislice)
{
    TZaznamLOG z = Zaznam(1);
    z[6] = 0;
    z[7] = 100;
    z[8] = 255;
    z[9] = 31;
    z[10] = 12;
    z[11] = 255;
    EXPECT_EQ(DekodujZaznamLOG(z), U8(u8"[31.12.2255  255:100:00] - U01 - Zapnutí napájení"));
    z[11] = 0;
    z[9] = 0;
    EXPECT_EQ(DekodujZaznamLOG(z).substr(0, 12), "[00.12.2000 ");
}

TEST(LogHlavicka, TypovaZnackaAPocty)
{
    const auto b = vk::test::Hex("4C 47 02 00 00000000 32000000 0000000000000000 00000000 00000000 90010000");
    const THlavickaLOG h = DekodujHlavickuLOG(b.data(), b.size());
    EXPECT_TRUE(JeTypLOG(h));
    EXPECT_EQ(h.PocetZaznamu, 50u);
    EXPECT_EQ(h.Kapacita, 400u);
    EXPECT_EQ(h.Bajty[32], 0);  // bytes not received count as zero
    for (const char* spatna : {"4C 47 01", "4C 46 02", "4D 47 02", ""}) {
        const auto s = vk::test::Hex(spatna);
        EXPECT_FALSE(JeTypLOG(DekodujHlavickuLOG(s.data(), s.size()))) << spatna;
    }
    EXPECT_FALSE(JeTypLOG(DekodujHlavickuLOG(nullptr, 0)));
}

class LogExport : public ::testing::Test {
protected:
    void SetUp() override
    {
        slozka_ = fs::temp_directory_path() / ("vk_log_export_" + std::to_string(::getpid()) + "_" +
                                               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(slozka_);
        fs::create_directories(slozka_);
        zaklad_ = (slozka_ / "Arch_230305_140709").string();
    }
    void TearDown() override { fs::remove_all(slozka_); }

    void Bin(const vk::test::Bajty& b) const
    {
        std::ofstream f(zaklad_ + ".bin", std::ios::binary);
        f.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    }
    std::string Log() const
    {
        std::ifstream f(zaklad_ + ".log", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    }
    static vk::test::Bajty Hlavicka()
    {
        vk::test::Bajty h(64, 0);
        h[0] = 0x4C;
        h[1] = 0x47;
        h[2] = 0x02;
        return h;
    }
    static void Pridej(vk::test::Bajty& b, const TZaznamLOG& z) { b.insert(b.end(), z.begin(), z.end()); }

    fs::path slozka_;
    std::string zaklad_;
    std::string chyba_;
};

TEST_F(LogExport, ZaznamyVeWindows1250)
{
    auto b = Hlavicka();
    Pridej(b, Zaznam(1));
    Pridej(b, Zaznam(255));
    Pridej(b, Zaznam(9, vk::test::Hex("04")));
    Pridej(b, Zaznam(0));
    Pridej(b, Zaznam(12, vk::test::Hex(IPv4)));
    Pridej(b, Zaznam(6));
    b.insert(b.end(), 63, 0x01);  // a partial last record
    Bin(b);
    ASSERT_TRUE(PrevedLogNaText(zaklad_, U8(u8"Modul     : VK-7316R  v.1.00\rIP adresa : 192.168.0.99"), chyba_))
        << chyba_;
    EXPECT_EQ(chyba_, "");
    EXPECT_EQ(Log(), "Modul     : VK-7316R  v.1.00\rIP adresa : 192.168.0.99\r\n"
                     "\r\n"
                     "[05.03.2023  14:07:09] - U01 - Zapnut\xED nap\xE1jen\xED\r\n"
                     "[05.03.2023  14:07:09] - U09 - Chyba konfigurace (LAN)\r\n"
                     "[05.03.2023  14:07:09] - U12 - Vynulov\xE1n\xED diagnostick\xFD"
                     "ch \xE8\xEDta\xE8\xF9 "
                     "(vzd\xE1len\xE1 spr\xE1va, IP=192.168.1.20)\r\n"
                     "[05.03.2023  14:07:09] - U06 - Odpojen\xED LAN (ink down)\r\n");
}

TEST_F(LogExport, JenHlavicka)
{
    Bin(Hlavicka());
    ASSERT_TRUE(PrevedLogNaText(zaklad_, "H", chyba_));
    EXPECT_EQ(Log(), "H\r\n\r\n");
}

TEST_F(LogExport, ChybnyTypSouboru)
{
    auto b = Hlavicka();
    b[2] = 0x03;
    Pridej(b, Zaznam(1));
    Bin(b);
    ASSERT_TRUE(PrevedLogNaText(zaklad_, "H", chyba_));
    EXPECT_EQ(Log(), "H\r\n\r\nChybn\xFD typ souboru " + zaklad_ + ".bin\r\n");

    Bin({0x4C, 0x47});  // too short for the mark
    ASSERT_TRUE(PrevedLogNaText(zaklad_, "H", chyba_));
    EXPECT_EQ(Log(), "H\r\n\r\nChybn\xFD typ souboru " + zaklad_ + ".bin\r\n");
}

TEST_F(LogExport, BezZdrojeNicNevznikne)
{
    EXPECT_TRUE(PrevedLogNaText(zaklad_, "H", chyba_));
    EXPECT_FALSE(fs::exists(zaklad_ + ".log"));
}

TEST_F(LogExport, PrepiseStaryLogAZnakMimoKodovouStrankuJeOtaznik)
{
    {
        std::ofstream(zaklad_ + ".log") << "a much longer old content that must disappear\r\n";
    }
    Bin(Hlavicka());
    ASSERT_TRUE(PrevedLogNaText(zaklad_, U8(u8"A→B €"), chyba_));
    EXPECT_EQ(Log(), "A?B \x80\r\n\r\n");
}

// The fuzz input that found it, used as the fuzz target uses it (the file
// and the header alike): the byte 0xF7 announces a four-byte sequence but
// belongs to none, and must not take the line ends after it along.
TEST_F(LogExport, NeplatnyBajtVHlavickeNespolkneKonceRadku)
{
    const vk::test::Bajty vstup = {0xF7};
    Bin(vstup);
    ASSERT_TRUE(PrevedLogNaText(zaklad_, std::string(vstup.begin(), vstup.end()), chyba_));
    EXPECT_EQ(Log(), "?\r\n\r\nChybn\xFD typ souboru " + zaklad_ + ".bin\r\n");
}

TEST_F(LogExport, ChybaZapisuNenechaPolovicatySoubor)
{
    Bin(Hlavicka());
    fs::create_directory(zaklad_ + ".log");  // the target name is taken by a folder
    EXPECT_FALSE(PrevedLogNaText(zaklad_, "H", chyba_));
    EXPECT_EQ(chyba_, "Soubor " + zaklad_ + ".log nelze zapsat.");
    std::size_t souboru = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(slozka_))
        ++souboru;
    EXPECT_EQ(souboru, 2u);  // the .bin and the folder: no temporary file left
}

TEST_F(LogExport, ZdrojNelzeCist)
{
    fs::create_directory(zaklad_ + ".bin");
    EXPECT_FALSE(PrevedLogNaText(zaklad_, "H", chyba_));
    EXPECT_EQ(chyba_, "Soubor " + zaklad_ + ".bin nelze přečíst.");
    EXPECT_FALSE(fs::exists(zaklad_ + ".log"));
}
