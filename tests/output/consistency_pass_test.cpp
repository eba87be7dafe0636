#include "output/consistency_pass.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "compiler/model.h"

namespace scenario {
namespace {

// Cell kinds, short for the tables.
constexpr std::uint8_t kSig = 1;      // signal
constexpr std::uint8_t kEnd = 2;      // slowdown end
constexpr std::uint8_t kStart = 3;    // slowdown start, dato1 = speed
constexpr std::uint8_t kWarn = 4;     // slowdown warning
constexpr std::uint8_t kBoard = 6;    // speed board
constexpr std::uint8_t kTunnel = 11;  // tunnel mark
constexpr std::uint8_t kPoint = 12;   // speed reduction point
constexpr std::uint8_t kSign = 14;    // indicator sign

struct Cell {
    std::int64_t i;
    std::uint8_t tipo;
    std::int16_t dato1 = 0;
};

struct Row {
    const char* what;
    std::int64_t last;          // N, the highest cell index
    std::vector<Cell> given;    // the route before the pass
    std::vector<Cell> changed;  // every cell whose tipo or dato1 the pass changes
    std::int32_t code = 0;      // codice_errore afterwards
    std::int32_t position = 0;  // posizione_errore afterwards
};

// Fields the pass must never touch carry these values on every cell.
constexpr std::int16_t kDato2 = 7;
constexpr std::uint8_t kGalleria = 2;

Scenario route_of(const Row& row) {
    Scenario s;
    cella blank;
    blank.dato2 = kDato2;
    blank.galleria = kGalleria;
    s.percorso.assign(static_cast<std::size_t>(row.last + 1), blank);
    for (const Cell& c : row.given) {
        s.cell(c.i)->tipo = c.tipo;
        s.cell(c.i)->dato1 = c.dato1;
    }
    return s;
}

// Runs the pass and compares every cell of the route with the expectation.
void check(const Row& row) {
    SCOPED_TRACE(row.what);
    Scenario s = route_of(row);
    const Scenario expected = [&] {
        Scenario e = route_of(row);
        for (const Cell& c : row.changed) {
            e.cell(c.i)->tipo = c.tipo;
            e.cell(c.i)->dato1 = c.dato1;
        }
        return e;
    }();
    consistency_pass(s);
    ASSERT_EQ(s.percorso.size(), expected.percorso.size());
    for (std::int64_t i = 0; i <= row.last; ++i) {
        const cella& got = *s.cell(i);
        const cella& want = *expected.cell(i);
        EXPECT_EQ(got.tipo, want.tipo) << "cell " << i;
        EXPECT_EQ(got.dato1, want.dato1) << "cell " << i;
        EXPECT_EQ(got.dato2, kDato2) << "cell " << i;
        EXPECT_EQ(got.galleria, kGalleria) << "cell " << i;
    }
    EXPECT_EQ(s.codice_errore, row.code);
    EXPECT_EQ(s.posizione_errore, row.position);
}

TEST(ConsistencyPass, SignalsBeforeAWarningCell) {
    const Row rows[] = {
        // A warning on cell 3 looks at no cell: the signal on 2 gets nothing.
        {"warning at 3", 40, {{3, kWarn}, {2, kSig}}, {}},
        // On cell 4 only s = 3 is looked at.
        {"warning at 4", 40, {{4, kWarn}, {3, kSig}}, {{2, kPoint, 180}}},
        // Rule A for a signal on 3 whose cell 2 is taken reaches the header cell.
        {"point on cell 1", 40, {{4, kWarn}, {3, kSig}, {2, kBoard}}, {{1, kPoint, 180}}},
        {"both cells occupied",
         60,
         {{30, kWarn}, {25, kSig}, {24, kBoard}, {23, kSign}},
         {},
         11,
         1250},
        // A smaller point keeps its value, a larger one comes down to 180.
        {"point of 75 kept", 60, {{30, kWarn}, {25, kSig}, {24, kPoint, 75}, {23, kBoard}}, {}},
        {"point of 270 lowered",
         60,
         {{30, kWarn}, {25, kSig}, {24, kPoint, 270}, {23, kBoard}},
         {{24, kPoint, 180}}},
        {"negative point kept", 60, {{30, kWarn}, {25, kSig}, {24, kPoint, -5}, {23, kBoard}}, {}},
        {"farther point lowered",
         60,
         {{30, kWarn}, {25, kSig}, {24, kBoard}, {23, kPoint, 300}},
         {{23, kPoint, 180}}},
        // A free s - 2 is preferred to lowering the point on s - 1.
        {"free cell before a point",
         60,
         {{30, kWarn}, {25, kSig}, {24, kPoint, 270}},
         {{23, kPoint, 180}}},
        {"tunnel mark replaced", 60, {{30, kWarn}, {25, kSig}, {24, kTunnel}}, {{24, kPoint, 180}}},
        {"two signals",
         60,
         {{30, kWarn}, {25, kSig}, {15, kSig}},
         {{24, kPoint, 180}, {14, kPoint, 180}}},
        // The window reaches 20 cells back, not 21.
        {"window edge", 60, {{30, kWarn}, {10, kSig}, {9, kSig}}, {{8, kPoint, 180}}},
        // A failure does not end the window.
        {"failure then point",
         60,
         {{30, kWarn}, {25, kSig}, {24, kBoard}, {23, kBoard}, {20, kSig}},
         {{19, kPoint, 180}},
         11,
         1250},
    };
    for (const Row& row : rows)
        check(row);
}

TEST(ConsistencyPass, BandsBeforeAStart) {
    // Speed 150 and no end cell: only the bands act.
    const Row rows[] = {
        {"start at 7", 40, {{7, kStart, 150}}, {}},
        {"start at 8", 40, {{8, kStart, 150}}, {{3, kPoint, 180}}},
        {"start at 14", 40, {{14, kStart, 150}}, {{9, kPoint, 180}, {3, kPoint, 180}}},
        {"start at 21",
         40,
         {{21, kStart, 150}},
         {{16, kPoint, 180}, {10, kPoint, 180}, {3, kPoint, 180}}},
        {"all bands",
         80,
         {{50, kStart, 150}},
         {{45, kPoint, 180}, {39, kPoint, 180}, {32, kPoint, 180}}},
        {"second cell of a band",
         80,
         {{50, kStart, 150}, {45, kSig}, {38, kBoard}, {39, kSign}},
         {{44, kPoint, 180}, {37, kPoint, 180}, {32, kPoint, 180}}},
        // An existing point does not count as free and is not lowered.
        {"signal, point, board",
         80,
         {{50, kStart, 150}, {45, kSig}, {44, kPoint, 270}, {43, kBoard}},
         {{39, kPoint, 180}, {32, kPoint, 180}},
         12,
         2500},
        {"tunnel mark replaced",
         80,
         {{50, kStart, 150}, {45, kTunnel}},
         {{45, kPoint, 180}, {39, kPoint, 180}, {32, kPoint, 180}}},
    };
    for (const Row& row : rows)
        check(row);
}

TEST(ConsistencyPass, PointsInsideASlowSlowdown) {
    // Bands of a start on 100: 95, 89, 82.
    const std::vector<Cell> bands = {{95, kPoint, 180}, {89, kPoint, 180}, {82, kPoint, 180}};
    auto with_bands = [&](std::vector<Cell> cells) {
        cells.insert(cells.end(), bands.begin(), bands.end());
        return cells;
    };
    const Row rows[] = {
        {"100 to 120 at 60",
         200,
         {{100, kStart, 60}, {120, kEnd, 60}},
         with_bands({{108, kPoint, 180}, {116, kPoint, 180}})},
        // The next point falls 8 cells after the cell that received one.
        {"signal on the eighth cell",
         200,
         {{100, kStart, 60}, {120, kEnd}, {108, kSig}},
         with_bands({{107, kPoint, 180}, {115, kPoint, 180}})},
        {"point after the eighth cell",
         200,
         {{100, kStart, 60}, {120, kEnd}, {108, kSig}, {107, kBoard}},
         with_bands({{109, kPoint, 180}, {117, kPoint, 180}})},
        // After a failure the walk places nothing more.
        {"no cell near the eighth",
         200,
         {{100, kStart, 60}, {130, kEnd}, {107, kBoard}, {108, kSig}, {109, kSign}},
         bands,
         13,
         5400},
        // The eighth step lands on the end cell: the point goes just before it.
        {"eighth step on the end",
         200,
         {{100, kStart, 60}, {108, kEnd}},
         with_bands({{107, kPoint, 180}})},
        {"speed 109", 200, {{100, kStart, 109}, {110, kEnd}}, with_bands({{108, kPoint, 180}})},
        {"speed 110", 200, {{100, kStart, 110}, {120, kEnd}}, bands},
        {"speed 300", 200, {{100, kStart, 300}, {120, kEnd}}, bands},
        // The speed is signed: a negative value is below 110.
        {"speed -1", 200, {{100, kStart, -1}, {110, kEnd}}, with_bands({{108, kPoint, 180}})},
    };
    for (const Row& row : rows)
        check(row);
}

TEST(ConsistencyPass, FirstSignalAfterTheEnd) {
    // Start on 100 at 60, end on 120: the walk and the bands place these.
    const std::vector<Cell> before = {{95, kPoint, 180},
                                      {89, kPoint, 180},
                                      {82, kPoint, 180},
                                      {108, kPoint, 180},
                                      {116, kPoint, 180}};
    auto plus = [&](std::vector<Cell> cells) {
        cells.insert(cells.end(), before.begin(), before.end());
        return cells;
    };
    const Row rows[] = {
        {"signal 12 after the end",
         200,
         {{100, kStart, 60}, {120, kEnd}, {132, kSig}},
         plus({{131, kPoint, 180}})},
        {"signal 13 after the end", 200, {{100, kStart, 60}, {120, kEnd}, {133, kSig}}, plus({})},
        // Only the first signal of the window counts.
        {"two signals",
         200,
         {{100, kStart, 60}, {120, kEnd}, {125, kSig}, {128, kSig}},
         plus({{124, kPoint, 180}})},
        // The end cell itself is occupied, so the point goes one further back.
        {"signal right after the end",
         200,
         {{100, kStart, 60}, {120, kEnd}, {121, kSig}},
         plus({{119, kPoint, 180}})},
        // No lowering here; the failure is reported at the end cell.
        {"no free cell",
         200,
         {{100, kStart, 60}, {120, kEnd}, {125, kSig}, {124, kPoint, 270}, {123, kBoard}},
         plus({}),
         13,
         6000},
        // A later failure overwrites the earlier one.
        {"band failure then end failure",
         200,
         {{100, kStart, 60},
          {120, kEnd},
          {95, kSig},
          {94, kSig},
          {93, kSig},
          {125, kSig},
          {124, kBoard},
          {123, kBoard}},
         {{89, kPoint, 180}, {82, kPoint, 180}, {108, kPoint, 180}, {116, kPoint, 180}},
         13,
         6000},
        // A fast slowdown looks for its end cell first.
        {"speed 110 finds its end",
         200,
         {{100, kStart, 110}, {120, kEnd}, {125, kSig}},
         {{95, kPoint, 180}, {89, kPoint, 180}, {82, kPoint, 180}, {124, kPoint, 180}}},
    };
    for (const Row& row : rows)
        check(row);
}

TEST(ConsistencyPass, StaysInsideTheRoute) {
    // N = 60 in every row; bands of a start on 52: 47, 41, 34.
    const std::vector<Cell> b52 = {{47, kPoint, 180}, {41, kPoint, 180}, {34, kPoint, 180}};
    auto plus = [&](std::vector<Cell> extra) {
        extra.insert(extra.end(), b52.begin(), b52.end());
        return extra;
    };
    const Row rows[] = {
        // Cells N - 1 and N are never visited.
        {"start on N - 1", 60, {{59, kStart, 60}}, {}},
        {"warning on N - 1", 60, {{59, kWarn}, {57, kSig}}, {}},
        {"start on N - 2",
         60,
         {{58, kStart, 150}},
         {{53, kPoint, 180}, {47, kPoint, 180}, {40, kPoint, 180}}},
        // A walk with no end cell places its points up to N, then stops.
        {"point on N, no end", 60, {{52, kStart, 60}, {59, kSig}}, plus({{60, kPoint, 180}})},
        {"point on N - 1",
         60,
         {{51, kStart, 60}, {60, kEnd}},
         {{46, kPoint, 180}, {40, kPoint, 180}, {33, kPoint, 180}, {59, kPoint, 180}}},
        // The eighth step lands on N and both neighbours are unusable: N - 1
        // is taken and N + 1 lies outside the route.
        {"cell past N is occupied",
         60,
         {{52, kStart, 60}, {60, kEnd}, {59, kBoard}},
         plus({}),
         13,
         3000},
        // The window after an end on N - 3 is cut at N.
        {"window cut at N",
         60,
         {{52, kStart, 150}, {57, kEnd}, {60, kSig}},
         plus({{59, kPoint, 180}})},
        {"fast slowdown with no end", 60, {{52, kStart, 150}, {55, kSig}}, plus({})},
    };
    for (const Row& row : rows)
        check(row);
}

}  // namespace
}  // namespace scenario
