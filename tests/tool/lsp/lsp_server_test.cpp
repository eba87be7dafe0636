#include "tool/lsp/server.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "compiler/source_check.h"
#include "content/embedded_texts.h"
#include "content/emitter.h"
#include "lsp_messages.h"
#include "support/embedded_build.h"
#include "support/lsp_framing.h"
#include "support/memory_file_system.h"
#include "tool/commands/tool.h"
#include "tool/features/field_hover.h"
#include "tool/json/json_reader.h"
#include "tool/lsp/transport.h"

namespace scenario {
namespace {

constexpr std::string_view kFolder = "/mine";
constexpr std::string_view kLineaUri = "file:///mine/Alvena_Sorbio_linea.txt";
constexpr std::string_view kTrenoUri = "file:///mine/Alvena_Sorbio_4271-.txt";
constexpr std::string_view kInitialize =
    R"({"capabilities":{"textDocument":{"hover":{"contentFormat":["markdown","plaintext"]}}}})";

// The text with the line that begins with `line` replaced by `becomes`.
std::string edited(std::string text, std::string_view line, std::string_view becomes) {
    const std::size_t at = text.find("\n" + std::string(line));
    EXPECT_NE(at, std::string::npos) << line;
    if (at == std::string::npos) return text;
    text.replace(at + 1, text.find('\r', at) - at - 1, becomes);
    return text;
}

// An editor talking to the server: the messages it sends, then what the
// server answered, each message as the server wrote it. Each message
// arrives on its own, as from an editor that waits for the server, except
// those of a burst, which arrive together.
class LspSession {
  public:
    testing::MemoryFileSystem disk;
    LspLimits limits;
    std::vector<std::string> input;
    std::vector<std::string> bodies;
    std::string log;
    int status = -1;

    void raw(std::string_view bytes) { add(std::string(bytes)); }
    void send(std::string_view body) { add(testing::framed(body)); }
    // The messages sent in `messages` arrive together.
    template <typename Messages>
    void burst(Messages messages) {
        bursting_ = true;
        input.emplace_back();
        messages();
        bursting_ = false;
    }
    void request(int id, std::string_view method, std::string_view params) {
        send(R"({"jsonrpc":"2.0","id":)" + std::to_string(id) + R"(,"method":")" +
             std::string(method) + R"(","params":)" + std::string(params) + "}");
    }
    void notify(std::string_view method, std::string_view params) {
        send(R"({"jsonrpc":"2.0","method":")" + std::string(method) + R"(","params":)" +
             std::string(params) + "}");
    }
    void text(std::string_view method, std::string_view uri, int version, std::string_view text) {
        send(testing::text_message(method, uri, version, text));
    }
    void at(int id, std::string_view method, std::string_view uri, std::string_view where) {
        request(id, method,
                R"({"textDocument":{"uri":")" + std::string(uri) + R"("})" +
                    (where.empty() ? "" : ",") + std::string(where) + "}");
    }

    void run() {
        testing::PacedInput paced(input);
        std::istream in(&paced);
        std::ostringstream out;
        std::ostringstream err;
        const auto list = [this](const std::string& folder) {
            std::vector<std::string> names;
            for (const auto& [path, bytes] : disk.files) {
                if (path.rfind(folder + "/", 0) == 0)
                    names.push_back(path.substr(folder.size() + 1));
            }
            return names;
        };
        status = serve_lsp(in, LspEnvironment{disk, list, out, err, limits});
        log = err.str();
        // Everything on the output is framed messages of JSON.
        std::istringstream written(out.str());
        FrameReader frames(written);
        for (Frame f = frames.next(); f.status != Frame::Status::end; f = frames.next()) {
            ASSERT_EQ(f.status, Frame::Status::message);
            std::string error;
            EXPECT_TRUE(parse_json(f.body, &error)) << error << ": " << f.body;
            bodies.push_back(f.body);
        }
    }

