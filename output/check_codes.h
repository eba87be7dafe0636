// The two check codes of a scenario, formed from its train number and line
// identifier: a plain and a position-weighted sum of character codes.
#pragma once

#include <cstdint>
#include <string_view>

#include "compiler/model.h"

namespace scenario {

// The codes are sums over this many characters of the working text: the
// train number, then the line identifier, in lower case, then the filler.
inline constexpr int kCaratteriCodice = 25;

// Sum of the character codes (0 to 255 each): 0 to 6375, fits 16 bits.
std::int32_t codice_gara_og(std::string_view numero_treno, std::string_view nome_linea);

// Sum of i times the code of character i, i = 1 to 25: 0 to 82875.
std::int32_t codice_gara_st(std::string_view numero_treno, std::string_view nome_linea);

// The same from the identity texts of the table: `voci(86).testo` holds the
// train number and `voci(85).testo` the line identifier.
std::int32_t codice_gara_og(const Scenario& s);
std::int32_t codice_gara_st(const Scenario& s);

}  // namespace scenario
