#include "tool/lsp/server.h"

#include <limits>
#include <optional>
#include <ostream>
#include <sstream>

#include "tool/commands/tool.h"
#include "tool/features/lsp_answers.h"
#include "tool/json/json_reader.h"
#include "tool/json/json_writer.h"
#include "tool/lsp/frames.h"
#include "tool/lsp/open_documents.h"

namespace scenario {

namespace {

// JSON-RPC's error codes, and the protocol's own.
constexpr int kParseError = -32700;
constexpr int kInvalidRequest = -32600;
constexpr int kMethodNotFound = -32601;
constexpr int kInvalidParams = -32602;
constexpr int kServerNotInitialized = -32002;

constexpr int kTextSyncFull = 1;
constexpr int kMessageError = 1;  // window/showMessage
constexpr std::int64_t kMaxUinteger = std::numeric_limits<std::int32_t>::max();

const JsonValue* member(const JsonValue* v, std::string_view key) {
    return v == nullptr ? nullptr : v->find(key);
}

const std::string* string_member(const JsonValue* v, std::string_view key) {
    const JsonValue* m = member(v, key);
    return m == nullptr ? nullptr : m->string();
}

std::optional<EditorPosition> position_param(const JsonValue* v) {
    const JsonValue* line = member(v, "line");
    const JsonValue* character = member(v, "character");
    if (line == nullptr || character == nullptr) return std::nullopt;
    const auto l = line->natural(kMaxUinteger);
    const auto c = character->natural(kMaxUinteger);
    if (!l || !c) return std::nullopt;
    return EditorPosition{*l, *c};
}

bool array_holds(const JsonValue* v, std::string_view s) {
    if (v == nullptr || v->array() == nullptr) return false;
    for (const JsonValue& item : *v->array()) {
        if (item.string() != nullptr && *item.string() == s) return true;
    }
    return false;
}

// The first of the client's position encodings that the server knows;
// UTF-16 when it names none.
PositionEncoding chosen_encoding(const JsonValue* offered) {
    if (offered != nullptr && offered->array() != nullptr) {
        for (const JsonValue& item : *offered->array()) {
            for (const PositionEncoding e :
                 {PositionEncoding::utf16, PositionEncoding::utf8, PositionEncoding::utf32}) {
                if (item.string() != nullptr && *item.string() == encoding_name(e)) return e;
            }
        }
    }
    return PositionEncoding::utf16;
}

void put_id(JsonWriter& json, const JsonValue* id) {
    if (id != nullptr && id->string() != nullptr) {
        json.string(*id->string());
    } else if (id != nullptr && id->number() != nullptr) {
        const JsonValue::Number& n = *id->number();
        n.whole ? json.number(*n.whole) : json.number(n.value);
    } else {
        json.null();
    }
}

struct Message {
    const JsonValue* id;      // nullptr for a notification
    const JsonValue* params;  // nullptr when it has none
};

const std::string* document_uri(const Message& m) {
    return string_member(member(m.params, "textDocument"), "uri");
}

class Server {
  public:
    explicit Server(const LspEnvironment& env) : env_(env) {}

    void take(const Frame& frame);
    bool exited() const { return exited_; }
    int exit_status() const { return shutdown_ ? 0 : 1; }

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

    void update(const std::string& uri, std::int64_t version, std::string_view utf8);
    void publish_diagnostics(const std::string& uri, std::optional<std::int64_t> version,
                             const std::function<void(JsonWriter&)>& items);

    template <typename Put>
    void send(Put put);
    template <typename Put>
    void respond(const JsonValue* id, Put put_result);
    void respond_error(const JsonValue* id, int code, std::string_view message);
    void show_error(std::string_view message);
    void drop(std::string_view method, std::string_view why);

