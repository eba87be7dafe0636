#include "compiler/error_codes.h"

#include <array>
#include <string>

namespace scenario {

namespace {

constexpr std::array<ErrorCodeInfo, 28> kCodes{{
    {codice::kLunghezzaEccessiva, "route length above 1000000 m", false},
    {codice::kProgressivaNonMultipla,
     "a kilometric reference position or value is not a multiple of 50", false},
    {codice::kRipetizionePrimaNonMultipla,
     "first signal-repetition position is not a multiple of 50", false},
    {codice::kRipetizioneSecondaNonMultipla,
     "second signal-repetition position is not a multiple of 50", false},
    {codice::kRipetizioneSenzaCodici, "signal-repetition keyword has neither 4 nor 9", false},
    {codice::kCartelloOccupato, "indicator sign on a cell that is not free", true},
    {codice::kAbbattimentoOccupato, "speed-reduction row on a cell that is not free", true},
    {codice::kStazioneNonMultipla, "station position is not a multiple of 50", true},
    {codice::kLunghezzaStazione, "station length is not a multiple of 100", true},
    {codice::kTroppeStazioni, "station entries reach the sign entries", false},
    {codice::kPuntoPrimaDelSegnale, "no cell for a speed-reduction point before a signal", true},
    {codice::kFasciaOccupata, "no free cell in a band before a slowdown", true},
    {codice::kPuntoNelRallentamento, "no free cell for a speed-reduction point of a slowdown",
     true},
    {codice::kFuoriPercorso, "position beyond the end of the route", true},
    {codice::kSegnaleOccupato, "signal on a cell that is not free", true},
    {codice::kAvvisoOccupato, "slowdown warning cell is not free", true},
    {codice::kInizioOccupato, "slowdown start cell is not free", true},
    {codice::kFineOccupata, "slowdown end cell is not free", true},
    {codice::kPreavvisoOccupato, "a lead-in cell of a slowdown is not free", true},
    {codice::kIndicatoreOccupato, "maximum-speed board on a cell that is not free", true},
    {codice::kStazioniVicine, "station starts less than 350 m after the previous one", true},
    {codice::kFermataInizio, "station stop point would fall on cell 1 or lower", false},
    {codice::kLettura, "source file unreadable, truncated or out of the route's limits", false},
    {codice::kLineaMancante, "line source file missing", false},
    {codice::kGeneraleMancante, "no [generale] line in the line source file", false},
    {codice::kCurva, "curve without a class digit, or line geometry beyond 1000000 m", false},
    {codice::kMarcaFormato, "header cell or format mark already in use", false},
    {codice::kCodiceGara, "check code places already in use", false},
}};

}  // namespace

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
