#include "tool/features/formatting.h"

#include <string>

#include "authoring/source_format.h"
#include "tool/features/editor_range.h"

namespace scenario {

std::vector<lsp::TextEdit> formatting_edits(const EditorText& text, const SourceCheck& check,
                                            const std::optional<lsp::Range>& range) {
    const std::vector<BlankEdit> edits =
        range
            ? layout_edits(text.bytes(), check, text.offset(range->start), text.offset(range->end))
            : layout_edits(text.bytes(), check);
    std::vector<lsp::TextEdit> out;
    out.reserve(edits.size());
    for (const BlankEdit& e : edits)
        out.push_back({editor_range(text, e.begin, e.end), std::string(e.spaces, ' ')});
    return out;
}

}  // namespace scenario