    std::string answer(int id) const {
        const std::string head = R"({"jsonrpc":"2.0","id":)" + std::to_string(id) + ",";
        for (const std::string& b : bodies) {
            if (b.rfind(head, 0) == 0) return b.substr(head.size(), b.size() - head.size() - 1);
        }
        return "(none)";
    }
    // The diagnostics published for `uri`, one list per notification.
    std::vector<std::string> published(std::string_view uri) const {
        const std::string head = R"({"jsonrpc":"2.0","method":"textDocument/publishDiagnostics",)"
                                 R"("params":{"uri":")" +
                                 std::string(uri) + "\",";
        std::vector<std::string> lists;
        for (const std::string& b : bodies) {
            if (b.rfind(head, 0) != 0) continue;
            const std::size_t list = b.find("\"diagnostics\":");
            lists.push_back(b.substr(list + 14, b.size() - list - 16));
        }
        return lists;
    }
    // The versions of the diagnostics published for `uri`, in order.
    std::vector<std::int64_t> published_versions(std::string_view uri) const {
        std::vector<std::int64_t> versions;
        for (const std::string& b : bodies) {
            std::string error;
            const JsonValue v = *parse_json(b, &error);
            const JsonValue* params = v.find("params");
            const JsonValue* at = params == nullptr ? nullptr : params->find("uri");
            if (at == nullptr || at->string() == nullptr || *at->string() != uri) continue;
            const JsonValue* version = params->find("version");
            versions.push_back(version == nullptr ? -1 : *version->number()->whole);
        }
        return versions;
    }
    // Every message in brief: "id:result", "id:error CODE" or the method.
    std::vector<std::string> summary() const {
        std::vector<std::string> out;
        for (const std::string& b : bodies) {
            std::string error;
            const JsonValue v = *parse_json(b, &error);
            const JsonValue* id = v.find("id");
            const std::size_t from = std::string_view(R"({"jsonrpc":"2.0","id":)").size();
            const std::string who = id == nullptr ? "" : b.substr(from, b.find(',', from) - from);
            if (const JsonValue* e = v.find("error")) {
                out.push_back(who + ":error " + std::to_string(*e->find("code")->number()->whole));
            } else if (v.find("result") != nullptr) {
                out.push_back(who + ":result");
            } else {
                out.push_back(*v.find("method")->string());
            }
        }
        return out;
    }

  private:
    void add(std::string bytes) {
        if (bursting_) {
            input.back() += bytes;
        } else {
            input.push_back(std::move(bytes));
        }
    }
    bool bursting_ = false;
};

// The notes the embedded train file gives: three sections have less than
// the standard margin.
const std::string kMarginNotes =
    R"({"range":{"start":{"line":50,"character":62},"end":{"line":50,"character":70}},)"
    R"("severity":3,"code":"margin-below-standard","source":"scenario_tool","message":)"
    R"("station BORGO FERRANTE: a margin of -19 s, under the standard 16 s for its 7.2 km )"
    R"(and its fastest run of 5 min 19 s"},)"
    R"({"range":{"start":{"line":71,"character":62},"end":{"line":71,"character":70}},)"
    R"("severity":3,"code":"margin-below-standard","source":"scenario_tool","message":)"
    R"("station CERVARA: a margin of -1 s, under the standard 11 s for its 4.8 km and its )"
    R"(fastest run of 3 min 31 s"},)"
    R"({"range":{"start":{"line":74,"character":62},"end":{"line":74,"character":70}},)"
    R"("severity":3,"code":"margin-below-standard","source":"scenario_tool","message":)"
    R"("station SORBIO: a margin of -38 s, under the standard 10 s for its 4.3 km and its )"
    R"(fastest run of 3 min 38 s"})";

