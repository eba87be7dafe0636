#include "output/table_writer.h"

#include <gtest/gtest.h>

#include <string>

namespace scenario {
namespace {

constexpr std::size_t kEmptyTable = 87 * 34;

TEST(TableWriter, EmptyTextsGiveThirtyFourBytesPerRecord) {
    const Scenario s;
    const Bytes image = table_image(s);
    EXPECT_EQ(image.size(), 2958u);
    EXPECT_EQ(image, Bytes(2958, 0));
}

TEST(TableWriter, WritesARecordWithItsTextLengthAndBytes) {
    Scenario s;
    voce& v = s.voci[85];
    v.tipo = 9;
    v.valore1 = -1;
    v.valore2 = 0x01020304;
    v.valore3 = 108000;
    v.segno = 7;
    v.testo = "Alvena_Sorbio";
    v.numero1 = 610;
    v.numero2 = -2;
    v.numero3 = 17;
    v.numero4 = 0x0102;
    v.numero5 = -32768;
    v.byte1 = 1;
    v.byte2 = 60;
    v.byte3 = 0xFF;
    v.byte4 = 4;
    v.valore4 = 32703;
    const Bytes image = table_image(s);
    ASSERT_EQ(image.size(), kEmptyTable + 13);

    const std::size_t at = 85 * 34;  // every record before it is empty
    const Bytes expected = {
        0x09,                    // tipo
        0xFF, 0xFF, 0xFF, 0xFF,  // valore1 -1
        0x04, 0x03, 0x02, 0x01,  // valore2
        0xE0, 0xA5, 0x01, 0x00,  // valore3 108000
        0x07,                    // segno
        0x0D, 0x00,              // length 13
        'A',  'l',  'v',  'e',  'n', 'a',  '_',  'S',
        'o',  'r',  'b',  'i',  'o', 0x62, 0x02,  // numero1 610
        0xFE, 0xFF,                               // numero2 -2
        0x11, 0x00,                               // numero3
        0x02, 0x01,                               // numero4
        0x00, 0x80,                               // numero5 -32768
        0x01, 0x3C, 0xFF, 0x04,                   // byte1 to byte4
        0xBF, 0x7F, 0x00, 0x00,                   // valore4 32703
    };
    EXPECT_EQ(Bytes(image.begin() + at, image.begin() + at + 47), expected);
    EXPECT_EQ(Bytes(image.begin() + at + 47, image.end()), Bytes(34, 0));  // record 86
}

// The length field has 16 bits: a longer text must not let the length wrap
// and the following records slide out of place.
TEST(TableWriter, ATextBeyondTheLengthFieldKeepsItsFirst65535Bytes) {
    Scenario s;
    s.voci[0].testo = std::string(70000, 'x');
    s.voci[1].tipo = 5;
    const Bytes image = table_image(s);
    ASSERT_EQ(image.size(), kEmptyTable + 65535);
    EXPECT_EQ(image[14], 0xFF);
    EXPECT_EQ(image[15], 0xFF);
    EXPECT_EQ(image[16 + 65534], 'x');
    EXPECT_EQ(image[34 + 65535], 5);  // record 1 starts right after record 0
}

}  // namespace
}  // namespace scenario
