#include "compiler/train_compiler.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>

#include "compiler/model.h"

namespace scenario {
namespace {

// A train file made of `lines`, after "[generale]" and before "[fine]".
std::string train_file(std::initializer_list<std::string_view> lines) {
    std::string text = "[generale]\r\n";
    for (const std::string_view line : lines) {
        text += line;
        text += "\r\n";
    }
    return text + "[fine]\r\n";
}

class TrainCompiler : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(create_route(s, 101000)); }  // cells 0 to 2160

    bool compile(std::initializer_list<std::string_view> lines, std::int32_t sign_slot = 80) {
        text = train_file(lines);
        return compila_treno(s, text, sign_slot, &where);
    }
    bool compile_text(std::string_view raw, std::int32_t sign_slot = 80) {
        return compila_treno(s, raw, sign_slot, &where);
    }
    const cella& cell(int i) const { return s.percorso[static_cast<std::size_t>(i)]; }

    Scenario s;
    std::string text;
    SourceLocation where;
};

// ---- Reading the file --------------------------------------------------

TEST_F(TrainCompiler, HeaderRows) {
    ASSERT_TRUE(compile({
        "percentuale massa frenata,    120", "numero vetture,    3", "sabbia,    300",
        "orologio,    17              42            30 ",  // blanks only between the numbers
    }));
    EXPECT_EQ(s.voci[84].valore1, 120);
    EXPECT_EQ(s.voci[84].valore3, 3);
    EXPECT_EQ(s.voci[86].numero1, 300);
    EXPECT_EQ(s.voci[86].numero3, 17);
    EXPECT_EQ(s.voci[86].numero4, 42);
    EXPECT_EQ(s.voci[86].numero5, 30);
    EXPECT_EQ(s.codice_errore, 0);
}

TEST_F(TrainCompiler, WhichFieldsAreRecords) {
    // Each text is compiled on a fresh route; the sanding value shows whether
    // the "sabbia" record was read, and with which value.
    const struct {
        const char* text;
        int sabbia;
    } cases[] = {
        // Fields before "[generale]" are never interpreted.
        {"sabbia, 5\r\n[generale]\r\n[fine]\r\n", 0},
        // Section headers hold no keyword; the record after them is read.
        {"[generale]\r\n[aderenze]\r\n[vel_limite]\r\n[stazioni]\r\n[rallentamenti]\r\n"
         "[segnali]\r\n[codici]\r\nsabbia, 6\r\n[fine]\r\n",
         6},
        // Letters are compared without regard to case, and by containment.
        {"[generale]\r\nSABBIA2, 7\r\n[fine]\r\n", 7},
        // Two comment lines are passed over.
        {"[generale]\r\n- uno\r\n- due\r\nsabbia, 8\r\n[fine]\r\n", 8},
        // The third comment in a row is taken as a keyword field.
        {"[generale]\r\n- uno\r\n- due\r\n- sabbia, 9\r\n[fine]\r\n", 9},
        // After two comments "9" is the keyword field: "- sabbia" was skipped.
        {"[generale]\r\n- uno\r\n- sabbia, 9\r\n[fine]\r\n", 0},
        // A record on the very last line is read.
        {"[generale]\r\nsabbia, 10", 10},
        // A lone keyword on the last line is not (its value would be missing).
        {"[generale]\r\nsabbia, 10\r\nsabbia", 10},
        // An empty value field reads 0.
        {"[generale]\r\nsabbia, 4\r\nsabbia, ,\r\n[fine]\r\n", 0},
    };
    for (const auto& c : cases) {
        Scenario r;
        ASSERT_TRUE(create_route(r, 101000));
        SourceLocation at;
        ASSERT_TRUE(compila_treno(r, c.text, 80, &at)) << c.text;
        EXPECT_EQ(r.voci[86].numero1, c.sabbia) << c.text;
        EXPECT_EQ(r.codice_errore, 0) << c.text;
    }
}

