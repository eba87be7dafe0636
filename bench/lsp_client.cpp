// Plays an editor against the language server through pipes and times how
// soon it answers a change:
//   scenario_lsp_client TOOL embedded|longest CHANGES BURST
// Starts `TOOL lsp`, opens the line and the train file of the embedded
// route or of the 1000000 m synthetic one, then
//   1. CHANGES times, changes a departure minute in the train file and
//      waits for that version's diagnostics: the median time from the
//      change to them;
//   2. CHANGES times, asks for the code actions of the whole train file
//      (every quick fix it has: the worst an editor can ask) and waits for
//      the answer: the median time;
//   3. sends BURST such changes back to back: the time until the last
//      version's diagnostics arrive, how many diagnostics messages came for
//      the train file meanwhile, and how many of those were for a version
//      that the next one had replaced before the server could begin its
//      check (the next version was written whole before the previous
//      check's diagnostics arrived).
// Prints one `name value` per line.
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "bench/synthetic_scenario.h"
#include "content/embedded_texts.h"
#include "content/emitter.h"
#include "tests/support/lsp_framing.h"
#include "tests/tool/lsp/lsp_messages.h"
#include "tool/json/json_reader.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::string_view kLineaUri = "file:///bench/Alvena_Sorbio_linea.txt";
constexpr std::string_view kTrenoUri = "file:///bench/Alvena_Sorbio_4271-.txt";
constexpr int kWaitMs = 60000;

[[noreturn]] void fail(const char* why) {
    std::fprintf(stderr, "scenario_lsp_client: %s\n", why);
    std::exit(1);
}

// The server as a child process on two pipes.
class Server {
  public:
    explicit Server(const char* tool) {
        int in[2];
        int out[2];
        if (pipe(in) != 0 || pipe(out) != 0) fail("no pipe");
        pid_ = fork();
        if (pid_ == 0) {
            dup2(in[0], 0);
            dup2(out[1], 1);
            close(in[1]);
            close(out[0]);
            execl(tool, tool, "lsp", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(in[0]);
        close(out[1]);
        to_ = in[1];
        from_ = out[0];
    }
    ~Server() {
        close(to_);
        close(from_);
        waitpid(pid_, nullptr, 0);
    }

    void send(const std::string& body) {
        const std::string frame = scenario::testing::framed(body);
        for (std::size_t done = 0; done < frame.size();) {
            const ssize_t n = write(to_, frame.data() + done, frame.size() - done);
            if (n <= 0) fail("the server stopped reading");
            done += static_cast<std::size_t>(n);
        }
    }
    // The next message, and when its last byte arrived.
    std::pair<scenario::JsonValue, Clock::time_point> receive() {
        for (;;) {
            const std::size_t end = buffer_.find("\r\n\r\n");
            if (end != std::string::npos) {
                const std::size_t length = std::stoul(buffer_.substr(buffer_.find(':') + 1));
                if (buffer_.size() >= end + 4 + length) {
                    std::string error;
                    auto v = scenario::parse_json(buffer_.substr(end + 4, length), &error);
                    buffer_.erase(0, end + 4 + length);
                    if (!v) fail("a message that is not JSON");
                    return {std::move(*v), arrived_};
                }
            }
            pollfd p{from_, POLLIN, 0};
            if (poll(&p, 1, kWaitMs) <= 0) fail("no answer in time");
            char chunk[65536];
            const ssize_t n = read(from_, chunk, sizeof chunk);
            if (n <= 0) fail("the server ended");
            arrived_ = Clock::now();
            buffer_.append(chunk, static_cast<std::size_t>(n));
        }
    }

  private:
    pid_t pid_ = -1;
    int to_ = -1;
    int from_ = -1;
    std::string buffer_;
    Clock::time_point arrived_;
};

// The version of a publishDiagnostics for `uri`, if `v` is one.
std::optional<std::int64_t> published_version(const scenario::JsonValue& v, std::string_view uri) {
    const scenario::JsonValue* method = v.find("method");
    if (method == nullptr || method->string() == nullptr ||
        *method->string() != "textDocument/publishDiagnostics")
        return std::nullopt;
    const scenario::JsonValue* params = v.find("params");
    if (*params->find("uri")->string() != uri) return std::nullopt;
    return *params->find("version")->number()->whole;
}

// The train text with the departure minute of its first station changed:
// odd versions add one to it, even ones keep it.
std::string with_minute(std::string treno, std::int64_t version) {
    const std::size_t line = treno.find("\nstazione");
    if (line == std::string::npos) fail("no station in the train file");
    std::size_t at = line;
    for (int comma = 0; comma < 15; ++comma)
        at = treno.find(',', at + 1);
    const std::size_t end = treno.find(',', at + 1);
    const int minute = std::atoi(treno.c_str() + at + 1);
    const int changed = version % 2 == 1 ? (minute + 1) % 60 : minute;
    return treno.replace(at + 1, end - at - 1, " " + std::to_string(changed));
}

double ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

void wait_for(Server& server, std::string_view uri, std::int64_t version) {
    for (;;) {
        const auto [v, at] = server.receive();
        if (published_version(v, uri) == version) return;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s TOOL embedded|longest CHANGES BURST\n", argv[0]);
        return 2;
    }
    signal(SIGPIPE, SIG_IGN);
    const bool embedded = std::string_view(argv[2]) == "embedded";
    const int changes = std::atoi(argv[3]);
    const int burst = std::atoi(argv[4]);
    namespace sb = scenario::bench;
    const std::string linea = embedded ? scenario::emit_text(scenario::testo_linea())
                                       : sb::synthetic_linea(sb::kLunghezzaMassima);
    const std::string treno = embedded ? scenario::emit_text(scenario::testo_treno())
                                       : sb::synthetic_treno(sb::kLunghezzaMassima);
    using scenario::testing::text_message;

    Server server(argv[1]);
    server.send(R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{"capabilities":{}}})");
    server.receive();
    server.send(R"({"jsonrpc":"2.0","method":"initialized","params":{}})");
    server.send(text_message("textDocument/didOpen", kLineaUri, 1, linea));
    wait_for(server, kLineaUri, 1);
    std::int64_t version = 0;
    server.send(text_message("textDocument/didOpen", kTrenoUri, version, with_minute(treno, 0)));
    wait_for(server, kTrenoUri, version);

    std::vector<double> times;
    for (int i = 0; i < changes; ++i) {
        ++version;
        const std::string message =
            text_message("textDocument/didChange", kTrenoUri, static_cast<int>(version),
                         with_minute(treno, version));
        const Clock::time_point sent = Clock::now();
        server.send(message);
        wait_for(server, kTrenoUri, version);
        times.push_back(ms(Clock::now() - sent));
    }
    std::sort(times.begin(), times.end());
    std::printf("change_to_diagnostics_median_ms %.2f\n", times[times.size() / 2]);

    times.clear();
    for (int i = 0; i < changes; ++i) {
        const std::string id = std::to_string(1000 + i);
        const Clock::time_point sent = Clock::now();
        server.send(R"({"jsonrpc":"2.0","id":)" + id +
                    R"(,"method":"textDocument/codeAction","params":{"textDocument":{"uri":")" +
                    std::string(kTrenoUri) +
                    R"("},"range":{"start":{"line":0,"character":0},"end":{"line":2000000,)"
                    R"("character":0}},"context":{"diagnostics":[]}}})");
        for (;;) {
            const auto [v, at] = server.receive();
            const scenario::JsonValue* answered = v.find("id");
            if (answered != nullptr && answered->number() != nullptr &&
                answered->number()->whole == 1000 + i)
                break;
        }
        times.push_back(ms(Clock::now() - sent));
    }
    std::sort(times.begin(), times.end());
    std::printf("code_actions_whole_file_median_ms %.2f\n", times[times.size() / 2]);

