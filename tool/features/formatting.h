// The layout of a source document as the editor's edits: the whole
// document, or the lines of a range.
#pragma once

#include <optional>
#include <vector>

#include "compiler/source_check.h"
#include "tool/lsp/editor_text.h"
#include "tool/lsp/protocol.h"

namespace scenario {

// The edits that lay out the records of `text` as `scenario_tool format`
// does, on the lines from `range`'s start to its end when there is one;
// none when it is laid out already.
std::vector<lsp::TextEdit> formatting_edits(const EditorText& text, const SourceCheck& check,
                                            const std::optional<lsp::Range>& range);

}  // namespace scenario
