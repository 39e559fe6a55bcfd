#pragma once
// Decoder of the windows-1250 code page (Central European), the 8-bit text
// of settings files written by the Windows build of the program.
#include <string>
#include <string_view>

namespace vk::core {

// windows-1250 bytes to UTF-8. The five byte values the code page leaves
// undefined (0x81, 0x83, 0x88, 0x90, 0x98) become the control characters of
// the same number, so no byte is lost.
std::string Win1250NaUtf8(std::string_view text);

}  // namespace vk::core
