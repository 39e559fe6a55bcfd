// Export of an event log file into 8-bit text (windows-1250, CR LF), the
// form in which the archives have always been kept.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <iconv.h>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "LogZaznamy.h"

namespace vk::device {

namespace {

// Length of the UTF-8 sequence that begins with `b`, as far as its lead
// byte tells (1 for a stray byte).
std::size_t DelkaZnaku(unsigned char b)
{
    if (b >= 0xF0 && b <= 0xF7)
        return 4;
    if (b >= 0xE0)
        return b <= 0xEF ? 3 : 1;
    if (b >= 0xC0)
        return 2;
    return 1;
}

// UTF-8 to windows-1250. A character the code page lacks (or a broken
// sequence) becomes "?" so that one odd character does not lose the line.
bool NaWindows1250(const std::string& utf8, std::string& vystup)
{
    iconv_t cd = iconv_open("WINDOWS-1250", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    vystup.clear();
    std::string vstup = utf8;
    char* in = vstup.data();
    std::size_t zbyva = vstup.size();
    char blok[4096];
    while (zbyva > 0) {
        char* out = blok;
        std::size_t volno = sizeof blok;
        const std::size_t r = iconv(cd, &in, &zbyva, &out, &volno);
        vystup.append(blok, static_cast<std::size_t>(out - blok));
        if (r != static_cast<std::size_t>(-1) || errno == E2BIG)
            continue;
        vystup.push_back('?');
        const std::size_t preskoc = std::min(zbyva, DelkaZnaku(static_cast<unsigned char>(*in)));
        in += preskoc;
        zbyva -= preskoc;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(cd);
    return true;
}

bool NactiSoubor(const std::string& jmeno, std::vector<std::uint8_t>& data)
{
    std::ifstream f(jmeno, std::ios::binary);
    if (!f)
        return false;
    data.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    return !f.bad();
}

bool ZapisVse(int fd, const std::string& data)
{
    std::size_t odeslano = 0;
    while (odeslano < data.size()) {
        const ssize_t n = ::write(fd, data.data() + odeslano, data.size() - odeslano);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        odeslano += static_cast<std::size_t>(n);
    }
    return true;
}

// Writes `data` into a temporary file beside `cil` and renames it over
// `cil`, so that a failure leaves no half-written file behind. The mode
// 0666 is narrowed by the user's umask as for any new file.
bool ZapisAtomicky(const std::string& cil, const std::string& data)
{
    for (int pokus = 0; pokus < 100; ++pokus) {
        const std::string docasny = cil + "." + std::to_string(::getpid()) + "." + std::to_string(pokus) + ".tmp";
        const int fd = ::open(docasny.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return false;
        }
        bool ok = ZapisVse(fd, data) && ::fsync(fd) == 0;
        ok = (::close(fd) == 0) && ok;
        ok = ok && std::rename(docasny.c_str(), cil.c_str()) == 0;
        if (!ok)
            ::unlink(docasny.c_str());
        return ok;
    }
    return false;
}

std::string TextExportu(const std::string& zakladniJmeno, const std::string& hlavicka,
                        const std::vector<std::uint8_t>& data)
{
    const std::string konecRadku = "\r\n";
    std::string text = hlavicka + konecRadku + konecRadku;
    const THlavickaLOG h = DekodujHlavickuLOG(data.data(), data.size());
    if (!JeTypLOG(h))
        return text + "Chybný typ souboru " + zakladniJmeno + ".bin" + konecRadku;
    for (std::size_t pos = DelkaHlavickyLOG; pos + DelkaZaznamuLOG <= data.size(); pos += DelkaZaznamuLOG) {
        TZaznamLOG zaznam;
        std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(pos), DelkaZaznamuLOG, zaznam.begin());
        const std::string radek = DekodujZaznamLOG(zaznam);
        if (!radek.empty())
            text += radek + konecRadku;
    }
    return text;
}

}  // namespace

bool PrevedLogNaText(const std::string& zakladniJmeno, const std::string& hlavicka, std::string& chyba)
{
    chyba.clear();
    const std::string zdroj = zakladniJmeno + ".bin";
    const std::string cil = zakladniJmeno + ".log";
    struct stat st {};
    if (::stat(zdroj.c_str(), &st) != 0 && errno == ENOENT)
        return true;
    std::vector<std::uint8_t> data;
    if (S_ISDIR(st.st_mode) || !NactiSoubor(zdroj, data)) {
        chyba = "Soubor " + zdroj + " nelze přečíst.";
        return false;
    }
    std::string text;
    if (!NaWindows1250(TextExportu(zakladniJmeno, hlavicka, data), text)) {
        chyba = "Převod textu do kódování windows-1250 není k dispozici.";
        return false;
    }
    if (!ZapisAtomicky(cil, text)) {
        chyba = "Soubor " + cil + " nelze zapsat.";
        return false;
    }
    return true;
}

}  // namespace vk::device
