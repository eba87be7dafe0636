#include "compiler/line_recorders.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "compiler/error_codes.h"

namespace scenario {
namespace {

using Terna = std::array<std::int32_t, 3>;  // position, kilometric value, direction flag

TEST(ProgressiveOrdina, OrdersAndShiftsTheReferences) {
    const struct {
        Terna tre, due, uno;  // as read into 81, 82, 83
        Terna e81, e82, e83;  // afterwards
    } cases[] = {
        // The embedded references: "due" leads, "uno" and "tre" tie at 0, "uno" goes first.
        {{0, 0, 0}, {2450, 200, 0}, {0, 314050, 1}, {2450, 200, 0}, {0, 314150, 1}, {0, 0, 0}},
        {{3000, 1, 0}, {1000, 2, 0}, {2000, 3, 0}, {3000, 1, 0}, {2000, 3, 0}, {1000, 2, 0}},
        {{2000, 1, 0}, {1000, 2, 0}, {3000, 3, 0}, {3000, 3, 0}, {2000, 1, 0}, {1000, 2, 0}},
        // A shared largest position clears every value, flags included.
        {{1000, 5000, 1}, {1000, 2, 0}, {0, 3, 1}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
        // Positions summing to 0: the first kilometric value of uno, due, tre decides.
        {{0, 5000, 1}, {0, 0, 0}, {0, 0, 0}, {0, 5100, 1}, {0, 0, 0}, {0, 0, 0}},
        {{0, 900, 0}, {0, 800, 0}, {0, 0, 0}, {0, 800, 0}, {0, 900, 0}, {0, 0, 0}},
        {{0, 900, 0}, {0, 800, 0}, {0, 700, 1}, {0, 800, 1}, {0, 800, 0}, {0, 900, 0}},
        {{-50, 0, 0}, {50, 100, 0}, {0, 0, 0}, {50, 100, 0}, {-50, 0, 0}, {0, 0, 0}},
        {{0, -50, 1}, {0, 0, 1}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
    };
    for (const auto& c : cases) {
        Scenario s;
        for (const auto& [i, t] : {std::pair{81, c.tre}, {82, c.due}, {83, c.uno}})
            std::tie(s.voci[i].valore1, s.voci[i].valore2, s.voci[i].valore3) =
                std::tuple(t[0], t[1], t[2]);
        ASSERT_TRUE(progressive_ordina(s));
        const Terna expected[] = {c.e81, c.e82, c.e83};
        for (int i = 0; i < 3; ++i) {
            const voce& v = s.voci[81 + i];
            EXPECT_EQ((Terna{v.valore1, v.valore2, v.valore3}), expected[i])
                << "entry " << 81 + i << ", case " << c.tre[0] << " " << c.due[0] << " "
                << c.uno[0];
        }
    }
    Scenario s;  // a sum beyond 32 bits is refused, not wrapped
    s.voci[81].valore1 = 2147483600;
    s.voci[82].valore1 = 100;
    EXPECT_FALSE(progressive_ordina(s));
}

TEST(MemoMontagna, KindMarksAndCells) {
    Scenario s;
    ASSERT_TRUE(create_route(s, 101000));                    // cells 0 to 2160
    s.percorso[253].tipo = tipo_cella::kCartelloIndicatore;  // a sign keeps its cell
    const struct {
        std::int32_t inizio, fine, tipo;
        std::int32_t used;  // the kind written back, and `galleria` of its cells
        int first, last;    // its cells
        int mark;           // the marked cell, or 0
    } rows[] = {
        {2350, 2400, 2, 2, 47, 47, 0},         // the first embedded tunnel
        {12200, 12550, 12, 2, 244, 250, 247},  // marked: the fourth cell
        {12700, 13000, 1, 3, 254, 259, 0},     // 150 m after the previous end: 3
        {13151, 13500, 11, 1, 263, 269, 266},  // 151 m after: its own kind, marks
        {12500, 12800, 12, 3, 250, 255, 0},    // overlaps: 3 again; its fourth cell holds a sign
    };
    for (const auto& r : rows) {
        std::int32_t tipo = r.tipo;
        ASSERT_TRUE(memo_montagna(s, r.inizio, r.fine, &tipo)) << r.inizio;
        EXPECT_EQ(tipo, r.used) << r.inizio;
        EXPECT_NE(s.percorso[r.first - 1].galleria, r.used) << r.inizio;
        for (int i = r.first; i <= r.last; ++i)
            EXPECT_EQ(s.percorso[i].galleria, r.used) << r.inizio << " cell " << i;
        if (r.mark != 0) {
            EXPECT_EQ(s.percorso[r.mark].tipo, tipo_cella::kSegnoGalleria) << r.inizio;
        }
    }
    EXPECT_EQ(s.percorso[253].tipo, tipo_cella::kCartelloIndicatore);
    EXPECT_EQ(std::tuple(s.numero_montagne, s.montagne_inizio[5], s.montagne_fine[5]),
              std::tuple(5, 12500, 12800));

    std::int32_t tipo = 2;  // what would leave the stores is refused
    EXPECT_FALSE(memo_montagna(s, 107000, 108100, &tipo));  // last cell 2161
    EXPECT_FALSE(memo_montagna(s, -150, 500, &tipo));       // first cell -3
    s.numero_montagne = kMaxMontagne;
    EXPECT_FALSE(memo_montagna(s, 1000, 2000, &tipo));  // an 81st tunnel
    EXPECT_EQ(s.percorso[20].galleria, 0);
}

TEST(MemoIndicatori, PacksBothSetsOnAFreeCell) {
    const struct {
        std::int32_t vas, vbs, vcs, vad, vbd, vcd;
        std::int16_t strisces, strisced;
        std::int16_t dato1, dato2, dato3, dato4;
    } rows[] = {
        {65, 70, 75, 0, 0, 0, 0, 0, 1300, 1400, 1500, 0},  // the embedded board
        {65, 0, 0, 70, 72, 73, 2, 1, 1314, 14, 15, 21},    // 14.4 and 14.6 rounded
        {1638, 0, 0, 35, 62, 0, 0, 0, 32767, 12, 0, 0},    // the largest word that fits
    };
    for (const auto& r : rows) {
        Scenario s;
        ASSERT_TRUE(create_route(s, 101000));
        s.percorso[15].tipo = tipo_cella::kSegnoGalleria;  // a tunnel mark gives way
        ASSERT_TRUE(memo_indicatori_v_max(s, 700, r.vas, r.vbs, r.vcs, r.strisces, r.vad, r.vbd,
                                          r.vcd, r.strisced));
        const cella& c = s.percorso[15];
        EXPECT_EQ(std::tuple(c.tipo, c.dato1, c.dato2, c.dato3, c.dato4),
                  std::tuple(tipo_cella::kIndicatoreVMax, r.dato1, r.dato2, r.dato3, r.dato4));
    }
}

TEST(MemoIndicatori, RefusesAnOccupiedCellAndWhatDoesNotFit) {
    Scenario s;
    ASSERT_TRUE(create_route(s, 101000));
    s.percorso[16].tipo = tipo_cella::kCartelloIndicatore;
    s.posizione_errore = 5;
    ASSERT_TRUE(memo_indicatori_v_max(s, 750, 65, 70, 75, 0, 0, 0, 0, 0));
    EXPECT_EQ(s.codice_errore, codice::kIndicatoreOccupato);
    EXPECT_EQ(s.posizione_errore, 5);  // the caller sets it
    EXPECT_EQ(s.percorso[16].tipo, tipo_cella::kCartelloIndicatore);
    EXPECT_EQ(s.percorso[16].dato1, 0);

    EXPECT_FALSE(memo_indicatori_v_max(s, -200, 65, 0, 0, 0, 0, 0, 0, 0));    // cell -3
    EXPECT_FALSE(memo_indicatori_v_max(s, 1000, 1639, 0, 0, 0, 0, 0, 0, 0));  // 32780
    EXPECT_FALSE(memo_indicatori_v_max(s, 1000, 0, 0, 0, 3277, 0, 0, 0, 0));  // 32770 stripes
    EXPECT_EQ(s.percorso[21].tipo, 0);
}

TEST(Minimo, SmallerOfTwoAndTheFirstOnATie) {
    EXPECT_EQ(minimo(180, 200), 180);
    EXPECT_EQ(minimo(180, 120), 120);
    EXPECT_EQ(minimo(180, 180), 180);
}

}  // namespace
}  // namespace scenario
