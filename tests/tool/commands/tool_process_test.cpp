// The real tool on the real disk, beside the real builder: the compiled files
// must be byte for byte the builder's, the author's sources must survive,
// the picture must render, and mistakes on the command line must end with
// one line and status 64. POSIX only: it runs programs through the shell.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "content/embedded_texts.h"
#include "content/emitter.h"

namespace scenario {
namespace {

namespace fsys = std::filesystem;

// A fresh folder under the system's temporary folder, removed afterwards.
class TempFolder {
  public:
    explicit TempFolder(const std::string& name) {
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        path_ = fsys::temp_directory_path() / (name + "_" + std::to_string(stamp));
        fsys::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        fsys::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const fsys::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

  private:
    fsys::path path_;
};

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void put(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Runs the shell command and gives its exit status.
int run(const std::string& command) {
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

std::string tool(const std::string& args) {
    return std::string("\"") + SCENARIO_TOOL_EXE + "\" " + args;
}

// The author's folder: the embedded source texts, as the builder emits them.
void put_sources(const TempFolder& folder) {
    put(folder.file("Alvena_Sorbio_linea.txt"), emit_text(testo_linea()));
    put(folder.file("Alvena_Sorbio_4271-.txt"), emit_text(testo_treno()));
}

// Runs a copy of the builder in `folder`, which then holds its six files.
fsys::path run_builder_in(const TempFolder& folder) {
    const fsys::path exe = folder.path() / fsys::path(SCENARIO_BUILDER_EXE).filename();
    fsys::copy_file(SCENARIO_BUILDER_EXE, exe);
    EXPECT_EQ(run("\"" + exe.string() + "\""), 0);
    return exe;
}

TEST(ToolProcess, CompilesTheEmbeddedSourcesToTheBuildersFilesAndKeepsTheSources) {
    TempFolder builder("scenario_tool_builder");
    run_builder_in(builder);

    TempFolder authors("scenario_tool_authors");
    put_sources(authors);
    const std::string linea = slurp(authors.file("Alvena_Sorbio_linea.txt"));
    const std::string treno = slurp(authors.file("Alvena_Sorbio_4271-.txt"));
    ASSERT_EQ(run(tool("compile \"" + authors.path().string() + "\" > /dev/null")), 0);

    for (const char* name :
         {"Alvena_Sorbio_linea.dat", "Alvena_Sorbio_4271.sim", "Alvena_Sorbio_4271.dat"}) {
        const std::string built = slurp(builder.file(name));
        EXPECT_FALSE(built.empty()) << name;
        EXPECT_TRUE(slurp(authors.file(name)) == built) << name;
    }
    EXPECT_EQ(slurp(authors.file("Alvena_Sorbio_linea.txt")), linea);
    EXPECT_EQ(slurp(authors.file("Alvena_Sorbio_4271-.txt")), treno);
}

// A listing of a folder: every file with its bytes.
std::map<std::string, std::string> folder_files(const fsys::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fsys::directory_iterator(folder))
        files[entry.path().filename().string()] = slurp(entry.path().string());
    return files;
}

// An author's first steps on the real disk: init in a folder that does not
// exist yet, then compile, gives the builder's own files; a second init
// changes nothing and names what stopped it, and --force writes them anew.
TEST(ToolProcess, InitThenCompileInAnEmptyFolderGivesTheBuildersFiles) {
    TempFolder builder("scenario_tool_init_builder");
    const fsys::path exe = run_builder_in(builder);

    TempFolder parent("scenario_tool_init");
    const fsys::path folder = parent.path() / "first scenario";
    const std::string dir = "\"" + folder.string() + "\"";
    const std::string err = parent.file("err.txt");
    ASSERT_EQ(run(tool("init " + dir + " > /dev/null")), 0);
    ASSERT_EQ(run(tool("compile " + dir + " > /dev/null")), 0);
    std::map<std::string, std::string> files = folder_files(folder);
    EXPECT_EQ(files.size(), 8u);
    for (const auto& [name, bytes] : folder_files(builder.path())) {
        if (name == exe.filename().string()) continue;
        EXPECT_TRUE(files[name] == bytes) << name;
    }

    const std::string card = (folder / "Alvena_Sorbio_4271_scheda_treno.txt").string();
    put(card, "my own card\r\n");
    files = folder_files(folder);
    EXPECT_EQ(run(tool("init " + dir + " > /dev/null 2> \"" + err + "\"")), 1);
    EXPECT_TRUE(folder_files(folder) == files);
    EXPECT_NE(slurp(err).find("Alvena_Sorbio_4271_scheda_treno.txt' exists already"),
              std::string::npos)
        << slurp(err);
    EXPECT_EQ(run(tool("init --force " + dir + " > /dev/null")), 0);
    EXPECT_EQ(slurp(card), slurp(builder.file("Alvena_Sorbio_4271_scheda_treno.txt")));
    EXPECT_EQ(folder_files(folder).size(), 8u);
}

TEST(ToolProcess, DumpsEachFileAndDrawsAPictureThatRenders) {
    TempFolder folder("scenario_tool_plot");
    put_sources(folder);
    const std::string dir = "\"" + folder.path().string() + "\"";
    ASSERT_EQ(run(tool("compile " + dir + " > /dev/null")), 0);
    for (const char* name :
         {"Alvena_Sorbio_linea.dat", "Alvena_Sorbio_4271.sim", "Alvena_Sorbio_4271.dat"}) {
        EXPECT_EQ(run(tool("dump --json \"" + folder.file(name) + "\" > /dev/null")), 0) << name;
    }

    const std::string svg = folder.file("route.svg");
    const std::string png = folder.file("route.png");
    ASSERT_EQ(run(tool("plot --out \"" + svg + "\" " + dir)), 0);
    // Rendering needs a program beyond the build's prerequisites; CI installs it.
    if (run("command -v rsvg-convert > /dev/null") != 0) {
        GTEST_SKIP() << "rsvg-convert (Debian package librsvg2-bin) is not installed: "
                        "the picture was drawn but not rendered";
    }
    ASSERT_EQ(run("rsvg-convert -o \"" + png + "\" \"" + svg + "\""), 0);
    EXPECT_EQ(slurp(png).substr(0, 8), "\x89PNG\r\n\x1A\n");
}

TEST(ToolProcess, PrintsTheProjectsVersion) {
    TempFolder folder("scenario_tool_version");
    const std::string out = folder.file("out.txt");
    ASSERT_EQ(run(tool("--version > \"" + out + "\"")), 0);
    EXPECT_EQ(slurp(out), std::string("scenario_tool ") + SCENARIO_VERSION + "\n");
    ASSERT_EQ(run(tool("--help > \"" + out + "\"")), 0);
    EXPECT_NE(slurp(out).find("--version"), std::string::npos);
}

// A SARIF log of every kind of location (a field, a whole file, the scenario
// as a whole), and one whose results carry fixes (a replacement, and an
// insertion at the end of a file), pass the validator that code-scanning
// services use. The validator comes from npm (@microsoft/sarif-multitool);
// without it the test is skipped.
TEST(ToolProcess, ChecksSarifLogPassesTheValidator) {
    if (run("command -v sarif-multitool > /dev/null") != 0) {
        GTEST_SKIP() << "sarif-multitool (npm @microsoft/sarif-multitool) is not installed";
    }
    std::string linea = emit_text(testo_linea());
    linea.replace(linea.find("lunghezza percorso"), 18, "lunghezza");
    std::string treno = emit_text(testo_treno());
    treno.replace(treno.find("segnale,   20900"), 7, "segnal");
    treno.erase(treno.rfind("[fine]"));
    struct Row {
        std::string linea, treno;  // none: the file is missing
        int status;
        bool fixes;
    } rows[] = {{linea, "", 1, false}, {emit_text(testo_linea()), treno, 0, true}};
    for (const Row& row : rows) {
        TempFolder folder("scenario_tool_sarif");
        put(folder.file("Alvena_Sorbio_linea.txt"), row.linea);
        if (!row.treno.empty()) put(folder.file("Alvena_Sorbio_4271-.txt"), row.treno);
        const std::string sarif = folder.file("check.sarif");
        const std::string log = folder.file("validate.txt");
        EXPECT_EQ(run(tool("check --sarif \"" + folder.path().string() + "\" > \"" + sarif + "\"")),
                  row.status);
        EXPECT_EQ(slurp(sarif).find(R"("fixes":[{"description":)") != std::string::npos, row.fixes);
        // The validator's exit status says nothing of what it found: its
        // findings are read instead.
        ASSERT_EQ(run("sarif-multitool validate \"" + sarif + "\" > \"" + log + "\" 2>&1"), 0);
        const std::string found = slurp(log);
        EXPECT_NE(found.find("Analysis completed successfully"), std::string::npos) << found;
        EXPECT_EQ(found.find(": error "), std::string::npos) << found;
    }
}

TEST(ToolProcess, AMistakeOnTheCommandLineIsOneLineOfErrorAndStatus64) {
    TempFolder folder("scenario_tool_usage");
    const std::string err = folder.file("err.txt");
    for (const char* args :
         {"", "frobnicate", "--verbose", "compile --line", "compile \"/no/such/folder\"",
          "dump --kind", "dump /no/such/file.sim", "dump --kind=cells x.dat", "plot --bogus",
          "plot /no/such/folder", "check --json --sarif", "check /no/such/folder",
          "init --line a/b", "explain", "explain frobnicate", "lsp --pipe=x", "lsp extra"}) {
        EXPECT_EQ(run(tool(args) + " > /dev/null 2> \"" + err + "\""), 64) << args;
        const std::string text = slurp(err);
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << args << ": " << text;
    }
    for (const char* args : {"--help", "compile --help", "dump -h", "plot --help", "check --help",
                             "init --help", "explain --help", "lsp --help"}) {
        const std::string out = folder.file("out.txt");
        EXPECT_EQ(run(tool(args) + " > \"" + out + "\""), 0) << args;
        EXPECT_EQ(slurp(out).rfind("usage: scenario_tool", 0), 0u) << args;
    }
}

}  // namespace
}  // namespace scenario
