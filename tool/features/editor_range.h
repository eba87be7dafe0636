// A stretch of a document's bytes as the editor's range.
#pragma once

#include <algorithm>
#include <cstddef>

#include "tool/lsp/editor_text.h"
#include "tool/lsp/protocol.h"

namespace scenario {

// From `begin` to `end`, or an empty range at `begin` when `end` lies before it.
inline lsp::Range editor_range(const EditorText& text, std::size_t begin, std::size_t end) {
    return {text.position(begin), text.position(std::max(begin, end))};
}

}  // namespace scenario
