// The baud-rate and parity code tables, the CRC and the COM-number rule.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "Crc16.h"
#include "M_ModbusRTU.h"

using namespace vk::link;

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

TEST(RtuTabulky, CrcCheckValueAndExampleFrame)
{
    const std::string check = "123456789";
    EXPECT_EQ(Crc16Modbus(reinterpret_cast<const std::uint8_t*>(check.data()), check.size()), 0x4B37);
    const std::uint8_t ramec[] = {0x01, 0x43, 0xFE, 0x00, 0x00, 0x00, 0x1F};
    EXPECT_EQ(Crc16Modbus(ramec, sizeof ramec), 0x2F6D);  // sent as 6D 2F
}

TEST(RtuTabulky, ComNumberToDevice)
{
    EXPECT_EQ(ZarizeniCOM(3, "/dev/ttyACM0"), "/dev/ttyACM0");
    const bool usb = std::filesystem::exists("/dev/ttyUSB199");
    EXPECT_EQ(ZarizeniCOM(200), usb ? "/dev/ttyUSB199" : "/dev/ttyS199");
    EXPECT_EQ(ZarizeniCOM(0), "");
}
