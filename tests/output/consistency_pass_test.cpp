#include "output/consistency_pass.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/memorizza_dati.h"
#include "compiler/model.h"
#include "content/embedded_texts.h"
#include "content/emitter.h"
#include "output/build_sources.h"
#include "output/memorizza_percorso.h"
#include "support/memory_file_system.h"

namespace scenario {
namespace {

// Cell kinds, short for the tables.
constexpr std::uint8_t kSig = 1;     // signal
constexpr std::uint8_t kEnd = 2;     // slowdown end
constexpr std::uint8_t kStart = 3;   // slowdown start, dato1 = speed
constexpr std::uint8_t kWarn = 4;    // slowdown warning
constexpr std::uint8_t kBoard = 6;   // speed board
constexpr std::uint8_t kMark = 11;   // tunnel mark
constexpr std::uint8_t kPoint = 12;  // speed reduction point
constexpr std::uint8_t kSign = 14;   // indicator sign

struct Cell {
    std::int64_t i;
    std::uint8_t tipo;
    std::int16_t dato1 = 0;
};

struct Failure {
    std::int32_t code = 0;
    std::int32_t position = 0;
};

struct Row {
    const char* what;
    std::vector<Cell> given;    // the route before the pass
    std::vector<Cell> changed;  // every cell whose tipo or dato1 the pass changes
    Failure failure{};          // codice_errore and posizione_errore afterwards
};

// Fields the pass must never touch carry these values on every cell.
constexpr std::int16_t kDato2 = 7;
constexpr std::uint8_t kGalleria = 2;

// Runs the pass over cells 0 to `last` and compares every cell afterwards.
void check(const Row& row, std::int64_t last) {
    SCOPED_TRACE(row.what);
    Scenario s;
    s.percorso.assign(static_cast<std::size_t>(last + 1), cella{});
    for (cella& c : s.percorso) {
        c.dato2 = kDato2;
        c.galleria = kGalleria;
    }
    for (const Cell& c : row.given) {
        s.cell(c.i)->tipo = c.tipo;
        s.cell(c.i)->dato1 = c.dato1;
    }
    std::vector<cella> expected = s.percorso;
    for (const Cell& c : row.changed) {
        expected.at(static_cast<std::size_t>(c.i)).tipo = c.tipo;
        expected.at(static_cast<std::size_t>(c.i)).dato1 = c.dato1;
    }
    consistency_pass(s);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(s.percorso[i].tipo, expected[i].tipo) << "cell " << i;
        EXPECT_EQ(s.percorso[i].dato1, expected[i].dato1) << "cell " << i;
        EXPECT_EQ(s.percorso[i].dato2, kDato2) << "cell " << i;
        EXPECT_EQ(s.percorso[i].galleria, kGalleria) << "cell " << i;
    }
    EXPECT_EQ(s.codice_errore, row.failure.code);
    EXPECT_EQ(s.posizione_errore, row.failure.position);
}

TEST(ConsistencyPass, SignalsBeforeAWarningCell) {
    const Row rows[] = {
        // A warning on cell 3 looks at no cell; on cell 4 only at s = 3.
        {"warning at 3", {{3, kWarn}, {2, kSig}}, {}},
        {"warning at 4", {{4, kWarn}, {3, kSig}}, {{2, kPoint, 180}}},
        // A signal on 3 whose cell 2 is taken gets its point on the header cell.
        {"point on cell 1", {{4, kWarn}, {3, kSig}, {2, kBoard}}, {{1, kPoint, 180}}},
        {"both occupied", {{30, kWarn}, {25, kSig}, {24, kBoard}, {23, kSign}}, {}, {11, 1250}},
        // A smaller point keeps its value, a larger one comes down to 180.
        {"75 kept", {{30, kWarn}, {25, kSig}, {24, kPoint, 75}, {23, kBoard}}, {}},
        {"270 lowered",
         {{30, kWarn}, {25, kSig}, {24, kPoint, 270}, {23, kBoard}},
         {{24, kPoint, 180}}},
        {"s - 2 lowered",
         {{30, kWarn}, {25, kSig}, {24, kBoard}, {23, kPoint, 300}},
         {{23, kPoint, 180}}},
        // A free s - 2 is preferred to lowering the point on s - 1.
        {"free before point", {{30, kWarn}, {25, kSig}, {24, kPoint, 270}}, {{23, kPoint, 180}}},
        {"mark replaced", {{30, kWarn}, {25, kSig}, {24, kMark}}, {{24, kPoint, 180}}},
        {"two signals",
         {{30, kWarn}, {25, kSig}, {15, kSig}},
         {{24, kPoint, 180}, {14, kPoint, 180}}},
        // The window reaches 20 cells back, not 21.
        {"window edge", {{30, kWarn}, {10, kSig}, {9, kSig}}, {{8, kPoint, 180}}},
        // A failure does not end the window.
        {"failure, then point",
         {{30, kWarn}, {25, kSig}, {24, kBoard}, {23, kBoard}, {20, kSig}},
         {{19, kPoint, 180}},
         {11, 1250}},
    };
    for (const Row& row : rows)
        check(row, 60);
}

TEST(ConsistencyPass, BandsBeforeAStart) {
    // Speed 150 and no end cell: only the bands act.
    const Row rows[] = {
        {"start at 7", {{7, kStart, 150}}, {}},
        {"start at 8", {{8, kStart, 150}}, {{3, kPoint, 180}}},
        {"start at 21",
         {{21, kStart, 150}},
         {{16, kPoint, 180}, {10, kPoint, 180}, {3, kPoint, 180}}},
        {"second cell",
         {{50, kStart, 150}, {45, kSig}, {38, kBoard}, {39, kSign}},
         {{44, kPoint, 180}, {37, kPoint, 180}, {32, kPoint, 180}}},
        // An existing point does not count as free and is not lowered.
        {"sig, point, board",
         {{50, kStart, 150}, {45, kSig}, {44, kPoint, 270}, {43, kBoard}},
         {{39, kPoint, 180}, {32, kPoint, 180}},
         {12, 2500}},
        {"mark replaced",
         {{50, kStart, 150}, {45, kMark}},
         {{45, kPoint, 180}, {39, kPoint, 180}, {32, kPoint, 180}}},
    };
    for (const Row& row : rows)
        check(row, 80);
}

// Start on 100; its bands fall on 95, 89 and 82.
std::vector<Cell> bands_and(std::vector<Cell> cells) {
    cells.insert(cells.end(), {{95, kPoint, 180}, {89, kPoint, 180}, {82, kPoint, 180}});
    return cells;
}

TEST(ConsistencyPass, PointsInsideASlowSlowdown) {
    const Row rows[] = {
        {"100 to 120 at 60",
         {{100, kStart, 60}, {120, kEnd}},
         bands_and({{108, kPoint, 180}, {116, kPoint, 180}})},
        // The next point falls 8 cells after the cell that received one.
        {"signal on 8th",
         {{100, kStart, 60}, {120, kEnd}, {108, kSig}},
         bands_and({{107, kPoint, 180}, {115, kPoint, 180}})},
        {"point after 8th",
         {{100, kStart, 60}, {120, kEnd}, {108, kSig}, {107, kBoard}},
         bands_and({{109, kPoint, 180}, {117, kPoint, 180}})},
        // After a failure the walk places nothing more.
        {"no cell",
         {{100, kStart, 60}, {130, kEnd}, {107, kBoard}, {108, kSig}, {109, kSign}},
         bands_and({}),
         {13, 5400}},
        // The eighth step lands on the end cell: the point goes just before it.
        {"8th on the end", {{100, kStart, 60}, {108, kEnd}}, bands_and({{107, kPoint, 180}})},
        {"speed 109", {{100, kStart, 109}, {110, kEnd}}, bands_and({{108, kPoint, 180}})},
        {"speed 110", {{100, kStart, 110}, {120, kEnd}}, bands_and({})},
        // The speed is signed: a negative value is below 110.
        {"speed -1", {{100, kStart, -1}, {110, kEnd}}, bands_and({{108, kPoint, 180}})},
    };
    for (const Row& row : rows)
        check(row, 200);
}

// Start on 100 at 60, end on 120: the bands and the walk place these.
std::vector<Cell> walk_and(std::vector<Cell> cells) {
    cells.insert(cells.end(), {{108, kPoint, 180}, {116, kPoint, 180}});
    return bands_and(cells);
}

TEST(ConsistencyPass, FirstSignalAfterTheEnd) {
    const Row rows[] = {
        {"12 after", {{100, kStart, 60}, {120, kEnd}, {132, kSig}}, walk_and({{131, kPoint, 180}})},
        {"13 after", {{100, kStart, 60}, {120, kEnd}, {133, kSig}}, walk_and({})},
        {"first of two",
         {{100, kStart, 60}, {120, kEnd}, {125, kSig}, {128, kSig}},
         walk_and({{124, kPoint, 180}})},
        // The end cell itself is taken, so the point goes one further back.
        {"right after",
         {{100, kStart, 60}, {120, kEnd}, {121, kSig}},
         walk_and({{119, kPoint, 180}})},
        // No lowering here; the failure is reported at the end cell.
        {"no cell",
         {{100, kStart, 60}, {120, kEnd}, {125, kSig}, {124, kPoint, 270}, {123, kBoard}},
         walk_and({}),
         {13, 6000}},
        // A fast slowdown looks for its end cell first.
        {"speed 110",
         {{100, kStart, 110}, {120, kEnd}, {125, kSig}},
         bands_and({{124, kPoint, 180}})},
    };
    for (const Row& row : rows)
        check(row, 200);
}

TEST(ConsistencyPass, StaysInsideTheRoute) {
    // N = 60; the bands of a start on 52 fall on 47, 41 and 34.
    const std::vector<Cell> b = {{47, kPoint, 180}, {41, kPoint, 180}, {34, kPoint, 180}};
    auto plus = [&](std::vector<Cell> cells) {
        cells.insert(cells.end(), b.begin(), b.end());
        return cells;
    };
    const Row rows[] = {
        // Cells N - 1 and N are never visited; N - 2 is.
        {"start on N - 1", {{59, kStart, 60}}, {}},
        {"warning on N - 1", {{59, kWarn}, {57, kSig}}, {}},
        {"start on N - 2",
         {{58, kStart, 150}},
         {{53, kPoint, 180}, {47, kPoint, 180}, {40, kPoint, 180}}},
        // A walk that meets no end cell places its points up to N, then stops.
        {"point on N", {{52, kStart, 60}, {59, kSig}}, plus({{60, kPoint, 180}})},
        {"point on N - 1",
         {{51, kStart, 60}, {60, kEnd}},
         {{46, kPoint, 180}, {40, kPoint, 180}, {33, kPoint, 180}, {59, kPoint, 180}}},
        // The eighth step lands on N, N - 1 is taken and N + 1 is no cell.
        {"past N is taken", {{52, kStart, 60}, {60, kEnd}, {59, kBoard}}, plus({}), {13, 3000}},
        // The window after an end on N - 3 is cut at N.
        {"window cut", {{52, kStart, 150}, {57, kEnd}, {60, kSig}}, plus({{59, kPoint, 180}})},
        {"fast, no end", {{52, kStart, 150}, {55, kSig}}, plus({})},
    };
    for (const Row& row : rows)
        check(row, 60);
}

// A line of 3000 m (cells 0 to 200) with two boards and a sign near the
// slowdowns below.
constexpr std::string_view kLinea =
    "[generale]\r\n"
    "lunghezza percorso,  3000\r\n"
    "[curve]\r\n"
    "[cartelli]\r\n"
    "indicatori_vmax,  100,  65,  70,  75,  0,  ,  ,  ,  0\r\n"   // cell 3
    "indicatori_vmax,  6100,  65,  70,  75,  0,  ,  ,  ,  0\r\n"  // cell 123
    "indicatori_vmax,  6150,  65,  70,  75,  0,  ,  ,  ,  0\r\n"  // cell 124
    "[indicazioni]\r\n"
    "cartello_indicatore,  50,  (PRIMA)\r\n"  // cell 2
    "[fine]\r\n";

// A signal on cell 125, whose two cells before it hold the boards.
constexpr std::string_view kSegnale = "segnale,  6200,  1, 5, 1,  0, 0,  0,  0,0,0, 0\r\n";
// From 5000 m over 950 m at 60 km/h: warning 77, start 101, end 120.
constexpr std::string_view kRallentamento = "rallentamento,  5000,  60,  950,  0,  0,  0\r\n";
// From 350 m at 60 km/h: start on cell 8, whose first band meets the board
// on 3 and the sign on 2 and so reaches the header cell.
constexpr std::string_view kRallentamentoIniziale =
    "rallentamento,  350,  60,  500,  0,  0,  0\r\n";

std::string treno(std::string_view rows) {
    return "[generale]\r\n" + std::string(rows) + "[fine]\r\n";
}

const ScenarioFiles kFiles = scenario_files("/s", '/', "L", "1");

struct Build {
    Scenario s;
    testing::MemoryFileSystem fs;
    BuildOutcome outcome;

