#include "JsonCteni.h"

#include <limits>

#include "ZnakoveTexty.h"

namespace vk::formy {

const TJson* TJson::Najdi(std::string_view klic) const
{
    for (const auto& [k, v] : Polozky) {
        if (k == klic)
            return &v;
    }
    return nullptr;
}

namespace {

// A hand-edited file may nest deeply by mistake; the recursion must not
// overflow the stack on it.
constexpr int MaxHloubka = 64;

class TCtecka {
public:
    explicit TCtecka(std::string_view text) : t_(text) {}

    bool Cti(TJson& koren, std::string& chyba)
    {
        if (!Hodnota(koren, 0))
            return Selhani(chyba);
        Mezery();
        if (i_ != t_.size()) {
            chyba_ = "text after the end of the JSON value";
            return Selhani(chyba);
        }
        return true;
    }

private:
    bool Selhani(std::string& chyba) const
    {
        chyba = "line " + std::to_string(radek_) + ": " + chyba_;
        return false;
    }

    bool Chyba(std::string text)
    {
        chyba_ = std::move(text);
        return false;
    }

    void Mezery()
    {
        while (i_ < t_.size() && (t_[i_] == ' ' || t_[i_] == '\t' || t_[i_] == '\n' || t_[i_] == '\r')) {
            if (t_[i_] == '\n')
                ++radek_;
            ++i_;
        }
    }

    bool Slovo(std::string_view slovo)
    {
        if (t_.substr(i_, slovo.size()) != slovo)
            return Chyba("unexpected character");
        i_ += slovo.size();
        return true;
    }

    bool Hodnota(TJson& h, int hloubka)
    {
        Mezery();
        h.Radek = radek_;
        if (i_ >= t_.size())
            return Chyba("unexpected end of the text");
        if (hloubka > MaxHloubka)
            return Chyba("nested deeper than " + std::to_string(MaxHloubka) + " levels");
        const char c = t_[i_];
        switch (c) {
        case '{':
            return Objekt(h, hloubka);
        case '[':
            return Pole(h, hloubka);
        case '"':
            h.Druh = TJson::TDruh::Retezec;
            return Retezec(h.Text);
        case 't':
            h.Druh = TJson::TDruh::Logicka;
            h.Logicka = true;
            return Slovo("true");
        case 'f':
            h.Druh = TJson::TDruh::Logicka;
            return Slovo("false");
        case 'n':
            h.Druh = TJson::TDruh::Null;
            return Slovo("null");
        default:
            h.Druh = TJson::TDruh::Cislo;
            return Cislo(h.Cislo);
        }
    }

    bool Objekt(TJson& h, int hloubka)
    {
        h.Druh = TJson::TDruh::Objekt;
        ++i_;
        Mezery();
        if (i_ < t_.size() && t_[i_] == '}') {
            ++i_;
            return true;
        }
        while (true) {
            Mezery();
            if (i_ >= t_.size())
                return Chyba("unexpected end of the text");
            if (t_[i_] != '"')
                return Chyba("expected a key in quotes");
            std::string klic;
            if (!Retezec(klic))
                return false;
            if (h.Najdi(klic) != nullptr)
                return Chyba("key \"" + klic + "\" given twice");
            Mezery();
            if (i_ >= t_.size() || t_[i_] != ':')
                return Chyba("expected ':' after a key");
            ++i_;
            TJson hodnota;
            if (!Hodnota(hodnota, hloubka + 1))
                return false;
            h.Polozky.emplace_back(std::move(klic), std::move(hodnota));
            Mezery();
            if (i_ < t_.size() && t_[i_] == ',') {
                ++i_;
                continue;
            }
            if (i_ < t_.size() && t_[i_] == '}') {
                ++i_;
                return true;
            }
            return Chyba("expected ',' or '}'");
        }
    }

    bool Pole(TJson& h, int hloubka)
    {
        h.Druh = TJson::TDruh::Pole;
        ++i_;
        Mezery();
        if (i_ < t_.size() && t_[i_] == ']') {
            ++i_;
            return true;
        }
        while (true) {
            TJson prvek;
            if (!Hodnota(prvek, hloubka + 1))
                return false;
            h.Prvky.push_back(std::move(prvek));
            Mezery();
            if (i_ < t_.size() && t_[i_] == ',') {
                ++i_;
                continue;
            }
            if (i_ < t_.size() && t_[i_] == ']') {
                ++i_;
                return true;
            }
            return Chyba("expected ',' or ']'");
        }
    }

    bool Cislo(std::int64_t& n)
    {
        const std::size_t zacatek = i_;
        const bool minus = t_[i_] == '-';
        if (minus)
            ++i_;
        if (i_ >= t_.size() || t_[i_] < '0' || t_[i_] > '9')
            return Chyba("unexpected character");
        if (t_[i_] == '0' && i_ + 1 < t_.size() && t_[i_ + 1] >= '0' && t_[i_ + 1] <= '9')
            return Chyba("a number with a leading zero");
        // Accumulated negative, so that the smallest int64 fits too.
        std::int64_t v = 0;
        for (; i_ < t_.size() && t_[i_] >= '0' && t_[i_] <= '9'; ++i_) {
            const int cifra = t_[i_] - '0';
            if (v < (std::numeric_limits<std::int64_t>::min() + cifra) / 10)
                return Chyba("number out of range: " + std::string(t_.substr(zacatek, i_ + 1 - zacatek)) + "...");
            v = v * 10 - cifra;
        }
        if (i_ < t_.size() && (t_[i_] == '.' || t_[i_] == 'e' || t_[i_] == 'E'))
            return Chyba("only whole numbers are used");
        if (!minus && v == std::numeric_limits<std::int64_t>::min())
            return Chyba("number out of range");
        n = minus ? v : -v;
        return true;
    }

