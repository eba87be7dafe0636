// The train card in an author's folder set against the train file's
// timetable: a station of the train file whose time the card gives
// otherwise (the departure at a stop and at the origin, the arrival at the
// terminus, the time of passing of a place passed with a time), and a stop
// the card leaves out. Names compare without regard to case, blanks and
// full stops, so "S.ILARIA" is "S. ILARIA".
#pragma once

#include <string_view>
#include <vector>

#include "compiler/diagnostic.h"
#include "compiler/model.h"

namespace scenario {

// `card` in Windows-1252, as the card file holds it; `s` compiled from the
// train file. Each diagnostic stands at its card line (SourceKind::card).
std::vector<Diagnostic> card_diagnostics(std::string_view card, const Scenario& s);

}  // namespace scenario
