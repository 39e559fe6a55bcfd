// Any bytes through the trace's two decodings: neither may read outside the
// frame or datagram, and each gives one line (no line break of its own), so
// a trace line can never be split by what a peer sent.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "Stopa.h"

namespace {

void JedenRadek(const std::string& popis)
{
    if (popis.empty() || popis.find('\n') != std::string::npos || popis.find('\r') != std::string::npos)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    JedenRadek(vk::link::PopisRamceRTU(data, size, true));
    JedenRadek(vk::link::PopisRamceRTU(data, size, false));
    JedenRadek(vk::link::PopisDatagramuTFTP(data, size));
    return 0;
}
