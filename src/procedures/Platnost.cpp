#include "Platnost.h"

namespace vk::procedures {

TPlatnost ChybaPole(std::string_view zprava)
{
    return {false, std::string(zprava)};
}

}  // namespace vk::procedures
