// The one home of byte order for the compiled files: every integer is
// appended low byte first, with shifts, and a double as the little-endian
// image of its IEEE 754 binary64 bits. No writer copies a host struct.
#pragma once

#include <bit>
#include <cstdint>
#include <string_view>
#include <vector>

namespace scenario {

using Bytes = std::vector<std::uint8_t>;

inline void put_u8(Bytes& out, std::uint8_t v) {
    out.push_back(v);
}

inline void put_u16(Bytes& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

inline void put_i16(Bytes& out, std::int16_t v) {
    put_u16(out, static_cast<std::uint16_t>(v));
}

inline void put_u32(Bytes& out, std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

inline void put_i32(Bytes& out, std::int32_t v) {
    put_u32(out, static_cast<std::uint32_t>(v));
}

inline void put_f64(Bytes& out, double v) {
    const auto bits = std::bit_cast<std::uint64_t>(v);
    for (int shift = 0; shift < 64; shift += 8)
        out.push_back(static_cast<std::uint8_t>(bits >> shift));
}

inline void put_bytes(Bytes& out, std::string_view text) {
    out.insert(out.end(), text.begin(), text.end());
}

}  // namespace scenario