TEST(LspServer, AnEditorSessionUnderlinesHoversLabelsAndOutlines) {
    const std::string treno = emit_text(testo_treno());
    LspSession s;
    s.disk.files["/mine/Alvena_Sorbio_linea.txt"] = emit_text(testo_linea());
    s.request(1, "initialize", kInitialize);
    s.notify("initialized", "{}");
    s.text("textDocument/didOpen", kTrenoUri, 1,
           edited(treno, "segnale,   20900", "segnal,   20900"));
    s.text("textDocument/didChange", kTrenoUri, 2, treno);
    s.at(2, "textDocument/hover", kTrenoUri, R"("position":{"line":87,"character":13})");
    s.at(3, "textDocument/inlayHint", kTrenoUri,
         R"("range":{"start":{"line":87,"character":0},"end":{"line":87,"character":99}})");
    s.at(4, "textDocument/documentSymbol", kTrenoUri, {});
    s.request(5, "shutdown", "null");
    s.notify("exit", "null");
    s.run();

    EXPECT_EQ(s.status, 0);
    EXPECT_EQ(s.log, "");
    EXPECT_EQ(s.answer(1),
              R"("result":{"capabilities":{"positionEncoding":"utf-16","textDocumentSync":)"
              R"({"openClose":true,"change":1,"save":{"includeText":false}},"hoverProvider":true,)"
              R"("inlayHintProvider":true,"documentSymbolProvider":true,)"
              R"("documentFormattingProvider":true,"documentRangeFormattingProvider":true,)"
              R"("codeActionProvider":{"codeActionKinds":["quickfix"]}},"serverInfo":)"
              R"({"name":"scenario_tool","version":")" +
                  std::string(tool_version()) + R"("}})");
    const std::vector<std::string> expected = {
        "[" + kMarginNotes + "," +
            R"({"range":{"start":{"line":87,"character":0},"end":{"line":87,"character":6}},)"
            R"("severity":2,"code":"unknown-keyword","source":"scenario_tool","message":)"
            R"("keyword `segnal` selects no record kind: the line is skipped"}])",
        "[" + kMarginNotes + "]"};
    EXPECT_EQ(s.published(kTrenoUri), expected);
    EXPECT_EQ(s.answer(2),
              R"("result":{"contents":{"kind":"markdown","value":"**signal**, field 1 of 11: )"
              R"(**posizione**\n\nLong, m, 325 or more\n\nposition of the signal; its approach )"
              R"(marks need 325 m before it\n\nReads **20900** m: cell 419 (20950 to 21000 m), )"
              R"j(the cell after it, R(20900 / 50 + 1)"},"range":{"start":{"line":87,)j"
              R"("character":11},"end":{"line":87,"character":16}}})");
    // segnale,   20900,   1, 5, 1,  0, 0,    0,  0,0,0, 0
    std::string hints;
    for (const auto& [name, character] : std::vector<std::pair<std::string, int>>{{"posizione", 11},
                                                                                  {"sx", 20},
                                                                                  {"s1", 23},
                                                                                  {"s2", 26},
                                                                                  {"s3", 30},
                                                                                  {"rapp", 33},
                                                                                  {"dx", 39},
                                                                                  {"d1", 43},
                                                                                  {"d2", 45},
                                                                                  {"d3", 47},
                                                                                  {"tempo", 50}}) {
        hints += std::string(hints.empty() ? "" : ",") + R"({"position":{"line":87,"character":)" +
                 std::to_string(character) + R"(},"label":")" + name +
                 R"(:","kind":2,"paddingRight":true})";
    }
    EXPECT_EQ(s.answer(3), R"("result":[)" + hints + "]");
    const std::string outline = s.answer(4);
    for (const char* entry :
         {R"("result":[{"name":"[generale]","kind":3,"range":{"start":{"line":0,"character":0},)"
          R"("end":{"line":4,"character":46}},"selectionRange":{"start":{"line":0,"character":0},)"
          R"("end":{"line":0,"character":10}},"children":[{"name":"carriages","detail":)"
          R"("numero vetture","kind":7,)",
          R"({"name":"ALVENA P.NUOVA","detail":"station at 0 m","kind":23,"range":{"start":)"
          R"({"line":46,"character":0},"end":{"line":46,"character":86}},)",
          R"({"name":"signal at 20900 m","detail":"segnale","kind":24,)",
          R"({"name":"[fine]","kind":3,)"}) {
        EXPECT_NE(outline.find(entry), std::string::npos) << entry << "\nin " << outline;
    }
    EXPECT_EQ(s.answer(5), R"("result":null)");
}

