// The input of the fuzz targets that build a whole scenario: a flags byte,
// then the line text, a NUL byte and the train text (empty when there is no
// NUL).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "compiler/model.h"
#include "output/file_names.h"
#include "tests/support/memory_file_system.h"

namespace scenario::fuzzing {

// Bits of the flags byte.
inline constexpr std::uint8_t kGeneraLinea = 1;  // build the line geometry
inline constexpr std::uint8_t kNoLinea = 2;      // no line source file
inline constexpr std::uint8_t kNoTreno = 4;      // no train source file

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

inline const ScenarioFiles& fuzz_files() {
    static const ScenarioFiles files = scenario_files("/fuzz", '/', "Alvena_Sorbio", "4271");
    return files;
}

// Puts the sources that the flags keep into `fs` and the scenario's identity
// into `s`; returns the argument of memorizza_percorso the flags ask for.
inline std::int32_t prepare_build(const TwoSources& in, testing::MemoryFileSystem& fs,
                                  Scenario& s) {
    const ScenarioFiles& files = fuzz_files();
    if ((in.flags & kNoLinea) == 0) fs.files[files.linea_txt] = std::string(in.linea);
    if ((in.flags & kNoTreno) == 0) fs.files[files.treno_txt] = std::string(in.treno);
    s.nome_linea = "Alvena_Sorbio";
    s.numero_treno = "4271";
    return (in.flags & kGeneraLinea) != 0 ? 1 : 0;
}

}  // namespace scenario::fuzzing
