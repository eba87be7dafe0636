#include "tool/text/percent_encoding.h"

namespace scenario {

namespace {

bool unreserved(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

bool is_letter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

}  // namespace

std::string percent_encoded(std::string_view text, std::string_view keep) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (unreserved(c) || keep.find(c) != std::string_view::npos) {
            out += c;
        } else {
            const auto b = static_cast<unsigned char>(c);
            out += '%';
            out += kHex[b >> 4];
            out += kHex[b & 0xF];
        }
    }
    return out;
}

std::string path_uri(std::string_view path) {
    std::string slashed(path);
    for (char& c : slashed) {
        if (c == '\\') c = '/';
    }
    const std::string_view p = slashed;
    // A drive letter's colon is part of the path, not a scheme.
    if (p.size() >= 2 && is_letter(p[0]) && p[1] == ':' && (p.size() == 2 || p[2] == '/'))
        return "file:///" + std::string(p.substr(0, 2)) + percent_encoded(p.substr(2), "/");
    if (p.substr(0, 2) == "//") return "file:" + percent_encoded(p, "/");
    if (!p.empty() && p.front() == '/') return "file://" + percent_encoded(p, "/");
    return percent_encoded(p, "/");
}

}  // namespace scenario
