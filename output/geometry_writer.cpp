// The grid is written column by column: column 0 (x) of rows 0 to M, then
// column 1 (y) of rows 0 to M. Each element is one tagged item, so the file
// is a stream of items of three sizes, not an array of fixed records:
//
//   offset  width  field
//   0       2      tag (16-bit): 2 integer, 5 double, 0 never assigned
//   2       2      value, 16-bit integer (tag 2 only)
//   2       8      value, IEEE 754 double (tag 5 only)
//
// Rows 0 and 1 are integers, the computed rows doubles, and the last two
// rows, which the curve walk never reaches, are tag 0 alone.
#include "output/geometry_writer.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cstring>
#include <memory_resource>
#include <span>
#include <vector>

namespace scenario {

namespace {

constexpr std::size_t kInteroItemBytes = kTagBytes + kInteroValueBytes;
constexpr std::size_t kRealeItemBytes = kTagBytes + kRealeValueBytes;
constexpr std::size_t kVuotoItemBytes = kTagBytes;

std::size_t item_bytes(Tag tag) {
    switch (tag) {
        case Tag::intero:
            return kInteroItemBytes;
        case Tag::reale:
            return kRealeItemBytes;
        case Tag::vuoto:
            break;
    }
    return kVuotoItemBytes;
}

// A buffer of one piece, filled with whole items and handed to the sink
// when the next items do not fit. It comes from the geometry's own memory:
// on the builder, from the large page that holds the embedded line.
class Pieces {
  public:
    Pieces(PieceSink& sink, std::pmr::memory_resource* memory)
        : sink_(sink), buffer_(RowAllocator<std::uint8_t>(memory)) {
        buffer_.resize(kGeometryPieceBytes);
    }

    std::size_t room() const { return buffer_.size() - used_; }

    // The next `bytes` of the piece, which the caller fills. REQUIRES: bytes <= room().
    std::span<std::uint8_t> take(std::size_t bytes) {
        const std::span<std::uint8_t> out(buffer_.data() + used_, bytes);
        used_ += bytes;
        return out;
    }

    bool hand_on() {
        const std::string_view piece(reinterpret_cast<const char*>(buffer_.data()), used_);
        used_ = 0;
        return piece.empty() || sink_.put(piece);
    }

  private:
    PieceSink& sink_;
    std::vector<std::uint8_t, RowAllocator<std::uint8_t>> buffer_;
    std::size_t used_ = 0;
};

// The end of the run of rows tagged like `row`, at most `limit`. A computed
// line is one long run of doubles: its tags are compared four at a time.
std::size_t run_end(const Colonna<Tag>& tags, std::size_t row, std::size_t limit) {
    const Tag tag = tags[row];
    const std::array<Tag, 4> four = {tag, tag, tag, tag};
    std::size_t end = row + 1;
    while (limit - end >= four.size() && std::memcmp(&tags[end], four.data(), sizeof four) == 0)
        end += four.size();
    while (end < limit && tags[end] == tag)
        ++end;
    return end;
}

// Items of one tag, one per value, into `out`, which holds exactly them.
void put_items(std::span<std::uint8_t> out, Tag tag, const double* values, std::size_t count) {
    const auto code = static_cast<std::uint16_t>(tag);
    switch (tag) {
        case Tag::reale: {
            const LeRun<kRealeItemBytes> items(out, 0, count);
            // Two items a turn halve the loop's own counting and testing.
#pragma GCC unroll 2
            for (std::size_t i = 0; i < count; ++i) {
                LeRecord<kRealeItemBytes> item = items[i];
                item.u16<0>(code);
                item.f64<kTagBytes>(values[i]);
            }
            return;
        }
        case Tag::intero: {
            const LeRun<kInteroItemBytes> items(out, 0, count);
            for (std::size_t i = 0; i < count; ++i) {
                LeRecord<kInteroItemBytes> item = items[i];
                item.u16<0>(code);
                item.i16<kTagBytes>(low16(round_half_even(values[i])));
            }
            return;
        }
        case Tag::vuoto:
            break;
    }
    const LeRun<kVuotoItemBytes> items(out, 0, count);
    for (std::size_t i = 0; i < count; ++i)
        items[i].u16<0>(code);
}

// One column, as runs of rows of one tag, each cut where the piece is full.
bool put_column(Pieces& out, const Colonna<Tag>& tags, const Colonna<double>& values) {
    const std::size_t rows = std::min(tags.size(), values.size());
    std::size_t row = 0;
    while (row < rows) {
        const Tag tag = tags[row];
        const std::size_t width = item_bytes(tag);
        const std::size_t fit = out.room() / width;
        if (fit == 0) {
            if (!out.hand_on()) return false;
            continue;
        }
        const std::size_t end = run_end(tags, row, row + std::min(fit, rows - row));
        put_items(out.take((end - row) * width), tag, values.data() + row, end - row);
        row = end;
    }
    return true;
}

// Keeps the pieces as one image.
class ImageSink final : public PieceSink {
  public:
    explicit ImageSink(Bytes& image) : image_(image) {}
    bool put(std::string_view piece) override {
        image_.insert(image_.end(), piece.begin(), piece.end());
        return true;
    }

  private:
    Bytes& image_;
};

}  // namespace

bool GeometryFile::write_to(PieceSink& sink) const {
    assert(t_.x.size() == t_.tag.size() && t_.y.size() == t_.tag.size());
    if (!t_.exists()) return true;
    Pieces out(sink, t_.x.get_allocator().resource());
    return put_column(out, t_.tag, t_.x) && put_column(out, t_.tag, t_.y) && out.hand_on();
}

Bytes geometry_image(const Tracciato& t) {
    Bytes image;
    ImageSink sink(image);
    GeometryFile(t).write_to(sink);
    return image;
}

}  // namespace scenario
