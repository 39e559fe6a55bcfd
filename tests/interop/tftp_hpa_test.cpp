// The TFTP client against Debian's tftpd-hpa on loopback, over IPv4 and
// IPv6, with the server granting 1500, 1468 or 512 bytes per block: every
// file size around the block boundaries and a 2 MiB file, read and written,
// compared byte for byte.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "M_TFTP.h"
#include "UdpSocket.h"
#include "support/TftpHpaServer.h"

using namespace vk::link;
using vk::test::TftpHpaServer;

namespace {

using TBajty = std::vector<std::uint8_t>;

TBajty Obsah(std::size_t pocet, std::uint32_t semeno)
{
    TBajty b(pocet);
    std::uint32_t x = semeno * 2654435761u + 1;
    for (auto& bajt : b) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        bajt = static_cast<std::uint8_t>(x);
    }
    return b;
}

TBajty NactiSoubor(const std::filesystem::path& cesta)
{
    std::ifstream f(cesta, std::ios::binary);
    return TBajty(std::istreambuf_iterator<char>(f), {});
}

void UlozSoubor(const std::filesystem::path& cesta, const TBajty& obsah)
{
    std::ofstream(cesta, std::ios::binary)
        .write(reinterpret_cast<const char*>(obsah.data()), static_cast<std::streamsize>(obsah.size()));
}

bool Ipv6Loopback()
{
    TAdresaUdp a;
    UdpSocket s;
    std::string chyba;
    return NajdiAdresu("::1", 0, true, a, chyba) && s.OtevriNa(a, chyba);
}

// (host, largest block the server grants)
using TServer = std::tuple<const char*, int>;

// Starts a server for each test and stops it at the end, whatever happened.
class TftpHpaZaklad {
protected:
    void Spust(const TServer& server)
    {
        if (!TftpHpaServer::JeRoot())
            GTEST_SKIP() << "tftpd-hpa 5.2 runs only when started as root (it must drop to user nobody); "
                            "run the interop tests as root, as CI does";
        ASSERT_TRUE(TftpHpaServer::JeNainstalovan()) << TftpHpaServer::Program << " missing: install tftpd-hpa";
        host = std::get<0>(server);
        blok = std::get<1>(server);
        if (host == "::1" && !Ipv6Loopback())
            GTEST_SKIP() << "no IPv6 loopback on this machine";
        std::string chyba;
        ASSERT_TRUE(hpa.Spust(host, blok, chyba)) << chyba;
        InicializujTFTP(tftp, hpa.Adresa(), host == "::1" ? 1 : 0, 2000, 3);
        mistni = hpa.Slozka().parent_path() / "local.bin";
    }

    void Zastav()
    {
        hpa.Zastav();
        EXPECT_FALSE(hpa.Bezi());
    }

    void OcekavejOk()
    {
        EXPECT_EQ(tftp.ED.Status, 0) << tftp.ED.StatusText;
        EXPECT_EQ(tftp.ED.StatusText, "OK");
    }

    TftpHpaServer hpa;
    TTFTP tftp;
    std::string host;
    int blok = 0;
    std::filesystem::path mistni;  // a local file outside the served folder
};

class TftpHpa : public TftpHpaZaklad, public ::testing::TestWithParam<std::tuple<TServer, std::size_t>> {
protected:
    void SetUp() override { Spust(std::get<0>(GetParam())); }
    void TearDown() override { Zastav(); }
};

class TftpHpaPamet : public TftpHpa {};

class TftpHpaOdmitnuti : public TftpHpaZaklad, public ::testing::TestWithParam<TServer> {
protected:
    void SetUp() override { Spust(GetParam()); }
    void TearDown() override { Zastav(); }
};

TEST_P(TftpHpa, FileReadAndWriteAreByteExactAndUseTheGrantedBlockSize)
{
    const std::size_t velikost = std::get<1>(GetParam());
    const TBajty obsah = Obsah(velikost, static_cast<std::uint32_t>(velikost + blok));
    hpa.Uloz("cti.bin", obsah);

    std::vector<std::uint64_t> bloky;
    std::uint64_t celkem = 0;
    std::uint64_t predchozi = 0;
    ASSERT_TRUE(PrectiDoSouboru(tftp, mistni.string(), "cti.bin", [&](std::uint64_t hotovo, std::uint64_t c) {
        bloky.push_back(hotovo - predchozi);
        predchozi = hotovo;
        celkem = c;
    })) << tftp.ED.StatusText;
    OcekavejOk();
    EXPECT_EQ(NactiSoubor(mistni), obsah);
    // One progress call per DATA block: full blocks of the granted size, and
    // the size the server announced in its tsize.
    const std::uint64_t ocekavanyBlok = std::min<std::uint64_t>(static_cast<std::uint64_t>(blok), 1500);
    ASSERT_EQ(bloky.size(), velikost / ocekavanyBlok + 1);
    EXPECT_EQ(bloky.front(), std::min<std::uint64_t>(velikost, ocekavanyBlok));
    EXPECT_EQ(celkem, velikost);

    const TBajty jiny = Obsah(velikost, static_cast<std::uint32_t>(velikost * 3 + 7));
    UlozSoubor(mistni, jiny);
    ASSERT_TRUE(ZapisZeSouboru(tftp, mistni.string(), "zapis.bin")) << tftp.ED.StatusText;
    OcekavejOk();
    EXPECT_EQ(hpa.Nacti("zapis.bin"), jiny);
}

