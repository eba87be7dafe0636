#include "output/consistency_pass.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

#include "compiler/error_codes.h"
#include "compiler/line_recorders.h"
#include "compiler/model.h"
#include "compiler/route_rules.h"

namespace scenario {

namespace {

constexpr std::int16_t kValorePunto = 180;  // value of every point the pass places

// Signals before a warning cell: how far back to look, and the lowest signal
// cell looked at, so that s - 2 is still cell 1 or later.
constexpr std::int64_t kFinestraSegnali = 20;
constexpr std::int64_t kPrimoSegnale = 3;

// Only slowdowns slower than this get points inside them, one every
// kPassoPunti cells (400 m).
constexpr std::int16_t kVelocitaLenta = 110;
constexpr int kPassoPunti = 8;

// How far past the end cell the first signal is looked for.
constexpr std::int64_t kFinestraDopoFine = 12;

// A band before a slowdown start: it applies when the start cell lies past
// `after`, and tries the cells `offsets` before the start, in that order.
struct Band {
    std::int64_t after;
    std::array<std::int64_t, 3> offsets;
};
constexpr std::array<Band, 3> kBands = {{
    {7, {5, 6, 7}},      // 250 to 350 m before the start
    {13, {11, 12, 13}},  // 550 to 650 m
    {20, {18, 19, 20}},  // 900 to 1000 m
}};

bool free_at(const Scenario& s, std::int64_t i) {
    const cella* c = s.cell(i);
    return c != nullptr && is_free(*c);
}

bool tipo_at(const Scenario& s, std::int64_t i, std::uint8_t tipo) {
    const cella* c = s.cell(i);
    return c != nullptr && c->tipo == tipo;
}

void place_point(Scenario& s, std::int64_t i) {
    cella* c = s.cell(i);
    if (c == nullptr) return;
    c->tipo = tipo_cella::kAbbattimento;
    c->dato1 = kValorePunto;
}

// A smaller value already on the point stays; a larger one comes down to 180.
void lower_point(Scenario& s, std::int64_t i) {
    cella* c = s.cell(i);
    if (c == nullptr) return;
    c->dato1 = low16(minimo(kValorePunto, c->dato1));
}

void record_failure(Scenario& s, std::int32_t code, std::int64_t cell) {
    s.codice_errore = code;
    s.posizione_errore = static_cast<std::int32_t>(cell * kMetriCella);
}

// A free cell is preferred to an existing point, and the nearer cell to the
// farther one.
void point_before_signal(Scenario& s, std::int64_t signal) {
    if (free_at(s, signal - 1)) {
        place_point(s, signal - 1);
    } else if (free_at(s, signal - 2)) {
        place_point(s, signal - 2);
    } else if (tipo_at(s, signal - 1, tipo_cella::kAbbattimento)) {
        lower_point(s, signal - 1);
    } else if (tipo_at(s, signal - 2, tipo_cella::kAbbattimento)) {
        lower_point(s, signal - 2);
    } else {
        record_failure(s, codice::kPuntoPrimaDelSegnale, signal);
    }
}

// Every signal in the window before a warning cell gets a point, nearest first.
void signals_before_warning(Scenario& s, std::int64_t warning) {
    for (std::int64_t k = 1; k <= kFinestraSegnali; ++k) {
        const std::int64_t signal = warning - k;
        if (signal < kPrimoSegnale) break;
        if (tipo_at(s, signal, tipo_cella::kSegnale)) point_before_signal(s, signal);
    }
}

// Each band is tried on its own; an existing point in a band is not free.
void bands_before_start(Scenario& s, std::int64_t start) {
    for (const Band& band : kBands) {
        if (start <= band.after) continue;
        bool placed = false;
        for (const std::int64_t offset : band.offsets) {
            if (free_at(s, start - offset)) {
                place_point(s, start - offset);
                placed = true;
                break;
            }
        }
        if (!placed) record_failure(s, codice::kFasciaOccupata, start);
    }
}

// Places the point due on walk cell `m`, or on a neighbour, and returns the
// counter that puts the next point 8 cells after the cell that received this
// one. After a failure the counter stays at 8, runs on past it and so places
// nothing more in this slowdown.
int point_in_slowdown(Scenario& s, std::int64_t m) {
    if (free_at(s, m)) {
        place_point(s, m);
        return 0;
    }
    if (free_at(s, m - 1)) {
        place_point(s, m - 1);
        return 1;
    }
    if (free_at(s, m + 1)) {
        place_point(s, m + 1);
        return -1;
    }
    record_failure(s, codice::kPuntoNelRallentamento, m);
    return kPassoPunti;
}

// Walks from a slow slowdown's start to its end cell, placing points on the
// way. The end test follows the counting step, so the eighth step may land
// on the end cell and put its point just before it. Returns the end cell, or
// nothing when the walk reaches N without meeting one.
std::optional<std::int64_t> points_inside_slowdown(Scenario& s, std::int64_t start) {
    const std::int64_t last = s.ultima_cella();
    int n = 0;
    for (std::int64_t m = start + 1; m <= last; ++m) {
        ++n;
        if (n == kPassoPunti) n = point_in_slowdown(s, m);
        if (tipo_at(s, m, tipo_cella::kFineRallentamento)) return m;
    }
    return std::nullopt;
}

// The end cell of a slowdown whose walk does not run.
std::optional<std::int64_t> find_end(const Scenario& s, std::int64_t start) {
    const std::int64_t last = s.ultima_cella();
    for (std::int64_t m = start + 1; m <= last; ++m) {
        if (tipo_at(s, m, tipo_cella::kFineRallentamento)) return m;
    }
    return std::nullopt;
}

// The first signal within 12 cells of the end gets a point on one of the two
// cells before it; nothing is lowered here. A failure is reported at the end
// cell, not at the signal.
void point_after_end(Scenario& s, std::int64_t end) {
    const std::int64_t window_end =
        std::min(end + kFinestraDopoFine, std::int64_t{s.ultima_cella()});
    for (std::int64_t signal = end; signal <= window_end; ++signal) {
        if (!tipo_at(s, signal, tipo_cella::kSegnale)) continue;
        if (free_at(s, signal - 1)) {
            place_point(s, signal - 1);
        } else if (free_at(s, signal - 2)) {
            place_point(s, signal - 2);
        } else {
            record_failure(s, codice::kPuntoNelRallentamento, end);
        }
        return;
    }
}

void around_slowdown(Scenario& s, std::int64_t start, std::int16_t speed) {
    bands_before_start(s, start);
    const bool slow = speed < kVelocitaLenta;
    const std::optional<std::int64_t> end =
        slow ? points_inside_slowdown(s, start) : find_end(s, start);
    if (end) point_after_end(s, *end);
}

}  // namespace

void consistency_pass(Scenario& s) {
    // Cells 0, N - 1 and N are never visited, though points may land there.
    const std::int64_t last_visited = s.ultima_cella() - 2;
    for (std::int64_t c = 1; c <= last_visited; ++c) {
        const cella* cell = s.cell(c);
        if (cell == nullptr) break;
        if (cell->tipo == tipo_cella::kAvvisoRallentamento) {
            signals_before_warning(s, c);
        } else if (cell->tipo == tipo_cella::kInizioRallentamento) {
            around_slowdown(s, c, cell->dato1);
        }
    }
}

}  // namespace scenario