TEST(LspServer, InputItCannotUseGetsTheProtocolsAnswers) {
    struct Row {
        std::vector<std::string_view> messages;  // after initialize
        std::vector<std::string_view> answers;   // in brief, after initialize's
        int status;                              // without shutdown: 1
    };
    const Row rows[] = {
        {{"{bad"}, {"null:error -32700"}, 1},
        {{"[1]"}, {"null:error -32600"}, 1},
        {{R"({"jsonrpc":"1.0","id":3,"method":"shutdown"})"}, {"3:error -32600"}, 1},
        {{R"({"jsonrpc":"2.0","id":{},"method":"shutdown"})"}, {"null:error -32600"}, 1},
        {{R"({"jsonrpc":"2.0","id":3,"method":7})"}, {"3:error -32600"}, 1},
        {{R"({"jsonrpc":"2.0","id":3,"method":"shutdown","params":5})"}, {"3:error -32600"}, 1},
        {{R"({"jsonrpc":"2.0","id":7,"method":"textDocument/definition","params":{}})",
          R"({"jsonrpc":"2.0","id":8,"method":"$/cancel","params":{}})"},
         {"7:error -32601", "8:error -32601"},
         1},
        // Notifications never get an answer, nor do answers to the server.
        {{R"({"jsonrpc":"2.0","method":"$/setTrace","params":{"value":"off"}})",
          R"({"jsonrpc":"2.0","method":"textDocument/didOpen","params":{}})",
          R"({"jsonrpc":"2.0","id":1,"result":null})"},
         {},
         1},
        {{R"({"jsonrpc":"2.0","id":"a","method":"textDocument/hover","params":{"textDocument":{"uri":"file:///x"}}})",
          R"({"jsonrpc":"2.0","id":"b","method":"textDocument/inlayHint","params":{"textDocument":{"uri":"file:///x"},"range":{}}})",
          R"({"jsonrpc":"2.0","id":"c","method":"textDocument/hover","params":{"position":{"line":0,"character":-1}}})",
          R"({"jsonrpc":"2.0","id":"d","method":"textDocument/documentSymbol","params":{}})"},
         {R"("a":error -32602)", R"("b":error -32602)", R"("c":error -32602)",
          R"("d":error -32602)"},
         1},
        // A document that is no source file gets no diagnostics and empty answers.
        {{R"({"jsonrpc":"2.0","method":"textDocument/didOpen","params":{"textDocument":{"uri":"file:///mine/notes.txt","version":1,"text":"segnal, 1"}}})",
          R"({"jsonrpc":"2.0","id":2,"method":"textDocument/hover","params":{"textDocument":{"uri":"file:///mine/notes.txt"},"position":{"line":0,"character":0}}})",
          R"({"jsonrpc":"2.0","id":3,"method":"textDocument/documentSymbol","params":{"textDocument":{"uri":"untitled:Untitled-1"}}})"},
         {"2:result", "3:result"},
         1},
        {{R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{}})"}, {"1:error -32600"}, 1},
        {{R"({"jsonrpc":"2.0","id":2,"method":"shutdown"})",
          R"({"jsonrpc":"2.0","id":3,"method":"textDocument/documentSymbol","params":{"textDocument":{"uri":"file:///x"}}})",
          R"({"jsonrpc":"2.0","method":"exit"})",
          R"({"jsonrpc":"2.0","id":4,"method":"shutdown"})"},
         {"2:result", "3:error -32600"},
         0},
    };
    for (const Row& row : rows) {
        LspSession s;
        s.request(1, "initialize", "{}");
        for (const std::string_view m : row.messages)
            s.send(m);
        s.run();
        std::vector<std::string> expected = {"1:result"};
        expected.insert(expected.end(), row.answers.begin(), row.answers.end());
        EXPECT_EQ(s.summary(), expected) << row.messages.front();
        EXPECT_EQ(s.status, row.status) << row.messages.front();
    }
}

