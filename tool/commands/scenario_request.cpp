#include "tool/commands/scenario_request.h"

#include <utility>
#include <vector>

#include "content/embedded_texts.h"

namespace scenario {
namespace {

constexpr std::string_view kLineaSuffix = "_linea.txt";
constexpr std::string_view kTrenoSuffix = "-.txt";
constexpr std::string_view kGeometrySuffix = "_linea.dat";
constexpr std::string_view kTabellaSuffix = ".sim";

// The part of `name` between `prefix` and `suffix`, when it has both and
// something between them.
std::optional<std::string> between(const std::string& name, std::string_view prefix,
                                   std::string_view suffix) {
    if (name.size() <= prefix.size() + suffix.size()) return std::nullopt;
    if (!name.starts_with(prefix) || !name.ends_with(suffix)) return std::nullopt;
    return name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
}

// The one name in `names` that `part` finds something in; none where no
// name or several do.
template <typename Part>
std::optional<std::string> only(const std::vector<std::string>& names, Part part) {
    std::optional<std::string> found;
    for (const std::string& n : names) {
        std::optional<std::string> p = part(n);
        if (!p) continue;
        if (found) return std::nullopt;
        found = std::move(p);
    }
    return found;
}

// The one line and train of a folder that holds no other, as `import` and
// `init --line` leave it, by its source files or else by its compiled
// scenario table: its author need not repeat --line and --train to every
// command. None where the folder holds none or several.
std::optional<std::pair<std::string, std::string>> only_scenario(
    const std::vector<std::string>& names) {
    std::optional<std::string> line;
    for (const std::string_view suffix : {kLineaSuffix, kGeometrySuffix}) {
        line = only(names, [&](const std::string& n) { return between(n, "", suffix); });
        if (line) break;
    }
    if (!line) return std::nullopt;
    const std::string prefix = *line + '_';
    for (const std::string_view suffix : {kTrenoSuffix, kTabellaSuffix}) {
        const auto train =
            only(names, [&](const std::string& n) { return between(n, prefix, suffix); });
        if (train) return std::pair{*line, *train};
    }
    return std::nullopt;
}

}  // namespace

std::pair<std::string, std::string> scenario_names(const ParsedArgs& parsed, const ToolContext& ctx,
                                                   const std::string& folder) {
    std::pair<std::string, std::string> names{parsed.value_or("line", kNomeLinea),
                                              parsed.value_or("train", kNumeroTreno)};
    if (parsed.has("line") || parsed.has("train")) return names;
    const ScenarioFiles files = scenario_files(folder, ctx.separator, names.first, names.second);
    if (ctx.fs.exists(files.linea_txt) || ctx.fs.exists(files.tabella_sim)) return names;
    return only_scenario(ctx.list_folder(folder)).value_or(names);
}

std::optional<int> scenario_request(const ParsedArgs& parsed, ToolContext& ctx,
                                    std::string_view command, ScenarioRequest* out) {
    if (parsed.words.size() > 1) return usage_error(ctx.err, command, "more than one folder named");
    out->folder = folder_argument(parsed.words.empty() ? "." : parsed.words[0], ctx.separator);
    if (!ctx.folder_exists(out->folder))
        return usage_error(ctx.err, command, "no folder '" + out->folder + "'");
    const auto [line, train] = scenario_names(parsed, ctx, out->folder);
    out->nome_linea = line;
    out->numero_treno = train;
    out->files = scenario_files(out->folder, ctx.separator, out->nome_linea, out->numero_treno);
    out->stock_path = chosen_stock_path(parsed.value_or("stock", ""), out->files, ctx.fs);
    return std::nullopt;
}

void build_with_run(const ScenarioRequest& r, ToolContext& ctx, DiagnosedBuild& b, bool card) {
    b.s.nome_linea = r.nome_linea;
    b.s.numero_treno = r.numero_treno;
    run_diagnosed_build(b, ctx.fs, r.files, true, false);
    add_run_diagnostics(b, ctx.fs, r.stock_path);
    if (card) add_card_diagnostics(b, ctx.fs, r.files.scheda);
}

}  // namespace scenario
