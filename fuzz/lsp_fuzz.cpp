// Feeds the input to the language server as the bytes an editor writes on
// its standard input, and checks what the server promises: no crash and no
// hang on any bytes, and nothing on its output but framed messages, each
// one JSON-RPC 2.0 object. The folder on the disk holds a short line file,
// so that a train file opened alone has one to be checked against.
//
// Input: the byte stream itself (Content-Length headers, JSON bodies). An
// input of more than 32 messages is passed over: each change of a source
// may compile a route of up to 1000 km, and a run must
// stay well inside the fuzzer's time limit.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/lsp_framing.h"
#include "tests/support/memory_file_system.h"
#include "tool/json/json_reader.h"
#include "tool/lsp/server.h"

namespace {

constexpr std::string_view kLinea =
    "[generale]\r\nlunghezza percorso,   2000\r\n[curve]\r\ncurvad5,   100,   300\r\n"
    "[pendenze]\r\npendenza,   0,   0\r\npendenza,   500,   6\r\n[fine]\r\n";

// Small limits, so that inputs of a few kilobytes reach them; the embedded
// texts of the seeds still fit.
constexpr scenario::LspLimits kLimits{.max_message = 64 << 10, .max_document = 32 << 10};

constexpr std::size_t kMostMessages = 32;

// How many header lines that name Content-Length, in any case, the input has.
std::size_t messages_in(std::string_view input) {
    constexpr std::string_view kName = "content-length";
    std::size_t n = 0;
    for (std::size_t at = 0; at + kName.size() <= input.size(); ++at) {
        std::size_t i = 0;
        while (i < kName.size() && (input[at + i] | 0x20) == kName[i])
            ++i;
        n += i == kName.size() ? 1 : 0;
    }
    return n;
}

[[noreturn]] void broken() {
    __builtin_trap();
}

// Every message is "Content-Length: N", CR LF twice, then N bytes of one
// JSON-RPC 2.0 object, up to the very end of the output.
void check_output(std::string_view out) {
    const auto bodies = scenario::testing::unframed(out);
    if (!bodies) broken();
    for (const std::string& body : *bodies) {
        std::string error;
        const auto v = scenario::parse_json(body, &error);
        if (!v || v->object() == nullptr) broken();
        const scenario::JsonValue* version = v->find("jsonrpc");
        if (version == nullptr || version->string() == nullptr || *version->string() != "2.0")
            broken();
    }
}

// Serves `in` against a folder on the disk that holds the line file.
void serve(std::istream& in) {
    scenario::testing::MemoryFileSystem disk;
    disk.files["/fuzz/Alvena_Sorbio_linea.txt"] = std::string(kLinea);
    const auto list = [&](const std::string& folder) {
        std::vector<std::string> names;
        for (const auto& [path, bytes] : disk.files) {
            if (path.rfind(folder + "/", 0) == 0) names.push_back(path.substr(folder.size() + 1));
        }
        return names;
    };
    std::ostringstream out;
    std::ostringstream log;
    const int status = scenario::serve_lsp(in, {disk, list, out, log, kLimits});
    if (status != 0 && status != 1) broken();
    check_output(out.str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    if (messages_in(input) > kMostMessages) return 0;
    // Once as from an editor that waits for each answer: every byte comes
    // on its own, so each change is checked before the next message is
    // read. Once all at once: the changes of each document are checked
    // only at their last text.
    std::vector<std::string> bytes;
    for (const char c : input)
        bytes.emplace_back(1, c);
    scenario::testing::PacedInput paced(std::move(bytes));
    std::istream one_by_one(&paced);
    serve(one_by_one);
    std::istringstream all_at_once{std::string(input)};
    serve(all_at_once);
    return 0;
}