    explicit Build(const std::string& train) {
        fs.files[kFiles.linea_txt] = std::string(kLinea);
        fs.files[kFiles.treno_txt] = train;
        s.nome_linea = "L";
        s.numero_treno = "1";
        outcome = memorizza_percorso(s, 1, fs, kFiles);
    }
    const std::string& file(const std::string& path) { return fs.files[path]; }
};

TEST(ConsistencyPassBuild, AFailedPointLeavesTheFilesAsTheyWouldBe) {
    // Without the slowdown, for comparison.
    Build plain(treno(kSegnale));
    ASSERT_EQ(plain.outcome.status, BuildOutcome::Status::written);
    ASSERT_EQ(plain.s.codice_errore, 0);

    // The first signal after the end (125) finds both cells before it taken.
    Build failed(treno(std::string(kSegnale) + std::string(kRallentamento)));
    ASSERT_EQ(failed.outcome.status, BuildOutcome::Status::written);
    EXPECT_EQ(failed.s.codice_errore, 13);
    EXPECT_EQ(failed.s.posizione_errore, 6000);

    EXPECT_EQ(failed.file(kFiles.linea_dat), plain.file(kFiles.linea_dat));
    EXPECT_EQ(failed.file(kFiles.tabella_sim), plain.file(kFiles.tabella_sim));
    const std::string& with = failed.file(kFiles.percorso_dat);
    const std::string& without = plain.file(kFiles.percorso_dat);
    ASSERT_EQ(with.size(), 201u * 15);
    ASSERT_EQ(without.size(), with.size());

    // Only the slowdown's own cells and the points differ; nothing lands near
    // the signal.
    const struct {
        std::size_t cell;
        std::uint32_t tipo;
        std::int16_t dato1;
    } differing[] = {
        {77, 4, 60},  {83, 12, 180},  {90, 12, 180},  {96, 12, 180},
        {101, 3, 60}, {109, 12, 180}, {117, 12, 180}, {120, 2, 60},
    };
    std::vector<std::size_t> cells;
    for (std::size_t i = 0; i < 201; ++i) {
        if (with.compare(i * 15, 15, without, i * 15, 15) != 0) cells.push_back(i);
    }
    ASSERT_EQ(cells.size(), std::size(differing));
    for (std::size_t k = 0; k < cells.size(); ++k) {
        const auto& d = differing[k];
        EXPECT_EQ(cells[k], d.cell);
        EXPECT_EQ(testing::get_u(with, d.cell * 15, 1), d.tipo) << d.cell;
        EXPECT_EQ(testing::get_i16(with, d.cell * 15 + 1), d.dato1) << d.cell;
    }
}

TEST(ConsistencyPassBuild, APointOnTheHeaderCellEndsTheBuild) {
    Build b(treno(kRallentamentoIniziale));
    ASSERT_EQ(b.s.cell(1)->tipo, 12);
    EXPECT_EQ(b.outcome.status, BuildOutcome::Status::fatal_check);
    EXPECT_EQ(b.outcome.fatal_code, 1250);
    EXPECT_TRUE(b.outcome.written.empty());
    EXPECT_EQ(b.fs.files.count(kFiles.percorso_dat), 0u);
    EXPECT_EQ(b.fs.files.count(kFiles.tabella_sim), 0u);
}

TEST(ConsistencyPassBuild, TheEmbeddedScenarioIsLeftUnchanged) {
    const std::string linea = emit_text(testo_linea());
    const std::string treno_text = emit_text(testo_treno());
    Scenario s;
    s.genera_linea = 0;
    memorizza_dati(s, {SourceState::present, linea}, {SourceState::present, treno_text});
    ASSERT_EQ(s.codice_errore, 0);
    ASSERT_EQ(s.ultima_cella(), 2160);
    const std::vector<cella> before = s.percorso;
    consistency_pass(s);
    EXPECT_EQ(s.codice_errore, 0);
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(s.percorso[i].tipo, before[i].tipo) << i;
        EXPECT_EQ(s.percorso[i].dato1, before[i].dato1) << i;
    }
}

}  // namespace
}  // namespace scenario
