#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "app/disk.h"
#include "tool/commands/console.h"
#include "tool/commands/tool.h"

namespace {

// Colours only for a person at a terminal who has not asked for none.
bool colour_on(std::FILE* stream) {
    const char* no_color = std::getenv("NO_COLOR");
    if (no_color != nullptr && no_color[0] != '\0') return false;
    return scenario::is_terminal(stream);
}

// Names in UTF-8, as the editor's URIs carry them.
std::vector<std::string> files_in(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    const std::filesystem::path path(std::u8string(folder.begin(), folder.end()));
    for (const auto& entry : std::filesystem::directory_iterator(path, ec)) {
        if (!entry.is_regular_file(ec)) continue;
        const std::u8string name = entry.path().filename().u8string();
        names.emplace_back(name.begin(), name.end());
    }
    return names;
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
    ctx.in = &std::cin;
    ctx.list_folder = files_in;
    ctx.binary_stdio = scenario::binary_stdio;
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return scenario::run_tool(args, ctx);
}
