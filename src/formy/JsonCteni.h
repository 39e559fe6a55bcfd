#pragma once
// The JSON reader of the tool (Cteni = reading): strict, for files the tool
// wrote and people may have edited. Objects, arrays, strings with every
// escape, integers, true, false, null; no real numbers, no comments, no
// trailing commas, no duplicate keys, valid UTF-8 only. Every value keeps
// the line it starts on, so that a refusal further up can name it.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vk::formy {

struct TJson {
    enum class TDruh { Null, Logicka, Cislo, Retezec, Pole, Objekt };  // Logicka = Boolean
    TDruh Druh = TDruh::Null;
    bool Logicka = false;
    std::int64_t Cislo = 0;
    std::string Text;                                    // Retezec: the string's UTF-8
    std::vector<TJson> Prvky;                            // Pole: the elements
    std::vector<std::pair<std::string, TJson>> Polozky;  // Objekt: keys in file order
    int Radek = 0;                                       // line the value starts on, from 1

    // The member `klic` of an object; null when there is none.
    const TJson* Najdi(std::string_view klic) const;
};

// Parses a whole text; false with "line N: what is wrong" otherwise.
bool CtiJson(std::string_view text, TJson& koren, std::string& chyba);

}  // namespace vk::formy