TEST_F(TrainCompiler, OneFieldWithTwoKeywordsReadsTwoRecords) {
    // "sabbia" comes after "vetture" in the order of the tests.
    ASSERT_TRUE(compile({"sabbia vetture, 3, 300"}));
    EXPECT_EQ(s.voci[84].valore3, 3);
    EXPECT_EQ(s.voci[86].numero1, 300);
}

TEST_F(TrainCompiler, ReadFailuresAreLeftToTheCaller) {
    const struct {
        const char* text;
        const char* why;
    } cases[] = {
        {"", "an empty file fails on its first read"},
        {"[generale]\r\nsabbia, 40000\r\n[fine]\r\n", "40000 does not fit an Integer"},
        {"[generale]\r\nstazione, 0, 300, 500", "300 does not fit a Byte"},
        {"[generale]\r\norologio, 17, 42", "the file ends inside a record"},
        {"[generale]\r\nvelocita, 0, 1278\r\n[fine]\r\n",
         "the fifth of 1278 km/h (256) does not fit a byte"},
    };
    for (const auto& c : cases) {
        Scenario r;
        ASSERT_TRUE(create_route(r, 101000));
        SourceLocation at;
        EXPECT_FALSE(compila_treno(r, c.text, 80, &at)) << c.why;
        EXPECT_EQ(r.codice_errore, 0) << c.why;  // the caller records 25
    }
}

TEST_F(TrainCompiler, WithoutGeneraleTheProfilesAreStillCompleted) {
    s.voci[82].valore2 = 1025;
    ASSERT_TRUE(compile_text("sabbia, 5\r\nvelocita, 0, 30\r\n"));
    EXPECT_EQ(s.voci[86].numero1, 0);
    EXPECT_EQ(cell(0).velocita, 0);     // the running speed starts at 0
    EXPECT_EQ(cell(2157).velocita, 0);  // ... and fills the profile
    EXPECT_EQ(s.codice_errore, 2);      // the reference check still runs
}

// ---- Profiles ----------------------------------------------------------

TEST_F(TrainCompiler, SpeedProfile) {
    ASSERT_TRUE(
        compile({"velocita,   0,    30", "velocita,     700,    75", "velocita,    2000,   102"}));
    const struct {
        int from, to, velocita;
    } runs[] = {
        {0, 13, 6},       // 30 km/h
        {14, 39, 15},     // 75 km/h from cell 14
        {40, 2157, 20},   // 102 / 5 = 20.4, up to N - 3
        {2158, 2160, 0},  // the last three cells get no speed
    };
    for (const auto& r : runs) {
        for (int i = r.from; i <= r.to; ++i)
            ASSERT_EQ(cell(i).velocita, r.velocita) << i;
    }
}

TEST(SpeedProfile, RowPositionsRoundToACell) {
    const struct {
        const char* row;
        int first_cell;  // first cell that carries 75 km/h
    } cases[] = {
        {"velocita, 700, 75", 14},
        {"velocita, 725, 75", 14},  // 14.5 rounds to 14
        {"velocita, 775, 75", 16},  // 15.5 rounds to 16
        {"velocita, 774, 75", 15},
    };
    for (const auto& c : cases) {
        Scenario s;
        ASSERT_TRUE(create_route(s, 101000));
        const std::string text = train_file({"velocita, 0, 30", c.row});
        ASSERT_TRUE(compila_treno(s, text, 80, nullptr));
        EXPECT_EQ(s.percorso[c.first_cell - 1].velocita, 6) << c.row;
        EXPECT_EQ(s.percorso[c.first_cell].velocita, 15) << c.row;
    }
}

TEST_F(TrainCompiler, SpeedRowsAtOnePositionWriteOneMoreCell) {
    ASSERT_TRUE(compile({"velocita, 0, 30", "velocita, 700, 75", "velocita, 700, 90"}));
    EXPECT_EQ(cell(13).velocita, 6);
    EXPECT_EQ(cell(14).velocita, 15);  // the first row's speed, one cell only
    EXPECT_EQ(cell(15).velocita, 18);
}

