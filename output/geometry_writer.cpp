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
#include <cassert>
#include <cstddef>
#include <vector>

namespace scenario {

namespace {

constexpr std::size_t kTagBytes = 2;
constexpr std::size_t kInteroBytes = kTagBytes + 2;
constexpr std::size_t kRealeBytes = kTagBytes + 8;
constexpr std::size_t kVuotoBytes = kTagBytes;

std::size_t item_bytes(Tag tag) {
    switch (tag) {
        case Tag::intero:
            return kInteroBytes;
        case Tag::reale:
            return kRealeBytes;
        case Tag::vuoto:
            break;
    }
    return kVuotoBytes;
}

void put_item(Bytes& out, Tag tag, double value) {
    const std::size_t before = out.size();
    put_u16(out, static_cast<std::uint16_t>(tag));
    if (tag == Tag::intero) put_i16(out, low16(round_half_even(value)));
    if (tag == Tag::reale) put_f64(out, value);
    assert(out.size() - before == item_bytes(tag));
    (void)before;
}

void put_column(Bytes& out, const std::vector<Tag>& tags, const std::vector<double>& values) {
    const std::size_t rows = std::min(tags.size(), values.size());
    for (std::size_t row = 0; row < rows; ++row)
        put_item(out, tags[row], values[row]);
}

}  // namespace

Bytes geometry_image(const Tracciato& t) {
    assert(t.x.size() == t.tag.size() && t.y.size() == t.tag.size());
    std::size_t column_bytes = 0;
    for (Tag tag : t.tag)
        column_bytes += item_bytes(tag);

    Bytes out;
    // A million-metre line gives about 20 MB: size the buffer once.
    out.reserve(2 * column_bytes);
    put_column(out, t.tag, t.x);
    put_column(out, t.tag, t.y);
    assert(out.size() == 2 * column_bytes);
    return out;
}

}  // namespace scenario
