#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "content/embedded_texts.h"
#include "content/emitter.h"

namespace scenario {
namespace {

enum class Source { kLinea, kTreno };

std::string text_of(Source source) {
    return emit_text(source == Source::kLinea ? testo_linea() : testo_treno());
}

// The emitted lines, without their CR LF.
std::vector<std::string> lines_of(Source source) {
    const std::string text = text_of(source);
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find("\r\n", at);
        if (end == std::string::npos) break;
        lines.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

// The rows that start with `keyword` followed by a comma.
std::vector<std::string> rows_of(Source source, std::string_view keyword) {
    std::vector<std::string> rows;
    for (const std::string& line : lines_of(source)) {
        if (line.starts_with(keyword) && line.size() > keyword.size() &&
            line[keyword.size()] == ',') {
            rows.push_back(line);
        }
    }
    return rows;
}

long first_number(const std::string& row) {
    return std::strtol(row.c_str() + row.find(',') + 1, nullptr, 10);
}

TEST(EmbeddedSources, AreCrLfLinesEndingWithFine) {
    struct Row {
        Source source;
        std::size_t lines;
    };
    const Row rows[] = {{Source::kLinea, 353}, {Source::kTreno, 121}};
    for (const Row& row : rows) {
        const std::string text = text_of(row.source);
        EXPECT_EQ(lines_of(row.source).size(), row.lines);
        EXPECT_TRUE(text.ends_with("\r\n[fine]\r\n"));
        EXPECT_EQ(text.find(kSentinella), std::string::npos);
        // As many CR and LF bytes as CR LF pairs: no lone CR or LF slips in.
        EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), std::ptrdiff_t(row.lines));
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), std::ptrdiff_t(row.lines));
    }
}

TEST(EmbeddedSources, SectionHeadersStandOnTheirLines) {
    struct Row {
        Source source;
        std::size_t line;  // from 1
        std::string_view header;
    };
    const Row rows[] = {
        {Source::kLinea, 1, "[generale]"},   {Source::kLinea, 10, "[curve]"},
        {Source::kLinea, 135, "[pendenze]"}, {Source::kLinea, 223, "[montagne]"},
        {Source::kLinea, 273, "[cartelli]"}, {Source::kLinea, 303, "[indicazioni]"},
        {Source::kLinea, 353, "[fine]"},     {Source::kTreno, 1, "[generale]"},
        {Source::kTreno, 6, "[aderenze]"},   {Source::kTreno, 25, "[vel_limite]"},
        {Source::kTreno, 46, "[stazioni]"},  {Source::kTreno, 76, "[rallentamenti]"},
        {Source::kTreno, 77, "[segnali]"},   {Source::kTreno, 120, "[codici]"},
        {Source::kTreno, 121, "[fine]"},
    };
    const std::vector<std::string> linea = lines_of(Source::kLinea);
    const std::vector<std::string> treno = lines_of(Source::kTreno);
    for (const Row& row : rows) {
        const std::vector<std::string>& lines = row.source == Source::kLinea ? linea : treno;
        ASSERT_LE(row.line, lines.size());
        EXPECT_EQ(lines[row.line - 1], row.header);
    }
}

TEST(EmbeddedSources, RowCountsPerKeyword) {
    struct Row {
        Source source;
        std::string_view keyword;
        std::size_t count;
    };
    const Row rows[] = {
        {Source::kLinea, "curvad5", 52},
        {Source::kLinea, "curvas5", 48},
        {Source::kLinea, "curvas4", 8},
        {Source::kLinea, "curvas6", 8},
        {Source::kLinea, "curvad4", 6},
        {Source::kLinea, "curvad3", 1},
        {Source::kLinea, "curvas3", 1},
        {Source::kLinea, "pendenza", 86},
        {Source::kLinea, "montagna", 49},
        {Source::kLinea, "indicatori_vmax", 29},
        {Source::kLinea, "cartello_indicatore", 49},
        {Source::kTreno, "aderenza", 18},
        {Source::kTreno, "velocita", 20},
        {Source::kTreno, "stazione", 29},
        {Source::kTreno, "segnale", 42},
        {Source::kTreno, "rallentamento", 0},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(rows_of(row.source, row.keyword).size(), row.count) << row.keyword;
    }
}

