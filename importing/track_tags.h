// What the map's tags mean to an import, declared in one place: which ways
// are track and how much a path avoids them, which nodes are stations,
// signals and milestones, and how the values of maxspeed, incline and
// railway:position read. The tag names and values are those of the
// OpenStreetMap wiki's railway pages (Key:railway, Key:usage, Key:service,
// Key:railway:preferred_direction, OpenRailwayMap/Tagging: signals and
// milestones).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "importing/railway_graph.h"

namespace scenario::importing {

// railway=rail|light_rail|narrow_gauge, not an area. Disused, abandoned,
// construction and platform ways carry other railway values and are not
// track.
bool is_track(const Tags& way);
// railway=platform or public_transport=platform: read for platform lengths.
bool is_platform(const Tags& way);
// A way a path may follow costs its length times this: 1 on a main or
// branch line, more on lines of lesser use, most on sidings and yards.
double track_cost_factor(const Tags& way);

enum class StationTag { none, station, halt, stop_position };
// railway=station|halt, or a train's stop position (public_transport=
// stop_position or railway=stop). A stop position for buses or trams
// (bus=yes, tram=yes without train=yes) is none.
StationTag station_tag(const Tags& node);

enum class SignalKind { none, main, distant, combined, other };
// A railway=signal node's kind: combined, or main and distant together,
// are combined; other signal types are other.
SignalKind signal_kind(const Tags& node);
// A signal out of use: railway:signal:<kind>:deactivated=yes.
bool signal_deactivated(const Tags& node);
// Whether a signal faces a train that runs along its way (way_forward) or
// against it, from railway:signal:direction; nothing when untagged.
std::optional<bool> signal_faces(const Tags& node, bool way_forward);

// maxspeed values: "90", "90 km/h", "60 mph", "80;100" (the lower). None
// for "none", "signals", a zone name or a text that is no number.
std::optional<int> parse_maxspeed(std::string_view value);
// The limit for the direction of travel: maxspeed:forward or :backward as
// the way is drawn, else maxspeed.
std::optional<int> maxspeed_for(const Tags& way, bool forward, std::string* raw);

// incline values in per mille, uphill positive for the way's drawing:
// "5%", "-2.5%", "12‰", "12 per mille", "3°", and a bare number read as
// percent (the wiki's unit). "up" and "down" give only a sign: see
// `incline_sign`.
std::optional<double> parse_incline(std::string_view value);
int incline_sign(std::string_view value);  // +1 "up", -1 "down", 0 else

// railway:position values in km: "12.3", "12,3", "mi:7.5" (miles),
// "26.0+100" (a km with metres beyond it), "1.2;3.4" (the first). Nothing
// for a text that is no position.
std::optional<double> parse_position(std::string_view value);

// tunnel=* and bridge=* that make the track run in a tunnel or on a bridge.
bool is_tunnel(const Tags& way);
bool is_bridge(const Tags& way);

}  // namespace scenario::importing
