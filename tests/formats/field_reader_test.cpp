#include "formats/field_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace scenario {
namespace {

TEST(FieldReader, SplitsTextFieldsAtCommasAndLineEnds) {
    using V = std::vector<std::string>;
    const struct {
        const char* text;
        V expected;
    } cases[] = {
        {"a,b\r\nc\r\n", V{"a", "b", "c"}},   // CR LF ends a line
        {"a,b\nc", V{"a", "b", "c"}},         // so does a bare LF
        {"  \tab c ,d", V{"ab c ", "d"}},     // leading blanks skipped, the rest kept
        {"a\r\n\r\nb\r\n", V{"a", "", "b"}},  // an empty line is one empty field
        {"a,\r\nb,", V{"a", "", "b", ""}},    // a comma always opens one more field
        {"\"x,y\"", V{"\"x", "y\""}},         // a double quote is an ordinary character
        {"", V{}},
    };
    for (const auto& c : cases) {
        FieldReader r(c.text);
        V got;
        std::string f;
        while (!r.at_end() && r.read_text(&f))
            got.push_back(f);
        EXPECT_EQ(got, c.expected) << c.text;
    }
}

TEST(FieldReader, ReadsNumbersByTheirSeparatorRules) {
    const struct {
        const char* text;
        std::vector<std::int32_t> expected;  // every field read as Long until the end
    } cases[] = {
        {"    0    ,0", {0, 0}},  // blanks, then a comma: one separator
        {"17              42            30 \r\n8", {17, 42, 30, 8}},  // no empty field at the end
        {"700,  65,  ,  ,0", {700, 65, 0, 0, 0}},                     // empty fields read 0
        {"5 ,\r\n7", {5, 0, 7}},  // blanks and comma, then an empty field
        {"-40,007", {-40, 7}},
        {"12abc,+5,-,1.5,\"3\",x 9", {0, 0, 0, 0, 0, 0, 9}},  // any other text reads 0
    };
    for (const auto& c : cases) {
        FieldReader r(c.text);
        std::vector<std::int32_t> got;
        std::int32_t v = -1;
        while (!r.at_end() && r.read_long(&v))
            got.push_back(v);
        EXPECT_TRUE(r.at_end()) << c.text;
        EXPECT_EQ(got, c.expected) << c.text;
    }
}

TEST(FieldReader, RefusesNumbersOutsideTheirDestination) {
    const struct {
        const char* text;
        bool byte, integer, lng;  // whether it fits Byte, Integer, Long
    } cases[] = {
        {"255", true, true, true},           {"256", false, true, true},
        {"-1", false, true, true},           {"-32768", false, true, true},
        {"32768", false, false, true},       {"-2147483648", false, false, true},
        {"2147483648", false, false, false}, {"99999999999999999999999", false, false, false},
    };
    for (const auto& c : cases) {
        std::uint8_t b = 7;
        std::int16_t i = 7;
        std::int32_t l = 7;
        EXPECT_EQ(FieldReader(c.text).read_byte(&b), c.byte) << c.text;
        EXPECT_EQ(FieldReader(c.text).read_integer(&i), c.integer) << c.text;
        EXPECT_EQ(FieldReader(c.text).read_long(&l), c.lng) << c.text;
        EXPECT_EQ(l == 7, !c.lng) << c.text;  // a refused read leaves its destination alone
    }
}

TEST(FieldReader, EndOfFileAndLines) {
    FieldReader r("[generale]\r\nlunghezza percorso,\n 2000\r\n");
    std::string t;
    std::int32_t v = 0;
    EXPECT_EQ(r.line(), 0);
    ASSERT_TRUE(r.read(&t));
    EXPECT_EQ(r.line(), 1);
    ASSERT_TRUE(r.read(&t, &v));  // a record may run over two lines
    EXPECT_EQ(v, 0);              // the empty field after the comma
    EXPECT_EQ(r.line(), 2);
    ASSERT_TRUE(r.read(&v));
    EXPECT_EQ(r.line(), 3);
    EXPECT_TRUE(r.at_end());  // right after the last field
    EXPECT_FALSE(r.read_text(&t));
    EXPECT_EQ(t, "lunghezza percorso");
    EXPECT_FALSE(FieldReader("").read_text(&t));
}

}  // namespace
}  // namespace scenario
