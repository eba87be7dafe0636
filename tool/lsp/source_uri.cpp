#include "tool/lsp/source_uri.h"

#include "output/file_names.h"
#include "tool/text/percent_encoding.h"

namespace scenario {

namespace {

constexpr std::string_view kFileScheme = "file://";
constexpr std::string_view kLocalhost = "localhost";

int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool has_scheme(std::string_view uri, std::string_view scheme) {
    if (uri.size() < scheme.size()) return false;
    for (std::size_t i = 0; i < scheme.size(); ++i) {
        const char c = uri[i];
        const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        if (lower != scheme[i]) return false;
    }
    return true;
}

// "%41" is "A"; a "%" not followed by two hexadecimal digits stays as it is.
std::string percent_decoded(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size()) {
            const int high = hex_digit(s[i + 1]);
            const int low = hex_digit(s[i + 2]);
            if (high >= 0 && low >= 0) {
                out += static_cast<char>(high * 16 + low);
                i += 2;
                continue;
            }
        }
        out += s[i];
    }
    return out;
}

bool is_drive(std::string_view s) {
    return s.size() >= 2 && s[1] == ':' &&
           ((s[0] >= 'A' && s[0] <= 'Z') || (s[0] >= 'a' && s[0] <= 'z'));
}

bool ends_with(std::string_view s, std::string_view suffix) {
    return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

}  // namespace

std::optional<std::string> file_uri_path(std::string_view uri) {
    if (!has_scheme(uri, kFileScheme)) return std::nullopt;
    uri.remove_prefix(kFileScheme.size());
    // A query or a fragment names no other file.
    uri = uri.substr(0, uri.find_first_of("?#"));
    const std::size_t slash = uri.find('/');
    if (slash == std::string_view::npos) return std::nullopt;
    const std::string_view host = uri.substr(0, slash);
    std::string path = percent_decoded(uri.substr(slash));
    if (path.find('\0') != std::string::npos) return std::nullopt;
    if (!host.empty() && host != kLocalhost) return "//" + percent_decoded(host) + path;
    if (is_drive(std::string_view(path).substr(1))) path.erase(0, 1);
    return path;
}

SourceName source_name(std::string_view path) {
    SourceName name;
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string_view::npos) return name;
    name.folder = std::string(path.substr(0, slash));
    name.file = std::string(path.substr(slash + 1));
    const std::string_view file = name.file;
    if (ends_with(file, kLineaSuffix) && file.size() > kLineaSuffix.size()) {
        name.kind = SourceKind::linea;
        name.nome_linea = std::string(file.substr(0, file.size() - kLineaSuffix.size()));
        return name;
    }
    if (!ends_with(file, kTrenoSuffix)) return name;
    const std::string_view stem = file.substr(0, file.size() - kTrenoSuffix.size());
    const std::size_t last = stem.find_last_of('_');
    if (last == std::string_view::npos || last == 0 || last + 1 == stem.size()) return name;
    name.kind = SourceKind::treno;
    name.nome_linea = std::string(stem.substr(0, last));
    name.numero_treno = std::string(stem.substr(last + 1));
    return name;
}

std::string sibling_uri(std::string_view uri, std::string_view file) {
    return std::string(uri.substr(0, uri.find_last_of('/') + 1)) + percent_encoded(file);
}

}  // namespace scenario
