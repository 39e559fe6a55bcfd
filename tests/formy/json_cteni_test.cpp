// The strict JSON reader and the profile file read through it, without a
// module: what is taken, what is refused and the line a refusal names.
#include <gtest/gtest.h>

#include "JsonCteni.h"
#include "SouborProfilu.h"

using vk::formy::CtiJson;
using vk::formy::TJson;

namespace {

// Catches: a lost escape or surrogate pair, a key order changed, a line
// count that skips or doubles a line, the smallest integer refused.
TEST(JsonCteni, HodnotyEscapyARadky)
{
    TJson j;
    std::string chyba;
    ASSERT_TRUE(CtiJson("{\"a\": [1, -9223372036854775808, true, false, null],\n"
                        "\r\n \"b\": \"\\\"\\\\\\/\\b\\f\\n\\r\\t\\u00e9\\ud83d\\ude00\xc5\xa1\",\n \"c\": {}}",
                        j, chyba))
        << chyba;
    ASSERT_EQ(j.Polozky.size(), 3u);
    EXPECT_EQ(j.Polozky[0].first, "a");
    const TJson& a = *j.Najdi("a");
    ASSERT_EQ(a.Prvky.size(), 5u);
    EXPECT_EQ(a.Prvky[1].Cislo, INT64_MIN);
    EXPECT_TRUE(a.Prvky[2].Logicka);
    EXPECT_EQ(a.Prvky[4].Druh, TJson::TDruh::Null);
    EXPECT_EQ(j.Najdi("b")->Text, "\"\\/\b\f\n\r\t\xc3\xa9\xf0\x9f\x98\x80\xc5\xa1");
    EXPECT_EQ(j.Najdi("b")->Radek, 3);
    EXPECT_EQ(j.Najdi("c")->Radek, 4);
}

// Catches: a lenient reader that takes what a hand edit breaks, or that
// names the wrong line.
TEST(JsonCteni, Odmitnuti)
{
    const std::pair<std::string, std::string> pripady[] = {
        {"{\"a\":1,}", "line 1: expected a key in quotes"},
        {"[1,\n2,]", "line 2: unexpected character"},
        {"{\"a\":1 \"b\":2}", "line 1: expected ',' or '}'"},
        {"{\"a\":1,\"a\":2}", "line 1: key \"a\" given twice"},
        {"01", "line 1: a number with a leading zero"},
        {"1.5", "line 1: only whole numbers are used"},
        {"9223372036854775808", "line 1: number out of range"},
        {"\"a\nb\"", "line 1: a control character inside a string"},
        {"\"\\x41\"", "line 1: unknown escape \\x"},
        {"\"\\ud83d\"", "line 1: a high surrogate \\u escape without its low half"},
        {"\"\\udc00\"", "line 1: a lone low surrogate"},
        {"\"\xc3\x28\"", "line 1: a string that is not valid UTF-8"},
        {"\"\xc0\xaf\"", "line 1: a string that is not valid UTF-8"},
        {"\"abc", "line 1: a string without its closing quote"},
        {"{}\n{}", "line 2: text after the end"},
        {"tru", "line 1: unexpected character"},
        {"", "line 1: unexpected end of the text"},
        {std::string(100, '['), "nested deeper than 64 levels"},
    };
    for (const auto& [text, zprava] : pripady) {
        TJson j;
        std::string chyba;
        EXPECT_FALSE(CtiJson(text, j, chyba)) << text;
        EXPECT_EQ(chyba.rfind(zprava, 0) == 0 || chyba.find(zprava) != std::string::npos, true)
            << text << " -> " << chyba;
    }
}

const char* const Profil = R"({
  "Format": "vk7316r-profil",
  "Verze": 1,
  "Modul": {"TypModulu":"VK-7316R","VerzeModulu":"1.00","VyrCislo":"1"},
  "lan4.cfg": {"IP4_Adresa":"10.0.0.5","IP4_Maska":"255.0.0.0","IP4_Brana":"10.0.0.1","IP4_DHCP":0},
  "mbtcp.cfg": {"UnitID":3,"Timeout":9},
  "uartm.cfg": {"KodBaud":8,"KodParita":2,"Timeout":500,"Opakovani":15},
  "uarts.cfg": {"Adresa":12,"KodBaud":2,"KodParita":0,"Repeater":1},
  "sprava.cfg": {"Rezim":0,
    "IP":["1.2.3.4","::1","0.0.0.0","0.0.0.0","0.0.0.0","0.0.0.0","0.0.0.0","9.8.7.6"],
    "VerzeIP":[0,1,0,0,0,0,0,0]}
}
)";

