// Lays out the records of a source file as the builder writes its own two
// files: the line file's rows with a fixed run of blanks before each value,
// the train file's rows in columns, each number right-aligned under the
// widest of its column among the rows of the same kind that follow each
// other. Only blanks that the field reader skips or reads as separators
// change: a field's own text (a keyword, a sign's text, a station's name),
// the commas and the line ends stay exactly as they are, so the compile
// reads the same fields and writes the same bytes. A line that holds
// anything but one whole record (a comment, a section title, a record over
// several lines, two records, or a record after other fields) is left as
// it is. docs/source-formats.md describes the layout of each kind.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/compile_observer.h"
#include "compiler/source_check.h"

namespace scenario {

// The blanks (spaces and tabs) from `begin` up to `end` become `spaces`
// spaces.
struct BlankEdit {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t spaces = 0;
};

// The edits that lay out every record of `text`, in the order of the text;
// none where it is laid out already. `check` is the compiler's walk through
// `text` (check_linea with its curves read, or check_treno).
std::vector<BlankEdit> layout_edits(std::string_view text, const SourceCheck& check);

// The same, kept to the lines that hold a byte from `begin` to `end` (the
// line of `begin` when the two are equal). The columns are those of the
// whole file, so that laying out a part gives its lines as laying out the
// whole file would.
std::vector<BlankEdit> layout_edits(std::string_view text, const SourceCheck& check,
                                    std::size_t begin, std::size_t end);

// `text` with `edits` made. REQUIRES: edits in order, none overlapping.
std::string apply_edits(std::string_view text, const std::vector<BlankEdit>& edits);

// The whole of a line file (`linea`) or a train file (`treno`) laid out.
std::string formatted_source(std::string_view text, SourceKind kind);

}  // namespace scenario
