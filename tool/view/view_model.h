// What the viewer shows of an author's scenario: the last build of the
// folder's sources (its diagnostics and timetable) and the last good one
// (the picture, and what the cursor reads off it). A build that does not
// compile keeps the last good picture, marked out of date.
#pragma once

#include <array>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "compiler/model.h"
#include "running/route_run.h"
#include "tool/commands/scenario_request.h"
#include "tool/plot/route_features.h"
#include "tool/plot/route_svg.h"
#include "tool/view/view_objects.h"

namespace scenario {

class ViewModel {
  public:
    // `stock_named`: the request's stock file was named on the command
    // line; otherwise the folder's own is looked for at every build.
    ViewModel(ScenarioRequest request, bool stock_named)
        : request_(std::move(request)), stock_named_(stock_named) {}

    // Builds the folder's sources anew, as `run` does, writing nothing.
    void rebuild(ToolContext& ctx);
    // Counts the builds: the page asks again when it changes.
    std::int64_t version() const { return version_; }
    // The picture shows the files as they are now.
    bool current() const { return current_; }

    // One JSON object: the version, whether the picture is current, the
    // title, the route's length and the picture's axis, the timetable of
    // the last good build and the diagnostics of the last build.
    void write_state(std::ostream& out) const;
    // The picture of `stretch` from the last good build.
    void write_picture(const PlotStretch& stretch, std::ostream& out) const;
    // One JSON object: what the last good build has at `at` metres (the
    // kilometre, gradient, line limit, fastest speed, time of day) and the
    // object within `tolerance` metres, with its file and line.
    void write_probe(double at, double tolerance, std::ostream& out) const;

  private:
    struct Picture {
        std::array<voce, kVoci> voci{};
        Tracciato tracciato;
        std::optional<RouteRun> run;
        RouteFeatures features;
        std::vector<ViewObject> objects;
    };

    ScenarioRequest request_;
    bool stock_named_ = false;
    RunMemo memo_;
    std::optional<Picture> good_;
    bool current_ = false;
    std::int64_t version_ = 0;
    std::string diagnostics_;  // the JSON members of the last build's diagnostics
};

}  // namespace scenario
