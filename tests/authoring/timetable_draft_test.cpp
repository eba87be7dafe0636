#include "authoring/timetable_draft.h"

#include <gtest/gtest.h>

#include <string>

#include "authoring/timetable_check.h"
#include "compiler/source_check.h"
#include "formats/source_lines.h"
#include "support/compiled_sources.h"
#include "support/embedded_build.h"

namespace scenario {
namespace {

// A level line of 10 km at 100 km/h and three stations: a stop, a place
// passed with a time and a stop.
constexpr std::string_view kLinea =
    "[generale]\r\n"
    "lunghezza percorso,   10000\r\n"
    "progressiva chilometrica uno,  0, 12000, 0\r\n"
    "[curve]\r\n"
    "[fine]\r\n";
constexpr std::string_view kTreno =
    "[generale]\r\n"
    "percentuale massa frenata,    120\r\n"
    "numero vetture,    3\r\n"
    "aderenza,   0,   100\r\n"
    "velocita,   0,    100\r\n"
    "stazione,   1000,  4,  400,  0, 0, 0,  1,1,0,  4,1,1,    1,  8, 0, 0, PRIMA\r\n"
    "stazione,   5000, 27,  200,  0, 0, 0,  0,0,0,  0,0,0,    0,  8, 1, 0, SECONDA\r\n"
    "stazione,   8000, 22,  300,  0, 0, 0,  0,0,0,  4,1,1,   60,  8, 2, 0, TERZA\r\n"
    "[fine]\r\n";

// The timetable diagnostics of a line and train text, as `check` finds them.
std::vector<Diagnostic> timetable_findings(std::string_view linea, std::string_view treno) {
    const Scenario s = testing::compiled_sources(linea, treno);
    EXPECT_EQ(s.codice_errore, 0);
    const SourceCheck check = check_treno(treno, s.ultima_cella());
    return timetable_diagnostics(run_route(s, scenario_stock(s)), check, SourceLines(treno));
}

std::string drafted(std::string_view linea, std::string_view treno, const DraftOptions& options,
                    TimetableDraft* draft = nullptr) {
    const Scenario s = testing::compiled_sources(linea, treno);
    const TimetableDraft d = draft_timetable(s, scenario_stock(s), options);
    EXPECT_EQ(d.problem, "");
    if (draft != nullptr) *draft = d;
    return with_station_times(treno, d.times);
}

// Every way of drafting leaves a timetable that the checks accept, the
// embedded one with its Dorsia made three minutes too tight included.
TEST(TimetableDraft, TheDraftGivesNoTimetableDiagnostic) {
    const std::string& linea = testing::embedded_build().linea_txt;
    std::string tight = testing::embedded_build().treno_txt;
    const std::string dorsia = "  60,  18, 9, 0, DORSIA";
    tight.replace(tight.find(dorsia), dorsia.size(), "  60,  18, 6, 0, DORSIA");
    ASSERT_FALSE(timetable_findings(linea, tight).empty());
    struct Row {
        std::string_view linea, treno;
        DraftOptions options;
    } rows[] = {
        {linea, tight, {}},
        {linea,
         testing::embedded_build().treno_txt,
         {.margin_percent = 8, .departure = std::nullopt}},
        {linea, tight, {.margin_percent = std::nullopt, .departure = 17 * 3600 + 30 * 60}},
        {kLinea, kTreno, {}},
        {kLinea, kTreno, {.margin_percent = 0, .departure = 23 * 3600 + 59 * 60}},
    };
    for (const Row& row : rows) {
        const std::string text = drafted(row.linea, row.treno, row.options);
        for (const Diagnostic& d : timetable_findings(row.linea, text))
            ADD_FAILURE() << d.message;
    }
}

TEST(TimetableDraft, StopsTakeTheRunTheDwellAndTheMarginRoundedUp) {
    TimetableDraft d;
    drafted(testing::embedded_build().linea_txt, testing::embedded_build().treno_txt, {}, &d);
    ASSERT_GE(d.times.size(), 2u);
    // The origin keeps 17:43:00. Corneta: the earliest departure 17:50:43,
    // plus 3 % of the 7 min 13 s run (13 s) and 1.5 min per 100 km of its
    // 8.2 km (7.4 s), is 17:51:03.4, drafted as 17:52.
    EXPECT_EQ(d.times[0].name, "ALVENA P.NUOVA");
    EXPECT_EQ(d.times[0].drafted, 17 * 3600 + 43 * 60);
    EXPECT_EQ(d.times[1].name, "CORNETA");
    EXPECT_EQ(d.times[1].drafted, 17 * 3600 + 52 * 60);
    for (const DraftedTime& t : d.times)
        EXPECT_EQ(t.drafted % 60, 0) << t.name;
}

// Only the time fields change, each keeping its width where the number fits.
TEST(TimetableDraft, TheRowKeepsEveryByteButItsTimes) {
    struct Row {
        std::string_view row;
        int time;
        std::string_view expected;
    } rows[] = {
        // A minute of one digit gets the field's blank.
        {"stazione, 50, 4, 400, 0,0,0, 0,0,0, 0,0,0, 60,  18, 6, 0, DORSIA",
         18 * 3600 + 10 * 60 + 30,
         "stazione, 50, 4, 400, 0,0,0, 0,0,0, 0,0,0, 60,  18,10,30, DORSIA"},
        // Fields written as they read are left alone: `09` is 9.
        {"stazione, 50, 4, 400, 0,0,0, 0,0,0, 0,0,0, 60,\t18,09,00 , D.", 18 * 3600 + 9 * 60,
         "stazione, 50, 4, 400, 0,0,0, 0,0,0, 0,0,0, 60,\t18,09,00 , D."},
        // Numbers apart by blanks only: the blanks after a number are its
        // separator and stay; those after a comma are the field's own.
        {"stazione, 50, 4, 400, 0,0,0, 0,0,0, 0,0,0, 60, 7 5 0, DORSIA", 24 * 3600 + 65,
         "stazione, 50, 4, 400, 0,0,0, 0,0,0, 0,0,0, 60,24 1 5, DORSIA"},
        // Empty and non-numeric fields take the number.
        {"stazione, 50, 4, 400, 0,0,0, 0,0,0, 0,0,0, 60,,  9O,x,A", 9 * 3600 + 5 * 60,
         "stazione, 50, 4, 400, 0,0,0, 0,0,0, 0,0,0, 60,9,   5,0,A"},
    };
    for (const Row& row : rows) {
        const std::string text = "[generale]\r\n" + std::string(row.row) + "\r\n[fine]\r\n";
        const DraftedTime t{1, "", true, std::nullopt, row.time};
        EXPECT_EQ(with_station_times(text, {&t, 1}),
                  "[generale]\r\n" + std::string(row.expected) + "\r\n[fine]\r\n");
    }
}

}  // namespace
}  // namespace scenario
