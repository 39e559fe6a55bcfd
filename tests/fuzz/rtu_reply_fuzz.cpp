// "These bytes arrive on the port": the input is the module's answer to a
// read (0x43), a write (0x44) or a forward (0x45), cut into pieces that
// arrive with pauses on a virtual clock, so every way the reply wait can
// end is reached without real time passing. One bit of the input asks for
// its last two bytes to be replaced by the right CRC, so that well-formed
// replies are as common as broken ones. A second exchange then takes
// whatever the first one left in the port. Beyond not crashing, what each
// function hands back must agree with the bytes that arrived.
#include <algorithm>
#include <array>
#include <cstdlib>
#include <optional>
#include <vector>

#include "Crc16.h"
#include "RtuKanal.h"

using namespace vk::link;

namespace {

class TKanalZeVstupu final : public TKanalRTU {  // a channel fed by the fuzz input
public:
    TKanalZeVstupu(const std::uint8_t* data, std::size_t pocet, std::size_t kus, std::chrono::microseconds pauza)
        : data_(data), pocet_(pocet), kus_(kus), pauza_(pauza)
    {
    }

    bool isOpen() const override { return true; }
    void write(const std::uint8_t*, std::size_t pocet) override
    {
        if (pocet > MaxRamecRTU + 2)
            std::abort();  // a frame longer than the link allows went out
        if (!zapsano_)
            prvni_ = now_ + std::chrono::microseconds(500);
        zapsano_ = true;
    }
    bool waitDrained(std::chrono::microseconds) override { return true; }
    bool waitReadable(std::chrono::microseconds cas) override
    {
        if (cas > std::chrono::milliseconds(20) || cas.count() < 0)
            std::abort();  // the wait must stay in slices of at most 20 ms
        if (dostupne() > 0)
            return true;
        // Like poll: the wait ends with the next piece that arrives in it.
        const auto konec = now_ + cas;
        const std::optional<Okamzik::duration> dalsi = DalsiPrichod();
        if (dalsi && *dalsi <= konec) {
            now_ = std::chrono::ceil<std::chrono::microseconds>(*dalsi);
            return dostupne() > 0;
        }
        now_ = konec;
        return false;
    }
    std::size_t readAvailable(std::uint8_t* buf, std::size_t kapacita) override
    {
        const std::size_t n = std::min(kapacita, dostupne());
        std::copy_n(data_ + precteno_, n, buf);
        precteno_ += n;
        return n;
    }
    Okamzik now() const override { return Okamzik(std::chrono::hours(1)) + now_; }
    bool zbyva() const { return precteno_ < pocet_; }  // bytes still to come or to be taken

private:
    // Bytes that have arrived by now and are not yet taken.
    std::size_t dostupne() const
    {
        if (!zapsano_ || now_ < prvni_)
            return 0;
        const auto kusu = static_cast<std::size_t>(pauza_.count() == 0 ? pocet_ : (now_ - prvni_) / pauza_ + 1);
        const std::size_t prislo = kusu >= pocet_ ? pocet_ : std::min(pocet_, kusu * kus_);
        return prislo - precteno_;
    }

    // When the next piece not yet arrived arrives; none when all have.
    std::optional<Okamzik::duration> DalsiPrichod() const
    {
        if (!zapsano_)
            return std::nullopt;
        if (now_ < prvni_)
            return prvni_;
        if (pauza_.count() == 0)
            return std::nullopt;
        const auto kusu = static_cast<std::size_t>((now_ - prvni_) / pauza_ + 1);
        if (kusu * kus_ >= pocet_)
            return std::nullopt;
        return prvni_ + static_cast<std::int64_t>(kusu) * pauza_;
    }

