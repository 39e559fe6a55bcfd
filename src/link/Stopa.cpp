#include "Stopa.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <vector>

#include "Cas.h"
#include "Crc16.h"

namespace vk::link {

namespace {

constexpr char Hex[] = "0123456789abcdef";

// A DATA datagram is shown by its header and first payload bytes only: the whole of
// a 2 MiB transfer in hex would triple the bytes the transfer moves and
// slow it by far more than a trace may, while the decoding still gives the
// length of each block. Serial frames, 262 bytes at most, stay whole.
constexpr std::size_t NejvicHexTFTP = 4 + 16;

// A line is noted as raw bytes while the link works and made into text in
// batches: the link's next request waits for whatever the trace does per
// frame, and a batch formats and writes far faster than lines one by one.
// Up to this many noted bytes, or this long after the last write, a batch
// waits; an event goes out at once with what is before it, so a trace
// watched as it grows shows a failure when it happens.
constexpr std::size_t DavkaBajtu = 1 << 16;
constexpr std::int64_t DavkaUs = 200'000;

enum class TDruh : std::uint8_t { Odeslano, Prijato, Udalost };  // sent, received, event

struct TZaznam {  // one line noted (zaznam = record)
    std::int64_t Us;
    TDruh Druh;
    TLinkaStopy Linka;
    std::uint32_t Pocet;  // the frame's or datagram's length; an event's text length
    std::size_t Od;       // where its kept bytes start in TStopa::Bajty
    std::size_t Ulozeno;  // how many were kept
};

void PridejCislo(std::string& text, unsigned long long n)
{
    char cislice[20];
    const auto konec = std::to_chars(cislice, cislice + sizeof cislice, n).ptr;
    text.append(cislice, konec);
}

void PridejHex(std::string& text, const std::uint8_t* data, std::size_t n, std::size_t pocet)
{
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0)
            text += ' ';
        text += Hex[data[i] >> 4];
        text += Hex[data[i] & 0x0F];
    }
    if (n < pocet)
        text += " ...";
}

std::string Cislo(unsigned long long n)
{
    return std::to_string(n);
}

std::string HexBajt(std::uint8_t b)
{
    return std::string("0x") + Hex[b >> 4] + Hex[b & 0x0F];
}

// A TFTP string field from `i`, up to its zero; printable ASCII as is, any
// other byte as \xNN, so one datagram stays one line.
std::string TextPole(const std::uint8_t* data, std::size_t pocet, std::size_t& i, bool& ukoncen)
{
    std::string text;
    for (; i < pocet && data[i] != 0; ++i) {
        const std::uint8_t b = data[i];
        if (b >= 0x20 && b < 0x7F && b != '\\' && b != '"')
            text += static_cast<char>(b);
        else {
            text += "\\x";
            text += Hex[b >> 4];
            text += Hex[b & 0x0F];
        }
    }
    ukoncen = i < pocet;
    if (ukoncen)
        ++i;
    return text;
}

std::uint16_t Cti16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] << 8 | p[1]);
}

// Option pairs after a request's mode or an OACK's opcode.
std::string Volby(const std::uint8_t* data, std::size_t pocet, std::size_t i)
{
    std::string text;
    while (i < pocet) {
        bool ukoncen = false;
        const std::string nazev = TextPole(data, pocet, i, ukoncen);
        if (!ukoncen)
            return text + " " + nazev + " (unterminated)";
        const std::string hodnota = TextPole(data, pocet, i, ukoncen);
        text += " " + nazev + "=" + hodnota;
        if (!ukoncen)
            return text + " (unterminated)";
    }
    return text;
}

// Every datagram but a DATA or ACK with its block number.
std::string PopisOstatnichTFTP(const std::uint8_t* data, std::size_t pocet)
{
    if (pocet < 2)
        return "short datagram, " + Cislo(pocet) + " bytes";
    const std::uint16_t opcode = Cti16(data);
    std::size_t i = 2;
    bool ukoncen = false;
    switch (opcode) {
    case 1:
    case 2: {
        const std::string jmeno = TextPole(data, pocet, i, ukoncen);
        std::string text = std::string(opcode == 1 ? "RRQ" : "WRQ") + " file \"" + jmeno + "\"";
        if (!ukoncen)
            return text + " (unterminated)";
        text += ", mode " + TextPole(data, pocet, i, ukoncen);
        if (!ukoncen)
            return text + " (unterminated)";
        const std::string volby = Volby(data, pocet, i);
        return volby.empty() ? text : text + ", options" + volby;
    }
    case 3:
        return "DATA, short";
    case 4:
        return "ACK, short";
    case 5: {
        if (pocet < 4)
            return "ERROR, short";
        i = 4;
        const std::string zprava = TextPole(data, pocet, i, ukoncen);
        return "ERROR code " + Cislo(Cti16(data + 2)) + ", \"" + zprava + "\"" + (ukoncen ? "" : " (unterminated)");
    }
    case 6:
        return "OACK" + Volby(data, pocet, i);
    default:
        return "unknown opcode " + Cislo(opcode);
    }
}

