// What the driver needs from the operating system: the wait window, the
// message boxes, the program's folder. One implementation per platform,
// chosen by the build; tests use a fake that records the calls.
#pragma once

#include <memory_resource>
#include <string>
#include <string_view>

#include "output/file_system.h"

namespace scenario {

class Platform {
  public:
    virtual ~Platform() = default;

    // Shows the wait window with its single label "Attendere" and repaints
    // it once, so that it is on the screen before the build starts.
    virtual void show_wait() = 0;
    virtual void hide_wait() = 0;

    // Shows the fatal message (" Errore n. 1250") and returns once the user
    // has dismissed it; the driver then ends the program.
    virtual void show_fatal(std::string_view message) = 0;

    // Reports a file operation that failed, with the system's reason.
    virtual void report_file_failure(const FileError& error) = 0;

    // Reports a failure that the compiler or the route pass recorded.
    virtual void report_recorded_failure(std::string_view description) = 0;

    // The folder of the running executable, without a trailing separator
    // unless it is a root folder.
    virtual std::string program_folder() = 0;
    virtual char separator() const = 0;

    // Where the model keeps the line geometry: a few blocks of up to 8 MB,
    // made once and written once.
    virtual std::pmr::memory_resource* geometry_memory() { return std::pmr::new_delete_resource(); }
};

}  // namespace scenario