    bool Ctyri(unsigned& kod)
    {
        kod = 0;
        for (int k = 0; k < 4; ++k, ++i_) {
            const int h = i_ < t_.size() ? common::HexCislice(t_[i_]) : -1;
            if (h < 0)
                return Chyba("\\u needs four hex digits");
            kod = kod * 16 + static_cast<unsigned>(h);
        }
        return true;
    }

    static void Utf8(std::string& s, unsigned kod)
    {
        if (kod < 0x80) {
            s += static_cast<char>(kod);
        } else if (kod < 0x800) {
            s += static_cast<char>(0xC0 | kod >> 6);
            s += static_cast<char>(0x80 | (kod & 0x3F));
        } else if (kod < 0x10000) {
            s += static_cast<char>(0xE0 | kod >> 12);
            s += static_cast<char>(0x80 | (kod >> 6 & 0x3F));
            s += static_cast<char>(0x80 | (kod & 0x3F));
        } else {
            s += static_cast<char>(0xF0 | kod >> 18);
            s += static_cast<char>(0x80 | (kod >> 12 & 0x3F));
            s += static_cast<char>(0x80 | (kod >> 6 & 0x3F));
            s += static_cast<char>(0x80 | (kod & 0x3F));
        }
    }

    bool Unicode(std::string& s)
    {
        unsigned kod = 0;
        if (!Ctyri(kod))
            return false;
        if (kod >= 0xDC00 && kod <= 0xDFFF)
            return Chyba("a lone low surrogate \\u escape");
        if (kod >= 0xD800 && kod <= 0xDBFF) {
            unsigned nizky = 0;
            if (t_.substr(i_, 2) != "\\u")
                return Chyba("a high surrogate \\u escape without its low half");
            i_ += 2;
            if (!Ctyri(nizky))
                return false;
            if (nizky < 0xDC00 || nizky > 0xDFFF)
                return Chyba("a high surrogate \\u escape without its low half");
            kod = 0x10000 + ((kod - 0xD800) << 10) + (nizky - 0xDC00);
        }
        Utf8(s, kod);
        return true;
    }

    // The length of a valid UTF-8 sequence starting at i_, 0 if invalid.
    std::size_t DelkaUtf8() const
    {
        const auto b = [&](std::size_t k) { return static_cast<unsigned char>(t_[i_ + k]); };
        const unsigned char c = b(0);
        std::size_t n = 0;
        unsigned min = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            n = 2;
            min = 0x80;
        } else if (c >= 0xE0 && c <= 0xEF) {
            n = 3;
            min = 0x800;
        } else if (c >= 0xF0 && c <= 0xF4) {
            n = 4;
            min = 0x10000;
        } else {
            return 0;
        }
        if (i_ + n > t_.size())
            return 0;
        unsigned kod = c & (0x7F >> n);
        for (std::size_t k = 1; k < n; ++k) {
            if ((b(k) & 0xC0) != 0x80)
                return 0;
            kod = kod << 6 | (b(k) & 0x3F);
        }
        if (kod < min || kod > 0x10FFFF || (kod >= 0xD800 && kod <= 0xDFFF))
            return 0;
        return n;
    }

    bool Retezec(std::string& s)
    {
        ++i_;
        while (true) {
            if (i_ >= t_.size())
                return Chyba("a string without its closing quote");
            const unsigned char c = static_cast<unsigned char>(t_[i_]);
            if (c == '"') {
                ++i_;
                return true;
            }
            if (c < 0x20)
                return Chyba("a control character inside a string (use \\n, \\t or \\u00NN)");
            if (c >= 0x80) {
                const std::size_t n = DelkaUtf8();
                if (n == 0)
                    return Chyba("a string that is not valid UTF-8");
                s.append(t_.substr(i_, n));
                i_ += n;
                continue;
            }
            if (c != '\\') {
                s += static_cast<char>(c);
                ++i_;
                continue;
            }
            if (++i_ >= t_.size())
                return Chyba("a string without its closing quote");
            const char e = t_[i_++];
            switch (e) {
            case '"':
                s += '"';
                break;
            case '\\':
                s += '\\';
                break;
            case '/':
                s += '/';
                break;
            case 'b':
                s += '\b';
                break;
            case 'f':
                s += '\f';
                break;
            case 'n':
                s += '\n';
                break;
            case 'r':
                s += '\r';
                break;
            case 't':
                s += '\t';
                break;
            case 'u':
                if (!Unicode(s))
                    return false;
                break;
            default:
                return Chyba(std::string("unknown escape \\") + e);
            }
        }
    }

    std::string_view t_;
    std::size_t i_ = 0;
    int radek_ = 1;
    std::string chyba_;
};

}  // namespace

bool CtiJson(std::string_view text, TJson& koren, std::string& chyba)
{
    koren = TJson{};
    return TCtecka(text).Cti(koren, chyba);
}

}  // namespace vk::formy
