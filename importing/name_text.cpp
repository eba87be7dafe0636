#include "importing/name_text.h"

#include <cctype>
#include <cstdint>

namespace scenario::importing {

namespace {

// The next code point of `s` from `i`; U+FFFD for a broken sequence.
char32_t next_code_point(std::string_view s, std::size_t& i) {
    const auto b = static_cast<unsigned char>(s[i++]);
    if (b < 0x80) return b;
    int more = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : -1;
    if (more < 0) return 0xFFFD;
    char32_t c = b & (0x3F >> more);
    for (; more > 0; --more) {
        if (i >= s.size() || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return 0xFFFD;
        c = (c << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
    }
    return c;
}

// Latin Extended-A, U+0100 to U+017F, by pairs (capital, small): the base
// letter of each. Windows-1252 holds only Œ, Š, Ž and Ÿ of them.
constexpr char kExtendedA[] =
    "AAAAAACCCCCCCCDDDDEEEEEEEEEEGGGGGGGGHHHHIIIIIIIIIIJJJJKKKLLLLLLL"
    "LLLNNNNNNNNNOOOOOOOORRRRRRSSSSSSSSTTTTTTUUUUUUUUUUUUWWYYYZZZZZZS";

// One upper-case character in Windows-1252, or "" when it has none.
std::string upper_one(char32_t c) {
    if (c < 0x80) {
        if (c == ',') return " ";
        if (c < 0x20) return "";
        return std::string(1, static_cast<char>(std::toupper(static_cast<int>(c))));
    }
    if (c == 0xDF) return "SS";
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return std::string(1, static_cast<char>(c - 0x20));
    if (c == 0xFF || c == 0x178) return "\x9F";
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return std::string(1, static_cast<char>(c));
    if (c == 0x152 || c == 0x153) return "\x8C";
    if (c == 0x160 || c == 0x161) return "\x8A";
    if (c == 0x17D || c == 0x17E) return "\x8E";
    if (c >= 0x100 && c < 0x100 + sizeof kExtendedA - 1)
        return std::string(1, kExtendedA[c - 0x100]);
    if (c == 0x2013 || c == 0x2014) return "-";
    if (c == 0x2019 || c == 0x2018) return "'";
    if (c == 0xA0) return " ";
    return "";
}

}  // namespace

std::string upper_windows_1252(std::string_view utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();)
        out += upper_one(next_code_point(utf8, i));
    return out;
}

std::string ascii_identifier(std::string_view utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::string up = upper_one(next_code_point(utf8, i));
        for (char ch : up) {
            const auto u = static_cast<unsigned char>(ch);
            if (std::isalnum(u) && u < 0x80)
                out += ch;
            else if (u >= 0xC0)
                out += "AAAAAAACEEEEIIIIDNOOOOOxOUUUUYPs"[u - 0xC0];
            else if (!out.empty() && out.back() != '_')
                out += '_';
        }
    }
    while (!out.empty() && out.back() == '_')
        out.pop_back();
    return out;
}

}  // namespace scenario::importing
