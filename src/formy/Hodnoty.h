#pragma once
// Field values as the tool prints them (Hodnota = value, Polozka = named
// item): every field of a record becomes a named value in its text form, so
// that one tree feeds both outputs, the plain "name=value" lines and the
// JSON object.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vk::formy {

struct TPolozka;

struct THodnota {
    // Cislo = integer, Realne = real number, Retezec = string (texts,
    // addresses, hex, dates), Pole = array, Objekt = nested record.
    enum class TDruh { Cislo, Realne, Retezec, Pole, Objekt };
    TDruh Druh = TDruh::Retezec;
    std::string Text;  // Cislo and Retezec: the text form; Realne: formatted
    double Realne = 0;
    std::vector<THodnota> Prvky;    // elements of Pole
    std::vector<TPolozka> Polozky;  // fields of Objekt
};

struct TPolozka {
    std::string Nazev;  // the record's field name
    THodnota Hodnota;
};

using TPolozky = std::vector<TPolozka>;

THodnota Cislo(std::uint64_t n);
THodnota Realne(double x);
THodnota Retezec(std::string text);
THodnota Pole(std::vector<THodnota> prvky);
THodnota Objekt(TPolozky polozky);

// Byte arrays as lower-case hex, two digits per byte, no separator.
std::string NaHex(const std::uint8_t* bajty, std::size_t pocet);
// The inverse; false unless the text is exactly 2 * `pocet` hex digits.
bool ZHexu(std::string_view text, std::uint8_t* bajty, std::size_t pocet);

// A module date and time (8 bytes: ms LE, s, min, h, day, month, year - 2000)
// as "yyyy-mm-dd hh:mm:ss.mmm".
std::string TextRTC(const std::uint8_t* rtc8);
// A MAC address as six hex pairs joined by ":".
std::string TextMAC(const std::uint8_t* mac6);

// Plain form of a text: a backslash doubled, control characters (C0 below
// U+0020, U+007F and C1 U+0080 to U+009F) as \xNN, everything else
// unchanged; so a text with zero bytes or line breaks still stays on one
// line and no text can drive the terminal. A byte that is not valid UTF-8
// stands for the character of its value, as in the JSON output.
std::string EscapujText(std::string_view utf8);
// The inverse for values typed on the command line: \\ and \xNN; false for a
// lone backslash or a bad escape.
bool OdescapujText(std::string_view text, std::string& utf8);

// One line "name=value" per field; nested records as "outer.inner=value",
// arrays as comma-separated elements.
std::string VypisProsty(const TPolozky& polozky);

}  // namespace vk::formy
