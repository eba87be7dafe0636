#include "tool/plot/route_svg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "compiler/route_rules.h"
#include "tool/plot/plan_projection.h"
#include "tool/plot/route_features.h"
#include "tool/plot/svg_writer.h"
#include "tool/text/code_page.h"

namespace scenario {

namespace {

// Horizontal layout: panel titles in the left margin, then the distance axis.
constexpr double kLeft = kPlotAxisLeft;
constexpr double kAxisWidth = kPlotAxisWidth;

// Vertical layout, top to bottom.
constexpr double kTitleY = 36;
constexpr double kSubtitleY = 60;
constexpr Box kPlanBox{kLeft, 80, kAxisWidth, 230};
constexpr double kStationBase = 448;  // station extents; their names rise from here
constexpr double kTunnelTop = 466;    // tunnel bars; the name boards hang below
constexpr Box kGradientBox{kLeft, 645, kAxisWidth, 160};
constexpr Box kSpeedBox{kLeft, 825, kAxisWidth, 170};
constexpr Box kTimeBox{kLeft, 1015, kAxisWidth, 200};
constexpr double kSignalBase = 1235;
constexpr double kAxisY = 1252;
constexpr double kLegendY = 1312;

constexpr std::string_view kInk = "#222222";
constexpr std::string_view kMuted = "#666666";
constexpr std::string_view kGrid = "#dddddd";
constexpr std::string_view kPanel = "#fafafa";
constexpr std::string_view kStop = "#1f5fa8";
constexpr std::string_view kPassed = "#8fb3da";
constexpr std::string_view kTunnel = "#4a4a4a";
constexpr std::string_view kTunnelShade = "#ececec";
constexpr std::string_view kRising = "#e39a8f";
constexpr std::string_view kFalling = "#8fc79b";
constexpr std::string_view kSpeedLine = "#1f5fa8";
constexpr std::string_view kSpeedFill = "#dbe7f5";
constexpr std::string_view kSignal = "#c62828";
constexpr std::string_view kSlowdown = "#ef8a17";
constexpr std::string_view kRunLine = "#b03a2e";
constexpr std::string_view kScheduled = "#1f5fa8";
constexpr std::string_view kTooTight = "#c62828";

constexpr double kMetresPerKm = 1000;

// Maps metres along the shown stretch to the horizontal position of the
// picture. A zoomed axis leaves out what lies wholly outside its stretch, so
// that a short stretch of a long route stays a small drawing.
struct Axis {
    double from = 0;
    double to = 1;
    bool zoomed = false;
    double x(double m) const {
        return kLeft + std::clamp((m - from) / (to - from), 0.0, 1.0) * kAxisWidth;
    }
    double span() const { return to - from; }
    bool shows(double a, double b) const { return !zoomed || (b >= from && a <= to); }
    bool shows(double m) const { return shows(m, m); }
};

// At most this many points of one profile line: a few per pixel column keep
// its shape, more only make the picture heavy.
constexpr std::size_t kMostPoints = 3 * static_cast<std::size_t>(kAxisWidth);

// The points of a line along the axis that the stretch shows, with one
// neighbour on each side so that the line runs to the edges; thinned, when
// they are too many, to the first, lowest, highest and last point of each
// pixel column, which keeps every peak. `points` ascend in x.
std::vector<Point> bounded(const std::vector<Point>& points) {
    if (points.size() <= kMostPoints) return points;
    std::vector<Point> out;
    out.reserve(kMostPoints + 4);
    std::size_t i = 0;
    while (i < points.size()) {
        const double column = std::floor(points[i].first);
        std::size_t lo = i;
        std::size_t hi = i;
        std::size_t j = i;
        for (; j < points.size() && std::floor(points[j].first) == column; ++j) {
            if (points[j].second < points[lo].second) lo = j;
            if (points[j].second > points[hi].second) hi = j;
        }
        const std::size_t last = j - 1;
        std::size_t picks[] = {i, std::min(lo, hi), std::max(lo, hi), last};
        for (std::size_t k = 0; k < 4; ++k) {
            if (k > 0 && picks[k] == picks[k - 1]) continue;
            out.push_back(points[picks[k]]);
        }
        i = j;
    }
    return out;
}

// The indices [first, last) of `items` (ascending by `position`) that a
// zoomed axis needs: those inside the stretch, and with `neighbours` one on
// each side, for a line between points to run to the edges.
template <typename T, typename Position>
std::pair<std::size_t, std::size_t> shown_range(const std::vector<T>& items, const Axis& axis,
                                                Position position, bool neighbours = true) {
    if (!axis.zoomed) return {0, items.size()};
    const auto begin = std::lower_bound(
        items.begin(), items.end(), axis.from,
        [&](const T& item, double m) { return static_cast<double>(position(item)) < m; });
    const auto end = std::upper_bound(
        items.begin(), items.end(), axis.to,
        [&](double m, const T& item) { return m < static_cast<double>(position(item)); });
    const auto first = static_cast<std::size_t>(begin - items.begin());
    const auto last = static_cast<std::size_t>(end - items.begin());
    if (!neighbours) return {first, last};
    return {first > 0 ? first - 1 : 0, std::min(last + 1, items.size())};
}

std::string km_text(double metres, int decimals) {
    const double km = metres / kMetresPerKm;
    std::string text =
        std::to_string(std::round(km * std::pow(10, decimals)) / std::pow(10, decimals));
    text.erase(text.find('.') + (decimals > 0 ? 1 + static_cast<std::size_t>(decimals) : 0));
    return text + " km";
}

// Decimals of a kilometre that tell marks `step` metres apart.
int km_decimals(double step) {
    return step >= 1000 ? 0 : step >= 100 ? 1 : step >= 10 ? 2 : 3;
}

// A step for grid lines or ticks that gives at most `count` of them over `span`.
double nice_step(double span, double count) {
    constexpr double kSteps[] = {1, 2, 5};
    for (double scale = 1;; scale *= 10) {
        for (double s : kSteps) {
            if (span / (s * scale) <= count) return s * scale;
        }
        if (scale > 1e12) return span;
    }
}

// Spreads label positions so that neighbours stand `gap` apart within
// [lo, hi], moving each as little as the order allows. `xs` ascending.
std::vector<double> spread(const std::vector<double>& xs, double gap, double lo, double hi) {
    std::vector<double> out(xs);
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = std::max(out[i], i == 0 ? lo : out[i - 1] + gap);
    for (std::size_t i = out.size(); i-- > 0;)
        out[i] = std::min(out[i], i + 1 == out.size() ? hi : out[i + 1] - gap);
    return out;
}

void panel_title(SvgWriter& svg, const Box& box, std::string_view title, std::string_view unit) {
    const double cy = box.top + box.height / 2;
    svg.text(24, cy, title, {.size = 14, .anchor = "middle", .bold = true, .rotate = -90});
    if (!unit.empty()) {
        svg.text(42, cy, unit, {.size = 11, .anchor = "middle", .fill = kMuted, .rotate = -90});
    }
}

void header(SvgWriter& svg, const std::array<voce, kVoci>& voci, const RouteFeatures& f) {
    const std::string title = ansi_to_utf8(voci[kVoceTestataLinea].testo) + "  \xC2\xB7  train " +
                              ansi_to_utf8(voci[kVoceTestataCodici].testo);
    svg.text(kLeft, kTitleY, title, {.size = 24, .bold = true});
    const double length =
        f.line_length > 0 ? static_cast<double>(f.line_length) : static_cast<double>(f.route_end);
    constexpr std::string_view kDot = "  \xC2\xB7  ";
    std::string summary = "line " + km_text(length, 1);
    const std::pair<std::size_t, std::string_view> counts[] = {
        {f.stations.size(), "station"},         {f.signals.size(), "signal"},
        {f.speed_boards.size(), "speed board"}, {f.name_boards.size(), "name board"},
        {f.tunnels.size(), "tunnel"},
    };
    for (const auto& [n, what] : counts) {
        summary +=
            std::string(kDot) + std::to_string(n) + " " + std::string(what) + (n == 1 ? "" : "s");
    }
    svg.text(kLeft, kSubtitleY, summary, {.size = 14, .fill = kMuted});
}

void stretch_note(SvgWriter& svg, const Axis& axis, int decimals) {
    if (!axis.zoomed) return;
    svg.text(kLeft + kAxisWidth, kSubtitleY,
             "shown: " + km_text(axis.from, decimals) + " to " + km_text(axis.to, decimals),
             {.size = 14, .anchor = "end", .fill = kInk, .bold = true});
}

// ---- plan ----

std::vector<Point> plan_points(const PlanProjection& plan, std::int64_t from, std::int64_t to,
                               std::int64_t step) {
    std::vector<Point> points;
    for (std::int64_t m = from; m <= to; m += step) {
        if (const auto p = plan.at(m)) points.push_back(*p);
    }
    if (const auto p = plan.at(to); p && (points.empty() || points.back() != *p)) {
        points.push_back(*p);
    }
    return points;
}

void plan_scale_bar(SvgWriter& svg, const PlanProjection& plan) {
    const double metres = nice_step(kPlanBox.width * 0.12 / plan.scale(), 1);
    const double length = metres * plan.scale();
    const double x = kPlanBox.left + kPlanBox.width - 20 - length;
    const double y = kPlanBox.top + kPlanBox.height - 16;
    svg.line(x, y, x + length, y, kInk, 2);
    svg.line(x, y - 4, x, y + 4, kInk, 1.5);
    svg.line(x + length, y - 4, x + length, y + 4, kInk, 1.5);
    svg.text(x + length / 2, y - 7, km_text(metres, metres < kMetresPerKm ? 1 : 0),
             {.size = 11, .anchor = "middle"});
}

void plan_km_marks(SvgWriter& svg, const PlanProjection& plan, double step) {
    const double start =
        std::max(step, std::ceil(static_cast<double>(plan.first_row()) / step) * step);
    for (double m = start; m < static_cast<double>(plan.last_row()); m += step) {
        const auto p = plan.at(static_cast<std::int64_t>(m));
        if (!p) continue;
        svg.circle(p->first, p->second, 2.5, "#ffffff", kInk);
        svg.text(p->first, p->second - 8, km_text(m, km_decimals(step)),
                 {.size = 10, .anchor = "middle", .fill = kMuted, .halo = true});
    }
}

void plan_stations(SvgWriter& svg, const PlanProjection& plan, const RouteFeatures& f) {
    std::vector<const StationMark*> shown;
    for (const StationMark& st : f.stations) {
        if (st.posizione < plan.first_row() || st.posizione > plan.last_row()) continue;
        shown.push_back(&st);
        if (const auto p = plan.at(st.posizione)) {
            svg.circle(p->first, p->second, st.stops ? 4.5 : 3.5, st.stops ? kStop : kPassed,
                       "#ffffff");
        }
    }
    if (shown.empty()) return;
    const StationMark* ends[] = {shown.front(), shown.back()};
    for (const StationMark* st : ends) {
        const auto p = plan.at(st->posizione);
        if (!p) continue;
        const bool first = st == ends[0];
        // The name goes on the side of the line it does not run to next.
        constexpr std::int64_t kLook = 2000;
        const auto next = plan.at(st->posizione + (first ? kLook : -kLook));
        const bool above = next && next->second > p->second;
        svg.text(p->first + (first ? 8 : -8), p->second + (above ? -10 : 20), st->name,
                 {.size = 13,
                  .anchor = first ? "start" : "end",
                  .fill = kStop,
                  .bold = true,
                  .halo = true});
    }
}

void plan_panel(SvgWriter& svg, const Tracciato& t, const RouteFeatures& f, const Axis& axis,
                double km_step) {
    svg.rect(kPlanBox.left, kPlanBox.top, kPlanBox.width, kPlanBox.height, kPanel, kGrid);
    panel_title(svg, kPlanBox, "plan", "");
    // Zoomed, the plan shows the same stretch as the profiles, fitted to its box.
    const PlanProjection plan =
        axis.zoomed ? PlanProjection(t, kPlanBox, static_cast<std::int64_t>(std::floor(axis.from)),
                                     static_cast<std::int64_t>(std::ceil(axis.to)))
                    : PlanProjection(t, kPlanBox);
    if (!plan.drawable()) {
        svg.text(kPlanBox.left + kPlanBox.width / 2, kPlanBox.top + kPlanBox.height / 2,
                 "no line geometry (compiled without it)",
                 {.size = 14, .anchor = "middle", .fill = kMuted});
        return;
    }
    const std::int64_t rows =
        axis.zoomed ? plan.last_row() - plan.first_row() + 1 : static_cast<std::int64_t>(t.rows());
    const std::int64_t step = std::max<std::int64_t>(1, rows / 4000);
    svg.polyline(plan_points(plan, plan.first_row(), plan.last_row(), step), "#9a9a9a", 3);
    for (const TunnelSpan& tunnel : f.tunnels) {
        if (tunnel.fine < plan.first_row() || tunnel.inizio > plan.last_row()) continue;
        svg.polyline(plan_points(plan, std::max(tunnel.inizio, plan.first_row()),
                                 std::min(tunnel.fine, plan.last_row()),
                                 std::max<std::int64_t>(1, step / 4)),
                     kTunnel, 4.5);
    }
    // A geometry longer than the route would otherwise get marks by the thousand.
    const double marks_over =
        static_cast<double>(axis.zoomed ? rows : static_cast<std::int64_t>(plan.last_row()));
    plan_km_marks(svg, plan, std::max(km_step, nice_step(marks_over, 14)));
    plan_stations(svg, plan, f);
    plan_scale_bar(svg, plan);
}

// ---- stations, tunnels and name boards ----

void station_band(SvgWriter& svg, const Axis& axis, const RouteFeatures& f) {
    svg.text(24, kStationBase - 60, "stations",
             {.size = 14, .anchor = "middle", .bold = true, .rotate = -90});
    svg.line(kLeft, kStationBase, kLeft + kAxisWidth, kStationBase, kGrid);
    std::vector<double> xs;
    std::vector<const StationMark*> shown;
    for (const StationMark& st : f.stations) {
        if (!axis.shows(static_cast<double>(st.inizio), static_cast<double>(st.fine))) continue;
        const double x1 = axis.x(static_cast<double>(st.inizio));
        const double x2 = axis.x(static_cast<double>(st.fine));
        svg.rect(x1, kStationBase - 4, std::max(x2 - x1, 2.0), 8, st.stops ? kStop : kPassed);
        xs.push_back(axis.x(static_cast<double>(st.posizione)));
        shown.push_back(&st);
    }
    constexpr double kSize = 12;
    const std::vector<double> at = spread(xs, kSize + 1, kLeft, kLeft + kAxisWidth);
    for (std::size_t i = 0; i < at.size(); ++i) {
        const StationMark& st = *shown[i];
        svg.line(xs[i], kStationBase - 5, at[i], kStationBase - 14, kMuted, 0.7);
        svg.text(
            at[i] + kSize * 0.35, kStationBase - 17, st.name,
            {.size = kSize, .fill = st.stops ? kInk : kMuted, .bold = st.stops, .rotate = -90});
    }
}

void tunnel_band(SvgWriter& svg, const Axis& axis, const RouteFeatures& f) {
    svg.text(24, kTunnelTop + 75, "tunnels, name boards",
             {.size = 14, .anchor = "middle", .bold = true, .rotate = -90});
    for (const TunnelSpan& tunnel : f.tunnels) {
        if (!axis.shows(static_cast<double>(tunnel.inizio), static_cast<double>(tunnel.fine)))
            continue;
        const double x1 = axis.x(static_cast<double>(tunnel.inizio));
        const double x2 = axis.x(static_cast<double>(tunnel.fine));
        svg.rect(x1, kTunnelTop, std::max(x2 - x1, 1.5), 10, kTunnel);
    }
    std::vector<double> xs;
    std::vector<const PointMark*> shown;
    for (const PointMark& board : f.name_boards) {
        if (!axis.shows(static_cast<double>(board.posizione))) continue;
        xs.push_back(axis.x(static_cast<double>(board.posizione)));
        shown.push_back(&board);
    }
    constexpr double kSize = 10;
    const std::vector<double> at = spread(xs, kSize + 1, kLeft, kLeft + kAxisWidth);
    for (std::size_t i = 0; i < at.size(); ++i) {
        svg.line(xs[i], kTunnelTop + 11, at[i], kTunnelTop + 18, kMuted, 0.7);
        svg.text(at[i] - kSize * 0.35, kTunnelTop + 21, shown[i]->label,
                 {.size = kSize, .fill = kInk, .rotate = 90});
    }
}

// ---- profiles ----

// Light background marks shared by both profile panels: tunnels, and a
// guide line at every station.
void panel_background(SvgWriter& svg, const Box& box, const Axis& axis, const RouteFeatures& f) {
    svg.rect(box.left, box.top, box.width, box.height, kPanel, kGrid);
    for (const TunnelSpan& tunnel : f.tunnels) {
        if (!axis.shows(static_cast<double>(tunnel.inizio), static_cast<double>(tunnel.fine)))
            continue;
        const double x1 = axis.x(static_cast<double>(tunnel.inizio));
        svg.rect(x1, box.top, axis.x(static_cast<double>(tunnel.fine)) - x1, box.height,
                 kTunnelShade);
    }
    for (const StationMark& st : f.stations) {
        if (!axis.shows(static_cast<double>(st.posizione))) continue;
        const double x = axis.x(static_cast<double>(st.posizione));
        svg.line(x, box.top, x, box.top + box.height, kPassed, 0.8, "3 3");
    }
}

// Maps a profile value to the vertical position within `box`.
struct ValueScale {
    const Box& box;
    double low;
    double high;
    double y(double v) const {
        const double t = (std::clamp(v, low, high) - low) / (high - low);
        return box.top + box.height - t * box.height;
    }
};

void value_grid(SvgWriter& svg, const ValueScale& scale, double step, std::string_view unit) {
    for (double v = std::ceil(scale.low / step) * step; v <= scale.high; v += step) {
        const double y = scale.y(v);
        svg.line(kLeft, y, kLeft + kAxisWidth, y, v == 0 ? kMuted : kGrid, v == 0 ? 1 : 0.8);
        std::string label =
            (v > 0 && !unit.empty() ? "+" : "") + std::to_string(static_cast<long long>(v));
        if (!unit.empty()) label += " " + std::string(unit);
        svg.text(kLeft - 6, y + 4, label, {.size = 11, .anchor = "end", .fill = kMuted});
    }
}

std::vector<Point> step_line(const std::vector<ProfileStep>& steps, const Axis& axis,
                             const ValueScale& scale) {
    std::vector<Point> points;
    // Steps are ordered by their ends; the first that ends inside the
    // stretch and the one across its far edge reach the edges themselves.
    auto [first, last] = shown_range(
        steps, axis, [](const ProfileStep& s) { return s.to; }, false);
    if (axis.zoomed && last < steps.size()) ++last;
    // One that ends right at the near edge would stand there as a stroke.
    while (axis.zoomed && first < last && static_cast<double>(steps[first].to) <= axis.from)
        ++first;
    for (std::size_t i = first; i < last; ++i) {
        const ProfileStep& s = steps[i];
        const double y = scale.y(s.value);
        points.emplace_back(axis.x(static_cast<double>(s.from)), y);
        points.emplace_back(axis.x(static_cast<double>(s.to)), y);
    }
    return bounded(points);
}

std::pair<int, int> value_range(const std::vector<ProfileStep>& steps) {
    int low = 0;
    int high = 0;
    for (const ProfileStep& s : steps) {
        low = std::min(low, s.value);
        high = std::max(high, s.value);
    }
    return {low, high};
}

void gradient_panel(SvgWriter& svg, const Axis& axis, const RouteFeatures& f) {
    const Box& box = kGradientBox;
    panel_background(svg, box, axis, f);
    panel_title(svg, box, "gradient", "per mille");
    const auto [low, high] = value_range(f.gradient);
    const double step = nice_step(std::max(high - low, 10), 6);
    const ValueScale scale{box, std::floor(std::min(low, -5) / step) * step,
                           std::ceil(std::max(high, 5) / step) * step};
    for (const ProfileStep& s : f.gradient) {
        if (s.value == 0 || !axis.shows(static_cast<double>(s.from), static_cast<double>(s.to)))
            continue;
        const double x1 = axis.x(static_cast<double>(s.from));
        const double y = scale.y(s.value);
        const double zero = scale.y(0);
        svg.rect(x1, std::min(y, zero), axis.x(static_cast<double>(s.to)) - x1, std::abs(zero - y),
                 s.value > 0 ? kRising : kFalling);
    }
    value_grid(svg, scale, step, "\xE2\x80\xB0");
    svg.polyline(step_line(f.gradient, axis, scale), kInk, 1.2);
}

// Each board stands just above its own speed; a board that would cover one
// already drawn moves up a lane.
void speed_boards(SvgWriter& svg, const Axis& axis, const ValueScale& scale,
                  const RouteFeatures& f) {
    constexpr int kLanes = 4;
    constexpr double kLaneHeight = 18;
    std::array<double, kLanes> lane_end;
    lane_end.fill(-1e9);
    for (const PointMark& board : f.speed_boards) {
        if (!axis.shows(static_cast<double>(board.posizione))) continue;
        const double x = axis.x(static_cast<double>(board.posizione));
        const double w = 7.0 * static_cast<double>(board.label.size()) + 8;
        int lane = 0;
        while (lane + 1 < kLanes && x - w / 2 < lane_end[static_cast<std::size_t>(lane)] + 2)
            ++lane;
        lane_end[static_cast<std::size_t>(lane)] = x + w / 2;
        const double foot = scale.y(std::atof(board.label.c_str()));
        const double y = std::max(foot - 14 - kLaneHeight * lane, scale.box.top + 9);
        svg.line(x, y, x, foot, kInk, 0.8);
        svg.rect(x - w / 2, y - 8, w, 15, "#ffffff", kInk);
        svg.text(x, y + 4, board.label, {.size = 11, .anchor = "middle", .bold = true});
    }
}

void slowdown_marks(SvgWriter& svg, const Axis& axis, const ValueScale& scale,
                    const RouteFeatures& f) {
    for (const PointMark& slowdown : f.slowdowns) {
        if (!axis.shows(static_cast<double>(slowdown.posizione))) continue;
        const double x = axis.x(static_cast<double>(slowdown.posizione));
        svg.line(x, scale.box.top, x, scale.box.top + scale.box.height, kSlowdown, 2);
        svg.text(x + 4, scale.box.top + 14, slowdown.label, {.size = 11, .fill = kSlowdown});
    }
}

// The train's speed, as fast as the limits and its forces allow.
void computed_speed(SvgWriter& svg, const Axis& axis, const ValueScale& scale,
                    const RouteRun& run) {
    std::vector<Point> points;
    const auto& profile = run.run.profile;
    const auto [first, last] =
        shown_range(profile, axis, [](const ProfilePoint& p) { return p.position; });
    points.reserve(last - first);
    for (std::size_t i = first; i < last; ++i)
        points.emplace_back(axis.x(profile[i].position), scale.y(profile[i].speed_kmh));
    svg.polyline(bounded(points), kRunLine, 1.4);
}

void speed_panel(SvgWriter& svg, const Axis& axis, const RouteFeatures& f, const RouteRun* run) {
    const Box& box = kSpeedBox;
    panel_background(svg, box, axis, f);
    panel_title(svg, box, "speed limit", "km/h");
    const int high = std::max(value_range(f.speed).second, 20);
    const double step = nice_step(high, 6);
    const ValueScale scale{box, 0, std::ceil((high + step / 2) / step) * step};
    std::vector<Point> area = step_line(f.speed, axis, scale);
    if (!area.empty()) {
        area.emplace_back(area.back().first, scale.y(0));
        area.emplace_back(area.front().first, scale.y(0));
        svg.polygon(area, kSpeedFill);
    }
    value_grid(svg, scale, step, "");
    svg.polyline(step_line(f.speed, axis, scale), kSpeedLine, 2);
    if (run != nullptr) computed_speed(svg, axis, scale, *run);
    slowdown_marks(svg, axis, scale, f);
    speed_boards(svg, axis, scale, f);
}

// ---- time over distance ----

std::string clock_label(double seconds) {
    const long s = std::lround(seconds);
    char text[16];
    std::snprintf(text, sizeof text, "%02ld:%02ld", s / 3600 % 24, s / 60 % 60);
    return text;
}

// The fastest run that keeps the timetable as a line (it leaves each stop at
// its time, or as soon after as it can), and every scheduled time as a
// point: red where the train cannot keep it.
void time_panel(SvgWriter& svg, const Axis& axis, const RouteFeatures& f, const RouteRun* run) {
    const Box& box = kTimeBox;
    panel_background(svg, box, axis, f);
    panel_title(svg, box, "time", "of day");
    if (run == nullptr || run->run.profile.empty()) {
        svg.text(box.left + 12, box.top + box.height / 2,
                 "no run: the train file needs two stations with a time and a stop point, and "
                 "both files must compile",
                 {.size = 13, .fill = kMuted});
        return;
    }
    const auto& profile = run->run.profile;
    const auto [first, last] =
        shown_range(profile, axis, [](const ProfilePoint& p) { return p.position; });
    // Zoomed, the times span what the stretch shows, so that its slope reads.
    double low = axis.zoomed ? time_of_day(*run, profile[first]) : run->start;
    double high = time_of_day(*run, profile[last - 1]);
    for (const TimetablePoint& p : run->stations) {
        if (!p.scheduled || !axis.shows(p.position)) continue;
        low = std::min(low, double(*p.scheduled));
        high = std::max(high, double(*p.scheduled));
    }
    const double step = 60 * nice_step(std::max(high - low, 60.0) / 60, 6);
    const ValueScale scale{box, std::floor(low / step) * step, std::ceil(high / step) * step};
    for (double t = scale.low; t <= scale.high + 0.5; t += step) {
        const double y = scale.y(t);
        svg.line(kLeft, y, kLeft + kAxisWidth, y, kGrid, 0.8);
        svg.text(kLeft - 6, y + 4, clock_label(t), {.size = 11, .anchor = "end", .fill = kMuted});
    }
    std::vector<Point> line;
    line.reserve(last - first);
    for (std::size_t i = first; i < last; ++i)
        line.emplace_back(axis.x(profile[i].position), scale.y(time_of_day(*run, profile[i])));
    svg.polyline(bounded(line), kRunLine, 1.6);
    for (const TimetablePoint& p : run->stations) {
        if (!p.scheduled || !axis.shows(p.position)) continue;
        const bool missed = misses_schedule(p);
        svg.circle(axis.x(p.position), scale.y(*p.scheduled), 3.6, missed ? kTooTight : kScheduled);
    }
}

void signal_band(SvgWriter& svg, const Axis& axis, const RouteFeatures& f) {
    svg.text(kLeft - 6, kSignalBase - 2, "signals", {.size = 12, .anchor = "end", .bold = true});
    for (const PointMark& signal : f.signals) {
        if (!axis.shows(static_cast<double>(signal.posizione))) continue;
        const double x = axis.x(static_cast<double>(signal.posizione));
        svg.line(x, kSignalBase, x, kSignalBase - 12, kInk, 1);
        svg.circle(x, kSignalBase - 14, 3.2, kSignal);
    }
}

// ---- distance axis and legend ----

void distance_axis(SvgWriter& svg, const Axis& axis, double step) {
    svg.line(kLeft, kAxisY, kLeft + kAxisWidth, kAxisY, kInk, 1.2);
    const double minor = step / 5;
    const int decimals = km_decimals(step);
    for (double k = std::ceil(axis.from / minor - 1e-9); k * minor <= axis.to + 0.5; ++k) {
        const double m = k * minor + 0.0;  // never "-0 km"
        const bool major = std::fmod(std::abs(m) + 0.5, step) < 1;
        const double x = axis.x(m);
        svg.line(x, kAxisY, x, kAxisY + (major ? 8 : 4), kInk, major ? 1.2 : 0.8);
        if (major) {
            svg.text(x, kAxisY + 22, km_text(m, decimals), {.size = 12, .anchor = "middle"});
        }
    }
    svg.text(kLeft + kAxisWidth / 2, kAxisY + 42, "distance from the start of the route",
             {.size = 12, .anchor = "middle", .fill = kMuted});
}

void end_of_line(SvgWriter& svg, const Axis& axis, const RouteFeatures& f) {
    if (f.line_length <= 0 || f.line_length >= f.route_end ||
        !axis.shows(static_cast<double>(f.line_length)))
        return;
    const double x = axis.x(static_cast<double>(f.line_length));
    svg.line(x, kGradientBox.top - 8, x, kAxisY, kInk, 1, "6 4");
    svg.text(x - 4, kGradientBox.top - 12, "end of line", {.size = 11, .anchor = "end"});
}

void legend(SvgWriter& svg) {
    double x = kLeft;
    const auto swatch = [&](std::string_view colour, std::string_view label) {
        svg.rect(x, kLegendY - 10, 18, 10, colour);
        svg.text(x + 24, kLegendY, label, {.size = 12});
        x += 34 + 7.2 * static_cast<double>(label.size());
    };
    swatch(kStop, "station with a stop");
    swatch(kPassed, "station passed");
    swatch(kTunnel, "tunnel");
    swatch(kRising, "rising");
    swatch(kFalling, "falling");
    swatch(kSpeedLine, "speed limit");
    swatch(kRunLine, "fastest run: speed, time");
    svg.circle(x + 6, kLegendY - 5, 3.6, kScheduled);
    svg.text(x + 16, kLegendY, "scheduled time", {.size = 12});
    x += 126;
    svg.circle(x + 6, kLegendY - 5, 3.2, kSignal);
    svg.text(x + 16, kLegendY, "signal", {.size = 12});
    x += 70;
    svg.rect(x, kLegendY - 12, 24, 14, "#ffffff", kInk);
    svg.text(x + 12, kLegendY - 1, "65", {.size = 10, .anchor = "middle", .bold = true});
    svg.text(x + 30, kLegendY, "speed board (first speed, km/h)", {.size = 12});
}

}  // namespace

bool misses_schedule(const TimetablePoint& p) {
    return p.margin && *p.margin <= -60;
}

double plot_route_end(const RouteFeatures& f) {
    return std::max<double>(static_cast<double>(f.route_end), kMetriCella);
}

PlotStretch shown_stretch(const PlotStretch& wanted, double route_end) {
    if (!(wanted.to > wanted.from)) return {0, route_end};
    const double span = std::clamp(wanted.to - wanted.from, kShortestStretch, route_end);
    const double from = std::clamp(wanted.from, 0.0, route_end - span);
    return {from, from + span};
}

void write_route_svg(const std::array<voce, kVoci>& voci, const std::vector<cella>& percorso,
                     const Tracciato& tracciato, const RouteRun* run, std::ostream& out,
                     const PlotStretch& stretch) {
    write_route_svg(route_features(voci, percorso), voci, tracciato, run, out, stretch);
}

void write_route_svg(const RouteFeatures& f, const std::array<voce, kVoci>& voci,
                     const Tracciato& tracciato, const RouteRun* run, std::ostream& out,
                     const PlotStretch& stretch) {
    const double end = plot_route_end(f);
    const PlotStretch shown = shown_stretch(stretch, end);
    const bool zoomed = shown.from > 0 || shown.to < end;
    const Axis axis{zoomed ? shown.from : 0, zoomed ? shown.to : end, zoomed};
    const double km_step = nice_step(axis.span(), 14);
    SvgWriter svg(out, kPlotWidth, kPlotHeight);
    header(svg, voci, f);
    stretch_note(svg, axis, km_decimals(km_step));
    plan_panel(svg, tracciato, f, axis, km_step);
    station_band(svg, axis, f);
    tunnel_band(svg, axis, f);
    gradient_panel(svg, axis, f);
    speed_panel(svg, axis, f, run);
    time_panel(svg, axis, f, run);
    signal_band(svg, axis, f);
    end_of_line(svg, axis, f);
    distance_axis(svg, axis, km_step);
    legend(svg);
}

}  // namespace scenario
