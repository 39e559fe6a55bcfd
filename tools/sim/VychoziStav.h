#pragma once
// The device files of a module fresh from the factory (VychoziStav = default
// state): its identity, the default settings, the running firmware's header
// and an event log with a few dozen records.
#include <cstdint>
#include <string>

#include "Bajty.h"

namespace vk::sim {

inline constexpr const char* TypModulu = "VK-7316R";     // module type
inline constexpr const char* VerzeModulu = "1.00";       // firmware version (4 characters)
inline constexpr const char* VyrobniCislo = "23110042";  // serial number (8 characters)

// info.txt: type, a blank, "v." and the version, then " (sn." serial ")"; it
// splits into the three parts by the identity rule (type up to the first
// blank, 4 characters after the next ".", the serial after the next "." up
// to ")").
TBajty VychoziInfoTxt();

TBajty VychoziLan4Cfg();   // 192.168.0.99/255.255.255.0/192.168.0.200, fixed
TBajty VychoziMbtcpCfg();  // unit 255, 5 s
TBajty VychoziUartsCfg(std::uint8_t adresa,
                       std::uint8_t kodBaud);  // the service line the simulator answers on, even parity
TBajty VychoziUartmCfg();                      // 9600 Bd, even, 330 ms, no retries
TBajty VychoziSpravaCfg();                     // open to all, empty table
TBajty VychoziLogCfg();                        // logging off, no events

// The 64-byte header of the firmware the module runs (fw.akt).
TBajty VychoziFwAkt();

// An event log (log.bin) of a few dozen records of every event code 1 to 14
// and one unknown code, time-stamped over the days before `konecMs` (epoch ms).
TBajty VychoziLogBin(std::int64_t konecMs);

// Layout of the event log files.
inline constexpr std::size_t DelkaHlavickyLog = 64;  // header length
inline constexpr std::size_t DelkaZaznamuLog = 64;   // record length
inline constexpr std::uint32_t KapacitaLog = 400;    // capacity in records
inline constexpr std::size_t ZaznamuLog100 = 100;    // records in log100.bin

// A log header: "LG" 0x02, record length at 4, count at 8, next write index
// at 12, number of clearings at 16, capacity at 28.
TBajty HlavickaLog(std::uint32_t pocet, std::uint32_t vymazani);
// logh.bin (the header alone) and log100.bin (the header and the latest 100
// records) of a log.bin.
TBajty LoghZLogBin(const TBajty& logBin);
TBajty Log100ZLogBin(const TBajty& logBin);

}  // namespace vk::sim
