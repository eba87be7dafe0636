#include "tool/plot/route_features.h"

#include <set>

#include "tool/text/code_page.h"

namespace scenario {

namespace {

constexpr int kPassoVelocita = 5;    // `velocita` counts steps of 5 km/h
constexpr int kPendenzaPiana = 100;  // `pendenza` holds per mille plus 100
constexpr int kPrimaStazione = 1;
constexpr std::uint8_t kTipoSenzaFermata = 25;  // station kinds from here get no stop point
constexpr int kPassoIndicatore = 20;            // a board packs its first-set speed times 20
// The fills of both profiles stop three cells before the last one.
constexpr std::size_t kCelleSenzaProfilo = 3;

// Signals, boards and slowdowns stand on the cell after their position:
// one cell back gives the position within half a cell.
std::int64_t position_before(std::size_t cell) {
    return (static_cast<std::int64_t>(cell) - 1) * kMetriCella;
}

template <typename Value>
std::vector<ProfileStep> profile(const std::vector<cella>& percorso, Value value) {
    std::vector<ProfileStep> steps;
    if (percorso.size() <= kCelleSenzaProfilo) return steps;
    const std::size_t cells = percorso.size() - kCelleSenzaProfilo;
    for (std::size_t i = 0; i < cells; ++i) {
        const int v = value(percorso[i]);
        const auto from = static_cast<std::int64_t>(i) * kMetriCella;
        if (steps.empty() || steps.back().value != v) steps.push_back({from, from, v});
        steps.back().to = from + kMetriCella;
    }
    return steps;
}

std::set<std::int64_t> sign_entries(const std::vector<cella>& percorso) {
    std::set<std::int64_t> entries;
    for (const cella& c : percorso) {
        if (c.tipo == tipo_cella::kCartelloIndicatore) entries.insert(c.dato1);
    }
    return entries;
}

bool is_unused(const voce& v) {
    return v.tipo == 0 && v.testo.empty() && v.valore1 == 0 && v.valore2 == 0 && v.valore3 == 0;
}

// Stations fill the table upward from entry 1 until the first unused entry
// or the first entry that holds a sign text.
std::vector<StationMark> stations(const std::array<voce, kVoci>& voci,
                                  const std::vector<cella>& percorso) {
    const std::set<std::int64_t> signs = sign_entries(percorso);
    std::vector<StationMark> out;
    for (int n = kPrimaStazione; n < kPrimoCartello + 1; ++n) {
        const voce& v = voci[static_cast<std::size_t>(n)];
        if (signs.count(n) != 0 || is_unused(v)) break;
        out.push_back(
            {v.valore1, v.valore2, v.valore3, v.tipo < kTipoSenzaFermata, ansi_to_utf8(v.testo)});
    }
    return out;
}

std::vector<TunnelSpan> tunnels(const std::vector<cella>& percorso) {
    std::vector<TunnelSpan> out;
    bool inside = false;
    for (std::size_t i = 0; i < percorso.size(); ++i) {
        const auto from = static_cast<std::int64_t>(i) * kMetriCella;
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
    return std::to_string(c.dato1 / kPassoIndicatore);
}

std::string name_board_label(const std::array<voce, kVoci>& voci, const cella& c) {
    if (c.dato1 < 0 || c.dato1 >= kVoci) return {};
    return board_caption(voci[static_cast<std::size_t>(c.dato1)].testo);
}

void point_marks(const std::array<voce, kVoci>& voci, const std::vector<cella>& percorso,
                 RouteFeatures& f) {
    for (std::size_t i = 0; i < percorso.size(); ++i) {
        const cella& c = percorso[i];
        const std::int64_t at = position_before(i);
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
    f.route_end = static_cast<std::int64_t>(percorso.size()) * kMetriCella;
    f.line_length = voci[kVoceTestataTreno].valore2 > 0 ? voci[kVoceTestataTreno].valore2 : 0;
    f.gradient = profile(percorso, [](const cella& c) { return c.pendenza - kPendenzaPiana; });
    f.speed = profile(percorso, [](const cella& c) { return c.velocita * kPassoVelocita; });
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
