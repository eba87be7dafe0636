// The format reference, docs/source-formats.md, against the program: its
// generated tables must be those of the program's tables, every code,
// diagnostic and record kind must be in it, `explain` must say what it
// says, and a reader written from its layout tables alone must read the
// builder's files.
#include "tool/reference/format_reference.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "../commands/tool_fixture.h"
#include "compiler/diagnostic_kinds.h"
#include "compiler/error_codes.h"
#include "compiler/record_kinds.h"
#include "support/embedded_build.h"

namespace scenario {
namespace {

using Row = std::vector<std::string>;

const std::string& reference() {
    static const std::string text = [] {
        std::ifstream in(SCENARIO_SOURCE_FORMATS, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }();
    return text;
}

std::string unescaped(std::string cell) {
    for (const auto& [from, to] :
         {std::pair<std::string, std::string>{"\\|", "|"}, {"&lt;", "<"}}) {
        for (std::size_t at = cell.find(from); at != std::string::npos; at = cell.find(from, at))
            cell.replace(at, from.size(), to);
    }
    if (cell.size() > 1 && cell.front() == '`' && cell.back() == '`')
        cell = cell.substr(1, cell.size() - 2);
    return cell;
}

// The cells of a Markdown table row, "| a | b |".
Row cells(const std::string& line) {
    Row row;
    std::string cell;
    for (std::size_t i = 1; i < line.size(); ++i) {
        if (line[i] == '\\' && i + 1 < line.size() && line[i + 1] == '|') {
            cell += "\\|";
            ++i;
        } else if (line[i] == '|') {
            const std::size_t b = cell.find_first_not_of(' ');
            const std::size_t e = cell.find_last_not_of(' ');
            row.push_back(unescaped(b == std::string::npos ? "" : cell.substr(b, e - b + 1)));
            cell.clear();
        } else {
            cell += line[i];
        }
    }
    return row;
}

// The body rows of the first table after `from` whose header row begins
// with `header`.
std::vector<Row> table(std::string_view header, std::size_t from = 0) {
    const std::string& doc = reference();
    std::vector<Row> rows;
    std::size_t at = doc.find("\n" + std::string(header), from);
    if (at == std::string::npos) return rows;
    at = doc.find('\n', doc.find('\n', at + 1) + 1);  // past the header and the rule
    while (at != std::string::npos && at + 1 < doc.size() && doc[at + 1] == '|') {
        const std::size_t end = doc.find('\n', at + 1);
        rows.push_back(cells(doc.substr(at + 1, end - at - 1)));
        at = end;
    }
    return rows;
}

std::size_t part_begins(const std::string& name) {
    return reference().find("<!-- generated: " + name + " -->");
}

std::string squeezed(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == ' ' || c == '\n') {
            if (!out.empty() && out.back() != ' ') out += ' ';
        } else {
            out += c;
        }
    }
    return out;
}

TEST(FormatReference, ItsTablesAreTheProgramsTables) {
    ASSERT_FALSE(reference().empty()) << "cannot read " << SCENARIO_SOURCE_FORMATS;
    std::string updated;
    std::string error;
    ASSERT_TRUE(update_reference(reference(), &updated, &error)) << error;
    EXPECT_TRUE(updated == reference())
        << "docs/source-formats.md is out of date: cmake --build --preset default --target "
           "source_formats_reference";
}

TEST(FormatReference, HoldsEveryCodeDiagnosticAndRecordKind) {
    // Every code the program can record, and the two fatal ones, by number.
    const std::vector<std::string> codes = {
        "1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",  "9",  "10",  "11",  "12",  "13",   "15",
        "16", "17", "18", "19", "20", "21", "22", "24", "25", "101", "102", "103", "1250", "1251"};
    std::vector<std::string> listed;
    for (const Row& r : table("| Code | Meaning"))
        listed.push_back(r[0]);
    EXPECT_EQ(listed, codes);
    std::vector<std::string> in_program;
    for (const ErrorCodeInfo& info : error_codes())
        in_program.push_back(std::to_string(info.code));
    EXPECT_EQ(in_program, codes);

    std::set<std::string> identifiers;
    for (const Row& r : table("| Identifier | Severity"))
        identifiers.insert(r[0]);
    for (const DiagnosticKind& kind : diagnostic_kinds())
        EXPECT_EQ(identifiers.count(std::string(kind.name)), 1u) << kind.name;
    EXPECT_EQ(identifiers.size(), diagnostic_kinds().size());

    // Every record kind the compilers dispatch on has its part, with its
    // keyword as written in the example row.
    for (const RecordBlock block :
         {RecordBlock::line_header, RecordBlock::line_body, RecordBlock::train}) {
        for (const RecordKind& kind : record_kinds(block)) {
            const std::size_t part = part_begins("record: " + std::string(kind.name));
            ASSERT_NE(part, std::string::npos) << kind.name;
            EXPECT_NE(reference().find("```text\n" + std::string(kind.example) + "\n", part),
                      std::string::npos)
                << kind.name;
        }
    }
}

// Every cell of a row of the reference is in what `explain` prints for it.
void expect_explained(testing::ToolRun& tool, const std::string& word, const Row& row,
                      std::size_t first_cell = 0) {
    ASSERT_EQ(tool.run({"explain", word}), kExitClean) << word << ": " << tool.err.str();
    const std::string said = squeezed(tool.out.str());
    for (std::size_t i = first_cell; i < row.size(); ++i) {
        std::string expected = row[i] == "(empty)" ? "empty" : row[i];
        if (expected == "-") continue;  // the compiler does nothing more
        EXPECT_NE(said.find(squeezed(expected)), std::string::npos)
            << "explain " << word << " does not say: " << expected << "\n"
            << said;
    }
}

TEST(FormatReference, ExplainSaysWhatTheReferenceSays) {
    testing::ToolRun tool;
    for (const Row& r : table("| Code | Meaning"))
        expect_explained(tool, r[0], r);
    for (const Row& r : table("| Identifier | Severity"))
        expect_explained(tool, r[0], r);
    for (const RecordBlock block :
         {RecordBlock::line_header, RecordBlock::line_body, RecordBlock::train}) {
        for (const RecordKind& kind : record_kinds(block)) {
            const std::string keyword(kind.example.substr(0, kind.example.find(',')));
            for (const Row& r :
                 table("| # | Field", part_begins("record: " + std::string(kind.name))))
                expect_explained(tool, keyword, r, 1);
        }
    }
}

// The parts are found by their names wherever they stand, and the text
// around them is kept; a broken reference is refused with the reason.
TEST(FormatReference, UpdatingKeepsTheHandWrittenTextAndRefusesBrokenMarkers) {
    std::string all;
    for (const GeneratedPart& part : generated_parts())
        all += "<!-- generated: " + part.name + " -->\n<!-- end generated -->\n";
    const std::string codes = "<!-- generated: codes -->\n<!-- end generated -->\n";
    const std::size_t at = all.find(codes);
    const std::string without_codes = all.substr(0, at) + all.substr(at + codes.size());
    const struct {
        std::string markdown;
        std::string error;  // empty: accepted
    } cases[] = {
        {"# Title\n\n" + without_codes + "text\n" + codes + "stale\n", ""},
        {without_codes, "part 'codes' is missing"},
        {all + codes, "part 'codes' stands twice"},
        {all + "<!-- generated: code -->\n<!-- end generated -->\n", "no part is named 'code'"},
        {without_codes + "<!-- generated: codes -->\n", "part 'codes' has no end marker"},
        {all + "<!-- end generated -->\n", "an end marker without its part"},
    };
    for (const auto& c : cases) {
        std::string updated;
        std::string error;
        EXPECT_EQ(update_reference(c.markdown, &updated, &error), c.error.empty()) << c.error;
        EXPECT_EQ(error, c.error);
        if (!c.error.empty()) continue;
        EXPECT_EQ(updated.rfind("# Title\n\n", 0), 0u);
        EXPECT_NE(updated.find("text\n<!-- generated: codes -->\n\n| Code |"), std::string::npos);
        EXPECT_NE(updated.find("<!-- end generated -->\nstale\n"), std::string::npos);
    }
}

// A record of a compiled file read with the reference's layout table: the
// offset and size of each field ("16 + n", "n"), its value little-endian.
struct LaidOutField {
    std::string name;
    std::size_t offset = 0;
    std::size_t size = 0;
};

std::vector<LaidOutField> layout(const std::string& heading, std::size_t n) {
    const auto number = [n](const std::string& text) {
        if (text == "n") return n;
        const std::size_t plus = text.find(" + n");
        return std::stoul(text.substr(0, plus)) + (plus == std::string::npos ? 0 : n);
    };
    std::vector<LaidOutField> fields;
    for (const Row& r : table("| Offset | Size | Field |", reference().find(heading))) {
        // "n, the length of `testo`" or "`tipo`, the object on the cell".
        const std::size_t tick = r[2].find('`');
        const std::string name = r[2].rfind("n,", 0) == 0
                                     ? "n"
                                     : r[2].substr(tick + 1, r[2].find('`', tick + 1) - tick - 1);
        fields.push_back({name, number(r[0]), number(r[1])});
    }
    return fields;
}

std::int64_t little_endian(std::string_view bytes, std::size_t at, std::size_t size) {
    std::uint64_t v = 0;
    for (std::size_t i = size; i-- > 0;)
        v = v << 8 | static_cast<unsigned char>(bytes[at + i]);
    // Only the 1-byte fields are unsigned.
    if (size == 2) return static_cast<std::int16_t>(v);
    if (size == 4) return static_cast<std::int32_t>(v);
    return static_cast<std::int64_t>(v);
}

// Each record's fields lie back to back and add up to its size.
void expect_contiguous(const std::vector<LaidOutField>& fields, std::size_t size) {
    std::size_t next = 0;
    for (const LaidOutField& f : fields) {
        EXPECT_EQ(f.offset, next) << f.name;
        next = f.offset + f.size;
    }
    EXPECT_EQ(next, size);
}

// The value of `name` in the record at `at`, read as the layout says.
std::int64_t read_field(const std::vector<LaidOutField>& fields, std::string_view bytes,
                        std::size_t at, const std::string& name) {
    for (const LaidOutField& f : fields) {
        if (f.name == name) return little_endian(bytes, at + f.offset, f.size);
    }
    ADD_FAILURE() << "no field " << name;
    return 0;
}

TEST(FormatReference, ItsLayoutTablesReadTheBuildersFiles) {
    testing::EmbeddedBuild& b = testing::embedded_build();
    const std::vector<LaidOutField> cell = layout("### Route file", 0);
    expect_contiguous(cell, 15);
    const struct {
        std::size_t cell;
        const char* field;
        std::int64_t value;
    } cells[] = {
        {1, "dato1", 5121},  {1, "dato2", 2374},    {1, "velocita", 6},    {1, "aderenza", 100},
        {9, "tipo", 10},     {9, "dato1", 1},       {15, "tipo", 6},       {15, "dato1", 1300},
        {15, "dato3", 1500}, {15, "pendenza", 106}, {47, "galleria", 2},   {419, "tipo", 1},
        {419, "dato1", 50},  {419, "dato4", 3},     {419, "pendenza", 92},
    };
    ASSERT_EQ(b.route().size(), 32415u);
    for (const auto& c : cells)
        EXPECT_EQ(read_field(cell, b.route(), 15 * c.cell, c.field), c.value) << c.cell << c.field;

    // The table's records differ in length: each is read to find the next.
    const std::string& sim = b.table();
    std::vector<std::vector<LaidOutField>> records;
    std::vector<std::size_t> starts;
    std::size_t at = 0;
    for (int i = 0; i < 87; ++i) {
        ASSERT_LE(at + 16, sim.size());
        const auto n = static_cast<std::size_t>(
            read_field(layout("### Scenario table file", 0), sim, at, "n"));
        records.push_back(layout("### Scenario table file", n));
        expect_contiguous(records.back(), 34 + n);
        starts.push_back(at);
        at += 34 + n;
    }
    EXPECT_EQ(at, sim.size());
    EXPECT_EQ(sim.size(), 4406u);
    const struct {
        std::size_t record;
        const char* field;
        std::int64_t value;
    } entries[] = {
        {1, "tipo", 8},         {1, "valore1", -500},    {1, "byte2", 1},
        {1, "valore4", 63780},  {84, "valore2", 101000}, {84, "valore3", 3},
        {85, "valore1", 65650}, {85, "numero1", 610},    {85, "valore4", 32703},
        {86, "numero1", 300},   {86, "numero5", 30},
    };
    for (const auto& e : entries) {
        EXPECT_EQ(read_field(records[e.record], sim, starts[e.record], e.field), e.value)
            << e.record << e.field;
    }
    for (const auto& [record, text] : {std::pair<std::size_t, std::string>{1, "ALVENA P.NUOVA"},
                                       {80, "(  BIVIO   )(MORTELLETO)"},
                                       {85, "Alvena_Sorbio"},
                                       {86, "4271"}}) {
        EXPECT_EQ(sim.substr(starts[record] + 16, text.size()), text);
        EXPECT_EQ(read_field(records[record], sim, starts[record], "n"), text.size());
    }
}

}  // namespace
}  // namespace scenario
