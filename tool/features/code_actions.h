// The quick fixes an editor offers in a stretch of a document: the fixes
// of the diagnostics shown there that edit this document, as the
// protocol's code actions.
#pragma once

#include <span>
#include <vector>

#include "authoring/quick_fixes.h"
#include "compiler/diagnostic.h"
#include "tool/features/document_diagnostics.h"
#include "tool/lsp/protocol.h"

namespace scenario {

// REQUIRES: `fixes` are those of `diagnostics`, made from the text `doc`
// holds.
std::vector<lsp::CodeAction> code_actions(std::span<const Diagnostic> diagnostics,
                                          std::span<const Fix> fixes, const CheckedDocument& doc,
                                          const lsp::Range& range);

}  // namespace scenario
