// Times the builder as a whole process against `cp` of the files it writes,
// in interleaved pairs, each run in a fresh folder:
//   scenario_run_pairs PAIRS PROGRAM SOURCE_FOLDER FILE...
// One pair runs PROGRAM, linked into a new empty folder, and `cp` of the
// FILEs (found in SOURCE_FOLDER) into another new empty folder; the order
// within a pair alternates, so that a drift of the machine's speed falls on
// both alike. Three pairs warm the caches first and are not counted.
//
// Prints, one `name value` per line: the median wall time of each (seconds),
// the median processor time (user + system), the median minor page faults
// and the largest peak memory (KiB) of the program's runs.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fsys = std::filesystem;

constexpr int kWarmupPairs = 3;

struct Run {
    double wall = 0;  // seconds
    double cpu = 0;   // user + system, seconds
    long minor_faults = 0;
    long peak_kib = 0;
};

double seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
}

// Runs `argv` with standard output and error sent to /dev/null; exits the
// whole program if it cannot be started or does not end with status 0.
Run run(const std::vector<std::string>& argv) {
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);

    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) != 0) {
        std::fprintf(stderr, "cannot start %s\n", args[0]);
        std::exit(1);
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) std::exit(1);
    const auto end = std::chrono::steady_clock::now();
    posix_spawn_file_actions_destroy(&actions);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s ended with status %d\n", args[0], status);
        std::exit(1);
    }
    return {std::chrono::duration<double>(end - start).count(),
            seconds(usage.ru_utime) + seconds(usage.ru_stime), usage.ru_minflt, usage.ru_maxrss};
}

fsys::path fresh_folder(const fsys::path& parent, const std::string& name) {
    const fsys::path dir = parent / name;
    fsys::remove_all(dir);
    fsys::create_directory(dir);
    return dir;
}

template <typename T>
T median(std::vector<T> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s PAIRS PROGRAM SOURCE_FOLDER FILE...\n", argv[0]);
        return 2;
    }
    const int pairs = std::atoi(argv[1]);
    const fsys::path program = fsys::absolute(argv[2]);
    const fsys::path sources = fsys::absolute(argv[3]);
    const fsys::path work =
        fsys::temp_directory_path() / ("scenario_pairs." + std::to_string(getpid()));
    fsys::create_directory(work);

    std::vector<Run> builder_runs;
    std::vector<Run> copy_runs;
    for (int i = -kWarmupPairs; i < pairs; ++i) {
        const fsys::path run_dir = fresh_folder(work, "run");
        const fsys::path exe = run_dir / program.filename();
        std::error_code linked;
        fsys::create_hard_link(program, exe, linked);
        if (linked) fsys::copy_file(program, exe);
        const fsys::path copy_dir = fresh_folder(work, "copy");
        std::vector<std::string> cp = {"/bin/cp"};
        for (int f = 4; f < argc; ++f)
            cp.push_back((sources / argv[f]).string());
        cp.push_back(copy_dir.string() + "/");

        Run builder;
        Run copy;
        if (i % 2 == 0) {
            builder = run({exe.string()});
            copy = run(cp);
        } else {
            copy = run(cp);
            builder = run({exe.string()});
        }
        if (i < 0) continue;
        builder_runs.push_back(builder);
        copy_runs.push_back(copy);
    }
    fsys::remove_all(work);

    const auto column = [](const std::vector<Run>& runs, auto field) {
        std::vector<decltype(field(runs[0]))> v;
        for (const Run& r : runs)
            v.push_back(field(r));
        return v;
    };
    const auto wall = [](const Run& r) { return r.wall; };
    const auto cpu = [](const Run& r) { return r.cpu; };
    const auto faults = [](const Run& r) { return r.minor_faults; };
    const auto peak = [](const Run& r) { return r.peak_kib; };
    const std::vector<long> peaks = column(builder_runs, peak);
    std::printf("pairs %d\n", pairs);
    std::printf("program_wall %.6f\n", median(column(builder_runs, wall)));
    std::printf("copy_wall %.6f\n", median(column(copy_runs, wall)));
    std::printf("program_cpu %.6f\n", median(column(builder_runs, cpu)));
    std::printf("copy_cpu %.6f\n", median(column(copy_runs, cpu)));
    std::printf("program_minor_faults %ld\n", median(column(builder_runs, faults)));
    std::printf("copy_minor_faults %ld\n", median(column(copy_runs, faults)));
    std::printf("program_peak_kib %ld\n", *std::max_element(peaks.begin(), peaks.end()));
    return 0;
}
