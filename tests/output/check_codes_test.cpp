#include "output/check_codes.h"

#include <gtest/gtest.h>

#include <string>

namespace scenario {
namespace {

struct CodesRow {
    std::string numero_treno;
    std::string nome_linea;
    std::int32_t og;
    std::int32_t st;
};

TEST(CheckCodes, SumsTheFirst25CharactersOfTheWorkingText) {
    const CodesRow rows[] = {
        // The digit 1, the letter a, then the first 23 filler characters.
        {"1", "A", 2508, 33907},
        // Case does not matter.
        {"1", "a", 2508, 33907},
        // Nothing but the filler.
        {"", "", 2583, 34355},
        // Only the concatenation counts, not where the two texts meet.
        {"ab", "c", 2546, 33756},
        {"a", "bc", 2546, 33756},
        // The embedded scenario.
        {"4271", "Alvena_Sorbio", 2374, 32703},
        // 25 characters or more: no filler, and the 26th character is ignored.
        {"ABCDEFGHIJKLMNOPQRSTUVWXY", "Z", 2725, 36725},
        {"abcdefghijklmnopqrstuvwxy", "", 2725, 36725},
        {"12345678901234567890", "Linea_Lunga_Oltre", 1571, 23057},
        // A byte above 127 counts as 0 to 255, never negative, and has no case here.
        {"\xC9", "", 2673, 34253},
        // The largest sums: 25 times 255.
        {std::string(25, '\xFF'), "", 6375, 82875},
    };
    for (const CodesRow& row : rows) {
        SCOPED_TRACE(row.numero_treno + " / " + row.nome_linea);
        EXPECT_EQ(codice_gara_og(row.numero_treno, row.nome_linea), row.og);
        EXPECT_EQ(codice_gara_st(row.numero_treno, row.nome_linea), row.st);
    }
}

TEST(CheckCodes, ReadTheIdentityFromTheTableNotTheScenarioStrings) {
    Scenario s;
    s.numero_treno = "9999";
    s.nome_linea = "Altra";
    s.voci[86].testo = "1";
    s.voci[85].testo = "A";
    EXPECT_EQ(codice_gara_og(s), 2508);
    EXPECT_EQ(codice_gara_st(s), 33907);
}

}  // namespace
}  // namespace scenario
