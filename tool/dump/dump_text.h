// The compiled files as readable text: one line per record, cell or row,
// every field by its name.
#pragma once

#include <array>
#include <cstddef>
#include <iosfwd>
#include <vector>

#include "compiler/model.h"

namespace scenario {

// `bytes` is the size of the file, shown in the first line.
void print_table(const std::array<voce, kVoci>& voci, std::size_t bytes, std::ostream& out);
// Cells whose fields are all 0 are left out.
void print_route(const std::vector<cella>& percorso, std::size_t bytes, std::ostream& out);
void print_geometry(const Tracciato& t, std::size_t bytes, std::ostream& out);

// A cell with every field 0 says nothing and is left out of both forms.
bool is_blank(const cella& c);

// The shortest decimal form that reads back as the same double.
std::string shortest(double v);

}  // namespace scenario
