// `dump`: one compiled file as readable text or as JSON.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "tool/tool.h"

namespace scenario {

enum class CompiledKind : std::uint8_t { table, route, geometry };

// The kind a file's name gives it: "..._linea.dat" geometry, "....sim"
// table, any other "....dat" route; nothing for other names.
std::optional<CompiledKind> kind_from_name(std::string_view path);

int dump_command(std::span<const std::string> args, ToolContext& ctx);

}  // namespace scenario
