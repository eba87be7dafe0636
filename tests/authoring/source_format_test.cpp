#include "authoring/source_format.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "content/embedded_texts.h"
#include "content/emitter.h"
#include "fuzz/two_sources.h"
#include "output/memorizza_percorso.h"

namespace scenario {
namespace {

// The builder's own files are laid out already; with every row indented and
// every blank after a comma taken out, they are laid out as before.
TEST(SourceFormat, LeavesTheBuildersOwnSourcesAsTheyAre) {
    for (const auto& [kind, text] : {std::pair{SourceKind::linea, emit_text(testo_linea())},
                                     std::pair{SourceKind::treno, emit_text(testo_treno())}}) {
        EXPECT_EQ(formatted_source(text, kind), text);
        std::string broken;
        for (std::size_t at = 0; at < text.size();) {
            std::string line = text.substr(at, text.find('\n', at) + 1 - at);
            at += line.size();
            if (line.find(',') != std::string::npos) line.insert(0, " \t");
            for (std::size_t comma = line.find(','); comma != std::string::npos;
                 comma = line.find(',', comma + 1))
                line.erase(comma + 1, line.find_first_not_of(" \t", comma + 1) - comma - 1);
            broken += line;
        }
        EXPECT_EQ(formatted_source(broken, kind), text);
    }
}

// Rows around a "[generale]" line, each case one file of its kind.
TEST(SourceFormat, LaysOutRowsAndTouchesNoText) {
    struct Case {
        SourceKind kind;
        const char* text;
        const char* laid_out;
    };
    const Case cases[] = {
        // Blanks of every kind, and none, between the line file's values.
        {SourceKind::linea,
         "[generale]\r\n  lunghezza percorso,5000\r\n[curve]\r\ncurvad5,\t650 , 550\r\n",
         "[generale]\r\nlunghezza percorso,    5000\r\n[curve]\r\ncurvad5,  650,  550\r\n"},
        // A sign's text keeps its blanks inside and after it; only those
        // before it, which the reader skips, change.
        {SourceKind::linea, "[generale]\n[x]\ncartello_indicatore,2400,(  BIVIO )( 12 m. )  \n",
         "[generale]\n[x]\ncartello_indicatore,  2400,   (  BIVIO )( 12 m. )  \n"},
        // Broken columns realigned under the widest number; the station's
        // name, blanks and all, untouched; the row at 0 keeps its short form.
        {SourceKind::treno,
         "[generale]\r\n"
         "velocita, 0, 30\r\nvelocita, 14350, 110\r\n"
         "stazione,0,8,500,0,0,0,1,1,0,4,1,1,1,17,43,0,  ALVENA  P.NUOVA \r\n"
         "stazione, 4100, 27, 200, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, S. ILARIA\r\n",
         "[generale]\r\n"
         "velocita,   0,    30\r\nvelocita,   14350,   110\r\n"
         "stazione,     0,  8,  500,  0, 0, 0,  1,1,0,  4,1,1,   1,  17,43, 0, ALVENA  P.NUOVA "
         "\r\n"
         "stazione,  4100, 27,  200,  0, 0, 0,  0,0,0,  0,0,0,   0,   0, 0, 0, S. ILARIA\r\n"},
        // The clock's numbers keep a blank between them; the slowdown and
        // the speed-reduction point in columns of their own.
        {SourceKind::treno,
         "[generale]\norologio,17 42 30\nrallentamento,20000,60,1000,0,0,0\n"
         "rallentamento,5000,100,300,1,2,3\nabbattimento,900,0\n",
         "[generale]\norologio,    17              42            30 \n"
         "rallentamento,   20000,    60,   1000,   0,   0,   0\n"
         "rallentamento,    5000,   100,    300,   1,   2,   3\nabbattimento,   900,   0\n"},
        // Left as written: a record over two lines, two records on one line,
        // a comment and the preamble.
        {SourceKind::treno,
         "x ,  y\n[generale]\n- note ,  1\nsegnale, 1250,\n 2,5,6,0,0,2,1,0,0,0\n"
         "sabbia,1 vetture,3\n",
         "x ,  y\n[generale]\n- note ,  1\nsegnale, 1250,\n 2,5,6,0,0,2,1,0,0,0\n"
         "sabbia,1 vetture,3\n"},
    };
    for (const Case& c : cases) {
        const std::string once = formatted_source(c.text, c.kind);
        EXPECT_EQ(once, c.laid_out) << c.text;
        EXPECT_EQ(formatted_source(once, c.kind), once) << c.text;
    }
}

TEST(SourceFormat, ARangeLaysOutItsLinesInTheColumnsOfTheWholeFile) {
    const std::string text =
        "[generale]\nsegnale,1250,2,5,6,0,0,2,1,0,0,0\nsegnale,99800,2,2,3,0,0,0,0,0,0,0\n";
    const SourceCheck check = check_treno(text, std::nullopt);
    const std::size_t second = text.find("segnale,9");
    EXPECT_EQ(apply_edits(text, layout_edits(text, check, second, second)),
              "[generale]\nsegnale,1250,2,5,6,0,0,2,1,0,0,0\n"
              "segnale,   99800,   2, 2, 3,  0, 0,    0,  0,0,0, 0\n");
}

// The inputs of the fuzz targets that build a whole scenario.
std::vector<std::filesystem::path> corpus_inputs() {
    std::vector<std::filesystem::path> inputs;
    for (const char* target : {"compile", "check", "run"}) {
        for (const char* folder : {"corpus", "regressions"}) {
            const std::filesystem::path dir =
                std::filesystem::path(SCENARIO_FUZZ_DIR) / folder / target;
            if (!std::filesystem::is_directory(dir)) continue;
            for (const auto& entry : std::filesystem::directory_iterator(dir)) {
                if (entry.is_regular_file() && entry.path().filename() != ".keep")
                    inputs.push_back(entry.path());
            }
        }
    }
    return inputs;
}

struct Built {
    testing::MemoryFileSystem fs;
    Scenario s;
    BuildOutcome outcome;
};

void build(const fuzzing::TwoSources& in, Built& b) {
    const std::int32_t j = fuzzing::prepare_build(in, b.fs, b.s);
    b.outcome = memorizza_percorso(b.s, j, b.fs, fuzzing::fuzz_files());
    // A source the compile did not read is left behind, as written.
    b.fs.files.erase(fuzzing::fuzz_files().linea_txt);
    b.fs.files.erase(fuzzing::fuzz_files().treno_txt);
}

// Over every input of the fuzz corpora: the compile of the laid-out sources
// writes the same files, byte for byte, as the compile of the sources as
// they are; and laying out again changes nothing.
TEST(SourceFormat, OverTheCorporaCompilesToTheSameBytesAndIsStable) {
    int inputs = 0;
    int clean = 0;
    int changed = 0;
    std::size_t bytes = 0;
    for (const std::filesystem::path& path : corpus_inputs()) {
        std::ifstream file(path, std::ios::binary);
        const std::string input{std::istreambuf_iterator<char>(file),
                                std::istreambuf_iterator<char>()};
        if (input.empty()) continue;
        fuzzing::TwoSources in =
            fuzzing::split_input(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
        const std::string linea = formatted_source(in.linea, SourceKind::linea);
        const std::string treno = formatted_source(in.treno, SourceKind::treno);
        const std::string name = path.filename().string();
        EXPECT_EQ(formatted_source(linea, SourceKind::linea), linea) << name;
        EXPECT_EQ(formatted_source(treno, SourceKind::treno), treno) << name;
        if (linea != in.linea || treno != in.treno) ++changed;
        Built as_written;
        build(in, as_written);
        in.linea = linea;
        in.treno = treno;
        Built laid_out;
        build(in, laid_out);
        EXPECT_EQ(laid_out.fs.files, as_written.fs.files) << name;
        EXPECT_EQ(laid_out.outcome.status, as_written.outcome.status) << name;
        EXPECT_EQ(laid_out.s.codice_errore, as_written.s.codice_errore) << name;
        ++inputs;
        for (const auto& [file_name, file_bytes] : as_written.fs.files)
            bytes += file_bytes.size();
        if (as_written.outcome.status == BuildOutcome::Status::written &&
            as_written.s.codice_errore == 0)
            ++clean;
    }
    EXPECT_GT(inputs, 240);
    std::printf(
        "laid out %d inputs (%d compile without a recorded code, %d changed by the layout); "
        "%zu compiled bytes compared\n",
        inputs, clean, changed, bytes);
}

}  // namespace
}  // namespace scenario
