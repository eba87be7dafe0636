// Loaded into a process with LD_PRELOAD, ends it with SIGKILL as it comes to
// write to a file whose full name matches the shell pattern in the variable
// KILL_ON_WRITE_TO: the write does not happen, as if the power had gone.
// The Windows end-to-end check kills the .exe under wine with it, on the
// Linux calls that wine makes, in the middle of a chosen file's write.
#include <dlfcn.h>
#include <fnmatch.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

extern "C" ssize_t write(int fd, const void* bytes, size_t size) {
    using Write = ssize_t (*)(int, const void*, size_t);
    static const auto real = reinterpret_cast<Write>(dlsym(RTLD_NEXT, "write"));
    static const char* const pattern = std::getenv("KILL_ON_WRITE_TO");
    if (pattern != nullptr) {
        char link[32];
        char path[4096];
        std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
        const ssize_t n = readlink(link, path, sizeof path - 1);
        if (n > 0) {
            path[n] = '\0';
            if (fnmatch(pattern, path, 0) == 0) raise(SIGKILL);
        }
    }
    return real(fd, bytes, size);
}
