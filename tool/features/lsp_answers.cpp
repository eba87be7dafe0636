#include "tool/features/lsp_answers.h"

#include "tool/features/field_hover.h"
#include "tool/features/source_outline.h"
#include "tool/json/json_writer.h"
#include "tool/lsp/open_documents.h"

namespace scenario {

namespace {

constexpr int kInlayHintParameter = 2;  // InlayHintKind

// The protocol's symbol kinds, chosen for the icons editors show.
constexpr int kSymbolNamespace = 3;
constexpr int kSymbolProperty = 7;
constexpr int kSymbolFunction = 12;
constexpr int kSymbolConstant = 14;
constexpr int kSymbolString = 15;
constexpr int kSymbolNumber = 16;
constexpr int kSymbolStruct = 23;
constexpr int kSymbolEvent = 24;

int symbol_kind(const OutlineEntry& e) {
    if (!e.kind) return kSymbolNamespace;
    switch (*e.kind) {
        case RecordKindId::stazione:
            return kSymbolStruct;
        case RecordKindId::segnale:
            return kSymbolEvent;
        case RecordKindId::indicatori_vmax:
        case RecordKindId::abbattimento:
        case RecordKindId::rallentamento:
            return kSymbolConstant;
        case RecordKindId::cartello_indicatore:
            return kSymbolString;
        case RecordKindId::curva:
        case RecordKindId::montagna:
            return kSymbolFunction;
        case RecordKindId::pendenza:
        case RecordKindId::velocita:
        case RecordKindId::aderenza:
            return kSymbolNumber;
        default:
            break;
    }
    return kSymbolProperty;
}

void put_symbol(JsonWriter& json, const EditorText& text, const OutlineEntry& e) {
    json.begin_object();
    json.key("name");
    json.string(e.name.empty() ? std::string("?") : e.name);
    if (!e.detail.empty()) {
        json.key("detail");
        json.string(e.detail);
    }
    json.key("kind");
    json.number(symbol_kind(e));
    put_range(json, text, e.range.begin, e.range.end);
    json.key("selectionRange");
    json.begin_object();
    json.key("start");
    put_position(json, text.position(e.selection.begin));
    json.key("end");
    put_position(json, text.position(e.selection.end));
    json.end_object();
    if (!e.children.empty()) {
        json.key("children");
        json.begin_array();
        for (const OutlineEntry& child : e.children)
            put_symbol(json, text, child);
        json.end_array();
    }
    json.end_object();
}

}  // namespace

void put_hover(JsonWriter& json, const OpenDocument* doc, EditorPosition at, bool markdown) {
    const std::optional<HoverNote> note =
        doc == nullptr ? std::nullopt
                       : hover_note(doc->text.bytes(), doc->check, doc->text.offset(at), markdown);
    if (!note) return json.null();
    json.begin_object();
    json.key("contents");
    json.begin_object();
    json.key("kind");
    json.string(markdown ? "markdown" : "plaintext");
    json.key("value");
    json.string(note->text);
    json.end_object();
    put_range(json, doc->text, note->span.begin, note->span.end);
    json.end_object();
}

void put_inlay_hints(JsonWriter& json, const OpenDocument* doc, EditorPosition start,
                     EditorPosition end) {
    json.begin_array();
    if (doc != nullptr) {
        for (const FieldLabel& label :
             field_labels(doc->check, doc->text.offset(start), doc->text.offset(end))) {
            json.begin_object();
            json.key("position");
            put_position(json, doc->text.position(label.offset));
            json.key("label");
            json.string(std::string(label.name) + ":");
            json.key("kind");
            json.number(kInlayHintParameter);
            json.key("paddingRight");
            json.boolean(true);
            json.end_object();
        }
    }
    json.end_array();
}

void put_document_symbols(JsonWriter& json, const OpenDocument* doc) {
    json.begin_array();
    if (doc != nullptr) {
        for (const OutlineEntry& e : outline(doc->text.bytes(), doc->check))
            put_symbol(json, doc->text, e);
    }
    json.end_array();
}

}  // namespace scenario
