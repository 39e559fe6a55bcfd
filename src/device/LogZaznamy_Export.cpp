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
#include "ZnakoveTexty.h"

namespace vk::device {

namespace {

// UTF-8 to windows-1250. The text is decoded here, character by character
// with the program's one UTF-8 decoder; iconv only maps the code points to
// the code page. A broken sequence, or a character the code page lacks,
// becomes "?" so that one odd character does not lose the line; a broken
// sequence takes only its own bytes, so every character and line end after
// it survives.
bool NaWindows1250(const std::string& utf8, std::string& vystup)
{
    iconv_t cd = iconv_open("WINDOWS-1250", "UTF-32LE");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    std::string vstup;  // the code points, 4 bytes little-endian each
    vstup.reserve(4 * utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const common::TZnakUtf8 z = common::CtiZnak(utf8, i);
        const char32_t znak = z.Platny ? z.Znak : U'?';
        for (int k = 0; k < 4; ++k)
            vstup.push_back(static_cast<char>((znak >> (8 * k)) & 0xFF));
        i += z.Delka;
    }
    vystup.clear();
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
        const std::size_t preskoc = std::min<std::size_t>(zbyva, 4);
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
