// The one home of byte order for the compiled files: every integer is
// stored low byte first, and a double as the little-endian image of its
// IEEE 754 binary64 bits. No writer copies a host struct.
//
// A writer decides the size of its buffer once, then stores every value at
// a known offset of a fixed-size record. `LeRecord<N>` is a view of N bytes
// whose stores name their offset: one that would reach past the record does
// not compile. The only run-time check is the one that places records in
// the buffer (`LeRun`), once for a whole run of them.
#pragma once

#include <bit>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

namespace scenario {

using Bytes = std::vector<std::uint8_t>;

namespace detail {
// Stores the `N` low bytes of `v` at `at`, lowest first. On a little-endian
// machine those are the first `N` bytes of `v` in memory, stored at once;
// elsewhere they are shifted out one by one. (Written as shifts everywhere,
// the geometry's loop of 10-byte items became a vectorised scatter five
// times as long.)
template <std::size_t N>
inline void store_le(std::uint8_t* at, std::uint64_t v) {
    static_assert(N <= sizeof v);
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(at, &v, N);
    } else {
        for (std::size_t i = 0; i < N; ++i)
            at[i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}

// A writer that asks for bytes beyond its buffer has sized the buffer
// wrongly; the program stops rather than write past it. `count` items of
// `width` bytes from `offset` must lie within the `size` bytes.
inline void require_room(std::size_t size, std::size_t offset, std::size_t count,
                         std::size_t width) {
    if (offset > size || count > (size - offset) / width) std::abort();
}
}  // namespace detail

template <std::size_t N>
class LeRecord {
  public:
    explicit LeRecord(std::span<std::uint8_t, N> bytes) : at_(bytes.data()) {}

    template <std::size_t Offset>
    void u8(std::uint8_t v) {
        store<Offset, 1>(v);
    }
    template <std::size_t Offset>
    void u16(std::uint16_t v) {
        store<Offset, 2>(v);
    }
    template <std::size_t Offset>
    void i16(std::int16_t v) {
        store<Offset, 2>(static_cast<std::uint16_t>(v));
    }
    template <std::size_t Offset>
    void u32(std::uint32_t v) {
        store<Offset, 4>(v);
    }
    template <std::size_t Offset>
    void i32(std::int32_t v) {
        store<Offset, 4>(static_cast<std::uint32_t>(v));
    }
    template <std::size_t Offset>
    void f64(double v) {
        store<Offset, 8>(std::bit_cast<std::uint64_t>(v));
    }

  private:
    template <std::size_t Offset, std::size_t Width>
    void store(std::uint64_t v) {
        static_assert(Offset + Width <= N, "the value reaches past its record");
        detail::store_le<Width>(at_ + Offset, v);
    }

    std::uint8_t* at_;
};

// `count` records of `N` bytes, one after the other from `offset` of
// `buffer`, which must hold them all.
template <std::size_t N>
class LeRun {
  public:
    LeRun(std::span<std::uint8_t> buffer, std::size_t offset, std::size_t count)
        : at_(buffer.data() + offset), count_(count) {
        detail::require_room(buffer.size(), offset, count, N);
    }

    std::size_t size() const { return count_; }
    std::size_t bytes() const { return count_ * N; }

    // REQUIRES: i < size().
    LeRecord<N> operator[](std::size_t i) const {
        assert(i < count_);
        return LeRecord<N>(std::span<std::uint8_t, N>(at_ + i * N, N));
    }

  private:
    std::uint8_t* at_;
    std::size_t count_;
};

// The single record of `N` bytes at `offset` of `buffer`.
template <std::size_t N>
LeRecord<N> record_at(std::span<std::uint8_t> buffer, std::size_t offset) {
    return LeRun<N>(buffer, offset, 1)[0];
}

// Stores `text` byte for byte at `offset` of `buffer`, which must hold it.
inline void store_text(std::span<std::uint8_t> buffer, std::size_t offset, std::string_view text) {
    detail::require_room(buffer.size(), offset, text.size(), 1);
    if (!text.empty()) std::memcpy(buffer.data() + offset, text.data(), text.size());
}

}  // namespace scenario
