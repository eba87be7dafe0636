#include "tool/features/code_actions.h"

#include <tuple>

#include "tool/diagnostics/editor_diagnostics.h"
#include "tool/features/editor_range.h"
#include "tool/text/code_page.h"

namespace scenario {

namespace {

bool before(const lsp::Position& a, const lsp::Position& b) {
    return std::tie(a.line, a.character) < std::tie(b.line, b.character);
}

// Ranges touch when neither ends before the other begins: an editor asks
// with an empty range at the cursor, which may stand just past the
// underlined text.
bool touches(const lsp::Range& a, const lsp::Range& b) {
    return !before(a.end, b.start) && !before(b.end, a.start);
}

}  // namespace

std::vector<lsp::CodeAction> code_actions(std::span<const Diagnostic> diagnostics,
                                          const FixSources& sources, const CheckedDocument& doc,
                                          const lsp::Range& range) {
    const LocatedText located(doc.text);
    std::vector<Diagnostic> here;
    std::vector<lsp::Diagnostic> shown;
    for (const Diagnostic& d : diagnostics) {
        if (d.file != doc.kind || d.range.line <= 0) continue;
        lsp::Diagnostic editor = own_diagnostic(d, d.range, located);
        if (!touches(editor.range, range)) continue;
        here.push_back(d);
        shown.push_back(std::move(editor));
    }
    std::vector<lsp::CodeAction> out;
    for (const Fix& fix : quick_fixes(here, sources)) {
        if (fix.file != doc.kind) continue;
        lsp::CodeAction action{ansi_to_utf8(fix.title), {}, fix.certain, std::string(doc.uri), {}};
        for (const std::size_t i : fix.mends)
            if (i < shown.size()) action.diagnostics.push_back(shown[i]);
        for (const TextEdit& e : fix.edits)
            action.edits.push_back({editor_range(doc.text, e.begin, e.end), ansi_to_utf8(e.text)});
        out.push_back(std::move(action));
    }
    return out;
}

}  // namespace scenario