TEST_F(TrainCompiler, SpeedFifthsRoundAndMustFitAByte) {
    const struct {
        std::int32_t speed;
        bool fits;
        int velocita;
    } cases[] = {
        {1277, true, 255},  // 255.4
        {1278, false, 0},   // 255.6 rounds to 256
        {62, true, 12},     // 12.4
        {-2, true, 0},      // -0.4 rounds to 0
        {-3, false, 0},     // -0.6 rounds to -1
        {12, true, 2},      // 2.4
        {13, true, 3},      // 2.6
    };
    for (const auto& c : cases) {
        Scenario r;
        ASSERT_TRUE(create_route(r, 101000));
        const std::string text = train_file({"velocita, 0, " + std::to_string(c.speed)});
        EXPECT_EQ(compila_treno(r, text, 80, nullptr), c.fits) << c.speed;
        if (c.fits) {
            EXPECT_EQ(r.percorso[0].velocita, c.velocita) << c.speed;
        }
    }
}

TEST_F(TrainCompiler, AdhesionKeepsTheLowEightBits) {
    ASSERT_TRUE(compile({"aderenza,   0,   100", "aderenza,    9900,    300"}));
    EXPECT_EQ(cell(197).aderenza, 100);
    EXPECT_EQ(cell(198).aderenza, 44);  // 300 keeps its low 8 bits, no division
    EXPECT_EQ(cell(2157).aderenza, 44);
    EXPECT_EQ(cell(2158).aderenza, 0);
}

TEST(Profiles, ACursorAtTheLastCellWritesNothingMore) {
    Scenario s;
    ASSERT_TRUE(create_route(s, 0));  // cells 0 to 140; 6900 is the last usable position
    const std::string text =
        train_file({"velocita, 0, 30", "velocita, 6900, 50", "velocita, 6900, 60",
                    "velocita, 6900, 70", "velocita, 6900, 80"});
    ASSERT_TRUE(compila_treno(s, text, 80, nullptr));
    EXPECT_EQ(s.percorso[137].velocita, 6);   // up to cell 138 at 30 km/h
    EXPECT_EQ(s.percorso[138].velocita, 10);  // each repeated row adds one cell
    EXPECT_EQ(s.percorso[139].velocita, 12);
    EXPECT_EQ(s.percorso[140].velocita, 0);  // cursor at N: no 70 km/h, and no fill
}

// ---- Stations ----------------------------------------------------------

TEST_F(TrainCompiler, FirstStation) {
    ASSERT_TRUE(
        compile({"stazione,       0,  8,  500,  0, 0, 0,  1,1,0,  4,1,1,    1,  17,43, 0, "
                 "ALVENA P.NUOVA"}));
    const voce& e = s.voci[1];
    EXPECT_EQ(e.tipo, 8);
    EXPECT_EQ(e.valore1, -500);
    EXPECT_EQ(e.valore2, 500);
    EXPECT_EQ(e.valore3, 0);
    EXPECT_EQ(e.testo, "ALVENA P.NUOVA");
    EXPECT_EQ(e.numero1, 1);
    EXPECT_EQ(e.numero2, 1);
    EXPECT_EQ(e.byte1, 0);
    EXPECT_EQ(e.numero3, 4);
    EXPECT_EQ(e.numero4, 1);
    EXPECT_EQ(e.numero5, 1);
    EXPECT_EQ(e.byte2, 1);
    EXPECT_EQ(e.valore4, 63780);  // 17:43:00
    EXPECT_EQ(cell(9).tipo, 10);
    EXPECT_EQ(cell(9).dato1, 1);
    EXPECT_EQ(cell(8).dato6, 81);
    EXPECT_EQ(cell(7).dato6, 82);
    EXPECT_EQ(cell(6).dato6, 83);
    EXPECT_EQ(cell(5).dato6, 84);
    EXPECT_EQ(cell(4).dato6, 0);
    EXPECT_EQ(s.codice_errore, 0);
}

