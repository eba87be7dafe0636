// How both source files are laid out around their records: the preamble up
// to "[generale]", comment fields, the section title that ends the line
// file's header block, and the "[fine]" line. The compilers and the
// author's checks walk a file with these same steps, so that both see the
// same keyword fields.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "formats/field_reader.h"

namespace scenario {

inline constexpr std::string_view kGenerale = "[generale]";
inline constexpr std::string_view kFine = "[fine]";

// A keyword field holding a "-" anywhere is a comment and is passed over.
bool is_comment(std::string_view field);

// The line file's header block ends at a section title: a field with both
// brackets whose text, leading spaces removed, does not begin with "-".
bool ends_header(std::string_view field);

// A section title: a field holding both brackets (only "[generale]" and the
// end of the header block mean anything to the compilers).
bool is_section_title(std::string_view field);

// How many comment fields in a row are passed over before a field counts as
// a keyword, and whether the end of the file is tested between them.
struct CommentRule {
    int max_in_a_row;
    bool end_test_between;
};
inline constexpr CommentRule kHeaderComments{10, false};  // line file, header block
inline constexpr CommentRule kBodyComments{2, true};      // line file body, train file

enum class Preamble : std::uint8_t {
    found,  // a field holding "[generale]" was read and more follow
    end,    // the end of the file came first, or right after it
    fail,   // nothing left to read
};

// Reads fields into `riga` up to the first that holds "[generale]".
Preamble skip_preamble(FieldReader& in, std::string* riga);

enum class KeywordRead : std::uint8_t {
    keyword,  // `riga` holds a keyword field
    end,      // the field just read ends the file: it is never interpreted
    fail,     // nothing left to read
};

// The comment fields passed over on the way to a keyword.
struct CommentTrace {
    std::array<FieldSpan, kHeaderComments.max_in_a_row> skipped{};
    int count = 0;
};

// Reads the next keyword field into `riga`, passing over comment fields as
// `rule` allows. REQUIRES: !in.at_end().
KeywordRead read_keyword(FieldReader& in, std::string* riga, CommentRule rule,
                         CommentTrace* trace = nullptr);

}  // namespace scenario