// DATA and ACK, nearly every line of a transfer, go straight into the line;
// a DATA block's decoding reads its header only, so a noted DATA keeps no
// more bytes than its hex shows.
void PridejPopisTFTP(std::string& text, const std::uint8_t* data, std::size_t pocet)
{
    if (pocet >= 4 && data[0] == 0 && (data[1] == 3 || data[1] == 4)) {
        text += data[1] == 3 ? "DATA block " : "ACK block ";
        PridejCislo(text, Cti16(data + 2));
        if (data[1] == 3) {
            text += ", ";
            PridejCislo(text, pocet - 4);
            text += " bytes";
        }
        return;
    }
    text += PopisOstatnichTFTP(data, pocet);
}

// The one sink. The flag is read without the lock on every frame, so a link
// with no trace pays one atomic load; everything else changes only under
// the lock.
std::atomic<bool> otevrena{false};

struct TStopa {
    std::mutex Zamek;
    int Soubor = -1;
    Okamzik Zacatek{};
    std::int64_t Zapsano = 0;  // the time of the last write, us
    std::thread Vyprazdneni;   // empties the file while the link starts (vyprazdneni = emptying)
    std::vector<TZaznam> Zaznamy;
    std::vector<std::uint8_t> Bajty;
    std::string Text;

    // A run that ends without closing the trace (exit from a deeper
    // function) still leaves every line noted.
    ~TStopa()
    {
        std::lock_guard<std::mutex> z(Zamek);
        otevrena.store(false, std::memory_order_release);
        Zavri();
    }

    void Poznamenej(TDruh druh, TLinkaStopy linka, const std::uint8_t* data, std::size_t pocet, std::size_t ulozeno)
    {
        const std::int64_t us = std::chrono::duration_cast<std::chrono::microseconds>(Ted() - Zacatek).count();
        Zaznamy.push_back({us, druh, linka, static_cast<std::uint32_t>(pocet), Bajty.size(), ulozeno});
        Bajty.insert(Bajty.end(), data, data + ulozeno);
        if (druh == TDruh::Udalost || Bajty.size() >= DavkaBajtu || us - Zapsano >= DavkaUs)
            Zapis(us);
    }

    void Zapis(std::int64_t us)
    {
        if (Vyprazdneni.joinable())
            Vyprazdneni.join();
        Text.clear();
        for (const TZaznam& r : Zaznamy)
            Radek(r);
        Zaznamy.clear();
        Bajty.clear();
        Zapsano = us;
        // A trace is help beside the transfer, never a reason to stop it:
        // a failed write loses lines, not the work.
        for (std::size_t i = 0; i < Text.size();) {
            const ssize_t n = ::write(Soubor, Text.data() + i, Text.size() - i);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            i += static_cast<std::size_t>(n);
        }
    }

    void Radek(const TZaznam& r)
    {
        const std::uint8_t* data = Bajty.data() + r.Od;
        PridejCislo(Text, static_cast<unsigned long long>(r.Us));
        Text += r.Druh == TDruh::Odeslano ? " sent" : r.Druh == TDruh::Prijato ? " received" : " event";
        Text += r.Linka == TLinkaStopy::RTU ? " RTU " : " TFTP ";
        if (r.Druh == TDruh::Udalost) {
            Text += "- | ";
            Text.append(reinterpret_cast<const char*>(data), r.Ulozeno);
        } else {
            PridejHex(Text, data, r.Ulozeno, r.Pocet);
            Text += " | ";
            if (r.Linka == TLinkaStopy::RTU)
                Text += PopisRamceRTU(data, r.Pocet, r.Druh == TDruh::Odeslano);
            else
                PridejPopisTFTP(Text, data, r.Pocet);
        }
        Text += '\n';
    }

