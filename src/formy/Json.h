#pragma once
// The JSON writer of the tool: one object per output, UTF-8, every string
// escaped so that any device text (zero bytes, control characters, bytes
// above 0x7F) stays valid JSON, and C0 and C1 control characters appear
// only as \u escapes.
#include <string>
#include <string_view>

#include "Hodnoty.h"

namespace vk::formy {

// A JSON string literal, quotes included. Invalid UTF-8 bytes are written as
// the code point of the byte (\u00NN), so the output is always valid.
std::string JsonRetezec(std::string_view utf8);

// The fields as one JSON object on one line, without a line end. A real
// number that is not finite is written as null.
std::string JsonObjekt(const TPolozky& polozky);

}  // namespace vk::formy
