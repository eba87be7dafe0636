#include "compiler/train_recorders.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "compiler/model.h"

namespace scenario {
namespace {

auto fields(const cella& c) {
    return std::tuple(c.tipo, c.dato1, c.dato2, c.dato3, c.dato4, c.dato5, c.dato6, c.galleria,
                      c.velocita, c.pendenza, c.aderenza);
}

bool same_route(const std::vector<cella>& a, const std::vector<cella>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (fields(a[i]) != fields(b[i])) return false;
    }
    return true;
}

class Recorders : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(create_route(s, 101000)); }  // cells 0 to 2160

    bool signal(std::int32_t posizione, std::int32_t sx, std::int32_t s1, std::int32_t s2,
                std::int32_t s3, std::int32_t rapp, std::int32_t dx, std::int32_t d1,
                std::int32_t d2, std::int32_t d3, std::int32_t tempo = 0) {
        return memo_segnale(s, posizione, sx, s1, s2, s3, rapp, dx, d1, d2, d3, tempo);
    }
    bool slowdown(std::int32_t x, std::int32_t v, std::int32_t l, std::int32_t f_tt,
                  std::int32_t f_ta, std::int32_t d_v) {
        return memo_rallentamento(s, x, v, l, f_tt, f_ta, d_v);
    }

    Scenario s;
};

TEST_F(Recorders, SignalCellAndApproachMarks) {
    // "segnale, 20900, 1, 5, 1, 0, 0, 0, 0,0,0, 0": left-hand signal only.
    ASSERT_TRUE(signal(20900, 1, 5, 1, 0, 0, 0, 0, 0, 0));
    const cella& c = s.percorso[419];
    EXPECT_EQ(fields(c), std::tuple(1, 50, 10, 0, 3, 0, 0, 0, 0, 0, 0));
    EXPECT_EQ(s.percorso[417].dato6, 31);
    EXPECT_EQ(s.percorso[415].dato6, 32);
    EXPECT_EQ(s.percorso[413].dato6, 33);
    EXPECT_EQ(s.percorso[411].dato6, 34);
    EXPECT_EQ(s.percorso[418].dato6, 0);  // only every second cell is marked
    EXPECT_EQ(s.percorso[409].dato6, 0);

    // "segnale, 2150, 2, 2, 4, 1, 1, 2, 1,1,0, 0": both sides and a `rapp` code;
    // its marks are the ones a station writes before its stop point.
    ASSERT_TRUE(signal(2150, 2, 2, 4, 1, 1, 2, 1, 1, 0));
    EXPECT_EQ(fields(s.percorso[44]), std::tuple(1, 21, 41, 10, 18, 0, 0, 0, 0, 0, 0));
    EXPECT_EQ(s.percorso[42].dato6, 81);
    EXPECT_EQ(s.percorso[40].dato6, 82);
    EXPECT_EQ(s.percorso[38].dato6, 83);
    EXPECT_EQ(s.percorso[36].dato6, 84);
    EXPECT_EQ(s.codice_errore, 0);
}

TEST(SignalTempo, RaisedAndKeptOnlyForALeftHandKindTwo) {
    const struct {
        std::int32_t tempo, sx;
        int dato5;
        std::int32_t tempo_after;
    } cases[] = {
        {50, 2, 101, 101},   // 1 to 100 are raised to 101
        {50, 1, 0, 101},     // raised, but only kind 2 on the left keeps a time
        {300, 2, 44, 300},   // low 8 bits of 300
        {0, 2, 0, 0},        // no time
        {1, 2, 101, 101},    // lower edge of the raise
        {100, 2, 101, 101},  // upper edge of the raise
        {101, 2, 101, 101},  // already long enough
        {-5, 2, 251, -5},    // negative values are not raised; low 8 bits kept
    };
    for (const auto& c : cases) {
        Scenario s;
        ASSERT_TRUE(create_route(s, 101000));
        std::int32_t tempo = c.tempo;
        const std::int32_t zero = 0;
        ASSERT_TRUE(
            memo_segnale(s, 20900, c.sx, zero, zero, zero, zero, zero, zero, zero, zero, tempo));
        EXPECT_EQ(s.percorso[419].dato5, c.dato5) << c.tempo << " " << c.sx;
        EXPECT_EQ(tempo, c.tempo_after) << c.tempo << " " << c.sx;
    }
}

