#include "compiler/line_recorders.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "compiler/error_codes.h"

namespace scenario {
namespace {

using Terna = std::array<std::int32_t, 3>;  // position, kilometric value, direction flag

Terna reference(const Scenario& s, int i) {
    const voce& v = s.voci[static_cast<std::size_t>(i)];
    return {v.valore1, v.valore2, v.valore3};
}

TEST(ProgressiveOrdina, OrdersAndShiftsTheReferences) {
    const struct {
        Terna tre, due, uno;  // as read into 81, 82, 83
        Terna e81, e82, e83;  // afterwards
    } cases[] = {
        // The embedded references: "due" leads, "uno" and "tre" tie at 0, "uno" goes first.
        {{0, 0, 0}, {2450, 200, 0}, {0, 314050, 1}, {2450, 200, 0}, {0, 314150, 1}, {0, 0, 0}},
        // "tre" leads; then the larger of the other two.
        {{3000, 1, 0}, {2000, 2, 0}, {1000, 3, 0}, {3000, 1, 0}, {2000, 2, 0}, {1000, 3, 0}},
        {{3000, 1, 0}, {1000, 2, 0}, {2000, 3, 0}, {3000, 1, 0}, {2000, 3, 0}, {1000, 2, 0}},
        // "uno" leads, "tre" before "due" when it starts later.
        {{2000, 1, 0}, {1000, 2, 0}, {3000, 3, 0}, {3000, 3, 0}, {2000, 1, 0}, {1000, 2, 0}},
        // "due" leads and "tre" starts after "uno".
        {{1000, 1, 0}, {3000, 2, 0}, {500, 3, 0}, {3000, 2, 0}, {1000, 1, 0}, {500, 3, 0}},
        // A shared largest position clears every value, flags included.
        {{1000, 5000, 1}, {1000, 2, 0}, {0, 3, 1}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
        // All positions 0: only "tre" has a value, the order stays T, D, U.
        {{0, 5000, 1}, {0, 0, 0}, {0, 0, 0}, {0, 5100, 1}, {0, 0, 0}, {0, 0, 0}},
        // Only "due": D, T, U.
        {{0, 0, 0}, {0, 700, 0}, {0, 0, 0}, {0, 700, 0}, {0, 0, 0}, {0, 0, 0}},
        // "uno" with a value wins over the others: U, D, T.
        {{0, 900, 0}, {0, 800, 0}, {0, 700, 1}, {0, 800, 1}, {0, 800, 0}, {0, 900, 0}},
        // No value at all: everything cleared.
        {{0, -50, 1}, {0, 0, 1}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
        // Positions summing to 0 order by value even when they are not 0.
        {{-50, 0, 0}, {50, 100, 0}, {0, 0, 0}, {50, 100, 0}, {-50, 0, 0}, {0, 0, 0}},
    };
    for (const auto& c : cases) {
        Scenario s;
        for (const auto& [i, t] : {std::pair{81, c.tre}, {82, c.due}, {83, c.uno}}) {
            voce& v = s.voci[static_cast<std::size_t>(i)];
            std::tie(v.valore1, v.valore2, v.valore3) = std::tuple(t[0], t[1], t[2]);
        }
        ASSERT_TRUE(progressive_ordina(s));
        EXPECT_EQ(reference(s, 81), c.e81) << c.tre[0] << " " << c.due[0] << " " << c.uno[0];
        EXPECT_EQ(reference(s, 82), c.e82) << c.tre[0] << " " << c.due[0] << " " << c.uno[0];
        EXPECT_EQ(reference(s, 83), c.e83) << c.tre[0] << " " << c.due[0] << " " << c.uno[0];
    }
}

TEST(ProgressiveOrdina, RefusesSumsBeyondLong) {
    Scenario s;
    s.voci[81].valore1 = 2147483600;
    s.voci[82].valore1 = 100;
    EXPECT_FALSE(progressive_ordina(s));

    Scenario t;  // a counting-down reference at the top of the range
    t.voci[81].valore1 = 50;
    t.voci[81].valore2 = 2147483600;
    t.voci[81].valore3 = 1;
    EXPECT_FALSE(progressive_ordina(t));
}

class MemoMontagna : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(create_route(s, 101000)); }  // cells 0 to 2160
    Scenario s;
};

TEST_F(MemoMontagna, LaysTunnelsAndMarks) {
    std::int32_t tipo = 2;  // the first embedded tunnel: cell 47 only, no marks
    ASSERT_TRUE(memo_montagna(s, 2350, 2400, &tipo));
    EXPECT_EQ(s.percorso[46].galleria, 0);
    EXPECT_EQ(s.percorso[47].galleria, 2);
    EXPECT_EQ(s.percorso[48].galleria, 0);
    EXPECT_EQ(s.percorso[47].tipo, 0);

    s.percorso[251].tipo = tipo_cella::kCartelloIndicatore;  // a sign keeps its cell
    tipo = 12;  // marked: cells 244 to 250, the fourth (247) marked
    ASSERT_TRUE(memo_montagna(s, 12200, 12550, &tipo));
    EXPECT_EQ(tipo, 2);
    for (int i = 244; i <= 250; ++i) {
        EXPECT_EQ(s.percorso[i].galleria, 2) << i;
        EXPECT_EQ(s.percorso[i].tipo, i == 247 ? tipo_cella::kSegnoGalleria : 0) << i;
    }
    EXPECT_EQ(s.percorso[243].galleria, 0);
    EXPECT_EQ(s.percorso[251].galleria, 0);

    EXPECT_EQ(s.numero_montagne, 2);
    EXPECT_EQ(s.montagne_inizio[2], 12200);
    EXPECT_EQ(s.montagne_fine[2], 12550);
}

TEST_F(MemoMontagna, KindFollowsTheGapToThePreviousTunnel) {
    const struct {
        std::int32_t inizio, fine, tipo;
        std::int32_t used;      // the kind written back
        std::uint8_t galleria;  // on the tunnel's first cell
        bool marked;            // cell first + 3 carries the mark
    } rows[] = {
        {1000, 2000, 11, 1, 1, true},  // kind 11: 1 with marks
        {2150, 2500, 2, 3, 3, false},  // 150 m after the previous end: 3
        {2651, 3000, 12, 2, 2, true},  // 151 m after: keeps its own kind, marks
        {3100, 3400, 12, 3, 3, true},  // close again: 3, and the marks stand
        {3200, 3300, 1, 3, 3, false},  // overlaps the previous one: rewrites galleria
        {9000, 8000, 1, 1, 0, false},  // end before start: no cells
    };
    for (const auto& r : rows) {
        std::int32_t tipo = r.tipo;
        ASSERT_TRUE(memo_montagna(s, r.inizio, r.fine, &tipo)) << r.inizio;
        EXPECT_EQ(tipo, r.used) << r.inizio;
        const std::int64_t first = cell_of(r.inizio);
        EXPECT_EQ(s.percorso[first].galleria, r.galleria) << r.inizio;
        EXPECT_EQ(s.percorso[first + 3].tipo == tipo_cella::kSegnoGalleria, r.marked) << r.inizio;
    }
}

TEST_F(MemoMontagna, RefusesWhatLeavesTheStores) {
    std::int32_t tipo = 2;
    EXPECT_FALSE(memo_montagna(s, 107000, 108100, &tipo));  // last cell 2161 is past 2160
    EXPECT_TRUE(memo_montagna(s, 107000, 108050, &tipo));   // last cell 2160
    EXPECT_FALSE(memo_montagna(s, -100, 500, &tipo));       // first cell -2
    s.numero_montagne = kMaxMontagne;
    EXPECT_FALSE(memo_montagna(s, 1000, 2000, &tipo));  // an 81st tunnel
    EXPECT_EQ(s.numero_montagne, kMaxMontagne);
    EXPECT_EQ(s.percorso[20].galleria, 0);
}

class MemoIndicatori : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(create_route(s, 101000)); }
    bool board(std::int32_t posizione, std::int32_t vas, std::int32_t vbs, std::int32_t vcs,
               std::int16_t strisces, std::int32_t vad, std::int32_t vbd, std::int32_t vcd,
               std::int16_t strisced) {
        return memo_indicatori_v_max(s, posizione, vas, vbs, vcs, strisces, vad, vbd, vcd,
                                     strisced);
    }
    Scenario s;
};

