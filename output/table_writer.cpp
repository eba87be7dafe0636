// One record per entry of `voci`, 0 to 86, back to back, with no count and
// no padding. A record is 34 + n bytes, n being the length of its text:
//
//   offset  width  field
//   0       1      tipo
//   1       4      valore1 (signed)
//   5       4      valore2 (signed)
//   9       4      valore3 (signed)
//   13      1      segno
//   14      2      n, length of testo in bytes
//   16      n      testo, one byte per character, nothing when empty
//   16+n    2      numero1 (signed)
//   18+n    2      numero2
//   20+n    2      numero3
//   22+n    2      numero4
//   24+n    2      numero5
//   26+n    1      byte1
//   27+n    1      byte2
//   28+n    1      byte3
//   29+n    1      byte4
//   30+n    4      valore4 (signed)
#include "output/table_writer.h"

#include <cassert>
#include <cstdint>
#include <limits>
#include <string_view>

namespace scenario {

namespace {

// The length field has 16 bits. A longer text keeps its first 65535 bytes,
// so that the length written always matches the bytes that follow it and
// the records after it stay in step.
constexpr std::size_t kMaxTesto = std::numeric_limits<std::uint16_t>::max();

std::string_view stored_text(const voce& v) {
    return std::string_view(v.testo).substr(0, kMaxTesto);
}

void put_voce(Bytes& out, const voce& v) {
    const std::size_t before = out.size();
    const std::string_view testo = stored_text(v);
    put_u8(out, v.tipo);
    put_i32(out, v.valore1);
    put_i32(out, v.valore2);
    put_i32(out, v.valore3);
    put_u8(out, v.segno);
    put_u16(out, static_cast<std::uint16_t>(testo.size()));
    put_bytes(out, testo);
    put_i16(out, v.numero1);
    put_i16(out, v.numero2);
    put_i16(out, v.numero3);
    put_i16(out, v.numero4);
    put_i16(out, v.numero5);
    put_u8(out, v.byte1);
    put_u8(out, v.byte2);
    put_u8(out, v.byte3);
    put_u8(out, v.byte4);
    put_i32(out, v.valore4);
    assert(out.size() - before == kVoceFixedBytes + testo.size());
    (void)before;
}

}  // namespace

Bytes table_image(const Scenario& s) {
    std::size_t total = 0;
    for (const voce& v : s.voci)
        total += kVoceFixedBytes + stored_text(v).size();

    Bytes out;
    out.reserve(total);
    for (const voce& v : s.voci)
        put_voce(out, v);
    assert(out.size() == total);
    return out;
}

}  // namespace scenario
