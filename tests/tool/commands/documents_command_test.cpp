#include "tool/commands/documents_command.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "content/embedded_texts.h"
#include "content/emitter.h"
#include "tool_fixture.h"

namespace scenario {
namespace {

constexpr std::string_view kTreno = "src/Alvena_Sorbio_4271-.txt";
constexpr std::string_view kCard = "src/Alvena_Sorbio_4271_scheda_treno.txt";
constexpr std::string_view kBulletin = "src/Alvena_Sorbio_4271_rallentamenti.txt";

class DocumentsCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        tool.fs.files["src/Alvena_Sorbio_linea.txt"] = emit_text(testo_linea());
        tool.fs.files[std::string(kTreno)] = emit_text(testo_treno());
    }
    // The train file's line that begins with `line` begins with `becomes`.
    void edit(std::string_view line, std::string_view becomes) {
        std::string& text = tool.fs.files[std::string(kTreno)];
        const std::size_t at = text.find("\n" + std::string(line));
        ASSERT_NE(at, std::string::npos) << line;
        text.replace(at + 1, line.size(), becomes);
    }
    std::vector<std::string> card_lines() {
        std::vector<std::string> lines;
        std::istringstream in(tool.fs.files[std::string(kCard)]);
        for (std::string l; std::getline(in, l);) {
            EXPECT_EQ(l.back(), '\r');
            lines.push_back(l.substr(0, l.size() - 1));
        }
        return lines;
    }
    // The card's row of `place`.
    std::string row(std::string_view place) {
        for (const std::string& l : card_lines()) {
            if (l.size() > 31 && l.compare(32, place.size(), place) == 0 &&
                l[32 + place.size()] == ' ')
                return l;
        }
        return {};
    }
    testing::ToolRun tool;
};

TEST_F(DocumentsCommand, TheEmbeddedCardHasEveryStationWithItsTime) {
    ASSERT_EQ(tool.run({"documents", "src"}), kExitClean) << tool.err.str();
    const struct {
        std::string_view place;
        std::string_view orario;
    } stations[] = {
        {"ALVENA P.NUOVA", "           17.43 "},
        {"VALMEDRA", ""},
        {"CORNETA", "    17.55 "},
        {"S. ILARIA", ""},
        {"BORGO FERRANTE", "    18.01 "},
        {"LE CASELLE", ""},
        {"DORSIA", "    18.09 "},
        {"MOLINACCIO", ""},
        {"CASTELVERDE", "    18.18 "},
        {"FORNOVA", ""},
        {"VALPIANURA", ""},
        {"PIETRASECCA", "    18.30 "},
        {"CERRETO ALPE", ""},
        {"LAGO SCURO", "    18.44 "},
        {"SELVAPIANA", "    18.50 "},
        {"ORMEDA SCALO", "    18.56 "},
        {"CASALBIANCO", ""},
        {"TORRE SPINA", "    19.02 "},
        {"MONTEFALO", ""},
        {"FORNACI", ""},
        {"PIANELLO", "    19.10 "},
        {"MERCATALE", "    19.14 "},
        {"CAMPAGNOLA", ""},
        {"ROVETO", "    19.19 "},
        {"BOSCOMARE", ""},
        {"CERVARA", "    19.23 "},
        {"VILLA ARDESIA", "    19.27 "},
        {"LE GRAZIE", ""},
        {"SORBIO", " 19.30           "},
    };
    const std::vector<std::string> lines = card_lines();
    std::size_t next = 0;  // in running order
    for (std::size_t i = 14; i + 4 < lines.size(); ++i) {
        const std::string& l = lines[i];
        ASSERT_TRUE(l.size() == 84 || l.size() == 85) << l;
        for (const std::size_t bar : {1, 7, 13, 24, 30, 59, 77, 83})
            EXPECT_EQ(l[bar], '|') << l;
        if (l.compare(31, 11, " Chilometro") == 0) continue;
        ASSERT_LT(next, std::size(stations));
        EXPECT_EQ(l.substr(32, stations[next].place.size()), stations[next].place);
        // A departure ends the "Orario" cell, an arrival begins it.
        const std::string orario = l.substr(60, 17);
        const std::string_view want = stations[next].orario;
        if (!want.empty()) {
            EXPECT_EQ(orario.compare(want.size() == 17 ? 0 : 17 - want.size(), want.size(), want),
                      0)
                << l;
        }
        ++next;
    }
    EXPECT_EQ(next, std::size(stations));
    EXPECT_EQ(lines.back(), "Nota: Nella colonna Orario il simbolo '+' indica 'mezzo minuto'.");
    // Without a slowdown the bulletin is the builder's, byte for byte.
    EXPECT_EQ(tool.fs.files[std::string(kBulletin)], emit_text(testo_rallentamenti()));
}

