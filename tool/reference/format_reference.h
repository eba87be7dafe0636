// The tables of the format reference, docs/source-formats.md, made from the
// program's own tables: the keywords and fields of the record kinds, the
// recorded codes and the diagnostics. The reference is written by hand
// around them; each table stands between the two marker lines
//
//     <!-- generated: NAME -->
//     <!-- end generated -->
//
// and `update_reference` writes the text between them anew, so that a test
// notices when the file and the program part.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace scenario {

struct GeneratedPart {
    std::string name;
    std::string text;  // the Markdown between the two marker lines
};

// Every generated part of the reference: the keywords of each file, one
// part per record kind, the codes and the diagnostics.
std::vector<GeneratedPart> generated_parts();

// `markdown` with the text of every generated part written anew. The parts
// may stand in any order. False, with `error` saying why, when a part is
// missing, unknown, repeated or unclosed.
bool update_reference(std::string_view markdown, std::string* updated, std::string* error);

}  // namespace scenario
