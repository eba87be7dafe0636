// What a picture of the route shows, read off the compiled table and route:
// the gradient and speed profiles, stations, signals, boards and tunnels,
// each with its position in metres and its label.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/model.h"

namespace scenario {

// A profile value that holds from `from` up to `to` metres.
struct ProfileStep {
    std::int64_t from = 0;
    std::int64_t to = 0;
    int value = 0;
};

struct StationMark {
    std::int64_t inizio = 0;  // start of the station, metres
    std::int64_t fine = 0;    // far end
    std::int64_t posizione = 0;
    bool stops = false;  // has a stop point on the route
    std::string name;    // UTF-8
};

struct TunnelSpan {
    std::int64_t inizio = 0;
    std::int64_t fine = 0;
};

struct PointMark {
    std::int64_t posizione = 0;
    std::string label;  // UTF-8; may be empty
};

struct RouteFeatures {
    std::int64_t route_end = 0;         // metres covered by all the cells
    std::int64_t line_length = 0;       // the line's own length, from the table; 0 if unknown
    std::vector<ProfileStep> gradient;  // per mille
    std::vector<ProfileStep> speed;     // km/h
    std::vector<StationMark> stations;
    std::vector<TunnelSpan> tunnels;
    std::vector<PointMark> signals;
    std::vector<PointMark> speed_boards;  // labelled with the first speed, `vas`
    std::vector<PointMark> name_boards;   // labelled with the board's text
    std::vector<PointMark> slowdowns;     // start cells, labelled with the speed
};

// Cells that carry nothing of the profiles (the last three, which no fill
// reaches) are left out of the steps.
RouteFeatures route_features(const std::array<voce, kVoci>& voci,
                             const std::vector<cella>& percorso);

// A name board's text as one line: its groups in parentheses, trimmed and
// joined by " · " ("(VALMEDRA)( 366 m. )" gives "VALMEDRA · 366 m."); a
// text without parentheses is trimmed. Windows-1252 in, UTF-8 out.
std::string board_caption(std::string_view testo);

}  // namespace scenario
