#include "tool/lsp/open_documents.h"

#include <algorithm>

#include "formats/source_lines.h"
#include "output/file_names.h"
#include "tool/diagnostics/diagnosed_build.h"
#include "tool/json/json_writer.h"
#include "tool/text/code_page.h"

namespace scenario {

namespace {

constexpr std::string_view kSource = "scenario_tool";

// The protocol's severities.
int severity_number(Severity s) {
    switch (s) {
        case Severity::error:
            return 1;
        case Severity::warning:
            return 2;
        case Severity::note:
            break;
    }
    return 3;  // information
}

std::string_view file_name(std::string_view path) {
    return path.substr(path.find_last_of('/') + 1);
}

// A file's text with the lines that locate the diagnostics in it and the
// places where the editor shows them.
struct LocatedText {
    SourceLines lines;
    EditorText editor;

    void put(JsonWriter& json, const SourceRange& r) const {
        const std::size_t begin = r.line > 0 ? lines.offset({r.line, r.column}) : 0;
        const std::size_t end = r.line > 0 ? lines.offset({r.end_line, r.end_column}) : 0;
        put_range(json, editor, begin, end);
    }
};

std::string message_of(const Diagnostic& d) {
    return d.hint.empty() ? d.message : d.message + "\nhint: " + d.hint;
}

void put_kind(JsonWriter& json, const Diagnostic& d) {
    json.key("severity");
    json.number(severity_number(d.severity));
    json.key("code");
    json.string(diagnostic_kind(d.id).name);
    json.key("source");
    json.string(kSource);
}

// A diagnostic of the document, at `range` of it.
void put_own(JsonWriter& json, const Diagnostic& d, const SourceRange& range,
             const LocatedText& mine) {
    json.begin_object();
    mine.put(json, range);
    put_kind(json, d);
    json.key("message");
    json.ansi_string(message_of(d));
    json.end_object();
}

// The other file of the two, which the editor does not hold.
struct Carried {
    std::string uri;
    std::string file;
    const LocatedText& text;
};

// An error of the other file, at the top of the document, naming the file
// and the place, which it also gives as related information.
void put_carried(JsonWriter& json, const Diagnostic& d, const Carried& other) {
    json.begin_object();
    other.text.put(json, SourceRange{});  // the top: line 0 of either text
    put_kind(json, d);
    std::string where = other.file;
    if (d.range.line > 0)
        where += ":" + std::to_string(d.range.line) + ":" + std::to_string(d.range.column);
    json.key("message");
    json.string(where + ": " + ansi_to_utf8(message_of(d)));
    // A missing file has no place to point to.
    if (d.id != DiagnosticId::missing_source) {
        json.key("relatedInformation");
        json.begin_array();
        json.begin_object();
        json.key("location");
        json.begin_object();
        json.key("uri");
        json.string(other.uri);
        other.text.put(json, d.range);
        json.end_object();
        json.key("message");
        json.ansi_string(d.message);
        json.end_object();
        json.end_array();
    }
    json.end_object();
}

}  // namespace

void put_position(JsonWriter& json, EditorPosition p) {
    json.begin_object();
    json.key("line");
    json.number(p.line);
    json.key("character");
    json.number(p.character);
    json.end_object();
}

void put_range(JsonWriter& json, const EditorText& text, std::size_t begin, std::size_t end) {
    json.key("range");
    json.begin_object();
    json.key("start");
    put_position(json, text.position(begin));
    json.key("end");
    put_position(json, text.position(std::max(begin, end)));
    json.end_object();
}

// The disk with the editor's texts laid over it: a source open in the
// editor is read as the editor holds it. Nothing is written.
class OpenDocuments::EditorFolder final : public FileSystem {
  public:
    EditorFolder(FileSystem& disk, const OpenDocuments& docs) : disk_(disk), docs_(docs) {}
    bool exists(const std::string& path) override {
        return !path.empty() && (docs_.at_path(path) != nullptr || disk_.exists(path));
    }
    bool read(const std::string& path, std::string* contents, FileError* error) override {
        if (const OpenDocument* doc = docs_.at_path(path)) {
            *contents = doc->text.bytes();
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

struct OpenDocuments::PairBuild {
    DiagnosedBuild b;
    ScenarioFiles files;
    bool with_treno = false;  // a train file is part of the check
};

void OpenDocuments::put(const std::string& uri, SourceName name, std::int64_t version,
                        EditorText text) {
    OpenDocument& doc = by_uri_[uri];
    doc.uri = uri;
    doc.name = std::move(name);
    doc.version = version;
    doc.text = std::move(text);
    doc.check = doc.name.kind == SourceKind::linea ? check_linea(doc.text.bytes(), true)
                                                   : check_treno(doc.text.bytes(), std::nullopt);
}

void OpenDocuments::close(const std::string& uri) {
    by_uri_.erase(uri);
    publish_(uri, std::nullopt, [](JsonWriter&) {});
}

const OpenDocument* OpenDocuments::find(const std::string& uri) const {
    const auto it = by_uri_.find(uri);
    return it == by_uri_.end() ? nullptr : &it->second;
}

const OpenDocument* OpenDocuments::at_path(const std::string& path) const {
    for (const auto& [uri, doc] : by_uri_) {
        if (doc.name.path() == path) return &doc;
    }
    return nullptr;
}

void OpenDocuments::recheck(const SourceName& name) {
    const OpenDocument* line = nullptr;
    std::vector<const OpenDocument*> trains;
    for (const auto& [uri, doc] : by_uri_) {
        if (doc.name.folder != name.folder || doc.name.nome_linea != name.nome_linea) continue;
        if (doc.name.kind == SourceKind::linea) {
            line = &doc;
        } else {
            trains.push_back(&doc);
        }
    }
    SourceName line_name = name;
    line_name.kind = SourceKind::linea;
    line_name.numero_treno.clear();
    if (trains.empty()) {
        if (line != nullptr) check_pair(line_name, train_on_disk(line_name), true, false);
        return;
    }
    // The line file shows what it gives with the first of its trains.
    for (std::size_t i = 0; i < trains.size(); ++i)
        check_pair(line_name, trains[i]->name, i == 0 && line != nullptr, true);
}

std::optional<SourceName> OpenDocuments::train_on_disk(const SourceName& line) const {
    std::vector<std::string> names =
        list_folder_ ? list_folder_(line.folder) : std::vector<std::string>{};
    std::sort(names.begin(), names.end());
    for (const std::string& file : names) {
        SourceName n = source_name(line.folder + "/" + file);
        if (n.kind == SourceKind::treno && n.nome_linea == line.nome_linea) return n;
    }
    return std::nullopt;
}

void OpenDocuments::check_pair(const SourceName& line, const std::optional<SourceName>& train,
                               bool publish_linea, bool publish_treno) {
    PairBuild pair;
    pair.with_treno = train.has_value();
    pair.b.s.nome_linea = line.nome_linea;
    pair.b.s.numero_treno = train ? train->numero_treno : std::string();
    pair.files = scenario_files(line.folder, '/', pair.b.s.nome_linea, pair.b.s.numero_treno);
    if (!train) pair.files.treno_txt.clear();
    EditorFolder folder(disk_, *this);
    run_diagnosed_build(pair.b, folder, pair.files, true, false);
    const OpenDocument* linea = publish_linea ? at_path(pair.files.linea_txt) : nullptr;
    const OpenDocument* treno = publish_treno ? at_path(pair.files.treno_txt) : nullptr;
    if (linea != nullptr) publish(*linea, pair);
    if (treno != nullptr) publish(*treno, pair);
}

// A document's own diagnostics and those of the scenario as a whole where
// the check puts them; the errors of the other file, when the editor does
// not hold it, at the top, with the place they stand.
void OpenDocuments::publish(const OpenDocument& doc, const PairBuild& pair) const {
    const SourceKind other =
        doc.name.kind == SourceKind::linea ? SourceKind::treno : SourceKind::linea;
    const std::string& other_path =
        other == SourceKind::linea ? pair.files.linea_txt : pair.files.treno_txt;
    const std::string& other_text =
        other == SourceKind::linea ? pair.b.linea_text : pair.b.treno_text;
    const bool carry =
        at_path(other_path) == nullptr && (other == SourceKind::linea || pair.with_treno);
    const LocatedText mine{SourceLines(doc.text.bytes()), doc.text};
    const LocatedText theirs{SourceLines(other_text),
                             EditorText(ansi_to_utf8(other_text), encoding_)};
    const Carried carried{sibling_uri(doc.uri, file_name(other_path)),
                          std::string(file_name(other_path)), theirs};
    const auto items = [&](JsonWriter& json) {
        for (const Diagnostic& d : pair.b.diagnostics) {
            if (d.file != other) {
                put_own(json, d, d.file == doc.name.kind ? d.range : SourceRange{}, mine);
            } else if (carry && d.severity == Severity::error) {
                put_carried(json, d, carried);
            }
        }
    };
    publish_(doc.uri, doc.version, items);
}

}  // namespace scenario
