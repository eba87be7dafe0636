// `init` in memory: the author's first folder must compile to the builder's
// own files, an existing file must stop it before anything is written, and
// the commands it prints must work as printed.
#include "tool/commands/init_command.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/driver.h"
#include "support/fake_platform.h"
#include "tool_fixture.h"

namespace scenario {
namespace {

// The six files a run of the builder leaves, by suffix after the line
// identifier.
constexpr const char* kBuilderFiles[] = {
    "_4271_note.txt",
    "_4271_rallentamenti.txt",
    "_4271_scheda_treno.txt",
    "_linea.dat",
    "_4271.sim",
    "_4271.dat",
};

class InitCommand : public ::testing::Test {
  protected:
    void SetUp() override { tool.folders = {"."}; }
    int run(std::vector<std::string> args) { return tool.run(std::move(args)); }
    static std::map<std::string, std::string> builder_files() {
        testing::MemoryFileSystem fs;
        testing::FakePlatform platform;
        EXPECT_EQ(run_builder(platform, fs), kExitClean);
        return fs.files;
    }

    testing::ToolRun tool;
};

TEST_F(InitCommand, ThenCompileInAnEmptyFolderGivesTheBuildersFiles) {
    ASSERT_EQ(run({"init", "mine"}), kExitClean) << tool.err.str();
    EXPECT_EQ(tool.folders.count("mine"), 1u);
    ASSERT_EQ(run({"compile", "mine"}), kExitClean) << tool.err.str();
    const auto built = builder_files();
    for (const char* suffix : kBuilderFiles) {
        const std::string name = std::string("Alvena_Sorbio") + suffix;
        ASSERT_EQ(built.count("/scenario/" + name), 1u) << name;
        EXPECT_TRUE(tool.fs.files["mine/" + name] == built.at("/scenario/" + name)) << name;
    }
    // The sources stay, for the author to change: seven files in all.
    EXPECT_EQ(tool.fs.files.size(), 8u);
}

TEST_F(InitCommand, WritesTheSourcesUnderTheNamesGiven) {
    ASSERT_EQ(run({"init", "--line", "Valle_Alta", "--train", "88", "mine"}), kExitClean);
    for (const char* name : {"Valle_Alta_linea.txt", "Valle_Alta_88-.txt", "Valle_Alta_88_note.txt",
                             "Valle_Alta_88_rallentamenti.txt", "Valle_Alta_88_scheda_treno.txt"})
        EXPECT_EQ(tool.fs.files.count(std::string("mine/") + name), 1u) << name;
    EXPECT_EQ(tool.fs.files.size(), 5u);
}

// An existing file of one of the five names stops the command before it
// writes anything, and is named; --force replaces it.
TEST_F(InitCommand, AnExistingFileStopsItUnlessForced) {
    const struct {
        std::vector<std::string> existing;  // in mine/
        bool force;
        int status;
    } cases[] = {
        {{"Alvena_Sorbio_4271_scheda_treno.txt"}, false, kExitFatal},
        {{"Alvena_Sorbio_linea.txt", "Alvena_Sorbio_4271-.txt"}, false, kExitFatal},
        {{"Alvena_Sorbio_4271_note.txt"}, true, kExitClean},
        // A file of another scenario is no obstacle.
        {{"Alvena_Sorbio_9999-.txt"}, false, kExitClean},
    };
    const auto builder = builder_files();
    for (const auto& c : cases) {
        tool.fs.files.clear();
        tool.folders.insert("mine");
        for (const std::string& name : c.existing)
            tool.fs.files["mine/" + name] = "the author's own";
        std::vector<std::string> args = {"init", "mine"};
        if (c.force) args.push_back("--force");
        EXPECT_EQ(run(args), c.status) << c.existing[0];
        if (c.status == kExitFatal) {
            EXPECT_EQ(tool.fs.files.size(), c.existing.size()) << c.existing[0];
            for (const std::string& name : c.existing) {
                EXPECT_EQ(tool.fs.files["mine/" + name], "the author's own");
                EXPECT_NE(tool.err.str().find("'mine/" + name + "' exists already"),
                          std::string::npos)
                    << tool.err.str();
            }
            EXPECT_EQ(tool.out.str(), "");
        } else {
            EXPECT_EQ(tool.fs.files.size(), 5u + (c.force ? 0 : 1)) << c.existing[0];
            EXPECT_TRUE(tool.fs.files["mine/Alvena_Sorbio_4271_note.txt"] ==
                        builder.at("/scenario/Alvena_Sorbio_4271_note.txt"));
        }
    }
}

// A file that cannot be written ends the command; the files it had created
// before are taken away again, so that a second try is not stopped by them.
TEST_F(InitCommand, AFailedWriteLeavesNoneOfItsFiles) {
    tool.fs.failing.insert("./Alvena_Sorbio_4271_note.txt");
    EXPECT_EQ(run({"init"}), kExitFatal);
    EXPECT_TRUE(tool.fs.files.empty());
    EXPECT_EQ(tool.err.str(),
              "scenario_tool init: cannot replace './Alvena_Sorbio_4271_note.txt': "
              "Permission denied\n");
    tool.can_make_folders = false;
    EXPECT_EQ(run({"init", "elsewhere"}), kExitFatal);
    EXPECT_EQ(tool.err.str(), "scenario_tool init: cannot make the folder 'elsewhere'\n");
}

TEST_F(InitCommand, RefusesNamesThatAreNoPartOfAFileName) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"init", "--line", "a/b"},
             {"init", "--train", ""},
             {"init", "--line", "Linea:1"},
             {"init", "one", "two"},
         }) {
        EXPECT_EQ(run(args), kExitUsage) << args[1];
        EXPECT_TRUE(tool.fs.files.empty());
    }
}

// The three commands printed at the end run as printed, in the folder and
// with the names that init used.
TEST_F(InitCommand, TheCommandsItPrintsWork) {
    const struct {
        std::vector<std::string> args;
        std::string plot;
    } cases[] = {
        {{"init"}, "scenario_tool plot --out route.svg"},
        {{"init", "--train", "88", "mine/"},
         "scenario_tool plot --train 88 --out mine/route.svg mine"},
    };
    for (const auto& c : cases) {
        tool.fs.files.clear();
        ASSERT_EQ(run(c.args), kExitClean);
        std::istringstream printed(tool.out.str());
        std::vector<std::vector<std::string>> commands;
        for (std::string line; std::getline(printed, line);) {
            if (line.rfind("  scenario_tool ", 0) != 0) continue;
            std::istringstream words(line);
            commands.emplace_back();
            for (std::string word; words >> word;)
                commands.back().push_back(word);
            if (commands.back()[1] == "plot") {
                EXPECT_EQ(line, "  " + c.plot);
            }
        }
        ASSERT_EQ(commands.size(), 3u) << tool.out.str();
        EXPECT_EQ(commands[0][1], "check");
        EXPECT_EQ(commands[1][1], "compile");
        for (const auto& command : commands) {
            const std::vector<std::string> args(command.begin() + 1, command.end());
            EXPECT_EQ(run(args), kExitClean) << command[1] << ": " << tool.err.str();
        }
        EXPECT_EQ(tool.fs.files.count(c.args.size() > 1 ? "mine/route.svg" : "route.svg"), 1u);
    }
}

}  // namespace
}  // namespace scenario
