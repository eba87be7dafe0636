#include "tool/plot/route_features.h"

#include "compiler/route_rules.h"
#include "tool/text/code_page.h"

namespace scenario {

namespace {

template <typename Value>
std::vector<ProfileStep> profile(const std::vector<cella>& percorso, Value value) {
    std::vector<ProfileStep> steps;
    const std::int64_t cells = profile_end(static_cast<std::int64_t>(percorso.size()) - 1);
    for (std::int64_t i = 0; i < cells; ++i) {
        const int v = value(percorso[static_cast<std::size_t>(i)]);
        const std::int64_t from = cell_start(i);
        if (steps.empty() || steps.back().value != v) steps.push_back({from, from, v});
        steps.back().to = from + kMetriCella;
    }
    return steps;
}

std::vector<StationMark> stations(const std::array<voce, kVoci>& voci,
                                  const std::vector<cella>& percorso) {
    std::vector<StationMark> out;
    const int count = station_count(voci, percorso);
    for (int n = kPrimaStazione; n < kPrimaStazione + count; ++n) {
        const voce& v = voci[static_cast<std::size_t>(n)];
        out.push_back(
            {v.valore1, v.valore2, v.valore3, has_stop_point(v.tipo), ansi_to_utf8(v.testo)});
    }
    return out;
}

std::vector<TunnelSpan> tunnels(const std::vector<cella>& percorso) {
    std::vector<TunnelSpan> out;
    bool inside = false;
    for (std::size_t i = 0; i < percorso.size(); ++i) {
        const std::int64_t from = cell_start(static_cast<std::int64_t>(i));
        if (percorso[i].galleria == 0) {
            inside = false;
            continue;
        }
        if (!inside) out.push_back({from, from});
        out.back().fine = from + kMetriCella;
        inside = true;
    }
    return out;
}

// A board packs three speeds of a first set (`vas`, `vbs`, `vcs`) and of a
// second; the label is `vas`, the speed the board shows first.
std::string speed_board_label(const cella& c) {
    return std::to_string(first_board_speed(c.dato1));
}

std::string name_board_label(const std::array<voce, kVoci>& voci, const cella& c) {
    if (c.dato1 < 0 || c.dato1 >= kVoci) return {};
    return board_caption(voci[static_cast<std::size_t>(c.dato1)].testo);
}

void point_marks(const std::array<voce, kVoci>& voci, const std::vector<cella>& percorso,
                 RouteFeatures& f) {
    for (std::size_t i = 0; i < percorso.size(); ++i) {
        const cella& c = percorso[i];
        const std::int64_t at = position_before(static_cast<std::int64_t>(i));
        switch (c.tipo) {
            case tipo_cella::kSegnale:
                f.signals.push_back({at, {}});
                break;
            case tipo_cella::kIndicatoreVMax:
                f.speed_boards.push_back({at, speed_board_label(c)});
                break;
            case tipo_cella::kCartelloIndicatore:
                f.name_boards.push_back({at, name_board_label(voci, c)});
                break;
            case tipo_cella::kInizioRallentamento:
                f.slowdowns.push_back({at, std::to_string(c.dato1) + " km/h"});
                break;
            default:
                break;
        }
    }
}

std::string trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

}  // namespace

RouteFeatures route_features(const std::array<voce, kVoci>& voci,
                             const std::vector<cella>& percorso) {
    RouteFeatures f;
    f.route_end = cell_start(static_cast<std::int64_t>(percorso.size()));
    f.line_length = voci[kVoceTestataTreno].valore2 > 0 ? voci[kVoceTestataTreno].valore2 : 0;
    f.gradient = profile(percorso, [](const cella& c) { return gradient_per_mille(c.pendenza); });
    f.speed = profile(percorso, [](const cella& c) { return speed_kmh(c.velocita); });
    f.stations = stations(voci, percorso);
    f.tunnels = tunnels(percorso);
    point_marks(voci, percorso, f);
    return f;
}

std::string board_caption(std::string_view testo) {
    std::string caption;
    std::size_t at = 0;
    bool grouped = false;
    while ((at = testo.find('(', at)) != std::string_view::npos) {
        const std::size_t close = testo.find(')', at);
        const std::string group = trimmed(testo.substr(at + 1, close - at - 1));
        grouped = true;
        if (!group.empty()) caption += (caption.empty() ? "" : " \xB7 ") + group;
        if (close == std::string_view::npos) break;
        at = close + 1;
    }
    return ansi_to_utf8(grouped ? caption : trimmed(testo));
}

}  // namespace scenario
