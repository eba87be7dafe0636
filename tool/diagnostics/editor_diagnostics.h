// The editor's form of a diagnostic: the protocol's struct, located in the
// document the editor holds, its message in UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "compiler/diagnostic.h"
#include "formats/source_lines.h"
#include "tool/lsp/editor_text.h"
#include "tool/lsp/protocol.h"

namespace scenario {

// A source text located both ways: by the lines and columns that the
// diagnostics count, and by the places the editor shows. Either way of
// counting is made only when first asked for.
class LocatedText {
  public:
    // A document the editor holds. REQUIRES: `editor` outlives this.
    explicit LocatedText(const EditorText& editor) : bytes_(editor.bytes()), editor_(&editor) {}
    // A file on the disk, in Windows-1252. REQUIRES: `ansi` outlives this.
    LocatedText(std::string_view ansi, PositionEncoding encoding)
        : bytes_(ansi), encoding_(encoding) {}

    // Where the editor shows `r`; the top of the text for a range of no line.
    lsp::Range range(const SourceRange& r) const;

  private:
    std::string_view bytes_;
    mutable const EditorText* editor_ = nullptr;
    PositionEncoding encoding_ = PositionEncoding::utf16;
    mutable std::optional<SourceLines> lines_;
    mutable std::optional<EditorText> made_;
};

// A diagnostic of the document, at `range` of it.
lsp::Diagnostic own_diagnostic(const Diagnostic& d, const SourceRange& range,
                               const LocatedText& mine);

// The other file of the two, which the editor does not hold.
struct CarriedFile {
    std::string uri;
    std::string_view file;  // its name
    const LocatedText& text;
};

// An error of the other file, at the top of the document, naming the file
// and the place, which it also gives as related information.
lsp::Diagnostic carried_diagnostic(const Diagnostic& d, const CarriedFile& other);

}  // namespace scenario
