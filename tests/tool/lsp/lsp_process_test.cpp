// The language server as editors run it: the real tool, started with
// pipes on its standard input and output, then attached to a real editor
// (a headless Neovim, where it is installed). POSIX only.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "content/embedded_texts.h"
#include "content/emitter.h"
#include "lsp_messages.h"
#include "support/lsp_framing.h"

namespace scenario {
namespace {

namespace fsys = std::filesystem;

constexpr int kWaitMs = 10000;
constexpr std::string_view kSignal = "segnale,   20900,   1, 5, 1,  0, 0,    0,  0,0,0, 0";
constexpr std::string_view kMisspelt = "segnal,   20900,   1, 5, 1,  0, 0,    0,  0,0,0, 0";

// A fresh folder with the embedded sources, the train file's signal at
// line 88 misspelt; removed afterwards.
class SourceFolder {
  public:
    SourceFolder() {
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        path_ = fsys::temp_directory_path() / ("scenario_lsp_" + std::to_string(stamp));
        fsys::create_directories(path_);
        put("Alvena_Sorbio_linea.txt", emit_text(testo_linea()));
        treno_ = emit_text(testo_treno());
        put("Alvena_Sorbio_4271-.txt", misspelt());
    }
    ~SourceFolder() {
        std::error_code ignored;
        fsys::remove_all(path_, ignored);
    }
    SourceFolder(const SourceFolder&) = delete;
    SourceFolder& operator=(const SourceFolder&) = delete;

    std::string file(std::string_view name) const { return (path_ / name).string(); }
    void put(std::string_view name, const std::string& bytes) const {
        std::ofstream(file(name), std::ios::binary) << bytes;
    }
    std::string misspelt() const {
        std::string text = treno_;
        text.replace(text.find(kSignal), kSignal.size(), kMisspelt);
        return text;
    }
    const std::string& treno() const { return treno_; }

