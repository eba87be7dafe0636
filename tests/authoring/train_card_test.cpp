#include "authoring/train_card.h"

#include <gtest/gtest.h>

#include <span>
#include <string>
#include <vector>

#include "content/embedded_texts.h"

namespace scenario {
namespace {

using Kind = CardRow::Kind;

constexpr int hm(int hours, int minutes, int seconds = 0) {
    return hours * 3600 + minutes * 60 + seconds;
}

// Rows of the builder's own card, rebuilt from their values: the layout
// must come out character for character.
TEST(TrainCard, LaysOutRowsAsTheBuildersCard) {
    const std::span<const std::string_view> builder = testo_scheda();
    const CardIdentity identity{"4271", "ALVENA P.NUOVA", "SORBIO", 140, 120, "REGIONALE", "250T"};
    const struct {
        std::size_t line;  // 0-based, in the builder's card
        CardRow row;
    } rows[] = {
        {14, {Kind::origin, 30, 30, 314050, "ALVENA P.NUOVA", 0, hm(17, 43), 0}},
        {15, {Kind::pass, 75, 70, 313400, "Deviatoio di uscita", hm(17, 44, 30), 0, 0}},
        {16, {Kind::pass, 90, {}, 312800, "Chilometro 312+800", hm(17, 45, 10), 0, 0}},
        {21, {Kind::stop, {}, {}, 8761, "CORNETA", hm(17, 53, 30), hm(17, 55), 2}},
        {24, {Kind::stop, {}, {}, 15862, "BORGO FERRANTE", hm(18, 0), hm(18, 1), 3}},
        {27, {Kind::stop, {}, 90, 22714, "DORSIA", hm(18, 7), hm(18, 9), 5}},
        {56, {Kind::terminus, {}, {}, 100949, "SORBIO", hm(19, 30), 0, 1}},
    };
    std::vector<CardRow> only;
    for (const auto& r : rows)
        only.push_back(r.row);
    const std::vector<std::string> card = train_card(identity, only);
    // The identity block and the headings, lines 1 to 14, exactly.
    for (std::size_t i = 0; i < 14; ++i)
        EXPECT_EQ(card[i], builder[i]) << "line " << i + 1;
    for (std::size_t k = 0; k < std::size(rows); ++k)
        EXPECT_EQ(card[14 + k], builder[rows[k].line]) << "row " << k;
    // The frame's bottom, two empty lines and the note close it, as there.
    ASSERT_EQ(card.size(), 14 + std::size(rows) + 4);
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(card[card.size() - 4 + i], builder[builder.size() - 5 + i]);
}

TEST(TrainCard, TimesAndMarks) {
    EXPECT_EQ(card_time(hm(17, 43, 29), true), "17.43");
    EXPECT_EQ(card_time(hm(17, 43, 30), true), "17.43+");
    EXPECT_EQ(card_time(hm(17, 43, 30), false), "17.43");
    EXPECT_EQ(card_time(hm(24, 5), true), "00.05");  // past midnight
    EXPECT_EQ(kilometre_mark(312800), "312+800");
    EXPECT_EQ(kilometre_mark(14550), "14+550");
    EXPECT_EQ(kilometre_mark(89650.4), "89+650");
}

}  // namespace
}  // namespace scenario
