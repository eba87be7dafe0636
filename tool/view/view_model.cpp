#include "tool/view/view_model.h"

#include <algorithm>
#include <cmath>
#include <ostream>
#include <sstream>

#include "authoring/timetable_check.h"
#include "compiler/route_rules.h"
#include "tool/commands/check_command.h"
#include "tool/diagnostics/diagnosed_build.h"
#include "tool/json/json_writer.h"
#include "tool/text/code_page.h"
#include "tool/view/read_only_files.h"

namespace scenario {

namespace {

// The step of `steps` that holds at `m`; none outside them.
std::optional<int> step_at(const std::vector<ProfileStep>& steps, double m) {
    const auto it = std::upper_bound(
        steps.begin(), steps.end(), m,
        [](double v, const ProfileStep& s) { return v < static_cast<double>(s.to); });
    if (it == steps.end() || m < static_cast<double>(it->from)) return std::nullopt;
    return it->value;
}

// The run's speed and time at `m`, between the two profile points around
// it; none outside the run.
std::optional<ProfilePoint> run_at(const RouteRun& r, double m) {
    const std::vector<ProfilePoint>& p = r.run.profile;
    if (p.empty() || m < p.front().position || m > p.back().position) return std::nullopt;
    const auto it = std::lower_bound(
        p.begin(), p.end(), m, [](const ProfilePoint& q, double v) { return q.position < v; });
    if (it == p.begin()) return p.front();
    const ProfilePoint& b = *it;
    const ProfilePoint& a = *(it - 1);
    const double span = b.position - a.position;
    const double t = span > 0 ? (m - a.position) / span : 1;
    return ProfilePoint{m, a.speed_kmh + t * (b.speed_kmh - a.speed_kmh),
                        a.time_s + t * (b.time_s - a.time_s)};
}

void put_optional(JsonWriter& json, std::string_view key, std::optional<double> v) {
    json.key(key);
    v ? json.number(*v) : json.null();
}

void put_station(JsonWriter& json, const TimetablePoint& p) {
    json.begin_object();
    json.key("name");
    json.ansi_string(p.name);
    json.key("position");
    json.number(std::round(p.position));
    json.key("kilometre");
    json.number(p.kilometre);
    json.key("stops");
    json.boolean(p.stops);
    json.key("scheduled");
    p.scheduled ? json.string(clock_text(*p.scheduled)) : json.null();
    json.key("earliest");
    p.in_run ? json.string(clock_text(p.earliest)) : json.null();
    put_optional(json, "margin", p.margin ? std::optional(std::round(*p.margin)) : std::nullopt);
    json.key("missed");
    json.boolean(misses_schedule(p));
    json.end_object();
}

}  // namespace

void ViewModel::rebuild(ToolContext& ctx) {
    DiagnosedBuild b;
    b.s.nome_linea = request_.nome_linea;
    b.s.numero_treno = request_.numero_treno;
    if (!stock_named_) request_.stock_path = chosen_stock_path("", request_.files, ctx.fs);
    // Built as for writing, so that the geometry has its rows, into a folder
    // that keeps nothing.
    ReadOnlyFiles folder(ctx.fs);
    run_diagnosed_build(b, folder, request_.files, true, true);
    add_run_diagnostics(b, ctx.fs, request_.stock_path, &memo_);
    add_card_diagnostics(b, ctx.fs, request_.files.scheda);
    ++version_;
    {
        std::ostringstream text;
        JsonWriter json(text);
        json.begin_object();
        put_diagnostics_json(b.diagnostics, diagnosed_files(b, request_.files, request_.folder),
                             json);
        json.end_object();
        // The members alone, to be set inside the state's own object.
        diagnostics_ = text.str().substr(1, text.str().size() - 2);
    }
    current_ = check_exit_status(b, false) == kExitClean;
    if (!current_) return;
    Picture p;
    p.features = route_features(b.s.voci, b.s.percorso);
    if (b.linea_walk)
        add_view_objects(*b.linea_walk, b.linea_text, request_.files.linea_txt, p.objects);
    if (b.treno_walk)
        add_view_objects(*b.treno_walk, b.treno_text, request_.files.treno_txt, p.objects);
    p.voci = b.s.voci;
    p.tracciato = std::move(b.s.tracciato);
    if (b.run && !b.run->run.profile.empty()) p.run = std::move(b.run);
    good_ = std::move(p);
}

void ViewModel::write_state(std::ostream& out) const {
    std::ostringstream text;
    JsonWriter json(text);
    json.begin_object();
    json.key("version");
    json.number(version_);
    json.key("current");
    json.boolean(current_);
    json.key("picture");
    json.boolean(good_.has_value());
    json.key("title");
    good_ ? json.ansi_string(good_->voci[kVoceTestataLinea].testo)
          : json.string(request_.nome_linea);
    json.key("train");
    json.string(request_.numero_treno);
    json.key("route_end");
    json.number(good_ ? plot_route_end(good_->features) : 0.0);
    json.key("axis_left");
    json.number(kPlotAxisLeft);
    json.key("axis_width");
    json.number(kPlotAxisWidth);
    json.key("width");
    json.number(kPlotWidth);
    json.key("stations");
    json.begin_array();
    if (good_ && good_->run) {
        for (const TimetablePoint& p : good_->run->stations)
            put_station(json, p);
    }
    json.end_array();
    json.end_object();
    // The diagnostics go in as the build wrote them, before the closing brace.
    std::string state = text.str();
    state.pop_back();
    out << state << ',' << diagnostics_ << '}';
}

void ViewModel::write_picture(const PlotStretch& stretch, std::ostream& out) const {
    if (!good_) return;
    const RouteRun* run = good_->run ? &*good_->run : nullptr;
    write_route_svg(good_->features, good_->voci, good_->tracciato, run, out, stretch);
}

void ViewModel::write_probe(double at, double tolerance, std::ostream& out) const {
    JsonWriter json(out);
    json.begin_object();
    json.key("position");
    json.number(at);
    if (!good_) {
        json.end_object();
        return;
    }
    json.key("kilometre");
    json.number(kilometre_at(good_->voci, at));
    const auto gradient = step_at(good_->features.gradient, at);
    const auto limit = step_at(good_->features.speed, at);
    put_optional(json, "gradient", gradient ? std::optional<double>(*gradient) : std::nullopt);
    put_optional(json, "limit", limit ? std::optional<double>(*limit) : std::nullopt);
    const auto point = good_->run ? run_at(*good_->run, at) : std::nullopt;
    put_optional(json, "speed", point ? std::optional(point->speed_kmh) : std::nullopt);
    json.key("time");
    point ? json.string(clock_text(time_of_day(*good_->run, *point))) : json.null();
    json.key("object");
    if (const ViewObject* o = object_near(good_->objects, at, tolerance)) {
        json.begin_object();
        json.key("label");
        json.string(o->label);
        json.key("file");
        json.string(o->file);
        json.key("line");
        json.number(o->line);
        json.end_object();
    } else {
        json.null();
    }
    json.end_object();
}

}  // namespace scenario
