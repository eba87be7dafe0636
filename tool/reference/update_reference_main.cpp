// Writes the generated tables of the format reference anew from the
// program's tables: update_reference docs/source-formats.md
#include <iostream>
#include <string>

#include "app/disk.h"
#include "tool/reference/format_reference.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: update_reference FILE.md\n";
        return 64;
    }
    const std::string path = argv[1];
    scenario::DiskFileSystem disk;
    std::string markdown;
    scenario::FileError error;
    if (!disk.read(path, &markdown, &error)) {
        std::cerr << "update_reference: cannot read '" << path << "': " << error.reason << '\n';
        return 1;
    }
    std::string updated;
    std::string problem;
    if (!scenario::update_reference(markdown, &updated, &problem)) {
        std::cerr << "update_reference: " << path << ": " << problem << '\n';
        return 1;
    }
    if (updated == markdown) {
        std::cout << path << ": up to date\n";
        return 0;
    }
    if (!disk.replace(path, updated, &error)) {
        std::cerr << "update_reference: cannot " << error.operation << " '" << path
                  << "': " << error.reason << '\n';
        return 1;
    }
    std::cout << path << ": tables written\n";
    return 0;
}
