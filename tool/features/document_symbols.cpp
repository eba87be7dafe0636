#include "tool/features/document_symbols.h"

#include "tool/features/editor_range.h"
#include "tool/features/source_outline.h"

namespace scenario {

namespace {

// Chosen for the icons editors show.
lsp::SymbolKind symbol_kind(const OutlineEntry& e) {
    if (!e.kind) return lsp::SymbolKind::name_space;
    switch (*e.kind) {
        case RecordKindId::stazione:
            return lsp::SymbolKind::structure;
        case RecordKindId::segnale:
            return lsp::SymbolKind::event;
        case RecordKindId::indicatori_vmax:
        case RecordKindId::abbattimento:
        case RecordKindId::rallentamento:
            return lsp::SymbolKind::constant;
        case RecordKindId::cartello_indicatore:
            return lsp::SymbolKind::string;
        case RecordKindId::curva:
        case RecordKindId::montagna:
            return lsp::SymbolKind::function;
        case RecordKindId::pendenza:
        case RecordKindId::velocita:
        case RecordKindId::aderenza:
            return lsp::SymbolKind::number;
        default:
            break;
    }
    return lsp::SymbolKind::property;
}

lsp::DocumentSymbol symbol(const EditorText& text, const OutlineEntry& e) {
    lsp::DocumentSymbol s;
    s.name = e.name.empty() ? std::string("?") : e.name;
    s.detail = e.detail;
    s.kind = symbol_kind(e);
    s.range = editor_range(text, e.range.begin, e.range.end);
    s.selection_range = {text.position(e.selection.begin), text.position(e.selection.end)};
    for (const OutlineEntry& child : e.children)
        s.children.push_back(symbol(text, child));
    return s;
}

}  // namespace

std::vector<lsp::DocumentSymbol> document_symbols(const EditorText& text,
                                                  const SourceCheck& check) {
    std::vector<lsp::DocumentSymbol> symbols;
    for (const OutlineEntry& e : outline(text.bytes(), check))
        symbols.push_back(symbol(text, e));
    return symbols;
}

}  // namespace scenario
