// A platform that records what the driver asked of it.
#pragma once

#include <string>
#include <vector>

#include "app/platform.h"

namespace scenario::testing {

class FakePlatform final : public Platform {
  public:
    std::string folder = "/scenario";
    std::vector<std::string> calls;  // "show_wait", "fatal: ...", ...

    void show_wait() override { calls.push_back("show_wait"); }
    void hide_wait() override { calls.push_back("hide_wait"); }
    void show_fatal(std::string_view message) override {
        calls.push_back("fatal:" + std::string(message));
    }
    void report_file_failure(const FileError& error) override {
        calls.push_back("file:" + error.operation + " " + error.path);
    }
    void report_recorded_failure(std::string_view description) override {
        calls.push_back("recorded:" + std::string(description));
    }
    std::string program_folder() override { return folder; }
    char separator() const override { return '/'; }
};

}  // namespace scenario::testing
