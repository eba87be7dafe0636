// Writes the fuzz seeds that come from the program itself into the corpus
// folders given on the command line, so that fuzzing starts from the texts
// the program really emits and the files it really compiles:
//   scenario_fuzz_seeds <field_reader corpus> <compile corpus> <dump corpus> <check corpus>
//                       <lsp corpus>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include "compiler/model.h"
#include "content/embedded_texts.h"
#include "content/emitter.h"
#include "output/file_names.h"
#include "output/memorizza_percorso.h"
#include "tests/support/lsp_framing.h"
#include "tests/support/memory_file_system.h"
#include "tool/json/json_writer.h"

namespace {

// Field type orders for the field reader target (two bits per read:
// text, Byte, Integer, Long): a keyword then Longs, as the line file is
// read, and a mix as the train file's station rows are.
constexpr std::uint8_t kPlanKeywordLongs = 0xFC;
constexpr std::uint8_t kPlanMixed = 0x1B;

// Flags byte of the compile target: bit 0 would build the line geometry,
// which makes each run of the embedded texts many times slower; the small
// hand-made seeds cover the geometry instead.
constexpr char kWithoutGeometry = 0;

// Flags byte of the dump target: the kind, plus 4 for JSON.
constexpr char kTable = 0;
constexpr char kRoute = 1;
constexpr char kGeometry = 2;
constexpr char kJson = 4;

// The shortest line gives the smallest geometry file a build writes (7001
// rows); one curve makes its rows differ.
constexpr std::string_view kLineaBreve =
    "[generale]\r\nlunghezza percorso,   0\r\n[curve]\r\ncurvad5,   100,   300\r\n[fine]\r\n";
constexpr std::string_view kTrenoBreve = "[generale]\r\n[fine]\r\n";

bool write(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (out) return true;
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return false;
}

std::string with_prefix(char prefix, std::string_view text) {
    std::string bytes(1, prefix);
    bytes += text;
    return bytes;
}

// The folder after a build of the two texts in memory.
scenario::testing::MemoryFileSystem compiled(std::string_view linea, std::string_view treno,
                                             const scenario::ScenarioFiles& files) {
    scenario::testing::MemoryFileSystem fs;
    fs.files[files.linea_txt] = std::string(linea);
    fs.files[files.treno_txt] = std::string(treno);
    scenario::Scenario s;
    s.nome_linea = "Alvena_Sorbio";
    s.numero_treno = "4271";
    scenario::memorizza_percorso(s, 1, fs, files);
    return fs;
}

bool write_dump_seeds(const std::string& dir, const std::string& linea, const std::string& treno) {
    const scenario::ScenarioFiles files =
        scenario::scenario_files("/seeds", '/', "Alvena_Sorbio", "4271");
    auto embedded = compiled(linea, treno, files);
    auto breve = compiled(kLineaBreve, kTrenoBreve, files);
    const std::string& table = embedded.files[files.tabella_sim];
    const std::string& route = embedded.files[files.percorso_dat];
    const std::string& geometry = breve.files[files.linea_dat];
    bool ok = !table.empty() && !route.empty() && !geometry.empty();
    ok = write(dir + "/embedded_table", with_prefix(kTable, table)) && ok;
    ok = write(dir + "/embedded_table_json", with_prefix(kTable | kJson, table)) && ok;
    ok = write(dir + "/embedded_route", with_prefix(kRoute, route)) && ok;
    ok = write(dir + "/embedded_route_json", with_prefix(kRoute | kJson, route)) && ok;
    ok = write(dir + "/short_geometry", with_prefix(kGeometry, geometry)) && ok;
    ok = write(dir + "/short_geometry_json", with_prefix(kGeometry | kJson, geometry)) && ok;
    return ok;
}

// One message of an editor, framed, with `text` as its only string value
// that needs escaping: {"jsonrpc":"2.0",HEAD"TEXT"TAIL}.
std::string lsp_message(std::string_view head, std::string_view text = {},
                        std::string_view tail = {}) {
    std::ostringstream body;
    body << R"({"jsonrpc":"2.0",)" << head;
    if (!text.empty()) {
        scenario::JsonWriter json(body);
        json.string(text);
    }
    body << tail << '}';
    return scenario::testing::framed(body.str());
}

// What an editor sends about the embedded sources, as the language server
// target reads it: the train file opened with a misspelt keyword and
// mended, a hover, labels and the outline, the line file opened and
// closed, then shutdown and exit.
std::string lsp_session(const std::string& linea, const std::string& treno) {
    constexpr std::string_view kTreno = R"("file:///fuzz/Alvena_Sorbio_4271-.txt")";
    constexpr std::string_view kLinea = R"("file:///fuzz/Alvena_Sorbio_linea.txt")";
    const std::string open = R"("method":"textDocument/didOpen","params":{"textDocument":{"uri":)";
    std::string misspelt = treno;
    misspelt.replace(misspelt.find("segnale,   20900"), 7, "segnal");
    std::string s;
    s += lsp_message(R"("id":1,"method":"initialize","params":{"capabilities":{"textDocument":)"
                     R"({"hover":{"contentFormat":["markdown"]}}}})");
    s += lsp_message(R"("method":"initialized","params":{})");
    s += lsp_message(open + std::string(kTreno) + R"(,"version":1,"text":)", misspelt, "}}");
    s += lsp_message(R"("method":"textDocument/didChange","params":{"textDocument":{"uri":)" +
                         std::string(kTreno) + R"(,"version":2},"contentChanges":[{"text":)",
                     treno, "}]}");
    const std::string at = R"("params":{"textDocument":{"uri":)" + std::string(kTreno) + "},";
    s += lsp_message(R"("id":2,"method":"textDocument/hover",)" + at +
                     R"("position":{"line":87,"character":12}})");
    s += lsp_message(
        R"("id":3,"method":"textDocument/inlayHint",)" + at +
        R"("range":{"start":{"line":46,"character":0},"end":{"line":88,"character":0}}})");
    s += lsp_message(R"("id":4,"method":"textDocument/documentSymbol",)" +
                     at.substr(0, at.size() - 1) + "}");
    s += lsp_message(open + std::string(kLinea) + R"(,"version":1,"text":)", linea, "}}");
    s += lsp_message(R"("method":"textDocument/didClose","params":{"textDocument":{"uri":)" +
                     std::string(kLinea) + "}}");
    s += lsp_message(R"("id":5,"method":"shutdown")");
    s += lsp_message(R"("method":"exit")");
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr,
                     "usage: %s <field_reader corpus> <compile corpus> <dump corpus> "
                     "<check corpus> <lsp corpus>\n",
                     argv[0]);
        return 2;
    }
    const std::string reader_dir = argv[1];
    const std::string compile_dir = argv[2];
    const std::string linea = scenario::emit_text(scenario::testo_linea());
    const std::string treno = scenario::emit_text(scenario::testo_treno());
    std::string both = linea;
    both += '\0';
    both += treno;

    bool ok = true;
    ok = write(reader_dir + "/embedded_linea", with_prefix(kPlanKeywordLongs, linea)) && ok;
    ok = write(reader_dir + "/embedded_treno", with_prefix(kPlanMixed, treno)) && ok;
    ok = write(compile_dir + "/embedded_no_geometry", with_prefix(kWithoutGeometry, both)) && ok;
    // The check target reads the compile target's inputs.
    ok = write(std::string(argv[4]) + "/embedded_no_geometry",
               with_prefix(kWithoutGeometry, both)) &&
         ok;
    ok = write_dump_seeds(argv[3], linea, treno) && ok;
    ok = write(std::string(argv[5]) + "/embedded_session", lsp_session(linea, treno)) && ok;
    return ok ? 0 : 1;
}
