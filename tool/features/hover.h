// The hover over a place of a source document.
#pragma once

#include <optional>

#include "compiler/source_check.h"
#include "tool/lsp/editor_text.h"
#include "tool/lsp/protocol.h"

namespace scenario {

// The note on the field under `at`; nothing where no record's field lies.
std::optional<lsp::Hover> hover(const EditorText& text, const SourceCheck& check, EditorPosition at,
                                bool markdown);

}  // namespace scenario
