#include "compiler/train_compiler.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "compiler/model.h"

namespace scenario {
namespace {

constexpr std::int32_t kUntouched = -1;  // `posizione_errore` before the compile

// A train file made of `lines`, between "[generale]" and "[fine]".
std::string train_file(const std::vector<std::string>& lines) {
    std::string text = "[generale]\r\n";
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text + "[fine]\r\n";
}

// A station row with every value field after the length 0.
std::string station(std::int32_t p, int kind, std::int32_t length,
                    std::string_view fields_4_to_6 = "0,0,0") {
    return "stazione, " + std::to_string(p) + ", " + std::to_string(kind) + ", " +
           std::to_string(length) + ", " + std::string(fields_4_to_6) +
           ", 0,0,0, 0,0,0, 0, 0,0,0, S" + std::to_string(p);
}

struct Compiled {
    Scenario s;
    bool handled = false;
    SourceLocation where;
};

// Compiles `text` onto a fresh route of cells 0 to 2160.
Compiled compile_text(std::string_view text, std::int32_t sign_slot = 80) {
    Compiled c;
    create_route(c.s, 101000);
    c.s.posizione_errore = kUntouched;
    c.handled = compila_treno(c.s, text, sign_slot, &c.where);
    return c;
}

Compiled compile(const std::vector<std::string>& lines) {
    return compile_text(train_file(lines));
}

TEST(TrainFile, WhichFieldsAreRecords) {
    // The sanding value shows whether, and with which value, "sabbia" was read.
    const struct {
        const char* text;
        int sabbia;
    } cases[] = {
        {"sabbia, 5\r\n[generale]\r\n[fine]\r\n", 0},  // the preamble is never interpreted
        {"[generale]\r\n[aderenze]\r\n[vel_limite]\r\n[stazioni]\r\n[rallentamenti]\r\n"
         "[segnali]\r\n[codici]\r\nsabbia, 6\r\n[fine]\r\n",
         6},                                            // section headers are no records
        {"[generale]\r\nSABBIA2, 7\r\n[fine]\r\n", 7},  // any case, by containment
        {"[generale]\r\n- a\r\n- b\r\nsabbia, 8\r\n[fine]\r\n", 8},    // two comments skipped
        {"[generale]\r\n- a\r\n- b\r\n- sabbia, 9\r\n[fine]\r\n", 9},  // the third is a keyword
        {"[generale]\r\n- a\r\n- sabbia, 9\r\n[fine]\r\n", 0},  // ... so here "9" is the keyword
        {"[generale]\r\nsabbia, 10", 10},                       // a record on the very last line
        {"[generale]\r\nsabbia, 10\r\nsabbia", 10},             // a lone keyword there is not read
        {"[generale]\r\nsabbia, 4\r\nsabbia, ,\r\n[fine]\r\n", 0},  // an empty field reads 0
        {"[generale]\r\nsabbia vetture, 3, 11\r\n[fine]\r\n", 11},  // carriages, then sanding
    };
    for (const auto& c : cases) {
        const Compiled r = compile_text(c.text);
        ASSERT_TRUE(r.handled) << c.text;
        EXPECT_EQ(r.s.voci[86].numero1, c.sabbia) << c.text;
        EXPECT_EQ(r.s.codice_errore, 0) << c.text;
    }
}

TEST(TrainFile, FailuresAreLeftToTheCaller) {
    const char* const cases[] = {
        "",                                               // the first read finds the end
        "[generale]\r\nsabbia, 40000\r\n[fine]\r\n",      // too large for an Integer
        "[generale]\r\nstazione, 0, 300, 500\r\n",        // too large for a Byte
        "[generale]\r\norologio, 17, 42",                 // the file ends inside a record
        "[generale]\r\nvelocita, 0, 1278\r\n[fine]\r\n",  // 255.6 rounds to 256
        "[generale]\r\nvelocita, 0, -3\r\n[fine]\r\n",    // -0.6 rounds to -1
        "[generale]\r\nsegnale, 300, 1,5,1,0,0,0,0,0,0,0\r\n[fine]\r\n",  // a mark on cell -1
        "[generale]\r\nrallentamento, 107000, 60, 1000, 1, 1, 0\r\n",     // end on cell 2161
        "[generale]\r\nabbattimento, -100, 90\r\n",                       // cell -2
    };
    for (const char* text : cases) {
        const Compiled c = compile_text(text);
        EXPECT_FALSE(c.handled) << text;
        EXPECT_EQ(c.s.codice_errore, 0) << text;  // the caller records 25
    }
}

// ---- Profiles ----------------------------------------------------------

TEST(Profiles, SpeedAndAdhesion) {
    const Compiled c =
        compile({"velocita, 0, 30", "aderenza, 0, 100", "velocita, 725, 75", "aderenza, 775, 90",
                 "velocita, 2000, 102", "velocita, 2000, 1277", "aderenza, 9900, 300"});
    ASSERT_TRUE(c.handled);
    const struct {
        int from, to, velocita, aderenza;
    } runs[] = {
        {0, 13, 6, 100},       // 30 km/h
        {14, 15, 15, 100},     // 75 km/h from 725 m: 14.5 rounds to cell 14
        {16, 39, 15, 90},      // 90 from 775 m: 15.5 rounds to cell 16
        {40, 40, 20, 90},      // 102 / 5 = 20.4, one cell: the next row is at the same place
        {41, 197, 255, 90},    // 1277 / 5 = 255.4
        {198, 2157, 255, 44},  // 300 keeps its low 8 bits; both profiles reach N - 3
        {2158, 2160, 0, 0},
    };
    for (const auto& r : runs) {
        for (int i = r.from; i <= r.to; ++i) {
            ASSERT_EQ(c.s.percorso[i].velocita, r.velocita) << i;
            ASSERT_EQ(c.s.percorso[i].aderenza, r.aderenza) << i;
        }
    }
}

TEST(Profiles, ACursorAtTheLastCellWritesNothingMore) {
    Scenario s;
    ASSERT_TRUE(create_route(s, 0));  // cells 0 to 140; 6900 is the last position in range
    const std::string text =
        train_file({"velocita, 0, 30", "velocita, 6900, 50", "velocita, 6900, 60",
                    "velocita, 6900, 70", "velocita, 6900, 80"});
    ASSERT_TRUE(compila_treno(s, text, 80, nullptr));
    EXPECT_EQ(s.percorso[137].velocita, 6);
    EXPECT_EQ(s.percorso[138].velocita, 10);  // each repeated row adds one cell
    EXPECT_EQ(s.percorso[139].velocita, 12);
    EXPECT_EQ(s.percorso[140].velocita, 0);  // at N: neither the last row nor the fill
}

// ---- Stations ----------------------------------------------------------

TEST(Stations, FirstStation) {
    const Compiled c =
        compile({"stazione,       0,  8,  500,  0, 0, 0,  1,1,0,  4,1,1,    1,  "
                 "17,43, 0, ALVENA P.NUOVA"});
    const voce& e = c.s.voci[1];
    EXPECT_EQ(e.tipo, 8);
    EXPECT_EQ(e.valore1, -500);
    EXPECT_EQ(e.valore2, 500);
    EXPECT_EQ(e.valore4, 63780);  // 17:43:00
    EXPECT_EQ(e.testo, "ALVENA P.NUOVA");
    EXPECT_EQ(std::tuple(e.numero1, e.numero2, e.byte1, e.numero3, e.numero4, e.numero5, e.byte2),
              std::tuple(1, 1, 0, 4, 1, 1, 1));
    EXPECT_EQ(c.s.percorso[9].tipo, tipo_cella::kFermata);
    EXPECT_EQ(c.s.percorso[9].dato1, 1);
    const int marks[][2] = {{8, 81}, {7, 82}, {6, 83}, {5, 84}, {4, 0}, {9, 0}};
    for (const auto& m : marks)
        EXPECT_EQ(c.s.percorso[m[0]].dato6, m[1]) << m[0];
}

TEST(Stations, ExtentStopPointAndMarksByKind) {
    // Each row is the first station of its file, so `byte3` always ends as 0.
    const struct {
        std::string row;
        std::int32_t valore1, valore2;
        int stop;  // -1: no stop point
        bool marks;
    } cases[] = {
        {station(8550, 22, 300), 8400, 8700, 173, true},
        {station(4100, 27, 200), 4000, 4200, -1, false},
        {station(4100, 27, 200, "0,0,1"), 4000, 4250, -1, false},  // field 6: 50 m further
        {station(8550, 12, 300, "0,0,1"), 8400, 8750, 174, true},
        {station(10000, 5, 300, "0,0,1"), 9700, 10150, 202, false},  // 150 m past p, no marks
        {station(10000, 6, 300), 9700, 10150, 202, false},
        {station(10000, 7, 300, "0,0,1"), 9700, 10300, 205, true},  // a length each side
        {station(10000, 24, 200), 9900, 10100, 201, true},
        {station(10000, 25, 200), 9900, 10100, -1, false},
        {station(0, 8, 200), -200, 200, 3, true},  // only one mark fits above cell 1
    };
    for (const auto& c : cases) {
        const Compiled r = compile({c.row});
        ASSERT_EQ(r.s.codice_errore, 0) << c.row;
        EXPECT_EQ(r.s.voci[1].valore1, c.valore1) << c.row;
        EXPECT_EQ(r.s.voci[1].valore2, c.valore2) << c.row;
        EXPECT_EQ(r.s.voci[1].byte3, 0) << c.row;
        std::vector<int> stops;
        std::vector<int> marked;
        for (int i = 0; i < static_cast<int>(r.s.percorso.size()); ++i) {
            if (r.s.percorso[i].tipo == tipo_cella::kFermata) stops.push_back(i);
            if (r.s.percorso[i].dato6 != 0) marked.push_back(r.s.percorso[i].dato6);
        }
        EXPECT_EQ(stops, c.stop < 0 ? std::vector<int>{} : std::vector<int>{c.stop}) << c.row;
        const std::vector<int> expected_marks =
            !c.marks ? std::vector<int>{}
                     : (c.stop == 3 ? std::vector<int>{81} : std::vector<int>{84, 83, 82, 81});
        EXPECT_EQ(marked, expected_marks) << c.row;
    }
}

TEST(Stations, FieldsFiveAndSix) {
    const Compiled c = compile({station(0, 27, 200, "0,9,9"),      // first: both cleared
                                station(2000, 27, 500, "0,7,1"),   // below 600: field 5 dropped
                                station(4000, 27, 600, "0,7,1"),   // 600: kept
                                station(8000, 5, 600, "0,7,1")});  // kind 5 drops field 6
    ASSERT_EQ(c.s.codice_errore, 0);
    const int expected[][2] = {{0, 0}, {0, 1}, {7, 1}, {7, 0}};  // byte4, byte3
    for (int n = 1; n <= 4; ++n) {
        EXPECT_EQ(c.s.voci[n].byte4, expected[n - 1][0]) << n;
        EXPECT_EQ(c.s.voci[n].byte3, expected[n - 1][1]) << n;
    }
}

TEST(Stations, TheStationThatReachesTheSignsIsStoredThenRefused) {
    // 49 signs leave the slot 31: stations 1 to 29 fit, the 30th fails.
    for (const int count : {29, 30}) {
        std::vector<std::string> lines;
        for (int i = 1; i <= count; ++i)
            lines.push_back(station(1000 * i, 22, 200));
        lines.push_back("sabbia, 300");
        const Compiled c = compile_text(train_file(lines), 31);
        EXPECT_EQ(c.s.codice_errore, count == 30 ? 10 : 0) << count;
        EXPECT_EQ(c.s.posizione_errore, kUntouched);
        EXPECT_EQ(c.s.voci[30].testo, count == 30 ? "S30000" : "") << count;
        EXPECT_EQ(c.s.percorso[601].dato1, count == 30 ? 30 : 0) << count;  // its stop point
        EXPECT_EQ(c.s.voci[86].numero1, count == 30 ? 0 : 300) << count;
    }
}

TEST(Stations, AStopPointReplacesASignal) {
    const Compiled c =
        compile({"segnale, 20900, 1, 5, 1, 0, 0, 0, 0,0,0, 0", station(20900, 22, 200)});
    EXPECT_EQ(c.s.percorso[419].tipo, tipo_cella::kFermata);
    EXPECT_EQ(c.s.percorso[419].dato4, 3);  // the signal's other fields stay
    EXPECT_EQ(c.s.codice_errore, 0);
}

// ---- Codes -------------------------------------------------------------

TEST(TrainCodes, CodePositionAndWhatStays) {
    // Every file: a speed profile, a station whose stop point is cell 419 and
    // whose far end is 21000, the row under test on line 5, then a sanding
    // row that shows whether the reading went on.
    const struct {
        std::string row;
        std::int32_t code, position;
    } cases[] = {
        {"abbattimento, 20950, 90", 7, 20950},  // cell 419
        {station(25025, 22, 300), 8, 25025},
        {station(25000, 22, 350), 9, 25000},
        {station(21300, 27, 200), 22, 21300},      // starts 200 m after the far end
        {station(21400, 27, 200), 22, 21400},      // 300 m
        {station(21450, 27, 200), 0, kUntouched},  // 350 m
        {station(0, 22, 100), 24, kUntouched},     // stop on cell 0, tested before the spacing
        {station(107250, 22, 300), 15, 107250},    // (107250 + 800) / 50 is past cell 2160
        {"segnale, 107901, 1, 5, 1, 0, 0, 0, 0,0,0, 0", 15, 107901},
        {"velocita, 107950, 90", 15, 107950},
        {"segnale, 20900, 1, 5, 1, 0, 0, 0, 0,0,0, 0", 16, 20900},  // on the stop point
        {"rallentamento, 22100, 60, 1000, 1, 1, 0", 17, 22100},     // warning on 419
        {"rallentamento, 20900, 60, 1000, 1, 1, 0", 18, 20900},     // start on 419
        {"rallentamento, 19900, 60, 1000, 1, 1, 0", 19, 19900},     // end on 419
        {"rallentamento, 22200, 60, 1000, 1, 1, 0", 20, 22200},     // lead-in 420 to 417
    };
    for (const auto& c : cases) {
        const Compiled r = compile({"velocita, 0, 30", "velocita, 700, 75", station(20900, 22, 200),
                                    c.row, "sabbia, 300"});
        ASSERT_TRUE(r.handled) << c.row;
        EXPECT_EQ(r.s.codice_errore, c.code) << c.row;
        EXPECT_EQ(r.s.posizione_errore, c.position) << c.row;
        EXPECT_EQ(r.where.line, c.code == 0 ? 0 : 5) << c.row;
        EXPECT_EQ(r.s.percorso[419].tipo, tipo_cella::kFermata) << c.row;  // what was read stays
        EXPECT_EQ(r.s.percorso[13].velocita, 6) << c.row;
        EXPECT_EQ(r.s.voci[86].numero1, c.code == 0 ? 300 : 0) << c.row;
        // Only a code 15 still completes the profiles.
        const bool completed = c.code == 0 || c.code == 15;
        EXPECT_EQ(r.s.percorso[2157].velocita, completed ? 15 : 0) << c.row;
    }
}

TEST(TrainCodes, AbbattimentoValues) {
    const struct {
        const char* row;
        std::uint8_t before;  // `tipo` of cell 100, whose `dato1` is 77
        std::int32_t code;
        int tipo, dato1;
    } cases[] = {
        {"abbattimento, 5000, 90", 0, 0, 12, 90},
        {"abbattimento, 5000, 70000", 0, 0, 12, 4464},  // low 16 bits
        {"abbattimento, 5000, 0", 0, 0, 13, 77},        // no value: `dato1` stays
        {"abbattimento, 5000, -5", 0, 0, 13, 77},
        {"abbattimento, 5010, 90", 11, 0, 12, 90},  // 100.2 rounds to cell 100; mark replaced
        {"abbattimento, 5000, 90", 10, 7, 10, 77},  // a stop point is not
    };
    for (const auto& c : cases) {
        Scenario s;
        ASSERT_TRUE(create_route(s, 101000));
        s.percorso[100].tipo = c.before;
        s.percorso[100].dato1 = 77;
        ASSERT_TRUE(compila_treno(s, train_file({c.row}), 80, nullptr)) << c.row;
        EXPECT_EQ(s.codice_errore, c.code) << c.row;
        EXPECT_EQ(s.percorso[100].tipo, c.tipo) << c.row;
        EXPECT_EQ(s.percorso[100].dato1, c.dato1) << c.row;
    }
}

TEST(TrainCodes, ACodeLeftByTheLineEndsAtTheFirstSignal) {
    Scenario s;
    ASSERT_TRUE(create_route(s, 101000));
    s.codice_errore = 15;
    s.posizione_errore = 99999;
    SourceLocation where;
    ASSERT_TRUE(
        compila_treno(s,
                      train_file({"velocita, 0, 30", "velocita, 700, 75", station(0, 8, 500),
                                  "segnale, 20900, 1, 5, 1, 0, 0, 0, 0,0,0, 0", "sabbia, 300"}),
                      80, &where));
    EXPECT_EQ(s.codice_errore, 15);
    EXPECT_EQ(s.posizione_errore, 20900);
    EXPECT_EQ(where.line, 5);
    EXPECT_EQ(s.percorso[419].tipo, tipo_cella::kSegnale);  // the sound signal is written
    EXPECT_EQ(s.percorso[9].tipo, tipo_cella::kFermata);    // and what came before stays
    EXPECT_EQ(s.percorso[13].velocita, 6);
    EXPECT_EQ(s.percorso[14].velocita, 0);  // no closing fill
    EXPECT_EQ(s.voci[86].numero1, 0);
}

TEST(TrainCodes, KilometricReferencesAreCheckedLast) {
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
        SourceLocation where{SourceKind::treno, 7};
        // Even a file without "[generale]" runs the closing steps.
        ASSERT_TRUE(compila_treno(s, "velocita, 0, 30\r\n", 80, &where));
        EXPECT_EQ(s.codice_errore, c.code) << c.entry << " " << c.valore1 << " " << c.valore2;
        EXPECT_EQ(where.file, c.code == 0 ? SourceKind::treno : SourceKind::none) << c.entry;
    }
    // A code 15 runs the closing steps, whose code 2 then replaces it.
    Scenario s;
    ASSERT_TRUE(create_route(s, 101000));
    s.voci[83].valore1 = 75;
    ASSERT_TRUE(
        compila_treno(s, train_file({"velocita, 0, 30", "velocita, 107950, 75"}), 80, nullptr));
    EXPECT_EQ(s.codice_errore, 2);
    EXPECT_EQ(s.posizione_errore, 107950);
    EXPECT_EQ(s.percorso[2157].velocita, 6);
}

}  // namespace
}  // namespace scenario
