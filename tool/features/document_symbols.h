// The outline of a source document: its sections, each with its records.
#pragma once

#include <vector>

#include "compiler/source_check.h"
#include "tool/lsp/editor_text.h"
#include "tool/lsp/protocol.h"

namespace scenario {

std::vector<lsp::DocumentSymbol> document_symbols(const EditorText& text, const SourceCheck& check);

}  // namespace scenario
