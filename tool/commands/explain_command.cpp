#include "tool/commands/explain_command.h"

#include <charconv>
#include <ostream>
#include <vector>

#include "authoring/quick_fixes.h"
#include "compiler/diagnostic_kinds.h"
#include "compiler/error_codes.h"
#include "compiler/record_kinds.h"
#include "formats/keywords.h"
#include "tool/commands/command_line.h"
#include "tool/reference/record_text.h"

namespace scenario {

namespace {

constexpr std::string_view kCommand = "explain";

constexpr std::string_view kHelp =
    "usage: scenario_tool explain CODE|IDENTIFIER|KEYWORD...\n"
    "\n"
    "Prints what a code that the compiler records means, its usual cause and\n"
    "the fix ('explain 16'); what a diagnostic of 'check' means, by the\n"
    "identifier in its brackets ('explain record-spans-lines'); or every value\n"
    "field of the record that a keyword selects ('explain stazione'). The same\n"
    "tables fill the format reference, docs/source-formats.md.\n"
    "\n"
    "  --help  this text\n"
    "\n"
    "Exit status: 0 explained; 64 usage error, such as a word that is none of\n"
    "the three.\n";

constexpr std::size_t kWidth = 79;

// What one word of the command line names.
struct Subject {
    const ErrorCodeInfo* code = nullptr;
    const DiagnosticKind* diagnostic = nullptr;
    std::vector<const RecordKind*> kinds;
};

const ErrorCodeInfo* code_named(std::string_view word) {
    std::int32_t code = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), code);
    if (error != std::errc() || end != word.data() + word.size()) return nullptr;
    return find_error_code(code);
}

bool is_word_of(const RecordKind& kind, std::string_view word, std::string_view kind_word) {
    if (kind_word.empty() || word.size() != kind_word.size()) return false;
    return kind.letters == WordCase::lower ? word == kind_word : contains_word(word, kind_word);
}

// The kinds that `word` selects as a keyword field would; failing that, the
// kinds of which it is one of the words ("progressiva", "sfondo").
std::vector<const RecordKind*> kinds_named(std::string_view word) {
    constexpr RecordBlock kBlocks[] = {RecordBlock::line_header, RecordBlock::line_body,
                                       RecordBlock::train};
    std::vector<const RecordKind*> kinds;
    for (const RecordBlock block : kBlocks) {
        for (const RecordKind& kind : record_kinds(block)) {
            if (selects(kind, word)) kinds.push_back(&kind);
        }
    }
    if (!kinds.empty()) return kinds;
    for (const RecordBlock block : kBlocks) {
        for (const RecordKind& kind : record_kinds(block)) {
            if (is_word_of(kind, word, kind.word) || is_word_of(kind, word, kind.also))
                kinds.push_back(&kind);
        }
    }
    return kinds;
}

Subject subject_of(std::string_view word) {
    Subject s;
    s.code = code_named(word);
    if (s.code == nullptr) s.diagnostic = find_diagnostic_kind(word);
    if (s.code == nullptr && s.diagnostic == nullptr) s.kinds = kinds_named(word);
    return s;
}

bool is_known(const Subject& s) {
    return s.code != nullptr || s.diagnostic != nullptr || !s.kinds.empty();
}

// `text` broken between words into lines of at most kWidth characters, the
// first after `first`, the others after `indent` blanks.
void put_wrapped(std::ostream& out, std::string_view first, std::string_view text,
                 std::size_t indent) {
    std::string line(first);
    bool line_has_word = false;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t space = text.find(' ', at);
        const std::size_t end = space == std::string_view::npos ? text.size() : space;
        const std::string_view word = text.substr(at, end - at);
        at = end + 1;
        if (word.empty()) continue;
        if (line_has_word && line.size() + 1 + word.size() > kWidth) {
            out << line << '\n';
            line.assign(indent, ' ');
            line_has_word = false;
        }
        if (line_has_word) line += ' ';
        line += word;
        line_has_word = true;
    }
    out << line << '\n';
}

void explain_code(const ErrorCodeInfo& info, std::ostream& out) {
    out << "code " << info.code << ": " << info.meaning << '\n';
    put_wrapped(out, "  ", "Reported with " + std::string(position_text(info)) + ".", 4);
    put_wrapped(out, "  Cause: ", info.cause, 4);
    put_wrapped(out, "  Fix: ", info.fix, 4);
}

void explain_diagnostic(const DiagnosticKind& kind, std::ostream& out) {
    put_wrapped(out,
                std::string(kind.name) + ": " + std::string(severity_name(kind.severity)) + ": ",
                kind.summary, 4);
    put_wrapped(out, "  ", kind.explanation, 2);
    const std::string_view fix = fix_description(kind.id);
    put_wrapped(out, "  Quick fix: ",
                fix.empty() ? "none; the repair is the author's." : std::string(fix) + ".", 4);
}

void explain_field(std::size_t number, const FieldInfo& f, std::string_view example,
                   std::ostream& out) {
    const std::string number_text = std::to_string(number);
    std::string head = std::string(f.name) + ": " + std::string(field_type_name(f.type));
    if (!f.unit.empty()) head += ", " + std::string(f.unit);
    head += ", " + range_text(f) + "; example ";
    head += example.empty() ? "empty" : std::string(example);
    put_wrapped(out, std::string(4 - number_text.size(), ' ') + number_text + "  ", head, 6);
    put_wrapped(out, "      ", f.meaning, 6);
    const std::string handling = handling_text(f);
    if (!handling.empty()) put_wrapped(out, "      The compiler: ", handling, 6);
}

void explain_kind(const RecordKind& kind, std::ostream& out) {
    put_wrapped(out, std::string(kind.name) + " (" + std::string(block_text(kind.block)) + "): ",
                kind.meaning, 4);
    put_wrapped(out, "  ", keyword_text(kind), 4);
    put_wrapped(out, "  Codes: ", codes_text(kind) + ".", 4);
    out << "  Example: " << kind.example << '\n';
    const std::vector<std::string> example = example_values(kind);
    for (std::size_t i = 0; i < kind.fields.size(); ++i)
        explain_field(i + 1, kind.fields[i], i < example.size() ? example[i] : "", out);
}

void explain(const Subject& s, std::ostream& out) {
    if (s.code != nullptr) return explain_code(*s.code, out);
    if (s.diagnostic != nullptr) return explain_diagnostic(*s.diagnostic, out);
    for (std::size_t i = 0; i < s.kinds.size(); ++i) {
        if (i > 0) out << '\n';
        explain_kind(*s.kinds[i], out);
    }
}

}  // namespace

int explain_command(std::span<const std::string> args, ToolContext& ctx) {
    ParsedArgs parsed;
    if (const auto done = parse_command(args, {}, kCommand, kHelp, ctx.out, ctx.err, &parsed))
        return *done;
    if (parsed.words.empty()) return usage_error(ctx.err, kCommand, "nothing named to explain");
    std::vector<Subject> subjects;
    for (const std::string& word : parsed.words) {
        subjects.push_back(subject_of(word));
        if (!is_known(subjects.back())) {
            return usage_error(ctx.err, kCommand,
                               "'" + word +
                                   "' is neither a recorded code, a diagnostic identifier nor "
                                   "a record keyword");
        }
    }
    for (std::size_t i = 0; i < subjects.size(); ++i) {
        if (i > 0) ctx.out << '\n';
        explain(subjects[i], ctx.out);
    }
    return kExitClean;
}

}  // namespace scenario
