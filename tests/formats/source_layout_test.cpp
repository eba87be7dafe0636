// Where the reader says each field lies, how lines and columns are counted,
// and the layout steps that the compilers and the checks share.
#include "formats/source_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/source_lines.h"

namespace scenario {
namespace {

TEST(FieldReader, GivesEachFieldsSpanAndTheLineOfTheNext) {
    struct Span {
        std::size_t begin, end;
        std::int32_t next_line;
    };
    const struct {
        const char* text;
        bool numbers;  // every field read as a Long, else as text
        std::vector<Span> spans;
    } cases[] = {
        // Leading blanks are not part of a field; a text keeps its trailing ones.
        {"ab,  cd \r\nef", false, {{0, 2, 1}, {5, 8, 2}, {10, 12, 2}}},
        // A number ends before its blanks; blanks then a comma are one separator.
        {" 17   42 , 3\n", true, {{1, 3, 1}, {6, 8, 1}, {11, 12, 2}}},
        // An empty field is an empty span where it stands.
        {"a,,b", false, {{0, 1, 1}, {2, 2, 1}, {3, 4, 1}}},
        // A lone CR is text: only CR LF and LF end a line.
        {"a\rb\nc", false, {{0, 3, 2}, {4, 5, 2}}},
    };
    for (const auto& c : cases) {
        FieldReader r(c.text);
        for (const Span& want : c.spans) {
            std::string text;
            std::int32_t number = 0;
            ASSERT_TRUE(c.numbers ? r.read_long(&number) : r.read_text(&text)) << c.text;
            EXPECT_EQ(r.last_field().begin, want.begin) << c.text;
            EXPECT_EQ(r.last_field().end, want.end) << c.text;
            EXPECT_EQ(r.next_line(), want.next_line) << c.text;
        }
        EXPECT_TRUE(r.at_end()) << c.text;
    }
}

TEST(DecimalText, TellsNumbersFromTextThatReadsZero) {
    const struct {
        const char* token;
        bool is_number;
        std::int64_t value;
    } cases[] = {
        {"120", true, 120}, {"-3", true, -3},
        {"007", true, 7},   {"7O", false, 0},
        {"12.5", false, 0}, {"1.000", false, 0},
        {"-", false, 0},    {"", false, 0},
        {"+5", false, 0},   {"99999999999", true, 99999999999},
    };
    for (const auto& c : cases) {
        const DecimalText d = decimal_text(c.token);
        EXPECT_EQ(d.is_number, c.is_number) << c.token;
        EXPECT_EQ(d.value, c.value) << c.token;
    }
}

TEST(SourceLines, CountsLinesAsTheReaderDoes) {
    const SourceLines lines("ab\r\ncd\ne\rf\r\n");
    EXPECT_EQ(lines.count(), 3);
    EXPECT_EQ(lines.line(1), "ab");
    EXPECT_EQ(lines.line(3), "e\rf");
    EXPECT_EQ(lines.line(4), "");
    const struct {
        std::size_t offset;
        std::int32_t line, column;
    } cases[] = {
        {0, 1, 1}, {2, 1, 3},  // the CR of a line end is just past the line
        {3, 1, 3}, {4, 2, 1},  {7, 3, 1},
        {9, 3, 3}, {12, 3, 4}, {99, 3, 4},  // the end of the text, and past it
    };
    for (const auto& c : cases) {
        EXPECT_EQ(lines.at(c.offset).line, c.line) << c.offset;
        EXPECT_EQ(lines.at(c.offset).column, c.column) << c.offset;
    }
    EXPECT_EQ(SourceLines("").count(), 1);
    EXPECT_EQ(SourceLines("x").at(1).column, 2);
}

// The header block passes over ten comment fields without an end test, the
// body two, with one: the field after them is a keyword, even a comment.
TEST(ReadKeyword, PassesOverCommentsAsEachBlockAllows) {
    const struct {
        const char* text;
        CommentRule rule;
        KeywordRead read;
        const char* riga;
        int skipped;
    } cases[] = {
        {"- a\r\n- b\r\n- c\r\nx\r\n", kBodyComments, KeywordRead::keyword, "- c", 2},
        {"- a\r\n- b\r\n- c\r\nx\r\n", kHeaderComments, KeywordRead::keyword, "x", 3},
        {"- a\r\nx", kBodyComments, KeywordRead::end, "x", 1},
        {"- a\r\nx", kHeaderComments, KeywordRead::keyword, "x", 1},
        {"- a\r\n- b", kHeaderComments, KeywordRead::fail, "- b", 2},
        {"x", kBodyComments, KeywordRead::end, "x", 0},
    };
    for (const auto& c : cases) {
        FieldReader r(c.text);
        std::string riga;
        CommentTrace trace;
        EXPECT_EQ(read_keyword(r, &riga, c.rule, &trace), c.read) << c.text;
        EXPECT_EQ(riga, c.riga) << c.text;
        EXPECT_EQ(trace.count, c.skipped) << c.text;
    }
}

TEST(SkipPreamble, StopsAtGeneraleUnlessItEndsTheFile) {
    const struct {
        const char* text;
        Preamble result;
    } cases[] = {
        {"x\r\n[GENERALE]\r\ny\r\n", Preamble::found},
        {"x\r\n[generale]\r\n", Preamble::end},  // the last field is never examined
        {"x\r\ny\r\n", Preamble::end},
        {"", Preamble::fail},
    };
    for (const auto& c : cases) {
        FieldReader r(c.text);
        std::string riga;
        EXPECT_EQ(skip_preamble(r, &riga), c.result) << c.text;
    }
}

}  // namespace
}  // namespace scenario
