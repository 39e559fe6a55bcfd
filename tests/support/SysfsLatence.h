#pragma once
// A folder standing in for /sys that shows a USB adapter's latency timer for
// a serial device, installed where the serial port looks for it while the
// object lives (sysfs latence = latency in sysfs). Header-only: it needs
// the link library, which the helpers shared by every test folder do not
// link.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "SerialPort.h"

namespace vk::test {

class TSysfsLatence {
public:
    TSysfsLatence()
        : koren_(std::filesystem::temp_directory_path() / ("vk_sysfs_" + std::to_string(::getpid()) + "_" +
                                                           std::to_string(reinterpret_cast<std::uintptr_t>(this))))
    {
        std::filesystem::create_directories(koren_);
        vk::link::SerialPort::NastavKorenSysfs(koren_);
    }
    ~TSysfsLatence()
    {
        vk::link::SerialPort::NastavKorenSysfs({});
        std::error_code chyba;
        std::filesystem::remove_all(koren_, chyba);
    }
    TSysfsLatence(const TSysfsLatence&) = delete;
    TSysfsLatence& operator=(const TSysfsLatence&) = delete;

    // The file's text for `zarizeni`, filed under the name of the device it
    // leads to, as the system files it.
    void Ukaz(const std::string& zarizeni, const std::string& obsah) const
    {
        const std::filesystem::path slozka =
            koren_ / "class" / "tty" / std::filesystem::canonical(zarizeni).filename() / "device";
        std::filesystem::create_directories(slozka);
        std::ofstream(slozka / "latency_timer") << obsah;
    }

private:
    std::filesystem::path koren_;
};

}  // namespace vk::test
