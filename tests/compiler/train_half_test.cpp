// The train half through `memorizza_dati`: what becomes of the train file
// after each code, and the embedded scenario compiled whole.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <string_view>

#include "compiler/memorizza_dati.h"
#include "compiler/model.h"
#include "content/embedded_texts.h"
#include "content/emitter.h"

namespace scenario {
namespace {

// A sound line of 101000 m (cells 0 to 2160); `header` goes in its header block.
std::string line_file(std::string_view header = "") {
    return "[generale]\r\nlunghezza percorso, 101000\r\n" + std::string(header) +
           "[curve]\r\n[fine]\r\n";
}

TEST(TrainHalf, TheTrainFileIsConsumedOnEveryCode) {
    // One row for each way the half ends: a code that ends it at once (7, as
    // 8 to 10, 16 to 20, 22 and 24 do), a code that runs the closing steps
    // (15), the closing check (2) and the failures (25).
    const struct {
        std::string header;  // of the line file
        SourceState state;
        std::string treno;  // after "[generale]"; a complete last line is followed by "[fine]"
        std::int32_t code, position;
        bool treno_consumed;
    } cases[] = {
        {"progressiva chilometrica uno, 1025, 5000, 0\r\n", SourceState::present, "", 2, -1, true},
        {"", SourceState::present, "abbattimento, 10, 0\r\nabbattimento, 20, 0\r\n", 7, 20, true},
        {"", SourceState::present, "velocita, 107901, 30\r\n", 15, 107901, true},
        // 25: a short file, an oversized number, a speed whose fifth is past a
        // byte, and a missing train file (nothing left to delete).
        {"", SourceState::present, "orologio, 17, 42", 25, -1, true},
        {"", SourceState::present, "sabbia, 32768\r\n", 25, -1, true},
        {"", SourceState::present, "velocita, 0, 1280\r\n", 25, -1, true},
        {"", SourceState::missing, "", 25, -1, false},
    };
    for (const auto& c : cases) {
        const std::string linea = line_file(c.header);
        const bool complete = c.treno.empty() || c.treno.ends_with("\r\n");
        const std::string treno = "[generale]\r\n" + c.treno + (complete ? "[fine]\r\n" : "");
        Scenario s;
        s.posizione_errore = -1;
        const CompileResult result =
            memorizza_dati(s, {SourceState::present, linea}, {c.state, treno});
        EXPECT_EQ(s.codice_errore, c.code) << c.treno;
        EXPECT_EQ(s.posizione_errore, c.position) << c.treno;
        EXPECT_TRUE(result.linea_consumed) << c.treno;
        EXPECT_EQ(result.treno_consumed, c.treno_consumed) << c.treno;
    }
}

TEST(EmbeddedTrain, CompilesWhole) {
    const std::string linea = emit_text(testo_linea());
    const std::string treno = emit_text(testo_treno());
    Scenario s;
    s.genera_linea = 1;
    const CompileResult result =
        memorizza_dati(s, {SourceState::present, linea}, {SourceState::present, treno});
    ASSERT_EQ(s.codice_errore, 0);
    EXPECT_TRUE(result.treno_consumed);

    EXPECT_EQ(s.voci[84].valore1, 120);
    EXPECT_EQ(s.voci[84].valore2, 101000);
    EXPECT_EQ(s.voci[84].valore3, 3);
    EXPECT_EQ(s.voci[86].numero1, 300);
    EXPECT_EQ(s.voci[86].numero3, 17);
    EXPECT_EQ(s.voci[86].numero4, 42);
    EXPECT_EQ(s.voci[86].numero5, 30);

    // Stations fill entries 1 to 29; every one of kind below 25 stops on the
    // cell before its far end.
    int stops = 0;
    for (int n = 1; n <= 29; ++n) {
        const voce& e = s.voci[n];
        EXPECT_FALSE(e.testo.empty()) << n;
        if (e.tipo >= 25) continue;
        ++stops;
        const cella* stop = s.cell(e.valore2 / 50 - 1);
        ASSERT_NE(stop, nullptr) << n;
        EXPECT_EQ(stop->tipo, tipo_cella::kFermata) << n;
        EXPECT_EQ(stop->dato1, n) << n;
    }
    EXPECT_TRUE(s.voci[30].testo.empty());
    EXPECT_EQ(s.voci[1].valore2, 500);  // the first station: stop on cell 9
    EXPECT_EQ(s.percorso[9].tipo, tipo_cella::kFermata);

    std::array<int, 256> by_tipo{};
    for (const cella& c : s.percorso)
        ++by_tipo[c.tipo];
    EXPECT_EQ(by_tipo[tipo_cella::kFermata], stops);
    EXPECT_EQ(by_tipo[tipo_cella::kSegnale], 42);
    EXPECT_EQ(by_tipo[tipo_cella::kIndicatoreVMax], 29);
    EXPECT_EQ(by_tipo[tipo_cella::kCartelloIndicatore], 49);
    for (int t = 2; t <= 5; ++t)
        EXPECT_EQ(by_tipo[t], 0) << t;  // no slowdowns

    // Both profiles reach N - 3 = 2157 and stop there.
    EXPECT_NE(s.percorso[2157].velocita, 0);
    EXPECT_NE(s.percorso[2157].aderenza, 0);
    EXPECT_EQ(s.percorso[2158].velocita, 0);
    EXPECT_EQ(s.percorso[2158].aderenza, 0);
}

}  // namespace
}  // namespace scenario