TEST_F(Recorders, SignalNeedsAFreeCell) {
    s.percorso[419].tipo = tipo_cella::kSegnoGalleria;
    ASSERT_TRUE(signal(20900, 1, 5, 1, 0, 0, 0, 0, 0, 0));
    EXPECT_EQ(s.percorso[419].tipo, tipo_cella::kSegnale);  // the tunnel mark is replaced
    EXPECT_EQ(s.codice_errore, 0);

    s.percorso[44].tipo = tipo_cella::kFermata;
    s.percorso[44].dato1 = 7;
    const auto before = s.percorso;
    ASSERT_TRUE(signal(2150, 2, 2, 4, 1, 1, 2, 1, 1, 0));
    EXPECT_EQ(s.codice_errore, 16);
    EXPECT_TRUE(same_route(before, s.percorso));  // not even the approach marks
}

TEST_F(Recorders, SignalTooNearTheStartIsRefused) {
    const auto before = s.percorso;
    EXPECT_FALSE(signal(300, 1, 5, 1, 0, 0, 0, 0, 0, 0));   // cell 7: last mark on cell -1
    EXPECT_FALSE(signal(-100, 1, 5, 1, 0, 0, 0, 0, 0, 0));  // cell -1
    EXPECT_TRUE(same_route(before, s.percorso));
    EXPECT_EQ(s.codice_errore, 0);

    ASSERT_TRUE(signal(325, 1, 5, 1, 0, 0, 0, 0, 0, 0));  // 7.5 + 1 rounds to cell 8
    EXPECT_EQ(s.percorso[8].tipo, tipo_cella::kSegnale);
    EXPECT_EQ(s.percorso[0].dato6, 34);
}

TEST_F(Recorders, SlowdownCells) {
    // x 30000, v 60, l 1000, f_tt 1, f_ta 1, d_v 0 then 70, each on a fresh route.
    const struct {
        std::int32_t d_v;
        int dato2_main;        // end, start and warning
        int dato2_lead_in[4];  // lead-in cells 576 down to 573
    } cases[] = {
        {0, 0, {0, 0, 0, 0}},
        {70, 70, {1, 2, 3, 4}},
    };
    for (const auto& c : cases) {
        Scenario r;
        ASSERT_TRUE(create_route(r, 101000));
        ASSERT_TRUE(memo_rallentamento(r, 30000, 60, 1000, 1, 1, c.d_v));
        EXPECT_EQ(fields(r.percorso[621]), std::tuple(2, 60, c.dato2_main, 1, 0, 0, 0, 0, 0, 0, 0));
        EXPECT_EQ(fields(r.percorso[601]), std::tuple(3, 60, c.dato2_main, 1, 0, 0, 0, 0, 0, 0, 0));
        EXPECT_EQ(fields(r.percorso[577]), std::tuple(4, 60, c.dato2_main, 0, 0, 0, 0, 0, 0, 0, 0));
        for (int i = 0; i < 4; ++i) {
            const cella& lead = r.percorso[576 - i];
            EXPECT_EQ(lead.tipo, 5) << c.d_v << " " << i;
            EXPECT_EQ(lead.dato1, i + 1) << c.d_v << " " << i;
            EXPECT_EQ(lead.dato2, c.dato2_lead_in[i]) << c.d_v << " " << i;
        }
        EXPECT_EQ(r.percorso[572].tipo, 0);
        EXPECT_EQ(r.percorso[578].tipo, 0);
        EXPECT_EQ(r.codice_errore, 0);
    }
}

