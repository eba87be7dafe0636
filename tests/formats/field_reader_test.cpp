#include "formats/field_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace scenario {
namespace {

// Reads every field of `text` as text, as a keyword loop does.
std::vector<std::string> all_text_fields(std::string_view text) {
    FieldReader r(text);
    std::vector<std::string> fields;
    std::string f;
    while (!r.at_end() && r.read_text(&f))
        fields.push_back(f);
    return fields;
}

TEST(FieldReader, SplitsTextFieldsAtCommasAndLineEnds) {
    using V = std::vector<std::string>;
    const struct {
        const char* text;
        V expected;
    } cases[] = {
        {"a,b\r\nc\r\n", V{"a", "b", "c"}},   // CR LF ends a line
        {"a,b\nc\n", V{"a", "b", "c"}},       // so does a bare LF
        {"  \tab c ,d", V{"ab c ", "d"}},     // leading blanks skipped, inner and trailing kept
        {"a\r\n\r\nb\r\n", V{"a", "", "b"}},  // an empty line is one empty field
        {"a,\r\nb", V{"a", "", "b"}},         // a line end closes the field after a comma
        {"a,", V{"a", ""}},                   // a final comma still opens a field
        {"\"x,y\"", V{"\"x", "y\""}},         // a double quote is an ordinary character
        {"- note, more\r\n", V{"- note", "more"}},  // comment pieces are fields of their own
        {"", V{}},                                  // nothing at all
    };
    for (const auto& c : cases)
        EXPECT_EQ(all_text_fields(c.text), c.expected) << c.text;
}

TEST(FieldReader, ReadsNumbersByTheirSeparatorRules) {
    const struct {
        const char* text;
        std::vector<std::int32_t> expected;  // every field read as Long until the end
    } cases[] = {
        {"    0    ,0", {0, 0}},                     // blanks, then a comma: one separator
        {"1 2 3\r\n", {1, 2, 3}},                    // blanks alone separate numbers
        {"700,  65,  ,  ,0", {700, 65, 0, 0, 0}},    // empty fields read 0
        {"5 ,\r\n7", {5, 0, 7}},                     // blanks then comma, then an empty field
        {"-40,007", {-40, 7}},                       // sign and leading zeros
        {"12abc,+5,-,1.5,x 9", {0, 0, 0, 0, 0, 9}},  // any other text reads 0
        {"17              42            30 \r\n8",
         {17, 42, 30, 8}},    // trailing blanks: no empty field
        {"\"3\",4", {0, 4}},  // quotes make a field non-numeric
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
    // Each row: the text, then whether it fits Byte, Integer and Long.
    const struct {
        const char* text;
        bool byte, integer, lng;
    } cases[] = {
        {"255", true, true, true},
        {"256", false, true, true},
        {"-1", false, true, true},
        {"32767", false, true, true},
        {"-32768", false, true, true},
        {"32768", false, false, true},
        {"-32769", false, false, true},
        {"2147483647", false, false, true},
        {"-2147483648", false, false, true},
        {"2147483648", false, false, false},
        {"-2147483649", false, false, false},
        {"99999999999999999999999", false, false, false},  // far beyond any field
    };
    for (const auto& c : cases) {
        std::uint8_t b = 7;
        std::int16_t i = 7;
        std::int32_t l = 7;
        EXPECT_EQ(FieldReader(c.text).read_byte(&b), c.byte) << c.text;
        EXPECT_EQ(FieldReader(c.text).read_integer(&i), c.integer) << c.text;
        EXPECT_EQ(FieldReader(c.text).read_long(&l), c.lng) << c.text;
        // A refused read leaves the destination alone.
        if (!c.byte) {
            EXPECT_EQ(b, 7) << c.text;
        }
        if (!c.lng) {
            EXPECT_EQ(l, 7) << c.text;
        }
    }
}

TEST(FieldReader, EndOfFileComesRightAfterTheLastField) {
    FieldReader r("[generale]\r\nlunghezza percorso, 2000\r\n");
    std::string t;
    std::int32_t v = 0;
    EXPECT_FALSE(r.at_end());
    ASSERT_TRUE(r.read(&t));
    ASSERT_TRUE(r.read(&t, &v));
    EXPECT_EQ(v, 2000);
    EXPECT_TRUE(r.at_end());
    // A read with no field left is a failure and changes nothing.
    EXPECT_FALSE(r.read_text(&t));
    EXPECT_EQ(t, "lunghezza percorso");
    EXPECT_FALSE(r.read_long(&v));

    EXPECT_TRUE(FieldReader("").at_end());
    EXPECT_FALSE(FieldReader("").read_text(&t));
}

TEST(FieldReader, NamesTheLineOfTheFieldJustRead) {
    FieldReader r("a,b\r\n\nc 1 ,\n  2\r\nd");
    std::string t;
    std::int32_t v = 0;
    EXPECT_EQ(r.line(), 0);
    const struct {
        bool text;
        std::int32_t line;
    } steps[] = {
        {true, 1},   // a
        {true, 1},   // b
        {true, 2},   // the empty line
        {false, 3},  // "c" read as a number
        {false, 3},  // 1
        {false, 3},  // the empty field after the comma begins on line 3
        {false, 4},  // 2
        {true, 5},   // d
    };
    for (const auto& s : steps) {
        ASSERT_TRUE(s.text ? r.read_text(&t) : r.read_long(&v));
        EXPECT_EQ(r.line(), s.line);
    }
    EXPECT_TRUE(r.at_end());
}

}  // namespace
}  // namespace scenario
