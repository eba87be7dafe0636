#include "compiler/train_recorders.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "compiler/model.h"

namespace scenario {
namespace {

// tipo, dato1 to dato5 and dato6 of a cell.
auto fields(const cella& c) {
    return std::tuple<int, int, int, int, int, int, int>(c.tipo, c.dato1, c.dato2, c.dato3, c.dato4,
                                                         c.dato5, c.dato6);
}

bool same_route(const std::vector<cella>& a, const std::vector<cella>& b) {
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (fields(a[i]) != fields(b[i])) return false;
    }
    return a.size() == b.size();
}

Scenario route() {
    Scenario s;
    create_route(s, 101000);  // cells 0 to 2160
    return s;
}

bool signal(Scenario& s, std::int32_t posizione, std::int32_t sx, std::int32_t s1, std::int32_t s2,
            std::int32_t s3, std::int32_t rapp, std::int32_t dx, std::int32_t d1, std::int32_t d2,
            std::int32_t d3, std::int32_t tempo = 0) {
    return memo_segnale(s, posizione, sx, s1, s2, s3, rapp, dx, d1, d2, d3, tempo);
}

TEST(MemoSegnale, CellAndApproachMarks) {
    Scenario s = route();
    ASSERT_TRUE(signal(s, 20900, 1, 5, 1, 0, 0, 0, 0, 0, 0));
    EXPECT_EQ(fields(s.percorso[419]), std::tuple(1, 50, 10, 0, 3, 0, 0));
    // Both sides and a `rapp` code; the marks are a station's 81 to 84.
    ASSERT_TRUE(signal(s, 2150, 2, 2, 4, 1, 1, 2, 1, 1, 0));
    EXPECT_EQ(fields(s.percorso[44]), std::tuple(1, 21, 41, 10, 18, 0, 0));
    const int marks[][2] = {{417, 31}, {415, 32}, {413, 33}, {411, 34}, {418, 0}, {409, 0},
                            {42, 81},  {40, 82},  {38, 83},  {36, 84},  {43, 0}};
    for (const auto& m : marks)
        EXPECT_EQ(s.percorso[m[0]].dato6, m[1]) << m[0];
    EXPECT_EQ(s.codice_errore, 0);
}

TEST(MemoSegnale, TempoIsRaisedAndKeptOnlyForALeftHandKindTwo) {
    const struct {
        std::int32_t tempo, sx;
        int dato5;
        std::int32_t tempo_after;
    } cases[] = {
        {50, 2, 101, 101},  {50, 1, 0, 101},     // raised; only kind 2 on the left keeps it
        {300, 2, 44, 300},                       // low 8 bits
        {0, 2, 0, 0},       {1, 2, 101, 101},    // no time; lower edge of the raise
        {100, 2, 101, 101}, {101, 2, 101, 101},  // upper edge; long enough already
        {-5, 2, 251, -5},                        // not raised
    };
    for (const auto& c : cases) {
        Scenario s = route();
        std::int32_t tempo = c.tempo;
        const std::int32_t z = 0;
        ASSERT_TRUE(memo_segnale(s, 20900, c.sx, z, z, z, z, z, z, z, z, tempo));
        EXPECT_EQ(s.percorso[419].dato5, c.dato5) << c.tempo << " " << c.sx;
        EXPECT_EQ(tempo, c.tempo_after) << c.tempo << " " << c.sx;
    }
}

TEST(MemoSegnale, FreeCellAndLimits) {
    const struct {
        std::uint8_t tipo_on_419;
        std::int32_t posizione;
        bool handled;
        std::int32_t code;
        bool written;
    } cases[] = {
        {11, 20900, true, 0, true},    // a tunnel mark is replaced
        {10, 20900, true, 16, false},  // a stop point is not: nothing written, marks included
        {0, 300, false, 0, false},     // cell 7: the last mark would fall on cell -1
        {0, -100, false, 0, false},    // cell -1
        {0, 325, true, 0, true},       // 7.5 + 1 rounds to cell 8: last mark on cell 0
    };
    for (const auto& c : cases) {
        Scenario s = route();
        s.percorso[419].tipo = c.tipo_on_419;
        const auto before = s.percorso;
        EXPECT_EQ(signal(s, c.posizione, 1, 5, 1, 0, 0, 0, 0, 0, 0), c.handled) << c.posizione;
        EXPECT_EQ(s.codice_errore, c.code) << c.posizione;
        EXPECT_EQ(same_route(before, s.percorso), !c.written) << c.posizione;
    }
}

TEST(MemoRallentamento, Cells) {
    // x 30000, v 60, l 1000, f_tt 1, f_ta 1: end 621, start 601, warning 577,
    // lead-in 576 to 573.
    for (const std::int32_t d_v : {0, 70}) {
        Scenario s = route();
        ASSERT_TRUE(memo_rallentamento(s, 30000, 60, 1000, 1, 1, d_v));
        EXPECT_EQ(fields(s.percorso[621]), std::tuple(2, 60, d_v, 1, 0, 0, 0));
        EXPECT_EQ(fields(s.percorso[601]), std::tuple(3, 60, d_v, 1, 0, 0, 0));
        EXPECT_EQ(fields(s.percorso[577]), std::tuple(4, 60, d_v, 0, 0, 0, 0));
        const int lead_in[][3] = {{576, 1, 1}, {575, 2, 2}, {574, 3, 3}, {573, 4, 4}};
        for (const auto& l : lead_in) {
            EXPECT_EQ(fields(s.percorso[l[0]]), std::tuple(5, l[1], d_v ? l[2] : 0, 0, 0, 0, 0));
        }
        EXPECT_EQ(s.percorso[572].tipo, 0);
    }
}

TEST(MemoRallentamento, WarningOnlyBeyond1500AndLengthZero) {
    const struct {
        std::int32_t x, l, f_ta;
        std::vector<std::pair<int, int>> tipi;  // cell, tipo
    } cases[] = {
        // At 1500 neither a warning nor lead-in cells, whatever `f_ta`.
        {1500, 100, 1, {{31, 3}, {33, 2}, {7, 0}, {8, 0}}},
        // At 1550 the warning is on cell 8, the lead-in cells on 7 to 4.
        {1550, 100, 1, {{32, 3}, {34, 2}, {8, 4}, {7, 5}, {4, 5}, {3, 0}}},
        // Length 0: start and end are one cell, which ends as a start.
        {30000, 0, 0, {{601, 3}, {602, 0}, {577, 4}, {576, 0}}},
    };
    for (const auto& c : cases) {
        Scenario s = route();
        ASSERT_TRUE(memo_rallentamento(s, c.x, 30, c.l, 0, c.f_ta, 0));
        for (const auto& [cell, tipo] : c.tipi)
            EXPECT_EQ(s.percorso[cell].tipo, tipo) << c.x;
    }
}

TEST(MemoRallentamento, ConflictsAndLimits) {
    // x 30000 (or `x`), l 1000 (or `l`), lead-in asked for; `taken` holds a signal first.
    const struct {
        int taken;
        std::int32_t x, l;
        bool handled;
        std::int32_t code;
        bool unchanged;  // otherwise end, start and warning are written, no lead-in
    } cases[] = {
        {577, 30000, 1000, true, 17, true},   // warning
        {601, 30000, 1000, true, 18, true},   // start
        {621, 30000, 1000, true, 19, true},   // end
        {574, 30000, 1000, true, 20, false},  // a lead-in cell, tested after the writes
        {-1, 107000, 1000, false, 0, true},   // end on cell 2161, past the last
        {-1, 30000, -31000, false, 0, true},  // end on cell -19
        {-1, -200, 100, false, 0, true},      // start on cell -3
        {-1, 107000, 950, true, 0, false},    // end on the last cell, 2160
    };
    for (const auto& c : cases) {
        Scenario s = route();
        if (c.taken >= 0) s.percorso[c.taken].tipo = tipo_cella::kSegnale;
        const auto before = s.percorso;
        EXPECT_EQ(memo_rallentamento(s, c.x, 60, c.l, 1, 1, 0), c.handled) << c.taken;
        EXPECT_EQ(s.codice_errore, c.code) << c.taken;
        EXPECT_EQ(same_route(before, s.percorso), c.unchanged) << c.taken;
        if (c.code == 20) {
            EXPECT_EQ(fields(s.percorso[577]), std::tuple(4, 60, 0, 0, 0, 0, 0));
            EXPECT_EQ(s.percorso[576].tipo, 0);
        }
    }
}

}  // namespace
}  // namespace scenario
