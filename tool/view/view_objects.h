// The objects an author placed along the route, each with the source file
// and line that placed it, read off the compiler's walk through the two
// sources: what the viewer names under the cursor.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/source_check.h"

namespace scenario {

struct ViewObject {
    double from = 0;    // metres, as the source writes them
    double to = 0;      // the end of a tunnel; `from` for anything else
    std::string label;  // UTF-8: "signal at 20900 m", "station VALMEDRA at 4100 m",
                        // "tunnel from 4250 m to 4600 m"
    std::string file;   // the path of the source file
    std::int32_t line = 0;
};

// The stations, signals, boards, tunnels, slowdowns and speed-reduction
// points of one walked source text, appended to `out` in the order of the
// file.
void add_view_objects(const SourceCheck& walk, std::string_view text, const std::string& file,
                      std::vector<ViewObject>& out);

// The object nearest `at` within `tolerance` metres (distance 0 inside a
// span); the shorter one on a tie, so that a signal in a station wins.
const ViewObject* object_near(const std::vector<ViewObject>& objects, double at, double tolerance);

}  // namespace scenario
