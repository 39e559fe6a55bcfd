// Every decoder of bytes that come from the module, fed with arbitrary
// bytes of any length, and the properties that must hold whatever they are.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "KodekySouboru.h"
#include "LogZaznamy.h"
#include "ZnakoveTexty.h"

using namespace vk::device;

namespace {

void Pozaduj(bool podminka)
{
    if (!podminka)
        std::abort();
}

// The bytes a decoder sees: missing ones are zero.
std::uint8_t Bajt(TBajty b, std::size_t i)
{
    return i < b.size() ? b[i] : 0;
}

// Decoding then encoding gives back every byte of the file except the
// check byte (and the reserved bytes, which are written as zero).
template <class R, std::size_t N>
void ZpetStejne(TBajty b, void (*dekoduj)(TBajty, R&), std::array<std::uint8_t, N> (*koduj)(const R&),
                std::initializer_list<std::size_t> nuly = {})
{
    R r;
    dekoduj(b, r);
    const auto zpet = koduj(r);
    for (std::size_t i = 0; i + 1 < N; ++i) {
        const bool rezerva = std::find(nuly.begin(), nuly.end(), i) != nuly.end();
        Pozaduj(zpet[i] == (rezerva ? 0 : Bajt(b, i)));
    }
    unsigned soucet = 0;
    for (auto x : zpet)
        soucet += x;
    Pozaduj(soucet % 256 == 0);
}

void Konfigurace(TBajty b)
{
    ZpetStejne(b, DekodujLan4Cfg, KodujLan4Cfg, {13, 14});
    ZpetStejne(b, DekodujMbtcpCfg, KodujMbtcpCfg);
    ZpetStejne(b, DekodujUartsCfg, KodujUartsCfg);
    ZpetStejne(b, DekodujUartmCfg, KodujUartmCfg);
    ZpetStejne(b, DekodujSpravaCfg, KodujSpravaCfg);
    TVK7316R_LogCfg log;
    DekodujLogCfg(b, log);
    Pozaduj(log.Povolen == Bajt(b, 0));
    const auto logZpet = KodujLogCfg(log);
    Pozaduj(logZpet[0] == (Bajt(b, 0) & 1) && logZpet[1] == 0);
}

void Stav(TBajty b)
{
    TVK7316R_RtcBin rtc;
    DekodujRtcBin(b, rtc);
    const auto rtcZpet = KodujRtcBin(rtc);
    for (std::size_t i = 0; i < 9; ++i)
        Pozaduj(rtcZpet[i] == Bajt(b, i));

    TVK7316R_SysBin sys;
    DekodujSysBin(b, sys);
    Pozaduj(vk::common::PocetZnaku(sys.TypFW) == 24);
    Pozaduj(vk::common::PocetZnaku(sys.TypLoader) == 21);
    Pozaduj(vk::common::PocetZnaku(sys.VyrCislo) == 8);
    Pozaduj(vk::common::PocetZnaku(sys.AktualHBIN.NazevFW) == 38);
    Pozaduj(sys.AktualHBIN.DatumCas[0] == 0 && sys.AktualHBIN.DatumCas[1] == 0);
    for (double d : {sys.TeplotaUP, sys.TeplotaDPS_Max, sys.NapetiPWR, sys.NapetiPWR_Min})
        Pozaduj(d == d);  // never NaN

    TVK7316R_MmrdBin mmrd;
    DekodujMmrdBin(b, mmrd);
    Pozaduj(mmrd.VytizeniLinky <= 255 && mmrd.AdresaChyba <= 255 && mmrd.RychlostZprav <= 0xFFFF);

    TVK7316R_MmrgvBin mmrgv;
    DekodujMmrgvBin(b, mmrgv);
    const std::size_t zacatek = mmrgv.IndexZapisu % 180;
    for (std::size_t k = 0; k < 180; ++k)
        Pozaduj(mmrgv.PoleDat[k] == Bajt(b, 12 + (zacatek + k) % 180));
}

void Firmware(TBajty b)
{
    TVK7316R_FwAkt fw;
    DekodujFwAkt(b, fw);
    Pozaduj(vk::common::JePlatneUtf8(fw.Soubor) && vk::common::JePlatneUtf8(fw.DatumCas));
    if (fw.Soubor != "???")
        Pozaduj(fw.Soubor.find_first_of("\\/:") == std::string::npos);

    TVK7316R_BootCmd cmd;
    DekodujBootCmd(b, cmd);
    Pozaduj(vk::common::PocetZnaku(cmd.Cmd) <= MaxDelkaCteniCmd);
    Pozaduj(cmd.Cmd.find('\0') == std::string::npos);

    TVK7316R_InfoTxt info;
    DekodujInfoTxt(b, info);
    Pozaduj(vk::common::PocetZnaku(info.Text) == b.size());
}

void Log(TBajty b)
{
    const THlavickaLOG h = DekodujHlavickuLOG(b.data(), b.size());
    Pozaduj(h.PocetZaznamu == (Bajt(b, 8) | Bajt(b, 9) << 8 | Bajt(b, 10) << 16 | std::uint32_t{Bajt(b, 11)} << 24));
    for (std::size_t pos = 0; pos + DelkaZaznamuLOG <= b.size() && pos < 64 * 200; pos += DelkaZaznamuLOG) {
        TZaznamLOG z;
        std::copy_n(b.begin() + static_cast<std::ptrdiff_t>(pos), DelkaZaznamuLOG, z.begin());
        const std::string radek = DekodujZaznamLOG(z);
        Pozaduj(radek.empty() == (z[0] == 0 || z[0] == 255));
        Pozaduj(vk::common::JePlatneUtf8(radek));
        Pozaduj(radek.find('\n') == std::string::npos && radek.find('\r') == std::string::npos);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const TBajty b(data, size);
    Konfigurace(b);
    Stav(b);
    Firmware(b);
    Log(b);
    return 0;
}