TEST_F(MemoIndicatori, PacksBothSetsIntoTheCell) {
    const struct {
        std::int32_t vas, vbs, vcs;
        std::int16_t strisces;
        std::int32_t vad, vbd, vcd;
        std::int16_t strisced;
        std::int16_t dato1, dato2, dato3, dato4;
    } rows[] = {
        {65, 70, 75, 0, 0, 0, 0, 0, 1300, 1400, 1500, 0},  // the embedded board
        {65, 0, 0, 2, 70, 0, 0, 1, 1314, 0, 0, 21},        // 70 / 5 = 14
        {0, 0, 0, 0, 72, 73, 62, 0, 14, 15, 12, 0},        // 14.4, 14.6, 12.4 rounded
        {0, 0, 0, 0, 62, 67, 0, 0, 12, 13, 0, 0},          // 12.4 -> 12, 13.4 -> 13
        {1638, 0, 0, 0, 35, 0, 0, 0, 32767, 0, 0, 0},      // the largest word that fits
    };
    for (const auto& r : rows) {
        Scenario& t = s;
        t.percorso[15] = cella{};
        ASSERT_TRUE(board(700, r.vas, r.vbs, r.vcs, r.strisces, r.vad, r.vbd, r.vcd, r.strisced));
        const cella& c = t.percorso[15];  // cell after 700
        EXPECT_EQ(c.tipo, tipo_cella::kIndicatoreVMax);
        EXPECT_EQ(std::tuple(c.dato1, c.dato2, c.dato3, c.dato4),
                  std::tuple(r.dato1, r.dato2, r.dato3, r.dato4))
            << r.vas << " " << r.vad;
    }
    EXPECT_EQ(s.codice_errore, 0);
}

