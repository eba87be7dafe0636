#include "tool/lsp/protocol_json.h"

#include <limits>
#include <sstream>

#include "tool/json/json_writer.h"

namespace scenario::lsp {

namespace {

constexpr int kTextSyncFull = 1;
constexpr std::string_view kQuickFix = "quickfix";
constexpr std::int64_t kMaxUinteger = std::numeric_limits<std::int32_t>::max();

// ---- Reading ----

const JsonValue* member(const JsonValue* v, std::string_view key) {
    return v == nullptr ? nullptr : v->find(key);
}

const std::string* string_member(const JsonValue* v, std::string_view key) {
    const JsonValue* m = member(v, key);
    return m == nullptr ? nullptr : m->string();
}

std::optional<Position> position_of(const JsonValue* v) {
    const JsonValue* line = member(v, "line");
    const JsonValue* character = member(v, "character");
    if (line == nullptr || character == nullptr) return std::nullopt;
    const auto l = line->natural(kMaxUinteger);
    const auto c = character->natural(kMaxUinteger);
    if (!l || !c) return std::nullopt;
    return Position{*l, *c};
}

// A version the server cannot use reads 0.
std::int64_t version_of(const JsonValue* document) {
    const JsonValue* version = member(document, "version");
    return version != nullptr ? version->natural(kMaxUinteger).value_or(0) : 0;
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

std::optional<RequestId> id_of(const JsonValue* id) {
    if (id == nullptr) return std::nullopt;
    RequestId r;
    if (id->string() != nullptr) {
        r.kind = RequestId::Kind::string;
        r.text = *id->string();
    } else if (const JsonValue::Number* n = id->number()) {
        r.kind = n->whole ? RequestId::Kind::whole : RequestId::Kind::real;
        r.whole = n->whole.value_or(0);
        r.real = n->value;
    }
    return r;
}

Incoming error_of(const JsonValue* id, ErrorCode code, std::string message) {
    Incoming m;
    m.id = id_of(id);
    m.error = {code, std::move(message)};
    return m;
}

// ---- Writing ----

void put_position(JsonWriter& json, Position p) {
    json.begin_object();
    json.key("line");
    json.number(p.line);
    json.key("character");
    json.number(p.character);
    json.end_object();
}

void put_range(JsonWriter& json, const Range& r) {
    json.key("range");
    json.begin_object();
    json.key("start");
    put_position(json, r.start);
    json.key("end");
    put_position(json, r.end);
    json.end_object();
}

void put_id(JsonWriter& json, const std::optional<RequestId>& id) {
    if (!id) return json.null();
    switch (id->kind) {
        case RequestId::Kind::string:
            return json.string(id->text);
        case RequestId::Kind::whole:
            return json.number(id->whole);
        case RequestId::Kind::real:
            return json.number(id->real);
        case RequestId::Kind::null:
            break;
    }
    json.null();
}

template <typename Put>
std::string message(Put put) {
    std::ostringstream body;
    {
        JsonWriter json(body);
        json.begin_object();
        json.key("jsonrpc");
        json.string("2.0");
        put(json);
        json.end_object();
    }
    return body.str();
}

template <typename PutResult>
std::string result(const std::optional<RequestId>& id, PutResult put_result) {
    return message([&](JsonWriter& json) {
        json.key("id");
        put_id(json, id);
        json.key("result");
        put_result(json);
    });
}

template <typename PutParams>
std::string notification(std::string_view method, PutParams put_params) {
    return message([&](JsonWriter& json) {
        json.key("method");
        json.string(method);
        json.key("params");
        json.begin_object();
        put_params(json);
        json.end_object();
    });
}

void put_diagnostic(JsonWriter& json, const Diagnostic& d) {
    json.begin_object();
    put_range(json, d.range);
    json.key("severity");
    json.number(static_cast<std::int32_t>(d.severity));
    json.key("code");
    json.string(d.code);
    json.key("source");
    json.string(d.source);
    json.key("message");
    json.string(d.message);
    if (!d.related.empty()) {
        json.key("relatedInformation");
        json.begin_array();
        for (const RelatedInformation& r : d.related) {
            json.begin_object();
            json.key("location");
            json.begin_object();
            json.key("uri");
            json.string(r.location.uri);
            put_range(json, r.location.range);
            json.end_object();
            json.key("message");
            json.string(r.message);
            json.end_object();
        }
        json.end_array();
    }
    json.end_object();
}

void put_symbol(JsonWriter& json, const DocumentSymbol& s) {
    json.begin_object();
    json.key("name");
    json.string(s.name);
    if (!s.detail.empty()) {
        json.key("detail");
        json.string(s.detail);
    }
    json.key("kind");
    json.number(static_cast<std::int32_t>(s.kind));
    put_range(json, s.range);
    json.key("selectionRange");
    json.begin_object();
    json.key("start");
    put_position(json, s.selection_range.start);
    json.key("end");
    put_position(json, s.selection_range.end);
    json.end_object();
    if (!s.children.empty()) {
        json.key("children");
        json.begin_array();
        for (const DocumentSymbol& child : s.children)
            put_symbol(json, child);
        json.end_array();
    }
    json.end_object();
}

}  // namespace

Incoming read_message(std::string_view body, std::size_t max_bytes) {
    std::string error;
    std::optional<JsonValue> v = parse_json(body, &error, JsonLimits{.max_bytes = max_bytes});
    if (!v) return error_of(nullptr, ErrorCode::parse_error, "not JSON: " + error);
    if (v->object() == nullptr)
        return error_of(nullptr, ErrorCode::invalid_request, "a message must be a JSON object");
    const JsonValue* id = v->find("id");
    const bool id_ok =
        id == nullptr || id->is_null() || id->string() != nullptr || id->number() != nullptr;
    const std::string* version = string_member(&*v, "jsonrpc");
    const JsonValue* method = v->find("method");
    const JsonValue* params = v->find("params");
    if (params != nullptr && params->is_null()) params = nullptr;
    if (!id_ok || version == nullptr || *version != "2.0")
        return error_of(id_ok ? id : nullptr, ErrorCode::invalid_request,
                        "not a JSON-RPC 2.0 message");
    if (method == nullptr && (v->find("result") != nullptr || v->find("error") != nullptr)) {
        Incoming answer;
        answer.kind = Incoming::Kind::client_answer;
        return answer;
    }
    if (method == nullptr || method->string() == nullptr)
        return error_of(id, ErrorCode::invalid_request, "a message needs a method name");
    if (params != nullptr && params->object() == nullptr && params->array() == nullptr)
        return error_of(id, ErrorCode::invalid_request, "params must be an object or an array");
    Incoming m;
    m.kind = Incoming::Kind::message;
    m.method = *method->string();
    m.id = id_of(id);
    // The members found point into the value, which the heap keeps in place.
    m.json = std::make_unique<JsonValue>(std::move(*v));
    m.params = params == nullptr ? nullptr : m.json->find("params");
    return m;
}

std::optional<InitializeParams> read_initialize(const JsonValue* params) {
    if (params == nullptr || params->object() == nullptr) return std::nullopt;
    const JsonValue* capabilities = params->find("capabilities");
    InitializeParams p;
    p.encoding = chosen_encoding(member(member(capabilities, "general"), "positionEncodings"));
    p.markdown = array_holds(
        member(member(member(capabilities, "textDocument"), "hover"), "contentFormat"), "markdown");
    return p;
}

std::optional<DocumentText> read_did_open(const JsonValue* params) {
    const JsonValue* doc = member(params, "textDocument");
    const std::string* uri = string_member(doc, "uri");
    const std::string* text = string_member(doc, "text");
    if (uri == nullptr || text == nullptr) return std::nullopt;
    return DocumentText{*uri, version_of(doc), *text};
}

// The whole text comes with every change; an edit of a part, which the
// server does not ask for, is not applied.
ChangeRead read_did_change(const JsonValue* params) {
    const JsonValue* doc = member(params, "textDocument");
    const std::string* uri = string_member(doc, "uri");
    const JsonValue* changes = member(params, "contentChanges");
    if (uri == nullptr || changes == nullptr || changes->array() == nullptr) return {};
    const std::string* whole = nullptr;
    for (const JsonValue& change : *changes->array()) {
        if (member(&change, "range") != nullptr) return {ChangeRead::Status::partial, {}};
        if (const std::string* text = string_member(&change, "text")) whole = text;
    }
    if (whole == nullptr) return {ChangeRead::Status::no_text, {}};
    return {ChangeRead::Status::whole, DocumentText{*uri, version_of(doc), *whole}};
}

std::optional<std::string> read_document_uri(const JsonValue* params) {
    const std::string* uri = string_member(member(params, "textDocument"), "uri");
    return uri == nullptr ? std::nullopt : std::optional<std::string>(*uri);
}

std::optional<std::string> read_saved_text(const JsonValue* params) {
    const std::string* text = string_member(params, "text");
    return text == nullptr ? std::nullopt : std::optional<std::string>(*text);
}

std::optional<PositionParams> read_position_params(const JsonValue* params) {
    const std::optional<std::string> uri = read_document_uri(params);
    const std::optional<Position> position = position_of(member(params, "position"));
    if (!uri || !position) return std::nullopt;
    return PositionParams{*uri, *position};
}

std::optional<RangeParams> read_range_params(const JsonValue* params) {
    const std::optional<std::string> uri = read_document_uri(params);
    const JsonValue* range = member(params, "range");
    const std::optional<Position> start = position_of(member(range, "start"));
    const std::optional<Position> end = position_of(member(range, "end"));
    if (!uri || !start || !end) return std::nullopt;
    return RangeParams{*uri, Range{*start, *end}};
}

// A client that names the kinds it wants gets quick fixes only when it
// names them, or a kind they belong to ("quickfix" is one level deep).
std::optional<CodeActionParams> read_code_action_params(const JsonValue* params) {
    const std::optional<RangeParams> r = read_range_params(params);
    if (!r) return std::nullopt;
    CodeActionParams p{r->uri, r->range, true};
    const JsonValue* only = member(member(params, "context"), "only");
    if (only != nullptr && only->array() != nullptr) p.quickfix = array_holds(only, kQuickFix);
    return p;
}

std::string result_message(const std::optional<RequestId>& id, const InitializeResult& r) {
    return result(id, [&](JsonWriter& json) {
        json.begin_object();
        json.key("capabilities");
        json.begin_object();
        json.key("positionEncoding");
        json.string(encoding_name(r.encoding));
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
        json.key("documentFormattingProvider");
        json.boolean(true);
        json.key("documentRangeFormattingProvider");
        json.boolean(true);
        json.key("codeActionProvider");
        json.begin_object();
        json.key("codeActionKinds");
        json.begin_array();
        json.string(kQuickFix);
        json.end_array();
        json.end_object();
        json.end_object();
        json.key("serverInfo");
        json.begin_object();
        json.key("name");
        json.string(r.name);
        json.key("version");
        json.string(r.version);
        json.end_object();
        json.end_object();
    });
}

std::string result_message(const std::optional<RequestId>& id, const std::optional<Hover>& r) {
    return result(id, [&](JsonWriter& json) {
        if (!r) return json.null();
        json.begin_object();
        json.key("contents");
        json.begin_object();
        json.key("kind");
        json.string(r->markdown ? "markdown" : "plaintext");
        json.key("value");
        json.string(r->value);
        json.end_object();
        put_range(json, r->range);
        json.end_object();
    });
}

std::string result_message(const std::optional<RequestId>& id, const std::vector<InlayHint>& r) {
    return result(id, [&](JsonWriter& json) {
        json.begin_array();
        for (const InlayHint& hint : r) {
            json.begin_object();
            json.key("position");
            put_position(json, hint.position);
            json.key("label");
            json.string(hint.label);
            json.key("kind");
            json.number(static_cast<std::int32_t>(hint.kind));
            json.key("paddingRight");
            json.boolean(hint.padding_right);
            json.end_object();
        }
        json.end_array();
    });
}

std::string result_message(const std::optional<RequestId>& id,
                           const std::vector<DocumentSymbol>& r) {
    return result(id, [&](JsonWriter& json) {
        json.begin_array();
        for (const DocumentSymbol& s : r)
            put_symbol(json, s);
        json.end_array();
    });
}

std::string result_message(const std::optional<RequestId>& id, const std::vector<TextEdit>& r) {
    return result(id, [&](JsonWriter& json) {
        json.begin_array();
        for (const TextEdit& edit : r) {
            json.begin_object();
            put_range(json, edit.range);
            json.key("newText");
            json.string(edit.new_text);
            json.end_object();
        }
        json.end_array();
    });
}

std::string result_message(const std::optional<RequestId>& id, const std::vector<CodeAction>& r) {
    return result(id, [&](JsonWriter& json) {
        json.begin_array();
        for (const CodeAction& a : r) {
            json.begin_object();
            json.key("title");
            json.string(a.title);
            json.key("kind");
            json.string(kQuickFix);
            json.key("diagnostics");
            json.begin_array();
            for (const Diagnostic& d : a.diagnostics)
                put_diagnostic(json, d);
            json.end_array();
            json.key("isPreferred");
            json.boolean(a.preferred);
            json.key("edit");
            json.begin_object();
            json.key("changes");
            json.begin_object();
            json.key(a.uri);
            json.begin_array();
            for (const TextEdit& e : a.edits) {
                json.begin_object();
                put_range(json, e.range);
                json.key("newText");
                json.string(e.new_text);
                json.end_object();
            }
            json.end_array();
            json.end_object();
            json.end_object();
            json.end_object();
        }
        json.end_array();
    });
}

std::string null_result_message(const std::optional<RequestId>& id) {
    return result(id, [](JsonWriter& json) { json.null(); });
}

std::string error_message(const std::optional<RequestId>& id, const ResponseError& e) {
    return message([&](JsonWriter& json) {
        json.key("id");
        put_id(json, id);
        json.key("error");
        json.begin_object();
        json.key("code");
        json.number(static_cast<std::int32_t>(e.code));
        json.key("message");
        json.string(e.message);
        json.end_object();
    });
}

std::string notification_message(const PublishDiagnosticsParams& p) {
    return notification("textDocument/publishDiagnostics", [&](JsonWriter& json) {
        json.key("uri");
        json.string(p.uri);
        if (p.version) {
            json.key("version");
            json.number(*p.version);
        }
        json.key("diagnostics");
        json.begin_array();
        for (const Diagnostic& d : p.diagnostics)
            put_diagnostic(json, d);
        json.end_array();
    });
}

std::string notification_message(const ShowMessageParams& p) {
    return notification("window/showMessage", [&](JsonWriter& json) {
        json.key("type");
        json.number(static_cast<std::int32_t>(p.type));
        json.key("message");
        json.string(p.message);
    });
}

}  // namespace scenario::lsp