    const std::uint8_t* data_;
    std::size_t pocet_, kus_;
    std::chrono::microseconds pauza_;
    std::chrono::microseconds now_{0};
    Okamzik::duration prvni_{};
    bool zapsano_ = false;
    std::size_t precteno_ = 0;
};

bool ZnamyText(const std::string& t)
{
    return t == "OK" || t == "Chyba spojení s modulem" || t == "Chyba zápisu dat" || t == "predtim";
}

void Over(bool podminka)
{
    if (!podminka)
        std::abort();
}

// The reply as the link must judge it when all of it arrived in one piece.
bool SpravnyCrc(const std::uint8_t* odpoved, std::size_t pocet)
{
    if (pocet < 4)
        return false;
    const std::uint16_t crc = Crc16Modbus(odpoved, pocet - 2);
    return odpoved[pocet - 2] == (crc & 0xFF) && odpoved[pocet - 1] == (crc >> 8);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 4)
        return 0;
    const int funkce = data[0] & 0x03;                   // 0 read, 1 write, 2 and 3 forward
    const std::int32_t kodBaud = (data[0] >> 2) & 0x0F;  // codes 0..15, beyond the table too
    const bool opravCrc = data[0] & 0x40;
    const std::uint8_t delka = data[1];
    const std::size_t kus = 1 + data[2];
    const std::chrono::microseconds pauza(100 * data[3]);  // 0 to 25.5 ms, across every gap
    std::vector<std::uint8_t> prichozi(data + 4, data + size);
    const std::size_t pocet = prichozi.size();
    if (opravCrc && pocet >= 4) {
        const std::uint16_t crc = Crc16Modbus(prichozi.data(), pocet - 2);
        prichozi[pocet - 2] = static_cast<std::uint8_t>(crc & 0xFF);
        prichozi[pocet - 1] = static_cast<std::uint8_t>(crc >> 8);
    }
    const std::uint8_t* odpoved = prichozi.data();

    TKanalZeVstupu kanal(odpoved, pocet, kus, pauza);
    TMBRTU link;
    link.CFG.KodBaud = kodBaud;
    link.CFG.Timeout = 60;  // longer than any gap, shorter than a run of long pauses
    link.CFG.Adresa = 1;
    link.ED.StatusText = "predtim";
    const bool naraz = pauza.count() == 0 || kus >= pocet;  // everything arrives together
    const bool celaOdpoved =
        naraz && pocet >= 4 && pocet < MaxRamecRTU && SpravnyCrc(odpoved, pocet) && odpoved[1] < 0x80;

    for (int vymena = 0; vymena < 2 && (vymena == 0 || kanal.zbyva()); ++vymena) {
        switch (funkce) {
        case 0: {
            std::array<std::uint8_t, 256 + 16> cil;
            cil.fill(0xA5);
            const std::int32_t r = PrectiBlok(link, kanal, 1, 0, delka, cil.data());
            Over(r >= 0 && r <= 2);
            Over(std::all_of(cil.begin() + delka, cil.end(), [](std::uint8_t b) { return b == 0xA5; }));
            if (vymena == 0 && celaOdpoved) {
                Over(r == (pocet == delka + 5u ? 0 : 2));
                if (r == 0)
                    Over(std::equal(cil.begin(), cil.begin() + delka, odpoved + 3));
            }
            break;
        }
        case 1: {
            std::array<std::uint8_t, MaxRamecRTU> zdroj{};
            const std::int32_t r = ZapisBlok(link, kanal, 1, 0, delka, zdroj.data());
            Over(r >= 0 && r <= 3);
            if (vymena == 0 && celaOdpoved && delka <= 253)
                Over(r == (pocet != 5 ? 2 : odpoved[2] == 0 ? 0 : 3));
            break;
        }
        default: {
            TMBRTU_Zprava z;
            z.DelkaPozadavku = static_cast<std::uint16_t>(delka + ((data[0] & 0x80) ? 256 : 0));
            const std::int32_t r = PreposliZpravu(&link, kanal, z);
            Over(r == 0 || r == 3);
            Over(z.DelkaOdpovedi <= MaxRamecRTU - 6);
            if (r == 0 && vymena == 0 && naraz)
                Over(std::equal(z.Odpoved.begin(), z.Odpoved.begin() + z.DelkaOdpovedi, odpoved + 4));
            break;
        }
        }
        Over(ZnamyText(link.ED.StatusText));
    }
    return 0;
}
