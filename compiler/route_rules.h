// How the values of the source files become route cells and entries of the
// table, and how those read back: one home for every such rule, which the
// compilers, the recorders, the checks and the authoring tool's readers all
// use, so that what `dump`, `plot`, hovers and diagnostics say is what the
// compile did.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "compiler/model.h"

namespace scenario {

// ---- The route and its cells -------------------------------------------

constexpr std::int32_t kMetriCella = 50;             // one route cell
constexpr std::int32_t kLunghezzaMassima = 1000000;  // the longest line, metres
constexpr std::int32_t kMetriOltreLaFine = 7000;     // route beyond the line's length
// The header cell (1) and the closing fills, which stop below N - 2, need
// at least three cells.
constexpr std::int64_t kMinCelle = 3;
// The geometry cursor may not pass this row while curves are laid: no
// geometry reaches past the longest line.
constexpr std::int64_t kUltimaRigaCurve = kLunghezzaMassima;
// Cell 1 carries the format mark and a check code (`percorso(1)`).
constexpr int kCellaTestata = 1;

// N, R(metri / 50), for the whole metres of a route in integers: the same as
// R over the real quotient for every length a line may have.
constexpr std::int64_t highest_cell_of(std::int64_t metri) {
    const std::int64_t q = metri / kMetriCella;
    const std::int64_t twice_rest = 2 * (metri % kMetriCella);
    return q + (twice_rest > kMetriCella || (twice_rest == kMetriCella && q % 2 != 0) ? 1 : 0);
}
// The longest line: `metri_totali` 1007000, cells 0 to 20140 and geometry
// rows 0 to 1007000. Larger compiled files come from no build.
constexpr std::int64_t kMaxMetriTotali = std::int64_t{kLunghezzaMassima} + kMetriOltreLaFine;
constexpr std::int64_t kMaxCelle = highest_cell_of(kMaxMetriTotali) + 1;
constexpr std::int64_t kMaxRigheTracciato = kMaxMetriTotali + 1;
static_assert(kMaxCelle == 20141 && kMaxRigheTracciato == 1007001);

// The two conversions from a position in metres to a cell index, and back:
// a cell stands for 50 i to 50 i + 50 m. Objects placed on the cell after
// their position (signals, boards, signs, slowdowns) read back one cell
// earlier, within half a cell of where they were written.
inline std::int64_t cell_of(std::int64_t p) {
    return round_half_even(static_cast<double>(p) / kMetriCella);
}
inline std::int64_t cell_after(std::int64_t p) {
    return round_half_even(static_cast<double>(p) / kMetriCella + 1.0);
}
constexpr std::int64_t cell_start(std::int64_t cell) {
    return cell * kMetriCella;
}
constexpr std::int64_t position_before(std::int64_t cell) {
    return (cell - 1) * kMetriCella;
}

// Range test: the highest cell index is at least (p + margin) / 50, as a
// real number. A record needs room after its position; a station more, for
// its far end and its stop point.
constexpr std::int64_t kMargineRecord = 100;
constexpr std::int64_t kMargineStazione = 800;
bool in_range(const Scenario& s, std::int64_t p, std::int64_t margin = kMargineRecord);
bool in_range(std::int32_t ultima_cella, std::int64_t p, std::int64_t margin = kMargineRecord);

// ---- Profiles: speed, gradient ------------------------------------------

// `velocita` keeps a speed in units of 5 km/h: R(km/h / 5).
constexpr std::int32_t kKmhPerUnit = 5;
inline std::int64_t speed_units(std::int64_t kmh) {
    return round_half_even(static_cast<double>(kmh) / kKmhPerUnit);
}
constexpr int speed_kmh(std::uint8_t velocita) {
    return velocita * kKmhPerUnit;
}
// The highest speed a row may give: its units, R(1277 / 5) = 255, still fit
// the byte; those of 1278 km/h do not.
constexpr std::int32_t kVelocitaMassima = 1277;
// The speed a row of `kmh` leaves in the cells; another value than `kmh`
// when it is no multiple of 5.
inline std::int64_t kept_speed(std::int64_t kmh) {
    return kKmhPerUnit * speed_units(kmh);
}

// `pendenza` holds per mille plus 100, so that a level cell holds 100.
constexpr std::int64_t kPendenzaPiana = 100;
inline std::uint8_t pendenza_of(std::int64_t per_mille) {
    return low8(per_mille + kPendenzaPiana);
}
constexpr int gradient_per_mille(std::uint8_t pendenza) {
    return pendenza - kPendenzaPiana;
}

// The closing fills of both profiles stop below N - 2: the last three cells
// carry no speed and no adhesion.
constexpr std::int64_t kCelleSenzaProfilo = 3;
constexpr std::int64_t profile_end(std::int64_t ultima_cella) {
    return ultima_cella + 1 - kCelleSenzaProfilo;
}

// ---- Boards and signals --------------------------------------------------

// A maximum-speed board packs each speed of its first set times 20 with the
// matching speed of its second set in steps of 5 km/h: R(vd / 5 + vs * 20).
constexpr std::int32_t kFattoreIndicatore = 20;
inline std::int64_t packed_board_speed(std::int32_t vs, std::int32_t vd) {
    return round_half_even(static_cast<double>(vd) / kKmhPerUnit +
                           static_cast<double>(std::int64_t{vs} * kFattoreIndicatore));
}
// The first set's speed of a packed word (`vas` from `dato1`).
constexpr int first_board_speed(std::int16_t dato) {
    return dato / kFattoreIndicatore;
}

// A signal's time is 0 (none) or at least 101: 1 to 100 are raised to 101.
constexpr std::int32_t kShortestTempo = 101;
inline bool tempo_raised(std::int64_t tempo) {
    return tempo >= 1 && tempo < kShortestTempo;
}

// A slowdown lays its start cell (3, with its speed in `dato1`) and its end
// cell (2) on the cells after its start and after its end.
struct Slowdown {
    std::int64_t start_cell = 0;
    std::int64_t end_cell = 0;  // the start cell itself when none follows it
    int speed = 0;              // km/h
};
// The slowdowns of a route in running order. A start cell's end is the
// first end cell after it and before the next start.
std::vector<Slowdown> slowdowns(const std::vector<cella>& percorso);

// ---- Stations --------------------------------------------------------------

// Kinds from 25 on are passed: no stop point, no approach marks. Kinds 5
// and 6 are short stations, 7 and 8 long ones; the others lie centred on
// their position.
constexpr std::uint8_t kPrimoTipoSenzaFermata = 25;
constexpr bool is_short_kind(std::uint8_t tipo) {
    return tipo == 5 || tipo == 6;
}
constexpr bool is_long_kind(std::uint8_t tipo) {
    return tipo == 7 || tipo == 8;
}
constexpr bool has_stop_point(std::uint8_t tipo) {
    return tipo < kPrimoTipoSenzaFermata;
}
constexpr bool has_approach_marks(std::uint8_t tipo) {
    return has_stop_point(tipo) && !is_short_kind(tipo);
}

// The stop point lies on the cell before the station's far end. It must lie
// beyond the header cell, as must each approach mark; marks 81 to 84 stand
// on the four cells before the stop point, counting away from it.
constexpr int kSegniStazione = 4;
constexpr std::uint8_t kBaseSegnoStazione = 80;
constexpr std::int64_t stop_cell(std::int32_t valore2) {
    return valore2 / kMetriCella - 1;
}
constexpr bool beyond_header(std::int64_t cell) {
    return cell > kCellaTestata;
}
constexpr std::int64_t mark_cell(std::int64_t stop, int k) {
    return stop - k;
}
constexpr std::uint8_t mark_value(int k) {
    return static_cast<std::uint8_t>(kBaseSegnoStazione + k);
}

// Whether station `e` put its approach mark `dato6` on `cell`.
bool station_marks(const voce& e, std::int64_t cell, std::uint8_t dato6);

// ---- The entry table --------------------------------------------------------

// Stations grow upward from entry 1, sign texts downward from entry 80.
constexpr int kPrimaStazione = 1;
constexpr int kPrimoCartello = 80;
// The fixed entries: the kilometric references, read from the line file's
// "tre", "due" and "uno" records, and the three header entries.
constexpr int kVoceProgressivaTre = 81;
constexpr int kVoceProgressivaDue = 82;
constexpr int kVoceProgressivaUno = 83;
constexpr int kVoceTestataTreno = 84;   // braked mass, route length, carriages
constexpr int kVoceTestataLinea = 85;   // `nome_linea`, scenery, format mark, check code
constexpr int kVoceTestataCodici = 86;  // `numero_treno`, signal repetition, sanding, clock
static_assert(kVoceTestataCodici < kVoci);

// A reference with the direction flag 1 counts down and is stored with 100
// added to its kilometric value.
constexpr std::int32_t kAggiuntaDiscendente = 100;

// The number of station entries: from entry 1 up to the first unused entry
// or the first that holds the text of a sign placed on the route.
int station_count(const std::array<voce, kVoci>& voci, const std::vector<cella>& percorso);

// The line's kilometric progressive at route position `p`, in metres, from
// the references as the compile sorted them: the one with the largest
// start at or before `p` (before them all, the one that starts first),
// counting up or down as its flag says. With no reference in use, the position itself.
double kilometre_at(const std::array<voce, kVoci>& voci, double p);

}  // namespace scenario
