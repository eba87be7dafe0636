#include "importing/track_tags.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace scenario::importing {

namespace {

constexpr std::string_view kTrackRailway[] = {"rail", "light_rail", "narrow_gauge"};

// How much a path avoids a way, by its use. Main and branch lines are the
// train's own; a line of no stated use is probably one, a little dearer so
// that a tagged line wins beside it; crossovers join the two tracks of a
// double line and are taken only when the way demands it; sidings, yards,
// spurs and industrial tracks lie beside the line and are taken last.
struct CostRule {
    std::string_view key;
    std::string_view value;
    double factor;
};
constexpr CostRule kCostRules[] = {
    {"service", "siding", 8.0},    {"service", "yard", 8.0},   {"service", "spur", 8.0},
    {"usage", "industrial", 8.0},  {"usage", "military", 8.0}, {"usage", "test", 8.0},
    {"service", "crossover", 3.0}, {"usage", "tourism", 1.5},  {"usage", "main", 1.0},
    {"usage", "branch", 1.0},
};
constexpr double kUntaggedUse = 1.2;

constexpr double kKmPerMile = 1.609344;

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

// A decimal number at the start of `s` ("12", "-2.5", "12,3"), with the
// rest of the text after it.
std::optional<double> leading_number(std::string_view s, std::string_view* rest) {
    std::string text(s);
    for (char& c : text)
        if (c == ',') c = '.';
    double value = 0;
    const char* begin = text.data();
    if (!text.empty() && text[0] == '+') ++begin;
    const auto [end, ec] = std::from_chars(begin, text.data() + text.size(), value);
    if (ec != std::errc() || !std::isfinite(value)) return std::nullopt;
    *rest = s.substr(static_cast<std::size_t>(end - text.data()));
    return value;
}

std::string_view first_value(std::string_view s) {
    return trim(s.substr(0, s.find(';')));
}

}  // namespace

bool is_track(const Tags& way) {
    const std::string_view railway = way.get("railway");
    if (way.get("area") == "yes") return false;
    for (const std::string_view kind : kTrackRailway)
        if (railway == kind) return true;
    return false;
}

bool is_platform(const Tags& way) {
    return way.get("railway") == "platform" || way.get("public_transport") == "platform";
}

double track_cost_factor(const Tags& way) {
    for (const CostRule& rule : kCostRules)
        if (way.get(rule.key) == rule.value) return rule.factor;
    return way.has("service") ? 8.0 : kUntaggedUse;
}

StationTag station_tag(const Tags& node) {
    const std::string_view railway = node.get("railway");
    if (railway == "station") return StationTag::station;
    if (railway == "halt") return StationTag::halt;
    const bool stop = node.get("public_transport") == "stop_position" || railway == "stop";
    if (!stop) return StationTag::none;
    const bool for_trains = node.get("train") == "yes" || node.get("light_rail") == "yes";
    const bool other_mode = node.get("bus") == "yes" || node.get("tram") == "yes" ||
                            node.get("trolleybus") == "yes" || node.has("highway");
    if (other_mode && !for_trains) return StationTag::none;
    return StationTag::stop_position;
}

SignalKind signal_kind(const Tags& node) {
    if (node.get("railway") != "signal") return SignalKind::none;
    const bool combined = node.has("railway:signal:combined");
    const bool main = node.has("railway:signal:main");
    const bool distant = node.has("railway:signal:distant");
    if (combined || (main && distant)) return SignalKind::combined;
    if (main) return SignalKind::main;
    if (distant) return SignalKind::distant;
    return SignalKind::other;
}

bool signal_deactivated(const Tags& node) {
    constexpr std::string_view kPrefix = "railway:signal:";
    constexpr std::string_view kSuffix = ":deactivated";
    for (const auto& [k, v] : node.items) {
        const std::string_view key = k;
        if (v == "yes" && key.size() > kPrefix.size() + kSuffix.size() &&
            key.substr(0, kPrefix.size()) == kPrefix &&
            key.substr(key.size() - kSuffix.size()) == kSuffix)
            return true;
    }
    return false;
}

