#include "Stopa.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "Cas.h"
#include "Crc16.h"

namespace vk::link {

namespace {

// The one sink. The flag is read without the lock on every frame, so a link
// with no trace pays one atomic load; the file and its clock change only
// under the lock.
std::atomic<bool> otevrena{false};
std::mutex zamek;
std::FILE* soubor = nullptr;
Okamzik zacatek{};

constexpr char Hex[] = "0123456789abcdef";

// A DATA datagram is shown by its header and first payload bytes only: the whole of
// a 2 MiB transfer in hex would triple the bytes the transfer moves and
// slow it by far more than a trace may, while the decoding still gives the
// length of each block. Serial frames, 262 bytes at most, stay whole.
constexpr std::size_t NejvicHexTFTP = 4 + 16;

void PridejHex(std::string& text, const std::uint8_t* data, std::size_t pocet, std::size_t nejvic)
{
    const std::size_t n = std::min(pocet, nejvic);
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

// The line after its time column, composed before the lock is taken, in a
// buffer each thread keeps, so a frame costs no allocation for its bytes.
std::string& ZacniRadek(const char* smer, TLinkaStopy linka)
{
    thread_local std::string radek;
    radek.clear();
    radek += ' ';
    radek += smer;
    radek += linka == TLinkaStopy::RTU ? " RTU " : " TFTP ";
    return radek;
}

void Radek(const char* smer, const std::string& radek, const std::string& popis)
{
    std::lock_guard<std::mutex> z(zamek);
    if (soubor == nullptr)
        return;
    const auto us = std::chrono::duration_cast<std::chrono::microseconds>(Ted() - zacatek).count();
    std::fprintf(soubor, "%lld", static_cast<long long>(us));
    std::fwrite(radek.data(), 1, radek.size(), soubor);
    std::fputs(" | ", soubor);
    std::fwrite(popis.data(), 1, popis.size(), soubor);
    std::fputc('\n', soubor);
    // Frames are written in buffer-sized pieces, which keeps a fast transfer
    // fast; an event (an echo, a retransmission, a failure) is worth seeing
    // at once in a trace watched as it grows.
    if (smer[0] == 'e')
        std::fflush(soubor);
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

}  // namespace

bool OtevriStopu(const std::string& cesta, std::string& chyba)
{
    ZavriStopu();
    std::FILE* f = std::fopen(cesta.c_str(), "w");
    if (f == nullptr) {
        chyba = "cannot write the trace " + cesta + ": " + std::strerror(errno);
        return false;
    }
    std::setvbuf(f, nullptr, _IOFBF, 1 << 16);
    std::lock_guard<std::mutex> z(zamek);
    soubor = f;
    zacatek = Ted();
    otevrena.store(true, std::memory_order_release);
    return true;
}

void ZavriStopu()
{
    std::lock_guard<std::mutex> z(zamek);
    otevrena.store(false, std::memory_order_release);
    if (soubor != nullptr)
        std::fclose(soubor);
    soubor = nullptr;
}

bool StopaOtevrena()
{
    return otevrena.load(std::memory_order_acquire);
}

void StopujData(TLinkaStopy linka, bool odeslano, const std::uint8_t* data, std::size_t pocet)
{
    if (!StopaOtevrena())
        return;
    const std::string popis =
        linka == TLinkaStopy::RTU ? PopisRamceRTU(data, pocet, odeslano) : PopisDatagramuTFTP(data, pocet);
    const bool dataTftp = linka == TLinkaStopy::TFTP && pocet >= 2 && data[0] == 0 && data[1] == 3;
    const char* smer = odeslano ? "sent" : "received";
    std::string& radek = ZacniRadek(smer, linka);
    PridejHex(radek, data, pocet, dataTftp ? NejvicHexTFTP : pocet);
    Radek(smer, radek, popis);
}

void StopujUdalost(TLinkaStopy linka, const std::string& text)
{
    if (!StopaOtevrena())
        return;
    std::string& radek = ZacniRadek("event", linka);
    radek += '-';
    Radek("event", radek, text);
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
        if (pocet < 4)
            return "DATA, short";
        return "DATA block " + Cislo(Cti16(data + 2)) + ", " + Cislo(pocet - 4) + " bytes";
    case 4:
        if (pocet < 4)
            return "ACK, short";
        return "ACK block " + Cislo(Cti16(data + 2));
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

}  // namespace vk::link
