// The quick fixes an editor offers in a stretch of a document: the fixes
// of the diagnostics shown there that edit this document, as the
// protocol's code actions. Only the diagnostics in the stretch are worked
// on, so that an editor asking at every move of the cursor costs little.
#pragma once

#include <span>
#include <vector>

#include "authoring/quick_fixes.h"
#include "compiler/diagnostic.h"
#include "tool/features/document_diagnostics.h"
#include "tool/lsp/protocol.h"

namespace scenario {

// REQUIRES: `diagnostics` were made from `sources`, and `doc` holds the
// text of its kind there.
std::vector<lsp::CodeAction> code_actions(std::span<const Diagnostic> diagnostics,
                                          const FixSources& sources, const CheckedDocument& doc,
                                          const lsp::Range& range);

}  // namespace scenario
