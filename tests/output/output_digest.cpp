// A digest of everything a build gives back, for many inputs: the outcome,
// the recorded code and position, the file operations in their order, and
// the size and a hash of every file left in the folder. Two builds of the
// program that print the same digest wrote the same bytes in the same order
// and reported the same outcome, on every input listed here:
//   - the whole run, as the driver makes it (emitters, compile, write);
//   - that run with each compiled file refused by the folder in turn;
//   - every input of the compile fuzz corpus (first byte: bit 0 builds the
//     geometry, bit 1 leaves out the line file, bit 2 the train file);
//   - the synthetic route of the longest line, 1000000 m.
//
//   scenario_output_digest CORPUS_FOLDER              prints the digest
//   scenario_output_digest CORPUS_FOLDER EXPECTED     compares it with a file
//
// The file of expected digests was printed by this program built on the
// sources as they were before the writers were made faster; it changes only
// when the compiled bytes are meant to change. To compare with any other
// revision directly, build that revision's default preset in a copy of its
// tree and build this file against it, for instance:
//   g++ -std=c++20 -O2 -I TREE tests/output/output_digest.cpp
//       TREE/bench/synthetic_scenario.cpp TREE/build/default/libscenario_app.a
//       TREE/build/default/libscenario_core.a -o digest
// then `digest fuzz/corpus/compile > expected.txt`.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/driver.h"
#include "bench/synthetic_scenario.h"
#include "compiler/model.h"
#include "content/emitter.h"
#include "output/file_names.h"
#include "output/memorizza_percorso.h"
#include "tests/support/fake_platform.h"
#include "tests/support/memory_file_system.h"

