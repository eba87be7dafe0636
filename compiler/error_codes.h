// The codes that the compiler and the route pass record in `codice_errore`,
// with their meanings, the usual cause and the fix. The numbers are part of
// the program's interface to scenario authors: they appear in reports and
// must never change. `scenario_tool explain` and the format reference
// (docs/source-formats.md) print this table.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace scenario {

namespace codice {
constexpr std::int32_t kNessuno = 0;
constexpr std::int32_t kLunghezzaEccessiva = 1;
constexpr std::int32_t kProgressivaNonMultipla = 2;
constexpr std::int32_t kRipetizionePrimaNonMultipla = 3;
constexpr std::int32_t kRipetizioneSecondaNonMultipla = 4;
constexpr std::int32_t kRipetizioneSenzaCodici = 5;
constexpr std::int32_t kCartelloOccupato = 6;
constexpr std::int32_t kAbbattimentoOccupato = 7;
constexpr std::int32_t kStazioneNonMultipla = 8;
constexpr std::int32_t kLunghezzaStazione = 9;
constexpr std::int32_t kTroppeStazioni = 10;
constexpr std::int32_t kPuntoPrimaDelSegnale = 11;
constexpr std::int32_t kFasciaOccupata = 12;
constexpr std::int32_t kPuntoNelRallentamento = 13;
constexpr std::int32_t kFuoriPercorso = 15;
constexpr std::int32_t kSegnaleOccupato = 16;
constexpr std::int32_t kAvvisoOccupato = 17;
constexpr std::int32_t kInizioOccupato = 18;
constexpr std::int32_t kFineOccupata = 19;
constexpr std::int32_t kPreavvisoOccupato = 20;
constexpr std::int32_t kIndicatoreOccupato = 21;
constexpr std::int32_t kStazioniVicine = 22;
constexpr std::int32_t kFermataInizio = 24;
constexpr std::int32_t kLettura = 25;
constexpr std::int32_t kLineaMancante = 101;
constexpr std::int32_t kGeneraleMancante = 102;
constexpr std::int32_t kCurva = 103;
constexpr std::int32_t kMarcaFormato = 1250;  // fatal header checks
constexpr std::int32_t kCodiceGara = 1251;
}  // namespace codice

struct ErrorCodeInfo {
    std::int32_t code;
    std::string_view meaning;
    bool has_position;       // whether `posizione_errore` is set with this code
    std::string_view cause;  // what in a scenario usually leads to it
    std::string_view fix;    // what the author changes
};

// Every code, in ascending order.
std::span<const ErrorCodeInfo> error_codes();

// The entry for `code`, or nullptr for a number that is not a code.
const ErrorCodeInfo* find_error_code(std::int32_t code);

// A one-line description: "code 15: <meaning>, at 107950 m" (the position
// only for codes that carry one).
std::string describe_error(std::int32_t code, std::int32_t posizione);

}  // namespace scenario
