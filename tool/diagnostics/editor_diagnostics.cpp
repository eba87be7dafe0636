#include "tool/diagnostics/editor_diagnostics.h"

#include "tool/text/code_page.h"

namespace scenario {

namespace {

constexpr std::string_view kSource = "scenario_tool";

lsp::DiagnosticSeverity severity_of(Severity s) {
    switch (s) {
        case Severity::error:
            return lsp::DiagnosticSeverity::error;
        case Severity::warning:
            return lsp::DiagnosticSeverity::warning;
        case Severity::note:
            break;
    }
    return lsp::DiagnosticSeverity::information;
}

std::string message_of(const Diagnostic& d) {
    return d.hint.empty() ? d.message : d.message + "\nhint: " + d.hint;
}

lsp::Diagnostic kind_of(const Diagnostic& d) {
    lsp::Diagnostic out;
    out.severity = severity_of(d.severity);
    out.code = std::string(diagnostic_kind(d.id).name);
    out.source = std::string(kSource);
    return out;
}

}  // namespace

lsp::Range LocatedText::range(const SourceRange& r) const {
    if (r.line <= 0) return {};  // the top: line 0 of any text
    if (!lines_) lines_.emplace(bytes_);
    if (editor_ == nullptr) editor_ = &made_.emplace(ansi_to_utf8(bytes_), encoding_);
    const std::size_t begin = lines_->offset({r.line, r.column});
    const std::size_t end = lines_->offset({r.end_line, r.end_column});
    return {editor_->position(begin), editor_->position(std::max(begin, end))};
}

lsp::Diagnostic own_diagnostic(const Diagnostic& d, const SourceRange& range,
                               const LocatedText& mine) {
    lsp::Diagnostic out = kind_of(d);
    out.range = mine.range(range);
    out.message = ansi_to_utf8(message_of(d));
    return out;
}

lsp::Diagnostic carried_diagnostic(const Diagnostic& d, const CarriedFile& other) {
    lsp::Diagnostic out = kind_of(d);
    std::string where(other.file);
    if (d.range.line > 0)
        where += ":" + std::to_string(d.range.line) + ":" + std::to_string(d.range.column);
    out.message = where + ": " + ansi_to_utf8(message_of(d));
    // A missing file has no place to point to.
    if (d.id != DiagnosticId::missing_source) {
        out.related.push_back(
            {lsp::Location{other.uri, other.text.range(d.range)}, ansi_to_utf8(d.message)});
    }
    return out;
}

}  // namespace scenario
