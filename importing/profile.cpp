#include "importing/profile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "compiler/route_rules.h"
#include "importing/elevation_model.h"

namespace scenario::importing {

namespace {

constexpr double kSampleStep = 10;
// The line format's gradient range, per mille.
constexpr int kLowestGradient = -100;
constexpr int kHighestGradient = 155;
// A moving mean over 210 m: SRTM's 3" heights (about 90 m apart) carry a few
// metres of noise, and a railway's vertical curves are longer than that.
constexpr int kSmoothHalf = 10;
// How far the rows may stray from the smoothed heights, m; SRTM's own
// absolute error is some 5 m (Rodriguez et al., 2006, "An assessment of
// the SRTM topographic products").
constexpr double kTolerance = 1.5;
// The longest row: a long even climb still gets a row now and then.
constexpr std::int32_t kLongestRow = 2000;

struct Sampler {
    const ImportPath& path;
    const std::vector<double>& ch;
    // The point at chainage s: segment and share along it.
    std::pair<std::size_t, double> locate(double s) const {
        const auto it = std::upper_bound(ch.begin(), ch.end(), s);
        std::size_t i = it == ch.begin() ? 1 : static_cast<std::size_t>(it - ch.begin());
        i = std::min(i, ch.size() - 1);
        const double span = ch[i] - ch[i - 1];
        return {i - 1, span > 0 ? std::clamp((s - ch[i - 1]) / span, 0.0, 1.0) : 0.0};
    }
    std::pair<double, double> place(double s) const {
        const auto [seg, t] = locate(s);
        const PathPoint& a = path.points[seg];
        const PathPoint& b = path.points[seg + 1];
        return {a.lat + t * (b.lat - a.lat), a.lon + t * (b.lon - a.lon)};
    }
};

bool dem_heights(const Sampler& at, const ElevationModel& dem, std::size_t n,
                 std::vector<double>* h, std::string* error) {
    for (std::size_t i = 0; i < n; ++i) {
        const auto [lat, lon] = at.place(i * kSampleStep);
        const std::optional<double> v = dem.height(lat, lon);
        if (!v) {
            char where[96];
            std::snprintf(where, sizeof where, "%.5f, %.5f", lat, lon);
            *error = "the elevation model does not cover the path at " + std::string(where) + " (" +
                     std::to_string(static_cast<long>(i * kSampleStep)) + " m along it)";
            return false;
        }
        h->push_back(*v);
    }
    return true;
}

// Heights from the spans' `incline`, per mille for the direction of
// travel; untagged spans are level.
std::vector<double> incline_heights(const ImportPath& path, const Sampler& at, std::size_t n) {
    std::vector<double> h(n, 0.0);
    for (std::size_t i = 1; i < n; ++i) {
        const double s = (i - 0.5) * kSampleStep;
        const std::size_t seg = at.locate(s).first;
        double g = 0;
        for (const PathSpan& span : path.spans) {
            if (seg >= span.first && seg < span.last) g = span.incline.value_or(0);
        }
        h[i] = h[i - 1] + g * kSampleStep / 1000;
    }
    return h;
}

// Heights from the points' `ele`, straight between the tagged points.
std::vector<double> ele_heights(const ImportPath& path, const std::vector<double>& ch,
                                std::size_t n) {
    std::vector<std::pair<double, double>> known;
    for (std::size_t i = 0; i < path.points.size(); ++i) {
        if (path.points[i].ele) known.emplace_back(ch[i], *path.points[i].ele);
    }
    std::vector<double> h(n, 0.0);
    for (std::size_t i = 0; i < n; ++i) {
        const double s = i * kSampleStep;
        const auto it = std::lower_bound(known.begin(), known.end(), std::make_pair(s, -1e300));
        if (it == known.begin())
            h[i] = known.front().second;
        else if (it == known.end())
            h[i] = known.back().second;
        else {
            const auto& a = *(it - 1);
            const auto& b = *it;
            const double t = b.first > a.first ? (s - a.first) / (b.first - a.first) : 0;
            h[i] = a.second + t * (b.second - a.second);
        }
    }
    return h;
}

// Over every structure the track runs straight from one end to the other.
void bridge_structures(const std::vector<Structure>& structures, std::vector<double>& h) {
    for (const Structure& st : structures) {
        const auto a = static_cast<std::size_t>(std::max(0.0, std::floor(st.start / kSampleStep)));
        const auto b =
            std::min(h.size() - 1, static_cast<std::size_t>(std::ceil(st.end / kSampleStep)));
        if (b <= a || a >= h.size()) continue;
        for (std::size_t i = a + 1; i < b; ++i)
            h[i] = h[a] + (h[b] - h[a]) * static_cast<double>(i - a) / static_cast<double>(b - a);
    }
}

std::vector<double> smoothed(const std::vector<double>& h) {
    std::vector<double> out(h.size());
    for (std::size_t i = 0; i < h.size(); ++i) {
        const std::size_t a = i >= kSmoothHalf ? i - kSmoothHalf : 0;
        const std::size_t b = std::min(h.size() - 1, i + kSmoothHalf);
        double sum = 0;
        for (std::size_t j = a; j <= b; ++j)
            sum += h[j];
        out[i] = sum / static_cast<double>(b - a + 1);
    }
    return out;
}

double height_at(const std::vector<double>& h, double step, double s) {
    const double f = std::clamp(s / step, 0.0, static_cast<double>(h.size() - 1));
    const std::size_t i = std::min(static_cast<std::size_t>(f), h.size() - 1);
    const std::size_t j = std::min(i + 1, h.size() - 1);
    return h[i] + (f - i) * (h[j] - h[i]);
}

}  // namespace

const char* height_source_name(HeightSource s) {
    switch (s) {
        case HeightSource::dem:
            return "DEM";
        case HeightSource::incline:
            return "incline tags";
        case HeightSource::ele:
            return "ele tags";
        case HeightSource::level:
            return "level";
    }
    return "level";
}

std::vector<Structure> structures(const ImportPath& path, const std::vector<double>& ch) {
    std::vector<Structure> out;
    for (const PathSpan& span : path.spans) {
        if (!span.tunnel && !span.bridge) continue;
        if (span.first >= ch.size() || span.last >= ch.size()) continue;
        const double a = ch[span.first], b = ch[span.last];
        if (!out.empty() && out.back().tunnel == span.tunnel && out.back().end >= a - 0.5) {
            out.back().end = b;
            if (out.back().name.empty()) out.back().name = span.tunnel_name;
            continue;
        }
        out.push_back(
            {a, b, span.tunnel, span.tunnel ? span.tunnel_name : std::string(), span.way});
    }
    return out;
}

std::vector<GradientRow> gradient_rows(const std::vector<double>& h, double step,
                                       std::int32_t length, double tolerance) {
    std::vector<GradientRow> rows;
    const std::int32_t cell = kMetriCella;
    double base = height_at(h, step, 0);  // the rows' own height at the row's start
    std::int32_t start = 0;
    while (start < length) {
        std::int32_t end = start + cell;
        int chosen = 0;
        for (std::int32_t e = start + cell; e <= std::min(length, start + kLongestRow); e += cell) {
            const double run = e - start;
            const double g = std::round((height_at(h, step, e) - base) / run * 1000);
            const double gc = std::clamp(g, double{kLowestGradient}, double{kHighestGradient});
            bool fits = true;
            for (std::int32_t x = start + cell; x < e && fits; x += cell)
                fits =
                    std::fabs(base + gc * (x - start) / 1000 - height_at(h, step, x)) <= tolerance;
            if (!fits && e > start + cell) break;
            end = e;
            chosen = static_cast<int>(gc);
        }
        if (rows.empty() || rows.back().per_mille != chosen) rows.push_back({start, chosen});
        base += chosen * static_cast<double>(end - start) / 1000;
        start = end;
    }
    if (rows.empty()) rows.push_back({0, 0});
    return rows;
}

std::vector<double> row_heights(const std::vector<GradientRow>& rows, double start, double step,
                                std::size_t count) {
    std::vector<double> out(count, start);
    std::size_t r = 0;
    for (std::size_t i = 1; i < count; ++i) {
        const double s = (i - 0.5) * step;
        while (r + 1 < rows.size() && rows[r + 1].position <= s)
            ++r;
        out[i] = out[i - 1] + rows[r].per_mille * step / 1000;
    }
    return out;
}

bool make_profile(const ImportPath& path, const std::vector<double>& ch,
                  const std::vector<Structure>& st, const ElevationModel* dem, std::int32_t length,
                  Profile* out, std::string* error) {
    const Sampler at{path, ch};
    const auto n = static_cast<std::size_t>(std::ceil(length / kSampleStep)) + 1;
    out->step = kSampleStep;
    out->ground.clear();
    bool any_incline = false;
    for (const PathSpan& s : path.spans)
        any_incline = any_incline || s.incline.has_value();
    std::size_t tagged = 0;
    for (const PathPoint& p : path.points)
        tagged += p.ele.has_value() ? 1 : 0;
    if (dem != nullptr) {
        out->source = HeightSource::dem;
        if (!dem_heights(at, *dem, n, &out->ground, error)) return false;
    } else if (any_incline) {
        out->source = HeightSource::incline;
        out->ground = incline_heights(path, at, n);
    } else if (tagged >= 2) {
        out->source = HeightSource::ele;
        out->ground = ele_heights(path, ch, n);
    } else {
        out->source = HeightSource::level;
        out->ground.assign(n, 0.0);
    }
    out->track = out->ground;
    if (out->source == HeightSource::dem || out->source == HeightSource::ele)
        bridge_structures(st, out->track);
    if (out->source == HeightSource::dem) out->track = smoothed(out->track);
    out->rows = gradient_rows(out->track, kSampleStep, length, kTolerance);
    out->steepest = 0;
    for (const GradientRow& r : out->rows)
        if (std::abs(r.per_mille) > std::abs(out->steepest)) out->steepest = r.per_mille;
    return true;
}

}  // namespace scenario::importing
