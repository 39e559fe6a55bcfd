#pragma once
// The running module (BehModulu = the module's run): uptime, its clock, the
// master line's counters and load history, the temperatures and the supply,
// and the live files built from them at each read (rtc.bin, sys.bin,
// mmrd.bin, mmrgv.bin). Not locked by itself: TStavModulu holds its lock.
#include <cstdint>
#include <string>

#include "Bajty.h"
#include "Cas.h"
#include "CasModulu.h"

namespace vk::sim {

// What sys.bin shows besides the running values (Popis = description).
struct TPopisModulu {
    std::string TypFW;     // firmware type text
    std::string VyrCislo;  // serial number
    TBajty FwAkt;          // header of the running firmware (64 bytes)
};

class TBehModulu {
public:
    static constexpr std::size_t DelkaKruhu = 180;  // entries in the line load ring (Kruh = ring)

    // The module as the simulator finds it: on for a few hours already, with
    // a full load history. `lan4` is the lan4.cfg it started with.
    void Zapni(const TBajty& lan4);  // switch on
    // A restart: uptime, counters and load history start again, the clock
    // keeps running, the settings in `lan4` become the active ones.
    void Restartuj(const TBajty& lan4);

    TBajty RtcBin();
    // Sets the clock from written rtc.bin bytes; false when they hold no
    // valid date and time.
    bool NastavRtc(const TBajty& rtc);
    TBajty SysBin(const TPopisModulu& popis);
    TBajty MmrdBin();
    TBajty MmrgvBin();
    void VymazDiagnostiku();  // clear the line counters

    std::uint64_t UptimeMs() const;

private:
    void Posun();  // brings the load ring up to the current second (Posun = advance)
    TCasModulu CasModuluMs(std::int64_t ms) const { return CasZMs(ms + posunRtcMs_); }

    vk::link::Okamzik start_{};
    std::uint64_t uptimePredemMs_ = 0;   // uptime the module had when the simulator found it
    std::int64_t posunRtcMs_ = 0;        // module clock minus the computer's clock (Posun = shift)
    TCasModulu casZapnuti_{};            // switched on at (Zapnuti)
    TCasModulu casVypnuti_{};            // last switched off at (Vypnuti)
    std::uint32_t citacTeplyStart_ = 0;  // warm starts
    std::uint8_t lan4_[13] = {};         // active address, mask, gateway, DHCP flag
    std::uint64_t vymazanoMs_ = 0;       // uptime at the last clearing of the counters
    std::uint8_t kruh_[DelkaKruhu] = {};
    std::uint32_t pocetDat_ = 0;         // values in the ring
    std::uint32_t indexZapisu_ = 0;      // next write position
    std::uint64_t posledniSekunda_ = 0;  // uptime second of the last ring entry
    float teplotaUpMin_ = 0, teplotaUpMax_ = 0, teplotaDpsMin_ = 0, teplotaDpsMax_ = 0;
    float napetiMin_ = 0, napetiMax_ = 0;
};

}  // namespace vk::sim
