#include "tool/lsp/server.h"

#include <map>
#include <memory>
#include <optional>
#include <ostream>

#include "tool/commands/tool.h"
#include "tool/features/code_actions.h"
#include "tool/features/document_diagnostics.h"
#include "tool/features/document_symbols.h"
#include "tool/features/formatting.h"
#include "tool/features/hover.h"
#include "tool/features/inlay_hints.h"
#include "tool/lsp/line_checks.h"
#include "tool/lsp/open_documents.h"
#include "tool/lsp/protocol_json.h"
#include "tool/lsp/read_ahead.h"
#include "tool/lsp/transport.h"

namespace scenario {

namespace {

using lsp::ErrorCode;
using lsp::Incoming;

struct Message {
    const std::optional<lsp::RequestId>& id;  // none for a notification
    const JsonValue* params;                  // nullptr when it has none
};

class Server {
  public:
    explicit Server(const LspEnvironment& env) : env_(env) {}

    void take(const Frame& frame);
    bool exited() const { return exited_; }
    int exit_status() const { return shutdown_ ? 0 : 1; }
    // Whether a line waits for its check: its texts changed since the last
    // one. After shutdown nothing more is checked.
    bool check_due() const { return !due_.empty() && !shutdown_; }
    // Checks one line whose texts changed, and publishes its diagnostics.
    void check_next();
    // Runs the train of the line of `name` now if its check is due, for a
    // request; the diagnostics wait for the check that publishes them, so
    // that a text replaced meanwhile is never published.
    void settle(const SourceName& name);

  private:
    using Handler = void (Server::*)(const Message&);
    struct Method {
        std::string_view name;
        bool request;
        Handler run;
    };
    static const Method kMethods[];

    void handle(std::string_view body);
    void dispatch(std::string_view method, const Message& m);

    void initialize(const Message& m);
    void initialized(const Message&) {}
    void shutdown(const Message& m);
    void exit(const Message&) { exited_ = true; }
    void did_open(const Message& m);
    void did_change(const Message& m);
    void did_save(const Message& m);
    void did_close(const Message& m);
    void hover(const Message& m);
    void inlay_hint(const Message& m);
    void document_symbol(const Message& m);
    void formatting(const Message& m);
    void range_formatting(const Message& m);
    void code_action(const Message& m);

    void update(const std::string& uri, std::int64_t version, std::string utf8);
    void close(const std::string& uri);
    void recheck(const SourceName& name);
    void publish(const OpenDocument& doc, const PairBuild& pair);
    void check_line(const SourceName& name, bool publishing);
    // The run of the train of an open train document, from its latest check.
    const RouteRun* run_of(const OpenDocument& doc);

    void send(const std::string& body) { write_frame(env_.out, body); }
    void respond_error(const std::optional<lsp::RequestId>& id, ErrorCode code,
                       std::string message);
    void drop(std::string_view method, std::string_view why);

