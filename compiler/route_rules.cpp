#include "compiler/route_rules.h"

namespace scenario {

namespace {

bool is_unused(const voce& v) {
    return v.tipo == 0 && v.testo.empty() && v.valore1 == 0 && v.valore2 == 0 && v.valore3 == 0;
}

bool is_in_use(const voce& reference) {
    return reference.valore1 != 0 || reference.valore2 != 0 || reference.valore3 != 0;
}

double kilometre_from(const voce& reference, double p) {
    const bool down = reference.valore3 == 1;
    const double start = down ? reference.valore2 - kAggiuntaDiscendente : reference.valore2;
    const double run = p - reference.valore1;
    return down ? start - run : start + run;
}

}  // namespace

bool in_range(const Scenario& s, std::int64_t p, std::int64_t margin) {
    return s.has_route() && in_range(s.ultima_cella(), p, margin);
}

bool in_range(std::int32_t ultima_cella, std::int64_t p, std::int64_t margin) {
    return static_cast<double>(ultima_cella) >= static_cast<double>(p + margin) / kMetriCella;
}

bool station_marks(const voce& e, std::int64_t cell, std::uint8_t dato6) {
    if (!has_approach_marks(e.tipo)) return false;
    const std::int64_t stop = stop_cell(e.valore2);
    if (!beyond_header(stop)) return false;  // the compile refused the station
    for (int k = 1; k <= kSegniStazione; ++k) {
        const std::int64_t at = mark_cell(stop, k);
        if (beyond_header(at) && at == cell && mark_value(k) == dato6) return true;
    }
    return false;
}

std::vector<Slowdown> slowdowns(const std::vector<cella>& percorso) {
    std::vector<Slowdown> out;
    for (std::size_t i = 0; i < percorso.size(); ++i) {
        if (percorso[i].tipo == tipo_cella::kFineRallentamento && !out.empty() &&
            out.back().end_cell == out.back().start_cell)
            out.back().end_cell = static_cast<std::int64_t>(i);
        if (percorso[i].tipo != tipo_cella::kInizioRallentamento) continue;
        const auto cell = static_cast<std::int64_t>(i);
        out.push_back({cell, cell, percorso[i].dato1});
    }
    return out;
}

int station_count(const std::array<voce, kVoci>& voci, const std::vector<cella>& percorso) {
    std::array<bool, kVoci> sign{};
    for (const cella& c : percorso) {
        if (c.tipo == tipo_cella::kCartelloIndicatore && c.dato1 >= 0 && c.dato1 < kVoci)
            sign[static_cast<std::size_t>(c.dato1)] = true;
    }
    int n = kPrimaStazione;
    while (n <= kPrimoCartello && !sign[static_cast<std::size_t>(n)] &&
           !is_unused(voci[static_cast<std::size_t>(n)]))
        ++n;
    return n - kPrimaStazione;
}

// The compile sorts the references by their start, the largest first.
double kilometre_at(const std::array<voce, kVoci>& voci, double p) {
    const voce* fallback = nullptr;
    for (int i = kVoceProgressivaTre; i <= kVoceProgressivaUno; ++i) {
        const voce& reference = voci[static_cast<std::size_t>(i)];
        if (!is_in_use(reference)) continue;
        if (reference.valore1 <= p) return kilometre_from(reference, p);
        fallback = &reference;
    }
    return fallback != nullptr ? kilometre_from(*fallback, p) : p;
}

}  // namespace scenario