    void Zavri()
    {
        if (Soubor < 0)
            return;
        Zapis(0);
        ::close(Soubor);
        Soubor = -1;
    }
};

TStopa stopa;

}  // namespace

bool OtevriStopu(const std::string& cesta, std::string& chyba)
{
    ZavriStopu();
    const int f = ::open(cesta.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (f < 0) {
        chyba = "cannot write the trace " + cesta + ": " + std::strerror(errno);
        return false;
    }
    std::lock_guard<std::mutex> z(stopa.Zamek);
    // Emptying a file written a moment ago (the trace of the previous run)
    // waits until the kernel has written its pages out, a millisecond or
    // more; done beside the connection, the wait costs the run nothing. The
    // first write waits for it. A device or a pipe cannot be emptied and
    // needs no emptying.
    try {
        stopa.Vyprazdneni = std::thread([f] { static_cast<void>(::ftruncate(f, 0)); });
    } catch (const std::system_error&) {
        static_cast<void>(::ftruncate(f, 0));
    }
    stopa.Soubor = f;
    stopa.Zacatek = Ted();
    stopa.Zapsano = 0;
    stopa.Zaznamy.reserve(DavkaBajtu / 4);
    stopa.Bajty.reserve(DavkaBajtu);
    otevrena.store(true, std::memory_order_release);
    return true;
}

void ZavriStopu()
{
    std::lock_guard<std::mutex> z(stopa.Zamek);
    otevrena.store(false, std::memory_order_release);
    stopa.Zavri();
}

bool StopaOtevrena()
{
    return otevrena.load(std::memory_order_acquire);
}

void StopujData(TLinkaStopy linka, bool odeslano, const std::uint8_t* data, std::size_t pocet)
{
    if (!StopaOtevrena())
        return;
    const bool dataTftp = linka == TLinkaStopy::TFTP && pocet >= 2 && data[0] == 0 && data[1] == 3;
    const std::size_t ulozeno = dataTftp ? std::min(pocet, NejvicHexTFTP) : pocet;
    std::lock_guard<std::mutex> z(stopa.Zamek);
    if (stopa.Soubor >= 0)
        stopa.Poznamenej(odeslano ? TDruh::Odeslano : TDruh::Prijato, linka, data, pocet, ulozeno);
}

void StopujUdalost(TLinkaStopy linka, const std::string& text)
{
    if (!StopaOtevrena())
        return;
    std::lock_guard<std::mutex> z(stopa.Zamek);
    if (stopa.Soubor >= 0)
        stopa.Poznamenej(TDruh::Udalost, linka, reinterpret_cast<const std::uint8_t*>(text.data()), text.size(),
                         text.size());
}

std::string PopisRamceRTU(const std::uint8_t* data, std::size_t pocet, bool odeslano)
{
    if (pocet < 4)
        return "short frame, " + Cislo(pocet) + " bytes";
    const std::size_t n = pocet - 2;
    const std::uint16_t crc = Crc16Modbus(data, n);
    const bool crcOk = data[n] == (crc & 0xFF) && data[n + 1] == (crc >> 8);
    const std::uint8_t funkce = data[1];
    std::string text = "address " + Cislo(data[0]) + ", function " + HexBajt(funkce);
    if (funkce >= 0x80)
        text += ", exception code " + Cislo(data[2]);
    else if ((funkce == 0x43 || funkce == 0x44) && odeslano && n >= 7)
        text += ", file " + Cislo(data[3]) + ", block " + Cislo(Cti16(data + 4)) + ", length " + Cislo(data[6]);
    else if (funkce == 0x43 && !odeslano)
        text += ", data " + Cislo(n - 3) + " bytes";
    else if (funkce == 0x44 && !odeslano && n == 3)
        text += ", result " + Cislo(data[2]);
    else if (funkce == 0x45 && n >= 4)
        text += ", embedded " + Cislo(Cti16(data + 2)) + " bytes";
    else
        text += ", " + Cislo(n) + " bytes before the CRC";
    return text + (crcOk ? ", CRC ok" : ", CRC bad");
}

std::string PopisDatagramuTFTP(const std::uint8_t* data, std::size_t pocet)
{
    std::string text;
    PridejPopisTFTP(text, data, pocet);
    return text;
}

}  // namespace vk::link
