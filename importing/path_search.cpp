#include "importing/path_search.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <queue>
#include <utility>

namespace scenario::importing {

namespace {

// Running against a double line's preferred direction costs this much
// more: enough to take the other track, with the crossovers between.
constexpr double kAgainstPreferred = 4.0;

std::size_t arc_index(Arc arc) {
    return arc.edge * 2 + (arc.forward ? 0 : 1);
}

Arc arc_of(std::size_t index) {
    return {index / 2, index % 2 == 0};
}

double arc_cost(const TrackEdge& e, bool forward) {
    const bool against = (e.preferred > 0 && !forward) || (e.preferred < 0 && forward);
    return e.cost * (against ? kAgainstPreferred : 1.0);
}

double leave_azimuth(const TrackEdge& e, bool forward) {
    return forward ? e.ab.leave : e.ab.arrive + 180;
}

double arrive_azimuth(const TrackEdge& e, bool forward) {
    return forward ? e.ab.arrive : e.ab.leave + 180;
}

std::size_t degree(const TrackGraph& g, std::size_t point) {
    std::size_t n = 0;
    for (const std::size_t e : g.points()[point].edges)
        if (!g.edges()[e].removed) ++n;
    return n;
}

bool may_turn(const TrackGraph& g, Arc in, Arc out) {
    if (in.edge == out.edge) return false;
    const TrackEdge& a = g.edges()[in.edge];
    const TrackEdge& b = g.edges()[out.edge];
    const double turn = turn_angle(arrive_azimuth(a, in.forward), leave_azimuth(b, out.forward));
    const double limit = degree(g, arc_end(g, in)) > 2 ? kMaxTurnAtSwitch : kMaxTurnElsewhere;
    return turn <= limit;
}

}  // namespace

std::size_t arc_start(const TrackGraph& graph, Arc arc) {
    const TrackEdge& e = graph.edges()[arc.edge];
    return arc.forward ? e.a : e.b;
}

std::size_t arc_end(const TrackGraph& graph, Arc arc) {
    const TrackEdge& e = graph.edges()[arc.edge];
    return arc.forward ? e.b : e.a;
}

std::optional<std::vector<Arc>> cheapest_run(const TrackGraph& g,
                                             const std::vector<std::size_t>& from,
                                             const std::vector<std::size_t>& to,
                                             std::optional<Arc> arriving) {
    constexpr double kUnreached = std::numeric_limits<double>::infinity();
    constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();
    const std::size_t arcs = g.edges().size() * 2;
    std::vector<double> cost(arcs, kUnreached);
    std::vector<std::size_t> before(arcs, kNone);
    std::vector<bool> target(g.points().size(), false);
    for (const std::size_t p : to)
        if (p < target.size()) target[p] = true;
    using Entry = std::pair<double, std::size_t>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> queue;
    for (const std::size_t p : from) {
        if (p >= g.points().size()) continue;
        for (const std::size_t e : g.points()[p].edges) {
            const TrackEdge& edge = g.edges()[e];
            if (edge.removed) continue;
            const Arc out{e, edge.a == p};
            if (arriving && !may_turn(g, *arriving, out)) continue;
            const double c = arc_cost(edge, out.forward);
            if (c < cost[arc_index(out)]) {
                cost[arc_index(out)] = c;
                queue.emplace(c, arc_index(out));
            }
        }
    }
    while (!queue.empty()) {
        const auto [c, index] = queue.top();
        queue.pop();
        if (c > cost[index]) continue;
        const Arc in = arc_of(index);
        const std::size_t end = arc_end(g, in);
        if (target[end]) {
            std::vector<Arc> run;
            for (std::size_t i = index; i != kNone; i = before[i])
                run.push_back(arc_of(i));
            std::reverse(run.begin(), run.end());
            return run;
        }
        for (const std::size_t e : g.points()[end].edges) {
            const TrackEdge& edge = g.edges()[e];
            if (edge.removed) continue;
            const Arc out{e, edge.a == end};
            if (!may_turn(g, in, out)) continue;
            const double next = c + arc_cost(edge, out.forward);
            if (next < cost[arc_index(out)]) {
                cost[arc_index(out)] = next;
                before[arc_index(out)] = index;
                queue.emplace(next, arc_index(out));
            }
        }
    }
    return std::nullopt;
}

}  // namespace scenario::importing
