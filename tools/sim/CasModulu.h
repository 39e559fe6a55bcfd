#pragma once
// The module's clock (CasModulu = module time): local time as the module's
// real-time clock keeps it, and its 8-byte (TRTC) and 9-byte (rtc.bin) forms.
#include <cstdint>

#include "Bajty.h"

namespace vk::sim {

// Local date and time in the module's fields.
struct TCasModulu {
    std::uint16_t MSek = 0;  // milliseconds
    std::uint8_t Sek = 0;    // seconds
    std::uint8_t Min = 0;    // minutes
    std::uint8_t Hod = 0;    // hours
    std::uint8_t Den = 1;    // day of month
    std::uint8_t Mes = 1;    // month
    std::uint8_t Rok = 0;    // year - 2000
    std::uint8_t DDen = 6;   // day of week, 0 = Sunday (1.1.2000 was a Saturday)
};

std::int64_t TedMs();  // the computer's wall clock in ms since the epoch (Ted = now)

// Local time of an epoch moment in ms; years outside 2000..2255 are clamped.
TCasModulu CasZMs(std::int64_t ms);
// The epoch moment of local fields; false when the fields are no valid date
// and time (the day of week is not checked, it follows from the date).
bool MsZCasu(const TCasModulu& cas, std::int64_t& ms);

// The 8 bytes of a TRTC at `offset`: ms (2 bytes), s, min, h, day, month, year - 2000.
void ZapisTRTC(TBajty& b, std::size_t offset, const TCasModulu& cas);
TBajty RtcBin(const TCasModulu& cas);   // the 9 bytes of rtc.bin (the TRTC and the day of week)
TCasModulu CtiRtcBin(const TBajty& b);  // fields of the first 9 bytes (missing ones 0)

}  // namespace vk::sim
