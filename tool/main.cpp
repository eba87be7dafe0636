#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "app/disk.h"
#include "tool/tool.h"

int main(int argc, char** argv) {
    scenario::DiskFileSystem disk;
    scenario::ToolContext ctx{disk, std::cout, std::cerr,
                              static_cast<char>(std::filesystem::path::preferred_separator),
                              [](const std::string& folder) {
                                  std::error_code ignored;
                                  return std::filesystem::is_directory(folder, ignored);
                              }};
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return scenario::run_tool(args, ctx);
}
