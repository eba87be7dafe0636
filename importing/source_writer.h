// The line and train source texts of a linear route, laid out as the
// embedded sources lay theirs out: the same sections in the same order,
// the same keywords and the same spacing, CR LF line ends, Windows-1252.
#pragma once

#include <string>
#include <vector>

#include "importing/linear_route.h"

namespace scenario::importing {

struct TrainHeader {
    int carriages = 3;        // as the embedded train
    int braked_mass = 120;    // per cent
    int depart = 8 * 3600;    // s of the day at the origin
    std::string origin_name;  // for the profile's comment, Windows-1252
};

std::string line_source(const LinearRoute& route, const std::string& origin_name);

// Stops get provisional times (the departure at the origin, nothing
// after): the timetable is drafted from the compiled run afterwards.
std::string train_source(const LinearRoute& route, const TrainHeader& header);

}  // namespace scenario::importing
