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

// One character of a UTF-8 text as read at a position (Znak = character).
struct TZnakUtf8 {
    char32_t Znak = 0;      // the code point; for a broken sequence, its first byte's value
    std::size_t Delka = 0;  // the bytes it takes, at least 1
    bool Platny = false;    // valid: shortest form, at most U+10FFFF, no surrogate
};

// Reads the character that begins at text[i] (i < text.size()); the one
// UTF-8 decoder of the program. A broken sequence takes only the bytes that
// belong to it: one for a stray continuation byte or a byte that begins no
// sequence, the lead byte and the continuation bytes that can follow it for
// a sequence cut short; so every valid character after it reads as it stands.
TZnakUtf8 CtiZnak(std::string_view text, std::size_t i);

// The code points of a UTF-8 text (lengths in characters count these).
std::vector<char32_t> ZnakyTextu(std::string_view text);

// One code point appended to a UTF-8 text.
void PridejZnak(std::string& text, char32_t znak);

// True when the whole text is valid UTF-8.
bool JePlatneUtf8(std::string_view text);

// Number of characters (code points) of a UTF-8 text.
std::size_t PocetZnaku(std::string_view text);

// The value of a hexadecimal digit (0-9, a-f, A-F); -1 for another
// character.
int HexCislice(char c);

}  // namespace vk::common
