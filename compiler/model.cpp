#include "compiler/model.h"

#include <cmath>

#include "compiler/route_rules.h"

namespace scenario {

cella* Scenario::cell(std::int64_t i) {
    return i >= 0 && i < static_cast<std::int64_t>(percorso.size()) ? &percorso[i] : nullptr;
}

const cella* Scenario::cell(std::int64_t i) const {
    return i >= 0 && i < static_cast<std::int64_t>(percorso.size()) ? &percorso[i] : nullptr;
}

voce* Scenario::entry(std::int64_t i) {
    return i >= 0 && i < kVoci ? &voci[i] : nullptr;
}

const voce* Scenario::entry(std::int64_t i) const {
    return i >= 0 && i < kVoci ? &voci[i] : nullptr;
}

void clear_voci(Scenario& s) {
    s.voci.fill(voce{});
}

std::int64_t round_half_even(double x) {
    // nearbyint follows the default rounding mode, which rounds halves to even.
    return static_cast<std::int64_t>(std::nearbyint(x));
}

std::optional<std::int32_t> highest_cell(std::int32_t lunghezza) {
    const std::int64_t metri = static_cast<std::int64_t>(lunghezza) + kMetriOltreLaFine;
    const std::int64_t n = round_half_even(static_cast<double>(metri) / kMetriCella);
    if (n + 1 < kMinCelle) return std::nullopt;
    return static_cast<std::int32_t>(n);
}

bool create_route(Scenario& s, std::int32_t lunghezza) {
    s.percorso.clear();
    s.tracciato = Tracciato{};
    const std::optional<std::int32_t> n = highest_cell(lunghezza);
    if (!n) return false;
    const std::int64_t metri = static_cast<std::int64_t>(lunghezza) + kMetriOltreLaFine;
    s.metri_totali = static_cast<std::int32_t>(metri);
    s.percorso.assign(static_cast<std::size_t>(*n + 1), cella{});
    if (s.genera_linea != 0 && s.righe_tracciato) {
        const auto rows = static_cast<std::size_t>(metri + 1);
        Tracciato& t = s.tracciato;
        t = Tracciato(s.memoria_tracciato);
        t.tag.resize(rows);
        t.x.resize(rows);
        t.y.resize(rows);
    }
    return true;
}

}  // namespace scenario