TEST(StationExtent, ByKind) {
    // Each row is the first station of its file (so `byte3` ends as 0).
    // stop -1: no stop point; marks: the four cells before it carry 81 to 84.
    const struct {
        const char* row;
        std::int32_t valore1, valore2;
        int stop;
        bool marks;
    } cases[] = {
        {"stazione, 8550, 22, 300, 0,0,0, 0,0,0, 4,1,1, 60, 18,9,0, DORSIA", 8400, 8700, 173, true},
        // Kind 27 passes: an entry only.
        {"stazione, 4100, 27, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, VALMEDRA", 4000, 4200, -1, false},
        // A nonzero field 6 moves the far end 50 m on, also on the first station.
        {"stazione, 4100, 27, 200, 0,0,1, 0,0,0, 0,0,0, 0, 0,0,0, VALMEDRA", 4000, 4250, -1, false},
        {"stazione, 8550, 12, 300, 0,0,1, 0,0,0, 0,0,0, 0, 0,0,0, X", 8400, 8750, 174, true},
        // Kinds 5 and 6 end 150 m past p and have no approach marks.
        {"stazione, 10000, 5, 300, 0,0,1, 0,0,0, 0,0,0, 0, 0,0,0, X", 9700, 10150, 202, false},
        {"stazione, 10000, 6, 300, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, X", 9700, 10150, 202, false},
        // Kinds 7 and 8 reach a whole length either side; field 6 is ignored.
        {"stazione, 10000, 7, 300, 0,0,1, 0,0,0, 0,0,0, 0, 0,0,0, X", 9700, 10300, 205, true},
        // Kind 24 is still a stop, 25 no longer.
        {"stazione, 10000, 24, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, X", 9900, 10100, 201, true},
        {"stazione, 10000, 25, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, X", 9900, 10100, -1, false},
    };
    for (const auto& c : cases) {
        Scenario s;
        ASSERT_TRUE(create_route(s, 101000));
        const std::string text = train_file({c.row});
        ASSERT_TRUE(compila_treno(s, text, 80, nullptr)) << c.row;
        EXPECT_EQ(s.codice_errore, 0) << c.row;
        EXPECT_EQ(s.voci[1].valore1, c.valore1) << c.row;
        EXPECT_EQ(s.voci[1].valore2, c.valore2) << c.row;
        EXPECT_EQ(s.voci[1].byte3, 0) << c.row;
        int stops = 0;
        int marked = 0;
        for (const cella& k : s.percorso) {
            stops += k.tipo == tipo_cella::kFermata;
            marked += k.dato6 != 0;
        }
        EXPECT_EQ(stops, c.stop >= 0 ? 1 : 0) << c.row;
        EXPECT_EQ(marked, c.marks ? 4 : 0) << c.row;
        if (c.stop >= 0) {
            EXPECT_EQ(s.percorso[c.stop].tipo, tipo_cella::kFermata) << c.row;
            EXPECT_EQ(s.percorso[c.stop].dato1, 1) << c.row;
        }
        if (c.marks) {
            EXPECT_EQ(s.percorso[c.stop - 1].dato6, 81) << c.row;
            EXPECT_EQ(s.percorso[c.stop - 4].dato6, 84) << c.row;
        }
    }
}

TEST_F(TrainCompiler, FieldsFiveAndSixAfterTheFirstStation) {
    ASSERT_TRUE(compile({
        "stazione, 0, 27, 200, 0,9,9, 0,0,0, 0,0,0, 0, 0,0,0, A",     // first: both cleared
        "stazione, 2000, 27, 500, 0,7,1, 0,0,0, 0,0,0, 0, 0,0,0, B",  // 500: field 5 dropped
        "stazione, 4000, 27, 600, 0,7,1, 0,0,0, 0,0,0, 0, 0,0,0, C",  // 600: kept
        "stazione, 8000, 5, 600, 0,7,1, 0,0,0, 0,0,0, 0, 0,0,0, D",   // kind 5 drops field 6
    }));
    EXPECT_EQ(s.voci[1].byte4, 0);
    EXPECT_EQ(s.voci[1].byte3, 0);
    EXPECT_EQ(s.voci[2].byte4, 0);
    EXPECT_EQ(s.voci[2].byte3, 1);
    EXPECT_EQ(s.voci[3].byte4, 7);
    EXPECT_EQ(s.voci[3].byte3, 1);
    EXPECT_EQ(s.voci[4].byte4, 7);
    EXPECT_EQ(s.voci[4].byte3, 0);
    EXPECT_EQ(s.codice_errore, 0);
}

