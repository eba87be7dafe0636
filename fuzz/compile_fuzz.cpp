// Runs the whole build over a line text and a train text taken from the
// input, in memory, and checks what a hand-edited source file must never
// be able to do: crash, loop, record a number that is not a code, or leave
// compiled files whose sizes disagree with the model they came from.
//
// Input: the first byte holds flags (bit 0: build the line geometry; bit 1:
// no line source file; bit 2: no train source file; bit 3: build twice and
// require the same files, which catches a read of a value never written).
// The rest is the line text, a NUL byte, then the train text.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "compiler/error_codes.h"
#include "compiler/model.h"
#include "fuzz/two_sources.h"
#include "output/file_names.h"
#include "output/geometry_writer.h"
#include "output/memorizza_percorso.h"
#include "output/route_writer.h"
#include "output/table_writer.h"
#include "tests/support/memory_file_system.h"

namespace {

using scenario::BuildOutcome;

// Beside the bits of two_sources.h: build twice.
constexpr std::uint8_t kTwice = 8;

[[noreturn]] void broken() {
    __builtin_trap();
}

std::size_t table_size(const scenario::Scenario& s) {
    std::size_t size = 0;
    for (const scenario::voce& v : s.voci)
        size += scenario::kVoceFixedBytes + v.testo.size();
    return size;
}

std::size_t geometry_size(const scenario::Tracciato& t) {
    std::size_t size = 0;
    for (scenario::Tag tag : t.tag) {
        switch (tag) {
            case scenario::Tag::vuoto:
                size += scenario::kTagBytes;
                break;
            case scenario::Tag::intero:
                size += scenario::kTagBytes + scenario::kInteroValueBytes;
                break;
            case scenario::Tag::reale:
                size += scenario::kTagBytes + scenario::kRealeValueBytes;
                break;
        }
    }
    return 2 * size;  // both columns of every row carry the same tag
}

void check_written(const scenario::Scenario& s, scenario::testing::MemoryFileSystem& fs,
                   const scenario::ScenarioFiles& files) {
    const auto size_of = [&](const std::string& path) -> std::size_t {
        const auto it = fs.files.find(path);
        if (it == fs.files.end()) broken();
        return it->second.size();
    };
    if (size_of(files.percorso_dat) != scenario::kCellaBytes * s.percorso.size()) broken();
    if (size_of(files.tabella_sim) != table_size(s)) broken();
    if (s.genera_linea != 0 && size_of(files.linea_dat) != geometry_size(s.tracciato)) broken();
    if (s.genera_linea == 0 && fs.exists(files.linea_dat)) broken();
}

void check_nothing_compiled(scenario::testing::MemoryFileSystem& fs,
                            const scenario::ScenarioFiles& files) {
    if (fs.exists(files.linea_dat) || fs.exists(files.tabella_sim) ||
        fs.exists(files.percorso_dat)) {
        broken();
    }
}

// Builds once in a fresh folder holding the given sources; returns the folder.
std::map<std::string, std::string> build(const scenario::fuzzing::TwoSources& in) {
    const scenario::ScenarioFiles& files = scenario::fuzzing::fuzz_files();
    scenario::testing::MemoryFileSystem fs;
    scenario::Scenario s;
    const std::int32_t j = scenario::fuzzing::prepare_build(in, fs, s);
    const BuildOutcome outcome = scenario::memorizza_percorso(s, j, fs, files);

    if (s.codice_errore != 0 && scenario::find_error_code(s.codice_errore) == nullptr) broken();
    if (outcome.compile.linea_consumed && fs.exists(files.linea_txt)) broken();
    if (outcome.compile.treno_consumed && fs.exists(files.treno_txt)) broken();
    switch (outcome.status) {
        case BuildOutcome::Status::written:
            check_written(s, fs, files);
            break;
        case BuildOutcome::Status::no_route:
        case BuildOutcome::Status::fatal_check:
            check_nothing_compiled(fs, files);
            break;
        case BuildOutcome::Status::file_failure:
            broken();  // the folder in memory never refuses a file
    }
    return fs.files;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const scenario::fuzzing::TwoSources in = scenario::fuzzing::split_input(data, size);
    const auto first = build(in);
    if ((in.flags & kTwice) != 0 && build(in) != first) broken();
    return 0;
}
