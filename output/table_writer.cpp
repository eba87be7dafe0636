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

// Writes the record of `v` at `at`; returns where the next record starts.
std::size_t put_voce(std::span<std::uint8_t> out, std::size_t at, const voce& v) {
    const std::string_view testo = stored_text(v);
    LeRecord<kVoceHeadBytes> head = record_at<kVoceHeadBytes>(out, at);
    head.u8<0>(v.tipo);
    head.i32<1>(v.valore1);
    head.i32<5>(v.valore2);
    head.i32<9>(v.valore3);
    head.u8<13>(v.segno);
    head.u16<14>(static_cast<std::uint16_t>(testo.size()));
    store_text(out, at + kVoceHeadBytes, testo);
    LeRecord<kVoceTailBytes> tail =
        record_at<kVoceTailBytes>(out, at + kVoceHeadBytes + testo.size());
    tail.i16<0>(v.numero1);
    tail.i16<2>(v.numero2);
    tail.i16<4>(v.numero3);
    tail.i16<6>(v.numero4);
    tail.i16<8>(v.numero5);
    tail.u8<10>(v.byte1);
    tail.u8<11>(v.byte2);
    tail.u8<12>(v.byte3);
    tail.u8<13>(v.byte4);
    tail.i32<14>(v.valore4);
    return at + kVoceFixedBytes + testo.size();
}

}  // namespace

Bytes table_image(const Scenario& s) {
    std::size_t total = 0;
    for (const voce& v : s.voci)
        total += kVoceFixedBytes + stored_text(v).size();

    Bytes out(total);
    std::size_t at = 0;
    for (const voce& v : s.voci)
        at = put_voce(out, at, v);
    assert(at == total);
    (void)at;
    return out;
}

}  // namespace scenario
