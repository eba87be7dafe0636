// Notices when any of a few files changes on disk, by reading them again
// and comparing the bytes: portable, blind to how an editor saves (in
// place, or a new file renamed over the old one), and a file that is gone
// or half-written is only another content. The viewer asks every 100 ms;
// docs/viewer.md gives what that costs.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "output/file_system.h"

namespace scenario {

class FileWatch {
  public:
    explicit FileWatch(std::vector<std::string> paths) : paths_(std::move(paths)) {}

    // True when any file reads differently from the last look (the first
    // look counts as a change); an unreadable file reads as none.
    bool changed(FileSystem& fs);

  private:
    std::vector<std::string> paths_;
    std::vector<std::optional<std::string>> seen_;
};

}  // namespace scenario
