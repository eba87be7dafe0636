#include "importing/linear_route.h"

#include <algorithm>
#include <cmath>

#include "compiler/route_rules.h"
#include "importing/chainage.h"
#include "importing/local_plane.h"
#include "importing/name_text.h"

namespace scenario::importing {

namespace {

// Kinds of station row, as the embedded train file uses them.
constexpr std::uint8_t kOrigin = 8;
constexpr std::uint8_t kTerminus = 2;
constexpr std::uint8_t kLargeStop = 4;  // a station with long platforms
constexpr std::uint8_t kStationStop = 12;
constexpr std::uint8_t kHaltStop = 22;
constexpr std::uint8_t kStationPassed = 25;
constexpr std::uint8_t kHaltPassed = 27;
// Platforms of this length and more make a station a large one.
constexpr std::int32_t kLargePlatform = 400;
constexpr std::int32_t kHaltLength = 200;  // m, when no platform is mapped
constexpr std::int32_t kStationLength = 300;
constexpr std::int32_t kLongestStation = 700;  // the embedded file's longest
constexpr int kLongDwell = 60;                 // s at a large stop, as the embedded file has it
constexpr int kShortDwell = 30;
// The least distance from one station's far end to the next one's start.
constexpr std::int32_t kStationGap = 350;
// Station rows and sign rows together.
constexpr std::size_t kMaxEntries = 78;
// Signals need eight cells before them for their approach marks.
constexpr std::int32_t kFirstSignal = 325;
// A board announcing a lower limit stands this far before it, as the
// embedded line's boards stand some 650 to 1500 m before a reduction.
constexpr std::int32_t kBoardAhead = 1000;
// Tunnels this long get marks, as the embedded line's marked tunnels
// (every fourth cell is marked, so a shorter one could hold none).
constexpr double kMarkedTunnel = 200;
constexpr int kTunnelKind = 2;
constexpr int kMarkedTunnelKind = 11;
constexpr std::size_t kMaxTunnels = 80;
// Inner widths of a name board's groups.
constexpr std::size_t kNarrowestBoard = 6;
constexpr std::size_t kWidestBoard = 16;
// How far an object may move back to a free cell, in cells.
constexpr int kLongestMove = 6;

std::int32_t nearest_50(double s) {
    return static_cast<std::int32_t>(std::lround(s / kMetriCella)) * kMetriCella;
}

std::string node_ref(std::int64_t n) {
    return "n" + std::to_string(n);
}

// The cells the compile will fill, as far as placing needs them: what
// stands on each cell, and whether an approach mark is there.
class CellPlan {
  public:
    explicit CellPlan(std::int32_t length)
        : tipo_(static_cast<std::size_t>(highest_cell_of(length + kMetriOltreLaFine)) + 1, 0),
          marked_(tipo_.size(), false) {
        // The header cell carries the format mark and a check code in its
        // data words: an object there would make the build fail.
        put(kCellaTestata, kTestata);
    }

    bool free(std::int64_t c) const {
        return c >= 0 && c < size() &&
               (tipo_[idx(c)] == 0 || tipo_[idx(c)] == tipo_cella::kSegnoGalleria);
    }
    bool empty(std::int64_t c) const { return c >= 0 && c < size() && tipo_[idx(c)] == 0; }
    bool marked(std::int64_t c) const { return c >= 0 && c < size() && marked_[idx(c)]; }
    void put(std::int64_t c, std::uint8_t t) {
        if (c >= 0 && c < size()) tipo_[idx(c)] = t;
    }
    void mark(std::int64_t c) {
        if (c >= 0 && c < size()) marked_[idx(c)] = true;
    }
    bool reserved_stop(std::int64_t c) const {
        return c >= 0 && c < size() && tipo_[idx(c)] == tipo_cella::kFermata;
    }
    std::int64_t size() const { return static_cast<std::int64_t>(tipo_.size()); }

