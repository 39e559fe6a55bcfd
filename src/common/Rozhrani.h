#pragma once
// The interface a module is reached over (Rozhrani = interface). The
// values are those the settings file stores and the connection dialog's
// list shows in this order, so the fields keep them as plain integers.
#include <cstdint>

namespace vk::common {

enum TRozhrani : std::int32_t {
    RozhraniUART = 0,  // the serial line
    RozhraniLAN = 1,   // the network (TFTP)
};

}  // namespace vk::common
