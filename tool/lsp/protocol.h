// The editor protocol's messages that the server sends, and the parameters
// of those it reads, as plain structs. protocol_json.h reads and writes
// them; no other part of the server touches JSON.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tool/lsp/editor_text.h"

namespace scenario::lsp {

using Position = EditorPosition;

struct Range {
    Position start;
    Position end;
};

struct Location {
    std::string uri;
    Range range;
};

struct RelatedInformation {
    Location location;
    std::string message;  // UTF-8
};

// The protocol's severities.
enum class DiagnosticSeverity : std::uint8_t { error = 1, warning = 2, information = 3 };

struct Diagnostic {
    Range range;
    DiagnosticSeverity severity = DiagnosticSeverity::error;
    std::string code;
    std::string source;
    std::string message;                      // UTF-8
    std::vector<RelatedInformation> related;  // written only when there is some
};

struct PublishDiagnosticsParams {
    std::string uri;
    std::optional<std::int64_t> version;  // of the text checked, when known
    std::vector<Diagnostic> diagnostics;
};

struct Hover {
    bool markdown = false;  // else plain text
    std::string value;      // UTF-8
    Range range;
};

enum class InlayHintKind : std::uint8_t { type = 1, parameter = 2 };

struct InlayHint {
    Position position;
    std::string label;
    InlayHintKind kind = InlayHintKind::parameter;
    bool padding_right = false;
};

// The protocol's symbol kinds that the outline uses.
enum class SymbolKind : std::uint8_t {
    name_space = 3,
    property = 7,
    function = 12,
    constant = 14,
    string = 15,
    number = 16,
    structure = 23,
    event = 24,
};

struct DocumentSymbol {
    std::string name;
    std::string detail;  // written only when not empty
    SymbolKind kind = SymbolKind::property;
    Range range;
    Range selection_range;
    std::vector<DocumentSymbol> children;  // written only when there are some
};

// A change of the document that the server proposes: the text of `range`
// becomes `new_text`.
struct TextEdit {
    Range range;
    std::string new_text;  // UTF-8
};

// A quick fix: the edits of one document that mend its diagnostics.
struct CodeAction {
    std::string title;  // UTF-8
    std::vector<Diagnostic> diagnostics;
    bool preferred = false;  // a certain repair, which an editor may apply at once
    std::string uri;
    std::vector<TextEdit> edits;
};

// What the server offers: full text synchronisation, hover, inlay hints,
// the outline, formatting and quick fixes, with positions counted in `encoding`.
struct InitializeResult {
    PositionEncoding encoding = PositionEncoding::utf16;
    std::string name;
    std::string version;
};

// JSON-RPC's error codes, and the protocol's own.
enum class ErrorCode : std::int32_t {
    parse_error = -32700,
    invalid_request = -32600,
    method_not_found = -32601,
    invalid_params = -32602,
    server_not_initialized = -32002,
};

struct ResponseError {
    ErrorCode code;
    std::string message;
};

enum class MessageType : std::uint8_t { error = 1 };

struct ShowMessageParams {
    MessageType type = MessageType::error;
    std::string message;
};

// A request's id as the client wrote it: a string, a number, or null.
struct RequestId {
    enum class Kind : std::uint8_t { null, string, whole, real };
    Kind kind = Kind::null;
    std::string text;
    std::int64_t whole = 0;
    double real = 0;
};

// ---- What the server reads ----

struct InitializeParams {
    PositionEncoding encoding = PositionEncoding::utf16;
    bool markdown = false;  // the client shows Markdown in hovers
};

// didOpen, and didChange once its whole text is found.
struct DocumentText {
    std::string uri;
    std::int64_t version = 0;
    std::string text;  // UTF-8
};

struct PositionParams {
    std::string uri;
    Position position;
};

struct RangeParams {
    std::string uri;
    Range range;
};

struct CodeActionParams {
    std::string uri;
    Range range;
    bool quickfix = true;  // false when the client asks only for kinds other than quick fixes
};

}  // namespace scenario::lsp