  private:
    fsys::path path_;
    std::string treno_;
};

// The server with a pipe at each end, as an editor starts it.
class ServerProcess {
  public:
    ServerProcess() {
        int in[2];
        int out[2];
        if (pipe(in) != 0 || pipe(out) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(in[0], STDIN_FILENO);
            dup2(out[1], STDOUT_FILENO);
            close(in[1]);
            close(out[0]);
            execl(SCENARIO_TOOL_EXE, SCENARIO_TOOL_EXE, "lsp", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(in[0]);
        close(out[1]);
        to_ = in[1];
        from_ = out[0];
    }
    ~ServerProcess() {
        if (to_ >= 0) close(to_);
        if (from_ >= 0) close(from_);
        if (pid_ > 0) waitpid(pid_, nullptr, 0);
    }
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    void send(const std::string& body) {
        const std::string frame = testing::framed(body);
        ASSERT_EQ(write(to_, frame.data(), frame.size()), static_cast<ssize_t>(frame.size()));
    }
    // The next message's JSON; empty when the server sends none in time.
    std::string receive() {
        std::size_t end;
        while ((end = buffer_.find("\r\n\r\n")) == std::string::npos) {
            if (!fill()) return {};
        }
        const std::size_t length = std::stoul(buffer_.substr(buffer_.find(':') + 1));
        while (buffer_.size() < end + 4 + length) {
            if (!fill()) return {};
        }
        std::string body = buffer_.substr(end + 4, length);
        buffer_.erase(0, end + 4 + length);
        return body;
    }
    // Closes the input and gives the exit status and what was left unread.
    int finish(std::string* rest) {
        close(to_);
        to_ = -1;
        while (fill()) {
        }
        *rest = buffer_;
        int raw = 0;
        waitpid(pid_, &raw, 0);
        pid_ = -1;
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }

  private:
    bool fill() {
        pollfd p{from_, POLLIN, 0};
        if (poll(&p, 1, kWaitMs) <= 0) return false;
        char chunk[4096];
        const ssize_t n = read(from_, chunk, sizeof chunk);
        if (n <= 0) return false;
        buffer_.append(chunk, static_cast<std::size_t>(n));
        return true;
    }

    pid_t pid_ = -1;
    int to_ = -1;
    int from_ = -1;
    std::string buffer_;
};

TEST(LspProcess, AnEditorTalksToTheServerThroughPipes) {
    SourceFolder folder;
    const std::string uri = "file://" + folder.file("Alvena_Sorbio_4271-.txt");
    ServerProcess server;
    server.send(R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{"capabilities":{}}})");
    EXPECT_NE(server.receive().find(R"("id":1,"result":{"capabilities":)"), std::string::npos);
    server.send(R"({"jsonrpc":"2.0","method":"initialized","params":{}})");
    server.send(testing::text_message("textDocument/didOpen", uri, 1, folder.misspelt()));
    EXPECT_NE(server.receive().find(R"({"range":{"start":{"line":87,"character":0})"
                                    R"(,"end":{"line":87,"character":6}},"severity":2,)"
                                    R"("code":"unknown-keyword")"),
              std::string::npos);
    server.send(testing::text_message("textDocument/didChange", uri, 2, folder.treno()));
    // The embedded timetable leaves only its notes on the margins.
    const std::string fixed = server.receive();
    EXPECT_NE(fixed.find(R"("version":2,"diagnostics":[)"), std::string::npos);
    EXPECT_EQ(fixed.find("unknown-keyword"), std::string::npos);
    server.send(R"({"jsonrpc":"2.0","id":2,"method":"textDocument/hover","params":)"
                R"({"textDocument":{"uri":")" +
                uri + R"("},"position":{"line":87,"character":12}}})");
    EXPECT_NE(server.receive().find("Reads 20900 m: cell 419"), std::string::npos);
    server.send(R"({"jsonrpc":"2.0","id":3,"method":"shutdown"})");
    EXPECT_EQ(server.receive(), R"({"jsonrpc":"2.0","id":3,"result":null})");
    server.send(R"({"jsonrpc":"2.0","method":"exit"})");
    std::string rest;
    EXPECT_EQ(server.finish(&rest), 0);
    EXPECT_EQ(rest, "");  // nothing but protocol messages on the output
}

