// Station names as an author types them and as the map spells them: the
// same name whatever its case, accents, blanks and punctuation, so that
// "Carnoles" finds "Carnol\xC3\xA8s" and "schaan vaduz" finds "Schaan-Vaduz".
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace scenario::importing {

// Lower-case ASCII letters and digits of a UTF-8 name, Latin letters with
// accents folded to their base letter ("\xC3\x9F" to "ss", "\xC3\xA6" to
// "ae"); characters of other scripts kept as they are, everything else
// dropped.
std::string normalised_name(std::string_view utf8);

// The name in plain ASCII for a file name: accents folded, letters and
// digits kept with their case, every run of anything else one '_'.
std::string ascii_name(std::string_view utf8);

}  // namespace scenario::importing
