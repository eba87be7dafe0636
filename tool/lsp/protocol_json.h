// The protocol's messages as JSON-RPC 2.0 text: every message the server
// reads is taken apart here, and every message it sends is written here.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tool/json/json_reader.h"
#include "tool/lsp/protocol.h"

namespace scenario::lsp {

// One message as read: a request or a notification to serve, an answer
// from the client (which the server never asks for), or a message that
// gets an error answer instead.
struct Incoming {
    enum class Kind : std::uint8_t { message, client_answer, error };
    Kind kind = Kind::error;
    std::string method;
    std::optional<RequestId> id;  // none: a notification (or an error without a usable id)
    ResponseError error{ErrorCode::parse_error, {}};
    std::unique_ptr<JsonValue> json;  // what `params` points into
    const JsonValue* params = nullptr;
};

Incoming read_message(std::string_view body, std::size_t max_bytes);

// The parameters of each method; nothing when the member the server needs
// is missing or of the wrong type.
std::optional<InitializeParams> read_initialize(const JsonValue* params);
std::optional<DocumentText> read_did_open(const JsonValue* params);
std::optional<std::string> read_document_uri(const JsonValue* params);
std::optional<std::string> read_saved_text(const JsonValue* params);
std::optional<PositionParams> read_position_params(const JsonValue* params);
std::optional<RangeParams> read_range_params(const JsonValue* params);
std::optional<CodeActionParams> read_code_action_params(const JsonValue* params);

// didChange with full text synchronisation: the last whole text, if any.
struct ChangeRead {
    enum class Status : std::uint8_t {
        whole,    // `text` holds the new text
        no_text,  // no change carries a text: nothing to do
        bad,      // no uri, or no list of changes
        partial,  // a change of part of the text, which the server never asks for
    };
    Status status = Status::bad;
    DocumentText text;
};
ChangeRead read_did_change(const JsonValue* params);

// Whole messages, ready for the transport. An id of none is written null.
std::string result_message(const std::optional<RequestId>& id, const InitializeResult& r);
std::string result_message(const std::optional<RequestId>& id, const std::optional<Hover>& r);
std::string result_message(const std::optional<RequestId>& id, const std::vector<InlayHint>& r);
std::string result_message(const std::optional<RequestId>& id,
                           const std::vector<DocumentSymbol>& r);
std::string result_message(const std::optional<RequestId>& id, const std::vector<TextEdit>& r);
std::string result_message(const std::optional<RequestId>& id, const std::vector<CodeAction>& r);
std::string null_result_message(const std::optional<RequestId>& id);
std::string error_message(const std::optional<RequestId>& id, const ResponseError& e);
std::string notification_message(const PublishDiagnosticsParams& p);
std::string notification_message(const ShowMessageParams& p);

}  // namespace scenario::lsp
