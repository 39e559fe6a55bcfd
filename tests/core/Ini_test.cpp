#include <gtest/gtest.h>
#include <iconv.h>

#include <random>
#include <string>

#include "DocasnaSlozka.h"
#include "Ini.h"
#include "Win1250.h"
#include "ZnakoveTexty.h"

using namespace vk::core;

namespace {

TEST(StejneNazvy, FoldsAsciiAndCzechLetters)
{
    const std::pair<const char*, const char*> stejne[] = {{"Rozhraní", "ROZHRANÍ"},
                                                          {"rozhraní", "RoZhRaNí"},
                                                          {"žluťoučký kůň", "ŽLUŤOUČKÝ KŮŇ"},
                                                          {"ěščřďňá", "ĚŠČŘĎŇÁ"},
                                                          {"Ĺĺ", "ĺĹ"},
                                                          {"Ÿ", "ÿ"},
                                                          {"", ""},
                                                          {"IP adresa", "ip ADRESA"}};
    for (const auto& [a, b] : stejne)
        EXPECT_TRUE(StejneNazvy(a, b)) << a << " / " << b;
    const std::pair<const char*, const char*> ruzne[] = {
        {"Rozhrani", "Rozhraní"}, {"a", "b"}, {"COM", "COM1"}, {"č", "ć"}, {"×", "÷"}, {"Timeout", "Timeout "}};
    for (const auto& [a, b] : ruzne)
        EXPECT_FALSE(StejneNazvy(a, b)) << a << " / " << b;
}

TEST(TIniSoubor, ReadsValuesByProfileRules)
{
    TIniSoubor ini;
    ini.Rozeber("\xEF\xBB\xBF"
                "klic=mimo sekci\n"
                "[ Prvni ]\n"
                "; klic=komentar\n"
                "# Klic=taky komentar\n"
                "bez rovnitka\n"
                "  Klic  =   hodnota s mezerami   \n"
                "uvozovky=\"  a  \"\n"
                "apostrofy='b'\n"
                "napul=\"c\n"
                "prazdny=\n"
                "rovnitka=a=b\n"
                "[prvni]\n"
                "klic=druha sekce stejneho jmena\n"
                "jen=tady\n");
    EXPECT_EQ(ini.Hodnota("PRVNI", "klic"), "hodnota s mezerami");
    EXPECT_EQ(ini.Hodnota("Prvni", "uvozovky"), "  a  ");
    EXPECT_EQ(ini.Hodnota("Prvni", "apostrofy"), "b");
    EXPECT_EQ(ini.Hodnota("Prvni", "napul"), "\"c");
    EXPECT_EQ(ini.Hodnota("Prvni", "prazdny"), "");
    EXPECT_EQ(ini.Hodnota("Prvni", "rovnitka"), "a=b");
    EXPECT_EQ(ini.Hodnota("Prvni", "bez rovnitka"), std::nullopt);
    EXPECT_EQ(ini.Hodnota("Prvni", "jen"), std::nullopt);  // the first section of a name counts
    EXPECT_EQ(ini.Hodnota("Druha", "klic"), std::nullopt);
}

TEST(TIniSoubor, ChangesOnlyWhatIsSet)
{
    const std::string puvodni = "; hlavicka\r\n"
                                "[A]\r\n"
                                "x=1\r\n"
                                "y=2\r\n"
                                "\r\n"
                                "; o sekci B\r\n"
                                "[B]\r\n"
                                "z=3\r\n";
    TIniSoubor ini;
    ini.Rozeber(puvodni);
    EXPECT_EQ(ini.Text(), puvodni);  // untouched content comes back byte for byte

    ini.Nastav("a", "Y", "20");    // in place, whatever the case
    ini.Nastav("A", "w", "nove");  // after the last key of its section
    ini.Nastav("C", "k", " s mezerou");
    ini.Nastav("B", "radky", "a\r\nb");
    EXPECT_EQ(ini.Text(), "; hlavicka\r\n"
                          "[A]\r\n"
                          "x=1\r\n"
                          "Y=20\r\n"
                          "w=nove\r\n"
                          "\r\n"
                          "; o sekci B\r\n"
                          "[B]\r\n"
                          "z=3\r\n"
                          "radky=a  b\r\n"
                          "[C]\r\n"
                          "k=\" s mezerou\"\r\n");

    TIniSoubor znovu;
    znovu.Rozeber(ini.Text());
    EXPECT_EQ(znovu.Hodnota("C", "k"), " s mezerou");
}

TEST(TIniSoubor, Windows1250FileIsDecoded)
{
    TIniSoubor ini;
    ini.Rozeber("[Rozhran\xED]\r\nRozhran\xED=1\r\n[\x8A"
                "koda]\r\nn\xE1zev=\x9E"
                "lu\x9D"
                "ou\xE8k\xFD\r\n");
    EXPECT_EQ(ini.Hodnota("Rozhraní", "Rozhraní"), "1");
    EXPECT_EQ(ini.Hodnota("ŠKODA", "NÁZEV"), "žluťoučký");
    EXPECT_EQ(ini.Text(), "[Rozhraní]\r\nRozhraní=1\r\n[Škoda]\r\nnázev=žluťoučký\r\n");  // rewritten as UTF-8
}

TEST(TIniSoubor, MissingFileIsEmptyFolderIsUnreadable)
{
    vk::test::TDocasnaSlozka slozka;
    TIniSoubor ini;
    EXPECT_TRUE(ini.Nacti(slozka / "neni.ini"));
    EXPECT_EQ(ini.Text(), "");
    EXPECT_FALSE(ini.Nacti(slozka.Cesta()));
}

// Whatever a file holds, a value set can be read back after the file was
// written and read again, and no other key changes its value.
TEST(TIniSoubor, SetValueReadsBackOverRandomContent)
{
    std::mt19937 gen(1250);
    const std::string znakyObsahu = "ab=[] ;\"\'\n\n\r\t\xED\xC3";
    const std::string znakyHodnoty = "ab= ;\"\'\t[]\xC3\xAD";
    const auto nahodny = [&](const std::string& abeceda, int nejvic) {
        std::string t;
        const int delka = std::uniform_int_distribution<int>(0, nejvic)(gen);
        for (int i = 0; i < delka; ++i)
            t.push_back(abeceda[std::uniform_int_distribution<std::size_t>(0, abeceda.size() - 1)(gen)]);
        return t;
    };
    const auto jmeno = [&] { return std::string(1, "abAB"[std::uniform_int_distribution<int>(0, 3)(gen)]); };
    for (int kolo = 0; kolo < 10000; ++kolo) {
        TIniSoubor ini;
        ini.Rozeber(nahodny(znakyObsahu, 60));
        const std::string sekce = jmeno(), klic = jmeno(), jinaSekce = jmeno(), jinyKlic = jmeno();
        std::string hodnota = nahodny(znakyHodnoty, 8);
        if (!vk::common::JePlatneUtf8(hodnota))
            hodnota = "x";
        const auto jinaPred = ini.Hodnota(jinaSekce, jinyKlic);
        ini.Nastav(sekce, klic, hodnota);
        TIniSoubor znovu;
        znovu.Rozeber(ini.Text());
        ASSERT_EQ(znovu.Hodnota(sekce, klic), hodnota) << ini.Text();
        if (!StejneNazvy(sekce, jinaSekce) || !StejneNazvy(klic, jinyKlic)) {
            ASSERT_EQ(znovu.Hodnota(jinaSekce, jinyKlic), jinaPred) << ini.Text();
        }
    }
}

// Every defined byte of the code page against the system's converter.
TEST(Win1250NaUtf8, MatchesTheSystemConverter)
{
    iconv_t prevod = iconv_open("UTF-8", "WINDOWS-1250");
    ASSERT_NE(prevod, reinterpret_cast<iconv_t>(-1));
    int porovnano = 0;
    for (int bajt = 0x01; bajt <= 0xFF; ++bajt) {
        char vstup[1] = {static_cast<char>(bajt)};
        char vystup[8] = {};
        char* vstupUk = vstup;
        char* vystupUk = vystup;
        std::size_t zbyvaVstup = 1, zbyvaVystup = sizeof vystup;
        iconv(prevod, nullptr, nullptr, nullptr, nullptr);
        if (iconv(prevod, &vstupUk, &zbyvaVstup, &vystupUk, &zbyvaVystup) == static_cast<std::size_t>(-1))
            continue;  // a byte the code page leaves undefined
        EXPECT_EQ(Win1250NaUtf8(std::string(1, static_cast<char>(bajt))),
                  std::string(vystup, static_cast<std::size_t>(vystupUk - vystup)))
            << "byte " << bajt;
        ++porovnano;
    }
    iconv_close(prevod);
    EXPECT_GE(porovnano, 250);
    EXPECT_EQ(Win1250NaUtf8("\x81\x98"), "\xC2\x81\xC2\x98");  // undefined bytes are kept
}

}  // namespace
