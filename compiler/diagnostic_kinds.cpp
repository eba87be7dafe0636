#include "compiler/diagnostic_kinds.h"

namespace scenario {

namespace {

using enum Severity;

constexpr DiagnosticKind kKinds[] = {
    {DiagnosticId::recorded_code, "recorded-code", error, "the compiler recorded a failure code",
     "The compiler stopped reading at this record and recorded the code shown; its meaning "
     "and, where it has one, the position in metres follow the number. The files are still "
     "written, with whatever was read before. Fix the record named and compile again."},
    {DiagnosticId::missing_source, "missing-source", error, "a source file is missing",
     "The line and the train source files must both be in the folder, named from the line "
     "identifier and the train number. Check --line, --train and the folder."},
    {DiagnosticId::no_route, "no-route", error, "the compile created no route",
     "Without a route nothing is written. The line file needs a [generale] line followed by "
     "a 'lunghezza percorso' record of at most 1000000 m."},
    {DiagnosticId::fatal_check, "fatal-check", error, "a header check failed",
     "An object landed on the header entries that receive the format marks or the check "
     "codes (code 1250 or 1251): the builder ends with its fatal message and writes nothing. "
     "Look for a record that writes cell 1 or the scenario's header entries."},
    {DiagnosticId::number_too_large, "number-too-large", error,
     "a number does not fit the field that receives it",
     "Byte fields take 0 to 255, Integer fields -32768 to 32767, Long fields 32-bit values. "
     "A larger number is a read failure: the compile ends with code 25. Usually a digit too "
     "many, or the fields of a record shifted by a missing comma."},
    {DiagnosticId::record_cut_short, "record-cut-short", error,
     "the file ends in the middle of a record",
     "The record's keyword asks for more value fields than the file still holds: a read "
     "failure, code 25. Complete the record or end the file with its [fine] line."},
    {DiagnosticId::beyond_route, "beyond-route", error,
     "a position lies past the last one the route carries",
     "A record's position must leave 100 m of route after it (800 m for a station): the "
     "route ends 7000 m after the line's length. Reading the file stops there with code 15. "
     "Check the position, or lengthen the route."},
    {DiagnosticId::reaches_off_route, "reaches-off-route", error,
     "a record would write cells the route does not have",
     "A signal's approach marks lie up to 8 cells before it, so a signal needs at least "
     "325 m of route before it; a slowdown's end cell lies at its start plus its length. A "
     "record that would write before the first cell or after the last one is refused as a "
     "read failure: the compile ends with code 25. Move the record, or shorten the slowdown."},
    {DiagnosticId::not_a_multiple, "not-a-multiple", error,
     "a value that must lie on a cell boundary does not",
     "Station positions, kilometric references and signal-repetition positions must be "
     "multiples of 50 m, station lengths multiples of 100 m; otherwise the compiler records "
     "the code named in the message."},
    {DiagnosticId::curve_without_class, "curve-without-class", error,
     "a curve keyword has no class digit",
     "The class digit 1 to 6 in a curve keyword sets its radius; without one the compile "
     "ends with code 103. Write the keyword as 'curva', the side letter, then the digit, "
     "as in 'curvad5'."},
    {DiagnosticId::record_before_length, "record-before-length", error,
     "a body record comes before the route length",
     "The route is created by the 'lunghezza percorso' record of the header block; a body "
     "record before it has no route to go on, and the compile ends with code 25."},
    {DiagnosticId::record_spans_lines, "record-spans-lines", warning,
     "a record's value fields do not end on the line of its keyword",
     "Fields are read as one stream: a record with too few fields on its line takes the "
     "next line's keyword as its last value, and the next record is lost; one with too many "
     "leaves pieces that are examined as keywords. Count the commas; blanks alone also "
     "separate numbers."},
    {DiagnosticId::extra_fields, "extra-fields", warning,
     "more fields on a line than its record reads",
     "The fields after the record's last value are examined as keywords of their own, and "
     "one of them may select a record. Usually a stray comma, or a comma inside a text."},
    {DiagnosticId::unknown_keyword, "unknown-keyword", warning,
     "a keyword field selects no record kind",
     "The field is neither a record keyword, a section title in brackets nor a comment, so "
     "the whole line is skipped. Usually a misspelt keyword."},
    {DiagnosticId::misplaced_record, "misplaced-record", warning,
     "a record stands where its kind is not read",
     "The line file reads its header records only in the header block, before the first "
     "section title, and its body records only after it: a record on the wrong side is "
     "ignored. Move it."},
    {DiagnosticId::two_record_kinds, "two-record-kinds", warning,
     "a keyword field selects two record kinds",
     "A keyword is recognised by the words it contains: one holding the words of two kinds "
     "is read as two records, one after the other. Keep to one kind's words."},
    {DiagnosticId::curve_stray_s, "curve-stray-s", warning,
     "a curve keyword has an 's' besides its side letter",
     "Any 's' in a curve keyword turns the curve towards negative x, whatever its side "
     "letter. Write only the side letter, then the class digit."},
    {DiagnosticId::curve_class_digits, "curve-class-digits", warning,
     "a curve keyword has more than one class digit",
     "The digits 1 to 6 are tried in that order, and the first one found anywhere in the "
     "keyword sets the radius, not the first one written. Keep one class digit."},
    {DiagnosticId::comment_with_comma, "comment-with-comma", warning,
     "a comment line holds a comma",
     "Only the first piece of a comment line is passed over: the pieces after its commas "
     "are examined as keywords. Write comments without commas."},
    {DiagnosticId::comment_taken_as_keyword, "comment-taken-as-keyword", warning,
     "too many comment lines in a row",
     "At most two comment fields in a row are passed over (ten in the line file's header "
     "block); the next one is examined as a keyword. Merge the comments."},
    {DiagnosticId::not_a_number, "not-a-number", warning,
     "a numeric field is not a number and reads 0",
     "Numbers are whole and decimal, with an optional leading '-': a letter O for a zero, a "
     "decimal point or a thousands separator makes the field read 0, without any error."},
    {DiagnosticId::value_out_of_range, "value-out-of-range", warning,
     "a value lies outside the range its record documents",
     "The compiler takes the value as written, but the simulator expects the documented "
     "range shown in the message."},
    {DiagnosticId::value_truncated, "value-truncated", warning,
     "a value keeps only its low-order bits when stored",
     "The field that stores the value is narrower than the number: only its low-order bits "
     "are kept, and the simulator sees another value."},
    {DiagnosticId::stop_replaces_object, "stop-replaces-object", warning,
     "a station's stop point replaces an object on the route",
     "A stop point is put on the cell before the station's far end without a test: a speed "
     "board, a name sign or a signal on that cell is lost. Move the object or the station."},
    {DiagnosticId::mark_replaces_mark, "mark-replaces-mark", warning,
     "a signal's approach mark replaces another approach mark",
     "A signal marks the 2nd, 4th, 6th and 8th cells before it, over whatever mark a "
     "station or another signal left there, which is then lost. Move the signal."},
    {DiagnosticId::rows_out_of_order, "rows-out-of-order", warning,
     "profile or curve rows are not in ascending order",
     "Gradient, speed and adhesion rows apply from their position up to the next row, and "
     "curves continue from the end of the previous one: a row behind the one before it "
     "changes the wrong cells. Sort the rows by position."},
    {DiagnosticId::last_field_not_fine, "last-field-not-fine", warning,
     "the file does not end with its [fine] line",
     "The last field of a file is never interpreted; the writer ends each file with a "
     "[fine] line so that no record is lost. Here the last field is something else."},
    {DiagnosticId::no_generale, "no-generale", warning, "the train file has no [generale] line",
     "Everything up to the first [generale] is skipped, so none of the train file's records "
     "is read. Add the [generale] line at the top."},
    {DiagnosticId::position_rounded, "position-rounded", note, "a position is rounded to its cell",
     "The route is made of 50 m cells: a position that is not a multiple of 50 takes effect "
     "at the nearest cell boundary, halves to the even cell."},
    {DiagnosticId::speed_rounded, "speed-rounded", note, "a speed is rounded to a multiple of 5",
     "Line speeds are stored in units of 5 km/h: the nearest multiple is kept, halves to "
     "the even unit."},
    {DiagnosticId::tempo_raised, "tempo-raised", note, "a time value of 1 to 100 is raised to 101",
     "A signal's time value is 0 for none or 101 to 255; 1 to 100 are taken as 101."},
    {DiagnosticId::timetable_too_tight, "timetable-too-tight", warning,
     "a scheduled time is earlier than the train can make it",
     "The fastest run of the train from the previous stop, with the line's speed limits, "
     "slowdowns, gradients and the train's traction and brakes, ends after the time the "
     "timetable gives (a departure also waits for the stop's dwell). The driver cannot keep "
     "it. Give a later time, or describe a faster train with --stock; 'scenario_tool run' "
     "shows every station's earliest time."},
    {DiagnosticId::timetable_not_increasing, "timetable-not-increasing", warning,
     "a scheduled time is not after the one before it",
     "The station rows follow the direction of travel, so their times must grow from one "
     "to the next; hours go on past midnight as 24, 25 and so on. Usually a mistyped hour "
     "or minute."},
    {DiagnosticId::margin_below_standard, "margin-below-standard", note,
     "a section's margin is under the standard recovery margin",
     "Timetables give each section more than its fastest run, so that a small delay is made "
     "up: UIC leaflet 451-1 asks for 3 % of the running time and 1.5 minutes per 100 km for "
     "a locomotive-hauled passenger train (no distance part on runs of 30 km or less). The "
     "time can be kept, but with less than that to spare."},
    {DiagnosticId::stock_problem, "stock-problem", error, "the rolling-stock file cannot be used",
     "The TOML file given with --stock must be well formed, and each of its keys one of "
     "those the run knows, of the right type and within its bounds; an effort table needs "
     "points ascending in speed. Nothing is computed from a file with a problem."},
    {DiagnosticId::card_disagrees, "card-disagrees", warning,
     "the train card disagrees with the train file's timetable",
     "The train card in the folder gives a station another time than the train file's "
     "departure (the arrival at the last station), or leaves out one of its stops: the "
     "driver reads the card. Run 'scenario_tool documents' to make the card and the "
     "slowdown bulletin again from the sources."},
    {DiagnosticId::run_blocked, "run-blocked", warning, "the train cannot make its run",
     "The run stops where the line's limit or a slowdown is 0 km/h, or where the train's "
     "tractive effort cannot start it, or keep it moving, against the gradient and its "
     "running resistance; no time after that place can be checked. Raise the limit, or "
     "describe a stronger train with --stock."},
};

constexpr bool listed_in_order() {
    for (std::size_t i = 0; i < std::size(kKinds); ++i) {
        if (static_cast<std::size_t>(kKinds[i].id) != i) return false;
    }
    return true;
}
static_assert(listed_in_order());

}  // namespace

std::span<const DiagnosticKind> diagnostic_kinds() {
    return kKinds;
}

const DiagnosticKind& diagnostic_kind(DiagnosticId id) {
    return kKinds[static_cast<std::size_t>(id)];
}

const DiagnosticKind* find_diagnostic_kind(std::string_view name) {
    for (const DiagnosticKind& kind : kKinds) {
        if (kind.name == name) return &kind;
    }
    return nullptr;
}

std::string_view severity_name(Severity severity) {
    switch (severity) {
        case Severity::error:
            return "error";
        case Severity::warning:
            return "warning";
        case Severity::note:
            break;
    }
    return "note";
}

}  // namespace scenario