// Catches: a field that lands in the wrong place of the image, the access
// table dropped when the mode is not the table's (the dialog takes it only
// then), a missing log area refused although a serial backup has none.
TEST(SouborProfilu, CteniDoObrazu)
{
    namespace profil = vk::procedures::profil;
    profil::TProfil p;
    std::string chyba;
    ASSERT_TRUE(vk::formy::TextNaProfil(Profil, p, chyba)) << chyba;
    EXPECT_EQ(p.Identita.VyrCislo, "1");
    EXPECT_EQ(p.Cfg.LAN4.IP4_Maska, (vk::core::TAdresa4{255, 0, 0, 0}));
    EXPECT_EQ(p.Cfg.MBTCP.UnitID, 3);
    EXPECT_EQ(p.Cfg.MBTCP.Timeout, 9);
    EXPECT_EQ(p.Cfg.UARTM.KodBaud, 8);
    EXPECT_EQ(p.Cfg.UARTM.Opakovani, 15);
    EXPECT_EQ(p.Cfg.UARTS.Adresa, 12);
    EXPECT_EQ(p.Cfg.UARTS.Repeater, 1);
    EXPECT_EQ(p.Cfg.Sprava.Rezim, 0);
    EXPECT_EQ(p.Cfg.Sprava.User_IP[7][0], 9);
    EXPECT_EQ(p.Cfg.Sprava.User_IP[1][15], 1);
    EXPECT_EQ(p.Cfg.Sprava.VerzeIP[1], 1);
    EXPECT_TRUE(p.Drzi(profil::TOblastProfilu::VzdalenaSprava));
    EXPECT_FALSE(p.Drzi(profil::TOblastProfilu::LogNastaveni));
    // Written back, the same text form: one form per field both ways.
    profil::TProfil znovu;
    ASSERT_TRUE(vk::formy::TextNaProfil(vk::formy::ProfilNaText(p), znovu, chyba)) << chyba;
    EXPECT_EQ(vk::formy::ProfilNaText(znovu), vk::formy::ProfilNaText(p));
}

// Catches: an area or field missing from the file taken as a default, an
// unknown key or a wrong kind taken silently, an IP text and its version
// list that disagree.
TEST(SouborProfilu, Odmitnuti)
{
    const std::pair<std::string, std::string> zmeny[] = {
        {"\"mbtcp.cfg\": {\"UnitID\":3,\"Timeout\":9},\n", "line 1: mbtcp.cfg missing"},
        {"\"UnitID\":3,", "line 6: mbtcp.cfg: field UnitID missing"},
        {"\"Timeout\":9}", "line 6: mbtcp.cfg: unknown field \"Timeout2\""},
        {"\"IP4_DHCP\":0", "line 5: lan4.cfg: IP4_DHCP=\"2\": out of range"},
        {"\"VerzeIP\":[0,1,", "line 10: sprava.cfg: IP[1]=\"::1\" does not match VerzeIP[1]"},
        {"\"Format\": \"vk7316r-profil\"", "line 2: Format: not a module profile"},
    };
    const std::string nahrady[] = {
        "", "", "\"Timeout\":9,\"Timeout2\":1}", "\"IP4_DHCP\":2", "\"VerzeIP\":[0,0,", "\"Format\": \"jiny\"",
    };
    for (std::size_t i = 0; i < std::size(zmeny); ++i) {
        std::string text = Profil;
        const auto kde = text.find(zmeny[i].first);
        ASSERT_NE(kde, std::string::npos) << zmeny[i].first;
        text.replace(kde, zmeny[i].first.size(), nahrady[i]);
        vk::procedures::profil::TProfil p;
        std::string chyba;
        EXPECT_FALSE(vk::formy::TextNaProfil(text, p, chyba)) << text;
        EXPECT_EQ(chyba.rfind(zmeny[i].second, 0), 0u) << chyba << " | " << zmeny[i].second;
    }
}

}  // namespace