TEST(StationSpacing, AtLeast350MetresAfterThePreviousFarEnd) {
    // The first station ends at 4200. The second, of kind 22 and 200 m long,
    // starts at p - 100.
    const struct {
        std::int32_t p;
        std::int32_t code;
    } cases[] = {
        {4400, 22},  // starts 100 m after
        {4649, 8},   // not a multiple of 50, tested first
        {4600, 22},  // starts 300 m after
        {4650, 0},   // starts 350 m after
    };
    for (const auto& c : cases) {
        Scenario s;
        ASSERT_TRUE(create_route(s, 101000));
        s.posizione_errore = -1;
        const std::string second =
            "stazione, " + std::to_string(c.p) + ", 22, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, B";
        const std::string text = train_file(
            {"velocita, 0, 30", "stazione, 4100, 27, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, A", second,
             "sabbia, 300"});
        SourceLocation at;
        ASSERT_TRUE(compila_treno(s, text, 80, &at)) << c.p;
        EXPECT_EQ(s.codice_errore, c.code) << c.p;
        if (c.code == 0) {
            EXPECT_EQ(s.voci[86].numero1, 300);
            EXPECT_EQ(s.percorso[2157].velocita, 6);
            continue;
        }
        EXPECT_EQ(s.posizione_errore, c.p);
        EXPECT_EQ(at.file, SourceKind::treno);
        EXPECT_EQ(at.line, 4);
        EXPECT_EQ(s.voci[86].numero1, 0) << c.p;         // nothing after it is read
        EXPECT_EQ(s.percorso[2157].velocita, 0) << c.p;  // and the profiles are not filled
    }
    // A refused station stays in its entry and on the route.
    Scenario s;
    ASSERT_TRUE(create_route(s, 101000));
    const std::string text =
        train_file({"stazione, 4100, 27, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, A",
                    "stazione, 4400, 22, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, B"});
    ASSERT_TRUE(compila_treno(s, text, 80, nullptr));
    EXPECT_EQ(s.voci[2].testo, "B");
    EXPECT_EQ(s.percorso[89].tipo, tipo_cella::kFermata);
    EXPECT_EQ(s.percorso[89].dato1, 2);
}

TEST(StationCodes, CodeAndPosition) {
    // Each row follows one sound station at 0 ("stazione, 0, 27, 200, ...").
    // position -1: `posizione_errore` is left as it was (-1).
    const struct {
        const char* row;
        std::int32_t code, position;
        const char* why;
    } cases[] = {
        {"stazione, 8525, 22, 300, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, X", 8, 8525,
         "position not a multiple of 50"},
        {"stazione, 8500, 22, 350, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, X", 9, 8500,
         "length not a multiple of 100"},
        {"stazione, 107250, 22, 300, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, X", 15, 107250,
         "(107250 + 800) / 50 is past cell 2160"},
        {"stazione, -2000, 27, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, X", 22, -2000,
         "ending at -1900, it lies before the first station"},
    };
    for (const auto& c : cases) {
        Scenario s;
        ASSERT_TRUE(create_route(s, 101000));
        s.posizione_errore = -1;
        const std::string text = train_file(
            {"stazione, 0, 27, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, A", c.row, "sabbia, 300"});
        SourceLocation at;
        ASSERT_TRUE(compila_treno(s, text, 80, &at)) << c.why;
        EXPECT_EQ(s.codice_errore, c.code) << c.why;
        EXPECT_EQ(s.posizione_errore, c.position) << c.why;
        EXPECT_EQ(at.line, 3) << c.why;
        EXPECT_EQ(s.voci[86].numero1, 0) << c.why;  // the rows after it are not read
    }
}

