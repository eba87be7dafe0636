// The scenario model: the route cells, the line geometry, the entry table,
// the tunnel lists and the shared scalar values of one build.
//
// Every store access from the compilers goes through the checked accessors
// below: an index outside a store gives nullptr, never a stray read or write.
#pragma once

#include <array>
#include <cstdint>
#include <memory_resource>
#include <optional>
#include <string>
#include <vector>

#include "compiler/row_allocator.h"

namespace scenario {

// One route cell: 50 m of track and the object that stands on it.
struct cella {
    std::uint8_t tipo = 0;
    std::int16_t dato1 = 0;
    std::int16_t dato2 = 0;
    std::int16_t dato3 = 0;
    std::int16_t dato4 = 0;
    std::uint8_t dato5 = 0;
    std::uint8_t dato6 = 0;  // approach mark before a signal or a stop point
    std::uint8_t galleria = 0;
    std::uint8_t velocita = 0;  // units of 5 km/h
    std::uint8_t pendenza = 0;  // per mille plus 100
    std::uint8_t aderenza = 0;  // per cent
};

// One record of the entry table: a station, a sign text, a kilometric
// reference or a header entry.
struct voce {
    std::uint8_t tipo = 0;
    std::int32_t valore1 = 0;
    std::int32_t valore2 = 0;
    std::int32_t valore3 = 0;
    std::uint8_t segno = 0;
    std::string testo;
    std::int16_t numero1 = 0;
    std::int16_t numero2 = 0;
    std::int16_t numero3 = 0;
    std::int16_t numero4 = 0;
    std::int16_t numero5 = 0;
    std::uint8_t byte1 = 0;
    std::uint8_t byte2 = 0;
    std::uint8_t byte3 = 0;
    std::uint8_t byte4 = 0;
    std::int32_t valore4 = 0;
};

// `tipo` values of a route cell.
namespace tipo_cella {
constexpr std::uint8_t kVuota = 0;
constexpr std::uint8_t kSegnale = 1;
constexpr std::uint8_t kFineRallentamento = 2;
constexpr std::uint8_t kInizioRallentamento = 3;
constexpr std::uint8_t kAvvisoRallentamento = 4;
constexpr std::uint8_t kPreavviso = 5;  // one of the four lead-in cells
constexpr std::uint8_t kIndicatoreVMax = 6;
constexpr std::uint8_t kFermata = 10;
constexpr std::uint8_t kSegnoGalleria = 11;
constexpr std::uint8_t kAbbattimento = 12;
constexpr std::uint8_t kAbbattimentoSenzaValore = 13;
constexpr std::uint8_t kCartelloIndicatore = 14;
}  // namespace tipo_cella

// Kind of value held by one element of the line geometry. The numbers are
// the tags that the line geometry file stores in front of each element.
enum class Tag : std::uint16_t { vuoto = 0, intero = 2, reale = 5 };

// One column of the line geometry, a value per row.
template <typename T>
using Colonna = std::vector<T, RowAllocator<T>>;

// The plan of the line, one row of (x, y) per metre. Both columns of a row
// always hold the same kind of value; rows 0 and 1 are 16-bit integers.
// An empty row (`Tag::vuoto`) holds 0 in both columns.
struct Tracciato {
    Colonna<Tag> tag;
    Colonna<double> x;
    Colonna<double> y;

    Tracciato() = default;
    explicit Tracciato(std::pmr::memory_resource* memoria)
        : tag(RowAllocator<Tag>(memoria)),
          x(RowAllocator<double>(memoria)),
          y(RowAllocator<double>(memoria)) {}

    bool exists() const { return !tag.empty(); }
    std::int64_t rows() const { return static_cast<std::int64_t>(tag.size()); }
};

constexpr int kVoci = 87;         // entries 0 to 86
constexpr int kMaxMontagne = 80;  // tunnel lists hold entries 1 to 80

struct Scenario {
    // Scenario identity, fixed at start-up.
    std::string nome_linea;
    std::string numero_treno;

    std::int32_t genera_linea = 0;
    // With `genera_linea` set, false counts the geometry's rows without
    // making or filling them: the curve records are read and checked as in
    // a full build, for a check that writes no file.
    bool righe_tracciato = true;
    std::int32_t codice_errore = 0;
    std::int32_t posizione_errore = 0;
    std::string riga;
    std::int32_t metri_totali = 0;
    std::int32_t numero_montagne = 0;

    std::vector<cella> percorso;  // cells 0 to N; empty until the route is created
    Tracciato tracciato;
    // Where the geometry's rows are kept: the builder gives memory backed by
    // large pages, which the million values of a long line fill best.
    std::pmr::memory_resource* memoria_tracciato = std::pmr::new_delete_resource();
    std::array<voce, kVoci> voci{};
    std::array<std::int32_t, kMaxMontagne + 1> montagne_inizio{};
    std::array<std::int32_t, kMaxMontagne + 1> montagne_fine{};

    bool has_route() const { return !percorso.empty(); }
    // N, the highest cell index. REQUIRES: has_route().
    std::int32_t ultima_cella() const { return static_cast<std::int32_t>(percorso.size()) - 1; }

    // Checked accessors: nullptr when the index lies outside the store.
    cella* cell(std::int64_t i);
    const cella* cell(std::int64_t i) const;
    voce* entry(std::int64_t i);
    const voce* entry(std::int64_t i) const;
};

// Sets every record of `voci` to numbers 0 and an empty text.
void clear_voci(Scenario& s);

// Creates the route for a line of `lunghezza` metres: `metri_totali`, the
// zero-filled cells 0 to R(metri_totali / 50) and, when `genera_linea` is
// nonzero and `righe_tracciato` set, the geometry rows 0 to `metri_totali`. The rows are made
// without their tags and values: the line compiler gives every row both, once, the rows it does not
// reach as empty (`compila_linea`). Returns false, and leaves no route, when the length gives no
// valid route (fewer than the three cells that the header and the closing fills need).
bool create_route(Scenario& s, std::int32_t lunghezza);

// N, the highest cell index of the route of a line of `lunghezza` metres;
// nothing when that length gives no valid route.
std::optional<std::int32_t> highest_cell(std::int32_t lunghezza);

// R(x): x rounded to the nearest whole number, halves to the even neighbour.
std::int64_t round_half_even(double x);

// A cell is free for a new object when it is empty or holds a tunnel mark.
inline bool is_free(const cella& c) {
    return c.tipo == tipo_cella::kVuota || c.tipo == tipo_cella::kSegnoGalleria;
}

// A whole number stored into a narrower field keeps its low-order bits.
inline std::uint8_t low8(std::int64_t v) {
    return static_cast<std::uint8_t>(v & 0xFF);
}
inline std::int16_t low16(std::int64_t v) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(v & 0xFFFF));
}

}  // namespace scenario
