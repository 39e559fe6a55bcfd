// The UDP port: host text forms, loopback round trips on both families,
// the bounded receive and the length of a datagram cut to the buffer.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "Cas.h"
#include "UdpSocket.h"

using namespace vk::link;

namespace {

struct THostPortPripad {
    const char* text;
    bool platny;
    const char* host;
    std::uint16_t port;
};

class TftpUdpRozlozHostPort : public ::testing::TestWithParam<THostPortPripad> {};

TEST_P(TftpUdpRozlozHostPort, SplitsHostAndPort)
{
    const auto& p = GetParam();
    std::string host;
    std::uint16_t port = 0;
    ASSERT_EQ(RozlozHostPort(p.text, 69, host, port), p.platny) << p.text;
    if (p.platny) {
        EXPECT_EQ(host, p.host);
        EXPECT_EQ(port, p.port);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texty, TftpUdpRozlozHostPort,
    ::testing::Values(THostPortPripad{"192.168.1.10", true, "192.168.1.10", 69},
                      THostPortPripad{"127.0.0.1:6969", true, "127.0.0.1", 6969},
                      THostPortPripad{"modul.local:1", true, "modul.local", 1}, THostPortPripad{"::1", true, "::1", 69},
                      THostPortPripad{"FE80:0000:0000:0000:0000:0000:0000:0001", true,
                                      "FE80:0000:0000:0000:0000:0000:0000:0001", 69},
                      THostPortPripad{"[::1]", true, "::1", 69}, THostPortPripad{"[::1]:65535", true, "::1", 65535},
                      THostPortPripad{"", false, "", 0}, THostPortPripad{"[]:69", false, "", 0},
                      THostPortPripad{"[::1", false, "", 0}, THostPortPripad{"[::1]69", false, "", 0},
                      THostPortPripad{"[::1]:", false, "", 0}, THostPortPripad{"host:", false, "", 0},
                      THostPortPripad{":69", false, "", 0}, THostPortPripad{"host:0", false, "", 0},
                      THostPortPripad{"host:65536", false, "", 0}, THostPortPripad{"host:+69", false, "", 0},
                      THostPortPripad{"host:69x", false, "", 0}, THostPortPripad{"host:000069", false, "", 0}));

TEST(TftpUdpNajdiAdresu, ResolvesBothFamiliesAndRefusesNonsense)
{
    TAdresaUdp a;
    std::string chyba;
    ASSERT_TRUE(NajdiAdresu("127.0.0.1:1234", 69, false, a, chyba)) << chyba;
    EXPECT_EQ(a.Text(), "127.0.0.1:1234");
    ASSERT_TRUE(NajdiAdresu("[::1]", 69, true, a, chyba)) << chyba;
    EXPECT_EQ(a.Text(), "[::1]:69");
    EXPECT_FALSE(NajdiAdresu("host:99999", 69, false, a, chyba));
    EXPECT_FALSE(chyba.empty());
    chyba.clear();
    EXPECT_FALSE(NajdiAdresu("999.1.1.1", 69, false, a, chyba));
    EXPECT_FALSE(chyba.empty());
}

class TftpUdpSmycka : public ::testing::TestWithParam<const char*> {};

TEST_P(TftpUdpSmycka, RoundTripTimeoutAndCutDatagram)
{
    std::string chyba;
    TAdresaUdp mistni;
    ASSERT_TRUE(NajdiAdresu(GetParam(), 0, true, mistni, chyba)) << chyba;
    UdpSocket server;
    ASSERT_TRUE(server.OtevriNa(mistni, chyba)) << chyba;
    const TAdresaUdp adresaServeru = server.MistniAdresa();
    ASSERT_NE(adresaServeru.Port(), 0);

    UdpSocket klient;
    ASSERT_TRUE(klient.Otevri(adresaServeru, chyba)) << chyba;
    std::vector<std::uint8_t> data(3000);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<std::uint8_t>(i * 7);
    ASSERT_TRUE(klient.Posli(adresaServeru, data.data(), data.size()));

    std::uint8_t buf[100];
    TAdresaUdp od;
    std::size_t celkem = 0;
    ASSERT_EQ(server.Prijmi(buf, sizeof buf, 2000, od, &celkem), 100);
    EXPECT_EQ(celkem, data.size());
    EXPECT_EQ(std::vector<std::uint8_t>(buf, buf + 100), std::vector<std::uint8_t>(data.begin(), data.begin() + 100));
    EXPECT_EQ(od.Port(), klient.MistniAdresa().Port());

    ASSERT_TRUE(server.Posli(od, data.data(), 0));
    TAdresaUdp odServeru;
    EXPECT_EQ(klient.Prijmi(buf, sizeof buf, 2000, odServeru, &celkem), 0);
    EXPECT_EQ(celkem, 0u);
    EXPECT_EQ(odServeru, adresaServeru);

    const Okamzik zacatek = Ted();
    EXPECT_EQ(klient.Prijmi(buf, sizeof buf, 120, odServeru), -1);
    const auto uplynulo = UplynuloMs(zacatek);
    EXPECT_GE(uplynulo, 115);
    EXPECT_LT(uplynulo, 1000);

    klient.Zavri();
    EXPECT_FALSE(klient.JeOtevren());
    EXPECT_EQ(klient.Prijmi(buf, sizeof buf, 10, odServeru), -2);
    EXPECT_FALSE(klient.Posli(adresaServeru, data.data(), 1));
}

INSTANTIATE_TEST_SUITE_P(Smycky, TftpUdpSmycka, ::testing::Values("127.0.0.1", "::1"),
                         [](const auto& info) { return std::string(info.param) == "::1" ? "ipv6" : "ipv4"; });

TEST(TftpUdpSocket, MoveKeepsTheDescriptor)
{
    std::string chyba;
    TAdresaUdp mistni;
    ASSERT_TRUE(NajdiAdresu("127.0.0.1", 0, false, mistni, chyba));
    UdpSocket a;
    ASSERT_TRUE(a.OtevriNa(mistni, chyba));
    const int fd = a.Deskriptor();
    UdpSocket b(std::move(a));
    EXPECT_EQ(b.Deskriptor(), fd);
    EXPECT_FALSE(a.JeOtevren());
    UdpSocket c;
    c = std::move(b);
    EXPECT_EQ(c.Deskriptor(), fd);
    EXPECT_FALSE(b.JeOtevren());
}

}  // namespace
