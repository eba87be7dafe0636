#include "importing/station_names.h"

#include <gtest/gtest.h>

#include "authoring/edit_distance.h"

namespace scenario::importing {
namespace {

TEST(StationNames, NormalisedNamesMatch) {
    const struct {
        const char* typed;
        const char* mapped;
    } same[] = {
        {"Carnoles", "Carnol\xC3\xA8s"},
        {"schaan vaduz", "Schaan-Vaduz"},
        {"Strasse",
         "Stra\xC3\x9F"
         "e"},
        {"Messe Nord ICC", "Messe Nord/ICC"},
        {"LODZ", "\xC5\x81\xC3\xB3\x64\xC5\xBA"},  // Latin Extended-A
    };
    for (const auto& c : same)
        EXPECT_EQ(normalised_name(c.typed), normalised_name(c.mapped)) << c.typed;
    // An umlaut folds to its letter alone, as "Carnoles" to "Carnol\xC3\xA8s".
    EXPECT_EQ(normalised_name("Sch\xC3\xB6neberg"), "schoneberg");
    // Another script keeps its letters; a broken UTF-8 byte does not crash.
    EXPECT_EQ(normalised_name("\xD0\x9C\xD0\xB8\xD1\x80"), "\xD0\x9C\xD0\xB8\xD1\x80");
    EXPECT_EQ(normalised_name("a\xC3"), "a");
}

TEST(StationNames, AsciiNamesForFiles) {
    EXPECT_EQ(ascii_name("Schaan-Vaduz"), "Schaan_Vaduz");
    EXPECT_EQ(ascii_name("Krems a.d. Donau"), "Krems_a_d_Donau");
    EXPECT_EQ(ascii_name("\xC3\x89tretat"), "Etretat");
    EXPECT_EQ(ascii_name("Stra\xC3\x9F"
                         "e"),
              "Strasse");
}

TEST(StationNames, Distance) {
    EXPECT_EQ(edit_distance("krems", "kremsadonau"), 6u);
    EXPECT_EQ(edit_distance("", "abc"), 3u);
    EXPECT_EQ(edit_distance("nendeln", "nendeln"), 0u);
}

}  // namespace
}  // namespace scenario::importing