TEST(LspServer, BrokenFramesCostOneErrorEachAndTheSessionGoesOn) {
    struct Row {
        std::string before;  // bytes before a request with id 9
        std::vector<std::string_view> answers;
    };
    const std::string huge =
        R"({"jsonrpc":"2.0","method":"x","params":")" + std::string(300, 'a') + "\"}";
    const std::string huge_frame = testing::framed(huge);
    const Row rows[] = {
        {"\r\n\r\n", {"9:error -32002"}},
        {"Content-Type: application/json\r\n\r\n{}", {"null:error -32700", "9:error -32002"}},
        {"Content-Length: x\r\n\r\n{}", {"null:error -32700", "9:error -32002"}},
        {"garbage without a colon\r\n", {"null:error -32700", "9:error -32002"}},
        {"Content-Length: 2\r\nContent-Length: 3\r\n\r\n{}",
         {"null:error -32700", "9:error -32002"}},
        {"X: " + std::string(5000, 'x') + "\r\n", {"null:error -32700", "9:error -32002"}},
        {huge_frame, {"null:error -32600", "9:error -32002"}},
        // The message breaks off: nothing more is read.
        {"Content-Length: 100\r\n\r\n{}", {}},
    };
    for (const Row& row : rows) {
        LspSession s;
        s.limits.max_message = 200;
        s.raw(row.before);
        s.request(9, "shutdown", "null");
        s.run();
        std::vector<std::string> answers(row.answers.begin(), row.answers.end());
        EXPECT_EQ(s.summary(), answers) << row.before.substr(0, 40);
    }
}

// Over a stop's time the hover adds the run's earliest time and the margin;
// a hint at the end of the row gives the fastest run from the stop before.
TEST(LspServer, AStopRowShowsItsRunAndMargin) {
    LspSession s;
    s.disk.files["/mine/Alvena_Sorbio_linea.txt"] = emit_text(testo_linea());
    s.request(1, "initialize", "{}");
    s.text("textDocument/didOpen", kTrenoUri, 1, emit_text(testo_treno()));
    // "stazione,   22500, 22, ...,  18, 9, 0, DORSIA": its minutes.
    s.at(2, "textDocument/hover", kTrenoUri, R"("position":{"line":52,"character":67})");
    s.at(3, "textDocument/inlayHint", kTrenoUri,
         R"("range":{"start":{"line":52,"character":0},"end":{"line":53,"character":0}})");
    s.run();
    EXPECT_NE(s.answer(2).find("Earliest departure: 18:07:19, margin +101 s (+33.5 %); the "
                               "fastest run from the stop before takes 5 min 1 s"),
              std::string::npos)
        << s.answer(2);
    EXPECT_NE(s.answer(3).find(R"x("label":"  run 5 min 1 s, margin +101 s (+33.5 %)","kind":1)x"),
              std::string::npos)
        << s.answer(3);
}

// Formatting answers with edits of blanks only: none for the embedded file,
// the broken row's blanks for the whole document and for a range over it,
// and nothing for a range elsewhere.
TEST(LspServer, FormattingEditsTheBlanksOfTheRowsAsked) {
    const std::string treno = emit_text(testo_treno());
    LspSession s;
    s.disk.files["/mine/Alvena_Sorbio_linea.txt"] = emit_text(testo_linea());
    s.request(1, "initialize", "{}");
    s.text("textDocument/didOpen", kLineaUri, 1, emit_text(testo_linea()));
    s.text("textDocument/didOpen", kTrenoUri, 1, edited(treno, "sabbia,    300", "sabbia,300 "));
    s.at(2, "textDocument/formatting", kLineaUri, R"("options":{"tabSize":4,"insertSpaces":true})");
    s.at(3, "textDocument/formatting", kTrenoUri, R"("options":{"tabSize":4,"insertSpaces":true})");
    s.at(
        4, "textDocument/rangeFormatting", kTrenoUri,
        R"("range":{"start":{"line":3,"character":2},"end":{"line":3,"character":2}},"options":{})");
    s.at(
        5, "textDocument/rangeFormatting", kTrenoUri,
        R"("range":{"start":{"line":5,"character":0},"end":{"line":9,"character":0}},"options":{})");
    s.run();
    const std::string edits =
        R"("result":[{"range":{"start":{"line":3,"character":7},"end":{"line":3,"character":7}},)"
        R"("newText":"    "},{"range":{"start":{"line":3,"character":10},"end":{"line":3,)"
        R"("character":11}},"newText":""}])";
    EXPECT_EQ(s.answer(2), R"("result":[])");
    EXPECT_EQ(s.answer(3), edits);
    EXPECT_EQ(s.answer(4), edits);
    EXPECT_EQ(s.answer(5), R"("result":[])");
}