// The Lua block of the editors' guide that begins with `heading`.
std::string lua_block(std::string_view heading) {
    std::ifstream in(SCENARIO_EDITORS_DOC);
    const std::string doc{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::size_t begin = doc.find("```lua\n" + std::string(heading));
    const std::size_t end = doc.find("```", begin + 7);
    if (begin == std::string::npos || end == std::string::npos) return {};
    return doc.substr(begin + 7, end - begin - 7);
}

// The first Lua block of the editors' guide: the configuration an author
// copies into Neovim's init.lua, with the tool's own path.
std::string neovim_configuration() {
    std::string lua = lua_block("");
    const std::string command = R"({ "scenario_tool", "lsp" })";
    const std::size_t at = lua.find(command);
    if (at == std::string::npos) return {};
    return lua.replace(at, command.size(),
                       std::string(R"({ ")") + SCENARIO_TOOL_EXE + R"(", "lsp" })");
}

// A real editor: headless Neovim, configured as the editors' guide says,
// opens the train file (a misspelt keyword at line 88) and the line file
// (one at line 306), and applies the quick fix offered at line 88 until
// its warning goes; then moves Dorsia's departure three minutes earlier
// and applies the drafted time the server offers, until that warning goes. Skipped where nvim is
// not installed, unless SCENARIO_REQUIRE_NVIM is set (as CI sets it).
TEST(LspProcess, NeovimReceivesTheDiagnosticsAtTheirLines) {
    if (std::system("command -v nvim > /dev/null") != 0) {
        if (std::getenv("SCENARIO_REQUIRE_NVIM") != nullptr) FAIL() << "nvim is not installed";
        GTEST_SKIP() << "nvim (Debian package neovim) is not installed";
    }
    SourceFolder folder;
    std::string linea = emit_text(testo_linea());
    linea.replace(linea.find("cartello_indicatore,  5650"), 19, "cartelo_indicatore");
    folder.put("Alvena_Sorbio_linea.txt", linea);
    const std::string init = folder.file("init.lua");
    const std::string script = folder.file("check.lua");
    const std::string report = folder.file("report.txt");
    const std::string configuration = neovim_configuration();
    ASSERT_FALSE(configuration.empty())
        << "no Lua block naming scenario_tool in " SCENARIO_EDITORS_DOC;
    std::ofstream(init) << configuration;
    std::ofstream(script) << R"(local report, treno, linea = ")" << report << R"(", ")"
                          << folder.file("Alvena_Sorbio_4271-.txt") << R"(", ")"
                          << folder.file("Alvena_Sorbio_linea.txt") << R"lua("
local out = io.open(report, "w")
local function done(status, text)
  out:write(text, "\n")
  out:close()
  vim.cmd(status == 0 and "qa!" or "cq!")
end
vim.cmd("edit " .. vim.fn.fnameescape(treno))
local t = vim.api.nvim_get_current_buf()
vim.cmd("edit " .. vim.fn.fnameescape(linea))
local l = vim.api.nvim_get_current_buf()
local arrived = vim.wait(10000, function()
  return #vim.diagnostic.get(t) > 0 and #vim.diagnostic.get(l) > 0
end, 50)
if not arrived then return done(1, "no diagnostics arrived") end
out:write("clients: ", #vim.lsp.get_active_clients(), "\n")
for _, b in ipairs({ t, l }) do
  for _, d in ipairs(vim.diagnostic.get(b)) do
    out:write(string.format("%s:%d:%d: severity %d: %s [%s]\n",
      vim.fn.fnamemodify(vim.api.nvim_buf_get_name(b), ":t"), d.lnum + 1, d.col + 1,
      d.severity, d.message, d.code))
  end
end
local answers = vim.lsp.buf_request_sync(t, "textDocument/hover",
  { textDocument = { uri = vim.uri_from_bufnr(t) }, position = { line = 88, character = 12 } },
  10000)
for _, a in pairs(answers or {}) do
  if a.result then out:write("hover at line 89:\n", a.result.contents.value, "\n") end
end
local actions = vim.lsp.buf_request_sync(t, "textDocument/codeAction",
  { textDocument = { uri = vim.uri_from_bufnr(t) },
    range = { start = { line = 87, character = 2 }, ["end"] = { line = 87, character = 2 } },
    context = { diagnostics = {} } }, 10000)
for _, a in pairs(actions or {}) do
  for _, action in ipairs(a.result or {}) do
    out:write("action at line 88: ", action.title, "\n")
    vim.lsp.util.apply_workspace_edit(action.edit, "utf-16")
  end
end
out:write("line 88 now: ", vim.api.nvim_buf_get_lines(t, 87, 88, false)[1], "\n")
local mended = vim.wait(10000, function()
  for _, d in ipairs(vim.diagnostic.get(t)) do
    if d.code == "unknown-keyword" then return false end
  end
  return true
end, 50)
out:write("mended: ", tostring(mended), "\n")
local function has(code)
  for _, d in ipairs(vim.diagnostic.get(t)) do
    if d.code == code then return true end
  end
  return false
end
vim.api.nvim_buf_set_lines(t, 52, 53, false,
  { "stazione,   22500, 22,  300,  0, 0, 0,  0,0,0,  4,1,1,   60,  18, 6, 0, DORSIA" })
out:write("too tight: ", tostring(vim.wait(10000, function() return has("timetable-too-tight") end, 50)), "\n")
actions = vim.lsp.buf_request_sync(t, "textDocument/codeAction",
  { textDocument = { uri = vim.uri_from_bufnr(t) },
    range = { start = { line = 52, character = 66 }, ["end"] = { line = 52, character = 66 } },
    context = { diagnostics = {} } }, 10000)
for _, a in pairs(actions or {}) do
  local action = (a.result or {})[1]
  if action then
    out:write("action at line 53: ", action.title, "\n")
    vim.lsp.util.apply_workspace_edit(action.edit, "utf-16")
  end
end
out:write("line 53 now: ", vim.api.nvim_buf_get_lines(t, 52, 53, false)[1], "\n")
out:write("kept: ", tostring(vim.wait(10000, function() return not has("timetable-too-tight") end, 50)), "\n")
for _, c in ipairs(vim.lsp.get_active_clients()) do c.stop() end
done(0, "done")
)lua";
    const std::string command = "nvim --headless --clean -i NONE -n -u \"" + init +
                                "\" -c \"luafile " + script + "\" > /dev/null 2>&1 < /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::ifstream in(report);
    const std::string seen{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::cout << seen;
    for (const char* line :
         {"clients: 1\n",
          "Alvena_Sorbio_4271-.txt:88:1: severity 2: keyword `segnal` selects no record kind: the "
          "line is skipped [unknown-keyword]\n",
          "Alvena_Sorbio_linea.txt:306:1: severity 2: keyword `cartelo_indicatore` selects no "
          "record kind: the line is skipped [unknown-keyword]\n",
          "Reads **21950** m: cell 440", "action at line 88: Replace `segnal` with `segnale`\n",
          "line 88 now: segnale,   20900,", "mended: true\n", "too tight: true\n",
          "action at line 53: Set the time of DORSIA to 18:08:00, drafted from the fastest run\n",
          "line 53 now: stazione,   22500, 22,  300,  0, 0, 0,  0,0,0,  4,1,1,   60,  18, 8, 0, "
          "DORSIA\n",
          "kept: true\n", "\ndone\n"}) {
        EXPECT_NE(seen.find(line), std::string::npos) << line << "\nin:\n" << seen;
    }
}

// Headless Neovim with the guide's configuration and its lines that lay out
// a file on every write: a train file whose columns were broken by hand is
// written as the builder writes it.
TEST(LspProcess, NeovimLaysOutAFileAsItIsWritten) {
    if (std::system("command -v nvim > /dev/null") != 0) {
        if (std::getenv("SCENARIO_REQUIRE_NVIM") != nullptr) FAIL() << "nvim is not installed";
        GTEST_SKIP() << "nvim (Debian package neovim) is not installed";
    }
    SourceFolder folder;
    const std::string treno = emit_text(testo_treno());
    std::string broken = treno;
    for (const auto& [row, by_hand] :
         {std::pair{"stazione,    8550, 22,  300", "stazione,8550,22, 300"},
          std::pair{"segnale,    1250,", "  segnale, 1250,\t"}})
        broken.replace(broken.find(row), std::string_view(row).size(), by_hand);
    folder.put("Alvena_Sorbio_4271-.txt", broken);
    const std::string init = folder.file("init.lua");
    const std::string script = folder.file("write.lua");
    const std::string on_write = lua_block("-- scenario_tool format");
    ASSERT_FALSE(on_write.empty()) << "no Lua block for formatting in " SCENARIO_EDITORS_DOC;
    std::ofstream(init) << neovim_configuration() << on_write;
    std::ofstream(script) << R"(local treno = ")" << folder.file("Alvena_Sorbio_4271-.txt")
                          << R"lua("
vim.cmd("edit " .. vim.fn.fnameescape(treno))
local t = vim.api.nvim_get_current_buf()
if not vim.wait(10000, function() return #vim.diagnostic.get(t) > 0 end, 50) then
  vim.cmd("cq!")
end
vim.cmd("write")
for _, c in ipairs(vim.lsp.get_active_clients()) do c.stop() end
vim.cmd("qa!")
)lua";
    const std::string command = "nvim --headless --clean -i NONE -n -u \"" + init +
                                "\" -c \"luafile " + script + "\" > /dev/null 2>&1 < /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::ifstream in(folder.file("Alvena_Sorbio_4271-.txt"), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()),
              treno);
}

}  // namespace
}  // namespace scenario
