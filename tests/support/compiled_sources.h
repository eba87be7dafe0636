// Two source texts compiled in memory as the builder compiles them, without
// the line geometry, for tests that read the model.
#pragma once

#include <string_view>

#include "compiler/model.h"
#include "output/file_names.h"
#include "output/memorizza_percorso.h"
#include "support/memory_file_system.h"

namespace scenario::testing {

inline Scenario compiled_sources(std::string_view linea, std::string_view treno,
                                 BuildOutcome* outcome = nullptr) {
    MemoryFileSystem fs;
    const ScenarioFiles files = scenario_files("/c", '/', "C", "1");
    fs.files[files.linea_txt] = linea;
    fs.files[files.treno_txt] = treno;
    Scenario s;
    const BuildOutcome built = memorizza_percorso(s, 0, fs, files);
    if (outcome != nullptr) *outcome = built;
    return s;
}

}  // namespace scenario::testing
