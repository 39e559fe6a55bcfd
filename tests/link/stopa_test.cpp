// The traffic trace's decodings, line by line, and its sink shared by threads.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "HexBajty.h"
#include "Stopa.h"

using namespace vk::link;

namespace {

struct TPripad {
    const char* Hex;
    bool Odeslano;
    const char* Popis;
};

// Each frame has its own value in every field, so a field read from the
// wrong offset, a block number taken low byte first, or a CRC checked over
// the wrong span changes the text.
const TPripad RamceRTU[] = {
    {"f7 43 fe 03 01 02 f0 00 00", true, "address 247, function 0x43, file 3, block 258, length 240, CRC bad"},
    {"f7 44 fe 05 00 07 02 aa bb 00 00", true, "address 247, function 0x44, file 5, block 7, length 2, CRC bad"},
    {"f7 43 00 11 22 33 00 00", false, "address 247, function 0x43, data 3 bytes, CRC bad"},
    {"f7 44 03 00 00", false, "address 247, function 0x44, result 3, CRC bad"},
    {"f7 c3 02 00 00", false, "address 247, function 0xc3, exception code 2, CRC bad"},
    {"f7 45 00 08 f7 c8 00 00 00 00 00 00 f6 6b", true, "address 247, function 0x45, embedded 8 bytes, CRC ok"},
    {"f7 45", false, "short frame, 2 bytes"},
};

// A request decoded as a reply, or a reply's data count off by the header.
TEST(Stopa, PopisRamceRTU)
{
    for (const TPripad& p : RamceRTU) {
        const auto b = vk::test::Hex(p.Hex);
        EXPECT_EQ(PopisRamceRTU(b.data(), b.size(), p.Odeslano), p.Popis) << p.Hex;
    }
}

// A request's mode or options lost, an ERROR text cut at the wrong byte, a
// string without its zero read past the datagram, an opcode mistaken.
TEST(Stopa, PopisDatagramuTFTP)
{
    const std::pair<const char*, const char*> pripady[] = {
        {"00 02 61 2e 63 00 6f 63 74 65 74 00 62 6c 6b 73 69 7a 65 00 31 35 30 30 00 74 73 69 7a 65 00 37 00",
         "WRQ file \"a.c\", mode octet, options blksize=1500 tsize=7"},
        {"00 01 61 00 6f", "RRQ file \"a\", mode o (unterminated)"},
        {"00 03 01 02 aa bb cc", "DATA block 258, 3 bytes"},
        {"00 04 ff ff", "ACK block 65535"},
        {"00 05 00 03 66 75 6c 6c 0a 00", "ERROR code 3, \"full\\x0a\""},
        {"00 05 00 01 6e", "ERROR code 1, \"n\" (unterminated)"},
        {"00 06 62 6c 6b 73 69 7a 65 00 35 31 32 00", "OACK blksize=512"},
        {"00 09", "unknown opcode 9"},
        {"00", "short datagram, 1 bytes"},
    };
    for (const auto& [hex, popis] : pripady) {
        const auto b = vk::test::Hex(hex);
        EXPECT_EQ(PopisDatagramuTFTP(b.data(), b.size()), popis) << hex;
    }
}

// Two threads tracing at once: a line written in two pieces, or without the
// lock, would mix their bytes within a line.
TEST(Stopa, RadkyZeDvouVlakenSeNeprekryvaji)
{
    const auto cesta = std::filesystem::temp_directory_path() / ("vk-stopa-" + std::to_string(::getpid()));
    std::string chyba;
    ASSERT_TRUE(OtevriStopu(cesta.string(), chyba)) << chyba;
    const std::vector<std::uint8_t> a(200, 0xaa), b(200, 0xbb);
    constexpr int Radku = 500;
    std::thread prvni([&a] {
        for (int i = 0; i < Radku; ++i)
            StopujData(TLinkaStopy::RTU, true, a.data(), a.size());
    });
    for (int i = 0; i < Radku; ++i)
        StopujData(TLinkaStopy::TFTP, false, b.data(), b.size());
    prvni.join();
    ZavriStopu();
    EXPECT_FALSE(StopaOtevrena());

    std::ifstream f(cesta);
    std::string radek;
    int pocet = 0;
    while (std::getline(f, radek)) {
        ++pocet;
        const bool rtu = radek.find(" sent RTU aa ") != std::string::npos;
        const bool tftp = radek.find(" received TFTP bb ") != std::string::npos;
        ASSERT_TRUE(rtu != tftp) << radek;
        EXPECT_EQ(radek.find(rtu ? "bb" : "aa"), std::string::npos) << radek;
    }
    EXPECT_EQ(pocet, 2 * Radku);
    std::filesystem::remove(cesta);
}

// Opened over a longer trace of an earlier run, with an event noted: the
// event and the frame before it must be in the file at once, before the
// close, and nothing of the earlier trace may be left after them (nor the
// new lines emptied away by a late emptying of the file).
TEST(Stopa, UdalostJeVSouboruHnedANicZPredchoziStopyNezbude)
{
    const auto cesta = std::filesystem::temp_directory_path() / ("vk-stopa-u-" + std::to_string(::getpid()));
    std::string chyba;
    const auto ack = vk::test::Hex("00 04 00 07");
    ASSERT_TRUE(OtevriStopu(cesta.string(), chyba)) << chyba;
    for (int i = 0; i < 300; ++i)
        StopujData(TLinkaStopy::TFTP, true, ack.data(), ack.size());
    ZavriStopu();
    ASSERT_GT(std::filesystem::file_size(cesta), 300u * 20);

    ASSERT_TRUE(OtevriStopu(cesta.string(), chyba)) << chyba;
    StopujData(TLinkaStopy::TFTP, true, ack.data(), ack.size());
    StopujUdalost(TLinkaStopy::TFTP, "retransmission 1 of 3");
    std::ifstream f(cesta);
    std::vector<std::string> radky;
    for (std::string r; std::getline(f, r);)
        radky.push_back(r.substr(r.find(' ')));
    ZavriStopu();
    const std::vector<std::string> ocekavane = {" sent TFTP 00 04 00 07 | ACK block 7",
                                                " event TFTP - | retransmission 1 of 3"};
    EXPECT_EQ(radky, ocekavane);
    std::filesystem::remove(cesta);
}

}  // namespace
