#pragma once
// What the Modbus RTU exchange needs from below (Kanal = channel): write a
// frame, wait briefly for it to leave the port, wait briefly for bytes, take
// the bytes that have arrived, read a steady clock. The program runs the link over the serial port in
// TMBRTU_ID::HNDL; the tests and the fuzz target run the same exchange over
// scripted bytes and a clock of their own, so the reply wait is exercised
// without real time passing.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

#include "Cas.h"
#include "M_ModbusRTU.h"
#include "Ukonceni.h"

namespace vk::link {

class TKanalRTU {
public:
    virtual ~TKanalRTU() = default;
    virtual bool isOpen() const = 0;
    virtual void write(const std::uint8_t* data, std::size_t pocet) = 0;
    // Returns when everything written has left the port's output queue or
    // after `cas` at the latest; true when it has left.
    virtual bool waitDrained(std::chrono::microseconds cas) = 0;
    // Returns when a byte can be read or after `cas` at the latest.
    virtual bool waitReadable(std::chrono::microseconds cas) = 0;
    // True when waitReadable also returns as soon as the calling thread's
    // descriptor for a request to end (PopisovacUkonceni) is readable: the
    // reply wait then need not be cut into short slices to see the request.
    virtual bool sledujeUkonceni() const { return false; }
    virtual std::size_t readAvailable(std::uint8_t* buf, std::size_t kapacita) = 0;
    virtual Okamzik now() const = 0;
    // Why the port can carry no more exchanges (selhani portu = port
    // failure): it hung up, or a read or write failed; empty while it works.
    // Once set it stays, and a wait for bytes returns at once.
    virtual std::string selhaniPortu() const { return {}; }
};

// The operations of M_ModbusRTU.h over any channel; those run them over the
// port held in the link record.
TVysledekTransakce Transakce(TMBRTU& link, TKanalRTU& kanal, const std::uint8_t* pozadavek, std::size_t delka,
                             std::uint16_t& delkaOdpovedi, std::uint8_t* odpoved);
TVysledekBloku PrectiBlok(TMBRTU& link, TKanalRTU& kanal, std::uint8_t kodSouboru, std::uint16_t blok,
                          std::uint8_t delka, std::uint8_t* cil);
TVysledekBloku ZapisBlok(TMBRTU& link, TKanalRTU& kanal, std::uint8_t kodSouboru, std::uint16_t blok,
                         std::uint8_t delka, const std::uint8_t* data);
TVysledekZpravy PreposliZpravu(TMBRTU* link, TKanalRTU& kanal, TMBRTU_Zprava& zprava);
std::int32_t NahrajSoubor(TMBRTU& link, TKanalRTU& kanal, const std::string& soubor, std::uint8_t kodSouboru,
                          const TPrubeh& prubeh = {});
std::int32_t NahrajZPameti(TMBRTU& link, TKanalRTU& kanal, std::uint8_t kodSouboru, const std::uint8_t* data,
                           std::size_t pocet, const TPrubeh& prubeh = {});

}  // namespace vk::link
