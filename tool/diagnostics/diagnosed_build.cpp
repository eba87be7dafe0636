#include "tool/diagnostics/diagnosed_build.h"

#include "authoring/compile_events.h"
#include "authoring/diagnose.h"

namespace scenario {

namespace {

// Reads from the folder and writes nowhere: `check` compiles and encodes
// every file as `compile` does, so that it finds the same, but leaves the
// folder as it was.
class ReadOnlyFolder final : public FileSystem {
  public:
    explicit ReadOnlyFolder(FileSystem& fs) : fs_(fs) {}
    bool exists(const std::string& path) override { return fs_.exists(path); }
    bool read(const std::string& path, std::string* contents, FileError* error) override {
        return fs_.read(path, contents, error);
    }
    bool replace(const std::string&, std::string_view, FileError*) override { return true; }
    bool remove(const std::string&, FileError*) override { return true; }

  private:
    FileSystem& fs_;
};

SourceFile load(FileSystem& fs, const std::string& path, std::string* text) {
    if (!fs.exists(path)) return {SourceState::missing, {}};
    if (!fs.read(path, text, nullptr)) return {SourceState::unreadable, {}};
    return {SourceState::present, *text};
}

}  // namespace

void run_diagnosed_build(DiagnosedBuild& b, FileSystem& fs, const ScenarioFiles& files,
                         bool geometry, bool write) {
    ReadOnlyFolder read_only(fs);
    FileSystem& target = write ? fs : read_only;
    const SourceFile linea = load(fs, files.linea_txt, &b.linea_text);
    const SourceFile treno = load(fs, files.treno_txt, &b.treno_text);
    CompileEvents events;
    b.outcome = memorizza_percorso(b.s, geometry ? 1 : 0, target, files,
                                   BuildOptions{.delete_sources = false, .observer = &events});
    b.diagnostics = diagnose(linea, treno, b.s, b.outcome, events);
}

DiagnosedFiles diagnosed_files(const DiagnosedBuild& b, const ScenarioFiles& files,
                               std::string scenario_name) {
    return {files.linea_txt, b.linea_text, files.treno_txt, b.treno_text, std::move(scenario_name)};
}

}  // namespace scenario
