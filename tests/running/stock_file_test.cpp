#include "running/stock_file.h"

#include <gtest/gtest.h>

#include <string>

namespace scenario {
namespace {

TEST(StockFile, KeysReplaceTheDefaultsAndIntegersServeAsNumbers) {
    const RollingStock defaults = regional_train(3, 120);
    const StockRead read = read_stock_file(
        "mass = 300\n"
        "top_speed = 120.5\n"
        "classification = \"DIRETTO\"\n"
        "braked_mass = 400\n"
        "[resistance]\n"
        "a = 5\n"
        "[effort]\n"
        "points = [[0, 250], [100.5, 150]]\n",
        defaults);
    ASSERT_TRUE(read.stock) << read.problems.front().message;
    EXPECT_TRUE(read.problems.empty());
    const RollingStock& s = *read.stock;
    EXPECT_EQ(s.mass, 300.0);
    EXPECT_EQ(s.top_speed, 120.5);
    EXPECT_EQ(s.classification, "DIRETTO");
    EXPECT_EQ(*s.braked_mass, 400.0);
    EXPECT_EQ(s.resistance.a, 5.0);
    EXPECT_EQ(s.resistance.b, defaults.resistance.b);  // keys not given keep their default
    EXPECT_EQ(s.length, defaults.length);
    ASSERT_EQ(s.effort.points.size(), 2u);  // a table given replaces the default whole
    EXPECT_EQ(s.effort.points[1].speed_kmh, 100.5);
    EXPECT_EQ(s.effort.points[1].force_kn, 150.0);
}

TEST(StockFile, ABadFileGivesItsProblemsWhereTheyAreAndNoStock) {
    const struct {
        const char* text;
        std::size_t count;  // problems in all; the first is checked
        int line;
        int column;
        const char* message;  // how the first one starts
    } cases[] = {
        // TOML syntax: the reader's own words, at its position.
        {"mass = \n", 1, 1, 8, "Error while parsing key-value pair"},
        {"mass = 300\nmass = 200\n", 1, 2, 8, "Error while parsing key-value pair"},
        // A key that starts with a dot once stopped a debug build, and an
        // accented letter outside a string (UTF-8 of a grave a) ran into
        // undefined behaviour in the reader.
        {"[.resistance]\na = 1\n", 1, 1, 2, "Error while parsing key"},
        {"velocit\xC3\xA0 = 100\n", 1, 1, 8, "Error while parsing key-value pair"},
        // Unknown names, at the name.
        {"mass = 300\nmasse = 2\n", 1, 2, 1, "unknown key `masse`"},
        {"[resistence]\na = 1\n", 1, 1, 2, "unknown table `resistence`"},
        {"[resistance]\nd = 1\n", 1, 2, 1, "unknown key `d` in [resistance]"},
        {"[effort]\ncurve = 1\n", 1, 2, 1, "unknown key `curve` in [effort]"},
        // Wrong types, at the value.
        {"mass = \"heavy\"\n", 1, 1, 8, "`mass` must be a number"},
        {"classification = 5\n", 1, 1, 18, "`classification` must be a string"},
        {"resistance = 3\n", 1, 1, 14, "`resistance` must be a table"},
        {"[effort]\npoints = 300\n", 1, 2, 10, "`points` must be an array"},
        {"[effort]\npoints = [[0, 300, 1]]\n", 1, 2, 11, "an effort point must be [km/h, kN]"},
        // Values that cannot be.
        {"top_speed = 0\n", 1, 1, 13, "`top_speed` must be greater than 0"},
        {"length = nan\n", 1, 1, 10, "`length` must be a finite number"},
        {"rotating_mass = 0.9\n", 1, 1, 17, "`rotating_mass` must be at least 1"},
        {"[effort]\npoints = []\n", 1, 2, 10, "`points` must not be empty"},
        {"[effort]\npoints = [[0, 300], [-5, 100]]\n", 1, 2, 22,
         "an effort point's speed must not be negative"},
        {"[effort]\npoints = [[0, 300], [60, -1]]\n", 1, 2, 26,
         "an effort point's force must not be negative"},
        {"[effort]\npoints = [[0, 300], [60, 200], [60, 100]]\n", 1, 2, 32,
         "effort points must rise strictly in speed"},
        // The default traction mass, 85 t, above a light train's mass.
        {"mass = 50\n", 1, 1, 8, "`traction_mass` must not exceed `mass`"},
        // Every problem, in the order of the file though the keys sort otherwise.
        {"top_speed = 0\nbraking = 0\nadhesion = 0\n", 3, 1, 13, "`top_speed`"},
    };
    const RollingStock defaults = regional_train(3, 120);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const StockRead read = read_stock_file(c.text, defaults);
        EXPECT_FALSE(read.stock);
        ASSERT_EQ(read.problems.size(), c.count);
        EXPECT_EQ(read.problems[0].line, c.line);
        EXPECT_EQ(read.problems[0].column, c.column);
        EXPECT_EQ(read.problems[0].message.rfind(c.message, 0), 0u) << read.problems[0].message;
        for (std::size_t i = 1; i < read.problems.size(); ++i)
            EXPECT_GT(read.problems[i].line, read.problems[i - 1].line);
    }
}

}  // namespace
}  // namespace scenario
