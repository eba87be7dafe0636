#include "tool/commands/scenario_request.h"

#include "content/embedded_texts.h"

namespace scenario {

std::optional<int> scenario_request(const ParsedArgs& parsed, ToolContext& ctx,
                                    std::string_view command, ScenarioRequest* out) {
    if (parsed.words.size() > 1) return usage_error(ctx.err, command, "more than one folder named");
    out->folder = folder_argument(parsed.words.empty() ? "." : parsed.words[0], ctx.separator);
    if (!ctx.folder_exists(out->folder))
        return usage_error(ctx.err, command, "no folder '" + out->folder + "'");
    out->nome_linea = parsed.value_or("line", kNomeLinea);
    out->numero_treno = parsed.value_or("train", kNumeroTreno);
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
