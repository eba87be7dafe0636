// A folder kept in memory, for tests of everything that writes files.
#pragma once

#include <map>
#include <set>
#include <string>

#include "output/file_system.h"

namespace scenario::testing {

class MemoryFileSystem final : public FileSystem {
  public:
    std::map<std::string, std::string> files;
    std::set<std::string> failing;  // paths whose replace fails
    std::vector<std::string> log;   // "replace <path>", "remove <path>", in order

    bool exists(const std::string& path) override { return files.count(path) != 0; }

    bool read(const std::string& path, std::string* contents, FileError* error) override {
        const auto it = files.find(path);
        if (it == files.end()) {
            if (error != nullptr) *error = {"open", path, "No such file or directory"};
            return false;
        }
        *contents = it->second;
        return true;
    }

    bool replace(const std::string& path, std::string_view bytes, FileError* error) override {
        log.push_back("replace " + path);
        if (failing.count(path) != 0) {
            if (error != nullptr) *error = {"replace", path, "Permission denied"};
            return false;
        }
        files[path] = std::string(bytes);
        return true;
    }

    bool remove(const std::string& path, FileError*) override {
        log.push_back("remove " + path);
        files.erase(path);
        return true;
    }
};

}  // namespace scenario::testing