    const LspEnvironment& env_;
    std::optional<OpenDocuments> docs_;
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
};

template <typename Put>
void Server::send(Put put) {
    std::ostringstream body;
    {
        JsonWriter json(body);
        json.begin_object();
        json.key("jsonrpc");
        json.string("2.0");
        put(json);
        json.end_object();
    }
    write_frame(env_.out, body.str());
}

template <typename Put>
void Server::respond(const JsonValue* id, Put put_result) {
    send([&](JsonWriter& json) {
        json.key("id");
        put_id(json, id);
        json.key("result");
        put_result(json);
    });
}

void Server::respond_error(const JsonValue* id, int code, std::string_view message) {
    send([&](JsonWriter& json) {
        json.key("id");
        put_id(json, id);
        json.key("error");
        json.begin_object();
        json.key("code");
        json.number(code);
        json.key("message");
        json.string(message);
        json.end_object();
    });
}

void Server::show_error(std::string_view message) {
    send([&](JsonWriter& json) {
        json.key("method");
        json.string("window/showMessage");
        json.key("params");
        json.begin_object();
        json.key("type");
        json.number(kMessageError);
        json.key("message");
        json.string(message);
        json.end_object();
    });
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
            return respond_error(nullptr, kInvalidRequest,
                                 "a message of " + std::to_string(frame.length) +
                                     " bytes is longer than the limit of " +
                                     std::to_string(env_.limits.max_message) +
                                     " bytes; it was passed over unread");
        case Frame::Status::bad_header:
            return respond_error(nullptr, kParseError, "unreadable message header: " + frame.error);
        case Frame::Status::end:
            break;
    }
}

void Server::handle(std::string_view body) {
    std::string error;
    const std::optional<JsonValue> v =
        parse_json(body, &error, JsonLimits{.max_bytes = env_.limits.max_message});
    if (!v) return respond_error(nullptr, kParseError, "not JSON: " + error);
    if (v->object() == nullptr)
        return respond_error(nullptr, kInvalidRequest, "a message must be a JSON object");
    const JsonValue* id = v->find("id");
    const bool id_ok =
        id == nullptr || id->is_null() || id->string() != nullptr || id->number() != nullptr;
    const std::string* version = string_member(&*v, "jsonrpc");
    const JsonValue* method = v->find("method");
    const JsonValue* params = v->find("params");
    if (params != nullptr && params->is_null()) params = nullptr;
    if (!id_ok || version == nullptr || *version != "2.0")
        return respond_error(id_ok ? id : nullptr, kInvalidRequest, "not a JSON-RPC 2.0 message");
    if (method == nullptr && (v->find("result") != nullptr || v->find("error") != nullptr))
        return;  // an answer to a request the server never sends
    if (method == nullptr || method->string() == nullptr)
        return respond_error(id, kInvalidRequest, "a message needs a method name");
    if (params != nullptr && params->object() == nullptr && params->array() == nullptr)
        return respond_error(id, kInvalidRequest, "params must be an object or an array");
    dispatch(*method->string(), Message{id, params});
}

void Server::dispatch(std::string_view name, const Message& m) {
    const bool request = m.id != nullptr;
    const Method* method = nullptr;
    for (const Method& known : kMethods) {
        if (known.name == name) method = &known;
    }
    if (method == nullptr || method->request != request) {
        if (request) respond_error(m.id, kMethodNotFound, "no method " + std::string(name));
        return;
    }
    if (method->run == &Server::exit) return exit(m);
    if (!docs_ && method->run != &Server::initialize) {
        if (request) respond_error(m.id, kServerNotInitialized, "initialize comes first");
        return;
    }
    if (shutdown_) {
        if (request) respond_error(m.id, kInvalidRequest, "the server has been shut down");
        return;
    }
    (this->*(method->run))(m);
}

// Exactly what the server does: full text synchronisation, hover, inlay
// hints and the outline.
void put_initialize_result(JsonWriter& json, PositionEncoding encoding) {
    json.begin_object();
    json.key("capabilities");
    json.begin_object();
    json.key("positionEncoding");
    json.string(encoding_name(encoding));
    json.key("textDocumentSync");
    json.begin_object();
    json.key("openClose");
    json.boolean(true);
    json.key("change");
    json.number(kTextSyncFull);
    json.key("save");
    json.begin_object();
    json.key("includeText");
    json.boolean(false);
    json.end_object();
    json.end_object();
    json.key("hoverProvider");
    json.boolean(true);
    json.key("inlayHintProvider");
    json.boolean(true);
    json.key("documentSymbolProvider");
    json.boolean(true);
    json.end_object();
    json.key("serverInfo");
    json.begin_object();
    json.key("name");
    json.string(kToolName);
    json.key("version");
    json.string(tool_version());
    json.end_object();
    json.end_object();
}

void Server::initialize(const Message& m) {
    if (docs_) return respond_error(m.id, kInvalidRequest, "initialize came already");
    if (m.params == nullptr || m.params->object() == nullptr)
        return respond_error(m.id, kInvalidParams, "initialize needs its params");
    const JsonValue* capabilities = m.params->find("capabilities");
    encoding_ = chosen_encoding(member(member(capabilities, "general"), "positionEncodings"));
    markdown_ = array_holds(
        member(member(member(capabilities, "textDocument"), "hover"), "contentFormat"), "markdown");
    const auto publish = [this](const std::string& uri, std::optional<std::int64_t> version,
                                const std::function<void(JsonWriter&)>& items) {
        publish_diagnostics(uri, version, items);
    };
    docs_.emplace(env_.disk, env_.list_folder, publish, encoding_);
    respond(m.id, [&](JsonWriter& json) { put_initialize_result(json, encoding_); });
}

void Server::publish_diagnostics(const std::string& uri, std::optional<std::int64_t> version,
                                 const std::function<void(JsonWriter&)>& items) {
    send([&](JsonWriter& json) {
        json.key("method");
        json.string("textDocument/publishDiagnostics");
        json.key("params");
        json.begin_object();
        json.key("uri");
        json.string(uri);
        if (version) {
            json.key("version");
            json.number(*version);
        }
        json.key("diagnostics");
        json.begin_array();
        items(json);
        json.end_array();
        json.end_object();
    });
}

void Server::shutdown(const Message& m) {
    shutdown_ = true;
    respond(m.id, [](JsonWriter& json) { json.null(); });
}

// A document that is no source file is not kept: it gets no diagnostics
// and empty answers.
void Server::update(const std::string& uri, std::int64_t version, std::string_view utf8) {
    const std::optional<std::string> path = file_uri_path(uri);
    const SourceName name = path ? source_name(*path) : SourceName{};
    if (name.kind == SourceKind::none) return;
    if (utf8.size() > env_.limits.max_document) {
        show_error(name.file + " is longer than " + std::to_string(env_.limits.max_document) +
                   " bytes: it is not checked");
        if (docs_->find(uri) != nullptr) {
            docs_->close(uri);
            docs_->recheck(name);
        }
        return;
    }
    docs_->put(uri, name, version, EditorText(utf8, encoding_));
    docs_->recheck(name);
}

void Server::did_open(const Message& m) {
    const JsonValue* doc = member(m.params, "textDocument");
    const std::string* uri = string_member(doc, "uri");
    const std::string* text = string_member(doc, "text");
    const JsonValue* version = member(doc, "version");
    if (uri == nullptr || text == nullptr)
        return drop("textDocument/didOpen", "no textDocument with uri and text");
    update(*uri, version != nullptr ? version->natural(kMaxUinteger).value_or(0) : 0, *text);
}

// The whole text comes with every change; an edit of a part, which the
// server does not ask for, is not applied.
void Server::did_change(const Message& m) {
    const JsonValue* doc = member(m.params, "textDocument");
    const std::string* uri = string_member(doc, "uri");
    const JsonValue* changes = member(m.params, "contentChanges");
    if (uri == nullptr || changes == nullptr || changes->array() == nullptr)
        return drop("textDocument/didChange", "no textDocument uri and contentChanges");
    const std::string* whole = nullptr;
    for (const JsonValue& change : *changes->array()) {
        if (member(&change, "range") != nullptr)
            return drop("textDocument/didChange", "a change of part of the text is not applied");
        if (const std::string* text = string_member(&change, "text")) whole = text;
    }
    if (whole == nullptr) return;
    const JsonValue* version = member(doc, "version");
    update(*uri, version != nullptr ? version->natural(kMaxUinteger).value_or(0) : 0, *whole);
}

// Saving may change what the other file reads on the disk: both are
// checked again.
void Server::did_save(const Message& m) {
    const std::string* uri = document_uri(m);
    if (uri == nullptr) return drop("textDocument/didSave", "no textDocument uri");
    const OpenDocument* doc = docs_->find(*uri);
    if (doc == nullptr) return;
    if (const std::string* text = string_member(m.params, "text"))
        return update(*uri, doc->version, *text);
    docs_->recheck(doc->name);
}

void Server::did_close(const Message& m) {
    const std::string* uri = document_uri(m);
    if (uri == nullptr) return drop("textDocument/didClose", "no textDocument uri");
    const OpenDocument* doc = docs_->find(*uri);
    if (doc == nullptr) return;
    const SourceName name = doc->name;
    docs_->close(*uri);
    docs_->recheck(name);
}

void Server::hover(const Message& m) {
    const std::string* uri = document_uri(m);
    const auto position = position_param(member(m.params, "position"));
    if (uri == nullptr || !position)
        return respond_error(m.id, kInvalidParams, "textDocument.uri or position is missing");
    respond(m.id,
            [&](JsonWriter& json) { put_hover(json, docs_->find(*uri), *position, markdown_); });
}

void Server::inlay_hint(const Message& m) {
    const std::string* uri = document_uri(m);
    const JsonValue* range = member(m.params, "range");
    const auto start = position_param(member(range, "start"));
    const auto end = position_param(member(range, "end"));
    if (uri == nullptr || !start || !end)
        return respond_error(m.id, kInvalidParams, "textDocument.uri or range is missing");
    respond(m.id,
            [&](JsonWriter& json) { put_inlay_hints(json, docs_->find(*uri), *start, *end); });
}

void Server::document_symbol(const Message& m) {
    const std::string* uri = document_uri(m);
    if (uri == nullptr) return respond_error(m.id, kInvalidParams, "textDocument.uri is missing");
    respond(m.id, [&](JsonWriter& json) { put_document_symbols(json, docs_->find(*uri)); });
}

}  // namespace

int serve_lsp(std::istream& in, const LspEnvironment& env) {
    Server server(env);
    FrameReader frames(in, FrameLimits{.max_body = env.limits.max_message});
    while (!server.exited()) {
        const Frame frame = frames.next();
        if (frame.status == Frame::Status::end) break;
        server.take(frame);
    }
    return server.exit_status();
}

}  // namespace scenario
