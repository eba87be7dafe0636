#include "tool/features/inlay_hints.h"

#include <string>

#include "tool/features/source_outline.h"
#include "tool/features/timetable_notes.h"

namespace scenario {

std::vector<lsp::InlayHint> inlay_hints(const EditorText& text, const SourceCheck& check,
                                        EditorPosition start, EditorPosition end,
                                        const RouteRun* run) {
    std::vector<lsp::InlayHint> hints;
    for (const FieldLabel& label : field_labels(check, text.offset(start), text.offset(end))) {
        hints.push_back({text.position(label.offset), std::string(label.name) + ":",
                         lsp::InlayHintKind::parameter, true});
    }
    if (run == nullptr) return hints;
    for (lsp::InlayHint& hint : timetable_hints(text, check, *run, start, end))
        hints.push_back(std::move(hint));
    return hints;
}

}  // namespace scenario
