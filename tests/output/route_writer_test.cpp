#include "output/route_writer.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(RouteWriter, WritesEachCellAsFifteenLittleEndianBytes) {
    Scenario s;
    s.percorso.resize(3);
    s.percorso[1] = cella{.tipo = 14,
                          .dato1 = 5121,
                          .dato2 = -2,
                          .dato3 = 0x1234,
                          .dato4 = -32768,
                          .dato5 = 0xAB,
                          .dato6 = 84,
                          .galleria = 3,
                          .velocita = 15,
                          .pendenza = 94,
                          .aderenza = 100};
    const Bytes image = route_image(s);
    ASSERT_EQ(image.size(), 45u);
    const Bytes cell1(image.begin() + 15, image.begin() + 30);
    const Bytes expected = {
        0x0E,        // tipo
        0x01, 0x14,  // dato1 5121
        0xFE, 0xFF,  // dato2 -2
        0x34, 0x12,  // dato3
        0x00, 0x80,  // dato4 -32768
        0xAB,        // dato5
        0x54,        // dato6 84
        0x03,        // galleria
        0x0F,        // velocita
        0x5E,        // pendenza 94
        0x64,        // aderenza 100
    };
    EXPECT_EQ(cell1, expected);
    EXPECT_EQ(Bytes(image.begin(), image.begin() + 15), Bytes(15, 0));
    EXPECT_EQ(Bytes(image.begin() + 30, image.end()), Bytes(15, 0));
}

}  // namespace
}  // namespace scenario
