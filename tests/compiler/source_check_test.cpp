// What the checks leave unsaid: the harmless forms a source may take, and
// the consequences of one mistake that would only repeat it.
#include "compiler/source_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compiler/model.h"

namespace scenario {
namespace {

std::vector<std::string> ids_of(const SourceCheck& check) {
    std::vector<std::string> ids;
    for (const Finding& f : check.findings)
        ids.emplace_back(diagnostic_kind(f.id).name);
    return ids;
}

TEST(SourceCheck, SaysOneThingPerMistakeAndNothingOfHarmlessForms) {
    using V = std::vector<std::string>;
    const struct {
        const char* body;  // between "[generale]" and the end of the train file
        V ids;
    } cases[] = {
        // A trailing comma opens one empty field, which selects nothing.
        {"sabbia, 300,\r\n[fine]\r\n", V{}},
        // Blank lines after "[fine]" hide nothing.
        {"sabbia, 300\r\n[fine]\r\n\r\n", V{}},
        // Empty value fields read 0, as the format allows.
        {"segnale, 20900, 1, 5, 1, 0, 0, 0, , , , 0\r\n[fine]\r\n", V{}},
        // Shifted fields mean nothing: only the shift is told, not the 0
        // that `segnale` gives as a number.
        {"segnale, 20900, 1, 5, 1, 0, 0, 0, 0, 0, 0\r\nsegnale, 21950, 2, 3, 1, 0, 0, 0, 0, 0, 0, 0"
         "\r\n[fine]\r\n",
         V{"record-spans-lines"}},
        // The pieces after a misspelt keyword are the same mistake.
        {"segnal, 20900, 1, 5\r\n[fine]\r\n", V{"unknown-keyword"}},
        // A comment piece after a comma is the comma's consequence.
        {"- nota, - altra\r\n[fine]\r\n", V{"comment-with-comma"}},
        // Two speed rows in one cell: the second writes one cell late.
        {"velocita, 700, 75\r\nvelocita, 710, 80\r\n[fine]\r\n",
         V{"position-rounded", "rows-out-of-order"}},
        {"velocita, 0, 30\r\n", V{"last-field-not-fine"}},
    };
    const std::int32_t route = *highest_cell(101000);
    for (const auto& c : cases) {
        const std::string text = std::string("[generale]\r\n") + c.body;
        EXPECT_EQ(ids_of(check_treno(text, route)), c.ids) << c.body;
    }
}

TEST(SourceCheck, ARecordSpanningLinesIsMarkedFromItsKeywordToItsLastField) {
    const std::string text = "[generale]\r\norologio, 17, 42\r\nsabbia, 300\r\n[fine]\r\n";
    const SourceCheck check = check_treno(text, std::nullopt);
    ASSERT_EQ(ids_of(check), std::vector<std::string>{"record-spans-lines"});
    EXPECT_EQ(check.findings[0].span.begin, text.find("orologio"));
    EXPECT_EQ(check.findings[0].span.end, text.find("sabbia") + 6);
}

// Positions are tested against the route of the line file's length record,
// as the compiler tests them: 100 m of room, 800 m for a station.
TEST(SourceCheck, TellsPositionsPastTheRouteWithTheCompilersMargins) {
    const std::string linea =
        "[generale]\r\nlunghezza percorso, 1000\r\n[curve]\r\npendenza, 7900, 1\r\n"
        "montagna, 7950, 8000, 2\r\n[fine]\r\n";
    const SourceCheck line = check_linea(linea, true);
    ASSERT_EQ(line.ultima_cella, 160);
    EXPECT_EQ(ids_of(line), std::vector<std::string>{"beyond-route"});
    EXPECT_EQ(line.findings[0].code, 15);
    const std::string treno =
        "[generale]\r\nstazione, 7200, 2, 100, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, A\r\n"
        "stazione, 7250, 2, 100, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, B\r\n[fine]\r\n";
    EXPECT_EQ(ids_of(check_treno(treno, line.ultima_cella)),
              std::vector<std::string>{"beyond-route"});
}

}  // namespace
}  // namespace scenario
