#include "output/memorizza_percorso.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "content/emitter.h"
#include "output/build_sources.h"
#include "support/memory_file_system.h"

namespace scenario {
namespace {

using testing::get_f64;
using testing::get_i16;
using testing::get_i32;
using testing::get_u;

const ScenarioFiles kFiles = scenario_files("/s", '/', "Alvena_Sorbio", "4271");

class MemorizzaPercorso : public ::testing::Test {
  protected:
    void SetUp() override {
        s.nome_linea = "Alvena_Sorbio";
        s.numero_treno = "4271";
    }
    void put_sources(std::string_view linea, std::string_view treno) {
        fs.files[kFiles.linea_txt] = std::string(linea);
        fs.files[kFiles.treno_txt] = std::string(treno);
    }
    BuildOutcome build(std::int32_t j = 1) { return memorizza_percorso(s, j, fs, kFiles); }

    Scenario s;
    testing::MemoryFileSystem fs;
};

TEST_F(MemorizzaPercorso, DeletesTheSourcesThenWritesGeometryTableAndRoute) {
    put_sources(testing::kLineaPiccola, testing::kTrenoPiccolo);
    const BuildOutcome outcome = build();
    EXPECT_EQ(outcome.status, BuildOutcome::Status::written);
    EXPECT_EQ(s.codice_errore, 0);
    const std::vector<std::string> log = {
        "remove /s/Alvena_Sorbio_linea.txt", "remove /s/Alvena_Sorbio_4271-.txt",
        "replace /s/Alvena_Sorbio_linea.dat", "replace /s/Alvena_Sorbio_4271.sim",
        "replace /s/Alvena_Sorbio_4271.dat"};
    EXPECT_EQ(fs.log, log);
    EXPECT_EQ(outcome.written, (std::vector<std::string>{kFiles.linea_dat, kFiles.tabella_sim,
                                                         kFiles.percorso_dat}));
    EXPECT_EQ(fs.files[kFiles.linea_dat].size(), 159964u);   // 20 x 8000 - 36
    EXPECT_EQ(fs.files[kFiles.percorso_dat].size(), 2415u);  // 161 cells of 15 bytes
}

TEST_F(MemorizzaPercorso, WithoutGeometryAnOlderGeometryFileIsLeftAlone) {
    put_sources(testing::kLineaPiccola, testing::kTrenoPiccolo);
    fs.files[kFiles.linea_dat] = "older geometry";
    const BuildOutcome outcome = build(0);
    EXPECT_EQ(outcome.status, BuildOutcome::Status::written);
    EXPECT_EQ(outcome.written, (std::vector<std::string>{kFiles.tabella_sim, kFiles.percorso_dat}));
    EXPECT_EQ(fs.files[kFiles.linea_dat], "older geometry");
    for (const std::string& entry : fs.log)
        EXPECT_EQ(entry.find("linea.dat"), std::string::npos);
}

void expect_route_matches(const std::string& bytes, const Scenario& s) {
    ASSERT_EQ(bytes.size(), s.percorso.size() * 15);
    for (std::size_t i = 0; i < s.percorso.size(); ++i) {
        const cella& c = s.percorso[i];
        const std::size_t at = i * 15;
        SCOPED_TRACE("cell " + std::to_string(i));
        EXPECT_EQ(std::tuple(get_u(bytes, at, 1), get_i16(bytes, at + 1), get_i16(bytes, at + 3),
                             get_i16(bytes, at + 5), get_i16(bytes, at + 7)),
                  std::tuple(std::uint32_t{c.tipo}, c.dato1, c.dato2, c.dato3, c.dato4));
        EXPECT_EQ(std::tuple(get_u(bytes, at + 9, 1), get_u(bytes, at + 10, 1),
                             get_u(bytes, at + 11, 1), get_u(bytes, at + 12, 1),
                             get_u(bytes, at + 13, 1), get_u(bytes, at + 14, 1)),
                  std::tuple(std::uint32_t{c.dato5}, std::uint32_t{c.dato6},
                             std::uint32_t{c.galleria}, std::uint32_t{c.velocita},
                             std::uint32_t{c.pendenza}, std::uint32_t{c.aderenza}));
    }
}

void expect_table_matches(const std::string& bytes, const Scenario& s) {
    std::size_t at = 0;
    for (const voce& v : s.voci) {
        ASSERT_LE(at + 34, bytes.size());
        const std::size_t n = get_u(bytes, at + 14, 2);
        ASSERT_LE(at + 34 + n, bytes.size());
        EXPECT_EQ(
            std::tuple(get_u(bytes, at, 1), get_i32(bytes, at + 1), get_i32(bytes, at + 5),
                       get_i32(bytes, at + 9), get_u(bytes, at + 13, 1), bytes.substr(at + 16, n)),
            std::tuple(std::uint32_t{v.tipo}, v.valore1, v.valore2, v.valore3,
                       std::uint32_t{v.segno}, v.testo));
        at += 16 + n;
        EXPECT_EQ(std::tuple(get_i16(bytes, at), get_i16(bytes, at + 2), get_i16(bytes, at + 4),
                             get_i16(bytes, at + 6), get_i16(bytes, at + 8)),
                  std::tuple(v.numero1, v.numero2, v.numero3, v.numero4, v.numero5));
        EXPECT_EQ(
            std::tuple(get_u(bytes, at + 10, 1), get_u(bytes, at + 11, 1), get_u(bytes, at + 12, 1),
                       get_u(bytes, at + 13, 1), get_i32(bytes, at + 14)),
            std::tuple(std::uint32_t{v.byte1}, std::uint32_t{v.byte2}, std::uint32_t{v.byte3},
                       std::uint32_t{v.byte4}, v.valore4));
        at += 18;
    }
    EXPECT_EQ(at, bytes.size());
}

// Reads one column of tagged items starting at `*at`.
void expect_column_matches(const std::string& bytes, std::size_t* at, const Tracciato& t,
                           const Colonna<double>& column) {
    for (std::size_t row = 0; row < t.tag.size(); ++row) {
        ASSERT_LE(*at + 2, bytes.size());
        const std::uint32_t tag = get_u(bytes, *at, 2);
        ASSERT_EQ(tag, static_cast<std::uint32_t>(t.tag[row])) << "row " << row;
        *at += 2;
        if (tag == 2) {
            EXPECT_EQ(get_i16(bytes, *at), column[row]) << "row " << row;
            *at += 2;
        } else if (tag == 5) {
            EXPECT_EQ(get_f64(bytes, *at), column[row]) << "row " << row;
            *at += 8;
        }
    }
}

TEST_F(MemorizzaPercorso, WrittenFilesDecodeBackToTheModel) {
    put_sources(testing::kLineaPiccola, testing::kTrenoPiccolo);
    ASSERT_EQ(build().status, BuildOutcome::Status::written);
    // The sources did reach the model: a sign, stations, a signal, a curve.
    ASSERT_EQ(s.voci[80].testo.empty(), false);
    ASSERT_EQ(s.voci[2].valore3, 5000);
    ASSERT_EQ(s.percorso[44].tipo, tipo_cella::kSegnale);
    ASSERT_EQ(s.tracciato.tag[7998], Tag::reale);
    ASSERT_NE(s.tracciato.x[7998], 0.0);

    expect_route_matches(fs.files[kFiles.percorso_dat], s);
    expect_table_matches(fs.files[kFiles.tabella_sim], s);
    const std::string& geometry = fs.files[kFiles.linea_dat];
    std::size_t at = 0;
    expect_column_matches(geometry, &at, s.tracciato, s.tracciato.x);
    expect_column_matches(geometry, &at, s.tracciato, s.tracciato.y);
    EXPECT_EQ(at, geometry.size());
}

struct NoRouteRow {
    const char* what;
    std::string_view linea;  // empty: no line file at all
    std::int32_t code;
};

TEST_F(MemorizzaPercorso, ACompileWithoutARouteWritesNothing) {
    const NoRouteRow rows[] = {
        {"line file missing", "", 101},
        {"no [generale] line", "lunghezza percorso, 1000\r\n[fine]\r\n", 102},
        {"route longer than 1000000 m", "[generale]\r\nlunghezza percorso, 1000001\r\n[fine]\r\n",
         1},
    };
    for (const NoRouteRow& row : rows) {
        SCOPED_TRACE(row.what);
        fs = testing::MemoryFileSystem{};
        put_sources(row.linea, testing::kTrenoPiccolo);
        if (row.linea.empty()) fs.files.erase(kFiles.linea_txt);
        const BuildOutcome outcome = build();
        EXPECT_EQ(outcome.status, BuildOutcome::Status::no_route);
        EXPECT_EQ(s.codice_errore, row.code);
        EXPECT_TRUE(outcome.written.empty());
        for (const std::string& entry : fs.log)
            EXPECT_NE(entry.rfind("replace", 0), 0u) << entry;
    }
}

// A route left in the model by an earlier build must not be written again
// when this build finds no line file.
TEST_F(MemorizzaPercorso, ARouteFromAnEarlierBuildIsNotReused) {
    put_sources(testing::kLineaPiccola, testing::kTrenoPiccolo);
    ASSERT_EQ(build().status, BuildOutcome::Status::written);
    fs.files.erase(kFiles.linea_txt);
    EXPECT_EQ(build().status, BuildOutcome::Status::no_route);
    EXPECT_EQ(s.codice_errore, 101);
}

// A sign at 0 m falls on cell 1, where the format mark goes.
TEST_F(MemorizzaPercorso, AnObjectOnTheHeaderCellStopsTheBuildWith1250) {
    std::string linea(testing::kLineaPiccola);
    linea.insert(linea.find("[fine]"), "cartello_indicatore,  0,  (ZERO)\r\n");
    put_sources(linea, testing::kTrenoPiccolo);
    const BuildOutcome outcome = build();
    EXPECT_EQ(outcome.status, BuildOutcome::Status::fatal_check);
    EXPECT_EQ(outcome.fatal_code, 1250);
    EXPECT_TRUE(outcome.written.empty());
    EXPECT_EQ(fs.files.count(kFiles.tabella_sim), 0u);
}

TEST_F(MemorizzaPercorso, AFailedWriteKeepsEarlierFilesAndSkipsLaterOnes) {
    put_sources(testing::kLineaPiccola, testing::kTrenoPiccolo);
    fs.failing.insert(kFiles.tabella_sim);
    const BuildOutcome outcome = build();
    EXPECT_EQ(outcome.status, BuildOutcome::Status::file_failure);
    EXPECT_EQ(outcome.file_error.path, kFiles.tabella_sim);
    EXPECT_EQ(outcome.written, std::vector<std::string>{kFiles.linea_dat});
    EXPECT_EQ(fs.files.count(kFiles.percorso_dat), 0u);
}

TEST_F(MemorizzaPercorso, TheEmbeddedScenarioGivesTheExpectedFiles) {
    ASSERT_TRUE(dati_linea(fs, kFiles, nullptr));
    ASSERT_TRUE(dati_treno(fs, kFiles, nullptr));
    ASSERT_EQ(build().status, BuildOutcome::Status::written);
    EXPECT_EQ(s.codice_errore, 0);
    EXPECT_EQ(fs.files[kFiles.linea_dat].size(), 2159964u);   // 20 x 108000 - 36
    EXPECT_EQ(fs.files[kFiles.percorso_dat].size(), 32415u);  // 2161 x 15

    const std::string& table = fs.files[kFiles.tabella_sim];
    // 87 x 34, 49 sign texts (1155 bytes), 29 station names (276), the identity (17).
    EXPECT_EQ(table.size(), 4406u);
    expect_table_matches(table, s);
    // Record 85 starts after 85 records and their texts.
    std::size_t at = 0;
    for (int i = 0; i < 85; ++i)
        at += 34 + get_u(table, at + 14, 2);
    EXPECT_EQ(table.substr(at + 14, 15), std::string("\x0D\x00"
                                                     "Alvena_Sorbio",
                                                     15));
    EXPECT_EQ(get_i16(table, at + 29), 610);
    EXPECT_EQ(get_i32(table, at + 43), 32703);
    EXPECT_EQ(table.substr(at + 47 + 14, 6), std::string("\x04\x00"
                                                         "4271",
                                                         6));

    const std::string& route = fs.files[kFiles.percorso_dat];
    EXPECT_EQ(route.substr(16, 4), std::string("\x01\x14\x46\x09", 4));  // 5121, 2374
}

}  // namespace
}  // namespace scenario