// Quick fixes stand where their diagnostics do, each with its edit of the
// document; a client that asks for other kinds of action gets none.
TEST(LspServer, QuickFixesAreOfferedWhereTheirDiagnosticsStand) {
    std::string treno = edited(emit_text(testo_treno()), "segnale,   20900", "segnal,   20900");
    treno =
        edited(treno, "stazione,   22500",
               "stazione,   22500, 22,  300,  0, 0, 0,  0,0,0,  4,1,1,   60,  18, 6, 0, DORSIA");
    LspSession s;
    s.disk.files["/mine/Alvena_Sorbio_linea.txt"] = emit_text(testo_linea());
    s.request(1, "initialize", "{}");
    s.text("textDocument/didOpen", kTrenoUri, 1, treno);
    s.at(2, "textDocument/codeAction", kTrenoUri,
         R"("range":{"start":{"line":87,"character":3},"end":{"line":87,"character":3}},)"
         R"("context":{"diagnostics":[]})");
    s.at(3, "textDocument/codeAction", kTrenoUri,
         R"("range":{"start":{"line":52,"character":64},"end":{"line":52,"character":64}},)"
         R"("context":{"diagnostics":[]})");
    s.at(4, "textDocument/codeAction", kTrenoUri,
         R"("range":{"start":{"line":87,"character":3},"end":{"line":87,"character":3}},)"
         R"("context":{"diagnostics":[],"only":["refactor"]})");
    s.run();
    EXPECT_EQ(s.answer(2),
              R"("result":[{"title":"Replace `segnal` with `segnale`","kind":"quickfix",)"
              R"("diagnostics":[{"range":{"start":{"line":87,"character":0},"end":{"line":87,)"
              R"("character":6}},"severity":2,"code":"unknown-keyword","source":"scenario_tool",)"
              R"("message":"keyword `segnal` selects no record kind: the line is skipped"}],)"
              R"("isPreferred":true,"edit":{"changes":{"file:///mine/Alvena_Sorbio_4271-.txt":)"
              R"([{"range":{"start":{"line":87,"character":0},"end":{"line":87,"character":6}},)"
              R"("newText":"segnale"}]}}}])");
    const std::string dorsia = s.answer(3);
    for (const char* part :
         {R"({"title":"Set the time of DORSIA to 18:08:00, drafted from the fastest run",)"
          R"("kind":"quickfix","diagnostics":[{"range":{"start":{"line":52,"character":62},)",
          R"("isPreferred":false,"edit":{"changes":{"file:///mine/Alvena_Sorbio_4271-.txt":)"
          R"([{"range":{"start":{"line":52,"character":65},"end":{"line":52,"character":67}},)"
          R"("newText":" 8"}]}}})",
          R"({"title":"Draft the whole timetable from the fastest run","kind":"quickfix",)"}) {
        EXPECT_NE(dorsia.find(part), std::string::npos) << part << "\nin " << dorsia;
    }
    EXPECT_EQ(s.answer(4), R"("result":[])");
}

// Changes that arrive together, as while the server is busy, are checked
// once, at the last text: no replaced version is published, and a request
// among them is answered against the text the changes before it left.
TEST(LspServer, ChangesThatArriveTogetherAreCheckedOnceAtTheLastText) {
    const std::string treno = emit_text(testo_treno());
    const std::string misspelt = edited(treno, "segnale,   20900", "segnal,   20900");
    struct Row {
        int changes;            // versions 2 to changes + 1, alternately misspelt
        bool hover_sees_right;  // the last version before the hover is right
    };
    for (const Row row : {Row{1, false}, Row{8, true}, Row{9, false}}) {
        LspSession s;
        s.disk.files["/mine/Alvena_Sorbio_linea.txt"] = emit_text(testo_linea());
        s.request(1, "initialize", "{}");
        s.burst([&] {
            s.text("textDocument/didOpen", kTrenoUri, 1, treno);
            for (int v = 2; v <= row.changes + 1; ++v)
                s.text("textDocument/didChange", kTrenoUri, v, v % 2 == 0 ? misspelt : treno);
            s.at(2, "textDocument/hover", kTrenoUri, R"("position":{"line":87,"character":2})");
            s.text("textDocument/didChange", kTrenoUri, 100, misspelt);
        });
        s.run();
        EXPECT_EQ(s.published_versions(kTrenoUri), std::vector<std::int64_t>{100}) << row.changes;
        ASSERT_EQ(s.published(kTrenoUri).size(), 1u);
        EXPECT_NE(s.published(kTrenoUri)[0].find("keyword `segnal` selects no record kind"),
                  std::string::npos);
        EXPECT_EQ(s.answer(2).find("signal") != std::string::npos, row.hover_sees_right)
            << row.changes << s.answer(2);
    }
}

