// The record kinds of the two source files, in the order in which the
// compilers test a keyword field against them: the words that select each
// kind and every value field that follows its keyword, with its type, unit,
// documented range and meaning. The compilers dispatch on this table and
// the author's checks read the fields it lists, so the two cannot drift
// apart; the format reference and the editor features describe the same.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "formats/keywords.h"

namespace scenario {

enum class RecordKindId : std::uint8_t {
    // Line file, header block.
    lunghezza,
    progressiva_tre,
    progressiva_due,
    progressiva_uno,
    sfondo_uno,
    sfondo_due,
    sfondo_tre,
    ripetizione,
    // Line file, body.
    pendenza,
    curva,
    montagna,
    indicatori_vmax,
    cartello_indicatore,
    // Train file.
    massa_frenata,
    vetture,
    velocita,
    aderenza,
    orologio,
    sabbia,
    segnale,
    rallentamento,
    abbattimento,
    stazione,
};

// Where a kind's keyword is recognised.
enum class RecordBlock : std::uint8_t { line_header, line_body, train };

// Letter case of the keyword words: the line file's header words must be
// written in lower case, every other word matches in any case.
enum class WordCase : std::uint8_t { any, lower };

enum class FieldType : std::uint8_t { byte, integer, long_, text };

// What the checks know of a field beyond its range.
enum class FieldRole : std::uint8_t {
    value,     // a number checked against its range only
    position,  // metres on the route: range-tested, then rounded to a cell
    station,   // a station's position: range-tested with room for its far end
    start,     // a curve's start: range-tested, kept to the metre
    speed,     // km/h, stored in units of 5
    tempo,     // 0, or 101 to 255; 1 to 100 are raised to 101
    text,      // runs to the next comma or the line end
};

// What becomes of a value outside [min, max].
enum class Beyond : std::uint8_t {
    documented,  // read as written, but outside what the record documents
    low_bits,    // stored keeping only its low-order bits
    refused,     // the record would write outside the route: a read failure, code 25
};

struct FieldInfo {
    std::string_view name;  // the program's name for the value
    FieldType type;
    std::string_view unit;  // "m", "km/h", "per mille", "%", "s", or empty
    std::int64_t min;
    std::int64_t max;
    std::string_view meaning;
    FieldRole role = FieldRole::value;
    Beyond beyond = Beyond::documented;
    std::int32_t multiple = 0;  // when nonzero the value must be a multiple of it,
    std::int32_t code = 0;      // or the compiler records this code (0: it rounds)
};

struct RecordKind {
    RecordKindId id;
    RecordBlock block;
    std::string_view name;  // how messages name a record of the kind
    std::string_view word;  // the keyword field must hold this word
    std::string_view also;  // and this one (empty: nothing more)
    WordCase letters;
    std::span<const FieldInfo> fields;
    std::string_view meaning;
    std::string_view example;  // a row as the embedded scenario writes it
    // Every code that a record of the kind can lead to, in ascending order:
    // those the compiler records at it, those the route pass records around
    // it, and the fatal header checks of an object it puts on cell 1. Any
    // record may also end the compile with a read failure, code 25.
    std::span<const std::int32_t> codes = {};
};

// The kinds of one block, in the order of the compilers' tests.
std::span<const RecordKind> record_kinds(RecordBlock block);

const RecordKind& record_kind(RecordKindId id);

// Whether `keyword` holds the words of `kind`. Inline: the compilers ask it
// of every kind for every keyword field.
inline bool selects(const RecordKind& kind, std::string_view keyword) {
    if (kind.letters == WordCase::lower) {
        return contains_exact(keyword, kind.word) &&
               (kind.also.empty() || contains_exact(keyword, kind.also));
    }
    return contains_word(keyword, kind.word) &&
           (kind.also.empty() || contains_word(keyword, kind.also));
}

std::string_view field_type_name(FieldType type);  // "Byte", "Integer", "Long", "Text"

// The range of values a field of `type` can receive; wider values are read
// failures.
std::int64_t type_min(FieldType type);
std::int64_t type_max(FieldType type);

}  // namespace scenario
