#include <optional>
#include <ostream>

#include "formats/source_lines.h"
#include "tool/diagnostics/diagnostic_output.h"
#include "tool/text/code_page.h"

namespace scenario {

namespace {

// Terminal colours, as compilers use them.
constexpr std::string_view kBold = "\x1b[1m";
constexpr std::string_view kReset = "\x1b[0m";
constexpr std::string_view kRed = "\x1b[1;31m";
constexpr std::string_view kMagenta = "\x1b[1;35m";
constexpr std::string_view kCyan = "\x1b[1;36m";
constexpr std::string_view kGreen = "\x1b[1;32m";

std::string_view colour_of(Severity severity) {
    switch (severity) {
        case Severity::error:
            return kRed;
        case Severity::warning:
            return kMagenta;
        case Severity::note:
            break;
    }
    return kCyan;
}

std::string plural(int n, std::string_view word) {
    return std::to_string(n) + " " + std::string(word) + (n == 1 ? "" : "s");
}

class Painter {
  public:
    Painter(std::ostream& out, bool colour) : out_(out), colour_(colour) {}
    void put(std::string_view colour, std::string_view text) {
        if (colour_) out_ << colour;
        out_ << text;
        if (colour_) out_ << kReset;
    }

  private:
    std::ostream& out_;
    bool colour_;
};

// Blanks up to the range, keeping the line's tabs so that the caret lines
// up under any tab width, then a caret and a tilde for each further byte.
std::string caret_line(std::string_view line, const SourceRange& r) {
    std::string caret;
    const auto start = static_cast<std::size_t>(r.column - 1);
    for (std::size_t i = 0; i < start && i < line.size(); ++i)
        caret += line[i] == '\t' ? '\t' : ' ';
    std::size_t end =
        r.end_line == r.line ? static_cast<std::size_t>(r.end_column - 1) : line.size();
    caret += '^';
    for (std::size_t i = start + 1; i < end; ++i)
        caret += '~';
    return caret;
}

}  // namespace

const std::string& diagnosed_path(const Diagnostic& d, const DiagnosedFiles& files) {
    switch (d.file) {
        case SourceKind::linea:
            return files.linea_path;
        case SourceKind::treno:
            return files.treno_path;
        case SourceKind::stock:
            return files.stock_path;
        case SourceKind::card:
            return files.card_path;
        case SourceKind::none:
            break;
    }
    return files.scenario_name;
}

std::string_view diagnosed_text(const Diagnostic& d, const DiagnosedFiles& files) {
    switch (d.file) {
        case SourceKind::linea:
            return files.linea_text;
        case SourceKind::treno:
            return files.treno_text;
        case SourceKind::stock:
            return files.stock_text;
        case SourceKind::card:
            return files.card_text;
        case SourceKind::none:
            break;
    }
    return {};
}

DiagnosticCounts count_diagnostics(std::span<const Diagnostic> diagnostics) {
    DiagnosticCounts counts;
    for (const Diagnostic& d : diagnostics) {
        switch (d.severity) {
            case Severity::error:
                ++counts.errors;
                break;
            case Severity::warning:
                ++counts.warnings;
                break;
            case Severity::note:
                ++counts.notes;
                break;
        }
    }
    return counts;
}

void print_diagnostics_text(std::span<const Diagnostic> diagnostics, const DiagnosedFiles& files,
                            bool colour, bool closing, std::ostream& out) {
    const SourceLines linea(files.linea_text);
    const SourceLines treno(files.treno_text);
    Painter paint(out, colour);
    for (const Diagnostic& d : diagnostics) {
        std::optional<SourceLines> aside;
        if (d.file == SourceKind::stock || d.file == SourceKind::card)
            aside.emplace(diagnosed_text(d, files));
        const SourceLines* lines = d.file == SourceKind::linea   ? &linea
                                   : d.file == SourceKind::treno ? &treno
                                   : aside                       ? &*aside
                                                                 : nullptr;
        std::string where = diagnosed_path(d, files);
        if (d.range.line > 0) {
            where += ":" + std::to_string(d.range.line) + ":" + std::to_string(d.range.column);
        }
        paint.put(kBold, where + ":");
        out << ' ';
        paint.put(colour_of(d.severity), std::string(severity_name(d.severity)) + ":");
        out << ' ' << ansi_to_utf8(d.message) << " [" << diagnostic_kind(d.id).name << "]\n";
        if (lines != nullptr && d.range.line > 0) {
            const std::string_view line = lines->line(d.range.line);
            out << ansi_to_utf8(line) << '\n';
            paint.put(kGreen, caret_line(line, d.range));
            out << '\n';
        }
        if (!d.hint.empty()) out << "  hint: " << ansi_to_utf8(d.hint) << '\n';
    }
    if (!closing) return;
    const DiagnosticCounts n = count_diagnostics(diagnostics);
    out << plural(n.errors, "error") << ", " << plural(n.warnings, "warning");
    if (n.notes > 0) out << ", " << plural(n.notes, "note");
    out << '\n';
}

}  // namespace scenario