std::optional<bool> signal_faces(const Tags& node, bool way_forward) {
    const std::string_view direction = node.get("railway:signal:direction");
    if (direction == "both") return true;
    if (direction == "forward") return way_forward;
    if (direction == "backward") return !way_forward;
    return std::nullopt;
}

std::optional<int> parse_maxspeed(std::string_view value) {
    std::optional<int> lowest;
    while (!value.empty()) {
        const std::string_view item = first_value(value);
        const std::size_t semicolon = value.find(';');
        value =
            semicolon == std::string_view::npos ? std::string_view{} : value.substr(semicolon + 1);
        std::string_view rest;
        const std::optional<double> number = leading_number(item, &rest);
        if (!number || *number <= 0 || *number > 1000) return std::nullopt;
        rest = trim(rest);
        double kmh = *number;
        if (rest == "mph") {
            kmh *= kKmPerMile;
        } else if (!rest.empty() && rest != "km/h" && rest != "kmh" && rest != "kph") {
            return std::nullopt;
        }
        // Down to the whole km/h: a limit read from the map is never raised.
        const int whole = static_cast<int>(std::floor(kmh + 1e-9));
        if (!lowest || whole < *lowest) lowest = whole;
    }
    return lowest;
}

std::optional<int> maxspeed_for(const Tags& way, bool forward, std::string* raw) {
    std::string_view value = way.get(forward ? "maxspeed:forward" : "maxspeed:backward");
    if (value.empty()) value = way.get("maxspeed");
    if (raw) *raw = std::string(value);
    if (value.empty()) return std::nullopt;
    return parse_maxspeed(value);
}

std::optional<double> parse_incline(std::string_view value) {
    value = trim(value);
    std::string_view rest;
    const std::optional<double> number = leading_number(value, &rest);
    if (!number) return std::nullopt;
    rest = trim(rest);
    if (rest.empty() || rest == "%") return *number * 10;
    if (rest == "\xE2\x80\xB0" || rest == "per mille" || rest == "permille") return *number;
    if (rest == "\xC2\xB0" && std::abs(*number) < 45)
        return std::tan(*number * std::numbers::pi / 180) * 1000;
    return std::nullopt;
}

int incline_sign(std::string_view value) {
    value = trim(value);
    if (value == "up") return 1;
    if (value == "down") return -1;
    return 0;
}

std::optional<double> parse_position(std::string_view value) {
    std::string_view item = first_value(value);
    double km_per_unit = 1;
    if (item.substr(0, 3) == "mi:") {
        item.remove_prefix(3);
        km_per_unit = kKmPerMile;
    } else if (item.substr(0, 3) == "km:") {
        item.remove_prefix(3);
    }
    std::string_view rest;
    const std::optional<double> number = leading_number(trim(item), &rest);
    if (!number || std::abs(*number) > 100000) return std::nullopt;
    double km = *number * km_per_unit;
    rest = trim(rest);
    // "26.0+100": the kilometre of the last post and the metres beyond it.
    if (!rest.empty() && (rest[0] == '+' || rest[0] == '-')) {
        const bool back = rest[0] == '-';
        std::string_view after;
        const std::optional<double> metres = leading_number(rest.substr(1), &after);
        if (!metres || !trim(after).empty() || *metres < 0 || *metres >= 100000)
            return std::nullopt;
        km += (back ? -*metres : *metres) / 1000 * km_per_unit;
    } else if (!rest.empty()) {
        return std::nullopt;
    }
    return km;
}

bool is_tunnel(const Tags& way) {
    const std::string_view tunnel = way.get("tunnel");
    return !tunnel.empty() && tunnel != "no" && tunnel != "culvert" && tunnel != "building_passage";
}

bool is_bridge(const Tags& way) {
    const std::string_view bridge = way.get("bridge");
    return !bridge.empty() && bridge != "no";
}

}  // namespace scenario::importing
