#include <unistd.h>

#include <cstdio>
#include <string>
#include <system_error>

#include "app/large_pages.h"
#include "app/native_platform.h"

namespace scenario {

namespace {
constexpr std::string_view kWaitText = "Attendere";
}  // namespace

// On a terminal the wait text stands on standard error while the build
// runs; anywhere else nothing is printed, so scripts see only reports.
struct NativePlatform::State {
    bool on_terminal = isatty(STDERR_FILENO) == 1;
    bool shown = false;
    LargePageMemory geometry;
};

NativePlatform::NativePlatform() : state_(std::make_unique<State>()) {}
NativePlatform::~NativePlatform() = default;

void NativePlatform::show_wait() {
    if (!state_->on_terminal || state_->shown) return;
    std::fprintf(stderr, "%.*s", static_cast<int>(kWaitText.size()), kWaitText.data());
    std::fflush(stderr);
    state_->shown = true;
}

void NativePlatform::hide_wait() {
    if (!state_->shown) return;
    // Back to the start of the line and clear it.
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    state_->shown = false;
}

void NativePlatform::show_fatal(std::string_view message) {
    hide_wait();
    std::fprintf(stderr, "%.*s\n", static_cast<int>(message.size()), message.data());
}

void NativePlatform::report_file_failure(const FileError& error) {
    hide_wait();
    std::fprintf(stderr, "cannot %s %s: %s\n", error.operation.c_str(), error.path.c_str(),
                 error.reason.c_str());
}

void NativePlatform::report_recorded_failure(std::string_view description) {
    hide_wait();
    std::fprintf(stderr, "%.*s\n", static_cast<int>(description.size()), description.data());
}

std::string NativePlatform::program_folder() {
    std::string path(4096, '\0');
    const ssize_t n = readlink("/proc/self/exe", path.data(), path.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= path.size()) return ".";
    path.resize(static_cast<std::size_t>(n));
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    // The root folder keeps its slash; the separator is added after it all the same.
    return slash == 0 ? "/" : path.substr(0, slash);
}

char NativePlatform::separator() const {
    return '/';
}

std::pmr::memory_resource* NativePlatform::geometry_memory() {
    return &state_->geometry;
}

}  // namespace scenario
