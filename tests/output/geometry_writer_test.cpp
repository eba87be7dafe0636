#include "output/geometry_writer.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(GeometryWriter, WritesColumnZeroThenColumnOneAsTaggedItems) {
    Tracciato t;
    t.tag = {Tag::intero, Tag::intero, Tag::reale, Tag::vuoto, Tag::vuoto};
    t.x = {0.0, 0.0, -1.5, 0.0, 0.0};
    t.y = {0.0, 1.0, 2.25, 0.0, 0.0};
    const Bytes expected = {
        // column 0, rows 0 to 4
        0x02,
        0x00,
        0x00,
        0x00,  // integer 0
        0x02,
        0x00,
        0x00,
        0x00,  // integer 0
        0x05,
        0x00,
        0x00,
        0x00,
        0x00,
        0x00,
        0x00,
        0x00,
        0xF8,
        0xBF,  // double -1.5
        0x00,
        0x00,  // never assigned
        0x00,
        0x00,
        // column 1, rows 0 to 4
        0x02,
        0x00,
        0x00,
        0x00,  // integer 0
        0x02,
        0x00,
        0x01,
        0x00,  // integer 1
        0x05,
        0x00,
        0x00,
        0x00,
        0x00,
        0x00,
        0x00,
        0x00,
        0x02,
        0x40,  // double 2.25
        0x00,
        0x00,
        0x00,
        0x00,
    };
    EXPECT_EQ(geometry_image(t), expected);
}

TEST(GeometryWriter, NoGeometryGivesNoBytes) {
    EXPECT_TRUE(geometry_image(Tracciato{}).empty());
}

}  // namespace
}  // namespace scenario
