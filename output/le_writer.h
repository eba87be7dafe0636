// The one home of byte order for the compiled files: every integer is
// appended low byte first, with shifts, and a double as the little-endian
// image of its IEEE 754 binary64 bits. No writer copies a host struct.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace scenario {

using Bytes = std::vector<std::uint8_t>;

namespace detail {
// Appends the `N` low bytes of `v`, lowest first, in one insert: the hot
// loops of the writers then test the capacity once per value, not per byte.
template <std::size_t N>
inline void put_le(Bytes& out, std::uint64_t v) {
    std::uint8_t bytes[N];
    for (std::size_t i = 0; i < N; ++i)
        bytes[i] = static_cast<std::uint8_t>(v >> (8 * i));
    out.insert(out.end(), bytes, bytes + N);
}
}  // namespace detail

inline void put_u8(Bytes& out, std::uint8_t v) {
    out.push_back(v);
}

inline void put_u16(Bytes& out, std::uint16_t v) {
    detail::put_le<2>(out, v);
}

inline void put_i16(Bytes& out, std::int16_t v) {
    put_u16(out, static_cast<std::uint16_t>(v));
}

inline void put_u32(Bytes& out, std::uint32_t v) {
    detail::put_le<4>(out, v);
}

inline void put_i32(Bytes& out, std::int32_t v) {
    put_u32(out, static_cast<std::uint32_t>(v));
}

inline void put_f64(Bytes& out, double v) {
    detail::put_le<8>(out, std::bit_cast<std::uint64_t>(v));
}

inline void put_bytes(Bytes& out, std::string_view text) {
    out.insert(out.end(), text.begin(), text.end());
}

}  // namespace scenario