TEST(StationCodes, StopPointOnCellOneOrLower) {
    const struct {
        const char* row;
        std::int32_t code;
    } cases[] = {
        {"stazione, 0, 8, 100, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, X", 24},   // far end 100: cell 1
        {"stazione, 0, 22, 100, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, X", 24},  // far end 50: cell 0
        {"stazione, 0, 8, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, X",
         0},  // stop on cell 3, one mark on 2
        {"stazione, 0, 27, 100, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, X", 0},  // no stop point
    };
    for (const auto& c : cases) {
        Scenario s;
        ASSERT_TRUE(create_route(s, 101000));
        s.posizione_errore = -1;
        const std::string text = train_file({c.row, "sabbia, 300"});
        ASSERT_TRUE(compila_treno(s, text, 80, nullptr)) << c.row;
        EXPECT_EQ(s.codice_errore, c.code) << c.row;
        EXPECT_EQ(s.posizione_errore, -1) << c.row;
        EXPECT_EQ(s.voci[86].numero1, c.code == 0 ? 300 : 0) << c.row;
        EXPECT_EQ(s.percorso[1].tipo, 0) << c.row;
        EXPECT_EQ(s.percorso[1].dato6, 0) << c.row;  // no approach mark on cell 1 either
    }
}

TEST(StationCodes, TheStationThatReachesTheSignsIsStoredThenRefused) {
    // 49 signs leave the slot 31: stations 1 to 29 fit, the 30th fails.
    for (const int stations : {29, 30}) {
        std::string text = "[generale]\r\n";
        for (int i = 1; i <= stations; ++i) {
            text += "stazione, " + std::to_string(1000 * i) +
                    ", 22, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, S" + std::to_string(i) + "\r\n";
        }
        text += "sabbia, 300\r\n[fine]\r\n";
        Scenario s;
        ASSERT_TRUE(create_route(s, 101000));
        s.posizione_errore = -1;
        ASSERT_TRUE(compila_treno(s, text, 31, nullptr));
        EXPECT_EQ(s.codice_errore, stations == 30 ? 10 : 0) << stations;
        EXPECT_EQ(s.posizione_errore, -1);
        EXPECT_EQ(s.voci[29].testo, "S29");
        EXPECT_EQ(s.voci[30].testo, stations == 30 ? "S30" : "") << stations;
        // Station 30 at 30000 ends at 30100: stop point on cell 601.
        EXPECT_EQ(s.percorso[601].dato1, stations == 30 ? 30 : 0) << stations;
        EXPECT_EQ(s.voci[86].numero1, stations == 30 ? 0 : 300) << stations;
    }
}

TEST_F(TrainCompiler, AStationStopReplacesASignal) {
    ASSERT_TRUE(compile({"segnale, 20900, 1, 5, 1, 0, 0, 0, 0,0,0, 0",
                         "stazione, 20900, 22, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, X"}));
    EXPECT_EQ(cell(419).tipo, tipo_cella::kFermata);  // far end 21000: cell 420 - 1
    EXPECT_EQ(cell(419).dato1, 1);
    EXPECT_EQ(cell(419).dato4, 3);  // the signal's other fields stay
    EXPECT_EQ(s.codice_errore, 0);
}

// ---- Speed-reduction points --------------------------------------------

