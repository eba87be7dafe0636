#include "tool/view/view_request.h"

#include <charconv>
#include <cmath>
#include <string>

namespace scenario {

namespace {

struct NamedPath {
    std::string_view path;
    ViewPath is;
};

constexpr NamedPath kPaths[] = {
    {"/", ViewPath::page},       {"/state", ViewPath::state},   {"/picture", ViewPath::picture},
    {"/probe", ViewPath::probe}, {"/events", ViewPath::events},
};

bool same_letters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

bool own_host(std::string_view host, unsigned port) {
    const std::string suffix = ":" + std::to_string(port);
    if (host.size() <= suffix.size() || host.substr(host.size() - suffix.size()) != suffix)
        return false;
    const std::string_view name = host.substr(0, host.size() - suffix.size());
    return name == "127.0.0.1" || same_letters(name, "localhost");
}

}  // namespace

ViewRequest view_request(std::string_view method, std::string_view target, std::string_view host,
                         unsigned port) {
    ViewRequest r;
    if (!own_host(host, port)) {
        r.status = 403;
        return r;
    }
    if (method != "GET") {
        r.status = 405;
        return r;
    }
    const std::size_t mark = target.find('?');
    const std::string_view path = target.substr(0, mark);
    if (mark != std::string_view::npos) r.query = target.substr(mark + 1);
    for (const NamedPath& p : kPaths) {
        if (p.path == path) {
            r.path = p.is;
            return r;
        }
    }
    r.status = 404;
    return r;
}

std::optional<double> query_number(std::string_view query, std::string_view name) {
    while (!query.empty()) {
        const std::size_t amp = query.find('&');
        const std::string_view pair = query.substr(0, amp);
        query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
        const std::size_t eq = pair.find('=');
        if (eq == std::string_view::npos || pair.substr(0, eq) != name) continue;
        const std::string_view value = pair.substr(eq + 1);
        double v = 0;
        const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), v);
        if (ec != std::errc() || end != value.data() + value.size() || !std::isfinite(v))
            return std::nullopt;
        return v;
    }
    return std::nullopt;
}

}  // namespace scenario
