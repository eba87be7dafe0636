#include "formats/keywords.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(Keywords, ContainmentWithAndWithoutCase) {
    const struct {
        const char* field;
        const char* word;
        bool any_case, exact;
    } cases[] = {
        {"curvad5", "curva", true, true},
        {"  CurvaS6", "curva", true, false},  // case is ignored only by contains_word
        {"[Generale]", "[generale]", true, false},
        {"[pendenze]", "pendenza", false, false},
        {"", "x", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(contains_word(c.field, c.word), c.any_case) << c.field << " / " << c.word;
        EXPECT_EQ(contains_exact(c.field, c.word), c.exact) << c.field << " / " << c.word;
    }
}

}  // namespace
}  // namespace scenario
