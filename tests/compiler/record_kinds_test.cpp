// The table of record kinds against the compilers: every kind's example row
// is read by the compile exactly to its end, as one record of that kind,
// and the checks find nothing to say about it.
#include "compiler/record_kinds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "authoring/diagnose.h"
#include "compiler/error_codes.h"
#include "output/file_names.h"
#include "support/memory_file_system.h"

namespace scenario {
namespace {

constexpr std::string_view kLength = "lunghezza percorso,    101000\r\n";

struct Sources {
    std::string linea = "[generale]\r\n" + std::string(kLength) + "[curve]\r\n";
    std::string treno = "[generale]\r\n";
    std::size_t row = 0;  // where the example row begins
};

Sources with_example(const RecordKind& kind) {
    Sources s;
    std::string& text = kind.block == RecordBlock::train ? s.treno : s.linea;
    if (kind.block == RecordBlock::line_header) text = "[generale]\r\n" + std::string(kLength);
    s.row = text.size();
    text += std::string(kind.example) + "\r\n";
    if (kind.block == RecordBlock::line_header) text += "[curve]\r\n";
    s.linea += "[fine]\r\n";
    s.treno += "[fine]\r\n";
    return s;
}

TEST(RecordKinds, EachExampleIsReadWholeAsOneRecordOfItsKind) {
    for (const RecordBlock block :
         {RecordBlock::line_header, RecordBlock::line_body, RecordBlock::train}) {
        for (const RecordKind& kind : record_kinds(block)) {
            const Sources src = with_example(kind);
            const ScenarioFiles files = scenario_files("/k", '/', "L", "1");
            testing::MemoryFileSystem fs;
            fs.files[files.linea_txt] = src.linea;
            fs.files[files.treno_txt] = src.treno;
            Scenario s;
            CompileEvents events;
            const BuildOutcome outcome =
                memorizza_percorso(s, 1, fs, files, BuildOptions{.observer = &events});
            const SourceKind file =
                block == RecordBlock::train ? SourceKind::treno : SourceKind::linea;
            const std::string_view example = kind.example;
            const std::size_t last = example.find_last_not_of(' ') + 1;
            int read = 0;
            for (const CompileEvents::Record& r : events.records) {
                if (r.file != file || r.keyword != src.row) continue;
                ++read;
                EXPECT_EQ(r.kind, kind.id) << example;
                EXPECT_EQ(r.end, src.row + last) << example;
            }
            EXPECT_EQ(read, 1) << example;
            EXPECT_EQ(s.codice_errore, 0) << example;
            const auto diagnostics =
                diagnose({SourceState::present, src.linea}, {SourceState::present, src.treno}, s,
                         outcome, events);
            EXPECT_TRUE(diagnostics.empty())
                << example << ": " << (diagnostics.empty() ? "" : diagnostics[0].message);
        }
    }
}

// Each kind is recognised by its words alone, the line file's header words
// only in lower case.
TEST(RecordKinds, SelectByTheirWordsAndLetterCase) {
    const struct {
        RecordKindId kind;
        const char* keyword;
        bool selects;
    } cases[] = {
        {RecordKindId::stazione, "STAZIONE", true},
        {RecordKindId::velocita, "velocit\xE0", true},
        {RecordKindId::massa_frenata, "massa frenata", true},
        {RecordKindId::massa_frenata, "frenata", false},
        {RecordKindId::progressiva_uno, "progressiva chilometrica uno", true},
        {RecordKindId::progressiva_uno, "Progressiva chilometrica uno", false},
        {RecordKindId::lunghezza, "LUNGHEZZA PERCORSO", true},
        {RecordKindId::cartello_indicatore, "cartello_indicatore", true},
        {RecordKindId::indicatori_vmax, "cartello_indicatore", false},
        {RecordKindId::pendenza, "[pendenze]", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(selects(record_kind(c.kind), c.keyword), c.selects) << c.keyword;
}

// The codes listed with the kinds, with 25 (any record may fail to read)
// and the two of a line file as a whole, are every code the program records:
// a code added without a record to blame is missing from the reference.
TEST(RecordKinds, TheirCodesAreEveryRecordedCode) {
    std::set<std::int32_t> listed = {codice::kLettura, codice::kLineaMancante,
                                     codice::kGeneraleMancante};
    for (const RecordBlock block :
         {RecordBlock::line_header, RecordBlock::line_body, RecordBlock::train}) {
        for (const RecordKind& kind : record_kinds(block)) {
            const auto has = [&](std::int32_t code) {
                return std::find(kind.codes.begin(), kind.codes.end(), code) != kind.codes.end();
            };
            EXPECT_TRUE(std::is_sorted(kind.codes.begin(), kind.codes.end())) << kind.name;
            listed.insert(kind.codes.begin(), kind.codes.end());
            for (const FieldInfo& f : kind.fields) {
                const bool placed = f.role == FieldRole::position || f.role == FieldRole::station ||
                                    f.role == FieldRole::start;
                EXPECT_TRUE(f.code == 0 || has(f.code)) << kind.name << " " << f.name;
                EXPECT_TRUE(!placed || has(codice::kFuoriPercorso)) << kind.name;
            }
        }
    }
    std::set<std::int32_t> recorded;
    for (const ErrorCodeInfo& info : error_codes())
        recorded.insert(info.code);
    EXPECT_EQ(listed, recorded);
}

}  // namespace
}  // namespace scenario
