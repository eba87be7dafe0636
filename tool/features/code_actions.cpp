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
                                          std::span<const Fix> fixes, const CheckedDocument& doc,
                                          const lsp::Range& range) {
    const LocatedText located(doc.text);
    std::vector<lsp::CodeAction> out;
    for (const Fix& fix : fixes) {
        if (fix.file != doc.kind) continue;
        lsp::CodeAction action{ansi_to_utf8(fix.title), {}, fix.certain, std::string(doc.uri), {}};
        bool here = false;
        for (const std::size_t i : fix.mends) {
            if (i >= diagnostics.size()) continue;
            const Diagnostic& d = diagnostics[i];
            action.diagnostics.push_back(own_diagnostic(d, d.range, located));
            here = here || touches(action.diagnostics.back().range, range);
        }
        if (!here) continue;
        for (const TextEdit& e : fix.edits)
            action.edits.push_back({editor_range(doc.text, e.begin, e.end), ansi_to_utf8(e.text)});
        out.push_back(std::move(action));
    }
    return out;
}

}  // namespace scenario
