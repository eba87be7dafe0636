// The input of the fuzz targets that build a whole scenario: a flags byte,
// then the line text, a NUL byte and the train text (empty when there is no
// NUL).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace scenario::fuzzing {

struct TwoSources {
    std::uint8_t flags = 0;
    std::string_view linea;
    std::string_view treno;
};

// REQUIRES: size > 0.
inline TwoSources split_input(const std::uint8_t* data, std::size_t size) {
    const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::size_t split = rest.find('\0');
    return {data[0], rest.substr(0, split),
            split == std::string_view::npos ? std::string_view() : rest.substr(split + 1)};
}

}  // namespace scenario::fuzzing
