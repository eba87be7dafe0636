// What the run of the train adds to a train document in the editor: over a
// station row's time, the earliest time the train can keep and the margin;
// at the end of every stop row, the fastest run from the stop before and
// the margin.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "compiler/source_check.h"
#include "running/route_run.h"
#include "tool/lsp/editor_text.h"
#include "tool/lsp/protocol.h"

namespace scenario {

// The run's word on the station whose time fields hold `offset`; nothing
// elsewhere, or for a station the run does not reach.
std::optional<std::string> timetable_note(const SourceCheck& check, const RouteRun& run,
                                          std::size_t offset);

// One hint at the end of each stop row that ends from `start` to `end`.
std::vector<lsp::InlayHint> timetable_hints(const EditorText& text, const SourceCheck& check,
                                            const RouteRun& run, EditorPosition start,
                                            EditorPosition end);

}  // namespace scenario
