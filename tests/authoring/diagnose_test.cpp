#include "authoring/diagnose.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "output/file_names.h"
#include "support/memory_file_system.h"

namespace scenario {
namespace {

// An input of the compile fuzz target: a flags byte (bit 0 the geometry,
// bit 1 no line file, bit 2 no train file), the line text, NUL, the train text.
struct CorpusInput {
    std::int32_t geometry = 0;
    bool linea = true;
    bool treno = true;
    std::string linea_text;
    std::string treno_text;
};

CorpusInput read_input(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    CorpusInput input;
    if (bytes.empty()) return input;
    const auto flags = static_cast<unsigned char>(bytes[0]);
    input.geometry = flags & 1;
    input.linea = (flags & 2) == 0;
    input.treno = (flags & 4) == 0;
    const std::string rest = bytes.substr(1);
    const std::size_t split = rest.find('\0');
    input.linea_text = rest.substr(0, split);
    if (split != std::string::npos) input.treno_text = rest.substr(split + 1);
    return input;
}

struct Build {
    Scenario s;
    testing::MemoryFileSystem fs;
    BuildOutcome outcome;
};

void build(const CorpusInput& input, CompileObserver* observer, Build& b, bool write = true) {
    const ScenarioFiles files = scenario_files("/c", '/', "Alvena_Sorbio", "4271");
    if (input.linea) b.fs.files[files.linea_txt] = input.linea_text;
    if (input.treno) b.fs.files[files.treno_txt] = input.treno_text;
    b.s.nome_linea = "Alvena_Sorbio";
    b.s.numero_treno = "4271";
    b.outcome = memorizza_percorso(
        b.s, input.geometry, b.fs, files,
        BuildOptions{.delete_sources = true, .observer = observer, .files = write});
}

SourceFile source(bool present, const std::string& text) {
    return present ? SourceFile{SourceState::present, text} : SourceFile{};
}

// Over every input of the fuzz corpus: listening to the compile changes
// no byte of any file, nor the code, its position or its record; and the
// checks read every record exactly as the compile read it.
TEST(Diagnose, ListeningChangesNothingAndTheChecksReadAsTheCompile) {
    if (!std::filesystem::is_directory(SCENARIO_COMPILE_CORPUS)) GTEST_SKIP() << "no corpus";
    int inputs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(SCENARIO_COMPILE_CORPUS)) {
        const CorpusInput input = read_input(entry.path());
        Build off;
        Build on;
        CompileEvents events;
        build(input, nullptr, off);
        build(input, &events, on);
        const std::string name = entry.path().filename().string();
        EXPECT_EQ(on.fs.files, off.fs.files) << name;
        EXPECT_EQ(on.s.codice_errore, off.s.codice_errore) << name;
        EXPECT_EQ(on.s.posizione_errore, off.s.posizione_errore) << name;
        EXPECT_EQ(on.outcome.compile.where.line, off.outcome.compile.where.line) << name;
        const SourceFile linea = source(input.linea, input.linea_text);
        const SourceFile treno = source(input.treno, input.treno_text);
        EXPECT_EQ(reading_difference(linea, treno, on.s, events), "") << name;
        ++inputs;
    }
    EXPECT_GT(inputs, 200);
}

// Everything a diagnostic says, as one line.
std::vector<std::string> said(const std::vector<Diagnostic>& diagnostics) {
    std::vector<std::string> lines;
    for (const Diagnostic& d : diagnostics) {
        lines.push_back(std::to_string(static_cast<int>(d.id)) + " " +
                        std::to_string(static_cast<int>(d.file)) + ":" +
                        std::to_string(d.range.line) + ":" + std::to_string(d.range.column) + "-" +
                        std::to_string(d.range.end_line) + ":" +
                        std::to_string(d.range.end_column) + " " + d.message + " | " + d.hint);
    }
    return lines;
}

// Over every input of the fuzz corpus: a build that stops before the files,
// its geometry rows only counted, and given the checks made beforehand,
// gives exactly the diagnostics of the whole build, and writes nothing.
TEST(Diagnose, AChecksOnlyBuildFindsWhatTheWholeBuildFinds) {
    if (!std::filesystem::is_directory(SCENARIO_COMPILE_CORPUS)) GTEST_SKIP() << "no corpus";
    int inputs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(SCENARIO_COMPILE_CORPUS)) {
        const CorpusInput input = read_input(entry.path());
        const SourceFile linea = source(input.linea, input.linea_text);
        const SourceFile treno = source(input.treno, input.treno_text);
        Build whole;
        Build checks;
        CompileEvents whole_events;
        CompileEvents checks_events;
        build(input, &whole_events, whole);
        build(input, &checks_events, checks, false);
        const SourceCheck l = check_linea(input.linea_text, input.geometry != 0);
        const SourceCheck t = check_treno(input.treno_text, l.ultima_cella);
        const SourceChecks given{input.linea ? &l : nullptr, input.treno ? &t : nullptr};
        const std::string name = entry.path().filename().string();
        EXPECT_EQ(said(diagnose(linea, treno, checks.s, checks.outcome, checks_events, given)),
                  said(diagnose(linea, treno, whole.s, whole.outcome, whole_events)))
            << name;
        EXPECT_EQ(checks.outcome.status, whole.outcome.status) << name;
        EXPECT_TRUE(checks.outcome.written.empty()) << name;
        EXPECT_FALSE(checks.s.tracciato.exists()) << name;
        for (const auto& [path, bytes] : checks.fs.files)
            EXPECT_EQ(path.find(".txt"), path.size() - 4) << name << ": " << path;
        ++inputs;
    }
    EXPECT_GT(inputs, 200);
}

}  // namespace
}  // namespace scenario