namespace {

using scenario::testing::MemoryFileSystem;

// FNV-1a, 64 bits: plenty to tell two versions of a file apart.
std::uint64_t hash_of(std::string_view bytes) {
    std::uint64_t h = 0xcbf29ce484222325u;
    for (const char c : bytes) {
        h ^= static_cast<unsigned char>(c);
        h *= 0x100000001b3u;
    }
    return h;
}

void put_folder(std::ostream& out, const MemoryFileSystem& fs) {
    for (const std::string& entry : fs.log)
        out << "  " << entry << '\n';
    for (const auto& [path, bytes] : fs.files) {
        char hash[17];
        std::snprintf(hash, sizeof hash, "%016llx",
                      static_cast<unsigned long long>(hash_of(bytes)));
        out << "  file " << path << ' ' << bytes.size() << ' ' << hash << '\n';
    }
}

void put_outcome(std::ostream& out, const scenario::Scenario& s,
                 const scenario::BuildOutcome& outcome) {
    out << "  status " << static_cast<int>(outcome.status) << " codice " << s.codice_errore
        << " posizione " << s.posizione_errore << " fatal " << outcome.fatal_code << '\n';
    if (outcome.status == scenario::BuildOutcome::Status::file_failure) {
        out << "  failed " << outcome.file_error.operation << ' ' << outcome.file_error.path
            << '\n';
    }
    for (const std::string& path : outcome.written)
        out << "  written " << path << '\n';
}

void whole_run(std::ostream& out) {
    scenario::testing::FakePlatform platform;
    MemoryFileSystem fs;
    const int status = scenario::run_builder(platform, fs);
    out << "whole run\n  exit " << status << '\n';
    for (const std::string& call : platform.calls)
        out << "  platform " << call << '\n';
    put_folder(out, fs);
}

scenario::Scenario fresh_scenario() {
    scenario::Scenario s;
    s.nome_linea = "Alvena_Sorbio";
    s.numero_treno = "4271";
    return s;
}

void build(std::ostream& out, const std::string& what, MemoryFileSystem& fs, std::int32_t j) {
    const scenario::ScenarioFiles files =
        scenario::scenario_files("/d", '/', "Alvena_Sorbio", "4271");
    scenario::Scenario s = fresh_scenario();
    const scenario::BuildOutcome outcome = scenario::memorizza_percorso(s, j, fs, files);
    out << what << '\n';
    put_outcome(out, s, outcome);
    put_folder(out, fs);
}

MemoryFileSystem folder_with(std::string_view linea, std::string_view treno) {
    const scenario::ScenarioFiles files =
        scenario::scenario_files("/d", '/', "Alvena_Sorbio", "4271");
    MemoryFileSystem fs;
    fs.files[files.linea_txt] = std::string(linea);
    fs.files[files.treno_txt] = std::string(treno);
    return fs;
}

// The embedded sources, as the first two emitters of a run write them.
MemoryFileSystem embedded_sources() {
    const scenario::ScenarioFiles files =
        scenario::scenario_files("/d", '/', "Alvena_Sorbio", "4271");
    MemoryFileSystem fs;
    scenario::FileError error;
    scenario::dati_linea(fs, files, &error);
    scenario::dati_treno(fs, files, &error);
    fs.log.clear();
    return fs;
}

void refused_writes(std::ostream& out) {
    const scenario::ScenarioFiles files =
        scenario::scenario_files("/d", '/', "Alvena_Sorbio", "4271");
    for (const std::string* path : {&files.linea_dat, &files.tabella_sim, &files.percorso_dat}) {
        MemoryFileSystem fs = embedded_sources();
        fs.failing.insert(*path);
        build(out, "embedded sources, " + *path + " refused", fs, 1);
    }
}

std::string read_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// As the compile fuzz target reads its inputs.
void corpus_input(std::ostream& out, const std::filesystem::path& path) {
    const std::string input = read_file(path);
    if (input.empty()) return;
    const auto flags = static_cast<std::uint8_t>(input[0]);
    const std::string_view rest = std::string_view(input).substr(1);
    const std::size_t split = rest.find('\0');
    const std::string_view linea = rest.substr(0, split);
    const std::string_view treno =
        split == std::string_view::npos ? std::string_view() : rest.substr(split + 1);
    const scenario::ScenarioFiles files =
        scenario::scenario_files("/d", '/', "Alvena_Sorbio", "4271");
    MemoryFileSystem fs = folder_with(linea, treno);
    if ((flags & 2) != 0) fs.files.erase(files.linea_txt);
    if ((flags & 4) != 0) fs.files.erase(files.treno_txt);
    build(out, "corpus " + path.filename().string(), fs, (flags & 1) != 0 ? 1 : 0);
}

std::string digest(const std::filesystem::path& corpus) {
    std::ostringstream out;
    whole_run(out);
    MemoryFileSystem embedded = embedded_sources();
    build(out, "embedded sources", embedded, 1);
    refused_writes(out);
    std::vector<std::filesystem::path> inputs;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        if (entry.is_regular_file()) inputs.push_back(entry.path());
    }
    std::sort(inputs.begin(), inputs.end());
    for (const auto& input : inputs)
        corpus_input(out, input);
    const std::int32_t longest = scenario::bench::kLunghezzaMassima;
    MemoryFileSystem big = folder_with(scenario::bench::synthetic_linea(longest),
                                       scenario::bench::synthetic_treno(longest));
    build(out, "synthetic route of 1000000 m", big, 1);
    return out.str();
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// Prints where the two digests first part, with the case it belongs to.
int compare(const std::string& actual, const std::string& expected) {
    const std::vector<std::string> a = lines_of(actual);
    const std::vector<std::string> e = lines_of(expected);
    std::string current_case;
    for (std::size_t i = 0; i < std::max(a.size(), e.size()); ++i) {
        const std::string got = i < a.size() ? a[i] : "(end)";
        const std::string want = i < e.size() ? e[i] : "(end)";
        if (!got.empty() && got[0] != ' ') current_case = got;
        if (got == want) continue;
        std::printf("outputs differ in \"%s\", line %zu:\n  expected: %s\n  actual:   %s\n",
                    current_case.c_str(), i + 1, want.c_str(), got.c_str());
        return 1;
    }
    std::printf("outputs identical: %zu lines\n", a.size());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER [EXPECTED]\n", argv[0]);
        return 2;
    }
    const std::string actual = digest(argv[1]);
    if (argc == 2) {
        std::fwrite(actual.data(), 1, actual.size(), stdout);
        return 0;
    }
    return compare(actual, read_file(argv[2]));
}