// The two files of a line are checked together, each as the editor holds
// it when it is open there, else as the disk does.
TEST(LspServer, ATrainFileIsCheckedAgainstItsLineFile) {
    const std::string linea = emit_text(testo_linea());
    const std::string treno = emit_text(testo_treno());
    LspSession s;
    s.request(1, "initialize", "{}");
    s.text("textDocument/didOpen", kTrenoUri, 1, treno);  // no line file anywhere
    s.text("textDocument/didOpen", kLineaUri, 1,
           edited(linea, "cartello_indicatore,  5650",
                  "cartelo_indicatore,  5650,   (POGGIO ALTO)( 187 m.    )"));
    s.text("textDocument/didChange", kLineaUri, 2, linea);
    s.notify("textDocument/didClose",
             R"({"textDocument":{"uri":"file:///mine/Alvena_Sorbio_linea.txt"}})");
    s.run();
    const std::vector<std::string> train = {
        R"([{"range":{"start":{"line":0,"character":0},"end":{"line":0,"character":0}},)"
        R"("severity":1,"code":"missing-source","source":"scenario_tool","message":)"
        R"("Alvena_Sorbio_linea.txt: the line source file is missing"}])",
        "[" + kMarginNotes + "]", "[" + kMarginNotes + "]",
        R"([{"range":{"start":{"line":0,"character":0},"end":{"line":0,"character":0}},)"
        R"("severity":1,"code":"missing-source","source":"scenario_tool","message":)"
        R"("Alvena_Sorbio_linea.txt: the line source file is missing"}])"};
    EXPECT_EQ(s.published(kTrenoUri), train);
    const std::vector<std::string> line = {
        R"([{"range":{"start":{"line":305,"character":0},"end":{"line":305,"character":18}},)"
        R"("severity":2,"code":"unknown-keyword","source":"scenario_tool","message":)"
        R"("keyword `cartelo_indicatore` selects no record kind: the line is skipped"}])",
        "[]", "[]"};
    EXPECT_EQ(s.published(kLineaUri), line);
}

// A line file opened alone is checked with the train file of its line on
// the disk; that file's errors stand at the top, pointing to their place.
TEST(LspServer, ALineFileAloneShowsTheErrorsOfItsTrainFile) {
    LspSession s;
    s.disk.files["/mine/Alvena_Sorbio_4271-.txt"] =
        edited(emit_text(testo_treno()), "stazione,   22500",
               "stazione,   22525, 22,  300,  0, 0, 0,  0,0,0,  4,1,1,   60,  18, 9, 0, DORSIA");
    s.disk.files["/mine/notes.txt"] = "";
    s.request(1, "initialize", R"({"capabilities":{"general":{"positionEncodings":["utf-8"]}}})");
    s.text("textDocument/didOpen", kLineaUri, 4, emit_text(testo_linea()));
    s.run();
    EXPECT_NE(s.answer(1).find(R"("positionEncoding":"utf-8")"), std::string::npos);
    const std::vector<std::string> expected = {
        R"([{"range":{"start":{"line":0,"character":0},"end":{"line":0,"character":0}},)"
        R"("severity":1,"code":"recorded-code","source":"scenario_tool","message":)"
        R"("Alvena_Sorbio_4271-.txt:53:13: code 8: station position is not a multiple of 50, )"
        R"(at 22525 m\nhint: station at 22525 m: `posizione` 22525 is not a multiple of 50 )"
        R"j((code 8)","relatedInformation":[{"location":{"uri":)j"
        R"("file:///mine/Alvena_Sorbio_4271-.txt","range":{"start":{"line":52,"character":12},)"
        R"("end":{"line":52,"character":17}}},"message":"code 8: station position is not a )"
        R"(multiple of 50, at 22525 m"}]}])"};
    EXPECT_EQ(s.published(kLineaUri), expected);
}

