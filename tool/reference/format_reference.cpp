#include "tool/reference/format_reference.h"

#include <algorithm>
#include <initializer_list>

#include "compiler/diagnostic_kinds.h"
#include "compiler/error_codes.h"
#include "compiler/record_kinds.h"
#include "tool/reference/record_text.h"

namespace scenario {

namespace {

constexpr std::string_view kBegin = "<!-- generated: ";
constexpr std::string_view kBeginClose = " -->";
constexpr std::string_view kEnd = "<!-- end generated -->";

// A table cell: the two characters that Markdown would take for markup
// inside a table are escaped.
std::string cell(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '|') {
            out += "\\|";
        } else if (c == '<') {
            out += "&lt;";
        } else {
            out += c;
        }
    }
    return out;
}

std::string code_span(std::string_view text) {
    return text.empty() ? "(empty)" : "`" + std::string(text) + "`";
}

std::string or_dash(std::string text) {
    return text.empty() ? "-" : text;
}

std::string row(const std::vector<std::string>& cells) {
    std::string out = "|";
    for (const std::string& c : cells)
        out += " " + cell(c) + " |";
    return out + "\n";
}

std::string words(const RecordKind& kind) {
    std::string text = code_span(kind.word);
    if (!kind.also.empty()) text += " and " + code_span(kind.also);
    return text;
}

// The keyword tests of one file, in order; the line file's are in two
// blocks, each tested on its own side of the first section title.
std::string keywords_table(std::initializer_list<RecordBlock> blocks) {
    const bool two_blocks = blocks.size() > 1;
    std::string out = two_blocks ? "| Order | Block " : "| Order ";
    out += "| Record | The keyword holds | Letter case | Value fields |\n";
    out += two_blocks ? "|--:|---" : "|--:";
    out += "|---|---|---|--:|\n";
    for (const RecordBlock block : blocks) {
        int order = 0;
        for (const RecordKind& kind : record_kinds(block)) {
            std::vector<std::string> cells = {std::to_string(++order)};
            if (two_blocks) cells.push_back(block == RecordBlock::line_header ? "header" : "body");
            cells.insert(cells.end(), {std::string(kind.name), words(kind),
                                       kind.letters == WordCase::lower ? "lower case" : "any",
                                       std::to_string(kind.fields.size())});
            out += row(cells);
        }
    }
    return out;
}

std::string fields_table(const RecordKind& kind) {
    std::string out =
        "| # | Field | Type | Unit | Range | In the example | Meaning | The compiler |\n"
        "|--:|---|---|---|---|---|---|---|\n";
    const std::vector<std::string> example = example_values(kind);
    for (std::size_t i = 0; i < kind.fields.size(); ++i) {
        const FieldInfo& f = kind.fields[i];
        out += row({std::to_string(i + 1), code_span(f.name), std::string(field_type_name(f.type)),
                    std::string(f.unit), range_text(f),
                    i < example.size() ? code_span(example[i]) : std::string(),
                    std::string(f.meaning), or_dash(handling_text(f))});
    }
    return out;
}

std::string record_part(const RecordKind& kind) {
    const bool train = kind.block == RecordBlock::train;
    std::string out = keyword_text(kind) + " Codes: " + codes_text(kind) + ".\n\n";
    out += example_is_embedded(kind)
               ? std::string("A row of the embedded ") + (train ? "train" : "line") + " file:\n\n"
               : "The embedded scenario has no such row; one written like its others:\n\n";
    out += "```text\n" + std::string(kind.example) + "\n```\n\n";
    return out + fields_table(kind);
}

std::string codes_part() {
    std::string out =
        "| Code | Meaning | Reported with | Usual cause | Fix |\n"
        "|--:|---|---|---|---|\n";
    for (const ErrorCodeInfo& info : error_codes()) {
        out +=
            row({std::to_string(info.code), std::string(info.meaning),
                 std::string(position_text(info)), std::string(info.cause), std::string(info.fix)});
    }
    return out;
}

