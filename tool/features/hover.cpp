#include "tool/features/hover.h"

#include "tool/features/editor_range.h"
#include "tool/features/field_hover.h"

namespace scenario {

std::optional<lsp::Hover> hover(const EditorText& text, const SourceCheck& check, EditorPosition at,
                                bool markdown) {
    std::optional<HoverNote> note = hover_note(text.bytes(), check, text.offset(at), markdown);
    if (!note) return std::nullopt;
    return lsp::Hover{markdown, std::move(note->text),
                      editor_range(text, note->span.begin, note->span.end)};
}

}  // namespace scenario