// Columns count in the editor's units: a station name with an accented
// letter and a character Windows-1252 lacks (read as "?").
TEST(LspServer, PositionsCountInTheEditorsUnits) {
    const std::string name = "CITT\xC3\x80 \xF0\x9F\x9A\x82";  // CITTA grave, a locomotive
    const std::string treno =
        edited(emit_text(testo_treno()), "stazione,    8550",
               "stazione,    8550, 22,  300,  0, 0, 0,  0,0,0,  4,1,1,   30,  17,55, 0, " + name +
                   ", EST");
    struct Row {
        std::string_view encoding;
        int extra_at;  // where the rest of the line begins
        int hover_at;  // a place inside the name
    };
    // The name begins at 72: CITTA grave, a blank, the locomotive, ", EST".
    const Row rows[] = {{"utf-16", 82, 79}, {"utf-8", 85, 82}, {"utf-32", 81, 78}};
    for (const Row& row : rows) {
        LspSession s;
        s.disk.files["/mine/Alvena_Sorbio_linea.txt"] = emit_text(testo_linea());
        s.request(1, "initialize",
                  R"({"capabilities":{"general":{"positionEncodings":[")" +
                      std::string(row.encoding) + R"("]}}})");
        s.text("textDocument/didOpen", kTrenoUri, 1, treno);
        s.at(2, "textDocument/hover", kTrenoUri,
             R"("position":{"line":48,"character":)" + std::to_string(row.hover_at) + "}");
        s.run();
        const std::vector<std::string> published = s.published(kTrenoUri);
        ASSERT_EQ(published.size(), 1u);
        const std::string start =
            R"({"start":{"line":48,"character":)" + std::to_string(row.extra_at) + "}";
        EXPECT_NE(published[0].find(start), std::string::npos) << row.encoding << published[0];
        EXPECT_NE(s.answer(2).find("Reads CITT\xC3\x80 ?"), std::string::npos)
            << row.encoding << s.answer(2);
    }
}

// The cell a hover names is the one the compiler writes: a signal, a speed
// board and a name sign on the cell after their position, a gradient from
// its own cell on.
TEST(LspServer, CellsNamedOverPositionsAreTheCompilersCells) {
    testing::EmbeddedBuild& b = testing::embedded_build();
    struct Row {
        RecordKindId kind;
        std::uint8_t tipo;  // what the cell holds; 0: the gradient
    };
    const Row rows[] = {{RecordKindId::segnale, tipo_cella::kSegnale},
                        {RecordKindId::indicatori_vmax, tipo_cella::kIndicatoreVMax},
                        {RecordKindId::cartello_indicatore, tipo_cella::kCartelloIndicatore},
                        {RecordKindId::pendenza, 0}};
    const SourceCheck linea = check_linea(b.linea_txt, true);
    const SourceCheck treno = check_treno(b.treno_txt, std::nullopt);
    for (const Row& row : rows) {
        const bool in_linea = row.kind != RecordKindId::segnale;
        const SourceCheck& check = in_linea ? linea : treno;
        const std::string& text = in_linea ? b.linea_txt : b.treno_txt;
        int seen = 0;
        for (const CheckedRecord& r : check.records) {
            if (r.kind != row.kind) continue;
            const auto note = hover_note(text, check, r.fields[0].begin, false);
            ASSERT_TRUE(note);
            const std::size_t at = note->text.find(": cell ") + 7;
            const int cell = std::stoi(note->text.substr(at));
            const cella& c = b.s.percorso.at(static_cast<std::size_t>(cell));
            if (row.tipo != 0) {
                EXPECT_EQ(c.tipo, row.tipo) << r.subject;
            } else if (cell > 0) {
                const auto g = std::stoi(text.substr(r.fields[1].begin));
                EXPECT_EQ(c.pendenza, 100 + g) << r.subject;
            }
            ++seen;
        }
        EXPECT_GT(seen, 20) << static_cast<int>(row.kind);
    }
}

}  // namespace
}  // namespace scenario
