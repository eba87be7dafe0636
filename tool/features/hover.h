// The hover over a place of a source document.
#pragma once

#include <optional>

#include "compiler/source_check.h"
#include "running/route_run.h"
#include "tool/lsp/editor_text.h"
#include "tool/lsp/protocol.h"

namespace scenario {

// The note on the field under `at`; nothing where no record's field lies.
// Over a station's time, the train's `run`, when there is one, adds the
// earliest time and the margin.
std::optional<lsp::Hover> hover(const EditorText& text, const SourceCheck& check, EditorPosition at,
                                bool markdown, const RouteRun* run = nullptr);

}  // namespace scenario
