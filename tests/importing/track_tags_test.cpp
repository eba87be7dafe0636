// The values of maxspeed, incline and railway:position as mappers write
// them, and which ways and nodes count as what.
#include "importing/track_tags.h"

#include <gtest/gtest.h>

namespace scenario::importing {
namespace {

Tags tags(std::initializer_list<std::pair<const char*, const char*>> list) {
    Tags t;
    for (const auto& [k, v] : list)
        t.items.emplace_back(k, v);
    return t;
}

TEST(TrackTags, MaxspeedValues) {
    const struct {
        const char* value;
        std::optional<int> kmh;
    } cases[] = {
        {"90", 90},
        {"90 km/h", 90},
        {"50 mph", 80},  // 80.47, never rounded up
        {"80;100", 80},  // the lower of two
        {"none", std::nullopt},
        {"signals", std::nullopt},
        {"DE:rural", std::nullopt},
        {"-20", std::nullopt},
        {"90 knots", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parse_maxspeed(c.value), c.kmh) << c.value;
}

TEST(TrackTags, MaxspeedForTheDirectionOfTravel) {
    const Tags way =
        tags({{"maxspeed", "100"}, {"maxspeed:forward", "80"}, {"maxspeed:backward", "60"}});
    EXPECT_EQ(maxspeed_for(way, true, nullptr), 80);
    EXPECT_EQ(maxspeed_for(way, false, nullptr), 60);
    EXPECT_EQ(maxspeed_for(tags({{"maxspeed:forward", "80"}, {"maxspeed", "100"}}), false, nullptr),
              100);
}

TEST(TrackTags, InclineValues) {
    const struct {
        const char* value;
        std::optional<double> per_mille;
    } cases[] = {
        {"5%", 50},
        {"-2.5%", -25},
        {"2,5 %", 25},
        {"12\xE2\x80\xB0", 12},
        {"3", 30},  // a bare number is percent
        {"up", std::nullopt},
        {"steep", std::nullopt},
    };
    for (const auto& c : cases) {
        const auto got = parse_incline(c.value);
        ASSERT_EQ(got.has_value(), c.per_mille.has_value()) << c.value;
        if (got) {
            EXPECT_NEAR(*got, *c.per_mille, 1e-9) << c.value;
        }
    }
    EXPECT_EQ(incline_sign("up"), 1);
    EXPECT_EQ(incline_sign("down"), -1);
    EXPECT_EQ(incline_sign("5%"), 0);
}

TEST(TrackTags, MilestonePositions) {
    const struct {
        const char* value;
        std::optional<double> km;
    } cases[] = {
        {"12.3", 12.3},
        {"12,3", 12.3},
        {"mi:7.5", 7.5 * 1.609344},
        {"26.0+100", 26.1},
        {"26.0-50", 25.95},
        {"1.2;3.4", 1.2},
        {" 4.5 ", 4.5},
        {"km:3.2", 3.2},
        {"abc", std::nullopt},
        {"12.3 km", std::nullopt},
        {"", std::nullopt},
        {"26.0+", std::nullopt},
    };
    for (const auto& c : cases) {
        const auto got = parse_position(c.value);
        ASSERT_EQ(got.has_value(), c.km.has_value()) << c.value;
        if (got) {
            EXPECT_NEAR(*got, *c.km, 1e-9) << c.value;
        }
    }
}

TEST(TrackTags, WhatIsTrackAndWhatAStation) {
    EXPECT_TRUE(is_track(tags({{"railway", "rail"}})));
    EXPECT_TRUE(is_track(tags({{"railway", "light_rail"}})));
    EXPECT_FALSE(is_track(tags({{"railway", "disused"}})));
    EXPECT_FALSE(is_track(tags({{"railway", "platform"}})));
    EXPECT_FALSE(is_track(tags({{"railway", "tram"}})));
    EXPECT_LT(track_cost_factor(tags({{"usage", "main"}})),
              track_cost_factor(tags({{"service", "siding"}})));
    EXPECT_EQ(station_tag(tags({{"public_transport", "stop_position"}, {"bus", "yes"}})),
              StationTag::none);
    EXPECT_EQ(station_tag(tags({{"public_transport", "stop_position"}, {"tram", "yes"}})),
              StationTag::none);
    EXPECT_EQ(station_tag(tags({{"public_transport", "stop_position"}, {"train", "yes"}})),
              StationTag::stop_position);
    EXPECT_EQ(station_tag(tags({{"highway", "bus_stop"}})), StationTag::none);
    EXPECT_EQ(station_tag(tags({{"railway", "tram_stop"}})), StationTag::none);
}

TEST(TrackTags, SignalsFaceTheirDirection) {
    const Tags forward = tags({{"railway", "signal"},
                               {"railway:signal:main", "DE-ESO:hp"},
                               {"railway:signal:direction", "forward"}});
    EXPECT_EQ(signal_kind(forward), SignalKind::main);
    EXPECT_EQ(signal_faces(forward, true), true);
    EXPECT_EQ(signal_faces(forward, false), false);  // drawn against the train
    const Tags both = tags({{"railway", "signal"},
                            {"railway:signal:main", "x"},
                            {"railway:signal:distant", "y"},
                            {"railway:signal:direction", "both"}});
    EXPECT_EQ(signal_kind(both), SignalKind::combined);
    EXPECT_EQ(signal_faces(both, false), true);
    EXPECT_EQ(signal_faces(tags({{"railway", "signal"}}), true), std::nullopt);
    EXPECT_EQ(signal_kind(tags({{"railway", "signal"}, {"railway:signal:speed_limit", "x"}})),
              SignalKind::other);
}

}  // namespace
}  // namespace scenario::importing
