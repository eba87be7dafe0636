// The platform of the machine the program runs on: a terminal on POSIX, a
// window and message boxes on Windows.
#pragma once

#include <memory>

#include "app/platform.h"

namespace scenario {

class NativePlatform final : public Platform {
  public:
    NativePlatform();
    ~NativePlatform() override;
    NativePlatform(const NativePlatform&) = delete;
    NativePlatform& operator=(const NativePlatform&) = delete;

    void show_wait() override;
    void hide_wait() override;
    void show_fatal(std::string_view message) override;
    void report_file_failure(const FileError& error) override;
    void report_recorded_failure(std::string_view description) override;
    std::string program_folder() override;
    char separator() const override;
    std::pmr::memory_resource* geometry_memory() override;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace scenario
