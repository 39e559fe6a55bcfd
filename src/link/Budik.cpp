#include "Budik.h"

#include <cstdint>
#include <sys/eventfd.h>
#include <unistd.h>

namespace vk::link {

TBudik::TBudik() : popisovac_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

TBudik::~TBudik()
{
    if (popisovac_ >= 0)
        ::close(popisovac_);
}

void TBudik::Zazvon() const
{
    // The counter only grows; a write that would overflow it fails, and the
    // descriptor is readable then anyway.
    const std::uint64_t jedna = 1;
    if (popisovac_ >= 0) {
        [[maybe_unused]] const ssize_t n = ::write(popisovac_, &jedna, sizeof jedna);
    }
}

void TBudik::Ztis() const
{
    std::uint64_t pocet = 0;
    if (popisovac_ >= 0) {
        [[maybe_unused]] const ssize_t n = ::read(popisovac_, &pocet, sizeof pocet);
    }
}

}  // namespace vk::link