    const LspEnvironment& env_;
    std::optional<OpenDocuments> docs_;
    // The lines whose check is due, by the path of their line file.
    std::map<std::string, SourceName> due_;
    // The run of each open train document's train, from its latest check.
    std::map<std::string, RouteRun> runs_;
    // The last run of each train file checked, kept for the next check.
    std::map<std::string, RunMemo> memos_;
    PositionEncoding encoding_ = PositionEncoding::utf16;
    bool markdown_ = false;
    bool shutdown_ = false;
    bool exited_ = false;
};

const Server::Method Server::kMethods[] = {
    {"initialize", true, &Server::initialize},
    {"initialized", false, &Server::initialized},
    {"shutdown", true, &Server::shutdown},
    {"exit", false, &Server::exit},
    {"textDocument/didOpen", false, &Server::did_open},
    {"textDocument/didChange", false, &Server::did_change},
    {"textDocument/didSave", false, &Server::did_save},
    {"textDocument/didClose", false, &Server::did_close},
    {"textDocument/hover", true, &Server::hover},
    {"textDocument/inlayHint", true, &Server::inlay_hint},
    {"textDocument/documentSymbol", true, &Server::document_symbol},
    {"textDocument/formatting", true, &Server::formatting},
    {"textDocument/rangeFormatting", true, &Server::range_formatting},
    {"textDocument/codeAction", true, &Server::code_action},
};

void Server::respond_error(const std::optional<lsp::RequestId>& id, ErrorCode code,
                           std::string message) {
    send(lsp::error_message(id, {code, std::move(message)}));
}

// Notifications get no answer: what is dropped is said on the log.
void Server::drop(std::string_view method, std::string_view why) {
    env_.log << kToolName << " lsp: " << method << ": " << why << '\n';
}

void Server::take(const Frame& frame) {
    switch (frame.status) {
        case Frame::Status::message:
            return handle(frame.body);
        case Frame::Status::too_large:
            return respond_error(std::nullopt, ErrorCode::invalid_request,
                                 "a message of " + std::to_string(frame.length) +
                                     " bytes is longer than the limit of " +
                                     std::to_string(env_.limits.max_message) +
                                     " bytes; it was passed over unread");
        case Frame::Status::bad_header:
            return respond_error(std::nullopt, ErrorCode::parse_error,
                                 "unreadable message header: " + frame.error);
        case Frame::Status::end:
            break;
    }
}

void Server::handle(std::string_view body) {
    const Incoming m = lsp::read_message(body, env_.limits.max_message);
    switch (m.kind) {
        case Incoming::Kind::message:
            return dispatch(m.method, Message{m.id, m.params});
        case Incoming::Kind::client_answer:
            return;  // an answer to a request the server never sends
        case Incoming::Kind::error:
            break;
    }
    send(lsp::error_message(m.id, m.error));
}

void Server::dispatch(std::string_view name, const Message& m) {
    const bool request = m.id.has_value();
    const Method* method = nullptr;
    for (const Method& known : kMethods) {
        if (known.name == name) method = &known;
    }
    if (method == nullptr || method->request != request) {
        if (request)
            respond_error(m.id, ErrorCode::method_not_found, "no method " + std::string(name));
        return;
    }
    if (method->run == &Server::exit) return exit(m);
    if (!docs_ && method->run != &Server::initialize) {
        if (request)
            respond_error(m.id, ErrorCode::server_not_initialized, "initialize comes first");
        return;
    }
    if (shutdown_) {
        if (request)
            respond_error(m.id, ErrorCode::invalid_request, "the server has been shut down");
        return;
    }
    (this->*(method->run))(m);
}

void Server::initialize(const Message& m) {
    if (docs_) return respond_error(m.id, ErrorCode::invalid_request, "initialize came already");
    const std::optional<lsp::InitializeParams> p = lsp::read_initialize(m.params);
    if (!p) return respond_error(m.id, ErrorCode::invalid_params, "initialize needs its params");
    encoding_ = p->encoding;
    markdown_ = p->markdown;
    docs_.emplace();
    send(lsp::result_message(m.id, lsp::InitializeResult{encoding_, std::string(kToolName),
                                                         std::string(tool_version())}));
}

void Server::shutdown(const Message& m) {
    shutdown_ = true;
    send(lsp::null_result_message(m.id));
}

// A document that is no source file is not kept: it gets no diagnostics
// and empty answers.
void Server::update(const std::string& uri, std::int64_t version, std::string utf8) {
    const std::optional<std::string> path = file_uri_path(uri);
    const SourceName name = path ? source_name(*path) : SourceName{};
    if (name.kind == SourceKind::none) return;
    if (utf8.size() > env_.limits.max_document) {
        send(lsp::notification_message(lsp::ShowMessageParams{
            lsp::MessageType::error, name.file + " is longer than " +
                                         std::to_string(env_.limits.max_document) +
                                         " bytes: it is not checked"}));
        if (docs_->find(uri) != nullptr) close(uri);
        return;
    }
    docs_->put(uri, name, version, std::move(utf8), encoding_);
    recheck(name);
}

// The document's diagnostics are cleared, and what it gave the other
// files of its line is checked again.
void Server::close(const std::string& uri) {
    runs_.erase(uri);
    const SourceName name = docs_->find(uri)->name();
    docs_->close(uri);
    send(lsp::notification_message(lsp::PublishDiagnosticsParams{uri, std::nullopt, {}}));
    recheck(name);
}

void Server::recheck(const SourceName& name) {
    due_.emplace(name.folder + "/" + name.nome_linea, name);
}

void Server::check_next() {
    const SourceName name = due_.begin()->second;
    due_.erase(due_.begin());
    check_line(name, true);
}

void Server::settle(const SourceName& name) {
    if (due_.count(name.folder + "/" + name.nome_linea) != 0 && !shutdown_) check_line(name, false);
}

void Server::check_line(const SourceName& name, bool publishing) {
    for (const PairCheck& pair : line_checks(*docs_, name, env_.list_folder)) {
        PairBuild build;
        RunMemo* memo = pair.treno ? &memos_[pair.treno->path()] : nullptr;
        run_pair_check(pair, *docs_, env_.disk, build, memo);
        if (publishing && pair.shows_linea != nullptr) publish(*pair.shows_linea, build);
        if (pair.shows_treno == nullptr) continue;
        if (publishing) publish(*pair.shows_treno, build);
        if (build.b.run) {
            runs_.insert_or_assign(pair.shows_treno->uri(), std::move(*build.b.run));
        } else {
            runs_.erase(pair.shows_treno->uri());
        }
    }
}

// A request is answered against the latest text: its line is checked first
// when a change has come since.
const RouteRun* Server::run_of(const OpenDocument& doc) {
    if (doc.name().kind != SourceKind::treno) return nullptr;
    settle(doc.name());
    const auto it = runs_.find(doc.uri());
    return it == runs_.end() ? nullptr : &it->second;
}

void Server::publish(const OpenDocument& doc, const PairBuild& pair) {
    const bool linea = doc.name().kind == SourceKind::linea;
    const std::string& other_path = linea ? pair.files.treno_txt : pair.files.linea_txt;
    const OtherFile other{other_path, linea ? pair.b.treno_text : pair.b.linea_text,
                          docs_->at_path(other_path) == nullptr && (!linea || pair.with_treno)};
    const CheckedDocument checked{doc.name().kind, doc.uri(), doc.text()};
    send(lsp::notification_message(lsp::PublishDiagnosticsParams{
        doc.uri(), doc.version(),
        document_diagnostics(pair.b.diagnostics, checked, other, encoding_,
                             AsideFiles{pair.b.stock_path, pair.b.card_path})}));
}

void Server::did_open(const Message& m) {
    std::optional<lsp::DocumentText> doc = lsp::read_did_open(m.params);
    if (!doc) return drop("textDocument/didOpen", "no textDocument with uri and text");
    update(doc->uri, doc->version, std::move(doc->text));
}

void Server::did_change(const Message& m) {
    lsp::ChangeRead change = lsp::read_did_change(m.params);
    switch (change.status) {
        case lsp::ChangeRead::Status::whole:
            return update(change.text.uri, change.text.version, std::move(change.text.text));
        case lsp::ChangeRead::Status::no_text:
            return;
        case lsp::ChangeRead::Status::bad:
            return drop("textDocument/didChange", "no textDocument uri and contentChanges");
        case lsp::ChangeRead::Status::partial:
            return drop("textDocument/didChange", "a change of part of the text is not applied");
    }
}

// Saving may change what the other file reads on the disk: both are
// checked again.
void Server::did_save(const Message& m) {
    const std::optional<std::string> uri = lsp::read_document_uri(m.params);
    if (!uri) return drop("textDocument/didSave", "no textDocument uri");
    const OpenDocument* doc = docs_->find(*uri);
    if (doc == nullptr) return;
    if (std::optional<std::string> text = lsp::read_saved_text(m.params))
        return update(*uri, doc->version(), std::move(*text));
    recheck(doc->name());
}

void Server::did_close(const Message& m) {
    const std::optional<std::string> uri = lsp::read_document_uri(m.params);
    if (!uri) return drop("textDocument/didClose", "no textDocument uri");
    if (docs_->find(*uri) != nullptr) close(*uri);
}

// Requests are answered against the latest text, whose checks they make
// if its line's check has not yet.
void Server::hover(const Message& m) {
    const std::optional<lsp::PositionParams> p = lsp::read_position_params(m.params);
    if (!p)
        return respond_error(m.id, ErrorCode::invalid_params,
                             "textDocument.uri or position is missing");
    const OpenDocument* doc = docs_->find(p->uri);
    send(lsp::result_message(m.id, doc == nullptr
                                       ? std::nullopt
                                       : scenario::hover(doc->text(), doc->check(), p->position,
                                                         markdown_, run_of(*doc))));
}

void Server::inlay_hint(const Message& m) {
    const std::optional<lsp::RangeParams> p = lsp::read_range_params(m.params);
    if (!p)
        return respond_error(m.id, ErrorCode::invalid_params,
                             "textDocument.uri or range is missing");
    const OpenDocument* doc = docs_->find(p->uri);
    send(lsp::result_message(m.id, doc == nullptr
                                       ? std::vector<lsp::InlayHint>{}
                                       : inlay_hints(doc->text(), doc->check(), p->range.start,
                                                     p->range.end, run_of(*doc))));
}

void Server::document_symbol(const Message& m) {
    const std::optional<std::string> uri = lsp::read_document_uri(m.params);
    if (!uri) return respond_error(m.id, ErrorCode::invalid_params, "textDocument.uri is missing");
    const OpenDocument* doc = docs_->find(*uri);
    send(lsp::result_message(m.id, doc == nullptr ? std::vector<lsp::DocumentSymbol>{}
                                                  : document_symbols(doc->text(), doc->check())));
}

// The layout is made when asked for, from the walk the document's checks
// made already; the editor's tab and space options are not used, since
// the layout is the builder's own, in spaces.
void Server::formatting(const Message& m) {
    const std::optional<std::string> uri = lsp::read_document_uri(m.params);
    if (!uri) return respond_error(m.id, ErrorCode::invalid_params, "textDocument.uri is missing");
    const OpenDocument* doc = docs_->find(*uri);
    send(lsp::result_message(
        m.id, doc == nullptr ? std::vector<lsp::TextEdit>{}
                             : formatting_edits(doc->text(), doc->check(), std::nullopt)));
}

void Server::range_formatting(const Message& m) {
    const std::optional<lsp::RangeParams> p = lsp::read_range_params(m.params);
    if (!p)
        return respond_error(m.id, ErrorCode::invalid_params,
                             "textDocument.uri or range is missing");
    const OpenDocument* doc = docs_->find(p->uri);
    send(lsp::result_message(m.id, doc == nullptr
                                       ? std::vector<lsp::TextEdit>{}
                                       : formatting_edits(doc->text(), doc->check(), p->range)));
}

// Fixes are worked out only when asked for: the document's line is built
// again, from the run kept for its train, and nothing is published.
void Server::code_action(const Message& m) {
    const std::optional<lsp::CodeActionParams> p = lsp::read_code_action_params(m.params);
    if (!p)
        return respond_error(m.id, ErrorCode::invalid_params,
                             "textDocument.uri or range is missing");
    std::vector<lsp::CodeAction> actions;
    const OpenDocument* doc = docs_->find(p->uri);
    if (doc != nullptr && p->quickfix) {
        for (const PairCheck& pair : line_checks(*docs_, doc->name(), env_.list_folder)) {
            if (pair.shows_linea != doc && pair.shows_treno != doc) continue;
            PairBuild build;
            run_pair_check(pair, *docs_, env_.disk, build,
                           pair.treno ? &memos_[pair.treno->path()] : nullptr);
            const DiagnosedBuild& b = build.b;
            actions =
                code_actions(b.diagnostics, {b.linea_text, b.treno_text, b.run ? &*b.run : nullptr},
                             CheckedDocument{doc->name().kind, doc->uri(), doc->text()}, p->range);
            break;
        }
    }
    send(lsp::result_message(m.id, actions));
}

}  // namespace

int serve_lsp(std::istream& in, const LspEnvironment& env) {
    const FrameLimits limits{.max_body = env.limits.max_message};
    std::unique_ptr<FrameSource> frames;
    if (env.read_ahead) {
        frames = std::make_unique<ReadAheadFrames>(in, limits);
    } else {
        frames = std::make_unique<StreamFrames>(in, limits);
    }
    Server server(env);
    while (!server.exited()) {
        // A check waits while a message does: it may bring a newer text.
        if (server.check_due() && !frames->ready()) {
            server.check_next();
            continue;
        }
        const Frame frame = frames->next();
        if (frame.status == Frame::Status::end) break;
        server.take(frame);
    }
    return server.exit_status();
}

}  // namespace scenario
