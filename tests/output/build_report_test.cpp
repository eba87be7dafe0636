// The whole run through the driver: what the user is told and the exit
// status, for a clean build, a recorded code, a fatal header check and a
// compile that leaves no route.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/driver.h"
#include "output/build_sources.h"
#include "output/file_names.h"
#include "support/fake_platform.h"
#include "support/memory_file_system.h"

namespace scenario {
namespace {

// Hands the build other source texts than the embedded ones: what an
// emitter writes to a substituted path is replaced by the test's text.
class SubstitutingFileSystem final : public FileSystem {
  public:
    testing::MemoryFileSystem disk;
    std::map<std::string, std::string> substitutes;

    bool exists(const std::string& path) override { return disk.exists(path); }
    bool read(const std::string& path, std::string* contents, FileError* error) override {
        return disk.read(path, contents, error);
    }
    bool replace(const std::string& path, std::string_view bytes, FileError* error) override {
        const auto it = substitutes.find(path);
        return disk.replace(path, it != substitutes.end() ? it->second : bytes, error);
    }
    bool remove(const std::string& path, FileError* error) override {
        return disk.remove(path, error);
    }
};

const ScenarioFiles kFiles = scenario_files("/scenario", '/', "Alvena_Sorbio", "4271");

std::string with_row(std::string_view text, std::string_view row) {
    std::string out(text);
    out.insert(out.find("[fine]"), row);
    return out;
}

struct ReportRow {
    const char* what;
    std::optional<std::string> linea;  // nullopt: the embedded texts
    std::optional<std::string> treno;
    int exit_status;
    std::vector<std::string> calls;
    bool compiled_files;
    bool treno_left;  // the train file is not read when the line file gives no route
};

TEST(BuildReport, ExitStatusAndMessageFollowTheOutcome) {
    const ReportRow rows[] = {
        {"the embedded scenario builds cleanly and silently",
         std::nullopt,
         std::nullopt,
         kExitClean,
         {"show_wait", "hide_wait"},
         true,
         false},
        // A speed-reduction row on the signal's cell: recorded, files written.
        {"recorded code",
         std::string(testing::kLineaPiccola),
         with_row(testing::kTrenoPiccolo, "abbattimento,  2200,  60\r\n"),
         kExitRecorded,
         {"show_wait", "recorded:code 7: speed-reduction row on a cell that is not free, at 2200 m",
          "hide_wait"},
         true,
         false},
        // A sign at 0 m lands on the header cell.
        {"fatal header check",
         with_row(testing::kLineaPiccola, "cartello_indicatore, 0, (Z)\r\n"),
         std::string(testing::kTrenoPiccolo),
         kExitFatal,
         {"show_wait", "fatal: Errore n. 1250", "hide_wait"},
         false,
         false},
        {"no route",
         std::string("lunghezza percorso, 1000\r\n[fine]\r\n"),
         std::string(testing::kTrenoPiccolo),
         kExitFatal,
         {"show_wait", "recorded:code 102: no [generale] line in the line source file",
          "hide_wait"},
         false,
         true},
    };
    for (const ReportRow& row : rows) {
        SCOPED_TRACE(row.what);
        testing::FakePlatform platform;
        SubstitutingFileSystem fs;
        if (row.linea) fs.substitutes[kFiles.linea_txt] = *row.linea;
        if (row.treno) fs.substitutes[kFiles.treno_txt] = *row.treno;

        EXPECT_EQ(run_builder(platform, fs), row.exit_status);
        EXPECT_EQ(platform.calls, row.calls);
        for (const std::string* path :
             {&kFiles.linea_dat, &kFiles.tabella_sim, &kFiles.percorso_dat}) {
            EXPECT_EQ(fs.disk.exists(*path), row.compiled_files) << *path;
        }
        for (const std::string* path : {&kFiles.note, &kFiles.rallentamenti, &kFiles.scheda}) {
            EXPECT_TRUE(fs.disk.exists(*path)) << *path;
        }
        EXPECT_FALSE(fs.disk.exists(kFiles.linea_txt));
        EXPECT_EQ(fs.disk.exists(kFiles.treno_txt), row.treno_left);
    }
}

}  // namespace
}  // namespace scenario
