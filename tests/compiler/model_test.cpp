#include "compiler/model.h"
#include "compiler/route_rules.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    const struct {
        double x;
        std::int64_t expected;
    } cases[] = {
        {12.5, 12},  {13.5, 14},  {-0.5, 0}, {-1.5, -2},     {280.5, 280},
        {14.49, 14}, {14.51, 15}, {0.0, 0},  {2160.0, 2160},
    };
    for (const auto& c : cases)
        EXPECT_EQ(round_half_even(c.x), c.expected) << c.x;
}

TEST(CellConversion, CellOfAndCellAfter) {
    const struct {
        std::int64_t p, of, after;
    } cases[] = {
        {700, 14, 15}, {725, 14, 16},  // 14.5 -> 14 and 15.5 -> 16
        {775, 16, 16},                 // 15.5 -> 16 and 16.5 -> 16
        {0, 0, 1},     {-25, 0, 0},    // -0.5 -> 0 and 0.5 -> 0
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cell_of(c.p), c.of) << c.p;
        EXPECT_EQ(cell_after(c.p), c.after) << c.p;
    }
}

TEST(CreateRoute, SizesCellsAndGeometry) {
    Scenario s;
    s.genera_linea = 1;
    ASSERT_TRUE(create_route(s, 101000));
    EXPECT_EQ(s.metri_totali, 108000);
    EXPECT_EQ(s.percorso.size(), 2161u);
    // The rows get their tags and values from the line compiler.
    EXPECT_EQ(s.tracciato.rows(), 108001);
    EXPECT_EQ(s.tracciato.x.size(), 108001u);
    EXPECT_EQ(s.tracciato.y.size(), 108001u);

    // 14025 / 50 = 280.5 rounds to the even 280.
    ASSERT_TRUE(create_route(s, 7025));
    EXPECT_EQ(s.ultima_cella(), 280);

    s.genera_linea = 0;
    ASSERT_TRUE(create_route(s, 1000));
    EXPECT_FALSE(s.tracciato.exists());
}

TEST(CreateRoute, RefusesALengthThatLeavesNoRoute) {
    Scenario s;
    EXPECT_FALSE(create_route(s, -7000));
    EXPECT_FALSE(s.has_route());
}

TEST(RangeTest, BoundaryAtTheLastCell) {
    Scenario s;
    ASSERT_TRUE(create_route(s, 101000));  // N = 2160
    EXPECT_TRUE(in_range(s, 107900));      // (107900 + 100) / 50 = 2160
    EXPECT_FALSE(in_range(s, 107901));
    EXPECT_TRUE(in_range(s, 107200, 800));
    EXPECT_FALSE(in_range(s, 107201, 800));
}

TEST(CheckedAccess, OutsideTheStoresGivesNothing) {
    Scenario s;
    EXPECT_EQ(s.cell(0), nullptr);  // no route yet
    ASSERT_TRUE(create_route(s, 101000));
    EXPECT_NE(s.cell(2160), nullptr);
    EXPECT_EQ(s.cell(2161), nullptr);
    EXPECT_EQ(s.cell(-1), nullptr);
    EXPECT_NE(s.entry(86), nullptr);
    EXPECT_EQ(s.entry(87), nullptr);
    EXPECT_EQ(s.entry(-1), nullptr);
}

TEST(Narrowing, KeepsTheLowOrderBits) {
    EXPECT_EQ(low8(300), 44);
    EXPECT_EQ(low8(-1), 255);
    EXPECT_EQ(low16(70000), 4464);
    EXPECT_EQ(low16(40000), -25536);
    EXPECT_EQ(low16(-1), -1);
}

TEST(FreeCell, EmptyOrTunnelMark) {
    for (std::uint8_t t = 0; t < 20; ++t) {
        cella c;
        c.tipo = t;
        EXPECT_EQ(is_free(c), t == 0 || t == 11) << int(t);
    }
}

}  // namespace
}  // namespace scenario
