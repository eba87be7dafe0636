// Hands arbitrary bytes to the authoring tool's `dump` as a compiled file
// of each kind and holds it to its promises: it never crashes or reads past
// the bytes, a refused file prints nothing and says why, and a file it
// accepts is decoded without loss, so that encoding the decoded store gives
// back the very same bytes.
//
// Input: the first byte chooses the kind (bits 0-1: 0 table, 1 route,
// 2 and 3 geometry) and the output (bit 2: JSON); the rest is the file.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "authoring/compiled_readers.h"
#include "compiler/model.h"
#include "output/geometry_writer.h"
#include "output/route_writer.h"
#include "output/table_writer.h"
#include "tool/commands/dump_command.h"

namespace {

using scenario::CompiledKind;

constexpr std::uint8_t kKindBits = 3;
constexpr std::uint8_t kJson = 4;

[[noreturn]] void broken() {
    __builtin_trap();
}

CompiledKind kind_of(std::uint8_t flags) {
    switch (flags & kKindBits) {
        case 0:
            return CompiledKind::table;
        case 1:
            return CompiledKind::route;
        default:
            return CompiledKind::geometry;
    }
}

bool same(const scenario::Bytes& image, std::string_view bytes) {
    return scenario::as_text(image) == bytes;
}

// The decoded store, encoded again, must be the input byte for byte.
void check_round_trip(CompiledKind kind, std::string_view bytes) {
    scenario::Scenario s;
    switch (kind) {
        case CompiledKind::table:
            if (!scenario::read_table(bytes, &s.voci, nullptr)) broken();
            if (!same(scenario::table_image(s), bytes)) broken();
            return;
        case CompiledKind::route:
            if (!scenario::read_route(bytes, &s.percorso, nullptr)) broken();
            if (!same(scenario::route_image(s), bytes)) broken();
            return;
        case CompiledKind::geometry:
            if (!scenario::read_geometry(bytes, &s.tracciato, nullptr)) broken();
            if (!same(scenario::geometry_image(s.tracciato), bytes)) broken();
            return;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t flags = data[0];
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    const CompiledKind kind = kind_of(flags);

    std::ostringstream out;
    std::string error;
    const bool accepted = scenario::dump_compiled(kind, bytes, (flags & kJson) != 0, out, &error);
    if (!accepted) {
        if (!out.str().empty() || error.empty()) broken();
        return 0;
    }
    if (out.str().empty()) broken();
    check_round_trip(kind, bytes);
    return 0;
}
