// The CRC and the COM-number rule. The baud-rate and parity codes are
// checked through what they do: the port settings (rtu_port_test) and the
// reply gap (rtu_odpoved_test).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "Crc16.h"
#include "HexBajty.h"
#include "M_ModbusRTU.h"

using namespace vk::link;
using namespace vk::test;

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
                         ::testing::Values("01 43 FE 00 00 00 1F 6D 2F",          // 31 bytes of file 0 from address 1
                                           "F7 43 FE 02 00 01 98 BB 6A",          // sys.bin block 1 from address 247
                                           "F7 44 00 F3 32",                      // a write taken
                                           "31 32 33 34 35 36 37 38 39 37 4B"));  // "123456789": 4B37

TEST(RtuTabulky, ComNumberToDevice)
{
    EXPECT_EQ(ZarizeniCOM(3, "/dev/ttyACM0"), "/dev/ttyACM0");
    const bool usb = std::filesystem::exists("/dev/ttyUSB199");
    EXPECT_EQ(ZarizeniCOM(200), usb ? "/dev/ttyUSB199" : "/dev/ttyS199");
    EXPECT_EQ(ZarizeniCOM(0), "");
}
