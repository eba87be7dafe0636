#include "compiler/error_codes.h"

#include <array>
#include <string>

namespace scenario {

namespace {

// Objects on the route need a 50 m cell of their own: a cell is free when it
// is empty or holds only a tunnel mark.
constexpr std::array<ErrorCodeInfo, 28> kCodes{{
    {codice::kLunghezzaEccessiva, "route length above 1000000 m", false,
     "The 'lunghezza percorso' record gives more than 1000000 m, often with a digit too many. "
     "No route is created and nothing is written.",
     "Give the length of the line in metres, 1000000 at most."},
    {codice::kProgressivaNonMultipla,
     "a kilometric reference position or value is not a multiple of 50", false,
     "A 'progressiva chilometrica' record of the line file has a position or a kilometric "
     "value that is not a multiple of 50. It is tested last, after the train file, so "
     "everything is read and written.",
     "Round the position and the value to a multiple of 50 m; write an unused reference as "
     "0, 0, 0."},
    {codice::kRipetizionePrimaNonMultipla,
     "first signal-repetition position is not a multiple of 50", false,
     "The first number of the 'ripetizione segnali' record is not a multiple of 50.",
     "Write a multiple of 50 m, or 0."},
    {codice::kRipetizioneSecondaNonMultipla,
     "second signal-repetition position is not a multiple of 50", false,
     "The second number of the 'ripetizione segnali' record is not a multiple of 50.",
     "Write a multiple of 50 m, or 0 for no repetition."},
    {codice::kRipetizioneSenzaCodici, "signal-repetition keyword has neither 4 nor 9", false,
     "The keyword of the 'ripetizione segnali' record must hold the number of codes, 4 or 9, "
     "as in 'ripetizione segnali 4 codici'.",
     "Write 4 or 9 in the keyword."},
    {codice::kCartelloOccupato, "indicator sign on a cell that is not free", true,
     "A 'cartello_indicatore' row falls on the 50 m cell of a speed board or of another sign.",
     "Move the sign, or the board, at least 50 m away."},
    {codice::kAbbattimentoOccupato, "speed-reduction row on a cell that is not free", true,
     "An 'abbattimento' row falls on the 50 m cell of a signal, a station's stop point, a "
     "board, a sign, a slowdown or another point.",
     "Move the point to a free cell."},
    {codice::kStazioneNonMultipla, "station position is not a multiple of 50", true,
     "The first number of a 'stazione' row is not a multiple of 50.",
     "Write the station's position as a multiple of 50 m."},
    {codice::kLunghezzaStazione, "station length is not a multiple of 100", true,
     "The third number of a 'stazione' row, its length, is not a multiple of 100.",
     "Write the length as a multiple of 100 m."},
    {codice::kTroppeStazioni, "station entries reach the sign entries", false,
     "Stations and the line file's name signs share the scenario table: the 'stazione' rows "
     "and the 'cartello_indicatore' rows may number 78 together. The station that makes them "
     "79 is stored, then refused.",
     "Remove stations or signs until they number 78 at most together."},
    {codice::kPuntoPrimaDelSegnale, "no cell for a speed-reduction point before a signal", true,
     "Before each signal in the 1000 m before a slowdown's warning cell, the route pass puts "
     "a speed-reduction point on one of the two cells just before the signal; both hold "
     "other objects. The position is that of the signal's cell.",
     "Move the signal, the objects just before it, or the slowdown."},
    {codice::kFasciaOccupata, "no free cell in a band before a slowdown", true,
     "The route pass puts a speed-reduction point in each of three bands before a slowdown's "
     "start cell, 250 to 350 m, 550 to 650 m and 900 to 1000 m before it; all three cells of "
     "one band hold objects (a point already there does not count as free). The position is "
     "that of the start cell.",
     "Move the objects out of the band, or move the slowdown."},
    {codice::kPuntoNelRallentamento, "no free cell for a speed-reduction point of a slowdown", true,
     "Inside a slowdown slower than 110 km/h the route pass puts a point every 400 m, and one "
     "just before the first signal in the 600 m after its end; that cell and its neighbours "
     "hold objects. The position is that of the cell reached, or of the slowdown's end cell.",
     "Move the objects, the signal or the slowdown."},
    {codice::kFuoriPercorso, "position beyond the end of the route", true,
     "A record's position leaves less than 100 m of the route after it, 800 m for a station; "
     "the route ends 7000 m after the line's length. The reading of that file stops there, "
     "the profiles are completed and the compile goes on, but a code 15 of the line file "
     "also ends the train file at its first signal or slowdown row.",
     "Correct the position, or lengthen the route in 'lunghezza percorso'."},
    {codice::kSegnaleOccupato, "signal on a cell that is not free", true,
     "A 'segnale' row falls on the 50 m cell of another signal, a station's stop point, a "
     "board, a sign, a slowdown or a speed-reduction point.",
     "Move the signal, or the other object, at least 50 m away."},
    {codice::kAvvisoOccupato, "slowdown warning cell is not free", true,
     "The warning cell of a slowdown, 1200 m before its start (for a slowdown that starts "
     "after 1500 m), holds another object.",
     "Move the slowdown, or the object 1200 m before it."},
    {codice::kInizioOccupato, "slowdown start cell is not free", true,
     "The cell of a slowdown's start holds another object.",
     "Move the slowdown's start, or the object there."},
    {codice::kFineOccupata, "slowdown end cell is not free", true,
     "The cell of a slowdown's end, its start plus its length, holds another object.",
     "Change the slowdown's length, or move the object at its end."},
    {codice::kPreavvisoOccupato, "a lead-in cell of a slowdown is not free", true,
     "A slowdown with a nonzero `f_ta` asks for four lead-in cells just before its warning "
     "cell; one of them holds another object. Its end, start and warning cells are already "
     "written.",
     "Move the slowdown or the object, or write `f_ta` as 0."},
    {codice::kIndicatoreOccupato, "maximum-speed board on a cell that is not free", true,
     "An 'indicatori_vmax' row falls on the 50 m cell of another board.",
     "Move one of the two boards at least 50 m away."},
    {codice::kStazioniVicine, "station starts less than 350 m after the previous one", true,
     "A station's start (its position less half its length; the whole length for kinds 5 to "
     "8) lies less than 350 m after the far end of the station row before it. Station rows "
     "follow the direction of travel.",
     "Put the station rows in running order, move the station on, or shorten one of the two."},
    {codice::kFermataInizio, "station stop point would fall on cell 1 or lower", false,
     "A station of kind below 25 whose far end lies at 100 m or less: its stop point, on the "
     "cell before the far end, would fall on the header cell 1 or before it.",
     "Move the first station so that its far end lies beyond 100 m."},
    {codice::kLettura, "source file unreadable, truncated or out of the route's limits", false,
     "A read failure: a number too large for its field, the end of a file inside a record, a "
     "body record before the route length, a missing train source file, a speed outside 0 to "
     "1277 km/h, or a record that reaches outside the route or its tables (a signal less than "
     "325 m from the start, a curve or a slowdown past the route's end, an 81st tunnel).",
     "Run 'scenario_tool check': it names the field, with number-too-large, record-cut-short, "
     "record-before-length or another diagnostic."},
    {codice::kLineaMancante, "line source file missing", false,
     "There is no line source file named from the line identifier, '<line>_linea.txt', in "
     "the folder. Nothing is read.",
     "Check the folder and the line identifier (--line)."},
    {codice::kGeneraleMancante, "no [generale] line in the line source file", false,
     "No field of the line file before its last one holds '[generale]', so nothing of it is "
     "read and no route is created.",
     "Put the line [generale] at the top of the file."},
    {codice::kCurva, "curve without a class digit, or line geometry beyond 1000000 m", false,
     "A 'curva' keyword without a class digit 1 to 6, or a curve that ends beyond metre "
     "1000000.",
     "Write the keyword as 'curva', the side letter and the class digit, as in 'curvad5'; "
     "keep every curve within the first 1000000 m."},
    {codice::kMarcaFormato, "header cell or format mark already in use", false,
     "Fatal: route cell 1 carries the route file's format mark, and an object with a first "
     "value stands there: a speed board or a name sign less than 25 m from the start of the "
     "route, a speed-reduction point between 25 and 75 m, a slowdown that starts there, or a "
     "point that the route pass puts there before a slowdown near the start. No compiled file "
     "is written.",
     "Move the object more than 75 m from the start of the route."},
    {codice::kCodiceGara, "check code places already in use", false,
     "Fatal: route cell 1 carries the plain check code in its second value, and the object "
     "on it has a second value but no first one (a slowdown of speed 0 with a `d_v` value, "
     "for instance). No compiled file is written.",
     "Move the object more than 75 m from the start of the route."},
}};

}  // namespace

std::span<const ErrorCodeInfo> error_codes() {
    return kCodes;
}

const ErrorCodeInfo* find_error_code(std::int32_t code) {
    for (const ErrorCodeInfo& info : kCodes) {
        if (info.code == code) return &info;
    }
    return nullptr;
}

std::string describe_error(std::int32_t code, std::int32_t posizione) {
    std::string text = "code " + std::to_string(code);
    const ErrorCodeInfo* info = find_error_code(code);
    if (info == nullptr) return text + ": unknown code";
    text += ": ";
    text += info->meaning;
    if (info->has_position) text += ", at " + std::to_string(posizione) + " m";
    return text;
}

}  // namespace scenario