TEST_F(DocumentsCommand, TheBulletinNamesEverySlowdownAtItsKilometres) {
    // A new line after the [rallentamenti] title, in running order the other
    // way round.
    edit("[rallentamenti]",
         "[rallentamenti]\r\nrallentamento, 60000, 30, 400, 0, 0, 0\r\n"
         "rallentamento, 30000, 60, 1000, 0, 0, 0");
    ASSERT_EQ(tool.run({"documents", "src"}), kExitClean) << tool.err.str();
    // References: from 2450 m the line counts up from 200 m.
    EXPECT_EQ(tool.fs.files[std::string(kBulletin)],
              "\r\n\r\n\r\n\r\n"
              "                         RALLENTAMENTI\r\n"
              "\r\n"
              "     1   dal km     27.750   al km     28.750   velocita'  60 km/h\r\n"
              "     2   dal km     57.750   al km     58.150   velocita'  30 km/h\r\n");
}

TEST_F(DocumentsCommand, AnEarlierDepartureMovesItsRowItsSectionAndItsRec) {
    ASSERT_EQ(tool.run({"documents", "src"}), kExitClean);
    const std::string dorsia = row("DORSIA");
    const std::string le_caselle = row("LE CASELLE");
    const std::string castelverde = row("CASTELVERDE");
    EXPECT_EQ(dorsia.substr(60, 24), " 18.08     18.09 | 1,5 |");
    edit("stazione,   22500, 22,  300,  0, 0, 0,  0,0,0,  4,1,1,   60,  18, 9, 0, DORSIA",
         "stazione,   22500, 22,  300,  0, 0, 0,  0,0,0,  4,1,1,   60,  18, 8, 0, DORSIA");
    ASSERT_EQ(tool.run({"documents", "src"}), kExitClean);
    // Its section keeps 41 s of margin instead of 1 min 41 s.
    EXPECT_EQ(row("DORSIA").substr(60, 24), " 18.07     18.08 | 0,5 |");
    EXPECT_NE(row("LE CASELLE"), le_caselle);  // passed between Borgo Ferrante and Dorsia
    // The next section starts from Dorsia's departure as the train file
    // gives it: Castelverde's arrival moves, its departure stays.
    EXPECT_NE(row("CASTELVERDE"), castelverde);
    EXPECT_EQ(row("CASTELVERDE").substr(71, 6), castelverde.substr(71, 6));
}

TEST_F(DocumentsCommand, ACardThatDisagreesIsToldAtItsLine) {
    tool.fs.files[std::string(kCard)] = emit_text(testo_scheda());
    ASSERT_EQ(tool.run({"check", "src"}), kExitClean);
    EXPECT_EQ(tool.out.str().find("card-disagrees"), std::string::npos) << tool.out.str();

    std::string& card = tool.fs.files[std::string(kCard)];
    const std::size_t at = card.find("| 18.07     18.09 |");
    ASSERT_NE(at, std::string::npos);
    card.replace(at, 19, "| 18.07     18.10 |");
    tool.run({"check", "src"});
    const std::string out = tool.out.str();
    EXPECT_NE(out.find("src/Alvena_Sorbio_4271_scheda_treno.txt:28:1: warning: DORSIA: the card "
                       "gives the departure 18.10, the train file 18.09 [card-disagrees]"),
              std::string::npos)
        << out;
    EXPECT_EQ(out.find("card-disagrees"), out.rfind("card-disagrees"));
}

}  // namespace
}  // namespace scenario
