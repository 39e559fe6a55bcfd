#pragma once
// Unit Platnost (= validity): the outcome of a validation, shared by the
// settings areas and the firmware file field.
#include <string>
#include <string_view>

namespace vk::procedures {

// What taking a window's controls into the record by their rules came to:
// all passed, or the message of the first control
// that did not. "Zapsat" and "Ok" go ahead only when all passed.
struct TPlatnost {
    bool Platne = true;  // every control passed its rule
    std::string Zprava;  // the first refusal's message; empty when all passed

    // The status text a window shows for it: one blank when all passed, the
    // message after a blank otherwise.
    std::string Status() const { return " " + Zprava; }
};

inline TPlatnost Platne()
{
    return {};
}
TPlatnost ChybaPole(std::string_view zprava);  // the refusal of one control (pole = field)

}  // namespace vk::procedures