  private:
    static constexpr std::uint8_t kTestata = 255;  // no object's kind
    static std::size_t idx(std::int64_t c) { return static_cast<std::size_t>(c); }
    std::vector<std::uint8_t> tipo_;
    std::vector<bool> marked_;
};

struct Extent {
    std::int32_t start = 0;
    std::int32_t end = 0;
};

Extent extent_of(const RouteStation& s) {
    if (is_long_kind(s.kind)) return {s.position - s.length, s.position + s.length};
    return {s.position - s.length / 2, s.position + s.length / 2};
}

std::int32_t platform_length(const PathObject& o) {
    const bool halt = o.kind == ObjectKind::halt;
    if (!o.platform_length) return halt ? kHaltLength : kStationLength;
    const auto hundreds = static_cast<std::int32_t>(std::lround(*o.platform_length / 100)) * 100;
    return std::clamp(hundreds, 100, kLongestStation);
}

std::vector<RouteStation> stations_of(const ImportPath& path, const std::vector<double>& ch) {
    std::vector<RouteStation> out;
    for (const PathObject& o : path.objects) {
        if (o.kind != ObjectKind::station && o.kind != ObjectKind::halt) continue;
        RouteStation s;
        s.name = upper_windows_1252(o.name);
        s.node = o.node;
        s.chainage = chainage_of(ch, o.segment, o.along);
        s.position = nearest_50(s.chainage);
        s.length = platform_length(o);
        s.big = o.kind == ObjectKind::station;
        s.stop = !o.passed;
        out.push_back(s);
    }
    return out;
}

void give_kinds(std::vector<RouteStation>& st) {
    for (std::size_t i = 0; i < st.size(); ++i) {
        RouteStation& s = st[i];
        s.dwell = 0;
        if (i == 0) {
            s.kind = kOrigin, s.stop = true, s.dwell = 1;
            // The stop point lies on the cell before the far end, beyond cell 1.
            s.length = std::max(s.length, 2 * kMetriCella * 2);
            s.position = 0;
        } else if (i + 1 == st.size()) {
            s.kind = kTerminus, s.stop = true;
        } else if (!s.stop) {
            s.kind = s.big ? kStationPassed : kHaltPassed;
        } else if (s.big && s.length >= kLargePlatform) {
            s.kind = kLargeStop, s.dwell = kLongDwell;
        } else {
            s.kind = s.big ? kStationStop : kHaltStop, s.dwell = kShortDwell;
        }
    }
}

// Which of two stations too close together gives way: never an end, else
// the shorter, else a halt before a station, else the later.
std::size_t smaller_of(const std::vector<RouteStation>& st, std::size_t a, std::size_t b) {
    if (a == 0) return b;
    if (b + 1 == st.size()) return a;
    if (st[a].length != st[b].length) return st[a].length < st[b].length ? a : b;
    if (st[a].big != st[b].big) return st[a].big ? b : a;
    return b;
}

void space_stations(std::vector<RouteStation>& st, std::vector<ImportNote>* notes) {
    bool changed = true;
    while (changed) {
        changed = false;
        give_kinds(st);
        for (std::size_t i = 1; i < st.size(); ++i) {
            if (extent_of(st[i]).start - kStationGap >= extent_of(st[i - 1]).end) continue;
            const std::size_t out = st.size() == 2 ? i : smaller_of(st, i - 1, i);
            if (st.size() == 2) break;
            notes->push_back(
                {node_ref(st[out].node), "station " + st[out].name + " left out: less than " +
                                             std::to_string(kStationGap) + " m from the next one"});
            st.erase(st.begin() + static_cast<std::ptrdiff_t>(out));
            changed = true;
            break;
        }
    }
}

// Reserves each stop point and its approach marks.
void reserve_stations(const std::vector<RouteStation>& st, CellPlan& cells) {
    for (const RouteStation& s : st) {
        if (!has_stop_point(s.kind)) continue;
        const std::int64_t stop = stop_cell(extent_of(s).end);
        cells.put(stop, tipo_cella::kFermata);
        if (!has_approach_marks(s.kind)) continue;
        for (int k = 1; k <= kSegniStazione; ++k)
            if (beyond_header(mark_cell(stop, k))) cells.mark(mark_cell(stop, k));
    }
}

std::vector<RouteTunnel> tunnels_of(const std::vector<Structure>& st, std::int32_t length,
                                    CellPlan& cells, std::vector<ImportNote>* notes) {
    std::vector<RouteTunnel> out;
    for (const Structure& s : st) {
        if (!s.tunnel) continue;
        RouteTunnel t;
        t.start = nearest_50(s.start);
        t.end = std::min(length, std::max(t.start + kMetriCella, nearest_50(s.end)));
        t.metres = s.end - s.start;
        t.name = upper_windows_1252(s.name);
        t.kind = t.metres >= kMarkedTunnel ? kMarkedTunnelKind : kTunnelKind;
        if (!out.empty() && t.start < out.back().end) t.start = out.back().end;
        if (t.start >= t.end) continue;
        if (out.size() == kMaxTunnels) {
            notes->push_back({"w" + std::to_string(s.way), "tunnel left out: the line holds 80"});
            continue;
        }
        out.push_back(t);
    }
    // Marks go on every fourth cell that is empty; a stop point there would
    // later replace one, so such a tunnel goes unmarked.
    for (RouteTunnel& t : out) {
        if (t.kind != kMarkedTunnelKind) continue;
        const std::int64_t first = cell_of(t.start);
        const std::int64_t last = round_half_even(t.end / double{kMetriCella} - 1);
        std::vector<std::int64_t> marks;
        for (std::int64_t c = first, n = 1; c <= last; ++c, ++n)
            if (n % 4 == 0 && cells.empty(c)) marks.push_back(c);
        const bool clash = std::any_of(marks.begin(), marks.end(),
                                       [&](std::int64_t c) { return cells.reserved_stop(c); });
        if (clash) {
            t.kind = kTunnelKind;
            continue;
        }
        for (std::int64_t c : marks)
            cells.put(c, tipo_cella::kSegnoGalleria);
    }
    return out;
}

// The position nearest `wanted`, at or before it, whose cell after is free;
// none within the longest move.
std::optional<std::int32_t> free_position(const CellPlan& cells, std::int32_t wanted,
                                          std::int32_t lowest) {
    for (int k = 0; k <= kLongestMove; ++k) {
        const std::int32_t p = wanted - k * kMetriCella;
        if (p < lowest) break;
        const std::int64_t c = cell_after(p);
        if (cells.free(c)) return p;
    }
    return std::nullopt;
}

std::string centred(const std::string& text, std::size_t width) {
    const std::size_t pad = width > text.size() ? width - text.size() : 0;
    return std::string(pad / 2, ' ') + text + std::string(pad - pad / 2, ' ');
}

void place_signs(LinearRoute& r, CellPlan& cells) {
    for (const RouteTunnel& t : r.tunnels) {
        if (t.name.empty()) continue;
        const std::optional<std::int32_t> p = free_position(cells, t.start - kMetriCella, 0);
        if (!p) {
            r.notes.push_back(
                {"", "name board of tunnel " + t.name + " left out: no free cell before it"});
            continue;
        }
        if (*p != t.start - kMetriCella)
            r.notes.push_back({"", "name board of tunnel " + t.name + " moved to " +
                                       std::to_string(*p) +
                                       " m: the cell before the portal is taken"});
        cells.put(cell_after(*p), tipo_cella::kCartelloIndicatore);
        r.signs.push_back({*p, tunnel_board_text(t.name, t.metres)});
    }
}

void place_boards(LinearRoute& r, CellPlan& cells) {
    for (std::size_t i = 1; i < r.speeds.size(); ++i) {
        const SpeedStep& s = r.speeds[i];
        const SpeedStep& before = r.speeds[i - 1];
        std::int32_t wanted = s.position;
        if (s.kmh < before.kmh)
            wanted = std::max(before.position + kMetriCella, s.position - kBoardAhead);
        wanted = std::max(wanted, kMetriCella);
        const std::optional<std::int32_t> p = free_position(cells, wanted, kMetriCella);
        if (!p) {
            r.notes.push_back({"", "speed board for " + std::to_string(s.kmh) + " km/h at " +
                                       std::to_string(wanted) + " m left out: no free cell"});
            continue;
        }
        if (*p != wanted)
            r.notes.push_back({"", "speed board for " + std::to_string(s.kmh) +
                                       " km/h moved from " + std::to_string(wanted) + " m to " +
                                       std::to_string(*p) + " m: its cell is taken"});
        cells.put(cell_after(*p), tipo_cella::kIndicatoreVMax);
        // The three speeds of the board's classes, as the embedded boards
        // step them: 10 and 5 km/h below the line speed, then the line speed.
        r.boards.push_back(
            {*p, {std::max(kKmhPerUnit, s.kmh - 10), std::max(kKmhPerUnit, s.kmh - 5), s.kmh}});
    }
}

bool signal_fits(const CellPlan& cells, std::int32_t p) {
    const std::int64_t c = cell_after(p);
    if (p < kFirstSignal || !cells.free(c)) return false;
    for (int k = 1; k <= 4; ++k)
        if (cells.marked(c - 2 * k)) return false;
    return true;
}

void place_signals(const ImportPath& path, LinearRoute& r, CellPlan& cells) {
    for (const PathObject& o : path.objects) {
        const bool distant = o.kind == ObjectKind::distant_signal;
        if (!distant && o.kind != ObjectKind::main_signal && o.kind != ObjectKind::combined_signal)
            continue;
        const std::int32_t wanted = nearest_50(chainage_of(r.chainage, o.segment, o.along));
        std::optional<std::int32_t> at;
        for (int k = 0; k <= kLongestMove && !at; ++k)
            if (signal_fits(cells, wanted - k * kMetriCella)) at = wanted - k * kMetriCella;
        if (!at) {
            r.notes.push_back(
                {node_ref(o.node), "signal left out: no free cell within " +
                                       std::to_string(kLongestMove * kMetriCella) +
                                       " m before it, or its approach marks would fall on others"});
            continue;
        }
        if (*at != wanted)
            r.notes.push_back({node_ref(o.node), "signal moved from " + std::to_string(wanted) +
                                                     " m to " + std::to_string(*at) +
                                                     " m: its cell is taken"});
        const std::int64_t c = cell_after(*at);
        cells.put(c, tipo_cella::kSegnale);
        for (int k = 1; k <= 4; ++k)
            cells.mark(c - 2 * k);
        r.signals.push_back({*at, distant, o.node});
    }
}

void count_others(const ImportPath& path, LinearRoute& r) {
    std::vector<Milestone> ms;
    for (const PathObject& o : path.objects) {
        if (o.kind == ObjectKind::level_crossing) ++r.level_crossings;
        if (o.kind == ObjectKind::other) ++r.other_objects;
        if (o.kind == ObjectKind::milestone && o.kilometre)
            ms.push_back({chainage_of(r.chainage, o.segment, o.along), *o.kilometre, o.node});
    }
    r.references = kilometric_references(std::move(ms), &r.notes);
}

// Station rows and sign rows share 78 entries: the signs give way, from the
// last.
void keep_entries(LinearRoute& r, CellPlan&) {
    while (r.stations.size() + r.signs.size() > kMaxEntries && !r.signs.empty()) {
        r.notes.push_back({"", "name board at " + std::to_string(r.signs.back().position) +
                                   " m left out: stations and signs fill the 78 entries"});
        r.signs.pop_back();
    }
    while (r.stations.size() > kMaxEntries) {
        const std::size_t out = r.stations.size() - 2;
        r.notes.push_back(
            {node_ref(r.stations[out].node),
             "station " + r.stations[out].name + " left out: the train file holds 78"});
        r.stations.erase(r.stations.begin() + static_cast<std::ptrdiff_t>(out));
    }
}

}  // namespace

std::string tunnel_board_text(const std::string& given, double metres) {
    // The groups are told apart by their brackets.
    std::string name = given;
    std::replace(name.begin(), name.end(), '(', ' ');
    std::replace(name.begin(), name.end(), ')', ' ');
    const std::string length = " " + std::to_string(std::lround(metres)) + " m.";
    std::vector<std::string> lines;
    if (name.size() <= kWidestBoard) {
        lines.push_back(name);
    } else {
        // Two lines, split at the blank nearest the middle.
        std::size_t cut = std::string::npos;
        for (std::size_t i = 0; i < name.size(); ++i) {
            if (name[i] != ' ' || i > kWidestBoard || name.size() - i - 1 > kWidestBoard) continue;
            if (cut == std::string::npos ||
                std::abs(static_cast<long>(i) - static_cast<long>(name.size() / 2)) <
                    std::abs(static_cast<long>(cut) - static_cast<long>(name.size() / 2)))
                cut = i;
        }
        if (cut == std::string::npos)
            lines.push_back(name.substr(0, kWidestBoard));
        else
            lines.push_back(name.substr(0, cut)), lines.push_back(name.substr(cut + 1));
    }
    std::size_t width = std::max(kNarrowestBoard, length.size());
    for (const std::string& l : lines)
        width = std::max(width, l.size());
    std::string text;
    for (const std::string& l : lines)
        text += "(" + centred(l, width) + ")";
    return text + "(" + length + std::string(width - length.size(), ' ') + ")";
}

bool make_linear_route(const ImportPath& path, const ElevationModel* dem, double train_length,
                       LinearRoute* r, std::string* error) {
    if (path.points.size() < 2) return *error = "the path has fewer than two points", false;
    r->chainage = chainage(path);
    r->path_length = r->chainage.back();
    r->stations = stations_of(path, r->chainage);
    if (r->stations.size() < 2) return *error = "the path has fewer than two stations", false;
    space_stations(r->stations, &r->notes);
    give_kinds(r->stations);
    const Extent first = extent_of(r->stations.front());
    if (r->stations.size() == 2 && extent_of(r->stations.back()).start - kStationGap < first.end)
        return *error = "the stations " + r->stations.front().name + " and " +
                        r->stations.back().name + " lie too close together: the train file needs " +
                        std::to_string(kStationGap) + " m between their platforms",
               false;
    const Extent last = extent_of(r->stations.back());
    r->length = std::max(
        static_cast<std::int32_t>(std::ceil(r->path_length / kMetriCella)) * kMetriCella, last.end);
    if (r->length > kLunghezzaMassima)
        return *error = "the route is " + std::to_string(r->length) +
                        " m long, over the longest line of " + std::to_string(kLunghezzaMassima) +
                        " m",
               false;
    const PlaneTrack track(path, r->chainage);
    r->curves = fit_curves(track, r->length);
    r->structures = structures(path, r->chainage);
    if (!make_profile(path, r->chainage, r->structures, dem, r->length, &r->profile, error))
        return false;
    if (std::abs(r->profile.steepest) > 40)
        r->notes.push_back({"", "the profile has " + std::to_string(r->profile.steepest) +
                                    " per mille, steeper than 40: check the elevation model"});
    r->speeds = speed_steps(path, r->chainage, r->length, train_length, &r->notes);
    CellPlan cells(r->length);
    reserve_stations(r->stations, cells);
    r->tunnels = tunnels_of(r->structures, r->length, cells, &r->notes);
    place_signs(*r, cells);
    keep_entries(*r, cells);
    place_boards(*r, cells);
    place_signals(path, *r, cells);
    // A board or a signal moved back may now stand before the one before
    // it: the rows go in ascending order, as the embedded files have them.
    const auto by_position = [](const auto& a, const auto& b) { return a.position < b.position; };
    std::stable_sort(r->boards.begin(), r->boards.end(), by_position);
    std::stable_sort(r->signals.begin(), r->signals.end(), by_position);
    count_others(path, *r);
    return true;
}

}  // namespace scenario::importing
