#include "Soubory.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace vk::core {

namespace {

// Writes all (ZapisVse) bytes, resuming after partial writes.
bool ZapisVse(int fd, const std::uint8_t* data, std::size_t pocet)
{
    while (pocet > 0) {
        const ssize_t zapsano = ::write(fd, data, pocet);
        if (zapsano < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (zapsano == 0)
            return false;
        data += zapsano;
        pocet -= static_cast<std::size_t>(zapsano);
    }
    return true;
}

// Flushes the folder (SynchronizujSlozku) so that the rename itself is
// durable; a failure here does not undo the replacement, so it is not
// reported.
void SynchronizujSlozku(const std::filesystem::path& slozka)
{
    const int fd = ::open(slozka.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// The real target (SkutecnyCil): the path itself when it is not a symbolic
// link, otherwise the file the link points at (renaming over the link would
// replace the link).
std::filesystem::path SkutecnyCil(const std::filesystem::path& soubor)
{
    std::error_code ec;
    if (std::filesystem::is_symlink(soubor, ec)) {
        auto cil = std::filesystem::canonical(soubor, ec);
        if (!ec)
            return cil;
    }
    return soubor;
}

}  // namespace

TCteni CtiSoubor(const std::filesystem::path& soubor, std::size_t nejvic, std::vector<std::uint8_t>& obsah)
{
    obsah.clear();
    // Non-blocking open, then regular files only: a FIFO or a device picked
    // in the file dialog would otherwise block the window for good.
    const int fd = ::open(soubor.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return (errno == ENOENT || errno == ENOTDIR) ? TCteni::Chybi : TCteni::NelzeOtevrit;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return TCteni::NelzeOtevrit;
    }
    std::uint8_t blok[4096];
    while (obsah.size() < nejvic) {
        const std::size_t chci = std::min(sizeof blok, nejvic - obsah.size());
        const ssize_t precteno = ::read(fd, blok, chci);
        if (precteno < 0) {
            if (errno == EINTR)
                continue;
            ::close(fd);
            obsah.clear();
            return TCteni::NelzePrecist;
        }
        if (precteno == 0)
            break;
        obsah.insert(obsah.end(), blok, blok + precteno);
    }
    ::close(fd);
    return TCteni::Precteno;
}

bool ZapisSouborAtomicky(const std::filesystem::path& soubor, const std::uint8_t* obsah, std::size_t pocet)
{
    const std::filesystem::path cil = SkutecnyCil(soubor);
    std::filesystem::path slozka = cil.parent_path();
    if (slozka.empty())
        slozka = ".";
    struct stat puvodni {};
    const bool existuje = ::stat(cil.c_str(), &puvodni) == 0;
    // Replacing by rename would go round a file's own protection: a file
    // the user may not write, or one without any write permission (even for
    // the administrator), is refused as a direct write would be.
    if (existuje && (::access(cil.c_str(), W_OK) != 0 || (puvodni.st_mode & 0222) == 0))
        return false;

    // O_EXCL with a name unique to this process and moment: never opens a
    // file someone else is writing, and the mode 0666 lets the umask decide
    // the permissions of a new file as for any other file the user creates.
    const auto znacka = std::chrono::steady_clock::now().time_since_epoch().count();
    std::filesystem::path docasny;
    int fd = -1;
    for (int pokus = 0; pokus < 100 && fd < 0; ++pokus) {
        docasny = slozka / ("." + cil.filename().string() + "." + std::to_string(::getpid()) + "." +
                            std::to_string(znacka) + "." + std::to_string(pokus) + ".tmp");
        fd = ::open(docasny.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;
    if (existuje)
        ::fchmod(fd, puvodni.st_mode & 07777);

    bool v_poradku = ZapisVse(fd, obsah, pocet) && ::fsync(fd) == 0;
    if (::close(fd) != 0)
        v_poradku = false;
    if (v_poradku && ::rename(docasny.c_str(), cil.c_str()) != 0)
        v_poradku = false;
    if (!v_poradku) {
        ::unlink(docasny.c_str());
        return false;
    }
    SynchronizujSlozku(slozka);
    return true;
}

bool ZapisSouborAtomicky(const std::filesystem::path& soubor, std::string_view obsah)
{
    return ZapisSouborAtomicky(soubor, reinterpret_cast<const std::uint8_t*>(obsah.data()), obsah.size());
}

}  // namespace vk::core
