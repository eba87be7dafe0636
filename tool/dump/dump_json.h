// The compiled files as JSON: the same records, cells and rows as the text
// form, one object per file.
#pragma once

#include <array>
#include <cstddef>
#include <iosfwd>
#include <vector>

#include "compiler/model.h"

namespace scenario {

// {"kind":"table","bytes":...,"records":[{"index":0,"tipo":...},...]}
void print_table_json(const std::array<voce, kVoci>& voci, std::size_t bytes, std::ostream& out);
// {"kind":"route","bytes":...,"cell_count":...,"cells":[...]}, cells with
// every field 0 left out as in the text form.
void print_route_json(const std::vector<cella>& percorso, std::size_t bytes, std::ostream& out);
// {"kind":"geometry","bytes":...,"row_count":...,"rows":[{"row":0,"tag":2,"x":0,"y":0},...]},
// x and y null on rows without value.
void print_geometry_json(const Tracciato& t, std::size_t bytes, std::ostream& out);

}  // namespace scenario
