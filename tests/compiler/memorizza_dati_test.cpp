#include "compiler/memorizza_dati.h"

#include <gtest/gtest.h>

#include <string>

#include "compiler/error_codes.h"

namespace scenario {
namespace {

constexpr std::int32_t kUntouched = -1;  // `posizione_errore` before the compile

// A train file that records nothing of its own.
constexpr std::string_view kTreno = "[generale]\r\n[fine]\r\n";

// A sound line of 3000 m (cells 0 to 200) followed by `body`.
std::string linea(std::string_view body) {
    return "[generale]\r\nlunghezza percorso, 3000\r\n[curve]\r\n" + std::string(body) +
           "[fine]\r\n";
}

struct Compiled {
    Scenario s;
    CompileResult result;
};

Compiled compile(const SourceFile& linea_file, const SourceFile& treno_file) {
    Compiled c;
    c.s.nome_linea = "Alvena_Sorbio";
    c.s.numero_treno = "4271";
    c.s.genera_linea = 1;
    c.s.posizione_errore = kUntouched;
    c.result = memorizza_dati(c.s, linea_file, treno_file);
    return c;
}

Compiled compile(std::string_view line_text) {
    return compile({SourceState::present, line_text}, {SourceState::present, kTreno});
}

TEST(MemorizzaDati, CodesOfTheLineHalf) {
    const struct {
        std::string line_text;
        std::int32_t code, posizione;
        bool treno_consumed;  // the line file is consumed on every path but 101
        std::int32_t line;    // where the code was recorded
        bool route;
    } cases[] = {
        // 102: "[generale]" only as the last field, and not at all.
        {"abc\r\n[generale]\r\n", 102, kUntouched, false, 2, false},
        {"abc,def\r\n", 102, kUntouched, false, 1, false},
        // 1: above 1000000, and no route is created.
        {"[generale]\r\nlunghezza percorso, 1000001\r\n[fine]\r\n", 1, kUntouched, false, 2, false},
        {"[generale]\r\nripetizione segnali 4, 75, 100\r\n[fine]\r\n", 3, kUntouched, false, 2,
         false},
        {"[generale]\r\nripetizione segnali 4, 50, 110\r\n[fine]\r\n", 4, kUntouched, false, 2,
         false},
        {"[generale]\r\nripetizione segnali, 50, 100\r\n[fine]\r\n", 5, kUntouched, false, 2,
         false},
        // ... and exactly 1000000 is accepted.
        {"[generale]\r\nlunghezza percorso, 1000000\r\n[fine]\r\n", 0, kUntouched, true, 0, true},
        // 103: geometry beyond 1000000 m, and a curve without a class digit.
        {"[generale]\r\nlunghezza percorso, 1000000\r\n[curve]\r\ncurvad1, 0, 1000000\r\n", 103,
         kUntouched, false, 4, true},
        // 15 stops the line file only: the train file is still compiled.
        {linea("pendenza, 9950, 3\r\n"), 15, 9950, true, 4, true},
        {linea("curvad, 650, 550\r\n"), 103, kUntouched, false, 4, true},
        // 6: a sign on the cell of a board; 21: a board on the cell of a sign.
        {linea("indicatori_vmax, 700, 65,,,0,,,,0\r\ncartello_indicatore, 700, (A)\r\n"), 6, 700,
         false, 5, true},
        {linea("cartello_indicatore, 700, (A)\r\nindicatori_vmax, 700, 65,,,0,,,,0\r\n"), 21, 700,
         false, 5, true},
        // 25 from a record cut short by the end of the file.
        {"[generale]\r\nlunghezza percorso, 3000\r\n[curve]\r\npendenza, 500", 25, kUntouched, true,
         4, true},
        // 25 from a number too large for a Long.
        {"[generale]\r\nlunghezza percorso, 3000000000\r\n[curve]\r\n", 25, kUntouched, true, 2,
         false},
        // 25 from a tunnel whose cells leave the route.
        {linea("montagna, 9000, 20000, 2\r\n"), 25, kUntouched, true, 4, true},
        // 25 from a curve that would fill the two rows left empty at the end.
        {linea("curvad5, 9000, 999\r\n"), 25, kUntouched, true, 4, true},
        {linea("curvad5, 9000, 998\r\n"), 0, kUntouched, true, 0, true},
        // 25 from a body record before any route, and from a file with no length record.
        {"[generale]\r\n[curve]\r\npendenza, 0, 3\r\n[fine]\r\n", 25, kUntouched, true, 3, false},
        {"[generale]\r\n[curve]\r\n[fine]\r\n", 25, kUntouched, true, 3, false},
        // An empty file fails on its first read.
        {"", 25, kUntouched, true, 0, false},
        // Nothing wrong.
        {linea("pendenza, 0, 3\r\n"), 0, kUntouched, true, 0, true},
    };
    for (const auto& c : cases) {
        const Compiled r = compile(c.line_text);
        EXPECT_EQ(r.s.codice_errore, c.code) << c.line_text;
        EXPECT_EQ(r.s.posizione_errore, c.posizione) << c.line_text;
        EXPECT_TRUE(r.result.linea_consumed) << c.line_text;
        EXPECT_EQ(r.result.treno_consumed, c.treno_consumed) << c.line_text;
        const SourceKind file = c.code == 0 ? SourceKind::none : SourceKind::linea;
        EXPECT_EQ(r.result.where.file, file) << c.line_text;
        EXPECT_EQ(r.result.where.line, c.line) << c.line_text;
        EXPECT_EQ(r.s.has_route(), c.route) << c.line_text;
        EXPECT_EQ(r.s.voci[85].testo, "Alvena_Sorbio") << c.line_text;
        EXPECT_EQ(r.s.voci[86].testo, "4271") << c.line_text;
    }
}

TEST(MemorizzaDati, WhatStaysInTheModelAfterACode) {
    // A code ends the compile where it is set: earlier records stay, the
    // profile is not completed.
    Compiled r =
        compile(linea("pendenza, 500, 7\r\ncartello_indicatore, 700, (A)\r\n"
                      "cartello_indicatore, 700, (B)\r\npendenza, 900, 2\r\n"));
    EXPECT_EQ(r.s.codice_errore, codice::kCartelloOccupato);
    EXPECT_EQ(r.s.percorso[9].pendenza, 100);
    EXPECT_EQ(r.s.percorso[10].pendenza, 0);
    EXPECT_EQ(r.s.voci[80].testo, "(A)");
    EXPECT_EQ(r.s.voci[79].testo, "");

    // A failure keeps what was stored before it, and the position of an earlier code.
    r = compile(linea("cartello_indicatore, 700, (A)\r\ncartello_indicatore, -300, (B)\r\n"));
    EXPECT_EQ(r.s.codice_errore, codice::kLettura);
    EXPECT_EQ(r.s.percorso[15].tipo, tipo_cella::kCartelloIndicatore);
    EXPECT_EQ(r.s.posizione_errore, kUntouched);
}

TEST(MemorizzaDati, MissingOrUnreadableSources) {
    const std::string sound_line = linea("");
    const struct {
        SourceState linea, treno;
        std::int32_t code;
        bool linea_consumed, treno_consumed;
    } cases[] = {
        // 101 reads and deletes nothing, whatever the train file.
        {SourceState::missing, SourceState::present, 101, false, false},
        // An unreadable line file is a failure: both existing files go.
        {SourceState::unreadable, SourceState::present, 25, true, true},
        {SourceState::unreadable, SourceState::missing, 25, true, false},
        // A missing train file is a failure; an unreadable one still exists and goes.
        {SourceState::present, SourceState::missing, 25, true, false},
        {SourceState::present, SourceState::unreadable, 25, true, true},
    };
    for (const auto& c : cases) {
        const SourceFile line_file{
            c.linea, c.linea == SourceState::present ? std::string_view(sound_line) : ""};
        const Compiled r =
            compile(line_file, {c.treno, c.treno == SourceState::present ? kTreno : ""});
        EXPECT_EQ(r.s.codice_errore, c.code);
        EXPECT_EQ(r.result.linea_consumed, c.linea_consumed);
        EXPECT_EQ(r.result.treno_consumed, c.treno_consumed);
        EXPECT_EQ(r.s.posizione_errore, kUntouched);
        EXPECT_EQ(r.s.voci[85].testo, "Alvena_Sorbio");
    }
}

}  // namespace
}  // namespace scenario
