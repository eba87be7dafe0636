// Runs the tool in memory: a folder of files kept in a map, the two output
// streams captured, and a set of folders that exist, to which the tool may
// add.
#pragma once

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/memory_file_system.h"
#include "tool/commands/tool.h"

namespace scenario::testing {

class ToolRun {
  public:
    MemoryFileSystem fs;
    std::set<std::string> folders = {".", "src", "out"};
    std::ostringstream out;
    std::ostringstream err;
    bool colour = false;  // as for a terminal with NO_COLOR unset
    bool can_make_folders = true;

    int run(std::vector<std::string> args) {
        out.str("");
        err.str("");
        ToolContext ctx{fs, out, err, '/',
                        [this](const std::string& f) { return folders.count(f) != 0; }};
        ctx.make_folder = [this](const std::string& f) {
            return can_make_folders && folders.insert(f).second;
        };
        ctx.list_folder = [this](const std::string& folder) {
            std::vector<std::string> names;
            for (const auto& [path, text] : fs.files)
                if (path.size() > folder.size() + 1 && path.starts_with(folder + '/') &&
                    path.find('/', folder.size() + 1) == std::string::npos)
                    names.push_back(path.substr(folder.size() + 1));
            return names;
        };
        ctx.out_colour = ctx.err_colour = colour;
        return run_tool(args, ctx);
    }
};

}  // namespace scenario::testing
