#include "tool/view/file_watch.h"

namespace scenario {

bool FileWatch::changed(FileSystem& fs) {
    std::vector<std::optional<std::string>> now;
    now.reserve(paths_.size());
    for (const std::string& path : paths_) {
        std::string bytes;
        if (!path.empty() && fs.exists(path) && fs.read(path, &bytes, nullptr)) {
            now.emplace_back(std::move(bytes));
        } else {
            now.emplace_back(std::nullopt);
        }
    }
    if (now == seen_) return false;
    seen_ = std::move(now);
    return true;
}

}  // namespace scenario
