#include "tool/view/view_request.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(ViewRequest, AnswersOnlyThePagesOwnPathsByGetFromItsOwnHost) {
    constexpr unsigned kPort = 8123;
    const struct {
        std::string_view method, target, host;
        int status;
        ViewPath path;
    } rows[] = {
        {"GET", "/", "127.0.0.1:8123", 200, ViewPath::page},
        {"GET", "/picture?from=10&to=20", "localhost:8123", 200, ViewPath::picture},
        {"GET", "/events", "LOCALHOST:8123", 200, ViewPath::events},
        {"GET", "/", "evil.example:8123", 403, {}},  // a rebound name
        {"GET", "/", "127.0.0.1:81234", 403, {}},    // another port that ends alike
        {"GET", "/", "x127.0.0.1:8123", 403, {}},
        {"GET", "/", "", 403, {}},
        {"POST", "/", "127.0.0.1:8123", 405, {}},
        {"get", "/", "127.0.0.1:8123", 405, {}},  // methods are case-sensitive
        {"GET", "/../etc/passwd", "127.0.0.1:8123", 404, {}},
        {"GET", "/%73tate", "127.0.0.1:8123", 404, {}},  // "/state", encoded
        {"GET", "/state/", "127.0.0.1:8123", 404, {}},
        {"GET", "http://127.0.0.1:8123/state", "127.0.0.1:8123", 404, {}},
        {"GET", "", "127.0.0.1:8123", 404, {}},
    };
    for (const auto& row : rows) {
        const ViewRequest r = view_request(row.method, row.target, row.host, kPort);
        EXPECT_EQ(r.status, row.status) << row.method << ' ' << row.target << " Host " << row.host;
        if (row.status == 200) {
            EXPECT_EQ(r.path, row.path) << row.target;
        }
    }
    EXPECT_EQ(view_request("GET", "/probe?at=5", "127.0.0.1:8123", kPort).query, "at=5");
}

TEST(ViewRequest, QueryNumbers) {
    const struct {
        std::string_view query, name;
        std::optional<double> value;
    } rows[] = {
        {"from=100&to=2000.5", "to", 2000.5}, {"from=-5", "from", -5},
        {"xfrom=1&from=2", "from", 2},  // a name is matched whole
        {"from=", "from", std::nullopt},      {"from=12abc", "from", std::nullopt},
        {"from=nan", "from", std::nullopt},   {"from=1e999", "from", std::nullopt},
        {"to=1", "from", std::nullopt},
    };
    for (const auto& row : rows)
        EXPECT_EQ(query_number(row.query, row.name), row.value) << row.query;
}

}  // namespace
}  // namespace scenario
