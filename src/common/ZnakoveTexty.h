#pragma once
// Device text fields carry one character per byte (character code = byte
// value). Program texts are UTF-8. These two helpers are the only crossing
// between the two, so every layer converts the same way.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vk::common {

// Bytes to UTF-8: byte b becomes the character U+00bb; nothing is trimmed,
// zero bytes included.
std::string BajtyNaText(const std::uint8_t* bajty, std::size_t pocet);

// UTF-8 to bytes: the low 8 bits of each code point. Invalid UTF-8 sequences
// are taken byte by byte.
std::vector<std::uint8_t> TextNaBajty(std::string_view text);

// The code points of a UTF-8 text (lengths in characters count these).
std::vector<char32_t> ZnakyTextu(std::string_view text);

// One code point appended to a UTF-8 text.
void PridejZnak(std::string& text, char32_t znak);

// True when the whole text is valid UTF-8.
bool JePlatneUtf8(std::string_view text);

// Number of characters (code points) of a UTF-8 text.
std::size_t PocetZnaku(std::string_view text);

}  // namespace vk::common
