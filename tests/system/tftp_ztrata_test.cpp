// The TFTP client with retries against the simulated module that loses one
// datagram of a transfer (Ztrata = loss): the first, one in the middle or
// the last, one the module sends or one the client sends, in a read and in
// a write. The file arrives byte for byte, and no packet of the client
// crosses more than 1 + retries times. Without retries one loss fails the
// transfer as it always has.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <tuple>
#include <unistd.h>
#include <vector>

#include "Cas.h"
#include "M_TFTP.h"
#include "Simulator.h"

using vk::sim::TDatagramTftp;
using vk::sim::TPorucha;
using vk::sim::TZtrata;

namespace {

using TBajty = std::vector<std::uint8_t>;

constexpr std::int32_t TimeoutMs = 300;  // the client's wait (a write waits at least 500 ms)
constexpr std::int32_t Opakovani = 3;
constexpr std::size_t Blok = 1500;  // what the module grants the client
constexpr std::size_t Velikost = 11 * Blok + 184;
constexpr std::uint16_t PocetBloku = Velikost / Blok + 1;

enum : std::uint16_t { RRQ = 1, WRQ = 2, DATA = 3, ACK = 4, OACK = 6 };

TBajty Obsah()
{
    TBajty b(Velikost);
    std::uint32_t x = 2463534242u;
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

// (read, the loss: whose datagram and its place)
using TPripad = std::tuple<bool, TZtrata>;

// The datagram the loss must hit: its opcode and number.
std::pair<std::uint16_t, std::uint16_t> Ocekavany(bool cteni, const TZtrata& z)
{
    const std::uint16_t posledni = PocetBloku;
    if (z.OdKlienta) {
        // read: RRQ, ACK 0, ACK 1, ...; write: WRQ, DATA 1, DATA 2, ...
        if (z.Poradi == 1)
            return {cteni ? RRQ : WRQ, 0};
        const std::uint16_t cislo = z.Poradi == 0 ? posledni : static_cast<std::uint16_t>(z.Poradi - (cteni ? 2 : 1));
        return {cteni ? ACK : DATA, cislo};
    }
    // read: OACK, DATA 1, DATA 2, ...; write: OACK, ACK 1, ACK 2, ...
    if (z.Poradi == 1)
        return {OACK, 0};
    const std::uint16_t cislo = z.Poradi == 0 ? posledni : static_cast<std::uint16_t>(z.Poradi - 1);
    return {cteni ? DATA : ACK, cislo};
}

class TftpZtrata : public ::testing::Test {
protected:
    void SetUp() override
    {
        vk::sim::TNastaveniSimulatoru n;
        n.SpustitSerial = false;
        n.OpakovaniTftpMs = 200;
        std::string chyba;
        ASSERT_TRUE(sim.Spust(n, chyba)) << chyba;
        mistni = std::filesystem::temp_directory_path() / ("tftp_ztrata_" + std::to_string(getpid()) + ".bin");
    }

    void TearDown() override { std::filesystem::remove(mistni); }

    // One transfer of fw.hbn with the loss switched on for it; true when the
    // file arrived whole.
    bool Prenes(bool cteni, const TZtrata& ztrata, std::int32_t opakovani)
    {
        InicializujTFTP(tftp, sim.AdresaLan(), 0, TimeoutMs, opakovani);
        sim.NastavZtratu(ztrata);
        sim.NastavPoruchu(TPorucha::ZtracenyDatagram, true, 1);
        sim.VymazDatagramyTftp();
        if (cteni) {
            EXPECT_TRUE(sim.NastavSoubor("fw.hbn", obsah));
            return vk::link::PrectiDoSouboru(tftp, mistni.string(), "fw.hbn") && NactiSoubor(mistni) == obsah;
        }
        UlozSoubor(mistni, obsah);
        return vk::link::ZapisZeSouboru(tftp, mistni.string(), "fw.hbn") && sim.Soubor("fw.hbn") == obsah;
    }

    vk::sim::TSimulator sim;
    vk::link::TTFTP tftp;
    std::filesystem::path mistni;
    const TBajty obsah = Obsah();
};

class TftpZtrataJedna : public TftpZtrata, public ::testing::WithParamInterface<TPripad> {};

TEST_P(TftpZtrataJedna, TheFileArrivesWholeAndNoPacketOfTheClientCrossesMoreThan1PlusRetriesTimes)
{
    const auto [cteni, ztrata] = GetParam();
    ASSERT_TRUE(Prenes(cteni, ztrata, Opakovani)) << tftp.ED.StatusText;
    EXPECT_EQ(tftp.ED.Status, 0);
    EXPECT_EQ(tftp.ED.StatusText, "OK");

    // The client's last datagram may still be on its way to the record.
    vk::link::Cekej(50);
    const std::vector<TDatagramTftp> zaznam = sim.DatagramyTftp();
    std::map<std::tuple<bool, std::uint16_t, std::uint16_t>, int> kolikrat;  // how many times each crossed
    std::vector<TDatagramTftp> ztracene;
    for (const TDatagramTftp& d : zaznam) {
        ++kolikrat[{d.OdKlienta, d.Opcode, d.Cislo}];
        if (d.Ztracen)
            ztracene.push_back(d);
    }
    for (const auto& [paket, pocet] : kolikrat) {
        if (std::get<0>(paket)) {
            EXPECT_LE(pocet, 1 + Opakovani) << "opcode " << std::get<1>(paket) << " number " << std::get<2>(paket);
        }
    }
    // The loss hit the datagram aimed at, once.
    ASSERT_EQ(ztracene.size(), 1u);
    const auto [opcode, cislo] = Ocekavany(cteni, ztrata);
    EXPECT_EQ(ztracene[0].OdKlienta, ztrata.OdKlienta);
    EXPECT_EQ(ztracene[0].Opcode, opcode);
    EXPECT_EQ(ztracene[0].Cislo, cislo);
    // The lost packet crossed again, but for the client's last ACK of a
    // read: the client has the whole file then and waits for nothing.
    const bool posledniAck = cteni && ztrata.OdKlienta && ztrata.Poradi == 0;
    const int ztracenyKolikrat = kolikrat[{ztrata.OdKlienta, opcode, cislo}];
    EXPECT_EQ(ztracenyKolikrat >= 2, !posledniAck) << ztracenyKolikrat;
}

std::string NazevPripadu(const ::testing::TestParamInfo<TPripad>& info)
{
    const auto& [cteni, z] = info.param;
    const std::string misto = z.Poradi == 0 ? "Posledni" : z.Poradi == 1 ? "Prvni" : std::to_string(z.Poradi) + "ty";
    return std::string(cteni ? "Cteni" : "Zapis") + (z.OdKlienta ? "_Klient_" : "_Modul_") + misto;
}

INSTANTIATE_TEST_SUITE_P(Tabulka, TftpZtrataJedna,
                         ::testing::Combine(::testing::Bool(),
                                            ::testing::Values(TZtrata{false, 1}, TZtrata{false, 5}, TZtrata{false, 0},
                                                              TZtrata{true, 1}, TZtrata{true, 5}, TZtrata{true, 0})),
                         NazevPripadu);

// Without retries a datagram of the client's that is lost fails the
// transfer, with the status it has always had: only the client could send
// it again.
TEST_F(TftpZtrata, WithoutRetriesALossOfTheClientsFailsTheTransfer)
{
    for (const bool cteni : {true, false}) {
        SCOPED_TRACE(cteni ? "read" : "write");
        EXPECT_FALSE(Prenes(cteni, TZtrata{true, 5}, 0));
        EXPECT_EQ(tftp.ED.Status, 1);
        EXPECT_EQ(tftp.ED.StatusText, "Chyba spojení");
    }
}

// One the module loses it sends again after its own wait, as tftpd-hpa
// does; a wait shorter than the client's saves even a client without
// retries.
TEST_F(TftpZtrata, WithoutRetriesTheModulesOwnRetransmissionCoversItsLoss)
{
    for (const bool cteni : {true, false}) {
        SCOPED_TRACE(cteni ? "read" : "write");
        EXPECT_TRUE(Prenes(cteni, TZtrata{false, 5}, 0)) << tftp.ED.StatusText;
    }
}

}  // namespace
