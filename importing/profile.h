// The line's profile: heights along the path, from a DEM or, without one,
// from the map's own `incline` and `ele` tags, cut into gradient rows of
// whole per mille.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "importing/import_path.h"

namespace scenario::importing {

class ElevationModel;

// A stretch the track crosses on its own structure, not on the ground: a
// tunnel or a bridge, adjacent ways merged.
struct Structure {
    double start = 0;  // m of chainage
    double end = 0;
    bool tunnel = false;
    std::string name;      // a tunnel's name, UTF-8
    std::int64_t way = 0;  // the first way, for notes
};

// Tunnels and bridges in running order, each run of adjacent ways of the
// same kind one structure.
std::vector<Structure> structures(const ImportPath& path, const std::vector<double>& chainage);

enum class HeightSource { dem, incline, ele, level };
const char* height_source_name(HeightSource s);  // "DEM", "incline tags", ...

struct GradientRow {
    std::int32_t position = 0;  // m, a multiple of 50
    int per_mille = 0;          // -100 to +155
};

struct Profile {
    HeightSource source = HeightSource::level;
    double step = 10;               // m between samples
    std::vector<double> ground;     // m, the source's heights every `step` m (DEM: raw)
    std::vector<double> track;      // m, over structures straight from end to end, smoothed
    std::vector<GradientRow> rows;  // the first at 0
    int steepest = 0;               // per mille, the largest magnitude written
};

// The profile over `length` m. Without `dem`: `incline` tags when any span
// has one, else `ele` on two or more points, else level. False with
// `error` when the DEM leaves a sample of the path uncovered.
bool make_profile(const ImportPath& path, const std::vector<double>& chainage,
                  const std::vector<Structure>& structures, const ElevationModel* dem,
                  std::int32_t length, Profile* out, std::string* error);

// Gradient rows for heights every `step` m: a row where the straight line
// from the last row's height (as the rows give it, so rounding never adds
// up) would stray more than `tolerance` m from the heights.
std::vector<GradientRow> gradient_rows(const std::vector<double>& heights, double step,
                                       std::int32_t length, double tolerance);

// The heights the rows give every `step` m, from `start` at 0.
std::vector<double> row_heights(const std::vector<GradientRow>& rows, double start, double step,
                                std::size_t count);

}  // namespace scenario::importing
