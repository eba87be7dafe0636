#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <io.h>
#define SCENARIO_ISATTY _isatty
#define SCENARIO_FILENO _fileno
#else
#include <unistd.h>
#define SCENARIO_ISATTY isatty
#define SCENARIO_FILENO fileno
#endif

#include "app/disk.h"
#include "tool/tool.h"

namespace {

// Colours only for a person at a terminal who has not asked for none.
bool colour_on(std::FILE* stream) {
    const char* no_color = std::getenv("NO_COLOR");
    if (no_color != nullptr && no_color[0] != '\0') return false;
    return SCENARIO_ISATTY(SCENARIO_FILENO(stream)) != 0;
}

}  // namespace

int main(int argc, char** argv) {
    scenario::DiskFileSystem disk;
    scenario::ToolContext ctx{disk, std::cout, std::cerr,
                              static_cast<char>(std::filesystem::path::preferred_separator),
                              [](const std::string& folder) {
                                  std::error_code ignored;
                                  return std::filesystem::is_directory(folder, ignored);
                              }};
    ctx.make_folder = [](const std::string& folder) {
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        return !error;
    };
    if (argc > 0 && argv[0][0] != '\0') ctx.program = argv[0];
    ctx.out_colour = colour_on(stdout);
    ctx.err_colour = colour_on(stderr);
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return scenario::run_tool(args, ctx);
}
