#include "tool/features/inlay_hints.h"

#include <string>

#include "tool/features/source_outline.h"

namespace scenario {

std::vector<lsp::InlayHint> inlay_hints(const EditorText& text, const SourceCheck& check,
                                        EditorPosition start, EditorPosition end) {
    std::vector<lsp::InlayHint> hints;
    for (const FieldLabel& label : field_labels(check, text.offset(start), text.offset(end))) {
        hints.push_back({text.position(label.offset), std::string(label.name) + ":",
                         lsp::InlayHintKind::parameter, true});
    }
    return hints;
}

}  // namespace scenario