TEST(Abbattimento, ValueAndCell) {
    // Cell 100 holds `before_tipo` and `dato1` 77 beforehand.
    const struct {
        const char* row;
        int before_tipo;
        std::int32_t code, position;
        int tipo, dato1;
    } cases[] = {
        {"abbattimento, 5000, 90", 0, 0, -1, 12, 90},
        {"abbattimento, 5000, 70000", 0, 0, -1, 12, 4464},  // low 16 bits
        {"abbattimento, 5000, 0", 0, 0, -1, 13, 77},        // `dato1` left as it was
        {"abbattimento, 5000, -5", 0, 0, -1, 13, 77},
        {"abbattimento, 5000, 90", 11, 0, -1, 12, 90},    // a tunnel mark is replaced
        {"abbattimento, 5000, 90", 10, 7, 5000, 10, 77},  // a stop point is not
        {"abbattimento, 5010, 90", 10, 7, 5010, 10, 77},  // 100.2 is cell 100 too
    };
    for (const auto& c : cases) {
        Scenario s;
        ASSERT_TRUE(create_route(s, 101000));
        s.percorso[100].tipo = static_cast<std::uint8_t>(c.before_tipo);
        s.percorso[100].dato1 = 77;
        s.posizione_errore = -1;
        const std::string text = train_file({c.row, "sabbia, 300"});
        SourceLocation at;
        ASSERT_TRUE(compila_treno(s, text, 80, &at)) << c.row;
        EXPECT_EQ(s.codice_errore, c.code) << c.row;
        EXPECT_EQ(s.posizione_errore, c.position) << c.row;
        EXPECT_EQ(s.percorso[100].tipo, c.tipo) << c.row;
        EXPECT_EQ(s.percorso[100].dato1, c.dato1) << c.row;
        EXPECT_EQ(s.voci[86].numero1, c.code == 0 ? 300 : 0) << c.row;
        if (c.code != 0) {
            EXPECT_EQ(at.line, 2) << c.row;
        }
    }
}

TEST_F(TrainCompiler, AbbattimentoBeforeTheRouteIsRefused) {
    EXPECT_FALSE(compile({"abbattimento, -100, 90"}));  // cell -2
    EXPECT_EQ(s.codice_errore, 0);
}

// ---- Signals and slowdowns through the compiler ------------------------

TEST(RecorderRows, CodesEndTheReading) {
    // Each file: a speed profile, a stop point on cell 419 (a station of kind
    // 22 at 20900, 200 m long), then the row, then a sanding row that shows
    // whether the reading went on.
    const struct {
        const char* row;
        std::int32_t code, position;
    } cases[] = {
        {"segnale, 20900, 1, 5, 1, 0, 0, 0, 0,0,0, 0", 16, 20900},
        {"rallentamento, 22100, 60, 1000, 1, 1, 0", 17, 22100},  // warning on 419
        {"rallentamento, 20900, 60, 1000, 1, 1, 0", 18, 20900},  // start on 419
        {"rallentamento, 19900, 60, 1000, 1, 1, 0", 19, 19900},  // end on 419
        {"rallentamento, 22200, 60, 1000, 1, 1, 0", 20, 22200},  // lead-in 420 to 417
        {"segnale, 30000, 1, 5, 1, 0, 0, 0, 0,0,0, 0", 0, -1},
        {"segnale, 107901, 1, 5, 1, 0, 0, 0, 0,0,0, 0", 15, 107901},
        {"rallentamento, 107901, 60, 0, 1, 1, 0", 15, 107901},
    };
    for (const auto& c : cases) {
        Scenario s;
        ASSERT_TRUE(create_route(s, 101000));
        s.posizione_errore = -1;
        const std::string text = train_file(
            {"velocita, 0, 30", "velocita, 700, 75",
             "stazione, 20900, 22, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, X", c.row, "sabbia, 300"});
        SourceLocation at;
        ASSERT_TRUE(compila_treno(s, text, 80, &at)) << c.row;
        EXPECT_EQ(s.codice_errore, c.code) << c.row;
        EXPECT_EQ(s.posizione_errore, c.position) << c.row;
        EXPECT_EQ(s.percorso[419].tipo, tipo_cella::kFermata) << c.row;
        EXPECT_EQ(s.voci[86].numero1, c.code == 0 ? 300 : 0) << c.row;
        if (c.code != 0) {
            EXPECT_EQ(at.line, 5) << c.row;
        }
        // Only a code 15 lets the closing steps complete the profile.
        const bool filled = c.code == 0 || c.code == 15;
        EXPECT_EQ(s.percorso[2157].velocita, filled ? 15 : 0) << c.row;
        EXPECT_EQ(s.percorso[13].velocita, 6) << c.row;  // what was read stays
    }
}

