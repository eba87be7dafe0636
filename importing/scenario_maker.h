// The two source texts of a scenario made from a path over the map: the
// linear model (chainage, plan, profile, events along the path) written as
// a line file and a train file, with a timetable the default train can
// keep, and what the import guessed or left out.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "importing/import_path.h"
#include "importing/import_summary.h"

namespace scenario::importing {

class ElevationModel;

struct MakeRequest {
    std::string nome_linea;              // --line, already defaulted and checked
    std::string numero_treno = "1";      // --train
    int depart_minutes = 8 * 60;         // --depart, 0 to 1439
    std::vector<std::string> dem_files;  // --dem paths; read here unless a model is given
};

// How closely the compiled scenario follows the map, measured on the
// sources compiled in memory.
struct ImportAccuracy {
    // m: the compiled plan against the map's track at the same chainage,
    // after the best rotation and translation (never a mirror).
    double plan_rms = 0;
    double plan_max = 0;
    // m: the compiled heights against the DEM, outside tunnels and bridges;
    // none without a DEM.
    std::optional<double> profile_rms;
};

struct MadeScenario {
    std::string linea_txt;  // bytes as they go to disk: CR LF, Windows-1252
    std::string treno_txt;
    ImportSummary summary;
    ImportAccuracy accuracy;
    std::vector<ImportNote> notes;  // the maker's own; the path's stay in the path
};

// False with `error` one line (no program prefix) when no scenario can be
// made: a DEM that cannot be read or does not cover the path, a path too
// short for two stations, a route over the longest line.
bool make_scenario(const ImportPath& path, const MakeRequest& request, MadeScenario* made,
                   std::string* error);

// The same with the DEM already loaded (nullptr: none); `request.dem_files`
// is then not read.
bool make_scenario(const ImportPath& path, const ElevationModel* dem, const MakeRequest& request,
                   MadeScenario* made, std::string* error);

}  // namespace scenario::importing
