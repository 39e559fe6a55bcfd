// Why a serial device does not open, as the user would meet it. Root opens
// what a mode forbids and takes a terminal held for exclusive use, so the
// cases are tried by a child process that has dropped to an ordinary user.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "PokusPripojeni.h"

using namespace vk::procedures;

namespace {

constexpr uid_t Nikdo = 65534;  // an ordinary user with no groups

// The reason ZjistiZarizeni gives for the path, run as that ordinary user
// when the test runs as root.
std::string DuvodBezPrav(const std::string& cesta)
{
    if (::geteuid() != 0)
        return ZjistiZarizeni(cesta).Duvod;
    int roura[2];
    if (::pipe(roura) != 0)
        return "pipe failed";
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(roura[0]);
        if (::setgroups(0, nullptr) != 0 || ::setgid(Nikdo) != 0 || ::setuid(Nikdo) != 0)
            ::_exit(2);
        const std::string d = ZjistiZarizeni(cesta).Duvod;
        const bool ok = ::write(roura[1], d.data(), d.size()) == static_cast<ssize_t>(d.size());
        ::_exit(ok ? 0 : 3);
    }
    ::close(roura[1]);
    std::string d;
    char buf[256];
    for (ssize_t n; (n = ::read(roura[0], buf, sizeof buf)) > 0;)
        d.append(buf, static_cast<std::size_t>(n));
    ::close(roura[0]);
    int stav = 0;
    ::waitpid(pid, &stav, 0);
    return WIFEXITED(stav) && WEXITSTATUS(stav) == 0 ? d : "child failed";
}

TEST(ZarizeniCOM, ChybejiciZarizeni)
{
    const std::string cesta = "/dev/vk_nonexistent_tty";
    EXPECT_EQ(ZjistiZarizeni(cesta).Duvod, "Zařízení /dev/vk_nonexistent_tty neexistuje.");
    // A COM number without a settings entry falls back to the default devices.
    const TZarizeniCOM z = ZjistiZarizeniCOM(200, "/nonexistent/W_vk7316r.ini");
    EXPECT_EQ(z.Cesta, "/dev/ttyS199");
    EXPECT_EQ(z.Duvod, "Zařízení /dev/ttyS199 neexistuje.");
}

TEST(ZarizeniCOM, ZarizeniKSeSmiJenSkupina)
{
    const std::filesystem::path cesta =
        std::filesystem::temp_directory_path() / ("vk_tty_" + std::to_string(::getpid()));
    std::ofstream(cesta).put('x');
    ASSERT_EQ(::chmod(cesta.c_str(), 0), 0);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(cesta.c_str(), 0, 20), 0);
    }
    struct stat st {};
    ASSERT_EQ(::stat(cesta.c_str(), &st), 0);
    const group* g = ::getgrgid(st.st_gid);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(DuvodBezPrav(cesta),
              "Přístup k zařízení " + cesta.string() + " odepřen: uživatel musí být ve skupině " + g->gr_name + ".");
    std::filesystem::remove(cesta);
}

TEST(ZarizeniCOM, TerminalDrzenyJinymProgramem)
{
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    const std::string slave = ::ptsname(master);
    const int drzeny = ::open(slave.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(drzeny, 0);
    // Free for anyone by its mode, taken only by the exclusive mark.
    ASSERT_EQ(::fchmod(drzeny, 0666), 0);
    EXPECT_EQ(DuvodBezPrav(slave), "");
    ASSERT_EQ(::ioctl(drzeny, TIOCEXCL), 0);
    EXPECT_EQ(DuvodBezPrav(slave), "Zařízení " + slave + " používá jiný program.");
    ::close(drzeny);
    ::close(master);
}

TEST(ZarizeniCOM, SouborKteryNeniTerminal)
{
    EXPECT_EQ(ZjistiZarizeni("/dev/null").Duvod, "Zařízení /dev/null není sériový port.");
}

}  // namespace
