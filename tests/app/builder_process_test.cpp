// The real program, run once in a folder of its own: it must leave the
// three documents and the three compiled files there, replace older files
// of the same names completely, and end with status 0.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/temp_folder.h"

#if !defined(_WIN32)
#include <sys/wait.h>
#endif

namespace scenario {
namespace {

namespace fsys = std::filesystem;

int exit_status_of(int raw) {
#if defined(_WIN32)
    return raw;
#else
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
}

// The program's own folder, made afresh for each test.
struct ProgramFolder : testing::TempFolder {
    ProgramFolder() : TempFolder("scenario_builder") {}
};

void put_file(const fsys::path& path, std::size_t size) {
    std::ofstream out(path, std::ios::binary);
    out << std::string(size, 'z');
}

TEST(BuilderProcess, WritesTheSixFilesBesideItself) {
    ProgramFolder folder;
    const fsys::path exe = folder.path() / fsys::path(SCENARIO_BUILDER_EXE).filename();
    fsys::copy_file(SCENARIO_BUILDER_EXE, exe);
    // Older, longer files of the same names: nothing of them may survive.
    put_file(folder.path() / "Alvena_Sorbio_4271.dat", 40000);
    put_file(folder.path() / "Alvena_Sorbio_4271.sim", 10000);

    const std::string command = "\"" + exe.string() + "\"";
    ASSERT_EQ(exit_status_of(std::system(command.c_str())), 0);

    for (const char* name : {"Alvena_Sorbio_4271_note.txt", "Alvena_Sorbio_4271_rallentamenti.txt",
                             "Alvena_Sorbio_4271_scheda_treno.txt", "Alvena_Sorbio_4271.sim"}) {
        EXPECT_TRUE(fsys::is_regular_file(folder.path() / name)) << name;
    }
    EXPECT_EQ(fsys::file_size(folder.path() / "Alvena_Sorbio_linea.dat"), 2159964u);
    EXPECT_EQ(fsys::file_size(folder.path() / "Alvena_Sorbio_4271.dat"), 32415u);
    EXPECT_EQ(fsys::file_size(folder.path() / "Alvena_Sorbio_4271.sim"), 4406u);
    EXPECT_FALSE(fsys::exists(folder.path() / "Alvena_Sorbio_linea.txt"));
    EXPECT_FALSE(fsys::exists(folder.path() / "Alvena_Sorbio_4271-.txt"));
    // The program itself and its six files; no temporary file is left.
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : fsys::directory_iterator(folder.path()))
        ++entries;
    EXPECT_EQ(entries, 7u);
}

}  // namespace
}  // namespace scenario
