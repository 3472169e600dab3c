#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// UTF-8 and ASCII letter case, the same everywhere: no function here depends on the process's
// locale, which the window toolkit sets to the user's once it starts.
namespace zel::Text {

inline constexpr char32_t kReplacement = 0xFFFD;

// Decodes the code point at text[pos] (pos < text.size()). Nothing when the bytes there are not
// well-formed UTF-8 (a stray continuation byte, an overlong form, a surrogate, a value above
// U+10FFFF, a sequence cut short). length gets the bytes read: the whole sequence, or for
// malformed bytes their longest prefix that could have begun a sequence (at least one byte), so
// replacing each malformed run with U+FFFD consumes every byte exactly once, as Qt reads UTF-8.
inline std::optional<char32_t> decodeUtf8(std::string_view text, std::size_t pos, std::size_t& length)
{
    const auto b0 = static_cast<unsigned char>(text[pos]);
    length = 1;
    if (b0 < 0x80)
        return b0;
    int need = 0;
    char32_t cp = 0;
    unsigned char lo = 0x80;
    unsigned char hi = 0xBF;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        need = 1;
        cp = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        need = 2;
        cp = b0 & 0x0F;
        lo = b0 == 0xE0 ? 0xA0 : 0x80; // E0 80..9F would be overlong
        hi = b0 == 0xED ? 0x9F : 0xBF; // ED A0..BF would be a surrogate
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        need = 3;
        cp = b0 & 0x07;
        lo = b0 == 0xF0 ? 0x90 : 0x80; // F0 80..8F would be overlong
        hi = b0 == 0xF4 ? 0x8F : 0xBF; // F4 90.. would pass U+10FFFF
    } else {
        return std::nullopt;
    }
    for (int k = 0; k < need; ++k) {
        if (pos + length >= text.size())
            return std::nullopt;
        const auto b = static_cast<unsigned char>(text[pos + length]);
        if (b < lo || b > hi)
            return std::nullopt;
        lo = 0x80;
        hi = 0xBF;
        cp = (cp << 6) | (b & 0x3F);
        ++length;
    }
    return cp;
}

// Appends the UTF-8 bytes of code point cp (at most U+10FFFF) to out.
inline void appendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// True when the whole text is well-formed UTF-8 (the empty text is).
bool isValidUtf8(std::string_view text);

// c with A-Z turned into a-z; every other byte, those of UTF-8 sequences included, unchanged.
constexpr char toLowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// text with A-Z turned into a-z.
std::string lowerAscii(std::string_view text);

// True when a and b are equal once A-Z are turned into a-z.
bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b);

// The text with &, <, > and both quotes written as character references, so it can stand in
// element content or in an attribute value of either quote.
std::string escapeXml(std::string_view text);

} // namespace zel::Text
