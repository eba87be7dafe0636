#include "output/le_writer.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(LeWriter, LowByteFirstForEveryWidth) {
    Bytes out;
    out.reserve(32);  // as the writers do; growth is not what this pins
    put_u8(out, 0xAB);
    put_i16(out, -2);          // FE FF
    put_u16(out, 5121);        // 01 14
    put_i32(out, 0x12345678);  // 78 56 34 12
    put_i32(out, -1);          // FF FF FF FF
    put_f64(out, 1.0);         // 3FF0000000000000
    put_bytes(out, "\xE0z");
    const Bytes expected = {0xAB, 0xFE, 0xFF, 0x01, 0x14, 0x78, 0x56, 0x34, 0x12, 0xFF, 0xFF, 0xFF,
                            0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0x3F, 0xE0, 'z'};
    EXPECT_EQ(out, expected);
}

}  // namespace
}  // namespace scenario
