#include "tool/features/hover.h"

#include "tool/features/editor_range.h"
#include "tool/features/field_hover.h"
#include "tool/features/timetable_notes.h"

namespace scenario {

std::optional<lsp::Hover> hover(const EditorText& text, const SourceCheck& check, EditorPosition at,
                                bool markdown, const RouteRun* run) {
    const std::size_t offset = text.offset(at);
    std::optional<HoverNote> note = hover_note(text.bytes(), check, offset, markdown);
    if (!note) return std::nullopt;
    if (run != nullptr) {
        if (const std::optional<std::string> times = timetable_note(check, *run, offset))
            note->text += "\n\n" + *times;
    }
    return lsp::Hover{markdown, std::move(note->text),
                      editor_range(text, note->span.begin, note->span.end)};
}

}  // namespace scenario
