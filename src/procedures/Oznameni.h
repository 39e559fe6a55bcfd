#pragma once
// The status texts a procedure reports while it runs (Oznameni = notice), in
// the order a window shows them; the final text is also in the result.
#include <functional>
#include <string>
#include <string_view>

namespace vk::procedures {

// What every procedure that needs the module shows without a connection.
inline constexpr std::string_view TextBezPripojeni = " Připojení k zařízení není inicializováno.";
// What a poll of a polling window shows when all its reads succeeded.
inline constexpr std::string_view TextOK = " OK";

// What a window shows when its job ended by an unexpected exception (out
// of memory, say), followed by the exception's own text.
inline constexpr std::string_view TextNeocekavanaChyba = " Neočekávaná chyba: ";

using TOznameni = std::function<void(const std::string&)>;

// Calls oznam when one is installed (a caller may pass none).
inline void Oznam(const TOznameni& oznam, const std::string& text)
{
    if (oznam)
        oznam(text);
}

}  // namespace vk::procedures
