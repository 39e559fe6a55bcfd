#include "SerialovaLinka.h"

#include <algorithm>
#include <thread>

#include "Cas.h"

namespace vk::sim {

namespace {

constexpr std::size_t NejdelsiRamec = 512;  // longer noise is dropped, never answered

struct TKodBaud {
    std::int32_t Rychlost;  // Bd
    int Mezera;             // reply gap in ms
};

constexpr TKodBaud KodyBaud[] = {
    {600, 4}, {1200, 4}, {2400, 19}, {4800, 13}, {9600, 10}, {19200, 7}, {38400, 4}, {57600, 4}, {115200, 4},
};

TKodBaud PodleKodu(std::int32_t kod)
{
    if (kod < 0 || kod > 8)
        return {9600, 4};  // a code outside the table runs at 9600 Bd with a 4 ms gap
    return KodyBaud[kod];
}

// Sleeps `ms` in short slices so that a stop is not held up.
void Pockej(int ms, const std::atomic<bool>& konec)
{
    const auto start = vk::link::Ted();
    while (!konec.load() && vk::link::UplynuloMs(start) < ms)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

// The reply as the client's adapter would hand it on: in bursts with a
// pause between them, or whole.
void PosliVDavkach(TPty& pty, const TBajty& odpoved, const TDavky& davky, const std::atomic<bool>& konec)
{
    const std::size_t davka = davky.Bajtu == 0 ? odpoved.size() : davky.Bajtu;
    for (std::size_t od = 0; od < odpoved.size() && !konec.load(); od += davka) {
        if (od > 0) {
            Pockej(static_cast<int>(davky.PauzaMs), konec);
            if (konec.load())
                return;
        }
        pty.Posli(odpoved.data() + od, std::min(davka, odpoved.size() - od));
    }
}

}  // namespace

std::int32_t RychlostLinky(std::int32_t kodBaud)
{
    return PodleKodu(kodBaud).Rychlost;
}

bool LinkaSedi(std::int32_t rychlostKlienta, bool lichaKlienta, std::int32_t kodBaud, std::int32_t kodParita)
{
    return rychlostKlienta == RychlostLinky(kodBaud) && lichaKlienta == (kodParita == 2);
}

int TichoKonceMs(std::int32_t kodBaud)
{
    const std::int32_t rychlost = PodleKodu(kodBaud).Rychlost;
    const int ms = static_cast<int>((3.5 * 11 * 1000 + rychlost - 1) / rychlost);
    return ms < 2 ? 2 : ms;
}

int ProdlevaOdpovediMs(std::int32_t kodBaud)
{
    return PodleKodu(kodBaud).Mezera;
}

void ObsluhujSerial(TPty& pty, TRtuSlave& slave, std::int32_t kodBaud, std::int32_t kodParita, const TDavky& davky,
                    bool ozvena, const std::atomic<bool>& konec, std::atomic<std::uint32_t>& pocetPozadavku)
{
    const int ticho = TichoKonceMs(kodBaud);
    const int prodleva = ProdlevaOdpovediMs(kodBaud);
    TBajty ramec;
    bool prilisDlouhy = false;  // the current frame overflowed (Prilis dlouhy = too long)
    bool zkomoleny = false;     // part of it came at other line settings (zkomoleny = garbled)
    vk::link::Okamzik posledniBajt = vk::link::Ted();
    std::uint8_t kus[1024];
    while (!konec.load()) {
        const long n = pty.Prijmi(kus, sizeof kus, ramec.empty() && !prilisDlouhy ? 20 : 1);
        if (n < 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        if (n > 0) {
            posledniBajt = vk::link::Ted();
            // Looked at as the bytes come, not when the frame ends: a client
            // that has meanwhile moved on to the module's settings did not
            // send these bytes at them.
            std::int32_t rychlost = 0;
            bool licha = false;
            if (!pty.Linka(rychlost, licha) || !LinkaSedi(rychlost, licha, kodBaud, kodParita))
                zkomoleny = true;
            if (ramec.size() + static_cast<std::size_t>(n) > NejdelsiRamec)
                prilisDlouhy = true;
            else
                ramec.insert(ramec.end(), kus, kus + n);
            continue;
        }
        if ((ramec.empty() && !prilisDlouhy) || vk::link::UplynuloMs(posledniBajt) < ticho)
            continue;
        pocetPozadavku.fetch_add(1);
        TBajty odpoved;
        const bool odpovida = !prilisDlouhy && !zkomoleny && slave.Zpracuj(ramec, odpoved);
        if (odpovida)
            Pockej(prodleva, konec);
        // Right ahead of the reply, with no silence between them: the client
        // sees one frame, as behind an adapter that echoes when the module
        // answers quickly. An overlong frame is noise, with nothing to echo.
        if (ozvena && !prilisDlouhy)
            pty.Posli(ramec.data(), ramec.size());
        if (odpovida)
            PosliVDavkach(pty, odpoved, davky, konec);
        ramec.clear();
        prilisDlouhy = false;
        zkomoleny = false;
    }
}

}  // namespace vk::sim
