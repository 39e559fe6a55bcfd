#pragma once
// An INI file read and changed the way the classic profile functions do:
// section and key names match without regard to letter case (Czech letters
// included), a value replaces its key in place, a missing key joins the end
// of its section, a missing section goes to the end of the file, and every
// other line (other sections, keys, comments, blank lines) stays as it was.
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vk::core {

class TIniSoubor {  // INI file
public:
    // Takes the file's content. UTF-8 is taken as it is (a leading byte
    // order mark dropped); any other content is windows-1250, the 8-bit text
    // the Windows build of the program writes.
    void Rozeber(std::string_view obsah);  // parse

    // Reads the file; a missing file reads as empty. False when the file
    // exists but cannot be read; the content is then empty.
    bool Nacti(const std::filesystem::path& soubor);  // load

    // The value of a key with the blanks around it dropped, and one pair of
    // enclosing double or single quotes removed; nothing when the section or
    // the key is missing. The first matching section and key count.
    std::optional<std::string> Hodnota(std::string_view sekce, std::string_view klic) const;  // value

    void Nastav(std::string_view sekce, std::string_view klic, std::string_view hodnota);  // set

    // The content as it is written: UTF-8, the line ends the file had (LF for
    // a new file), a line end after the last line.
    std::string Text() const;

    // Replaces the file atomically with Text().
    bool Uloz(const std::filesystem::path& soubor) const;  // save

private:
    // Find (Najdi) a section's header line, the end (Konec) of a section, a
    // key.
    std::optional<std::size_t> NajdiSekci(std::string_view sekce) const;
    std::size_t KonecSekce(std::size_t hlavicka) const;
    std::optional<std::size_t> NajdiKlic(std::size_t hlavicka, std::string_view klic) const;

    std::vector<std::string> radky_;  // lines (radky), UTF-8, without line ends
    std::string konecRadku_ = "\n";   // line end
};

// True when two names are equal without regard to letter case: ASCII and the
// Latin letters with diacritics (Latin-1 and Latin Extended-A, which hold all
// Czech letters) are folded.
bool StejneNazvy(std::string_view a, std::string_view b);

}  // namespace vk::core