    std::vector<std::string> messages;
    const std::int64_t first = version + 1;
    for (int i = 0; i < burst; ++i) {
        ++version;
        messages.push_back(text_message("textDocument/didChange", kTrenoUri,
                                        static_cast<int>(version), with_minute(treno, version)));
    }
    // When each change was written whole; 0 until then.
    std::vector<std::atomic<Clock::rep>> written(messages.size());
    const Clock::time_point start = Clock::now();
    std::thread writer([&] {
        for (std::size_t i = 0; i < messages.size(); ++i) {
            server.send(messages[i]);
            written[i] = Clock::now().time_since_epoch().count();
        }
    });
    int publishes = 0;
    int stale = 0;
    // When the previous check's diagnostics arrived: no later check began
    // before.
    Clock::time_point previous = start;
    for (;;) {
        const auto [v, at] = server.receive();
        const std::optional<std::int64_t> published = published_version(v, kTrenoUri);
        if (published) {
            ++publishes;
            const std::int64_t next = *published + 1 - first;  // its index in `written`
            // The next version was written before the server could begin
            // this check.
            const Clock::rep next_written = next >= 0 ? written[next].load() : 0;
            if (*published != version && next_written != 0 &&
                next_written < previous.time_since_epoch().count())
                ++stale;
            previous = at;
        }
        if (published == version) {
            std::printf("burst_changes %d\n", burst);
            std::printf("burst_to_last_diagnostics_ms %.2f\n", ms(at - start));
            break;
        }
    }
    writer.join();
    std::printf("burst_train_publishes %d\n", publishes);
    std::printf("burst_replaced_publishes %d\n", stale);
    return 0;
}