// Lines 2-9 of the line file and 2-5 of the train file, and the rows that
// pin the layout of each record kind.
TEST(EmbeddedSources, FixedAndTellingRowsAreWrittenExactly) {
    const std::vector<std::string> linea = lines_of(Source::kLinea);
    const std::vector<std::string> treno = lines_of(Source::kTreno);
    const std::vector<std::string> linea_header(linea.begin() + 1, linea.begin() + 9);
    EXPECT_EQ(linea_header, (std::vector<std::string>{
                                "lunghezza percorso,    101000",
                                "progressiva chilometrica uno,    0,    314050,    1",
                                "progressiva chilometrica due,    2450,    200,    0",
                                "progressiva chilometrica tre,    0,    0,    0",
                                "sfondo uno,    65650",
                                "sfondo due,    1",
                                "sfondo tre,    41050",
                                "ripetizione segnali 4 codici,    0    ,0",
                            }));
    const std::vector<std::string> treno_header(treno.begin() + 1, treno.begin() + 5);
    EXPECT_EQ(treno_header, (std::vector<std::string>{
                                "numero vetture,    3",
                                "percentuale massa frenata,    120",
                                "sabbia,    300",
                                "orologio,    17              42            30 ",
                            }));
    struct Row {
        Source source;
        std::size_t line;  // from 1
        std::string_view text;
    };
    const Row rows[] = {
        // first and last curve, the longest, the only class-3 ones
        {Source::kLinea, 11, "curvad5,  650,  550"},
        {Source::kLinea, 134, "curvad5,  99350,  700"},
        {Source::kLinea, 0, "curvad4,  2350,  100"},
        {Source::kLinea, 0, "curvas5,  2450,  400"},
        {Source::kLinea, 0, "curvad5,  40150,  1250"},
        {Source::kLinea, 0, "curvad3,  92050,  450"},
        {Source::kLinea, 0, "curvas3,  95400,  500"},
        // the altitude note, then the first, a falling and the last gradient
        {Source::kLinea, 136, "- Altitudine iniziale Alvena P.Nuova = 46 m."},
        {Source::kLinea, 137, "pendenza,  0,   0"},
        {Source::kLinea, 0, "pendenza,  19750,   -15"},
        {Source::kLinea, 222, "pendenza,  99900,   0"},
        // tunnels: the junction span, a marked one, the longest, the last
        {Source::kLinea, 224, "montagna,   2350,  2400,  2"},
        {Source::kLinea, 0, "montagna,   4250,  4600,  12"},
        {Source::kLinea, 0, "montagna,   50300,  54100,  11"},
        {Source::kLinea, 272, "montagna,   96000,  96150,  12"},
        // name boards: junction, tunnel, a two-line name, viaduct
        {Source::kLinea, 304, "cartello_indicatore,  2400,   (  BIVIO   )(MORTELLETO)"},
        {Source::kLinea, 0, "cartello_indicatore,  4200,   (VALMEDRA)( 366 m. )"},
        {Source::kLinea, 0,
         "cartello_indicatore,  57400,   (   ROCCA   )(DEL GRIFONE)( 1294 m.   )"},
        {Source::kLinea, 0, "cartello_indicatore,  64850,   (Viadotto sul)(FIUME ORMEDA)"},
        // origin, a passed station, a stop, the terminus
        {Source::kTreno, 47,
         "stazione,       0,  8,  500,  0, 0, 0,  1,1,0,  4,1,1,    1,  17,43, 0, ALVENA P.NUOVA"},
        {Source::kTreno, 0,
         "stazione,    4100, 27,  200,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, VALMEDRA"},
        {Source::kTreno, 0,
         "stazione,   22500, 22,  300,  0, 0, 0,  0,0,0,  4,1,1,   60,  18, 9, 0, DORSIA"},
        {Source::kTreno, 75,
         "stazione,  100750,  2,  700,  1, 0, 0,  1,1,0,  2,1,1,    0,  19,30, 0, SORBIO"},
        // first signal, the first pair, the last signal
        {Source::kTreno, 78, "segnale,    1250,   2, 5, 6,  0, 0,    2,  1,0,0, 0"},
        {Source::kTreno, 82, "segnale,    6900,   1, 5, 1,  0, 0,    0,  0,0,0, 0"},
        {Source::kTreno, 83, "segnale,    7950,   2, 3, 1,  0, 0,    0,  0,0,0, 0"},
        {Source::kTreno, 119, "segnale,   99800,   2, 2, 3,  0, 0,    0,  0,0,0, 0"},
    };
    for (const Row& row : rows) {
        const std::vector<std::string>& lines = row.source == Source::kLinea ? linea : treno;
        if (row.line == 0) {  // anywhere in the file
            EXPECT_NE(std::find(lines.begin(), lines.end(), row.text), lines.end()) << row.text;
        } else {
            ASSERT_LE(row.line, lines.size());
            EXPECT_EQ(lines[row.line - 1], row.text);
        }
    }
}

std::string format_row(const char* layout, int a, int b, int c = 0, int d = 0, int e = 0) {
    char row[128];
    std::snprintf(row, sizeof row, layout, a, b, c, d, e);
    return row;
}