TEST_F(Recorders, SlowdownWarningOnlyBeyond1500) {
    // At 1500 there is neither a warning nor lead-in cells, whatever `f_ta`.
    ASSERT_TRUE(slowdown(1500, 30, 100, 0, 1, 0));
    EXPECT_EQ(s.percorso[31].tipo, 3);
    EXPECT_EQ(s.percorso[33].tipo, 2);
    for (int i = 0; i <= 30; ++i)
        EXPECT_EQ(s.percorso[i].tipo, 0) << i;

    // At 1550: warning on cell 8, lead-in cells 7, 6, 5, 4.
    Scenario r;
    ASSERT_TRUE(create_route(r, 101000));
    ASSERT_TRUE(memo_rallentamento(r, 1550, 30, 100, 0, 1, 0));
    EXPECT_EQ(r.percorso[32].tipo, 3);
    EXPECT_EQ(r.percorso[8].tipo, 4);
    EXPECT_EQ(r.percorso[7].tipo, 5);
    EXPECT_EQ(r.percorso[7].dato1, 1);
    EXPECT_EQ(r.percorso[4].tipo, 5);
    EXPECT_EQ(r.percorso[4].dato1, 4);
    EXPECT_EQ(r.percorso[3].tipo, 0);
}

TEST_F(Recorders, SlowdownOfLengthZeroEndsAsAStart) {
    ASSERT_TRUE(slowdown(30000, 60, 0, 1, 0, 0));
    EXPECT_EQ(s.percorso[601].tipo, 3);
    EXPECT_EQ(s.percorso[601].dato1, 60);
    EXPECT_EQ(s.percorso[602].tipo, 0);
    EXPECT_EQ(s.percorso[573].tipo, 0);  // no lead-in without `f_ta`
}

TEST(SlowdownConflicts, CodeAndWhatStaysWritten) {
    // Slowdown x 30000, l 1000 with lead-in: warning 577, start 601, end 621,
    // lead-in 576 to 573. One cell is taken beforehand by a signal.
    const struct {
        int taken;
        std::int32_t code;
        bool route_unchanged;  // otherwise end, start and warning are written
    } cases[] = {
        {577, 17, true},   // warning cell
        {601, 18, true},   // start cell
        {621, 19, true},   // end cell
        {574, 20, false},  // a lead-in cell: tested after the writes
        {573, 20, false},  // the farthest lead-in cell
    };
    for (const auto& c : cases) {
        Scenario s;
        ASSERT_TRUE(create_route(s, 101000));
        s.percorso[c.taken].tipo = tipo_cella::kSegnale;
        const auto before = s.percorso;
        ASSERT_TRUE(memo_rallentamento(s, 30000, 60, 1000, 1, 1, 0));
        EXPECT_EQ(s.codice_errore, c.code) << c.taken;
        EXPECT_EQ(same_route(before, s.percorso), c.route_unchanged) << c.taken;
        if (!c.route_unchanged) {
            EXPECT_EQ(s.percorso[621].tipo, 2);
            EXPECT_EQ(s.percorso[601].tipo, 3);
            EXPECT_EQ(s.percorso[577].tipo, 4);
            EXPECT_EQ(s.percorso[576].tipo, 0);  // no lead-in cell is written
        }
    }
}

TEST_F(Recorders, SlowdownOutsideTheRouteIsRefused) {
    const auto before = s.percorso;
    EXPECT_FALSE(slowdown(107000, 60, 1000, 1, 1, 0));   // end cell 2161, past the last
    EXPECT_FALSE(slowdown(30000, 60, -31000, 1, 1, 0));  // end cell -19
    EXPECT_FALSE(slowdown(-200, 60, 100, 1, 1, 0));      // start cell -3
    EXPECT_TRUE(same_route(before, s.percorso));
    EXPECT_EQ(s.codice_errore, 0);

    ASSERT_TRUE(slowdown(107000, 60, 950, 1, 1, 0));  // end cell 2160, the last one
    EXPECT_EQ(s.percorso[2160].tipo, 2);
}

}  // namespace
}  // namespace scenario
