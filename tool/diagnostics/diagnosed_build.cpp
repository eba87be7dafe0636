#include "tool/diagnostics/diagnosed_build.h"

#include "authoring/compile_events.h"
#include "authoring/diagnose.h"

namespace scenario {

namespace {

SourceFile load(FileSystem& fs, const std::string& path, std::string* text) {
    if (!fs.exists(path)) return {SourceState::missing, {}};
    if (!fs.read(path, text, nullptr)) return {SourceState::unreadable, {}};
    return {SourceState::present, *text};
}

}  // namespace

void run_diagnosed_build(DiagnosedBuild& b, FileSystem& fs, const ScenarioFiles& files,
                         bool geometry, bool write, const SourceChecks& given) {
    const SourceFile linea = load(fs, files.linea_txt, &b.linea_text);
    const SourceFile treno = load(fs, files.treno_txt, &b.treno_text);
    CompileEvents events;
    b.outcome = memorizza_percorso(
        b.s, geometry ? 1 : 0, fs, files,
        BuildOptions{.delete_sources = false, .observer = &events, .files = write});
    b.diagnostics = diagnose(linea, treno, b.s, b.outcome, events, given);
}

DiagnosedFiles diagnosed_files(const DiagnosedBuild& b, const ScenarioFiles& files,
                               std::string scenario_name) {
    return {files.linea_txt, b.linea_text, files.treno_txt, b.treno_text, std::move(scenario_name)};
}

}  // namespace scenario
