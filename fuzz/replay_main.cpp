// Runs a fuzz target over saved inputs without the fuzzer: every file named
// on the command line, and every file inside each folder named there. The
// test suite uses it to replay the corpus and every input that once broke
// the program, on any compiler.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

bool run_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", path.string().c_str());
        return false;
    }
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                  std::istreambuf_iterator<char>()};
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    int inputs = 0;
    bool ok = true;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path arg(argv[i]);
        std::error_code ec;
        if (!std::filesystem::is_directory(arg, ec)) {
            ok = run_file(arg) && ok;
            ++inputs;
            continue;
        }
        for (const auto& entry : std::filesystem::recursive_directory_iterator(arg, ec)) {
            if (!entry.is_regular_file()) continue;
            ok = run_file(entry.path()) && ok;
            ++inputs;
        }
        if (ec) {
            std::fprintf(stderr, "cannot list %s: %s\n", arg.string().c_str(),
                         ec.message().c_str());
            ok = false;
        }
    }
    std::printf("replayed %d inputs\n", inputs);
    return ok && inputs > 0 ? 0 : 1;
}
