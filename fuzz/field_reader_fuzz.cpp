// Reads arbitrary bytes as a stream of fields and holds the reader to its
// promises: every read either consumes input or fails, a failed read leaves
// its destination alone, text fields never hold a separator, line numbers
// never go back, and once the end is reached every read fails.
//
// Input: the first byte chooses the order of field types (two bits per
// read, cycling); the rest is the source text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "formats/field_reader.h"

namespace {

constexpr std::uint8_t kUntouchedByte = 0xA5;
constexpr std::int16_t kUntouchedInteger = -12345;
constexpr std::int32_t kUntouchedLong = -123456789;
constexpr std::string_view kUntouchedText = "untouched";

// Aborts the run: the fuzzer keeps the input that got here.
[[noreturn]] void broken() {
    __builtin_trap();
}

bool read_one(scenario::FieldReader& reader, unsigned kind) {
    switch (kind) {
        case 0: {
            std::string text(kUntouchedText);
            const bool ok = reader.read_text(&text);
            if (!ok && text != kUntouchedText) broken();
            if (ok && text.find_first_of(",\n") != std::string::npos) broken();
            return ok;
        }
        case 1: {
            std::uint8_t value = kUntouchedByte;
            const bool ok = reader.read_byte(&value);
            if (!ok && value != kUntouchedByte) broken();
            return ok;
        }
        case 2: {
            std::int16_t value = kUntouchedInteger;
            const bool ok = reader.read_integer(&value);
            if (!ok && value != kUntouchedInteger) broken();
            return ok;
        }
        default: {
            std::int32_t value = kUntouchedLong;
            const bool ok = reader.read_long(&value);
            if (!ok && value != kUntouchedLong) broken();
            return ok;
        }
    }
}

std::int32_t count_lines(std::string_view text) {
    std::int32_t lines = 1;
    for (char c : text)
        lines += c == '\n' ? 1 : 0;
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const unsigned plan = data[0];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    scenario::FieldReader reader(text);

    // Every field ends at a separator of at least one byte, or at the end of
    // the text: more successful reads than that means a read that consumed
    // nothing, which would spin a compiler's reading loop forever.
    const std::size_t most_fields = text.size() + 1;
    const std::int32_t last_line = count_lines(text);
    std::int32_t line = 0;
    for (std::size_t i = 0;; ++i) {
        if (i > most_fields) broken();
        const bool was_at_end = reader.at_end();
        const bool ok = read_one(reader, (plan >> (2 * (i % 4))) & 3U);
        if (was_at_end && ok) broken();
        if (ok && (reader.line() < line || reader.line() < 1 || reader.line() > last_line))
            broken();
        if (!ok) break;
        line = reader.line();
    }
    return 0;
}
