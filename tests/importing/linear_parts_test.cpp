// The small pieces of the linear model: milestones, names, SRTM tiles.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "importing/elevation_model.h"
#include "importing/kilometre_fit.h"
#include "importing/name_text.h"

namespace scenario::importing {
namespace {

TEST(KilometricReferences, FollowTheMilestonesAndStartAnewWhereTheCountJumps) {
    struct Case {
        const char* what;
        std::vector<Milestone> posts;  // chainage m, km
        std::vector<KilometricReference> expected;
    } cases[] = {
        {"none: one reference counting up from 0", {}, {{0, 0, false}}},
        {"counting up from km 12.3",
         {{200, 12.5, 1}, {1200, 13.5, 2}, {2210, 14.5, 3}},
         {{0, 12300, false}}},
        {"counting down", {{0, 30.0, 1}, {1000, 29.0, 2}, {2000, 28.0, 3}}, {{0, 30000, true}}},
        {"a jump of the count after 2 km",
         {{500, 3.5, 1}, {1500, 4.5, 2}, {2500, 51.0, 3}, {3500, 52.0, 4}},
         {{0, 3000, false}, {2000, 50500, false}}},
        {"a lone stray post is left out",
         {{0, 1.0, 1}, {1000, 2.0, 2}, {1500, 9.0, 3}, {2000, 3.0, 4}},
         {{0, 1000, false}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<ImportNote> notes;
        const std::vector<KilometricReference> got = kilometric_references(c.posts, &notes);
        ASSERT_EQ(got.size(), c.expected.size());
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].position, c.expected[i].position);
            EXPECT_EQ(got[i].value, c.expected[i].value);
            EXPECT_EQ(got[i].down, c.expected[i].down);
        }
    }
}

TEST(NameText, UpperCaseWindows1252WithTheLettersItLacksWithoutTheirMarks) {
    const struct {
        const char* utf8;
        const char* expected;
    } cases[] = {
        {"Carnol\xC3\xA8s", "CARNOL\xC8S"},  // è is in the code page
        {"Stra\xC3\x9F"
         "e",
         "STRASSE"},  // ß has no capital there
        {"\xC5\x81\xC3\xB3"
         "d\xC5\xBA",
         "L\xD3"
         "DZ"},                            // Ł and ź are not; ó is
        {"\xC5\xA0umperk", "\x8AUMPERK"},  // Š is
        {"Forst, Hilti", "FORST  HILTI"},  // a text field ends at a comma
        {"Schaan-Vaduz", "SCHAAN-VADUZ"},
        {"\xE2\x82", ""},  // a sequence cut short
    };
    for (const auto& c : cases)
        EXPECT_EQ(upper_windows_1252(c.utf8), c.expected) << c.utf8;
    EXPECT_EQ(ascii_identifier("Schaan-Vaduz"), "SCHAAN_VADUZ");
    EXPECT_EQ(ascii_identifier("Furth-Palt "), "FURTH_PALT");
}

TEST(ElevationModel, ReadsSrtmTilesBridgesVoidsAndKnowsWhereItEnds) {
    int lat = 0, lon = 0;
    EXPECT_TRUE(srtm_corner("N49E011.hgt", &lat, &lon));
    EXPECT_EQ(lat, 49);
    EXPECT_EQ(lon, 11);
    EXPECT_TRUE(srtm_corner("s12w077.hgt.zip", &lat, &lon));
    EXPECT_EQ(lat, -12);
    EXPECT_EQ(lon, -77);
    EXPECT_FALSE(srtm_corner("N9E011.hgt", &lat, &lon));

    // A tile of 1201 samples a side, big-endian: 100 m everywhere, 200 m
    // on the north-west sample, a void beside it.
    std::string tile(1201 * 1201 * 2, '\0');
    for (std::size_t i = 0; i < tile.size(); i += 2)
        tile[i + 1] = 100;
    tile[1] = static_cast<char>(200);
    tile[2] = static_cast<char>(0x80), tile[3] = 0;  // -32768
    ElevationModel dem;
    std::string error;
    ASSERT_TRUE(dem.add_hgt("N47E009.hgt", tile, &error)) << error;
    EXPECT_NEAR(*dem.height(48.0, 9.0), 200, 1e-9);
    EXPECT_NEAR(*dem.height(47.5, 9.5), 100, 1e-9);
    // Halfway to the void: the valid corner only.
    EXPECT_NEAR(*dem.height(48.0, 9.0 + 0.5 / 1200), 200, 1e-9);
    EXPECT_FALSE(dem.height(46.99, 9.5));
    EXPECT_FALSE(dem.add_hgt("N47E009.hgt", tile.substr(2), &error));
    EXPECT_EQ(error, "not an SRTM tile: 2884800 bytes");
}

TEST(ElevationModel, UnpacksTheZippedTilesOfTheSharedData) {
    if (!std::filesystem::exists(SCENARIO_OSM_DATA "/N49E011.hgt.zip"))
        GTEST_SKIP() << SCENARIO_OSM_DATA " holds no N49E011.hgt.zip";
    ElevationModel dem;
    std::string error;
    ASSERT_TRUE(dem.add_file(SCENARIO_OSM_DATA "/N49E011.hgt.zip", &error)) << error;
    // Bayreuth's Roter Main valley lies some 340 m up.
    const std::optional<double> h = dem.height(49.95, 11.6);
    ASSERT_TRUE(h);
    EXPECT_GT(*h, 250);
    EXPECT_LT(*h, 500);
    EXPECT_FALSE(dem.add_file(SCENARIO_OSM_DATA "/README.md", &error));
}

}  // namespace
}  // namespace scenario::importing
