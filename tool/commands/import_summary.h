// What an import made and guessed, for the author: the figures as a few
// lines of text, or as one JSON document, and every note in the
// diagnostics' style ("MAP: n123: note: ...").
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "importing/import_path.h"
#include "importing/scenario_maker.h"

namespace scenario {

struct ImportReport {
    std::string map;  // the map file as named
    std::vector<std::string> written;
    const importing::ImportPath* path = nullptr;
    const importing::MadeScenario* made = nullptr;
};

void print_import_text(const ImportReport& report, std::ostream& out, bool colour);
void print_import_json(const ImportReport& report, std::ostream& out);

}  // namespace scenario
