#include "output/le_writer.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(LeWriter, LowByteFirstForEveryWidthAtItsOffset) {
    Bytes out(23, 0xEE);
    LeRecord<21> r = record_at<21>(out, 1);
    r.u8<0>(0xAB);
    r.i16<1>(-2);          // FE FF
    r.u16<3>(5121);        // 01 14
    r.i32<5>(0x12345678);  // 78 56 34 12
    r.u32<9>(0xFFFFFFFF);  // FF FF FF FF
    r.f64<13>(1.0);        // 3FF0000000000000
    store_text(out, 22, "z");
    const Bytes expected = {0xEE, 0xAB, 0xFE, 0xFF, 0x01, 0x14, 0x78, 0x56, 0x34, 0x12, 0xFF, 0xFF,
                            0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0x3F, 'z'};
    EXPECT_EQ(out, expected);
}

TEST(LeWriter, ARunPlacesItsRecordsOneAfterTheOther) {
    Bytes out(8, 0);
    const LeRun<3> run(out, 2, 2);
    EXPECT_EQ(run.bytes(), 6u);
    run[0].i16<1>(-32768);
    run[1].u8<0>(7);
    run[1].u16<1>(0x0102);
    EXPECT_EQ(out, (Bytes{0, 0, 0, 0x00, 0x80, 7, 0x02, 0x01}));
}

#if GTEST_HAS_DEATH_TEST && !defined(_WIN32)
// A buffer sized too small for its records is a fault of the writer: the
// program stops instead of storing past the end.
TEST(LeWriterDeathTest, RecordsBeyondTheBufferStopTheProgram) {
    Bytes out(10);
    EXPECT_DEATH(LeRun<4>(out, 4, 2), "");
    EXPECT_DEATH(LeRun<4>(out, 11, 0), "");
    EXPECT_DEATH(LeRun<4>(out, 0, SIZE_MAX / 2), "");  // count * width would wrap
    EXPECT_DEATH(store_text(out, 8, "abc"), "");
    EXPECT_EQ(LeRun<4>(out, 2, 2).size(), 2u);  // exactly full is fine
    EXPECT_EQ(LeRun<4>(out, 10, 0).size(), 0u);
}
#endif

}  // namespace
}  // namespace scenario