TEST_F(TrainCompiler, ACodeLeftByTheLineEndsAtTheFirstSignal) {
    s.codice_errore = 15;
    s.posizione_errore = 99999;
    ASSERT_TRUE(compile({"velocita, 0, 30", "velocita, 700, 75",
                         "stazione, 0, 8, 500, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, A",
                         "segnale, 20900, 1, 5, 1, 0, 0, 0, 0,0,0, 0", "sabbia, 300"}));
    EXPECT_EQ(s.codice_errore, 15);
    EXPECT_EQ(s.posizione_errore, 20900);
    EXPECT_EQ(where.line, 5);
    EXPECT_EQ(cell(419).tipo, tipo_cella::kSegnale);  // the sound signal is written first
    EXPECT_EQ(cell(9).tipo, tipo_cella::kFermata);    // the station stays
    EXPECT_EQ(cell(13).velocita, 6);                  // and the profile read so far
    EXPECT_EQ(cell(14).velocita, 0);
    EXPECT_EQ(s.voci[86].numero1, 0);
}

TEST_F(TrainCompiler, RowsBeyondTheRecordersLimitsAreRefused) {
    EXPECT_FALSE(compile({"segnale, 300, 1, 5, 1, 0, 0, 0, 0,0,0, 0"}));  // marks below cell 0
    EXPECT_FALSE(compile({"rallentamento, 107000, 60, 1000, 1, 1, 0"}));  // ends past cell 2160
    EXPECT_EQ(cell(7).tipo, 0);
    EXPECT_EQ(cell(2141).tipo, 0);
}

// ---- Closing steps -----------------------------------------------------

TEST(KilometricReferences, CheckedAfterTheFile) {
    const struct {
        int entry;
        std::int32_t valore1, valore2;
        std::int32_t code;
    } cases[] = {
        {81, 1000, 5000, 0}, {81, 1025, 5000, 2},  // position
        {82, 1000, 5010, 2},                       // progressive
        {83, 0, -50, 0},     {83, 0, -60, 2},
    };
    for (const auto& c : cases) {
        Scenario s;
        ASSERT_TRUE(create_route(s, 101000));
        s.voci[c.entry].valore1 = c.valore1;
        s.voci[c.entry].valore2 = c.valore2;
        s.posizione_errore = -1;
        SourceLocation at{SourceKind::treno, 7};
        ASSERT_TRUE(compila_treno(s, "[generale]\r\nvelocita, 0, 30\r\n[fine]\r\n", 80, &at));
        EXPECT_EQ(s.codice_errore, c.code) << c.entry << " " << c.valore1 << " " << c.valore2;
        EXPECT_EQ(s.posizione_errore, -1);
        if (c.code != 0) {
            EXPECT_EQ(at.file, SourceKind::none);
        }
        EXPECT_EQ(s.percorso[2157].velocita, 6);
    }
}

TEST_F(TrainCompiler, ARangeFailureStillCompletesTheProfilesAndMayGiveWayToCode2) {
    s.voci[83].valore1 = 75;
    ASSERT_TRUE(compile(
        {"velocita, 0, 30", "aderenza, 0, 100", "velocita, 107950, 75", "velocita, 2000, 90"}));
    EXPECT_EQ(s.codice_errore, 2);  // replaces the 15
    EXPECT_EQ(s.posizione_errore, 107950);
    EXPECT_EQ(cell(2157).velocita, 6);  // the row after the failure was not read
    EXPECT_EQ(cell(2157).aderenza, 100);
    EXPECT_EQ(cell(2158).velocita, 0);
}

}  // namespace
}  // namespace scenario