// The speed boards, the adhesion and the speed-limit profile are given row
// by row; only their layout is formatted here.
TEST(EmbeddedSources, RowsGivenInFullMatchTheirValues) {
    struct Board {
        int position, va, vb, vc, stripes;
    };
    const Board boards[] = {
        {700, 65, 70, 75, 0},      {1300, 80, 85, 90, 0},     {2500, 65, 70, 75, 0},
        {4800, 90, 95, 100, 0},    {14350, 100, 105, 110, 0}, {19900, 90, 95, 100, 0},
        {23550, 120, 125, 130, 0}, {26900, 90, 95, 100, 2},   {27100, 90, 95, 100, 1},
        {27300, 90, 95, 100, 0},   {29850, 120, 130, 135, 0}, {32700, 75, 80, 80, 2},
        {32900, 75, 80, 80, 1},    {33100, 75, 80, 80, 0},    {34650, 75, 80, 80, 0},
        {63650, 30, 80, 80, 2},    {63900, 30, 80, 80, 1},    {64150, 30, 80, 80, 0},
        {65050, 75, 80, 80, 0},    {66600, 90, 95, 100, 0},   {70900, 95, 100, 105, 0},
        {72850, 90, 95, 100, 0},   {75450, 95, 100, 105, 0},  {82850, 90, 95, 100, 0},
        {89450, 135, 140, 140, 0}, {94850, 105, 110, 110, 2}, {95050, 105, 110, 110, 1},
        {95250, 105, 110, 110, 0}, {98200, 85, 90, 90, 0},
    };
    std::vector<std::string> expected;
    for (const Board& b : boards) {
        expected.push_back(format_row("indicatori_vmax,  %d,  %d,  %d,  %d,  %d,  ,  ,  ,  0",
                                      b.position, b.va, b.vb, b.vc, b.stripes));
    }
    EXPECT_EQ(rows_of(Source::kLinea, "indicatori_vmax"), expected);

    struct Profile {
        std::string_view keyword;
        const char* first_layout;  // the row at 0 is not right-aligned
        std::vector<std::pair<int, int>> rows;
    };
    const Profile profiles[] = {
        {"aderenza",
         "aderenza,   %d,   %d",
         {{0, 100},
          {9900, 80},
          {11050, 90},
          {15900, 80},
          {19450, 100},
          {34850, 90},
          {40050, 80},
          {44400, 70},
          {47450, 85},
          {50300, 70},
          {54050, 85},
          {57450, 70},
          {58700, 85},
          {59550, 70},
          {60700, 85},
          {65850, 100},
          {76100, 80},
          {76400, 100}}},
        {"velocita",
         "velocita,   %d,    %d",
         {{0, 30},      {700, 75},    {1300, 90},   {2300, 60},   {2950, 75},
          {4800, 100},  {14350, 110}, {20950, 100}, {23550, 130}, {28500, 100},
          {29850, 135}, {34200, 80},  {66600, 100}, {70900, 105}, {73900, 100},
          {75450, 105}, {83750, 100}, {89450, 140}, {96050, 110}, {98850, 90}}},
    };
    for (const Profile& profile : profiles) {
        expected.clear();
        for (const auto& [position, value] : profile.rows) {
            const std::string layout = std::string(profile.keyword) + ",%8d,%6d";
            expected.push_back(format_row(expected.empty() ? profile.first_layout : layout.c_str(),
                                          position, value));
        }
        EXPECT_EQ(rows_of(Source::kTreno, profile.keyword), expected);
    }
}

// The compilers walk each profile and list forwards and map positions to
// 50 m cells, so every section must ascend strictly in multiples of 50.
TEST(EmbeddedSources, PositionsAscendInStepsOfFifty) {
    struct Row {
        Source source;
        std::string_view keyword;
    };
    const Row rows[] = {
        {Source::kLinea, "curva"},
        {Source::kLinea, "pendenza"},
        {Source::kLinea, "montagna"},
        {Source::kLinea, "indicatori_vmax"},
        {Source::kLinea, "cartello_indicatore"},
        {Source::kTreno, "aderenza"},
        {Source::kTreno, "velocita"},
        {Source::kTreno, "stazione"},
        {Source::kTreno, "segnale"},
    };
    for (const Row& row : rows) {
        long previous = -1;
        for (const std::string& line : lines_of(row.source)) {
            if (!line.starts_with(row.keyword) || line.find(',') == std::string::npos) continue;
            const long position = first_number(line);
            EXPECT_EQ(position % 50, 0) << line;
            EXPECT_GT(position, previous) << line;
            previous = position;
        }
    }
}

}  // namespace
}  // namespace scenario