TEST_P(TftpHpaPamet, MemoryReadAndWriteAreByteExact)
{
    const std::size_t velikost = std::get<1>(GetParam());
    const TBajty obsah = Obsah(velikost, static_cast<std::uint32_t>(velikost + 11));
    hpa.Uloz("pamet.bin", obsah);
    TBajty cil(VelikostPametiTFTP, 0xEE);
    std::uint32_t pocet = 12345;
    ASSERT_TRUE(PrectiDoPameti(tftp, "pamet.bin", cil.data(), pocet)) << tftp.ED.StatusText;
    OcekavejOk();
    cil.resize(pocet);
    EXPECT_EQ(cil, obsah);

    const TBajty jiny = Obsah(velikost, static_cast<std::uint32_t>(velikost + 12));
    ASSERT_TRUE(ZapisZPameti(tftp, "pamet-z.bin", jiny.data(), static_cast<std::uint32_t>(jiny.size())));
    OcekavejOk();
    EXPECT_EQ(hpa.Nacti("pamet-z.bin"), jiny);
}

TEST_P(TftpHpaOdmitnuti, ServerRefusalsFailTheTransfer)
{
    TBajty cil(VelikostPametiTFTP);
    std::uint32_t pocet = 1;
    EXPECT_FALSE(PrectiDoPameti(tftp, "absent.bin", cil.data(), pocet));
    EXPECT_EQ(tftp.ED.Status, 2);
    EXPECT_EQ(tftp.ED.StatusText, "Chyba spojení");
    EXPECT_EQ(pocet, 0u);
    // tftpd-hpa serves only files everybody may read.
    hpa.Uloz("tajny.bin", Obsah(10, 1));
    std::filesystem::permissions(hpa.Slozka() / "tajny.bin", std::filesystem::perms::owner_read);
    EXPECT_FALSE(PrectiDoSouboru(tftp, mistni.string(), "tajny.bin"));
    EXPECT_EQ(tftp.ED.Status, 1);
    EXPECT_EQ(tftp.ED.StatusText, "Chyba spojení");
    // The client survives the failures and serves the next transfer.
    hpa.Uloz("dalsi.bin", Obsah(100, 2));
    EXPECT_TRUE(PrectiDoPameti(tftp, "dalsi.bin", cil.data(), pocet));
    EXPECT_EQ(pocet, 100u);
}

const TServer Servery[] = {{"127.0.0.1", 1500}, {"::1", 1500},      {"127.0.0.1", 1468},
                           {"::1", 1468},       {"127.0.0.1", 512}, {"::1", 512}};
const std::size_t Velikosti[] = {0, 1, 511, 512, 1499, 1500, 1501, 2097152};
const std::size_t MaleVelikosti[] = {0, 1, 511, 512, 1499, 1500, 1501};

std::string NazevServeru(const TServer& server)
{
    const std::string host = std::get<0>(server) == std::string("::1") ? "ipv6" : "ipv4";
    return host + "_B" + std::to_string(std::get<1>(server));
}

std::string Nazev(const ::testing::TestParamInfo<TftpHpa::ParamType>& info)
{
    return NazevServeru(std::get<0>(info.param)) + "_" + std::to_string(std::get<1>(info.param));
}

std::string NazevOdmitnuti(const ::testing::TestParamInfo<TServer>& info)
{
    return NazevServeru(info.param);
}

INSTANTIATE_TEST_SUITE_P(Loopback, TftpHpa,
                         ::testing::Combine(::testing::ValuesIn(Servery), ::testing::ValuesIn(Velikosti)), Nazev);
INSTANTIATE_TEST_SUITE_P(Loopback, TftpHpaPamet,
                         ::testing::Combine(::testing::ValuesIn(Servery), ::testing::ValuesIn(MaleVelikosti)), Nazev);
INSTANTIATE_TEST_SUITE_P(Loopback, TftpHpaOdmitnuti, ::testing::ValuesIn(Servery), NazevOdmitnuti);

}  // namespace
