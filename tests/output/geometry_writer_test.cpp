#include "output/geometry_writer.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

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

// Keeps the pieces as they come; refuses the piece numbered `refuse`.
class RecordingSink final : public PieceSink {
  public:
    explicit RecordingSink(std::size_t refuse = SIZE_MAX) : refuse_(refuse) {}
    bool put(std::string_view piece) override {
        pieces.emplace_back(piece);
        return pieces.size() != refuse_ + 1;
    }
    std::vector<std::string> pieces;

  private:
    std::size_t refuse_;
};

// The items of one row, byte by byte, as the file lays them out.
void append_item(std::string& out, Tag tag, double value) {
    const auto put = [&out](std::uint64_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    put(static_cast<std::uint16_t>(tag), 2);
    if (tag == Tag::intero) put(static_cast<std::uint16_t>(static_cast<std::int16_t>(value)), 2);
    if (tag == Tag::reale) put(std::bit_cast<std::uint64_t>(value), 8);
}

// Runs of every length and kind, long enough to fill several pieces: the
// pieces join into the file, whatever falls on a piece's edge.
TEST(GeometryWriter, ThePiecesJoinIntoTheFile) {
    // Runs of 1 to 7 rows of each kind, and one of 20000 doubles.
    std::vector<Tag> tags;
    const Tag kinds[] = {Tag::reale, Tag::intero, Tag::reale, Tag::vuoto};
    for (std::size_t run = 0; tags.size() < 40000; ++run) {
        const std::size_t length = run == 50 ? 20000 : run % 7 + 1;
        tags.insert(tags.end(), length, run == 50 ? Tag::reale : kinds[run % 4]);
    }
    Tracciato t;
    std::string expected_x;
    std::string expected_y;
    for (std::size_t row = 0; row < tags.size(); ++row) {
        const Tag tag = tags[row];
        const auto r = static_cast<double>(row);
        const double x = tag == Tag::vuoto ? 0.0 : tag == Tag::intero ? r - 150 : r * 0.5;
        const double y = tag == Tag::vuoto ? 0.0 : tag == Tag::intero ? -r : r * -0.25;
        t.tag.push_back(tag);
        t.x.push_back(x);
        t.y.push_back(y);
        append_item(expected_x, tag, x);
        append_item(expected_y, tag, y);
    }
    RecordingSink sink;
    ASSERT_TRUE(GeometryFile(t).write_to(sink));
    ASSERT_GT(sink.pieces.size(), 2u);
    std::string joined;
    for (const std::string& piece : sink.pieces) {
        EXPECT_LE(piece.size(), kGeometryPieceBytes);
        EXPECT_FALSE(piece.empty());
        joined += piece;
    }
    EXPECT_EQ(joined, expected_x + expected_y);
    EXPECT_EQ(as_text(geometry_image(t)), joined);
}

TEST(GeometryWriter, ARefusedPieceEndsTheFile) {
    Tracciato t;
    t.tag.assign(30000, Tag::reale);
    t.x.assign(30000, 1.0);
    t.y.assign(30000, 2.0);
    RecordingSink sink(1);
    EXPECT_FALSE(GeometryFile(t).write_to(sink));
    EXPECT_EQ(sink.pieces.size(), 2u);  // nothing is offered after the refused one
}

TEST(GeometryWriter, NoGeometryGivesNoBytes) {
    EXPECT_TRUE(geometry_image(Tracciato{}).empty());
}

}  // namespace
}  // namespace scenario
