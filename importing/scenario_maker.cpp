#include "importing/scenario_maker.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "authoring/timetable_draft.h"
#include "compiler/route_rules.h"
#include "importing/elevation_model.h"
#include "importing/linear_route.h"
#include "importing/local_plane.h"
#include "importing/name_text.h"
#include "importing/plan_fit.h"
#include "importing/source_writer.h"
#include "output/file_names.h"
#include "output/file_system.h"
#include "output/memorizza_percorso.h"
#include "running/rolling_stock.h"
#include "running/route_run.h"

namespace scenario::importing {

namespace {

// The embedded train's consist, which the default train of a run reads.
constexpr int kCarriages = 3;
constexpr int kBrakedMass = 120;
// The plan and the profile are compared every this many metres.
constexpr double kMeasureStep = 10;
constexpr int kSecondsPerDay = 24 * 3600;

// The two sources and what the build writes, kept in memory.
class MemoryFolder final : public FileSystem {
  public:
    std::map<std::string, std::string> files;
    bool exists(const std::string& path) override { return files.count(path) != 0; }
    bool read(const std::string& path, std::string* contents, FileError* error) override {
        const auto it = files.find(path);
        if (it == files.end()) {
            if (error != nullptr) *error = {"open", path, "No such file or directory"};
            return false;
        }
        *contents = it->second;
        return true;
    }
    bool replace(const std::string& path, std::string_view bytes, FileError*) override {
        files[path] = std::string(bytes);
        return true;
    }
    bool remove(const std::string& path, FileError*) override {
        files.erase(path);
        return true;
    }
};

// Compiles the two texts as the builder does, with the line geometry.
bool compile(const std::string& linea, const std::string& treno, Scenario* s, std::string* error) {
    MemoryFolder folder;
    const ScenarioFiles names = scenario_files("/m", '/', "M", "1");
    folder.files[names.linea_txt] = linea;
    folder.files[names.treno_txt] = treno;
    BuildOptions options;
    options.delete_sources = false;
    const BuildOutcome built = memorizza_percorso(*s, 1, folder, names, options);
    if (built.status != BuildOutcome::Status::written || s->codice_errore != 0) {
        *error = "the sources made from the map do not compile: code " +
                 std::to_string(s->codice_errore) + " at " + std::to_string(s->posizione_errore) +
                 " m (a fault of the import; please report it)";
        return false;
    }
    return true;
}

double plan_distance(const Scenario& s, const LinearRoute& r, const PlaneTrack& track,
                     double* max) {
    std::vector<PlanePoint> plan, map;
    const double last =
        std::min<double>(r.path_length, static_cast<double>(s.tracciato.rows() - 3));
    for (double m = 0; m <= last; m += kMeasureStep) {
        const auto row = static_cast<std::size_t>(m);
        plan.push_back({s.tracciato.x[row], s.tracciato.y[row]});
        map.push_back(track.at(m));
    }
    const FitDistance d = rigid_fit_distance(plan, map);
    *max = d.max;
    return d.rms;
}

bool on_structure(const LinearRoute& r, double m) {
    return std::any_of(r.structures.begin(), r.structures.end(),
                       [&](const Structure& st) { return m >= st.start && m <= st.end; });
}

// The compiled heights (the cells' gradients summed from the profile's
// first height) against the DEM's own, off tunnels and bridges.
double profile_distance(const Scenario& s, const LinearRoute& r) {
    const Profile& p = r.profile;
    double height = p.track.front(), sum = 0;
    std::size_t n = 0;
    for (std::size_t i = 0; i < p.ground.size(); ++i) {
        const double m = i * p.step;
        if (i > 0) {
            const cella* cell = s.cell(static_cast<std::int64_t>((m - p.step / 2) / kMetriCella));
            height += (cell != nullptr ? gradient_per_mille(cell->pendenza) : 0) * p.step / 1000;
        }
        if (on_structure(r, m) || m > r.path_length) continue;
        sum += (height - p.ground[i]) * (height - p.ground[i]);
        ++n;
    }
    return n > 0 ? std::sqrt(sum / static_cast<double>(n)) : 0;
}

void fill_summary(const LinearRoute& r, ImportSummary* sum) {
    sum->path_length = r.path_length;
    sum->route_length = r.length;
    sum->stations.clear();
    for (const RouteStation& st : r.stations)
        sum->stations.push_back({st.name, st.node, st.chainage, st.position, st.kind < 25});
    sum->tunnels = static_cast<int>(r.tunnels.size());
    sum->boards = static_cast<int>(r.boards.size() + r.signs.size());
    sum->speed_boards = static_cast<int>(r.boards.size());
    sum->name_boards = static_cast<int>(r.signs.size());
    sum->kilometric_positions.clear();
    for (const KilometricReference& k : r.references)
        sum->kilometric_positions.push_back(k.position);
    sum->signals = static_cast<int>(r.signals.size());
    sum->kilometric_references = static_cast<int>(r.references.size());
    sum->gradient_min = sum->gradient_max = 0;
    for (const GradientRow& g : r.profile.rows) {
        sum->gradient_min = std::min(sum->gradient_min, g.per_mille);
        sum->gradient_max = std::max(sum->gradient_max, g.per_mille);
    }
    sum->gradient_source = height_source_name(r.profile.source);
    sum->level_crossings = r.level_crossings;
    sum->other_objects = r.other_objects;
}

}  // namespace

bool make_scenario(const ImportPath& path, const MakeRequest& request, MadeScenario* made,
                   std::string* error) {
    if (request.dem_files.empty()) return make_scenario(path, nullptr, request, made, error);
    ElevationModel dem;
    for (const std::string& f : request.dem_files)
        if (!dem.add_file(f, error)) return false;
    return make_scenario(path, &dem, request, made, error);
}

bool make_scenario(const ImportPath& path, const ElevationModel* dem, const MakeRequest& request,
                   MadeScenario* made, std::string* error) {
    const RollingStock stock = regional_train(kCarriages, kBrakedMass);
    LinearRoute route;
    if (!make_linear_route(path, dem, stock.length, &route, error)) return false;
    TrainHeader header;
    header.carriages = kCarriages;
    header.braked_mass = kBrakedMass;
    header.depart = request.depart_minutes * 60;
    const std::string origin = route.stations.front().name;
    made->linea_txt = line_source(route, origin);
    made->treno_txt = train_source(route, header);

    Scenario s;
    if (!compile(made->linea_txt, made->treno_txt, &s, error)) return false;
    DraftOptions options;
    options.departure = header.depart;
    const TimetableDraft draft = draft_timetable(s, scenario_stock(s), options);
    if (!draft.problem.empty()) {
        *error = "no timetable could be drafted: " + draft.problem;
        return false;
    }
    // The train file's hours run to 23: a timetable that passes midnight
    // would be out of their range.
    for (const DraftedTime& t : draft.times) {
        if (t.drafted < kSecondsPerDay) continue;
        *error = "the timetable would pass midnight (" + t.name + " at " +
                 std::to_string(t.drafted / 3600 % 24) + ":" +
                 (t.drafted / 60 % 60 < 10 ? "0" : "") + std::to_string(t.drafted / 60 % 60) +
                 " the next day): depart earlier";
        return false;
    }
    made->treno_txt = with_station_times(made->treno_txt, draft.times);

    fill_summary(route, &made->summary);
    // The fastest run, stops included, as `run` tells it.
    const RouteRun run = run_route(s, scenario_stock(s));
    if (!run.run.profile.empty()) made->summary.run_time = run.run.profile.back().time_s;
    const PlaneTrack track(path, route.chainage);
    made->accuracy.plan_rms = plan_distance(s, route, track, &made->accuracy.plan_max);
    if (dem != nullptr) made->accuracy.profile_rms = profile_distance(s, route);
    made->notes = route.notes;
    return true;
}

}  // namespace scenario::importing
