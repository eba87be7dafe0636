// A fresh folder under the system's temporary folder, removed with all it
// holds when the test is done, for tests that run real programs or the real
// disk.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <system_error>

namespace scenario::testing {

class TempFolder {
  public:
    // `name` begins the folder's name, so that what a crashed test leaves
    // says where it came from.
    explicit TempFolder(const std::string& name) {
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        path_ = std::filesystem::temp_directory_path() / (name + "_" + std::to_string(stamp));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

}  // namespace scenario::testing
