#pragma once
// Whole-file reads and atomic replacement of local files (Soubory = files).
// No exceptions: every failure is a result value.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

namespace vk::core {

// Outcome of a read (Cteni = reading).
enum class TCteni {
    Precteno,      // read
    Chybi,         // no file of that name
    NelzeOtevrit,  // exists, but cannot be opened
    NelzePrecist,  // opened, but reading failed (a folder, an I/O error)
};

// Reads (Cti = read) the start of a file, at most `nejvic` (= at most) bytes,
// into `obsah` (= content).
TCteni CtiSoubor(const std::filesystem::path& soubor, std::size_t nejvic, std::vector<std::uint8_t>& obsah);

// Writes (Zapis) the file atomically (Atomicky): replaces it with `obsah` so
// that a reader sees either the old or the new content, never a part: the
// bytes go to a temporary file in the same folder, are flushed to the disk
// and the temporary file is renamed over the target. An existing file keeps
// its permissions; a symbolic link keeps pointing at the replaced file. On
// failure the target is untouched and no temporary file is left behind.
bool ZapisSouborAtomicky(const std::filesystem::path& soubor, const std::uint8_t* obsah, std::size_t pocet);
bool ZapisSouborAtomicky(const std::filesystem::path& soubor, std::string_view obsah);

}  // namespace vk::core
