// `dump`: one compiled file as readable text or as JSON.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "tool/commands/tool.h"

namespace scenario {

enum class CompiledKind : std::uint8_t { table, route, geometry };

// The kind a file's name gives it: "..._linea.dat" geometry, "....sim"
// table, any other "....dat" route; nothing for other names.
std::optional<CompiledKind> kind_from_name(std::string_view path);

// Decodes `bytes` as a compiled file of `kind` and prints it as text, or as
// JSON when `json` is set. False, with `*error` set and nothing printed, when
// the bytes do not fit the kind. Any bytes at all may be given.
bool dump_compiled(CompiledKind kind, std::string_view bytes, bool json, std::ostream& out,
                   std::string* error);

int dump_command(std::span<const std::string> args, ToolContext& ctx);

}  // namespace scenario
