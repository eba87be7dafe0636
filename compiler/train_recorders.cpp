#include "compiler/train_recorders.h"

#include <span>

#include "compiler/compile_observer.h"
#include "compiler/error_codes.h"
#include "compiler/model.h"
#include "compiler/route_rules.h"

namespace scenario {

namespace {

// A signal is announced on every second cell before it, four times.
constexpr int kSignalMarks = 4;
constexpr std::int64_t kSignalMarkStep = 2;

constexpr std::int32_t kSxWithTempo = 2;  // only a left-hand signal of kind 2 has a time

// The warning stands 1200 m before the start of a slowdown; a slowdown that
// starts within 1500 m of the route's start has neither warning nor lead-in.
constexpr std::int64_t kWarningDistance = 1200;
constexpr std::int32_t kWarningFrom = 1500;
constexpr int kLeadInCells = 4;

// Every data word of a signal holds a left-hand code in its tens and a
// right-hand code in its units.
std::int16_t pair_word(std::int64_t tens, std::int64_t units) {
    return low16(10 * tens + units);
}

void put_signal_marks(Scenario& s, std::int64_t c, std::int64_t aspect, CompileObserver* observer) {
    for (int k = 1; k <= kSignalMarks; ++k) {
        const std::int64_t at = c - kSignalMarkStep * k;
        cella* mark = s.cell(at);
        if (mark == nullptr) continue;
        if (observer != nullptr && mark->dato6 != 0) observer->mark_replaces(at, mark->dato6);
        mark->dato6 = low8(10 * aspect + k);
    }
}

// The end, start and warning cells share the speed and the optional `d_v`.
void put_slowdown_cell(cella& c, std::uint8_t tipo, std::int32_t d_v) {
    c.tipo = tipo;
    if (d_v != 0) c.dato2 = low16(d_v);
}

// A cell that a recorder wants for a new object, and the code recorded when
// it is taken.
struct Spot {
    std::int64_t index;
    std::int32_t code;
    cella* cell = nullptr;
};

enum class Lookup : std::uint8_t { free, taken, outside };

// Looks the spots up in order and stops at the first that lies outside the
// route or is taken (recording its code), so that nothing is written before
// these tests have passed.
Lookup find_free(Scenario& s, std::span<Spot> spots) {
    for (Spot& spot : spots) {
        spot.cell = s.cell(spot.index);
        if (spot.cell == nullptr) return Lookup::outside;
        if (!is_free(*spot.cell)) {
            s.codice_errore = spot.code;
            return Lookup::taken;
        }
    }
    return Lookup::free;
}

// REQUIRES: the cells h - 3 to h exist.
bool lead_in_is_free(const Scenario& s, std::int64_t h) {
    for (int i = 0; i < kLeadInCells; ++i) {
        const cella* c = s.cell(h - i);
        if (c == nullptr || !is_free(*c)) return false;
    }
    return true;
}

void put_lead_in(Scenario& s, std::int64_t h, std::int32_t d_v) {
    for (int i = 0; i < kLeadInCells; ++i) {
        cella* c = s.cell(h - i);
        if (c == nullptr) continue;
        c->tipo = tipo_cella::kPreavviso;
        c->dato1 = low16(i + 1);
        if (d_v != 0) c->dato2 = low16(i + 1);
    }
}

}  // namespace

bool memo_segnale(Scenario& s, std::int32_t posizione, const std::int32_t& sx,
                  const std::int32_t& s1, const std::int32_t& s2, const std::int32_t& s3,
                  const std::int32_t& rapp, const std::int32_t& dx, const std::int32_t& d1,
                  const std::int32_t& d2, const std::int32_t& d3, std::int32_t& tempo,
                  CompileObserver* observer) {
    const std::int64_t c = cell_after(posizione);
    Spot spot[] = {{c, codice::kSegnaleOccupato}};
    const Lookup found = find_free(s, spot);
    if (found != Lookup::free) return found == Lookup::taken;
    if (s.cell(c - kSignalMarkStep * kSignalMarks) == nullptr) return false;

    const std::int64_t aspect = 3 * static_cast<std::int64_t>(sx) + dx;
    cella& cell = *spot[0].cell;
    cell.tipo = tipo_cella::kSegnale;
    cell.dato4 = pair_word(rapp, aspect);
    cell.dato1 = pair_word(s1, d1);
    cell.dato2 = pair_word(s2, d2);
    cell.dato3 = pair_word(s3, d3);
    if (tempo_raised(tempo)) tempo = kShortestTempo;
    cell.dato5 = sx == kSxWithTempo ? low8(tempo) : 0;
    put_signal_marks(s, c, aspect, observer);
    return true;
}

bool memo_rallentamento(Scenario& s, std::int32_t x, const std::int32_t& v, const std::int32_t& l,
                        const std::int32_t& f_tt, std::int32_t f_ta, const std::int32_t& d_v) {
    const bool with_warning = x > kWarningFrom;
    const bool with_lead_in = with_warning && f_ta != 0;
    const std::int64_t ahead = static_cast<std::int64_t>(x) - kWarningDistance;
    Spot spots[] = {{cell_after(ahead), codice::kAvvisoOccupato},
                    {cell_after(x), codice::kInizioOccupato},
                    {cell_after(static_cast<std::int64_t>(x) + l), codice::kFineOccupata}};
    const std::span<Spot> wanted =
        with_warning ? std::span<Spot>(spots) : std::span(spots).subspan(1);
    const Lookup found = find_free(s, wanted);
    if (found != Lookup::free) return found == Lookup::taken;
    const std::int64_t h = cell_of(ahead);
    if (with_lead_in && (s.cell(h) == nullptr || s.cell(h - (kLeadInCells - 1)) == nullptr)) {
        return false;
    }

    cella* warning = spots[0].cell;  // looked up only when there is a warning
    cella& start = *spots[1].cell;
    cella& end = *spots[2].cell;
    // With a length of 0 the start and the end are one cell, which ends as a start.
    put_slowdown_cell(end, tipo_cella::kFineRallentamento, d_v);
    put_slowdown_cell(start, tipo_cella::kInizioRallentamento, d_v);
    if (warning != nullptr) {
        put_slowdown_cell(*warning, tipo_cella::kAvvisoRallentamento, d_v);
        warning->dato1 = low16(v);
    }
    for (cella* c : {&start, &end}) {
        c->dato1 = low16(v);
        c->dato3 = low16(f_tt);
    }
    if (!with_lead_in) return true;
    // The lead-in cells are tested only now: a taken one leaves the cells above written.
    if (!lead_in_is_free(s, h)) {
        s.codice_errore = codice::kPreavvisoOccupato;
        return true;
    }
    put_lead_in(s, h, d_v);
    return true;
}

}  // namespace scenario
