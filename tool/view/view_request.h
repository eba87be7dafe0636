// Which requests the viewer answers, decided before anything is read: the
// page's own few paths, by GET, from a page that names this server as its
// host. No part of a URL ever reaches the file system.
#pragma once

#include <optional>
#include <string_view>

namespace scenario {

enum class ViewPath { page, state, picture, probe, events };

struct ViewRequest {
    int status = 200;  // 200, or the refusal: 403 foreign host, 405 not GET, 404 no such path
    ViewPath path = ViewPath::page;
    std::string_view query;  // after '?', empty when none
};

// `host` is the request's Host header, `port` the one the server listens
// on. The Host must be 127.0.0.1:PORT or localhost:PORT, so that a page of
// another site whose name was made to point here (DNS rebinding) is
// refused; the path must be one of the page's own, byte for byte, so that
// dot segments, encoded forms and absolute paths find nothing.
ViewRequest view_request(std::string_view method, std::string_view target, std::string_view host,
                         unsigned port);

// The number after `name=` in a query ("from=100&to=2000"); none when the
// name is absent or its value is not a finite number.
std::optional<double> query_number(std::string_view query, std::string_view name);

}  // namespace scenario
