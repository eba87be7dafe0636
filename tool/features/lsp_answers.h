// The answers to an editor's questions about one source document, written
// as the protocol's results: the hover over a place, the name labels of
// the fields in a stretch, the outline. A document that is no open source
// file (nullptr) gets the empty answer.
#pragma once

#include "tool/lsp/editor_text.h"

namespace scenario {

class JsonWriter;
struct OpenDocument;

// A Hover, or null where no record's field lies.
void put_hover(JsonWriter& json, const OpenDocument* doc, EditorPosition at, bool markdown);

// An array of InlayHint, one per value field that begins from `start` to `end`.
void put_inlay_hints(JsonWriter& json, const OpenDocument* doc, EditorPosition start,
                     EditorPosition end);

// An array of DocumentSymbol: the sections, each with its records.
void put_document_symbols(JsonWriter& json, const OpenDocument* doc);

}  // namespace scenario
