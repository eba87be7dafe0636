#include "tool/json/json_reader.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "tool/json/json_writer.h"

namespace scenario {
namespace {

void put(JsonWriter& json, const JsonValue& v) {
    if (v.boolean() != nullptr) {
        json.boolean(*v.boolean());
    } else if (v.number() != nullptr) {
        v.number()->whole ? json.number(*v.number()->whole) : json.number(v.number()->value);
    } else if (v.string() != nullptr) {
        json.string(*v.string());
    } else if (v.array() != nullptr) {
        json.begin_array();
        for (const JsonValue& item : *v.array())
            put(json, item);
        json.end_array();
    } else if (v.object() != nullptr) {
        json.begin_object();
        for (const JsonMember& m : *v.object()) {
            json.key(m.key);
            put(json, m.value);
        }
        json.end_object();
    } else {
        json.null();
    }
}

// The value read back as compact JSON, or "error: ..." with the reason.
std::string read_back(std::string_view text, const JsonLimits& limits = {}) {
    std::string error;
    const std::optional<JsonValue> v = parse_json(text, &error, limits);
    if (!v) return "error: " + error;
    std::ostringstream out;
    JsonWriter json(out);
    put(json, *v);
    return out.str();
}

TEST(JsonReader, ReadsTheGrammarAndNothingMore) {
    struct Row {
        std::string_view text;
        std::string_view read;  // compact JSON, or the start of the error
    };
    const Row rows[] = {
        {R"( {"a" : [1, -2.5, 1e3, true, false, null, {}], "b":"" } )",
         R"({"a":[1,-2.5,1000,true,false,null,{}],"b":""})"},
        {"0", "0"},
        {"-0", "0"},
        {"9223372036854775807", "9223372036854775807"},
        // Past the 64-bit integers a number is still read, as a real.
        {"18446744073709551616", "18446744073709551616"},
        {"-1.5E-2", "-0.015"},
        {R"("\"\\\/\b\f\n\r\t")", R"("\"\\/\u0008\u000c\n\r\t")"},
        // Members keep their order; the first of a repeated name is found.
        {R"({"z":1,"a":2,"z":3})", R"({"z":1,"a":2,"z":3})"},
        {"", "error: a value is missing at byte 0"},
        {"[1,]", "error: not a JSON value at byte 3"},
        {"{\"a\":1,}", "error: a member name is missing at byte 7"},
        {"[1 2]", "error: ',' or ']' is missing in an array at byte 3"},
        {"{'a':1}", "error: a member name is missing at byte 1"},
        {"01", "error: more text after the value at byte 1"},
        {"1.", "error: a digit is missing after '.' at byte 2"},
        {"1e", "error: a digit is missing in an exponent at byte 2"},
        {"+1", "error: not a JSON value at byte 0"},
        {"NaN", "error: not a JSON value at byte 0"},
        {"tru", "error: not a JSON value at byte 0"},
        {"nul", "error: not a JSON value at byte 0"},
        {"{} {}", "error: more text after the value at byte 3"},
        {"// c\n1", "error: not a JSON value at byte 0"},
        {"\"abc", "error: a string is not closed at byte 4"},
        {"\"a\tb\"", "error: a control character in a string at byte 2"},
        {R"("\x")", "error: an unknown escape in a string at byte 2"},
        {R"("\u12zz")", "error: a \\u escape needs four hexadecimal digits at byte 3"},
        {R"("\u12)", "error: a \\u escape is cut short at byte 3"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(read_back(row.text).substr(0, row.read.size()), row.read) << row.text;
}

TEST(JsonReader, TextIsUtf8WithEscapesForAnyCharacter) {
    struct Row {
        std::string_view text;
        std::string_view value;  // the string's bytes, or "error"
    };
    const Row rows[] = {
        // UTF-8 passes through as it is: e grave, the euro sign, an emoji.
        {"\"caff\xC3\xA8 \xE2\x82\xAC \xF0\x9F\x9A\x82\"",
         "caff\xC3\xA8 \xE2\x82\xAC \xF0\x9F\x9A\x82"},
        {R"("caff\u00e8 \u20AC \ud83d\ude82")", "caff\xC3\xA8 \xE2\x82\xAC \xF0\x9F\x9A\x82"},
        {R"("\u0000")", std::string_view("\0", 1)},
        // A surrogate without its other half cannot be UTF-8: U+FFFD.
        {R"("\ud83d")", "\xEF\xBF\xBD"},
        {R"("\ude82\ud83d")", "\xEF\xBF\xBD\xEF\xBF\xBD"},
        {R"("\ud83d\u0041")",
         "\xEF\xBF\xBD"
         "A"},
        // Bytes that are no UTF-8: a Windows-1252 e grave, a cut sequence,
        // an over-long slash, an encoded surrogate.
        {"\"caff\xE8\"", "error"},
        {"\"\xE2\x82\"", "error"},
        {"\"\xC0\xAF\"", "error"},
        {"\"\xED\xA0\x80\"", "error"},
    };
    for (const Row& row : rows) {
        std::string error;
        const std::optional<JsonValue> v = parse_json(row.text, &error);
        if (row.value == "error") {
            EXPECT_FALSE(v) << row.text;
            EXPECT_NE(error.find("not UTF-8"), std::string::npos) << error;
            continue;
        }
        ASSERT_TRUE(v && v->string()) << row.text << ": " << error;
        EXPECT_EQ(*v->string(), row.value) << row.text;
    }
}

TEST(JsonReader, RefusesWhatPassesItsLimitsWithoutRecursingFurther) {
    const JsonLimits limits{.max_bytes = 1000, .max_depth = 4, .max_values = 10};
    EXPECT_EQ(read_back("[[[[1]]]]", limits), "[[[[1]]]]");
    EXPECT_EQ(read_back("[[[[[1]]]]]", limits), "error: nested deeper than 4 at byte 4");
    EXPECT_EQ(read_back(R"({"a":{"b":{"c":{"d":{}}}}})", limits),
              "error: nested deeper than 4 at byte 20");
    EXPECT_EQ(read_back("[1,2,3,4,5,6,7,8,9]", limits), "[1,2,3,4,5,6,7,8,9]");
    EXPECT_EQ(read_back("[1,2,3,4,5,6,7,8,9,10]", limits), "error: more than 10 values at byte 19");
    EXPECT_EQ(read_back("\"" + std::string(998, 'x') + "\"", limits).size(), 1000u);
    EXPECT_EQ(read_back("\"" + std::string(999, 'x') + "\"", limits),
              "error: the text is longer than 1000 bytes at byte 0");
    // The default depth stops a deep nesting long before the stack would.
    const std::string deep = std::string(100000, '[') + std::string(100000, ']');
    EXPECT_EQ(read_back(deep), "error: nested deeper than 64 at byte 64");
}

TEST(JsonReader, FindsMembersAndNaturalNumbers) {
    std::string error;
    const auto v = parse_json(R"({"line":3,"neg":-1,"real":2.5,"whole":2.0,"s":"x"})", &error);
    ASSERT_TRUE(v) << error;
    EXPECT_EQ(v->find("line")->natural(10), 3);
    EXPECT_EQ(v->find("line")->natural(2), std::nullopt);
    EXPECT_EQ(v->find("neg")->natural(10), std::nullopt);
    EXPECT_EQ(v->find("real")->natural(10), std::nullopt);
    EXPECT_EQ(v->find("whole")->natural(10), 2);
    EXPECT_EQ(v->find("s")->natural(10), std::nullopt);
    EXPECT_EQ(v->find("none"), nullptr);
    EXPECT_EQ(v->find("s")->find("x"), nullptr);
}

}  // namespace
}  // namespace scenario
