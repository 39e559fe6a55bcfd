#pragma once
// Progress (Prubeh) of a long transfer, reported by both links: bytes so far
// and the whole size (0 when the size is not known).
#include <cstdint>
#include <functional>

namespace vk::link {

using TPrubeh = std::function<void(std::uint64_t odeslano, std::uint64_t celkem)>;

}  // namespace vk::link
