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

// The files beside the sources that a check read: the train's stock file
// and the train card. Their diagnostics show at the top of the train
// document, each naming its file and line.
struct AsideFiles {
    std::string_view stock_path;
    std::string_view card_path;
};

std::vector<lsp::Diagnostic> document_diagnostics(std::span<const Diagnostic> diagnostics,
                                                  const CheckedDocument& doc,
                                                  const OtherFile& other, PositionEncoding encoding,
                                                  const AsideFiles& aside = {});

}  // namespace scenario
