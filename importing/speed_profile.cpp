#include "importing/speed_profile.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "compiler/route_rules.h"

namespace scenario::importing {

namespace {

struct Stretch {
    double start = 0;
    double end = 0;
    std::optional<int> kmh;
    std::int64_t way = 0;
};

std::int32_t to_cell_boundary(double s) {
    return static_cast<std::int32_t>(std::lround(s / kMetriCella)) * kMetriCella;
}

// Down to the format's 5 km/h: a limit is never raised.
int rounded_down(int kmh) {
    return std::max(kKmhPerUnit, kmh / kKmhPerUnit * kKmhPerUnit);
}

void fill_gaps(std::vector<Stretch>& st, std::vector<ImportNote>* notes) {
    const bool any =
        std::any_of(st.begin(), st.end(), [](const Stretch& s) { return s.kmh.has_value(); });
    if (!any) {
        for (Stretch& s : st)
            s.kmh = kUntaggedSpeed;
        notes->push_back({"", "no way of the path has maxspeed: " + std::to_string(kUntaggedSpeed) +
                                  " km/h taken throughout"});
        return;
    }
    const std::vector<Stretch> given = st;
    for (std::size_t i = 0; i < st.size(); ++i) {
        if (st[i].kmh) continue;
        std::optional<int> before, after;
        for (std::size_t j = i; j-- > 0;)
            if (given[j].kmh) {
                before = given[j].kmh;
                break;
            }
        for (std::size_t j = i + 1; j < st.size(); ++j)
            if (given[j].kmh) {
                after = given[j].kmh;
                break;
            }
        st[i].kmh = before && after ? std::min(*before, *after) : before ? *before : *after;
        notes->push_back(
            {"w" + std::to_string(st[i].way), "no maxspeed: " + std::to_string(*st[i].kmh) +
                                                  " km/h guessed, the lower of its neighbours"});
    }
}

std::vector<SpeedStep> merged(const std::vector<SpeedStep>& steps) {
    std::vector<SpeedStep> out;
    for (const SpeedStep& s : steps) {
        if (!out.empty() && out.back().position == s.position)
            out.back().kmh = s.kmh;
        else if (out.empty() || out.back().kmh != s.kmh)
            out.push_back(s);
        if (out.size() >= 2 && out[out.size() - 2].kmh == out.back().kmh) out.pop_back();
    }
    return out;
}

// A stretch shorter than the train takes the lowest of itself and its
// neighbours: the train is never under a limit shorter than itself that
// the driver could not keep to.
bool fold_once(std::vector<SpeedStep>& steps, std::int32_t length, double train_length,
               std::vector<ImportNote>* notes) {
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const std::int32_t end = i + 1 < steps.size() ? steps[i + 1].position : length;
        if (end - steps[i].position >= train_length) continue;
        int lowest = steps[i].kmh;
        if (i > 0) lowest = std::min(lowest, steps[i - 1].kmh);
        if (i + 1 < steps.size()) lowest = std::min(lowest, steps[i + 1].kmh);
        if (lowest == steps[i].kmh) continue;
        notes->push_back({"", std::to_string(steps[i].kmh) + " km/h from " +
                                  std::to_string(steps[i].position) +
                                  " m, shorter than the train, " + "folded into " +
                                  std::to_string(lowest) + " km/h"});
        steps[i].kmh = lowest;
        steps = merged(steps);
        return true;
    }
    return false;
}

}  // namespace

std::vector<SpeedStep> speed_steps(const ImportPath& path, const std::vector<double>& ch,
                                   std::int32_t length, double train_length,
                                   std::vector<ImportNote>* notes) {
    std::vector<Stretch> st;
    for (const PathSpan& span : path.spans) {
        if (span.first >= ch.size() || span.last >= ch.size()) continue;
        std::optional<int> v;
        if (span.maxspeed && *span.maxspeed > 0)
            v = rounded_down(std::min(*span.maxspeed, kVelocitaMassima));
        st.push_back({ch[span.first], ch[span.last], v, span.way});
    }
    if (st.empty()) st.push_back({0, static_cast<double>(length), std::nullopt, 0});
    fill_gaps(st, notes);
    std::vector<SpeedStep> steps;
    for (std::size_t i = 0; i < st.size(); ++i) {
        const std::int32_t at = i == 0 ? 0 : std::min(to_cell_boundary(st[i].start), length);
        steps.push_back({at, *st[i].kmh});
    }
    steps = merged(steps);
    while (fold_once(steps, length, train_length, notes)) {
    }
    return steps;
}

}  // namespace scenario::importing
