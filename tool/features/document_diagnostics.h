// What one of the two source documents shows of a check of its line file
// with a train file: its own diagnostics, those of the scenario as a whole
// where the check puts them, and the errors of the other file when the
// editor does not hold that one, at the top, with the place they stand.
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "compiler/diagnostic.h"
#include "tool/lsp/editor_text.h"
#include "tool/lsp/protocol.h"

namespace scenario {

struct CheckedDocument {
    SourceKind kind;
    std::string_view uri;
    const EditorText& text;
};

struct OtherFile {
    std::string_view path;
    std::string_view text;  // as read, in Windows-1252
    bool carried;           // its errors are shown in the document
};

std::vector<lsp::Diagnostic> document_diagnostics(std::span<const Diagnostic> diagnostics,
                                                  const CheckedDocument& doc,
                                                  const OtherFile& other,
                                                  PositionEncoding encoding);

}  // namespace scenario
