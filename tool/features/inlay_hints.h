// The name labels of a source document's value fields.
#pragma once

#include <vector>

#include "compiler/source_check.h"
#include "running/route_run.h"
#include "tool/lsp/editor_text.h"
#include "tool/lsp/protocol.h"

namespace scenario {

// One label per value field that begins from `start` to `end`; with the
// train's `run`, the fastest run and the margin at the end of each stop row.
std::vector<lsp::InlayHint> inlay_hints(const EditorText& text, const SourceCheck& check,
                                        EditorPosition start, EditorPosition end,
                                        const RouteRun* run = nullptr);

}  // namespace scenario
