// The baud-rate and parity code tables, the CRC and the COM-number rule.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "Crc16.h"
#include "HexBajty.h"
#include "M_ModbusRTU.h"

using namespace vk::link;
using namespace vk::test;

TEST(RtuTabulky, BaudRateAndGapByCode)
{
    struct Radek {
        std::int32_t kod;
        std::uint32_t baud;
        std::int32_t mezera;
    };
    // The gaps go with the code, not the rate: code 9 runs at 9600 Bd like
    // code 4 but ends replies after 4 ms, not 10.
    const Radek tabulka[] = {{0, 600, 4},     {1, 1200, 4},    {2, 2400, 19},  {3, 4800, 13},
                             {4, 9600, 10},   {5, 19200, 7},   {6, 38400, 4},  {7, 57600, 4},
                             {8, 115200, 4},  {9, 9600, 4},    {-1, 9600, 4},  {1000, 9600, 4}};
    for (const auto& r : tabulka) {
        EXPECT_EQ(RychlostBaud(r.kod), r.baud) << "code " << r.kod;
        EXPECT_EQ(MezeraMs(r.kod), r.mezera) << "code " << r.kod;
    }
}

TEST(RtuTabulky, ParityByCode)
{
    EXPECT_EQ(ParitaKodu(0), TParita::Zadna);
    EXPECT_EQ(ParitaKodu(1), TParita::Suda);
    EXPECT_EQ(ParitaKodu(2), TParita::Licha);
    EXPECT_EQ(ParitaKodu(3), TParita::Zadna);
    EXPECT_EQ(ParitaKodu(-1), TParita::Zadna);
}

// Frames with the CRC they go on the line with. Both the product's CRC and
// the helper the link and device tests frame their bytes with (SCrc) must
// give it.
class RtuCrc : public ::testing::TestWithParam<const char*> {};

TEST_P(RtuCrc, ProductAndTestFramesAgreeWithTheLiteral)
{
    const Bajty ramec = Hex(GetParam());
    const Bajty bezCrc(ramec.begin(), ramec.end() - 2);
    const std::uint16_t crc = Crc16Modbus(bezCrc.data(), bezCrc.size());
    EXPECT_EQ(crc & 0xFF, ramec[ramec.size() - 2]);
    EXPECT_EQ(crc >> 8, ramec[ramec.size() - 1]);
    EXPECT_EQ(SCrc(bezCrc), ramec);
}

INSTANTIATE_TEST_SUITE_P(Ramce, RtuCrc,
                         ::testing::Values("01 43 FE 00 00 00 1F 6D 2F",  // 31 bytes of file 0 from address 1
                                           "F7 43 FE 02 00 01 98 BB 6A",  // sys.bin block 1 from address 247
                                           "F7 44 00 F3 32",              // a write taken
                                           "31 32 33 34 35 36 37 38 39 37 4B"));  // "123456789": 4B37

TEST(RtuTabulky, ComNumberToDevice)
{
    EXPECT_EQ(ZarizeniCOM(3, "/dev/ttyACM0"), "/dev/ttyACM0");
    const bool usb = std::filesystem::exists("/dev/ttyUSB199");
    EXPECT_EQ(ZarizeniCOM(200), usb ? "/dev/ttyUSB199" : "/dev/ttyS199");
    EXPECT_EQ(ZarizeniCOM(0), "");
}
