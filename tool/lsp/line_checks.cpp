#include "tool/lsp/line_checks.h"

#include <algorithm>

namespace scenario {

namespace {

// The disk with the editor's texts laid over it. Nothing is written.
class EditorFolder final : public FileSystem {
  public:
    EditorFolder(FileSystem& disk, const OpenDocuments& docs) : disk_(disk), docs_(docs) {}
    bool exists(const std::string& path) override {
        return !path.empty() && (docs_.at_path(path) != nullptr || disk_.exists(path));
    }
    bool read(const std::string& path, std::string* contents, FileError* error) override {
        if (const OpenDocument* doc = docs_.at_path(path)) {
            *contents = doc->text().bytes();
            return true;
        }
        return disk_.read(path, contents, error);
    }
    bool replace(const std::string&, std::string_view, FileError*) override { return true; }
    bool remove(const std::string&, FileError*) override { return true; }

  private:
    FileSystem& disk_;
    const OpenDocuments& docs_;
};

std::optional<SourceName> train_on_disk(const SourceName& line, const ListFolder& list_folder) {
    std::vector<std::string> names =
        list_folder ? list_folder(line.folder) : std::vector<std::string>{};
    std::sort(names.begin(), names.end());
    for (const std::string& file : names) {
        SourceName n = source_name(line.folder + "/" + file);
        if (n.kind == SourceKind::treno && n.nome_linea == line.nome_linea) return n;
    }
    return std::nullopt;
}

}  // namespace

std::vector<PairCheck> line_checks(const OpenDocuments& docs, const SourceName& name,
                                   const ListFolder& list_folder) {
    const OpenDocuments::Line open = docs.line_of(name);
    SourceName linea = name;
    linea.kind = SourceKind::linea;
    linea.numero_treno.clear();
    linea.file = linea.nome_linea + std::string(kLineaSuffix);
    std::vector<PairCheck> pairs;
    if (open.treni.empty()) {
        if (open.linea != nullptr)
            pairs.push_back({linea, train_on_disk(linea, list_folder), open.linea, nullptr});
        return pairs;
    }
    for (std::size_t i = 0; i < open.treni.size(); ++i) {
        pairs.push_back(
            {linea, open.treni[i]->name(), i == 0 ? open.linea : nullptr, open.treni[i]});
    }
    return pairs;
}

void run_pair_check(const PairCheck& pair, const OpenDocuments& docs, FileSystem& disk,
                    PairBuild& out, RunMemo* memo) {
    out.with_treno = pair.treno.has_value();
    out.b.s.nome_linea = pair.linea.nome_linea;
    out.b.s.numero_treno = pair.treno ? pair.treno->numero_treno : std::string();
    out.files = scenario_files(pair.linea.folder, '/', out.b.s.nome_linea, out.b.s.numero_treno);
    if (!pair.treno) out.files.treno_txt.clear();
    // A train file's checks judge its positions against the route that the
    // line file gives, so they can be taken from the document only once the
    // line file's are known.
    const OpenDocument* linea = docs.at_path(out.files.linea_txt);
    const OpenDocument* treno = docs.at_path(out.files.treno_txt);
    SourceChecks given;
    if (linea != nullptr) {
        given.linea = &linea->check();
        if (treno != nullptr) given.treno = &treno->check(given.linea->ultima_cella);
    }
    EditorFolder folder(disk, docs);
    run_diagnosed_build(out.b, folder, out.files, true, false, given);
    if (!pair.treno) return;
    add_run_diagnostics(out.b, folder, chosen_stock_path({}, out.files, folder), memo);
    add_card_diagnostics(out.b, folder, out.files.scheda);
}

}  // namespace scenario
