#include "OblastKonfigurace.h"

namespace vk::procedures {

int IndexPolozky(std::int32_t index, int pocet)
{
    return index >= 0 && index < pocet ? static_cast<int>(index) : -1;
}

bool PrevedVRozsahu(std::string_view text, std::int32_t min, std::int32_t max, std::int32_t& hodnota)
{
    std::int32_t v = 0;
    if (!core::PrevedNaCislo(text, v) || v < min || v > max)
        return false;
    hodnota = v;
    return true;
}

const char* NazevParity(std::int32_t kodParita)
{
    switch (link::ParitaKodu(kodParita)) {
    case link::TParita::Zadna:
        return "žádná";
    case link::TParita::Suda:
        return "sudá";
    case link::TParita::Licha:
        return "lichá";
    }
    return "";
}

namespace detail {

void Oznam(const TOznameni& oznam, const std::string& text)
{
    if (oznam)
        oznam(text);
}

}  // namespace detail
}  // namespace vk::procedures