std::string diagnostics_part() {
    std::string out =
        "| Identifier | Severity | Summary | Explanation |\n"
        "|---|---|---|---|\n";
    for (const DiagnosticKind& kind : diagnostic_kinds()) {
        out += row({code_span(kind.name), std::string(severity_name(kind.severity)),
                    std::string(kind.summary), std::string(kind.explanation)});
    }
    return out;
}

// Blank lines around the text keep it apart from the marker lines, which
// Markdown reads as HTML comments.
GeneratedPart part(std::string name, const std::string& text) {
    return {std::move(name), "\n" + text + "\n"};
}

// The next line of `text` from `*at`, its line end included; `*at` moves
// past it.
std::string_view next_line(std::string_view text, std::size_t* at) {
    const std::size_t eol = text.find('\n', *at);
    const std::size_t end = eol == std::string_view::npos ? text.size() : eol + 1;
    const std::string_view line = text.substr(*at, end - *at);
    *at = end;
    return line;
}

std::string_view without_line_end(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    return line;
}

// The name of a begin marker line; empty for any other line.
std::string_view begin_name(std::string_view line) {
    line = without_line_end(line);
    if (line.size() < kBegin.size() + kBeginClose.size() || !line.starts_with(kBegin) ||
        !line.ends_with(kBeginClose)) {
        return {};
    }
    return line.substr(kBegin.size(), line.size() - kBegin.size() - kBeginClose.size());
}

bool fail(std::string* error, std::string message) {
    *error = std::move(message);
    return false;
}

}  // namespace

std::vector<GeneratedPart> generated_parts() {
    std::vector<GeneratedPart> parts;
    parts.push_back(part("keywords of the line file",
                         keywords_table({RecordBlock::line_header, RecordBlock::line_body})));
    for (const RecordBlock block : {RecordBlock::line_header, RecordBlock::line_body}) {
        for (const RecordKind& kind : record_kinds(block))
            parts.push_back(part("record: " + std::string(kind.name), record_part(kind)));
    }
    parts.push_back(part("keywords of the train file", keywords_table({RecordBlock::train})));
    for (const RecordKind& kind : record_kinds(RecordBlock::train))
        parts.push_back(part("record: " + std::string(kind.name), record_part(kind)));
    parts.push_back(part("codes", codes_part()));
    parts.push_back(part("diagnostics", diagnostics_part()));
    return parts;
}

bool update_reference(std::string_view markdown, std::string* updated, std::string* error) {
    const std::vector<GeneratedPart> parts = generated_parts();
    std::vector<bool> written(parts.size(), false);
    std::string out;
    std::size_t at = 0;
    while (at < markdown.size()) {
        const std::string_view line = next_line(markdown, &at);
        if (without_line_end(line) == kEnd) return fail(error, "an end marker without its part");
        const std::string_view name = begin_name(line);
        out += line;
        if (name.empty()) continue;
        const auto part = std::find_if(parts.begin(), parts.end(),
                                       [&](const GeneratedPart& p) { return p.name == name; });
        if (part == parts.end()) return fail(error, "no part is named '" + std::string(name) + "'");
        const auto index = static_cast<std::size_t>(part - parts.begin());
        if (written[index]) return fail(error, "part '" + std::string(name) + "' stands twice");
        written[index] = true;
        out += part->text;
        std::string_view skipped;
        do {
            if (at == markdown.size())
                return fail(error, "part '" + std::string(name) + "' has no end marker");
            skipped = next_line(markdown, &at);
            if (!begin_name(skipped).empty())
                return fail(error, "part '" + std::string(name) + "' has no end marker");
        } while (without_line_end(skipped) != kEnd);
        out += skipped;
    }
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (!written[i]) return fail(error, "part '" + parts[i].name + "' is missing");
    }
    *updated = std::move(out);
    return true;
}

}  // namespace scenario
