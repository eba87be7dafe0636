#include "importing/kilometre_fit.h"

#include <algorithm>
#include <cmath>

#include "compiler/route_rules.h"

namespace scenario::importing {

namespace {

// Two posts belong to one run when the count between them differs from the
// chainage by no more than this share plus a fixed slack: posts stand some
// metres off their nominal place, and the map's track is a little shorter
// or longer than the surveyed one.
constexpr double kShare = 0.1;
constexpr double kSlack = 150;
// km: no line counts further than this, and its metres fit the field.
constexpr double kLongestCount = 100000;

struct Run {
    std::vector<Milestone> posts;
    int direction = 1;  // +1 counting up, -1 down
};

std::int32_t multiple_of_50(double v) {
    return static_cast<std::int32_t>(std::lround(v / kMetriCella)) * kMetriCella;
}

bool continues(const Run& run, const Milestone& m) {
    const Milestone& last = run.posts.back();
    const double ds = m.chainage - last.chainage;
    const double dk = (m.km - last.km) * 1000;
    if (run.posts.size() == 1) return std::fabs(std::fabs(dk) - ds) <= kShare * ds + kSlack;
    return std::fabs(dk - run.direction * ds) <= kShare * ds + kSlack;
}

// The count at chainage 0 of the run, the mean over its posts.
double offset_of(const Run& run) {
    double sum = 0;
    for (const Milestone& m : run.posts)
        sum += m.km * 1000 - run.direction * m.chainage;
    return sum / static_cast<double>(run.posts.size());
}

}  // namespace

std::vector<KilometricReference> kilometric_references(std::vector<Milestone> ms,
                                                       std::vector<ImportNote>* notes) {
    // A count out of all reason (a typing slip on the map) fits no line.
    std::erase_if(ms, [](const Milestone& m) {
        return !std::isfinite(m.km) || m.km < 0 || m.km > kLongestCount;
    });
    std::sort(ms.begin(), ms.end(),
              [](const Milestone& a, const Milestone& b) { return a.chainage < b.chainage; });
    std::vector<Run> runs;
    for (const Milestone& m : ms) {
        if (!runs.empty() && continues(runs.back(), m)) {
            Run& r = runs.back();
            if (r.posts.size() == 1) r.direction = m.km >= r.posts.back().km ? 1 : -1;
            r.posts.push_back(m);
        } else {
            runs.push_back({{m}, 1});
        }
    }
    // A lone post between two runs is more likely a stray than a jump.
    for (std::size_t i = 0; i < runs.size(); ++i) {
        if (runs[i].posts.size() == 1 && runs.size() > 1) {
            notes->push_back({"n" + std::to_string(runs[i].posts[0].node),
                              "milestone fits no run of the others: left out"});
            runs.erase(runs.begin() + static_cast<std::ptrdiff_t>(i--));
        }
    }
    std::vector<KilometricReference> out;
    if (runs.empty()) return {{0, 0, false}};
    for (std::size_t i = 0; i < runs.size(); ++i) {
        if (out.size() == kMaxReferences) {
            notes->push_back({"n" + std::to_string(runs[i].posts[0].node),
                              "a further jump of the milestones' count: the line file holds three "
                              "kilometric references, this run follows the one before"});
            continue;
        }
        const double from =
            i == 0 ? 0.0 : (runs[i - 1].posts.back().chainage + runs[i].posts[0].chainage) / 2;
        std::int32_t position = i == 0 ? 0 : multiple_of_50(from);
        if (!out.empty() && position <= out.back().position)
            position = out.back().position + kMetriCella;
        const double value = offset_of(runs[i]) + runs[i].direction * position;
        out.push_back({position, std::max(0, multiple_of_50(value)), runs[i].direction < 0});
    }
    return out;
}

}  // namespace scenario::importing
