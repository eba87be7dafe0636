#include "tool/text/code_page.h"

#include <array>
#include <cstdint>

namespace scenario {

namespace {

// Code points of the bytes 0x80 to 0x9F; the rest of Windows-1252 is the
// same as Latin-1. The undefined bytes 81, 8D, 8F, 90 and 9D map to themselves.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

constexpr char32_t kReplacement = 0xFFFD;

// Lead bytes of the multi-byte sequences: the range of the lead, the length
// of the sequence and the smallest code point it may carry (anything lower
// has a shorter form and is refused).
struct Lead {
    std::uint8_t first;
    std::uint8_t last;
    std::size_t length;
    char32_t smallest;
};
constexpr Lead kLeads[] = {{0xC2, 0xDF, 2, 0x80}, {0xE0, 0xEF, 3, 0x800}, {0xF0, 0xF4, 4, 0x10000}};

}  // namespace

std::size_t utf8_sequence(std::string_view text, std::size_t at, char32_t* c) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[at + i]); };
    if (byte(0) < 0x80) {
        *c = byte(0);
        return 1;
    }
    for (const Lead& lead : kLeads) {
        if (byte(0) < lead.first || byte(0) > lead.last) continue;
        if (at + lead.length > text.size()) return 0;
        char32_t v = byte(0) & (0x7F >> lead.length);
        for (std::size_t i = 1; i < lead.length; ++i) {
            if ((byte(i) & 0xC0) != 0x80) return 0;
            v = (v << 6) | (byte(i) & 0x3F);
        }
        const bool surrogate = v >= 0xD800 && v <= 0xDFFF;
        if (v < lead.smallest || v > 0x10FFFF || surrogate) return 0;
        *c = v;
        return lead.length;
    }
    return 0;
}

void append_utf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::optional<char> ansi_byte(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == c) return static_cast<char>(0x80 + i);
    }
    return std::nullopt;
}

std::string ansi_to_utf8(std::string_view ansi) {
    std::string out;
    out.reserve(ansi.size());
    for (char ch : ansi) {
        const auto b = static_cast<std::uint8_t>(ch);
        append_utf8(out, b >= 0x80 && b <= 0x9F ? kHighControls[b - 0x80] : char32_t{b});
    }
    return out;
}

std::string valid_utf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        char32_t ignored = 0;
        const std::size_t n = utf8_sequence(text, at, &ignored);
        if (n == 0) {
            append_utf8(out, kReplacement);
            ++at;
            continue;
        }
        out.append(text.substr(at, n));
        at += n;
    }
    return out;
}

std::string utf8_to_ansi(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        char32_t c = 0;
        const std::size_t n = utf8_sequence(utf8, at, &c);
        out += n == 0 ? '?' : ansi_byte(c).value_or('?');
        at += n == 0 ? 1 : n;
    }
    return out;
}

}  // namespace scenario
