#include "importing/station_names.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace scenario::importing {

namespace {

// U+00C0 to U+00FF, lower case, one entry each; "*" marks the two
// characters folded to two letters or dropped (handled below).
constexpr std::string_view kLatin1 =
    "aaaaaa*ceeeeiiiidnooooo*ouuuuy**aaaaaa*ceeeeiiiidnooooo*ouuuuy*y";
// U+0100 to U+017F, the base letter of each (Latin Extended-A).
constexpr std::string_view kExtendedA =
    "aaaaaaccccccccddddeeeeeeeeeegggggggghhhhiiiiiiiiii**jjkkklllllll"
    "lllnnnnnnnnnoooooo**rrrrrrssssssssttttttuuuuuuuuuuuuwwyyyzzzzzzs";

constexpr std::uint32_t kBroken = 0xFFFD;

// The code point at `i`, and the index after it; a broken sequence reads
// as U+FFFD, which no name keeps.
std::uint32_t next_code_point(std::string_view s, std::size_t* i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = byte(*i);
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    if (extra > 0 && *i + static_cast<std::size_t>(extra) >= s.size()) {
        ++*i;
        return kBroken;
    }
    std::uint32_t cp = extra == 0 ? c : (c & (0x3F >> extra));
    for (int k = 1; k <= extra; ++k) {
        const unsigned char t = byte(*i + static_cast<std::size_t>(k));
        if ((t & 0xC0) != 0x80) {
            ++*i;
            return kBroken;
        }
        cp = (cp << 6) | (t & 0x3F);
    }
    *i += static_cast<std::size_t>(extra) + 1;
    return cp;
}

// The ASCII letters a Latin letter folds to, in lower case; empty when it
// is no letter that folds.
std::string_view folded(std::uint32_t cp) {
    switch (cp) {
        case 0xC6:
        case 0xE6:
            return "ae";
        case 0xDE:
        case 0xFE:
            return "th";
        case 0xDF:
            return "ss";
        case 0x132:
        case 0x133:
            return "ij";
        case 0x152:
        case 0x153:
            return "oe";
        default:
            break;
    }
    if (cp >= 0xC0 && cp <= 0xFF) {
        const std::string_view one = kLatin1.substr(cp - 0xC0, 1);
        return one == "*" ? std::string_view{} : one;
    }
    if (cp >= 0x100 && cp < 0x100 + kExtendedA.size()) {
        const std::string_view one = kExtendedA.substr(cp - 0x100, 1);
        return one == "*" ? std::string_view{} : one;
    }
    return {};
}

bool is_ascii_alnum(std::uint32_t cp) {
    return (cp >= '0' && cp <= '9') || (cp >= 'a' && cp <= 'z') || (cp >= 'A' && cp <= 'Z');
}

char lower(std::uint32_t cp) {
    return static_cast<char>(cp >= 'A' && cp <= 'Z' ? cp - 'A' + 'a' : cp);
}

}  // namespace

std::string normalised_name(std::string_view utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t start = i;
        const std::uint32_t cp = next_code_point(utf8, &i);
        if (is_ascii_alnum(cp)) {
            out += lower(cp);
        } else if (const std::string_view f = folded(cp); !f.empty()) {
            out += f;
        } else if (cp >= 0x250 && cp != kBroken && (cp < 0x2000 || cp > 0x206F)) {
            // Another script: its letters still tell names apart.
            out += utf8.substr(start, i - start);
        }
    }
    return out;
}

std::string ascii_name(std::string_view utf8) {
    std::string out;
    bool gap = false;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::uint32_t cp = next_code_point(utf8, &i);
        std::string piece;
        if (is_ascii_alnum(cp)) {
            piece = std::string(1, static_cast<char>(cp));
        } else if (const std::string_view f = folded(cp); !f.empty()) {
            piece = std::string(f);
            // An upper-case letter with an accent stays upper case.
            const bool upper =
                (cp >= 0xC0 && cp <= 0xDE) || (cp >= 0x100 && cp < 0x180 && cp % 2 == 0);
            if (upper) piece[0] = static_cast<char>(piece[0] - 'a' + 'A');
        }
        if (piece.empty()) {
            gap = true;
            continue;
        }
        if (gap && !out.empty()) out += '_';
        gap = false;
        out += piece;
    }
    return out;
}

}  // namespace scenario::importing