TEST_F(MemoIndicatori, NeedsAFreeCellInsideTheRoute) {
    s.percorso[15].tipo = tipo_cella::kSegnoGalleria;  // a tunnel mark gives way
    ASSERT_TRUE(board(700, 65, 70, 75, 0, 0, 0, 0, 0));
    EXPECT_EQ(s.percorso[15].tipo, tipo_cella::kIndicatoreVMax);

    s.percorso[16].tipo = tipo_cella::kCartelloIndicatore;
    s.percorso[16].dato1 = 80;
    s.posizione_errore = 5;
    ASSERT_TRUE(board(750, 65, 70, 75, 0, 0, 0, 0, 0));
    EXPECT_EQ(s.codice_errore, codice::kIndicatoreOccupato);
    EXPECT_EQ(s.posizione_errore, 5);  // the caller sets it
    EXPECT_EQ(s.percorso[16].tipo, tipo_cella::kCartelloIndicatore);
    EXPECT_EQ(s.percorso[16].dato1, 80);

    s.codice_errore = 0;
    EXPECT_FALSE(board(-200, 65, 0, 0, 0, 0, 0, 0, 0));    // cell -3
    EXPECT_FALSE(board(1000, 1639, 0, 0, 0, 0, 0, 0, 0));  // 32780 does not fit 16 bits
    EXPECT_FALSE(board(1000, 0, 0, 0, 3277, 0, 0, 0, 0));  // nor does 32770 stripes
    EXPECT_EQ(s.percorso[21].tipo, 0);
    EXPECT_EQ(s.codice_errore, 0);
}

TEST(Minimo, SmallerOfTwoAndTheFirstOnATie) {
    EXPECT_EQ(minimo(180, 200), 180);
    EXPECT_EQ(minimo(180, 120), 120);
    EXPECT_EQ(minimo(180, 180), 180);
    EXPECT_EQ(minimo(-5, -7), -7);
}

}  // namespace
}  // namespace scenario
