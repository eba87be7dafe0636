#include "tool/json/json_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>

#include "tool/text/code_page.h"

namespace scenario {
namespace {

TEST(JsonWriter, PlacesCommasAndNestsContainers) {
    std::ostringstream out;
    JsonWriter json(out);
    json.begin_object();
    json.key("a");
    json.number(std::int64_t{-9007199254740993});
    json.key("b");
    json.begin_array();
    json.begin_object();
    json.end_object();
    json.null();
    json.begin_array();
    json.end_array();
    json.end_array();
    json.key("c");
    json.number(2);
    json.end_object();
    EXPECT_EQ(out.str(), R"({"a":-9007199254740993,"b":[{},null,[]],"c":2})");
}

TEST(JsonWriter, EscapesStringsAndKeepsThemValidUtf8) {
    struct Row {
        std::string_view input;
        bool ansi;  // Windows-1252 text of a compiled file, else UTF-8
        std::string_view json;
    };
    const Row rows[] = {
        {"say \"hi\"\\", false, R"("say \"hi\"\\")"},
        {"a\r\nb\tc", false, R"("a\r\nb\tc")"},
        {std::string_view("\x01\x1F\x7F", 3), false, R"("\u0001\u001f\u007f")"},
        // A NUL byte inside a text is kept and escaped, not taken as its end.
        {std::string_view("a\0b", 3), false, R"("a\u0000b")"},
        {"caff\xC3\xA8", false, "\"caff\xC3\xA8\""},
        // A byte that begins no UTF-8 sequence, a cut sequence, an over-long form.
        {"a\xFF"
         "b",
         false,
         "\"a\xEF\xBF\xBD"
         "b\""},
        {"\xC3", false, "\"\xEF\xBF\xBD\""},
        {"\xC0\xAF", false, "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},
        // Windows-1252: e grave, the euro sign, an undefined byte kept as U+0081.
        {"caff\xE8", true, "\"caff\xC3\xA8\""},
        {"\x80 5", true, "\"\xE2\x82\xAC 5\""},
        {"\x81", true, "\"\xC2\x81\""},
        {"(S. BIAGIO)", true, "\"(S. BIAGIO)\""},
    };
    for (const Row& row : rows) {
        std::ostringstream out;
        JsonWriter json(out);
        row.ansi ? json.ansi_string(row.input) : json.string(row.input);
        EXPECT_EQ(out.str(), row.json) << row.json;
    }
}

TEST(JsonWriter, DoublesReadBackExactlyAndNonFiniteOnesAreNull) {
    struct Row {
        double value;
        std::string_view json;
    };
    const Row rows[] = {
        {0.0, "0"},
        {651.999996, "651.999996"},
        {3346.5970528544544, "3346.5970528544544"},  // 17 digits are needed here
        {-0.5, "-0.5"},
        {1e300, "1e+300"},
        {std::numeric_limits<double>::quiet_NaN(), "null"},
        {-std::numeric_limits<double>::infinity(), "null"},
    };
    for (const Row& row : rows) {
        std::ostringstream out;
        JsonWriter json(out);
        json.number(row.value);
        EXPECT_EQ(out.str(), row.json);
    }
}

}  // namespace
}  // namespace scenario
