// What an editor sends a language server about a document's text, for the
// tests that play the editor.
#pragma once

#include <sstream>
#include <string>
#include <string_view>

#include "tool/json/json_writer.h"

namespace scenario::testing {

// The whole of a didOpen or didChange notification: the document at `uri`
// holds the UTF-8 `text`, in its `version`.
inline std::string text_message(std::string_view method, std::string_view uri, int version,
                                std::string_view text) {
    std::ostringstream out;
    JsonWriter json(out);
    json.begin_object();
    json.key("jsonrpc");
    json.string("2.0");
    json.key("method");
    json.string(method);
    json.key("params");
    json.begin_object();
    json.key("textDocument");
    json.begin_object();
    json.key("uri");
    json.string(uri);
    json.key("version");
    json.number(version);
    if (method == "textDocument/didOpen") {
        json.key("languageId");
        json.string("scenario");
        json.key("text");
        json.string(text);
    }
    json.end_object();
    if (method == "textDocument/didChange") {
        json.key("contentChanges");
        json.begin_array();
        json.begin_object();
        json.key("text");
        json.string(text);
        json.end_object();
        json.end_array();
    }
    json.end_object();
    json.end_object();
    return out.str();
}

}  // namespace scenario::testing
