#include "compiler/line_compiler.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "compiler/error_codes.h"
#include "content/embedded_texts.h"
#include "content/emitter.h"

namespace scenario {
namespace {

std::string lines(std::initializer_list<std::string_view> rows) {
    std::string text;
    for (const std::string_view row : rows) {
        text += row;
        text += "\r\n";
    }
    return text;
}

// A line of 3000 m: `metri_totali` 10000, cells 0 to 200, geometry rows 0 to
// 10000. Positions up to 9900 pass the range test.
std::string linea(std::initializer_list<std::string_view> body) {
    std::string text = lines({"[generale]", "lunghezza percorso,  3000", "[curve]"});
    text += lines(body);
    return text + lines({"[fine]"});
}

class LineCompiler : public ::testing::Test {
  protected:
    LineHalf compile(const std::string& text) {
        s.genera_linea = genera_linea;
        return compila_linea(s, text);
    }
    std::int32_t genera_linea = 1;
    Scenario s;
};

TEST_F(LineCompiler, HeaderFillsTheEntries) {
    const LineHalf half = compile(lines({
        "- ignored before the header, lunghezza percorso, 50",
        "[Generale]",
        "- note, with a comma",
        "lunghezza percorso,  3000",
        "Sfondo uno,  7",  // header words are matched in lower case only
        "sfondo uno,  3",
        "sfondo due,  5",
        "sfondo tre,  9",
        "  - [not the end]",
        "[curve]",
        "[fine]",
    }));
    EXPECT_EQ(half.end, LineEnd::finished);
    EXPECT_EQ(s.codice_errore, 0);
    EXPECT_EQ(s.voci[84].valore2, 3000);
    EXPECT_EQ(s.ultima_cella(), 200);
    EXPECT_EQ(std::tuple(s.voci[85].valore1, s.voci[85].valore2, s.voci[85].valore3),
              std::tuple(3, 9, 5));  // uno, tre, due
}

TEST_F(LineCompiler, SignalRepetition) {
    const struct {
        const char* row;
        std::int32_t valore3;
    } cases[] = {
        {"ripetizione segnali 4 codici,    0    ,0", 0},  // 4, then 0 for a second position 0
        {"ripetizione segnali 4 codici,  100,  2000", 4},
        {"ripetizione segnali 9 codici,  100,  2000", 9},
        {"ripetizione segnali 94 codici,  100,  2000", 4},  // "4" is tested first
        {"Ripetizione segnali 4 codici,  100,  2025", 0},   // not lower case: not a record
    };
    for (const auto& c : cases) {
        s = Scenario{};
        compile(lines({"[generale]", "lunghezza percorso, 3000", c.row, "[curve]", "[fine]"}));
        EXPECT_EQ(s.codice_errore, 0) << c.row;
        EXPECT_EQ(s.voci[86].valore3, c.valore3) << c.row;
    }
}

TEST_F(LineCompiler, GradientProfile) {
    const struct {
        std::initializer_list<std::string_view> body;
        // Runs of equal cells: first cell, last cell, `pendenza`.
        std::initializer_list<std::tuple<int, int, int>> runs;
    } cases[] = {
        // The embedded start of the profile; the fill stops below N - 2 = 198.
        {{"pendenza,  0,   0", "pendenza,  550,   6", "pendenza,  2500,   18"},
         {{0, 10, 100}, {11, 49, 106}, {50, 197, 118}, {198, 200, 0}}},
        // A record at position 0 writes no cell: the fill starts at cell 0.
        {{"pendenza,  0,   -6"}, {{0, 197, 94}}},
        // A record in the cell just filled still writes the cursor cell.
        {{"pendenza,  500,  2", "pendenza,  510,  4"},
         {{0, 9, 100}, {10, 10, 102}, {11, 197, 104}}},
    };
    for (const auto& c : cases) {
        s = Scenario{};
        ASSERT_EQ(compile(linea(c.body)).end, LineEnd::finished);
        for (const auto& [first, last, value] : c.runs) {
            for (int i = first; i <= last; ++i)
                EXPECT_EQ(s.percorso[i].pendenza, value) << "cell " << i;
        }
    }
}

TEST_F(LineCompiler, CurvesTurnTheGeometry) {
    ASSERT_EQ(compile(linea({"curvad5,  650,  550"})).end, LineEnd::finished);
    const Tracciato& t = s.tracciato;
    EXPECT_EQ(t.tag[0], Tag::intero);
    EXPECT_EQ(t.tag[1], Tag::intero);
    EXPECT_EQ(std::tuple(t.x[1], t.y[1]), std::tuple(0.0, 1.0));
    const struct {
        int row;
        double x, y;
    } rows[] = {
        {2, 0.0, 2.0},
        {650, 0.0, 650.0},  // straight up to the start of the curve
        {651, 0.002, 651.0},
        {652, 0.006, 651.999996},
        {1200, 273.8438579468376, 1095.5478764427644},   // the curve's last row
        {1201, 274.73604550640476, 1096.0019731019897},  // straight on
        {9998, 8123.310007018712, 5090.690284306333},    // `metri_totali` - 2
    };
    for (const auto& r : rows) {
        EXPECT_EQ(t.tag[r.row], Tag::reale) << r.row;
        EXPECT_EQ(t.x[r.row], r.x) << r.row;  // bit for bit
        EXPECT_EQ(t.y[r.row], r.y) << r.row;
    }
    EXPECT_EQ(t.tag[9999], Tag::vuoto);
    EXPECT_EQ(t.tag[10000], Tag::vuoto);

    // "s" in either case turns towards negative x; class 6 is 0.003 per metre.
    for (const char* row : {"curvas6,  650,  550", "CurvaS6,  650,  550"}) {
        s = Scenario{};
        ASSERT_EQ(compile(linea({row})).end, LineEnd::finished);
        EXPECT_EQ(s.tracciato.x[651], -0.003) << row;
    }
}

// However the compile ends, every row holds its tag and values: the rows it
// computed, and empty rows (0, 0) from the first one it did not reach.
TEST_F(LineCompiler, RowsBeyondWhereTheGeometryStoppedAreEmpty) {
    const struct {
        const char* what;
        std::string text;
        LineEnd end;
        std::int32_t code;
        int first_empty;  // 0: not even rows 0 and 1 were seeded
    } rows[] = {
        {"a curve up to the last row the route carries", linea({"curvad5, 9000, 998"}),
         LineEnd::finished, 0, 9999},
        {"a curve one row further", linea({"curvad5, 9000, 999"}), LineEnd::failed, 0, 9999},
        {"a curve without a class digit after a good one",
         linea({"curvad5,  650,  550", "curva, 2000, 10"}), LineEnd::stopped, codice::kCurva, 1201},
        {"a header that gives up after the length",
         lines({"[generale]", "lunghezza percorso,  3000", "ripetizione segnali 4, 25, 0"}),
         LineEnd::stopped, 3, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        s = Scenario{};
        EXPECT_EQ(compile(row.text).end, row.end);
        EXPECT_EQ(s.codice_errore, row.code);
        const Tracciato& t = s.tracciato;
        ASSERT_EQ(t.rows(), 10001);
        if (row.first_empty > 0) {
            EXPECT_EQ(std::tuple(t.tag[1], t.x[1], t.y[1]), std::tuple(Tag::intero, 0.0, 1.0));
            EXPECT_EQ(t.tag[row.first_empty - 1], Tag::reale);
        }
        int unexpected = 0;
        for (int i = row.first_empty; i < 10001; ++i)
            unexpected += t.tag[i] != Tag::vuoto || t.x[i] != 0.0 || t.y[i] != 0.0;
        EXPECT_EQ(unexpected, 0);
    }
}

TEST_F(LineCompiler, WithoutGeometryCurveFieldsAreIgnoredKeywords) {
    genera_linea = 0;
    // No class digit: as a curve this would give code 103.
    const LineHalf half = compile(linea({"curvad,  650,  550", "pendenza, 0, 4"}));
    EXPECT_EQ(half.end, LineEnd::finished);
    EXPECT_EQ(s.codice_errore, 0);
    EXPECT_FALSE(s.tracciato.exists());
    EXPECT_EQ(s.percorso[0].pendenza, 104);
}

TEST_F(LineCompiler, TunnelsBoardsAndSigns) {
    const LineHalf half = compile(linea({
        "[montagne]",
        "montagna,   2350,  2400,  2",
        "montagna,   5000,  5400,  11",  // marks cell 103
        "[cartelli]",
        "indicatori_vmax,  700,  65,  70,  75,  0,  ,  ,  ,  0",
        "[indicazioni]",
        "cartello_indicatore,  5100,  (ROVETO) (350 m.)",  // on the mark: replaces it
        "cartello_indicatore,  6000,  (CASTELLO)",
    }));
    EXPECT_EQ(half.end, LineEnd::finished);
    EXPECT_EQ(s.codice_errore, 0);
    EXPECT_EQ(s.numero_montagne, 2);
    EXPECT_EQ(s.percorso[47].galleria, 2);
    EXPECT_EQ(s.percorso[100].galleria, 1);

    const cella& board = s.percorso[15];
    EXPECT_EQ(std::tuple(board.tipo, board.dato1, board.dato2, board.dato3, board.dato4),
              std::tuple(6, 1300, 1400, 1500, 0));

    EXPECT_EQ(std::tuple(s.percorso[103].tipo, s.percorso[103].dato1), std::tuple(14, 80));
    EXPECT_EQ(std::tuple(s.percorso[121].tipo, s.percorso[121].dato1), std::tuple(14, 79));
    EXPECT_EQ(s.voci[80].testo, "(ROVETO) (350 m.)");
    EXPECT_EQ(s.voci[79].testo, "(CASTELLO)");
    EXPECT_EQ(half.sign_slot, 78);
}

TEST_F(LineCompiler, CommentFieldsInTheBody) {
    const struct {
        std::initializer_list<std::string_view> body;
        std::uint8_t cell0;  // `pendenza` of cell 0
    } cases[] = {
        {{"- altitude 312 m", "pendenza, 0, 3"}, 103},
        {{"pendenza, 0, 3", "- after a record, with a comma"}, 103},
        // Two comments are passed over, the third is examined as a keyword.
        {{"- a", "- b", "-pendenza, 0, 3"}, 103},
        // After one comment, "-pendenza" is itself passed over and 0 and 3 are keywords.
        {{"- a", "-pendenza, 0, 3"}, 100},
    };
    for (const auto& c : cases) {
        s = Scenario{};
        ASSERT_EQ(compile(linea(c.body)).end, LineEnd::finished);
        EXPECT_EQ(s.percorso[0].pendenza, c.cell0) << *c.body.begin();
    }
}

TEST_F(LineCompiler, OutOfRangeStopsReadingButClosesTheFile) {
    // With the highest cell 200, 9900 is the last position in range.
    const char* rows[] = {
        "pendenza, 9901, 3",
        "curvad5, 9901, 10",
        "montagna, 9901, 9950, 2",
        "indicatori_vmax, 9901, 65, 70, 75, 0, 0, 0, 0, 0",
        "cartello_indicatore, 9901, (X)",
    };
    for (const char* row : rows) {
        s = Scenario{};
        s.posizione_errore = 1;
        const LineHalf half =
            compile(linea({"pendenza, 500, 7", row, "cartello_indicatore, 700, (Y)"}));
        EXPECT_EQ(half.end, LineEnd::finished) << row;
        EXPECT_EQ(s.codice_errore, codice::kFuoriPercorso) << row;
        EXPECT_EQ(s.posizione_errore, 9901) << row;
        EXPECT_EQ(half.line, 5) << row;
        EXPECT_EQ(s.percorso[15].tipo, 0) << row;         // the sign after it is not read
        EXPECT_EQ(s.percorso[197].pendenza, 107) << row;  // the profile is complete
        EXPECT_EQ(s.tracciato.tag[9998], Tag::reale) << row;
    }
    s = Scenario{};
    EXPECT_EQ(compile(linea({"pendenza, 9900, 3"})).end, LineEnd::finished);
    EXPECT_EQ(s.codice_errore, 0);
}

TEST_F(LineCompiler, TheEmbeddedLineCompilesClean) {
    const std::string text = emit_text(testo_linea());
    const LineHalf half = compile(text);
    ASSERT_EQ(half.end, LineEnd::finished);
    EXPECT_EQ(s.codice_errore, 0);
    EXPECT_EQ(s.metri_totali, 108000);
    EXPECT_EQ(s.voci[84].valore2, 101000);
    EXPECT_EQ(s.numero_montagne, 49);
    EXPECT_EQ(half.sign_slot, 31);

    int boards = 0;
    std::vector<std::int16_t> signs;
    for (const cella& c : s.percorso) {
        if (c.tipo == tipo_cella::kIndicatoreVMax) ++boards;
        if (c.tipo == tipo_cella::kCartelloIndicatore) signs.push_back(c.dato1);
    }
    EXPECT_EQ(boards, 29);
    ASSERT_EQ(signs.size(), 49u);
    for (std::size_t i = 0; i < signs.size(); ++i)
        EXPECT_EQ(signs[i], 80 - static_cast<int>(i)) << i;  // signs stand in file order
    EXPECT_EQ(s.voci[31].testo, "");

    const auto ref = [&](int i) {
        return std::tuple(s.voci[i].valore1, s.voci[i].valore2, s.voci[i].valore3);
    };
    EXPECT_EQ(ref(81), std::tuple(2450, 200, 0));
    EXPECT_EQ(ref(82), std::tuple(0, 314150, 1));
    EXPECT_EQ(ref(83), std::tuple(0, 0, 0));
    // The last geometry row after 124 curves, bit for bit.
    EXPECT_EQ(s.tracciato.x[107998], 3346.5970528544544);
    EXPECT_EQ(s.tracciato.y[107998], 98437.7206048392);
    EXPECT_EQ(s.tracciato.tag[107999], Tag::vuoto);
}

}  // namespace
}  // namespace scenario
