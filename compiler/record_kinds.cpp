#include "compiler/record_kinds.h"

#include <array>
#include <limits>

#include "compiler/error_codes.h"
#include "compiler/model.h"
#include "compiler/route_rules.h"

namespace scenario {

namespace {

constexpr std::int64_t kLongMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kLongMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kIntMin = std::numeric_limits<std::int16_t>::min();
constexpr std::int64_t kIntMax = std::numeric_limits<std::int16_t>::max();

// Cells are 50 m long: positions on a cell boundary map to it exactly.

// A position on the route, mapped to its cell by rounding.
constexpr FieldInfo position(std::string_view name, std::string_view meaning,
                             std::int64_t min = 0) {
    return {name, FieldType::long_, "m", min, kLongMax, meaning, FieldRole::position};
}

// A Long passed on without a documented range of its own.
constexpr FieldInfo any_long(std::string_view name, std::string_view unit,
                             std::string_view meaning) {
    return {name, FieldType::long_, unit, kLongMin, kLongMax, meaning};
}

// A Long stored into a 16-bit field, or multiplied by ten into one.
constexpr FieldInfo word16(std::string_view name, std::string_view unit, std::string_view meaning,
                           std::int64_t min = kIntMin, std::int64_t max = kIntMax) {
    return {name, FieldType::long_, unit, min, max, meaning, FieldRole::value, Beyond::low_bits};
}

constexpr FieldInfo ranged(std::string_view name, FieldType type, std::string_view unit,
                           std::int64_t min, std::int64_t max, std::string_view meaning) {
    return {name, type, unit, min, max, meaning};
}

// A value that the compiler refuses with `code` unless it is a multiple of
// `multiple`.
constexpr FieldInfo stepped(FieldInfo f, std::int32_t multiple, std::int32_t code) {
    f.multiple = multiple;
    f.code = code;
    return f;
}

// A value outside [min, max] makes the compiler refuse the whole record.
constexpr FieldInfo refused(FieldInfo f) {
    f.beyond = Beyond::refused;
    return f;
}

// Positions and values of the kilometric references lie on cell boundaries.
constexpr FieldInfo on_cell(std::string_view name, std::string_view meaning, std::int32_t code) {
    return stepped(ranged(name, FieldType::long_, "m", 0, kLongMax, meaning), kMetriCella, code);
}

constexpr FieldInfo kLunghezza[] = {
    ranged("lunghezza", FieldType::long_, "m", 0, kLunghezzaMassima,
           "route length; the route carries 7000 m more"),
};
constexpr FieldInfo kProgressiva[] = {
    on_cell("posizione", "route position from which the reference applies",
            codice::kProgressivaNonMultipla),
    on_cell("progressiva", "kilometric progressive of the line at that position",
            codice::kProgressivaNonMultipla),
    ranged("verso", FieldType::long_, "", 0, 1,
           "1: the progressive counts down along the direction of travel; 0: up"),
};
constexpr FieldInfo kSfondo[] = {
    any_long("valore", "", "scenery value, passed to the simulator as it is"),
};
constexpr FieldInfo kRipetizione[] = {
    on_cell("prima", "first signal-repetition position", codice::kRipetizionePrimaNonMultipla),
    on_cell("seconda", "second signal-repetition position; 0 sets the code count to 0",
            codice::kRipetizioneSecondaNonMultipla),
};
constexpr FieldInfo kPendenza[] = {
    position("posizione", "position from which the gradient applies"),
    ranged("pendenza", FieldType::long_, "per mille", -100, 155,
           "gradient, positive when the line rises in the direction of travel"),
};
constexpr FieldInfo kCurva[] = {
    {"inizio", FieldType::long_, "m", 0, kLongMax, "metre at which the curve begins",
     FieldRole::start},
    ranged("lunghezza", FieldType::long_, "m", 0, kLongMax, "length of the curve"),
};
constexpr FieldInfo kMontagna[] = {
    position("inizio", "start of the tunnel"),
    ranged("fine", FieldType::long_, "m", 0, kLongMax, "end of the tunnel"),
    ranged("tipo", FieldType::long_, "", 1, 13,
           "tunnel kind 1 to 3; adding 10 asks for tunnel marks on every fourth cell"),
};
constexpr FieldInfo kIndicatori[] = {
    position("posizione", "position of the board"),
    ranged("vas", FieldType::long_, "km/h", 0, 1600, "first speed of the first set"),
    ranged("vbs", FieldType::long_, "km/h", 0, 1600, "second speed of the first set"),
    ranged("vcs", FieldType::long_, "km/h", 0, 1600, "third speed of the first set"),
    ranged("strisces", FieldType::long_, "", 0, 9, "stripe count of the first set"),
    ranged("vad", FieldType::long_, "km/h", 0, 1600, "first speed of the second set"),
    ranged("vbd", FieldType::long_, "km/h", 0, 1600, "second speed of the second set"),
    ranged("vcd", FieldType::long_, "km/h", 0, 1600, "third speed of the second set"),
    ranged("strisced", FieldType::long_, "", 0, 9, "stripe count of the second set"),
};
constexpr FieldInfo kCartello[] = {
    position("posizione", "position of the sign"),
    {"testo", FieldType::text, "", 0, 0,
     "text of the sign, one group in parentheses per line of the sign; no comma", FieldRole::text},
};

constexpr FieldInfo kMassaFrenata[] = {
    any_long("percentuale", "%", "percentage of braked mass"),
};
constexpr FieldInfo kVetture[] = {
    any_long("vetture", "", "number of carriages"),
};
constexpr FieldInfo kVelocita[] = {
    position("posizione", "position from which the speed limit applies"),
    {"velocita", FieldType::long_, "km/h", 0, kVelocitaMassima,
     "line speed limit, stored in units of 5 km/h", FieldRole::speed},
};
constexpr FieldInfo kAderenza[] = {
    position("posizione", "position from which the adhesion applies"),
    {"aderenza", FieldType::long_, "%", 0, 255, "adhesion in per cent", FieldRole::value,
     Beyond::low_bits},
};
constexpr FieldInfo kOrologio[] = {
    ranged("ore", FieldType::integer, "h", 0, 23, "hours of the clock at the start"),
    ranged("minuti", FieldType::integer, "min", 0, 59, "minutes of the clock at the start"),
    ranged("secondi", FieldType::integer, "s", 0, 59, "seconds of the clock at the start"),
};
constexpr FieldInfo kSabbia[] = {
    ranged("sabbia", FieldType::integer, "", kIntMin, kIntMax, "sanding value"),
};
constexpr FieldInfo kSegnale[] = {
    refused(position("posizione", "position of the signal; its approach marks need 325 m before it",
                     325)),
    ranged("sx", FieldType::long_, "", 0, 2, "kind of the left-hand signal; 2 enables `tempo`"),
    word16("s1", "", "first code of the left-hand signal, the tens of `dato1`", -3276, 3275),
    word16("s2", "", "second code of the left-hand signal, the tens of `dato2`", -3276, 3275),
    word16("s3", "", "third code of the left-hand signal, the tens of `dato3`", -3276, 3275),
    word16("rapp", "", "a further code, the tens of `dato4`", -3276, 3275),
    ranged("dx", FieldType::long_, "", 0, 2, "kind of the right-hand signal"),
    ranged("d1", FieldType::long_, "", 0, 9, "first code of the right-hand signal"),
    ranged("d2", FieldType::long_, "", 0, 9, "second code of the right-hand signal"),
    ranged("d3", FieldType::long_, "", 0, 9, "third code of the right-hand signal"),
    {"tempo", FieldType::long_, "", 0, 255,
     "time value: 0 for none, or 101 to 255; used only when `sx` is 2", FieldRole::tempo,
     Beyond::low_bits},
};
constexpr FieldInfo kRallentamento[] = {
    position("x", "start of the slowdown"),
    word16("v", "km/h", "speed of the slowdown"),
    ranged("l", FieldType::long_, "m", 0, kLongMax, "length of the slowdown"),
    word16("f_tt", "", "value copied into the start and end cells"),
    any_long("f_ta", "", "not 0: four lead-in cells before the warning cell"),
    word16("d_v", "", "not 0: a further value for the slowdown's cells"),
};
constexpr FieldInfo kAbbattimento[] = {
    position("posizione", "position of the speed-reduction point"),
    word16("valore", "", "the point's value; 0 or less gives a point without value", kLongMin),
};
constexpr FieldInfo kStazione[] = {
    stepped({"posizione", FieldType::long_, "m", 0, kLongMax,
             "position of the station; the route must reach 800 m beyond it", FieldRole::station},
            kMetriCella, codice::kStazioneNonMultipla),
    ranged("tipo", FieldType::byte, "", 1, 28,
           "station kind: 5 to 8 and 25 and more are laid out apart; below 25 it has a stop"),
    stepped(ranged("lunghezza", FieldType::long_, "m", 0, kLongMax, "length of the station"),
            2 * kMetriCella, codice::kLunghezzaStazione),
    ranged("segno", FieldType::byte, "", 0, 255, "1 on the last station"),
    ranged("byte4", FieldType::byte, "", 0, 255, "kept only for stations of 600 m or more"),
    ranged("byte3", FieldType::byte, "", 0, 255, "not 0: the far end lies 50 m further"),
    ranged("numero1", FieldType::integer, "", kIntMin, kIntMax, "passed on as it is"),
    ranged("numero2", FieldType::integer, "", kIntMin, kIntMax, "passed on as it is"),
    ranged("byte1", FieldType::byte, "", 0, 255, "passed on as it is"),
    ranged("numero3", FieldType::integer, "", kIntMin, kIntMax, "passed on as it is"),
    ranged("numero4", FieldType::integer, "", kIntMin, kIntMax, "passed on as it is"),
    ranged("numero5", FieldType::integer, "", kIntMin, kIntMax, "passed on as it is"),
    ranged("byte2", FieldType::byte, "s", 0, 255, "dwell: 30 or 60 at stops, 1 at the origin"),
    ranged("ore", FieldType::long_, "h", 0, 23, "hours of the departure time"),
    ranged("minuti", FieldType::long_, "min", 0, 59, "minutes of the departure time"),
    ranged("secondi", FieldType::long_, "s", 0, 59, "seconds of the departure time"),
    {"testo", FieldType::text, "", 0, 0, "name of the station, upper case; runs to the line end",
     FieldRole::text},
};

namespace c = codice;
constexpr std::int32_t kCodesLunghezza[] = {c::kLunghezzaEccessiva};
constexpr std::int32_t kCodesProgressiva[] = {c::kProgressivaNonMultipla};
constexpr std::int32_t kCodesRipetizione[] = {
    c::kRipetizionePrimaNonMultipla, c::kRipetizioneSecondaNonMultipla, c::kRipetizioneSenzaCodici};
constexpr std::int32_t kCodesPosition[] = {c::kFuoriPercorso};
constexpr std::int32_t kCodesCurva[] = {c::kFuoriPercorso, c::kCurva};
// An object on cell 1 takes the place of the format mark there.
constexpr std::int32_t kCodesIndicatori[] = {c::kFuoriPercorso, c::kIndicatoreOccupato,
                                             c::kMarcaFormato};
constexpr std::int32_t kCodesCartello[] = {c::kCartelloOccupato, c::kFuoriPercorso,
                                           c::kMarcaFormato};
constexpr std::int32_t kCodesSegnale[] = {c::kFuoriPercorso, c::kSegnaleOccupato};
// The route pass places its points around slowdowns only.
constexpr std::int32_t kCodesRallentamento[] = {
    c::kPuntoPrimaDelSegnale, c::kFasciaOccupata, c::kPuntoNelRallentamento, c::kFuoriPercorso,
    c::kAvvisoOccupato,       c::kInizioOccupato, c::kFineOccupata,          c::kPreavvisoOccupato,
    c::kMarcaFormato,         c::kCodiceGara};
constexpr std::int32_t kCodesAbbattimento[] = {c::kAbbattimentoOccupato, c::kFuoriPercorso,
                                               c::kMarcaFormato};
constexpr std::int32_t kCodesStazione[] = {c::kStazioneNonMultipla, c::kLunghezzaStazione,
                                           c::kTroppeStazioni,      c::kFuoriPercorso,
                                           c::kStazioniVicine,      c::kFermataInizio};

constexpr RecordKind kKinds[] = {
    {RecordKindId::lunghezza, RecordBlock::line_header, "route length", "percorso", "lunghezza",
     WordCase::any, kLunghezza, "the route length; required before every body record",
     "lunghezza percorso,    101000", kCodesLunghezza},
    {RecordKindId::progressiva_tre, RecordBlock::line_header, "kilometric reference tre",
     "progressiva", "tre", WordCase::lower, kProgressiva, "third kilometric reference",
     "progressiva chilometrica tre,    0,    0,    0", kCodesProgressiva},
    {RecordKindId::progressiva_due, RecordBlock::line_header, "kilometric reference due",
     "progressiva", "due", WordCase::lower, kProgressiva, "second kilometric reference",
     "progressiva chilometrica due,    2450,    200,    0", kCodesProgressiva},
    {RecordKindId::progressiva_uno, RecordBlock::line_header, "kilometric reference uno",
     "progressiva", "uno", WordCase::lower, kProgressiva, "first kilometric reference",
     "progressiva chilometrica uno,    0,    314050,    1", kCodesProgressiva},
    {RecordKindId::sfondo_uno, RecordBlock::line_header, "scenery value uno", "sfondo", "uno",
     WordCase::lower, kSfondo, "scenery value one", "sfondo uno,    65650"},
    {RecordKindId::sfondo_due, RecordBlock::line_header, "scenery value due", "sfondo", "due",
     WordCase::lower, kSfondo, "scenery value two", "sfondo due,    1"},
    {RecordKindId::sfondo_tre, RecordBlock::line_header, "scenery value tre", "sfondo", "tre",
     WordCase::lower, kSfondo, "scenery value three", "sfondo tre,    41050"},
    {RecordKindId::ripetizione, RecordBlock::line_header, "signal repetition", "segnali",
     "ripetizione", WordCase::lower, kRipetizione,
     "signal repetition with 4 codes, or 9 when the keyword has a 9 and no 4",
     "ripetizione segnali 4 codici,    0    ,0", kCodesRipetizione},
    {RecordKindId::pendenza, RecordBlock::line_body, "gradient", "pendenza", "", WordCase::any,
     kPendenza, "the gradient from a position on", "pendenza,  550,   6", kCodesPosition},
    {RecordKindId::curva, RecordBlock::line_body, "curve", "curva", "", WordCase::any, kCurva,
     "a curve: side letter (s turns left) and class digit 1 to 6 in the keyword",
     "curvad5,  650,  550", kCodesCurva},
    {RecordKindId::montagna, RecordBlock::line_body, "tunnel", "montagna", "", WordCase::any,
     kMontagna, "a tunnel", "montagna,   2350,  2400,  2", kCodesPosition},
    {RecordKindId::indicatori_vmax, RecordBlock::line_body, "speed board", "indicatori_v", "",
     WordCase::any, kIndicatori, "a maximum-speed board with two sets of speeds and stripes",
     "indicatori_vmax,  700,  65,  70,  75,  0,  ,  ,  ,  0", kCodesIndicatori},
    {RecordKindId::cartello_indicatore, RecordBlock::line_body, "name sign", "cartello", "indicat",
     WordCase::any, kCartello, "a line-side indicator sign",
     "cartello_indicatore,  87050,   (LE FORNACI)( 307 m.   )", kCodesCartello},
    {RecordKindId::massa_frenata, RecordBlock::train, "braked mass", "frenata", "massa",
     WordCase::any, kMassaFrenata, "percentage of braked mass",
     "percentuale massa frenata,    120"},
    {RecordKindId::vetture, RecordBlock::train, "carriages", "vetture", "", WordCase::any, kVetture,
     "number of carriages", "numero vetture,    3"},
    {RecordKindId::velocita, RecordBlock::train, "speed limit", "velocit", "", WordCase::any,
     kVelocita, "the line speed limit from a position on", "velocita,     700,    75",
     kCodesPosition},
    {RecordKindId::aderenza, RecordBlock::train, "adhesion", "aderenza", "", WordCase::any,
     kAderenza, "the adhesion from a position on", "aderenza,    9900,    80", kCodesPosition},
    {RecordKindId::orologio, RecordBlock::train, "clock", "orologio", "", WordCase::any, kOrologio,
     "the scenario clock at the start; blanks alone may separate its numbers",
     "orologio,    17              42            30 "},
    {RecordKindId::sabbia, RecordBlock::train, "sanding", "sabbia", "", WordCase::any, kSabbia,
     "sanding value", "sabbia,    300"},
    {RecordKindId::segnale, RecordBlock::train, "signal", "segnale", "", WordCase::any, kSegnale,
     "a signal", "segnale,   20900,   1, 5, 1,  0, 0,    0,  0,0,0, 0", kCodesSegnale},
    {RecordKindId::rallentamento, RecordBlock::train, "slowdown", "rallentamento", "",
     WordCase::any, kRallentamento, "a slowdown", "rallentamento, 30000, 60, 1000, 1, 1, 0",
     kCodesRallentamento},
    {RecordKindId::abbattimento, RecordBlock::train, "speed-reduction point", "abbattimento", "",
     WordCase::any, kAbbattimento, "a single speed-reduction point", "abbattimento, 30000, 80",
     kCodesAbbattimento},
    {RecordKindId::stazione, RecordBlock::train, "station", "stazione", "", WordCase::any,
     kStazione, "a station with its timetable",
     "stazione,   22500, 22,  300,  0, 0, 0,  0,0,0,  4,1,1,   60,  18, 9, 0, DORSIA",
     kCodesStazione},
};

constexpr std::size_t index_of(RecordKindId id) {
    return static_cast<std::size_t>(id);
}

// The kinds are listed in the order of their ids, one block after another.
constexpr bool listed_in_order() {
    for (std::size_t i = 0; i < std::size(kKinds); ++i) {
        if (index_of(kKinds[i].id) != i) return false;
    }
    return true;
}
static_assert(listed_in_order());

constexpr std::size_t kHeaderFirst = index_of(RecordKindId::lunghezza);
constexpr std::size_t kBodyFirst = index_of(RecordKindId::pendenza);
constexpr std::size_t kTrainFirst = index_of(RecordKindId::massa_frenata);

}  // namespace

std::span<const RecordKind> record_kinds(RecordBlock block) {
    const std::span<const RecordKind> all(kKinds);
    switch (block) {
        case RecordBlock::line_header:
            return all.subspan(kHeaderFirst, kBodyFirst - kHeaderFirst);
        case RecordBlock::line_body:
            return all.subspan(kBodyFirst, kTrainFirst - kBodyFirst);
        case RecordBlock::train:
            break;
    }
    return all.subspan(kTrainFirst);
}

const RecordKind& record_kind(RecordKindId id) {
    return kKinds[index_of(id)];
}

std::string_view field_type_name(FieldType type) {
    switch (type) {
        case FieldType::byte:
            return "Byte";
        case FieldType::integer:
            return "Integer";
        case FieldType::long_:
            return "Long";
        case FieldType::text:
            break;
    }
    return "Text";
}

std::int64_t type_min(FieldType type) {
    switch (type) {
        case FieldType::byte:
            return 0;
        case FieldType::integer:
            return kIntMin;
        case FieldType::long_:
        case FieldType::text:
            break;
    }
    return kLongMin;
}

std::int64_t type_max(FieldType type) {
    switch (type) {
        case FieldType::byte:
            return std::numeric_limits<std::uint8_t>::max();
        case FieldType::integer:
            return kIntMax;
        case FieldType::long_:
        case FieldType::text:
            break;
    }
    return kLongMax;
}

}  // namespace scenario
