#include "Slozka.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "SouboryModulu.h"

namespace vk::sim {

namespace {

std::string Popis(int cislo)
{
    return std::strerror(cislo);
}

bool ZapisVse(int fd, const TBajty& obsah)
{
    std::size_t hotovo = 0;
    while (hotovo < obsah.size()) {
        const ssize_t n = ::write(fd, obsah.data() + hotovo, obsah.size() - hotovo);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        hotovo += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

TSlozka::~TSlozka()
{
    Zavri();
}

bool TSlozka::Otevri(const std::string& cesta, std::string& chyba)
{
    Zavri();
    if (cesta.empty()) {
        const char* tmp = std::getenv("TMPDIR");
        std::string vzor = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/vk7316r-sim-XXXXXX";
        if (::mkdtemp(vzor.data()) == nullptr) {
            chyba = "Nelze vytvořit dočasnou složku stavu " + vzor + ": " + Popis(errno);
            return false;
        }
        cesta_ = vzor;
        docasna_ = true;
        return true;
    }
    if (::mkdir(cesta.c_str(), 0755) != 0 && errno != EEXIST) {
        chyba = "Nelze vytvořit složku stavu " + cesta + ": " + Popis(errno);
        return false;
    }
    struct stat info {};
    if (::stat(cesta.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        chyba = "Cesta stavu " + cesta + " není složka";
        return false;
    }
    if (::access(cesta.c_str(), W_OK | X_OK) != 0) {
        chyba = "Do složky stavu " + cesta + " nelze zapisovat: " + Popis(errno);
        return false;
    }
    cesta_ = cesta;
    docasna_ = false;
    return true;
}

void TSlozka::Zavri()
{
    if (docasna_ && !cesta_.empty()) {
        // Only the names this folder can hold are removed, so a mistaken path
        // never loses anything else.
        std::size_t pocet = 0;
        const TSouborModulu* soubory = VsechnySoubory(pocet);
        for (std::size_t i = 0; i < pocet; ++i)
            ::unlink((cesta_ + "/" + soubory[i].Nazev).c_str());
        ::rmdir(cesta_.c_str());
    }
    cesta_.clear();
    docasna_ = false;
}

bool TSlozka::Nacti(const std::string& nazev, TBajty& obsah) const
{
    if (cesta_.empty())
        return false;
    const int fd = ::open((cesta_ + "/" + nazev).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    TBajty data;
    std::uint8_t kus[65536];
    bool dobre = true;
    for (;;) {
        const ssize_t n = ::read(fd, kus, sizeof kus);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            dobre = false;
        if (n <= 0)
            break;
        data.insert(data.end(), kus, kus + n);
    }
    ::close(fd);
    if (dobre)
        obsah = std::move(data);
    return dobre;
}

bool TSlozka::Uloz(const std::string& nazev, const TBajty& obsah, std::string& chyba) const
{
    if (cesta_.empty())
        return true;
    const std::string cil = cesta_ + "/" + nazev;
    const std::string docasny = cil + ".tmp";
    const int fd = ::open(docasny.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        chyba = "Nelze zapsat " + docasny + ": " + Popis(errno);
        return false;
    }
    const bool zapsano = ZapisVse(fd, obsah);
    const int chybaZapisu = errno;
    const bool zavreno = ::close(fd) == 0;
    if (!zapsano || !zavreno || std::rename(docasny.c_str(), cil.c_str()) != 0) {
        chyba = "Nelze uložit " + cil + ": " + Popis(zapsano ? errno : chybaZapisu);
        ::unlink(docasny.c_str());
        return false;
    }
    return true;
}

}  // namespace vk::sim
